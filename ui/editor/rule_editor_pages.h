// The rule editor's pages, in the order of their tabs. Each page is made over
// the edit cycle's working set, which it reads when brought to the front and
// changes when it is left.
#pragma once

#include <vector>

namespace webquill {

struct RuleFileProblem;
class CQuilletDoc;
class CSheetPage;
struct RuleWorkingSet;

// `doc` offers its recent FTP sites to the Upload Info page.
std::vector<CSheetPage*> MakeRuleEditorPages(RuleWorkingSet& set, const CQuilletDoc& doc);
// The tab of the page that edits the value a problem names; -1 for none.
int RuleEditorPageOf(const RuleFileProblem& problem);

}  // namespace webquill
