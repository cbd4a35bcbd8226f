// The saved log (.prl): one log line per CR LF line.
#pragma once

#include <string>
#include <vector>

namespace webquill {

bool WriteSavedLog(const std::string& path, const std::vector<std::string>& lines);

}  // namespace webquill
