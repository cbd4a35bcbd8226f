// The log windows in the main window's area: where a new one opens, the
// Window menu's arrangements and its list of the open windows.
#pragma once

class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace webquill {

// Puts a window at cascade place `index`.
void PlaceChildWindow(QMdiArea* area, QMdiSubWindow* window, int index);
// Puts a new window at the first cascade place where no other window stands.
void PlaceNewChildWindow(QMdiArea* area, QMdiSubWindow* window);
// Windows still where their place put them take their place again at the
// area's new size (a frame maximized after its first window opened).
void FollowAreaSize(QMdiArea* area);
// Has the area do so whenever it changes size.
void KeepPlacesAtAreaSize(QMdiArea* area);
// Every window that is not minimized, cascaded from the top left at a usable size.
void CascadeChildWindows(QMdiArea* area);
void TileChildWindows(QMdiArea* area, bool horizontally);
// Minimized windows in a row along the foot of the area.
void ArrangeChildIcons(QMdiArea* area);
// Ends `menu` with one entry per open window ("&1 Quille1"), the active one
// checked; choosing an entry brings that window to the front.
void ListChildWindows(QMenu* menu, QMdiArea* area);

}  // namespace webquill
