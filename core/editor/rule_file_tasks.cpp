#include "core/editor/rule_file_tasks.h"

namespace webquill {

RuleFileSaveResult SaveWorkingSet(RunDocument& doc, const RuleWorkingSet& set, const std::string& path) {
    doc.rule = WorkingSetValues(set);
    std::string text;
    if (auto problem = CheckWorkingSet(set, doc.settings.matchCase, &text))
        return {RuleFileSaveResult::Kind::Refused, std::move(problem->message)};
    return SaveRuleFileText(path, text);
}

RewriteOutcome RewriteRuleFile(RunDocument& doc, IRunHost& host, const std::string& outFile, std::string* failure) {
    RuleWorkingSet set;
    if (!LoadWorkingSet(doc, host, set)) return RewriteOutcome::LoadFailed;
    const RuleFileSaveResult saved = SaveWorkingSet(doc, set, outFile);
    if (saved.Ok()) return RewriteOutcome::Written;
    if (failure) *failure = saved.message;
    return RewriteOutcome::WriteFailed;
}

}  // namespace webquill
