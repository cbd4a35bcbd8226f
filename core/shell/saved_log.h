// The saved log (.prl): one log line per CR LF line.
#pragma once

#include <string>
#include <vector>

namespace webquill {

// Empty when written; else "Invalid filename." (the file could not be made)
// or "Failed to save document." (a write failed), and the system's reason on
// the next line.
std::string WriteSavedLog(const std::string& path, const std::vector<std::string>& lines);

}  // namespace webquill
