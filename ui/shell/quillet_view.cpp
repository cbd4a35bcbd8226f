#include "ui/shell/quillet_view.h"

#include <QApplication>
#include <QMenu>
#include <chrono>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/desktop/byte_text.h"
#include "core/shell/line_target.h"
#include "ui/editor/rule_editor.h"
#include "ui/shell/log_list.h"
#include "ui/editor/publish_dialog.h"
#include "engine/publishing_run.h"
#include "core/shell/quillet_doc.h"
#include "ui/shell/status_panes.h"
#include "platform/desktop/ui_prompts.h"

namespace webquill {

namespace {
// One run at a time in the whole program: a window opened while another
// window's run drains its messages waits before it offers its dialog.
int g_runsInProgress = 0;

constexpr std::chrono::milliseconds kDrainInterval{50};
constexpr qreal kPrintMarginMm = 15;

QFont DialogFont() {
    QFont font(QStringLiteral("Courier New"), 8);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

}  // namespace

CQuilletView::CQuilletView(CQuilletDoc& document, QWidget* parent) : QWidget(parent), m_doc(document) {
    setFont(DialogFont());
    m_model = new CLogListModel(m_doc.logLines, this);
    m_delegate = new CLogItemDelegate(this);
    m_list = new CLogListBox(this);
    m_list->setObjectName(QStringLiteral("logList"));
    m_list->setProperty("controlId", 4048);
    m_list->setFont(font());
    m_list->setModel(m_model);
    m_list->setItemDelegate(m_delegate);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(style()->pixelMetric(QStyle::PM_DefaultFrameWidth),
                               style()->pixelMetric(QStyle::PM_DefaultFrameWidth),
                               style()->pixelMetric(QStyle::PM_DefaultFrameWidth),
                               style()->pixelMetric(QStyle::PM_DefaultFrameWidth));
    layout->addWidget(m_list);
    connect(m_list, &CLogListBox::LineDoubleClicked, this, &CQuilletView::OnDoubleClick);
    connect(m_list, &CLogListBox::RightButtonPressed, this, &CQuilletView::OnRightButton);
    connect(m_list, &CLogListBox::LineMenuAsked, this, &CQuilletView::OnLineMenu);
    connect(m_delegate, &CLogItemDelegate::MetricsKnown, this, [this] {
        // The item height is now the font's; the extent follows its width.
        LayoutList();
    });
}

CQuilletView::~CQuilletView() = default;

IStatusPanes* CQuilletView::Panes() const { return dynamic_cast<IStatusPanes*>(window()); }

void CQuilletView::SetPanes(const QString& pane0, const QString& pane1) {
    if (IStatusPanes* panes = Panes()) {
        panes->SetPaneText(0, pane0);
        panes->SetPaneText(1, pane1);
    }
}

void CQuilletView::ShowIdleStatus() {
    SetPanes(QStringLiteral("Ready"), QStringLiteral("%1 Lines").arg(m_doc.logLines.size()));
}

void CQuilletView::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    m_delegate->SetTextShown(!m_doc.loadedLog && !m_doc.logLines.empty());
    // The dialog and the fill cannot run inside a paint: they follow it at once.
    if (!m_filling && !m_drawingPassQueued && (m_firstPaintPending || m_doc.loadedLog)) {
        m_drawingPassQueued = true;
        QTimer::singleShot(0, this, &CQuilletView::FirstDrawingPass);
    }
}

void CQuilletView::FirstDrawingPass() {
    m_drawingPassQueued = false;
    if (m_filling) return;
    if (m_firstPaintPending) {
        if (g_runsInProgress > 0 && m_doc.logLines.empty() && !m_doc.publishDialogShown) {
            QTimer::singleShot(100, this, &CQuilletView::FirstDrawingPass);
            m_drawingPassQueued = true;
            return;
        }
        m_firstPaintPending = false;
        LayoutList();
        if (m_doc.logLines.empty()) BeginPublishing();
    }
    if (m_doc.logLines.empty()) return;
    if (m_doc.loadedLog) ShowLoadedLog();
}

void CQuilletView::ShowLoadedLog() {
    LayoutList();
    FillList(0, std::min(m_doc.logLines.size(), kMaxLogLines));
    m_doc.loadedLog = false;
    m_doc.publishDialogShown = true;
    m_delegate->SetTextShown(true);
    SelectLine(0);
    emit LinesChanged();
}

void CQuilletView::BeginPublishing() {
    LayoutList();
    if (m_doc.publishDialogShown) return;
    m_doc.publishDialogShown = true;
    CPublishDlg dialog(m_doc, this);
    dialog.SetRuleEditor([this](QWidget* owner, const QString& text) { return RunRuleEditor(owner, m_doc, *this, text); });
    // The dialog and the run are on this window's stack: it stays open
    // until both are over.
    m_offeringDialog = true;
    const bool start = dialog.exec() == QDialog::Accepted;
    m_offeringDialog = false;
    if (start) {
        ++g_runsInProgress;
        m_delegate->SetTextShown(true);
        m_run = std::make_unique<CPublishingRun>(m_doc, *this);
        SetWaitCursor(true);
        m_run->RunPublishing();
        CatchUp();
        SetWaitCursor(false);
        --g_runsInProgress;
        // Every pending page of the run has been drained; the run state goes.
        m_run.reset();
        SelectLine(0);
        emit RunFinished();
    }
    LayoutList();
    update();
    emit LinesChanged();
}

void CQuilletView::LayoutList() {
    const int width = m_delegate->CharacterWidth() * static_cast<int>(m_doc.longestLineLength + 5);
    if (width != m_delegate->Extent()) {
        m_delegate->SetExtent(width);
        m_list->doItemsLayout();
    }
    m_list->viewport()->update();
}

int CQuilletView::HorizontalExtent() const { return m_delegate->Extent(); }

void CQuilletView::ShowBuildProgress(int percent) {
    if (percent < 100)
        SetPanes(QStringLiteral("Building Display Frame %1").arg(m_displayFrameNumber),
                 percent < 0 ? QString() : QStringLiteral("%1 %processed").arg(percent));
    else
        SetPanes(QStringLiteral("Ready"), QString());
    PumpMessages();
}

void CQuilletView::FillList(std::size_t first, std::size_t last) {
    m_filling = true;
    m_filled = false;
    SetWaitCursor(true);
    ShowBuildProgress(0);
    m_model->RemoveAll();
    m_model->SetFirstLine(first);
    // Items go in by tenths, each tenth shown with its progress.
    const std::size_t tenth = std::max<std::size_t>(1, last / 10);
    int percent = 0;
    for (std::size_t next = first; next < last && !m_doc.closing;) {
        const std::size_t end = std::min(last, (next / tenth + 1) * tenth);
        m_model->ShowUpTo(end);
        next = end;
        if (next < last) {
            percent = std::min(percent + 10, 90);
            ShowBuildProgress(percent);
        }
    }
    if (!m_doc.closing) {
        m_filled = true;
        m_filling = false;
        ShowBuildProgress(110);
        SetWaitCursor(false);
        update();
    }
}

void CQuilletView::SelectLine(int row) {
    if (row < 0 || row >= m_model->rowCount()) return;
    const QModelIndex index = m_model->index(row);
    m_list->setCurrentIndex(index);
    m_list->scrollTo(index);
}

int CQuilletView::SelectedLine() const {
    const QModelIndexList selected = m_list->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

int CQuilletView::ShownLineCount() const { return m_model->rowCount(); }

void CQuilletView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    update();
}

void CQuilletView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_doc.publishDialogShown) LayoutList();
}

