#include "tests/engine/test_support.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace webquill::test {

TempDir::TempDir() {
    std::string name = (std::filesystem::temp_directory_path() / "webquill-test-XXXXXX").string();
    if (!::mkdtemp(name.data())) throw std::runtime_error("cannot make a temporary folder");
    m_path = name;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
    const auto path = m_path / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string FullDevice(const TempDir& dir) {
    const std::string own = dir.File(".full-device");
    if (std::filesystem::is_character_file(own)) return own;
    if (::mknod(own.c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0) return own;
    return std::filesystem::is_character_file("/dev/full") ? "/dev/full" : "";
}

bool HasFullDevice() {
    TempDir dir;
    return !FullDevice(dir).empty();
}

bool UnderFileSizeLimit(std::size_t limit, const std::function<bool()>& write) {
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, SIG_IGN);
    if (limit) {
        rlimit cut = saved;
        cut.rlim_cur = limit;
        ::setrlimit(RLIMIT_FSIZE, &cut);
    }
    const bool result = write();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    return result;
}

ProgramResult RunPublishProgram(const std::string& arguments, const std::filesystem::path& workDir,
                                const std::string& environment) {
    const std::string out = (workDir / ".program-out").string(), err = (workDir / ".program-err").string();
    const std::string config = (workDir / ".config").string();
    std::filesystem::create_directories(config);
    const std::string command = "cd '" + workDir.string() + "' && env XDG_CONFIG_HOME='" + config + "' " +
                                environment + " '" WEBQUILL_PUBLISH_PATH "' " + arguments + " >'" + out + "' 2>'" +
                                err + "'";
    const int raw = std::system(command.c_str());
    ProgramResult result{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return result;
}

std::string RunFixture::Boxes() const {
    std::string all;
    for (const RecordedBox& b : host.boxes)
        all += (b.kind == BoxKind::Stop ? "[stop] " : "[note] ") + b.text + "\n";
    return all;
}

std::string RecordText(const CCmdVar& r) {
    static const char* const kinds[] = {"None", "Extract", "Delete", "Add", "Replace", "MakeTOC", "MakeFile"};
    std::string text = kinds[static_cast<int>(r.kind)] + (" " + r.firstText) + "|" + r.secondText;
    if (r.newText) text += "|" + *r.newText;
    if (r.instance != 1) text += " ::" + std::to_string(r.instance);
    if (r.before) text += " before";
    if (!r.variableName.empty()) text += " as " + r.variableName;
    return text;
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
