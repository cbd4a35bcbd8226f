// The rule editor's file dialog, in its open mode (Edit Existing or Create
// New) and its save mode (Save or Don't Save).
#pragma once

#include <QString>
#include <string>

class QWidget;

namespace webquill {

class CQuilletDoc;

enum class RuleFileDialogMode { Open, Save };

// Shows the dialog; a confirmed path replaces `path`. Whatever the answer, a
// `path` that names a folder then makes that folder the document's last
// folder, also in the settings store. True when the user confirmed.
bool ShowRuleFileDialog(QWidget* parent, CQuilletDoc& doc, RuleFileDialogMode mode, const QString& comboText,
                        std::string& path);

}  // namespace webquill
