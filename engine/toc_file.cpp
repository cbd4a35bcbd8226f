// The table of contents: entries scanned from the working text by the MakeTOC
// patterns, one WWW file name each, and the TOC file written as a plain list
// or from the TOC template with its line template repeated per entry.
#include "engine/output_file.h"
#include "engine/publishing_run.h"
#include "engine/rule_paths.h"

namespace webquill {

namespace {
constexpr std::string_view kDelimiter = "%%";
constexpr std::string_view kLineMarker = "%%TOCline%%";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kEndLine = "End of TOC information!\r\n";
constexpr std::size_t kShownAfterOpening = 20;

struct Stretch {
    std::size_t begin;
    std::size_t end;
};

// The whole line holding the marker, with the line feed that ends it; the
// search for that line feed starts at the end of the marker.
std::optional<Stretch> FindLineTemplate(std::string_view text) {
    const std::size_t marker = FindPattern(text, kLineMarker, false);
    if (marker == kNotFound) return std::nullopt;
    const std::size_t before = marker == 0 ? kNotFound : text.rfind('\n', marker - 1);
    const std::size_t after = text.find('\n', marker + kLineMarker.size());
    return Stretch{before == kNotFound ? 0 : before + 1,
                   after == kNotFound ? text.size() : after + 1};
}

// Whether the delimiters, paired from the start, leave one without a partner.
bool HasUnclosedDelimiter(std::string_view text) {
    bool open = false;
    for (std::size_t at = FindExact(text, kDelimiter); at != kNotFound;
         at = FindExact(text, kDelimiter, at + kDelimiter.size()))
        open = !open;
    return open;
}
}  // namespace

bool CPublishingRun::ScanTocEntries() {
    const CCmdVar* toc = m_doc.commands.FindFirstOfKind(CommandKind::MakeTOC);
    if (!toc) return false;
    const CPatternSearcher start(toc->firstText, m_matchCase);
    const CPatternSearcher end(toc->secondText, m_matchCase);
    const std::string_view text = Text();
    SetStatusText("Scanning HTML document for TOC definitions");
    for (std::size_t at = start.Find(text, 0); at != kNotFound;) {
        const std::size_t from = at + start.Length();
        const std::size_t to = end.Find(text, from);
        if (to == kNotFound) break;
        m_tocEntries.emplace_back(text.substr(from, to - from));
        m_doc.createdFiles.push_back(SeriesFileName(m_fileCounter++));
        at = start.Find(text, to + end.Length());
    }
    m_tocEntryCount = m_tocEntries.size();
    return m_tocEntryCount != 0;
}

bool CPublishingRun::CreateTocFile() {
    const std::string& path = m_doc.rule.tocName;
    const std::string used = RuleRelativePath(m_doc.ruleFilePath, path);
    if (!EnsureDirectoryOf(path)) return false;
    COutputFile file;
    if (!file.Open(used)) {
        const std::string message = "Couldn't Open TOC file: " + path + " to write it!";
        StopBox(message);
        AddLogLine("***> " + message);
        return false;
    }
    SetStatusText("Creating TOC File -> " + m_tocFileName);
    if (m_hasTocTemplate) {
        WriteTocFromTemplate(file);
    } else {
        file.Write("Extracted TOC information - No TOC Template file defined!\r\n");
        WriteEntryList(file);
        file.Write(kEndLine);
    }
    if (file.Close()) return true;
    const std::string message =
        "An error occurred while writing information to TOC file: " + m_tocFileName;
    AddLogLine("***> " + message);
    NoteBox(message + "\n*** Terminating writing to TOC! ***");
    return false;
}

void CPublishingRun::WriteEntryList(COutputFile& file) const {
    for (const std::string& entry : m_tocEntries) {
        file.Write(entry);
        file.Write(kLineEnd);
    }
}

void CPublishingRun::WriteTocFromTemplate(COutputFile& file) {
    const std::string_view text = m_tocTemplateText;
    const std::optional<Stretch> line = FindLineTemplate(text);
    if (line) {
        WriteTocTemplatePart(file, text.substr(0, line->begin));
        WriteTocLines(file, text.substr(line->begin, line->end - line->begin));
        WriteTocTemplatePart(file, text.substr(line->end));
        return;
    }
    if (FindExact(text, kDelimiter) == kNotFound) {
        file.Write(text);
        WriteEntryList(file);
        file.Write(kEndLine);
        return;
    }
    WriteTocTemplatePart(file, text);
    WriteEntryList(file);
}

// Outside the line template an unclosed "%%" is reported and the rest is
// written as it stands, so no text of the template goes missing.
void CPublishingRun::WriteTocTemplatePart(COutputFile& file, std::string_view part) {
    const std::optional<UnclosedName> unclosed =
        WriteWithValues(file, part, &CPublishingRun::TocTemplateValue);
    if (!unclosed) return;
    const std::string message = "Error in TOC Template file variable definition!  No ending %%!";
    AddLogLine("***> " + message);
    NoteBox(message + "\nBeginning of variable => " +
            std::string(part.substr(unclosed->open, kShownAfterOpening)) + "...");
    file.Write(part.substr(unclosed->copied));
}

bool CPublishingRun::WriteTocLines(COutputFile& file, std::string_view lineTemplate) {
    m_tocEntryCount = m_tocEntries.size();
    if (!StartTocLinks()) return true;
    // Checked before the first line, so the entries are never half written.
    if (HasUnclosedDelimiter(lineTemplate)) {
        const std::string message = "Error processing %%TOCLine%%!  No ending %% Writing TOC Info as is!";
        AddLogLine(message);
        NoteBox(message);
        WriteEntryList(file);
        return false;
    }
    for (std::size_t k = 0; k < m_tocEntryCount; ++k) {
        WriteWithValues(file, lineTemplate, &CPublishingRun::TocLineValue);
        AdvanceTocLinks(k);
    }
    return !file.Failed();
}

std::optional<std::string_view> CPublishingRun::TocTemplateValue(std::string_view name) const {
    if (const std::optional<std::string_view> value = VariableValue(name)) return value;
    if (EqualsIgnoringAsciiCase(name, "TOCfile")) return std::string_view(m_tocFileName);
    return std::nullopt;
}

// A variable with a value comes first; one without counts as none here.
std::optional<std::string_view> CPublishingRun::TocLineValue(std::string_view name) const {
    if (const std::optional<std::string_view> value = VariableValue(name)) return value;
    if (EqualsIgnoringAsciiCase(name, "TOCLine")) return std::string_view(m_links.thisInfo);
    return PageLinkValue(name);
}

}  // namespace webquill
