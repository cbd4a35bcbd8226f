// Header and footer templates written with their references replaced: where
// each value comes from, what stays unchanged, and the two failures.
#include <gtest/gtest.h>

#include <filesystem>

#include "output_file.h"
#include "test_support.h"

namespace webquill::test {
namespace {

using Part = CPublishingRun::TemplatePart;

class TemplateWriter : public ::testing::Test {
protected:
    TemplateWriter() {
        Variable("Title", "Pump Manual");
        Variable("Quoted", "%%Title%%");
        Variable("NotFound", std::nullopt);  // its Extract found nothing
        Variable("NextTOCFile", "extract.htm");
        Variable("PrevTOCInfo", std::nullopt);
        Variable(std::string(260, 'n'), "longest");
        Variable(std::string(261, 'n'), "too long");
        CCmdVar& add = f.document.commands.Append();  // no name, but a text
        add.kind = CommandKind::Add;
        add.newText = "added text";
        f.run.Links() = {"toc.htm", "p001.htm", "Two", "p002.htm", "Three", "p000.htm", "One"};
    }

    void Variable(const std::string& name, std::optional<std::string> value) {
        CCmdVar& v = f.document.commands.Append();
        v.kind = CommandKind::Extract;
        v.variableName = name;
        v.newText = std::move(value);
    }

    // Writes `text` into a fresh file and gives back what the file holds.
    std::string Written(const std::string& text, Part part, bool* result = nullptr) {
        const std::string path = dir.File("page.htm");
        COutputFile file;
        EXPECT_TRUE(file.Open(path));
        const bool ok = f.run.WriteTemplate(file, text, part);
        if (result) *result = ok;
        file.Close();
        return ReadFile(path);
    }

    TempDir dir;
    RunFixture f;
};

TEST_F(TemplateWriter, ReplacesWhatResolvesAndLeavesTheRest) {
    const struct {
        const char* text;
        std::string expected;
    } cases[] = {
        {"<TITLE>%%Title%%</TITLE>\r\n", "<TITLE>Pump Manual</TITLE>\r\n"},
        {"%%title%%|%%TITLE%%|%%TiTlE%%", "Pump Manual|Pump Manual|Pump Manual"},
        {"%%TOCFile%% %%ThisTOCFile%% %%thistocinfo%% %%NextTOCInfo%% %%PREVTOCFILE%%",
         "toc.htm p001.htm Two Three p000.htm"},
        // An Extract named like a page link takes its place, even without a value.
        {"%%NextTOCFile%% %%PrevTOCInfo%%", "extract.htm %%PrevTOCInfo%%"},
        {"a %%NoSuchName%% b", "a %%NoSuchName%% b"},
        {"%%NotFound%%", "%%NotFound%%"},
        {"[%%%%]", "[%%%%]"},
        {"%% Title %%", "%% Title %%"},
        {"50% off, 5%", "50% off, 5%"},
        {"%%Quoted%%", "%%Title%%"},  // values are not searched again
        {"%%Title%%%%Title%%", "Pump ManualPump Manual"},
        {"%%%Title%%", "%%%Title%%"},  // the name is "%Title"
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        bool ok = false;
        EXPECT_EQ(Written(c.text, Part::Header, &ok), c.expected);
        EXPECT_TRUE(ok);
    }
    EXPECT_TRUE(f.host.boxes.empty());
    EXPECT_TRUE(f.document.logLines.empty());
}

TEST_F(TemplateWriter, NamesLongerThan260CharactersNeverResolve) {
    const std::string longest = "%%" + std::string(260, 'n') + "%%";
    const std::string tooLong = "%%" + std::string(261, 'n') + "%% %%Title%%";
    EXPECT_EQ(Written(longest, Part::Footer), "longest");
    EXPECT_EQ(Written(tooLong, Part::Footer), "%%" + std::string(261, 'n') + "%% Pump Manual");
}

TEST_F(TemplateWriter, UnclosedReferenceStopsWithTheMessageOfItsPart) {
    const struct {
        Part part;
        const char* text;
        const char* written;
        const char* message;
        const char* shown;
    } cases[] = {
        {Part::Header, "<P>%%Title%% is 100%%", "<P>Pump Manual",
         "Error in Header file variable definition!  No ending %%!", "%%"},
        {Part::Footer, "x%%abcdefghijklmnopqrstuvwxyz", "",
         "Error in Footer file variable definition!  No ending %%!", "%%abcdefghijklmnopqr"},
        {Part::Footer, "%%Title%% %% %% %%", "Pump Manual %% %%",
         "Error in Footer file variable definition!  No ending %%!", "%%"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        f.document.logLines.clear();
        f.host.boxes.clear();
        bool ok = true;
        EXPECT_EQ(Written(c.text, c.part, &ok), c.written);
        EXPECT_FALSE(ok);
        EXPECT_EQ(f.document.logLines, std::vector<std::string>{std::string("***> ") + c.message});
        ASSERT_EQ(f.host.boxes.size(), 1u);
        EXPECT_EQ(f.host.boxes[0].kind, BoxKind::Note);
        EXPECT_EQ(f.host.boxes[0].text, std::string(c.message) + "\nBeginning of variable => " +
                                            c.shown + "...\n*** Can't Continue! ***");
    }
}

TEST_F(TemplateWriter, WriteErrorIsReportedForItsPart) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    // Larger than any stream buffer, so the write itself fails.
    const std::string text = std::string(1 << 20, 'x') + "%%Title%%";
    for (Part part : {Part::Header, Part::Footer}) {
        const std::string name = part == Part::Header ? "Header" : "Footer";
        SCOPED_TRACE(name);
        f.document.logLines.clear();
        f.host.boxes.clear();
        COutputFile file;
        ASSERT_TRUE(file.Open("/dev/full"));
        EXPECT_FALSE(f.run.WriteTemplate(file, text, part));
        const std::string message = "An error occurred while writing " + name + " information!";
        EXPECT_EQ(f.document.logLines, std::vector<std::string>{"***> " + message});
        ASSERT_EQ(f.host.boxes.size(), 1u);
        EXPECT_EQ(f.host.boxes[0].text, message + "\n*** Publishing Stopped! ***");
    }
}

}  // namespace
}  // namespace webquill::test
