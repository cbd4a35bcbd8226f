// The TOC file and the WWW series, published by webquill-publish on real
// files: every output file compared byte for byte, with the log after the
// report lines, the message boxes and the exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>

#include "test_support.h"

namespace webquill::test {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

const std::string kSource =
    "<HTML><HEAD><TITLE>Pump</TITLE></HEAD><BODY>\r\n"
    "<H2>One</H2><P>a</P><!--end-->\r\n"
    "<H2>Two</H2><P>b</P><!--end-->\r\n"
    "<H2>Three</H2><P>c</P><!--end-->\r\n"
    "</BODY></HTML>\r\n";
const std::vector<std::string> kEntries{"One", "Two", "Three"};
const std::vector<std::string> kSegments{"One</H2><P>a</P>", "Two</H2><P>b</P>",
                                         "Three</H2><P>c</P>"};

const std::string kTitle = "Extract<TITLE>!...!</TITLE>!save as!Title";
const std::string kToc = "MakeTOC<H2>!...!</H2>";
const std::string kPages = "MakeFile<H2>!...!<!--end-->";

const std::string kHeadTemplate =
    "[%%PrevTOCFile%%|%%PrevTOCInfo%%|%%ThisTOCFile%%|%%ThisTOCInfo%%|%%NextTOCFile%%|"
    "%%NextTOCInfo%%|%%TOCFile%%]\r\n";
const std::string kFootTemplate = "\r\n<HR>%%Title%% %%sysdate%% %%systime%% %%Nope%%\r\n";
const std::string kFoot = "\r\n<HR>Pump 12/05/99 00:15 AM %%Nope%%\r\n";
const std::vector<std::string> kFramed{"HeaderName: tpl/head.htm", "FooterName: tpl/foot.htm"};
const Files kTemplates{{"tpl/head.htm", kHeadTemplate}, {"tpl/foot.htm", kFootTemplate}};
constexpr std::size_t kReportLines = 11;  // banner, separator, eight report lines, separator

struct Site {
    std::vector<std::string> header;  // besides Document and WWWFileName
    std::vector<std::string> commands;
    Files inputs;
    std::string source = kSource;
    std::string www = "out/page.htm";
    std::string settings;
    std::function<void(const TempDir&)> prepare;
};

struct Outcome {
    int status = -1;
    std::vector<std::string> log;  // after the report lines
    std::string err;
    Files files;                   // every regular file under the output folder
};

std::string CrLfLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

Files FilesUnder(const fs::path& root) {
    Files files;
    if (!fs::exists(root)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), root).generic_string()] = ReadFile(entry.path().string());
    return files;
}

Outcome Publish(const Site& site, const std::string& outputRoot = "out",
                const std::string& environment = "SOURCE_DATE_EPOCH=944352900 TZ=UTC") {
    TempDir dir;
    std::vector<std::string> header{"Document: doc.htm", "WWWFileName: " + site.www};
    header.insert(header.end(), site.header.begin(), site.header.end());
    dir.Write("site.rul", "&Header:\r\n" + CrLfLines(header) + "&Commands:\r\n" +
                              CrLfLines(site.commands));
    dir.Write("doc.htm", site.source);
    for (const auto& [name, bytes] : site.inputs) dir.Write(name, bytes);
    if (!site.settings.empty())
        dir.Write(".config/Tessaly/Webquill.conf", "[Preferences]\n" + site.settings);
    if (site.prepare) site.prepare(dir);
    const ProgramResult r = RunPublishProgram("site.rul", dir, environment);
    Outcome outcome{r.status, Lines(r.out), r.err, FilesUnder(dir.Path() / outputRoot)};
    if (outcome.log.size() >= kReportLines)
        outcome.log.erase(outcome.log.begin(), outcome.log.begin() + kReportLines);
    return outcome;
}

std::string Name(std::size_t k, const std::string& root = "page", const std::string& ext = ".htm") {
    char number[16];
    std::snprintf(number, sizeof number, "%03zu", k);
    return root + number + ext;
}

std::string Head(const std::vector<std::string>& links) {
    std::string line = "[";
    for (std::size_t i = 0; i < links.size(); ++i) line += (i ? "|" : "") + links[i];
    return line + "]\r\n";
}

