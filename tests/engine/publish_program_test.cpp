// Whole runs of webquill-publish on real files: the log on standard output,
// message boxes on standard error, the saved log, the intermediate file and
// the exit statuses; and the log's line limit.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "tests/engine/test_support.h"

namespace webquill::test {
namespace {

using Texts = std::vector<std::string>;
const std::string kBanner = std::string(40, ' ') + "****  Quillwright  ****";
const std::string kSource = "<html>\r\n<body>\r\n</body>\r\n</html>\r\n";
const Texts kPlainReport = {"a.rul", "a.htm", "None Defined", "None defined", "No TOC Template file specified!",
                            "No header file specified!", "No footer file specified!", "NOT Selected"};

// The log of a run: the banner, the report of these values, then `after`.
Texts Log(const Texts& report, const Texts& after) {
    static const char* const labels[] = {"Rule File", "HTML Document Source File", "Intermediate File", "TOC File",
                                         "TOC Template File", "Header File", "Footer File", "Match Case Option"};
    Texts lines{kBanner, " "};
    for (std::size_t i = 0; i < report.size(); ++i)
        lines.push_back(std::string(20, ' ') + labels[i] + " -> " + report[i]);
    if (!report.empty()) lines.push_back(" ");
    lines.insert(lines.end(), after.begin(), after.end());
    return lines;
}
const Texts kOnePage = {"Files Successfully Published:", "       1) ... a000.htm"};

// Every rule cuts the source into one page, out/a000.htm.
std::string Rule(const std::string& headerLines, const std::string& commands = "") {
    return "&Header:\r\nDocument: a.htm\r\nWWWFileName: out/a.htm\r\n" + headerLines +
           "&Commands:\r\nMakeFile <body>!...!</body>\r\n" + commands;
}

// A folder holding a.rul with `rule`, the source and `settings`, if any.
void Prepare(const TempDir& dir, const std::string& rule, const std::string& settings = "") {
    dir.Write("a.rul", rule);
    dir.Write("a.htm", kSource);
    if (!settings.empty()) dir.Write(".config/Tessaly/Webquill.conf", "[Preferences]\n" + settings);
}

TEST(PublishProgram, RunWithoutIntermediateFileWritesOnlyThePagesAndTakesMatchCaseFromTheSettings) {
    for (bool matchCase : {false, true}) {
        TempDir dir;
        Prepare(dir, Rule(""), matchCase ? "MatchCase=1\n" : "");
        const ProgramResult r = RunPublishProgram("a.rul", dir.Path());
        EXPECT_EQ(r.status, 0);
        Texts report = kPlainReport;
        if (matchCase) report.back() = "Selected";
        EXPECT_EQ(Lines(r.out), Log(report, kOnePage));
        EXPECT_EQ(r.err, "");
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            names.insert(entry.path().filename().string());
        EXPECT_EQ(names, (std::set<std::string>{".config", "a.htm", "a.rul", "out"}));
        EXPECT_TRUE(std::filesystem::exists(dir.Path() / "out" / "a000.htm"));
    }
}

TEST(PublishProgram, ReportNamesEveryFileWritesTheIntermediateFileAndSavesTheLogInCrLfLines) {
    TempDir dir;
    const std::string source = "<body>\n<p>caf\xC3\xA9 \x80\xFF</p>\n</body>\n";
    dir.Write("a.rul", "&Header:\r\nDocument: doc/a.htm\r\nWWWFileName: out/a.htm\r\nIntermediateFile: work/mid.htm\r\n"
                       "TOCName: site/toc.htm\r\nTOCTemplate: tpl/toc.htm\r\nHeaderName: tpl/hdr.htm\r\n"
                       "FooterName: tpl/ftr.htm\r\n&Commands:\r\nMakeFile <body>!...!</body>\r\n");
    dir.Write("doc/a.htm", source);
    for (const char* name : {"tpl/toc.htm", "tpl/hdr.htm", "tpl/ftr.htm"}) dir.Write(name, "<!-- template -->\r\n");
    const ProgramResult r = RunPublishProgram("--match-case --log logs.prl a.rul", dir.Path());
    EXPECT_EQ(r.status, 0) << r.err;
    const Texts log = Log({"a.rul", "doc/a.htm", "work/mid.htm", "site/toc.htm", "tpl/toc.htm", "tpl/hdr.htm",
                           "tpl/ftr.htm", "Selected"},
                          kOnePage);
    EXPECT_EQ(Lines(r.out), log);
    std::string saved;
    for (const std::string& line : log) saved += line + "\r\n";
    EXPECT_EQ(ReadFile(dir.File("logs.prl")), saved);
    EXPECT_EQ(ReadFile(dir.File("work/mid.htm")), source);
}

TEST(PublishProgram, FatalErrorsStopWithTheseLinesWithOrWithoutBoxes) {
    const std::string ended = " ****     Application Terminated!";
    const struct {
        std::string rule;
        Texts lines;      // after the banner and the separator
        std::string box;  // standard error when boxes are shown
    } cases[] = {
        {"&Header:\r\nWWWFileName: out/a.htm\r\n&Commands:\r\n",
         {"***> No starting HTML Document 'Document:' specified in Rule File!"},
         "No starting HTML Document 'Document:' specified in Rule File!\n***  Can't continue  ***"},
        {"&Header:\r\nDocument: docs/gone.htm\r\nWWWFileName: out/a.htm\r\n&Commands:\r\n",
         {"Couldn't Open HTML Source File: gone.htm!",
          "**** Error reading source HTML Document File -> docs/gone.htm" + ended},
         "Couldn't Open HTML Source File: gone.htm!\nPublishing aborted by application!"},
        {Rule("", "Delete <B>\r\nReplace old new\r\n"),
         {"***> 'Replace' Command Error: !with! is missing in Replace command line!",
          "**** Error in Rule File -> a.rul" + ended},
         "'Replace' Command Error:\n!with! is missing in Replace command line!"},
        {Rule("HeaderName: tpl/none.htm\r\n"),
         {"Couldn't Open header file: none.htm!", "**** Error in Header File -> tpl/none.htm" + ended},
         "Couldn't Open header file: none.htm!\nPublishing aborted by application!"},
        {Rule("HeaderName: tpl/hdr.htm\r\nFooterName: tpl/none.htm\r\n"),
         {"Couldn't Open footer file: none.htm!", "**** Error in Footer File -> tpl/none.htm" + ended},
         "Couldn't Open footer file: none.htm!\nPublishing aborted by application!"},
        {Rule("HeaderName: tpl/hdr.htm\r\nFooterName: tpl/ftr.htm\r\nTOCTemplate: tpl/none.htm\r\n"),
         {"Couldn't Open TOC Template file: none.htm!", "**** Error in TOC Template File -> tpl/none.htm" + ended},
         "Couldn't Open TOC Template file: none.htm!\nPublishing aborted by application!"},
    };
    for (const auto& c : cases) {
        for (bool displayErrors : {true, false}) {
            SCOPED_TRACE(c.lines.back() + (displayErrors ? "" : " DisplayErrors=0"));
            TempDir dir;
            Prepare(dir, c.rule, displayErrors ? "" : "DisplayErrors=0\n");
            dir.Write("tpl/hdr.htm", "<!-- header -->\r\n");
            dir.Write("tpl/ftr.htm", "<!-- footer -->\r\n");
            const ProgramResult r = RunPublishProgram("a.rul", dir.Path());
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(Lines(r.out), Log({}, c.lines));
            EXPECT_EQ(r.err, displayErrors ? c.box + "\n" : "");
        }
    }
}

TEST(PublishProgram, IntermediateFileThatCannotBeMadeIsReported) {
    const struct { std::string path, logLine, box; } cases[] = {
        {"file.txt/x/mid.htm", "***> Couldn't create a requested file directory!",
         "Couldn't create the directory:\n'file.txt/x\nfor file spec:\nfile.txt/x/mid.htm'\nCan't continue!"},
        {"taken/mid.htm", "Couldn't Open Intermediate file: taken/mid.htm to write it!",
         "Couldn't Open Intermediate file: taken/mid.htm to write it!"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        Prepare(dir, Rule("IntermediateFile: " + c.path + "\r\n"));
        dir.Write("file.txt", "a file, not a folder\n");
        std::filesystem::create_directories(dir.Path() / "taken" / "mid.htm");
        const ProgramResult r = RunPublishProgram("a.rul", dir.Path());
        EXPECT_EQ(r.status, 3);
        Texts report = kPlainReport;
        report[2] = c.path;
        EXPECT_EQ(Lines(r.out), Log(report, {c.logLine, kOnePage[0], kOnePage[1]}));
        EXPECT_EQ(r.err, c.box + "\n");
    }
}

// A small file system filled to the last block, where this user may mount one.
class FullDisk {
public:
    explicit FullDisk(const std::filesystem::path& at) : m_at(at) {
        std::filesystem::create_directories(at);
        const std::string where = "'" + at.string() + "'";
        m_mounted = std::system(("mount -t tmpfs -o size=64k tmpfs " + where + " 2>/dev/null").c_str()) == 0;
        if (m_mounted) {
            std::ofstream(at / "keep", std::ios::binary) << "old contents\r\n";
            (void)std::system(("dd if=/dev/zero of=" + where + "/fill bs=4k count=100 2>/dev/null").c_str());
        }
    }
    ~FullDisk() {
        if (m_mounted) (void)std::system(("umount '" + m_at.string() + "'").c_str());
    }
    bool Mounted() const { return m_mounted; }

private:
    std::filesystem::path m_at;
    bool m_mounted = false;
};

// A save that cannot be written whole keeps what was there, whatever it is,
// and says so; a device is written where it is and stays a device.
TEST(PublishProgram, SavesThatCannotBeWrittenKeepTheOldFileAndExit3) {
    namespace fs = std::filesystem;
    const struct {
        const char* arguments;
        const char* target;  // what must be as it was afterwards
        int status;
    } cases[] = {
        {"--rewrite full/keep a.rul", "full/keep", 3},
        {"--log full/keep a.rul", "full/keep", 3},
        {"--log dev-full a.rul", "dev-full", 3},
        {"--rewrite to-full a.rul", "dev-full", 3},
        {"--log to-null a.rul", "dev-null", 0},
        {"--log /dev/stdout a.rul", "", 0},
    };
    for (const auto& c : cases) {
        TempDir dir;
        Prepare(dir, Rule(""));
        FullDisk full(dir.Path() / "full");
        const bool devices = ::mknod(dir.File("dev-full").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0 &&
                             ::mknod(dir.File("dev-null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
        if ((std::string(c.target).starts_with("full") && !full.Mounted()) ||
            (std::string(c.target).starts_with("dev") && !devices)) {
            std::printf("skipped without root: %s\n", c.arguments);
            continue;
        }
        fs::create_symlink("dev-full", dir.Path() / "to-full");
        fs::create_symlink("dev-null", dir.Path() / "to-null");
        const ProgramResult r = RunPublishProgram(c.arguments, dir.Path());
        EXPECT_EQ(r.status, c.status) << c.arguments << "\n" << r.err;
        if (c.status == 3) {
            EXPECT_NE(r.err.find("webquill-publish: couldn't write"), std::string::npos) << r.err;
        }
        if (c.target == std::string("full/keep")) {
            EXPECT_EQ(ReadFile(dir.File("full/keep")), "old contents\r\n") << c.arguments;
            EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path() / "full"), {}), 2) << c.arguments;
        } else if (*c.target) {
            EXPECT_TRUE(fs::is_character_file(fs::symlink_status(dir.Path() / c.target))) << c.arguments;
            EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.Path() / "to-full")));
        } else {
            // The saved log follows the lines the run printed.
            EXPECT_NE(r.out.find("a000.htm\n" + kBanner + "\r\n"), std::string::npos) << r.out;
        }
    }
}

TEST(PublishProgram, VersionAndHelpGoToStandardOutput) {
    TempDir dir;
    const ProgramResult version = RunPublishProgram("--version", dir.Path());
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(Lines(version.out).at(0), "webquill-publish 1.2.0");
    EXPECT_EQ(Lines(version.out).at(2), "Version 1.2.0");
    const ProgramResult help = RunPublishProgram("--help", dir.Path());
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("webquill-publish --version | --help"), std::string::npos) << help.out;
    EXPECT_EQ(version.err + help.err, "");
}

TEST(PublishProgram, WrongCommandLinesShowTheUsage) {
    for (const char* arguments : {"", "--verbose a.rul", "a.rul b.rul", "a.rul --log"}) {
        TempDir dir;
        Prepare(dir, Rule(""));
        dir.Write("b.rul", Rule(""));
        const ProgramResult r = RunPublishProgram(arguments, dir.Path());
        EXPECT_EQ(r.status, 2) << arguments;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("usage: webquill-publish [--match-case] [--log FILE] RULEFILE"), std::string::npos)
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
