#include "test_support.h"

#include <sys/wait.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace webquill::test {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    std::random_device seed;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = std::filesystem::temp_directory_path() /
                         ("webquill-test-" + std::to_string(::getpid()) + "-" +
                          std::to_string(counter++) + "-" + std::to_string(seed() % 100000));
        if (std::filesystem::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempDir::File(const std::string& name) const { return (m_path / name).string(); }

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
    const auto path = m_path / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

ProgramResult RunPublishProgram(const std::string& arguments, const TempDir& workDir,
                                const std::string& environment) {
    const std::string out = workDir.File(".program-out");
    const std::string err = workDir.File(".program-err");
    const std::string config = workDir.File(".config");
    std::filesystem::create_directories(config);
    const std::string command = "cd '" + workDir.Path().string() + "' && env XDG_CONFIG_HOME='" +
                                config + "' " + environment + " '" WEBQUILL_PUBLISH_PATH "' " +
                                arguments + " >'" + out + "' 2>'" + err + "'";
    const int raw = std::system(command.c_str());
    ProgramResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = ReadFile(out);
    result.err = ReadFile(err);
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return result;
}

std::vector<std::string> Lines(const std::string& output) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t lf = output.find('\n'); lf != std::string::npos; lf = output.find('\n', start)) {
        lines.push_back(output.substr(start, lf - start));
        start = lf + 1;
    }
    if (start < output.size()) lines.push_back(output.substr(start));
    return lines;
}

}  // namespace webquill::test
