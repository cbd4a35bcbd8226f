#include "tests/core/upload/ftp_test_server.h"

#include <algorithm>
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

namespace webquill::test {
namespace {

void Run(const std::string& command) {
    if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

// The processes below `root`, found through their parents: sshd's sessions
// each start a session of their own, out of reach of its process group.
std::vector<pid_t> Descendants(pid_t root) {
    std::vector<std::pair<pid_t, pid_t>> parents;  // (pid, parent)
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        const std::size_t close = line.rfind(')');
        if (close == std::string::npos) continue;
        char state = 0;
        int parent = 0;
        if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &parent) == 2)
            parents.emplace_back(std::stoi(name), parent);
    }
    std::vector<pid_t> found = {root};
    for (std::size_t i = 0; i < found.size(); ++i)
        for (const auto& [pid, parent] : parents)
            if (parent == found[i]) found.push_back(pid);
    return found;
}

}  // namespace

CSshdTestServer::CSshdTestServer(const std::string& hostKeyType) {
    const fs::path dir = m_files.Path();
    fs::create_directories(Home());
    // A test user's session must reach its home in here.
    fs::permissions(dir, fs::perms::group_exec | fs::perms::others_exec, fs::perm_options::add);
    const std::string keygen = "ssh-keygen -q -C webquill-test -f '";
    Run(keygen + (dir / "host_key").string() + "' -N '' -t " + hostKeyType);
    // ED25519: libssh2 1.10 leaks a number with each ECDSA key login.
    Run(keygen + UserKey().string() + "' -N '' -t ed25519");
    Run(keygen + LockedKey().string() + "' -N '" + kLockedKeyPassphrase + "' -t ed25519");
    std::ofstream(dir / "authorized_keys") << ReadFile(UserKey().string() + ".pub")
                                           << ReadFile(LockedKey().string() + ".pub");
    // sshd wants its privilege separation folder, made by the system's
    // service where that runs.
    fs::create_directories("/run/sshd");
    m_port = FreePort();
    const std::string config = (dir / "sshd_config").string();
    std::ofstream(config) << "ListenAddress 127.0.0.1\nPort " << m_port << "\nHostKey " << (dir / "host_key").string()
                          << "\nPidFile none\nAuthorizedKeysFile " << (dir / "authorized_keys").string()
                          << "\nStrictModes no\nUsePAM no\nPasswordAuthentication yes\n"
                             "KbdInteractiveAuthentication no\nPermitRootLogin prohibit-password\nMaxStartups 100\n"
                             "Subsystem sftp internal-sftp\nForceCommand internal-sftp -u 002 -d "
                          << Home().string() << "\n";
    m_pid = StartProcess({kProgram, "-D", "-f", config, "-E", (dir / "sshd.log").string()});
    if (!WaitUntilListening(m_pid, m_port)) {
        StopProcess(m_pid);
        m_pid = -1;
        throw std::runtime_error("sshd did not start: " + ReadFile((dir / "sshd.log").string()));
    }
}

CSshdTestServer::~CSshdTestServer() { Kill(); }

std::string CSshdTestServer::HostKey() const {
    std::string line = ReadFile((m_files.Path() / "host_key.pub").string());
    return line.substr(0, line.rfind(' '));
}

void CSshdTestServer::Kill() {
    if (m_pid <= 0) return;
    for (pid_t pid : Descendants(m_pid)) kill(pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}

CTestUser::CTestUser(const std::string& password, const fs::path& home)
    : m_name("webquill-t" + std::to_string(getpid())) {
    // Users left by a test run that crashed: their process is gone.
    std::ifstream users("/etc/passwd");
    for (std::string line; std::getline(users, line);) {
        const std::string name = line.substr(0, line.find(':'));
        const std::string pid = name.substr(std::min<std::size_t>(name.size(), 10));
        if (name.starts_with("webquill-t") && !pid.empty() &&
            pid.find_first_not_of("0123456789") == std::string::npos && !fs::exists("/proc/" + pid))
            std::system(("userdel " + name + " 2>/dev/null").c_str());
    }
    Run("useradd -M -s /bin/sh -d '" + home.string() + "' " + m_name);
    Run("echo '" + m_name + ":" + password + "' | chpasswd");
    Run("chown " + m_name + " '" + home.string() + "'");
}

CTestUser::~CTestUser() { std::system(("userdel " + m_name + " 2>/dev/null").c_str()); }

}  // namespace webquill::test
