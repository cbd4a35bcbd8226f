// What the rule editor does with a whole rule file, shared by the edit cycle
// and webquill-publish: the save of a working set and the rewrite of a rule
// file (load and save without a sheet).
#pragma once

#include <string>

#include "engine/publishing_run.h"
#include "core/editor/rule_file_check.h"
#include "core/editor/rule_file_writer.h"
#include "core/editor/rule_working_set.h"

namespace webquill {

// Copies the working set back into the document (header strings, execute
// sequence) and writes the rule file to `path`, unless it would read back as
// something else.
RuleFileSaveResult SaveWorkingSet(RunDocument& doc, const RuleWorkingSet& set, const std::string& path);

enum class RewriteOutcome { Written, LoadFailed, WriteFailed };

// Loads doc.ruleFilePath as the edit cycle does and saves it to `outFile`;
// `failure` receives the save's report when the write failed.
RewriteOutcome RewriteRuleFile(RunDocument& doc, IRunHost& host, const std::string& outFile, std::string* failure);

}  // namespace webquill
