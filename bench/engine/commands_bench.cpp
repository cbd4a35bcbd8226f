// The commands phase on a generated 16,000,000-byte manual: the whole phase
// of a 22-command rule file, GNU sed doing the same literal substitutions and
// deletions, each ::A Replace against one memmem scan plus one copy, and the
// growth of a step-by-step rebuild against ours on a 1,000,000-byte text.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/engine/bench_support.h"
#include "engine/publishing_run.h"
#include "tests/engine/reference_commands.h"

namespace fs = std::filesystem;
using namespace webquill;
using namespace webquill::bench;

namespace {

struct Literal {
    std::string kind;  // Replace or Delete
    std::string find;
    std::string with;  // Replace only
    std::string sed;   // the same change as a sed expression
};

// Changes that sed can make line by line, as the engine makes them.
const std::vector<Literal> kLiteral = {
    {"Replace", "<B>", "<STRONG>", "s/<B>/<STRONG>/gI"},
    {"Replace", "</B>", "</STRONG>", "s/<\\/B>/<\\/STRONG>/gI"},
    {"Replace", "<I>", "<EM>", "s/<I>/<EM>/gI"},
    {"Replace", "</I>", "</EM>", "s/<\\/I>/<\\/EM>/gI"},
    {"Replace", "<FONT FACE=\"Arial\">", "<SPAN>", "s/<FONT FACE=\"Arial\">/<SPAN>/gI"},
    {"Replace", "</FONT>", "</SPAN>", "s/<\\/FONT>/<\\/SPAN>/gI"},
    {"Replace", "&nbsp;", " ", "s/\\&nbsp;/ /gI"},
    {"Replace", "<BR>", "<BR />", "s/<BR>/<BR \\/>/gI"},
    {"Replace", "<CENTER>", "<DIV CLASS=\"c\">", "s/<CENTER>/<DIV CLASS=\"c\">/gI"},
    {"Replace", "</CENTER>", "</DIV>", "s/<\\/CENTER>/<\\/DIV>/gI"},
    {"Replace", "<U>", "<INS>", "s/<U>/<INS>/gI"},
    {"Replace", "</U>", "</INS>", "s/<\\/U>/<\\/INS>/gI"},
    {"Delete", "<!--!...!-->", "", "s/<!--[^>]*-->//gI"},
    {"Delete", "<BLINK>", "", "s/<BLINK>//gI"},
    {"Delete", "</BLINK>", "", "s/<\\/BLINK>//gI"},
    {"Delete", "<SCRIPT>!...!</SCRIPT>", "", "s/<SCRIPT>[^<]*<\\/SCRIPT>//gI"},
};

// The rest of the rule: what sed cannot say in one literal line.
const std::vector<std::string> kOthers = {
    "Extract<TITLE>!...!</TITLE>!save as!Title",
    "Add<LINK REL=\"stylesheet\" HREF=\"s.css\">!after!<HEAD>",
    "Add<HR>!before!<H2>::A",
    "Wrap X!.!X!.!!...!</P>!with start!<SPAN CLASS=\"n\">!end!</SPAN>",
    "Replace<P>!with!<P CLASS=\"body\">::A",
    "Delete<HTML>",
};

std::string RuleFile(const std::string& source, const std::vector<Literal>& literal, bool withOthers) {
    std::string rule = "&Header:\r\nDocument: " + source + "\r\nWWWFileName: out/page.htm\r\n&Commands:\r\n";
    for (const Literal& l : literal)
        rule += l.kind + l.find + (l.kind == "Replace" ? "!with!" + l.with : "") + "::A\r\n";
    if (withOthers)
        for (const std::string& c : kOthers) rule += c + "\r\n";
    return rule;
}

std::string SedScript(const std::vector<Literal>& literal) {
    std::string script;
    for (const Literal& l : literal) script += l.sed + "\n";
    return script;
}

// The most common edits of an old manual: bold, italics, spaces and comments.
std::vector<Literal> SixEdits() {
    std::vector<Literal> six;
    for (std::size_t i : {0, 1, 2, 3, 6, 12}) six.push_back(kLiteral[i]);
    return six;
}

// Notes when each command starts (its status text) to time it.
class TimingHost : public QuietHost {
public:
    void ShowStatusText(const std::string& text) override {
        marks.emplace_back(text, std::chrono::steady_clock::now());
    }
    void Print() const {
        for (std::size_t i = 0; i + 1 < marks.size(); ++i)
            std::printf("    %8.2f ms  %s\n",
                        std::chrono::duration<double>(marks[i + 1].second - marks[i].second).count() * 1e3,
                        marks[i].first.c_str());
    }
    std::vector<std::pair<std::string, std::chrono::steady_clock::time_point>> marks;
};

// Loads and parses a rule file the way a run does, ready to execute.
struct PreparedRun {
    RunDocument document;
    TimingHost host;
    CPublishingRun run{document, host};
    explicit PreparedRun(const fs::path& rule) {
        document.ruleFilePath = rule.string();
        if (!run.ReadRuleFile() || !run.ParseHeaderSection() || !run.ReadSourceDocument() ||
            !run.ParseCommandSection(false)) {
            std::fprintf(stderr, "the benchmark's rule file did not load\n");
            std::exit(1);
        }
    }
};

double MemmemScanAndCopy(const std::string& text, const std::string& pattern, std::size_t& hits) {
    return TimeOnce([&] {
        hits = 0;
        const char* at = text.data();
        const char* end = text.data() + text.size();
        while (const void* hit = memmem(at, end - at, pattern.data(), pattern.size())) {
            ++hits;
            at = static_cast<const char*>(hit) + pattern.size();
        }
        std::string copy(text);
        if (copy.size() != text.size()) std::abort();
    });
}

std::size_t CountHits(const std::string& text, const std::string& pattern) {
    std::size_t hits = 0;
    for (std::size_t at = text.find(pattern); at != std::string::npos; at = text.find(pattern, at + pattern.size()))
        ++hits;
    return hits;
}

}  // namespace

