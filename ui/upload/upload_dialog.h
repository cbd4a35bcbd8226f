// "Quillet FTP - Upload Files": connects to the site of the last run (or a
// previous one), shows the server's tree and uploads once.
#pragma once

#include <QDialog>
#include <string>

#include "core/upload/ftp_session.h"
#include "core/upload/upload_host.h"
#include "platform/desktop/wait_cursor.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace webquill {

class CFtpTreeCtrl;
class CQuilletDoc;

class CUploadDlg : public QDialog, public IUploadHost {
    Q_OBJECT
public:
    explicit CUploadDlg(CQuilletDoc& document, QWidget* parent = nullptr);
    ~CUploadDlg() override;

    void OnConnect();
    void OnUpload();
    void OnPrevUrls();

    CFtpTreeCtrl* Tree() const { return m_tree; }
    QString MessageCenter() const;
    const FtpSession& Session() const { return m_session; }
    const std::string& SelectedPath() const { return m_selectedPath; }

    // IUploadHost
    void ShowMessageCenter(const std::string& text) override;
    void ShowPlan(const std::string& counts) override;
    void ShowProgress(bool visible, int position) override;
    bool AskYesNo(const std::string& text) override;
    void ShowBox(const std::string& text) override;
    bool AskPassphrase(const std::string& keyFile, std::string& passphrase) override;
    void PumpMessages() override;
    void SetWaitCursor(bool on) override;
    void ShowFailures(const std::string& box, const std::vector<std::string>& all) override;

    // During an upload Cancel, Esc and the close box stop it; the dialog stays.
    void reject() override;

private:
    void SetConnectedState(bool connected);

    CQuilletDoc& m_doc;
    FtpSession m_session;
    std::string m_selectedPath;
    bool m_selectionIsDirectory = true;
    CWaitCursors m_waitCursors;
    bool m_uploading = false;
    bool m_stopRequested = false;

    QLineEdit *m_url, *m_wwwDir, *m_userId, *m_password;
    QPushButton *m_prevUrls, *m_connect, *m_upload, *m_cancel, *m_help;
    CFtpTreeCtrl* m_tree;
    QCheckBox *m_changedOnly, *m_prune;
    QLabel *m_uploadLabel, *m_messageCenter, *m_plan;
    QProgressBar* m_progress;
};

}  // namespace webquill
