#include "tests/core/upload/ftp_test_server.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <netinet/in.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace webquill::test {
namespace {

namespace fs = std::filesystem;

// Starts `args` (the program's full path first) in a process group of its
// own, its standard output into `outFd` when that is not -1.
pid_t StartProcess(std::vector<std::string> args, int outFd = -1) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outFd != -1) posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start " + args[0]);
    return pid;
}

// Ends the process and whatever it started (vsftpd's sessions).
void StopProcess(pid_t pid) {
    if (pid <= 0) return;
    kill(-pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A port that nothing listens on right now (the system's choice for port 0).
int FreePort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = Loopback(0);
    socklen_t size = sizeof address;
    const bool bound = s >= 0 && bind(s, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
                       getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0;
    if (s >= 0) close(s);
    if (!bound) throw std::runtime_error("no free port");
    return ntohs(address.sin_port);
}

// True once `port` accepts connections; false after 10 s or when `pid`
// ended first (then reaped and set to -1).
bool WaitUntilListening(pid_t& pid, int port) {
    for (int i = 0; i < 500; ++i) {
        const int s = socket(AF_INET, SOCK_STREAM, 0);
        const sockaddr_in address = Loopback(port);
        const bool up = connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        close(s);
        if (up) return true;
        if (waitpid(pid, nullptr, WNOHANG) == pid) return pid = -1, false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

const char* const kServerScript = WEBQUILL_SOURCE_DIR "/tests/core/upload/ftp_test_server.py";

}  // namespace

std::vector<std::string> WritePages(const fs::path& folder, int count, std::size_t bytes) {
    std::vector<std::string> names;
    fs::create_directories(folder);
    for (int i = 0; i < count; ++i) {
        names.push_back("p" + std::to_string(i) + ".htm");
        std::ofstream(folder / names.back(), std::ios::binary) << std::string(bytes, static_cast<char>('a' + i % 26));
    }
    return names;
}

std::vector<std::string> PartsLeft(const fs::path& home) {
    std::vector<std::string> parts;
    for (const auto& entry : fs::recursive_directory_iterator(home))
        if (entry.path().filename().string().ends_with(".webquill-part")) parts.push_back(entry.path().string());
    return parts;
}

CFtpTestServer::CFtpTestServer(const std::vector<std::string>& options) {
    std::vector<std::string> args = {"/usr/bin/python3", kServerScript, "--home", m_home.Path().string()};
    for (const std::string& option : options)
        args.push_back(option == "--tls" ? "--tls=" + m_files.Path().string() : option);

    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe");
    try {
        m_pid = StartProcess(args, out[1]);
    } catch (...) {
        close(out[0]);
        close(out[1]);
        throw;
    }
    close(out[1]);
    std::FILE* reader = fdopen(out[0], "r");
    if (!reader || std::fscanf(reader, "PORT %d", &m_port) != 1) {
        if (reader) std::fclose(reader);
        throw std::runtime_error("the FTP test server did not start");
    }
    std::fclose(reader);
}

CFtpTestServer::~CFtpTestServer() { StopProcess(m_pid); }

CVsftpdTestServer::CVsftpdTestServer() {
    const fs::path dir = m_files.Path(), root = dir / "root", empty = dir / "empty";
    // The certificate of the script's TLS mode: ca.pem, and server.pem with the key.
    const pid_t maker = StartProcess({"/usr/bin/python3", "-B", "-c",
                                      "import sys; sys.path.insert(0, sys.argv[1]); "
                                      "import ftp_test_server; ftp_test_server.make_certificate(sys.argv[2])",
                                      fs::path(kServerScript).parent_path().string(), dir.string()});
    int status = 0;
    if (waitpid(maker, &status, 0) != maker || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("cannot make the test certificate");

    // vsftpd refuses an anonymous root that its users can write to, and the
    // anonymous user must reach it: the uploads go to "pub".
    fs::create_directories(Home());
    fs::create_directories(empty);
    fs::permissions(dir, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    fs::permissions(root, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(Home(), fs::perms::all);

    m_port = FreePort();
    const std::string config = (dir / "vsftpd.conf").string();
    std::ofstream(config) << "listen=YES\nlisten_ipv6=NO\nlisten_address=127.0.0.1\nlisten_port=" << m_port
                          << "\nbackground=NO\nanonymous_enable=YES\nlocal_enable=NO\nno_anon_password=YES\n"
                             "anon_root=" << root.string()
                          << "\nwrite_enable=YES\nanon_upload_enable=YES\nanon_mkdir_write_enable=YES\n"
                             "anon_other_write_enable=YES\nanon_world_readable_only=NO\npasv_enable=YES\npasv_address=127.0.0.1\n"
                             "ssl_enable=YES\nallow_anon_ssl=YES\nforce_anon_logins_ssl=YES\nforce_anon_data_ssl=YES\n"
                             "require_ssl_reuse=YES\nrsa_cert_file=" << (dir / "server.pem").string()
                          << "\nnopriv_user=nobody\nsecure_chroot_dir=" << empty.string()
                          << "\ncheck_shell=NO\nseccomp_sandbox=NO\nsyslog_enable=NO\nxferlog_enable=NO\n";
    m_pid = StartProcess({kProgram, config});
    if (!WaitUntilListening(m_pid, m_port)) {
        StopProcess(m_pid);
        m_pid = -1;
        throw std::runtime_error("vsftpd did not start");
    }
}

CVsftpdTestServer::~CVsftpdTestServer() { StopProcess(m_pid); }

}  // namespace webquill::test
