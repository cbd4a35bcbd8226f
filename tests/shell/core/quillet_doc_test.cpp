#include "quillet_doc.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <cstdlib>
#include <memory>
#include <utility>

#include "password_scrambling.h"
#include "preferences.h"
#include "settings_store.h"
#include "test_support.h"

namespace webquill {
namespace {

using Kind = DocumentFileResult::Kind;

// Keeps what the document shows while it reads a saved log.
class RecordingDocHost : public IDocumentHost {
public:
    void ShowStatusPanes(const std::string& pane0, const std::string& pane1) override {
        panes.emplace_back(pane0, pane1);
    }
    void PumpMessages() override { ++pumps; }
    void SetWaitCursor(bool on) override { waitCursor += on ? 1 : -1; }

    std::vector<std::pair<std::string, std::string>> panes;
    int pumps = 0;
    int waitCursor = 0;
};

// One settings folder for the process, set before the first store use and
// emptied before every test.
class DocTest : public ::testing::Test {
protected:
    void SetUp() override {
        static std::unique_ptr<test::TempDir> config;
        if (!config) {
            config = std::make_unique<test::TempDir>();
            ::setenv("XDG_CONFIG_HOME", config->Path().c_str(), 1);
        }
        QSettings settings(QStringLiteral("Tessaly"), QStringLiteral("Webquill"));
        settings.clear();
        settings.sync();
    }

    std::unique_ptr<CQuilletDoc> NewDoc() {
        auto doc = std::make_unique<CQuilletDoc>(store);
        doc->LoadSettings();
        return doc;
    }

