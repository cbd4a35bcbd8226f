// The &Command section of a real rule file cut into command texts: keywords
// at line starts, comments, line breaks, the length limit and the records a
// run or an editor load ends with.
#include <gtest/gtest.h>

#include "test_support.h"

namespace webquill::test {
namespace {

const std::string kHeader = "&Header:\r\nDocument: a.htm\r\nWWWFileName: out/a.htm\r\n";
const std::string kCommandsLine = "&Commands:\r\n";

const char* KindName(CommandKind kind) {
    switch (kind) {
        case CommandKind::Extract: return "Extract";
        case CommandKind::Delete: return "Delete";
        case CommandKind::Add: return "Add";
        case CommandKind::Replace: return "Replace";
        case CommandKind::MakeTOC: return "MakeTOC";
        case CommandKind::MakeFile: return "MakeFile";
        default: return "None";
    }
}

// "Kind first|other": the other text is the new text of Add and Replace, the
// end pattern of the rest.
std::string Describe(const CCmdVar& r) {
    const bool hasNewText = r.kind == CommandKind::Add || r.kind == CommandKind::Replace;
    return std::string(KindName(r.kind)) + " " + r.firstText + "|" +
           (hasNewText ? r.newText.value_or("<none>") : r.secondText);
}

class CommandSection : public ::testing::Test {
protected:
    // Reads a rule file whose command section is `commands` and parses its header.
    void Load(const std::string& commands, const std::string& markerLine = kCommandsLine) {
        f.document.ruleFilePath = dir.Write("r.rul", kHeader + markerLine + commands);
        ASSERT_TRUE(f.run.ReadRuleFile());
        ASSERT_TRUE(f.run.ParseHeaderSection());
    }
    std::vector<std::string> Described() const {
        std::vector<std::string> out;
        f.document.commands.ForEach([&](const CCmdVar& r) { out.push_back(Describe(r)); });
        return out;
    }

