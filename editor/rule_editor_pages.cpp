#include "rule_editor_pages.h"

#include <QStringList>

#include "help_viewer.h"
#include "kept_records_page.h"
#include "rule_file_writer.h"
#include "rule_working_set.h"
#include "upload_info_page.h"

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

QStringList HeaderLines(const RuleWorkingSet& set) {
    QStringList lines;
    for (std::size_t i = 0; i < kFtpUrlField; ++i) lines << QString::fromStdString(set.header[i]);
    return lines;
}

CSheetPage* Kept(const QString& caption, int help, RuleWorkingSet& set, CommandKind kind) {
    return new CKeptRecordsPage(caption, help, set,
                                [kind](const RuleWorkingSet& s) { return CommandLines(s, kind); });
}

}  // namespace

std::vector<CSheetPage*> MakeRuleEditorPages(RuleWorkingSet& set, const CQuilletDoc& doc) {
    return {
        new CKeptRecordsPage(QStringLiteral("Header Info"), kHelpHeaderInfo, set, HeaderLines),
        Kept(QStringLiteral("Replace Commands"), kHelpReplaceCommands, set, CommandKind::Replace),
        Kept(QStringLiteral("Delete Commands"), kHelpDeleteCommands, set, CommandKind::Delete),
        Kept(QStringLiteral("Extract Commands"), kHelpExtractCommands, set, CommandKind::Extract),
        Kept(QStringLiteral("Add Commands"), kHelpAddCommands, set, CommandKind::Add),
        new CKeptRecordsPage(QStringLiteral("Wrap Commands"), kHelpWrapCommands, set, WrapLines),
        new CKeptRecordsPage(QStringLiteral("Execute Order"), kHelpExecuteOrder, set, HeaderLines),
        Kept(QStringLiteral("Make TOC Command"), kHelpMakeTocCommand, set, CommandKind::MakeTOC),
        Kept(QStringLiteral("Make File Command"), kHelpMakeFileCommand, set, CommandKind::MakeFile),
        new CUploadInfoPage(set, doc),
    };
}

}  // namespace webquill
