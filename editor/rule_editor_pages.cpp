#include "rule_editor_pages.h"

#include <QStringList>

#include "bld_header.h"
#include "exe_order.h"
#include "help_viewer.h"
#include "kept_records_page.h"
#include "make_command_pages.h"
#include "rule_file_writer.h"
#include "rule_working_set.h"

namespace webquill {

namespace {

// The written lines of the records of one kind, for the pages that keep them.
QStringList CommandLines(const RuleWorkingSet& set, CommandKind kind) {
    CCmdVarList one;
    set.commands.ForEach([&](const CCmdVar& r) {
        if (r.kind == kind) one.Append(std::make_unique<CCmdVar>(r));
    });
    const QString text = QString::fromStdString(ComposeRuleFile({}, one, {}));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    return lines.mid(lines.indexOf(QStringLiteral("&Commands:")) + 1);
}

QStringList WrapLines(const RuleWorkingSet& set) {
    const QString text = QString::fromStdString(ComposeRuleFile({}, {}, set.wrappers));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    return lines.mid(lines.indexOf(QStringLiteral("&Commands:")) + 1);
}

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

CSheetPage* Kept(const QString& caption, int help, RuleWorkingSet& set, CommandKind kind) {
    return new CKeptRecordsPage(caption, help, set,
                                [kind](const RuleWorkingSet& s) { return CommandLines(s, kind); });
}

}  // namespace

std::vector<CSheetPage*> MakeRuleEditorPages(RuleWorkingSet& set) {
    return {
        new CBldHeader(set),
        Kept(QStringLiteral("Replace Commands"), kHelpReplaceCommands, set, CommandKind::Replace),
        Kept(QStringLiteral("Delete Commands"), kHelpDeleteCommands, set, CommandKind::Delete),
        Kept(QStringLiteral("Extract Commands"), kHelpExtractCommands, set, CommandKind::Extract),
        Kept(QStringLiteral("Add Commands"), kHelpAddCommands, set, CommandKind::Add),
        new CKeptRecordsPage(QStringLiteral("Wrap Commands"), kHelpWrapCommands, set, WrapLines),
        new CExeOrder(set),
        new CMakeIdx(set),
        new CMakeFileCmd(set),
        new CKeptRecordsPage(QStringLiteral("Upload Info"), kHelpUploadInfo, set, UploadLines),
    };
}

}  // namespace webquill
