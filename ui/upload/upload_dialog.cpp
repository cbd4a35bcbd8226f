#include "ui/upload/upload_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/desktop/byte_text.h"
#include "ui/upload/ftp_tree.h"
#include "platform/desktop/help_viewer.h"
#include "ui/upload/prev_urls_dialog.h"
#include "core/shell/preferences.h"
#include "core/shell/quillet_doc.h"
#include "platform/storage/settings_store.h"
#include "platform/desktop/ui_prompts.h"
#include "core/upload/upload_paths.h"
#include "core/upload/upload_run.h"

namespace webquill {

namespace {
const QString kCaption = QStringLiteral("Quillet FTP - Upload Files");

QString Shown(const std::string& bytes) { return ShownText(bytes); }
std::string Typed(const QLineEdit* edit) { return edit->text().toStdString(); }

QLineEdit* MakeEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}
QPushButton* MakeButton(QWidget* parent, const QString& text, const char* name) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}
}  // namespace

CUploadDlg::CUploadDlg(CQuilletDoc& document, QWidget* parent) : QDialog(parent), m_doc(document) {
    setWindowTitle(kCaption);
    m_url = MakeEdit(this, "ftpUrlEdit");
    m_wwwDir = MakeEdit(this, "wwwDirEdit");
    m_userId = MakeEdit(this, "userIdEdit");
    m_password = MakeEdit(this, "passwordEdit");
    m_password->setEchoMode(QLineEdit::Password);
    m_prevUrls = MakeButton(this, QStringLiteral("Pre&v URLs"), "prevUrlsButton");
    m_tree = new CFtpTreeCtrl(*this, this);
    m_tree->setObjectName(QStringLiteral("ftpTree"));
    // Taken from the preference each time the dialog opens; prune is asked for each time.
    m_changedOnly = new QCheckBox(QStringLiteral("Send changed files &only"), this);
    m_changedOnly->setObjectName(QStringLiteral("changedOnlyBox"));
    m_changedOnly->setChecked(LoadPreferences(CSettingsStore()).uploadChangedOnly);
    m_prune = new QCheckBox(QStringLiteral("&Delete files the site no longer has"), this);
    m_prune->setObjectName(QStringLiteral("pruneBox"));
    m_plan = new QLabel(this);
    m_plan->setObjectName(QStringLiteral("planLabel"));
    m_uploadLabel = new QLabel(QStringLiteral("Upload:"), this);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("uploadProgress"));
    m_messageCenter = new QLabel(this);
    m_messageCenter->setObjectName(QStringLiteral("messageCenter"));
    m_connect = MakeButton(this, QStringLiteral("&Connect"), "connectButton");
    m_connect->setDefault(true);
    m_upload = MakeButton(this, QStringLiteral("&Upload"), "uploadButton");
    m_cancel = MakeButton(this, QStringLiteral("Ca&ncel"), "cancelButton");
    m_help = MakeButton(this, QStringLiteral("&Help"), "helpButton");

    auto* fields = new QGridLayout;
    const std::pair<const char*, QLineEdit*> rows[] = {
        {"&Ftp URL:", m_url}, {"&WWW Dir:", m_wwwDir}, {"&User ID:", m_userId}, {"&Password:", m_password}};
    int row = 0;
    for (const auto& [text, edit] : rows) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setBuddy(edit);
        fields->addWidget(label, row, 0);
        fields->addWidget(edit, row++, 1);
    }
    fields->addWidget(m_prevUrls, row - 1, 2);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(m_uploadLabel);
    progressRow->addWidget(m_progress, 1);
    auto* messageRow = new QHBoxLayout;
    messageRow->addWidget(new QLabel(QStringLiteral("Message Center:"), this));
    messageRow->addWidget(m_messageCenter, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {m_connect, m_upload, m_cancel, m_help}) buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_tree, 1);
    layout->addWidget(m_changedOnly);
    layout->addWidget(m_prune);
    layout->addWidget(m_plan);
    layout->addLayout(progressRow);
    layout->addLayout(messageRow);
    layout->addLayout(buttons);
    resize(460, 480);

    connect(m_connect, &QPushButton::clicked, this, &CUploadDlg::OnConnect);
    connect(m_upload, &QPushButton::clicked, this, &CUploadDlg::OnUpload);
    connect(m_prevUrls, &QPushButton::clicked, this, &CUploadDlg::OnPrevUrls);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_help, &QPushButton::clicked, this, [this] { ShowHelpTopic(this, kHelpUploadDialog); });
    connect(m_tree, &CFtpTreeCtrl::SelectionReported, this, [this](const QString& path, bool isDirectory) {
        m_selectedPath = path.toStdString();
        m_selectionIsDirectory = isDirectory;
    });

    // The connection lives with the dialog; libcurl needs no session of its own.
    m_uploadLabel->hide();
    m_progress->setEnabled(false);
    m_progress->hide();
    m_tree->Fill(nullptr, {}, {});
    m_prevUrls->setEnabled(!m_doc.recentFtpRows.empty());
    m_upload->setEnabled(false);
    m_messageCenter->setText(QStringLiteral("Enter/Select URL, Start Dir, User ID, and Password"));
    const RuleValues& rule = m_doc.rule;
    m_url->setText(Shown(rule.ftpUrl));
    m_wwwDir->setText(Shown(rule.wwwServerDir));
    m_userId->setText(Shown(rule.userId));
    m_password->setText(Shown(rule.userPassword));
}

