#include "ftp_test_server.h"

#include <csignal>
#include <cstdio>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace webquill::test {

CFtpTestServer::CFtpTestServer(const std::vector<std::string>& options) {
    std::vector<std::string> args = {"/usr/bin/python3", WEBQUILL_SOURCE_DIR "/tests/upload/ftp_test_server.py",
                                     "--home", m_home.Path().string()};
    for (const std::string& option : options) args.push_back(option == "--tls" ? "--tls=" + m_files.Path().string() : option);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const int spawned = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) throw std::runtime_error("cannot start the FTP test server");
    std::FILE* reader = fdopen(out[0], "r");
    if (!reader || std::fscanf(reader, "PORT %d", &m_port) != 1) {
        if (reader) std::fclose(reader);
        throw std::runtime_error("the FTP test server did not start");
    }
    std::fclose(reader);
}

CFtpTestServer::~CFtpTestServer() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
}

}  // namespace webquill::test
