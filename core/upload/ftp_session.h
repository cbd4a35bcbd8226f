// Connecting to the site of the upload: the URL and its "ftp://" retry, the
// anonymous login rule, the login directory and the WWW start directory.
#pragma once

#include <memory>
#include <string>

#include "platform/ftp/ftp_connection.h"

namespace webquill {

class CSettingsStore;
class IUploadHost;

inline constexpr const char* kEmptyFtpSiteText = "Ftp Site may not be left empty";
inline constexpr const char* kInvalidFtpUrlText = "Please enter a valid FTP URL";
inline constexpr const char* kFtpConnectionErrorText =
    "An exception occurred when attempting to create an FTP connection.\r\n"
    "  Please check your internet configuration and make sure your environment\r\n"
    " is set up with WININET.DLL in the path.";
inline constexpr const char* kConnectionFailedText = "Connection Failed!  Are you connected to the Internet?";

struct FtpSiteRequest {
    std::string url;
    std::string wwwDirectory;
    std::string userId;
    std::string password;
};

struct FtpSession {
    std::unique_ptr<CFtpConnection> connection;
    std::string loginDirectory;
    std::string wwwStartDirectory;
};

enum class ConnectOutcome {
    Connected,
    UnparsableUrl,  // message 108 and the tree's no-connection state
    Failed,         // the box text, then kConnectionFailedText
};

struct ConnectResult {
    ConnectOutcome outcome = ConnectOutcome::Failed;
    std::string boxText;  // empty when connected
};

// The Preferences values FtpActiveMode ("1": active), FtpCAFile and SftpKeyFile.
FtpOptions FtpOptionsFromStore(const CSettingsStore& store);

// Parses the URL (again with "ftp://" in front when it fails; a URL whose
// scheme is followed by no server is refused at once), writes
// "Initiating Connection" to the host and logs in; on success changes to the
// WWW directory when one is given. `session` holds the connection after.
// sftp:// logs in as the user named, by password or else by key (its
// passphrase asked of the host where the options have none); a new host key
// is put to the host as a Yes/No question unless the options answer it.
ConnectResult ConnectFtpSite(const FtpSiteRequest& request, const FtpOptions& options, IUploadHost& host,
                             FtpSession& session);

}  // namespace webquill