// The header of page k of a series with a TOC of these entries.
std::string TocHead(const std::vector<std::string>& entries, std::size_t k) {
    const std::size_t n = entries.size();
    const bool last = k + 1 == n;
    return Head({k == 0 ? "toc.htm" : Name(k - 1), k == 0 ? "TOC" : entries[k - 1], Name(k),
                 entries[k], last ? (n > 1 ? "toc.htm" : "") : Name(k + 1),
                 last ? (n > 1 ? "Return to TOC" : "") : entries[k + 1], "toc.htm"});
}

Files TocPages(const std::vector<std::string>& entries, const std::vector<std::string>& segments,
               bool framed) {
    Files files;
    for (std::size_t k = 0; k < segments.size(); ++k)
        files[Name(k)] = framed ? TocHead(entries, k) + segments[k] + kFoot : segments[k] + "\r\n";
    return files;
}

struct PageTexts {
    std::string prev = "Previous Page", here = "This Page", next = "Next Page";
};

Files PlainPages(const std::vector<std::string>& segments, bool framed, const std::string& tocFile,
                 const PageTexts& texts = {}) {
    Files files;
    for (std::size_t k = 0; k < segments.size(); ++k) {
        const std::string head = Head({Name(k == 0 ? 0 : k - 1), k == 0 ? "Top of Page" : texts.prev,
                                       Name(k), texts.here, Name(k + 1), texts.next, tocFile});
        files[Name(k)] = framed ? head + segments[k] + kFoot : segments[k] + "\r\n";
    }
    return files;
}

std::vector<std::string> Summary(std::size_t pages, const std::string& root = "page",
                                 const std::string& ext = ".htm") {
    std::vector<std::string> lines{"Files Successfully Published:"};
    for (std::size_t k = 0; k < pages; ++k) {
        char number[16];
        std::snprintf(number, sizeof number, "%4zu", k + 1);
        lines.push_back(std::string("    ") + number + ") ... " + Name(k, root, ext));
    }
    return lines;
}

template <typename... Parts>
std::vector<std::string> Join(Parts... parts) {
    std::vector<std::string> all;
    (all.insert(all.end(), parts.begin(), parts.end()), ...);
    return all;
}

Files With(Files files, const Files& more) {
    files.insert(more.begin(), more.end());
    return files;
}

const std::string kPlainToc = CrLfLines({"Extracted TOC information - No TOC Template file defined!",
                                         "One", "Two", "Three", "End of TOC information!"});
const std::string kWwwFailed = "Failed to create one or more WWW files.";
const std::string kWwwFailedBox = kWwwFailed + "   Can't continue!";
const std::string kStartMissing =
    "Couldn't find MakeFile 'Start' pattern in modified HTML document file!";
const std::string kPatternSuffix = "'\nCan't continue creating the WWW files!";

struct OutputCase {
    std::string name;
    Site site;
    int status = 0;
    Files files;
    std::vector<std::string> log;
    std::vector<std::string> boxes;
    std::string outputRoot = "out";
    bool needsDevFull = false;
};

void LinkToDevFull(const TempDir& dir, const std::string& name) {
    fs::create_directories(dir.Path() / "out");
    fs::create_symlink("/dev/full", dir.Path() / name);
}

