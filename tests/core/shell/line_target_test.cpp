#include "core/shell/line_target.h"

#include <gtest/gtest.h>

namespace webquill {
namespace {

TEST(LineTarget, TheFileTheRunUsed) {
    RunDocument run;
    run.ruleFilePath = "/s/manual.rul";  // relative paths mean /s
    run.rule.wwwDirectory = "../out";
    RunDocument saved;  // a saved log: no rule file, no WWW directory
    RunDocument savedRun;  // a saved log whose run read /r/site.rul
    savedRun.ruleFilePath = "/logs/run.prl";
    savedRun.logLines = {"  banner", "                    Rule File -> /r/site.rul"};
    struct Case {
        const RunDocument& document;
        const char *line, *target;
    };
    for (const Case& c : {Case{run, "       1) ... page000.htm", "/s/../out/page000.htm"},
                          Case{run, "       2) ... /w/x.htm", "/w/x.htm"},
                          Case{run, "                    Rule File -> manual.rul", "manual.rul"},
                          Case{run, "                    Header File -> t/head.htm", "/s/t/head.htm"},
                          Case{run, "                    Footer File -> ", ""},
                          Case{run, "Files Successfully Published:", ""},
                          Case{saved, "       3) ... x002.htm", "x002.htm"},
                          Case{saved, "   Header File -> C:\\site\\head.htm", "C:\\site\\head.htm"},
                          Case{savedRun, "                    Header File -> t/head.htm", "/r/t/head.htm"},
                          Case{savedRun, "       3) ... x002.htm", "/r/x002.htm"},
                          Case{run, "**** Error in Rule File -> x.rul ****     Application Terminated!", "x.rul"},
                          Case{run, "**** Error in Header File -> h ****.htm ****     Application Terminated!",
                               "/s/h ****.htm"}})
        EXPECT_EQ(LineTargetPath(c.line, c.document), c.target) << c.line;
}

}  // namespace
}  // namespace webquill
