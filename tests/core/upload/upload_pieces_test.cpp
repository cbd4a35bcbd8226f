// The upload's pieces without a server: path texts, targets, the image
// filter and list, the progress steps and the manifest's text.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/upload/image_file_list.h"
#include "core/upload/upload_manifest.h"
#include "tests/engine/test_support.h"
#include "core/upload/upload_paths.h"
#include "core/upload/upload_run.h"

namespace webquill::test {
namespace {

TEST(UploadPaths, FileNameServerFormAndRelativePath) {
    std::string name;
    EXPECT_FALSE(UploadFileNameOf("index.htm", name));
    EXPECT_TRUE(UploadFileNameOf("a/b\\c.htm", name));
    EXPECT_EQ(name, "c.htm");
    EXPECT_TRUE(UploadFileNameOf("a\\b/c.htm", name));  // the backslash wins
    EXPECT_EQ(name, "b/c.htm");

    const std::pair<const char*, const char*> forms[] = {
        {"", ""}, {"/", ""}, {"www", "www/"}, {"/www", "www/"}, {"\\www\\", "www/"}, {"a/b/", "a/b/"}};
    for (const auto& [path, form] : forms) EXPECT_EQ(ServerDirectoryForm(path), form) << path;

    EXPECT_EQ(RelativeServerPath("/home/u", "/home/u/site/www/"), "site/www");
    EXPECT_EQ(RelativeServerPath("/", "/site/www/"), "site/www");
    EXPECT_EQ(RelativeServerPath("/elsewhere", "/site/"), "/site");
}

TEST(UploadTargets, LoginDirectoryRootGivesOneSlash) {
    UploadInputs inputs;
    inputs.wwwServerDir = "/site/www";
    inputs.tocServerDir = "site";
    const UploadTargets root = TargetsBelowLogin(inputs, "/");
    EXPECT_EQ(root.www, "/site/www/");
    EXPECT_EQ(root.toc, "/site/");
    EXPECT_EQ(root.images, "/");  // no images folder: the login directory
    EXPECT_EQ(TargetsBelowLogin(inputs, "/home/u").www, "/home/u/site/www/");
}

TEST(ImageFilter, SplitsAndMatchesAsPrefixes) {
    EXPECT_EQ(SplitImageFilter("*.bmp*;*.jpg*,*.gif*;*.tif*"),
              (std::vector<std::string>{"*.bmp*", "*.jpg*", "*.gif*", "*.tif*"}));
    // Only the first pattern ends at a blank; later blanks belong to a pattern.
    EXPECT_EQ(SplitImageFilter("a.jpg b.gif; c.png;;"), (std::vector<std::string>{"a.jpg", "b.gif", " c.png"}));

    struct Case { const char* pattern; const char* name; bool taken; };
    const Case cases[] = {
        {"ab.jpg", "abc.jpg", true},   {"ab.jpg", "ab.jpeg", false}, {"ab.jpg", "AB.JPG", true},
        {"*.jpg*", "x.JPGE", true}, {"*.jpg*", "x.JPEG", false},    {"*.*", "noextension", true}, {"*.gif", "x", false},
        {"a?c", "abcd.png", true},     {"a?c", "ab", false},         {"pic", "picture.any", true},
        {"*.tif*", "a.b.tiff", true},  {"*.tif*", "a.tif.bak", false},
    };
    for (const Case& c : cases) EXPECT_EQ(ImagePatternMatches(c.pattern, c.name), c.taken) << c.pattern << " " << c.name;
}

TEST(ImageFileList, TakesWritablePlainFilesSortedCaseBlind) {
    TempDir dir;
    for (const char* name : {"B.JPG", "a.gif", "c.Tiff", ".hidden.jpg", "locked.jpg", "notes.txt", "sub.jpg/x"})
        dir.Write(name, "x");
    std::filesystem::permissions(dir.File("locked.jpg"), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    CImgFileList list;
    list.Build("*.bmp*;*.jpg*,*.gif*;*.tif*", dir.Path().string());
    std::vector<std::string> names;
    for (const CImgFile& f : list.Files()) names.push_back(f.name);
    // "B" before "a" in byte order.
    EXPECT_EQ(names, (std::vector<std::string>{"a.gif", "B.JPG", "c.Tiff"}));
    EXPECT_EQ(list.Files().front().fullPath, dir.File("a.gif"));

    CImgFileList missing;
    missing.Build("*.*", dir.File("no such folder"));
    EXPECT_TRUE(missing.Files().empty());
}

TEST(UploadProgress, StepsOfTenAndTheFewFilesCase) {
    // 25 files, step 2: a page moves the bar when 2, 4, ... files are handled
    // before it; the TOC file and images when the count after them is one.
    CUploadProgress many(25);
    std::vector<int> positions;
    for (int i = 0; i < 19; ++i) positions.push_back(many.BeforeHandling() ? many.Position() : -1);
    EXPECT_EQ(positions[1], -1);
    EXPECT_EQ(positions[2], 10);
    EXPECT_EQ(positions[4], 20);
    EXPECT_TRUE(many.AfterHandling());  // 20 handled
    EXPECT_EQ(many.Position(), 100);
    EXPECT_FALSE(many.AfterHandling());

    CUploadProgress few(7);  // step 0: 10 at the first page, then never again
    EXPECT_TRUE(few.BeforeHandling());
    EXPECT_EQ(few.Position(), 10);
    for (int i = 0; i < 6; ++i) EXPECT_FALSE(few.AfterHandling());
    EXPECT_EQ(few.Position(), 10);
}

TEST(UploadManifest, ReadsBackWhatItWritesAndNothingElse) {
    const std::string digest(64, 'a');
    const UploadManifest manifest{{"/www/", "/"}, {{"/www/a b.htm", 3, digest}, {"/img.jpg", 0, digest}}};
    const std::string text = FormatManifest(manifest);
    UploadManifest back;
    ASSERT_TRUE(ParseManifest(text, back));
    EXPECT_EQ(back, manifest);
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string changed = text;
        changed.replace(changed.find(from), from.size(), to);
        return changed;
    };
    const std::string refused[] = {
        "",
        text.substr(0, text.size() - 1),             // cut short inside its last line
        text.substr(0, text.find("end")),            // cut short before it
        replaced("webquill-manifest 1", "webquill-manifest 2"),
        replaced("aaaa", "aaaA"),
        replaced("file 0", "file -1"),
        replaced("/img.jpg", "/www/a b.htm"),        // a path twice
        replaced("/img.jpg", "/etc/img.jpg"),        // outside the folders it covers
        replaced("/img.jpg", "/www/sub/img.jpg"),
        replaced("end 2", "end 1"),
        text + "file 1 " + digest + " /late.htm\n",  // after the end
    };
    for (const std::string& bad : refused) EXPECT_FALSE(ParseManifest(bad, back)) << bad;
}

}  // namespace
}  // namespace webquill::test
