#include "core/editor/rule_working_set.h"

#include <algorithm>

#include "engine/file_paths.h"
#include "engine/publishing_run.h"

namespace webquill {

namespace {

// The texts the reader leaves for absent optional keys name no file.
constexpr const char* kAbsentNotices[] = {"No TOC Template file specified!", "No header file specified!",
                                          "No footer file specified!"};

// Each header string but the WWW file names entry, with the rule value it
// copies; `file` marks the ones that may hold an absent key's notice.
struct HeaderCopy {
    HeaderField field;
    std::string RuleValues::*value;
    bool file;
};
constexpr HeaderCopy kHeaderCopies[] = {
    {kDocumentField, &RuleValues::document, false},
    {kIntermediateFileField, &RuleValues::intermediateFile, false},
    {kTocNameField, &RuleValues::tocName, false},
    {kTocTemplateField, &RuleValues::tocTemplate, true},
    {kHeaderNameField, &RuleValues::headerName, true},
    {kFooterNameField, &RuleValues::footerName, true},
    {kFtpUrlField, &RuleValues::ftpUrl, false},
    {kUserIdField, &RuleValues::userId, false},
    {kUserPwField, &RuleValues::userPassword, false},
    {kTocServerDirField, &RuleValues::tocServerDir, false},
    {kWwwServerDirField, &RuleValues::wwwServerDir, false},
    {kImagesLocalDirField, &RuleValues::imagesLocalDir, false},
    {kImagesServerDirField, &RuleValues::imagesServerDir, false},
};

std::string FileValue(const std::string& value) {
    for (const char* notice : kAbsentNotices)
        if (value == notice) return std::string();
    return value;
}

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        if (c < 0x80) extra = 0;
        else if (c >= 0xC2 && c <= 0xDF) extra = 1;
        else if (c >= 0xE0 && c <= 0xEF) extra = 2;
        else if (c >= 0xF0 && c <= 0xF4) extra = 3;
        else return false;
        if (extra && i + extra >= text.size()) return false;
        for (std::size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += extra + 1;
    }
    return true;
}

bool AnyTextNotUtf8(const RuleWorkingSet& set) {
    bool found = false;
    auto check = [&found](const std::string& text) { found = found || !IsValidUtf8(text); };
    for (const std::string& value : set.header) check(value);
    set.commands.ForEach([&](const CCmdVar& r) {
        check(r.firstText);
        check(r.secondText);
        check(r.variableName);
        if (r.newText) check(*r.newText);
    });
    set.wrappers.ForEach([&](const CWrapper& w) {
        for (const std::string* text : {&w.numberPrefix, &w.numberFormat, &w.endOfParagraph, &w.textBefore,
                                        &w.textAfter})
            check(*text);
    });
    return found;
}

}  // namespace

void RuleWorkingSet::Clear() {
    for (std::string& value : header) value.clear();
    commands.Clear();
    wrappers.Clear();
    executeSequence = RuleValues{}.executeSequence;
    windows1252 = false;
}

std::int32_t RuleWorkingSet::LargestCommandNumber() const {
    std::int32_t largest = 0;
    commands.ForEach([&](const CCmdVar& r) { largest = std::max(largest, r.commandNumber); });
    return largest;
}

std::string WwwFileNamesEntry(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    // The root folder alone; any other folder ending in a separator came
    // from a doubled one, which must stay doubled to split the same way.
    if (folder.size() == 1 && IsPathSeparator(folder[0])) return folder + name;
    const bool backslashes = folder.find('\\') != std::string::npos && folder.find('/') == std::string::npos;
    return folder + (backslashes ? '\\' : '/') + name;
}

bool IsUsableWwwFileNames(const std::string& entry) {
    const std::size_t at = LastSeparator(entry);
    return at != std::string::npos && at + 1 < entry.size();
}

bool LoadWorkingSet(RunDocument& doc, IRunHost& host, RuleWorkingSet& set) {
    set.Clear();
    bool loaded = false;
    {
        // A run object of its own: its counters start at 0, so the records
        // are numbered from 1, and it goes (with the rule text) right after.
        CPublishingRun reader(doc, host);
        loaded = reader.ReadRuleFile() && reader.ParseHeaderSection() && reader.ParseCommandSection(true);
    }
    if (!loaded) {
        doc.commands.Clear();
        doc.wrappers.Clear();
        return false;
    }
    // The records move over whole; the document's lists end empty.
    set.commands = std::move(doc.commands);
    set.wrappers = std::move(doc.wrappers);
    doc.commands.Clear();
    doc.wrappers.Clear();

    const RuleValues& rule = doc.rule;
    for (const HeaderCopy& h : kHeaderCopies)
        set.header[h.field] = h.file ? FileValue(rule.*h.value) : rule.*h.value;
    set.header[kWwwFileNamesField] = WwwFileNamesEntry(rule.wwwDirectory, rule.wwwFileName);
    set.executeSequence = rule.executeSequence;
    set.windows1252 = AnyTextNotUtf8(set);
    set.matchCase = doc.settings.matchCase;
    return true;
}

void NewWorkingSet(const RunDocument& doc, RuleWorkingSet& set) {
    set.Clear();
    set.matchCase = doc.settings.matchCase;
}

void StoreHeaderStrings(const RuleWorkingSet& set, RuleValues& rule) {
    for (const HeaderCopy& h : kHeaderCopies) rule.*h.value = set.header[h.field];
    const std::string& www = set.header[kWwwFileNamesField];
    if (IsUsableWwwFileNames(www)) {
        const std::size_t at = LastSeparator(www);
        rule.wwwDirectory = at == 0 ? www.substr(0, 1) : www.substr(0, at);
        rule.wwwFileName = www.substr(at + 1);
    }
}

}  // namespace webquill
