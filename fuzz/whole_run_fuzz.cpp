// A whole publishing run from fuzzed bytes: a rule file, a document and the
// header, footer and TOC templates, as the rule file names them.
#include "fuzz_support.h"
#include "publishing_run.h"

using namespace webquill;

namespace {
// Paths stay in the work folder: every separator must end a folder named
// "out", so no absolute path and no ".." can name a file elsewhere.
bool StaysInside(std::string_view rule) {
    for (std::size_t at = rule.find_first_of("/\\"); at != std::string_view::npos;
         at = rule.find_first_of("/\\", at + 1)) {
        if (at < 3 || rule.substr(at - 3, 3) != "out") return false;
        if (at >= 4 && (rule[at - 4] == '.' || rule[at - 4] == '/' || rule[at - 4] == '\\')) return false;
    }
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = fuzz::SplitParts(data, size, 5);
    if (!StaysInside(parts[0])) return -1;
    fuzz::WorkFolder();
    std::error_code error;
    std::filesystem::remove_all("out", error);
    const char* names[] = {"r.rul", "d.htm", "h.htm", "f.htm", "t.htm"};
    for (std::size_t i = 0; i < parts.size(); ++i) fuzz::WriteFile(names[i], parts[i]);

    RunDocument document;
    document.ruleFilePath = "r.rul";
    document.settings.matchCase = size % 2 == 0;
    fuzz::QuietHost host;
    CPublishingRun run(document, host);
    try {
        run.RunPublishing();
    } catch (const fuzz::EnoughPages&) {
    }
    return 0;
}
