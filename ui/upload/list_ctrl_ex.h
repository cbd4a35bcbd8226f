// A report-style list that can highlight whole rows, keeps its selection
// shown while it lacks the focus, and shortens long texts with "..." at the
// right.
#pragma once

#include <QTreeWidget>

namespace webquill {

class CListCtrlEx : public QTreeWidget {
    Q_OBJECT
public:
    explicit CListCtrlEx(QWidget* parent = nullptr);

    void SetFullRowSelection(bool on);
    bool FullRowSelection() const { return m_fullRow; }
    // The last column reaches the right edge, so a selected row spans the width.
    void SetSelectionAcrossClientWidth(bool on);
    int ClientWidth() const;

private:
    bool m_fullRow = false;
};

}  // namespace webquill
