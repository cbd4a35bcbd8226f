#include "ui/upload/list_ctrl_ex.h"

#include <QHeaderView>

namespace webquill {

CListCtrlEx::CListCtrlEx(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTextElideMode(Qt::ElideRight);
    setSortingEnabled(false);
    header()->setSectionsClickable(false);
    header()->setSortIndicatorShown(false);
    // The selection stays as visible without the focus as with it.
    QPalette shown = palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        shown.setColor(QPalette::Inactive, role, shown.color(QPalette::Active, role));
    setPalette(shown);
    SetSelectionAcrossClientWidth(true);
    SetFullRowSelection(false);
}

void CListCtrlEx::SetFullRowSelection(bool on) {
    setUpdatesEnabled(false);
    m_fullRow = on;
    setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    setAllColumnsShowFocus(on);
    setUpdatesEnabled(true);
    viewport()->update();
}

void CListCtrlEx::SetSelectionAcrossClientWidth(bool on) { header()->setStretchLastSection(on); }

int CListCtrlEx::ClientWidth() const { return viewport()->width(); }

}  // namespace webquill
