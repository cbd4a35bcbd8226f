#include "core/upload/upload_run.h"

#include <cstdio>
#include <map>

#include "platform/ftp/ftp_connection.h"
#include "engine/file_paths.h"
#include "core/upload/image_file_list.h"
#include "engine/rule_paths.h"
#include "engine/run_document.h"
#include "core/upload/upload_host.h"
#include "core/upload/upload_paths.h"

namespace webquill {

namespace {

std::string WithSlash(std::string path) {
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

// A box a screen can hold: the first failures, then how many more.
std::string FailureBox(const std::vector<std::string>& failed) {
    constexpr std::size_t kShown = 20;
    char line[64];
    std::snprintf(line, sizeof line, "%d files could NOT be uploaded!", static_cast<int>(failed.size()));
    std::string text = line;
    for (std::size_t i = 0; i < failed.size() && i < kShown; ++i) text += "\n" + failed[i];
    if (failed.size() > kShown) {
        std::snprintf(line, sizeof line, "\n... and %d more", static_cast<int>(failed.size() - kShown));
        text += line;
    }
    return text;
}

}  // namespace

std::string UploadSummary(const UploadResult& result) {
    char summary[64];
    std::snprintf(summary, sizeof summary, "%d / %d Files Uploaded!", result.uploaded, result.total);
    return summary;
}

UploadInputs UploadInputsOf(const RunDocument& document, const std::string& imageFilter) {
    const RuleValues& rule = document.rule;
    return {document.createdFiles, rule.wwwDirectory,    rule.tocName,         rule.tocServerDir,
            rule.wwwServerDir,     rule.imagesLocalDir, rule.imagesServerDir, imageFilter,
            document.ruleFilePath};
}

UploadTargets TargetsBelowLogin(const UploadInputs& inputs, const std::string& loginDirectory) {
    const std::string base = WithSlash(loginDirectory);
    return {base + ServerDirectoryForm(inputs.wwwServerDir), base + ServerDirectoryForm(inputs.tocServerDir),
            base + ServerDirectoryForm(inputs.imagesServerDir)};
}

bool CUploadProgress::Reached() {
    if (m_handled != m_threshold) return false;
    m_position += 10;
    m_threshold += m_step;
    return true;
}

bool CUploadProgress::BeforeHandling() {
    const bool moved = Reached();
    ++m_handled;
    return moved;
}

bool CUploadProgress::AfterHandling() {
    ++m_handled;
    return Reached();
}

UploadResult RunUpload(CFtpConnection& connection, const UploadInputs& inputs, const UploadPlace& place,
                       IUploadHost& host) {
    UploadResult result;
    bool intoSelection = false;
    if (!place.selectedPath.empty() && place.selectedPath != place.wwwStartDirectory &&
        place.selectionIsDirectory)
        intoSelection = host.AskYesNo(kDirectoryQuestion);
    host.SetWaitCursor(true);
    if (intoSelection) {
        const std::string target = WithSlash(place.selectedPath);
        result.targets = {target, target, target};
    } else {
        result.targets = TargetsBelowLogin(inputs, place.loginDirectory);
    }

    // The files are read where the run wrote them.
    auto local = [&](const std::string& path) { return RuleRelativePath(inputs.ruleFilePath, path); };
    // Images go to the login directory when no server folder is named.
    CImgFileList images;
    if (!inputs.imagesLocalDir.empty()) {
        host.ShowMessageCenter("Getting Image File List!");
        images.Build(inputs.imageFilter, local(inputs.imagesLocalDir));
    }
    const bool withToc = !inputs.tocName.empty() && !inputs.tocServerDir.empty();
    result.total = static_cast<int>(images.Files().size() + inputs.createdFiles.size()) + (withToc ? 1 : 0);

    CUploadProgress progress(result.total);
    host.ShowProgress(true, 0);
    // Outcomes come as the server gives them; failures are named in upload order.
    std::map<int, std::string> failed;
    int handed = 0;
    // Once the connection is halted files end unsent at once, unannounced.
    auto halted = [&] { return connection.Halted() != CFtpConnection::Halt::None; };
    auto send = [&](const std::string& local, const std::string& name, const std::string& target) {
        if (!halted()) host.ShowMessageCenter("Uploading: " + name);
        connection.BeginPut(local, target + name, [&, local, order = handed++](bool ok, const std::string& error) {
            if (ok) {
                ++result.uploaded;
            } else {
                failed.emplace(order, local + ": " + error);
            }
        });
        if (!halted()) host.PumpMessages();
    };

    for (const std::string& name : inputs.createdFiles) {
        if (progress.BeforeHandling()) host.ShowProgress(true, progress.Position());
        send(local(inputs.wwwDirectory.empty() ? name : JoinPath(inputs.wwwDirectory, name)), name,
             result.targets.www);
    }
    if (withToc) {
        if (progress.AfterHandling()) host.ShowProgress(true, progress.Position());
        std::string name;
        if (UploadFileNameOf(inputs.tocName, name)) {
            send(local(inputs.tocName), name, result.targets.toc);
        } else {
            host.ShowBox("TOC file could NOT be uploaded!");
            failed.emplace(handed++, inputs.tocName);
        }
    }
    for (const CImgFile& image : images.Files()) {
        if (progress.AfterHandling()) host.ShowProgress(true, progress.Position());
        send(image.fullPath, image.name, result.targets.images);
    }
    connection.FinishPuts();
    images.DeleteAll();
    for (auto& [order, text] : failed) result.failed.push_back(std::move(text));

    // A user who stopped the run is told the count only.
    if (!result.failed.empty() && connection.Halted() != CFtpConnection::Halt::Stopped)
        host.ShowFailures(FailureBox(result.failed), result.failed);
    host.ShowProgress(false, progress.Position());
    host.ShowMessageCenter(UploadSummary(result));
    host.SetWaitCursor(false);
    return result;
}

}  // namespace webquill