    CSettingsStore store;
    test::TempDir dir;
};

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

// ---- settings ----

TEST_F(DocTest, EmptyStoreGivesDefaults) {
    auto doc = NewDoc();
    EXPECT_EQ(doc->editorProgram, kDefaultEditor);
    EXPECT_EQ(doc->webBrowserProgram, "");
    EXPECT_EQ(doc->imageFileFilter, "*.bmp*;*.jpg*,*.gif*;*.tif*");
    EXPECT_EQ(doc->lastPath, "");
    EXPECT_FALSE(doc->settings.matchCase);
    EXPECT_TRUE(doc->settings.usDateDisplay);
    EXPECT_TRUE(doc->settings.displayErrors);
    EXPECT_EQ(doc->settings.previousTocInfo, "Previous Page");
    EXPECT_EQ(doc->settings.thisTocInfo, "This Page");
    EXPECT_EQ(doc->settings.nextTocInfo, "Next Page");
    EXPECT_TRUE(doc->recentRuleFiles.empty());
    EXPECT_TRUE(doc->recentFtpRows.empty());
}

TEST_F(DocTest, StoredValuesAreCopiedIn) {
    const std::vector<std::pair<const char*, const char*>> values = {
        {"Editor", "vim"},           {"WebBrowser", "firefox"},  {"ImageFileFilter", "*.png"},
        {"LastPath", "/home/rules"}, {"MatchCase", "1"},          {"DateDisplay", "0"},
        {"DisplayErrors", "0"},      {"PreviousTOCInfo", "Back"}, {"ThisTOCInfo", "Here"},
        {"NextTOCInfo", "On"}};
    for (const auto& [name, value] : values) store.WriteString("Preferences", name, value);
    auto doc = NewDoc();
    EXPECT_EQ(doc->editorProgram, "vim");
    EXPECT_EQ(doc->webBrowserProgram, "firefox");
    EXPECT_EQ(doc->imageFileFilter, "*.png");
    EXPECT_EQ(doc->lastPath, "/home/rules");
    EXPECT_TRUE(doc->settings.matchCase);
    EXPECT_FALSE(doc->settings.usDateDisplay);
    EXPECT_FALSE(doc->settings.displayErrors);
    EXPECT_EQ(doc->settings.previousTocInfo, "Back");
    EXPECT_EQ(doc->settings.thisTocInfo, "Here");
    EXPECT_EQ(doc->settings.nextTocInfo, "On");
}

TEST_F(DocTest, AboutTextFilledOnlyWhenEmpty) {
    CQuilletDoc doc(store);
    std::string about;
    doc.LoadSettings(&about);
    EXPECT_EQ(about.substr(0, about.find('\n')), "Quillet Application");
    std::string kept = "already here";
    doc.LoadSettings(&kept);
    EXPECT_EQ(kept, "already here");
}

// ---- recent rule files ----

TEST_F(DocTest, RecentRuleFilesStopAtFirstEmpty) {
    store.WriteString("Recent Rule Files", "RuleFile1", "/a.rul");
    store.WriteString("Recent Rule Files", "RuleFile2", "/b.rul");
    store.WriteString("Recent Rule Files", "RuleFile4", "/d.rul");
    EXPECT_EQ(NewDoc()->recentRuleFiles, (std::vector<std::string>{"/a.rul", "/b.rul"}));
}

TEST_F(DocTest, RecentRuleFilesReadUpToAHundred) {
    for (int i = 1; i <= 105; ++i)
        store.WriteString("Recent Rule Files", "RuleFile" + std::to_string(i), "r" + std::to_string(i));
    auto doc = NewDoc();
    ASSERT_EQ(doc->recentRuleFiles.size(), 100u);
    EXPECT_EQ(doc->recentRuleFiles.back(), "r100");
}

TEST_F(DocTest, AddingKnownRuleFileMovesItToFront) {
    auto doc = NewDoc();
    for (const char* p : {"/c.rul", "/b.rul", "/a.rul"}) doc->AddRecentRuleFile(p);
    doc->AddRecentRuleFile("/b.rul");
    const std::vector<std::string> expected{"/b.rul", "/a.rul", "/c.rul"};
    EXPECT_EQ(doc->recentRuleFiles, expected);
    // The comparison is case-sensitive.
    doc->AddRecentRuleFile("/B.rul");
    EXPECT_EQ(doc->recentRuleFiles.size(), 4u);
    // The whole list is in the store, numbered from 1, and a new document sees it.
    EXPECT_EQ(store.ReadString("Recent Rule Files", "RuleFile1"), "/B.rul");
    EXPECT_EQ(store.ReadString("Recent Rule Files", "RuleFile4"), "/c.rul");
    EXPECT_EQ(NewDoc()->recentRuleFiles, doc->recentRuleFiles);
}

TEST_F(DocTest, NewRuleFileOnFullListDropsTheOldest) {
    {
        // Seeded in one batch: every single store write rewrites the file.
        QSettings seed(QStringLiteral("Tessaly"), QStringLiteral("Webquill"));
        for (int i = 0; i < 40; ++i)
            seed.setValue(QStringLiteral("Recent Rule Files/RuleFile%1").arg(40 - i),
                          QString::fromStdString("/r" + std::to_string(i) + ".rul"));
    }
    auto doc = NewDoc();
    ASSERT_EQ(doc->recentRuleFiles.size(), 40u);
    EXPECT_EQ(doc->recentRuleFiles.back(), "/r0.rul");

    doc->AddRecentRuleFile("/r39.rul");  // already first: unchanged
    EXPECT_EQ(doc->recentRuleFiles.size(), 40u);
    EXPECT_EQ(doc->recentRuleFiles.front(), "/r39.rul");

    doc->AddRecentRuleFile("/new.rul");
    ASSERT_EQ(doc->recentRuleFiles.size(), 40u);
    EXPECT_EQ(doc->recentRuleFiles.front(), "/new.rul");
    EXPECT_EQ(doc->recentRuleFiles.back(), "/r1.rul");
    EXPECT_EQ(store.ReadString("Recent Rule Files", "RuleFile40"), "/r1.rul");
    EXPECT_EQ(store.ReadString("Recent Rule Files", "RuleFile41"), "");
}

// ---- FTP rows ----

TEST_F(DocTest, FtpRowsReadWithUnscrambledPasswords) {
    store.WriteString("Recent Ftp Urls", "FtpUrl0", "ftp.one.example");
    store.WriteString("Recent Ftp Start Dirs", "FtpStDir0", "/www");
    store.WriteString("Recent Ftp UIDs", "FtpUID0", "ann");
    // Typed into the store by hand: plain text reads back as it stands.
    store.WriteString("Recent Ftp UPWs", "FtpUPW0", "plain~pw");
    store.WriteString("Recent Ftp Urls", "FtpUrl1", "ftp.two.example");
    store.WriteString("Recent Ftp Urls", "FtpUrl3", "ftp.four.example");  // after the gap: unread
    auto doc = NewDoc();
    ASSERT_EQ(doc->recentFtpRows.size(), 2u);
    EXPECT_EQ(doc->recentFtpRows[0].url, "ftp.one.example");
    EXPECT_EQ(doc->recentFtpRows[0].startDirectory, "/www");
    EXPECT_EQ(doc->recentFtpRows[0].userId, "ann");
    EXPECT_EQ(doc->recentFtpRows[0].password, "plain~pw");
    EXPECT_EQ(doc->recentFtpRows[1].url, "ftp.two.example");
    EXPECT_EQ(doc->recentFtpRows[1].startDirectory, "");
    EXPECT_EQ(doc->recentFtpRows[1].password, "");
}

TEST_F(DocTest, FtpPasswordsAreScrambledInTheStoreAndSurviveIt) {
    auto doc = NewDoc();
    const std::string password = "S3cret pass!~ ";
    doc->AddRecentFtpRow({"ftp.example", "/", "bob", password});
    const std::string stored = store.ReadString("Recent Ftp UPWs", "FtpUPW0");
    EXPECT_NE(stored, password);
    EXPECT_EQ(stored.find("S3cret"), std::string::npos);
    auto again = NewDoc();
    ASSERT_EQ(again->recentFtpRows.size(), 1u);
    EXPECT_EQ(again->recentFtpRows[0].password, password);
    EXPECT_EQ(again->recentFtpRows[0].userId, "bob");
}

TEST_F(DocTest, SameUrlAndStartDirectoryMovesRowToFront) {
    auto doc = NewDoc();
    doc->AddRecentFtpRow({"ftp.a", "/x", "u1", "p1"});
    doc->AddRecentFtpRow({"ftp.b", "/", "u2", "p2"});
    doc->AddRecentFtpRow({"ftp.a", "/y", "u3", "p3"});  // other directory: a row of its own
    doc->AddRecentFtpRow({"ftp.a", "/x", "other", "new"});
    ASSERT_EQ(doc->recentFtpRows.size(), 3u);
    EXPECT_EQ(doc->recentFtpRows[0].url, "ftp.a");
    EXPECT_EQ(doc->recentFtpRows[0].startDirectory, "/x");
    EXPECT_EQ(doc->recentFtpRows[0].userId, "other");
    EXPECT_EQ(doc->recentFtpRows[0].password, "new");
    EXPECT_EQ(doc->recentFtpRows[1].startDirectory, "/y");
    EXPECT_EQ(doc->recentFtpRows[2].url, "ftp.b");
    // "FTP.A" differs from "ftp.a".
    doc->AddRecentFtpRow({"FTP.A", "/x", "u", "p"});
    EXPECT_EQ(doc->recentFtpRows.size(), 4u);

    auto again = NewDoc();
    ASSERT_EQ(again->recentFtpRows.size(), 4u);
    EXPECT_EQ(again->recentFtpRows[1].userId, "other");
    EXPECT_EQ(again->recentFtpRows[1].password, "new");
}

TEST_F(DocTest, FtpTableKeepsFortyRows) {
    {
        QSettings seed(QStringLiteral("Tessaly"), QStringLiteral("Webquill"));
        for (int i = 0; i < 40; ++i)
            seed.setValue(QStringLiteral("Recent Ftp Urls/FtpUrl%1").arg(39 - i),
                          QStringLiteral("ftp%1").arg(i));
    }
    auto doc = NewDoc();
    ASSERT_EQ(doc->recentFtpRows.size(), 40u);
    doc->AddRecentFtpRow({"ftp40", "/", "u", "p"});
    ASSERT_EQ(doc->recentFtpRows.size(), 40u);
    EXPECT_EQ(doc->recentFtpRows.front().url, "ftp40");
    EXPECT_EQ(doc->recentFtpRows.back().url, "ftp1");
    EXPECT_EQ(store.ReadString("Recent Ftp Urls", "FtpUrl39"), "ftp1");
    EXPECT_EQ(store.ReadString("Recent Ftp Urls", "FtpUrl40"), "");
    EXPECT_EQ(NewDoc()->recentFtpRows.size(), 40u);
}

// ---- saved logs ----

TEST_F(DocTest, SavedLogRoundTrip) {
    auto doc = NewDoc();
    doc->logLines = {"                                        Banner", "line two", " "};
    doc->modified = true;
    const std::string path = dir.File("run.prl");
    ASSERT_TRUE(doc->SaveLog(path).Ok());
    EXPECT_FALSE(doc->modified);
    EXPECT_EQ(test::ReadFile(path),
              "                                        Banner\r\nline two\r\n \r\n");

    CQuilletDoc loaded(store);
    RecordingDocHost host;
    const DocumentFileResult result = loaded.OpenSavedLog(path, false, &host);
    ASSERT_TRUE(result.Ok()) << result.message;
    EXPECT_EQ(loaded.logLines, doc->logLines);
    EXPECT_EQ(loaded.ruleFilePath, path);
    EXPECT_TRUE(loaded.loadedLog);
    EXPECT_FALSE(loaded.modified);
    EXPECT_EQ(loaded.longestLineLength, 46u);
    EXPECT_EQ(host.waitCursor, 0);
    // One block: no progress texts, only the final "Ready".
    ASSERT_EQ(host.panes.size(), 1u);
    EXPECT_EQ(host.panes[0], (std::pair<std::string, std::string>{"Ready", ""}));
}

TEST_F(DocTest, SaveToUnwritablePathFails) {
    auto doc = NewDoc();
    doc->logLines = {"x"};
    doc->modified = true;
    const DocumentFileResult result = doc->SaveLog(dir.File("missing/dir/run.prl"));
    EXPECT_EQ(result.kind, Kind::FileError);
    EXPECT_EQ(result.message, "Invalid filename.");
    EXPECT_TRUE(doc->modified);
}

TEST_F(DocTest, LineEndsAndBlankLines) {
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"CR LF", "one\r\ntwo\r\nthree\r\n", {"one", "two", "three"}},
        {"bare LF", "one\ntwo\nthree\n", {"one", "two", "three"}},
        {"final line without line end", "one\r\ntwo\r\nthree", {"one", "two"}},
        {"blank lines", "one\r\n\r\n\r\ntwo\r\n", {"one", "two"}},
        {"blank first line, bare LF", "\none\n\ntwo\n", {"one", "two"}},
        {"CR inside a bare-LF file stays", "a\nb\r\n", {"a", "b\r"}},
        // A stray bare line feed in a CR LF file loses no character.
        {"bare LF inside a CR LF file", "one\r\ntwo\nthree\r\n", {"one", "two", "three"}},
        {"tabs and high bytes kept", "\t\xe9t\xe9\r\n", {"\t\xe9t\xe9"}},
    };
    for (const Case& c : cases) {
        CQuilletDoc doc(store);
        const DocumentFileResult result = doc.OpenSavedLog(dir.Write("case.prl", c.bytes), false, nullptr);
        ASSERT_TRUE(result.Ok()) << c.what << ": " << result.message;
        EXPECT_EQ(doc.logLines, c.lines) << c.what;
    }
}

