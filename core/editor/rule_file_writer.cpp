#include "core/editor/rule_file_writer.h"

#include <string_view>

#include "engine/password_scrambling.h"
#include "platform/storage/replacing_file.h"
#include "core/editor/rule_working_set.h"
#include "engine/text_search.h"

namespace webquill {

namespace {

constexpr std::string_view kDelimiters = ",.:; ()][}{-";
constexpr std::string_view kKeywords[] = {"extract", "delete", "add", "replace", "wrap", "maketoc", "makefile"};

bool IsDelimiter(char c) { return kDelimiters.find(c) != std::string_view::npos; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithKeyword(std::string_view text) {
    for (std::string_view k : kKeywords) {
        if (text.size() < k.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < k.size() && same; ++i) same = Lower(text[i]) == k[i];
        if (same) return true;
    }
    return false;
}

// True when `out` ends in `marker` without its closing "!": the marker
// written next would then be found one "!" early.
bool EndsWithMarkerStart(std::string_view out, std::string_view marker, bool matchCase) {
    const std::size_t length = marker.size() - 1;
    return out.size() >= length && FindPattern(out.substr(out.size() - length), marker.substr(0, length), matchCase) == 0;
}

enum Trimmed : unsigned { kNeither = 0, kLeading = 1, kTrailing = 2, kBoth = 3 };

// A record's text as the reader will find it again. Line breaks stay raw,
// except where the reader would lose them or read them differently: at an
// end of the text that the reader trims, and before a line that would start
// with a command keyword. Those are written as the line-break marker.
std::string Protected(std::string_view text, unsigned trimmed) {
    std::string out;
    out.reserve(text.size());
    std::size_t begin = 0;
    std::size_t end = text.size();
    // Only the outermost break needs the marker: the breaks inside it are no
    // longer at an end. A lone LF there cannot be said (the marker reads as CR LF).
    if (trimmed & kLeading) {
        begin = text.starts_with("\r\n") ? 2 : text.starts_with('\n') ? 1 : 0;
        if (begin > 0) out += "!$";
    }
    bool trailingBreak = false;
    if ((trimmed & kTrailing) && end > begin && text[end - 1] == '\n') {
        end -= (end - 1 > begin && text[end - 2] == '\r') ? 2 : 1;
        trailingBreak = true;
    }
    for (std::size_t i = begin; i < end; ++i) {
        const char c = text[i];
        if (c == '\n' && StartsWithKeyword(text.substr(i + 1, end - i - 1))) {
            if (!out.empty() && out.back() == '\r') out.pop_back();
            out += "!$";
            continue;
        }
        out += c;
    }
    if (trailingBreak) out += "!$";
    return out;
}

void Line(std::string& out, const char* key, const std::string& value, bool always = false) {
    if (value.empty() && !always) return;
    out += key;
    out += ": ";
    out += value;
    out += "\r\n";
}

// A text that holds "::", or a last text that ends in ":" (it joins the
// marker's first colon), hides a later instance marker from the reader;
// instance 1, the reader's own default, is then left unwritten.
void Instance(std::string& out, const CCmdVar& r, const char* every) {
    const std::int32_t instance = r.instance;
    const bool markerInText = r.firstText.find("::") != std::string::npos ||
                              r.secondText.find("::") != std::string::npos ||
                              (r.newText && r.newText->find("::") != std::string::npos) ||
                              (!out.empty() && out.back() == ':');
    if (instance == 1 && markerInText) {
        // The last text then ends the line, where the reader trims its last line break.
        if (!out.empty() && out.back() == '\n') {
            out.pop_back();
            if (!out.empty() && out.back() == '\r') out.pop_back();
            out += "!$";
        }
        return;
    }
    out += "::";
    out += instance != 0 ? std::to_string(instance) : std::string(every);
}

void WriteWrap(std::string& out, const CWrapper& w) {
    out += "\r\nWrap ";
    if (!w.numberPrefix.empty()) out += Protected(w.numberPrefix, kLeading) + "!***!";
    if (!w.numberFormat.empty()) out += EncodeNumberFormat(w.numberFormat);
    out += "!...!" + Protected(w.endOfParagraph, kNeither);
    out += "!with start!" + Protected(w.textBefore, kNeither);
    out += "!end!" + Protected(w.textAfter, kTrailing);
}

void WriteCommand(std::string& out, const CCmdVar& r, bool matchCase) {
    const std::string newText = r.newText ? *r.newText : std::string();
    switch (r.kind) {
        case CommandKind::Extract:
            out += "\r\nExtract " + Protected(r.firstText, kLeading) + "!...!" + Protected(r.secondText, kNeither) +
                   "!save as!" + r.variableName;
            break;
        case CommandKind::Delete:
            out += "\r\nDelete " + Protected(r.firstText, kLeading);
            if (!r.secondText.empty()) out += "!...!" + Protected(r.secondText, kNeither);
            Instance(out, r, "A\r\n");
            break;
        case CommandKind::Add:
            out += "\r\nAdd ";
            out += Protected(newText, kBoth);
            // The reader trims the new text, so a blank keeps its end from
            // joining the marker into an earlier one.
            if (EndsWithMarkerStart(out, "!before!", matchCase) || EndsWithMarkerStart(out, "!after!", matchCase))
                out += ' ';
            out += r.before ? "!before!" : "!after!";
            out += Protected(r.firstText, kNeither);
            Instance(out, r, "A\r\n");
            break;
        case CommandKind::Replace: {
            // The reader takes a command text that starts with the marker (in
            // any case unless match case is on) whole as the find text: a find
            // text that starts so, or with "!with" and a line break (written
            // as the line-break marker), is written without a marker of its
            // own, which would become part of it.
            const std::string_view find = r.firstText;
            const bool startsWithMarker = FindPattern(find.substr(0, 6), "!with!", matchCase) == 0;
            const bool markerThenBreak = newText.empty() && FindPattern(find.substr(0, 5), "!with", matchCase) == 0 &&
                                         (find.substr(5, 1) == "\n" || find.substr(5, 2) == "\r\n");
            out += "\r\nReplace ";
            if (markerThenBreak) out += std::string(find.substr(0, 5)) + "!$" + Protected(find.substr(find[5] == '\r' ? 7 : 6), kNeither);
            else out += Protected(find, kLeading);
            if (!newText.empty() || !(startsWithMarker || markerThenBreak)) out += "!with!" + Protected(newText, kNeither);
            Instance(out, r, "A");
            break;
        }
        case CommandKind::MakeTOC:
        case CommandKind::MakeFile:
            out += r.kind == CommandKind::MakeTOC ? "\r\nMakeTOC " : "\r\nMakeFile ";
            out += Protected(r.firstText, kBoth);
            if (EndsWithMarkerStart(out, "!...!", true)) out += ' ';  // trimmed by the reader, as above
            out += "!...!" + Protected(r.secondText, kBoth);
            break;
        case CommandKind::None: break;
    }
}

}  // namespace

std::string EncodeNumberFormat(const std::string& format) {
    std::string out;
    out.reserve(format.size() * 3);
    for (std::size_t i = 0; i < format.size();) {
        if (!IsDelimiter(format[i])) {
            // Format letters, and any other character as it stands.
            out += format[i++];
            continue;
        }
        out += '!';
        while (i < format.size() && IsDelimiter(format[i])) out += format[i++];
        out += '!';
    }
    return out;
}

std::string ComposeRuleFile(const RuleValues& rule, const CCmdVarList& commands, const CWrapperList& wrappers,
                            bool matchCase) {
    std::string out = "&Header:\r\n";
    Line(out, "Document", rule.document, true);
    Line(out, "IntermediateFile", rule.intermediateFile);
    Line(out, "TOCName", rule.tocName);
    Line(out, "TOCTemplate", rule.tocTemplate);
    Line(out, "WWWFileName", WwwFileNamesEntry(rule.wwwDirectory, rule.wwwFileName), true);
    Line(out, "HeaderName", rule.headerName);
    Line(out, "FooterName", rule.footerName);
    out += "ExecuteSequence:";
    for (int id : rule.executeSequence) {
        out += ' ';
        out += std::to_string(id);
    }
    out += "\r\n";
    Line(out, "FtpURL", rule.ftpUrl);
    Line(out, "UserID", rule.userId);
    Line(out, "UserPW", ScramblePassword(rule.userPassword));
    Line(out, "TOCServerDir", rule.tocServerDir);
    Line(out, "WWWServerDir", rule.wwwServerDir);
    Line(out, "ImagesLocalDir", rule.imagesLocalDir);
    Line(out, "ImagesServerDir", rule.imagesServerDir);
    out += "\r\n&Commands:";

    wrappers.ForEach([&](const CWrapper& w) { WriteWrap(out, w); });
    for (CommandKind kind : {CommandKind::Extract, CommandKind::Delete, CommandKind::Add, CommandKind::Replace})
        commands.ForEach([&](const CCmdVar& r) {
            if (r.kind == kind) WriteCommand(out, r, matchCase);
        });
    for (CommandKind kind : {CommandKind::MakeTOC, CommandKind::MakeFile})
        if (const CCmdVar* first = commands.FindFirstOfKind(kind)) WriteCommand(out, *first, matchCase);
    return out;
}

RuleFileSaveResult SaveRuleFileText(const std::string& path, const std::string& text) {
    CReplacingFile file(path);
    if (!file.Open()) return {RuleFileSaveResult::Kind::CreateFailed, file.FailureText("Invalid filename.")};
    if (!file.Write(text) || !file.Commit())
        return {RuleFileSaveResult::Kind::WriteFailed, file.FailureText("Failed to save document.")};
    return {};
}

}  // namespace webquill
