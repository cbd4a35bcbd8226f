// The editing commands against known answers, each answer held by both the
// engine and the step-by-step model of reference_commands.h; then the engine
// against the model over thousands of generated cases.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <vector>

#include "tests/engine/reference_commands.h"
#include "tests/engine/test_support.h"

namespace webquill::test {
namespace {

namespace ref = webquill::reference;
using K = CommandKind;

CCmdVar Record(K kind, std::string first, std::string second, int instance,
               std::optional<std::string> newText = std::nullopt, bool before = false, int number = 7) {
    return {number, instance, before ? 1 : 0, std::move(second), std::move(first), "", std::move(newText), kind};
}
CCmdVar Add(const char* added, const char* pattern, int instance, bool before = false) {
    return Record(K::Add, pattern, "", instance, std::string(added), before);
}
CCmdVar Del(const char* start, const char* end, int instance) { return Record(K::Delete, start, end, instance); }
CCmdVar Rep(const char* find, const char* with, int instance) {
    return Record(K::Replace, find, "", instance, std::string(with));
}
CCmdVar Ext(const char* start, const char* end, int number = 7, std::optional<std::string> value = {}) {
    return Record(K::Extract, start, end, 1, std::move(value), false, number);
}
CWrapper Wrapper(std::string prefix, std::string format, std::string end) {
    return {-1, std::move(prefix), std::move(end), std::move(format), "[", "]"};
}

bool Model(std::string& t, CCmdVar& r, bool mc) {
    return r.kind == K::Add ? ref::Add(t, r, mc) : r.kind == K::Delete ? ref::Delete(t, r, mc)
         : r.kind == K::Replace ? ref::Replace(t, r, mc) : ref::Extract(t, r, mc);
}
bool Model(std::string& text, CWrapper& w, bool matchCase) { return ref::Wrap(text, w, matchCase); }
bool Engine(CPublishingRun& run, CCmdVar& r) {
    return r.kind == K::Add ? run.AddCommand(r) : r.kind == K::Delete ? run.DeleteCommand(r)
         : r.kind == K::Replace ? run.ReplaceCommand(r) : run.ExtractCommand(r);
}
bool Engine(CPublishingRun& run, CWrapper& w) { return run.WrapCommand(w); }

// As a C string literal, so a failing case can be pasted back into a test.
std::string Escaped(const std::string& s) { return ::testing::PrintToString(s); }
std::string Describe(const CCmdVar& r) { return Escaped(RecordText(r)) + " number " + std::to_string(r.commandNumber); }
std::string Describe(const CWrapper& w) {
    return Escaped(w.numberPrefix + "|" + w.numberFormat + "|" + w.endOfParagraph + "|" + w.textBefore + "|" +
                   w.textAfter);
}

struct Outcome { bool result = false; std::string text; std::optional<std::string> value; };  // value: Extract's
// A value left unset and an empty value both read as "no value taken".
bool operator==(const Outcome& a, const Outcome& b) {
    return a.result == b.result && a.text == b.text && a.value.value_or("") == b.value.value_or("");
}
std::ostream& operator<<(std::ostream& os, const Outcome& o) {
    return os << (o.result ? "true " : "false ") << Escaped(o.text) << (o.value ? " value=" + Escaped(*o.value) : "");
}

// The model's outcome and the engine's, on one record, text and match case.
template <typename Rec>
std::pair<Outcome, Outcome> RunBoth(RunFixture& f, const Rec& record, const std::string& text, bool matchCase) {
    Rec m = record, e = record;
    Outcome model{false, text, std::nullopt}, engine;
    model.result = Model(model.text, m, matchCase);
    f.run.SetMatchCase(matchCase);
    f.run.SetWorkingText(text);
    engine.result = Engine(f.run, e);
    engine.text = f.run.WorkingText();
    if constexpr (std::is_same_v<Rec, CCmdVar>)
        if (record.kind == K::Extract) model.value = m.newText, engine.value = e.newText;
    return {model, engine};
}

template <typename Rec>
struct Known {
    Rec record;
    const char *text, *expected;
    bool result, matchCase = false;
    std::optional<std::string> value = std::nullopt;
};

template <typename Rec>
void CheckKnown(const std::vector<Known<Rec>>& cases) {
    for (const Known<Rec>& c : cases) {
        SCOPED_TRACE(Describe(c.record) + " on " + Escaped(c.text) + (c.matchCase ? " match case" : ""));
        RunFixture f;
        const auto [model, engine] = RunBoth(f, c.record, c.text, c.matchCase);
        const Outcome expected{c.result, c.expected, c.value};
        EXPECT_EQ(model, expected) << "model";
        EXPECT_EQ(engine, expected) << "engine";
    }
}

TEST(EditingCommands, KnownAnswers) {
    CheckKnown<CCmdVar>({
        {Add("<B>", "<H2>", 2), "<H2>a<H2>b<H2>c", "<H2>a<H2><B>b<H2>c", true},
        {Add("<B>", "<H2>", 0, true), "<H2>a<H2>b", "<B><H2>a<B><H2>b", true},
        {Add("<B>", "<H2>", 5), "<H2>a<H2>b", "<H2>a<H2>b", true},
        {Add("xa", "a", 0), "aa", "axaaxa", true},  // inserted text is not searched again
        {Add("!", "Item!##", 1), "Item1. Item123. Item12. x", "Item1. Item123. Item12.! x", true},
        {Add("!", "Item!##", 1), "Item12", "Item12!", true},  // measured end clamped to the text's end
        {Add("*", "<LI>$$$</LI>", 1), "<LI>x</LI><LI>xy</LI>", "<LI>x</LI><LI>xy</LI>*", true},
        {Add("*", "<li>", 1), "<LI>", "<LI>", false, true},  // match case off in the rows above
        {Del("<!--", "-->", 1), "a<!-- x -->b<!--y-->c", "ab<!--y-->c", true},
        {Del("<!--", "-->", 0), "a<!--x-->b<!--y", "ab<!--y", false},  // removals so far stay made
        {Del("Page!#$$$<BR>", "", 0), "Page7<BR>|Page123 <BR>|Page <BR>", "||Page <BR>", true},
        {Del("<HR>", "", 0), "a<HR>b<hr>c", "ab<hr>c", true, true},
        {Del("<HR>", "", 0), "a<hr>b", "a<hr>b", false, true},
        {Rep("<B>", "<S>", 2), "<B>a<B>b<B>", "<B>a<S>b<B>", true},
        {Rep("<I>", "x", 1), "<B>a<B>", "<B>a<B>", false},
        {Rep("a", "aa", 0), "aXa", "aaXaa", true},
        {Rep("Section!#", "S", 0), "Section1 x Section12 y", "Sx Section12 y", true},
        {Rep("Fig!#$$$:", "F", 0), "Fig7ab: Fig7:", "F Fig7:", true},
        {Rep("<A$$$</A>", "L", 1), "x<A href>y</A>z</A>", "xLz</A>", true},
        {Rep("<b>", "<i>", 0), "<b><B>", "<i><B>", true, true},
        {Ext("<TITLE>", "</TITLE>"), "<TITLE>My Page</TITLE>x", "<TITLE></TITLE>x", true, false, "My Page"},
        {Ext("<TITLE>", "</TITLE>"), "<TITLE>My Page", "<TITLE>My Page", false},
        {Ext("Chapter!##", "|"), "Chapter1 a|Chapter12 b|", "Chapter1 a|Chapter12 |", true, false, "b"},
        // sysdate and systime are never searched for
        {Ext("<T>", "</T>", 1, "1/2/2000"), "<T>x</T>", "<T>x</T>", true, false, "1/2/2000"},
    });
}

TEST(WrapCommand, KnownAnswers) {
    CheckKnown<CWrapper>({
        {{-1, "", "\r\n\r\n", "X.", "<LI>", "</LI>"}, "1. Apples\r\n\r\n2. Pears\r\n\r\n",
         "<LI>1. Apples</LI>\r\n\r\n<LI>2. Pears</LI>\r\n\r\n", true},
        {Wrapper("", "X.", "\r\n"), "1.Apples\r\n", "1.Apples\r\n", false},
        {Wrapper("", "X.", "!"), "see 10. Plums!", "see 1[0. Plums]!", true},
        {Wrapper("", "X.", "\r\n"), "1. never ends", "1. never ends", false},
        {Wrapper("<P>", "", "\n"), "<P>a\n<P>b\n", "[<P>a]\n[<P>b]\n", true},
        {Wrapper("<P>", "X.", "\n"), "<P>1.a\n<P> 2. b\n", "<P>1.a\n[<P> 2. b]\n", true},
        {Wrapper("", "r.", "\n"), "iv. x\n", "i[v. x]\n", true},
        {Wrapper("", "(rr)", "\n"), "(iv) x\n", "[(iv) x]\n", true},
        {Wrapper("", "R.", "\n"), "C. x\nL. y\n", "C. x\n[L. y]\n", true},
        {Wrapper("", "C)", "\n"), "B) x\n b) y\n", "[B) x]\n b) y\n", true},
        {Wrapper("", "", "\n"), "1. x\n", "1. x\n", false},
    });
}

// Formats longer than one word of bits, against the model: near misses by
// one digit, a match after them, and the format's last byte everywhere.
TEST(WrapCommand, LongFormatsAgreeWithTheModel) {
    const std::string digits70(70, '1'), format = std::string(70, 'X') + ".";
    const std::string texts[] = {
        digits70.substr(1) + ". " + digits70 + "1111. x\n", digits70 + ".1. " + digits70 + ". y\n",
        std::string(300, '.') + digits70 + ".\n", "9 " + digits70 + ".." + digits70 + ".\n\n"};
    RunFixture f;
    for (const std::string& text : texts) {
        for (const std::string& longFormat : {format, std::string(130, 'X') + "."}) {
            const auto [model, engine] = RunBoth(f, Wrapper("", longFormat, "\n"), text + text, false);
            EXPECT_EQ(model, engine) << Escaped(text) << " " << longFormat.size();
        }
    }
}

// Outside the model, whose steps never end on an empty lead text: each
// search moves on at least one place.
TEST(EditingCommands, EmptyLeadTextEnds) {
    const std::tuple<CCmdVar, const char*, const char*> cases[] = {
        {Add("*", "!#", 0), "a1b22c3", "a1b*22c*3*"}, {Rep("$$$>", "", 0), "a>b>", ""},
        {Del("!#", "", 0), "a1b22c3", "a2"}};
    RunFixture f;
    for (auto [record, text, expected] : cases) {
        f.run.SetWorkingText(text);
        EXPECT_TRUE(Engine(f.run, record)) << text;
        EXPECT_EQ(f.run.WorkingText(), expected) << text;
    }
}

TEST(EditingCommands, StatusTextsNameTheCommand) {
    RunFixture f;
    CCmdVar records[] = {Add("y", std::string(50, 'p').c_str(), 1), Del("<!--", "-->", 1),
                         Rep("<B>", "<S>", 1), Ext("<T>", "</T>"), Ext("<T>", "</T>", 2, "x")};
    records[3].variableName = std::string(35, 'v');
    CWrapper wrappers[] = {Wrapper("<P>", std::string(35, 'X'), "\n"), Wrapper("<P>", "", "\n"),
                           Wrapper("", "", "\n")};
    f.run.SetWorkingText("x");
    for (CCmdVar& r : records) Engine(f.run, r);
    for (CWrapper& w : wrappers) Engine(f.run, w);
    EXPECT_EQ(f.host.statusTexts,
              (std::vector<std::string>{"Adding -> " + std::string(40, 'p'), "Deleting -> <!--",
                                        "Replacing -> <B>", "Extracting Variable -> " + std::string(30, 'v'),
                                        "Wrapping Para Formats -> " + std::string(30, 'X'),
                                        "Wrapping Para Starting with -> <P>", "Wrapping Paragraphs"}));
}

// ---------------------------------------------------------------------------
// Generated cases.

// The generator's sequence is fixed by the language and no distribution is
// used (their results differ between libraries), so a seed names one case.
class CaseRandom {
public:
    explicit CaseRandom(std::uint64_t seed) : m_engine(seed) {}
    std::size_t Below(std::size_t n) { return static_cast<std::size_t>(m_engine() % n); }
    bool OneIn(std::size_t n) { return Below(n) == 0; }
    char Pick(std::string_view from) { return from[Below(from.size())]; }
    template <typename T>
    const T& Pick(const std::vector<T>& from) { return from[Below(from.size())]; }
    std::string Chars(std::string_view from, std::size_t min, std::size_t max) {
        std::string s;
        for (std::size_t n = min + Below(max - min + 1); n > 0; --n) s += Pick(from);
        return s;
    }

private:
    std::mt19937_64 m_engine;
};

constexpr std::string_view kAlphabet = "!#$0127aAbBxXivIV \r\n.()<>";
constexpr std::string_view kLeadChars = "aAbBxXiv<>.( ";
constexpr std::string_view kTailChars = "aAbB<>.)!#$ ";

// Text that nearly fits a pattern: digit markers become a digit run of about
// the right length, closing markers a few random characters.
std::string Realised(CaseRandom& rnd, const std::string& pattern) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        if (pattern.compare(i, 2, "!#") == 0) {
            std::size_t run = 0;
            for (i += 1; i < pattern.size() && pattern[i] == '#'; ++i) ++run;
            out += rnd.Chars("0123456789", 0, run + 1);
        } else if (pattern.compare(i, 3, "$$$") == 0) {
            out += rnd.Chars(kAlphabet, 0, 3);
            i += 3;
        } else {
            out += pattern[i++];
        }
    }
    return out;
}

