// The rule file's &Header section: markers, key values, their failures and
// the ExecuteSequence slots, on rule files read from disk.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "engine/password_scrambling.h"
#include "tests/engine/test_support.h"

namespace webquill::test {
namespace {

const std::string kRequired = "Document: src.htm\r\nWWWFileName: out/page\r\n";

class RuleHeaderTest : public ::testing::Test {
protected:
    // Writes the rule text, reads it and parses its header, with fresh reports.
    bool Parse(const std::string& text, bool matchCase = false) {
        f.document.logLines.clear();
        f.host.boxes.clear();
        f.document.ruleFilePath = dir.Write("site.rul", text);
        f.run.SetMatchCase(matchCase);
        EXPECT_TRUE(f.run.ReadRuleFile());
        return f.run.ParseHeaderSection();
    }
    // A complete header holding `lines` before the two required keys.
    bool ParseHeader(const std::string& lines) { return Parse("&Header:\r\n" + lines + kRequired + "&Commands:\r\n"); }
    void ExpectFailure(const std::string& message) {
        EXPECT_EQ(f.Boxes(), "[note] " + message + "\n***  Can't continue  ***\n");
        EXPECT_EQ(f.document.logLines, std::vector<std::string>{"***> " + message});
    }
    void ExpectNoMessage() {
        EXPECT_EQ(f.Boxes(), "");
        EXPECT_TRUE(f.document.logLines.empty());
    }

