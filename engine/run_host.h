// What a publishing run needs from the window (or program) that carries it out.
#pragma once

#include <string>

namespace webquill {

enum class BoxKind { Note, Stop };

class IRunHost {
public:
    virtual ~IRunHost() = default;
    // A line has just been appended to the document's log.
    virtual void ShowLogLine(const std::string& line) = 0;
    // Activity text for pane 0 of the status bar.
    virtual void ShowStatusText(const std::string& text) = 0;
    // Drain pending window messages so the window repaints and reacts.
    virtual void PumpMessages() = 0;
    // Only called when the display-errors setting is on.
    virtual void ShowMessageBox(BoxKind kind, const std::string& text) = 0;
    virtual void SetWaitCursor(bool /*on*/) {}
    virtual void SetModified(bool /*modified*/) {}
};

}  // namespace webquill
