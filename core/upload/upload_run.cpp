#include "core/upload/upload_run.h"

#include <cstdio>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "platform/ftp/ftp_connection.h"
#include "engine/file_paths.h"
#include "core/upload/image_file_list.h"
#include "engine/rule_paths.h"
#include "engine/run_document.h"
#include "core/upload/upload_host.h"
#include "core/upload/upload_manifest.h"
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
    if (!result.changedOnly) return summary;
    return summary + (" (" + std::to_string(result.unchanged) + " unchanged)");
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

namespace {

// The site's files in upload order: the WWW files (`wwwCount` of them), the
// TOC file where its name can be taken from its path (`tocUnnamed` where a
// TOC file is to go but its name cannot), the images.
std::vector<SiteFile> SiteFilesOf(const UploadInputs& inputs, const UploadTargets& targets, IUploadHost& host,
                                  std::size_t& wwwCount, bool& tocUnnamed) {
    // The files are read where the run wrote them.
    auto local = [&](const std::string& path) { return RuleRelativePath(inputs.ruleFilePath, path); };
    // Images go to the login directory when no server folder is named.
    CImgFileList images;
    if (!inputs.imagesLocalDir.empty()) {
        host.ShowMessageCenter("Getting Image File List!");
        images.Build(inputs.imageFilter, local(inputs.imagesLocalDir));
    }
    std::vector<SiteFile> files;
    files.reserve(inputs.createdFiles.size() + images.Files().size() + 1);
    for (const std::string& name : inputs.createdFiles)
        files.push_back(
            {local(inputs.wwwDirectory.empty() ? name : JoinPath(inputs.wwwDirectory, name)), name, targets.www});
    wwwCount = files.size();
    std::string tocName;
    const bool withToc = !inputs.tocName.empty() && !inputs.tocServerDir.empty();
    const bool tocNamed = withToc && UploadFileNameOf(inputs.tocName, tocName);
    tocUnnamed = withToc && !tocNamed;
    if (tocNamed) files.push_back({local(inputs.tocName), tocName, targets.toc});
    for (const CImgFile& image : images.Files()) files.push_back({image.fullPath, image.name, targets.images});
    return files;
}

// Deletes what the plan found gone, when the server still has it: a file
// removed by hand since is simply no longer recorded. A folder that cannot
// be listed has its files tried all the same.
void DeleteGoneFiles(CFtpConnection& connection, const UploadPlan& plan, IUploadHost& host, UploadResult& result,
                     std::vector<std::string>& failed) {
    std::unordered_map<std::string, std::unordered_set<std::string>> present;  // folder: names
    std::unordered_set<std::string> unlisted;
    for (const ManifestEntry& entry : plan.gone) {
        const std::string folder = entry.path.substr(0, entry.path.rfind('/') + 1);
        if (present.contains(folder) || unlisted.contains(folder)) continue;
        std::vector<FtpEntry> entries;
        if (!connection.List(folder, entries)) {
            unlisted.insert(folder);
            continue;
        }
        auto& names = present[folder];
        for (const FtpEntry& e : entries)
            if (!e.isDirectory) names.insert(e.name);
    }
    for (const ManifestEntry& entry : plan.gone) {
        const std::size_t slash = entry.path.rfind('/');
        const std::string folder = entry.path.substr(0, slash + 1);
        if (!unlisted.contains(folder) && !present[folder].contains(entry.path.substr(slash + 1))) continue;
        host.ShowMessageCenter("Deleting: " + entry.path);
        if (connection.RemoveFile(entry.path)) ++result.deleted;
        else failed.push_back(entry.path + ": Not deleted: " + connection.LastError());
    }
}

}  // namespace

