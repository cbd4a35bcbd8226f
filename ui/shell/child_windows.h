// The log windows in the main window's area: where a new one opens, the
// Window menu's arrangements and its list of the open windows.
#pragma once

class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace webquill {

// Puts a window at its place in the cascade: `index` windows are open before it.
void PlaceChildWindow(QMdiArea* area, QMdiSubWindow* window, int index);
// Every window that is not minimized, cascaded from the top left at a usable size.
void CascadeChildWindows(QMdiArea* area);
void TileChildWindows(QMdiArea* area, bool horizontally);
// Minimized windows in a row along the foot of the area.
void ArrangeChildIcons(QMdiArea* area);
// Ends `menu` with one entry per open window ("&1 Quille1"), the active one
// checked; choosing an entry brings that window to the front.
void ListChildWindows(QMenu* menu, QMdiArea* area);

}  // namespace webquill
