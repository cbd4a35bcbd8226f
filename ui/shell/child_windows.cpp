#include "ui/shell/child_windows.h"

#include <QAction>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QSet>
#include <QStyle>

#include "core/shell/window_placement.h"

namespace webquill {

namespace {

constexpr char kListEntry[] = "childWindowEntry";
constexpr char kPlaceIndex[] = "cascadePlace";
constexpr char kPlacedAt[] = "cascadePlacedAt";

QList<QMdiSubWindow*> ShownWindows(QMdiArea* area) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : area->subWindowList(QMdiArea::CreationOrder))
        if (!w->isMinimized()) windows.append(w);
    return windows;
}

// One title bar further down and right for each window.
int CascadeStep(QMdiSubWindow* window) {
    return window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window) +
           window->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window);
}

// A window remembers its place, and where that put it, so that it can follow
// the area's size for as long as the user leaves it there.
void SetPlace(QMdiSubWindow* window, int index, const PixelRect& r) {
    window->setGeometry(r.left, r.top, r.Width(), r.Height());
    window->setProperty(kPlaceIndex, index);
    window->setProperty(kPlacedAt, window->geometry());
}

}  // namespace

void PlaceChildWindow(QMdiArea* area, QMdiSubWindow* window, int index) {
    const QSize size = area->viewport()->size();
    SetPlace(window, index, CascadedChildRect(index, size.width(), size.height(), CascadeStep(window)));
}

namespace {
class CAreaSizeFollower : public QObject {
public:
    explicit CAreaSizeFollower(QMdiArea* area) : QObject(area), m_area(area) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize && watched == m_area->viewport()) FollowAreaSize(m_area);
        return false;
    }

private:
    QMdiArea* m_area;
};
}  // namespace

void KeepPlacesAtAreaSize(QMdiArea* area) { area->viewport()->installEventFilter(new CAreaSizeFollower(area)); }

void FollowAreaSize(QMdiArea* area) {
    for (QMdiSubWindow* window : area->subWindowList()) {
        const QVariant index = window->property(kPlaceIndex);
        if (index.isValid() && !window->isMinimized() && !window->isMaximized() &&
            window->geometry() == window->property(kPlacedAt).toRect())
            PlaceChildWindow(area, window, index.toInt());
    }
}

void PlaceNewChildWindow(QMdiArea* area, QMdiSubWindow* window) {
    QSet<std::pair<int, int>> taken;
    for (QMdiSubWindow* other : area->subWindowList())
        if (other != window && !other->isMinimized()) taken.insert({other->x(), other->y()});
    const QSize size = area->viewport()->size();
    const int step = CascadeStep(window);
    // The places begin again after a while: past that many, one is shared.
    for (int index = 0; index <= taken.size(); ++index) {
        const PixelRect r = CascadedChildRect(index, size.width(), size.height(), step);
        if (!taken.contains({r.left, r.top}) || index == taken.size()) {
            SetPlace(window, index, r);
            return;
        }
    }
}

void CascadeChildWindows(QMdiArea* area) {
    const QList<QMdiSubWindow*> windows = ShownWindows(area);
    for (int i = 0; i < windows.size(); ++i) {
        windows[i]->showNormal();
        PlaceChildWindow(area, windows[i], i);
        windows[i]->raise();
    }
}

void TileChildWindows(QMdiArea* area, bool horizontally) {
    // Horizontally: one above the other, each the full width of the area.
    const QList<QMdiSubWindow*> windows = ShownWindows(area);
    if (windows.isEmpty()) return;
    const QSize size = area->viewport()->size();
    const int n = static_cast<int>(windows.size());
    for (int i = 0; i < n; ++i) {
        windows[i]->showNormal();
        if (horizontally)
            windows[i]->setGeometry(0, i * (size.height() / n), size.width(), size.height() / n);
        else
            windows[i]->setGeometry(i * (size.width() / n), 0, size.width() / n, size.height());
    }
}

void ArrangeChildIcons(QMdiArea* area) {
    int x = 0;
    for (QMdiSubWindow* w : area->subWindowList()) {
        if (!w->isMinimized()) continue;
        w->move(x, area->viewport()->height() - w->height());
        x += w->width();
    }
}

void ListChildWindows(QMenu* menu, QMdiArea* area) {
    for (QAction* entry : menu->actions())
        if (entry->property(kListEntry).toBool()) delete entry;
    const QList<QMdiSubWindow*> windows = area->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty()) return;
    menu->addSeparator()->setProperty(kListEntry, true);
    for (int i = 0; i < windows.size(); ++i) {
        QPointer<QMdiSubWindow> window = windows[i];
        const QString number = i < 9 ? QStringLiteral("&%1").arg(i + 1) : QString::number(i + 1);
        QAction* entry = menu->addAction(QStringLiteral("%1 %2").arg(number, window->windowTitle()));
        entry->setProperty(kListEntry, true);
        entry->setCheckable(true);
        entry->setChecked(window == area->activeSubWindow());
        QObject::connect(entry, &QAction::triggered, area, [area, window] {
            if (!window) return;
            if (window->isMinimized()) window->showNormal();
            area->setActiveSubWindow(window);
        });
    }
}

}  // namespace webquill
