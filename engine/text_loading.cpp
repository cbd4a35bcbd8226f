// The five loaders: one procedure, one set of limits, their own words.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <system_error>

#include "engine/file_paths.h"
#include "engine/publishing_run.h"
#include "engine/rule_paths.h"
#include "engine/string_format.h"
#include "engine/text_search.h"

namespace webquill {

namespace {
constexpr long kMaxTextFileSize = 16000000;
constexpr std::size_t kMaxFirstLine = 4096;
constexpr const char* kAborted = "\nPublishing aborted by application!";
constexpr const char* kMustAbort = "\nMust abort the application!";

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
}  // namespace

struct CPublishingRun::LoaderWords {
    const char* status;      // "Reading ... %s"
    const char* openFailed;  // "Couldn't Open ... %s!"
    const char* smallNoun;   // "Rule file": empty and too-large messages
    const char* bigNoun;     // "Rule File": text requirement messages
    bool roomToGrow = false;  // the working text, which the commands edit
};

bool CPublishingRun::ReportLoadFailure(const std::string& logLine, const char* boxSuffix) {
    AddLogLine(logLine);
    StopBox(logLine + boxSuffix);
    return false;
}

bool CPublishingRun::LoadText(const std::string& path, const LoaderWords& words, std::string& into,
                              LineEndKind* firstLineKind) {
    into.clear();
    const std::string name = BareFileName(path);
    const char* n = name.c_str();
    SetStatusText(StrFormat(words.status, n));

    // Only a regular file is read: a pipe or a device would block the run or
    // never end.
    std::error_code error;
    std::unique_ptr<std::FILE, FileCloser> file;
    if (!path.empty() && std::filesystem::is_regular_file(path, error))
        file.reset(std::fopen(path.c_str(), "rb"));
    if (!file) return ReportLoadFailure(StrFormat(words.openFailed, n), kAborted);

    long length = -1;
    if (std::fseek(file.get(), 0, SEEK_END) == 0) length = std::ftell(file.get());
    if (length < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0)
        return ReportLoadFailure(StrFormat("Failed to read %s!", n), kAborted);
    if (length == 0)
        return ReportLoadFailure(StrFormat("%s %s is Empty!", words.smallNoun, n), kAborted);
    if (length > kMaxTextFileSize)
        return ReportLoadFailure(
            StrFormat("Max allowed %s size is %ld!", words.smallNoun, kMaxTextFileSize), kAborted);

    std::string text;
    try {
        // The working text grows under the commands; its room is reserved
        // here, where the pages are touched anyway.
        if (words.roomToGrow) text.reserve(2 * static_cast<std::size_t>(length) + 64);
        text.resize(static_cast<std::size_t>(length));
    } catch (const std::bad_alloc&) {
        return ReportLoadFailure(StrFormat("Failed to allocate memory to read %s!", n), kAborted);
    }
    if (std::fread(text.data(), 1, text.size(), file.get()) != text.size())
        return ReportLoadFailure(StrFormat("Failed to read %s!", n), kAborted);
    file.reset();

    // A NUL byte ends the text for every later step.
    const void* nul = std::memchr(text.data(), '\0', text.size());
    const std::size_t nulOffset = nul ? static_cast<const char*>(nul) - text.data() : text.size();
    text.resize(nulOffset);

    const LineEnd firstLine = FirstLineEnd(text);
    if (firstLine.kind == LineEndKind::None)
        return ReportLoadFailure(
            StrFormat("%s does NOT meet text file requirements!", words.bigNoun), kMustAbort);
    if (firstLine.position > kMaxFirstLine)
        return ReportLoadFailure(StrFormat("%s contains lines longer than %d characters the "
                                           "application's max!",
                                           words.bigNoun, static_cast<int>(kMaxFirstLine)),
                                 kMustAbort);
    // An accepted text that a NUL cut short says so: what follows it is lost to the run.
    if (nul) {
        const std::string message = StrFormat("%s %s holds a NUL byte at offset %zu: the text after it is ignored!",
                                              words.smallNoun, n, nulOffset);
        AddLogLine("***> " + message);
        NoteBox(message);
    }
    if (firstLineKind) *firstLineKind = firstLine.kind;
    into.swap(text);
    SetStatusText("Ready");
    return true;
}

bool CPublishingRun::ReadRuleFile() {
    static const LoaderWords words{"Reading Rule File %s", "Couldn't Open Rule  file: %s!",
                                   "Rule file", "Rule File"};
    return LoadText(m_doc.ruleFilePath, words, m_ruleText, nullptr);
}

bool CPublishingRun::ReadSourceDocument() {
    static const LoaderWords words{"Reading HTML file %s", "Couldn't Open HTML Source File: %s!",
                                   "HTML Source File", "HTML Source File", true};
    LineEndKind kind = LineEndKind::None;
    if (!LoadText(RuleRelativePath(m_doc.ruleFilePath, m_doc.rule.document), words, m_workingText, &kind)) return false;
    if (kind == LineEndKind::LF) m_lfOnly = true;
    return true;
}

bool CPublishingRun::ReadHeaderTemplate() {
    static const LoaderWords words{"Reading Header File %s", "Couldn't Open header file: %s!",
                                   "Header file", "Header File"};
    return LoadText(RuleRelativePath(m_doc.ruleFilePath, m_doc.rule.headerName), words, m_headerText, nullptr);
}

bool CPublishingRun::ReadFooterTemplate() {
    static const LoaderWords words{"Reading Footer File %s", "Couldn't Open footer file: %s!",
                                   "Footer file", "Footer File"};
    return LoadText(RuleRelativePath(m_doc.ruleFilePath, m_doc.rule.footerName), words, m_footerText, nullptr);
}

bool CPublishingRun::ReadTOCTemplate() {
    static const LoaderWords words{"Reading Template %s", "Couldn't Open TOC Template file: %s!",
                                   "TOC Template file", "TOC Template File"};
    return LoadText(RuleRelativePath(m_doc.ruleFilePath, m_doc.rule.tocTemplate), words, m_tocTemplateText, nullptr);
}

}  // namespace webquill