TEST_F(DocTest, SaveOpenSaveDropsBlankLines) {
    auto doc = NewDoc();
    doc->logLines = {"a", "", "b", ""};
    const std::string first = dir.File("first.prl");
    ASSERT_TRUE(doc->SaveLog(first).Ok());
    CQuilletDoc loaded(store);
    ASSERT_TRUE(loaded.OpenSavedLog(first, false, nullptr).Ok());
    const std::string second = dir.File("second.prl");
    ASSERT_TRUE(loaded.SaveLog(second).Ok());
    EXPECT_EQ(test::ReadFile(second), "a\r\nb\r\n");
}

TEST_F(DocTest, ReaderRefusals) {
    const std::string firstWording = ":\n contains lines longer than 32000 characters\nwhich is "
                                     "this application's max!\n";
    const std::string secondWording = ":\ncontains lines longer than 32000 characters\nwhich is "
                                      "this application's max!\n";
    const std::string notText = ":\nis NOT a text file!\n";
    struct Case {
        const char* what;
        std::string bytes;
        std::string messageEnd;
    };
    const std::vector<Case> cases = {
        {"empty file", "", notText},
        {"no line feed", "just some text\r", notText},
        {"first line of 32000 before a bare LF", Repeat('x', 32000) + "\n", secondWording},
        {"first line of 32001", Repeat('x', 32001) + "\n", firstWording},
        {"first line of 31999 and CR", Repeat('x', 31999) + "\r\nok\r\n", secondWording},
        {"later line of 32000", "ok\r\n" + Repeat('y', 32000) + "\r\n", secondWording},
        {"later line far longer", "ok\n" + Repeat('y', 50000) + "\n", secondWording},
    };
    for (const Case& c : cases) {
        const std::string path = dir.Write("bad.prl", c.bytes);
        CQuilletDoc doc(store);
        const DocumentFileResult result = doc.OpenSavedLog(path, false, nullptr);
        EXPECT_EQ(result.kind, Kind::ContentError) << c.what;
        EXPECT_EQ(result.message, "File " + path + c.messageEnd) << c.what;
        EXPECT_TRUE(doc.logLines.empty()) << c.what;
        EXPECT_FALSE(doc.loadedLog) << c.what;
        EXPECT_FALSE(doc.modified) << c.what;
    }
}

