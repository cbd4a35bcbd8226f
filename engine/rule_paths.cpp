#include "engine/rule_paths.h"

#include "engine/file_paths.h"

namespace webquill {

std::string RuleRelativePath(std::string_view ruleFilePath, std::string_view path) {
    const std::size_t at = LastSeparator(ruleFilePath);
    if (path.empty() || IsAbsolutePath(path) || at == std::string_view::npos) return std::string(path);
    // "/site.rul" lives in the root itself.
    return JoinPath(ruleFilePath.substr(0, at == 0 ? 1 : at), path);
}

}  // namespace webquill
