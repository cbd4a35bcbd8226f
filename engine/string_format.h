// printf-style formatting into a std::string, for the system's own messages.
#pragma once

#include <string>

namespace webquill {

#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
std::string StrFormat(const char* format, ...);

}  // namespace webquill
