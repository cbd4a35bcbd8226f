#include "ui/editor/rule_editor_pages.h"

#include "ui/editor/bld_header.h"
#include "ui/editor/command_pages.h"
#include "ui/editor/exe_order.h"
#include "ui/editor/make_command_pages.h"
#include "ui/editor/upload_info_page.h"

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
