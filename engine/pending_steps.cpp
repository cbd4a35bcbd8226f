// Steps whose own units come with the editing commands and the output files.
// Until then each reports success, so a run goes through to its end.
#include "publishing_run.h"

namespace webquill {

bool CPublishingRun::AddCommand(CCmdVar&) { return true; }
bool CPublishingRun::DeleteCommand(CCmdVar&) { return true; }
bool CPublishingRun::ExtractCommand(CCmdVar&) { return true; }
bool CPublishingRun::ReplaceCommand(CCmdVar&) { return true; }
bool CPublishingRun::WrapCommand(CWrapper&) { return true; }
bool CPublishingRun::BuildOutputFiles() { return true; }

}  // namespace webquill
