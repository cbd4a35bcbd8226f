// The six command-text parsers on their own: every error they report, the
// record each builds, and the lookups of the command list.
#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "test_support.h"

namespace webquill::test {
namespace {

using Parser = bool (CPublishingRun::*)(std::string);
constexpr Parser kAdd = &CPublishingRun::ParseAddCommand;
constexpr Parser kDelete = &CPublishingRun::ParseDeleteCommand;
constexpr Parser kExtract = &CPublishingRun::ParseExtractCommand;
constexpr Parser kReplace = &CPublishingRun::ParseReplaceCommand;
constexpr Parser kMakeToc = &CPublishingRun::ParseMakeTocCommand;
constexpr Parser kMakeFile = &CPublishingRun::ParseMakeFileCommand;

const std::string kLong(4097, 'x');
const std::string kName260(260, 'n');

struct ErrorCase {
    const char* name;
    Parser parse;
    std::string text;
    bool matchCase;
    const char* boxPrefix;
    const char* message;
    std::string logLine = "";  // empty: the log line repeats the prefix and the message
};

class CommandParseErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(CommandParseErrors, ReportsBoxThenLogLineAndBuildsNothing) {
    const ErrorCase& c = GetParam();
    RunFixture f;
    f.run.SetMatchCase(c.matchCase);
    EXPECT_FALSE((f.run.*c.parse)(c.text));
    EXPECT_TRUE(f.document.commands.Empty());
    ASSERT_EQ(f.host.boxes.size(), 1u);
    EXPECT_EQ(f.host.boxes[0].kind, BoxKind::Note);
    EXPECT_EQ(f.host.boxes[0].text, std::string(c.boxPrefix) + "\n" + c.message);
    const std::string log =
        c.logLine.empty() ? std::string("***> ") + c.boxPrefix + " " + c.message : c.logLine;
    EXPECT_EQ(f.document.logLines, std::vector<std::string>{log});
}

constexpr const char* kAddP = "'Add' Command Error:";
constexpr const char* kDeleteP = "'Delete' Command Error:";
constexpr const char* kExtractP = "'Extract' Command Error:";
constexpr const char* kReplaceP = "'Replace' Command Error:";
constexpr const char* kMakeTocP = "'MakeTOC' Command Error:";
constexpr const char* kMakeFileP = "'MakeFile' Command Error:";

constexpr const char* kNoAddMarker = "!before! or !after! is missing in Add command line!";
constexpr const char* kNoDots = "!...! is missing in line!";
constexpr const char* kNoSaveAs = "!save as! is missing in line!";
constexpr const char* kNoWith = "!with! is missing in Replace command line!";
constexpr const char* kStartLong = "Beginning character pattern too long!";
constexpr const char* kEndLong = "Ending character pattern too long!";

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandParseErrors,
    ::testing::Values(
        // Add writes its messages to the log without the prefix.
        ErrorCase{"AddNoMarker", kAdd, "<HR><BODY>", false, kAddP, kNoAddMarker,
                  std::string("***> ") + kNoAddMarker},
        ErrorCase{"AddMarkerCaseWithMatchCase", kAdd, "<HR>!After!<BODY>", true, kAddP,
                  kNoAddMarker, std::string("***> ") + kNoAddMarker},
        ErrorCase{"AddDocumentTextTooLong", kAdd, "<HR>!after!" + kLong, false, kAddP,
                  "Add after character pattern too long!",
                  "***> Add after character pattern too long!"},
        ErrorCase{"AddNothingToAdd", kAdd, "!after!<BODY>", false, kAddP,
                  "Text to add is missing in Add command line!",
                  "***> Text to add is missing in Add command line!"},
        ErrorCase{"AddOnlyBlanksToAdd", kAdd, " \t !before!<BODY>", false, kAddP,
                  "Text to add is missing in Add command line!",
                  "***> Text to add is missing in Add command line!"},
        ErrorCase{"DeleteStartTooLong", kDelete, kLong + "!...!</B>", false, kDeleteP, kStartLong},
        ErrorCase{"DeleteWholeTextTooLong", kDelete, kLong, false, kDeleteP, kStartLong},
        ErrorCase{"DeleteEndTooLong", kDelete, "<B>!...!" + kLong, false, kDeleteP, kEndLong},
        ErrorCase{"ExtractNoSaveAs", kExtract, "<T>!...!</T>", false, kExtractP, kNoSaveAs},
        ErrorCase{"ExtractSaveAsCaseWithMatchCase", kExtract, "<T>!...!</T>!Save As!t", true,
                  kExtractP, kNoSaveAs},
        ErrorCase{"ExtractName261", kExtract, "<T>!...!</T>!save as!" + kName260 + "n", false,
                  kExtractP, "Variable name too long!"},
        ErrorCase{"ExtractNameMissing", kExtract, "<T>!...!</T>!save as!", false, kExtractP,
                  "Variable name is empty!"},
        ErrorCase{"ExtractNameOnlyBlanks", kExtract, "<T>!...!</T>!save as! \t ", false,
                  kExtractP, "Variable name is empty!"},
        ErrorCase{"ExtractNoDots", kExtract, "<T></T>!save as!t", false, kExtractP, kNoDots},
        ErrorCase{"ExtractDotsOnlyInTheName", kExtract, "<T></T>!save as!t!...!x", false,
                  kExtractP, kNoDots},
        ErrorCase{"ExtractStartTooLong", kExtract, kLong + "!...!</T>!save as!t", false,
                  kExtractP, kStartLong},
        ErrorCase{"ExtractEndTooLong", kExtract, "<T>!...!" + kLong + "!save as!t", false,
                  kExtractP, kEndLong},
        ErrorCase{"ReplaceNoWith", kReplace, "old new", false, kReplaceP, kNoWith},
        ErrorCase{"ReplaceWithCaseWithMatchCase", kReplace, "old!With!new", true, kReplaceP,
                  kNoWith},
        ErrorCase{"ReplaceFindTooLong", kReplace, kLong + "!with!new", false, kReplaceP,
                  "Replace character pattern too long!"},
        ErrorCase{"MakeTocNoDots", kMakeToc, "<H2></H2>", false, kMakeTocP, kNoDots},
        ErrorCase{"MakeTocStartTooLong", kMakeToc, kLong + "!...!</H2>", false, kMakeTocP,
                  kStartLong},
        ErrorCase{"MakeTocEndTooLong", kMakeToc, "<H2>!...!" + kLong, false, kMakeTocP, kEndLong},
        ErrorCase{"MakeFileNoDots", kMakeFile, "<HR><HR>", false, kMakeFileP, kNoDots},
        ErrorCase{"MakeFileStartTooLong", kMakeFile, kLong + "!...!<HR>", false, kMakeFileP,
                  kStartLong},
        ErrorCase{"MakeFileEndTooLong", kMakeFile, "<HR>!...!" + kLong, false, kMakeFileP,
                  kEndLong}),
    [](const auto& info) { return std::string(info.param.name); });

struct RecordCase {
    const char* name;
    Parser parse;
    std::string text;
    CommandKind kind;
    std::string first;
    std::string second = "";
    std::optional<std::string> newText = std::nullopt;
    std::int32_t instance = 1;
    std::int32_t before = 0;
    std::string variableName = "";
    bool matchCase = false;
    bool lfOnly = false;
};

class CommandRecordFields : public ::testing::TestWithParam<RecordCase> {};

TEST_P(CommandRecordFields, AreTakenFromTheText) {
    const RecordCase& c = GetParam();
    RunFixture f;
    f.run.SetMatchCase(c.matchCase);
    f.run.SetLfOnly(c.lfOnly);
    ASSERT_TRUE((f.run.*c.parse)(c.text)) << ::testing::PrintToString(f.document.logLines);
    ASSERT_EQ(f.document.commands.Size(), 1u);
    const CCmdVar& r = f.document.commands.At(0);
    EXPECT_EQ(r.kind, c.kind);
    EXPECT_EQ(r.commandNumber, 1);
    EXPECT_EQ(r.firstText, c.first);
    EXPECT_EQ(r.secondText, c.second);
    EXPECT_EQ(r.newText, c.newText);
    EXPECT_EQ(r.instance, c.instance);
    EXPECT_EQ(r.before, c.before);
    EXPECT_EQ(r.variableName, c.variableName);
    EXPECT_TRUE(f.host.boxes.empty());
    EXPECT_TRUE(f.document.logLines.empty());
}

using K = CommandKind;
INSTANTIATE_TEST_SUITE_P(
    Cases, CommandRecordFields,
    ::testing::Values(
        RecordCase{.name = "AddAfterSecondInstance", .parse = kAdd, .text = "<HR>!after!<BODY>::2",
                   .kind = K::Add, .first = "<BODY>", .newText = "<HR>", .instance = 2},
        RecordCase{.name = "AddEveryInstance", .parse = kAdd, .text = "<HR>!after!<BODY>::a",
                   .kind = K::Add, .first = "<BODY>", .newText = "<HR>", .instance = 0},
        RecordCase{.name = "AddEveryInstanceCapital", .parse = kAdd,
                   .text = "<HR>!after!<BODY>::A", .kind = K::Add, .first = "<BODY>",
                   .newText = "<HR>", .instance = 0},
        RecordCase{.name = "AddOtherLetterKeepsTheMarker", .parse = kAdd,
                   .text = "<HR>!after!<BODY>::x", .kind = K::Add, .first = "<BODY>::x",
                   .newText = "<HR>"},
        RecordCase{.name = "AddOnlyTheFirstInstanceMarkerCounts", .parse = kAdd,
                   .text = "<HR>!after!a::b::3", .kind = K::Add, .first = "a::b::3",
                   .newText = "<HR>"},
        RecordCase{.name = "AddInstanceDigitsEndAtANonDigit", .parse = kAdd,
                   .text = "<HR>!after!<BODY>::12th", .kind = K::Add, .first = "<BODY>",
                   .newText = "<HR>", .instance = 12},
        RecordCase{.name = "AddLargestInstance", .parse = kAdd,
                   .text = "<HR>!after!<BODY>::2147483646", .kind = K::Add, .first = "<BODY>",
                   .newText = "<HR>", .instance = 2147483646},
        RecordCase{.name = "AddInstanceJustTooLargeSaturates", .parse = kAdd,
                   .text = "<HR>!after!<BODY>::2147483648", .kind = K::Add, .first = "<BODY>",
                   .newText = "<HR>", .instance = INT32_MAX},
        RecordCase{.name = "AddHugeInstanceSaturates", .parse = kAdd,
                   .text = "<HR>!after!<BODY>::99999999999999999999999", .kind = K::Add,
                   .first = "<BODY>", .newText = "<HR>", .instance = INT32_MAX},
        RecordCase{.name = "AddBefore", .parse = kAdd, .text = "<HR>!before!<BODY>",
                   .kind = K::Add, .first = "<BODY>", .newText = "<HR>", .before = 1},
        RecordCase{.name = "AddBothMarkersIsBefore", .parse = kAdd,
                   .text = "<HR>!after!<P>!before!<BODY>", .kind = K::Add, .first = "<BODY>",
                   .newText = "<HR>!after!<P>", .before = 1},
        RecordCase{.name = "AddTrimsOnlyTheNewText", .parse = kAdd,
                   .text = "  <HR>\t !after! <BODY> ", .kind = K::Add, .first = " <BODY> ",
                   .newText = "<HR>"},
        RecordCase{.name = "AddMarkerInAnyCase", .parse = kAdd, .text = "<HR>!AFTER!<BODY>",
                   .kind = K::Add, .first = "<BODY>", .newText = "<HR>"},
        RecordCase{.name = "DeleteWithoutEndPattern", .parse = kDelete, .text = "<B>",
                   .kind = K::Delete, .first = "<B>"},
        RecordCase{.name = "DeleteKeepsBlanksNextToTheDots", .parse = kDelete,
                   .text = "<B> !...! </B>", .kind = K::Delete, .first = "<B> ",
                   .second = " </B>"},
        RecordCase{.name = "DeleteEveryInstance", .parse = kDelete, .text = "<B>!...!</B>::A",
                   .kind = K::Delete, .first = "<B>", .second = "</B>", .instance = 0},
        RecordCase{.name = "DeleteInstanceWithoutEndPattern", .parse = kDelete,
                   .text = "<B>::3", .kind = K::Delete, .first = "<B>", .instance = 3},
        RecordCase{.name = "Extract", .parse = kExtract, .text = "<T>!...!</T>!save as!  title",
                   .kind = K::Extract, .first = "<T>", .second = "</T>",
                   .variableName = "title"},
        RecordCase{.name = "ExtractHasNoInstanceMarker", .parse = kExtract,
                   .text = "<T>::2!...!</T>!save as!t", .kind = K::Extract, .first = "<T>::2",
                   .second = "</T>", .variableName = "t"},
        RecordCase{.name = "ExtractName260", .parse = kExtract,
                   .text = "<T>!...!</T>!save as!" + kName260, .kind = K::Extract,
                   .first = "<T>", .second = "</T>", .variableName = kName260},
        RecordCase{.name = "ExtractMarkerInAnyCase", .parse = kExtract,
                   .text = "<T>!...!</T>!SAVE AS!t", .kind = K::Extract, .first = "<T>",
                   .second = "</T>", .variableName = "t"},
        RecordCase{.name = "ReplaceSecondInstance", .parse = kReplace, .text = "old!with!new::2",
                   .kind = K::Replace, .first = "old", .newText = "new", .instance = 2},
        RecordCase{.name = "ReplaceKeepsBlanks", .parse = kReplace, .text = "old !with! new",
                   .kind = K::Replace, .first = "old ", .newText = " new"},
        RecordCase{.name = "ReplaceCutsAtTheFirstWith", .parse = kReplace,
                   .text = "a!with!b!with!c", .kind = K::Replace, .first = "a",
                   .newText = "b!with!c"},
        RecordCase{.name = "ReplaceNothingBeforeWithFindsTheWholeText", .parse = kReplace,
                   .text = "!with!abc", .kind = K::Replace, .first = "!with!abc",
                   .newText = ""},
        RecordCase{.name = "ReplaceMarkerInAnyCase", .parse = kReplace, .text = "old!With!new",
                   .kind = K::Replace, .first = "old", .newText = "new"},
        RecordCase{.name = "MakeTocTrimsAroundTheDots", .parse = kMakeToc,
                   .text = "<H2>  !...!  </H2>", .kind = K::MakeTOC, .first = "<H2>",
                   .second = "</H2>"},
        RecordCase{.name = "MakeFileTrimsAroundTheDots", .parse = kMakeFile,
                   .text = "<HR>\t!...! <HR>", .kind = K::MakeFile, .first = "<HR>",
                   .second = "<HR>"},
        // The line-break marker follows the source's line ends in every text
        // but the variable name.
        RecordCase{.name = "ReplaceLineBreaksCrLf", .parse = kReplace, .text = "a!$b!with!c!$d",
                   .kind = K::Replace, .first = "a\r\nb", .newText = "c\r\nd"},
        RecordCase{.name = "ReplaceLineBreaksLf", .parse = kReplace, .text = "a!$b!with!c!$d",
                   .kind = K::Replace, .first = "a\nb", .newText = "c\nd", .lfOnly = true},
        RecordCase{.name = "ReplaceLiteralCrLfInLfSource", .parse = kReplace,
                   .text = "a\r\nb!with!c", .kind = K::Replace, .first = "a\nb", .newText = "c",
                   .lfOnly = true},
        RecordCase{.name = "AddLineBreaks", .parse = kAdd, .text = "x!$y!after!p!$q",
                   .kind = K::Add, .first = "p\r\nq", .newText = "x\r\ny"},
        RecordCase{.name = "DeleteLineBreaks", .parse = kDelete, .text = "<P>!$!...!!$</P>",
                   .kind = K::Delete, .first = "<P>\n", .second = "\n</P>", .lfOnly = true},
        RecordCase{.name = "ExtractLineBreaksNotInTheName", .parse = kExtract,
                   .text = "a!$!...!b!$!save as!v!$", .kind = K::Extract, .first = "a\r\n",
                   .second = "b\r\n", .variableName = "v!$"},
        RecordCase{.name = "MakeTocLineBreaks", .parse = kMakeToc, .text = "<H2>!$ !...! !$</H2>",
                   .kind = K::MakeTOC, .first = "<H2>\r\n", .second = "\r\n</H2>"},
        RecordCase{.name = "MakeFileLineBreaks", .parse = kMakeFile, .text = "<HR>!$!...!<HR>",
                   .kind = K::MakeFile, .first = "<HR>\n", .second = "<HR>", .lfOnly = true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandNumbers, CountOnlyTheRecordsBuilt) {
    RunFixture f;
    ASSERT_TRUE(f.run.ParseDeleteCommand("<B>"));
    ASSERT_FALSE(f.run.ParseReplaceCommand("no marker"));
    ASSERT_TRUE(f.run.ParseMakeTocCommand("<H2>!...!</H2>"));
    ASSERT_TRUE(f.run.ParseAddCommand("<HR>!after!<P>"));
    ASSERT_EQ(f.document.commands.Size(), 3u);
    EXPECT_EQ(f.document.commands.At(0).commandNumber, 1);
    EXPECT_EQ(f.document.commands.At(1).commandNumber, 2);
    EXPECT_EQ(f.document.commands.At(2).commandNumber, 3);
}

CCmdVar& Named(CCmdVarList& list, const std::string& name, std::int32_t number) {
    CCmdVar& r = list.Append();
    r.variableName = name;
    r.commandNumber = number;
    return r;
}

TEST(CommandLists, FindVariableFoldsOnlyAsciiLetters) {
    CCmdVarList list;
    Named(list, "", 1);  // a command record carries no name
    CCmdVar& title = Named(list, "Title_1", 2);
    Named(list, "TITLE_1", 3);
    CCmdVar& latin = Named(list, "caf\xE9", 4);
    CCmdVar& utf8 = Named(list, "caf\xC3\xA9", 5);

    EXPECT_EQ(list.FindVariable("title_1"), &title);  // the first one from the head
    EXPECT_EQ(list.FindVariable("TiTlE_1"), &title);
    EXPECT_EQ(list.FindVariable("CAF\xE9"), &latin);
    EXPECT_EQ(list.FindVariable("caf\xC9"), nullptr);  // Latin-1 capital E acute
    EXPECT_EQ(list.FindVariable("CAF\xC3\xA9"), &utf8);
    EXPECT_EQ(list.FindVariable("caf\xC3\x89"), nullptr);  // UTF-8 capital E acute
    EXPECT_EQ(list.FindVariable("title"), nullptr);
    EXPECT_EQ(list.FindVariable("title_1 "), nullptr);
    EXPECT_EQ(list.FindVariable(""), nullptr);
    EXPECT_EQ(CCmdVarList().FindVariable("title_1"), nullptr);
}

TEST(CommandLists, FindByCommandNumberFallsBackToTheLastRecord) {
    CCmdVarList list;
    EXPECT_EQ(list.FindByCommandNumber(1), nullptr);
    CCmdVar& first = Named(list, "a", 1);
    CCmdVar& second = Named(list, "b", 2);
    Named(list, "c", 2);
    CCmdVar& last = Named(list, "d", 7);
    EXPECT_EQ(list.FindByCommandNumber(1), &first);
    EXPECT_EQ(list.FindByCommandNumber(2), &second);
    EXPECT_EQ(list.FindByCommandNumber(7), &last);
    EXPECT_EQ(list.FindByCommandNumber(3), &last);
    EXPECT_EQ(list.FindByCommandNumber(-1), &last);
    list.Clear();
    EXPECT_EQ(list.FindByCommandNumber(7), nullptr);
}

}  // namespace
}  // namespace webquill::test
