// The FTP connection and the upload run against real servers started by the
// tests: logins, URLs, listings, whole sites, faults, FTPS and active mode;
// vsftpd as a second server for FTPS.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "core/upload/ftp_session.h"
#include "tests/core/upload/ftp_test_server.h"
#include "core/upload/upload_host.h"
#include "core/upload/upload_run.h"

namespace webquill::test {
namespace {

namespace fs = std::filesystem;

class RecordingUploadHost : public IUploadHost {
public:
    void ShowMessageCenter(const std::string& text) override { center.push_back(text); }
    void ShowProgress(bool, int) override {}
    bool AskYesNo(const std::string&) override { return ++questions, answerYes; }
    void ShowBox(const std::string& text) override { boxes.push_back(text); }

    std::vector<std::string> center, boxes;
    int questions = 0;
    bool answerYes = false;
};

struct Site {
    RecordingUploadHost host;
    FtpSession session;
    ConnectResult result;
    Site(const std::string& url, const std::string& user, const std::string& password, FtpOptions options = {},
         const std::string& wwwDirectory = "") {
        result = ConnectFtpSite({url, wwwDirectory, user, password}, options, host, session);
    }
    bool Connected() const { return result.outcome == ConnectOutcome::Connected; }
};

std::vector<std::string> Names(const std::vector<FtpEntry>& entries) {
    std::vector<std::string> names;
    for (const FtpEntry& e : entries) names.push_back((e.isDirectory ? "d " : "f ") + e.name);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FtpListing, UnixDosAndMachineLinesKeepNamesWithBlanks) {
    struct Case { const char* line; bool machine; const char* name; bool directory; };
    const Case cases[] = {
        {"drwxr-xr-x   2 user group     4096 Jan  1 12:00 my pages", false, "my pages", true},
        {"-rw-r--r--   1 user group      120 Jan  1  2024 a  b.htm", false, "a  b.htm", false},
        {"lrwxrwxrwx   1 user group        5 Jan  1 12:00 latest -> v2", false, "latest", false},
        {"01-02-24  10:15AM       <DIR>          Old Site", false, "Old Site", true},
        {"01-02-24  10:15AM                 1234 read me.txt", false, "read me.txt", false},
        {"type=dir;modify=20240101;perm=el; sub dir", true, "sub dir", true},
        {"Type=file;Size=3; page 1.htm", true, "page 1.htm", false},
    };
    for (const Case& c : cases) {
        FtpEntry entry;
        ASSERT_TRUE(c.machine ? ParseMachineListLine(c.line, entry) : ParseListLine(c.line, entry)) << c.line;
        EXPECT_EQ(entry.name, c.name);
        EXPECT_EQ(entry.isDirectory, c.directory) << c.line;
    }
    FtpEntry entry;
    EXPECT_FALSE(ParseListLine("total 12", entry));
    EXPECT_FALSE(ParseMachineListLine("type=cdir; .", entry));
}

TEST(FtpSession, LoginRulesUrlFormsAndDirectories) {
    CFtpTestServer server;
    fs::create_directories(server.Home() / "site" / "my pages");
    TempDir local;
    local.Write("x.htm", "x");

    // Anonymous in any case, even with a password; a bare host:port through the retry.
    for (const char* user : {"", "anonymous", "Anonymous"}) {
        Site site(server.HostPort(), user, "wrong");
        EXPECT_TRUE(site.Connected()) << user << ": " << site.result.boxText;
    }
    Site named("ftp://" + server.HostPort(), "webquill", "secret", {}, "site");
    ASSERT_TRUE(named.Connected());
    EXPECT_EQ(named.session.loginDirectory, "/");
    EXPECT_EQ(named.session.wwwStartDirectory, "/site");
    EXPECT_EQ(named.host.center, (std::vector<std::string>{"Initiating Connection"}));
    std::vector<FtpEntry> entries;
    ASSERT_TRUE(named.session.connection->List("//site", entries));
    EXPECT_EQ(Names(entries), (std::vector<std::string>{"d my pages"}));
    EXPECT_TRUE(named.session.connection->List("/site/my pages", entries) && entries.empty());
    EXPECT_FALSE(named.session.connection->List("/nothing", entries));

    Site missingDirectory(server.HostPort(), "webquill", "secret", {}, "nothing/here");
    ASSERT_TRUE(missingDirectory.Connected());
    EXPECT_EQ(missingDirectory.session.wwwStartDirectory, "/");

    // A scheme and no server: refused before any connection.
    for (const std::string& url : {std::string("ftp://"), std::string("ftps://"), std::string("ftp:///site"),
                                   "ftp://:" + std::to_string(server.Port())}) {
        Site none(url, "", "");
        EXPECT_EQ(none.result.outcome, ConnectOutcome::UnparsableUrl) << url;
        EXPECT_EQ(none.result.boxText, kInvalidFtpUrlText);
    }
    Site web("http://" + server.HostPort(), "", "");
    EXPECT_EQ(web.result.outcome, ConnectOutcome::Failed);
    EXPECT_EQ(web.result.boxText, kInvalidFtpUrlText);

    Site refused(server.HostPort(), "webquill", "bad");
    EXPECT_EQ(refused.result.outcome, ConnectOutcome::Failed);
    EXPECT_EQ(refused.result.boxText, "530 Authentication failed.");
}

// The example site in `dir`, with a photo and a chapter of several hundred
// kilobytes added, set to go to `url` as `user`, into the folders site/www,
// site and images under `folder` of the login directory.
void WriteExampleSite(const TempDir& dir, const std::string& url, const std::string& user, const std::string& folder,
                      const std::string& preferences) {
    fs::copy(WEBQUILL_SOURCE_DIR "/examples", dir.Path() / "examples", fs::copy_options::recursive);
    dir.Write("examples/images/photo 1.JPG", std::string(200000, '\xff'));
    std::string document = ReadFile(dir.File("examples/manual.htm")), chapter;
    for (int i = 0; chapter.size() < 400000; ++i) chapter += "line " + std::to_string(i) + " of a long chapter<BR>\r\n";
    document.insert(document.find("<!-- /chapter -->"), chapter);
    dir.Write("examples/manual.htm", document);
    std::string rule = ReadFile(dir.File("examples/manual.rul"));
    rule.replace(rule.find("ImagesServerDir: images"), 23, "ImagesServerDir: " + folder + "images");
    rule.insert(rule.find("ExecuteSequence"), "FtpURL: " + url + "\nUserID: " + user + "\nUserPW: secret\n" +
                                                  "WWWServerDir: " + folder + "site/www\nTOCServerDir: /" + folder +
                                                  "site\n");
    dir.Write("examples/manual.rul", rule);
    dir.Write(".config/Tessaly/Webquill.conf", "[Preferences]\nImageFileFilter=\"*.svg;*.jp*\"\n" + preferences);
}

// Publishes and uploads the example site through webquill-publish; every
// file must arrive byte for byte in `serverHome`.
void UploadExampleSite(const std::string& url, const std::string& user, const std::string& folder,
                       const std::string& preferences, const fs::path& serverHome) {
    TempDir dir;
    WriteExampleSite(dir, url, user, folder, preferences);

    // Run from another folder: the run and the upload both take the rule file's paths from its folder.
    const ProgramResult r = RunPublishProgram("--upload examples/manual.rul", dir.Path());
    EXPECT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> out = Lines(r.out);
    EXPECT_EQ(out.back(), "19 / 19 Files Uploaded!") << r.out;
    int compared = 0;
    size_t largest = 0;
    for (const auto& entry : fs::recursive_directory_iterator(serverHome)) {
        if (!entry.is_regular_file()) continue;
        const fs::path relative = fs::relative(entry.path(), serverHome);
        const std::string top = relative.begin()->string();
        const fs::path local = top == "images" ? dir.Path() / "examples" / relative
                                               : dir.Path() / "out" / "example" / relative.filename();
        const std::string bytes = ReadFile(entry.path().string());
        EXPECT_EQ(bytes, ReadFile(local.string())) << relative;
        if (top != "images") largest = std::max(largest, bytes.size());
        ++compared;
    }
    EXPECT_EQ(compared, 19);
    EXPECT_GT(largest, 400000u);
    EXPECT_TRUE(fs::exists(serverHome / "site" / "index.htm"));
    EXPECT_TRUE(fs::exists(serverHome / "images" / "photo 1.JPG"));
}

TEST(FtpUpload, WholeSiteArrivesByteForByteThroughThePublishProgram) {
    for (const char* preferences : {"", "FtpActiveMode=1\n"}) {
        CFtpTestServer server;
        UploadExampleSite(server.HostPort(), "webquill", "", preferences, server.Home());
    }
}

// vsftpd with its TLS defaults wants each data connection to resume the
// session of its own control connection: 300 pages and a 3 MB image over two.
TEST(FtpUpload, ThreeHundredPagesOverFtpsToVsftpd) {
    if (!fs::exists(CVsftpdTestServer::kProgram)) GTEST_SKIP() << CVsftpdTestServer::kProgram << " is not installed";
    if (geteuid() != 0) GTEST_SKIP() << "vsftpd runs its anonymous sessions only when started as root";
    CVsftpdTestServer server;
    TempDir dir;
    UploadInputs inputs;
    inputs.createdFiles = WritePages(dir.Path(), 300, 20000);
    dir.Write("images/photo.jpg", std::string(3 << 20, '\xd8'));
    inputs.wwwDirectory = dir.Path().string();
    inputs.wwwServerDir = "pub/www";
    inputs.imagesLocalDir = dir.File("images");
    inputs.imagesServerDir = "pub/images";
    inputs.imageFilter = "*.jpg";
    FtpOptions trusted;
    trusted.caFile = server.CaFile().string();
    Site site("ftps://" + server.HostPort(), "anonymous", "", trusted);
    ASSERT_TRUE(site.Connected()) << site.result.boxText;
    const UploadChoices changedOnly{true, false, false};
    const UploadResult result =
        RunUpload(*site.session.connection, inputs, {"/", "/", {}, true}, site.host, changedOnly);
    EXPECT_EQ(site.session.connection->PutConnections(), 2);
    EXPECT_EQ(site.host.center.back(), "301 / 301 Files Uploaded! (0 unchanged)")
        << (result.failed.empty() ? "" : result.failed[0]);
    EXPECT_EQ(PartsLeft(server.Home()), std::vector<std::string>{});
    // and 2 folders and the manifest
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(server.Home()), {}), 304);
    EXPECT_EQ(fs::file_size(server.Home() / "images" / "photo.jpg"), 3u << 20);
    // The manifest read back over TLS; a page gone is deleted.
    inputs.createdFiles.pop_back();
    Site again("ftps://" + server.HostPort(), "anonymous", "", trusted);
    ASSERT_TRUE(again.Connected());
    RunUpload(*again.session.connection, inputs, {"/", "/", {}, true}, again.host, {true, true, false});
    EXPECT_EQ(again.host.center.back(), "0 / 0 Files Uploaded! (300 unchanged)");
    EXPECT_FALSE(fs::exists(server.Home() / "www" / "p299.htm"));
}

