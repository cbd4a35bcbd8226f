// Shared pieces of the fuzz targets: a quiet run host, a working folder on a
// memory file system, and the split of fuzzed bytes into files.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/run_host.h"

namespace webquill::fuzz {

// Ends a run that has written enough pages to have shown what it does: the
// engine has no page count of its own, and a fuzzed rule can cut its text
// into millions of pages.
struct EnoughPages {};

class QuietHost : public IRunHost {
public:
    void ShowLogLine(const std::string&) override {}
    void ShowStatusText(const std::string& text) override {
        if (++m_statusTexts > 4000) throw EnoughPages{};
        (void)text;
    }
    void PumpMessages() override {}
    void ShowMessageBox(BoxKind, const std::string&) override {}

private:
    int m_statusTexts = 0;
};

// A folder of this process's own: WEBQUILL_FUZZ_DIR (scripts/fuzz.sh makes
// and removes it), else one on /dev/shm or in the temporary folder.
inline const std::filesystem::path& WorkFolder() {
    static const std::filesystem::path folder = [] {
        if (const char* given = std::getenv("WEBQUILL_FUZZ_DIR")) return std::filesystem::path(given);
        const std::filesystem::path base =
            std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        return base / ("webquill-fuzz-" + std::to_string(::getpid()));
    }();
    static const bool made = std::filesystem::create_directories(folder) || true;
    (void)made;
    return folder;
}

inline void WriteFile(const std::string& name, std::string_view bytes) {
    std::ofstream out(WorkFolder() / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The work folder made current while it lives, so that every relative path of
// a fuzzed rule stays inside it; libFuzzer's own paths are relative to the
// folder it started in.
class InWorkFolder {
public:
    InWorkFolder() : m_previous(std::filesystem::current_path()) { std::filesystem::current_path(WorkFolder()); }
    ~InWorkFolder() { std::filesystem::current_path(m_previous); }

private:
    std::filesystem::path m_previous;
};

// The parts of `data` between separator lines "~~~~", at most `count` of them.
inline std::vector<std::string_view> SplitParts(const std::uint8_t* data, std::size_t size, std::size_t count) {
    static constexpr std::string_view kSeparator = "\n~~~~\n";
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        const std::size_t at = rest.find(kSeparator);
        if (at == std::string_view::npos) break;
        parts.push_back(rest.substr(0, at + 1));  // the part keeps its line end
        rest.remove_prefix(at + kSeparator.size());
    }
    parts.push_back(rest);
    parts.resize(count);
    return parts;
}

}  // namespace webquill::fuzz
