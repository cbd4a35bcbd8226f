// The log window's list: items that refer to the document's log lines, and
// the drawing of each line with the red frame of the selected one.
#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <QRect>
#include <QStyledItemDelegate>
#include <string>
#include <vector>

namespace webquill {

// Holds no texts of its own: item i shows log line first + i.
class CLogListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit CLogListModel(const std::vector<std::string>& lines, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void RemoveAll();
    // Items for the lines from the last shown up to `end`.
    void ShowUpTo(std::size_t end);
    void SetFirstLine(std::size_t first) { m_first = first; }
    const std::string* LineAt(int row) const;

private:
    const std::vector<std::string>& m_lines;
    std::size_t m_first = 0;
    int m_shown = 0;
};

class CLogItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CLogItemDelegate(QObject* parent = nullptr) : QStyledItemDelegate(parent) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    int ItemHeight() const { return m_itemHeight; }
    int CharacterWidth() const { return m_characterWidth; }
    bool MetricsPending() const { return m_metricsPending; }
    // Width of every item: the horizontal extent of the list.
    void SetExtent(int width) { m_extent = width; }
    int Extent() const { return m_extent; }
    // Lines are drawn only while this holds (not while a loaded log waits to
    // be shown, not for an empty log).
    void SetTextShown(bool shown) { m_textShown = shown; }
    QRect SelectionFrame() const { return m_selectionFrame; }

signals:
    void MetricsKnown();

private:
    void TakeMetrics(const QFont& font) const;

    mutable bool m_metricsPending = true;
    mutable int m_itemHeight = 16;
    mutable int m_characterWidth = 6;
    mutable QRect m_selectionFrame;
    int m_extent = 0;
    bool m_textShown = true;
};

// The list box itself: a double click and the right button are the view's
// to handle, the click itself still selects. From the keyboard, Enter acts
// as a double click and the context menu key or Shift+F10 asks for the
// line's menu.
class CLogListBox : public QListView {
    Q_OBJECT
public:
    explicit CLogListBox(QWidget* parent = nullptr);

signals:
    void LineDoubleClicked();
    void RightButtonPressed();
    void LineMenuAsked(const QPoint& globalPos);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void AskLineMenu();
};

}  // namespace webquill
