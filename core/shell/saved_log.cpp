#include "core/shell/saved_log.h"

#include "platform/storage/replacing_file.h"

namespace webquill {

// Written through a temporary file, so a failed save keeps the old log whole.
std::string WriteSavedLog(const std::string& path, const std::vector<std::string>& lines) {
    CReplacingFile file(path);
    if (!file.Open()) return file.FailureText("Invalid filename.");
    for (const std::string& line : lines) {
        if (!file.Write(line) || !file.Write("\r\n")) break;
    }
    return file.Commit() ? std::string() : file.FailureText("Failed to save document.");
}

}  // namespace webquill