void CQuilletView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) OnRightButton();
    QWidget::mousePressEvent(event);
}

void CQuilletView::OnDoubleClick() {
    if (m_doc.runInProgress) {
        Prompts().Beep();
        return;
    }
    OpenLineTarget(LineTarget::Editor);
}

void CQuilletView::OnRightButton() {
    if (m_doc.runInProgress || m_doc.logLines.empty()) {
        Prompts().Beep();
        return;
    }
    OpenLineTarget(LineTarget::WebBrowser);
}

void CQuilletView::OnLineMenu(const QPoint& globalPos) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("lineMenu"));
    connect(menu.addAction(tr("Open in Editor")), &QAction::triggered, this, &CQuilletView::OnDoubleClick);
    connect(menu.addAction(tr("Open in Web Browser")), &QAction::triggered, this, &CQuilletView::OnRightButton);
    menu.exec(globalPos);
}

void CQuilletView::OpenLineTarget(LineTarget which) {
    const std::string& program = which == LineTarget::Editor ? m_doc.editorProgram : m_doc.webBrowserProgram;
    const std::string* line = program.empty() ? nullptr : m_model->LineAt(SelectedLine());
    const std::string path = line ? LineTargetPath(*line, m_doc) : std::string();
    if (path.empty()) {
        Prompts().Beep();
        return;
    }
    SetWaitCursor(true);
    StartSettingProgram(this, ShownText(program), {ShownText(path)});
    SetWaitCursor(false);
}

