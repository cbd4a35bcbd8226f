// Input that would cost the user a file: outputs named like inputs, texts
// grown past the working text's bound, outputs cut short by a size limit.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/engine/test_support.h"

namespace webquill::test {
namespace {

namespace fs = std::filesystem;

const std::string kDoc = "<H2>One</H2>a<!--end-->\r\n";

// Runs webquill-publish on a site of its own; `limit` is a shell ulimit option.
struct Site {
    TempDir dir;
    explicit Site(const std::string& header, const std::string& commands = "MakeFile<H2>!...!<!--end-->\r\n",
                  const std::string& doc = kDoc) {
        dir.Write("site.rul", "&Header:\r\nDocument: doc.htm\r\nWWWFileName: out/page.htm\r\n" + header +
                                  "&Commands:\r\n" + commands);
        dir.Write("doc.htm", doc);
    }
    ProgramResult Publish(const std::string& arguments = "site.rul", const std::string& limit = "") const {
        const std::string wrap = limit.empty() ? "" : "sh -c \"ulimit " + limit + " && exec \\\"\\$0\\\" \\\"\\$@\\\"\"";
        return RunPublishProgram(arguments, dir.Path(), wrap);
    }
    std::string Last(const ProgramResult& r) const { return Lines(r.out).empty() ? "" : Lines(r.out).back(); }
};

TEST(OutputOverInput, RefusedBeforeAnythingIsWritten) {
    const struct { std::string header, arguments, refusal; } cases[] = {
        {"IntermediateFile: ./doc.htm\r\n", "site.rul",
         "Intermediate file './doc.htm' is the same file as the HTML Source File 'doc.htm'!"},
        {"TOCName: out/../site.rul\r\n", "site.rul",
         "TOC file 'out/../site.rul' is the same file as the Rule file 'site.rul'!"},
        {"HeaderName: out/page001.htm\r\n", "site.rul",
         "A WWW file of the series out/page.htm is the same file as the Header file 'out/page001.htm'!"},
        {"", "--log ./site.rul site.rul", "Log file './site.rul' is the same file as the Rule file 'site.rul'!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refusal);
        Site site(c.header);
        site.dir.Write("out/page001.htm", "<P>head\r\n");
        const std::string rule = ReadFile(site.dir.File("site.rul"));
        const ProgramResult r = site.Publish(c.arguments);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(site.Last(r), "***> " + c.refusal);
        EXPECT_EQ(r.err, c.refusal + "\n***  Can't continue  ***\n");
        EXPECT_EQ(ReadFile(site.dir.File("site.rul")), rule);
        EXPECT_EQ(ReadFile(site.dir.File("doc.htm")), kDoc);
        EXPECT_EQ(ReadFile(site.dir.File("out/page001.htm")), "<P>head\r\n");
        EXPECT_FALSE(fs::exists(site.dir.File("out/page000.htm")));
    }
}

bool UnderAddressSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
    return __has_feature(address_sanitizer);
#else
    return false;
#endif
}

// Each Replace multiplies the text by 4,000: the second would make 400 MB of
// it. Stopped by the bound, or by a failed allocation under the memory
// limit, in the Replace command's words, never by an abort.
TEST(WorkingTextBound, TextMultiplyingCommandsStopTheRun) {
    const std::string grow = "Replace a!with!" + std::string(4000, 'a') + "::A\r\n";
    Site site("IntermediateFile: out/mid.htm\r\n", grow + grow + "MakeFile<H2>!...!<!--end-->\r\n",
              std::string(100, 'a') + "\r\n");
    const ProgramResult r = site.Publish("site.rul", UnderAddressSanitizer() ? "" : "-v 1200000");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(site.Last(r), "***> Processing Replace commands and Failed to allocate memory!");
    EXPECT_EQ(r.err, "'Replace' Command Error:\nFailed to allocate memory!\nCan't Continue.\n");
    EXPECT_FALSE(fs::exists(site.dir.File("out/mid.htm")));
}

// A page that the file size limit cuts short leaves the old page whole and
// no temporary file beside it.
TEST(FailedOutput, LeavesTheOldFileWhole) {
    Site site("IntermediateFile: out/mid.htm\r\n", "MakeFile<H2>!...!<!--end-->\r\n",
              "<H2>" + std::string(3000, 'x') + "<!--end-->\r\n");
    site.dir.Write("out/mid.htm", "old middle\r\n");
    site.dir.Write("out/page000.htm", "old page\r\n");
    const ProgramResult r = site.Publish("site.rul", "-f 2");
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(ReadFile(site.dir.File("out/mid.htm")), "old middle\r\n");
    EXPECT_EQ(ReadFile(site.dir.File("out/page000.htm")), "old page\r\n");
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(site.dir.File("out"))) files += entry.is_regular_file();
    EXPECT_EQ(files, 2u);
}

}  // namespace
}  // namespace webquill::test
