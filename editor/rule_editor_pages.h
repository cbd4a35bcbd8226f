// The rule editor's pages, in the order of their tabs. Each page is made over
// the edit cycle's working set, which it reads when brought to the front and
// changes when it is left.
#pragma once

#include <vector>

namespace webquill {

class CSheetPage;
struct RuleWorkingSet;

std::vector<CSheetPage*> MakeRuleEditorPages(RuleWorkingSet& set);

}  // namespace webquill
