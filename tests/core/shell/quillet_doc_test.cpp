#include "core/shell/quillet_doc.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <functional>
#include <memory>

#include "core/shell/preferences.h"
#include "platform/storage/settings_store.h"
#include "tests/core/shell/empty_settings_store.h"
#include "tests/engine/test_support.h"

namespace webquill {
namespace {

using Kind = DocumentFileResult::Kind;
using Panes = std::pair<std::string, std::string>;

// Keeps what the document shows while it reads a saved log.
struct RecordingDocHost : IDocumentHost {
    void ShowStatusPanes(const std::string& pane0, const std::string& pane1) override {
        panes.emplace_back(pane0, pane1);
    }
    void PumpMessages() override {
        ++pumps;
        if (onPump) onPump();
    }
    void SetWaitCursor(bool on) override { waitCursor += on ? 1 : -1; }
    std::vector<Panes> panes;
    int pumps = 0, waitCursor = 0;
    std::function<void()> onPump;
};

// One settings folder for the process, emptied before every test.
class DocTest : public ::testing::Test {
protected:
    void SetUp() override { test::EmptySettingsStore(); }
    std::unique_ptr<CQuilletDoc> NewDoc() {
        auto doc = std::make_unique<CQuilletDoc>(store);
        doc->LoadSettings();
        return doc;
    }
    // Keys `key` + i for i in [first, last], in one batch: every single store
    // write rewrites the file.
    static void Seed(const char* key, int first, int last, const std::function<std::string(int)>& value) {
        QSettings seed(QStringLiteral("Tessaly"), QStringLiteral("Webquill"));
        for (int i = first; i <= last; ++i)
            seed.setValue(QString::fromLatin1(key) + QString::number(i), QString::fromStdString(value(i)));
    }
    DocumentFileResult Open(CQuilletDoc& doc, const std::string& bytes, IDocumentHost* host = nullptr) {
        path = dir.Write("log.prl", bytes);
        return doc.OpenSavedLog(path, false, host);
    }

