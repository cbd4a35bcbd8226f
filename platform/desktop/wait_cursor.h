// The wait cursors one window has put up, and a message drain that lets the
// user's own cursor show while it runs, so a long run can still be watched
// and its window moved.
#pragma once

namespace webquill {

class CWaitCursors {
public:
    CWaitCursors() = default;
    CWaitCursors(const CWaitCursors&) = delete;
    CWaitCursors& operator=(const CWaitCursors&) = delete;
    ~CWaitCursors() { RestoreAll(); }

    void Set(bool on);
    void RestoreAll();
    void PumpMessages();

private:
    int m_depth = 0;
};

}  // namespace webquill
