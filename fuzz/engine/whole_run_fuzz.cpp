// A whole publishing run from fuzzed bytes: a rule file, a document and the
// header, footer and TOC templates, as the rule file names them.
#include "fuzz/fuzz_support.h"
#include "engine/publishing_run.h"

using namespace webquill;

namespace {
// Paths stay in the work folder: every header value follows a colon, so no
// colon may be followed by an absolute path, and no "../" may stand anywhere.
bool StaysInside(std::string_view rule) {
    if (rule.find("../") != std::string_view::npos) return false;
    for (std::size_t at = rule.find(':'); at != std::string_view::npos; at = rule.find(':', at + 1)) {
        std::size_t v = at + 1;
        while (v < rule.size() && (rule[v] == ' ' || rule[v] == '\t' || rule[v] == '\r' || rule[v] == '\n' ||
                                   rule[v] == '\v' || rule[v] == '\f'))
            ++v;
        if (v < rule.size() && (rule[v] == '/' || rule[v] == '\\' || rule[v] == '~')) return false;
    }
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = fuzz::SplitParts(data, size, 5);
    if (!StaysInside(parts[0])) return -1;
    const fuzz::InWorkFolder inside;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(fuzz::WorkFolder(), error))
        std::filesystem::remove_all(entry.path(), error);  // what the last run wrote
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
