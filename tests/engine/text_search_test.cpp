// Pattern search, password scrambling and the date and time texts of a run.
#include <gtest/gtest.h>

#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "engine/password_scrambling.h"
#include "engine/system_date.h"
#include "engine/text_search.h"

namespace webquill {
namespace {

// The obvious search, folding only A to Z when match case is off.
std::size_t NaiveFind(std::string_view text, std::string_view pattern, bool matchCase, std::size_t from) {
    auto fold = [matchCase](char c) {
        const auto u = static_cast<unsigned char>(c);
        return (!matchCase && u >= 'A' && u <= 'Z') ? u + 32 : u;
    };
    for (std::size_t i = from; i <= text.size() && pattern.size() <= text.size() - i; ++i) {
        std::size_t k = 0;
        while (k < pattern.size() && fold(text[i + k]) == fold(pattern[k])) ++k;
        if (k == pattern.size()) return i;
    }
    return kNotFound;
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
        const std::string text = pick(random() % 300);
        std::string pattern = pick(1 + random() % 12);
        if (round % 5 == 0 && !text.empty()) pattern = text.substr(random() % text.size(), 1 + random() % 20);
        const bool matchCase = round / alphabets.size() % 2 == 0;  // each alphabet both ways
        const CPatternSearcher searcher(pattern, matchCase);
        for (std::size_t from = 0;;) {
            const std::size_t expected = NaiveFind(text, pattern, matchCase, from);
            ASSERT_EQ(searcher.Find(text, from), expected)
                << "round " << round << " text '" << text << "' pattern '" << pattern << "' from " << from;
            ASSERT_EQ(FindPattern(text, pattern, matchCase, from), expected);
            if (expected == kNotFound) break;
            from = expected + 1;
        }
    }
    EXPECT_EQ(FindPattern("Hello World", "world", true), kNotFound);
    EXPECT_EQ(FindExact("a && b && C", "&& c"), kNotFound);  // always byte for byte, from where it is told
    EXPECT_EQ(FindExact("a && b && c", "&&", 3), 7u);
}

TEST(FindPattern, LongPatterns) {
    std::mt19937 random(7);
    std::string text;
    for (int i = 0; i < 200000; ++i) text += static_cast<char>('a' + random() % 3);
    for (std::size_t length : {std::size_t{17}, std::size_t{300}, std::size_t{4096}}) {
        std::string pattern = text.substr(text.size() - length - 5, length);
        SCOPED_TRACE("pattern length " + std::to_string(length));
        EXPECT_EQ(FindPattern(text, pattern, true), NaiveFind(text, pattern, true, 0));
        for (char& c : pattern) c = static_cast<char>(c - 'a' + 'A');
        EXPECT_EQ(FindPattern(text, pattern, false), NaiveFind(text, pattern, false, 0));
        EXPECT_EQ(FindPattern(text, pattern, true), kNotFound);
    }
    // A run of one letter and a periodic pattern that fails only near its end: the
    // answer comes back promptly instead of after a comparison per place and byte.
    const std::string run(2000000, 'a');
    const std::string late = std::string(20000, 'a') + "ba";
    const std::string lateUpper = std::string(20000, 'A') + "BA";
    EXPECT_EQ(FindPattern(run, late, false), kNotFound);
    EXPECT_EQ(FindPattern(run + late, late, false), run.size());
    EXPECT_EQ(FindPattern(run + late, lateUpper, false), run.size());
    EXPECT_EQ(FindPattern(run + late, lateUpper, true), kNotFound);
}

TEST(PasswordScrambling, RoundTripsAndReadsPlainTextBackUnchanged) {
    std::string printable, low;
    for (int c = 32; c <= 126; ++c) printable += static_cast<char>(c);
    for (int c = 1; c <= 128; ++c) low += static_cast<char>(c);
    const std::string scrambled = ScramblePassword(printable);
    ASSERT_EQ(scrambled.size(), printable.size());
    for (char c : scrambled) EXPECT_GT(static_cast<unsigned char>(c), 128);
    EXPECT_EQ(UnscramblePassword(scrambled), printable);
    EXPECT_EQ(UnscramblePassword(low), low);
    EXPECT_EQ(UnscramblePassword("x-" + ScramblePassword("abcdefghij")), "x-abcdefghij");  // plain bytes keep the key
    // Both work on at most 4095 characters.
    EXPECT_EQ(UnscramblePassword(ScramblePassword(std::string(5000, 'p'))), std::string(4095, 'p'));
}

TEST(SystemDate, UsAndOtherDisplay) {
    const struct {
        int year, month, day, hour, minute;
        const char* shown;  // U.S. date and time, then the other display's
    } cases[] = {
        {1999, 12, 5, 0, 15, "12/05/99 00:15 AM|Dec. 05, 1999 00:15"},
        {2000, 1, 1, 12, 5, "01/01/00 12:05 PM|Jan. 01, 2000 12:05"},
        {2024, 7, 31, 13, 59, "07/31/24 01:59 PM|Jly. 31, 2024 13:59"},
        {1987, 9, 9, 23, 0, "09/09/87 11:00 PM|Spt. 09, 1987 23:00"},
    };
    for (const auto& c : cases) {
        std::tm t{};
        t.tm_year = c.year - 1900, t.tm_mon = c.month - 1, t.tm_mday = c.day, t.tm_hour = c.hour, t.tm_min = c.minute;
        EXPECT_EQ(FormatSysDate(t, true) + " " + FormatSysTime(t, true) + "|" + FormatSysDate(t, false) + " " +
                      FormatSysTime(t, false),
                  c.shown);
    }
}

}  // namespace
}  // namespace webquill
