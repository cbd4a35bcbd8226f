#include "platform/ftp/ftp_list_lines.h"

#include <cctype>

namespace webquill {

namespace {

std::size_t SkipBlanks(const std::string& s, std::size_t at) {
    while (at < s.size() && s[at] == ' ') ++at;
    return at;
}
std::size_t SkipWord(const std::string& s, std::size_t at) {
    while (at < s.size() && s[at] != ' ') ++at;
    return at;
}

}  // namespace

// "type=dir;size=0;modify=...; name with blanks"
bool ParseMachineListLine(const std::string& line, FtpEntry& entry) {
    const std::size_t space = line.find(' ');
    if (space == std::string::npos || space + 1 >= line.size()) return false;
    entry.name = line.substr(space + 1);
    std::string facts = line.substr(0, space);
    for (char& c : facts) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::size_t type = facts.find("type=");
    if (type == std::string::npos) return false;
    const std::size_t end = facts.find(';', type);
    const std::string value = facts.substr(type + 5, end == std::string::npos ? end : end - type - 5);
    if (value == "cdir" || value == "pdir") return false;
    entry.isDirectory = value == "dir";
    return true;
}

// Unix: "drwxr-xr-x 2 owner group 4096 Jan  1 12:00 name with blanks"
//       (links "name -> target" keep the name only)
// DOS:  "01-01-24  12:00PM       <DIR>          name with blanks"
bool ParseListLine(const std::string& line, FtpEntry& entry) {
    if (line.empty() || line.compare(0, 5, "total") == 0) return false;
    if (std::isdigit(static_cast<unsigned char>(line[0]))) {
        std::size_t at = SkipWord(line, 0);              // date
        at = SkipWord(line, SkipBlanks(line, at));       // time
        at = SkipBlanks(line, at);
        const std::size_t sizeEnd = SkipWord(line, at);  // "<DIR>" or the size
        entry.isDirectory = line.compare(at, sizeEnd - at, "<DIR>") == 0;
        at = SkipBlanks(line, sizeEnd);
        if (at >= line.size()) return false;
        entry.name = line.substr(at);
        return true;
    }
    std::size_t at = 0;
    for (int field = 0; field < 8; ++field) at = SkipBlanks(line, SkipWord(line, at));
    if (at >= line.size()) return false;
    entry.isDirectory = line[0] == 'd';
    entry.name = line.substr(at);
    if (line[0] == 'l') {
        const std::size_t arrow = entry.name.find(" -> ");
        if (arrow != std::string::npos) entry.name.resize(arrow);
    }
    return true;
}

}  // namespace webquill