    TempDir dir;
    RunFixture f;
};

TEST_F(RuleHeaderTest, FailureMessages) {
    const std::string noHeader = "No &Header section specified in Rule File!";
    const std::string noDocument = "No starting HTML Document 'Document:' specified in Rule File!";
    const std::string noRoot = "Root file name 'WWWFileName:' not defined in Rule File!";
    const std::string noDirectory =
        "Root file name 'WWWFileName:' in Rule File needs a directory and a root file name!";
    const struct { std::string text; std::string message; bool matchCase = false; } cases[] = {
        {"Header:\r\n" + kRequired + "&Commands:\r\n", noHeader},
        {"&header:\r\n" + kRequired + "&commands:\r\n", noHeader, true},
        {"&Header:\r\n" + kRequired, "No &Command section specified in Rule File!"},
        {"&Header:\r\nWWWFileName: out/page\r\n&Commands:\r\n", noDocument},
        {"&Header:\r\ndocument: src.htm\r\nWWWFileName: out/page\r\n&Commands:\r\n", noDocument, true},
        {"&Header:\r\nDocument: src.htm\r\n&Commands:\r\n", noRoot},
        {"&Header:\r\nDocument: src.htm\r\nWWWFileName: index\r\n&Commands:\r\n", noDirectory},
        {"&Header:\r\nDocument: src.htm\r\nWWWFileName: out/\r\n&Commands:\r\n", noDirectory},
        // A key after the &Command marker is out of the header.
        {"&Header:\r\nDocument: src.htm\r\n&Commands:\r\nWWWFileName: out/page\r\n", noRoot},
        // "Document:" with nothing after the colon is absent.
        {"&Header:\r\nDocument:\r\nWWWFileName: out/page\r\n&Commands:\r\n", noDocument},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_FALSE(Parse(c.text, c.matchCase));
        ExpectFailure(c.message);
    }
}

// Markers in any case, the command marker with or without its ending; the
// WWW value split at its last separator of either kind.
TEST_F(RuleHeaderTest, MarkersAndTheWwwSplit) {
    const struct { const char* marker; std::string value, directory, root; } cases[] = {
        {"&commands:\r\n", "C:\\web\\index", "C:\\web", "index"},
        {"&Command\r\n", "site/pages\\idx", "site/pages", "idx"},
        {"&Command", "a\\b/c", "a\\b", "c"},
        {"&Commands: x\n", "out/page", "out", "page"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.marker);
        EXPECT_TRUE(Parse("&header:\r\nDocument:  my doc.htm \r\nWWWFileName: " + c.value + "\r\n" + c.marker));
        EXPECT_EQ(f.document.rule.document, "my doc.htm");
        EXPECT_EQ(f.document.rule.wwwDirectory, c.directory);
        EXPECT_EQ(f.document.rule.wwwFileName, c.root);
        ExpectNoMessage();
    }
}

TEST_F(RuleHeaderTest, WhichValueAKeyGets) {
    const std::string tail = kRequired + "&Commands:\r\n";
    auto header = [&](const std::string& lines) { return "&Header:\r\n" + lines + tail; };
    const std::vector<std::pair<std::string, std::string>> cases = {  // "held.htm" held from an earlier file
        {header("TOCName: first.htm\r\nTOCName: second.htm\r\n"), "first.htm"},
        {header("&& TOCName: old.htm\r\nTOCName: new.htm\r\n"), "new.htm"},
        {header("TOCName: a && b\r\n"), "a && b"},
        // Inside another word or another key's value.
        {header("MyTOCName: word.htm\r\nTOCName: line.htm\r\n"), "word.htm"},
        {header("FtpURL: TOCName: value.htm\r\nTOCName: line.htm\r\n"), "value.htm"},
        {header("TOCName\r\n  : later.htm\r\n"), "later.htm"},  // the colon may stand on a later line
        {"&Header\nTOCName: \tmid.htm \t\n" + tail, "mid.htm"},
        {header("TOCName: a\rb\r\r\n"), "a\rb"},
        {header("TOCName:\r\n"), ""},  // nothing after the colon: absent
        {header("TOCName:   \r\n"), ""},       // blanks: present and empty
        {header(""), ""},
        {header("") + "TOCName: after.htm\r\n", ""},
        // No line feed after the value, or no colon after the key: absent.
        {"&Header:\r\n" + kRequired + "TOCName: mid.htm &Commands:", ""},
        {"&Header:\r\n" + kRequired + "TOCName\r\n&Commands\r\n", ""},
    };
    for (const auto& [text, tocName] : cases) {
        f.document.rule.tocName = "held.htm";
        EXPECT_TRUE(Parse(text)) << text;
        EXPECT_EQ(f.document.rule.tocName, tocName) << text;
        ExpectNoMessage();
    }
    // The same for a required key, and text before the header is ignored.
    EXPECT_TRUE(Parse("Document: before.htm\r\n&Header:\r\n&& Document: old.htm\r\n"
                      "Document: new.htm\r\nWWWFileName: out/page\r\n&Commands:\r\n"));
    EXPECT_EQ(f.document.rule.document, "new.htm");
}

TEST_F(RuleHeaderTest, OptionalValuesGoToTheDocumentAndThePasswordIsUnscrambled) {
    EXPECT_TRUE(ParseHeader("IntermediateFile: mid.htm\r\nTOCName: toc.htm\r\nFtpURL: ftp.example.com\r\n"
                            "UserID: me\r\nTOCServerDir: /toc\r\nWWWServerDir: /www\r\nImagesLocalDir: img\r\n"
                            "ImagesServerDir: /img\r\nUserPW: " + ScramblePassword(" Top Secret! ") + "\r\n"));
    const RuleValues& r = f.document.rule;
    EXPECT_EQ(std::vector<std::string>({r.intermediateFile, r.tocName, r.ftpUrl, r.userId, r.tocServerDir,
                                        r.wwwServerDir, r.imagesLocalDir, r.imagesServerDir, r.userPassword}),
              std::vector<std::string>({"mid.htm", "toc.htm", "ftp.example.com", "me", "/toc", "/www", "img", "/img",
                                        " Top Secret! "}));  // the password keeps its trailing blanks
    ExpectNoMessage();
    for (const auto& [stored, password] : {std::pair{" \t plain pw  ", "plain pw  "}, {"   ", ""}}) {  // plain text
        EXPECT_TRUE(ParseHeader(std::string("UserPW: ") + stored + "\r\n"));
        EXPECT_EQ(f.document.rule.userPassword, password);
    }
}

TEST_F(RuleHeaderTest, TemplatesGiveNoticesAndFlags) {
    auto state = [&] {
        const RuleValues& r = f.document.rule;
        return r.tocTemplate + "|" + r.headerName + "|" + r.footerName + "|" + (f.run.HasTocTemplate() ? "T" : "-") +
               (f.run.HasHeader() ? "H" : "-") + (f.run.HasFooter() ? "F" : "-");
    };
    EXPECT_TRUE(ParseHeader(""));
    EXPECT_EQ(state(), "No TOC Template file specified!|No header file specified!|No footer file specified!|---");
    EXPECT_TRUE(ParseHeader("TOCTemplate: t.htm\r\nHeaderName: h.htm\r\nFooterName: f.htm\r\n"));
    EXPECT_EQ(state(), "t.htm|h.htm|f.htm|THF");
    // A second parse starts from none.
    EXPECT_TRUE(ParseHeader("HeaderName: h.htm\r\n"));
    EXPECT_EQ(state(), "No TOC Template file specified!|h.htm|No footer file specified!|-H-");
    // Blanks only: present and empty, so the flag is set.
    EXPECT_TRUE(ParseHeader("FooterName:  \r\n"));
    EXPECT_EQ(state(), "No TOC Template file specified!|No header file specified!||--F");
    ExpectNoMessage();
}

TEST_F(RuleHeaderTest, ExecuteSequenceSlots) {
    using Slots = std::array<int, 5>;
    const std::vector<std::pair<std::string, Slots>> cases = {  // 7, 7, 7, 7, 7 held from an earlier file
        {"", {4, 2, 3, 1, 5}},
        {"1,2,3,4,5", {1, 0, 0, 0, 0}},
        {"5 4 3 2 1 9", {5, 4, 3, 2, 1}},
        {"order: 3 1", {3, 1, 3, 1, 5}},
        {"1  2", {1, 2, 2, 1, 5}},
        // '-' is a delimiter too, so the number after it is read a second time.
        {"1 -2", {1, -2, -2, 1, 5}},
        {"-3", {3, 2, 3, 1, 5}},
        {"99999999999 2", {INT_MAX, 2, 3, 1, 5}},
        {"1 -99999999999", {1, INT_MIN, INT_MIN, 1, 5}},
    };
    for (const auto& [value, slots] : cases) {
        f.document.rule.executeSequence = {7, 7, 7, 7, 7};
        EXPECT_TRUE(ParseHeader("ExecuteSequence:" + (value.empty() ? "" : " " + value) + "\r\n"));
        EXPECT_EQ(f.document.rule.executeSequence, slots) << value;
    }
    ExpectNoMessage();
}

TEST_F(RuleHeaderTest, ValuesHoldAtMost259Characters) {
    const std::string longest(259, 'v');
    EXPECT_TRUE(Parse("&Header:\r\nDocument: " + longest + "   \r\nWWWFileName: out/" + longest.substr(4) +
                      "\r\nTOCName: " + longest + "\r\n&Commands:\r\n"));
    EXPECT_EQ(f.document.rule.document, longest);
    EXPECT_EQ(f.document.rule.tocName, longest);
    ExpectNoMessage();
    for (const char* key : {"Document", "WWWFileName", "TOCName", "HeaderName", "UserPW"}) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(ParseHeader(std::string(key) + ": " + std::string(260, 'v') + "\r\n"));
        ExpectFailure(std::string("Value of '") + key + ":' in Rule File is longer than 259 characters!");
    }
}

}  // namespace
}  // namespace webquill::test
