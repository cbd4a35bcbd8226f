#include "ui/editor/bld_header.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/desktop/byte_text.h"
#include "platform/desktop/help_viewer.h"
#include "ui/editor/publish_dialog.h"
#include "core/editor/rule_working_set.h"
#include "platform/desktop/ui_prompts.h"

namespace webquill {

namespace {

struct FieldRow {
    const char* label;
    const char* dialogTitle;
    const char* filterDescription;
    const char* filterPatterns;
};

// Indexes 0 to 6 are the header working copy's first seven strings.
constexpr FieldRow kRows[CBldHeader::kFieldCount] = {
    {"HTML &Source Document:", "Select Source HTML/Text Document ", "Source Doc (*.htm*;*.txt) ", "*.htm*;*.txt"},
    {"&Intermediate File:", "Set Path & Assign Name to Intermediate File", "Intermediate Files (*.htm*;*.txt) ",
     "*.htm*;*.txt"},
    {"TOC File &Name:", "Set Path & Assign Name to Quillet Created TOC File", "HTML Files (*.htm*) ", "*.htm*"},
    {"TOC File &Template:", "Select your TOC Template File", "TOC Template Files (*.htm*;*.txt;*.tpl) ",
     "*.htm*;*.txt;*.tpl"},
    {"&WWW File Names:", "Set Path & Assign Name to Quillet Created WWW Files", "HTML Files (*.htm*) ", "*.htm*"},
    {"&Header File:", "Select your Header Template File", "Header Files (*.hdr;*.htm*;*.txt) ", "*.hdr;*.txt;*.htm*"},
    {"&Footer File:", "Select your Footer Template File", "Footer Files (*.ftr;*.htm*;*.txt) ", "*.ftr;*.txt;*.htm*"},
};

constexpr int kSourceIndex = 0;
constexpr int kWwwIndex = 4;
constexpr int kMaxValue = 259;  // what the reader takes of a header value

}  // namespace

CBldHeader::CBldHeader(RuleWorkingSet& set, QWidget* parent)
    : CSheetPage(QStringLiteral("Header Info"), kHelpHeaderInfo, parent), m_set(set) {
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Full Path and File Names to:"), this), 0, 0, 1, 3);
    for (int i = 0; i < kFieldCount; ++i) {
        auto* label = new QLabel(QString::fromLatin1(kRows[i].label), this);
        m_fields[i] = new QLineEdit(this);
        m_fields[i]->setMaxLength(kMaxValue);
        m_fields[i]->installEventFilter(this);
        label->setBuddy(m_fields[i]);
        m_markers[i] = new QLabel(this);
        m_markers[i]->setMinimumWidth(m_markers[i]->fontMetrics().horizontalAdvance(QStringLiteral("<=")) + 4);
        grid->addWidget(label, 1 + 2 * i, 0, 1, 3);
        grid->addWidget(m_fields[i], 2 + 2 * i, 0);
        grid->addWidget(m_markers[i], 2 + 2 * i, 1);
    }
    auto* browseLabel = new QLabel(QStringLiteral("&Browse"), this);
    m_browse = new QPushButton(QStringLiteral(".&.."), this);
    browseLabel->setBuddy(m_browse);
    grid->addWidget(browseLabel, 1, 2);
    grid->addWidget(m_browse, 2, 2);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(2 + 2 * kFieldCount, 1);
    connect(m_browse, &QPushButton::clicked, this, &CBldHeader::OnBrowse);
    SetCurrent(0);
}

void CBldHeader::SetCurrent(int index) {
    m_markers[m_current]->clear();
    m_current = index;
    m_markers[m_current]->setText(QStringLiteral("<="));
}

bool CBldHeader::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        for (int i = 0; i < kFieldCount; ++i)
            if (watched == m_fields[i]) SetCurrent(i);
    }
    return CSheetPage::eventFilter(watched, event);
}

void CBldHeader::OnSetActive() {
    for (int i = 0; i < kFieldCount; ++i) m_fields[i]->setText(ShownText(m_set.header[i]));
    if (m_firstActivation) {
        m_firstActivation = false;
        SetCurrent(kSourceIndex);
    }
    m_fields[m_current]->setFocus(Qt::OtherFocusReason);
}

void CBldHeader::OnBrowse() {
    const FieldRow& row = kRows[m_current];
    FileDialogRequest request;
    request.caption = QString::fromLatin1(row.dialogTitle);
    request.filters = {FileDialogFilter(QString::fromLatin1(row.filterDescription), QString::fromLatin1(row.filterPatterns)),
                       FileDialogFilter(QStringLiteral("All Files (*.*) "), QStringLiteral("*.*"))};
    request.mustExist = false;  // the output files are named here before they exist
    const QString chosen = Prompts().ChooseFile(this, request);
    if (!chosen.isEmpty()) m_fields[m_current]->setText(chosen);
    m_fields[m_current]->setFocus(Qt::OtherFocusReason);
}

bool CBldHeader::OnKillActive() {
    auto refuse = [this](const char* text, int index) {
        Prompts().Message(this, QStringLiteral("Webquill"), QString::fromLatin1(text), PromptIcon::Warning,
                          PromptButtons::Ok);
        return Refuse(m_fields[index]);
    };
    if (m_fields[kSourceIndex]->text().isEmpty())
        return refuse("You must define the HTML Source Document's Path & File Name!", kSourceIndex);
    if (m_fields[kWwwIndex]->text().isEmpty())
        return refuse("You must define the Create File Name's Path & File Name!", kWwwIndex);
    std::array<std::string, kFieldCount> values;
    for (int i = 0; i < kFieldCount; ++i)
        values[i] = FieldBytes(m_fields[i]->text(), m_set.header[i], m_set.windows1252);
    // The reader refuses a root name without its folder; say so here, in
    // its words, rather than write a file that cannot be read back.
    if (!IsUsableWwwFileNames(values[kWwwIndex]))
        return refuse("Root file name 'WWW File Names' needs a directory and a root file name!", kWwwIndex);
    for (int i = 0; i < kFieldCount; ++i) m_set.header[i] = std::move(values[i]);
    return true;
}

}  // namespace webquill
