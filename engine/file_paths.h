// Path pieces as the run composes them: '/' and '\' both separate.
#pragma once

#include <string>
#include <string_view>

namespace webquill {

bool IsPathSeparator(char c);
// Position of the last '/' or '\', or npos.
std::size_t LastSeparator(std::string_view path);
// What follows the last separator; the whole path without one.
std::string BareFileName(std::string_view path);
// `directory` + '/' + `name`, without doubling a separator.
std::string JoinPath(std::string_view directory, std::string_view name);
// A path the program cannot make relative: it starts with a separator or holds ':'.
bool IsAbsolutePath(std::string_view path);
// "/" alone, or a drive root such as "C:\".
bool IsRootDirectory(std::string_view path);

}  // namespace webquill
