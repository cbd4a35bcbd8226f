// What a publishing run reads from and leaves in the document of its log
// window: settings, the rule-header values, the log and the lists it builds.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/command_records.h"

namespace webquill {

inline constexpr std::size_t kMaxLogLines = 128000;

// Copied from the per-user settings when a document is created.
struct RunSettings {
    bool matchCase = false;
    bool usDateDisplay = true;
    bool displayErrors = true;
    std::string previousTocInfo = "Previous Page";
    std::string thisTocInfo = "This Page";
    std::string nextTocInfo = "Next Page";
};

// Values of the rule file's &Header section.
struct RuleValues {
    std::string document;
    std::string intermediateFile;
    std::string wwwFileName;   // the root file name, after the last separator
    std::string wwwDirectory;  // before it
    std::string headerName;
    std::string footerName;
    std::string tocName;
    std::string tocTemplate;
    std::string ftpUrl;
    std::string userId;
    std::string userPassword;  // held unscrambled
    std::string tocServerDir;
    std::string wwwServerDir;
    std::string imagesLocalDir;
    std::string imagesServerDir;
    std::array<int, 5> executeSequence{4, 2, 3, 1, 5};
};

struct RunDocument {
    std::string ruleFilePath;
    RunSettings settings;
    RuleValues rule;

    std::vector<std::string> logLines;
    std::size_t longestLineLength = 0;
    bool lineLimitReached = false;

    bool runInProgress = false;
    bool publishDialogShown = false;
    bool modified = false;

    CCmdVarList commands;
    CWrapperList wrappers;
    std::vector<std::string> createdFiles;  // bare names of the last run's WWW files
};

}  // namespace webquill
