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
}  // namespace

FtpOptions FtpOptionsFromStore(const CSettingsStore& store) {
    FtpOptions options;
    options.activeMode = store.ReadString("Preferences", "FtpActiveMode") == "1";
    options.caFile = store.ReadString("Preferences", "FtpCAFile");
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
    if ((url.scheme != "ftp" && url.scheme != "ftps") || url.host.empty())
        return {ConnectOutcome::Failed, kInvalidFtpUrlText};

    auto connection = std::make_unique<CFtpConnection>(options);
    const bool anonymous = IsAnonymous(request.userId);
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
