// The publish dialog: names the rule file of a run, sets match case for it
// and starts it; also where the rule editor is started from.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace webquill {

class CQuilletDoc;

// Runs the rule editor over the dialog `owner`, proposing `currentText` as
// the file to edit; gives back the full path of the rule file it wrote, or
// nothing when it wrote none.
using RuleEditorFlow = std::function<std::optional<QString>(QWidget* owner, const QString& currentText)>;

class CPublishDlg : public QDialog {
    Q_OBJECT
public:
    explicit CPublishDlg(CQuilletDoc& document, QWidget* parent = nullptr);
    ~CPublishDlg() override;

    // Plugs the rule editor in; the "Rule Editor" button works only with one.
    void SetRuleEditor(RuleEditorFlow flow);

    CQuilletDoc& Document() { return m_doc; }
    QString RuleFileText() const;

    QComboBox* RuleFileCombo() const { return m_combo; }
    QLabel* RuleFileLabel() const { return m_ruleFileLabel; }
    QLabel* BrowseLabel() const { return m_browseLabel; }
    QPushButton* BrowseButton() const { return m_browse; }
    QCheckBox* MatchCaseBox() const { return m_matchCase; }
    QPushButton* StartButton() const { return m_start; }
    QPushButton* RuleEditorButton() const { return m_ruleEditor; }
    QPushButton* HelpButton() const { return m_help; }
    QPushButton* CancelButton() const { return m_cancel; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnPicked();
    void OnComboFocusLost();
    void OnBrowse();
    void OnStart();
    void OnRuleEditor();
    void OnHelp();
    void EnableStartIfText();
    // The bytes behind the combo text: a recent entry keeps its own bytes,
    // whatever they look like as text; anything typed goes back as UTF-8.
    std::string RuleFileBytes() const;

    CQuilletDoc& m_doc;
    RuleEditorFlow m_ruleEditorFlow;
    std::vector<std::string> m_listedBytes;  // what the combo's entries stand for

    QLabel* m_ruleFileLabel = nullptr;
    QComboBox* m_combo = nullptr;
    QLabel* m_browseLabel = nullptr;
    QPushButton* m_browse = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_ruleEditor = nullptr;
    QPushButton* m_help = nullptr;
    QPushButton* m_cancel = nullptr;
};

// How a file dialog filter is written for Qt: the description as it stands,
// with the patterns in parentheses after it.
QString FileDialogFilter(const QString& description, const QString& patterns);

// The folder of a chosen file, without the separator after it; a root keeps
// its separator ("/", "C:/").
std::string FolderOfFile(const std::string& path);

}  // namespace webquill
