// The design every command page of the rule editor shares: one command of
// its kind shown at a time, stepped with the "Select" spin, appended,
// deleted, checked when stepping and when leaving, and given back to the
// editor's lists. A page kind is described by a table.
#pragma once

#include <QSpinBox>
#include <QStringList>
#include <memory>
#include <vector>

#include "core/editor/command_array.h"
#include "core/editor/command_page_rules.h"
#include "ui/editor/sheet_page.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace webquill {

struct RuleWorkingSet;

struct CommandFieldSpec {
    const char* label;  // with its mnemonic and [R] or [O]
    RecordField field;
    int limit;
    bool multiLine;  // also: a line end at the text's end is shown as "!$"
    // The message when the field is empty as the page is left; none for an
    // optional field (or when the table's record check decides).
    const char* emptyMessage;
};

struct CommandPageTable {
    const char* caption;
    int helpContext;
    std::vector<CommandFieldSpec> fields;
    int choiceAfterField;  // where the After/Before choice stands; -1 for none
    bool instance;         // the page has an Instance field
    const char* objectName;  // "Add" as in "Error in Add Object %d\n"
    const char* prompt;      // asked before a new command is appended
    const char* selectLabel;
    FirstRecordCheck firstRecordCheck;
    // The check of one command as the page is left; none: each field with an
    // empty message is required, in field order.
    std::optional<FieldProblem> (*recordCheck)(FilledFields filled) = nullptr;
};

// The spin beside "Select": its arrows ask the page to step (up is forward);
// the number it shows is set by the page.
class CSelectSpin : public QSpinBox {
    Q_OBJECT
public:
    explicit CSelectSpin(QWidget* parent = nullptr);
    void stepBy(int steps) override;
signals:
    void StepRequested(int steps);

protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
    void keyPressEvent(QKeyEvent* event) override;
};

class CCommandPage : public CSheetPage {
    Q_OBJECT
public:
    static constexpr int kMaxCommands = 500;

    CCommandPage(RuleWorkingSet& set, const CommandPageTable& table, std::unique_ptr<ICommandArray> records,
                 QWidget* parent = nullptr);

    void OnSetActive() override;
    bool OnKillActive() override;
    void OnReset() override;

    // Asks to move to the command `steps` places on, as the spin's arrows do.
    void Step(int steps);
    void DeleteShown();
    void Launch();

    QWidget* Field(int index) const { return m_fields.at(static_cast<std::size_t>(index)); }
    QLineEdit* InstanceField() const { return m_instance; }
    QRadioButton* AfterButton() const { return m_after; }
    QRadioButton* BeforeButton() const { return m_before; }
    CSelectSpin* SelectSpin() const { return m_select; }
    QLineEdit* CountField() const { return m_count; }
    QPushButton* DeleteButton() const { return m_delete; }
    QPushButton* LaunchButton() const { return m_launch; }
    int CurrentIndex() const { return m_current; }

protected:
    struct ShownValues {
        QStringList texts;
        bool before = false;
        QString instance;
    };

    // The check of the shown values after the fields' own (the Instance
    // field; Wrap: the format); says why and refuses itself.
    virtual bool CheckShown(ShownValues& values);
    // A further check of another command as the page is left.
    virtual bool CheckOtherCommand(int index);

    // The values of the controls, and the controls set to values (which
    // become the remembered ones).
    ShownValues ReadControls() const;
    void ShowValues(const ShownValues& values);
    void ShowCommand(int index);
    void ShowCount();
    void Say(const QString& text);
    // Shows command `index` with `text` and refuses, with the focus in `field`.
    bool RefuseAtCommand(int index, const QString& text, int field);
    ICommandArray& Records() { return *m_records; }

private:
    bool CheckInstance(const ShownValues& values);
    std::optional<FieldProblem> RecordProblem(FilledFields filled) const;
    FilledFields CommandFilled(int index) const;
    // The place on the page of the field that stands for `field`.
    int FieldIndex(RecordField field) const;
    void Commit(const ShownValues& values);
    void FocusFirstField();
    ShownValues EmptyValues() const;

    RuleWorkingSet& m_set;
    const CommandPageTable& m_table;
    std::unique_ptr<ICommandArray> m_records;
    int m_current = 0;
    std::int32_t m_largest = 0;
    ShownValues m_remembered;

    std::vector<QWidget*> m_fields;
    QLineEdit* m_instance = nullptr;
    QRadioButton* m_after = nullptr;
    QRadioButton* m_before = nullptr;
    CSelectSpin* m_select = nullptr;
    QLineEdit* m_count = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_launch = nullptr;
};

}  // namespace webquill
