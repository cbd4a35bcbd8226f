// Whole runs of webquill-publish on real files: the log on standard output,
// message boxes on standard error, the saved log, the intermediate file and
// the exit statuses; and the log's line limit.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "test_support.h"

namespace webquill::test {
namespace {

const std::string kBanner = std::string(40, ' ') + "****  Quillwright  ****";
const std::string kSource = "<html>\r\n<body>\r\n</body>\r\n</html>\r\n";

std::string Report(const std::string& text) { return std::string(20, ' ') + text; }

// Every rule cuts the source into one page, out/a000.htm.
std::string Rule(const std::string& headerLines, const std::string& commands = "") {
    return "&Header:\r\nDocument: a.htm\r\nWWWFileName: out/a.htm\r\n" + headerLines +
           "&Commands:\r\nMakeFile <body>!...!</body>\r\n" + commands;
}

// The log of a run that reaches its end without templates or TOC file.
std::vector<std::string> CompletedRun(const std::string& intermediate,
                                      const std::vector<std::string>& afterReport = {},
                                      bool matchCase = false) {
    std::vector<std::string> lines{
        kBanner,
        " ",
        Report("Rule File -> a.rul"),
        Report("HTML Document Source File -> a.htm"),
        Report("Intermediate File -> " + (intermediate.empty() ? "None Defined" : intermediate)),
        Report("TOC File -> None defined"),
        Report("TOC Template File -> No TOC Template file specified!"),
        Report("Header File -> No header file specified!"),
        Report("Footer File -> No footer file specified!"),
        Report(matchCase ? "Match Case Option -> Selected" : "Match Case Option -> NOT Selected"),
        " "};
    lines.insert(lines.end(), afterReport.begin(), afterReport.end());
    lines.push_back("Files Successfully Published:");
    lines.push_back("       1) ... a000.htm");
    return lines;
}

void WriteSettings(const TempDir& dir, const std::string& preferences) {
    dir.Write(".config/Tessaly/Webquill.conf", "[Preferences]\n" + preferences);
}

TEST(PublishProgram, RunWithoutIntermediateFileWritesOnlyThePages) {
    TempDir dir;
    dir.Write("a.rul", Rule(""));
    dir.Write("a.htm", kSource);
    const ProgramResult r = RunPublishProgram("a.rul", dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(Lines(r.out), CompletedRun(""));
    EXPECT_EQ(r.err, "");
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{".config", "a.htm", "a.rul", "out"}));
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "out" / "a000.htm"));
}

TEST(PublishProgram, ReportNamesEveryFileAndWritesTheIntermediateFile) {
    TempDir dir;
    const std::string source = "<body>\n<p>caf\xC3\xA9 \x80\xFF</p>\n</body>\n";
    dir.Write("a.rul", "&Header:\r\nDocument: doc/a.htm\r\nWWWFileName: out/a.htm\r\n"
                       "IntermediateFile: work/mid.htm\r\nTOCName: site/toc.htm\r\n"
                       "TOCTemplate: tpl/toc.htm\r\nHeaderName: tpl/hdr.htm\r\n"
                       "FooterName: tpl/ftr.htm\r\n&Commands:\r\nMakeFile <body>!...!</body>\r\n");
    dir.Write("doc/a.htm", source);
    for (const char* name : {"tpl/toc.htm", "tpl/hdr.htm", "tpl/ftr.htm"})
        dir.Write(name, "<!-- template -->\r\n");
    const ProgramResult r = RunPublishProgram("--match-case a.rul", dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Lines(r.out), (std::vector<std::string>{
                                kBanner, " ", Report("Rule File -> a.rul"),
                                Report("HTML Document Source File -> doc/a.htm"),
                                Report("Intermediate File -> work/mid.htm"),
                                Report("TOC File -> site/toc.htm"),
                                Report("TOC Template File -> tpl/toc.htm"),
                                Report("Header File -> tpl/hdr.htm"),
                                Report("Footer File -> tpl/ftr.htm"),
                                Report("Match Case Option -> Selected"), " ",
                                "Files Successfully Published:", "       1) ... a000.htm"}));
    EXPECT_EQ(ReadFile(dir.File("work/mid.htm")), source);
}

