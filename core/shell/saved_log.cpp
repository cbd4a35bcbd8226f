#include "core/shell/saved_log.h"

#include "platform/storage/replacing_file.h"

namespace webquill {

namespace {
std::string Failure(const char* what, const std::string& reason) {
    return reason.empty() ? std::string(what) : std::string(what) + "\n" + reason;
}
}  // namespace

// Written through a temporary file, so a failed save keeps the old log whole.
std::string WriteSavedLog(const std::string& path, const std::vector<std::string>& lines) {
    CReplacingFile file(path);
    if (!file.Open()) return Failure("Invalid filename.", file.ErrorText());
    for (const std::string& line : lines) {
        if (!file.Write(line) || !file.Write("\r\n")) break;
    }
    return file.Commit() ? std::string() : Failure("Failed to save document.", file.ErrorText());
}

}  // namespace webquill
