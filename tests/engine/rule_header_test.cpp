// The rule file's &Header section: markers, key values, their failures and
// the ExecuteSequence slots, on rule files read from disk.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "password_scrambling.h"
#include "test_support.h"

namespace webquill::test {
namespace {

constexpr const char* kRequired = "Document: src.htm\r\nWWWFileName: out/page\r\n";

class RuleHeaderTest : public ::testing::Test {
protected:
    // Writes the rule text, reads it and parses its header.
    bool Parse(const std::string& text, bool matchCase = false) {
        f.document.ruleFilePath = dir.Write("site.rul", text);
        f.run.SetMatchCase(matchCase);
        if (!f.run.ReadRuleFile()) {
            ADD_FAILURE() << "rule file not read";
            return false;
        }
        return f.run.ParseHeaderSection();
    }
    // A complete header holding `lines` before the two required keys.
    bool ParseHeader(const std::string& lines) {
        return Parse("&Header:\r\n" + lines + kRequired + "&Commands:\r\n");
    }
    void ExpectFailure(const std::string& message) {
        ASSERT_EQ(f.host.boxes.size(), 1u);
        EXPECT_EQ(f.host.boxes[0].kind, BoxKind::Note);
        EXPECT_EQ(f.host.boxes[0].text, message + "\n***  Can't continue  ***");
        EXPECT_EQ(f.document.logLines, std::vector<std::string>{"***> " + message});
    }
    void ClearReports() {
        f.document.logLines.clear();
        f.host.boxes.clear();
        f.host.statusTexts.clear();
    }
    void ExpectNoMessage() {
        EXPECT_TRUE(f.host.boxes.empty());
        EXPECT_TRUE(f.document.logLines.empty());
    }

