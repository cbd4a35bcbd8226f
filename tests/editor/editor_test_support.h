// Shared pieces of the rule editor's widget suites: a host that keeps the
// load's log lines, a folder of rule files, and a sheet driven while it is up.
#pragma once

#include <QTemporaryDir>
#include <functional>
#include <string>
#include <vector>

#include "run_host.h"

class QWidget;

namespace webquill {
class CMySheet;
}

namespace webquill::test {

class CLogHost : public IRunHost {
public:
    void ShowLogLine(const std::string& line) override { lines.push_back(line); }
    void ShowStatusText(const std::string&) override {}
    void PumpMessages() override {}
    void ShowMessageBox(BoxKind, const std::string& text) override { boxes.push_back(text); }
    std::vector<std::string> lines, boxes;
};

// Hands the sheet, once it is up, to `drive`; `drive` ends it (OK or Cancel).
// Returns how many sheets were driven.
int DriveSheet(const std::function<void(CMySheet&)>& drive, const std::function<void()>& start);

// Gives the focus to `field` as a click would, and lets the events run.
void ClickInto(QWidget* field);

}  // namespace webquill::test
