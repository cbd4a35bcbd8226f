#include "ui/editor/exe_order.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

#include "platform/desktop/help_viewer.h"
#include "core/editor/rule_working_set.h"

namespace webquill {

namespace {

constexpr int kSlots = 5;

// Row texts by execute-sequence id; any other id shows as a row of its own
// and goes back unchanged.
QString RowText(int id) {
    static const char* const kNames[] = {"'Add'", "'Delete'", "'Extract'", "'Replace'", "'Wrap'"};
    return id >= 1 && id <= kSlots ? QString::fromLatin1(kNames[id - 1]) : QStringLiteral("'?'");
}

}  // namespace

CExeOrder::CExeOrder(RuleWorkingSet& set, QWidget* parent)
    : CSheetPage(QStringLiteral("Execute Order"), kHelpExecuteOrder, parent), m_set(set) {
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Execute Commands in Following Order"), this), 0, 0, 1, 3);
    // The ordinals are a list of their own, drawn as the order's list is, so
    // that each stands beside its row at every size and font.
    auto* ordinals = new QListWidget(this);
    ordinals->setObjectName(QStringLiteral("ordinals"));
    for (const char* ordinal : {"1st", "2nd", "3rd", "4th", "5th"}) ordinals->addItem(QString::fromLatin1(ordinal));
    ordinals->setSelectionMode(QAbstractItemView::NoSelection);
    ordinals->setFocusPolicy(Qt::NoFocus);
    ordinals->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ordinals->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ordinals->setFixedWidth(ordinals->sizeHintForColumn(0) + 2 * ordinals->frameWidth() + 8);
    ordinals->setBackgroundRole(QPalette::Window);
    m_list = new QListWidget(this);
    m_up = new QPushButton(QStringLiteral("&Up"), this);
    m_down = new QPushButton(QStringLiteral("&Down"), this);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_up);
    buttons->addWidget(m_down);
    buttons->addStretch();
    grid->addWidget(ordinals, 1, 0);
    grid->addWidget(m_list, 1, 1);
    grid->addLayout(buttons, 1, 2);
    grid->setRowStretch(2, 1);

    connect(m_up, &QPushButton::clicked, this, [this] { Move(-1); });
    connect(m_down, &QPushButton::clicked, this, [this] { Move(+1); });
    // The order's list scrolled (a font too large for the page) takes the
    // ordinals with it.
    connect(m_list->verticalScrollBar(), &QScrollBar::valueChanged, ordinals->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0) return;
        m_selected = row;
        SetButtons();
    });
}

void CExeOrder::OnSetActive() {
    m_list->clear();
    for (int id : m_set.executeSequence) {
        auto* item = new QListWidgetItem(RowText(id), m_list);
        item->setData(Qt::UserRole, id);
    }
    m_list->setCurrentRow(m_selected);
    SetButtons();
}

void CExeOrder::SetButtons() {
    m_up->setEnabled(m_selected > 0);
    m_down->setEnabled(m_selected < kSlots - 1);
}

void CExeOrder::Move(int by) {
    const int to = m_selected + by;
    if (to < 0 || to >= m_list->count()) return;
    QListWidgetItem* item = m_list->takeItem(m_selected);
    m_list->insertItem(to, item);
    m_list->setCurrentRow(to);
    SetButtons();
    emit Changed();
}

bool CExeOrder::OnKillActive() {
    for (int i = 0; i < kSlots && i < m_list->count(); ++i)
        m_set.executeSequence[static_cast<std::size_t>(i)] = m_list->item(i)->data(Qt::UserRole).toInt();
    return true;
}

}  // namespace webquill
