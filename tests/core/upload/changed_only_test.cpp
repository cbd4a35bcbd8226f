// Uploads of changed files only against a real server: the manifest, the
// plan, deletions of what the site lost, a cut run and its rerun, and the
// options of webquill-publish; the server's log of writes shows what went.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "core/upload/ftp_session.h"
#include "core/upload/upload_host.h"
#include "core/upload/upload_manifest.h"
#include "core/upload/upload_run.h"
#include "tests/core/upload/ftp_test_server.h"

namespace webquill::test {
namespace {

namespace fs = std::filesystem;

// Answers the directory question with Yes.
class Host : public IUploadHost {
public:
    void ShowMessageCenter(const std::string&) override {}
    void ShowProgress(bool, int) override {}
    bool AskYesNo(const std::string&) override { return true; }
    void ShowBox(const std::string&) override {}
};

// The server's writes since the last call, "STOR /www/.p1.htm.webquill-part"
// and the like; the log starts over.
std::vector<std::string> Writes(const fs::path& log) {
    const std::vector<std::string> lines = Lines(fs::exists(log) ? ReadFile(log.string()) : "");
    fs::remove(log);
    return lines;
}

// The names stored, without the manifest's (the client stores by bare name
// after changing to the folder).
std::vector<std::string> PagesStored(const std::vector<std::string>& writes) {
    std::vector<std::string> pages;
    for (const std::string& w : writes)
        if (w.starts_with("STOR ") && w.find(kManifestName) == std::string::npos) pages.push_back(w.substr(5));
    std::sort(pages.begin(), pages.end());
    return pages;
}

// Pages p0.htm ... in a local folder, uploaded into /www of a real server.
struct SiteUpload {
    SiteUpload() : server({"--write-log=" + log.File("writes"), "--drop=cut", "--drop-once"}) {
        inputs.createdFiles = WritePages(local.Path(), 10, 1000);
        inputs.wwwDirectory = local.Path().string();
        inputs.wwwServerDir = "www";
    }
    UploadResult Run(const UploadChoices& choices, const std::string& selected = {}) {
        Host host;
        FtpSession session;
        if (ConnectFtpSite({server.HostPort(), "", "webquill", "secret"}, {}, host, session).outcome !=
            ConnectOutcome::Connected)
            return {};
        return RunUpload(*session.connection, inputs, {"/", "/", selected, true}, host, choices);
    }
    std::vector<std::string> Writes() { return test::Writes(log.File("writes")); }
    fs::path Remote(const std::string& path) const { return server.Home() / path; }
    // The manifest on the server, with one entry per local page.
    void ExpectManifestOfTheSite(const std::string& folder = "www") {
        UploadManifest manifest;
        ASSERT_TRUE(ParseManifest(ReadFile(Remote(folder + "/" + kManifestName).string()), manifest));
        UploadManifest expected{{"/" + folder + "/", "/"}, {}};
        for (const std::string& page : inputs.createdFiles) {
            ManifestEntry entry{"/" + folder + "/" + page, 0, {}};
            ASSERT_TRUE(DescribeLocalFile(local.File(page), entry.size, entry.sha256));
            expected.entries.push_back(entry);
            EXPECT_EQ(ReadFile(Remote(folder + "/" + page).string()), ReadFile(local.File(page))) << page;
        }
        EXPECT_EQ(manifest, expected);
    }

