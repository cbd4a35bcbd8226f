#include "ui/editor/para_formats_dialog.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace webquill {

namespace {

const char* const kFormats[][2] = {
    {"X.", "1., 2., ... 9."},
    {"X.X.", "1.0., 1.1., ... 4.5. ... 9.9."},
    {"X.X.X.", "1.1.0., 1.1.1., ... 5.5.5. ... 9.9.9."},
    {"XX.", "10.,...45., ... 99."},
    {"XX.X.", "10.0., 10.1., ... 55.5. ... 99.9."},
    {"XX.XX.", "10.10., 10.11., ... 45.45. ... 99.99."},
    {"XX.XX.X.", "10.10.0., 10.10.1., ... 45.45.2. ... 99.99.9."},
    {"XX.XX.XX.", "10.10.10., 10.10.11., ... 45.45.22. ... 99.99.99."},
    {"C.", "A., B., ... Z."},
    {"C)", "A), B), ... Z)"},
    {"(C)", "(A), (B), ... (Z)"},
    {"c.", "a., b., ... z."},
    {"c)", "a), b), ... z)"},
    {"(c)", "(a), (b), ... (z)"},
    {"R.", "I., V., X., L."},
    {"(R)", "(I), (V), (X), (L)"},
    {"RR.", "II., IV., VI., IX., XI., XX. XL., LX."},
    {"(RR)", "(II), (IV), (VI), (IX), (XI), (XX), (XL), (LX)"},
    {"RRR.", "III., VII., XII., XIV., XXX., XLV., LXV."},
    {"(RRR)", "(III), (VII), (XII), (XIV), (XXX), (XLV), (LXV)"},
    {"r.", "i., v., x., l."},
    {"(r)", "(i), (v), (x), (l)"},
    {"rr.", "ii., iv., vi., ix., xi., xx., xl., lx."},
    {"(rr)", "(ii), (iv), (vi), (ix), (xi), (xx), (xl), (lx)"},
    {"rrr.", "iii., vii., xii., xiv., xxx., xlv., lxv."},
    {"(rrr)", "(iii), (vii), (xii), (xiv), (xxx), (xlv), (lxv)"},
};

}  // namespace

CParaFormatsDlg::CParaFormatsDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Pre-Defined Paragraph Formats"));
    m_list = new QTreeWidget(this);
    m_list->setRootIsDecorated(false);
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({QStringLiteral("Number Format"), QStringLiteral("Examples of Format")});
    m_list->header()->setStretchLastSection(false);
    for (const auto& row : kFormats)
        m_list->addTopLevelItem(new QTreeWidgetItem({QString::fromLatin1(row[0]), QString::fromLatin1(row[1])}));

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    m_list->viewport()->installEventFilter(this);
    resize(560, 420);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // The selection, not the current row: a row gets current on focus alone.
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this] {
        const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
        if (!selected.isEmpty()) m_result = selected.first()->text(0);
    });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        m_result = item->text(0);
        accept();
    });
}

bool CParaFormatsDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list->viewport() && event->type() == QEvent::Resize) {
        const int width = m_list->viewport()->width();
        m_list->setColumnWidth(0, width / 4);
        m_list->setColumnWidth(1, width - width / 4);
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace webquill
