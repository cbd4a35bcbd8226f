// The editing commands held against the plain step-by-step model in
// reference_commands.h: first the model against known answers, then the
// engine against the model over thousands of generated cases.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "reference_commands.h"
#include "test_support.h"

namespace webquill::test {
namespace {

namespace ref = webquill::reference;

CCmdVar Record(CommandKind kind, std::string first, std::string second, int instance,
               std::optional<std::string> newText = std::nullopt, bool before = false) {
    return {7, instance, before ? 1 : 0, std::move(second), std::move(first), "", std::move(newText),
            kind};
}

CWrapper Wrapper(std::string prefix, std::string format, std::string end, std::string before,
                 std::string after) {
    return {-1, std::move(prefix), std::move(end), std::move(format), std::move(before),
            std::move(after)};
}

// ---------------------------------------------------------------------------
// The model against known answers.

struct KnownCase {
    CCmdVar record;
    const char* text;
    bool matchCase;
    const char* expected;
    bool result;
};

bool RunModel(std::string& text, CCmdVar& record, bool matchCase) {
    switch (record.kind) {
        case CommandKind::Add: return ref::Add(text, record, matchCase);
        case CommandKind::Delete: return ref::Delete(text, record, matchCase);
        case CommandKind::Replace: return ref::Replace(text, record, matchCase);
        default: return ref::Extract(text, record, matchCase);
    }
}

void CheckKnown(const std::vector<KnownCase>& cases) {
    for (const auto& c : cases) {
        std::string text = c.text;
        CCmdVar record = c.record;
        const bool result = RunModel(text, record, c.matchCase);
        EXPECT_EQ(result, c.result) << record.firstText << " on " << c.text;
        EXPECT_EQ(text, c.expected) << record.firstText << " on " << c.text;
    }
}

CCmdVar Add(const char* added, const char* pattern, int instance, bool before = false) {
    return Record(CommandKind::Add, pattern, "", instance, std::string(added), before);
}
CCmdVar Del(const char* start, const char* end, int instance) {
    return Record(CommandKind::Delete, start, end, instance);
}
CCmdVar Rep(const char* find, const char* with, int instance) {
    return Record(CommandKind::Replace, find, "", instance, std::string(with));
}

TEST(ReferenceCommands, AddKnownAnswers) {
    CheckKnown({
        {Add("<B>", "<H2>", 1), "<H2>a<H2>b<H2>c", false, "<H2><B>a<H2>b<H2>c", true},
        {Add("<B>", "<H2>", 2), "<H2>a<H2>b<H2>c", false, "<H2>a<H2><B>b<H2>c", true},
        {Add("<B>", "<H2>", 0), "<H2>a<H2>b<H2>c", false, "<H2><B>a<H2><B>b<H2><B>c", true},
        {Add("<B>", "<H2>", 0, true), "<H2>a<H2>b", false, "<B><H2>a<B><H2>b", true},
        {Add("<B>", "<H2>", 5), "<H2>a<H2>b", false, "<H2>a<H2>b", true},
        {Add("<B>", "<H3>", 1), "<H2>a", false, "<H2>a", false},
        {Add("xa", "a", 0), "aa", false, "axaaxa", true},
        {Add("!", "Item!##", 1), "Item12. x", false, "Item12.! x", true},
        {Add("!", "Item!##", 1), "Item1. x Item123. x", false, "Item1. x Item123. x", true},
        {Add("*", "<LI>$$$</LI>", 1), "<LI>x</LI>", false, "<LI>x</LI>", true},
        {Add("*", "<LI>$$$</LI>", 1), "<LI>xy</LI>", false, "<LI>xy</LI>*", true},
        {Add("*", "<li>", 1), "<LI>", true, "<LI>", false},
        {Add("*", "<li>", 1), "<LI>", false, "<LI>*", true},
    });
}

TEST(ReferenceCommands, DeleteKnownAnswers) {
    CheckKnown({
        {Del("<!--", "-->", 1), "a<!-- x -->b<!--y-->c", false, "ab<!--y-->c", true},
        {Del("<!--", "-->", 0), "a<!-- x -->b<!--y-->c", false, "abc", true},
        {Del("<!--", "-->", 1), "a<!-- x", false, "a<!-- x", false},
        {Del("<!--", "-->", 2), "<!--a--><!--b", false, "<!--a--><!--b", false},
        {Del("Page!#$$$<BR>", "", 1), "xPage7<BR>y", false, "xy", true},
        {Del("Page!#$$$<BR>", "", 1), "xPage123 <BR>y", false, "xy", true},
        {Del("Page!#$$$<BR>", "", 1), "xPage <BR>y", false, "xPage <BR>y", true},
        {Del("<HR>", "", 0), "a<HR>b<hr>c", false, "abc", true},
        {Del("<HR>", "", 0), "a<HR>b<hr>c", true, "ab<hr>c", true},
        {Del("Nothing", "", 0), "a<HR>b", false, "a<HR>b", false},
    });
}

TEST(ReferenceCommands, ReplaceKnownAnswers) {
    CheckKnown({
        {Rep("<B>", "<STRONG>", 1), "<B>a<B>b<B>", false, "<STRONG>a<B>b<B>", true},
        {Rep("<B>", "<STRONG>", 0), "<B>a<B>b<B>", false, "<STRONG>a<STRONG>b<STRONG>", true},
        {Rep("<B>", "<STRONG>", 2), "<B>a<B>b<B>", false, "<B>a<STRONG>b<B>", true},
        {Rep("<I>", "x", 1), "<B>a<B>", false, "<B>a<B>", false},
        {Rep("<B>", "x", 5), "<B>a<B>", false, "<B>a<B>", true},
        {Rep("a", "aa", 0), "aXa", false, "aaXaa", true},
        {Rep("<B>", "", 0), "<B>a<B>b", false, "ab", true},
        {Rep("Section!#", "S", 1), "Section1 x", false, "Sx", true},
        {Rep("Section!#", "S", 1), "Section12 x", false, "Section12 x", true},
        {Rep("Fig!#$$$:", "F", 1), "Fig7ab: z", false, "F z", true},
        {Rep("Fig!#$$$:", "F", 1), "Fig7: z", false, "Fig7: z", true},
        {Rep("<A$$$</A>", "L", 1), "x<A href>y</A>z</A>", false, "xLz</A>", true},
        {Rep("<b>", "<B>", 0), "<B>x<b>", false, "<B>x<B>", true},
        {Rep("<b>", "<i>", 0), "<B>x", true, "<B>x", false},
    });
}

TEST(ReferenceCommands, ExtractKnownAnswers) {
    struct Case {
        const char* start;
        const char* end;
        const char* text;
        const char* expected;
        bool result;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"<TITLE>", "</TITLE>", "<TITLE>My Page</TITLE>", "<TITLE></TITLE>", true, "My Page"},
        {"<TITLE>", "</TITLE>", "<TITLE>My Page", "<TITLE>My Page", false, std::nullopt},
        {"<TITLE>", "</TITLE>", "</TITLE><HEAD>", "</TITLE><HEAD>", false, std::nullopt},
        {"Chapter!##", "<E>", "Chapter12 One<E>", "Chapter12 <E>", true, "One"},
        {"Chapter!##", "<E>", "Chapter1 a<E>Chapter123 b<E>", "Chapter1 a<E>Chapter123 b<E>",
         true, std::nullopt},
        {"<T>", "</T>", "<T>a</T><T>b</T>", "<T></T><T>b</T>", true, "a"},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        CCmdVar record = Record(CommandKind::Extract, c.start, c.end, 1);
        EXPECT_EQ(ref::Extract(text, record, false), c.result) << c.text;
        EXPECT_EQ(text, c.expected) << c.text;
        EXPECT_EQ(record.newText, c.value) << c.text;
    }
    // The predefined variables are never searched for.
    std::string text = "<TITLE>x</TITLE>";
    CCmdVar sysdate = Record(CommandKind::Extract, "<TITLE>", "</TITLE>", 1, "1/2/2000");
    sysdate.commandNumber = 1;
    EXPECT_TRUE(ref::Extract(text, sysdate, false));
    EXPECT_EQ(text, "<TITLE>x</TITLE>");
    EXPECT_EQ(sysdate.newText, "1/2/2000");
}

TEST(ReferenceCommands, ParagraphFormats) {
    struct Case {
        const char* text;
        const char* format;
        bool matched;
        std::size_t place;  // where a number without white space after it sends the search
    };
    const Case cases[] = {
        {"B) x", "C)", true, 0},  {"b) x", "C)", false, 0},   {"C ", "R", false, 0},
        {"M ", "R", false, 0},    {"X ", "R", true, 0},        {"(iv) ", "(rr)", true, 0},
        {"1.Apples x", "X.", false, 8}, {"12. ", "XX.", true, 0}, {"1.", "X.", false, 2},
        {"7.\t", "X.", true, 0},  {"7.\v", "X.", true, 0},     {"7.\f", "X.", true, 0},
    };
    for (const auto& c : cases) {
        const ref::FormatMatch m = ref::MatchParagraphFormat(c.text, 0, c.format);
        EXPECT_EQ(m.matched, c.matched) << c.format << " on " << c.text;
        EXPECT_EQ(m.place, c.place) << c.format << " on " << c.text;
    }
}

TEST(ReferenceCommands, WrapKnownAnswers) {
    struct Case {
        CWrapper record;
        const char* text;
        const char* expected;
        bool result;
    };
    const Case cases[] = {
        {Wrapper("", "X.", "\r\n\r\n", "<LI>", "</LI>"), "1. Apples\r\n\r\n2. Pears\r\n\r\n",
         "<LI>1. Apples</LI>\r\n\r\n<LI>2. Pears</LI>\r\n\r\n", true},
        {Wrapper("", "X.", "\r\n", "[", "]"), "1.Apples\r\n", "1.Apples\r\n", false},
        {Wrapper("", "X.", "\r\n", "[", "]"), "10. Plums\r\n", "1[0. Plums]\r\n", true},
        {Wrapper("", "X.", "!", "[", "]"), "see 3. below!", "see [3. below]!", true},
        {Wrapper("<P>", "", "\n", "[", "]"), "<P>a\n<P>b\n", "[<P>a]\n[<P>b]\n", true},
        {Wrapper("", "r.", "\n", "[", "]"), "iv. x\n", "i[v. x]\n", true},
        {Wrapper("", "rr.", "\n", "[", "]"), "iv. x\n", "[iv. x]\n", true},
        {Wrapper("", "(rr)", "\n", "[", "]"), "(iv) x\n", "[(iv) x]\n", true},
        {Wrapper("<P>", "X.", "\n", "[", "]"), "<P>1.a\n<P> 2. b\n", "<P>1.a\n[<P> 2. b]\n", true},
        {Wrapper("", "C)", "\n", "[", "]"), "b) x\n", "b) x\n", false},
        {Wrapper("", "", "\n", "[", "]"), "1. x\n", "1. x\n", false},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(ref::Wrap(text, c.record, false), c.result) << c.text;
        EXPECT_EQ(text, c.expected) << c.text;
    }
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

// Letters sometimes in the other case, so that match case off is put to work.
std::string CaseFlipped(CaseRandom& rnd, std::string s) {
    if (rnd.OneIn(3))
        for (char& c : s)
            if (((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) && rnd.OneIn(2)) c ^= 0x20;
    return s;
}

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

std::string Text(CaseRandom& rnd, const std::vector<std::string>& pieces,
                 std::string_view alphabet = kAlphabet) {
    const std::size_t target = rnd.Below(61);
    std::string t;
    while (t.size() < target) {
        const std::size_t choice = rnd.Below(8);
        if (choice < 3 || pieces.empty())
            t += rnd.Pick(alphabet);
        else if (choice == 3)
            t += rnd.Chars("0123456789", 1, 4);
        else
            t += CaseFlipped(rnd, rnd.Pick(pieces));
    }
    if (t.size() > 60) t.resize(60);
    return t;
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

// A text to put in, sometimes holding the pattern so a search of it shows.
std::string PieceToInsert(CaseRandom& rnd, const std::string& pattern, bool mayBeEmpty) {
    switch (rnd.Below(mayBeEmpty ? 5 : 4)) {
        case 0: return pattern;
        case 1: return ref::ReadPattern(pattern, ref::Use::Add).lead + rnd.Chars(kAlphabet, 0, 2);
        case 2: return Realised(rnd, pattern);
        case 3: return rnd.Chars(kAlphabet, 1, 4);
        default: return "";
    }
}

int AnyInstance(CaseRandom& rnd) {
    static const std::vector<int> instances = {0, 1, 1, 2, 5};
    return rnd.Pick(instances);
}

// As a C string literal, so a failing case can be pasted back into a test.
std::string Escaped(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        char buf[8];
        if (c == '\r' || c == '\n' || c == '\t' || c == '"' || c == '\\')
            std::snprintf(buf, sizeof buf, "\\%c",
                          c == '\r' ? 'r' : c == '\n' ? 'n' : c == '\t' ? 't' : c);
        else if (c < 0x20 || c >= 0x7F)
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
        else
            std::snprintf(buf, sizeof buf, "%c", c);
        out += buf;
    }
    return out + "\"";
}

std::string Describe(const CCmdVar& r) {
    return "first=" + Escaped(r.firstText) + " second=" + Escaped(r.secondText) +
           " new=" + (r.newText ? Escaped(*r.newText) : std::string("none")) +
           " instance=" + std::to_string(r.instance) + " before=" + std::to_string(r.before) +
           " number=" + std::to_string(r.commandNumber);
}
std::string Describe(const CWrapper& w) {
    return "prefix=" + Escaped(w.numberPrefix) + " format=" + Escaped(w.numberFormat) +
           " end=" + Escaped(w.endOfParagraph) + " before=" + Escaped(w.textBefore) +
           " after=" + Escaped(w.textAfter);
}

struct Outcome {
    bool result = false;
    std::string text;
    std::optional<std::string> value;
};

// A value left unset and an empty value both read as "no value taken".
bool SameOutcome(const Outcome& a, const Outcome& b) {
    return a.result == b.result && a.text == b.text && a.value.value_or("") == b.value.value_or("");
}

std::string Show(const Outcome& o) {
    return std::string(o.result ? "true " : "false ") + Escaped(o.text) +
           (o.value ? " value=" + Escaped(*o.value) : std::string());
}

// One generated case: the record, the text and the match case it runs with.
template <typename Rec>
struct Generated {
    Rec record;
    std::string text;
    bool matchCase;
};

constexpr int kCases = 5000;

template <typename Rec, typename Make, typename Model, typename Engine>
void Compare(std::uint64_t firstSeed, Make make, Model model, Engine engine) {
    RunFixture f;
    int mismatches = 0, changed = 0, refused = 0;
    for (int i = 0; i < kCases; ++i) {
        const std::uint64_t seed = firstSeed + static_cast<std::uint64_t>(i);
        CaseRandom rnd(seed);
        const Generated<Rec> g = make(rnd);

        Outcome expected{false, g.text, std::nullopt};
        Rec modelRecord = g.record;
        expected.result = model(expected.text, modelRecord, g.matchCase);
        constexpr bool kTakesValue = std::is_same_v<Rec, CCmdVar>;  // Extract fills newText
        if constexpr (kTakesValue)
            if (g.record.kind == CommandKind::Extract) expected.value = modelRecord.newText;

        Rec engineRecord = g.record;
        f.run.SetMatchCase(g.matchCase);
        f.run.SetWorkingText(g.text);
        Outcome actual;
        actual.result = engine(f.run, engineRecord);
        actual.text = f.run.WorkingText();
        if constexpr (kTakesValue)
            if (g.record.kind == CommandKind::Extract) actual.value = engineRecord.newText;

        changed += expected.text != g.text;
        refused += !expected.result;
        if (!SameOutcome(expected, actual) && ++mismatches <= 8)
            ADD_FAILURE() << "seed " << seed << " matchCase=" << g.matchCase << " "
                          << Describe(g.record) << "\n  text     " << Escaped(g.text)
                          << "\n  expected " << Show(expected) << "\n  engine   " << Show(actual);
    }
    EXPECT_EQ(mismatches, 0) << "cases that differ, of " << kCases;
    // The generator must reach both the changing and the refusing paths often.
    EXPECT_GT(changed, kCases / 5);
    EXPECT_GT(refused, kCases / 40);
}

// An Add or a Replace: one pattern, a text to put in, and a working text made
// partly of near-fits of the pattern and of the text put in.
Generated<CCmdVar> FindCase(CaseRandom& rnd, CommandKind kind) {
    const std::string pattern = LeadPattern(rnd);
    const bool add = kind == CommandKind::Add;
    CCmdVar r = Record(kind, pattern, "", AnyInstance(rnd), PieceToInsert(rnd, pattern, !add),
                       add && rnd.OneIn(2));
    const std::vector<std::string> pieces = {Realised(rnd, pattern), Realised(rnd, pattern),
                                             ref::ReadPattern(pattern, ref::Use::Add).lead,
                                             *r.newText};
    return {r, Text(rnd, pieces), rnd.OneIn(2)};
}

TEST(CommandEquivalence, Add) {
    Compare<CCmdVar>(
        1'000'000, [](CaseRandom& rnd) { return FindCase(rnd, CommandKind::Add); }, ref::Add,
        [](CPublishingRun& run, CCmdVar& r) { return run.AddCommand(r); });
}

TEST(CommandEquivalence, Replace) {
    Compare<CCmdVar>(
        4'000'000, [](CaseRandom& rnd) { return FindCase(rnd, CommandKind::Replace); },
        ref::Replace, [](CPublishingRun& run, CCmdVar& r) { return run.ReplaceCommand(r); });
}

Generated<CCmdVar> StartEndCase(CaseRandom& rnd, CommandKind kind) {
    const std::string start = LeadPattern(rnd);
    std::string end = rnd.OneIn(4) ? std::string() : AnyPattern(rnd);
    if (kind == CommandKind::Extract && end.empty()) end = rnd.Chars(kLeadChars, 1, 2);
    CCmdVar r = Record(kind, start, end, kind == CommandKind::Extract ? 1 : AnyInstance(rnd));
    if (kind == CommandKind::Extract) {
        if (rnd.OneIn(4)) r.instance = rnd.OneIn(2) ? 0 : 2;
        r.commandNumber = rnd.OneIn(50) ? 2 : 3 + static_cast<int>(rnd.Below(20));
    }
    const std::vector<std::string> pieces = {Realised(rnd, start), Realised(rnd, start),
                                             Realised(rnd, end), Realised(rnd, end),
                                             ref::ReadPattern(start, ref::Use::Delete).lead};
    return {r, Text(rnd, pieces), rnd.OneIn(2)};
}

TEST(CommandEquivalence, Delete) {
    Compare<CCmdVar>(
        2'000'000, [](CaseRandom& rnd) { return StartEndCase(rnd, CommandKind::Delete); },
        ref::Delete, [](CPublishingRun& run, CCmdVar& r) { return run.DeleteCommand(r); });
}

TEST(CommandEquivalence, Extract) {
    Compare<CCmdVar>(
        3'000'000, [](CaseRandom& rnd) { return StartEndCase(rnd, CommandKind::Extract); },
        ref::Extract, [](CPublishingRun& run, CCmdVar& r) { return run.ExtractCommand(r); });
}

// A paragraph number that nearly fits a format.
std::string Number(CaseRandom& rnd, const std::string& format) {
    std::string out;
    for (char e : format) {
        if (rnd.OneIn(12)) continue;
        const std::string_view near = e == 'X' || e == 'x' ? "0123456789"
                                      : e == 'C'              ? "ABCILVXM"
                                      : e == 'c'              ? "abcilvxm"
                                      : e == 'R'              ? "IVXLCivx"
                                      : e == 'r'              ? "ivxlcIVX"
                                                              : std::string_view(&e, 1);
        out += rnd.Pick(near);
    }
    return out;
}

TEST(CommandEquivalence, Wrap) {
    static const std::vector<std::string> prefixes = {"<P>", "<p>", "a", "A", "<", ".", " ", "x"};
    static const std::vector<std::string> formats = {"X.", "XX.", "(rr)", "C)", "X.X.", "r.",
                                                     "R", "x", "c.", " X", "[X]"};
    static const std::vector<std::string> ends = {"\r\n\r\n", "\r\n", "\n", ".", "<", "", "a"};
    static const std::vector<std::string> inserted = {"<LI>", "</LI>", "", "1. ", "<P>", "iv. "};
    Compare<CWrapper>(
        5'000'000,
        [](CaseRandom& rnd) {
            CWrapper w;
            if (!rnd.OneIn(3))
                w.numberPrefix = rnd.OneIn(3) ? rnd.Chars(kLeadChars, 1, 2) : rnd.Pick(prefixes);
            if (!rnd.OneIn(3) || (w.numberPrefix.empty() && !rnd.OneIn(30)))
                w.numberFormat =
                    rnd.OneIn(3) ? rnd.Chars("XxCcRr.,:;) ([]{}-", 1, 4) : rnd.Pick(formats);
            w.endOfParagraph = rnd.OneIn(4) ? rnd.Chars(kAlphabet, 1, 2) : rnd.Pick(ends);
            w.textBefore = rnd.OneIn(3) ? rnd.Chars(kAlphabet, 0, 3) : rnd.Pick(inserted);
            w.textAfter = rnd.OneIn(3) ? rnd.Chars(kAlphabet, 0, 3) : rnd.Pick(inserted);
            std::vector<std::string> pieces = {w.endOfParagraph, " ", "\r\n", w.textBefore};
            for (int k = 0; k < 3; ++k) {
                pieces.push_back(Number(rnd, w.numberFormat) + " ");
                pieces.push_back(w.numberPrefix + (rnd.OneIn(2) ? " " : "") +
                                 Number(rnd, w.numberFormat));
            }
            return Generated<CWrapper>{w, Text(rnd, pieces, "0127aAbBiIvVxXC.()<> \r\n"),
                                       rnd.OneIn(2)};
        },
        ref::Wrap, [](CPublishingRun& run, CWrapper& w) { return run.WrapCommand(w); });
}

}  // namespace
}  // namespace webquill::test
