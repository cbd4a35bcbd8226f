#include "ui/editor/command_pages.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/desktop/byte_text.h"
#include "ui/editor/command_field.h"
#include "platform/desktop/help_viewer.h"
#include "ui/editor/para_formats_dialog.h"
#include "platform/desktop/ui_prompts.h"

namespace webquill {

namespace {

constexpr int kTextLimit = 4095;
constexpr int kNameLimit = 259;

const CommandPageTable kAddTable{
    "Add Commands",
    kHelpAddCommands,
    {{"Add this &NEW text: [R]", RecordField::NewText, kTextLimit, true,
      "'Add this NEW text' field cannot be left empty!"},
     {"Document's &Text: [R]", RecordField::FirstText, kTextLimit, true,
      "'Document's Text' field cannot be left empty!"}},
    0,
    true,
    "Add",
    "Add a new 'Add Command'?",
    "&Select",
    AddFirstRecordCheck,
};

const CommandPageTable kDeleteTable{
    "Delete Commands",
    kHelpDeleteCommands,
    {{"Delete &start pattern: [R]", RecordField::FirstText, kTextLimit, true,
      "'Delete start pattern' field cannot be left empty!"},
     {"Delete &end pattern: [O]", RecordField::SecondText, kTextLimit, true, nullptr}},
    -1,
    true,
    "Delete",
    "Add a new 'Delete Command'?",
    "Select",
    DeleteFirstRecordCheck,
};

const CommandPageTable kExtractTable{
    "Extract Commands",
    kHelpExtractCommands,
    {{"&Start Extract pattern: [R]", RecordField::FirstText, kTextLimit, true,
      "'Start Extract pattern:' field cannot be left empty!"},
     {"&End of Extract pattern: [R]", RecordField::SecondText, kTextLimit, true,
      "'End Extract pattern:' field cannot be left empty!"},
     {"Variable &Name: [R]", RecordField::VariableName, kNameLimit, false,
      "'Variable Name:' field cannot be left empty!"}},
    -1,
    false,
    "Extract",
    "Add a new 'Extract Command'?",
    "Select",
    ExtractFirstRecordCheck,
};

const CommandPageTable kReplaceTable{
    "Replace Commands",
    kHelpReplaceCommands,
    {{"&Replace existing text: [R]", RecordField::FirstText, kTextLimit, true,
      "'Replace existing text' field cannot be left empty!"},
     {"&With this text: [R]", RecordField::NewText, kTextLimit, true,
      "'With this text' field cannot be left empty!"}},
    -1,
    true,
    "Replace",
    "Add a new 'Replace Command'?",
    "Select",
    ReplaceFirstRecordCheck,
};

// In the order of CWrapCmd::WrapField.
const CommandPageTable kWrapTable{
    "Wrap Commands",
    kHelpWrapCommands,
    {{"&Number Prefix:", RecordField::NumberPrefix, kNameLimit, false, nullptr},
     {"Number &Format Including Delimiters:", RecordField::NumberFormat, kNameLimit, false, nullptr},
     {"&End of Number Format Pattern: [R]", RecordField::EndOfParagraph, kTextLimit, true, nullptr},
     {"&Insert This Prior to Number Format: [R]", RecordField::TextBefore, kTextLimit, true, nullptr},
     {"&Add This After Number Format Pattern : [R]", RecordField::TextAfter, kTextLimit, true, nullptr}},
    -1,
    false,
    "Wrap",
    "Add a new 'Wrap Command'?",
    "Select",
    WrapFirstRecordCheck,
    WrapRecordCheck,
};

}  // namespace

CAddCmd::CAddCmd(RuleWorkingSet& set) : CCommandPage(set, kAddTable, MakeCommandArray(CommandKind::Add)) {}

CDeleteCmd::CDeleteCmd(RuleWorkingSet& set) : CCommandPage(set, kDeleteTable, MakeCommandArray(CommandKind::Delete)) {}

CExtractCmd::CExtractCmd(RuleWorkingSet& set)
    : CCommandPage(set, kExtractTable, MakeCommandArray(CommandKind::Extract)) {}

CReplaceCmd::CReplaceCmd(RuleWorkingSet& set)
    : CCommandPage(set, kReplaceTable, MakeCommandArray(CommandKind::Replace)) {}

CWrapCmd::CWrapCmd(RuleWorkingSet& set) : CCommandPage(set, kWrapTable, MakeWrapArray()) {
    // The Formats button stands beside the format field.
    auto* column = static_cast<QVBoxLayout*>(layout());
    const int at = column->indexOf(Field(kFormat));
    column->removeWidget(Field(kFormat));
    auto* row = new QHBoxLayout;
    m_formats = new QPushButton(QStringLiteral("For&mats"), this);
    row->addWidget(Field(kFormat), 1);
    row->addWidget(m_formats);
    column->insertLayout(at, row);
    connect(m_formats, &QPushButton::clicked, this, &CWrapCmd::PickFormat);
}

void CWrapCmd::PickFormat() {
    CParaFormatsDlg dialog(this);
    if (dialog.exec() != QDialog::Accepted) return;
    SetFieldText(Field(kFormat), dialog.Result());
    Field(kFormat)->setFocus(Qt::OtherFocusReason);
}

bool CWrapCmd::CheckFormat(QString& format) {
    if (format.isEmpty()) return true;
    if (format.front() == QLatin1Char(' ') &&
        Prompts().Message(this, QStringLiteral("Webquill"), QString::fromUtf8(kFormatBlankQuestion),
                          PromptIcon::Question, PromptButtons::YesNo) != PromptAnswer::Yes) {
        qsizetype blanks = 0;
        while (blanks < format.size() && format[blanks] == QLatin1Char(' ')) ++blanks;
        format.remove(0, blanks);
    }
    for (const char32_t c : format.toUcs4())
        if (!IsFormatCharacter(c)) {
            Say(QString::fromStdString(InvalidFormatMessage(QString::fromUcs4(&c, 1).toStdString())));
            return false;
        }
    return true;
}

bool CWrapCmd::CheckShown(ShownValues& values) {
    QString& format = values.texts[kFormat];
    const QString before = format;
    const bool accepted = CheckFormat(format);
    if (format != before) SetFieldText(Field(kFormat), format);
    return accepted || Refuse(Field(kFormat));
}

bool CWrapCmd::CheckOtherCommand(int index) {
    QString copy = ShownText(Records().Text(index, RecordField::NumberFormat).value_or(std::string()));
    return CheckFormat(copy) || RefuseAtCommand(index, QString(), kFormat);
}

}  // namespace webquill
