// Inputs built to make a command, the header parse or the page writing slow:
// each hostile case against the same step with an ordinary pattern, on an
// input of SIZE bytes (first argument, default 16,000,000). Every case should
// stay within a few times its ordinary twin. A second argument of case
// numbers (e.g. 34) runs only those cases.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/engine/bench_support.h"
#include "engine/publishing_run.h"

namespace fs = std::filesystem;
using namespace webquill;
using namespace webquill::bench;

namespace {

std::size_t g_size = 16000000;
std::string g_cases = "1234567";
int g_case = 0;

CCmdVar Record(CommandKind kind, std::string first, std::string second = {}, std::optional<std::string> added = {},
               int instance = 0) {
    CCmdVar r;
    r.kind = kind;
    r.commandNumber = 3;
    r.firstText = std::move(first);
    r.secondText = std::move(second);
    r.newText = std::move(added);
    r.instance = instance;
    r.before = kind == CommandKind::Add;  // the Adds here insert before
    return r;
}

// One command on `text`, as a run executes it.
double TimeCommand(const std::string& text, CCmdVar record, bool matchCase = false) {
    RunDocument document;
    QuietHost host;
    CPublishingRun run(document, host);
    run.SetMatchCase(matchCase);
    run.SetWorkingText(text);
    return TimeOnce([&] {
        switch (record.kind) {
            case CommandKind::Add: run.AddCommand(record); break;
            case CommandKind::Replace: run.ReplaceCommand(record); break;
            default: run.DeleteCommand(record); break;
        }
    });
}

double TimeWrap(const std::string& text, const std::string& format) {
    RunDocument document;
    QuietHost host;
    CPublishingRun run(document, host);
    run.SetWorkingText(text);
    CWrapper w;
    w.numberFormat = format;
    w.endOfParagraph = "</P>";
    w.textBefore = "<LI>";
    return TimeOnce([&] { run.WrapCommand(w); });
}

// The header parse of a rule file whose &Header section is `body`.
double TimeHeaderParse(const fs::path& dir, const std::string& body) {
    const fs::path rule = dir / "header.rul";
    WriteBytes(rule, "&Header:\r\n" + body + "Document: d.htm\r\nWWWFileName: out/p.htm\r\n&Commands:\r\n");
    RunDocument document;
    document.ruleFilePath = rule.string();
    QuietHost host;
    CPublishingRun run(document, host);
    if (!run.ReadRuleFile()) std::exit(1);
    return TimeOnce([&] { run.ParseHeaderSection(); });
}

// A whole run over a site of `pages` pages whose header template refers
// `references` times to variable `used` of `variables` Extract variables.
double TimeTemplatedRun(const fs::path& dir, std::size_t pages, std::size_t variables, std::size_t used,
                        std::size_t references) {
    std::string rule = "&Header:\r\nDocument: d.htm\r\nWWWFileName: out/p.htm\r\nHeaderName: h.htm\r\n&Commands:\r\n";
    std::string doc;
    for (std::size_t v = 0; v < variables; ++v) {
        rule += "Extract<V" + std::to_string(v) + ">!...!</V>!save as!Variable" + std::to_string(v) + "\r\n";
        doc += "<V" + std::to_string(v) + ">value</V>\r\n";
    }
    rule += "MakeFile<H2>!...!</H2>\r\n";
    const std::size_t pageBytes = (g_size - doc.size()) * 9 / 10 / pages;
    for (std::size_t p = 0; p < pages; ++p) doc += "<H2>" + std::string(pageBytes > 20 ? pageBytes - 20 : 1, 'x') + "</H2>\r\n";
    std::string header;
    for (std::size_t r = 0; r < references; ++r) header += "%%Variable" + std::to_string(used) + "%% ";
    WriteBytes(dir / "site.rul", rule);
    WriteBytes(dir / "d.htm", doc);
    WriteBytes(dir / "h.htm", header + "\r\n");
    const fs::path previous = fs::current_path();
    fs::current_path(dir);
    RunDocument document;
    document.ruleFilePath = "site.rul";
    QuietHost host;
    CPublishingRun run(document, host);
    const double seconds = TimeOnce([&] { run.RunPublishing(); });
    fs::current_path(previous);
    fs::remove_all(dir / "out");
    return seconds;
}

// Extract commands whose stretches all lie at the start of a long text.
double TimeExtracts(const std::string& filler, std::size_t count) {
    RunDocument document;
    QuietHost host;
    CPublishingRun run(document, host);
    std::string text;
    for (std::size_t k = 0; k < count; ++k) {
        text += "<T" + std::to_string(k) + ">v</T>";
        CCmdVar& r = document.commands.Append();
        r = Record(CommandKind::Extract, "<T" + std::to_string(k) + ">", "</T>");
        r.variableName = "v" + std::to_string(k);
    }
    run.SetWorkingText(text + filler);
    return TimeOnce([&] {
        document.commands.ForEach([&](CCmdVar& r) { run.ExtractCommand(r); });
    });
}

// Whether the next case runs; each case asks once, in order.
bool Runs() { return g_cases.find(static_cast<char>('1' + g_case++)) != std::string::npos; }

void Row(const char* name, double hostile, double ordinary) {
    std::printf("  %-58s %9.3f s %9.3f s %7.1fx\n", name, hostile, ordinary, hostile / ordinary);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) g_size = std::strtoull(argv[1], nullptr, 10);
    if (argc > 2) g_cases = argv[2];
    const fs::path dir = fs::temp_directory_path() / "webquill-hostile-bench";
    fs::create_directories(dir);
    std::printf("input of %zu bytes                                            hostile    ordinary   ratio\n", g_size);