TEST_F(DocTest, LinesJustUnderTheLimitAreRead) {
    const std::string longest = Repeat('z', 31999);
    CQuilletDoc doc(store);
    ASSERT_TRUE(doc.OpenSavedLog(dir.Write("ok.prl", longest + "\n" + longest + "\n"), false, nullptr)
                    .Ok());
    EXPECT_EQ(doc.logLines.size(), 2u);
    EXPECT_EQ(doc.longestLineLength, 31999u);
}

TEST_F(DocTest, MissingFileOrFolderFailsToOpen) {
    for (const std::string& path : {dir.File("absent.prl"), dir.Path().string()}) {
        CQuilletDoc doc(store);
        const DocumentFileResult result = doc.OpenSavedLog(path, false, nullptr);
        EXPECT_EQ(result.kind, Kind::FileError) << path;
        EXPECT_EQ(result.message, "Failed to open document.");
        EXPECT_FALSE(doc.loadedLog);
    }
}

TEST_F(DocTest, CommandLineFileFlagOnlyRecordsThePath) {
    store.WriteString("Preferences", "Editor", "kate");
    const std::string path = dir.Write("saved.prl", "a line\r\n");
    for (const std::string& p : {path, dir.File("absent.rul")}) {
        CQuilletDoc doc(store);
        EXPECT_TRUE(doc.OpenSavedLog(p, true, nullptr).Ok());
        EXPECT_EQ(doc.ruleFilePath, p);
        EXPECT_TRUE(doc.logLines.empty());
        EXPECT_FALSE(doc.loadedLog);
        EXPECT_EQ(doc.editorProgram, "kate");
    }
}

