// Real FTP servers for a test on 127.0.0.1 and a free port, each with a
// home folder of its own, stopped when the object goes.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

#include "tests/engine/test_support.h"

namespace webquill::test {

// Writes pages p0.htm, p1.htm, ... of `bytes` bytes each into `folder`;
// returns their names.
std::vector<std::string> WritePages(const std::filesystem::path& folder, int count, std::size_t bytes);
// The temporary names of unfinished uploads anywhere under `home`.
std::vector<std::string> PartsLeft(const std::filesystem::path& home);

// ftp_test_server.py: user "webquill" (password "secret") and anonymous.
class CFtpTestServer {
public:
    // `options`: the script's fault and TLS options (see the script).
    explicit CFtpTestServer(const std::vector<std::string>& options = {});
    ~CFtpTestServer();
    CFtpTestServer(const CFtpTestServer&) = delete;
    CFtpTestServer& operator=(const CFtpTestServer&) = delete;

    int Port() const { return m_port; }
    std::string HostPort() const { return "127.0.0.1:" + std::to_string(m_port); }
    const std::filesystem::path& Home() const { return m_home.Path(); }
    // Folder for the TLS files (ca.pem) when started with "--tls".
    const std::filesystem::path& Files() const { return m_files.Path(); }

private:
    TempDir m_home, m_files;
    pid_t m_pid = -1;
    int m_port = 0;
};

// vsftpd in the foreground, FTPS only: anonymous uploads into Home(), which
// can be read back, with a certificate for 127.0.0.1 made for this run.
// Needs root, as vsftpd drops to its own users and locks anonymous sessions
// into their root.
class CVsftpdTestServer {
public:
    static constexpr const char* kProgram = "/usr/sbin/vsftpd";

    CVsftpdTestServer();
    ~CVsftpdTestServer();
    CVsftpdTestServer(const CVsftpdTestServer&) = delete;
    CVsftpdTestServer& operator=(const CVsftpdTestServer&) = delete;

    std::string HostPort() const { return "127.0.0.1:" + std::to_string(m_port); }
    // The writable folder "pub" under the anonymous root.
    std::filesystem::path Home() const { return m_files.Path() / "root" / "pub"; }
    std::filesystem::path CaFile() const { return m_files.Path() / "ca.pem"; }

private:
    TempDir m_files;
    pid_t m_pid = -1;
    int m_port = 0;
};

}  // namespace webquill::test

namespace webquill::test {

// OpenSSH's sshd in the foreground on 127.0.0.1 and a free port, with a host
// key, a user key (and one locked by kLockedKeyPassphrase) made for this run
// in a folder of its own; never the system's service. Every login's SFTP
// session starts in Home() with the umask 002, so root logs in by key without
// touching the system's own files. Needs root.
class CSshdTestServer {
public:
    static constexpr const char* kProgram = "/usr/sbin/sshd";
    static constexpr const char* kLockedKeyPassphrase = "open sesame";

    // `hostKeyType`: ssh-keygen's -t ("ecdsa", "ed25519", "rsa").
    explicit CSshdTestServer(const std::string& hostKeyType = "ecdsa");
    ~CSshdTestServer();
    CSshdTestServer(const CSshdTestServer&) = delete;
    CSshdTestServer& operator=(const CSshdTestServer&) = delete;

    int Port() const { return m_port; }
    std::string Url() const { return "sftp://127.0.0.1:" + std::to_string(m_port); }
    std::filesystem::path Home() const { return m_files.Path() / "home"; }
    std::filesystem::path UserKey() const { return m_files.Path() / "user_key"; }
    std::filesystem::path LockedKey() const { return m_files.Path() / "locked_key"; }
    // The host key as known_hosts holds it: "ALGORITHM BASE64".
    std::string HostKey() const;
    // Ends sshd and every session it started, at once, as a crash would.
    void Kill();

private:
    TempDir m_files;
    pid_t m_pid = -1;
    int m_port = 0;
};

// A user with a password, its home `home` (given to it), removed again when
// the object goes. Needs root.
class CTestUser {
public:
    CTestUser(const std::string& password, const std::filesystem::path& home);
    ~CTestUser();
    CTestUser(const CTestUser&) = delete;
    CTestUser& operator=(const CTestUser&) = delete;
    const std::string& Name() const { return m_name; }

private:
    std::string m_name;
};

}  // namespace webquill::test
