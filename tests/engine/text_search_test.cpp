// Pattern search, the small text primitives, password scrambling and the
// run's date and time texts.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "password_scrambling.h"
#include "system_date.h"
#include "text_search.h"

namespace webquill {
namespace {

// The obvious search, folding only A to Z when match case is off.
std::size_t NaiveFind(std::string_view text, std::string_view pattern, bool matchCase,
                      std::size_t from) {
    if (from > text.size()) return kNotFound;
    auto fold = [matchCase](char c) {
        const auto u = static_cast<unsigned char>(c);
        return (!matchCase && u >= 'A' && u <= 'Z') ? u + 32 : u;
    };
    for (std::size_t i = from; i + pattern.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < pattern.size() && fold(text[i + k]) == fold(pattern[k])) ++k;
        if (k == pattern.size()) return i;
    }
    return kNotFound;
}

struct SearchCase {
    std::string text;
    std::string pattern;
    bool matchCase;
    std::size_t from;
    std::size_t expected;
};

TEST(FindPattern, Table) {
    const std::string filler(40, '.');  // long enough for the block-wise scan
    const std::vector<SearchCase> cases = {
        {"Hello World", "world", false, 0, 6},
        {"Hello World", "world", true, 0, kNotFound},
        {"Hello World", "World", true, 0, 6},
        {"abc ABC", "ABC", true, 0, 4},
        {"abc ABC", "ABC", false, 0, 0},
        {"&header:", "&Header", false, 0, 0},
        {"&header:", "&Header", true, 0, kNotFound},
        // Only A-Z fold: these pairs differ by 32 like letters do, but are not letters.
        {"x[y@_", "{", false, 0, kNotFound},
        {"x[y@_", "`", false, 0, kNotFound},
        {"x[y@_", "\x7f", false, 0, kNotFound},
        {filler + "[@]" + filler, "{`}", false, 0, kNotFound},
        // Bytes of 128 and above compare exactly (A and a with diaeresis).
        {"\xC4rger", "\xE4rger", false, 0, kNotFound},
        {"x\xC4rger", "\xC4RGER", false, 0, 1},
        {filler + "\xC4" + "B" + filler, "\xE4" "b", false, 0, kNotFound},
        {filler + "\xC4" + "B" + filler, "\xC4" "b", false, 0, 40},
        // Single bytes: the earlier of either case wins.
        {"Ba", "b", false, 0, 0},
        {"aB", "b", false, 0, 1},
        {"xaxA", "A", true, 0, 3},
        {"xaxA", "A", false, 0, 1},
        // Empty pattern and offsets.
        {"abc", "", false, 0, 0},
        {"abc", "", true, 2, 2},
        {"abc", "", false, 3, 3},
        {"abc", "", false, 4, kNotFound},
        {"abcabc", "abc", false, 1, 3},
        {"abcabc", "abc", false, 4, kNotFound},
        {"abcabc", "c", true, 6, kNotFound},
        {"ab", "abc", false, 0, kNotFound},
        {"", "a", false, 0, kNotFound},
        {filler + "Needle" + filler, "nEEDLE", false, 3, 40},
        {filler + "Needle", "needle", false, 0, 40},
    };
    for (const SearchCase& c : cases) {
        SCOPED_TRACE("text '" + c.text + "' pattern '" + c.pattern + "' from " +
                     std::to_string(c.from) + (c.matchCase ? " match case" : ""));
        EXPECT_EQ(FindPattern(c.text, c.pattern, c.matchCase, c.from), c.expected);
        EXPECT_EQ(NaiveFind(c.text, c.pattern, c.matchCase, c.from), c.expected);
    }
}

// Random texts over small alphabets, where near matches are everywhere, compared
// place by place with the obvious search; every occurrence is enumerated with
// one prepared searcher.
TEST(FindPattern, AgreesWithNaiveSearchOnRandomTexts) {
    const std::vector<std::string> alphabets = {"ab", "aA", "aAbB", "a\xE1", "xX[{", "abc\n"};
    std::mt19937 random(20240611);
    for (int round = 0; round < 3000; ++round) {
        const std::string& alphabet = alphabets[round % alphabets.size()];
        auto pick = [&](std::size_t length) {
            std::string s;
            for (std::size_t i = 0; i < length; ++i) s += alphabet[random() % alphabet.size()];
            return s;
        };
        std::string text = pick(random() % 300);
        std::string pattern = pick(1 + random() % 12);
        if (round % 5 == 0 && !text.empty()) {  // a pattern that certainly occurs
            const std::size_t at = random() % text.size();
            pattern = text.substr(at, 1 + random() % 20);
        }
        const bool matchCase = round % 2 == 0;
        const CPatternSearcher searcher(pattern, matchCase);
        SCOPED_TRACE("round " + std::to_string(round));
        std::size_t from = 0;
        for (;;) {
            const std::size_t expected = NaiveFind(text, pattern, matchCase, from);
            ASSERT_EQ(searcher.Find(text, from), expected)
                << "text '" << text << "' pattern '" << pattern << "' from " << from;
            ASSERT_EQ(FindPattern(text, pattern, matchCase, from), expected);
            if (expected == kNotFound) break;
            from = expected + 1;
        }
    }
}

// Periodic texts and patterns make the skip search compare a lot for little
// progress; the answers must still be the same.
TEST(FindPattern, PeriodicTextsAndPatterns) {
    struct Periodic {
        std::string unit;
        std::size_t repeats;
        std::string patternUnit;
        std::size_t patternRepeats;
        std::string patternTail;
    };
    // Each pattern keeps its first and last bytes common in the text and
    // differs only late, so nearly every place is a candidate.
    const std::vector<Periodic> cases = {
        {"a", 3000, "a", 100, "ba"},      {"a", 3000, "a", 100, ""},
        {"ab", 2000, "ab", 60, "aab"},    {"ab", 2000, "ab", 60, "a"},
        {"aA", 2000, "Aa", 50, "aBa"},    {"abc", 1500, "abc", 40, "abdabc"},
        {"aab", 1000, "aab", 30, "aaab"}, {"a\xE1", 1500, "a\xE1", 30, "\xC1" "a\xE1"},
    };
    for (const Periodic& c : cases) {
        std::string text;
        for (std::size_t i = 0; i < c.repeats; ++i) text += c.unit;
        std::string pattern;
        for (std::size_t i = 0; i < c.patternRepeats; ++i) pattern += c.patternUnit;
        pattern += c.patternTail;
        for (const std::string& t : {text, text + pattern, text + pattern + text}) {
            for (bool matchCase : {false, true}) {
                SCOPED_TRACE("unit '" + c.unit + "' tail '" + c.patternTail + "' text length " +
                             std::to_string(t.size()) + (matchCase ? " match case" : ""));
                const CPatternSearcher searcher(pattern, matchCase);
                for (std::size_t from : {std::size_t{0}, std::size_t{1}, std::size_t{777},
                                         t.size() - pattern.size() - 1}) {
                    ASSERT_EQ(searcher.Find(t, from), NaiveFind(t, pattern, matchCase, from));
                }
            }
        }
    }
}

TEST(FindPattern, LongPatterns) {
    std::mt19937 random(7);
    std::string text;
    for (int i = 0; i < 200000; ++i) text += static_cast<char>('a' + random() % 3);
    for (std::size_t length : {std::size_t{17}, std::size_t{300}, std::size_t{4096}}) {
        const std::size_t at = text.size() - length - 5;
        std::string pattern = text.substr(at, length);
        SCOPED_TRACE("pattern length " + std::to_string(length));
        EXPECT_EQ(FindPattern(text, pattern, true), NaiveFind(text, pattern, true, 0));
        for (char& c : pattern) c = static_cast<char>(c - 'a' + 'A');
        EXPECT_EQ(FindPattern(text, pattern, false), NaiveFind(text, pattern, false, 0));
        EXPECT_EQ(FindPattern(text, pattern, true), kNotFound);
    }
    // A run of one letter and a pattern that fails only near its end: the answer
    // comes back promptly instead of after a comparison per place and pattern byte.
    const std::string run(2000000, 'a');
    const std::string late = std::string(20000, 'a') + "ba";
    const std::string lateUpper = std::string(20000, 'A') + "BA";
    EXPECT_EQ(FindPattern(run, late, false), kNotFound);
    EXPECT_EQ(FindPattern(run + late, late, false), run.size());
    EXPECT_EQ(FindPattern(run + late, lateUpper, false), run.size());
    EXPECT_EQ(FindPattern(run + late, lateUpper, true), kNotFound);
}

TEST(FindExact, AlwaysComparesBytesExactly) {
    EXPECT_EQ(FindExact("aA", "A"), 1u);
    EXPECT_EQ(FindExact("Header", "header"), kNotFound);
    EXPECT_EQ(FindExact("a && b && c", "&&", 3), 7u);
    EXPECT_EQ(FindExact("abc", "", 3), 3u);
    EXPECT_EQ(FindExact("abc", "a", 4), kNotFound);
}

TEST(TrimBlanks, Table) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"  a b \t\r\n", "a b"},
        {"\v\f x\v\f", "x"},
        {" \t\r\n\v\f", ""},
        {"", ""},
        {"a", "a"},
        {"\xA0x\xA0", "\xA0x\xA0"},  // a no-break space byte is not white space
        {"\r\nline one\r\nline two\r\n", "line one\r\nline two"},
    };
    for (const auto& [in, out] : cases) {
        std::string text = in;
        TrimBlanks(text);
        EXPECT_EQ(text, out) << "'" << in << "'";
    }
}

