#include "ui/editor/rule_editor_pages.h"

#include "core/editor/rule_file_check.h"
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

int RuleEditorPageOf(const RuleFileProblem& problem) {
    if (problem.header) {
        if (problem.headerField == kHeaderFieldCount) return 6;
        return problem.headerField < kFtpUrlField ? 0 : 9;
    }
    switch (problem.kind) {
        case CommandKind::Replace: return 1;
        case CommandKind::Delete: return 2;
        case CommandKind::Extract: return 3;
        case CommandKind::Add: return 4;
        case CommandKind::MakeTOC: return 7;
        case CommandKind::MakeFile: return 8;
        default: return problem.number > 0 ? 5 : -1;
    }
}

}  // namespace webquill
