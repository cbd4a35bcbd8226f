// The &Command section of a real rule file and the seven command-text
// parsers: every error they report, the record each builds, and the lookup
// of variables in the command list.
#include <gtest/gtest.h>

#include <memory>

#include "tests/engine/test_support.h"

namespace webquill::test {
namespace {

// The &Command section cut into command texts: keywords at line starts, comments,
// line breaks, the length limit and the records a run or an editor load ends with.
const std::string kHeader = "&Header:\r\nDocument: a.htm\r\nWWWFileName: out/a.htm\r\n";

// A fresh run that has read a rule file whose command section follows
// `marker`, and parsed its header.
std::unique_ptr<RunFixture> Loaded(const std::string& commands, const std::string& marker = "&Commands:\r\n") {
    TempDir dir;  // the rule text is read at once
    auto f = std::make_unique<RunFixture>();
    f->document.ruleFilePath = dir.Write("r.rul", kHeader + marker + commands);
    EXPECT_TRUE(f->run.ReadRuleFile());
    EXPECT_TRUE(f->run.ParseHeaderSection());
    return f;
}

std::vector<std::string> Records(const RunFixture& f) {
    std::vector<std::string> out;
    f.document.commands.ForEach([&](const CCmdVar& r) { out.push_back(RecordText(r)); });
    return out;
}

TEST(CommandSection, CutIntoTheseRecords) {
    const struct {
        std::string commands;
        std::vector<std::string> records;
        std::string marker = "&Commands:\r\n";
        bool lfOnly = false;
    } cases[] = {
        {"Add <HR>!after!<BODY>\r\n Add <I>!after!<P>\r\n", {"Add <BODY>\r\n Add <I>!after!<P>||<HR>"}},
        {"Delete <B> Add </B>\r\n", {"Delete <B> Add </B>|"}},
        {"ADD <HR>!after!<BODY>\r\nadd <I>!before!<P>\r\nmAkEtOc<H2>!...!</H2>\r\n",
         {"Add <BODY>||<HR>", "Add <P>||<I> before", "MakeTOC <H2>|</H2>"}},
        {"Extract<T>!...!</T>!save as!t\r\nDelete<B>\r\nAdd<HR>!after!<P>\r\nReplace a!with!b\r\n"
         "MakeTOC<H2>!...!</H2>\r\nMakeFile<HR>!...!<HR>\r\n",
         {"Extract <T>|</T> as t", "Delete <B>|", "Add <P>||<HR>", "Replace a||b", "MakeTOC <H2>|</H2>",
          "MakeFile <HR>|<HR>"}},
        {"Additional!after!<BODY>\r\n", {"Add <BODY>||itional"}},  // a keyword takes only its letters
        {"Replace!a!with!b!\r\n", {"Replace !a||b!"}},
        {"These are my commands.\r\n\r\nDelete <B>\r\n", {"Delete <B>|"}},
        {"Delete <B>\r\n", {"Delete <B>|"}, "&Command Add <HR>!after!<BODY>\r\n"},
        // Comments: to the next keyword line, taking the command they stand in with them.
        {"Delete <I>\r\n&&Add <HR>!after!<BODY>\r\nDelete <B>\r\n", {"Delete <I>|", "Delete <B>|"}},
        {"&& my commands\r\nDelete <B>\r\n", {"Delete <B>|"}},
        {"Replace a!with!b && not b\r\n  nor this\r\n!with!x\r\nDelete <B>\r\n", {"Replace a||b", "Delete <B>|"}},
        {"Delete <P>!...!&&</P>\r\n</DIV>\r\nDelete <B>&&\r\nMakeFile<HR>!...!&&x",
         {"Delete <P>|", "Delete <B>|", "MakeFile <HR>|"}},
        {"Delete a &&\r\nDelete b &&\r\n&&Delete c\r\nDelete d\r\n", {"Delete a|", "Delete b|", "Delete d|"}},
        // Bytes above 127 neither end a command nor start anything.
        {"Replace cafe!with!caf\xC3\xA9 cr\xC3\xA8me\r\nDelete <B>\r\n\xC3\xA9t\xC3\xA9</B>\r\n"
         "Add \xE2\x80\x94!before!na\xC3\xAFve\r\n",
         {"Replace cafe||caf\xC3\xA9 cr\xC3\xA8me", "Delete <B>\r\n\xC3\xA9t\xC3\xA9</B>|",
          "Add na\xC3\xAFve||\xE2\x80\x94 before"}},
        {"Delete \v\xA0<B>\xA0\f\r\n", {"Delete \xA0<B>\xA0|"}},  // a no-break space byte is no blank
        {"", {}, "&Commands:"},  // no line end after the marker: no commands
        // Texts over several lines keep their line breaks, as the source has them.
        {"Replace <P>\r\nold!with!new\r\n<BR>\r\nDelete <UL>\r\n!...!\r\n</UL>\r\n",
         {"Replace <P>\r\nold||new\r\n<BR>", "Delete <UL>\r\n|\r\n</UL>"}},
        {"Replace <P>\r\nold!with!new\r\n<BR>\r\nDelete <UL>\r\n!...!\r\n</UL>\r\n",
         {"Replace <P>\nold||new\n<BR>", "Delete <UL>\n|\n</UL>"}, "&Commands:\r\n", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commands);
        const auto f = Loaded(c.commands, c.marker);
        f->run.SetLfOnly(c.lfOnly);
        EXPECT_TRUE(f->run.ParseCommandSection(true)) << ::testing::PrintToString(f->document.logLines);
        EXPECT_EQ(Records(*f), c.records);
        EXPECT_EQ(f->Boxes(), "");
    }
}

// A command text is measured from the keyword to the next keyword line,
// line end included, before it is trimmed.
TEST(CommandSection, LimitIs4096Characters) {
    const struct { std::size_t length; const char* lineEnd; bool parses; } cases[] = {
        {4096, "", true}, {4097, "", false}, {4094, "\r\n", true}, {4095, "\r\n", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const auto f = Loaded("Add<p>!after!" + std::string(c.length - 10, 'y') + c.lineEnd);
        EXPECT_EQ(f->run.ParseCommandSection(true), c.parses);
        EXPECT_EQ(f->document.commands.Size(), c.parses ? 1u : 0u);
        EXPECT_EQ(f->document.logLines, c.parses ? std::vector<std::string>{}
                                                : std::vector<std::string>{"***> Command line length > 4096!"});
        EXPECT_EQ(f->Boxes(), c.parses ? "" : "[stop] Command line length > 4096!\n*** Can't Continue! ***\n");
    }
}

TEST(CommandSection, RunCreatesDateAndTimeFirstAndAnEditorLoadNoVariables) {
    for (bool editorLoad : {true, false}) {
        const auto f = Loaded("Extract <T>!...!</T>!save as!title\r\n");
        ASSERT_TRUE(f->run.ParseCommandSection(editorLoad));
        std::vector<std::string> names;
        f->document.commands.ForEach([&](const CCmdVar& r) {
            names.push_back(r.variableName + " " + std::to_string(r.commandNumber) +
                            (r.kind != CommandKind::Extract ? " not an Extract" : "") +
                            (r.newText.value_or("").empty() ? "" : " has a value"));
        });
        using Texts = std::vector<std::string>;
        EXPECT_EQ(names, editorLoad ? Texts({"title 1"})
                                    : Texts({"sysdate 1 has a value", "systime 2 has a value", "title 3"}));
    }
    const auto empty = Loaded("", "&Commands:");  // an empty section still gets them in a run
    ASSERT_TRUE(empty->run.ParseCommandSection(false));
    EXPECT_EQ(empty->document.commands.Size(), 2u);
}

TEST(CommandSection, FailureKeepsTheRecordsBuiltBeforeIt) {
    const auto f = Loaded("Delete <ADDRESS>!...!\r\nAddresses follow</ADDRESS>\r\nDelete <B>\r\n");
    EXPECT_FALSE(f->run.ParseCommandSection(false));
    // The "Addresses" line became an Add without a marker, and nothing after it was parsed.
    ASSERT_EQ(f->document.commands.Size(), 3u);
    EXPECT_EQ(RecordText(f->document.commands.At(2)), "Delete <ADDRESS>|");
    EXPECT_EQ(f->document.logLines,
              std::vector<std::string>{"***> !before! or !after! is missing in Add command line!"});
    EXPECT_EQ(f->Boxes(), "[note] 'Add' Command Error:\n!before! or !after! is missing in Add command line!\n");
}

// The command-text parsers on their own.
using Parser = bool (CPublishingRun::*)(std::string);
constexpr Parser kAdd = &CPublishingRun::ParseAddCommand;
constexpr Parser kDelete = &CPublishingRun::ParseDeleteCommand;
constexpr Parser kExtract = &CPublishingRun::ParseExtractCommand;
constexpr Parser kReplace = &CPublishingRun::ParseReplaceCommand;
constexpr Parser kMakeToc = &CPublishingRun::ParseMakeTocCommand;
constexpr Parser kMakeFile = &CPublishingRun::ParseMakeFileCommand;

const std::string kLong(4097, 'x');
const std::string kName260(260, 'n');

const char* KindOf(Parser p) {
    return p == kAdd ? "Add" : p == kDelete ? "Delete" : p == kExtract ? "Extract"
         : p == kReplace ? "Replace" : p == kMakeToc ? "MakeTOC" : "MakeFile";
}

TEST(CommandParsers, ErrorsShowANoteAndALogLineAndBuildNothing) {
    const char* noDots = "!...! is missing in line!";
    const char* noAddMarker = "!before! or !after! is missing in Add command line!";
    const char* noText = "Text to add is missing in Add command line!";
    const char* noSaveAs = "!save as! is missing in line!";
    const char* noWith = "!with! is missing in Replace command line!";
    const char* startLong = "Beginning character pattern too long!";
    const char* endLong = "Ending character pattern too long!";
    const struct { Parser parse; std::string text; const char* message; bool matchCase = false; } cases[] = {
        {kAdd, "<HR><BODY>", noAddMarker},
        {kAdd, "<HR>!After!<BODY>", noAddMarker, true},
        {kAdd, "<HR>!after!" + kLong, "Add after character pattern too long!"},
        {kAdd, "!after!<BODY>", noText},
        {kAdd, " \t !before!<BODY>", noText},
        {kDelete, kLong + "!...!</B>", startLong},
        {kDelete, "<B>!...!" + kLong, endLong},
        {kExtract, "<T>!...!</T>", noSaveAs},
        {kExtract, "<T>!...!</T>!Save As!t", noSaveAs, true},
        {kExtract, "<T>!...!</T>!save as!" + kName260 + "n", "Variable name too long!"},
        {kExtract, "<T>!...!</T>!save as! " + kName260, "Variable name too long!"},  // the blank counts
        {kExtract, "<T>!...!</T>!save as! \t ", "Variable name is empty!"},
        {kExtract, "<T></T>!save as!t!...!x", noDots},  // the marker counts only before !save as!
        {kExtract, kLong + "!...!</T>!save as!t", startLong},
        {kExtract, "<T>!...!" + kLong + "!save as!t", endLong},
        {kReplace, "old new", noWith},
        {kReplace, "old!With!new", noWith, true},
        {kReplace, kLong + "!with!new", "Replace character pattern too long!"},
        {kMakeToc, "<H2></H2>", noDots},
        {kMakeToc, kLong + "!...!</H2>", startLong},
        {kMakeFile, "<HR><HR>", noDots},
        {kMakeFile, "<HR>!...!" + kLong, endLong},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        RunFixture f;
        f.run.SetMatchCase(c.matchCase);
        EXPECT_FALSE((f.run.*c.parse)(c.text));
        EXPECT_TRUE(f.document.commands.Empty());
        const std::string prefix = std::string("'") + KindOf(c.parse) + "' Command Error:";
        EXPECT_EQ(f.Boxes(), "[note] " + prefix + "\n" + c.message + "\n");
        // Add's log line leaves out the prefix.
        EXPECT_EQ(f.document.logLines, std::vector<std::string>{"***> " + (c.parse == kAdd ? "" : prefix + " ") +
                                                                c.message});
    }
}

TEST(CommandParsers, RecordsTakeTheirFieldsFromTheText) {
    const struct { Parser parse; std::string text; std::string record; bool lfOnly = false; } cases[] = {
        {kAdd, "<HR>!after!<BODY>::2", "Add <BODY>||<HR> ::2"},
        {kAdd, "<HR>!after!<BODY>::a", "Add <BODY>||<HR> ::0"},  // so does ::A
        {kAdd, "<HR>!after!<BODY>::x", "Add <BODY>::x||<HR>"},
        {kAdd, "<HR>!after!a::b::3", "Add a::b::3||<HR>"},  // only the first "::" counts
        {kAdd, "<HR>!after!<BODY>::12th", "Add <BODY>||<HR> ::12"},
        {kAdd, "<HR>!after!<BODY>::2147483646", "Add <BODY>||<HR> ::2147483646"},
        {kAdd, "<HR>!after!<BODY>::2147483648", "Add <BODY>||<HR> ::2147483647"},  // saturates
        {kAdd, "<HR>!before!<BODY>", "Add <BODY>||<HR> before"},
        {kAdd, "<HR>!after!<P>!before!<BODY>", "Add <BODY>||<HR>!after!<P> before"},
        {kAdd, "  <HR>\t !AFTER! <BODY> ", "Add  <BODY> ||<HR>"},  // only the new text is trimmed
        {kDelete, "<B>", "Delete <B>|"},
        {kDelete, "<B> !...! </B>", "Delete <B> | </B>"},
        {kDelete, "<B>!...!</B>::A", "Delete <B>|</B> ::0"},
        {kExtract, "<T>!...!</T>!SAVE AS!  title", "Extract <T>|</T> as title"},
        {kExtract, "<T>::2!...!</T>!save as!t", "Extract <T>::2|</T> as t"},
        {kExtract, "<T>!...!</T>!save as!" + kName260, "Extract <T>|</T> as " + kName260},
        {kReplace, "old!with!new::2", "Replace old||new ::2"},
        {kReplace, "old !With! new", "Replace old || new"},
        {kReplace, "a!with!b!with!c", "Replace a||b!with!c"},
        {kReplace, "!with!abc", "Replace !with!abc||"},  // nothing before the marker: all is found
        {kMakeToc, "<H2>  !...!  </H2>", "MakeTOC <H2>|</H2>"},
        {kMakeFile, "<HR>\t!...! <HR>", "MakeFile <HR>|<HR>"},
        // The line-break marker follows the source's line ends in every text but the name.
        {kReplace, "a!$b!with!c!$d", "Replace a\r\nb||c\r\nd"},
        {kReplace, "a!$b!with!c!$d", "Replace a\nb||c\nd", true},
        {kReplace, "a\r\nb!with!c", "Replace a\nb||c", true},
        {kReplace, "a!!$$\r\r\n\n!with!c", "Replace a!\n$\r\n\n||c", true},  // a bare CR or LF stays
        {kAdd, "x!$y!after!p!$q", "Add p\r\nq||x\r\ny"},
        {kDelete, "<P>!$!...!!$</P>", "Delete <P>\n|\n</P>", true},
        {kExtract, "a!$!...!b!$!save as!v!$", "Extract a\r\n|b\r\n as v!$"},
        {kMakeToc, "<H2>!$ !...! !$</H2>", "MakeTOC <H2>\r\n|\r\n</H2>"},
    };
    for (const auto& c : cases) {
        RunFixture f;
        f.run.SetLfOnly(c.lfOnly);
        ASSERT_TRUE((f.run.*c.parse)(c.text)) << c.text << ::testing::PrintToString(f.document.logLines);
        ASSERT_EQ(f.document.commands.Size(), 1u);
        EXPECT_EQ(RecordText(f.document.commands.At(0)), c.record) << c.text;
        EXPECT_EQ(f.document.commands.At(0).commandNumber, 1);
        EXPECT_EQ(f.Boxes(), "");
        EXPECT_TRUE(f.document.logLines.empty());
    }
}

TEST(CommandParsers, NumbersCountOnlyTheRecordsBuilt) {
    RunFixture f;
    ASSERT_TRUE(f.run.ParseDeleteCommand("<B>"));
    ASSERT_FALSE(f.run.ParseReplaceCommand("no marker"));
    ASSERT_TRUE(f.run.ParseMakeTocCommand("<H2>!...!</H2>"));
    ASSERT_EQ(f.document.commands.Size(), 2u);
    EXPECT_EQ(f.document.commands.At(1).commandNumber, 2);
}

CCmdVar& Named(CCmdVarList& list, const std::string& name, std::int32_t number) {
    CCmdVar& r = list.Append();
    r.variableName = name;
    r.commandNumber = number;
    return r;
}

// Templates name variables in any case of the ASCII letters, and only those.
TEST(CommandLists, FindVariableFoldsOnlyAsciiLetters) {
    CCmdVarList list;
    EXPECT_EQ(list.FindVariable("title_1"), nullptr);
    Named(list, "", 1);  // a command record carries no name
    CCmdVar& title = Named(list, "Title_1", 2);
    Named(list, "TITLE_1", 3);
    CCmdVar& latin = Named(list, "caf\xE9", 4);
    CCmdVar& utf8 = Named(list, "caf\xC3\xA9", 5);
    EXPECT_EQ(list.FindVariable("TiTlE_1"), &title);  // the first one from the head
    EXPECT_EQ(list.FindVariable("CAF\xE9"), &latin);
    EXPECT_EQ(list.FindVariable("caf\xC9"), nullptr);  // Latin-1 capital E acute
    EXPECT_EQ(list.FindVariable("CAF\xC3\xA9"), &utf8);
    EXPECT_EQ(list.FindVariable("caf\xC3\x89"), nullptr);  // UTF-8 capital E acute
    EXPECT_EQ(list.FindVariable(""), nullptr);
}

// The Wrap command line: its texts, the number-format decoding and its errors.
const std::string kRest = "!...!x!with start!a!end!b";
const std::string kLongest(4096, 'y');

// Prefix, format, paragraph end and the two texts, untrimmed; line breaks as
// the source has them; markers in any case unless match case is on.
TEST(WrapParse, DecodesItsFields) {
    const struct { std::string text, record; bool lfOnly = false, matchCase = false; } cases[] = {
        {"X!.!X!.!!...!</P>!with start!<LI>!end!</LI>", "|X.X.|</P>|<LI>|</LI>"},
        {"!(!rr!)!" + kRest, "|(rr)|x|a|b"},
        {"  X!.!" + kRest, "|X.|x|a|b"},
        {"(X)" + kRest, "||x|a|b"},
        {"<P>!***!" + kRest, "<P>||x|a|b"},
        {"<P>!***!XX!.!" + kRest, "<P>|XX.|x|a|b"},
        {"X!a" + kRest, "|X|x|a|b"},  // a '!' not followed by a delimiter ends the format quietly
        {"!(-!  x!)!" + kRest, "|(-x)|x|a|b"},
        {"X!.!!...! </P>!with start! <LI> !end! </LI>", "|X.| </P>| <LI> | </LI>"},
        {"X!.!!...!!$!$!with start!<LI>!end!</LI>!$", "|X.|\r\n\r\n|<LI>|</LI>\r\n"},
        {"X!.!!...!!$!$!with start!<LI>!end!</LI>!$", "|X.|\n\n|<LI>|</LI>\n", true},
        {"X!.!!...!x!WITH START!a!End!b", "|X.|x|a|b"},
        {"X!.!!...!x!WITH START!a!end!b", "", false, true},
        {std::string(260, 'p') + "!***!X!.!!...!x!with start!" + kLongest + "!end!" + kLongest,
         std::string(260, 'p') + "|X.|x|" + kLongest + "|" + kLongest},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        RunFixture f;
        f.run.SetLfOnly(c.lfOnly);
        f.run.SetMatchCase(c.matchCase);
        ASSERT_EQ(f.run.ParseWrapCommand(c.text), !c.record.empty());
        if (c.record.empty()) continue;
        ASSERT_EQ(f.document.wrappers.Size(), 1u);
        const CWrapper& w = f.document.wrappers.At(0);
        EXPECT_EQ(w.numberPrefix + "|" + w.numberFormat + "|" + w.endOfParagraph + "|" + w.textBefore + "|" +
                      w.textAfter,
                  c.record);
        EXPECT_EQ(w.wrapNumber, 1);
        EXPECT_EQ(f.Boxes(), "");
    }
}

TEST(WrapParse, ErrorsShowANoteAndALogLineAndAppendNothing) {
    const std::string big(4097, 'y');
    const std::string p = "***> 'Wrap' Command Error: ";
    const std::string notDelimiter = " is not a valid delimiter character!\ndelimiter must be defined as "
                                     "!ddd!\nWhere each d is a valid delimiter character.\n'Can't continue!";
    const struct { std::string text, box, logLine = ""; } cases[] = {  // the log line: the prefix and box, or this
        {"X!.!x!with start!a!end!b", "!...! is missing in line!"},
        {"X!.!!...!x!end!b", "'!with start! ' is missing in line!"},
        {"X!.!!...!x!with start!a", "'!end! ' is missing in line!", p + "!end! ' is missing in line!"},
        {"!a!X" + kRest,
         "'!' not allowed in format area\nunless its used as a delimiter indicator!\n'a' follows '!'.  Can't continue!",
         p + "'!' not allowed in wrap format area unless its used as a delimiter indicator!"},
        {"!(X" + kRest, "'X'" + notDelimiter, p + "'Wrap' Command Error:\n'X' is not a valid delimiter character!"},
        {"!((((((((((!X" + kRest, "'('" + notDelimiter,
         p + "'Wrap' Command Error:\n'(' is not a valid delimiter character!"},
        {"!(!  " + kRest,
         "Don't know how to interrupt:\n!(!  \nfollowing first delimiter indicator '!'.\nCan't continue!",
         p + "Don't know how to interrupt paragraph format!"},
        {"X!.a!" + kRest, "'!' is not a valid format delimiter!\nCan't continue!",
         p + "'Wrap' Command Error:\n'!' is not a valid format delimiter!"},
        {"X!.!!...!x!with start!a!end!" + big, "Ending wrap character pattern too long!"},
        {"X!.!!...!x!with start!" + big + "!end!b", "Starting wrap character pattern too long!"},
        {"X!.!!...!" + big + "!with start!a!end!b", "Starting wrap character pattern too long!"},
        {std::string(261, 'p') + "!***!X!.!" + kRest,
         "Prefix:\n" + std::string(261, 'p') + " to long.\nCan't continue!", p + "Prefix to long!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        RunFixture f;
        EXPECT_FALSE(f.run.ParseWrapCommand(c.text));
        EXPECT_TRUE(f.document.wrappers.Empty());
        EXPECT_EQ(f.Boxes(), "[note] 'Wrap' Command Error:\n" + c.box + "\n");
        EXPECT_EQ(f.document.logLines, std::vector<std::string>{c.logLine.empty() ? p + c.box : c.logLine});
    }
}

}  // namespace
}  // namespace webquill::test