CUploadDlg::~CUploadDlg() = default;

QString CUploadDlg::MessageCenter() const { return m_messageCenter->text(); }

void CUploadDlg::ShowMessageCenter(const std::string& text) {
    m_messageCenter->setText(Shown(text));
    PumpMessages();
}

// Stays in view while the files go and after, under the message center's texts.
void CUploadDlg::ShowPlan(const std::string& counts) {
    m_plan->setText(Shown(counts));
    ShowMessageCenter(counts);
}

void CUploadDlg::ShowProgress(bool visible, int position) {
    m_uploadLabel->setVisible(visible);
    m_progress->setVisible(visible);
    m_progress->setEnabled(visible);
    m_progress->setRange(0, 100);
    m_progress->setValue(position);
}

bool CUploadDlg::AskYesNo(const std::string& text) {
    return Prompts().Message(this, kCaption, Shown(text), PromptIcon::Question, PromptButtons::YesNo) ==
           PromptAnswer::Yes;
}

void CUploadDlg::ShowBox(const std::string& text) {
    Prompts().Message(this, kCaption, Shown(text), PromptIcon::Warning, PromptButtons::Ok);
}

bool CUploadDlg::AskPassphrase(const std::string& keyFile, std::string& passphrase) {
    bool given = false;
    const QString typed = QInputDialog::getText(this, kCaption, QStringLiteral("Passphrase for the key %1:").arg(Shown(keyFile)),
                                                QLineEdit::Password, {}, &given);
    if (given) passphrase = typed.toStdString();
    return given && !typed.isEmpty();
}

