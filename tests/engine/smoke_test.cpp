#include <gtest/gtest.h>

#include "test_support.h"

namespace webquill::test {
TEST(Smoke, BannerComesFirst) {
    TempDir dir;
    const std::string rule = dir.Write("a.rul", "&Header:\r\nDocument: a.htm\r\nWWWFileName: out/a.htm\r\n&Commands:\r\n");
    dir.Write("a.htm", "<html>\r\n</html>\r\n");
    ProgramResult r = RunPublishProgram("a.rul", dir);
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    auto lines = Lines(r.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], std::string(40, ' ') + "****  Quillwright  ****");
}
}  // namespace webquill::test
