#include "saved_log.h"

#include <cerrno>
#include <cstring>

#include "output_file.h"

namespace webquill {

namespace {
std::string Failure(const char* what) {
    const int error = errno;
    return error == 0 ? std::string(what) : std::string(what) + "\n" + std::strerror(error);
}
}  // namespace

std::string WriteSavedLog(const std::string& path, const std::vector<std::string>& lines) {
    COutputFile file;
    errno = 0;
    if (!file.Open(path)) return Failure("Invalid filename.");
    for (const std::string& line : lines) {
        file.Write(line);
        file.Write("\r\n");
    }
    errno = 0;
    return file.Close() ? std::string() : Failure("Failed to save document.");
}

}  // namespace webquill