// During an upload the user's input is taken too, so that Cancel can stop
// it; what would start a second operation is disabled meanwhile.
void CUploadDlg::PumpMessages() {
    QApplication::processEvents(m_uploading ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
}

void CUploadDlg::reject() {
    if (m_uploading) {
        m_stopRequested = true;
        return;
    }
    QDialog::reject();
}

// A long list goes to the details area, so the box keeps to the screen.
void CUploadDlg::ShowFailures(const std::string& box, const std::vector<std::string>& all) {
    if (box.find("\n... and ") == std::string::npos) return ShowBox(box);
    QMessageBox message(QMessageBox::Warning, kCaption, Shown(box), QMessageBox::Ok, this);
    message.setObjectName(QStringLiteral("uploadFailuresBox"));
    QString details;
    for (const std::string& failure : all) details += Shown(failure) + QLatin1Char('\n');
    message.setDetailedText(details);
    message.exec();
}

void CUploadDlg::SetWaitCursor(bool on) { m_waitCursors.Set(on); }

void CUploadDlg::SetConnectedState(bool connected) {
    for (QWidget* w : std::initializer_list<QWidget*>{m_url, m_wwwDir, m_userId, m_password, m_connect, m_prevUrls})
        w->setEnabled(!connected);
    if (!connected) m_prevUrls->setEnabled(!m_doc.recentFtpRows.empty());
    m_upload->setEnabled(connected);
}

void CUploadDlg::OnConnect() {
    const FtpSiteRequest request{Typed(m_url), Typed(m_wwwDir), Typed(m_userId), Typed(m_password)};
    if (request.url.empty()) {
        Prompts().Message(this, kCaption, QString::fromLatin1(kEmptyFtpSiteText), PromptIcon::Warning,
                          PromptButtons::Ok);
        m_url->setFocus();
        return;
    }
    m_tree->Fill(nullptr, {}, {});
    m_session = FtpSession{};
    SetWaitCursor(true);
    // Remembered before the URL is looked at, so a failed site is offered again.
    m_doc.AddRecentFtpRow({request.url, request.wwwDirectory, request.userId, request.password});

    FtpOptions options = FtpOptionsFromStore(CSettingsStore());
    options.pumpMessages = [this] { PumpMessages(); };
    options.stopRequested = [this] { return m_stopRequested; };
    const ConnectResult result = ConnectFtpSite(request, options, *this, m_session);
    SetWaitCursor(false);
    if (result.outcome == ConnectOutcome::Connected) {
        ShowMessageCenter("Connected");
        SetConnectedState(true);
        m_tree->Fill(m_session.connection.get(), m_session.loginDirectory, request.wwwDirectory);
        return;
    }
    ShowBox(result.boxText);
    if (result.outcome == ConnectOutcome::Failed) ShowMessageCenter(kConnectionFailedText);
    m_tree->Fill(nullptr, {}, {});
    SetConnectedState(false);
}

void CUploadDlg::OnUpload() {
    if (!m_session.connection || m_uploading) return;
    m_upload->setEnabled(false);
    m_tree->setEnabled(false);  // its expanding lists the server
    const UploadPlace place{m_session.loginDirectory, m_session.wwwStartDirectory, m_selectedPath,
                            m_selectionIsDirectory};
    m_uploading = true;
    m_stopRequested = false;
    m_plan->clear();
    const UploadChoices choices{m_changedOnly->isChecked(), m_prune->isChecked(), false};
    const UploadResult result =
        RunUpload(*m_session.connection, UploadInputsOf(m_doc, m_doc.imageFileFilter), place, *this, choices);
    m_uploading = false;
    m_stopRequested = false;
    m_tree->setEnabled(true);
    // A lost server would hold the listing up for its whole time limit.
    if (m_session.connection->Halted() != CFtpConnection::Halt::Lost) {
        SetWaitCursor(true);
        m_tree->Fill(m_session.connection.get(), m_session.loginDirectory,
                     RelativeServerPath(m_session.loginDirectory, result.targets.www));
        SetWaitCursor(false);
    }
    // The tree's refill clears the message center: the count stays in view.
    ShowMessageCenter(UploadSummary(result));
}

void CUploadDlg::OnPrevUrls() {
    CPrevUrlsDlg dialog(m_doc.recentFtpRows, this);
    if (dialog.exec() == QDialog::Accepted) {
        if (const FtpRow* row = FindFtpRow(m_doc.recentFtpRows, dialog.ChosenUrl(), dialog.ChosenStartDirectory())) {
            const FtpRow chosen = *row;
            m_url->setText(Shown(chosen.url));
            m_wwwDir->setText(Shown(chosen.startDirectory));
            m_userId->setText(Shown(chosen.userId));
            m_password->setText(Shown(chosen.password));
        }
    }
    m_url->setFocus();
}

}  // namespace webquill
