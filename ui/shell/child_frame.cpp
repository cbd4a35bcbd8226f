#include "ui/shell/child_frame.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QTimer>

#include "platform/desktop/byte_text.h"
#include "ui/shell/main_frame.h"
#include "core/shell/quillet_doc.h"
#include "ui/shell/quillet_view.h"
#include "platform/desktop/ui_prompts.h"

namespace webquill {

CChildFrame::CChildFrame(std::unique_ptr<CQuilletDoc> document, QWidget* parent)
    : QMdiSubWindow(parent), m_doc(std::move(document)) {
    setAttribute(Qt::WA_DeleteOnClose);
    m_view = new CQuilletView(*m_doc, this);
    setWidget(m_view);
}

CChildFrame::~CChildFrame() {
    // The view refers to the document: it goes first.
    delete m_view;
    m_view = nullptr;
}

void CChildFrame::SetPathName(const QString& path) {
    m_pathName = path;
    SetTitle(QFileInfo(path).fileName());
}

void CChildFrame::SetTitle(const QString& title) {
    m_title = title;
    setWindowTitle(title);
}

bool CChildFrame::CloseDiscarding() {
    m_discardChanges = true;
    const bool closed = close();
    m_discardChanges = false;
    return closed;
}

bool CChildFrame::AskSaveChanges() {
    const PromptAnswer answer =
        Prompts().Message(this, QStringLiteral("Webquill"), QStringLiteral("Save changes to %1?").arg(m_title),
                          PromptIcon::Question, PromptButtons::YesNoCancel);
    if (answer == PromptAnswer::Cancel) return false;
    if (answer == PromptAnswer::No) return true;
    auto* frame = qobject_cast<CMainFrame*>(window());
    return frame && frame->SaveDocument(this, false);
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    // A fill stops at the closing flag and the window closes right after it.
    if (m_view->IsFilling()) {
        m_doc->closing = true;
        event->ignore();
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    if (m_view->IsBusy() || m_doc->runInProgress) {
        Prompts().Message(this, QStringLiteral("Webquill"), ShownText(CQuilletDoc::CloseGuardText()),
                          PromptIcon::None, PromptButtons::Ok);
        event->ignore();
        return;
    }
    const CloseDecision decision = m_doc->MayClose();
    if (decision == CloseDecision::AskSaveChanges && !m_discardChanges && !AskSaveChanges()) {
        m_doc->closing = false;
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

}  // namespace webquill
