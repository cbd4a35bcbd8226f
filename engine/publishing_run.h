// One publishing run: reads the rule file and its inputs, parses the commands,
// executes them on the working text and writes the outputs, reporting every
// step through the log of the document it was given.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/command_records.h"
#include "engine/run_document.h"
#include "engine/run_host.h"
#include "engine/text_rebuild.h"
#include "engine/text_search.h"

namespace webquill {

enum class RunOutcome {
    Completed,                  // reached its end, every output written
    CompletedWithOutputErrors,  // reached its end, an output file failed
    Stopped,                    // a fatal stop ended it
};

// How far a run goes: to its end, or (a check of the rule file) through the
// reading and parsing steps and the report lines only.
enum class RunScope { Whole, ReadAndParse };

enum class HeaderValueState { Absent, Present, Refused };

struct HeaderValue {
    HeaderValueState state = HeaderValueState::Absent;
    std::string value;
    bool Present() const { return state == HeaderValueState::Present; }
};

class CPublishingRun {
public:
    CPublishingRun(RunDocument& document, IRunHost& host);

    RunOutcome RunPublishing(RunScope scope = RunScope::Whole);

    // An output the program writes besides the run's own (a saved log): the
    // run refuses to start when it is one of the inputs.
    void AlsoWrites(const char* what, std::string path);
    // Whether `path` is the same file as one of the run's inputs.
    bool IsInputFile(const std::string& path) const;

    // Helpers every step reports through.
    void AddLogLine(const std::string& text);
    void SetStatusText(const std::string& text);
    void PumpMessages();
    void NoteBox(const std::string& text);
    void StopBox(const std::string& text);
    bool EnsureFileDirectory(const std::string& path);
    // Makes `directory` (one level, opened from the rule file's folder); its
    // failure messages name `path` as the file it is made for.
    bool EnsureDirectory(const std::string& directory, const std::string& path);

    // Loaders: each reports its own failure and keeps nothing when it fails.
    bool ReadRuleFile();
    // A rule file text already in hand (the editor's check of what it is
    // about to write), taken as ReadRuleFile takes the file: a NUL ends it.
    void TakeRuleText(std::string text) {
        text.resize(std::min(text.size(), text.find('\0')));
        m_ruleText = std::move(text);
    }
    bool ReadSourceDocument();
    bool ReadHeaderTemplate();
    bool ReadFooterTemplate();
    bool ReadTOCTemplate();

    // The rule file.
    bool ParseHeaderSection();
    HeaderValue GetHeaderValue(std::string_view key, bool keepTrailing);
    bool ParseCommandSection(bool editorLoad);

    // Command texts, keyword already removed and the text trimmed.
    bool ParseAddCommand(std::string text);
    bool ParseDeleteCommand(std::string text);
    bool ParseExtractCommand(std::string text);
    bool ParseReplaceCommand(std::string text);
    bool ParseMakeTocCommand(std::string text);
    bool ParseMakeFileCommand(std::string text);
    bool ParseWrapCommand(std::string text);
    bool CreatePredefinedVariables();

    // Execution.
    bool ExecuteCommands();
    bool AddCommand(CCmdVar& record);
    bool DeleteCommand(CCmdVar& record);
    bool ExtractCommand(CCmdVar& record);
    bool ReplaceCommand(CCmdVar& record);
    bool WrapCommand(CWrapper& record);
    bool WriteIntermediateFile();
    bool BuildOutputFiles();

    // Run state, for the window and for tests.
    const std::string& WorkingText() const { return Text(); }
    void SetWorkingText(std::string text) {
        m_workingText = std::move(text);
        m_textFront = 0;
    }
    bool LfOnly() const { return m_lfOnly; }
    void SetLfOnly(bool lfOnly) { m_lfOnly = lfOnly; }
    bool MatchCase() const { return m_matchCase; }
    void SetMatchCase(bool matchCase) { m_matchCase = matchCase; }
    const std::vector<std::string>& NotExecuted() const { return m_notExecuted; }
    const std::vector<std::string>& PublishedFiles() const { return m_publishedFiles; }
    const std::string& TocFileName() const { return m_tocFileName; }
    bool HasHeader() const { return m_hasHeader; }
    bool HasFooter() const { return m_hasFooter; }
    bool HasTocTemplate() const { return m_hasTocTemplate; }
    bool OutputFailed() const { return m_outputFailed; }

private:
    struct LoaderWords;
    bool LoadText(const std::string& path, const LoaderWords& words, std::string& into,
                  LineEndKind* firstLineKind);
    bool ReportLoadFailure(const std::string& logLine, const char* boxSuffix);

    bool StoreHeaderValue(std::string_view key, std::string& into);
    bool ReadWwwFileName();
    void ReadExecuteSequence(std::string_view value);
    bool HeaderParseFailure(const char* message);
    // A file the run reads or writes: what it is, its path as named, and the
    // path the run opens.
    struct NamedFile {
        const char* what;
        std::string named;
        std::string used;
    };
    std::vector<NamedFile> InputFiles() const;
    bool IsSeriesPage(const std::string& path) const;
    bool OutputsSpareInputs();
    bool RefuseHeaderValue(std::string_view key, const char* reason);

