#include "version_info.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace webquill {
namespace {

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) lines.push_back(line);
    if (!text.empty() && text.back() == '\n') lines.push_back("");
    return lines;
}

TEST(VersionInfo, ProgramBlockGivesTheAboutText) {
    const CVersionInfo info;
    EXPECT_EQ(info.productName, "Quillet Application");
    EXPECT_EQ(info.productVersion, "1, 2, 0, 1");
    EXPECT_EQ(info.fileVersion, "1, 2, 0, 1");
    EXPECT_EQ(info.companyName, "Tessaly");
    EXPECT_EQ(info.internalName, "Webquill");
    EXPECT_EQ(info.originalFilename, "webquill");
    EXPECT_FALSE(info.legalCopyright.empty());
    EXPECT_EQ(info.shortVersion, "1.2.0");

    const auto lines = SplitLines(info.AboutText());
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "Quillet Application");
    EXPECT_EQ(lines[1], "Version 1.2.0");
    EXPECT_FALSE(lines[2].empty());
    EXPECT_EQ(lines[3], info.legalCopyright);
    EXPECT_EQ(lines[4], "Tessaly");
}

TEST(VersionInfo, WithoutVersionBlockEverythingIsEmpty) {
    const CVersionInfo info(nullptr);
    for (const std::string* value :
         {&info.comments, &info.companyName, &info.fileDescription, &info.fileVersion,
          &info.internalName, &info.legalCopyright, &info.legalTrademarks, &info.originalFilename,
          &info.productName, &info.productVersion, &info.shortVersion})
        EXPECT_TRUE(value->empty());
    const auto lines = SplitLines(info.AboutText());
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "Version ");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], "");
}

TEST(VersionInfo, MissingKeyLeavesItsStringEmpty) {
    const VersionBlock block{{{"ProductName", "P"}, {"LegalTrademarks", "T"}}};
    const CVersionInfo info(&block);
    EXPECT_EQ(info.productName, "P");
    EXPECT_EQ(info.legalTrademarks, "T");
    EXPECT_TRUE(info.companyName.empty());
    EXPECT_TRUE(info.productVersion.empty());
    EXPECT_EQ(info.shortVersion, "");
}

TEST(VersionInfo, ShortVersionRule) {
    struct Case {
        std::string productVersion;
        std::string shortVersion;
    };
    const std::vector<Case> cases = {
        {"1, 2, 0, 1", "1.2.0"},
        {"1, 2", "1.2."},
        {"7", "7."},
        {"1,2,3,4", "1.2.3"},
        {"  3 ,, 4  5", "3.4.5"},
        {"10, 20, 30", "10.20.30"},
        {" , ", ""},
        // Only the first 99 characters are split.
        {"1, " + std::string(100, ' ') + "2, 3", "1."},
        {"1, " + std::string(95, ' ') + "23, 4", "1.2."},
    };
    for (const Case& c : cases) {
        const VersionBlock block{{{"ProductVersion", c.productVersion}}};
        EXPECT_EQ(CVersionInfo(&block).shortVersion, c.shortVersion) << '"' << c.productVersion << '"';
    }
}

}  // namespace
}  // namespace webquill