    TempDir log, local;
    CFtpTestServer server;
    UploadInputs inputs;
};

TEST(ChangedOnlyUpload, SendsWhatDiffersAndDeletesOnlyWhatItSent) {
    SiteUpload site;
    const UploadChoices changedOnly{true, false, false};
    EXPECT_EQ(UploadSummary(site.Run(changedOnly)), "10 / 10 Files Uploaded! (0 unchanged)");
    EXPECT_EQ(PagesStored(site.Writes()).size(), 10u);

    // The same size, other bytes.
    std::ofstream(site.local.File("p3.htm"), std::ios::binary) << std::string(1000, 'z');
    EXPECT_EQ(UploadSummary(site.Run(changedOnly)), "1 / 1 Files Uploaded! (9 unchanged)");
    EXPECT_EQ(PagesStored(site.Writes()), std::vector<std::string>{".p3.htm.webquill-part"});
    site.ExpectManifestOfTheSite();

    // A page changed and sent, another cut by a dropped connection; the
    // first changed back before the rerun: the server must not keep the
    // version sent.
    const std::string first = ReadFile(site.local.File("p1.htm"));
    site.local.Write("p1.htm", "second version");
    site.local.Write("cut.htm", std::string(300000, 'c'));
    site.inputs.createdFiles.push_back("cut.htm");
    const UploadResult cut = site.Run(changedOnly);
    ASSERT_EQ(cut.failed.size(), 1u);
    EXPECT_NE(cut.failed[0].find("cut.htm"), std::string::npos) << cut.failed[0];
    EXPECT_EQ(ReadFile(site.Remote("www/p1.htm").string()), "second version");
    site.local.Write("p1.htm", first);
    site.Writes();
    EXPECT_EQ(site.Run(changedOnly).failed, std::vector<std::string>{});
    EXPECT_EQ(PagesStored(site.Writes()),
              (std::vector<std::string>{".cut.htm.webquill-part", ".p1.htm.webquill-part"}));
    site.ExpectManifestOfTheSite();

    // A manifest that cannot be read: everything goes again.
    std::ofstream(site.Remote("www/.webquill-manifest"), std::ios::binary) << "webquill-manifest 1\nfile x\n";
    EXPECT_EQ(UploadSummary(site.Run(changedOnly)), "11 / 11 Files Uploaded! (0 unchanged)");

    // A shorter site: what the uploads sent goes, files of others stay,
    // whatever their names; a page already removed by hand is no failure.
    for (const char* foreign : {"www/p15.htm", "www/notes.txt"}) std::ofstream(site.Remote(foreign)) << "mine";
    fs::remove(site.Remote("www/p9.htm"));
    site.inputs.createdFiles.resize(5);
    site.Writes();
    const UploadResult pruned = site.Run({true, true, false});
    EXPECT_EQ(pruned.failed, std::vector<std::string>{});
    std::vector<std::string> deleted;
    for (const std::string& w : site.Writes())
        if (w.starts_with("DELE ")) deleted.push_back(w.substr(5));
    EXPECT_EQ(deleted, (std::vector<std::string>{"/www/p5.htm", "/www/p6.htm", "/www/p7.htm", "/www/p8.htm",
                                                 "/www/cut.htm"}));
    for (const char* kept : {"www/p15.htm", "www/notes.txt", "www/p4.htm"}) EXPECT_TRUE(fs::exists(site.Remote(kept)));
    site.ExpectManifestOfTheSite();
    EXPECT_EQ(PartsLeft(site.server.Home()), std::vector<std::string>{});

    // Another folder, chosen in the tree: its own manifest, none yet.
    fs::create_directories(site.Remote("other"));
    EXPECT_EQ(UploadSummary(site.Run(changedOnly, "/other")), "5 / 5 Files Uploaded! (0 unchanged)");
    UploadManifest other;
    EXPECT_TRUE(ParseManifest(ReadFile(site.Remote("other/.webquill-manifest").string()), other));
    EXPECT_EQ(other.folders, std::vector<std::string>{"/other/"});
}

// The example site through webquill-publish: a dry run names what the upload
// then sends, and a changed paragraph sends its page and no other.
TEST(ChangedOnlyUpload, PublishProgramOptions) {
    TempDir dir;
    const fs::path log = dir.Path() / "writes";
    CFtpTestServer server({"--write-log=" + log.string()});
    fs::copy(WEBQUILL_SOURCE_DIR "/examples", dir.Path() / "examples", fs::copy_options::recursive);
    std::string rule = ReadFile(dir.File("examples/manual.rul"));
    rule.insert(rule.find("ExecuteSequence"), "FtpURL: " + server.HostPort() +
                                                  "\nUserID: webquill\nUserPW: secret\nWWWServerDir: www\n"
                                                  "TOCServerDir: www\n");
    dir.Write("examples/manual.rul", rule);
    auto publish = [&](const std::string& options) {
        // The footers show the time of the run: a fixed one, as reproducible builds set.
        const ProgramResult r =
            RunPublishProgram(options + " examples/manual.rul", dir.Path(), "SOURCE_DATE_EPOCH=944352900 TZ=UTC");
        EXPECT_EQ(r.status, 0) << options << ": " << r.err;
        return Lines(r.out);
    };
    EXPECT_EQ(RunPublishProgram("--prune examples/manual.rul", dir.Path()).status, 2);
    const std::string total = publish("--upload --changed-only").back();
    ASSERT_TRUE(total.ends_with(" Files Uploaded! (0 unchanged)")) << total;
    const std::string files = total.substr(0, total.find(' '));
    Writes(log);
    EXPECT_EQ(publish("--upload --changed-only").back(), "0 / 0 Files Uploaded! (" + files + " unchanged)");
    EXPECT_EQ(Writes(log), std::vector<std::string>{});

    std::string document = ReadFile(dir.File("examples/manual.htm"));
    const std::string paragraph = "All controls can be reached without tools.";
    document.replace(document.find(paragraph), paragraph.size(), "Every control is in reach.");
    dir.Write("examples/manual.htm", document);
    std::vector<std::string> planned;
    for (const std::string& line : publish("--upload --changed-only --dry-run --prune"))
        if (line.starts_with("Send: ")) planned.push_back("." + line.substr(11) + ".webquill-part");
    EXPECT_EQ(Writes(log), std::vector<std::string>{});
    ASSERT_EQ(planned.size(), 1u);

    EXPECT_EQ(publish("--upload --changed-only").back(),
              "1 / 1 Files Uploaded! (" + std::to_string(std::stoi(files) - 1) + " unchanged)");
    EXPECT_EQ(PagesStored(Writes(log)), planned);
}

}  // namespace
}  // namespace webquill::test
