// The editing commands on the working text, with the cases users meet.
#include <gtest/gtest.h>

#include "test_support.h"

namespace webquill::test {
namespace {


CCmdVar MakeRecord(CommandKind kind, std::string first, std::string second, int instance,
                   std::optional<std::string> newText = std::nullopt, int before = 0) {
    CCmdVar r;
    r.kind = kind;
    r.commandNumber = 10;
    r.firstText = std::move(first);
    r.secondText = std::move(second);
    r.instance = instance;
    r.newText = std::move(newText);
    r.before = before;
    return r;
}

bool RunOn(RunFixture& f, const std::string& text, CCmdVar record) {
    f.run.SetWorkingText(text);
    switch (record.kind) {
        case CommandKind::Add: return f.run.AddCommand(record);
        case CommandKind::Delete: return f.run.DeleteCommand(record);
        case CommandKind::Replace: return f.run.ReplaceCommand(record);
        default: return f.run.ExtractCommand(record);
    }
}

struct Case {
    const char* text;
    CCmdVar record;
    const char* expected;
    bool result;
};

CCmdVar Add(const char* added, const char* after, int instance, bool before = false) {
    return MakeRecord(CommandKind::Add, after, "", instance, std::string(added), before ? 1 : 0);
}
CCmdVar Del(const char* start, const char* end, int instance) {
    return MakeRecord(CommandKind::Delete, start, end, instance);
}
CCmdVar Rep(const char* find, const char* with, int instance) {
    return MakeRecord(CommandKind::Replace, find, "", instance, std::string(with));
}

TEST(EditingCommands, WorkingTextsAndResults) {
    const Case cases[] = {
        {"<H2>a<H2>b<H2>c", Add("<B>", "<H2>", 1), "<H2><B>a<H2>b<H2>c", true},
        {"<H2>a<H2>b<H2>c", Add("<B>", "<H2>", 2), "<H2>a<H2><B>b<H2>c", true},
        {"<H2>a<H2>b<H2>c", Add("<B>", "<H2>", 0), "<H2><B>a<H2><B>b<H2><B>c", true},
        {"<H2>a<H2>b", Add("<B>", "<H2>", 0, true), "<B><H2>a<B><H2>b", true},
        {"aa", Add("xa", "a", 0), "axaaxa", true},
        {"Item12. x", Add("!", "Item!##", 1), "Item12.! x", true},
        {"Item1. x", Add("!", "Item!##", 1), "Item1. x", true},
        {"<LI>x</LI><LI>xy</LI>", Add("*", "<LI>$$$</LI>", 1), "<LI>x</LI><LI>xy</LI>*", true},
        {"nothing here", Add("*", "<H2>", 1), "nothing here", false},
        {"<H2>", Add("*", "<H2>", 5), "<H2>", true},
        // a pattern measured as written never reaches past the end of the text
        {"Item12", Add("!", "Item!##", 1), "Item12!", true},

        {"a<!--x-->b<!--y-->c", Del("<!--", "-->", 1), "ab<!--y-->c", true},
        {"a<!--x-->b<!--y-->c", Del("<!--", "-->", 0), "abc", true},
        {"a<!--x b", Del("<!--", "-->", 1), "a<!--x b", false},
        {"a<!--x-->b<!--y", Del("<!--", "-->", 0), "ab<!--y", false},
        {"Page7<BR>|Page123 <BR>|Page <BR>", Del("Page!#$$$<BR>", "", 0), "||Page <BR>", true},
        {"x<B> y<B> z", Del("<B> ", "", 0), "xyz", true},

        {"<B>1<B>2<B>3", Rep("<B>", "<S>", 1), "<S>1<B>2<B>3", true},
        {"<B>1<B>2<B>3", Rep("<B>", "<S>", 0), "<S>1<S>2<S>3", true},
        {"<B>1<B>2<B>3", Rep("<B>", "<S>", 2), "<B>1<S>2<B>3", true},
        {"<B>1<B>2", Rep("<B>", "<S>", 5), "<B>1<B>2", true},
        {"none", Rep("<B>", "<S>", 1), "none", false},
        {"aXa", Rep("a", "aa", 0), "aaXaa", true},
        {"a<B>b<B>", Rep("<B>", "", 0), "ab", true},
        {"Section1 x", Rep("Section!#", "S", 1), "Sx", true},
        {"Section12 x", Rep("Section!#", "S", 1), "Section12 x", true},
        {"Fig7ab: Fig7:", Rep("Fig!#$$$:", "F", 0), "F Fig7:", true},
        {"<A x>y</A>z", Rep("<A$$$</A>", "L", 1), "Lz", true},
        {"<b><B>", Rep("<b>", "<B>", 0), "<B><B>", true},
    };
    for (const Case& c : cases) {
        RunFixture f;
        const bool result = RunOn(f, c.text, c.record);
        EXPECT_EQ(result, c.result) << c.text << " / " << c.record.firstText;
        EXPECT_EQ(f.run.WorkingText(), c.expected) << c.text << " / " << c.record.firstText;
    }
}

TEST(EditingCommands, MatchCaseDecidesWhatIsFound) {
    RunFixture exact;
    exact.run.SetMatchCase(true);
    EXPECT_TRUE(RunOn(exact, "<b><B>", Rep("<b>", "<i>", 0)));
    EXPECT_EQ(exact.run.WorkingText(), "<i><B>");
    RunFixture blind;
    EXPECT_TRUE(RunOn(blind, "<b><B>", Rep("<b>", "<i>", 0)));
    EXPECT_EQ(blind.run.WorkingText(), "<i><i>");
}

TEST(EditingCommands, StatusTextsNameTheCommand) {
    RunFixture f;
    RunOn(f, "x", Add("y", std::string(50, 'p').c_str(), 1));
    RunOn(f, "x", Del("<!--", "-->", 1));
    RunOn(f, "x", Rep("<B>", "<S>", 1));
    ASSERT_GE(f.host.statusTexts.size(), 3u);
    EXPECT_EQ(f.host.statusTexts[0], "Adding -> " + std::string(40, 'p'));
    EXPECT_EQ(f.host.statusTexts[1], "Deleting -> <!--");
    EXPECT_EQ(f.host.statusTexts[2], "Replacing -> <B>");
}

TEST(ExtractCommand, TakesTheValueOutOfTheText) {
    struct ExtractCase {
        const char* text;
        const char* start;
        const char* end;
        const char* expectedText;
        std::optional<std::string> value;
        bool result;
    } cases[] = {
        {"<TITLE>My Page</TITLE>x", "<TITLE>", "</TITLE>", "<TITLE></TITLE>x", "My Page", true},
        {"<TITLE>My Page", "<TITLE>", "</TITLE>", "<TITLE>My Page", std::nullopt, false},
        {"no title", "<TITLE>", "</TITLE>", "no title", std::nullopt, false},
        {"Chapter1 a|Chapter12 b|", "Chapter!##", "|", "Chapter1 a|Chapter12 |", "b", true},
        {"<T>a</T><T>b</T>", "<T>", "</T>", "<T></T><T>b</T>", "a", true},
    };
    for (const ExtractCase& c : cases) {
        RunFixture f;
        CCmdVar record = MakeRecord(CommandKind::Extract, c.start, c.end, 1);
        record.variableName = "Title";
        f.run.SetWorkingText(c.text);
        EXPECT_EQ(f.run.ExtractCommand(record), c.result) << c.text;
        EXPECT_EQ(f.run.WorkingText(), c.expectedText) << c.text;
        EXPECT_EQ(record.newText, c.value) << c.text;
    }
}

TEST(ExtractCommand, PredefinedVariablesAreNeverSearched) {
    RunFixture f;
    CCmdVar record = MakeRecord(CommandKind::Extract, "", "", 1, std::string("12/05/99"));
    record.commandNumber = 1;
    f.run.SetWorkingText("text");
    EXPECT_TRUE(f.run.ExtractCommand(record));
    EXPECT_EQ(*record.newText, "12/05/99");
    EXPECT_TRUE(f.host.statusTexts.empty());
}

struct WrapCase {
    const char* text;
    const char* prefix;
    const char* format;
    const char* end;
    const char* expected;
    bool result;
};

TEST(WrapCommand, WrapsNumberedParagraphs) {
    const WrapCase cases[] = {
        {"1. Apples\r\n\r\n2. Pears\r\n\r\n", "", "X.", "\r\n\r\n",
         "<LI>1. Apples</LI>\r\n\r\n<LI>2. Pears</LI>\r\n\r\n", true},
        {"1.Apples\r\n\r\n", "", "X.", "\r\n\r\n", "1.Apples\r\n\r\n", false},
        {"10. Plums\r\n", "", "X.", "\r\n", "1<LI>0. Plums</LI>\r\n", true},
        {"<P>a<P>b", "<P>", "", "<P>", "<LI><P>a</LI><P>b", true},
        {"B) x\n b) y\n", "", "C)", "\n", "<LI>B) x</LI>\n b) y\n", true},
        {"C. x\n", "", "R.", "\n", "C. x\n", false},
        {"iv. x\n", "", "r.", "\n", "i<LI>v. x</LI>\n", true},
        {"iv. x\n", "", "rr.", "\n", "<LI>iv. x</LI>\n", true},
        {"(iv) x\n", "", "(rr)", "\n", "<LI>(iv) x</LI>\n", true},
        {"<P> 3. x\n<P> y\n", "<P>", "X.", "\n", "<LI><P> 3. x</LI>\n<P> y\n", true},
        {"see 3. below\n", "", "X.", "\n", "see <LI>3. below</LI>\n", true},
        {"1. never ends", "", "X.", "\r\n", "1. never ends", false},
        {"anything", "", "", "\n", "anything", false},
    };
    for (const WrapCase& c : cases) {
        RunFixture f;
        CWrapper w;
        w.numberPrefix = c.prefix;
        w.numberFormat = c.format;
        w.endOfParagraph = c.end;
        w.textBefore = "<LI>";
        w.textAfter = "</LI>";
        f.run.SetWorkingText(c.text);
        EXPECT_EQ(f.run.WrapCommand(w), c.result) << c.text;
        EXPECT_EQ(f.run.WorkingText(), c.expected) << c.text;
    }
}

}  // namespace
}  // namespace webquill::test
