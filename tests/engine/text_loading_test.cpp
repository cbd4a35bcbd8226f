// The five loaders on real files: limits, the text they keep and the words
// of their messages.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/engine/test_support.h"

namespace webquill::test {
namespace {

constexpr const char* kAborted = "\nPublishing aborted by application!";
constexpr const char* kMustAbort = "\nMust abort the application!";

struct Loader {
    const char* name;
    std::string RuleValues::*path;  // nullptr: the rule-file path of the run
    bool (CPublishingRun::*read)();
    std::string status;      // followed by the file name
    std::string openFailed;  // followed by the file name and "!"
    std::string emptyNoun;   // "<noun> <name> is Empty!"
    std::string bigNoun;     // "<noun> does NOT meet text file requirements!" and the line limit
};

const Loader kLoaders[] = {
    {"Rule", nullptr, &CPublishingRun::ReadRuleFile, "Reading Rule File ", "Couldn't Open Rule  file: ",
     "Rule file ", "Rule File "},
    {"Source", &RuleValues::document, &CPublishingRun::ReadSourceDocument, "Reading HTML file ",
     "Couldn't Open HTML Source File: ", "HTML Source File ", "HTML Source File "},
    {"Header", &RuleValues::headerName, &CPublishingRun::ReadHeaderTemplate, "Reading Header File ",
     "Couldn't Open header file: ", "Header file ", "Header File "},
    {"Footer", &RuleValues::footerName, &CPublishingRun::ReadFooterTemplate, "Reading Footer File ",
     "Couldn't Open footer file: ", "Footer file ", "Footer File "},
    {"TocTemplate", &RuleValues::tocTemplate, &CPublishingRun::ReadTOCTemplate, "Reading Template ",
     "Couldn't Open TOC Template file: ", "TOC Template file ", "TOC Template File "},
};

// Loads `path` with a fresh run: accepted without a word when `refusal` is
// empty, else that one log line and a stop box with it and `ending`; the
// status bar keeps the reading text.
void ExpectLoad(const Loader& l, const std::string& path, const std::string& refusal, const char* ending = "") {
    RunFixture f;
    if (l.path) f.document.rule.*l.path = path;
    else f.document.ruleFilePath = path;
    EXPECT_EQ((f.run.*l.read)(), refusal.empty());
    const std::string reading = l.status + std::filesystem::path(path).filename().string();
    using Texts = std::vector<std::string>;
    EXPECT_EQ(f.document.logLines, refusal.empty() ? Texts() : Texts({refusal}));
    EXPECT_EQ(f.Boxes(), refusal.empty() ? "" : "[stop] " + refusal + ending + "\n");
    EXPECT_EQ(f.host.statusTexts, refusal.empty() ? Texts({reading, "Ready"}) : Texts({reading}));
}

// A failure names the loader, not the bytes of its row.
void PrintTo(const Loader& l, std::ostream* os) { *os << l.name; }

class LoaderTest : public ::testing::TestWithParam<Loader> {};

TEST_P(LoaderTest, AcceptsTextFilesAndRefusesTheRest) {
    const Loader& l = GetParam();
    const std::string tooLong = l.bigNoun + "contains lines longer than 4096 characters the application's max!";
    const std::string notText = l.bigNoun + "does NOT meet text file requirements!";
    const struct { std::string bytes, refusal; const char* ending = ""; } cases[] = {
        {"<html>\r\n" + std::string(10000, 'x') + "\r\n</html>", ""},
        {"\nrest", ""},
        {std::string(4096, 'x') + "\r\nshort\r\n", ""},  // the longest first line, either line end
        {std::string(4096, 'x') + "\nshort\r\n", ""},
        {std::string(4097, 'x') + "\r\nshort\r\n", tooLong, kMustAbort},
        {"", l.emptyNoun + "page.txt is Empty!", kAborted},
        {std::string(5000, 'x') + "\r", notText, kMustAbort},                // no line feed
        {std::string("abc\0def\r\nghi\r\n", 14), notText, kMustAbort},  // a NUL before the first one
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 12) + " " + c.refusal);
        ExpectLoad(l, dir.Write("in/page.txt", c.bytes), c.refusal, c.ending);
    }
    ExpectLoad(l, dir.File("in/missing.txt"), l.openFailed + "missing.txt!", kAborted);
    std::filesystem::create_directories(dir.File("in/folder.txt"));
    ExpectLoad(l, dir.File("in/folder.txt"), l.openFailed + "folder.txt!", kAborted);
    // A pipe would block the run for ever: refused at once.
    ASSERT_EQ(mkfifo(dir.File("in/pipe.txt").c_str(), 0600), 0);
    ExpectLoad(l, dir.File("in/pipe.txt"), l.openFailed + "pipe.txt!", kAborted);
}