int main() {
    const fs::path dir = fs::temp_directory_path() / "webquill-commands-bench";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string manual = MakeManual(16000000);
    WriteBytes(dir / "manual.htm", manual);
    WriteBytes(dir / "full.rul", RuleFile("manual.htm", kLiteral, true));
    WriteBytes(dir / "literal.rul", RuleFile("manual.htm", kLiteral, false));
    WriteBytes(dir / "six.rul", RuleFile("manual.htm", SixEdits(), false));
    WriteBytes(dir / "six.sed", SedScript(SixEdits()));
    std::printf("source: %zu bytes; full rule: %zu commands\n", manual.size(),
                kLiteral.size() + kOthers.size());
    std::printf("hits: <B> %zu, <!-- %zu\n", CountHits(manual, "<B>"), CountHits(manual, "<!--"));

    const fs::path cwd = fs::current_path();
    fs::current_path(dir);
    PreparedRun full(dir / "full.rul");
    full.host.marks.clear();
    const double fullPhase = TimeOnce([&] { full.run.ExecuteCommands(); });
    PreparedRun literal(dir / "literal.rul");
    const double literalPhase = TimeOnce([&] { literal.run.ExecuteCommands(); });

    WriteBytes(dir / "literal.sed", SedScript(kLiteral));
    const double sed = TimeOnce([&] {
        if (std::system("LC_ALL=C sed -f literal.sed manual.htm > sed-out.htm") != 0) std::abort();
    });
    const bool identical = ReadBytes(dir / "sed-out.htm") == literal.run.WorkingText();

    std::printf("\ncommands phase, %zu commands: %8.1f ms\n", kLiteral.size() + kOthers.size(), fullPhase * 1e3);
    full.host.Print();
    std::printf("literal subset, %zu commands: %8.1f ms\n", kLiteral.size(), literalPhase * 1e3);
    std::printf("GNU sed, same literal subset: %8.1f ms\n", sed * 1e3);
    std::printf("whole phase / sed: %.3f (goal <= 0.2); literal subset / sed: %.3f\n",
                fullPhase / sed, literalPhase / sed);
    std::printf("literal subset output identical to sed's: %s\n", identical ? "yes" : "NO");

    // Six edits in interleaved rounds, each run against sed right after it:
    // without match case against sed's case-blind substitutions, with match
    // case against its plain ones.
    std::string plainScript = SedScript(SixEdits());
    for (std::size_t at = plainScript.find("/gI\n"); at != std::string::npos; at = plainScript.find("/gI\n", at))
        plainScript.erase(at + 2, 1);
    WriteBytes(dir / "six-plain.sed", plainScript);
    for (const bool matchCase : {false, true}) {
        const std::string command = std::string("LC_ALL=C sed -f ") + (matchCase ? "six-plain.sed" : "six.sed") +
                                    " manual.htm > sed-six.htm";
        std::vector<double> ours, theirs, ratio;
        bool identical = true;
        for (int round = 0; round < 5; ++round) {
            PreparedRun six(dir / "six.rul");
            six.run.SetMatchCase(matchCase);
            ours.push_back(TimeOnce([&] { six.run.ExecuteCommands(); }));
            theirs.push_back(TimeOnce([&] {
                if (std::system(command.c_str()) != 0) std::abort();
            }));
            identical = identical && ReadBytes(dir / "sed-six.htm") == six.run.WorkingText();
            ratio.push_back(ours.back() / theirs.back());
        }
        std::printf("six edits%s, median of 5 interleaved rounds: ours %.1f ms, sed %.1f ms, ours / sed %.3f "
                    "(goal <= 0.1), identical: %s\n",
                    matchCase ? " with match case" : "", Median(ours) * 1e3, Median(theirs) * 1e3, Median(ratio),
                    identical ? "yes" : "NO");
    }

    // One untimed pass first, so that the first row meets memory as warm as the others.
    {
        std::size_t hits = 0;
        MemmemScanAndCopy(manual, kLiteral[0].find, hits);
    }
    std::printf("\n%-24s %8s %10s %14s %7s\n", "::A Replace", "hits", "ours ms", "memmem+copy ms", "ratio");
    double worst = 0;
    for (const Literal& l : kLiteral) {
        if (l.kind != "Replace") continue;
        RunDocument document;
        QuietHost host;
        CPublishingRun run(document, host);
        run.SetWorkingText(manual);
        CCmdVar record;
        record.kind = CommandKind::Replace;
        record.firstText = l.find;
        record.newText = l.with;
        record.instance = 0;
        const double ours = TimeOnce([&] { run.ReplaceCommand(record); });
        std::size_t hits = 0;
        const double baseline = MemmemScanAndCopy(manual, l.find, hits);
        worst = std::max(worst, ours / baseline);
        std::printf("%-24s %8zu %10.2f %14.2f %7.2f\n", l.find.c_str(), hits, ours * 1e3, baseline * 1e3,
                    ours / baseline);
    }
    std::printf("worst ::A Replace / (memmem + copy): %.2f (goal <= 3)\n", worst);

    const std::string small = MakeManual(1000000, 5);
    CCmdVar replace;
    replace.kind = CommandKind::Replace;
    replace.firstText = "<B>";
    replace.newText = "<STRONG>";
    replace.instance = 0;
    CCmdVar remove;
    remove.kind = CommandKind::Delete;
    remove.firstText = "<!--";
    remove.secondText = "-->";
    remove.instance = 0;
    std::printf("\n1,000,000 bytes, %zu <B> and %zu comments:\n", CountHits(small, "<B>"), CountHits(small, "<!--"));
    for (CCmdVar* record : {&replace, &remove}) {
        RunDocument document;
        QuietHost host;
        CPublishingRun run(document, host);
        run.SetWorkingText(small);
        const double ours = TimeOnce([&] {
            if (record->kind == CommandKind::Replace) run.ReplaceCommand(*record);
            else run.DeleteCommand(*record);
        });
        std::string stepText = small;
        const double steps = TimeOnce([&] {
            if (record->kind == CommandKind::Replace) reference::Replace(stepText, *record, false);
            else reference::Delete(stepText, *record, false);
        });
        std::printf("  %-7s step by step %9.1f ms, ours %7.2f ms, %7.0f times faster, same text: %s\n",
                    record->kind == CommandKind::Replace ? "Replace" : "Delete", steps * 1e3, ours * 1e3,
                    steps / ours, stepText == run.WorkingText() ? "yes" : "NO");
    }
    fs::current_path(cwd);
    fs::remove_all(dir);
    return identical ? 0 : 1;
}
