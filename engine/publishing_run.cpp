#include "engine/publishing_run.h"

#include <cstdio>
#include <filesystem>
#include <new>
#include <system_error>

#include "engine/file_paths.h"
#include "engine/output_file.h"
#include "engine/rule_paths.h"
#include "engine/string_format.h"
#include "engine/text_rebuild.h"
#include "engine/text_search.h"

namespace webquill {

namespace {
constexpr const char* kBanner = "****  Quillwright  ****";
constexpr std::size_t kBannerIndent = 40;
constexpr std::size_t kReportIndent = 20;
constexpr std::size_t kReportLongestLine = 90;
constexpr std::size_t kNotExecutedShown = 200;

std::string Indented(std::size_t blanks, const std::string& text) {
    return std::string(blanks, ' ') + text;
}

std::string SummaryLine(std::size_t number, const std::string& text) {
    return StrFormat("    %4d) ... %s", static_cast<int>(number), text.c_str());
}
}  // namespace

CPublishingRun::CPublishingRun(RunDocument& document, IRunHost& host)
    : m_doc(document),
      m_host(host),
      m_matchCase(document.settings.matchCase),
      m_displayErrors(document.settings.displayErrors) {}

void CPublishingRun::AddLogLine(const std::string& text) {
    if (m_doc.logLines.size() < kMaxLogLines) {
        m_doc.logLines.push_back(text);
    } else if (m_limitNoticePending) {
        m_doc.logLines.emplace_back("**** Application line limit reached! ****");
        m_limitNoticePending = false;
        m_doc.lineLimitReached = true;
    } else {
        return;
    }
    const std::string& added = m_doc.logLines.back();
    if (added.size() > m_doc.longestLineLength) m_doc.longestLineLength = added.size();
    m_host.ShowLogLine(added);
}

void CPublishingRun::SetStatusText(const std::string& text) {
    m_host.ShowStatusText(text);
    PumpMessages();
}

void CPublishingRun::PumpMessages() { m_host.PumpMessages(); }

void CPublishingRun::NoteBox(const std::string& text) {
    if (m_displayErrors) m_host.ShowMessageBox(BoxKind::Note, text);
}

void CPublishingRun::StopBox(const std::string& text) {
    if (m_displayErrors) m_host.ShowMessageBox(BoxKind::Stop, text);
}

// The run never changes the process's current directory: asking the file
// system whether the directory exists answers the same question. The
// directory is found in the path as written and then taken against the rule
// file's folder.
bool CPublishingRun::EnsureFileDirectory(const std::string& path) {
    std::string directory;
    if (path.find('.') != std::string::npos) {
        const std::size_t at = LastSeparator(path);
        if (at == std::string::npos) return true;  // a bare file name lives here
        directory = path.substr(0, at);
        if (directory.empty()) return true;  // directly in the root
    } else {
        directory = path;
        if (IsRootDirectory(directory) || directory.empty()) return true;
        if (IsPathSeparator(directory.back())) directory.pop_back();
    }
    return EnsureDirectory(directory, path);
}

// The directory is named as written and made against the rule file's folder.
bool CPublishingRun::EnsureDirectory(const std::string& directory, const std::string& path) {
    if (directory.empty() || IsRootDirectory(directory)) return true;
    const std::string used = RuleRelativePath(m_doc.ruleFilePath, directory);
    std::error_code error;
    if (std::filesystem::is_directory(used, error)) return true;
    if (!std::filesystem::create_directory(used, error) || error) {
        NoteBox("Couldn't create the directory:\n'" + directory + "\nfor file spec:\n" + path +
                "'\nCan't continue!");
        AddLogLine("***> Couldn't create a requested file directory!");
        return false;
    }
    if (!std::filesystem::is_directory(used, error)) {
        NoteBox("Couldn't change directories to the created directory for:\n'" + path +
                "'\nCan't continue!");
        AddLogLine("***> Couldn't change directories to a requested file directory!");
        return false;
    }
    return true;
}

void CPublishingRun::ApplyRebuild(CTextRebuild& rebuilt) { rebuilt.Finish(); }

void CPublishingRun::ReleaseTexts() {
    m_textFront = 0;
    std::string().swap(m_ruleText);
    std::string().swap(m_workingText);
    m_rebuildRoom.Release();
    std::string().swap(m_headerText);
    std::string().swap(m_footerText);
    std::string().swap(m_tocTemplateText);
}

// A failed allocation anywhere in a run stops it with a word, never with an abort.
RunOutcome CPublishingRun::RunPublishing(RunScope scope) {
    try {
        return RunSteps(scope);
    } catch (const std::bad_alloc&) {
        ReleaseTexts();
        StopBox("Failed to allocate memory!\nCan't Continue.");
        AddLogLine("***> Failed to allocate memory!");
        EndRunState();
        return RunOutcome::Stopped;
    }
}

void CPublishingRun::EndRunState() {
    if (!m_doc.runInProgress) return;
    m_doc.modified = false;
    m_host.SetModified(false);
    m_doc.runInProgress = false;
    m_host.SetWaitCursor(false);
}

RunOutcome CPublishingRun::RunSteps(RunScope scope) {
    m_matchCase = m_doc.settings.matchCase;
    AddLogLine(Indented(kBannerIndent, kBanner));
    AddLogLine(" ");

    auto fatal = [this](const char* what, const std::string& name) {
        ReleaseTexts();
        AddLogLine(StrFormat("**** Error %s -> %s ****     Application Terminated!", what,
                             name.c_str()));
        return RunOutcome::Stopped;
    };

    if (!ReadRuleFile()) return RunOutcome::Stopped;
    if (!ParseHeaderSection() || !OutputsSpareInputs()) {
        ReleaseTexts();
        return RunOutcome::Stopped;
    }
    if (!ReadSourceDocument()) return fatal("reading source HTML Document File", m_doc.rule.document);
    if (!ParseCommandSection(false)) return fatal("in Rule File", m_doc.ruleFilePath);
    if (m_hasHeader && !ReadHeaderTemplate()) return fatal("in Header File", m_doc.rule.headerName);
    if (m_hasFooter && !ReadFooterTemplate()) return fatal("in Footer File", m_doc.rule.footerName);
    if (m_hasTocTemplate && !ReadTOCTemplate())
        return fatal("in TOC Template File", m_doc.rule.tocTemplate);

    m_host.SetWaitCursor(true);
    m_doc.longestLineLength = kReportLongestLine;
    WriteReportLines();
    if (scope == RunScope::ReadAndParse) {
        m_host.SetWaitCursor(false);
        ReleaseTexts();
        return RunOutcome::Completed;
    }

    PumpMessages();
    m_doc.runInProgress = true;
    m_doc.modified = true;
    m_host.SetModified(true);
    m_sourceName = m_doc.rule.document;

    if (!ExecuteCommands()) {
        ReleaseTexts();
        EndRunState();
        return RunOutcome::Stopped;
    }
    if (!m_doc.rule.intermediateFile.empty()) WriteIntermediateFile();
    WriteNotExecutedList();
    if (BuildOutputFiles()) WritePublishedList();

    EndRunState();
    SetStatusText("Ready");
    ReleaseTexts();
    return m_outputFailed ? RunOutcome::CompletedWithOutputErrors : RunOutcome::Completed;
}

void CPublishingRun::WriteReportLines() {
    const RuleValues& rule = m_doc.rule;
    auto report = [this](const std::string& text) { AddLogLine(Indented(kReportIndent, text)); };
    auto orNone = [](const std::string& value, const char* none) {
        return value.empty() ? std::string(none) : value;
    };
    report("Rule File -> " + m_doc.ruleFilePath);
    report("HTML Document Source File -> " + rule.document);
    report("Intermediate File -> " + orNone(rule.intermediateFile, "None Defined"));
    report("TOC File -> " + orNone(rule.tocName, "None defined"));
    m_tocFileName = rule.tocName.empty() ? std::string() : BareFileName(rule.tocName);
    report("TOC Template File -> " + orNone(rule.tocTemplate, "None Defined"));
    report("Header File -> " + rule.headerName);
    report("Footer File -> " + rule.footerName);
    report(m_matchCase ? "Match Case Option -> Selected" : "Match Case Option -> NOT Selected");
    AddLogLine(" ");
}

void CPublishingRun::WriteNotExecutedList() {
    if (m_notExecuted.empty()) return;
    AddLogLine("Following Commands Not Executed:");
    for (std::size_t i = 0; i < m_notExecuted.size(); ++i) {
        std::string shown = m_notExecuted[i].substr(0, kNotExecutedShown);
        MarkLineBreaks(shown);
        AddLogLine(SummaryLine(i + 1, shown));
    }
    AddLogLine(" ");
}

void CPublishingRun::WritePublishedList() {
    AddLogLine("Files Successfully Published:");
    for (std::size_t i = 0; i < m_publishedFiles.size(); ++i)
        AddLogLine(SummaryLine(i + 1, m_publishedFiles[i]));
}

void CPublishingRun::RunCommandsOfKind(int kind) {
    auto runRecords = [this](CommandKind wanted, const char* prefix,
                             bool (CPublishingRun::*execute)(CCmdVar&)) {
        m_doc.commands.ForEach([&](CCmdVar& record) {
            if (record.kind != wanted) return;
            if (!(this->*execute)(record)) m_notExecuted.push_back(prefix + record.firstText);
        });
    };
    switch (kind) {
        case 1: runRecords(CommandKind::Add, "Add Cmd: ", &CPublishingRun::AddCommand); break;
        case 2: runRecords(CommandKind::Delete, "Delete Cmd: ", &CPublishingRun::DeleteCommand); break;
        case 3: runRecords(CommandKind::Extract, "Extract Cmd: ", &CPublishingRun::ExtractCommand); break;
        case 4: runRecords(CommandKind::Replace, "Replace Cmd: ", &CPublishingRun::ReplaceCommand); break;
        case 5:
            m_doc.wrappers.ForEach([this](CWrapper& record) {
                if (WrapCommand(record)) return;
                std::string entry = "Wrap Cmd: ";
                if (!record.numberPrefix.empty()) entry += record.numberPrefix + " ";
                m_notExecuted.push_back(entry + record.numberFormat);
            });
            break;
        default: break;
    }
}

// False when a command could not get the memory it needed (its result would
// pass the working text's bound): that stops the run.
bool CPublishingRun::ExecuteCommands() {
    for (int kind : m_doc.rule.executeSequence) {
        try {
            RunCommandsOfKind(kind);
        } catch (const std::bad_alloc&) {
            m_rebuildRoom.Release();
            return CommandMemoryFailure(kind);
        }
    }
    SetStatusText("Ready");
    return true;
}

bool CPublishingRun::WriteIntermediateFile() {
    const std::string& path = m_doc.rule.intermediateFile;
    const std::string used = RuleRelativePath(m_doc.ruleFilePath, path);
    if (!EnsureFileDirectory(path)) {
        m_outputFailed = true;
        return false;
    }
    COutputFile file;
    if (!file.Open(used)) {
        const std::string message = "Couldn't Open Intermediate file: " + path + " to write it!";
        AddLogLine(message);
        StopBox(message);
        m_outputFailed = true;
        return false;
    }
    file.Write(Text());
    if (!file.Close()) {
        const std::string message = "An error occurred while writing information to file:\n" + path;
        AddLogLine(message);
        StopBox(message + "\nPublishing aborted by application!");
        m_outputFailed = true;
        return false;
    }
    return true;
}

}  // namespace webquill