    CSettingsStore store;
    test::TempDir dir;
    std::string path;  // of the last log opened
};

std::string Settings(const CQuilletDoc& d) {
    const RunSettings& s = d.settings;
    return d.editorProgram + "|" + d.webBrowserProgram + "|" + d.imageFileFilter + "|" + d.lastPath + "|" +
           std::to_string(s.matchCase) + std::to_string(s.usDateDisplay) + std::to_string(s.displayErrors) + "|" +
           s.previousTocInfo + "|" + s.thisTocInfo + "|" + s.nextTocInfo;
}

std::string Row(const FtpRow& r) { return r.url + "|" + r.startDirectory + "|" + r.userId + "|" + r.password; }

TEST_F(DocTest, SettingsFromTheStoreOrDefaults) {
    EXPECT_EQ(Settings(*NewDoc()),
              std::string(kDefaultEditor) + "||*.bmp*;*.jpg*,*.gif*;*.tif*||011|Previous Page|This Page|Next Page");
    for (const auto& [name, value] : std::vector<Panes>{
             {"Editor", "vim"}, {"WebBrowser", "ff"}, {"ImageFileFilter", "*.png"}, {"LastPath", "/rules"},
             {"MatchCase", "1"}, {"DateDisplay", "0"}, {"DisplayErrors", "0"}, {"PreviousTOCInfo", "Back"},
             {"ThisTOCInfo", "Here"}, {"NextTOCInfo", "On"}})
        store.WriteString("Preferences", name, value);
    EXPECT_EQ(Settings(*NewDoc()), "vim|ff|*.png|/rules|100|Back|Here|On");
    // The About text is filled only while it is still empty.
    std::string about, kept = "already here";
    NewDoc()->LoadSettings(&about);
    NewDoc()->LoadSettings(&kept);
    EXPECT_TRUE(about.starts_with("Quillet Application\n"));
    EXPECT_EQ(kept, "already here");
}

// Read up to a hundred or the first gap; forty kept once one is added.
TEST_F(DocTest, RecentRuleFiles) {
    Seed("Recent Rule Files/RuleFile", 1, 105, [](int i) { return "/r" + std::to_string(i) + ".rul"; });
    EXPECT_EQ(NewDoc()->recentRuleFiles.size(), 100u);
    store.Remove("Recent Rule Files", "RuleFile41");
    auto doc = NewDoc();
    ASSERT_EQ(doc->recentRuleFiles.size(), 40u);
    doc->AddRecentRuleFile("/r1.rul");   // already first
    doc->AddRecentRuleFile("/r40.rul");  // the oldest moves to the front
    doc->AddRecentRuleFile("/R40.rul");  // differs in case: new, so the oldest goes
    ASSERT_EQ(doc->recentRuleFiles.size(), 40u);
    const std::vector<std::string> front(doc->recentRuleFiles.begin(), doc->recentRuleFiles.begin() + 3);
    EXPECT_EQ(front, (std::vector<std::string>{"/R40.rul", "/r40.rul", "/r1.rul"}));
    EXPECT_EQ(doc->recentRuleFiles.back(), "/r38.rul");
    EXPECT_EQ(store.ReadString("Recent Rule Files", "RuleFile40"), "/r38.rul");
    EXPECT_EQ(NewDoc()->recentRuleFiles, doc->recentRuleFiles);
}

// Forty rows keyed by URL and start folder, read up to the first gap. A
// scrambled password is bytes above 127: they must come back byte for byte;
// one typed into the store by hand reads as it stands; one the scrambling
// cannot give back is not remembered.
TEST_F(DocTest, FtpRows) {
    Seed("Recent Ftp Urls/FtpUrl", 0, 39, [](int i) { return "ftp" + std::to_string(i); });
    store.WriteString("Recent Ftp Start Dirs", "FtpStDir39", "/www");
    store.WriteString("Recent Ftp UIDs", "FtpUID39", "ann");
    store.WriteString("Recent Ftp UPWs", "FtpUPW39", "plain~pw");
    auto doc = NewDoc();
    ASSERT_EQ(doc->recentFtpRows.size(), 40u);
    EXPECT_EQ(Row(doc->recentFtpRows[39]), "ftp39|/www|ann|plain~pw");
    doc->AddRecentFtpRow({"ftp5", "", "other", "S3cret pass!~ "});  // same row: moves to the front
    EXPECT_EQ(doc->recentFtpRows.back().url, "ftp39");
    doc->AddRecentFtpRow({"ftp5", "/y", "u", "p"});  // other folder: a new row
    doc->AddRecentFtpRow({"FTP0", "", "u", "p"});    // other case: a new row
    ASSERT_EQ(doc->recentFtpRows.size(), 40u);
    EXPECT_EQ(Row(doc->recentFtpRows[0]) + " " + Row(doc->recentFtpRows[1]) + " " + Row(doc->recentFtpRows[2]),
              "FTP0||u|p ftp5|/y|u|p ftp5||other|S3cret pass!~ ");
    EXPECT_EQ(doc->recentFtpRows.back().url, "ftp37");
    EXPECT_EQ(store.ReadString("Recent Ftp Urls", "FtpUrl40"), "");
    EXPECT_EQ(store.ReadString("Recent Ftp UPWs", "FtpUPW2").find("S3cret"), std::string::npos);
    EXPECT_EQ(Row(NewDoc()->recentFtpRows[2]), "ftp5||other|S3cret pass!~ ");
    doc->AddRecentFtpRow({"ftp9", "", "u", "p\xc3\xa4sse"});  // the scrambling cannot give it back
    EXPECT_EQ(doc->recentFtpRows[0].password, "p\xc3\xa4sse");
    EXPECT_EQ(Row(NewDoc()->recentFtpRows[0]), "ftp9||u|");
    store.Remove("Recent Ftp Urls", "FtpUrl1");
    EXPECT_EQ(NewDoc()->recentFtpRows.size(), 1u);
}

TEST_F(DocTest, SavedLogRoundTrip) {
    auto doc = NewDoc();
    doc->logLines = {std::string(40, ' ') + "Banner", "line two", " "};
    doc->modified = true;
    const std::string saved = dir.File("run.prl");
    ASSERT_TRUE(doc->SaveLog(saved).Ok());
    EXPECT_FALSE(doc->modified);
    EXPECT_EQ(test::ReadFile(saved), std::string(40, ' ') + "Banner\r\nline two\r\n \r\n");

    CQuilletDoc loaded(store);
    RecordingDocHost host;
    ASSERT_TRUE(loaded.OpenSavedLog(saved, false, &host).Ok());
    EXPECT_EQ(loaded.logLines, doc->logLines);
    EXPECT_EQ(loaded.ruleFilePath, saved);
    EXPECT_TRUE(loaded.loadedLog && !loaded.modified);
    EXPECT_EQ(loaded.longestLineLength, 46u);
    EXPECT_EQ(host.waitCursor, 0);
    EXPECT_EQ(host.panes, (std::vector<Panes>{{"Ready", ""}}));  // one block: no progress

    loaded.modified = true;
    EXPECT_EQ(loaded.SaveLog(dir.File("missing/dir/run.prl")).message,
              "No such file or directory\n" + dir.File("missing/dir/run.prl") + " was not saved.");
    EXPECT_TRUE(loaded.modified);
}

// Lines read, or the refusal's message after "File <path>"; a refused file
// leaves nothing behind. The first block's length check has a blank before
// "contains", the check of each line none.
TEST_F(DocTest, LineEndsBlankLinesAndRefusals) {
    using Lines = std::vector<std::string>;
    const std::string tooLong = "contains lines longer than 32000 characters\nwhich is this application's max!\n";
    const std::string notText = ":\nis NOT a text file!\n";
    const std::vector<std::tuple<const char*, std::string, Lines, std::string>> cases = {
        {"CR LF", "one\r\ntwo\r\nthree\r\n", {"one", "two", "three"}, ""},
        {"bare LF", "one\ntwo\nthree\n", {"one", "two", "three"}, ""},
        {"final line without line end", "one\r\ntwo\r\nthree", {"one", "two"}, ""},
        {"blank lines", "one\r\n\r\n\r\ntwo\r\n", {"one", "two"}, ""},
        {"blank first line, bare LF", "\none\n\ntwo\n", {"one", "two"}, ""},
        {"CR inside a bare-LF file stays", "a\nb\r\n", {"a", "b\r"}, ""},
        {"stray bare LF in a CR LF file keeps its character", "one\r\ntwo\nthree\r\n", {"one", "two", "three"}, ""},
        {"tabs and high bytes kept", "\t\xe9t\xe9\r\n", {"\t\xe9t\xe9"}, ""},
        {"31999 characters fit", std::string(31999, 'z') + "\n", {std::string(31999, 'z')}, ""},
        {"empty file", "", {}, notText},
        {"no line feed", "just some text\r", {}, notText},
        {"first line of 32001", std::string(32001, 'x') + "\n", {}, ":\n " + tooLong},
        {"first line of 32000 before a bare LF", std::string(32000, 'x') + "\n", {}, ":\n" + tooLong},
        {"first line of 31999 and CR", std::string(31999, 'x') + "\r\nok\r\n", {}, ":\n" + tooLong},
        {"later line of 32000", "ok\r\n" + std::string(32000, 'y') + "\r\n", {}, ":\n" + tooLong},
    };
    for (const auto& [what, bytes, lines, refusal] : cases) {
        CQuilletDoc doc(store);
        const DocumentFileResult result = Open(doc, bytes);
        EXPECT_EQ(result.kind, refusal.empty() ? Kind::Done : Kind::ContentError) << what;
        EXPECT_EQ(result.message, refusal.empty() ? "" : "File " + path + refusal) << what;
        EXPECT_EQ(doc.logLines, lines) << what;
        EXPECT_EQ(doc.loadedLog, refusal.empty()) << what;
        EXPECT_FALSE(doc.modified) << what;
    }
    for (const std::string& absent : {dir.File("absent.prl"), dir.Path().string()}) {
        const DocumentFileResult result = CQuilletDoc(store).OpenSavedLog(absent, false, nullptr);
        EXPECT_EQ(result.kind, Kind::FileError) << absent;
        EXPECT_EQ(result.message, "Failed to open document.") << absent;
    }
}

// Lines crossing block boundaries, the CR of a line end at the end of one
// block and its LF at the start of the next, with bare LFs as well; the
// unended tail fills whole blocks without a line feed and is dropped.
TEST_F(DocTest, SmallBlocksReadTheSameLinesWithProgress) {
    for (const std::string end : {"\r\n", "\n"}) {
        std::vector<std::string> lines;
        std::string bytes;
        std::size_t characters = 0;  // of the first 300 lines
        for (int i = 0; i < 650; ++i) {
            lines.push_back("line " + std::to_string(i) + std::string(i % 13, '.'));
            bytes += lines.back() + end + (i % 100 == 1 ? end : "");
            if (i < 300) characters += lines.back().size();
        }
        bytes += std::string(2000, 'u');
        const std::string progress = "File " + std::to_string(characters * 100 / bytes.size()) + " %processed";
        for (std::size_t blockSize : {8u, 9u, 64u, 1000u}) {
            CQuilletDoc doc(store);
            doc.SetSavedLogBlockSize(blockSize);
            RecordingDocHost host;
            const DocumentFileResult result = Open(doc, bytes, &host);
            ASSERT_TRUE(result.Ok()) << blockSize << ": " << result.message;
            EXPECT_EQ(doc.logLines, lines) << blockSize;
            EXPECT_EQ(host.waitCursor, 0);
            // At 0, then every 300 lines, then "Ready".
            EXPECT_EQ(host.panes, (std::vector<Panes>{{"Reading -> log.prl", "File 0 %processed"},
                                                      {"Reading -> log.prl", progress},
                                                      host.panes.at(2),
                                                      {"Ready", ""}}))
                << blockSize;
            EXPECT_EQ(host.pumps, 4);
        }
    }
}

// A line filling whole later blocks is refused once past the limit.
TEST_F(DocTest, LongLineInLaterBlocks) {
    CQuilletDoc doc(store);
    doc.SetSavedLogBlockSize(10000);
    RecordingDocHost host;
    const DocumentFileResult result = Open(doc, "ok\r\n" + std::string(40000, 'w') + "\r\nafter\r\n", &host);
    EXPECT_EQ(result.kind, Kind::ContentError);
    EXPECT_TRUE(result.message.starts_with("File " + path + ":\ncontains")) << result.message;
    EXPECT_TRUE(doc.logLines.empty() && doc.longestLineLength == 0 && host.waitCursor == 0);
}

// A little over 8,000,000 bytes: two blocks of the real size, and more
// lines than the 128,000 kept.
TEST_F(DocTest, FileOfTwoRealBlocks) {
    std::string bytes;
    for (int i = 0; bytes.size() < 8'000'050; ++i) bytes += "l" + std::to_string(i) + "\r\n";
    CQuilletDoc doc(store);
    RecordingDocHost host;
    ASSERT_TRUE(Open(doc, bytes, &host).Ok());
    ASSERT_EQ(doc.logLines.size(), 128000u);
    EXPECT_EQ(doc.logLines.back(), "l127999");
    ASSERT_EQ(host.panes.size(), 2 + 128000 / 300);
    EXPECT_EQ(host.panes.front().second, "File 0 %processed");
    EXPECT_EQ(host.panes.back().first, "Ready");
}

// A close asked for from a message drain while a saved log is being read is
// refused as during a run: the reader goes on using the document.
// (Its text is compared where the window shows it.)
TEST_F(DocTest, CloseGuard) {
    std::string bytes;
    for (int i = 0; i < 400; ++i) bytes += "entry\r\n";
    CQuilletDoc doc(store);
    doc.SetSavedLogBlockSize(100);
    RecordingDocHost host;
    std::vector<CloseDecision> decisions;
    host.onPump = [&] { decisions.push_back(doc.MayClose()); };
    ASSERT_TRUE(Open(doc, bytes, &host).Ok());
    EXPECT_EQ(decisions, std::vector<CloseDecision>(3, CloseDecision::Refuse));
    EXPECT_FALSE(doc.closing);
    EXPECT_EQ(doc.MayClose(), CloseDecision::Close);
    EXPECT_TRUE(doc.closing);

    doc.runInProgress = doc.modified = true;
    doc.closing = false;
    EXPECT_EQ(doc.MayClose(), CloseDecision::Refuse);
    EXPECT_FALSE(doc.closing);
    doc.runInProgress = false;
    EXPECT_EQ(doc.MayClose(), CloseDecision::AskSaveChanges);
}

}  // namespace
}  // namespace webquill
