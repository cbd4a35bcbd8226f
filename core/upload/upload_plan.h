// What an upload will do, decided before anything is sent: which files of
// the site go up, which the server already holds as they are (by size and
// SHA-256, per the manifest), and which files the manifest lists that the
// site no longer has.
#pragma once

#include <string>
#include <vector>

#include "core/upload/upload_manifest.h"

namespace webquill {

// One file of the site, in upload order.
struct SiteFile {
    std::string localPath;
    std::string name;    // on the server
    std::string target;  // absolute server folder, ending in '/'
    std::string RemotePath() const { return target + name; }
};

struct UploadChoices {
    bool changedOnly = false;  // send only files that differ from the manifest
    bool prune = false;        // delete what the manifest lists and the site lost
    bool dryRun = false;       // show the plan, write nothing
};

struct PlannedFile {
    SiteFile file;
    ManifestEntry entry;     // its size and SHA-256 when `described`
    bool described = false;  // false: unread, so never recorded
    std::size_t index = 0;   // in the site's files
};

struct UploadPlan {
    std::vector<PlannedFile> send, keep;
    // Listed in the manifest and no longer in the site: deleted with prune,
    // else left on the server and in the manifest.
    std::vector<ManifestEntry> gone;
    // Every described file of the site in upload order, each path once (the
    // last file sent to it wins).
    std::vector<ManifestEntry> recorded;
    bool prune = false;
    bool manifestRead = false;
    int DeleteCount() const { return prune ? static_cast<int>(gone.size()) : 0; }
};

// `manifest` null: none could be read, so everything is sent and nothing
// deleted. Files are described (read and hashed) only when `describe`.
UploadPlan PlanUpload(const std::vector<SiteFile>& files, const UploadManifest* manifest, const UploadChoices& choices,
                      bool describe);

// "Plan: N to send, K unchanged, D to delete"
std::string PlanCounts(const UploadPlan& plan);
// A line per file: "Send: PATH", "Keep: PATH", "Delete: PATH".
std::vector<std::string> PlanLines(const UploadPlan& plan);

// The old manifest less the files about to be replaced: a run cut short
// leaves no record vouching for a file in an unknown state.
UploadManifest ManifestBeforeSending(const UploadManifest& old, const UploadPlan& plan);
// The record once every file is sent and every deletion done.
UploadManifest ManifestAfter(const UploadPlan& plan, std::vector<std::string> folders);
// True when the old manifest lists a file that is about to be replaced.
bool ReplacesListedFiles(const UploadManifest& old, const UploadPlan& plan);

}  // namespace webquill
