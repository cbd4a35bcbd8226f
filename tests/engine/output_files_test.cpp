// The TOC file and the WWW series, published by webquill-publish on real
// files: every output file compared byte for byte, with the log after the
// report lines, the message boxes and the exit status; and the templates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>

#include "engine/output_file.h"
#include "tests/engine/test_support.h"

namespace webquill::test {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;
using Texts = std::vector<std::string>;

const std::string kSource =
    "<HTML><HEAD><TITLE>Pump</TITLE></HEAD><BODY>\r\n<H2>One</H2><P>a</P><!--end-->\r\n"
    "<H2>Two</H2><P>b</P><!--end-->\r\n<H2>Three</H2><P>c</P><!--end-->\r\n</BODY></HTML>\r\n";
const Texts kEntries{"One", "Two", "Three"};
const Texts kSegments{"One</H2><P>a</P>", "Two</H2><P>b</P>", "Three</H2><P>c</P>"};

const std::string kTitle = "Extract<TITLE>!...!</TITLE>!save as!Title";
const std::string kToc = "MakeTOC<H2>!...!</H2>";
const std::string kPages = "MakeFile<H2>!...!<!--end-->";

const Texts kFramed{"HeaderName: tpl/head.htm", "FooterName: tpl/foot.htm", "TOCName: out/toc.htm"};
const Files kTemplates{
    {"tpl/head.htm", "[%%PrevTOCFile%%|%%PrevTOCInfo%%|%%ThisTOCFile%%|%%ThisTOCInfo%%|%%NextTOCFile%%|"
                     "%%NextTOCInfo%%|%%TOCFile%%]\r\n"},
    {"tpl/foot.htm", "\r\n<HR>%%Title%% %%sysdate%% %%systime%% %%Nope%%\r\n"}};
const std::string kFoot = "\r\n<HR>Pump 12/05/99 00:15 AM %%Nope%%\r\n";
constexpr std::size_t kReportLines = 11;  // banner, separator, eight report lines, separator

std::string CrLfLines(const Texts& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}
Texts Join(Texts a, const Texts& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
Files With(Files files, const Files& more) {
    files.insert(more.begin(), more.end());
    return files;
}

// Every member has an initializer: a case names only the members it needs.
struct Site {
    Texts header{};  // besides Document and WWWFileName
    Texts commands{};
    Files inputs{};
    std::string source = kSource;
    std::string www = "out/page.htm";
    std::string settings{};
    std::function<void(const TempDir&)> prepare{};
};

struct Outcome {
    int status = -1;
    Texts log;  // after the report lines
    std::string err;
    Files files;  // every regular file under the output folder
};

Outcome Publish(const Site& site, const std::string& outputRoot = "out",
                const std::string& environment = "SOURCE_DATE_EPOCH=944352900 TZ=UTC") {
    TempDir dir;
    const Texts header = Join({"Document: doc.htm", "WWWFileName: " + site.www}, site.header);
    dir.Write("site.rul", "&Header:\r\n" + CrLfLines(header) + "&Commands:\r\n" + CrLfLines(site.commands));
    dir.Write("doc.htm", site.source);
    for (const auto& [name, bytes] : site.inputs) dir.Write(name, bytes);
    if (!site.settings.empty()) dir.Write(".config/Tessaly/Webquill.conf", "[Preferences]\n" + site.settings);
    if (site.prepare) site.prepare(dir);
    const ProgramResult r = RunPublishProgram("site.rul", dir.Path(), environment);
    Outcome outcome{r.status, Lines(r.out), r.err, {}};
    if (outcome.log.size() >= kReportLines) outcome.log.erase(outcome.log.begin(), outcome.log.begin() + kReportLines);
    if (fs::exists(dir.Path() / outputRoot))
        for (const auto& entry : fs::recursive_directory_iterator(dir.Path() / outputRoot))
            if (entry.is_regular_file())
                outcome.files[fs::relative(entry.path(), dir.Path() / outputRoot).generic_string()] =
                    ReadFile(entry.path().string());
    return outcome;
}

std::string Name(std::size_t k, const std::string& root = "page", const std::string& ext = ".htm") {
    const std::string n = std::to_string(k);
    return root + std::string(3 - n.size(), '0') + n + ext;
}

// The header of page k: with a TOC of these entries, or with the link texts of the settings.
const Texts kLinkTexts{"Previous Page", "This Page", "Next Page"};

std::string Head(std::size_t k, const Texts& entries, const Texts& texts = kLinkTexts) {
    const std::size_t n = entries.size();
    const bool last = k + 1 == n;
    const Texts links = n == 0 ? Texts{Name(k == 0 ? 0 : k - 1), k == 0 ? "Top of Page" : texts[0], Name(k), texts[1],
                                       Name(k + 1), texts[2], "toc.htm"}
                               : Texts{k == 0 ? "toc.htm" : Name(k - 1), k == 0 ? "TOC" : entries[k - 1], Name(k),
                                       entries[k], last ? (n > 1 ? "toc.htm" : "") : Name(k + 1),
                                       last ? (n > 1 ? "Return to TOC" : "") : entries[k + 1], "toc.htm"};
    std::string head = "[";
    for (std::size_t i = 0; i < links.size(); ++i) head += (i ? "|" : "") + links[i];
    return head + "]\r\n";
}

// The pages of a series, framed by the templates or not.
Files Pages(const Texts& segments, bool framed, const Texts& entries = {}, const Texts& texts = kLinkTexts) {
    Files files;
    for (std::size_t k = 0; k < segments.size(); ++k)
        files[Name(k)] = framed ? Head(k, entries, texts) + segments[k] + kFoot : segments[k] + "\r\n";
    return files;
}

Texts Summary(std::size_t pages, const std::string& root = "page", const std::string& ext = ".htm") {
    Texts lines{"Files Successfully Published:"};
    for (std::size_t k = 1; k <= pages; ++k)
        lines.push_back("       " + std::to_string(k) + ") ... " + Name(k - 1, root, ext));
    return lines;
}

const std::string kPlainToc = CrLfLines(
    {"Extracted TOC information - No TOC Template file defined!", "One", "Two", "Three", "End of TOC information!"});
const std::string kWwwFailed = "Failed to create one or more WWW files.";
const std::string kWwwFailedBox = kWwwFailed + "   Can't continue!";
const std::string kStartMissing = "Couldn't find MakeFile 'Start' pattern in modified HTML document file!";
const std::string kPatternSuffix = "'\nCan't continue creating the WWW files!";

struct OutputCase {
    std::string name{};
    Site site{};
    int status = 0;
    Files files{};
    Texts log{};
    Texts boxes{};
    std::string outputRoot = "out";
    bool needsDevFull = false;
};

void LinkToDevFull(const TempDir& dir, const std::string& name) {
    fs::create_directories(dir.Path() / "out");
    fs::create_symlink(FullDevice(dir), dir.Path() / name);
}

std::vector<OutputCase> OutputCases() {
    const std::string lastEndMissing =
        "<H2>One</H2><P>a</P><!--end-->\r\n<H2>Two</H2><P>b</P><!--end-->\r\n<H2>Three</H2>\r\n";
    const std::string endMissing = "Couldn't find MakeFile 'End' pattern in modified HTML document file!";
    const std::string endMissingPlain = "Couldn't MakeFile 'End' pattern in modified HTML document file!";
    return {
        {.name = "PlainSeriesWithoutTemplates", .site = {.commands = {kPages}},
         .files = Pages(kSegments, false), .log = Summary(3)},
        // The U.S. display is in every footer below; the other one is a setting.
        {.name = "DateAndTimeInTheOtherDisplay",
         .site = {.header = {"HeaderName: head.htm"}, .commands = {kPages},
                  .inputs = {{"head.htm", "%%sysdate%%|%%SYSDATE%%|%%SysTime%%\r\n"}},
                  .source = "<H2>One<!--end-->\r\n", .settings = "DateDisplay=0\n"},
         .files = {{"page000.htm", "Dec. 05, 1999|Dec. 05, 1999|00:15\r\nOne\r\n"}}, .log = Summary(1)},
        {.name = "PlainSeriesWithTemplatesAndATocNameButNoMakeToc",
         .site = {.header = kFramed, .commands = {kTitle, kPages}, .inputs = kTemplates,
                  .settings = "PreviousTOCInfo=Back\nThisTOCInfo=Here\nNextTOCInfo=On\n"},
         .files = Pages(kSegments, true, {}, {"Back", "Here", "On"}), .log = Summary(3)},
        {.name = "TocWithoutTocTemplate",
         .site = {.header = kFramed, .commands = {kTitle, kToc, kPages}, .inputs = kTemplates},
         .files = With(Pages(kSegments, true, kEntries), {{"toc.htm", kPlainToc}}), .log = Summary(3)},
        {.name = "TocFromTemplateWithoutPageTemplates",
         .site = {.header = {"TOCName: out/toc.htm", "TOCTemplate: tpl/toc.htm"},
                  .commands = {kTitle, kToc, kPages},
                  .inputs = {{"tpl/toc.htm",
                              "<H1>%%Title%% (%%tocfile%%) %%Nope%% %%ThisTOCInfo%%</H1>\r\n<UL>\r\n<LI><A HREF=\""
                              "%%ThisTOCFile%%\">%%TOCline%%</A> %%PrevTOCInfo%%=%%PrevTOCFile%% %%NextTOCInfo%%="
                              "%%NextTOCFile%% %%TOCFile%% %%Title%% %%Nope%%\r\n</UL>\r\n"}}},
         .files = With(Pages(kSegments, false, kEntries),
                       {{"toc.htm", "<H1>Pump (toc.htm) %%Nope%% %%ThisTOCInfo%%</H1>\r\n<UL>\r\n<LI><A HREF=\""
                                    "page000.htm\">One</A> TOC=toc.htm Two=page001.htm toc.htm Pump %%Nope%%\r\n<LI><A "
                                    "HREF=\"page001.htm\">Two</A> One=page000.htm Three=page002.htm toc.htm Pump %%Nope%%"
                                    "\r\n<LI><A HREF=\"page002.htm\">Three</A> Two=page001.htm Return to TOC=toc.htm "
                                    "toc.htm Pump %%Nope%%\r\n</UL>\r\n"}}),
         .log = Summary(3)},
        {.name = "SingleTocEntryHasNoNextPage",
         .site = {.header = Join(kFramed, {"TOCTemplate: tpl/toc.htm"}), .commands = {kTitle, kToc, kPages},
                  .inputs = With(kTemplates, {{"tpl/toc.htm", "%%TOCline%% [%%NextTOCInfo%%|%%NextTOCFile%%]\r\n"}}),
                  .source = "<TITLE>Pump</TITLE><H2>One</H2><P>a</P><!--end-->\r\n"},
         .files = With(Pages({"One</H2><P>a</P>"}, true, {"One"}), {{"toc.htm", "One [|]\r\n"}}), .log = Summary(1)},
        {.name = "ValuelessVariableHidesAPageLinkButNotATocLine",
         .site = {.header = {"TOCName: out/toc.htm", "TOCTemplate: tpl/toc.htm", "HeaderName: tpl/head.htm"},
                  .commands = {"Extract<NONE>\r\n!...!</NONE>!save as!ThisTOCFile", kToc, kPages},
                  .inputs = {{"tpl/toc.htm", "%%TOCline%%=%%ThisTOCFile%%\r\n"},
                             {"tpl/head.htm", "%%ThisTOCFile%%:\r\n"}}},
         .files = {{"toc.htm", "One=page000.htm\r\nTwo=page001.htm\r\nThree=page002.htm\r\n"},
                   {"page000.htm", "%%ThisTOCFile%%:\r\n" + kSegments[0] + "\r\n"},
                   {"page001.htm", "%%ThisTOCFile%%:\r\n" + kSegments[1] + "\r\n"},
                   {"page002.htm", "%%ThisTOCFile%%:\r\n" + kSegments[2] + "\r\n"}},
         .log = Join({"Following Commands Not Executed:", "       1) ... Extract Cmd: <NONE>!$", " "}, Summary(3))},
        // A directory named with a dot is a directory, a root and a TOC name without one stay files.
        {.name = "DirectoryWithADotAndNamesWithout",
         .site = {.header = {"TOCName: my.site/contents"}, .commands = {kToc, kPages}, .www = "my.site/chap"},
         .files = {{"contents", kPlainToc}, {"chap000", kSegments[0] + "\r\n"}, {"chap001", kSegments[1] + "\r\n"},
                   {"chap002", kSegments[2] + "\r\n"}},
         .log = Summary(3, "chap", ""), .outputRoot = "my.site"},
        {.name = "FewerSegmentsThanTocEntries",
         .site = {.header = kFramed, .commands = {kTitle, kToc, "MakeFile<P>!...!</P>"}, .inputs = kTemplates,
                  .source = kSource + "<H2>Four</H2>\r\n"},
         .status = 3,
         .files = With(Pages({"a", "b", "c"}, true, {"One", "Two", "Three", "Four"}),
                       {{"toc.htm", CrLfLines({"Extracted TOC information - No TOC Template file defined!", "One",
                                               "Two", "Three", "Four", "End of TOC information!"})},
                        {"page003.htm", Head(3, {"One", "Two", "Three", "Four"})}}),
         .log = Join({"***> " + kStartMissing, kWwwFailed}, Summary(3)),
         .boxes = {kStartMissing + kPatternSuffix, kWwwFailedBox}},
        {.name = "MissingEndPatternWithoutToc", .site = {.commands = {kPages}, .source = lastEndMissing}, .status = 3,
         .files = Pages({kSegments[0], kSegments[1]}, false),
         .log = Join({"***> " + endMissingPlain, kWwwFailed}, Summary(2)),
         .boxes = {endMissingPlain + kPatternSuffix, kWwwFailedBox}},
        {.name = "MissingEndPatternWithToc",
         .site = {.header = kFramed, .commands = {kTitle, kToc, kPages}, .inputs = kTemplates,
                  .source = "<TITLE>Pump</TITLE>" + lastEndMissing},
         .status = 3,
         .files = With(Pages({kSegments[0], kSegments[1]}, true, kEntries),
                       {{"toc.htm", kPlainToc}, {"page002.htm", Head(2, kEntries)}}),
         .log = Join({"***> " + endMissing, kWwwFailed}, Summary(2)),
         .boxes = {endMissing + kPatternSuffix, kWwwFailedBox}},
        {.name = "TocWithoutMakeFile",
         .site = {.header = {"TOCName: out/toc.htm"}, .commands = {kToc, "MakeFile<H2>!...!"}},
         .status = 3, .files = {{"toc.htm", kPlainToc}},
         .log = Join({"***> Couldn't create the WWW files!\tNo MakeFile definition!", kWwwFailed}, Summary(0)),
         .boxes = {"Couldn't create the WWW files!\nNo MakeFile definition!", kWwwFailedBox}},
        {.name = "NoTocEntries",
         .site = {.header = {"TOCName: out/toc.htm"}, .commands = {"MakeTOC<H5>!...!</H5>", kPages}},
         .status = 3, .log = {"TOC File defined but no TOC information extracted."},
         .boxes = {"TOC File defined but no TOC information extracted.   Can't continue!"}},
        {.name = "UnwritableOutputDirectoryLosesNothingElse",
         .site = {.header = {"TOCName: out/toc.htm", "IntermediateFile: out/mid.htm"}, .commands = {kToc, kPages},
                  .inputs = {{"blocker", "a file where the folder should be\n"}}, .www = "blocker/page.htm"},
         .status = 3, .files = {{"toc.htm", kPlainToc}, {"mid.htm", kSource}},
         .log = {"***> Couldn't create a requested file directory!", kWwwFailed, "Files Successfully Published:"},
         .boxes = {"Couldn't create the directory:\n'blocker\nfor file spec:\nblocker'\nCan't continue!",
                   kWwwFailedBox}},
        {.name = "UnwritableTocDirectoryWritesNoPage",
         .site = {.header = {"TOCName: tt/sub/toc.htm"}, .commands = {kToc, kPages},
                  .inputs = {{"tt", "a file where the folder should be\n"}}},
         .status = 3, .files = {},
         .log = {"***> Couldn't create a requested file directory!", "Failed to create TOC file!"},
         .boxes = {"Couldn't create the directory:\n'tt/sub\nfor file spec:\ntt/sub/toc.htm'\nCan't continue!",
                   "Failed to create TOC file!   Can't continue!"}},
        {.name = "PageThatCannotBeCreatedEndsTheSeries",
         .site = {.commands = {kPages},
                  .prepare = [](const TempDir& dir) { fs::create_directories(dir.Path() / "out/page001.htm"); }},
         .status = 3, .files = Pages({kSegments[0]}, false),
         .log = Join({"***> Couldn't Create\\Open WWW file: page001.htm for writing!", kWwwFailed}, Summary(1)),
         .boxes = {"Couldn't Create\\Open WWW file: page001.htm for writing!\nCan't continue!", kWwwFailedBox}},
        {.name = "TocFileThatCannotBeOpened",
         .site = {.header = {"TOCName: out/toc.htm"}, .commands = {kToc, kPages},
                  .prepare = [](const TempDir& dir) { fs::create_directories(dir.Path() / "out/toc.htm"); }},
         .status = 3, .log = {"***> Couldn't Open TOC file: out/toc.htm to write it!", "Failed to create TOC file!"},
         .boxes = {"Couldn't Open TOC file: out/toc.htm to write it!", "Failed to create TOC file!   Can't continue!"}},
        {.name = "TocFileWriteError",
         .site = {.header = {"TOCName: out/toc.htm"}, .commands = {kToc, kPages},
                  .prepare = [](const TempDir& dir) { LinkToDevFull(dir, "out/toc.htm"); }},
         .status = 3,
         .log = {"***> An error occurred while writing information to TOC file: toc.htm", "Failed to create TOC file!"},
         .boxes = {"An error occurred while writing information to TOC file: toc.htm\n"
                   "*** Terminating writing to TOC! ***",
                   "Failed to create TOC file!   Can't continue!"},
         .needsDevFull = true},
        {.name = "PageWriteErrorShownAtCloseIsTheFooters",
         .site = {.commands = {kPages}, .prepare = [](const TempDir& dir) { LinkToDevFull(dir, "out/page000.htm"); }},
         .status = 3,
         .log = Join({"***> Couldn't write footer to the WWW file: 'page000.htm'", kWwwFailed}, Summary(0)),
         .boxes = {"Couldn't write footer to the WWW file: 'page000.htm'\nCan't continue creating the WWW files!",
                   kWwwFailedBox},
         .needsDevFull = true},
        {.name = "HeaderWriteErrorIsTheHeaders",
         .site = {.header = {"HeaderName: tpl/head.htm"}, .commands = {kPages}, .inputs = {{"tpl/head.htm", "<P>\r\n"}},
                  .prepare = [](const TempDir& dir) { LinkToDevFull(dir, "out/page000.htm"); }},
         .status = 3,
         .log = Join({"***> An error occurred while writing Header information!",
                      "***> Couldn't write header to the WWW file: 'page000.htm'", kWwwFailed},
                     Summary(0)),
         .boxes = {"An error occurred while writing Header information!\n*** Publishing Stopped! ***",
                   "Couldn't write header to the WWW file: 'page000.htm'\nCan't continue creating the WWW files!",
                   kWwwFailedBox},
         .needsDevFull = true},
        {.name = "HeaderWithAnUnclosedReference",
         .site = {.header = {"HeaderName: tpl/head.htm"}, .commands = {kTitle, kPages},
                  .inputs = {{"tpl/head.htm", "<P>%%Title%% 100%%\r\n"}}},
         .status = 3, .files = {{"page000.htm", "<P>Pump"}},
         .log = Join({"***> Error in Header file variable definition!  No ending %%!",
                      "***> Couldn't write header to the WWW file: 'page000.htm'", kWwwFailed},
                     Summary(0)),
         .boxes = {"Error in Header file variable definition!  No ending %%!\nBeginning of variable => %%\r\n...\n"
                   "*** Can't Continue! ***",
                   "Couldn't write header to the WWW file: 'page000.htm'\nCan't continue creating the WWW files!",
                   kWwwFailedBox}},
    };
}

std::string BoxLines(const Texts& boxes) {
    std::string all;
    for (const std::string& box : boxes) all += box + "\n";
    return all;
}

void PrintTo(const OutputCase& c, std::ostream* os) { *os << c.name; }

class OutputFiles : public ::testing::TestWithParam<OutputCase> {};

TEST_P(OutputFiles, WritesExactlyTheseFiles) {
    const OutputCase& c = GetParam();
    if (c.needsDevFull && !HasFullDevice()) GTEST_SKIP() << "no full device here";
    const Outcome outcome = Publish(c.site, c.outputRoot);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.log, c.log);
    EXPECT_EQ(outcome.err, BoxLines(c.boxes));
    EXPECT_EQ(outcome.files, c.files);
}

INSTANTIATE_TEST_SUITE_P(Runs, OutputFiles, ::testing::ValuesIn(OutputCases()),
                         [](const auto& info) { return info.param.name; });

TEST(OutputFiles, TocTemplateForms) {
    std::string longEntry;  // source lines are at most 4096 characters long
    for (int i = 0; i < 5; ++i) longEntry += std::string(1000, 'e') + "\r\n";
    const std::string longName = "%%" + std::string(300, 'n') + "%%";
    const std::string unclosedLine = "Error processing %%TOCLine%%!  No ending %% Writing TOC Info as is!";
    const struct {
        std::string tocTemplate, expected;
        Texts log{}, boxes{};  // the log before the summary
        std::string source = kSource;
    } cases[] = {
        {"<P>Contents</P>\r\n", "<P>Contents</P>\r\nOne\r\nTwo\r\nThree\r\nEnd of TOC information!\r\n"},
        {"<P>%%Title%%</P>\r\n", "<P>Pump</P>\r\nOne\r\nTwo\r\nThree\r\n"},
        {"A\r\n%%TOCLINE%%\nB\r\n", "A\r\nOne\nTwo\nThree\nB\r\n"},  // its line feed is searched from the marker's end
        {"A\r\n- %%toCline%%", "A\r\n- One- Two- Three"},
        {"<UL>\r\n<LI>%%TOCline%% 100%%\r\n</UL>\r\n", "<UL>\r\nOne\r\nTwo\r\nThree\r\n</UL>\r\n", {unclosedLine},
         {unclosedLine}},
        {"<H1>%%Title%%</H1> 50%% off\r\n%%TOCline%%\r\nend %%Title%%",
         "<H1>Pump</H1> 50%% off\r\nOne\r\nTwo\r\nThree\r\nend Pump",
         {"***> Error in TOC Template file variable definition!  No ending %%!"},
         {"Error in TOC Template file variable definition!  No ending %%!\nBeginning of variable => %% off\r\n..."}},
        {longName + "\r\n[%%TOCline%%]\r\n", longName + "\r\n[" + longEntry + "]\r\n", {}, {},
         "<TITLE>Pump</TITLE><H2>" + longEntry + "</H2><P>a</P><!--end-->\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tocTemplate.substr(0, 40));
        const Outcome outcome = Publish({.header = {"TOCName: out/toc.htm", "TOCTemplate: tpl/toc.htm"},
                                         .commands = {kTitle, kToc, "MakeFile<P>!...!</P>"},
                                         .inputs = {{"tpl/toc.htm", c.tocTemplate}},
                                         .source = c.source});
        const bool one = c.source != kSource;
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.log, Join(c.log, Summary(one ? 1 : 3)));
        EXPECT_EQ(outcome.err, BoxLines(c.boxes));
        EXPECT_EQ(outcome.files.at("toc.htm"), c.expected);
        EXPECT_EQ(outcome.files.size(), one ? 2u : 4u);
    }
}

// The lists a run leaves: the published files it wrote, and on the document
// the series' names that the upload sends, untouched by a TOC write error.
TEST(OutputLists, PublishedAndCreatedFiles) {
    const Texts three{Name(0), Name(1), Name(2)};
    const struct { std::string commands, source; bool tocOnDevFull; Texts created, published; } cases[] = {
        {kPages, kSource, false, three, three},
        {kToc + "\r\nMakeFile<P>!...!</P>", kSource + "<H2>Four</H2>", false, Join(three, {Name(3)}), three},
        {kToc + "\r\n" + kPages, kSource, true, three, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commands);
        TempDir dir;
        if (c.tocOnDevFull && FullDevice(dir).empty()) continue;
        const std::string out = dir.File("out");
        fs::create_directories(out);
        if (c.tocOnDevFull) fs::create_symlink(FullDevice(dir), out + "/toc.htm");
        const bool withToc = c.commands.find("MakeTOC") != std::string::npos;
        RunFixture f;
        f.document.ruleFilePath =
            dir.Write("site.rul", "&Header:\r\nDocument: " + dir.Write("doc.htm", c.source) + "\r\nWWWFileName: " +
                                      out + "/page.htm\r\n" + (withToc ? "TOCName: " + out + "/toc.htm\r\n" : "") +
                                      "&Commands:\r\n" + c.commands + "\r\n");
        f.run.RunPublishing();
        EXPECT_EQ(f.document.createdFiles, c.created);
        EXPECT_EQ(f.run.PublishedFiles(), c.published);
        const Texts& status = f.host.statusTexts;
        auto shown = [&](const std::string& s) { return std::find(status.begin(), status.end(), s) != status.end(); };
        EXPECT_EQ(shown("Scanning HTML document for TOC definitions"), withToc);
        EXPECT_EQ(shown("Creating TOC File -> toc.htm"), withToc);
        EXPECT_TRUE(c.published.empty() || shown(withToc ? "Creating -> page000.htm" : "page000.htm"));
    }
}

// Header and footer templates written on their own, with their references
// replaced: where each value comes from, what stays unchanged, the failures.
using Template = CPublishingRun::TemplatePart;

class TemplateWriter : public ::testing::Test {
protected:
    TemplateWriter() {
        const std::pair<std::string, std::optional<std::string>> variables[] = {
            {"Title", "Pump Manual"}, {"Quoted", "%%Title%%"},
            {"NotFound", std::nullopt},  // its Extract found nothing
            {"NextTOCFile", "extract.htm"}, {"PrevTOCInfo", std::nullopt},
            {std::string(260, 'n'), "longest"}, {std::string(261, 'n'), "too long"},
            {"", "added text"},  // an Add: no name, but a text
        };
        for (const auto& [name, value] : variables) {
            CCmdVar& v = f.document.commands.Append();
            v.kind = name.empty() ? CommandKind::Add : CommandKind::Extract;
            v.variableName = name;
            v.newText = value;
        }
        f.run.Links() = {"toc.htm", "p001.htm", "Two", "p002.htm", "Three", "p000.htm", "One"};
    }

