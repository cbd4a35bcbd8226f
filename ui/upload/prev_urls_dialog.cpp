#include "ui/upload/prev_urls_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/upload/list_ctrl_ex.h"

namespace webquill {

CPrevUrlsDlg::CPrevUrlsDlg(const std::vector<FtpRow>& rows, QWidget* parent)
    : QDialog(parent), m_list(new CListCtrlEx(this)) {
    setWindowTitle(QStringLiteral("Previous Ftp URLs"));
    m_list->setObjectName(QStringLiteral("urlList"));
    m_list->SetFullRowSelection(true);
    m_list->setHeaderLabels({QStringLiteral("Ftp URL"), QStringLiteral("Start Directory")});
    for (const FtpRow& row : rows)
        new QTreeWidgetItem(m_list, {QString::fromStdString(row.url), QString::fromStdString(row.startDirectory)});

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(420, 240);

    connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this] {
        const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
        m_url = selected.isEmpty() ? std::string() : selected.front()->text(0).toStdString();
        m_startDirectory = selected.isEmpty() ? std::string() : selected.front()->text(1).toStdString();
    });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        m_url = item->text(0).toStdString();
        m_startDirectory = item->text(1).toStdString();
        accept();
    });
}

void CPrevUrlsDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Two halves of the list's client width.
    const int half = m_list->ClientWidth() / 2;
    m_list->header()->resizeSection(0, half);
    m_list->header()->resizeSection(1, half);
}

const FtpRow* FindFtpRow(const std::vector<FtpRow>& rows, const std::string& url, const std::string& startDirectory) {
    for (const FtpRow& row : rows)
        if (row.url == url && row.startDirectory == startDirectory) return &row;
    return nullptr;
}

}  // namespace webquill
