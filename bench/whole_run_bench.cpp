// A whole publishing run on a generated 16,000,000-byte manual cut into some
// 4,200 pages, with a table of contents, a TOC template and header and footer
// templates full of variables, against csplit cutting the same file at the
// same pattern in the same run. csplit writes no templates and no contents,
// so it is the floor the run is measured against.
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "bench_support.h"
#include "publishing_run.h"

namespace fs = std::filesystem;
using namespace webquill;
using namespace webquill::bench;

namespace {

constexpr std::size_t kSourceSize = 16000000;
constexpr const char* kPageStart = "<!-- page -->";
constexpr const char* kPageEnd = "<!-- /page -->";

// Chapters of about 3,800 bytes, each between the page markers and opened by
// its heading, so MakeFile and MakeTOC find one page and one entry apiece.
std::string MakeChapteredManual(std::size_t size) {
    static const char* words[] = {"pump", "water", "the", "garden", "hose", "level", "frost",
                                  "drain", "before", "handle", "valve", "of", "and", "seal"};
    std::mt19937 random(7);
    auto word = [&] { return std::string(words[random() % 14]); };
    std::string text = "<HTML>\r\n<HEAD><TITLE>Garden Pump Manual</TITLE></HEAD>\r\n<BODY>\r\n";
    const std::string closing = "</BODY>\r\n</HTML>\r\n";
    const std::size_t chapterRoom = 7000;
    for (int chapter = 1; text.size() + chapterRoom + closing.size() < size; ++chapter) {
        text += std::string(kPageStart) + "\r\n<H2>" + std::to_string(chapter) + ". Chapter " +
                std::to_string(chapter) + "</H2>\r\n";
        for (int paragraph = 1; paragraph <= 40; ++paragraph)
            text += "<P>" + std::to_string(paragraph) + ". " + word() + " <B>" + word() + "</B> " + word() +
                    " " + word() + " " + word() + " <I>" + word() + "</I> " + word() + " " + word() +
                    " " + word() + " " + word() + " " + word() + " " + word() + ".</P>\r\n";
        text += std::string(kPageEnd) + "\r\n";
    }
    text += closing;
    text.insert(text.size() - closing.size(), std::string(size - text.size(), ' '));
    return text;
}

const char* kHeader =
    "<HTML>\r\n<HEAD><TITLE>%%Title%%: %%ThisTOCInfo%%</TITLE></HEAD>\r\n<BODY>\r\n"
    "<P><A HREF=\"%%PrevTOCFile%%\">%%PrevTOCInfo%%</A> | <A HREF=\"%%TOCFile%%\">Contents</A> | "
    "<A HREF=\"%%NextTOCFile%%\">%%NextTOCInfo%%</A></P>\r\n";
const char* kFooter =
    "<P><A HREF=\"%%PrevTOCFile%%\">%%PrevTOCInfo%%</A> | <A HREF=\"%%NextTOCFile%%\">%%NextTOCInfo%%</A></P>\r\n"
    "<P>%%Title%%, page %%ThisTOCFile%%, published %%sysdate%% at %%systime%%.</P>\r\n</BODY>\r\n</HTML>\r\n";
const char* kTocTemplate =
    "<HTML>\r\n<HEAD><TITLE>%%Title%%</TITLE></HEAD>\r\n<BODY>\r\n<H1>%%Title%%</H1>\r\n<OL>\r\n"
    "<LI><A HREF=\"%%ThisTOCFile%%\">%%TOCline%%</A></LI>\r\n</OL>\r\n</BODY>\r\n</HTML>\r\n";

std::string RuleFile() {
    return std::string("&Header:\r\nDocument: manual.htm\r\nWWWFileName: site/page.htm\r\n") +
           "IntermediateFile: edited.htm\r\nTOCName: site/index.htm\r\nTOCTemplate: contents.htm\r\n"
           "HeaderName: header.htm\r\nFooterName: footer.htm\r\n&Commands:\r\n"
           "Extract<TITLE>!...!</TITLE>!save as!Title\r\nMakeTOC<H2>!...!</H2>\r\n"
           "MakeFile" + kPageStart + "!...!" + kPageEnd + "\r\n";
}

std::size_t CountFiles(const fs::path& dir) {
    std::size_t count = 0;
    for (const auto& entry : fs::directory_iterator(dir)) count += entry.is_regular_file();
    return count;
}

}  // namespace

int main() {
    const fs::path dir = fs::temp_directory_path() / "webquill-whole-run-bench";
    fs::remove_all(dir);
    fs::create_directories(dir / "csplit");
    const std::string manual = MakeChapteredManual(kSourceSize);
    WriteBytes(dir / "manual.htm", manual);
    WriteBytes(dir / "header.htm", kHeader);
    WriteBytes(dir / "footer.htm", kFooter);
    WriteBytes(dir / "contents.htm", kTocTemplate);
    WriteBytes(dir / "run.rul", RuleFile());

    const fs::path cwd = fs::current_path();
    fs::current_path(dir);
    // The run goes first, so csplit meets the file in the page cache as warm
    // as the run left it.
    RunDocument document;
    document.ruleFilePath = (dir / "run.rul").string();
    QuietHost host;
    CPublishingRun run(document, host);
    RunOutcome outcome = RunOutcome::Stopped;
    const double ours = TimeOnce([&] { outcome = run.RunPublishing(); });
    const std::string csplitCommand = std::string("csplit -s -z -f csplit/part manual.htm '/") +
                                      kPageStart + "/' '{*}'";
    const double csplit = TimeOnce([&] {
        if (std::system(csplitCommand.c_str()) != 0) std::abort();
    });
    const std::size_t pages = CountFiles(dir / "site");
    const std::size_t parts = CountFiles(dir / "csplit");
    fs::current_path(cwd);
    fs::remove_all(dir);

    std::printf("source: %zu bytes; pages written with their TOC file: %zu; csplit parts: %zu\n",
                manual.size(), pages, parts);
    std::printf("whole run (load, commands, intermediate file, TOC, pages): %8.1f ms\n", ours * 1e3);
    std::printf("csplit at the same pattern:                              %8.1f ms\n", csplit * 1e3);
    std::printf("run / csplit: %.2f (goal <= 1.5)\n", ours / csplit);
    const bool sound = outcome == RunOutcome::Completed && pages >= 2001;
    if (!sound) std::printf("the run did not complete as it should\n");
    return sound ? 0 : 1;
}
