// The example site of examples/, published into a copy.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>

#include "tests/engine/test_support.h"
#include "engine/text_search.h"

namespace webquill::test {
namespace {

namespace fs = std::filesystem;

// The values of every `attribute`="..." in order, the attribute's letters in
// either case.
std::vector<std::string> Values(const std::string& page, const std::string& attribute) {
    std::string folded = page;
    for (char& c : folded) c = FoldAscii(c);
    const std::string opening = attribute + "=\"";
    std::vector<std::string> values;
    for (std::size_t at = folded.find(opening); at != std::string::npos;
         at = folded.find(opening, at + 1)) {
        const std::size_t start = at + opening.size();
        values.push_back(page.substr(start, page.find('"', start) - start));
    }
    return values;
}

std::string PageName(std::size_t k) {
    char name[32];
    std::snprintf(name, sizeof name, "page%03zu.htm", k);
    return name;
}

std::size_t Count(const std::string& text, const std::string& piece) {
    std::size_t n = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
    return n;
}

// One run of the example: the pages, every local link, the reading order of
// the contents and the previous and next links.
TEST(ExampleSite, PublishesALinkedPagePerChapter) {
    TempDir dir;
    const fs::path examples = fs::path(WEBQUILL_SOURCE_DIR) / "examples";
    fs::copy(examples, dir.Path() / "examples", fs::copy_options::recursive);
    const std::string rules = ReadFile(dir.File("examples/manual.rul"));
    for (const char* kind : {"Add", "Delete", "Extract", "Replace", "Wrap", "MakeTOC", "MakeFile"})
        EXPECT_NE(rules.find(std::string("\r\n") + kind), std::string::npos) << kind;
    EXPECT_EQ(Count(rules, "\n"), Count(rules, "\r\n"));

    const ProgramResult run =
        RunPublishProgram("manual.rul", dir.Path() / "examples", "SOURCE_DATE_EPOCH=944352900 TZ=UTC");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const fs::path site = dir.Path() / "out" / "example";
    // As the publishing script does: the images go beside the pages.
    fs::copy(examples / "images", site / "images", fs::copy_options::recursive);
    auto read = [&](const std::string& name) { return ReadFile((site / name).string()); };
    const std::size_t chapters = Count(ReadFile((examples / "manual.htm").string()), "<!-- chapter -->");
    EXPECT_GE(chapters, 15u);
    const std::vector<std::string> log = Lines(run.out);
    ASSERT_GE(log.size(), chapters);
    EXPECT_EQ(log[log.size() - chapters - 1], "Files Successfully Published:");
    std::vector<std::string> pages;
    std::set<std::string> expected{"index.htm", "images"};
    for (std::size_t k = 0; k < chapters; ++k) expected.insert(pages.emplace_back(PageName(k)));
    for (const auto& entry : fs::directory_iterator(site)) {
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(expected.erase(name), 1u) << name;
        if (entry.path().extension() != ".htm") continue;
        SCOPED_TRACE(name);
        const std::string page = read(name);
        EXPECT_EQ(page.find("%%"), std::string::npos) << "a reference was left unresolved";
        EXPECT_EQ(page.find("<!--"), std::string::npos);
        EXPECT_EQ(page.find("<B>"), std::string::npos);
        std::vector<std::string> references = Values(page, "href");
        for (const std::string& image : Values(page, "src")) references.push_back(image);
        for (const std::string& reference : references)  // local ones, without their fragment
            if (!reference.empty() && reference[0] != '#' && reference.find(':') == std::string::npos) {
                EXPECT_TRUE(fs::is_regular_file(site / reference.substr(0, reference.find('#')))) << reference;
            }
    }
    EXPECT_TRUE(expected.empty());

    const std::string contents = read("index.htm");
    EXPECT_EQ(Values(contents, "href"), pages);
    for (std::size_t k = 0; k < chapters; ++k) {
        SCOPED_TRACE(pages[k]);
        const std::string page = read(pages[k]);
        const std::string prev = k == 0 ? "index.htm" : pages[k - 1];
        const std::string next = k + 1 == chapters ? "index.htm" : pages[k + 1];
        const std::vector<std::string> hrefs = Values(page, "href");
        ASSERT_GE(hrefs.size(), 6u);
        const std::vector<std::string> nav{prev, "index.htm", next};
        EXPECT_EQ(std::vector<std::string>(hrefs.begin(), hrefs.begin() + 3), nav);  // header
        EXPECT_EQ(std::vector<std::string>(hrefs.end() - 3, hrefs.end()), nav);      // footer
        // The contents line that leads here names this page's chapter.
        const std::size_t link = contents.find("HREF=\"" + pages[k] + "\">");
        ASSERT_NE(link, std::string::npos);
        const std::size_t textStart = contents.find('>', link) + 1;
        const std::string title = contents.substr(textStart, contents.find('<', textStart) - textStart);
        EXPECT_NE(page.find("<H2>" + title + "</H2>"), std::string::npos) << title;
        EXPECT_NE(page.find(": " + title + "</TITLE>"), std::string::npos) << title;
    }
    EXPECT_NE(read(pages.back()).find("Return to TOC"), std::string::npos);
}

}  // namespace
}  // namespace webquill::test
