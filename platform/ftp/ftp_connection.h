// One FTP (FTPS, SFTP) connection over libcurl: login, directories, listings and
// binary uploads. One easy handle per connection, reused for every command so
// that the control connection stays open between them. Nothing else in the
// program talks to libcurl.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/ftp/ftp_list_lines.h"
#include "platform/ftp/ftp_url.h"
#include "platform/ftp/sftp_commands.h"
#include "platform/ftp/sftp_login.h"

namespace webquill {


inline constexpr const char* kConnectionLostText = "Not sent: the connection to the server was lost";
inline constexpr const char* kUploadStoppedText = "Not sent: the upload was stopped";

struct FtpOptions {
    bool activeMode = false;  // plain FTP only; FTPS always runs passive
    std::string caFile;       // an extra certificate file to trust for FTPS
    SftpOptions sftp;         // the login and host check of sftp://
    long connectTimeoutSeconds = 30;
    long responseTimeoutSeconds = 60;
    long lowSpeedSeconds = 60;  // a transfer that moves nothing this long fails
    // Asked while files are under way: true abandons the uploads in flight
    // (their parts deleted) and keeps further files from starting.
    std::function<bool()> stopRequested;
    // Drains window messages while the library waits.
    std::function<void()> pumpMessages;
};

class CFtpConnection {
public:
    explicit CFtpConnection(FtpOptions options = {});
    ~CFtpConnection();
    CFtpConnection(const CFtpConnection&) = delete;
    CFtpConnection& operator=(const CFtpConnection&) = delete;

    // Logs in; an empty user logs in anonymously. Afterwards
    // CurrentDirectory() is the login directory.
    bool Connect(const FtpUrl& url, const std::string& user, const std::string& password);
    bool Connected() const { return m_connected; }

    const std::string& CurrentDirectory() const { return m_currentDirectory; }
    // Relative paths start at the current directory.
    bool ChangeDirectory(const std::string& path);
    // The entries of a directory, "." and ".." left out, in the server's order.
    bool List(const std::string& directory, std::vector<FtpEntry>& entries);
    // Sends a local file under a temporary name in the remote file's
    // directory (created when missing) and renames it over the final name once
    // the server has confirmed the transfer; a failure leaves the old file.
    bool PutFile(const std::string& localPath, const std::string& remotePath);
    // The bytes of a remote file of at most `limit` bytes; false when it is
    // absent, larger or unreadable.
    bool ReadSmallFile(const std::string& remotePath, std::string& bytes, long limit);
    bool RemoveFile(const std::string& remotePath);

    // PutFile in flight: returns once the file is under way, on this
    // connection or on a second one alongside it where the server lets the
    // same user log in again (else silently on this one alone; always alone
    // in active mode). `finished`
    // gets the outcome, with the error text of a failure, once the server has
    // answered; it must not hand over files itself.
    using PutFinished = std::function<void(bool ok, const std::string& error)>;
    void BeginPut(const std::string& localPath, const std::string& remotePath, PutFinished finished);
    // Waits until every file handed over has its outcome.
    void FinishPuts();
    // How many connections have carried files (1 or 2).
    int PutConnections() const;
    // Why files handed over now end unsent: a stop, or a connection that
    // failed again after its one fresh attempt.
    enum class Halt { None, Stopped, Lost };
    Halt Halted() const;

    // The server's last error reply, else the library's text.
    const std::string& LastError() const { return m_lastError; }

    // Reserved for the connection's callbacks.
    struct Callbacks;

private:
    enum class ListForm { Unknown, Machine, Plain };
    // A file goes up, is renamed over the final name, or (after a failure)
    // has its part deleted.
    enum class PutStage { Upload, Rename, Clean };
    struct Lane;
    struct Put;
    Lane& Idle();
    bool Perform(const std::string& url);
    void Start(Lane& lane, const std::string& url);
    void Step();
    void Ended(Lane& lane);
    void StartWaiting();
    void StartPut(Lane& lane);
    void SendCommands(Lane& lane, PutStage stage, const std::vector<std::string>& commands);
    void EndPut(Lane& lane, bool ok, const std::string& error);
    Lane* FreeLane();
    void CountConnectionFailure(const Lane& lane);
    std::string UrlFor(const std::string& path, bool directory) const;
    std::string Absolute(const std::string& path) const;
    void Close();

    FtpOptions m_options;
    // [0] logs in with Connect; [1], the second connection, is made when a
    // file waits while [0] is busy.
    std::unique_ptr<Lane> m_lanes[2];
    bool m_secondRefused = false;
    bool m_pollSkipped = false;
    int m_era = 0;      // connection failures counted since the start
    int m_strikes = 0;  // of them since the last file sent
    bool m_lost = false;
    std::string m_base;  // "ftp://host:port"
    bool m_tls = false;
    bool m_sftp = false;
    bool m_withPassword = false;
    std::unique_ptr<CSftpHostCheck> m_hostCheck;  // sftp:// only; the handles point to it
    CSftpFolderNames m_sftpNames;
    bool m_connected = false;
    std::string m_currentDirectory;
    std::string m_lastError;
    ListForm m_listForm = ListForm::Unknown;
    std::deque<Put> m_waiting;  // handed over, no lane free yet
    std::set<std::string> m_madeDirectories;
};

}  // namespace webquill
