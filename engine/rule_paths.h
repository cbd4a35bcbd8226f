// A rule file's paths mean its own folder, whatever folder the program runs
// in: the log shows them as written, the run opens them from there.
#pragma once

#include <string>
#include <string_view>

namespace webquill {

// `path` as a run of the rule file `ruleFilePath` opens it: a relative path
// is joined to the rule file's folder. An empty or absolute path, or a rule
// file named without a folder, leaves it as written.
std::string RuleRelativePath(std::string_view ruleFilePath, std::string_view path);

}  // namespace webquill