    bool DispatchCommandText(int token, std::string text);
    bool CommandParseError(const char* boxPrefix, const std::string& message,
                           const std::string& logLine, bool stopBox = false);
    bool ParsePatternPairCommand(int token, CommandKind kind, std::string text);
    CCmdVar& AppendCommandRecord(CommandKind kind);
    std::int32_t TakeInstance(std::string& text);
    void ConvertLineBreaks(std::string& text) const;

    // The working text, with the stretch the Extract commands left at its
    // front closed.
    const std::string& Text() const {
        if (m_textFront != 0) m_workingText.erase(0, std::exchange(m_textFront, 0));
        return m_workingText;
    }
    void RemoveFromText(std::size_t from, std::size_t to);
    // Makes a finished one-pass rebuild the working text.
    void ApplyRebuild(class CTextRebuild& rebuilt);
    void WriteReportLines();
    void WriteNotExecutedList();
    void WritePublishedList();
    void RunCommandsOfKind(int kind);
    bool CommandMemoryFailure(int kind);
    RunOutcome RunSteps(RunScope scope);
    void EndRunState();
    void ReleaseTexts();

    RunDocument& m_doc;
    IRunHost& m_host;

    std::string m_ruleText;
    // Extract removes a stretch by moving the shorter side of it: a removal
    // near the start moves the front on instead of the rest of the text down.
    // The first m_textFront bytes are not part of the text.
    mutable std::string m_workingText;
    mutable std::size_t m_textFront = 0;
    TextRebuildRoom m_rebuildRoom;  // what the commands' rebuilds reuse
    std::string m_headerText;
    std::string m_footerText;
    std::string m_tocTemplateText;
    std::size_t m_headerMarker = 0;
    std::size_t m_commandMarker = 0;

    bool m_hasHeader = false;
    bool m_hasFooter = false;
    bool m_hasTocTemplate = false;
    bool m_matchCase = false;
    bool m_displayErrors = true;
    bool m_limitNoticePending = true;
    bool m_lfOnly = false;
    bool m_outputFailed = false;

    std::string m_sourceName;
    std::string m_tocFileName;
    std::vector<std::string> m_publishedFiles;
    std::vector<std::string> m_notExecuted;
    std::vector<std::string> m_tocEntries;
    std::vector<std::pair<const char*, std::string>> m_extraOutputs;
    std::int32_t m_commandCounter = 0;
    std::int32_t m_wrapCounter = 0;

    // Output files: the TOC file and the WWW series. The page link state is
    // what the header, the footer and the TOC lines read for the page being
    // written; the TOC scan numbers its file names with the file counter.
public:
    enum class TemplatePart { Header, Footer };
    struct PageLinks {
        std::string tocFile, thisFile, thisInfo, nextFile, nextInfo, prevFile, prevInfo;
    };
    bool WriteTemplate(class COutputFile& file, std::string_view text, TemplatePart part);
    bool TemplateWriteFailed(TemplatePart part);
    bool MakeWwwFiles(bool withToc);
    bool ScanTocEntries();
    bool CreateTocFile();
    bool WriteTocLines(class COutputFile& file, std::string_view lineTemplate);
    const std::vector<std::string>& TocEntries() const { return m_tocEntries; }
    PageLinks& Links() { return m_links; }

private:
    using ValueLookup = std::optional<std::string_view> (CPublishingRun::*)(std::string_view) const;
    struct UnclosedName {
        std::size_t copied;  // the text before this place is written
        std::size_t open;    // the "%%" without a closing one
    };
    std::optional<UnclosedName> WriteWithValues(class COutputFile& file, std::string_view text,
                                                ValueLookup lookUp) const;
    const CCmdVar* IndexedVariable(std::string_view name) const;
    std::optional<std::string_view> VariableValue(std::string_view name) const;
    std::optional<std::string_view> PageLinkValue(std::string_view name) const;
    std::optional<std::string_view> TemplateValue(std::string_view name) const;
    std::optional<std::string_view> TocTemplateValue(std::string_view name) const;
    std::optional<std::string_view> TocLineValue(std::string_view name) const;

    bool TocInUse() const;
    bool BuildFailure(const std::string& message);
    bool EnsureDirectoryOf(const std::string& filePath);
    std::string SeriesFileName(std::size_t number) const;
    bool StartTocLinks();
    void AdvanceTocLinks(std::size_t written);
    void StartPlainLinks();
    void AdvancePlainLinks(std::size_t written);
    bool WriteTocSeries(const CPatternSearcher& start, const CPatternSearcher& end);
    bool WritePlainSeries(const CPatternSearcher& start, const CPatternSearcher& end);
    bool OpenPage(class COutputFile& file);
    bool WritePageHeader(class COutputFile& file);
    bool FinishPage(class COutputFile& file, std::string_view segment);
    bool WwwFailure(class COutputFile* file, const std::string& message, const char* suffix,
                    BoxKind box);
    void WriteEntryList(class COutputFile& file) const;
    void WriteTocFromTemplate(class COutputFile& file);
    void WriteTocTemplatePart(class COutputFile& file, std::string_view part);

    PageLinks m_links;
    mutable std::unordered_map<std::string, const CCmdVar*> m_variableIndex;
    mutable std::size_t m_indexedRecords = 0;
    mutable std::string m_foldedName;
    std::size_t m_fileCounter = 0;
    std::size_t m_tocEntryCount = 0;
};

}  // namespace webquill