// Lines that cross block boundaries, with the CR of a line end at the end of
// one block and its LF at the start of the next.
TEST_F(DocTest, SmallBlocksReadTheSameLinesWithProgress) {
    std::vector<std::string> lines;
    std::string bytes;
    for (int i = 0; i < 650; ++i) {
        lines.push_back("line " + std::to_string(i) + std::string(i % 13, '.'));
        bytes += lines.back() + "\r\n";
    }
    const std::string path = dir.Write("sub/many.prl", bytes);
    for (std::size_t blockSize : {8u, 9u, 64u, 1000u}) {
        CQuilletDoc doc(store);
        doc.SetSavedLogBlockSize(blockSize);
        RecordingDocHost host;
        const DocumentFileResult result = doc.OpenSavedLog(path, false, &host);
        ASSERT_TRUE(result.Ok()) << blockSize << ": " << result.message;
        EXPECT_EQ(doc.logLines, lines) << blockSize;
        EXPECT_EQ(host.waitCursor, 0);

        // Start at 0, then every 300 lines, then "Ready".
        ASSERT_EQ(host.panes.size(), 4u) << blockSize;
        EXPECT_EQ(host.panes[0].first, "Reading -> many.prl");
        EXPECT_EQ(host.panes[0].second, "File 0 %processed");
        std::size_t characters = 0;
        for (int i = 0; i < 300; ++i) characters += lines[i].size();
        EXPECT_EQ(host.panes[1].first, "Reading -> many.prl");
        EXPECT_EQ(host.panes[1].second,
                  "File " + std::to_string(characters * 100 / bytes.size()) + " %processed");
        EXPECT_EQ(host.panes[3], (std::pair<std::string, std::string>{"Ready", ""}));
        EXPECT_EQ(host.pumps, 4);
    }
}

TEST_F(DocTest, SmallBlocksAndBareLineFeeds) {
    const std::string path = dir.Write("lf.prl", "alpha\n\nbeta gamma\ndelta\nunended");
    CQuilletDoc doc(store);
    doc.SetSavedLogBlockSize(6);
    ASSERT_TRUE(doc.OpenSavedLog(path, false, nullptr).Ok());
    EXPECT_EQ(doc.logLines, (std::vector<std::string>{"alpha", "beta gamma", "delta"}));
}

