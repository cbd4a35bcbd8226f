// One output file on a real folder: a new file made in place, an old one
// replaced only when the new bytes are all written, its mode and its links
// kept; a write cut short (a file size limit, as a full disk) loses nothing.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/output_file.h"
#include "tests/engine/test_support.h"

namespace webquill::test {
namespace {

namespace fs = std::filesystem;

std::size_t Entries(const fs::path& dir) { return std::distance(fs::directory_iterator(dir), {}); }

// Writes `bytes` to `path` with writes cut at `limit` bytes a file (0: none).
bool WriteOutput(const std::string& path, const std::string& bytes, std::size_t limit) {
    return UnderFileSizeLimit(limit, [&] {
        COutputFile file;
        return file.Open(path) && file.Write(bytes) && file.Close();
    });
}

TEST(OutputFile, WritesWholeOrLeavesWhatWasThere) {
    const std::string small = "<P>new page</P>\r\n", large(8000, 'n');
    const struct {
        const char* name;
        const char* old;  // nullptr: no file there before
        fs::perms mode;
        const std::string& bytes;
        std::size_t limit;
        bool written;
    } cases[] = {
        {"new file", nullptr, fs::perms::none, small, 0, true},
        {"new file cut short", nullptr, fs::perms::none, large, 4096, false},
        {"old file of its own mode", "old page\r\n", fs::perms::owner_read | fs::perms::owner_write, small, 0, true},
        {"old file cut short", "old page\r\n", fs::perms::owner_read | fs::perms::owner_write, large, 4096, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = dir.File("page.htm");
        if (c.old) {
            dir.Write("page.htm", c.old);
            fs::permissions(path, c.mode);
        }
        EXPECT_EQ(WriteOutput(path, c.bytes, c.limit), c.written);
        EXPECT_EQ(Entries(dir.Path()), c.written || c.old ? 1u : 0u);  // no temporary file stays
        if (c.written || c.old) {
            EXPECT_EQ(ReadFile(path), c.written ? c.bytes : std::string(c.old));
        }
        if (c.old) {
            EXPECT_EQ(fs::status(path).permissions(), c.mode);
        }
    }
}

TEST(OutputFile, LinkStaysAndItsTargetIsReplaced) {
    TempDir dir;
    dir.Write("real.htm", "old\r\n");
    fs::create_symlink("real.htm", dir.Path() / "link.htm");
    EXPECT_TRUE(WriteOutput(dir.File("link.htm"), "new\r\n", 0));
    EXPECT_TRUE(fs::is_symlink(dir.Path() / "link.htm"));
    EXPECT_EQ(ReadFile(dir.File("real.htm")), "new\r\n");
    EXPECT_EQ(Entries(dir.Path()), 2u);
}

}  // namespace
}  // namespace webquill::test
