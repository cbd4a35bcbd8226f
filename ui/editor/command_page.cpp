#include "ui/editor/command_page.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/desktop/byte_text.h"
#include "ui/editor/command_field.h"
#include "core/editor/rule_working_set.h"
#include "engine/rule_paths.h"
#include "platform/desktop/ui_prompts.h"

namespace webquill {

namespace {

constexpr int kInstanceLimit = 259;

// Typed line breaks are kept as the rule file's own.
std::string StoredBytes(const QString& text, const std::optional<std::string>& original, bool windows1252) {
    QString withBreaks = text;
    withBreaks.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return FieldBytes(withBreaks, original.value_or(std::string()), windows1252);
}

FilledFields FilledOf(const QStringList& texts) {
    FilledFields filled = 0;
    for (qsizetype i = 0; i < texts.size(); ++i)
        if (!texts[i].isEmpty()) filled |= 1U << i;
    return filled;
}

}  // namespace

CSelectSpin::CSelectSpin(QWidget* parent) : QSpinBox(parent) {
    setRange(0, 1 << 30);
    lineEdit()->setReadOnly(true);
}

void CSelectSpin::stepBy(int steps) { emit StepRequested(steps); }

void CSelectSpin::keyPressEvent(QKeyEvent* event) {
    // The spin's own handling drops these keys while it believes an arrow
    // is still held, as it does after a click whose release went to a
    // message box: the keys step whatever the mouse did.
    int steps = 0;
    switch (event->key()) {
        case Qt::Key_Up: steps = 1; break;
        case Qt::Key_Down: steps = -1; break;
        case Qt::Key_PageUp: steps = 10; break;
        case Qt::Key_PageDown: steps = -10; break;
        default: QSpinBox::keyPressEvent(event); return;
    }
    if (event->modifiers() & ~Qt::KeypadModifier) return QSpinBox::keyPressEvent(event);
    event->accept();
    emit StepRequested(steps);
}

CCommandPage::CCommandPage(RuleWorkingSet& set, const CommandPageTable& table, std::unique_ptr<ICommandArray> records,
                           QWidget* parent)
    : CSheetPage(QString::fromUtf8(table.caption), table.helpContext, parent),
      m_set(set),
      m_table(table),
      m_records(std::move(records)) {
    auto* layout = new QVBoxLayout(this);
    for (std::size_t i = 0; i < table.fields.size(); ++i) {
        const CommandFieldSpec& spec = table.fields[i];
        QWidget* field = spec.multiLine ? static_cast<QWidget*>(new CMultiLineField(spec.limit, this))
                                        : static_cast<QWidget*>(new CSingleLineField(spec.limit, this));
        auto* label = new QLabel(QString::fromUtf8(spec.label), this);
        label->setBuddy(field);
        layout->addWidget(label);
        layout->addWidget(field, spec.multiLine ? 1 : 0);
        m_fields.push_back(field);
        if (static_cast<int>(i) == table.choiceAfterField) {
            auto* choice = new QHBoxLayout;
            m_after = new QRadioButton(QStringLiteral("&After"), this);
            m_before = new QRadioButton(QStringLiteral("&Before"), this);
            m_after->setChecked(true);
            choice->addWidget(m_after);
            choice->addWidget(m_before);
            choice->addStretch();
            layout->addLayout(choice);
        }
    }

    auto* controls = new QHBoxLayout;
    if (table.instance) {
        m_instance = new CSingleLineField(kInstanceLimit, this);
        m_instance->setText(QStringLiteral("1"));
        auto* label = new QLabel(QStringLiteral("&Instance:"), this);
        label->setBuddy(m_instance);
        controls->addWidget(label);
        controls->addWidget(m_instance);
    }
    m_delete = new QPushButton(QStringLiteral("&Delete"), this);
    m_launch = new QPushButton(QStringLiteral("&Launch"), this);
    m_select = new CSelectSpin(this);
    m_select->setValue(1);
    m_count = new QLineEdit(this);
    m_count->setReadOnly(true);
    auto* selectLabel = new QLabel(QString::fromUtf8(table.selectLabel), this);
    selectLabel->setBuddy(m_select);
    controls->addWidget(m_delete);
    controls->addWidget(m_launch);
    controls->addStretch();
    controls->addWidget(selectLabel);
    controls->addWidget(m_select);
    controls->addWidget(new QLabel(QStringLiteral("of"), this));
    controls->addWidget(m_count);
    layout->addLayout(controls);
    layout->addWidget(new QLabel(QStringLiteral("Ctrl-Enter for new line in fields!"), this));

    m_remembered = EmptyValues();
    m_remembered.instance.clear();
    connect(m_select, &CSelectSpin::StepRequested, this, &CCommandPage::Step);
    connect(m_delete, &QPushButton::clicked, this, &CCommandPage::DeleteShown);
    connect(m_launch, &QPushButton::clicked, this, &CCommandPage::Launch);
}

CCommandPage::ShownValues CCommandPage::EmptyValues() const {
    ShownValues values;
    for (std::size_t i = 0; i < m_fields.size(); ++i) values.texts << QString();
    values.instance = QStringLiteral("1");
    return values;
}

CCommandPage::ShownValues CCommandPage::ReadControls() const {
    ShownValues values;
    for (QWidget* field : m_fields) values.texts << FieldText(field);
    values.before = m_before && m_before->isChecked();
    if (m_instance) values.instance = m_instance->text();
    return values;
}

void CCommandPage::ShowValues(const ShownValues& values) {
    for (std::size_t i = 0; i < m_fields.size(); ++i) SetFieldText(m_fields[i], values.texts[static_cast<qsizetype>(i)]);
    if (m_before) (values.before ? m_before : m_after)->setChecked(true);
    if (m_instance) m_instance->setText(values.instance);
    m_remembered = ReadControls();
}

void CCommandPage::ShowCommand(int index) {
    ShownValues values;
    for (const CommandFieldSpec& spec : m_table.fields) {
        const std::string text = m_records->Text(index, spec.field).value_or(std::string());
        values.texts << ShownText(spec.multiLine ? ShownRecordText(text) : text);
    }
    values.before = m_records->Before(index);
    values.instance = QString::fromStdString(InstanceText(m_records->Instance(index)));
    ShowValues(values);
}

void CCommandPage::ShowCount() {
    const int count = m_records->Count();
    m_count->setText(count > 0 ? QString::number(count) : QString());
    m_select->setValue(m_current + 1);
}

void CCommandPage::FocusFirstField() { m_fields.front()->setFocus(Qt::OtherFocusReason); }

void CCommandPage::Say(const QString& text) {
    Prompts().Message(this, QStringLiteral("Webquill"), text, PromptIcon::Warning, PromptButtons::Ok);
}

void CCommandPage::OnSetActive() {
    m_largest = m_records->TakeOut(m_set);
    m_current = std::clamp(m_current, 0, std::max(0, m_records->Count() - 1));
    ShowCount();
    if (m_records->Count() > 0) ShowCommand(m_current);
    FocusFirstField();
}

void CCommandPage::OnReset() { m_records->Clear(); }

void CCommandPage::Commit(const ShownValues& values) {
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        const auto at = static_cast<qsizetype>(i);
        if (values.texts[at] == m_remembered.texts[at]) continue;
        const RecordField field = m_table.fields[i].field;
        m_records->SetText(m_current, field,
                           StoredBytes(values.texts[at], m_records->Text(m_current, field), m_set.windows1252));
    }
    if (m_before && values.before != m_remembered.before) m_records->SetBefore(m_current, values.before);
    if (m_instance && values.instance != m_remembered.instance)
        m_records->SetInstance(m_current, ReadInstance(TypedBytes(values.instance)).instance);
    m_remembered = values;
}

