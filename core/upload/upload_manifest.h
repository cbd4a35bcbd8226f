// The record, kept on the server, of what uploads have put there: each
// file's server path, size and SHA-256, and the target folders the record
// covers. It lives in the WWW target folder, so an upload into another
// folder finds the record of that folder.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace webquill {

class CFtpConnection;

inline constexpr const char* kManifestName = ".webquill-manifest";

struct ManifestEntry {
    std::string path;  // absolute on the server
    std::uint64_t size = 0;
    std::string sha256;  // 64 lower-case hex digits
    friend bool operator==(const ManifestEntry&, const ManifestEntry&) = default;
};

struct UploadManifest {
    std::vector<std::string> folders;    // sorted, each ending in '/'
    std::vector<ManifestEntry> entries;  // sorted by path, one per path
    friend bool operator==(const UploadManifest&, const UploadManifest&) = default;
};

// The folders of an upload as a manifest records them: sorted, no twice.
std::vector<std::string> ManifestFolders(std::vector<std::string> folders);

std::string FormatManifest(const UploadManifest& manifest);
// False for anything but a whole manifest of this format version.
bool ParseManifest(std::string_view text, UploadManifest& manifest);

// The size and SHA-256 of a local file; false when it cannot be read.
bool DescribeLocalFile(const std::string& path, std::uint64_t& size, std::string& sha256);

// The manifest of the folder `wwwTarget` (absolute, ending in '/'), when
// the server has one that can be read and covers exactly `folders`.
bool ReadServerManifest(CFtpConnection& connection, const std::string& wwwTarget,
                        const std::vector<std::string>& folders, UploadManifest& manifest);
// Sends the manifest under a temporary name and renames it over the old
// one, so a reader finds the old record or the new one, whole.
bool WriteServerManifest(CFtpConnection& connection, const std::string& wwwTarget, const UploadManifest& manifest,
                         std::string& error);

}  // namespace webquill