TEST_F(DocTest, LineLongerThanALaterBlockIsRefused) {
    // Blocks of 10000 bytes: the long line fills whole blocks without a line feed.
    const std::string path = dir.Write("long.prl", "ok\r\n" + Repeat('w', 40000) + "\r\nafter\r\n");
    CQuilletDoc doc(store);
    doc.SetSavedLogBlockSize(10000);
    RecordingDocHost host;
    const DocumentFileResult result = doc.OpenSavedLog(path, false, &host);
    EXPECT_EQ(result.kind, Kind::ContentError);
    EXPECT_EQ(result.message, "File " + path +
                                  ":\ncontains lines longer than 32000 characters\nwhich is this "
                                  "application's max!\n");
    EXPECT_TRUE(doc.logLines.empty());
    EXPECT_EQ(doc.longestLineLength, 0u);
    EXPECT_EQ(host.waitCursor, 0);
}

TEST_F(DocTest, ShortUnendedLastBlockIsDropped) {
    std::string bytes;
    for (int i = 0; i < 20; ++i) bytes += "0123456789abcd\r\n";  // 16 bytes each
    bytes += "tail";
    CQuilletDoc doc(store);
    doc.SetSavedLogBlockSize(16);
    ASSERT_TRUE(doc.OpenSavedLog(dir.Write("tail.prl", bytes), false, nullptr).Ok());
    EXPECT_EQ(doc.logLines.size(), 20u);
}

TEST_F(DocTest, AtMost128000LinesAreKept) {
    std::string bytes;
    for (int i = 0; i < 128005; ++i) bytes += "l" + std::to_string(i) + "\r\n";
    bytes += std::string(50, 'x') + "\r\n";
    CQuilletDoc doc(store);
    ASSERT_TRUE(doc.OpenSavedLog(dir.Write("big.prl", bytes), false, nullptr).Ok());
    ASSERT_EQ(doc.logLines.size(), 128000u);
    EXPECT_EQ(doc.logLines.back(), "l127999");
}

TEST_F(DocTest, FileOfTwoRealBlocks) {
    // A little over 8,000,000 bytes: two blocks of the real size.
    const std::string line = std::string(98, 'q') + "\r\n";
    std::string bytes;
    bytes.reserve(8'100'000);
    while (bytes.size() < 8'000'050) bytes += line;
    const std::string path = dir.Write("two.prl", bytes);
    CQuilletDoc doc(store);
    RecordingDocHost host;
    ASSERT_TRUE(doc.OpenSavedLog(path, false, &host).Ok());
    EXPECT_EQ(doc.logLines.size(), bytes.size() / line.size());
    ASSERT_FALSE(host.panes.empty());
    EXPECT_EQ(host.panes.front().second, "File 0 %processed");
    EXPECT_EQ(host.panes.back().first, "Ready");
    EXPECT_EQ(host.panes.size(), 2 + doc.logLines.size() / 300);
}

// ---- close guard ----

TEST_F(DocTest, CloseGuard) {
    EXPECT_STREQ(CQuilletDoc::CloseGuardText(),
                 "Currently processing file.  Won't CLOSE until processing is COMPLETE!\n");
    auto doc = NewDoc();
    doc->runInProgress = true;
    doc->modified = true;
    EXPECT_EQ(doc->MayClose(), CloseDecision::Refuse);
    EXPECT_FALSE(doc->closing);

    doc->runInProgress = false;
    EXPECT_EQ(doc->MayClose(), CloseDecision::AskSaveChanges);
    EXPECT_TRUE(doc->closing);

    auto clean = NewDoc();
    EXPECT_EQ(clean->MayClose(), CloseDecision::Close);
    EXPECT_TRUE(clean->closing);
}

// A close asked for from a message drain while a saved log is still being
// read is refused: the reader goes on using the document.
class ClosingHost : public RecordingDocHost {
public:
    explicit ClosingHost(CQuilletDoc& doc) : m_doc(doc) {}
    void PumpMessages() override {
        RecordingDocHost::PumpMessages();
        decisions.push_back(m_doc.MayClose());
    }
    std::vector<CloseDecision> decisions;

private:
    CQuilletDoc& m_doc;
};

TEST_F(DocTest, CloseRefusedWhileReading) {
    std::string bytes;
    for (int i = 0; i < 400; ++i) bytes += "entry\r\n";
    CQuilletDoc doc(store);
    doc.SetSavedLogBlockSize(100);
    ClosingHost host(doc);
    ASSERT_TRUE(doc.OpenSavedLog(dir.Write("r.prl", bytes), false, &host).Ok());
    EXPECT_EQ(host.decisions, std::vector<CloseDecision>(3, CloseDecision::Refuse));
    EXPECT_FALSE(doc.closing);
    EXPECT_EQ(doc.MayClose(), CloseDecision::Close);
}

}  // namespace
}  // namespace webquill
