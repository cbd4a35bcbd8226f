#include "core/editor/rule_file_tasks.h"

namespace webquill {

RuleFileSaveResult SaveWorkingSet(RunDocument& doc, const RuleWorkingSet& set, const std::string& path) {
    StoreHeaderStrings(set, doc.rule);
    doc.rule.executeSequence = set.executeSequence;
    return SaveRuleFileText(path, ComposeRuleFile(doc.rule, set.commands, set.wrappers, doc.settings.matchCase));
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
