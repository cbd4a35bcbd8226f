// The five loaders on real files: limits, the text they keep and the words
// of their messages.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace webquill::test {
namespace {

constexpr const char* kAborted = "\nPublishing aborted by application!";
constexpr const char* kMustAbort = "\nMust abort the application!";

struct Loader {
    const char* name;
    std::string RuleValues::*path;  // nullptr: the rule-file path of the run
    bool (CPublishingRun::*read)();
    const char* status;     // followed by the file name
    const char* openFailed;  // followed by the file name and "!"
    const char* emptyNoun;   // "<noun> <name> is Empty!"
    const char* tooLarge;
    const char* notText;
    const char* tooLong;
};

const Loader kLoaders[] = {
    {"Rule", nullptr, &CPublishingRun::ReadRuleFile, "Reading Rule File ",
     "Couldn't Open Rule  file: ", "Rule file ", "Max allowed Rule file size is 16000000!",
     "Rule File does NOT meet text file requirements!",
     "Rule File contains lines longer than 4096 characters the application's max!"},
    {"Source", &RuleValues::document, &CPublishingRun::ReadSourceDocument, "Reading HTML file ",
     "Couldn't Open HTML Source File: ", "HTML Source File ",
     "Max allowed HTML Source File size is 16000000!",
     "HTML Source File does NOT meet text file requirements!",
     "HTML Source File contains lines longer than 4096 characters the application's max!"},
    {"Header", &RuleValues::headerName, &CPublishingRun::ReadHeaderTemplate,
     "Reading Header File ", "Couldn't Open header file: ", "Header file ",
     "Max allowed Header file size is 16000000!",
     "Header File does NOT meet text file requirements!",
     "Header File contains lines longer than 4096 characters the application's max!"},
    {"Footer", &RuleValues::footerName, &CPublishingRun::ReadFooterTemplate,
     "Reading Footer File ", "Couldn't Open footer file: ", "Footer file ",
     "Max allowed Footer file size is 16000000!",
     "Footer File does NOT meet text file requirements!",
     "Footer File contains lines longer than 4096 characters the application's max!"},
    {"TocTemplate", &RuleValues::tocTemplate, &CPublishingRun::ReadTOCTemplate,
     "Reading Template ", "Couldn't Open TOC Template file: ", "TOC Template file ",
     "Max allowed TOC Template file size is 16000000!",
     "TOC Template File does NOT meet text file requirements!",
     "TOC Template File contains lines longer than 4096 characters the application's max!"},
};

void SetPath(const Loader& loader, RunDocument& document, const std::string& path) {
    if (loader.path) document.rule.*loader.path = path;
    else document.ruleFilePath = path;
}

class LoaderTest : public ::testing::TestWithParam<Loader> {
protected:
    bool Load(const std::string& path) {
        SetPath(GetParam(), f.document, path);
        return (f.run.*GetParam().read)();
    }
    bool LoadBytes(const std::string& bytes) { return Load(dir.Write("in/page.txt", bytes)); }

    // One log line, then a stop box with the same text and its ending.
    void ExpectRefused(const std::string& line, const char* ending) {
        EXPECT_EQ(f.document.logLines, std::vector<std::string>{line});
        ASSERT_EQ(f.host.boxes.size(), 1u);
        EXPECT_EQ(f.host.boxes[0].kind, BoxKind::Stop);
        EXPECT_EQ(f.host.boxes[0].text, line + ending);
        // The status bar keeps the reading text.
        EXPECT_EQ(f.host.statusTexts,
                  std::vector<std::string>{std::string(GetParam().status) + "page.txt"});
    }
    void ExpectAccepted() {
        EXPECT_TRUE(f.document.logLines.empty());
        EXPECT_TRUE(f.host.boxes.empty());
        EXPECT_EQ(f.host.statusTexts,
                  (std::vector<std::string>{std::string(GetParam().status) + "page.txt", "Ready"}));
    }