bool CCommandPage::CheckShown(ShownValues& values) { return CheckInstance(values); }

bool CCommandPage::CheckInstance(const ShownValues& values) {
    if (!m_instance) return true;
    if (const char* error = ReadInstance(TypedBytes(values.instance)).error) {
        Say(QString::fromUtf8(error));
        return Refuse(m_instance);
    }
    return true;
}

bool CCommandPage::CheckOtherCommand(int) { return true; }

void CCommandPage::Step(int steps) {
    int target = m_current + steps;
    // A page's worth of steps (PageUp, PageDown) stops at the last or the
    // first command; only a step from the last one asks for a new command.
    const int last = std::max(m_records->Count() - 1, 0);
    if (steps > 1 && m_current < last) target = std::min(target, last);
    if (steps < -1 && m_current > 0) target = std::max(target, 0);
    if (target < 0) {
        Prompts().Beep();
        return;
    }
    ShownValues values = ReadControls();
    if (!CheckInstance(values)) return;
    if (m_records->Count() == 0) {
        if (auto problem = m_table.firstRecordCheck(FilledOf(values.texts))) {
            Say(QString::fromStdString(problem->message));
            Field(problem->field)->setFocus(Qt::OtherFocusReason);
            return;
        }
        m_records->AppendNew();
        m_current = 0;
    }
    Commit(values);
    if (target < m_records->Count()) {
        m_current = target;
        ShowCommand(m_current);
    } else {
        if (m_records->Count() >= kMaxCommands) {
            Say(QStringLiteral("No more than %1 commands of a kind can be defined!").arg(kMaxCommands));
            ShowCount();
            return;
        }
        if (Prompts().Message(this, QStringLiteral("Webquill"), QString::fromUtf8(m_table.prompt),
                              PromptIcon::Question, PromptButtons::YesNo) != PromptAnswer::Yes) {
            ShowCount();
            return;
        }
        m_records->AppendNew();
        m_current = m_records->Count() - 1;
        ShowValues(EmptyValues());
        emit Changed();
    }
    ShowCount();
    // Stepped from the spin (its keys, or a click on its arrows): it keeps
    // the focus, so that its keys go on stepping.
    if (!m_select->hasFocus()) FocusFirstField();
}