// --upload: a rule file without a site is refused as the dialog refuses it;
// SIGINT stops a run against a slow server at once, with its parts removed,
// the count printed and exit 4.
TEST(FtpUpload, PublishProgramWantsASiteAndStopsOnASignal) {
    TempDir plain;
    fs::copy(WEBQUILL_SOURCE_DIR "/examples", plain.Path() / "examples", fs::copy_options::recursive);
    const ProgramResult noSite = RunPublishProgram("--upload examples/manual.rul", plain.Path());
    EXPECT_EQ(noSite.status, 4);
    EXPECT_EQ(noSite.err, "Ftp Site may not be left empty\n");

    CFtpTestServer slow({"--slow", "50000"});
    TempDir dir;
    WriteExampleSite(dir, slow.HostPort(), "webquill", "", "");
    const auto start = std::chrono::steady_clock::now();
    // timeout(1) sends the signal 3 s in, during the upload (8 s for the
    // long chapter alone), and passes the exit status on.
    const ProgramResult r =
        RunPublishProgram("--upload examples/manual.rul", dir.Path(), "timeout --preserve-status -s INT 3");
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 4.5);
    EXPECT_EQ(r.status, 4) << r.err;
    const std::string count = Lines(r.out).back();
    EXPECT_TRUE(count.ends_with(" / 19 Files Uploaded!") && std::stoi(count) < 19) << count;
    EXPECT_EQ(PartsLeft(slow.Home()), std::vector<std::string>{});
}

