#include "rule_editor_pages.h"

#include <QStringList>

#include "bld_header.h"
#include "command_pages.h"
#include "exe_order.h"
#include "help_viewer.h"
#include "kept_records_page.h"
#include "make_command_pages.h"
#include "rule_working_set.h"

namespace webquill {

namespace {

QStringList UploadLines(const RuleWorkingSet& set) {
    static const char* const kKeys[] = {"FtpURL", "UserID", "UserPW", "TOCServerDir", "WWWServerDir",
                                        "ImagesLocalDir", "ImagesServerDir"};
    QStringList lines;
    for (std::size_t i = 0; i < std::size(kKeys); ++i) {
        const std::string& value = set.header[kFtpUrlField + i];
        const bool password = kFtpUrlField + i == kUserPwField;
        lines << QString::fromLatin1(kKeys[i]) + QStringLiteral(": ") +
                     (password && !value.empty() ? QStringLiteral("********") : QString::fromStdString(value));
    }
    return lines;
}

}  // namespace

std::vector<CSheetPage*> MakeRuleEditorPages(RuleWorkingSet& set) {
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
        new CKeptRecordsPage(QStringLiteral("Upload Info"), kHelpUploadInfo, set, UploadLines),
    };
}

}  // namespace webquill
