#include "platform/desktop/wait_cursor.h"

#include <QApplication>

namespace webquill {

void CWaitCursors::Set(bool on) {
    if (on) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++m_depth;
    } else if (m_depth > 0) {
        QApplication::restoreOverrideCursor();
        --m_depth;
    }
}

void CWaitCursors::RestoreAll() {
    while (m_depth > 0) Set(false);
}

void CWaitCursors::PumpMessages() {
    for (int i = 0; i < m_depth; ++i) QApplication::restoreOverrideCursor();
    QApplication::processEvents();
    for (int i = 0; i < m_depth; ++i) QApplication::setOverrideCursor(Qt::WaitCursor);
}

}  // namespace webquill