// Over two connections, the second carrying the dropped file; and over one
// where the server refuses a second.
TEST(FtpUpload, FailedTransfersAreNamedAndLeaveTheOldPage) {
    struct Case { std::vector<std::string> limit; int connections; };
    for (const Case& c : {Case{{}, 2}, Case{{"--max-connections", "1"}, 1}}) {
        std::vector<std::string> options = {"--drop", "cut", "--deny", "denied"};
        options.insert(options.end(), c.limit.begin(), c.limit.end());
        CFtpTestServer server(options);
        fs::create_directories(server.Home() / "www");
        TempDir dir;
        const std::string page(300000, 'p');
        for (const char* name : {"a.htm", "cut.htm", "denied.htm", "z.htm"}) dir.Write(name, page);
        std::ofstream(server.Home() / "www" / "cut.htm") << "old";

        Site site(server.HostPort(), "webquill", "secret");
        ASSERT_TRUE(site.Connected());
        UploadInputs inputs;
        inputs.createdFiles = {"a.htm", "cut.htm", "denied.htm", "gone.htm", "z.htm"};
        inputs.wwwDirectory = dir.Path().string();
        inputs.wwwServerDir = "www";
        const UploadResult result = RunUpload(*site.session.connection, inputs, {"/", "/", "/www", true}, site.host);
        EXPECT_EQ(site.session.connection->PutConnections(), c.connections);
        EXPECT_EQ(site.host.questions, 1);  // answered No: the rule's directories
        EXPECT_EQ(result.uploaded, 2);
        ASSERT_EQ(result.failed.size(), 3u);
        EXPECT_EQ(result.failed[1].rfind(dir.File("denied.htm") + ": 550 Upload denied.", 0), 0u);
        EXPECT_EQ(site.host.center.back(), "2 / 5 Files Uploaded!");
        ASSERT_EQ(site.host.boxes.size(), 1u);
        EXPECT_EQ(site.host.boxes[0].rfind("3 files could NOT be uploaded!\n" + dir.File("cut.htm"), 0), 0u);
        EXPECT_EQ(ReadFile((server.Home() / "www" / "cut.htm").string()), "old");
        EXPECT_EQ(ReadFile((server.Home() / "www" / "z.htm").string()), page);
        std::vector<FtpEntry> entries;
        ASSERT_TRUE(site.session.connection->List("/www", entries));
        EXPECT_EQ(Names(entries), (std::vector<std::string>{"f a.htm", "f cut.htm", "f z.htm"}));
    }
}

