// Load, save, load again: the records survive the writer, and the writer's
// own output is written back byte for byte. Also the rewrite and the check
// of webquill-publish.
#include <gtest/gtest.h>

#include "core/editor/rule_file_tasks.h"
#include "tests/core/editor/rule_records.h"
#include "tests/engine/test_support.h"

namespace webquill {
namespace {

using test::ReadFile;
using test::Records;
using test::TempDir;

struct Loaded {
    RunDocument doc;
    test::RecordingHost host;
    RuleWorkingSet set;
    bool ok = false;
    explicit Loaded(const std::string& path) {
        doc.ruleFilePath = path;
        ok = LoadWorkingSet(doc, host, set);
    }
};

// Rule files written by hand in every notation the reader takes.
const char* const kGenerated[] = {
    // Instances, both Add markers, comments, lower-case keywords, blanks
    // next to the markers, a multi-line pattern and edge line breaks.
    "&Header:\r\nDocument: d.htm\r\nWWWFileName: out\\\\pg\r\nTOCName: t.htm\r\nUserPW: secret\r\n"
    "ExecuteSequence: 1 9 3\r\n&Commands:\r\n"
    "Add <HR>!after!<BODY>::2\r\nadd !$x!$!before!y!after!z::a\r\nADD q!after!r::x\r\n"
    "Delete <B> !...! </B>::A\r\nDelete lone\r\nDelete x!...!ends:\r\n&& gone\r\nDelete kept::3\r\n"
    "Extract <T>!...!</T>!save as!   Title  \r\nReplace a\r\nb!with!c::A\r\nReplace !with!x\r\n"
    "Replace !$Addendum!with!n!$Delete::4\r\n"
    "MakeTOC  <H2> !...! </H2>!$ \r\nMakeTOC <H3>!...!</H3>\r\nMakeFile !$s!...!e!$\r\n",
    // Wrap in every form: prefix and format, prefix only, a leading group,
    // no format at all; an LF-only file, with a lone LF next to a marked
    // break at a trimmed end.
    "&Header:\nDocument: d.htm\nWWWFileName: /pg\nHeaderName: h.hdr\n&Commands:\n"
    "Wrap <P>!***!X!.!X!.!!...!!$!$!with start!<LI>!end!</LI>!$\n"
    "Wrap <DIV>!***!!...!</DIV>!with start!a\nb!end!c\nWrap !(!rr!)!!...!e!with start!s!end!t\n"
    "Wrap (X)!...!e!with start!!end!x\n!$\nWrap C!)!!...!e!with start!!end!\nMakeFile !$\ns!...!e\n",
    // Windows-1252 bytes and a file with no command.
    "&Header:\r\nDocument: caf\xe9.htm\r\nWWWFileName: C:\\web\\p\xe1g\r\n&Commands:",
};

void ExpectRoundTrip(const std::string& original, const TempDir& dir) {
    Loaded first(original);
    ASSERT_TRUE(first.ok) << original;
    const std::string written = dir.File("rewritten.rul");
    ASSERT_TRUE(SaveWorkingSet(first.doc, first.set, written).Ok());
    Loaded second(written);
    ASSERT_TRUE(second.ok) << ReadFile(written);
    EXPECT_EQ(Records(second.set, second.doc), Records(first.set, first.doc)) << ReadFile(written);
    const std::string again = dir.File("again.rul");
    ASSERT_TRUE(SaveWorkingSet(second.doc, second.set, again).Ok());
    EXPECT_EQ(ReadFile(again), ReadFile(written));
}

TEST(RuleRoundTrip, ExampleAndGeneratedRuleFiles) {
    TempDir dir;
    ExpectRoundTrip(WEBQUILL_SOURCE_DIR "/examples/manual.rul", dir);
    for (const char* text : kGenerated) ExpectRoundTrip(dir.Write("g.rul", text), dir);
}

TEST(RuleRoundTrip, EditorLoadNumbersFromOneAndLeavesTheDocumentListsEmpty) {
    TempDir dir;
    Loaded loaded(dir.Write("g.rul", kGenerated[0]));
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.set.commands.At(0).commandNumber, 1);
    EXPECT_EQ(loaded.set.commands.FindVariable("sysdate"), nullptr);
    EXPECT_TRUE(loaded.doc.commands.Empty());
    EXPECT_EQ(loaded.set.header[kUserPwField], "secret");
    EXPECT_EQ(loaded.set.header[kTocTemplateField], "");  // the absent-key notice is no file name
    EXPECT_FALSE(loaded.set.windows1252);
    EXPECT_TRUE(Loaded(dir.Write("w.rul", kGenerated[2])).set.windows1252);

