// The lines of a directory listing: LIST in its Unix and DOS forms, and
// MLSD, told apart as directories and files.
#pragma once

#include <string>

namespace webquill {

struct FtpEntry {
    std::string name;
    bool isDirectory = false;
};

// False for a line that names no entry: a "total" line, a line too short to
// hold a name, MLSD's lines for the directory itself and its parent.
bool ParseListLine(const std::string& line, FtpEntry& entry);
bool ParseMachineListLine(const std::string& line, FtpEntry& entry);

}  // namespace webquill