namespace {

QFont PrintFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(10);
    font.setWeight(QFont::Normal);
    return font;
}

// A line wider than the page goes on over the next printed rows.
std::unique_ptr<QTextLayout> WrappedLine(const std::string& line, const QFont& font, QPaintDevice* device,
                                         int width) {
    auto layout = std::make_unique<QTextLayout>(ShownText(line), font, device);
    QTextOption wrap;
    wrap.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(wrap);
    layout->beginLayout();
    for (QTextLine row = layout->createLine(); row.isValid(); row = layout->createLine()) row.setLineWidth(width);
    layout->endLayout();
    return layout;
}

// Ten twentieths of a point of paper before each row.
int PrintIndent(const QPaintDevice* device) { return device->logicalDpiX() / 144; }

// The font's own pitch, closed up where 80 rows would not fit the page.
int PrintPitch(const QFont& font, QPaintDevice* device, const QRect& page) {
    const QFontMetrics metrics(font, device);
    return std::max(1, std::min(metrics.height() + metrics.leading(), page.height() / kLinesPerPrintedPage));
}

}  // namespace

int CQuilletView::PreparePrinting(QPrinter& printer) {
    // At least 15 mm of paper around the lines, more where the page setup asks.
    const QMarginsF margins = printer.pageLayout().margins(QPageLayout::Millimeter);
    printer.setPageMargins(QMarginsF(std::max(margins.left(), kPrintMarginMm), std::max(margins.top(), kPrintMarginMm),
                                     std::max(margins.right(), kPrintMarginMm),
                                     std::max(margins.bottom(), kPrintMarginMm)),
                           QPageLayout::Millimeter);
    return Paginate(&printer, QRect(0, 0, printer.width(), printer.height()));
}

int CQuilletView::Paginate(QPaintDevice* device, const QRect& page) {
    // A page holds 80 log lines at most, and no more rows than fit: a log
    // of lines wider than the page takes more pages.
    const QFont font = PrintFont();
    const int rowsPerPage = std::max(1, page.height() / PrintPitch(font, device, page));
    const int width = page.width() - PrintIndent(device);
    const QFontMetrics metrics(font, device);
    m_pageStarts.clear();
    int lines = 0, rows = 0;
    for (std::size_t i = 0; i < m_doc.logLines.size(); ++i) {
        const std::string& line = m_doc.logLines[i];
        const int lineRows = metrics.horizontalAdvance(ShownText(line)) <= width
                                 ? 1
                                 : WrappedLine(line, font, device, width)->lineCount();
        if (m_pageStarts.empty() || lines == kLinesPerPrintedPage || (rows > 0 && rows + lineRows > rowsPerPage)) {
            m_pageStarts.push_back(i);
            lines = rows = 0;
        }
        ++lines;
        rows += lineRows;
    }
    m_doc.printedPageCount = static_cast<int>(m_pageStarts.size());
    return m_doc.printedPageCount;
}

