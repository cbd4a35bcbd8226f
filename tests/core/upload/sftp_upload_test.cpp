// SFTP against OpenSSH's sshd started by the test: logins by key, by
// password and with a passphrase, the host key check, re-uploads over old
// pages and a server that dies in the middle.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

#include "core/upload/ftp_session.h"
#include "core/upload/upload_host.h"
#include "core/upload/upload_run.h"
#include "tests/core/upload/ftp_test_server.h"

namespace webquill::test {
namespace {

namespace fs = std::filesystem;

class QuietHost : public IUploadHost {
public:
    void ShowMessageCenter(const std::string& text) override { center = text; }
    void ShowProgress(bool, int) override {}
    bool AskYesNo(const std::string&) override { return false; }
    void ShowBox(const std::string& text) override { boxes += text + "\n"; }
    std::string center, boxes;
};

bool CanRunSshd(std::string& why) {
    if (!fs::exists(CSshdTestServer::kProgram)) why = std::string(CSshdTestServer::kProgram) + " is not installed";
    else if (geteuid() != 0) why = "sshd serves logins only when started as root";
    return why.empty();
}

// A known_hosts file in `folder` that trusts `server`.
std::string TrustingKnownHosts(const TempDir& folder, const CSshdTestServer& server) {
    const std::string file = folder.File("known_hosts");
    std::ofstream(file) << "[127.0.0.1]:" << server.Port() << ' ' << server.HostKey() << '\n';
    return file;
}

struct Upload {
    QuietHost host;
    FtpSession session;
    ConnectResult connected;
    UploadResult result;
    Upload(const std::string& url, const std::string& user, const std::string& password, FtpOptions options,
           const std::string& wwwDirectory = "") {
        connected = ConnectFtpSite({url, wwwDirectory, user, password}, options, host, session);
    }
    bool Run(const UploadInputs& inputs, const UploadChoices& choices = {}) {
        if (connected.outcome != ConnectOutcome::Connected) return false;
        result = RunUpload(*session.connection, inputs, {session.loginDirectory, session.loginDirectory, {}, true}, host,
                           choices);
        return true;
    }
};

UploadInputs Pages(const fs::path& folder, int count, std::size_t bytes) {
    UploadInputs inputs;
    inputs.createdFiles = WritePages(folder, count, bytes);
    inputs.wwwDirectory = folder.string();
    inputs.wwwServerDir = "site/www";
    return inputs;
}

TEST(SftpUpload, ByPasswordThenByKeyOverTheOldPages) {
    std::string why;
    if (!CanRunSshd(why)) GTEST_SKIP() << why;
    CSshdTestServer server("ed25519");  // its key stands in for a stranger's below
    TempDir local;
    FtpOptions options;
    options.sftp.knownHostsFile = TrustingKnownHosts(local, server);
    CTestUser user("pass word", server.Home());

    Upload wrong(server.Url(), user.Name(), "wrong", options);
    EXPECT_EQ(wrong.connected.outcome, ConnectOutcome::Failed);
    EXPECT_EQ(wrong.connected.boxText, "The server refused the login: wrong user ID or password");
    FtpOptions strangerKey = options;  // authorized for no one
    strangerKey.sftp.keyFile = (server.UserKey().parent_path() / "host_key").string();
    Upload refused(server.Url(), "root", "", strangerKey);
    EXPECT_EQ(refused.connected.boxText, "The server refused the login with the key " + strangerKey.sftp.keyFile);

    // Missing folders are made; modes follow the server's umask (002).
    const UploadInputs old = Pages(local.Path() / "old", 12, 90000);
    Upload byPassword(server.Url(), user.Name(), "pass word", options);
    ASSERT_TRUE(byPassword.Run(old)) << byPassword.connected.boxText;
    EXPECT_EQ(byPassword.host.center, "12 / 12 Files Uploaded!") << byPassword.host.boxes;
    const fs::path www = server.Home() / "site" / "www";
    EXPECT_EQ(fs::status(www / "p0.htm").permissions(), static_cast<fs::perms>(0664));
    EXPECT_EQ(fs::status(www).permissions(), static_cast<fs::perms>(0775));

    // The remote tree's listing and the WWW directory.
    std::vector<FtpEntry> entries;
    ASSERT_TRUE(byPassword.session.connection->List(server.Home().string(), entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(entries[0].isDirectory && entries[0].name == "site");
    Upload key(server.Url(), "root", "", [&] {
        FtpOptions withKey = options;
        withKey.sftp.keyFile = server.UserKey().string();
        return withKey;
    }(), "site/www");
    EXPECT_EQ(key.session.wwwStartDirectory, www.string()) << key.connected.boxText;

    // Shorter pages over the old ones: each replaced whole, no part left.
    UploadInputs fresh = Pages(local.Path() / "new", 12, 50000);
    fresh.createdFiles.push_back("a \"quoted\" page.htm");
    local.Write("new/" + fresh.createdFiles.back(), "quoted");
    ASSERT_TRUE(key.Run(fresh));
    EXPECT_EQ(key.host.center, "13 / 13 Files Uploaded!") << key.host.boxes;
    for (const std::string& name : fresh.createdFiles)
        EXPECT_TRUE(ReadFile((www / name).string()) == ReadFile((local.Path() / "new" / name).string())) << name;
    EXPECT_EQ(PartsLeft(server.Home()), std::vector<std::string>{});

    // A page that came after the folder was looked at is replaced all the same.
    CFtpConnection& connection = *key.session.connection;
    local.Write("later.htm", "first");
    ASSERT_TRUE(connection.PutFile(local.File("later.htm"), www.string() + "/later.htm")) << connection.LastError();
    local.Write("later.htm", "second");
    ASSERT_TRUE(connection.PutFile(local.File("later.htm"), www.string() + "/later.htm")) << connection.LastError();
    EXPECT_EQ(ReadFile((www / "later.htm").string()), "second");

    // Changed files only: the manifest written over SFTP is read back, so an
    // unchanged site sends nothing; prune deletes a page the site lost.
    UploadChoices changedOnly{true, false, false};
    ASSERT_TRUE(key.Run(fresh, changedOnly));
    EXPECT_EQ(key.host.center, "13 / 13 Files Uploaded! (0 unchanged)") << key.host.boxes;
    ASSERT_TRUE(key.Run(fresh, changedOnly));
    EXPECT_EQ(key.host.center, "0 / 0 Files Uploaded! (13 unchanged)") << key.host.boxes;
    fresh.createdFiles.pop_back();
    ASSERT_TRUE(key.Run(fresh, {true, true, false}));
    EXPECT_EQ(key.host.center, "0 / 0 Files Uploaded! (12 unchanged)") << key.host.boxes;
    EXPECT_FALSE(fs::exists(www / "a \"quoted\" page.htm"));
    EXPECT_TRUE(fs::exists(www / "later.htm"));
}

// webquill-publish: the key's passphrase from the environment, an unknown
// host refused then trusted with --trust-new-host, a changed key refused.
TEST(SftpUpload, HostKeysAndPassphraseThroughThePublishProgram) {
    std::string why;
    if (!CanRunSshd(why)) GTEST_SKIP() << why;
    CSshdTestServer server("ed25519"), impostor("ed25519");
    TempDir dir;
    fs::copy(WEBQUILL_SOURCE_DIR "/examples", dir.Path() / "examples", fs::copy_options::recursive);
    const std::string plainRule = ReadFile(dir.File("examples/manual.rul"));
    auto ruleFor = [&](const CSshdTestServer& to) {
        std::string rule = plainRule;
        rule.insert(rule.find("ExecuteSequence"), "FtpURL: " + to.Url() + "\nUserID: root\nWWWServerDir: www\n");
        dir.Write("examples/manual.rul", rule);
    };
    dir.Write(".config/Tessaly/Webquill.conf", "[Preferences]\nSftpKeyFile=" + server.LockedKey().string() + "\n");
    const std::string home = "HOME='" + dir.File("home") + "' ";
    const std::string passphrase = std::string("WEBQUILL_SFTP_PASSPHRASE='") + CSshdTestServer::kLockedKeyPassphrase + "' ";
    const fs::path knownHosts = dir.Path() / "home" / ".ssh" / "known_hosts";
    ruleFor(server);

    struct Step { std::string environment, options; int status; const char* said; };
    const Step steps[] = {
        {home, "", 4, "is locked by a passphrase"},
        {home + passphrase, "", 4, "is not known (its ED25519 key SHA256:"},
        {home + passphrase, "--trust-new-host ", 0, "Yes: --trust-new-host was given"},
        {home + passphrase, "", 0, ""},  // known now
    };
    for (const Step& step : steps) {
        const ProgramResult r = RunPublishProgram("--upload " + step.options + "examples/manual.rul", dir.Path(),
                                                  step.environment);
        EXPECT_EQ(r.status, step.status) << step.said << "\n" << r.err;
        EXPECT_NE(r.err.find(step.said), std::string::npos) << r.err;
    }
    EXPECT_TRUE(fs::exists(server.Home() / "www" / "page000.htm"));
    EXPECT_EQ(ReadFile(knownHosts.string()), "[127.0.0.1]:" + std::to_string(server.Port()) + " " + server.HostKey() + "\n");

    // The impostor answers where the trusted key is on file: refused, however asked.
    std::ofstream(knownHosts, std::ios::app) << "[127.0.0.1]:" << impostor.Port() << ' ' << server.HostKey() << '\n';
    ruleFor(impostor);
    const ProgramResult changed =
        RunPublishProgram("--upload --trust-new-host examples/manual.rul", dir.Path(), home + passphrase);
    EXPECT_EQ(changed.status, 4);
    EXPECT_NE(changed.err.find("The server's host key has CHANGED"), std::string::npos) << changed.err;
    EXPECT_FALSE(fs::exists(impostor.Home() / "www"));
}

// sshd and its sessions killed mid-run: the files counted as sent are there
// whole, no real name holds part of a page, and the rest fail.
TEST(SftpUpload, KilledServerLeavesNoHalfWrittenPage) {
    std::string why;
    if (!CanRunSshd(why)) GTEST_SKIP() << why;
    CSshdTestServer server;
    TempDir local;
    FtpOptions options;
    options.sftp.knownHostsFile = TrustingKnownHosts(local, server);
    options.sftp.keyFile = server.UserKey().string();
    const UploadInputs inputs = Pages(local.Path() / "pages", 150, 200000);
    const fs::path www = server.Home() / "site" / "www";
    std::thread killer([&] {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < until && !fs::exists(www / "p20.htm"))
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        server.Kill();
    });
    Upload upload(server.Url(), "root", "", options);
    const bool ran = upload.Run(inputs);
    killer.join();
    ASSERT_TRUE(ran) << upload.connected.boxText;
    EXPECT_GT(upload.result.uploaded, 0);
    EXPECT_LT(upload.result.uploaded, 150);
    ASSERT_EQ(upload.result.uploaded + static_cast<int>(upload.result.failed.size()), 150);
    // A dead server ends the run: the files still to come are not tried.
    ASSERT_FALSE(upload.result.failed.empty());
    EXPECT_NE(upload.result.failed.back().find(kConnectionLostText), std::string::npos) << upload.result.failed.back();
    int whole = 0;
    for (const auto& entry : fs::directory_iterator(www)) {
        const std::string name = entry.path().filename().string();
        if (name.ends_with(".webquill-part")) continue;
        EXPECT_TRUE(ReadFile(entry.path().string()) == ReadFile((local.Path() / "pages" / name).string())) << name;
        ++whole;
    }
    EXPECT_GE(whole, upload.result.uploaded);
}

}  // namespace
}  // namespace webquill::test