TEST(FtpUpload, DeadTransferEndsInTheLowSpeedLimit) {
    CFtpTestServer server({"--stall"});
    TempDir dir;
    dir.Write("big.htm", std::string(32 << 20, 'b'));
    FtpOptions options;
    options.lowSpeedSeconds = 1;
    Site site(server.HostPort(), "", "", options);
    ASSERT_TRUE(site.Connected());
    EXPECT_FALSE(site.session.connection->PutFile(dir.File("big.htm"), "/big.htm"));
    EXPECT_NE(site.session.connection->LastError().find("too slow"), std::string::npos)
        << site.session.connection->LastError();
}

// A server that stops reading ends the run after one fresh attempt, within
// twice the time limit, every file named.
TEST(FtpUpload, StalledServerEndsTheRunWithinTwiceTheTimeLimit) {
    CFtpTestServer server({"--stall"});
    TempDir dir;
    UploadInputs inputs;
    inputs.createdFiles = WritePages(dir.Path(), 50, 250000);
    inputs.wwwDirectory = dir.Path().string();
    FtpOptions limits;
    limits.lowSpeedSeconds = limits.responseTimeoutSeconds = 4;
    Site site(server.HostPort(), "", "", limits);
    ASSERT_TRUE(site.Connected());
    const auto start = std::chrono::steady_clock::now();
    const UploadResult result = RunUpload(*site.session.connection, inputs, {"/", "/", {}, true}, site.host);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // Two waits (the stall, then the one fresh attempt) and no third: a
    // loaded machine's seconds of setup are no fault.
    EXPECT_LT(seconds, 3 * limits.lowSpeedSeconds - 0.5);
    EXPECT_EQ(result.uploaded, 0);
    ASSERT_EQ(result.failed.size(), 50u);
    EXPECT_EQ(result.failed.back(), dir.File("p49.htm") + ": " + kConnectionLostText);
    // The box names the first 20.
    ASSERT_EQ(site.host.boxes.size(), 1u);
    EXPECT_EQ(std::count(site.host.boxes[0].begin(), site.host.boxes[0].end(), '\n'), 21);
    EXPECT_TRUE(site.host.boxes[0].ends_with("\n... and 30 more")) << site.host.boxes[0];
}

