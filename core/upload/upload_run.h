// The upload of a run's output: the WWW files, the TOC file and the local
// image files, each into its target directory on the server, with the
// message-center texts and the progress steps of the upload dialog.
#pragma once

#include <string>
#include <vector>

#include "core/upload/upload_plan.h"

namespace webquill {

class CFtpConnection;
class IUploadHost;
struct RunDocument;

struct UploadInputs {
    std::vector<std::string> createdFiles;  // bare names of the WWW files
    std::string wwwDirectory;               // their local directory
    std::string tocName;                    // the local TOC file
    std::string tocServerDir;
    std::string wwwServerDir;
    std::string imagesLocalDir;
    std::string imagesServerDir;
    std::string imageFilter;
    // The rule file the paths above come from: a relative one means its folder.
    std::string ruleFilePath;
};
UploadInputs UploadInputsOf(const RunDocument& document, const std::string& imageFilter);

// Where the connection stands and what the tree has selected.
struct UploadPlace {
    std::string loginDirectory;
    std::string wwwStartDirectory;
    std::string selectedPath;
    bool selectionIsDirectory = true;
};

struct UploadTargets {
    std::string www, toc, images;
};

struct UploadResult {
    int uploaded = 0;  // confirmed by the server
    int total = 0;     // files to send
    int unchanged = 0;
    int deleted = 0;
    bool changedOnly = false;
    std::vector<std::string> failed;  // local paths, in upload order
    UploadTargets targets;
};

inline constexpr const char* kDirectoryQuestion =
    "You have changed directories from the originally specified WWW start!\n"
    "Do you wish ALL files placed in the selected directory?\n"
    "\nNote: If you select 'No' files will be placed where you originally specified!\n\n";

// The three targets for the rule's directories below the login directory.
UploadTargets TargetsBelowLogin(const UploadInputs& inputs, const std::string& loginDirectory);

// Advances the bar by tens each time the handled count reaches a threshold.
class CUploadProgress {
public:
    explicit CUploadProgress(int total) : m_step(total / 10), m_threshold(total / 10) {}
    // Before a file is handled (WWW files): returns true when the bar moved.
    bool BeforeHandling();
    // After a file is handled (the TOC file and images).
    bool AfterHandling();
    int Position() const { return m_position; }

private:
    bool Reached();
    int m_step, m_threshold, m_handled = 0, m_position = 0;
};

// "%d / %d Files Uploaded!" with the confirmed count and the total, and
// " (%d unchanged)" after it when only changed files were to go.
std::string UploadSummary(const UploadResult& result);

// With any choice, or a manifest already on the server, the manifest is
// read first and written last; a dry run shows the plan and writes nothing.
UploadResult RunUpload(CFtpConnection& connection, const UploadInputs& inputs, const UploadPlace& place,
                       IUploadHost& host, const UploadChoices& choices = {});

}  // namespace webquill
