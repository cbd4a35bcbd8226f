#include "core/upload/upload_plan.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace webquill {

namespace {
std::unordered_set<std::string_view> SentPaths(const UploadPlan& plan, std::vector<std::string>& paths) {
    paths.reserve(plan.send.size());
    for (const PlannedFile& planned : plan.send) paths.push_back(planned.file.RemotePath());
    return {paths.begin(), paths.end()};
}
}  // namespace

UploadPlan PlanUpload(const std::vector<SiteFile>& files, const UploadManifest* manifest, const UploadChoices& choices,
                      bool describe) {
    UploadPlan plan;
    plan.prune = choices.prune && manifest;
    plan.manifestRead = manifest != nullptr;
    std::unordered_map<std::string_view, const ManifestEntry*> listed;
    if (manifest)
        for (const ManifestEntry& entry : manifest->entries) listed.emplace(entry.path, &entry);
    std::unordered_map<std::string, std::size_t> recordedAt;
    for (std::size_t index = 0; index < files.size(); ++index) {
        const SiteFile& file = files[index];
        PlannedFile planned{file, {file.RemotePath(), 0, {}}, false, index};
        if (describe) planned.described = DescribeLocalFile(file.localPath, planned.entry.size, planned.entry.sha256);
        const auto [at, first] = recordedAt.emplace(planned.entry.path, plan.recorded.size());
        if (first) plan.recorded.emplace_back();
        // An unread file is recorded as nothing, so the next run sends it again.
        plan.recorded[at->second] = planned.described ? planned.entry : ManifestEntry{};
        const auto found = listed.find(planned.entry.path);
        const bool same = found != listed.end() && planned.described && *found->second == planned.entry;
        if (found != listed.end()) listed.erase(found);
        (choices.changedOnly && same ? plan.keep : plan.send).push_back(std::move(planned));
    }
    // What is left was put there by an upload and is no longer in the site.
    if (manifest)
        for (const ManifestEntry& entry : manifest->entries)
            if (listed.contains(entry.path)) plan.gone.push_back(entry);
    return plan;
}

std::string PlanCounts(const UploadPlan& plan) {
    return "Plan: " + std::to_string(plan.send.size()) + " to send, " + std::to_string(plan.keep.size()) +
           " unchanged, " + std::to_string(plan.DeleteCount()) + " to delete";
}

std::vector<std::string> PlanLines(const UploadPlan& plan) {
    std::vector<std::string> lines;
    for (const PlannedFile& planned : plan.send) lines.push_back("Send: " + planned.entry.path);
    for (const PlannedFile& planned : plan.keep) lines.push_back("Keep: " + planned.entry.path);
    if (plan.prune)
        for (const ManifestEntry& entry : plan.gone) lines.push_back("Delete: " + entry.path);
    return lines;
}

bool ReplacesListedFiles(const UploadManifest& old, const UploadPlan& plan) {
    std::vector<std::string> paths;
    const auto sent = SentPaths(plan, paths);
    for (const ManifestEntry& entry : old.entries)
        if (sent.contains(entry.path)) return true;
    return false;
}

UploadManifest ManifestBeforeSending(const UploadManifest& old, const UploadPlan& plan) {
    std::vector<std::string> paths;
    const auto sent = SentPaths(plan, paths);
    UploadManifest kept{old.folders, {}};
    for (const ManifestEntry& entry : old.entries)
        if (!sent.contains(entry.path)) kept.entries.push_back(entry);
    return kept;
}

UploadManifest ManifestAfter(const UploadPlan& plan, std::vector<std::string> folders) {
    UploadManifest after{std::move(folders), {}};
    for (const ManifestEntry& entry : plan.recorded)
        if (!entry.sha256.empty()) after.entries.push_back(entry);
    if (!plan.prune) after.entries.insert(after.entries.end(), plan.gone.begin(), plan.gone.end());
    return after;
}

}  // namespace webquill
