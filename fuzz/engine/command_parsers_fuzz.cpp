// The command section of a rule file, and each of the seven command parsers
// on a command text of its own.
#include "fuzz/fuzz_support.h"
#include "engine/publishing_run.h"
#include "engine/text_search.h"

using namespace webquill;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t choice = data[0];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    RunDocument document;
    fuzz::QuietHost host;
    CPublishingRun run(document, host);
    run.SetMatchCase(choice & 0x80);
    run.SetLfOnly(choice & 0x40);
    const int parser = choice % 8;
    if (parser == 0) {
        fuzz::WriteFile("r.rul", bytes);
        document.ruleFilePath = (fuzz::WorkFolder() / "r.rul").string();
        if (run.ReadRuleFile() && run.ParseHeaderSection()) run.ParseCommandSection(choice & 0x20);
        return 0;
    }
    std::string text(bytes.substr(0, 4096));
    TrimBlanks(text);
    bool (CPublishingRun::*const parsers[])(std::string) = {
        &CPublishingRun::ParseAddCommand,     &CPublishingRun::ParseDeleteCommand,
        &CPublishingRun::ParseExtractCommand, &CPublishingRun::ParseReplaceCommand,
        &CPublishingRun::ParseWrapCommand,    &CPublishingRun::ParseMakeTocCommand,
        &CPublishingRun::ParseMakeFileCommand};
    (run.*parsers[parser - 1])(std::move(text));
    return 0;
}
