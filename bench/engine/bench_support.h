// Shared pieces of the benchmarks: a generated long manual, a quiet run
// host, timing and file helpers.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/run_host.h"

namespace webquill::bench {

class QuietHost : public IRunHost {
public:
    void ShowLogLine(const std::string&) override {}
    void ShowStatusText(const std::string&) override {}
    void PumpMessages() override {}
    void ShowMessageBox(BoxKind, const std::string& text) override {
        std::fprintf(stderr, "box: %s\n", text.c_str());
    }
};

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

template <typename F>
double TimeOnce(F&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return SecondsSince(start);
}

// The middle of a series of timings (of rounds run in turn, so that the
// machine's moods fall on both sides alike).
inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A long HTML manual: sections with headings, numbered paragraphs, bold and
// italic words, editor comments and a few legacy tags, CR LF line ends, cut
// to exactly `size` bytes at a line end.
inline std::string MakeManual(std::size_t size, unsigned seed = 11) {
    static const char* words[] = {"pump", "water", "the", "garden", "hose", "level", "frost",
                                  "drain", "before", "handle", "valve", "of", "and", "seal"};
    std::mt19937 random(seed);
    auto word = [&] { return words[random() % 14]; };
    std::string text = "<HTML>\r\n<HEAD><TITLE>Garden Pump Manual</TITLE></HEAD>\r\n<BODY>\r\n";
    const std::string closing = "</BODY>\r\n</HTML>\r\n";
    for (int section = 1, paragraph = 0; text.size() + 400 + closing.size() < size; ++paragraph) {
        if (paragraph % 25 == 0) {
            text += "<H2>" + std::to_string(section) + ". Section " + std::to_string(section) +
                    "</H2>\r\n";
            ++section;
        }
        text += "<P>" + std::to_string(section % 10) + "." + std::to_string(paragraph % 10) + ". ";
        text += std::string(word()) + " <B>" + word() + "</B> " + word() + " <I>" + word() +
                "</I> " + word() + " <B>" + word() + "</B>&nbsp;" + word() + "</P>\r\n";
        text += "<!-- note " + std::to_string(paragraph) + " -->\r\n";
        if (paragraph % 7 == 0) text += "<FONT FACE=\"Arial\"><BLINK>" + std::string(word()) + "</BLINK></FONT><BR>\r\n";
        if (paragraph % 13 == 0) text += "<CENTER><U>" + std::string(word()) + "</U></CENTER>\r\n";
        if (paragraph % 29 == 0) text += "<SCRIPT>track(" + std::to_string(paragraph) + ")</SCRIPT>\r\n";
    }
    text += closing;
    while (text.size() < size) text.insert(text.size() - closing.size(), "\r\n");
    return text;
}

}  // namespace webquill::bench
