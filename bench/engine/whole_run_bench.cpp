// A whole publishing run on a generated 16,000,000-byte manual cut into some
// 4,200 pages, with a table of contents, a TOC template and header and footer
// templates full of variables, against csplit cutting the same file at the
// same pattern in the same run. csplit writes no templates and no contents,
// so it is the floor the run is measured against.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/engine/bench_support.h"
#include "bench/engine/chaptered_manual.h"
#include "engine/publishing_run.h"

namespace fs = std::filesystem;
using namespace webquill;
using namespace webquill::bench;

namespace {

std::size_t CountFiles(const fs::path& dir) {
    std::size_t count = 0;
    for (const auto& entry : fs::directory_iterator(dir)) count += entry.is_regular_file();
    return count;
}

}  // namespace

int main() {
    const fs::path dir = fs::temp_directory_path() / "webquill-whole-run-bench";
    fs::remove_all(dir);
    fs::create_directories(dir / "csplit");
    const std::size_t manualSize = WriteChapteredSite(dir);

    const fs::path cwd = fs::current_path();
    fs::current_path(dir);
    // The run goes first, so csplit meets the file in the page cache as warm
    // as the run left it.
    RunDocument document;
    document.ruleFilePath = (dir / "run.rul").string();
    QuietHost host;
    CPublishingRun run(document, host);
    RunOutcome outcome = RunOutcome::Stopped;
    const double ours = TimeOnce([&] { outcome = run.RunPublishing(); });
    const std::string csplitCommand = std::string("csplit -s -z -f csplit/part manual.htm '/") +
                                      kPageStart + "/' '{*}'";
    const double csplit = TimeOnce([&] {
        if (std::system(csplitCommand.c_str()) != 0) std::abort();
    });
    const std::size_t pages = CountFiles(dir / "site");
    const std::size_t parts = CountFiles(dir / "csplit");
    fs::current_path(cwd);
    fs::remove_all(dir);

    std::printf("source: %zu bytes; pages written with their TOC file: %zu; csplit parts: %zu\n",
                manualSize, pages, parts);
    std::printf("whole run (load, commands, intermediate file, TOC, pages): %8.1f ms\n", ours * 1e3);
    std::printf("csplit at the same pattern:                              %8.1f ms\n", csplit * 1e3);
    std::printf("run / csplit: %.2f (goal <= 1.5)\n", ours / csplit);
    const bool sound = outcome == RunOutcome::Completed && pages >= 2001;
    if (!sound) std::printf("the run did not complete as it should\n");
    return sound ? 0 : 1;
}
