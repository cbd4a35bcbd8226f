// The page series alone: a 16,000,000-byte manual cut into some 2,500 pages
// by one MakeFile command, without templates or contents, against csplit
// cutting the same file at the same pattern. Measured into an empty folder
// and over the previous run's pages, in interleaved rounds; the medians count.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/engine/bench_support.h"
#include "bench/engine/chaptered_manual.h"
#include "engine/publishing_run.h"

namespace fs = std::filesystem;
using namespace webquill;
using namespace webquill::bench;

namespace {

constexpr int kRounds = 9;

std::size_t CountFiles(const fs::path& dir) {
    std::size_t count = 0;
    for (const auto& entry : fs::directory_iterator(dir)) count += entry.is_regular_file();
    return count;
}

double TimeRun(const fs::path& dir, bool& sound) {
    RunDocument document;
    document.ruleFilePath = (dir / "pages.rul").string();
    QuietHost host;
    CPublishingRun run(document, host);
    RunOutcome outcome = RunOutcome::Stopped;
    const double seconds = TimeOnce([&] { outcome = run.RunPublishing(); });
    sound = sound && outcome == RunOutcome::Completed;
    return seconds;
}

double TimeCsplit() {
    const std::string command = std::string("csplit -s -z -f csplit/part manual.htm '/") + kPageStart + "/' '{*}'";
    return TimeOnce([&] {
        if (std::system(command.c_str()) != 0) std::abort();
    });
}

}  // namespace

int main() {
    const fs::path dir = fs::temp_directory_path() / "webquill-pages-bench";
    fs::remove_all(dir);
    fs::create_directories(dir);
    WriteBytes(dir / "manual.htm", MakeChapteredManual(kSourceSize, 67));
    WriteBytes(dir / "pages.rul", std::string("&Header:\r\nDocument: manual.htm\r\nWWWFileName: site/page.htm\r\n"
                                              "&Commands:\r\nMakeFile") + kPageStart + "!...!" + kPageEnd + "\r\n");
    const fs::path cwd = fs::current_path();
    fs::current_path(dir);

    bool sound = true;
    std::vector<double> emptyRatio, overRatio, emptyRun, overRun, emptyCsplit, overCsplit;
    for (int round = 0; round < kRounds; ++round) {
        fs::remove_all(dir / "site");
        fs::remove_all(dir / "csplit");
        fs::create_directories(dir / "csplit");
        // Who goes first alternates, so neither always meets a warmer cache.
        double run = 0, csplit = 0;
        if (round % 2 == 0) {
            run = TimeRun(dir, sound);
            csplit = TimeCsplit();
        } else {
            csplit = TimeCsplit();
            run = TimeRun(dir, sound);
        }
        emptyRun.push_back(run);
        emptyCsplit.push_back(csplit);
        emptyRatio.push_back(run / csplit);
        const double runAgain = TimeRun(dir, sound);
        const double csplitAgain = TimeCsplit();
        overRun.push_back(runAgain);
        overCsplit.push_back(csplitAgain);
        overRatio.push_back(runAgain / csplitAgain);
    }
    const std::size_t pages = CountFiles(dir / "site");
    const std::size_t parts = CountFiles(dir / "csplit");
    fs::current_path(cwd);
    fs::remove_all(dir);

    std::printf("source: %zu bytes; pages: %zu; csplit parts: %zu; %d interleaved rounds\n", kSourceSize, pages,
                parts, kRounds);
    std::printf("into an empty folder:    run %7.1f ms, csplit %7.1f ms, run / csplit %.2f (goal <= 1.0)\n",
                Median(emptyRun) * 1e3, Median(emptyCsplit) * 1e3, Median(emptyRatio));
    std::printf("over the previous pages: run %7.1f ms, csplit %7.1f ms, run / csplit %.2f (goal <= 1.0)\n",
                Median(overRun) * 1e3, Median(overCsplit) * 1e3, Median(overRatio));
    sound = sound && pages >= 2400 && pages <= 2600;
    if (!sound) std::printf("the runs did not complete as they should\n");
    return sound ? 0 : 1;
}
