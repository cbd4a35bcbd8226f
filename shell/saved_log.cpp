#include "saved_log.h"

#include "replacing_file.h"

namespace webquill {

// Written through a temporary file, so a failed save keeps the old log whole.
bool WriteSavedLog(const std::string& path, const std::vector<std::string>& lines) {
    CReplacingFile file(path);
    if (!file.Open()) return false;
    for (const std::string& line : lines) {
        if (!file.Write(line) || !file.Write("\r\n")) return false;
    }
    return file.Commit();
}

}  // namespace webquill
