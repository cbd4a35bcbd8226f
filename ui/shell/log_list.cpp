#include "ui/shell/log_list.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "platform/desktop/byte_text.h"

namespace webquill {

CLogListModel::CLogListModel(const std::vector<std::string>& lines, QObject* parent)
    : QAbstractListModel(parent), m_lines(lines) {}

int CLogListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_shown; }

const std::string* CLogListModel::LineAt(int row) const {
    const std::size_t at = m_first + static_cast<std::size_t>(row);
    if (row < 0 || row >= m_shown || at >= m_lines.size()) return nullptr;
    return &m_lines[at];
}

QVariant CLogListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return QVariant();
    const std::string* line = LineAt(index.row());
    return line ? QVariant(ShownText(*line)) : QVariant();
}

void CLogListModel::RemoveAll() {
    if (m_shown == 0) return;
    beginRemoveRows(QModelIndex(), 0, m_shown - 1);
    m_shown = 0;
    endRemoveRows();
}

void CLogListModel::ShowUpTo(std::size_t end) {
    end = std::min(end, m_lines.size());
    if (end <= m_first + static_cast<std::size_t>(m_shown)) return;
    const int last = static_cast<int>(end - m_first) - 1;
    beginInsertRows(QModelIndex(), m_shown, last);
    m_shown = last + 1;
    endInsertRows();
}

void CLogItemDelegate::TakeMetrics(const QFont& font) const {
    const QFontMetrics metrics(font);
    m_itemHeight = metrics.height() + metrics.leading() + 3;
    m_characterWidth = metrics.averageCharWidth();
    m_metricsPending = false;
}

QSize CLogItemDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return QSize(m_extent, m_itemHeight);
}

void CLogItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    if (m_metricsPending) {
        TakeMetrics(option.font);
        emit const_cast<CLogItemDelegate*>(this)->MetricsKnown();
    }
    const QRect item = option.rect;
    painter->save();
    painter->fillRect(item, option.palette.base());
    if (m_textShown) {
        painter->setFont(option.font);
        painter->setPen(option.palette.text().color());
        // Single line, vertically centred, no mnemonic processing, no clipping.
        painter->drawText(item.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine |
                                                          Qt::TextDontClip,
                          index.data(Qt::DisplayRole).toString());
    }
    const QRect frame = item.adjusted(0, 0, -1, -1);
    if (option.state & QStyle::State_Selected) {
        m_selectionFrame = item;
        painter->setPen(QColor(255, 0, 0));
        painter->drawRect(frame);
    } else {
        // A line that was framed red before gets its white frame back.
        painter->setPen(QColor(255, 255, 255));
        painter->drawRect(frame);
    }
    painter->restore();
}

CLogListBox::CLogListBox(QWidget* parent) : QListView(parent) {
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideNone);
    setLayoutMode(QListView::Batched);
    setBatchSize(2000);
}

void CLogListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QListView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit LineDoubleClicked();
}

void CLogListBox::mousePressEvent(QMouseEvent* event) {
    // The right button acts on the selected line, before the press is handled.
    if (event->button() == Qt::RightButton) {
        emit RightButtonPressed();
        event->accept();
        return;
    }
    QListView::mousePressEvent(event);
}

void CLogListBox::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier) {
        emit LineDoubleClicked();
    } else if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        AskLineMenu();
    } else {
        QListView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CLogListBox::contextMenuEvent(QContextMenuEvent* event) {
    // The right button has its own meaning (the web browser); only the
    // keyboard asks for the menu.
    if (event->reason() == QContextMenuEvent::Keyboard) AskLineMenu();
    event->accept();
}

void CLogListBox::AskLineMenu() {
    // Under the selected line, where the eye already is.
    const QRect line = visualRect(currentIndex());
    const QPoint at = line.isValid() && viewport()->rect().intersects(line) ? line.bottomLeft() + QPoint(8, 0)
                                                                             : QPoint(8, 8);
    emit LineMenuAsked(viewport()->mapToGlobal(at));
}

}  // namespace webquill