TEST(FirstLineEnd, Table) {
    struct Case {
        std::string text;
        std::size_t position;
        LineEndKind kind;
    };
    const std::vector<Case> cases = {
        {"abc\ndef", 3, LineEndKind::LF},  {"abc\r\ndef\n", 3, LineEndKind::CRLF},
        {"abc", 3, LineEndKind::None},     {"", 0, LineEndKind::None},
        {"\nabc", 0, LineEndKind::LF},     {"\r\nabc", 0, LineEndKind::CRLF},
        {"a\rb\n", 3, LineEndKind::LF},    {"abc\r", 4, LineEndKind::None},
        {"ab\n\r\n", 2, LineEndKind::LF},
    };
    for (const Case& c : cases) {
        const LineEnd end = FirstLineEnd(c.text);
        EXPECT_EQ(end.position, c.position) << "'" << c.text << "'";
        EXPECT_EQ(end.kind, c.kind) << "'" << c.text << "'";
    }
}

TEST(LineBreakMarker, MarkAndExpand) {
    const std::vector<std::pair<std::string, std::string>> marked = {
        {"a\r\nb\r\n", "a!$b!$"}, {"a\nb\rc", "a\nb\rc"}, {"\r\r\n\n", "\r!$\n"}, {"", ""}};
    for (const auto& [in, out] : marked) {
        std::string text = in;
        MarkLineBreaks(text);
        EXPECT_EQ(text, out);
    }
    struct Expand {
        std::string in;
        std::string lf;
        std::string crlf;
    };
    const std::vector<Expand> expanded = {
        {"a!$b", "a\nb", "a\r\nb"},
        {"!$!$", "\n\n", "\r\n\r\n"},
        {"!!$$", "!\n$", "!\r\n$"},
        {"a!b$", "a!b$", "a!b$"},
        {"a\nb\rc", "a\nb\rc", "a\nb\rc"},
    };
    for (const Expand& e : expanded) {
        std::string lf = e.in, crlf = e.in;
        ExpandLineBreaks(lf, true);
        ExpandLineBreaks(crlf, false);
        EXPECT_EQ(lf, e.lf) << "'" << e.in << "'";
        EXPECT_EQ(crlf, e.crlf) << "'" << e.in << "'";
    }
}