std::vector<OutputCase> OutputCases() {
    const std::string sectionsWithoutLastEnd =
        "<H2>One</H2><P>a</P><!--end-->\r\n<H2>Two</H2><P>b</P><!--end-->\r\n<H2>Three</H2>\r\n";
    return {
        {.name = "PlainSeriesWithoutTemplates",
         .site = {.commands = {kPages}},
         .files = PlainPages(kSegments, false, ""),
         .log = Summary(3)},
        {.name = "PlainSeriesWithTemplatesAndATocNameButNoMakeToc",
         .site = {.header = Join(kFramed, std::vector<std::string>{"TOCName: out/toc.htm"}),
                  .commands = {kTitle, kPages},
                  .inputs = kTemplates},
         .files = PlainPages(kSegments, true, "toc.htm"),
         .log = Summary(3)},
        {.name = "PlainSeriesTakesItsLinkTextsFromTheSettings",
         .site = {.header = kFramed,
                  .commands = {kTitle, kPages},
                  .inputs = kTemplates,
                  .settings = "PreviousTOCInfo=Back\nThisTOCInfo=Here\nNextTOCInfo=On\n"},
         .files = PlainPages(kSegments, true, "", {"Back", "Here", "On"}),
         .log = Summary(3)},
        {.name = "TocWithoutTocTemplate",
         .site = {.header = Join(kFramed, std::vector<std::string>{"TOCName: out/toc.htm"}),
                  .commands = {kTitle, kToc, kPages},
                  .inputs = kTemplates},
         .files = With(TocPages(kEntries, kSegments, true), {{"toc.htm", kPlainToc}}),
         .log = Summary(3)},
        {.name = "TocFromTemplateWithoutPageTemplates",
         .site = {.header = {"TOCName: out/toc.htm", "TOCTemplate: tpl/toc.htm"},
                  .commands = {kTitle, kToc, kPages},
                  .inputs = {{"tpl/toc.htm",
                              "<H1>%%Title%% (%%tocfile%%) %%Nope%% %%ThisTOCInfo%%</H1>\r\n<UL>\r\n"
                              "<LI><A HREF=\"%%ThisTOCFile%%\">%%TOCline%%</A> "
                              "%%PrevTOCInfo%%=%%PrevTOCFile%% %%NextTOCInfo%%=%%NextTOCFile%% "
                              "%%TOCFile%% %%Title%% %%Nope%%\r\n</UL>\r\n"}}},
         .files = With(TocPages(kEntries, kSegments, false),
                       {{"toc.htm",
                         "<H1>Pump (toc.htm) %%Nope%% %%ThisTOCInfo%%</H1>\r\n<UL>\r\n"
                         "<LI><A HREF=\"page000.htm\">One</A> TOC=toc.htm Two=page001.htm "
                         "toc.htm Pump %%Nope%%\r\n"
                         "<LI><A HREF=\"page001.htm\">Two</A> One=page000.htm Three=page002.htm "
                         "toc.htm Pump %%Nope%%\r\n"
                         "<LI><A HREF=\"page002.htm\">Three</A> Two=page001.htm "
                         "Return to TOC=toc.htm toc.htm Pump %%Nope%%\r\n</UL>\r\n"}}),
         .log = Summary(3)},
        {.name = "SingleTocEntryHasNoNextPage",
         .site = {.header = Join(kFramed, std::vector<std::string>{"TOCName: out/toc.htm",
                                                                   "TOCTemplate: tpl/toc.htm"}),
                  .commands = {kTitle, kToc, kPages},
                  .inputs = With(kTemplates, {{"tpl/toc.htm", "%%TOCline%% [%%NextTOCInfo%%|%%NextTOCFile%%]\r\n"}}),
                  .source = "<TITLE>Pump</TITLE><H2>One</H2><P>a</P><!--end-->\r\n"},
         .files = With(TocPages({"One"}, {"One</H2><P>a</P>"}, true), {{"toc.htm", "One [|]\r\n"}}),
         .log = Summary(1)},
        {.name = "ValuelessVariableHidesAPageLinkButNotATocLine",
         .site = {.header = {"TOCName: out/toc.htm", "TOCTemplate: tpl/toc.htm", "HeaderName: tpl/head.htm"},
                  .commands = {"Extract<NONE>!...!</NONE>!save as!ThisTOCFile", kToc, kPages},
                  .inputs = {{"tpl/toc.htm", "%%TOCline%%=%%ThisTOCFile%%\r\n"}, {"tpl/head.htm", "%%ThisTOCFile%%:\r\n"}}},
         .files = {{"toc.htm", "One=page000.htm\r\nTwo=page001.htm\r\nThree=page002.htm\r\n"},
                   {"page000.htm", "%%ThisTOCFile%%:\r\n" + kSegments[0] + "\r\n"},
                   {"page001.htm", "%%ThisTOCFile%%:\r\n" + kSegments[1] + "\r\n"},
                   {"page002.htm", "%%ThisTOCFile%%:\r\n" + kSegments[2] + "\r\n"}},
         .log = Join(std::vector<std::string>{"Following Commands Not Executed:",
                                              "       1) ... Extract Cmd: <NONE>", " "},
                     Summary(3))},
        {.name = "DirectoryWithADotAndRootWithout",
         .site = {.commands = {kPages}, .www = "my.site/chap"},
         .files = {{"chap000", kSegments[0] + "\r\n"},
                   {"chap001", kSegments[1] + "\r\n"},
                   {"chap002", kSegments[2] + "\r\n"}},
         .log = Summary(3, "chap", ""),
         .outputRoot = "my.site"},
        {.name = "TocNameWithoutADotStaysAFile",
         .site = {.header = {"TOCName: pages/contents"}, .commands = {kToc, kPages}, .www = "pages/chap"},
         .files = {{"contents", kPlainToc},
                   {"chap000", kSegments[0] + "\r\n"},
                   {"chap001", kSegments[1] + "\r\n"},
                   {"chap002", kSegments[2] + "\r\n"}},
         .log = Summary(3, "chap", ""),
         .outputRoot = "pages"},
        {.name = "FewerSegmentsThanTocEntries",
         .site = {.header = Join(kFramed, std::vector<std::string>{"TOCName: out/toc.htm"}),
                  .commands = {kTitle, kToc, "MakeFile<P>!...!</P>"},
                  .inputs = kTemplates,
                  .source = kSource + "<H2>Four</H2>\r\n"},
         .status = 3,
         .files = With(TocPages({"One", "Two", "Three", "Four"}, {"a", "b", "c"}, true),
                       {{"toc.htm", CrLfLines({"Extracted TOC information - No TOC Template file defined!",
                                               "One", "Two", "Three", "Four", "End of TOC information!"})},
                        {"page003.htm", TocHead({"One", "Two", "Three", "Four"}, 3)}}),
         .log = Join(std::vector<std::string>{"***> " + kStartMissing, kWwwFailed}, Summary(3)),
         .boxes = {kStartMissing + kPatternSuffix, kWwwFailedBox}},
        {.name = "MissingEndPatternWithoutToc",
         .site = {.commands = {kPages}, .source = sectionsWithoutLastEnd},
         .status = 3,
         .files = PlainPages({kSegments[0], kSegments[1]}, false, ""),
         .log = {"***> Couldn't MakeFile 'End' pattern in modified HTML document file!", kWwwFailed,
                 "Files Successfully Published:", "       1) ... page000.htm", "       2) ... page001.htm"},
         .boxes = {"Couldn't MakeFile 'End' pattern in modified HTML document file!" + kPatternSuffix,
                   kWwwFailedBox}},
        {.name = "MissingEndPatternWithToc",
         .site = {.header = Join(kFramed, std::vector<std::string>{"TOCName: out/toc.htm"}),
                  .commands = {kTitle, kToc, kPages},
                  .inputs = kTemplates,
                  .source = "<TITLE>Pump</TITLE>" + sectionsWithoutLastEnd},
         .status = 3,
         .files = With(TocPages(kEntries, {kSegments[0], kSegments[1]}, true),
                       {{"toc.htm", kPlainToc}, {"page002.htm", TocHead(kEntries, 2)}}),
         .log = Join(std::vector<std::string>{
                         "***> Couldn't find MakeFile 'End' pattern in modified HTML document file!",
                         kWwwFailed},
                     Summary(2)),
         .boxes = {"Couldn't find MakeFile 'End' pattern in modified HTML document file!" + kPatternSuffix,
                   kWwwFailedBox}},
        {.name = "NoStartPatternWithoutToc",
         .site = {.commands = {"MakeFile<H3>!...!</H3>"}},
         .status = 3,
         .log = {"***> " + kStartMissing, kWwwFailed, "Files Successfully Published:"},
         .boxes = {kStartMissing + kPatternSuffix, kWwwFailedBox}},
        {.name = "TocWithoutMakeFile",
         .site = {.header = {"TOCName: out/toc.htm"}, .commands = {kToc, "MakeFile<H2>!...!"}},
         .files = {{"toc.htm", kPlainToc}},
         .log = {"***> Couldn't create the WWW files!\tNo MakeFile definition!", kWwwFailed,
                 "Files Successfully Published:"},
         .boxes = {"Couldn't create the WWW files!\nNo MakeFile definition!", kWwwFailedBox}},
        {.name = "NoTocEntries",
         .site = {.header = {"TOCName: out/toc.htm"}, .commands = {"MakeTOC<H5>!...!</H5>", kPages}},
         .status = 3,
         .log = {"TOC File defined but no TOC information extracted."},
         .boxes = {"TOC File defined but no TOC information extracted.   Can't continue!"}},
        {.name = "UnwritableOutputDirectoryLosesNothingElse",
         .site = {.header = {"TOCName: out/toc.htm", "IntermediateFile: out/mid.htm"},
                  .commands = {kToc, kPages},
                  .inputs = {{"blocker", "a file where the folder should be\n"}},
                  .www = "blocker/page.htm"},
         .status = 3,
         .files = {{"toc.htm", kPlainToc}, {"mid.htm", kSource}},
         .log = {"***> Couldn't create a requested file directory!", kWwwFailed,
                 "Files Successfully Published:"},
         .boxes = {"Couldn't create the directory:\n'blocker\nfor file spec:\nblocker/page.htm'\n"
                   "Can't continue!",
                   kWwwFailedBox}},
        {.name = "PageThatCannotBeCreatedEndsTheSeries",
         .site = {.commands = {kPages},
                  .prepare = [](const TempDir& dir) { fs::create_directories(dir.Path() / "out/page001.htm"); }},
         .status = 3,
         .files = PlainPages({kSegments[0]}, false, ""),
         .log = Join(std::vector<std::string>{"***> Couldn't Create\\Open WWW file: page001.htm for writing!",
                                              kWwwFailed},
                     Summary(1)),
         .boxes = {"Couldn't Create\\Open WWW file: page001.htm for writing!\nCan't continue!", kWwwFailedBox}},
        {.name = "TocFileThatCannotBeOpened",
         .site = {.header = {"TOCName: out/toc.htm"},
                  .commands = {kToc, kPages},
                  .prepare = [](const TempDir& dir) { fs::create_directories(dir.Path() / "out/toc.htm"); }},
         .status = 3,
         .log = {"***> Couldn't Open TOC file: out/toc.htm to write it!", "Failed to create TOC file!"},
         .boxes = {"Couldn't Open TOC file: out/toc.htm to write it!", "Failed to create TOC file!   Can't continue!"}},
        {.name = "TocFileWriteError",
         .site = {.header = {"TOCName: out/toc.htm"},
                  .commands = {kToc, kPages},
                  .prepare = [](const TempDir& dir) { LinkToDevFull(dir, "out/toc.htm"); }},
         .status = 3,
         .log = {"***> An error occurred while writing information to TOC file: toc.htm",
                 "Failed to create TOC file!"},
         .boxes = {"An error occurred while writing information to TOC file: toc.htm\n"
                   "*** Terminating writing to TOC! ***",
                   "Failed to create TOC file!   Can't continue!"},
         .needsDevFull = true},
        {.name = "PageWriteErrorShownAtCloseIsTheFooters",
         .site = {.commands = {kPages},
                  .prepare = [](const TempDir& dir) { LinkToDevFull(dir, "out/page000.htm"); }},
         .status = 3,
         .log = {"***> Couldn't write footer to the WWW file: 'page000.htm'", kWwwFailed,
                 "Files Successfully Published:"},
         .boxes = {"Couldn't write footer to the WWW file: 'page000.htm'\nCan't continue creating the WWW files!",
                   kWwwFailedBox},
         .needsDevFull = true},
        {.name = "HeaderWithAnUnclosedReference",
         .site = {.header = {"HeaderName: tpl/head.htm"},
                  .commands = {kTitle, kPages},
                  .inputs = {{"tpl/head.htm", "<P>%%Title%% 100%%\r\n"}}},
         .status = 3,
         .files = {{"page000.htm", "<P>Pump"}},
         .log = {"***> Error in Header file variable definition!  No ending %%!",
                 "***> Couldn't write header to the WWW file: 'page000.htm'", kWwwFailed,
                 "Files Successfully Published:"},
         .boxes = {"Error in Header file variable definition!  No ending %%!\nBeginning of variable => "
                   "%%\r\n...\n*** Can't Continue! ***",
                   "Couldn't write header to the WWW file: 'page000.htm'\nCan't continue creating the WWW files!",
                   kWwwFailedBox}},
    };
}