    TempDir dir;
    RunFixture f;
};

TEST_F(RuleHeaderTest, FailureMessages) {
    struct Case {
        std::string text;
        std::string message;
    };
    const std::string noHeader = "No &Header section specified in Rule File!";
    const std::string noCommand = "No &Command section specified in Rule File!";
    const std::string noDocument = "No starting HTML Document 'Document:' specified in Rule File!";
    const std::string noRoot = "Root file name 'WWWFileName:' not defined in Rule File!";
    const std::string noDirectory =
        "Root file name 'WWWFileName:' in Rule File needs a directory and a root file name!";
    const std::vector<Case> cases = {
        {std::string("Header:\r\n") + kRequired + "&Commands:\r\n", noHeader},
        {std::string("&Header:\r\n") + kRequired, noCommand},
        {"&Header:\r\nWWWFileName: out/page\r\n&Commands:\r\n", noDocument},
        {"&Header:\r\nDocument: src.htm\r\n&Commands:\r\n", noRoot},
        {"&Header:\r\nDocument: src.htm\r\nWWWFileName: index\r\n&Commands:\r\n", noDirectory},
        // Every key after the &Command marker is out of the header.
        {std::string("&Commands:\r\n&Header:\r\n") + kRequired, noDocument},
        {"&Header:\r\nDocument: src.htm\r\n&Commands:\r\nWWWFileName: out/page\r\n", noRoot},
        // "Document:" with nothing after the colon is absent.
        {"&Header:\r\nDocument:\r\nWWWFileName: out/page\r\n&Commands:\r\n", noDocument},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ClearReports();
        EXPECT_FALSE(Parse(c.text));
        ExpectFailure(c.message);
    }
}

TEST_F(RuleHeaderTest, MatchCaseAppliesToMarkersAndKeys) {
    const std::string lower = std::string("&header:\r\n") + kRequired + "&commands:\r\n";
    EXPECT_TRUE(Parse(lower, false));
    ExpectNoMessage();
    EXPECT_EQ(f.document.rule.document, "src.htm");

    ClearReports();
    EXPECT_FALSE(Parse(lower, true));
    ExpectFailure("No &Header section specified in Rule File!");

    ClearReports();
    EXPECT_FALSE(Parse("&Header:\r\ndocument: src.htm\r\nWWWFileName: out/page\r\n&Commands:\r\n",
                       true));
    ExpectFailure("No starting HTML Document 'Document:' specified in Rule File!");
}

TEST_F(RuleHeaderTest, CommandMarkerWithOrWithoutItsEnding) {
    for (const char* marker : {"&Commands:\r\n", "&Command\r\n", "&Command", "&Commands: x\n"}) {
        SCOPED_TRACE(marker);
        EXPECT_TRUE(Parse(std::string("&Header:\r\n") + kRequired + marker));
        ExpectNoMessage();
    }
}

TEST_F(RuleHeaderTest, RequiredValuesAndTheWwwSplit) {
    struct Case {
        std::string value;
        std::string directory;
        std::string root;
    };
    const std::vector<Case> cases = {
        {"C:\\web\\index", "C:\\web", "index"},
        {"out/a.htm", "out", "a.htm"},
        {"site/pages\\idx", "site/pages", "idx"},
        {"a\\b/c", "a\\b", "c"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(Parse("&Header:\r\nDocument:  my doc.htm \r\nWWWFileName: " + c.value +
                          "\r\n&Commands:\r\n"));
        EXPECT_EQ(f.document.rule.document, "my doc.htm");
        EXPECT_EQ(f.document.rule.wwwDirectory, c.directory) << c.value;
        EXPECT_EQ(f.document.rule.wwwFileName, c.root) << c.value;
    }
    ExpectNoMessage();
}

TEST_F(RuleHeaderTest, WhichOccurrenceOfAKeyCounts) {
    struct Case {
        std::string lines;
        std::string tocName;
    };
    const std::vector<Case> cases = {
        {"TOCName: toc.htm\r\n", "toc.htm"},
        {"TOCName: first.htm\r\nTOCName: second.htm\r\n", "first.htm"},
        {"&& TOCName: old.htm\r\nTOCName: new.htm\r\n", "new.htm"},
        {"x &&y TOCName: old.htm\r\nTOCName: new.htm\r\n", "new.htm"},
        {"TOCName: a && b\r\n", "a && b"},
        // Inside another word or another key's value.
        {"MyTOCName: word.htm\r\nTOCName: line.htm\r\n", "word.htm"},
        {"FtpURL: TOCName: value.htm\r\nTOCName: line.htm\r\n", "value.htm"},
        // The colon may stand on a later line.
        {"TOCName\r\n  : later.htm\r\n", "later.htm"},
        {"TOCName = x\r\nFtpURL: ftp.example\r\n", "ftp.example"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(ParseHeader(c.lines)) << c.lines;
        EXPECT_EQ(f.document.rule.tocName, c.tocName) << c.lines;
    }
    // The same for the required key, and text before the header is ignored.
    EXPECT_TRUE(Parse("Document: before.htm\r\n&Header:\r\n&& Document: old.htm\r\n"
                      "Document: new.htm\r\nWWWFileName: out/page\r\n&Commands:\r\n"));
    EXPECT_EQ(f.document.rule.document, "new.htm");
    ExpectNoMessage();
}

TEST_F(RuleHeaderTest, PresentEmptyAndAbsentValues) {
    struct Case {
        std::string text;
        std::string intermediate;  // held beforehand: "held.htm"
    };
    const std::string tail = std::string(kRequired) + "&Commands:\r\n";
    const std::vector<Case> cases = {
        {"&Header:\r\nIntermediateFile: mid.htm\r\n" + tail, "mid.htm"},
        {"&Header\nIntermediateFile: \tmid.htm \t\n" + tail, "mid.htm"},
        {"&Header:\r\nIntermediateFile: a\rb\r\r\n" + tail, "a\rb"},
        {"&Header:\r\nIntermediateFile:\r\n" + tail, "held.htm"},
        {"&Header:\r\nIntermediateFile:\n" + tail, "held.htm"},
        {"&Header:\r\nIntermediateFile:   \r\n" + tail, ""},
        {"&Header:\r\nIntermediateFile: \t \n" + tail, ""},
        {"&Header:\r\n" + tail, "held.htm"},
        {"&Header:\r\n" + tail + "IntermediateFile: after.htm\r\n", "held.htm"},
        // No line feed after the value: absent.
        {"&Header:\r\n" + std::string(kRequired) + "IntermediateFile: mid.htm &Commands:",
         "held.htm"},
        // No colon anywhere after the key: absent.
        {"&Header:\r\n" + std::string(kRequired) + "IntermediateFile\r\n&Commands\r\n", "held.htm"},
    };
    for (const Case& c : cases) {
        f.document.rule.intermediateFile = "held.htm";
        EXPECT_TRUE(Parse(c.text)) << c.text;
        EXPECT_EQ(f.document.rule.intermediateFile, c.intermediate) << c.text;
    }
    ExpectNoMessage();
}

TEST_F(RuleHeaderTest, OptionalValuesGoToTheDocument) {
    EXPECT_TRUE(ParseHeader(
        "IntermediateFile: mid.htm\r\nTOCName: toc.htm\r\nFtpURL: ftp.example.com\r\n"
        "UserID: me\r\nTOCServerDir: /toc\r\nWWWServerDir: /www\r\nImagesLocalDir: img\r\n"
        "ImagesServerDir: /img\r\n"));
    const RuleValues& rule = f.document.rule;
    EXPECT_EQ(rule.intermediateFile, "mid.htm");
    EXPECT_EQ(rule.tocName, "toc.htm");
    EXPECT_EQ(rule.ftpUrl, "ftp.example.com");
    EXPECT_EQ(rule.userId, "me");
    EXPECT_EQ(rule.tocServerDir, "/toc");
    EXPECT_EQ(rule.wwwServerDir, "/www");
    EXPECT_EQ(rule.imagesLocalDir, "img");
    EXPECT_EQ(rule.imagesServerDir, "/img");
    ExpectNoMessage();
}

TEST_F(RuleHeaderTest, PasswordIsUnscrambledAndKeepsItsTrailingBlanks) {
    struct Case {
        std::string stored;
        std::string password;
    };
    const std::vector<Case> cases = {
        {ScramblePassword("Top Secret!"), "Top Secret!"},
        {ScramblePassword(" pad "), " pad "},
        {" \t plain pw  ", "plain pw  "},  // stored as plain text
        {"   ", ""},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(ParseHeader("UserPW: " + c.stored + "\r\n"));
        EXPECT_EQ(f.document.rule.userPassword, c.password);
    }
}

TEST_F(RuleHeaderTest, TemplatesGiveNoticesAndFlags) {
    EXPECT_TRUE(ParseHeader(""));
    EXPECT_EQ(f.document.rule.tocTemplate, "No TOC Template file specified!");
    EXPECT_EQ(f.document.rule.headerName, "No header file specified!");
    EXPECT_EQ(f.document.rule.footerName, "No footer file specified!");
    EXPECT_FALSE(f.run.HasTocTemplate());
    EXPECT_FALSE(f.run.HasHeader());
    EXPECT_FALSE(f.run.HasFooter());

    EXPECT_TRUE(ParseHeader("TOCTemplate: t.htm\r\nHeaderName: h.htm\r\nFooterName: f.htm\r\n"));
    EXPECT_EQ(f.document.rule.tocTemplate, "t.htm");
    EXPECT_EQ(f.document.rule.headerName, "h.htm");
    EXPECT_EQ(f.document.rule.footerName, "f.htm");
    EXPECT_TRUE(f.run.HasTocTemplate());
    EXPECT_TRUE(f.run.HasHeader());
    EXPECT_TRUE(f.run.HasFooter());

    // A second parse clears the header and footer flags; the TOC template flag
    // is only ever set.
    EXPECT_TRUE(ParseHeader("HeaderName: h.htm\r\n"));
    EXPECT_TRUE(f.run.HasHeader());
    EXPECT_FALSE(f.run.HasFooter());
    EXPECT_TRUE(f.run.HasTocTemplate());
    EXPECT_EQ(f.document.rule.tocTemplate, "No TOC Template file specified!");

    // Blanks only: present and empty, so the flag is set.
    EXPECT_TRUE(ParseHeader("FooterName:  \r\n"));
    EXPECT_EQ(f.document.rule.footerName, "");
    EXPECT_TRUE(f.run.HasFooter());
    ExpectNoMessage();
}

TEST_F(RuleHeaderTest, ExecuteSequenceSlots) {
    using Slots = std::array<int, 5>;
    struct Case {
        std::string value;
        Slots slots;  // starting from 7, 7, 7, 7, 7
    };
    const std::vector<Case> cases = {
        {"1", {1, 7, 7, 7, 7}},
        {"1,2,3,4,5", {1, 0, 0, 0, 0}},
        {"5 4 3 2 1 9 9", {5, 4, 3, 2, 1}},
        {"4 2 3 1 5", {4, 2, 3, 1, 5}},
        {"none", {7, 7, 7, 7, 7}},
        {"1 2", {1, 2, 7, 7, 7}},
        {"order: 3 1", {3, 1, 7, 7, 7}},
        {"12 3", {12, 3, 7, 7, 7}},
        {"1;2", {1, 0, 7, 7, 7}},
        {"1  2", {1, 2, 2, 7, 7}},
        // '-' is a delimiter too, so the number after it is read a second time.
        {"1 -2", {1, -2, -2, 7, 7}},
        {"-3", {3, 7, 7, 7, 7}},
        {"99999999999 2", {INT_MAX, 2, 7, 7, 7}},
        {"1 -99999999999", {1, INT_MIN, INT_MIN, 7, 7}},
    };
    for (const Case& c : cases) {
        f.document.rule.executeSequence = {7, 7, 7, 7, 7};
        EXPECT_TRUE(ParseHeader("ExecuteSequence: " + c.value + "\r\n"));
        EXPECT_EQ(f.document.rule.executeSequence, c.slots) << c.value;
    }
    f.document.rule.executeSequence = {7, 7, 7, 7, 7};
    EXPECT_TRUE(ParseHeader("ExecuteSequence:\r\n"));
    EXPECT_EQ(f.document.rule.executeSequence, (Slots{7, 7, 7, 7, 7}));
    ExpectNoMessage();
}

TEST_F(RuleHeaderTest, ValuesHoldAtMost259Characters) {
    const std::string longest(259, 'v');
    EXPECT_TRUE(Parse("&Header:\r\nDocument: " + longest + "   \r\nWWWFileName: out/" +
                      longest.substr(4) +
                      "\r\nTOCName: " + longest + "\r\n&Commands:\r\n"));
    EXPECT_EQ(f.document.rule.document, longest);
    EXPECT_EQ(f.document.rule.tocName, longest);
    ExpectNoMessage();

    for (const char* key : {"Document", "WWWFileName", "TOCName", "HeaderName", "UserPW"}) {
        SCOPED_TRACE(key);
        ClearReports();
        EXPECT_FALSE(ParseHeader(std::string(key) + ": " + std::string(260, 'v') + "\r\n"));
        ExpectFailure(std::string("Value of '") + key +
                      ":' in Rule File is longer than 259 characters!");
    }
}

}  // namespace
}  // namespace webquill::test