UploadResult RunUpload(CFtpConnection& connection, const UploadInputs& inputs, const UploadPlace& place,
                       IUploadHost& host, const UploadChoices& choices) {
    UploadResult result;
    result.changedOnly = choices.changedOnly;
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

    std::size_t wwwCount = 0;
    bool tocUnnamed = false;
    std::vector<SiteFile> files = SiteFilesOf(inputs, result.targets, host, wwwCount, tocUnnamed);

    // The record of what uploads put on the server: read before, written after.
    const std::vector<std::string> folders =
        ManifestFolders({result.targets.www, result.targets.toc, result.targets.images});
    UploadManifest manifest;
    const bool manifestRead = ReadServerManifest(connection, result.targets.www, folders, manifest);
    const bool chosen = choices.changedOnly || choices.prune;
    const bool recording = chosen || manifestRead;
    const UploadPlan plan = PlanUpload(files, manifestRead ? &manifest : nullptr, choices, recording);
    files.clear();
    result.unchanged = static_cast<int>(plan.keep.size());
    result.total = static_cast<int>(plan.send.size()) + (tocUnnamed ? 1 : 0);
    if (choices.dryRun) {
        for (const std::string& line : PlanLines(plan)) host.ShowMessageCenter(line);
        host.ShowPlan(PlanCounts(plan));
        host.SetWaitCursor(false);
        return result;
    }
    if (chosen) host.ShowPlan(PlanCounts(plan));

    // Outcomes come as the server gives them; failures are named in upload order.
    std::map<std::size_t, std::string> failed;
    std::string error;
    if (manifestRead && ReplacesListedFiles(manifest, plan) &&
        !WriteServerManifest(connection, result.targets.www, ManifestBeforeSending(manifest, plan), error)) {
        // Files sent now could be vouched for by the old record: none go.
        failed.emplace(0, std::string(kManifestName) + ": " + error);
    }

    CUploadProgress progress(result.total);
    host.ShowProgress(true, 0);
    // Once the connection is halted files end unsent at once, unannounced.
    auto halted = [&] { return connection.Halted() != CFtpConnection::Halt::None; };
    // Keys in site order: a send at 2 * index + 1, an unnamed TOC file in
    // the slot before the first image.
    const std::size_t toSend = failed.empty() ? plan.send.size() : 0;
    for (std::size_t i = 0; i < toSend; ++i) {
        const PlannedFile& planned = plan.send[i];
        const SiteFile& file = planned.file;
        // WWW files move the bar before they are handled, the others after.
        const bool www = planned.index < wwwCount;
        if (www ? progress.BeforeHandling() : progress.AfterHandling()) host.ShowProgress(true, progress.Position());
        if (!halted()) host.ShowMessageCenter("Uploading: " + file.name);
        const std::size_t key = 2 * planned.index + 1;
        connection.BeginPut(file.localPath, file.RemotePath(),
                            [&, key, localPath = file.localPath](bool ok, const std::string& text) {
                                if (ok) ++result.uploaded;
                                else failed.emplace(key, localPath + ": " + text);
                            });
        if (!halted()) host.PumpMessages();
    }
    if (tocUnnamed) {
        if (progress.AfterHandling()) host.ShowProgress(true, progress.Position());
        host.ShowBox("TOC file could NOT be uploaded!");
        failed.emplace(2 * wwwCount, inputs.tocName);
    }
    connection.FinishPuts();
    for (auto& [order, text] : failed) result.failed.push_back(std::move(text));

    // Deletions and the new record only follow a run that sent everything.
    if (result.failed.empty() && !halted()) {
        if (plan.prune) DeleteGoneFiles(connection, plan, host, result, result.failed);
        const UploadManifest after = ManifestAfter(plan, folders);
        if (result.failed.empty() && recording && !(manifestRead && after == manifest) &&
            !WriteServerManifest(connection, result.targets.www, after, error))
            result.failed.push_back(std::string(kManifestName) + ": " + error);
    }

    // A user who stopped the run is told the count only.
    if (!result.failed.empty() && connection.Halted() != CFtpConnection::Halt::Stopped)
        host.ShowFailures(FailureBox(result.failed), result.failed);
    host.ShowProgress(false, progress.Position());
    host.ShowMessageCenter(UploadSummary(result));
    host.SetWaitCursor(false);
    return result;
}

}  // namespace webquill