void PrintTo(const OutputCase& c, std::ostream* os) { *os << c.name; }

class OutputFiles : public ::testing::TestWithParam<OutputCase> {};

TEST_P(OutputFiles, WritesExactlyTheseFiles) {
    const OutputCase& c = GetParam();
    if (c.needsDevFull && !fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    const Outcome outcome = Publish(c.site, c.outputRoot);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.log, c.log);
    std::string boxes;
    for (const std::string& box : c.boxes) boxes += box + "\n";
    EXPECT_EQ(outcome.err, boxes);
    EXPECT_EQ(outcome.files, c.files);
}

INSTANTIATE_TEST_SUITE_P(Runs, OutputFiles, ::testing::ValuesIn(OutputCases()),
                         [](const auto& info) { return info.param.name; });

TEST(OutputFiles, TocTemplateForms) {
    std::string longEntry;  // source lines are at most 4096 characters long
    for (int i = 0; i < 5; ++i) longEntry += std::string(1000, 'e') + "\r\n";
    const std::string longName = "%%" + std::string(300, 'n') + "%%";
    const struct {
        const char* name;
        std::string tocTemplate;
        std::string expected;
        std::vector<std::string> log;  // before the summary
        std::vector<std::string> boxes;
        std::string source = kSource;
    } cases[] = {
        {"NoDelimitersNoLine", "<P>Contents</P>\r\n",
         "<P>Contents</P>\r\nOne\r\nTwo\r\nThree\r\nEnd of TOC information!\r\n"},
        {"DelimitersNoLine", "<P>%%Title%%</P>\r\n", "<P>Pump</P>\r\nOne\r\nTwo\r\nThree\r\n"},
        {"MarkerRightBeforeItsLineFeed", "A\r\n%%TOCLINE%%\nB\r\n", "A\r\nOne\nTwo\nThree\nB\r\n"},
        {"MarkerOnTheLastLine", "A\r\n- %%toCline%%", "A\r\n- One- Two- Three"},
        {"UnclosedInTheLine", "<UL>\r\n<LI>%%TOCline%% 100%%\r\n</UL>\r\n",
         "<UL>\r\nOne\r\nTwo\r\nThree\r\n</UL>\r\n",
         {"Error processing %%TOCLine%%!  No ending %% Writing TOC Info as is!"},
         {"Error processing %%TOCLine%%!  No ending %% Writing TOC Info as is!"}},
        {"UnclosedOutsideTheLine", "<H1>%%Title%%</H1> 50%% off\r\n%%TOCline%%\r\nend %%Title%%",
         "<H1>Pump</H1> 50%% off\r\nOne\r\nTwo\r\nThree\r\nend Pump",
         {"***> Error in TOC Template file variable definition!  No ending %%!"},
         {"Error in TOC Template file variable definition!  No ending %%!\n"
          "Beginning of variable => %% off\r\n..."}},
        {"LongEntryAndLongName", longName + "\r\n[%%TOCline%%]\r\n",
         longName + "\r\n[" + longEntry + "]\r\n", {}, {},
         "<TITLE>Pump</TITLE><H2>" + longEntry + "</H2><P>a</P><!--end-->\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Site site{.header = {"TOCName: out/toc.htm", "TOCTemplate: tpl/toc.htm"},
                        .commands = {kTitle, kToc, "MakeFile<P>!...!</P>"},
                        .inputs = {{"tpl/toc.htm", c.tocTemplate}},
                        .source = c.source};
        const Outcome outcome = Publish(site);
        EXPECT_EQ(outcome.status, 0);
        const bool one = c.source != kSource;
        EXPECT_EQ(outcome.log, Join(c.log, Summary(one ? 1 : 3)));
        std::string boxes;
        for (const std::string& box : c.boxes) boxes += box + "\n";
        EXPECT_EQ(outcome.err, boxes);
        EXPECT_EQ(outcome.files.at("toc.htm"), c.expected);
        EXPECT_EQ(outcome.files.size(), one ? 2u : 4u);
    }
}

