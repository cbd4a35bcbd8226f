#include "ui/editor/make_command_pages.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "platform/desktop/help_viewer.h"
#include "ui/editor/command_field.h"
#include "ui/editor/pattern_text.h"
#include "core/editor/rule_file_check.h"
#include "core/editor/rule_working_set.h"
#include "platform/desktop/ui_prompts.h"

namespace webquill {

namespace {

constexpr MakeCommandPageWords kMakeFileWords{"Make File Command", kHelpMakeFileCommand, CommandKind::MakeFile,
                                              "&Start Pattern Designating Make Into File: [R]",
                                              "&End Pattern Designating Make Into File: [R]"};
constexpr MakeCommandPageWords kMakeTocWords{"Make TOC Command", kHelpMakeTocCommand, CommandKind::MakeTOC,
                                             "TOC Entry Identifier &Start Pattern: [R]",
                                             "TOC Entry Identifier &End Pattern: [R]"};
constexpr int kMaxPattern = 4095;

QPlainTextEdit* PatternField(const char* caption, QWidget* page, QVBoxLayout* layout) {
    auto* label = new QLabel(QString::fromLatin1(caption), page);
    auto* field = new CMultiLineField(kMaxPattern, page);
    label->setBuddy(field);
    layout->addWidget(label);
    layout->addWidget(field);
    return field;
}

}  // namespace

CMakeCommandPage::CMakeCommandPage(RuleWorkingSet& set, const MakeCommandPageWords& words, QWidget* parent)
    : CSheetPage(QString::fromLatin1(words.caption), words.helpContext, parent), m_set(set), m_words(words) {
    auto* layout = new QVBoxLayout(this);
    m_start = PatternField(words.startLabel, this, layout);
    m_end = PatternField(words.endLabel, this, layout);
    layout->addWidget(new QLabel(QStringLiteral("Ctrl-Enter for new line in fields!"), this));
}

CCmdVar* CMakeCommandPage::FindRecord() const {
    CCmdVar* found = nullptr;
    m_set.commands.ForEach([&](CCmdVar& r) {
        if (!found && r.kind == m_words.kind) found = &r;
    });
    return found;
}

void CMakeCommandPage::OnSetActive() {
    m_shownStart.clear();
    m_shownEnd.clear();
    m_largest = m_set.LargestCommandNumber();
    m_start->setFocus(Qt::OtherFocusReason);
    if (const CCmdVar* record = FindRecord()) {
        m_shownStart = ShownPattern(record->firstText);
        m_shownEnd = ShownPattern(record->secondText);
        m_start->setPlainText(m_shownStart);
        m_end->setPlainText(m_shownEnd);
    }
}

bool CMakeCommandPage::OnKillActive() {
    const QString start = m_start->toPlainText();
    const QString end = m_end->toPlainText();
    auto refuse = [this](const QString& text, QPlainTextEdit* field) {
        Prompts().Message(this, QStringLiteral("Webquill"), text, PromptIcon::Warning, PromptButtons::Ok);
        return Refuse(field);
    };
    CCmdVar* record = FindRecord();
    if (start.isEmpty() && end.isEmpty()) {
        if (record) {
            for (std::size_t i = 0; i < m_set.commands.Size(); ++i)
                if (&m_set.commands.At(i) == record) {
                    m_set.commands.TakeAt(i);
                    break;
                }
        }
        return true;
    }
    if (end.isEmpty())
        return refuse(QStringLiteral("If define a pattern for 'Start Pattern Designating...' must not leave "
                                     "'End Pattern Designating...' empty!"),
                      m_end);
    if (start.isEmpty())
        return refuse(QStringLiteral("If define a pattern for 'End Pattern Designating...' must not leave "
                                     "'Start Pattern Designating...' empty!"),
                      m_start);
    const std::string startBytes = StoredPattern(start, record ? record->firstText : std::string(), m_set.windows1252);
    const std::string endBytes = StoredPattern(end, record ? record->secondText : std::string(), m_set.windows1252);
    // The record's fields hold no more; refusing keeps what was typed.
    const QString tooLong = QStringLiteral("A pattern may hold at most %1 characters!").arg(kMaxPattern);
    if (startBytes.size() > kMaxPattern) return refuse(tooLong, m_start);
    if (endBytes.size() > kMaxPattern) return refuse(tooLong, m_end);
    CCmdVar edited;
    edited.kind = m_words.kind;
    edited.firstText = record && start == m_shownStart ? record->firstText : startBytes;
    edited.secondText = record && end == m_shownEnd ? record->secondText : endBytes;
    // Two long patterns make a line the reader refuses; a marker in a pattern
    // comes back as another command.
    if (auto problem = CheckCommandRecord(edited, 1, m_set.matchCase))
        return refuse(QString::fromStdString(problem->message),
                      problem->field == RecordField::SecondText ? m_end : m_start);
    if (!record) {
        record = &m_set.commands.Append();
        record->kind = m_words.kind;
        record->commandNumber = ++m_largest;
    }
    if (start != m_shownStart) record->firstText = startBytes;
    if (end != m_shownEnd) record->secondText = endBytes;
    m_shownStart = start;
    m_shownEnd = end;
    return true;
}

CMakeFileCmd::CMakeFileCmd(RuleWorkingSet& set, QWidget* parent) : CMakeCommandPage(set, kMakeFileWords, parent) {}

CMakeIdx::CMakeIdx(RuleWorkingSet& set, QWidget* parent) : CMakeCommandPage(set, kMakeTocWords, parent) {}

}  // namespace webquill