INSTANTIATE_TEST_SUITE_P(AllLoaders, LoaderTest, ::testing::ValuesIn(kLoaders),
                         [](const auto& info) { return std::string(info.param.name); });

// One file of 16,000,001 bytes, refused by every loader, then one byte
// shorter and accepted by every loader.
TEST(LoaderSizeLimit, SixteenMillionBytesIsTheLargestAccepted) {
    TempDir dir;
    const std::string path = dir.File("big.htm");
    {
        std::ofstream out(path, std::ios::binary);
        const std::string line = std::string(98, 'x') + "\r\n";
        for (int i = 0; i < 160000; ++i) out << line;
        out << 'x';
    }
    for (const Loader& l : kLoaders)
        ExpectLoad(l, path, "Max allowed " + l.emptyNoun.substr(0, l.emptyNoun.size() - 1) + " size is 16000000!",
                   kAborted);
    std::filesystem::resize_file(path, 16000000);
    for (const Loader& l : kLoaders) ExpectLoad(l, path, "");
    RunFixture f;
    f.document.rule.document = path;
    ASSERT_TRUE(f.run.ReadSourceDocument());
    EXPECT_EQ(f.run.WorkingText().size(), 16000000u);
}

TEST(SourceDocumentLoader, KeepsTheBytesUpToTheFirstNul) {
    TempDir dir;
    RunFixture f;
    const std::string bytes = "\xEF\xBB\xBF<p>caf\xE9</p>\r\nline\n\r\n";
    f.document.rule.document = dir.Write("a.htm", bytes);
    ASSERT_TRUE(f.run.ReadSourceDocument());
    EXPECT_EQ(f.run.WorkingText(), bytes);
    f.document.rule.document = dir.Write("b.htm", std::string("ab\r\ncd\0ef\r\n", 11));
    ASSERT_TRUE(f.run.ReadSourceDocument());
    EXPECT_EQ(f.run.WorkingText(), "ab\r\ncd");
    const std::string cut = "HTML Source File b.htm holds a NUL byte at offset 6: the text after it is ignored!";
    EXPECT_EQ(f.document.logLines, std::vector<std::string>{"***> " + cut});
    EXPECT_EQ(f.Boxes(), "[note] " + cut + "\n");
    // A loader that fails keeps nothing.
    f.document.rule.document = dir.File("missing.htm");
    EXPECT_FALSE(f.run.ReadSourceDocument());
    EXPECT_EQ(f.run.WorkingText(), "");
}

TEST(SourceDocumentLoader, LineFeedOnlyFlagFollowsTheFirstLine) {
    TempDir dir;
    const struct {
        std::string bytes;
        bool setBefore, lfOnly;
        std::string RuleValues::*path = &RuleValues::document;
    } cases[] = {
        {"a\nb\r\n", false, true},
        {"\nb\r\n", false, true},
        {"a\r\nb\n", false, false},
        {"a\rb\r\n", false, false},
        {"a\r\n", true, true},  // a CR LF document leaves a flag already set
        {std::string(4097, 'x') + "\n", false, false},  // a refused one does not set it
        {"a\nb\n", false, false, &RuleValues::headerName},  // nor does any other loader
    };
    for (const auto& c : cases) {
        RunFixture f;
        f.run.SetLfOnly(c.setBefore);
        f.document.rule.*c.path = dir.Write("a.htm", c.bytes);
        c.path == &RuleValues::document ? f.run.ReadSourceDocument() : f.run.ReadHeaderTemplate();
        EXPECT_EQ(f.run.LfOnly(), c.lfOnly) << c.bytes.substr(0, 10);
    }
}

}  // namespace
}  // namespace webquill::test