TEST(OutputFiles, DateAndTimeInBothForms) {
    const struct {
        const char* epoch;
        bool usDisplay;
        const char* expected;
    } cases[] = {
        {"944352900", true, "12/05/99|12/05/99|00:15 AM"},  // 5 December 1999, 00:15
        {"946729800", true, "01/01/00|01/01/00|12:30 PM"},  // 1 January 2000, 12:30
        {"946731900", true, "01/01/00|01/01/00|01:05 PM"},  // 13:05
        {"944352900", false, "Dec. 05, 1999|Dec. 05, 1999|00:15"},
        {"946731900", false, "Jan. 01, 2000|Jan. 01, 2000|13:05"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.epoch) + (c.usDisplay ? " U.S." : " other"));
        const Site site{.header = {"HeaderName: head.htm"},
                        .commands = {kPages},
                        .inputs = {{"head.htm", "%%sysdate%%|%%SYSDATE%%|%%SysTime%%\r\n"}},
                        .source = "<H2>One<!--end-->\r\n",
                        .settings = c.usDisplay ? "" : "DateDisplay=0\n"};
        const Outcome outcome =
            Publish(site, "out", std::string("SOURCE_DATE_EPOCH=") + c.epoch + " TZ=UTC");
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.files, (Files{{"page000.htm", std::string(c.expected) + "\r\nOne\r\n"}}));
    }
}

