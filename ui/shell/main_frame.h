// The main window: the log windows in a multiple-document area, the two menu
// bars, the toolbar and the two-pane status bar, the commands of the shell
// and the saving and restoring of the window's placement.
#pragma once

#include <QMainWindow>
#include <QPrinter>
#include <QStringList>
#include <map>
#include <memory>

#include "core/shell/quillet_doc.h"
#include "ui/shell/status_panes.h"
#include "platform/desktop/wait_cursor.h"
#include "core/shell/window_placement.h"

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;

namespace webquill {

class CChildFrame;
class CQuilletApp;

// The commands, each with its status-bar prompt and tool tip.
enum class Command {
    New, Open, Close, Save, SaveAs, Print, PrintPreview, PrintSetup, Exit,
    Options, Upload, ToolBar, StatusBar, Cascade, TileHorizontally, TileVertically, ArrangeIcons,
    CloseAll, About, Synopsis, Contents, NextPane, PreviousPane,
};

inline constexpr int kRecentFileCount = 4;

class CMainFrame : public QMainWindow, public IStatusPanes, public IDocumentHost {
    Q_OBJECT
public:
    explicit CMainFrame(CQuilletApp& app);
    ~CMainFrame() override;

    CChildFrame* NewDocument();
    CChildFrame* OpenDocumentFile(const QString& path);
    // Save, or Save As (always asks for a name).
    bool SaveDocument(CChildFrame* child, bool askForName);
    void CloseAllDocuments();

    CChildFrame* ActiveChild() const;
    QList<CChildFrame*> Children() const;
    QMdiArea* MdiArea() const { return m_mdi; }
    QAction* Action(Command command) const { return m_actions.at(command); }
    QToolBar* ToolBar() const { return m_toolBar; }
    bool LogMenuShown() const { return m_logMenuShown; }
    const QStringList& RecentFiles() const { return m_recentFiles; }

    // The stored placement, applied once; returns the show state to use.
    ShowState RestorePlacement();
    void ShowWithPlacement(ShowState state);
    void SavePlacement();

    void UpdateCommandUi();

    // IStatusPanes
    void SetPaneText(int pane, const QString& text) override;
    QString PaneText(int pane) const override;
    // IDocumentHost
    void ShowStatusPanes(const std::string& pane0, const std::string& pane1) override;
    void PumpMessages() override;
    void SetWaitCursor(bool on) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    QAction* MakeAction(Command command, const QString& text, const QString& promptAndTip,
                        const QKeySequence& key = QKeySequence());
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void ShowMenuBar(bool logWindowOpen);
    void RebuildRecentFileEntries();
    void AddRecentFile(const QString& path);
    void LoadRecentFiles();
    void SaveRecentFiles();
    CChildFrame* AddChild(std::unique_ptr<CQuilletDoc> document, const QString& path);
    void OnOpen();
    void OnPrint();
    void OnPrintPreview();
    void OnPrintSetup();
    void OnAbout();
    void OnHelp(int context);
    void UpdateTitle();

    CQuilletApp& m_app;
    QMdiArea* m_mdi = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_panes[2] = {nullptr, nullptr};
    std::map<Command, QAction*> m_actions;
    QMenu* m_fileMenuNoLog = nullptr;
    QMenu* m_fileMenuLog = nullptr;
    QMenu* m_toolsMenu = nullptr;
    QMenu* m_viewMenu = nullptr;
    QMenu* m_windowMenu = nullptr;
    QMenu* m_helpMenuNoLog = nullptr;
    QMenu* m_helpMenuLog = nullptr;
    QList<QAction*> m_recentEntries;
    QStringList m_recentFiles;
    bool m_logMenuShown = false;
    bool m_placementRestorePending = true;
    int m_untitledCount = 0;
    CWaitCursors m_waitCursors;
    QPrinter m_printer;
};

}  // namespace webquill
