#include "core/shell/line_target.h"

#include "engine/file_paths.h"
#include "engine/rule_paths.h"

namespace webquill {

namespace {

constexpr std::string_view kReport = "File -> ", kRule = "Rule ", kFatalEnd = " ****";

// The rule file the run read, as its report line names it. A window shown
// from a saved log knows the log's own path only; the run's files lie beside
// the rule file, wherever the log was saved.
std::string RunRuleFile(const RunDocument& document) {
    for (const std::string& line : document.logLines) {
        const std::size_t text = line.find_first_not_of(' ');
        if (text != std::string::npos && line.compare(text, kRule.size() + kReport.size(), "Rule File -> ") == 0)
            return line.substr(text + kRule.size() + kReport.size());
    }
    return document.ruleFilePath;
}

}  // namespace

std::string LineTargetPath(const std::string& line, const RunDocument& document) {
    constexpr std::string_view kSummary = ") ... ";
    if (const std::size_t at = line.find(kSummary); at != std::string::npos) {
        const std::string target = line.substr(at + kSummary.size());
        if (IsAbsolutePath(target)) return target;
        // A saved log knows no WWW directory: its names are taken against the
        // rule file's folder.
        return RuleRelativePath(RunRuleFile(document), JoinPath(document.rule.wwwDirectory, target));
    }
    const std::size_t at = line.find(kReport);
    if (at == std::string::npos) return std::string();
    std::string target = line.substr(at + kReport.size());
    // "**** Error in Rule File -> x.rul ****     Application Terminated!"
    if (line.starts_with("****")) target = target.substr(0, target.rfind(kFatalEnd));
    const bool ruleFile = at >= kRule.size() && line.compare(at - kRule.size(), kRule.size(), kRule) == 0;
    return ruleFile ? target : RuleRelativePath(RunRuleFile(document), target);
}

}  // namespace webquill
