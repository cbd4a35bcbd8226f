#include "ui/editor/my_sheet.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/desktop/help_viewer.h"
#include "ui/editor/sheet_page.h"
#include "platform/desktop/ui_prompts.h"

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
    qApp->installEventFilter(this);
}

bool CMySheet::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !isActiveWindow()) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !isAncestorOf(widget) || m_pages.empty()) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!(key->modifiers() & Qt::ControlModifier) || (key->modifiers() & Qt::AltModifier)) return false;
    int by = 0;
    switch (key->key()) {
        case Qt::Key_Tab: by = key->modifiers() & Qt::ShiftModifier ? -1 : 1; break;
        case Qt::Key_Backtab: by = -1; break;
        case Qt::Key_PageDown: by = 1; break;
        case Qt::Key_PageUp: by = -1; break;
        default: return false;
    }
    const int count = PageCount();
    SetActivePage((std::max(m_current, 0) + by + count) % count);
    return true;
}

void CMySheet::WatchForChanges(QWidget* page) {
    // What the user does to a field, a choice or a list; a page's own
    // changes (a command deleted or added, an order moved) it reports.
    const auto changed = [this] { m_changed = true; };
    for (auto* field : page->findChildren<QLineEdit*>())
        connect(field, &QLineEdit::textEdited, this, changed);
    for (auto* field : page->findChildren<QPlainTextEdit*>())
        connect(field, &QPlainTextEdit::undoAvailable, this, [this](bool typed) { m_changed |= typed; });
    for (auto* button : page->findChildren<QAbstractButton*>())
        if (button->isCheckable()) connect(button, &QAbstractButton::clicked, this, changed);
    for (auto* combo : page->findChildren<QComboBox*>()) connect(combo, &QComboBox::activated, this, changed);
    if (auto* sheetPage = qobject_cast<CSheetPage*>(page)) connect(sheetPage, &CSheetPage::Changed, this, changed);
}

void CMySheet::FitAndCentreOn(QWidget* over) {
    adjustSize();
    const QScreen* screen = over ? over->screen() : this->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // Every tab in view: the bar's own width, the frame around it and the
    // dialog's margins.
    const int margins = width() - m_tabs->width();
    const int tabs = m_tabs->tabBar()->sizeHint().width() + 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    // The window frame is not known before the first show: room for one.
    const int frameExtra = std::max(frameGeometry().width() - width(), 16);
    const int widest = available.width() - frameExtra;
    if (tabs + margins > widest) {
        // A screen too narrow for every caption: the tabs share the width,
        // each caption shortened, and its full text shown as its tip.
        m_tabs->setUsesScrollButtons(false);
        m_tabs->setElideMode(Qt::ElideRight);
        for (int i = 0; i < m_tabs->count(); ++i) m_tabs->setTabToolTip(i, m_tabs->tabText(i));
    }
    resize(std::min(std::max(width(), tabs + margins), widest),
           std::min(height(), available.height() - frameExtra));
    QRect frame = frameGeometry();
    frame.moveCenter(over ? over->frameGeometry().center() : available.center());
    frame.moveLeft(std::clamp(frame.left(), available.left(), std::max(available.left(), available.right() - frame.width() + 1)));
    frame.moveTop(std::clamp(frame.top(), available.top(), std::max(available.top(), available.bottom() - frame.height() + 1)));
    move(frame.topLeft());
}

void CMySheet::AddPage(CSheetPage* page) {
    m_pages.push_back(page);
    m_turningBack = true;  // adding the first tab makes it current: not a turn
    m_tabs->addTab(page, page->Caption());
    m_turningBack = false;
    WatchForChanges(page);
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
    if (m_current >= 0) {
        // The old page stays on screen until it lets the turn happen, so a
        // refusal's message stands over the page it is about.
        m_turningBack = true;
        m_tabs->setCurrentIndex(m_current);
        m_turningBack = false;
        if (!Page(m_current)->OnKillActive()) {
            // The page refused: it stays in front, with the focus it chose.
            if (QWidget* field = Page(m_current)->m_refusalFocus) field->setFocus(Qt::OtherFocusReason);
            return;
        }
        m_turningBack = true;
        m_tabs->setCurrentIndex(index);
        m_turningBack = false;
    }
    Activate(index);
}

void CMySheet::accept() {
    if (CSheetPage* page = ActivePage(); page && !page->OnKillActive()) return;
    if (m_acceptCheck && !m_acceptCheck()) return;
    QDialog::accept();
}

void CMySheet::reject() {
    if (m_askBeforeDiscarding && m_changed &&
        Prompts().Message(this, QStringLiteral("Webquill"), QStringLiteral("Discard the changes to the rule file?"),
                          PromptIcon::Question, PromptButtons::YesNo) != PromptAnswer::Yes)
        return;
    for (CSheetPage* page : m_pages)
        if (page->WasShown()) page->OnReset();
    QDialog::reject();
}

}  // namespace webquill