// Over TLS, a second connection the server takes no upload from leaves the
// files to the first.
TEST(FtpUpload, TlsWithTheTrustedCertificateAndActiveModeForPlainFtp) {
    CFtpTestServer tls({"--tls", "--one-tls-session"});
    TempDir dir;
    const std::string page = [] {
        std::string text;
        for (int i = 0; text.size() < 700000; ++i) text += "<p>line " + std::to_string(i) + "</p>\r\n";
        return text;
    }();
    dir.Write("long.htm", page);

    FtpOptions trusted;
    trusted.caFile = (tls.Files() / "ca.pem").string();
    Site secure("ftps://" + tls.HostPort(), "webquill", "secret", trusted);
    ASSERT_TRUE(secure.Connected()) << secure.result.boxText;
    ASSERT_TRUE(secure.session.connection->PutFile(dir.File("long.htm"), "/new/long.htm"))
        << secure.session.connection->LastError();
    EXPECT_EQ(ReadFile((tls.Home() / "new" / "long.htm").string()), page);
    UploadInputs inputs;
    inputs.createdFiles = {"long.htm", "long.htm", "long.htm"};
    inputs.wwwDirectory = dir.Path().string();
    inputs.wwwServerDir = "again";
    EXPECT_EQ(RunUpload(*secure.session.connection, inputs, {"/", "/", {}, true}, secure.host).uploaded, 3);
    EXPECT_EQ(secure.session.connection->PutConnections(), 1);
    Site untrusted("ftps://" + tls.HostPort(), "webquill", "secret");
    EXPECT_FALSE(untrusted.Connected());

    CFtpTestServer plain;
    FtpOptions active;
    active.activeMode = true;
    Site site(plain.HostPort(), "webquill", "secret", active);
    ASSERT_TRUE(site.Connected());
    ASSERT_TRUE(site.session.connection->PutFile(dir.File("long.htm"), "/long.htm"));
    std::vector<FtpEntry> entries;
    EXPECT_TRUE(site.session.connection->List("/", entries));
    EXPECT_EQ(Names(entries), (std::vector<std::string>{"f long.htm"}));
    EXPECT_EQ(ReadFile((plain.Home() / "long.htm").string()), page);
}

}  // namespace
}  // namespace webquill::test
