// The output step: the TOC file when one is in use, then the WWW series cut
// from the working text by the MakeFile patterns, each page framed by the
// header and footer templates and linked to its neighbours.
#include "engine/file_paths.h"
#include "engine/output_file.h"
#include "engine/publishing_run.h"
#include "engine/rule_paths.h"
#include "engine/string_format.h"

namespace webquill {

namespace {
constexpr const char* kCantContinue = "   Can't continue!";
constexpr const char* kCantGoOn = "\nCan't continue creating the WWW files!";
// The pattern messages' suffix opens with an apostrophe; it is shown so.
constexpr const char* kPatternCantGoOn = "'\nCan't continue creating the WWW files!";
constexpr const char* kStartMissing =
    "Couldn't find MakeFile 'Start' pattern in modified HTML document file!";
}  // namespace

bool CPublishingRun::TocInUse() const {
    const CCmdVar* toc = m_doc.commands.FindFirstOfKind(CommandKind::MakeTOC);
    return toc && !toc->firstText.empty() && !toc->secondText.empty() &&
           !m_doc.rule.tocName.empty();
}

bool CPublishingRun::BuildFailure(const std::string& message) {
    AddLogLine(message);
    NoteBox(message + kCantContinue);
    m_outputFailed = true;
    return false;
}

bool CPublishingRun::BuildOutputFiles() {
    // The lists and the counter name this run's series only.
    m_doc.createdFiles.clear();
    m_tocEntries.clear();
    m_fileCounter = 0;
    m_links = PageLinks{};
    m_links.tocFile = m_tocFileName;
    const bool withToc = TocInUse();
    if (withToc) {
        if (!ScanTocEntries())
            return BuildFailure("TOC File defined but no TOC information extracted.");
        if (!CreateTocFile()) return BuildFailure("Failed to create TOC file!");
    }
    if (!MakeWwwFiles(withToc)) {
        const std::string message = "Failed to create one or more WWW files.";
        AddLogLine(message);
        NoteBox(message + kCantContinue);
    }
    return true;
}

// A path holding a '.' is taken for a file path and its directory made; one
// without names a directory itself. So a directory such as my.site is made as
// a directory, and a file name without '.' never becomes one.
bool CPublishingRun::EnsureDirectoryOf(const std::string& filePath) {
    if (filePath.find('.') != std::string::npos) return EnsureFileDirectory(filePath);
    const std::size_t at = LastSeparator(filePath);
    if (at == std::string::npos) return true;
    return EnsureFileDirectory(filePath.substr(0, at == 0 ? 1 : at));
}

std::string CPublishingRun::SeriesFileName(std::size_t number) const {
    const std::string& root = m_doc.rule.wwwFileName;
    const std::size_t dot = root.rfind('.');
    const std::string base = root.substr(0, dot);
    const std::string extension = dot == std::string::npos ? std::string() : root.substr(dot);
    return StrFormat("%s%03d%s", base.c_str(), static_cast<int>(number), extension.c_str());
}

bool CPublishingRun::MakeWwwFiles(bool withToc) {
    const CCmdVar* makeFile = m_doc.commands.FindFirstOfKind(CommandKind::MakeFile);
    if (!makeFile || makeFile->firstText.empty() || makeFile->secondText.empty()) {
        NoteBox("Couldn't create the WWW files!\nNo MakeFile definition!");
        AddLogLine("***> Couldn't create the WWW files!\tNo MakeFile definition!");
        m_outputFailed = true;  // the log says the WWW files failed: so does the outcome
        return false;
    }
    if (!EnsureDirectory(m_doc.rule.wwwDirectory, m_doc.rule.wwwDirectory)) {
        m_outputFailed = true;
        return false;
    }
    const CPatternSearcher start(makeFile->firstText, m_matchCase);
    const CPatternSearcher end(makeFile->secondText, m_matchCase);
    return withToc ? WriteTocSeries(start, end) : WritePlainSeries(start, end);
}

// With a TOC the pages are the scan's names, linked by the entries' texts; the
// last one leads back to the TOC file.
// False when there is no scan to link.
bool CPublishingRun::StartTocLinks() {
    const std::vector<std::string>& names = m_doc.createdFiles;
    if (m_tocEntryCount == 0 || names.size() != m_tocEntryCount) return false;
    m_links.prevFile = m_tocFileName;
    m_links.prevInfo = "TOC";
    m_links.thisFile = names[0];
    m_links.thisInfo = m_tocEntries[0];
    m_links.nextFile = m_tocEntryCount >= 2 ? names[1] : std::string();
    m_links.nextInfo = m_tocEntryCount >= 2 ? m_tocEntries[1] : std::string();
    return true;
}

void CPublishingRun::AdvanceTocLinks(std::size_t written) {
    m_links.prevFile = std::move(m_links.thisFile);
    m_links.thisFile = m_links.nextFile;
    m_links.prevInfo = std::move(m_links.thisInfo);
    m_links.thisInfo = m_links.nextInfo;
    const std::size_t following = written + 2;
    if (following == m_tocEntryCount) {
        m_links.nextFile = m_tocFileName;
        m_links.nextInfo = "Return to TOC";
    } else if (following < m_tocEntryCount) {
        m_links.nextFile = m_doc.createdFiles[following];
        m_links.nextInfo = m_tocEntries[following];
    }
}

// Without a TOC the series has no end known in advance: the last page's next
// link names the file that would follow it.
void CPublishingRun::StartPlainLinks() {
    m_links.thisFile = SeriesFileName(0);
    m_links.prevFile = m_links.thisFile;
    m_links.nextFile = SeriesFileName(1);
    m_links.prevInfo = "Top of Page";
    m_links.thisInfo = m_doc.settings.thisTocInfo;
    m_links.nextInfo = m_doc.settings.nextTocInfo;
}

void CPublishingRun::AdvancePlainLinks(std::size_t written) {
    m_links.prevFile = std::move(m_links.thisFile);
    m_links.thisFile = std::move(m_links.nextFile);
    m_links.nextFile = SeriesFileName(written + 2);
    m_links.prevInfo = m_doc.settings.previousTocInfo;
}

bool CPublishingRun::WriteTocSeries(const CPatternSearcher& start, const CPatternSearcher& end) {
    const std::string_view text = Text();
    if (!StartTocLinks()) return true;
    std::size_t place = 0;
    for (std::size_t k = 0; k < m_tocEntryCount; ++k) {
        SetStatusText("Creating -> " + m_links.thisFile);
        COutputFile file;
        if (!OpenPage(file) || !WritePageHeader(file)) return false;
        const std::size_t at = start.Find(text, place);
        if (at == kNotFound) return WwwFailure(&file, kStartMissing, kPatternCantGoOn, BoxKind::Stop);
        const std::size_t from = at + start.Length();
        const std::size_t to = end.Find(text, from);
        if (to == kNotFound)
            return WwwFailure(&file, "Couldn't find MakeFile 'End' pattern in modified HTML document file!",
                              kPatternCantGoOn, BoxKind::Note);
        place = to + end.Length();
        if (!FinishPage(file, text.substr(from, to - from))) return false;
        m_publishedFiles.push_back(m_links.thisFile);
        AdvanceTocLinks(k);
    }
    return true;
}

bool CPublishingRun::WritePlainSeries(const CPatternSearcher& start, const CPatternSearcher& end) {
    const std::string_view text = Text();
    StartPlainLinks();
    std::size_t at = start.Find(text, 0);
    if (at == kNotFound) return WwwFailure(nullptr, kStartMissing, kPatternCantGoOn, BoxKind::Note);
    for (std::size_t n = 0; at != kNotFound; ++n) {
        const std::size_t from = at + start.Length();
        const std::size_t to = end.Find(text, from);
        if (to == kNotFound)
            return WwwFailure(nullptr, "Couldn't MakeFile 'End' pattern in modified HTML document file!",
                              kPatternCantGoOn, BoxKind::Note);
        SetStatusText(m_links.thisFile);
        COutputFile file;
        if (!OpenPage(file) || !WritePageHeader(file)) return false;
        if (!FinishPage(file, text.substr(from, to - from))) return false;
        m_publishedFiles.push_back(m_links.thisFile);
        m_doc.createdFiles.push_back(m_links.thisFile);
        AdvancePlainLinks(n);
        at = start.Find(text, to + end.Length());
    }
    return true;
}

// Pages are written by their full path; the process's current directory is
// never changed.
bool CPublishingRun::OpenPage(COutputFile& file) {
    if (file.Open(RuleRelativePath(m_doc.ruleFilePath, JoinPath(m_doc.rule.wwwDirectory, m_links.thisFile))))
        return true;
    return WwwFailure(nullptr, "Couldn't Create\\Open WWW file: " + m_links.thisFile + " for writing!",
                      "\nCan't continue!", BoxKind::Stop);
}

// The header is flushed before the segment follows, so a header that cannot
// be written is reported as the header's failure.
bool CPublishingRun::WritePageHeader(COutputFile& file) {
    if (!m_hasHeader) return true;
    bool written = WriteTemplate(file, m_headerText, TemplatePart::Header);
    if (written && !file.Flush()) written = TemplateWriteFailed(TemplatePart::Header);
    if (written) return true;
    return WwwFailure(&file, "Couldn't write header to the WWW file: '" + m_links.thisFile + "'",
                      kCantGoOn, BoxKind::Note);
}

// The segment, the footer (or a line break without one) and the close. A
// failure that only the close brings to light is the footer's: it is the last
// thing written.
bool CPublishingRun::FinishPage(COutputFile& file, std::string_view segment) {
    file.Write(segment);
    const bool footerWritten = m_hasFooter ? WriteTemplate(file, m_footerText, TemplatePart::Footer)
                                           : file.Write("\r\n");
    if (footerWritten && file.Close()) return true;
    return WwwFailure(&file, "Couldn't write footer to the WWW file: '" + m_links.thisFile + "'",
                      kCantGoOn, BoxKind::Note);
}

bool CPublishingRun::WwwFailure(COutputFile* file, const std::string& message, const char* suffix,
                                BoxKind box) {
    if (file && file->IsOpen()) file->Close();  // its own errors add nothing here
    AddLogLine("***> " + message);
    if (box == BoxKind::Stop) StopBox(message + suffix);
    else NoteBox(message + suffix);
    m_outputFailed = true;
    return false;
}

}  // namespace webquill