void CCommandPage::DeleteShown() {
    if (m_records->Count() == 0) {
        Prompts().Beep();
        return;
    }
    m_records->EraseAt(m_current);
    emit Changed();
    if (m_current >= m_records->Count() && m_current > 0) --m_current;
    if (m_records->Count() > 0) ShowCommand(m_current);
    else ShowValues(EmptyValues());
    ShowCount();
    FocusFirstField();
}

void CCommandPage::Launch() {
    if (m_set.editorProgram.empty()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The Document entry means the rule file's folder, as a run reads it.
    StartSettingProgram(this, ShownText(m_set.editorProgram),
                        {ShownText(RuleRelativePath(m_set.ruleFilePath, m_set.header[kDocumentField]))});
    QApplication::restoreOverrideCursor();
}

std::optional<FieldProblem> CCommandPage::RecordProblem(FilledFields filled) const {
    if (m_table.recordCheck) return m_table.recordCheck(filled);
    for (std::size_t i = 0; i < m_table.fields.size(); ++i)
        if (m_table.fields[i].emptyMessage && !IsFilled(filled, static_cast<int>(i)))
            return FieldProblem{m_table.fields[i].emptyMessage, static_cast<int>(i)};
    return std::nullopt;
}

int CCommandPage::FieldIndex(RecordField field) const {
    for (std::size_t i = 0; i < m_table.fields.size(); ++i)
        if (m_table.fields[i].field == field) return static_cast<int>(i);
    return 0;
}

FilledFields CCommandPage::CommandFilled(int index) const {
    FilledFields filled = 0;
    for (std::size_t i = 0; i < m_table.fields.size(); ++i)
        if (!m_records->Text(index, m_table.fields[i].field).value_or(std::string()).empty()) filled |= 1U << i;
    return filled;
}

bool CCommandPage::RefuseAtCommand(int index, const QString& text, int field) {
    m_current = index;
    ShowCommand(index);
    ShowCount();
    if (!text.isEmpty()) Say(text);
    return Refuse(Field(field));
}

bool CCommandPage::OnKillActive() {
    ShownValues values = ReadControls();
    if (auto problem = RecordProblem(FilledOf(values.texts))) {
        if (m_records->Count() == 0) return true;  // nothing typed that makes a command
        Say(QString::fromStdString(problem->message));
        return Refuse(Field(problem->field));
    }
    if (!CheckShown(values)) return false;
    if (m_records->Count() == 0) {
        m_records->AppendNew();
        m_current = 0;
    }
    Commit(values);
    for (int i = 0; i < m_records->Count(); ++i) {
        if (i != m_current) {
            if (auto problem = RecordProblem(CommandFilled(i)))
                return RefuseAtCommand(
                    i,
                    QStringLiteral("Error in %1 Object %2\n").arg(QString::fromUtf8(m_table.objectName)).arg(i + 1) +
                        QString::fromStdString(problem->message),
                    problem->field);
            if (!CheckOtherCommand(i)) return false;
        }
        // A command the rule file cannot say would stop its next load, or
        // come back from it as another command.
        if (auto problem = m_records->RuleFileProblemAt(i, m_set.matchCase))
            return RefuseAtCommand(i, QString::fromStdString(problem->message), FieldIndex(problem->field));
    }
    m_records->GiveBack(m_set, m_largest);
    return true;
}

}  // namespace webquill