    const std::string capitals(g_size, 'A');
    if (Runs()) Row("one-letter case-blind Replace (a) vs two letters (aa)",
        TimeCommand(capitals, Record(CommandKind::Replace, "a", {}, "b")),
        TimeCommand(capitals, Record(CommandKind::Replace, "aa", {}, "b")));

    std::string oneLine, ownLines;
    while (oneLine.size() + 200 < g_size) oneLine += "Document ";
    while (ownLines.size() + 200 < g_size) ownLines += "&&Document\r\n";
    if (Runs()) Row("header key repeated on one commented line vs one per line",
        TimeHeaderParse(dir, "&& " + oneLine + "\r\n"), TimeHeaderParse(dir, ownLines));

    const std::size_t pages = std::max<std::size_t>(1, g_size / 16000);
    const std::size_t variables = std::max<std::size_t>(1, g_size / 800);
    if (Runs()) Row("page variables: the last of many vs the first",
        TimeTemplatedRun(dir, pages, variables, variables - 1, 100), TimeTemplatedRun(dir, pages, variables, 0, 100));

    const std::string filler(g_size, 'x');
    if (Runs()) Row("2,000 Extracts at the start of the text vs a Delete of one byte",
        TimeExtracts(filler, 2000), TimeCommand(filler, Record(CommandKind::Delete, "x", {}, {}, 1)));

    const std::string as(g_size, 'a');
    if (Runs()) Row("Add !before! every 4,000-byte periodic pattern vs two bytes",
        TimeCommand(as, Record(CommandKind::Add, std::string(4000, 'a'), {}, "x", 0), true),
        TimeCommand(as, Record(CommandKind::Add, "aa", {}, "x", 0), true));

    const std::string digits(g_size, '1');
    if (Runs()) Row("Wrap without prefix, 259-element format failing last vs X.",
        TimeWrap(digits, std::string(258, 'X') + "."), TimeWrap(digits, "X."));

    // Every other byte is the format's last element, so no stretch can be skipped.
    std::string numbered;
    while (numbered.size() < g_size) numbered += "1.";
    if (Runs()) Row("the same on \"1.\" repeated (its last byte everywhere)",
        TimeWrap(numbered, std::string(258, 'X') + "."), TimeWrap(numbered, "X."));
    fs::remove_all(dir);
    return 0;
}
