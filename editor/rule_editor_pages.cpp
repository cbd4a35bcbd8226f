#include "rule_editor_pages.h"

#include "bld_header.h"
#include "command_pages.h"
#include "exe_order.h"
#include "make_command_pages.h"
#include "upload_info_page.h"

namespace webquill {

std::vector<CSheetPage*> MakeRuleEditorPages(RuleWorkingSet& set, const CQuilletDoc& doc) {
    return {
        new CBldHeader(set),
        new CReplaceCmd(set),
        new CDeleteCmd(set),
        new CExtractCmd(set),
        new CAddCmd(set),
        new CWrapCmd(set),
        new CExeOrder(set),
        new CMakeIdx(set),
        new CMakeFileCmd(set),
        new CUploadInfoPage(set, doc),
    };
}

}  // namespace webquill
