#include "core/shell/line_target.h"

#include "engine/file_paths.h"
#include "engine/rule_paths.h"

namespace webquill {

std::string LineTargetPath(const std::string& line, const RunDocument& document) {
    constexpr std::string_view kSummary = ") ... ", kReport = "File -> ", kRule = "Rule ";
    if (const std::size_t at = line.find(kSummary); at != std::string::npos) {
        const std::string target = line.substr(at + kSummary.size());
        // A window shown from a saved log knows no WWW directory: its names
        // stand as they are.
        const std::string& directory = document.rule.wwwDirectory;
        if (IsAbsolutePath(target) || directory.empty()) return target;
        return RuleRelativePath(document.ruleFilePath, JoinPath(directory, target));
    }
    const std::size_t at = line.find(kReport);
    if (at == std::string::npos) return std::string();
    const std::string target = line.substr(at + kReport.size());
    const bool ruleFile = at >= kRule.size() && line.compare(at - kRule.size(), kRule.size(), kRule) == 0;
    return ruleFile ? target : RuleRelativePath(document.ruleFilePath, target);
}

}  // namespace webquill