// Up to 60 characters, partly of `pieces`, whose letters are sometimes in the
// other case so that match case off is put to work.
std::string Text(CaseRandom& rnd, const std::vector<std::string>& pieces, std::string_view alphabet = kAlphabet) {
    const std::size_t target = rnd.Below(61);
    std::string t;
    while (t.size() < target) {
        const std::size_t choice = rnd.Below(8);
        if (choice < 3 || pieces.empty()) {
            t += rnd.Pick(alphabet);
        } else if (choice == 3) {
            t += rnd.Chars("0123456789", 1, 4);
        } else {
            std::string piece = rnd.Pick(pieces);
            if (rnd.OneIn(3))
                for (char& c : piece)
                    if (((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) && rnd.OneIn(2)) c ^= 0x20;
            t += piece;
        }
    }
    return t.substr(0, 60);
}

std::string AnyPattern(CaseRandom& rnd) {
    const std::string lead = rnd.Chars(kLeadChars, 1, 3);
    const std::string hashes(1 + rnd.Below(3), '#');
    switch (rnd.Below(6)) {
        case 0: return lead;
        case 1: return lead + "!" + hashes + rnd.Chars(kTailChars, 0, 2);
        case 2: return lead + "!" + hashes + "$$$" + rnd.Chars(kTailChars, 0, 3);
        case 3: return lead + "$$$" + rnd.Chars(kTailChars, 0, 3);
        case 4: return "$$$" + rnd.Chars(kTailChars, 0, 3);
        default: return rnd.Chars(kAlphabet, 0, 5);  // markers only by chance
    }
}

// A start or find pattern: its lead text must not be empty.
std::string LeadPattern(CaseRandom& rnd) {
    for (;;) {
        std::string p = AnyPattern(rnd);
        if (!ref::ReadPattern(p, ref::Use::Delete).lead.empty()) return p;
    }
}

std::string Lead(const std::string& pattern) { return ref::ReadPattern(pattern, ref::Use::Add).lead; }

int AnyInstance(CaseRandom& rnd) {
    static const std::vector<int> instances = {0, 1, 1, 2, 5};
    return rnd.Pick(instances);
}

template <typename Rec>
struct Generated { Rec record; std::string text; bool matchCase; };

constexpr int kCases = 5000;

template <typename Rec, typename Make>
void Compare(std::uint64_t firstSeed, Make make) {
    RunFixture f;
    int mismatches = 0, changed = 0, refused = 0;
    for (int i = 0; i < kCases; ++i) {
        const std::uint64_t seed = firstSeed + static_cast<std::uint64_t>(i);
        CaseRandom rnd(seed);
        const Generated<Rec> g = make(rnd);
        const auto [model, engine] = RunBoth(f, g.record, g.text, g.matchCase);
        changed += model.text != g.text;
        refused += !model.result;
        if (!(model == engine) && ++mismatches <= 8)
            ADD_FAILURE() << "seed " << seed << " matchCase=" << g.matchCase << " " << Describe(g.record)
                          << "\n  text     " << Escaped(g.text) << "\n  expected " << model
                          << "\n  engine   " << engine;
    }
    EXPECT_EQ(mismatches, 0) << "cases that differ, of " << kCases;
    // The generator must reach both the changing and the refusing paths often.
    EXPECT_GT(changed, kCases / 5);
    EXPECT_GT(refused, kCases / 40);
}

// Add and Replace: one pattern, a text to put in (sometimes holding the
// pattern, so that a search of it shows), and a working text made partly of
// near-fits of both.
Generated<CCmdVar> FindCase(CaseRandom& rnd, K kind) {
    const std::string pattern = LeadPattern(rnd);
    const bool add = kind == K::Add;
    std::string piece;
    switch (rnd.Below(add ? 4 : 5)) {
        case 0: piece = pattern; break;
        case 1: piece = Lead(pattern) + rnd.Chars(kAlphabet, 0, 2); break;
        case 2: piece = Realised(rnd, pattern); break;
        case 3: piece = rnd.Chars(kAlphabet, 1, 4); break;
        default: break;  // Replace with nothing
    }
    const int instance = AnyInstance(rnd);
    CCmdVar r = Record(kind, pattern, "", instance, piece, add && rnd.OneIn(2));
    const std::vector<std::string> pieces = {Realised(rnd, pattern), Realised(rnd, pattern), Lead(pattern), piece};
    return {r, Text(rnd, pieces), rnd.OneIn(2)};
}

// Delete and Extract: a start and an end pattern; Extract's instance and
// command number are those a rule file gives, predefined variables now and then.
Generated<CCmdVar> StartEndCase(CaseRandom& rnd, K kind) {
    const std::string start = LeadPattern(rnd);
    std::string end = rnd.OneIn(4) ? std::string() : AnyPattern(rnd);
    if (kind == K::Extract && end.empty()) end = rnd.Chars(kLeadChars, 1, 2);
    CCmdVar r = Record(kind, start, end, kind == K::Extract ? 1 : AnyInstance(rnd));
    if (kind == K::Extract) {
        if (rnd.OneIn(4)) r.instance = rnd.OneIn(2) ? 0 : 2;
        r.commandNumber = rnd.OneIn(50) ? 2 : 3 + static_cast<int>(rnd.Below(20));
    }
    const std::vector<std::string> pieces = {Realised(rnd, start), Realised(rnd, start), Realised(rnd, end),
                                             Realised(rnd, end), Lead(start)};
    return {r, Text(rnd, pieces), rnd.OneIn(2)};
}

TEST(CommandEquivalence, AddDeleteExtractReplace) {
    const std::pair<K, std::uint64_t> runs[] = {
        {K::Add, 1'000'000}, {K::Delete, 2'000'000}, {K::Extract, 3'000'000}, {K::Replace, 4'000'000}};
    for (const auto& [kind, seed] : runs) {
        SCOPED_TRACE(static_cast<int>(kind));
        const bool find = kind == K::Add || kind == K::Replace;
        Compare<CCmdVar>(seed, [&](CaseRandom& rnd) { return find ? FindCase(rnd, kind) : StartEndCase(rnd, kind); });
    }
}

// A paragraph number that nearly fits a format.
std::string Number(CaseRandom& rnd, const std::string& format) {
    std::string out;
    for (char e : format) {
        if (rnd.OneIn(12)) continue;
        const std::string_view near = e == 'X' || e == 'x' ? "0123456789" : e == 'C' ? "ABCILVXM"
                                    : e == 'c' ? "abcilvxm" : e == 'R' ? "IVXLCivx" : e == 'r' ? "ivxlcIVX"
                                               : std::string_view(&e, 1);
        out += rnd.Pick(near);
    }
    return out;
}

TEST(CommandEquivalence, Wrap) {
    static const std::vector<std::string> prefixes = {"<P>", "<p>", "a", "A", "<", ".", " ", "x"};
    static const std::vector<std::string> formats = {"X.", "XX.", "(rr)", "C)", "X.X.", "r.",
                                                     "R",  "x",   "c.",   " X", "[X]"};
    static const std::vector<std::string> ends = {"\r\n\r\n", "\r\n", "\n", ".", "<", "", "a"};
    static const std::vector<std::string> inserted = {"<LI>", "</LI>", "", "1. ", "<P>", "iv. "};
    Compare<CWrapper>(5'000'000, [](CaseRandom& rnd) {
        CWrapper w;
        if (!rnd.OneIn(3)) w.numberPrefix = rnd.OneIn(3) ? rnd.Chars(kLeadChars, 1, 2) : rnd.Pick(prefixes);
        if (!rnd.OneIn(3) || (w.numberPrefix.empty() && !rnd.OneIn(30)))
            w.numberFormat = rnd.OneIn(3) ? rnd.Chars("XxCcRr.,:;) ([]{}-", 1, 4) : rnd.Pick(formats);
        w.endOfParagraph = rnd.OneIn(4) ? rnd.Chars(kAlphabet, 1, 2) : rnd.Pick(ends);
        w.textBefore = rnd.OneIn(3) ? rnd.Chars(kAlphabet, 0, 3) : rnd.Pick(inserted);
        w.textAfter = rnd.OneIn(3) ? rnd.Chars(kAlphabet, 0, 3) : rnd.Pick(inserted);
        std::vector<std::string> pieces = {w.endOfParagraph, " ", "\r\n", w.textBefore};
        for (int k = 0; k < 3; ++k) {
            pieces.push_back(Number(rnd, w.numberFormat) + " ");
            pieces.push_back(w.numberPrefix + (rnd.OneIn(2) ? " " : "") + Number(rnd, w.numberFormat));
        }
        return Generated<CWrapper>{w, Text(rnd, pieces, "0127aAbBiIvVxXC.()<> \r\n"), rnd.OneIn(2)};
    });
}

}  // namespace
}  // namespace webquill::test
