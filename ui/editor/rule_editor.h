// The rule editor's edit cycle behind the publish dialog's "Rule Editor"
// button: choose a rule file (or a new one), load it, edit it in the sheet,
// save it, end.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace webquill {

class CQuilletDoc;
class IRunHost;

// `host` shows the load's log lines and boxes (the log window's view). Gives
// back the full path of the rule file written, or nothing.
std::optional<QString> RunRuleEditor(QWidget* owner, CQuilletDoc& doc, IRunHost& host, const QString& comboText);

}  // namespace webquill