    TempDir dir;
    RunFixture f;
};

struct SectionCase {
    const char* name;
    std::string commands;
    std::vector<std::string> records;
};

class CommandSectionCutting : public CommandSection,
                              public ::testing::WithParamInterface<SectionCase> {};

TEST_P(CommandSectionCutting, GivesTheseRecords) {
    Load(GetParam().commands);
    EXPECT_TRUE(f.run.ParseCommandSection(true)) << ::testing::PrintToString(f.document.logLines);
    EXPECT_EQ(Described(), GetParam().records);
    EXPECT_TRUE(f.host.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandSectionCutting,
    ::testing::Values(
        SectionCase{"LeadingBlankIsNoKeyword",
                    "Add <HR>!after!<BODY>\r\n Add <I>!after!<P>\r\n",
                    {"Add <BODY>\r\n Add <I>!after!<P>|<HR>"}},
        SectionCase{"KeywordMidLineIsText", "Delete <B> Add </B>\r\n", {"Delete <B> Add </B>|"}},
        SectionCase{"KeywordInAnyCase",
                    "ADD <HR>!after!<BODY>\r\nadd <I>!before!<P>\r\nmAkEtOc<H2>!...!</H2>\r\n",
                    {"Add <BODY>|<HR>", "Add <P>|<I>", "MakeTOC <H2>|</H2>"}},
        SectionCase{"AllSevenKeywordsAtLineStarts",
                    "Extract<T>!...!</T>!save as!t\r\nDelete<B>\r\nAdd<HR>!after!<P>\r\n"
                    "Replace a!with!b\r\nMakeTOC<H2>!...!</H2>\r\nMakeFile<HR>!...!<HR>\r\n",
                    {"Extract <T>|</T>", "Delete <B>|", "Add <P>|<HR>", "Replace a|b",
                     "MakeTOC <H2>|</H2>", "MakeFile <HR>|<HR>"}},
        SectionCase{"KeywordTakesOnlyItsLetters", "Additional!after!<BODY>\r\n",
                    {"Add <BODY>|itional"}},
        SectionCase{"ReplaceKeepsItsFirstBang", "Replace!a!with!b!\r\n", {"Replace !a|b!"}},
        SectionCase{"TextBeforeTheFirstKeywordIgnored",
                    "These are my commands.\r\n\r\nDelete <B>\r\n", {"Delete <B>|"}},
        SectionCase{"CommentLineRemovesItsCommand",
                    "Delete <I>\r\n&&Add <HR>!after!<BODY>\r\nDelete <B>\r\n",
                    {"Delete <I>|", "Delete <B>|"}},
        SectionCase{"CommentBeforeTheFirstKeyword", "&& my commands\r\nDelete <B>\r\n",
                    {"Delete <B>|"}},
        SectionCase{"CommentCutsTheRestOfACommand",
                    "Replace a!with!b && not b\r\n  nor this\r\n!with!x\r\nDelete <B>\r\n",
                    {"Replace a|b", "Delete <B>|"}},
        SectionCase{"CommentInAPatternCutsIt",
                    "Delete <P>!...!&&</P>\r\n</DIV>\r\nDelete <B>&&\r\nMakeFile<HR>!...!&&x",
                    {"Delete <P>|", "Delete <B>|", "MakeFile <HR>|"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandSection, CommentEndsAtTheNextKeywordLine) {
    Load("Delete a &&\r\nDelete b &&\r\n&&Delete c\r\nDelete d\r\n");
    ASSERT_TRUE(f.run.ParseCommandSection(true));
    EXPECT_EQ(Described(), (std::vector<std::string>{"Delete a|", "Delete b|", "Delete d|"}));
}

TEST_F(CommandSection, RestOfTheMarkerLineIsNotACommand) {
    Load("Delete <B>\r\n", "&Command Add <HR>!after!<BODY>\r\n");
    ASSERT_TRUE(f.run.ParseCommandSection(true));
    EXPECT_EQ(Described(), std::vector<std::string>{"Delete <B>|"});
}

TEST_F(CommandSection, MultiLineTextsKeepTheirLineBreaks) {
    for (bool lfOnly : {false, true}) {
        SCOPED_TRACE(lfOnly ? "LF-only source" : "CR LF source");
        f.document.commands.Clear();
        Load("Replace <P>\r\nold!with!new\r\n<BR>\r\nDelete <UL>\r\n!...!\r\n</UL>\r\n");
        f.run.SetLfOnly(lfOnly);
        ASSERT_TRUE(f.run.ParseCommandSection(true));
        const std::string br = lfOnly ? "\n" : "\r\n";
        EXPECT_EQ(Described(), (std::vector<std::string>{"Replace <P>" + br + "old|new" + br + "<BR>",
                                                         "Delete <UL>" + br + "|" + br + "</UL>"}));
    }
}

// A command text is measured from the keyword to the next keyword line,
// line end included, before it is trimmed.
struct LengthCase {
    std::size_t bodyLength;
    const char* lineEnd;
    bool parses;
};

class CommandSectionLength : public CommandSection,
                             public ::testing::WithParamInterface<LengthCase> {};

TEST_P(CommandSectionLength, LimitIs4096Characters) {
    const LengthCase& c = GetParam();
    const std::string body = "<p>!after!" + std::string(c.bodyLength - 10, 'y') + c.lineEnd;
    Load("Add" + body);
    EXPECT_EQ(f.run.ParseCommandSection(true), c.parses);
    if (c.parses) {
        ASSERT_EQ(f.document.commands.Size(), 1u);
        EXPECT_EQ(f.document.commands.At(0).firstText.size(), c.bodyLength - 10);
        EXPECT_TRUE(f.document.logLines.empty());
    } else {
        EXPECT_TRUE(f.document.commands.Empty());
        EXPECT_EQ(f.document.logLines, std::vector<std::string>{"***> Command line length > 4096!"});
        ASSERT_EQ(f.host.boxes.size(), 1u);
        EXPECT_EQ(f.host.boxes[0].kind, BoxKind::Stop);
        EXPECT_EQ(f.host.boxes[0].text, "Command line length > 4096!\n*** Can't Continue! ***");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandSectionLength,
                         ::testing::Values(LengthCase{4096, "", true}, LengthCase{4097, "", false},
                                           LengthCase{4094, "\r\n", true},
                                           LengthCase{4095, "\r\n", false}));

TEST_F(CommandSection, MarkerLineWithoutLineEndGivesNoCommands) {
    f.document.ruleFilePath = dir.Write("r.rul", kHeader + "&Commands:");
    ASSERT_TRUE(f.run.ReadRuleFile());
    ASSERT_TRUE(f.run.ParseHeaderSection());
    EXPECT_TRUE(f.run.ParseCommandSection(true));
    EXPECT_TRUE(f.document.commands.Empty());
    EXPECT_TRUE(f.document.logLines.empty());
}

TEST_F(CommandSection, RunCreatesDateAndTimeFirst) {
    Load("Extract <T>!...!</T>!save as!title\r\n");
    ASSERT_TRUE(f.run.ParseCommandSection(false));
    ASSERT_EQ(f.document.commands.Size(), 3u);
    const char* names[] = {"sysdate", "systime", "title"};
    for (int i = 0; i < 3; ++i) {
        const CCmdVar& r = f.document.commands.At(i);
        EXPECT_EQ(r.variableName, names[i]);
        EXPECT_EQ(r.commandNumber, i + 1);
        EXPECT_EQ(r.kind, CommandKind::Extract);
    }
    for (int i = 0; i < 2; ++i) {
        const CCmdVar& r = f.document.commands.At(i);
        EXPECT_TRUE(r.firstText.empty() && r.secondText.empty());
        ASSERT_TRUE(r.newText.has_value());
        EXPECT_FALSE(r.newText->empty());
    }
}

TEST_F(CommandSection, EditorLoadCreatesNoVariables) {
    Load("Extract <T>!...!</T>!save as!title\r\n");
    ASSERT_TRUE(f.run.ParseCommandSection(true));
    ASSERT_EQ(f.document.commands.Size(), 1u);
    EXPECT_EQ(f.document.commands.At(0).commandNumber, 1);
    EXPECT_EQ(f.document.commands.FindVariable("sysdate"), nullptr);
}

TEST_F(CommandSection, EmptySectionStillGetsDateAndTimeInARun) {
    f.document.ruleFilePath = dir.Write("r.rul", kHeader + "&Commands:");
    ASSERT_TRUE(f.run.ReadRuleFile());
    ASSERT_TRUE(f.run.ParseHeaderSection());
    ASSERT_TRUE(f.run.ParseCommandSection(false));
    ASSERT_EQ(f.document.commands.Size(), 2u);
    EXPECT_NE(f.document.commands.FindVariable("SysTime"), nullptr);
}

// Bytes above 127 are text like any other: an accented letter neither ends
// the command it stands in nor starts anything.
TEST_F(CommandSection, Utf8TextsStayWhole) {
    Load("Replace cafe!with!caf\xC3\xA9 cr\xC3\xA8me\r\n"
         "Delete <B>\r\n\xC3\xA9t\xC3\xA9</B>\r\n"
         "Add \xE2\x80\x94!before!na\xC3\xAFve\r\n");
    ASSERT_TRUE(f.run.ParseCommandSection(true));
    EXPECT_EQ(Described(), (std::vector<std::string>{
                               "Replace cafe|caf\xC3\xA9 cr\xC3\xA8me",
                               "Delete <B>\r\n\xC3\xA9t\xC3\xA9</B>|",
                               "Add na\xC3\xAFve|\xE2\x80\x94"}));
}

TEST_F(CommandSection, FailureKeepsTheRecordsBuiltBeforeIt) {
    Load("Delete <ADDRESS>!...!\r\nAddresses follow</ADDRESS>\r\nDelete <B>\r\n");
    EXPECT_FALSE(f.run.ParseCommandSection(false));
    // The "Addresses" line became an Add without a marker, and nothing after it was parsed.
    ASSERT_EQ(f.document.commands.Size(), 3u);
    EXPECT_EQ(Describe(f.document.commands.At(2)), "Delete <ADDRESS>|");
    EXPECT_EQ(f.document.logLines,
              std::vector<std::string>{"***> !before! or !after! is missing in Add command line!"});
    ASSERT_EQ(f.host.boxes.size(), 1u);
    EXPECT_EQ(f.host.boxes[0].text,
              "'Add' Command Error:\n!before! or !after! is missing in Add command line!");
}

}  // namespace
}  // namespace webquill::test
