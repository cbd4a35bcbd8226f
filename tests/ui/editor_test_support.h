// Shared pieces of the rule editor's widget suites: a sheet driven while it
// is up, and a click into a field. (RecordingHost of the engine's test
// support keeps a load's log lines.)
#pragma once

#include <QString>
#include <functional>

#include "tests/engine/test_support.h"

class QWidget;

namespace webquill {
class CMySheet;
}

namespace webquill::test {

// Hands the sheet, once it is up, to `drive`; `drive` ends it (OK or Cancel).
// Returns how many sheets were driven.
int DriveSheet(const std::function<void(CMySheet&)>& drive, const std::function<void()>& start);

// Gives the focus to `field` as a click would, and lets the events run.
void ClickInto(QWidget* field);
// Clicks into a text field, selects all of it and types `text` over it.
void TypeInto(QWidget* field, const QString& text);

}  // namespace webquill::test