void CQuilletView::PrintTo(QPrinter& printer) {
    const int pages = PreparePrinting(printer);
    if (pages == 0) return;
    int first = 1;
    int last = pages;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(1, printer.fromPage());
        last = std::min(pages, printer.toPage() > 0 ? printer.toPage() : pages);
    }
    QPainter painter(&printer);
    for (int p = first; p <= last; ++p) {
        if (p > first) printer.newPage();
        PrintPage(painter, painter.viewport(), p);
    }
}

void CQuilletView::PrintPage(QPainter& painter, const QRect& page, int pageNumber) {
    if (pageNumber < 1 || pageNumber > static_cast<int>(m_pageStarts.size())) return;
    const QFont font = PrintFont();
    painter.setFont(font);
    QPaintDevice* device = painter.device();
    const int x = PrintIndent(device), pitch = PrintPitch(font, device, page);
    const std::size_t begin = m_pageStarts[static_cast<std::size_t>(pageNumber - 1)];
    const std::size_t end = static_cast<std::size_t>(pageNumber) < m_pageStarts.size()
                                ? m_pageStarts[static_cast<std::size_t>(pageNumber)]
                                : m_doc.logLines.size();
    int top = page.top();
    for (std::size_t i = begin; i < end; ++i) {
        const auto layout = WrappedLine(m_doc.logLines[i], font, device, page.width() - x);
        for (int r = 0; r < layout->lineCount(); ++r) layout->lineAt(r).setPosition(QPointF(0, r * pitch));
        // A single line longer than a whole page is cut at the page's foot.
        painter.save();
        painter.setClipRect(page);
        layout->draw(&painter, QPointF(page.left() + x, top));
        painter.restore();
        top += pitch * layout->lineCount();
    }
}

// A run writes thousands of lines and status texts a second; showing each
// at once would cost the window more than the run. The list and the panes
// catch up with the latest at each drain (at most every ~50 ms), before a
// message box, and at the run's end, so the last text is always shown.
void CQuilletView::ShowLogLine(const std::string&) {
    if (!m_run) m_model->ShowUpTo(m_doc.logLines.size());
}

void CQuilletView::ShowStatusText(const std::string& text) {
    m_statusText = text;
    m_statusTextPending = true;
}

void CQuilletView::CatchUp() {
    m_model->ShowUpTo(m_doc.logLines.size());
    IStatusPanes* panes = Panes();
    if (!panes) return;
    if (m_statusTextPending) panes->SetPaneText(0, ShownText(m_statusText));
    m_statusTextPending = false;
    panes->SetPaneText(1, QStringLiteral("%1 Lines").arg(m_doc.logLines.size()));
}

void CQuilletView::PumpMessages() {
    if (m_run) {
        if (m_sinceDrain.isValid() && m_sinceDrain.elapsed() < kDrainInterval.count()) return;
        CatchUp();
    }
    m_waitCursors.PumpMessages();
    m_sinceDrain.start();
}

void CQuilletView::ShowMessageBox(BoxKind kind, const std::string& text) {
    if (m_run) CatchUp();
    Prompts().Message(this, QStringLiteral("Webquill"), ShownText(text),
                      kind == BoxKind::Stop ? PromptIcon::Stop : PromptIcon::Warning, PromptButtons::Ok);
}

void CQuilletView::SetWaitCursor(bool on) { m_waitCursors.Set(on); }

void CQuilletView::SetModified(bool) {}

}  // namespace webquill
