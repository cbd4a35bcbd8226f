// The commands that run beside an SFTP transfer: folders made, the part
// renamed over the old page, a part removed.
#pragma once

#include <string>
#include <vector>

namespace webquill {

// `path` as one argument: quoted, its quotes and backslashes escaped.
std::string SftpQuoted(const std::string& path);
// "mkdir" for each folder on the way to `directory` (absolute), failures
// ignored: most exist already.
std::vector<std::string> SftpMakeDirectories(const std::string& directory);
// OpenSSH's server renames only onto a free name, and this libcurl has no
// posix-rename: the old file is removed (where there is one) and the part
// renamed in the same request, with nothing in between.
std::vector<std::string> SftpRenameOver(const std::string& from, const std::string& to);
std::vector<std::string> SftpRemove(const std::string& path);

}  // namespace webquill