TEST(LineBreakMarker, CommandTextsFollowTheSourceLineEnds) {
    struct Case {
        std::string in;
        std::string lfOnly;
        std::string crlf;
    };
    const std::vector<Case> cases = {
        {"a!$b", "a\nb", "a\r\nb"},
        {"a\r\nb!$c", "a\nb\nc", "a\r\nb\r\nc"},
        {"a\nb", "a\nb", "a\nb"},  // a bare LF stays as it is
        {"a\rb", "a\rb", "a\rb"},  // and so does a bare CR
        {"<p>\r\n\r\n</p>", "<p>\n\n</p>", "<p>\r\n\r\n</p>"},
    };
    for (const Case& c : cases) {
        std::string lf = c.in, crlf = c.in;
        ConvertCommandLineBreaks(lf, true);
        ConvertCommandLineBreaks(crlf, false);
        EXPECT_EQ(lf, c.lfOnly) << "'" << c.in << "'";
        EXPECT_EQ(crlf, c.crlf) << "'" << c.in << "'";
    }
}

TEST(PasswordScrambling, PrintableTextRoundTrips) {
    std::string all;
    for (int c = 32; c <= 126; ++c) all += static_cast<char>(c);
    for (const std::string& plain : {std::string(), std::string("x"), std::string("pass word 1"),
                                     std::string("  trailing  "), all}) {
        const std::string scrambled = ScramblePassword(plain);
        ASSERT_EQ(scrambled.size(), plain.size());
        for (char c : scrambled) EXPECT_GT(static_cast<unsigned char>(c), 128) << plain;
        EXPECT_EQ(UnscramblePassword(scrambled), plain);
    }
}

