// The Wrap command line: its parts, the number-format decoding and its errors.
#include <gtest/gtest.h>

#include "test_support.h"

namespace webquill::test {
namespace {

struct DecodeCase {
    const char* commandText;
    const char* prefix;
    const char* format;
};

class WrapDecode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(WrapDecode, GivesPrefixAndFormat) {
    RunFixture f;
    ASSERT_TRUE(f.run.ParseWrapCommand(GetParam().commandText));
    ASSERT_EQ(f.document.wrappers.Size(), 1u);
    const CWrapper& w = f.document.wrappers.At(0);
    EXPECT_EQ(w.numberPrefix, GetParam().prefix);
    EXPECT_EQ(w.numberFormat, GetParam().format);
    EXPECT_EQ(w.wrapNumber, 1);
    EXPECT_TRUE(f.host.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Formats, WrapDecode,
    ::testing::Values(DecodeCase{"X!.!X!.!!...!</P>!with start!<LI>!end!</LI>", "", "X.X."},
                      DecodeCase{"!(!rr!)!!...!x!with start!a!end!b", "", "(rr)"},
                      DecodeCase{"C!)!!...!x!with start!a!end!b", "", "C)"},
                      DecodeCase{"  X!.!!...!x!with start!a!end!b", "", "X."},
                      DecodeCase{"(X)!...!x!with start!a!end!b", "", ""},
                      DecodeCase{"<P>!***!!...!x!with start!a!end!b", "<P>", ""},
                      DecodeCase{"<P>!***!XX!.!!...!x!with start!a!end!b", "<P>", "XX."},
                      // a '!' not followed by a delimiter ends the format quietly
                      DecodeCase{"X!a!...!x!with start!a!end!b", "", "X"},
                      DecodeCase{"!(-!  x!)!!...!x!with start!a!end!b", "", "(-x)"}));

TEST(WrapParse, KeepsItsTextsUntrimmedInTheirOrder) {
    RunFixture f;
    ASSERT_TRUE(f.run.ParseWrapCommand("X!.!!...! </P>!with start! <LI> !end! </LI>"));
    const CWrapper& w = f.document.wrappers.At(0);
    EXPECT_EQ(w.endOfParagraph, " </P>");
    EXPECT_EQ(w.textBefore, " <LI> ");
    EXPECT_EQ(w.textAfter, " </LI>");
}

TEST(WrapParse, LineBreakMarkersFollowTheSource) {
    for (bool lfOnly : {false, true}) {
        RunFixture f;
        f.run.SetLfOnly(lfOnly);
        ASSERT_TRUE(f.run.ParseWrapCommand("X!.!!...!!$!$!with start!<LI>!end!</LI>!$"));
        const std::string br = lfOnly ? "\n" : "\r\n";
        EXPECT_EQ(f.document.wrappers.At(0).endOfParagraph, br + br);
        EXPECT_EQ(f.document.wrappers.At(0).textAfter, "</LI>" + br);
    }
}

struct ErrorCase {
    const char* commandText;
    const char* box;
    const char* logLine;
    bool logBeforeBox;
};

class WrapErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(WrapErrors, ReportsAndAppendsNothing) {
    RunFixture f;
    EXPECT_FALSE(f.run.ParseWrapCommand(GetParam().commandText));
    EXPECT_TRUE(f.document.wrappers.Empty());
    ASSERT_EQ(f.host.boxes.size(), 1u);
    EXPECT_EQ(f.host.boxes[0].kind, BoxKind::Note);
    EXPECT_EQ(f.host.boxes[0].text, std::string("'Wrap' Command Error:\n") + GetParam().box);
    ASSERT_EQ(f.document.logLines.size(), 1u);
    EXPECT_EQ(f.document.logLines[0], GetParam().logLine);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, WrapErrors,
    ::testing::Values(
        ErrorCase{"X!.!x!with start!a!end!b", "!...! is missing in line!",
                  "***> 'Wrap' Command Error: !...! is missing in line!", false},
        ErrorCase{"X!.!!...!x!end!b", "'!with start! ' is missing in line!",
                  "***> 'Wrap' Command Error: '!with start! ' is missing in line!", false},
        ErrorCase{"X!.!!...!x!with start!a", "'!end! ' is missing in line!",
                  "***> 'Wrap' Command Error: !end! ' is missing in line!", false},
        ErrorCase{"!a!X!...!x!with start!a!end!b",
                  "'!' not allowed in format area\nunless its used as a delimiter indicator!\n'a' "
                  "follows '!'.  Can't continue!",
                  "***> 'Wrap' Command Error: '!' not allowed in wrap format area unless its used "
                  "as a delimiter indicator!",
                  false},
        ErrorCase{"!(X!...!x!with start!a!end!b",
                  "'X' is not a valid delimiter character!\ndelimiter must be defined as "
                  "!ddd!\nWhere each d is a valid delimiter character.\n'Can't continue!",
                  "***> 'Wrap' Command Error: 'Wrap' Command Error:\n'X' is not a valid delimiter "
                  "character!",
                  true},
        ErrorCase{"!((((((((((!X!...!x!with start!a!end!b",
                  "'(' is not a valid delimiter character!\ndelimiter must be defined as "
                  "!ddd!\nWhere each d is a valid delimiter character.\n'Can't continue!",
                  "***> 'Wrap' Command Error: 'Wrap' Command Error:\n'(' is not a valid delimiter "
                  "character!",
                  true},
        ErrorCase{"!(!  !...!x!with start!a!end!b",
                  "Don't know how to interrupt:\n!(!  \nfollowing first delimiter indicator "
                  "'!'.\nCan't continue!",
                  "***> 'Wrap' Command Error: Don't know how to interrupt paragraph format!", false},
        ErrorCase{"X!.a!!...!x!with start!a!end!b",
                  "'!' is not a valid format delimiter!\nCan't continue!",
                  "***> 'Wrap' Command Error: 'Wrap' Command Error:\n'!' is not a valid format "
                  "delimiter!",
                  true}));

TEST(WrapParse, LogLineBeforeBoxForUnclosedGroups) {
    // The unclosed-group errors write their line first; the host sees it first.
    RunFixture f;
    EXPECT_FALSE(f.run.ParseWrapCommand("X!.a!!...!x!with start!a!end!b"));
    ASSERT_EQ(f.host.shownLines.size(), 1u);
    ASSERT_EQ(f.host.boxes.size(), 1u);
}

TEST(WrapParse, LengthLimits) {
    const std::string big(4097, 'y');
    const std::string justRight(4096, 'y');
    struct Case {
        std::string text;
        const char* message;
    } cases[] = {
        {"X!.!!...!x!with start!a!end!" + big, "Ending wrap character pattern too long!"},
        {"X!.!!...!x!with start!" + big + "!end!b", "Starting wrap character pattern too long!"},
        {"X!.!!...!" + big + "!with start!a!end!b", "Starting wrap character pattern too long!"},
        {std::string(261, 'p') + "!***!X!.!!...!x!with start!a!end!b", nullptr},
    };
    for (const Case& c : cases) {
        RunFixture f;
        EXPECT_FALSE(f.run.ParseWrapCommand(c.text));
        ASSERT_EQ(f.host.boxes.size(), 1u);
        if (c.message) {
            EXPECT_EQ(f.host.boxes[0].text, std::string("'Wrap' Command Error:\n") + c.message);
        } else {
            EXPECT_EQ(f.host.boxes[0].text, "'Wrap' Command Error:\nPrefix:\n" +
                                                std::string(261, 'p') + " to long.\nCan't continue!");
            EXPECT_EQ(f.document.logLines.back(), "***> 'Wrap' Command Error: Prefix to long!");
        }
    }
    RunFixture f;
    EXPECT_TRUE(f.run.ParseWrapCommand(std::string(260, 'p') + "!***!X!.!!...!x!with start!" +
                                       justRight + "!end!" + justRight));
}

TEST(WrapParse, MarkersHonourMatchCase) {
    RunFixture blind;
    EXPECT_TRUE(blind.run.ParseWrapCommand("X!.!!...!x!WITH START!a!End!b"));
    RunFixture exact;
    exact.run.SetMatchCase(true);
    EXPECT_FALSE(exact.run.ParseWrapCommand("X!.!!...!x!WITH START!a!end!b"));
}

}  // namespace
}  // namespace webquill::test
