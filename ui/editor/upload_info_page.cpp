#include "ui/editor/upload_info_page.h"

#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/desktop/byte_text.h"
#include "platform/desktop/help_viewer.h"
#include "engine/password_scrambling.h"
#include "ui/upload/prev_urls_dialog.h"
#include "core/shell/quillet_doc.h"
#include "core/editor/rule_working_set.h"
#include "platform/desktop/ui_prompts.h"

namespace webquill {

namespace {

struct FieldRow {
    const char* label;
    bool browse;    // "&Browse" usable while this field has the focus
    bool prevUrls;  // "&Prev URLs" likewise
};
constexpr FieldRow kRows[CUploadInfoPage::kFieldCount] = {
    {"&Ftp URL:", false, true},           {"&User ID:", false, false},
    {"&Password:", false, false},         {"&TOC Dir on Server:", false, false},
    {"&WWW File Dir on Server:", false, true}, {"Images Dir &Locally:", true, false},
    {"&Images Dir on Server:", false, false},
};

const QString kCaption = QStringLiteral("Webquill");

}  // namespace

CUploadInfoPage::CUploadInfoPage(RuleWorkingSet& set, const CQuilletDoc& doc, QWidget* parent)
    : CSheetPage(QStringLiteral("Upload Info"), kHelpUploadInfo, parent), m_set(set), m_doc(doc) {
    auto* grid = new QGridLayout;
    for (int i = 0; i < kFieldCount; ++i) {
        m_edits[i] = new QLineEdit(this);
        m_edits[i]->installEventFilter(this);
        auto* label = new QLabel(QString::fromLatin1(kRows[i].label), this);
        label->setBuddy(m_edits[i]);
        grid->addWidget(label, i, 0);
        grid->addWidget(m_edits[i], i, 1);
    }
    m_edits[Password]->setEchoMode(QLineEdit::Password);
    m_browse = new QPushButton(QStringLiteral("&Browse"), this);
    m_prevUrls = new QPushButton(QStringLiteral("&Prev URLs"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_browse);
    buttons->addWidget(m_prevUrls);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->addStretch(1);
    connect(m_browse, &QPushButton::clicked, this, &CUploadInfoPage::OnBrowse);
    connect(m_prevUrls, &QPushButton::clicked, this, &CUploadInfoPage::OnPrevUrls);
    m_browse->setEnabled(kRows[0].browse);
    m_prevUrls->setEnabled(kRows[0].prevUrls);
}

bool CUploadInfoPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        for (int i = 0; i < kFieldCount; ++i) {
            if (watched != m_edits[i]) continue;
            m_focusIndex = i;
            m_browse->setEnabled(kRows[i].browse);
            m_prevUrls->setEnabled(kRows[i].prevUrls);
        }
    }
    return CSheetPage::eventFilter(watched, event);
}

void CUploadInfoPage::ShowFields() {
    for (int i = 0; i < kFieldCount; ++i) m_edits[i]->setText(ShownText(m_values[i]));
}

void CUploadInfoPage::ReadControls() {
    for (int i = 0; i < kFieldCount; ++i)
        m_values[i] = FieldBytes(m_edits[i]->text(), m_values[i], m_set.windows1252);
}

void CUploadInfoPage::FocusField(int index) {
    m_focusIndex = index;
    m_edits[index]->setFocus();
}

void CUploadInfoPage::OnSetActive() {
    for (int i = 0; i < kFieldCount; ++i) m_values[i] = m_set.header[kFtpUrlField + i];
    ShowFields();
    FocusField(m_firstActivation ? 0 : m_focusIndex);
    m_firstActivation = false;
}

void CUploadInfoPage::OnBrowse() {
    ReadControls();
    FileDialogRequest request;
    request.caption = QStringLiteral("Select Images Directory");
    request.directory = m_values[ImagesLocalDir].empty() ? QDir::currentPath() : ShownText(m_values[ImagesLocalDir]);
    request.folder = true;
    QString chosen = Prompts().ChooseFile(this, request);
    if (chosen.isEmpty()) {
        FocusField(m_focusIndex);
        return;
    }
    if (chosen.size() == 2) chosen += QLatin1Char('\\');  // a drive alone, as C:
    m_edits[ImagesLocalDir]->setText(chosen);
    ReadControls();
    ShowFields();
    FocusField(ImagesServerDir);
}

void CUploadInfoPage::OnPrevUrls() {
    ReadControls();
    CPrevUrlsDlg dialog(m_doc.recentFtpRows, this);
    if (dialog.exec() != QDialog::Accepted) {
        FocusField(m_focusIndex);
        return;
    }
    if (const FtpRow* row = FindFtpRow(m_doc.recentFtpRows, dialog.ChosenUrl(), dialog.ChosenStartDirectory())) {
        m_values[FtpUrl] = row->url;
        m_values[TocServerDir] = row->startDirectory;
        m_values[UserId] = row->userId;
        m_values[Password] = row->password;
        ShowFields();
    }
    FocusField(WwwServerDir);
}

bool CUploadInfoPage::OnKillActive() {
    ReadControls();
    // The rule file keeps the password scrambled; one that would not read
    // back as typed is refused rather than stored changed.
    if (!IsStorablePassword(m_values[Password])) {
        Prompts().Message(this, kCaption,
                          QStringLiteral("The Password cannot be stored in the Rule File!\n"
                                         "Only printable ASCII characters (no accented letters), at most 4095 of "
                                         "them, can be stored."),
                          PromptIcon::Warning, PromptButtons::Ok);
        return Refuse(m_edits[Password]);
    }
    const bool local = !m_values[ImagesLocalDir].empty(), server = !m_values[ImagesServerDir].empty();
    if (local && !server &&
        Prompts().Message(this, kCaption,
                          QStringLiteral("You have defined a Local but no Server Image Directory!\n"
                                         "This will cause the image files to be placed in the Account Root on "
                                         "the Server!\nDo you wish to define a Server Image Dir?"),
                          PromptIcon::Question, PromptButtons::YesNo) == PromptAnswer::Yes)
        return Refuse(m_edits[ImagesServerDir]);
    if (server && !local) {
        Prompts().Message(this, kCaption,
                          QStringLiteral("You have defined a Server but no Local Image Directory!\n"
                                         "If you define a Server Image Dir you must define a Local Image Dir!"),
                          PromptIcon::Warning, PromptButtons::Ok);
        return Refuse(m_edits[ImagesLocalDir]);
    }
    for (int i = 0; i < kFieldCount; ++i) m_set.header[kFtpUrlField + i] = m_values[i];
    return true;
}

}  // namespace webquill