    TempDir dir;
    RunFixture f;
};

TEST_P(LoaderTest, AcceptsATextFile) {
    EXPECT_TRUE(LoadBytes("<html>\r\n" + std::string(10000, 'x') + "\r\n</html>"));
    ExpectAccepted();
}

TEST_P(LoaderTest, AcceptsAFileStartingWithALineFeed) {
    EXPECT_TRUE(LoadBytes("\nrest"));
    ExpectAccepted();
}

TEST_P(LoaderTest, RefusesAnEmptyFile) {
    EXPECT_FALSE(LoadBytes(""));
    ExpectRefused(std::string(GetParam().emptyNoun) + "page.txt is Empty!", kAborted);
}

TEST_P(LoaderTest, FirstLineOf4096CharactersIsTheLongestAccepted) {
    for (const char* end : {"\r\n", "\n"}) {
        SCOPED_TRACE(end[0] == '\r' ? "CR LF" : "LF");
        RunFixture accepted;
        SetPath(GetParam(), accepted.document,
                dir.Write("in/page.txt", std::string(4096, 'x') + end + "short\r\n"));
        EXPECT_TRUE((accepted.run.*GetParam().read)());
        EXPECT_TRUE(accepted.document.logLines.empty());
    }
    EXPECT_FALSE(LoadBytes(std::string(4097, 'x') + "\r\nshort\r\n"));
    ExpectRefused(GetParam().tooLong, kMustAbort);
}

TEST_P(LoaderTest, RefusesAFileWithoutALineFeed) {
    EXPECT_FALSE(LoadBytes(std::string(5000, 'x') + "\r"));
    ExpectRefused(GetParam().notText, kMustAbort);
}

TEST_P(LoaderTest, RefusesAFileWithANulBeforeItsFirstLineFeed) {
    EXPECT_FALSE(LoadBytes(std::string("abc\0def\r\nghi\r\n", 14)));
    ExpectRefused(GetParam().notText, kMustAbort);
}

TEST_P(LoaderTest, RefusesAMissingFile) {
    EXPECT_FALSE(Load(dir.File("in/page.txt")));
    ExpectRefused(std::string(GetParam().openFailed) + "page.txt!", kAborted);
}

TEST_P(LoaderTest, RefusesADirectory) {
    std::filesystem::create_directories(dir.File("in/page.txt"));
    EXPECT_FALSE(Load(dir.File("in/page.txt")));
    ExpectRefused(std::string(GetParam().openFailed) + "page.txt!", kAborted);
}

TEST_P(LoaderTest, WithoutDisplayErrorsOnlyTheLogLineIsWritten) {
    RunDocument document;
    document.settings.displayErrors = false;
    RecordingHost host;
    CPublishingRun run(document, host);
    SetPath(GetParam(), document, dir.File("missing.txt"));
    EXPECT_FALSE((run.*GetParam().read)());
    EXPECT_EQ(document.logLines,
              std::vector<std::string>{std::string(GetParam().openFailed) + "missing.txt!"});
    EXPECT_TRUE(host.boxes.empty());
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
    ASSERT_EQ(std::filesystem::file_size(path), 16000001u);
    for (const Loader& loader : kLoaders) {
        SCOPED_TRACE(loader.name);
        RunFixture f;
        SetPath(loader, f.document, path);
        EXPECT_FALSE((f.run.*loader.read)());
        EXPECT_EQ(f.document.logLines, std::vector<std::string>{loader.tooLarge});
        ASSERT_EQ(f.host.boxes.size(), 1u);
        EXPECT_EQ(f.host.boxes[0].text, std::string(loader.tooLarge) + kAborted);
    }
    std::filesystem::resize_file(path, 16000000);
    for (const Loader& loader : kLoaders) {
        SCOPED_TRACE(loader.name);
        RunFixture f;
        SetPath(loader, f.document, path);
        EXPECT_TRUE((f.run.*loader.read)());
        EXPECT_TRUE(f.document.logLines.empty());
        if (loader.path == &RuleValues::document) EXPECT_EQ(f.run.WorkingText().size(), 16000000u);
    }
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

    // A loader that fails keeps nothing.
    f.document.rule.document = dir.File("missing.htm");
    EXPECT_FALSE(f.run.ReadSourceDocument());
    EXPECT_EQ(f.run.WorkingText(), "");
}

TEST(SourceDocumentLoader, LineFeedOnlyFlagFollowsTheFirstLine) {
    TempDir dir;
    struct Case {
        std::string bytes;
        bool lfOnly;
    };
    const std::vector<Case> cases = {
        {"a\nb\r\n", true}, {"\nb\r\n", true}, {"a\r\nb\n", false}, {"a\rb\r\n", false}};
    for (const Case& c : cases) {
        RunFixture f;
        f.document.rule.document = dir.Write("a.htm", c.bytes);
        ASSERT_TRUE(f.run.ReadSourceDocument());
        EXPECT_EQ(f.run.LfOnly(), c.lfOnly) << c.bytes;
    }
    // A CR LF document leaves a flag already set; a refused one does not set it.
    RunFixture f;
    f.run.SetLfOnly(true);
    f.document.rule.document = dir.Write("a.htm", "a\r\n");
    ASSERT_TRUE(f.run.ReadSourceDocument());
    EXPECT_TRUE(f.run.LfOnly());
    RunFixture refused;
    refused.document.rule.document = dir.Write("long.htm", std::string(4097, 'x') + "\n");
    EXPECT_FALSE(refused.run.ReadSourceDocument());
    EXPECT_FALSE(refused.run.LfOnly());
    // The other loaders never touch it.
    RunFixture header;
    header.document.rule.headerName = dir.Write("h.htm", "a\nb\n");
    ASSERT_TRUE(header.run.ReadHeaderTemplate());
    EXPECT_FALSE(header.run.LfOnly());
}

}  // namespace
}  // namespace webquill::test
