#include "core/upload/command_line_upload.h"

#include <cstdio>

#include "core/upload/ftp_session.h"
#include "core/shell/quillet_doc.h"
#include "core/upload/upload_host.h"
#include "core/upload/upload_run.h"

namespace webquill {

namespace {

class CConsoleUploadHost : public IUploadHost {
public:
    void ShowMessageCenter(const std::string& text) override { WriteLine(stdout, text); }
    void ShowProgress(bool, int) override {}
    bool AskYesNo(const std::string& text) override {
        WriteLine(stderr, text);
        return false;
    }
    void ShowBox(const std::string& text) override { WriteLine(stderr, text); }

private:
    static void WriteLine(std::FILE* to, const std::string& text) {
        std::fwrite(text.data(), 1, text.size(), to);
        std::fputc('\n', to);
        std::fflush(to);
    }
};

}  // namespace

int UploadFromCommandLine(const CQuilletDoc& document, const CSettingsStore& store) {
    CConsoleUploadHost host;
    const RuleValues& rule = document.rule;
    FtpSession session;
    const ConnectResult connected = ConnectFtpSite({rule.ftpUrl, rule.wwwServerDir, rule.userId, rule.userPassword},
                                                   FtpOptionsFromStore(store), host, session);
    if (connected.outcome != ConnectOutcome::Connected) {
        host.ShowBox(connected.boxText);
        if (connected.outcome == ConnectOutcome::Failed) host.ShowMessageCenter(kConnectionFailedText);
        return kExitUploadFailed;
    }
    host.ShowMessageCenter("Connected");
    const UploadResult result = RunUpload(*session.connection, UploadInputsOf(document, document.imageFileFilter),
                                          {session.loginDirectory, session.wwwStartDirectory, {}, true}, host);
    return result.failed.empty() && result.uploaded == result.total ? 0 : kExitUploadFailed;
}

}  // namespace webquill