    Loaded broken(dir.Write("b.rul", "&Header:\r\nDocument: d\r\nWWWFileName: o/p\r\n&Commands:\r\nAdd x\r\n"));
    EXPECT_FALSE(broken.ok);
    EXPECT_TRUE(broken.doc.commands.Empty());
    EXPECT_EQ(broken.host.shownLines.back(), "***> !before! or !after! is missing in Add command line!");
}

TEST(RuleRoundTrip, RewriteAndCheckPrograms) {
    TempDir dir;
    const std::string example = WEBQUILL_SOURCE_DIR "/examples/manual.rul";
    auto run = [&](const std::string& args) { return test::RunPublishProgram(args, dir.Path()); };

    EXPECT_EQ(run("--rewrite one.rul '" + example + "'").status, 0);
    EXPECT_EQ(run("--rewrite two.rul one.rul").status, 0);
    EXPECT_EQ(ReadFile(dir.File("two.rul")), ReadFile(dir.File("one.rul")));

    dir.Write("bad.rul", "no header here\n");
    const test::ProgramResult failedLoad = run("--rewrite two.rul bad.rul");
    EXPECT_EQ(failedLoad.status, 1);
    EXPECT_NE(failedLoad.out.find("***> No &Header section specified in Rule File!"), std::string::npos);
    const test::ProgramResult failedWrite = run("--rewrite missing/x.rul one.rul");
    EXPECT_EQ(failedWrite.status, 3);
    EXPECT_EQ(ReadFile(dir.File("two.rul")), ReadFile(dir.File("one.rul")));
    // A file the reader takes whose rewrite it would refuse: the written
    // "::A" and its empty line take the Delete past the line limit.
    dir.Write("long.rul", "&Header:\r\nDocument: d\r\nWWWFileName: o/p\r\n&Commands:\r\nDelete " +
                              std::string(4089, 'x') + "::A\r\nAdd y!after!z\r\n");
    const test::ProgramResult refused = run("--rewrite two.rul long.rul");
    EXPECT_EQ(refused.status, 3);
    EXPECT_NE(refused.err.find("Delete command 1 is too long: a command may hold at most 4096 characters in the "
                               "rule file!"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(ReadFile(dir.File("two.rul")), ReadFile(dir.File("one.rul")));

    // The check reads what a run reads (from a copy of the example's folder)
    // and writes nothing.
    std::filesystem::copy(WEBQUILL_SOURCE_DIR "/examples", dir.Path() / "site",
                          std::filesystem::copy_options::recursive);
    const test::ProgramResult checked = test::RunPublishProgram("--check manual.rul", dir.Path() / "site");
    EXPECT_EQ(checked.status, 0) << checked.out;
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "out"));
    EXPECT_NE(checked.out.find("Match Case Option -> NOT Selected"), std::string::npos);
    EXPECT_EQ(checked.out.find("Files Successfully Published:"), std::string::npos);
    EXPECT_EQ(run("--check bad.rul").status, 1);
    EXPECT_EQ(run("--check --rewrite x.rul bad.rul").status, 2);
}

}  // namespace
}  // namespace webquill
