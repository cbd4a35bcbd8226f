#include "ui/editor/my_sheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/desktop/help_viewer.h"
#include "ui/editor/sheet_page.h"

namespace webquill {

CMySheet::CMySheet(const QString& caption, QWidget* parent) : QDialog(parent) {
    setWindowTitle(caption);
    m_tabs = new QTabWidget(this);
    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QDialogButtonBox::Ok);
    m_cancel = buttons->addButton(QDialogButtonBox::Cancel);
    m_help = buttons->addButton(QDialogButtonBox::Help);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);

    connect(m_ok, &QPushButton::clicked, this, &CMySheet::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CMySheet::reject);
    connect(m_help, &QPushButton::clicked, this, [this] {
        if (CSheetPage* page = ActivePage()) ShowHelpTopic(this, page->HelpContext());
    });
    connect(m_tabs, &QTabWidget::currentChanged, this, &CMySheet::OnTabChanged);
}

void CMySheet::AddPage(CSheetPage* page) {
    m_pages.push_back(page);
    m_turningBack = true;  // adding the first tab makes it current: not a turn
    m_tabs->addTab(page, page->Caption());
    m_turningBack = false;
}

CSheetPage* CMySheet::ActivePage() const { return m_current >= 0 ? Page(m_current) : nullptr; }

int CMySheet::ActiveIndex() const { return m_current; }

bool CMySheet::SetActivePage(int index) {
    m_tabs->setCurrentIndex(index);
    return m_current == index;
}

void CMySheet::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_current < 0 && !m_pages.empty()) Activate(m_tabs->currentIndex());
}

void CMySheet::Activate(int index) {
    m_current = index;
    CSheetPage* page = Page(index);
    page->m_wasShown = true;
    page->OnSetActive();
}

void CMySheet::OnTabChanged(int index) {
    if (m_turningBack || index < 0 || index == m_current) return;
    if (m_current >= 0 && !Page(m_current)->OnKillActive()) {
        // The page refused: it stays in front, with the focus it chose.
        m_turningBack = true;
        m_tabs->setCurrentIndex(m_current);
        m_turningBack = false;
        if (QWidget* field = Page(m_current)->m_refusalFocus) field->setFocus(Qt::OtherFocusReason);
        return;
    }
    Activate(index);
}

void CMySheet::accept() {
    if (CSheetPage* page = ActivePage(); page && !page->OnKillActive()) return;
    if (m_acceptCheck && !m_acceptCheck()) return;
    QDialog::accept();
}

void CMySheet::reject() {
    for (CSheetPage* page : m_pages)
        if (page->WasShown()) page->OnReset();
    QDialog::reject();
}

}  // namespace webquill
