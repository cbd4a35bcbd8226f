// The document of one log window: its log lines, the rule values and lists of
// its last run, a copy of the user's settings and the recent-entry lists, the
// saved-log reader and writer and the close guard. No widgets: the desktop
// program and webquill-publish share it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/run_document.h"

namespace webquill {

class CSettingsStore;

// What the document asks of the window that shows it while it reads a saved
// log: the two status panes, a message drain and the wait cursor.
class IDocumentHost {
public:
    virtual ~IDocumentHost() = default;
    virtual void ShowStatusPanes(const std::string& pane0, const std::string& pane1) = 0;
    virtual void PumpMessages() = 0;
    virtual void SetWaitCursor(bool /*on*/) {}
};

struct FtpRow {
    std::string url;
    std::string startDirectory;
    std::string userId;
    std::string password;  // plain here, scrambled in the store
};

// How an open or a save ended. A file error is shown as the platform's file
// error message, the message text being the fallback; content errors are
// shown with the stop icon.
struct DocumentFileResult {
    enum class Kind { Done, FileError, ContentError };
    Kind kind = Kind::Done;
    std::string message;
    bool Ok() const { return kind == Kind::Done; }
};

enum class CloseDecision {
    Refuse,           // a run is in progress: show CloseGuardText() and stay open
    AskSaveChanges,   // modified: the usual save-changes question decides
    Close,
};

inline constexpr std::size_t kRecentRuleFileLimit = 40;
inline constexpr std::size_t kRecentFtpRowLimit = 40;
inline constexpr std::size_t kSavedLogBlockSize = 8000000;
inline constexpr std::size_t kSavedLogLineLimit = 32000;
inline constexpr int kLinesPerPrintedPage = 80;

class CQuilletDoc : public RunDocument {
public:
    explicit CQuilletDoc(CSettingsStore& store);

    // New document: the settings and the recent lists are read from the store.
    // When `aboutText` is given and still empty it is filled from the
    // program's version information.
    void LoadSettings(std::string* aboutText = nullptr);

    // Open: reads the saved log at `path` (or, with the command-line file
    // flag, only records it as the rule file).
    DocumentFileResult OpenSavedLog(const std::string& path, bool commandLineFileFlag,
                                    IDocumentHost* host, std::string* aboutText = nullptr);
    // Save: every log line followed by CR LF.
    DocumentFileResult SaveLog(const std::string& path, IDocumentHost* host = nullptr);

    CloseDecision MayClose();
    static const char* CloseGuardText();

    void AddRecentRuleFile(const std::string& path);
    void AddRecentFtpRow(const FtpRow& row);

    // Deletes every log line and empties the command and Wrap record lists.
    void ClearLists();

    // The reader's block size; kSavedLogBlockSize unless a test reads in
    // smaller blocks.
    void SetSavedLogBlockSize(std::size_t bytes) { m_blockSize = bytes ? bytes : 1; }

    // Settings copy beyond what the run reads (RunDocument::settings).
    std::string editorProgram;
    std::string webBrowserProgram;
    std::string imageFileFilter;
    std::string lastPath;

    std::vector<std::string> recentRuleFiles;  // most recent first
    std::vector<FtpRow> recentFtpRows;         // most recent first

    bool loadedLog = false;
    // The rule file path came from the command line (a rule file opened from
    // a file manager): the publish dialog offers it.
    bool ruleFileNamedOnCommandLine = false;
    bool closing = false;
    int printedPageCount = 0;

private:
    void LoadRecentRuleFiles();
    void LoadRecentFtpRows();
    void WriteRecentRuleFiles();
    void WriteRecentFtpRows();
    DocumentFileResult ReadSavedLog(const std::string& path, IDocumentHost* host);

    CSettingsStore& m_store;
    std::size_t m_blockSize = kSavedLogBlockSize;
    bool m_reading = false;  // a saved log is being read into this document
};

}  // namespace webquill
