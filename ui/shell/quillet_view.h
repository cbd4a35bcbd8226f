// The log window's view: the list of the document's log lines, the publishing
// run it carries out on its first drawing pass, opening a line's file in the
// editor or browser, and printing.
#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <memory>

#include "engine/run_host.h"
#include "platform/desktop/wait_cursor.h"

class QPaintDevice;
class QPainter;
class QPrinter;

namespace webquill {

class CQuilletDoc;
class CLogListModel;
class CLogItemDelegate;
class CLogListBox;
class CPublishingRun;
class IStatusPanes;

enum class LineTarget { Editor, WebBrowser };

class CQuilletView : public QWidget, public IRunHost {
    Q_OBJECT
public:
    explicit CQuilletView(CQuilletDoc& document, QWidget* parent = nullptr);
    ~CQuilletView() override;

    CQuilletDoc& Document() { return m_doc; }
    CLogListBox* ListBox() const { return m_list; }
    CLogItemDelegate* Delegate() const { return m_delegate; }

    void BeginPublishing();
    void LayoutList();
    void FillList(std::size_t first, std::size_t last);
    void OpenLineTarget(LineTarget target);
    void SelectLine(int row);
    int SelectedLine() const;
    int ShownLineCount() const;
    int HorizontalExtent() const;
    // A run or a fill is on the stack: the window must not go away under it.
    bool IsBusy() const { return m_run != nullptr || m_filling || m_offeringDialog; }
    bool IsFilling() const { return m_filling; }

    // Printing: sets the printer's margins and lays out the pages; the page
    // count (0 refuses).
    int PreparePrinting(QPrinter& printer);
    void PrintTo(QPrinter& printer);
    // Lays out the document's lines on pages of `page` (the painter's
    // printable area) of `device`; the page count.
    int Paginate(QPaintDevice* device, const QRect& page);
    // One page's lines (numbered from 1), as the last layout put them.
    void PrintPage(QPainter& painter, const QRect& page, int pageNumber);

    // The status panes while this view is active: "Ready" and its line count.
    void ShowIdleStatus();

    // IRunHost
    void ShowLogLine(const std::string& line) override;
    void ShowStatusText(const std::string& text) override;
    void PumpMessages() override;
    void ShowMessageBox(BoxKind kind, const std::string& text) override;
    void SetWaitCursor(bool on) override;
    void SetModified(bool modified) override;

signals:
    void RunFinished();
    void LinesChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void FirstDrawingPass();
    void ShowLoadedLog();
    void ShowBuildProgress(int percent);
    void OnDoubleClick();
    void OnRightButton();
    void OnLineMenu(const QPoint& globalPos);
    IStatusPanes* Panes() const;
    // Shows the lines and the status text written since the last time.
    void CatchUp();
    void SetPanes(const QString& pane0, const QString& pane1);

    CQuilletDoc& m_doc;
    CLogListModel* m_model = nullptr;
    CLogItemDelegate* m_delegate = nullptr;
    CLogListBox* m_list = nullptr;
    std::unique_ptr<CPublishingRun> m_run;
    std::vector<std::size_t> m_pageStarts;  // each printed page's first line

    bool m_firstPaintPending = true;
    bool m_filling = false;
    bool m_filled = false;
    bool m_drawingPassQueued = false;
    bool m_offeringDialog = false;
    int m_displayFrameNumber = 1;
    QElapsedTimer m_sinceDrain;  // a run's last drain of window messages
    std::string m_statusText;    // the latest, until the panes catch up
    bool m_statusTextPending = false;
    CWaitCursors m_waitCursors;
};

}  // namespace webquill
