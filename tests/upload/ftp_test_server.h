// A real FTP server for a test: ftp_test_server.py on 127.0.0.1, a free
// port and a home folder of its own, stopped when the object goes.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

#include "test_support.h"

namespace webquill::test {

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

}  // namespace webquill::test
