#include "core/upload/command_line_upload.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "core/upload/ftp_session.h"
#include "core/shell/preferences.h"
#include "core/shell/quillet_doc.h"
#include "core/upload/upload_host.h"
#include "core/upload/upload_run.h"

namespace webquill {

namespace {

volatile std::sig_atomic_t g_stopSignal = 0;
extern "C" void OnStopSignal(int) { g_stopSignal = 1; }

// SIGINT and SIGTERM stop the upload as Cancel stops the dialog's, for as
// long as the object lives.
class CStopSignals {
public:
    CStopSignals() {
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &m_int);
        sigaction(SIGTERM, &action, &m_term);
    }
    ~CStopSignals() {
        sigaction(SIGINT, &m_int, nullptr);
        sigaction(SIGTERM, &m_term, nullptr);
    }
    CStopSignals(const CStopSignals&) = delete;
    CStopSignals& operator=(const CStopSignals&) = delete;

private:
    struct sigaction m_int {}, m_term {};
};

class CConsoleUploadHost : public IUploadHost {
public:
    void ShowMessageCenter(const std::string& text) override { WriteLine(stdout, text); }
    void ShowProgress(bool, int) override {}
    bool AskYesNo(const std::string& text) override {
        WriteLine(stderr, text);
        return false;
    }
    void ShowBox(const std::string& text) override { WriteLine(stderr, text); }
    // Every failure, however many: standard error is read by a program or scrolled.
    void ShowFailures(const std::string& box, const std::vector<std::string>& all) override {
        WriteLine(stderr, box.substr(0, box.find('\n')));
        for (const std::string& failure : all) WriteLine(stderr, failure);
    }

private:
    static void WriteLine(std::FILE* to, const std::string& text) {
        std::fwrite(text.data(), 1, text.size(), to);
        std::fputc('\n', to);
        std::fflush(to);
    }
};

}  // namespace

int UploadFromCommandLine(const CQuilletDoc& document, const CSettingsStore& store, UploadChoices choices,
                          bool trustNewHost) {
    CConsoleUploadHost host;
    choices.changedOnly = choices.changedOnly || LoadPreferences(store).uploadChangedOnly;
    const RuleValues& rule = document.rule;
    if (rule.ftpUrl.empty()) {
        host.ShowBox(kEmptyFtpSiteText);
        return kExitUploadFailed;
    }
    const CStopSignals signals;
    g_stopSignal = 0;
    FtpOptions options = FtpOptionsFromStore(store);
    options.stopRequested = [] { return g_stopSignal != 0; };
    if (const char* passphrase = std::getenv("WEBQUILL_SFTP_PASSPHRASE")) options.sftp.passphrase = passphrase;
    options.sftp.trustNewHost = [&host, trustNewHost](const std::string& question) {
        host.ShowBox(question);
        host.ShowBox(trustNewHost ? "Yes: --trust-new-host was given" : "No: only --trust-new-host trusts a new server");
        return trustNewHost;
    };
    FtpSession session;
    const ConnectResult connected =
        ConnectFtpSite({rule.ftpUrl, rule.wwwServerDir, rule.userId, rule.userPassword}, options, host, session);
    if (connected.outcome != ConnectOutcome::Connected) {
        host.ShowBox(connected.boxText);
        if (connected.outcome == ConnectOutcome::Failed) host.ShowMessageCenter(kConnectionFailedText);
        return kExitUploadFailed;
    }
    host.ShowMessageCenter("Connected");
    const UploadResult result = RunUpload(*session.connection, UploadInputsOf(document, document.imageFileFilter),
                                          {session.loginDirectory, session.wwwStartDirectory, {}, true}, host, choices);
    if (choices.dryRun) return 0;
    return result.failed.empty() && result.uploaded == result.total && !g_stopSignal ? 0 : kExitUploadFailed;
}

}  // namespace webquill
