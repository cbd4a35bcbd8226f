#include "ui/editor/rule_file_dialog.h"

#include "platform/desktop/byte_text.h"
#include "engine/file_paths.h"
#include "ui/editor/publish_dialog.h"
#include "core/shell/quillet_doc.h"
#include "platform/storage/settings_store.h"
#include "platform/desktop/ui_prompts.h"

namespace webquill {

bool ShowRuleFileDialog(QWidget* parent, CQuilletDoc& doc, RuleFileDialogMode mode, const QString& comboText,
                        std::string& path) {
    const bool save = mode == RuleFileDialogMode::Save;
    FileDialogRequest request;
    request.filters = {FileDialogFilter(QStringLiteral("Rule Files (*.rul) "), QStringLiteral("*.rul")),
                       FileDialogFilter(QStringLiteral("All Files (*.*) "), QStringLiteral("*.*"))};
    request.save = save;
    request.mustExist = false;
    request.directory = ShownText(doc.lastPath);
    request.fileName = save ? ShownText(path) : QString();
    const std::string combo = TypedBytes(comboText);
    if (!combo.empty()) {
        const std::size_t at = LastSeparator(combo);
        if (at == std::string::npos) {
            request.fileName = comboText;
        } else {
            request.directory = ShownText(FolderOfFile(combo));
            request.fileName = ShownText(combo.substr(at + 1));
        }
    }
    if (save) {
        request.caption = QStringLiteral("Rule File Save\\Save As");
        request.rejectLabel = QStringLiteral("Don't Save");
    } else {
        request.caption = QStringLiteral("'Create New' Builds New or 'Edit Existing' Edits Existing Rule File");
        request.acceptLabel = QStringLiteral("Edit Existing");
        request.rejectLabel = QStringLiteral("Create New");
    }

    const QString chosen = Prompts().ChooseFile(parent, request);
    if (!chosen.isEmpty()) path = TypedBytes(chosen);
    if (!path.empty() && LastSeparator(path) != std::string::npos) {
        doc.lastPath = FolderOfFile(path);
        CSettingsStore().WriteString("Preferences", "LastPath", doc.lastPath);
    }
    return !chosen.isEmpty();
}

}  // namespace webquill