TEST(PasswordScrambling, PlainTextReadsBackUnchanged) {
    std::string low;
    for (int c = 1; c <= 128; ++c) low += static_cast<char>(c);
    EXPECT_EQ(UnscramblePassword(low), low);
    EXPECT_EQ(UnscramblePassword("secret"), "secret");
    // Plain characters do not move the key on.
    EXPECT_EQ(UnscramblePassword("x-" + ScramblePassword("abcdefghij")), "x-abcdefghij");
    // Both work on at most 4095 characters.
    const std::string longest(5000, 'p');
    EXPECT_EQ(ScramblePassword(longest).size(), 4095u);
    EXPECT_EQ(UnscramblePassword(ScramblePassword(longest)), std::string(4095, 'p'));
}

std::tm Moment(int year, int month, int day, int hour, int minute) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    return t;
}

TEST(SystemDate, UsAndOtherDisplay) {
    struct Case {
        std::tm when;
        const char* usDate;
        const char* usTime;
        const char* date;
        const char* time;
    };
    const std::vector<Case> cases = {
        {Moment(1999, 12, 5, 0, 15), "12/05/99", "00:15 AM", "Dec. 05, 1999", "00:15"},
        {Moment(2000, 1, 1, 12, 30), "01/01/00", "12:30 PM", "Jan. 01, 2000", "12:30"},
        {Moment(2000, 1, 1, 13, 5), "01/01/00", "01:05 PM", "Jan. 01, 2000", "13:05"},
        {Moment(2024, 7, 31, 11, 59), "07/31/24", "11:59 AM", "Jly. 31, 2024", "11:59"},
        {Moment(1987, 9, 9, 23, 0), "09/09/87", "11:00 PM", "Spt. 09, 1987", "23:00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatSysDate(c.when, true), c.usDate);
        EXPECT_EQ(FormatSysTime(c.when, true), c.usTime);
        EXPECT_EQ(FormatSysDate(c.when, false), c.date);
        EXPECT_EQ(FormatSysTime(c.when, false), c.time);
    }
}

// Sets environment variables for one test and puts the old values back.
class ScopedEnvironment {
public:
    void Set(const char* name, const char* value) {
        const char* old = std::getenv(name);
        m_saved.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
        setenv(name, value, 1);
        tzset();
    }
    ~ScopedEnvironment() {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            if (it->second) setenv(it->first.c_str(), it->second->c_str(), 1);
            else unsetenv(it->first.c_str());
        }
        tzset();
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

TEST(SystemDate, RunLocalTimeHonoursSourceDateEpoch) {
    ScopedEnvironment environment;
    environment.Set("TZ", "UTC");
    environment.Set("SOURCE_DATE_EPOCH", "944352900");  // 1999-12-05 00:15:00 UTC
    std::tm when = RunLocalTime();
    EXPECT_EQ(FormatSysDate(when, true), "12/05/99");
    EXPECT_EQ(FormatSysTime(when, true), "00:15 AM");

    environment.Set("SOURCE_DATE_EPOCH", "946729800");  // 2000-01-01 12:30:00 UTC
    when = RunLocalTime();
    EXPECT_EQ(FormatSysDate(when, false), "Jan. 01, 2000");
    EXPECT_EQ(FormatSysTime(when, false), "12:30");

    // Not a number: the clock is used.
    environment.Set("SOURCE_DATE_EPOCH", "yesterday");
    const std::time_t now = std::time(nullptr);
    when = RunLocalTime();
    std::tm expected = *std::gmtime(&now);
    EXPECT_EQ(when.tm_year, expected.tm_year);
    EXPECT_EQ(when.tm_yday, expected.tm_yday);
}

}  // namespace
}  // namespace webquill
