// The editing commands on fuzzed text: one command line, parsed as a run
// parses it and executed on the text that follows it, held against the
// step-by-step model of the tests. A different result is a finding.
#include <cstdio>

#include "fuzz/fuzz_support.h"
#include "engine/pattern_notation.h"
#include "engine/publishing_run.h"
#include "tests/engine/reference_commands.h"
#include "engine/text_search.h"

using namespace webquill;

namespace {
bool Modelled(const CCmdVar& record, bool matchCase) {
    const PatternUse use = record.kind == CommandKind::Add       ? PatternUse::Add
                           : record.kind == CommandKind::Replace ? PatternUse::Replace
                                                                 : PatternUse::Delete;
    return !CPatternNotation(record.firstText, use, matchCase).Lead().empty();
}

[[noreturn]] void Differs(const std::string& engine, const std::string& model) {
    std::fprintf(stderr, "engine and model differ\nengine: %s\nmodel:  %s\n", engine.c_str(), model.c_str());
    __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t choice = data[0];
    const auto parts = fuzz::SplitParts(data + 1, size - 1, 2);
    std::string command(parts[0].substr(0, 4096));
    TrimBlanks(command);
    const std::string text(parts[1].substr(0, parts[1].find('\0')));  // a loaded text ends at a NUL

    RunDocument document;
    fuzz::QuietHost host;
    CPublishingRun run(document, host);
    const bool matchCase = choice & 0x80;
    run.SetMatchCase(matchCase);
    run.SetLfOnly(choice & 0x40);
    run.SetWorkingText(text);
    std::string model = text;
    bool executed = false, expected = false;
    switch (choice % 5) {
        case 0:
        case 1:
        case 2:
        case 3: {
            bool (CPublishingRun::*const parsers[])(std::string) = {
                &CPublishingRun::ParseAddCommand, &CPublishingRun::ParseDeleteCommand,
                &CPublishingRun::ParseExtractCommand, &CPublishingRun::ParseReplaceCommand};
            if (!(run.*parsers[choice % 5])(command)) return 0;
            CCmdVar& record = document.commands.At(0);
            record.commandNumber = 3;  // a command of the rule, not a predefined variable
            CCmdVar copy = record;
            switch (record.kind) {
                case CommandKind::Add: executed = run.AddCommand(record); break;
                case CommandKind::Delete: executed = run.DeleteCommand(record); break;
                case CommandKind::Extract: executed = run.ExtractCommand(record); break;
                default: executed = run.ReplaceCommand(record); break;
            }
            if (!Modelled(copy, matchCase)) return 0;
            switch (copy.kind) {
                case CommandKind::Add: expected = reference::Add(model, copy, matchCase); break;
                case CommandKind::Delete: expected = reference::Delete(model, copy, matchCase); break;
                case CommandKind::Extract: expected = reference::Extract(model, copy, matchCase); break;
                default: expected = reference::Replace(model, copy, matchCase); break;
            }
            if (record.newText != copy.newText) Differs(record.newText.value_or("(none)"), copy.newText.value_or("(none)"));
            break;
        }
        default: {
            if (!run.ParseWrapCommand(command)) return 0;
            CWrapper copy = document.wrappers.At(0);
            executed = run.WrapCommand(document.wrappers.At(0));
            expected = reference::Wrap(model, copy, matchCase);
            break;
        }
    }
    if (run.WorkingText() != model || executed != expected) Differs(run.WorkingText(), model);
    return 0;
}
