#include "platform/ftp/sftp_commands.h"

namespace webquill {

std::string SftpQuoted(const std::string& path) {
    std::string quoted = "\"";
    for (char c : path) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

std::vector<std::string> SftpMakeDirectories(const std::string& directory) {
    std::vector<std::string> commands;
    for (std::size_t slash = directory.find('/', 1); slash != std::string::npos; slash = directory.find('/', slash + 1))
        if (directory[slash - 1] != '/') commands.push_back("*mkdir " + SftpQuoted(directory.substr(0, slash)));
    if (directory.size() > 1 && directory.back() != '/') commands.push_back("*mkdir " + SftpQuoted(directory));
    return commands;
}

std::vector<std::string> SftpRenameOver(const std::string& from, const std::string& to, bool replacing) {
    std::vector<std::string> commands;
    if (replacing) commands.push_back("*rm " + SftpQuoted(to));
    commands.push_back("rename " + SftpQuoted(from) + " " + SftpQuoted(to));
    return commands;
}

void CSftpFolderNames::Listed(const std::string& directory, const std::string& listing) {
    std::size_t at = 0;
    while (at < listing.size()) {
        std::size_t end = listing.find('\n', at);
        if (end == std::string::npos) end = listing.size();
        std::size_t stop = end;
        if (stop > at && listing[stop - 1] == '\r') --stop;
        if (stop > at) m_paths.insert(directory + listing.substr(at, stop - at));
        at = end + 1;
    }
}

std::vector<std::string> SftpRemove(const std::string& path) { return {"*rm " + SftpQuoted(path)}; }

}  // namespace webquill
