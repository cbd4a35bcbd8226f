// The rule file writer: exact output for the cases the format pins down, and
// a save that replaces the old file only when it was written whole.
#include <gtest/gtest.h>

#include "engine/password_scrambling.h"
#include "core/editor/rule_file_tasks.h"
#include "tests/engine/test_support.h"

namespace webquill {
namespace {

using test::ReadFile;
using test::TempDir;

RuleValues RequiredOnly() {
    RuleValues rule;
    rule.document = "src.htm";
    rule.wwwDirectory = "out";
    rule.wwwFileName = "page";
    return rule;
}

constexpr const char* kHeaderOfRequired =
    "&Header:\r\nDocument: src.htm\r\nWWWFileName: out/page\r\nExecuteSequence: 4 2 3 1 5\r\n\r\n&Commands:";

CCmdVar& Add(CCmdVarList& list, CommandKind kind, std::string first, std::string second = "",
             std::optional<std::string> newText = std::nullopt, int instance = 1) {
    CCmdVar& r = list.Append();
    r.kind = kind;
    r.firstText = std::move(first);
    r.secondText = std::move(second);
    r.newText = std::move(newText);
    r.instance = instance;
    return r;
}

TEST(RuleFileWriter, EveryHeaderLineInItsOrderWithThePasswordScrambled) {
    RuleValues rule = RequiredOnly();
    rule.intermediateFile = "i.htm", rule.tocName = "toc.htm", rule.tocTemplate = "t.tpl";
    rule.headerName = "h.hdr", rule.footerName = "f.ftr", rule.ftpUrl = "ftp://h", rule.userId = "me";
    rule.userPassword = "pw", rule.tocServerDir = "/t", rule.wwwServerDir = "/w";
    rule.imagesLocalDir = "img", rule.imagesServerDir = "/i";
    rule.wwwDirectory = "C:\\web";
    rule.executeSequence = {5, 4, 2, 3, 1};
    EXPECT_EQ(ComposeRuleFile(rule, {}, {}),
              "&Header:\r\nDocument: src.htm\r\nIntermediateFile: i.htm\r\nTOCName: toc.htm\r\n"
              "TOCTemplate: t.tpl\r\nWWWFileName: C:\\web\\page\r\nHeaderName: h.hdr\r\nFooterName: f.ftr\r\n"
              "ExecuteSequence: 5 4 2 3 1\r\nFtpURL: ftp://h\r\nUserID: me\r\nUserPW: " +
                  ScramblePassword("pw") +
                  "\r\nTOCServerDir: /t\r\nWWWServerDir: /w\r\nImagesLocalDir: img\r\nImagesServerDir: /i\r\n"
                  "\r\n&Commands:");
}

TEST(RuleFileWriter, CommandsGroupedByKindWithTheirInstanceForms) {
    EXPECT_EQ(ComposeRuleFile(RequiredOnly(), {}, {}), kHeaderOfRequired);  // nothing after an empty section
    CCmdVarList list;
    Add(list, CommandKind::MakeTOC, "<H2>", "</H2>");
    Add(list, CommandKind::MakeTOC, "<H3>", "</H3>");  // only the first is written
    Add(list, CommandKind::Replace, "a", "", "b", 0);
    Add(list, CommandKind::Add, "<BODY>", "", "<HR>", 0).before = 1;
    Add(list, CommandKind::Delete, "<!--", "-->", std::nullopt, 2);
    Add(list, CommandKind::Delete, "<BR>", "", std::nullopt, 0);
    Add(list, CommandKind::Replace, "c", "", "d", 3);
    Add(list, CommandKind::Add, "</P>", "", "x", 1);
    Add(list, CommandKind::Extract, "<T>", "</T>").variableName = "Title";
    Add(list, CommandKind::MakeFile, "<!-- c -->", "<!-- /c -->");
    CWrapperList wraps;
    CWrapper& w = wraps.Append();
    w.numberPrefix = "<P>", w.numberFormat = "X.X.", w.endOfParagraph = "</P>";
    w.textBefore = "<LI>", w.textAfter = "</LI>";
    CWrapper& bare = wraps.Append();
    bare.numberFormat = "(rrr)", bare.endOfParagraph = "e";
    EXPECT_EQ(ComposeRuleFile(RequiredOnly(), list, wraps),
              std::string(kHeaderOfRequired) +
                  "\r\nWrap <P>!***!X!.!X!.!!...!</P>!with start!<LI>!end!</LI>"
                  "\r\nWrap !(!rrr!)!!...!e!with start!!end!"
                  "\r\nExtract <T>!...!</T>!save as!Title"
                  "\r\nDelete <!--!...!-->::2"
                  "\r\nDelete <BR>::A\r\n"
                  "\r\nAdd <HR>!before!<BODY>::A\r\n"
                  "\r\nAdd x!after!</P>::1"
                  "\r\nReplace a!with!b::A"
                  "\r\nReplace c!with!d::3"
                  "\r\nMakeTOC <H2>!...!</H2>"
                  "\r\nMakeFile <!-- c -->!...!<!-- /c -->");
}

TEST(RuleFileWriter, NumberFormatsAndLineBreaksTheReaderWouldLose) {
    EXPECT_EQ(EncodeNumberFormat("X.X."), "X!.!X!.!");
    EXPECT_EQ(EncodeNumberFormat("(rrr)"), "!(!rrr!)!");
    EXPECT_EQ(EncodeNumberFormat("C) -x"), "C!) -!x");
    EXPECT_EQ(EncodeNumberFormat("X?Z"), "X?Z");  // not a format character: as it stands

    CCmdVarList list;
    Add(list, CommandKind::Add, "<X>", "", "<HR>\r\n", 0);
    Add(list, CommandKind::Replace, "\r\nadd", "", "a\r\nAddress\r\nb");
    const std::string text = ComposeRuleFile(RequiredOnly(), list, {});
    EXPECT_NE(text.find("\r\nAdd <HR>!$!after!<X>::A\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nReplace !$add!with!a!$Address\r\nb::1"), std::string::npos) << text;
}

// Each marker must be found where the writer put it. A Replace without a
// replacement whose find text starts with the marker: whether the reader
// takes that start as the marker depends on match case. A trimmed text that
// ends in a marker's opening would join the marker into an earlier one.
TEST(RuleFileWriter, MarkersReadBackWhereWritten) {
    const struct {
        CommandKind kind;
        const char* first;
        const char* second;
        const char* newText;
        bool matchCase;
        const char* written;
    } kCases[] = {
        {CommandKind::Replace, "!witH!x", "", "", false, "Replace !witH!x::1"},
        {CommandKind::Replace, "!witH!x", "", "", true, "Replace !witH!x!with!::1"},
        {CommandKind::Replace, "!with\r\nx!with!y", "", "", false, "Replace !with!$x!with!y::1"},
        {CommandKind::Replace, "!With\r\nx", "", "", true, "Replace !With\r\nx!with!::1"},
        {CommandKind::Add, "<P>", "", "x!BEFORE", false, "Add x!BEFORE !after!<P>::1"},
        {CommandKind::MakeTOC, "<H2>!...", "</H2>", nullptr, false, "MakeTOC <H2>!... !...!</H2>"},
    };
    for (const auto& c : kCases) {
        CCmdVarList list;
        CCmdVar& r = Add(list, c.kind, c.first, c.second);
        if (c.newText) r.newText = c.newText;
        const std::string text = ComposeRuleFile(RequiredOnly(), list, {}, c.matchCase);
        EXPECT_EQ(text.substr(text.find("&Commands:\r\n") + 12), c.written) << c.first << " " << c.matchCase;
    }
}

// A file size limit makes the write fail part way. The text is small enough
// to wait in the file's buffer, so the failure comes only when the save
// pushes it out.
TEST(RuleFileWriter, SaveReplacesTheOldFileWholeOrLeavesItByteForByte) {
    TempDir dir;
    const std::string old = "&Header:\r\nDocument: a\r\n" + std::string(100, 'o');
    const std::string path = dir.Write("r.rul", old);
    auto entries = [&] { return std::distance(std::filesystem::directory_iterator(dir.Path()), {}); };
    RuleFileSaveResult result;
    test::UnderFileSizeLimit(4096, [&] { return (result = SaveRuleFileText(path, std::string(8000, 'n'))).Ok(); });
    EXPECT_EQ(result.kind, RuleFileSaveResult::Kind::WriteFailed);
    EXPECT_EQ(ReadFile(path), old);
    EXPECT_EQ(entries(), 1);
    ASSERT_TRUE(SaveRuleFileText(path, "short").Ok());
    EXPECT_EQ(ReadFile(path), "short");
    EXPECT_EQ(entries(), 1);

    const RuleFileSaveResult noFolder = SaveRuleFileText(dir.File("missing/r.rul"), "x");
    EXPECT_EQ(noFolder.kind, RuleFileSaveResult::Kind::CreateFailed);
    EXPECT_FALSE(noFolder.message.empty());
}

}  // namespace
}  // namespace webquill