TEST(PublishProgram, MatchCaseComesFromTheSettings) {
    TempDir dir;
    dir.Write("a.rul", Rule(""));
    dir.Write("a.htm", kSource);
    WriteSettings(dir, "MatchCase=1\n");
    const ProgramResult r = RunPublishProgram("a.rul", dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(Lines(r.out), CompletedRun("", {}, true));
}

TEST(PublishProgram, SavedLogHoldsEveryLineEndedByCrLf) {
    TempDir dir;
    dir.Write("a.rul", Rule("IntermediateFile: mid.htm\r\n"));
    dir.Write("a.htm", kSource);
    const ProgramResult r = RunPublishProgram("--log logs.prl a.rul", dir);
    EXPECT_EQ(r.status, 0);
    std::string expected;
    for (const std::string& line : CompletedRun("mid.htm")) expected += line + "\r\n";
    EXPECT_EQ(ReadFile(dir.File("logs.prl")), expected);
    EXPECT_EQ(ReadFile(dir.File("mid.htm")), kSource);
}

struct FatalCase {
    const char* name;
    std::string rule;
    std::vector<std::string> lines;  // after the banner and the separator
    std::string box;                 // standard error when boxes are shown
};

class PublishProgramFatal : public ::testing::TestWithParam<FatalCase> {};

TEST_P(PublishProgramFatal, StopsWithTheseLines) {
    const FatalCase& c = GetParam();
    std::vector<std::string> expected{kBanner, " "};
    expected.insert(expected.end(), c.lines.begin(), c.lines.end());
    for (bool displayErrors : {true, false}) {
        SCOPED_TRACE(displayErrors ? "DisplayErrors on" : "DisplayErrors=0");
        TempDir dir;
        dir.Write("a.rul", c.rule);
        dir.Write("a.htm", kSource);
        dir.Write("tpl/hdr.htm", "<!-- header -->\r\n");
        dir.Write("tpl/ftr.htm", "<!-- footer -->\r\n");
        if (!displayErrors) WriteSettings(dir, "DisplayErrors=0\n");
        const ProgramResult r = RunPublishProgram("a.rul", dir);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(Lines(r.out), expected);
        EXPECT_EQ(r.err, displayErrors ? c.box + "\n" : "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PublishProgramFatal,
    ::testing::Values(
        FatalCase{"NoDocument",
                  "&Header:\r\nWWWFileName: out/a.htm\r\n&Commands:\r\n",
                  {"***> No starting HTML Document 'Document:' specified in Rule File!"},
                  "No starting HTML Document 'Document:' specified in Rule File!\n"
                  "***  Can't continue  ***"},
        FatalCase{"SourceUnreadable",
                  "&Header:\r\nDocument: docs/gone.htm\r\nWWWFileName: out/a.htm\r\n&Commands:\r\n",
                  {"Couldn't Open HTML Source File: gone.htm!",
                   "**** Error reading source HTML Document File -> docs/gone.htm ****     "
                   "Application Terminated!"},
                  "Couldn't Open HTML Source File: gone.htm!\nPublishing aborted by application!"},
        FatalCase{"CommandError", Rule("", "Delete <B>\r\nReplace old new\r\n"),
                  {"***> 'Replace' Command Error: !with! is missing in Replace command line!",
                   "**** Error in Rule File -> a.rul ****     Application Terminated!"},
                  "'Replace' Command Error:\n!with! is missing in Replace command line!"},
        FatalCase{"HeaderTemplateMissing", Rule("HeaderName: tpl/none.htm\r\n"),
                  {"Couldn't Open header file: none.htm!",
                   "**** Error in Header File -> tpl/none.htm ****     Application Terminated!"},
                  "Couldn't Open header file: none.htm!\nPublishing aborted by application!"},
        FatalCase{"FooterTemplateMissing",
                  Rule("HeaderName: tpl/hdr.htm\r\nFooterName: tpl/none.htm\r\n"),
                  {"Couldn't Open footer file: none.htm!",
                   "**** Error in Footer File -> tpl/none.htm ****     Application Terminated!"},
                  "Couldn't Open footer file: none.htm!\nPublishing aborted by application!"},
        FatalCase{"TocTemplateMissing",
                  Rule("HeaderName: tpl/hdr.htm\r\nFooterName: tpl/ftr.htm\r\n"
                       "TOCTemplate: tpl/none.htm\r\n"),
                  {"Couldn't Open TOC Template file: none.htm!",
                   "**** Error in TOC Template File -> tpl/none.htm ****     "
                   "Application Terminated!"},
                  "Couldn't Open TOC Template file: none.htm!\nPublishing aborted by application!"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PublishProgram, IntermediateFileThatCannotBeMadeIsReported) {
    struct Case {
        std::string path;
        std::string logLine;
        std::string box;
    };
    const Case cases[] = {
        {"file.txt/x/mid.htm", "***> Couldn't create a requested file directory!",
         "Couldn't create the directory:\n'file.txt/x\nfor file spec:\nfile.txt/x/mid.htm'\n"
         "Can't continue!"},
        {"taken/mid.htm", "Couldn't Open Intermediate file: taken/mid.htm to write it!",
         "Couldn't Open Intermediate file: taken/mid.htm to write it!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        TempDir dir;
        dir.Write("a.rul", Rule("IntermediateFile: " + c.path + "\r\n"));
        dir.Write("a.htm", kSource);
        dir.Write("file.txt", "a file, not a folder\n");
        std::filesystem::create_directories(dir.Path() / "taken" / "mid.htm");
        const ProgramResult r = RunPublishProgram("a.rul", dir);
        EXPECT_EQ(r.status, 3);
        EXPECT_EQ(Lines(r.out), CompletedRun(c.path, {c.logLine}));
        EXPECT_EQ(r.err, c.box + "\n");
    }
}

TEST(PublishProgram, WrongCommandLinesShowTheUsage) {
    for (const char* arguments : {"", "--verbose a.rul", "a.rul b.rul", "a.rul --log"}) {
        SCOPED_TRACE(arguments);
        TempDir dir;
        dir.Write("a.rul", Rule(""));
        dir.Write("b.rul", Rule(""));
        dir.Write("a.htm", kSource);
        const ProgramResult r = RunPublishProgram(arguments, dir);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("usage: webquill-publish [--match-case] [--log FILE] RULEFILE"),
                  std::string::npos)
            << r.err;
    }
}

TEST(LogLineSink, KeepsOnly128000LinesAndTheNotice) {
    RunFixture f;
    for (int i = 1; i <= 128000; ++i) f.run.AddLogLine(std::to_string(i));
    EXPECT_FALSE(f.document.lineLimitReached);
    for (int i = 128001; i <= 128005; ++i) f.run.AddLogLine(std::to_string(i));
    const auto& lines = f.document.logLines;
    ASSERT_EQ(lines.size(), 128001u);
    EXPECT_EQ(lines[127999], "128000");
    EXPECT_EQ(lines[128000], "**** Application line limit reached! ****");
    EXPECT_TRUE(f.document.lineLimitReached);
    EXPECT_EQ(f.host.shownLines.size(), 128001u);
    EXPECT_EQ(f.host.shownLines.back(), lines.back());
    EXPECT_EQ(f.document.longestLineLength, lines.back().size());
}

}  // namespace
}  // namespace webquill::test
