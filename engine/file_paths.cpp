#include "engine/file_paths.h"

namespace webquill {

bool IsPathSeparator(char c) { return c == '/' || c == '\\'; }

std::size_t LastSeparator(std::string_view path) { return path.find_last_of("/\\"); }

std::string BareFileName(std::string_view path) {
    const std::size_t at = LastSeparator(path);
    return std::string(at == std::string_view::npos ? path : path.substr(at + 1));
}

std::string JoinPath(std::string_view directory, std::string_view name) {
    std::string joined(directory);
    if (!joined.empty() && !IsPathSeparator(joined.back())) joined += '/';
    joined += name;
    return joined;
}

bool IsAbsolutePath(std::string_view path) {
    return (!path.empty() && IsPathSeparator(path.front())) ||
           path.find(':') != std::string_view::npos;
}

bool IsRootDirectory(std::string_view path) {
    if (path.size() == 1) return IsPathSeparator(path[0]);
    if (path.size() == 2) return path[1] == ':';
    if (path.size() == 3) return path[1] == ':' && IsPathSeparator(path[2]);
    return false;
}

}  // namespace webquill
