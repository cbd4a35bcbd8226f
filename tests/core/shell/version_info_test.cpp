#include "core/shell/version_info.h"

#include <gtest/gtest.h>

namespace webquill {
namespace {

// The About text itself is checked where the About box shows it.
TEST(VersionInfo, ShortVersionTakesThreePieces) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"1, 2, 0, 1", "1.2.0"}, {"1, 2", "1.2."},          {"7", "7."},          {"1,2,3,4", "1.2.3"},
        {"  3 ,, 4  5", "3.4.5"}, {"10, 20, 30", "10.20.30"}, {" , ", ""},
        // Only the first 99 characters are split.
        {"1, " + std::string(100, ' ') + "2, 3", "1."}, {"1, " + std::string(95, ' ') + "23, 4", "1.2."},
    };
    for (const auto& [productVersion, shortVersion] : cases) {
        const VersionBlock block{{{"ProductVersion", productVersion}}};
        const CVersionInfo info(&block);
        EXPECT_EQ(info.shortVersion, shortVersion) << '"' << productVersion << '"';
        EXPECT_TRUE(info.companyName.empty());  // a missing key stays empty
    }
}

}  // namespace
}  // namespace webquill
