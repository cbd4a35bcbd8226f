// The commands that run beside an SFTP transfer: folders made, the part
// renamed over the old page, a part removed.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace webquill {

// `path` as one argument: quoted, its quotes and backslashes escaped.
std::string SftpQuoted(const std::string& path);
// "mkdir" for each folder on the way to `directory` (absolute), failures
// ignored: most exist already.
std::vector<std::string> SftpMakeDirectories(const std::string& directory);
// OpenSSH's server renames only onto a free name, and this libcurl has no
// posix-rename: when `replacing`, the old file is removed (a missing one no
// error) and the part renamed in the same request, with nothing in between.
std::vector<std::string> SftpRenameOver(const std::string& from, const std::string& to, bool replacing);
std::vector<std::string> SftpRemove(const std::string& path);

// The names each target folder held when first looked at: a part renamed
// onto a free name needs no removal first, one round trip less per page.
class CSftpFolderNames {
public:
    // `listing`: the names in `directory` (ending in "/"), one a line.
    void Listed(const std::string& directory, const std::string& listing);
    bool Holds(const std::string& directory, const std::string& name) const {
        return m_paths.count(directory + name) != 0;
    }
    void Clear() { m_paths.clear(); }

private:
    std::set<std::string> m_paths;
};

}  // namespace webquill
