// Runs a fuzz target once on every file of the folders named on the command
// line: the reproducers of past findings, kept as tests of the normal build.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    // The targets write their files into WEBQUILL_FUZZ_DIR: a folder of this
    // run's own, removed at its end, so that the test leaves nothing behind.
    const std::filesystem::path base =
        std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    std::string work = (base / "webquill-fuzz-XXXXXX").string();
    if (!::mkdtemp(work.data())) {
        std::perror(work.c_str());
        return 1;
    }
    ::setenv("WEBQUILL_FUZZ_DIR", work.c_str(), 1);
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
            if (!entry.is_regular_file() || entry.path().filename().string().front() == '.') continue;
            std::ifstream in(entry.path(), std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            std::printf("%s\n", entry.path().filename().c_str());
            std::fflush(stdout);
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            ++files;
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(work, ignored);
    std::printf("%d reproducers ran\n", files);
    return 0;
}
