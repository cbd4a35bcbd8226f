#include "ui/editor/rule_editor.h"

#include <QApplication>

#include "platform/desktop/byte_text.h"
#include "engine/file_paths.h"
#include "ui/editor/my_sheet.h"
#include "core/shell/quillet_doc.h"
#include "ui/editor/rule_editor_pages.h"
#include "ui/editor/rule_file_dialog.h"
#include "core/editor/rule_file_tasks.h"
#include "ui/editor/sheet_page.h"
#include "platform/desktop/ui_prompts.h"

namespace webquill {

namespace {

QString SheetCaption(bool editMode, const std::string& path) {
    if (editMode && LastSeparator(path) != std::string::npos)
        return QStringLiteral("Editing Rule File - ") + ShownText(BareFileName(path));
    return QStringLiteral("Rule File Editor - New Rule File");
}

// The platform's report of a failed save.
void ReportFailedSave(QWidget* parent, const RuleFileSaveResult& result) {
    Prompts().Message(parent, QStringLiteral("Webquill"), QString::fromStdString(result.message), PromptIcon::Stop,
                      PromptButtons::Ok);
}

}  // namespace

std::optional<QString> RunRuleEditor(QWidget* owner, CQuilletDoc& doc, IRunHost& host, const QString& comboText) {
    RuleWorkingSet set;
    std::string path;
    const bool editMode = ShowRuleFileDialog(owner, doc, RuleFileDialogMode::Open, comboText, path);
    if (editMode) {
        doc.ruleFilePath = path;
        if (!LoadWorkingSet(doc, host, set)) {
            doc.modified = false;
            return std::nullopt;  // the reader has said why; no sheet
        }
    } else {
        NewWorkingSet(doc, set);
    }

    set.editorProgram = doc.editorProgram;
    if (editMode) set.ruleFilePath = path;
    std::optional<QString> written;
    {
        CMySheet sheet(SheetCaption(editMode, path), owner);
        for (CSheetPage* page : MakeRuleEditorPages(set, doc)) sheet.AddPage(page);
        sheet.SetAskBeforeDiscarding(true);
        sheet.FitAndCentreOn(owner);
        // Pages not visited are checked too: what the file cannot carry is
        // refused here, and its page brought to the front, before any save.
        sheet.SetAcceptCheck([&] {
            const auto problem = CheckWorkingSet(set, doc.settings.matchCase);
            if (!problem) return true;
            Prompts().Message(&sheet, QStringLiteral("Webquill"), QString::fromStdString(problem->message),
                              PromptIcon::Warning, PromptButtons::Ok);
            if (const int page = RuleEditorPageOf(*problem); page >= 0) sheet.SetActivePage(page);
            return false;
        });
        const bool ok = sheet.exec() == QDialog::Accepted;
        // The Execute Order page's changes reach the document as it leaves.
        doc.rule.executeSequence = set.executeSequence;
        if (ok && ShowRuleFileDialog(owner, doc, RuleFileDialogMode::Save, comboText, path)) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            const RuleFileSaveResult saved = SaveWorkingSet(doc, set, path);
            QApplication::restoreOverrideCursor();
            if (saved.Ok()) written = ShownText(path);
            else ReportFailedSave(owner, saved);
        }
    }
    set.Clear();
    doc.modified = false;
    return written;
}

}  // namespace webquill
