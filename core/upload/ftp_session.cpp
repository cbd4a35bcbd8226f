#include "core/upload/ftp_session.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "platform/storage/settings_store.h"
#include "core/upload/upload_host.h"

namespace webquill {

namespace {
bool IsAnonymous(const std::string& user) {
    static constexpr std::string_view kAnonymous = "anonymous";
    return user.empty() || std::equal(user.begin(), user.end(), kAnonymous.begin(), kAnonymous.end(),
                                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}
// "ftp://", "ftp:///site", "ftp://user@:2121": a scheme and no server. The
// retry with "ftp://" in front would take the scheme for the server's name.
bool NamesNoServer(std::string_view text) {
    const std::size_t schemeEnd = text.find("://");
    if (schemeEnd == std::string_view::npos || schemeEnd == 0) return false;
    for (char c : text.substr(0, schemeEnd))
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') return false;
    std::string_view authority = text.substr(schemeEnd + 3);
    authority = authority.substr(0, authority.find_first_of("/?#"));
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
    return authority.empty() || authority.front() == ':';
}
// The passphrase of a key that needs one, and the question about a new host key.
bool PrepareSftpLogin(const FtpSiteRequest& request, SftpOptions& sftp, IUploadHost& host, std::string& refusal) {
    if (!sftp.trustNewHost) sftp.trustNewHost = [&host](const std::string& question) { return host.AskYesNo(question); };
    if (!request.password.empty() || !sftp.passphrase.empty()) return true;
    const std::string key = SftpKeyFileToUse(sftp);
    if (key.empty() || !KeyNeedsPassphrase(key) || host.AskPassphrase(key, sftp.passphrase)) return true;
    refusal = "The key file " + key + " is locked by a passphrase, and none was given";
    return false;
}
}  // namespace

FtpOptions FtpOptionsFromStore(const CSettingsStore& store) {
    FtpOptions options;
    options.activeMode = store.ReadString("Preferences", "FtpActiveMode") == "1";
    options.caFile = store.ReadString("Preferences", "FtpCAFile");
    options.sftp.keyFile = store.ReadString("Preferences", "SftpKeyFile");
    return options;
}

ConnectResult ConnectFtpSite(const FtpSiteRequest& request, const FtpOptions& options, IUploadHost& host,
                             FtpSession& session) {
    session = FtpSession{};
    FtpUrl url;
    if (NamesNoServer(request.url)) return {ConnectOutcome::UnparsableUrl, kInvalidFtpUrlText};
    if (!ParseFtpUrl(request.url, url) && !ParseFtpUrl("ftp://" + request.url, url))
        return {ConnectOutcome::UnparsableUrl, kInvalidFtpUrlText};

    host.ShowMessageCenter("Initiating Connection");
    const bool sftp = url.scheme == "sftp";
    if ((url.scheme != "ftp" && url.scheme != "ftps" && !sftp) || url.host.empty())
        return {ConnectOutcome::Failed, kInvalidFtpUrlText};

    FtpOptions withLogin = options;
    if (sftp) {
        std::string refusal;
        if (!PrepareSftpLogin(request, withLogin.sftp, host, refusal)) return {ConnectOutcome::Failed, refusal};
    }
    auto connection = std::make_unique<CFtpConnection>(std::move(withLogin));
    // SSH knows no anonymous login.
    const bool anonymous = !sftp && IsAnonymous(request.userId);
    host.SetWaitCursor(true);
    const bool connected = connection->Connect(url, anonymous ? std::string() : request.userId,
                                               anonymous ? std::string() : request.password);
    host.SetWaitCursor(false);
    if (!connected) {
        const std::string& error = connection->LastError();
        return {ConnectOutcome::Failed, error.empty() ? kFtpConnectionErrorText : error};
    }
    session.loginDirectory = connection->CurrentDirectory();
    session.wwwStartDirectory = session.loginDirectory;
    if (!request.wwwDirectory.empty() && connection->ChangeDirectory(request.wwwDirectory))
        session.wwwStartDirectory = connection->CurrentDirectory();
    session.connection = std::move(connection);
    return {ConnectOutcome::Connected, {}};
}

}  // namespace webquill
