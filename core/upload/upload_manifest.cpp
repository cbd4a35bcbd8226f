#include "core/upload/upload_manifest.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryFile>

#include <charconv>
#include <unordered_set>

#include "platform/ftp/ftp_connection.h"

namespace webquill {

namespace {

constexpr std::string_view kHeader = "webquill-manifest 1";
// Far above any site's record (some 150 bytes a file), far below memory.
constexpr long kLargestManifest = 64L << 20;

bool IsHexDigest(std::string_view text) {
    return text.size() == 64 &&
           text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

bool Ends(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// A file directly in one of the folders the manifest covers: a record edited
// by hand cannot make a prune reach anywhere else.
bool InCoveredFolder(std::string_view path, const std::vector<std::string>& folders) {
    const std::string_view folder = path.substr(0, path.rfind('/') + 1);
    for (const std::string& covered : folders)
        if (folder == covered) return true;
    return false;
}

// Splits off the text up to the next blank.
std::string_view Word(std::string_view& rest) {
    const std::size_t blank = rest.find(' ');
    const std::string_view word = rest.substr(0, blank);
    rest.remove_prefix(blank == std::string_view::npos ? rest.size() : blank + 1);
    return word;
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::vector<std::string> ManifestFolders(std::vector<std::string> folders) {
    std::vector<std::string> unique;
    for (std::string& folder : folders) {
        if (folder.empty() || folder.back() != '/') folder += '/';
        bool seen = false;
        for (const std::string& kept : unique) seen = seen || kept == folder;
        if (!seen) unique.push_back(std::move(folder));
    }
    return unique;
}

std::string FormatManifest(const UploadManifest& manifest) {
    std::string text(kHeader);
    text += '\n';
    for (const std::string& folder : manifest.folders) text += "folder " + folder + '\n';
    std::size_t written = 0;
    for (const ManifestEntry& entry : manifest.entries) {
        // A line per file: a name with a line break would split it.
        if (Ends(entry.path)) continue;
        text += "file " + std::to_string(entry.size) + ' ' + entry.sha256 + ' ' + entry.path + '\n';
        ++written;
    }
    // A manifest cut short loses this line and is not taken for whole.
    text += "end " + std::to_string(written) + '\n';
    return text;
}

bool ParseManifest(std::string_view text, UploadManifest& manifest) {
    manifest = {};
    std::unordered_set<std::string_view> paths;
    bool header = false, ended = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos || ended) return false;
        std::string_view rest = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (!header) {
            if (rest != kHeader) return false;
            header = true;
            continue;
        }
        const std::string_view kind = Word(rest);
        if (kind == "folder" && manifest.entries.empty() && !rest.empty()) {
            manifest.folders.emplace_back(rest);
        } else if (kind == "file") {
            ManifestEntry entry;
            const std::string_view size = Word(rest), sha = Word(rest);
            if (!ParseNumber(size, entry.size) || !IsHexDigest(sha) || !InCoveredFolder(rest, manifest.folders) ||
                rest.ends_with('/') || !paths.insert(rest).second)
                return false;
            entry.sha256 = sha;
            entry.path = rest;
            manifest.entries.push_back(std::move(entry));
        } else if (kind == "end") {
            std::size_t count = 0;
            if (!ParseNumber(rest, count) || count != manifest.entries.size()) return false;
            ended = true;
        } else {
            return false;
        }
    }
    return ended;
}

bool DescribeLocalFile(const std::string& path, std::uint64_t& size, std::string& sha256) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return false;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file)) return false;
    size = static_cast<std::uint64_t>(file.pos());
    sha256 = hash.result().toHex().toStdString();
    return true;
}

bool ReadServerManifest(CFtpConnection& connection, const std::string& wwwTarget,
                        const std::vector<std::string>& folders, UploadManifest& manifest) {
    std::string text;
    if (!connection.ReadSmallFile(wwwTarget + kManifestName, text, kLargestManifest) ||
        !ParseManifest(text, manifest) || manifest.folders != folders) {
        manifest = {};
        return false;
    }
    return true;
}

bool WriteServerManifest(CFtpConnection& connection, const std::string& wwwTarget, const UploadManifest& manifest,
                         std::string& error) {
    QTemporaryFile local;
    const std::string text = FormatManifest(manifest);
    const auto size = static_cast<qint64>(text.size());
    if (!local.open() || local.write(text.data(), size) != size || !local.flush()) {
        error = "Cannot write the manifest's local copy: " + local.errorString().toStdString();
        return false;
    }
    local.close();
    if (connection.PutFile(local.fileName().toStdString(), wwwTarget + kManifestName)) return true;
    error = connection.LastError();
    return false;
}

}  // namespace webquill
