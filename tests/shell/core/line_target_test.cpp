#include "line_target.h"

#include <gtest/gtest.h>

#include "rule_paths.h"

namespace webquill {
namespace {

TEST(RulePaths, RelativePathsMeanTheRuleFilesFolder) {
    struct Case {
        const char *rule, *path, *used;
    };
    for (const Case& c : {Case{"manual.rul", "manual.htm", "manual.htm"},  // run from its own folder
                          Case{"/s/manual.rul", "manual.htm", "/s/manual.htm"},
                          Case{"../s/manual.rul", "../out/p.htm", "../s/../out/p.htm"},
                          Case{"C:\\s\\manual.rul", "head.htm", "C:\\s/head.htm"},
                          Case{"/manual.rul", "t/x.htm", "/t/x.htm"},
                          Case{"/s/manual.rul", "/abs/x.htm", "/abs/x.htm"},
                          Case{"/s/manual.rul", "D:\\x.htm", "D:\\x.htm"},
                          Case{"/s/manual.rul", "", ""}})
        EXPECT_EQ(RuleRelativePath(c.rule, c.path), c.used) << c.rule << " " << c.path;
}

TEST(LineTarget, TheFileTheRunUsed) {
    RunDocument run;
    run.ruleFilePath = "/s/manual.rul";
    run.rule.wwwDirectory = "../out";
    RunDocument saved;  // a saved log: no rule file, no WWW directory
    struct Case {
        const RunDocument& document;
        const char *line, *target;
    };
    for (const Case& c : {Case{run, "       1) ... page000.htm", "/s/../out/page000.htm"},
                          Case{run, "       2) ... /w/x.htm", "/w/x.htm"},
                          Case{run, "                    Rule File -> manual.rul", "manual.rul"},
                          Case{run, "                    Header File -> t/head.htm", "/s/t/head.htm"},
                          Case{run, "                    HTML Document Source File -> /d/m.htm", "/d/m.htm"},
                          Case{run, "                    Footer File -> ", ""},
                          Case{run, "Files Successfully Published:", ""},
                          Case{saved, "       3) ... x002.htm", "x002.htm"},
                          Case{saved, "   Header File -> C:\\site\\head.htm", "C:\\site\\head.htm"}})
        EXPECT_EQ(LineTargetPath(c.line, c.document), c.target) << c.line;
}

}  // namespace
}  // namespace webquill