    // Writes `text` into a fresh file and gives back what the file holds.
    std::string Written(const std::string& text, Template part, bool* result = nullptr) {
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
    const struct { std::string text, expected; } cases[] = {
        {"<T>%%Title%%%%tItLe%%</T>\r\n", "<T>Pump ManualPump Manual</T>\r\n"},
        {"%%TOCFile%% %%ThisTOCFile%% %%thistocinfo%% %%NextTOCInfo%% %%PREVTOCFILE%%",
         "toc.htm p001.htm Two Three p000.htm"},
        // An Extract named like a page link takes its place, even without a value.
        {"%%NextTOCFile%% %%PrevTOCInfo%%", "extract.htm %%PrevTOCInfo%%"},
        {"%%NotFound%% [%%%%] %% Title %% 50% off, 5%", "%%NotFound%% [%%%%] %% Title %% 50% off, 5%"},
        {"%%Quoted%%", "%%Title%%"},    // values are not searched again
        {"%%%Title%%", "%%%Title%%"},   // the name is "%Title"
        {"%%" + std::string(260, 'n') + "%%", "longest"},  // longer names never resolve
        {"%%" + std::string(261, 'n') + "%% %%Title%%", "%%" + std::string(261, 'n') + "%% Pump Manual"},
    };
    for (const auto& c : cases) {
        bool ok = false;
        EXPECT_EQ(Written(c.text, Template::Header, &ok), c.expected) << c.text.substr(0, 60);
        EXPECT_TRUE(ok);
    }
    EXPECT_EQ(f.Boxes(), "");
    EXPECT_TRUE(f.document.logLines.empty());
}

TEST_F(TemplateWriter, FailuresNameTheirTemplate) {
    const std::string unclosed = "Error in Footer file variable definition!  No ending %%!";
    bool ok = true;  // the box shows at most 20 characters of the reference
    EXPECT_EQ(Written("%%Title%% %% %% x%%abcdefghijklmnopqrstuvwxyz", Template::Footer, &ok), "Pump Manual %% %%");
    EXPECT_FALSE(ok);
    EXPECT_EQ(f.document.logLines, std::vector<std::string>{"***> " + unclosed});
    EXPECT_EQ(f.Boxes(),
              "[note] " + unclosed + "\nBeginning of variable => %%abcdefghijklmnopqr...\n*** Can't Continue! ***\n");
    TempDir dir;
    const std::string full = FullDevice(dir);
    if (full.empty()) GTEST_SKIP() << "no full device here";
    for (Template part : {Template::Header, Template::Footer}) {
        const std::string message = std::string("An error occurred while writing ") +
                                    (part == Template::Header ? "Header" : "Footer") + " information!";
        f.document.logLines.clear();
        f.host.boxes.clear();
        COutputFile file;
        ASSERT_TRUE(file.Open(full));
        // Larger than any stream buffer, so the write itself fails.
        EXPECT_FALSE(f.run.WriteTemplate(file, std::string(1 << 20, 'x') + "%%Title%%", part));
        EXPECT_EQ(f.document.logLines, std::vector<std::string>{"***> " + message});
        EXPECT_EQ(f.Boxes(), "[note] " + message + "\n*** Publishing Stopped! ***\n");
    }
}

}  // namespace
}  // namespace webquill::test