// The lists a run leaves: the published files it wrote, and on the document
// the series' names that the upload sends.
TEST(OutputLists, PublishedAndCreatedFiles) {
    const bool devFull = fs::exists("/dev/full");
    const struct {
        const char* name;
        std::string commands;
        std::string source;
        bool tocOnDevFull;
        std::vector<std::string> created;
        std::vector<std::string> published;
    } cases[] = {
        {"Plain", kPages, kSource, false, {Name(0), Name(1), Name(2)}, {Name(0), Name(1), Name(2)}},
        {"TocWithFewerSegments", kToc + "\r\nMakeFile<P>!...!</P>", kSource + "<H2>Four</H2>", false,
         {Name(0), Name(1), Name(2), Name(3)}, {Name(0), Name(1), Name(2)}},
        {"TocWriteError", kToc + "\r\n" + kPages, kSource, true, {Name(0), Name(1), Name(2)}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.tocOnDevFull && !devFull) continue;
        TempDir dir;
        const std::string out = dir.File("out");
        fs::create_directories(out);
        if (c.tocOnDevFull) fs::create_symlink("/dev/full", out + "/toc.htm");
        const bool withToc = c.commands.find("MakeTOC") != std::string::npos;
        RunFixture f;
        f.document.ruleFilePath = dir.Write(
            "site.rul", "&Header:\r\nDocument: " + dir.Write("doc.htm", c.source) +
                            "\r\nWWWFileName: " + out + "/page.htm\r\n" +
                            (withToc ? "TOCName: " + out + "/toc.htm\r\n" : "") + "&Commands:\r\n" +
                            c.commands + "\r\n");
        f.run.RunPublishing();
        EXPECT_EQ(f.document.createdFiles, c.created);
        EXPECT_EQ(f.run.PublishedFiles(), c.published);
        const auto& status = f.host.statusTexts;
        auto shown = [&](const std::string& text) {
            return std::find(status.begin(), status.end(), text) != status.end();
        };
        EXPECT_EQ(shown("Scanning HTML document for TOC definitions"), withToc);
        EXPECT_EQ(shown("Creating TOC File -> toc.htm"), withToc);
        if (!c.published.empty()) EXPECT_TRUE(shown(withToc ? "Creating -> page000.htm" : "page000.htm"));
    }
}

}  // namespace
}  // namespace webquill::test
