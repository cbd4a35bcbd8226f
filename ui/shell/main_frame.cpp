#include "ui/shell/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

#include "ui/shell/about_box.h"
#include "platform/desktop/byte_text.h"
#include "ui/shell/options_sheet.h"
#include "ui/shell/child_frame.h"
#include "ui/shell/child_windows.h"
#include "platform/desktop/help_viewer.h"
#include "ui/shell/quillet_app.h"
#include "ui/shell/quillet_view.h"
#include "platform/storage/settings_store.h"
#include "ui/shell/toolbar_icons.h"
#include "platform/desktop/ui_prompts.h"
#include "ui/upload/upload_dialog.h"

namespace webquill {

namespace {
constexpr const char* kPlacementSection = "Last Window Data";
constexpr const char* kBarStateSection = "BarState";
constexpr const char* kRecentFileSection = "Recent File List";
constexpr const char* kSavedLogFilter = "Quille Files (*.prl)";

PixelRect ToPixelRect(const QRect& r) { return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}; }

// One file, whatever linked folders its two names pass through.
bool SameFile(const QString& a, const QString& b) {
    if (a == b) return true;
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}
}  // namespace

CMainFrame::CMainFrame(CQuilletApp& app) : m_app(app) {
    setWindowTitle(QStringLiteral("Webquill"));
    setWindowIcon(ToolbarIcon(ToolbarPicture::Application));
    setMinimumSize(300, 220);
    setAcceptDrops(true);
    setProperty(kHelpContextProperty, kHelpContents);
    InstallHelpKey();
    m_mdi = new QMdiArea(this);
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    // A window manager maximizes the frame after its first window is placed.
    KeepPlacesAtAreaSize(m_mdi);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] { UpdateCommandUi(); });
    CreateActions();
    CreateToolBar();
    CreateStatusBar();
    CreateMenus();
    LoadRecentFiles();
    const std::string barState = m_app.Store().ReadString(kBarStateSection, "State");
    if (!barState.empty()) restoreState(QByteArray::fromBase64(QByteArray::fromStdString(barState)));
    UpdateCommandUi();
}

CMainFrame::~CMainFrame() {
    // Documents go before the frame's bars and panes they report to.
    for (QMdiSubWindow* window : m_mdi->subWindowList()) delete window;
}

QAction* CMainFrame::MakeAction(Command command, const QString& text, const QString& promptAndTip,
                                const QKeySequence& key) {
    auto* action = new QAction(text, this);
    const qsizetype split = promptAndTip.indexOf(QLatin1Char('\n'));
    action->setStatusTip(split < 0 ? promptAndTip : promptAndTip.left(split));
    action->setToolTip(split < 0 ? QString() : promptAndTip.mid(split + 1));
    if (!key.isEmpty()) action->setShortcut(key);
    m_actions[command] = action;
    addAction(action);  // shortcuts work whichever menu bar is up
    return action;
}

void CMainFrame::CreateActions() {
    connect(MakeAction(Command::New, tr("&New"), QStringLiteral("Create a new WWW document\nNew"),
                       QKeySequence(Qt::CTRL | Qt::Key_N)),
            &QAction::triggered, this, [this] { NewDocument(); });
    connect(MakeAction(Command::Open, tr("&Open..."), QStringLiteral("Open a saved log display\nOpen"),
                       QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, this, &CMainFrame::OnOpen);
    connect(MakeAction(Command::Close, tr("&Close"), QStringLiteral("Close the active log window\nClose")),
            &QAction::triggered, this, [this] {
                if (CChildFrame* child = ActiveChild()) child->close();
            });
    connect(MakeAction(Command::Save, tr("&Save"), QStringLiteral("Save the log window's contents to file\nSave"),
                       QKeySequence(Qt::CTRL | Qt::Key_S)),
            &QAction::triggered, this, [this] { SaveDocument(ActiveChild(), false); });
    connect(MakeAction(Command::SaveAs, tr("Save &As..."),
                       QStringLiteral("Save the log window's contents with a new name\nSave As")),
            &QAction::triggered, this, [this] { SaveDocument(ActiveChild(), true); });
    connect(MakeAction(Command::Print, tr("&Print..."), QStringLiteral("Print the log window's contents\nPrint"),
                       QKeySequence(Qt::CTRL | Qt::Key_P)),
            &QAction::triggered, this, &CMainFrame::OnPrint);
    connect(MakeAction(Command::PrintPreview, tr("Print Pre&view"), QStringLiteral("Display full pages\nPrint Preview")),
            &QAction::triggered, this, &CMainFrame::OnPrintPreview);
    connect(MakeAction(Command::PrintSetup, tr("P&rint Setup..."),
                       QStringLiteral("Change the printer and printing options\nPrint Setup")),
            &QAction::triggered, this, &CMainFrame::OnPrintSetup);
    connect(MakeAction(Command::Exit, tr("E&xit"), QStringLiteral("Quit the application\nExit")),
            &QAction::triggered, this, &QWidget::close);
    connect(MakeAction(Command::Options, tr("&Options..."), QStringLiteral("Application Options\\Preferences\nOptions")),
            &QAction::triggered, this, [this] {
                if (CChildFrame* child = ActiveChild()) {
                    RunOptionsSheet(this, child->Document());
                    child->View().update();
                    child->View().LayoutList();
                }
            });
    connect(MakeAction(Command::Upload, tr("&Upload..."), QStringLiteral("Upload (ftp) files to server\nUpload")),
            &QAction::triggered, this, [this] {
                if (CChildFrame* child = ActiveChild(); child && !child->Document().createdFiles.empty())
                    CUploadDlg(child->Document(), this).exec();
            });
    QAction* toolBar =
        MakeAction(Command::ToolBar, tr("&Toolbar"), QStringLiteral("Show or hide the toolbar\nToggle ToolBar"));
    toolBar->setCheckable(true);
    connect(toolBar, &QAction::triggered, this, [this](bool on) { m_toolBar->setVisible(on); });
    QAction* statusLine = MakeAction(Command::StatusBar, tr("&Status Bar"),
                                     QStringLiteral("Show or hide the status bar\nToggle StatusBar"));
    statusLine->setCheckable(true);
    connect(statusLine, &QAction::triggered, this, [this](bool on) { statusBar()->setVisible(on); });
    connect(MakeAction(Command::Cascade, tr("&Cascade"), QStringLiteral("Arrange windows so they overlap\nCascade")),
            &QAction::triggered, this, [this] { CascadeChildWindows(m_mdi); });
    connect(MakeAction(Command::TileHorizontally, tr("Tile &Horizontally"),
                       QStringLiteral("Arrange windows as non-overlapping tiles\nTile Horizontally")),
            &QAction::triggered, this, [this] { TileChildWindows(m_mdi, true); });
    connect(MakeAction(Command::TileVertically, tr("Tile &Vertically"),
                       QStringLiteral("Arrange windows as non-overlapping tiles\nTile Vertically")),
            &QAction::triggered, this, [this] { TileChildWindows(m_mdi, false); });
    connect(MakeAction(Command::ArrangeIcons, tr("&Arrange Icons"),
                       QStringLiteral("Arrange icons at the bottom of the window\nArrange Icons")),
            &QAction::triggered, this, [this] { ArrangeChildIcons(m_mdi); });
    QAction* closeAll =
        MakeAction(Command::CloseAll, tr("C&lose All "), QStringLiteral("Close All log windows\nClose All"));
    closeAll->setProperty("commandId", 32774);
    connect(closeAll, &QAction::triggered, this, &CMainFrame::CloseAllDocuments);
    connect(MakeAction(Command::About, tr("&About Quillet..."),
                       QStringLiteral("Display program information, version number and copyright\nAbout")),
            &QAction::triggered, this, &CMainFrame::OnAbout);
    QAction* synopsis =
        MakeAction(Command::Synopsis, tr("&Synopsis..."), QStringLiteral("Application's Synopsis\nSynopsis"));
    synopsis->setProperty("commandId", 32771);
    connect(synopsis, &QAction::triggered, this, [this] { OnHelp(5001); });
    QAction* contents =
        MakeAction(Command::Contents, tr("&Contents..."), QStringLiteral("Table of Contents\nContents"));
    contents->setProperty("commandId", 32777);
    connect(contents, &QAction::triggered, this, [this] { OnHelp(5000); });
    Action(Command::Options)->setProperty("commandId", 32772);
    Action(Command::Upload)->setProperty("commandId", 32775);
    connect(MakeAction(Command::NextPane, tr("Next Pane"), QStringLiteral("Switch to the next window pane\nNext Pane"),
                       QKeySequence(Qt::Key_F6)),
            &QAction::triggered, m_mdi, &QMdiArea::activateNextSubWindow);
    connect(MakeAction(Command::PreviousPane, tr("Previous Pane"),
                       QStringLiteral("Switch back to the previous window pane\nPrevious Pane"),
                       QKeySequence(Qt::SHIFT | Qt::Key_F6)),
            &QAction::triggered, m_mdi, &QMdiArea::activatePreviousSubWindow);
}

void CMainFrame::CreateMenus() {
    auto recentPlaceholder = [this](QMenu* menu) {
        QAction* marker = menu->addSeparator();
        marker->setObjectName(QStringLiteral("recentFiles"));
        menu->addSeparator();
    };
    m_fileMenuNoLog = new QMenu(tr("&File"), this);
    m_fileMenuNoLog->addActions({Action(Command::New), Action(Command::Open)});
    m_fileMenuNoLog->addSeparator();
    m_fileMenuNoLog->addAction(Action(Command::PrintSetup));
    recentPlaceholder(m_fileMenuNoLog);
    m_fileMenuNoLog->addAction(Action(Command::Exit));

    m_fileMenuLog = new QMenu(tr("&File"), this);
    m_fileMenuLog->addActions({Action(Command::New), Action(Command::Open), Action(Command::Close),
                               Action(Command::Save), Action(Command::SaveAs)});
    m_fileMenuLog->addSeparator();
    m_fileMenuLog->addActions({Action(Command::Print), Action(Command::PrintPreview), Action(Command::PrintSetup)});
    recentPlaceholder(m_fileMenuLog);
    m_fileMenuLog->addAction(Action(Command::Exit));

    m_toolsMenu = new QMenu(tr("&Tools"), this);
    m_toolsMenu->addAction(Action(Command::Options));
    m_toolsMenu->addSeparator();
    m_toolsMenu->addAction(Action(Command::Upload));

    m_viewMenu = new QMenu(tr("&View"), this);
    m_viewMenu->addActions({Action(Command::ToolBar), Action(Command::StatusBar)});

    m_windowMenu = new QMenu(tr("&Window"), this);
    m_windowMenu->addActions({Action(Command::Cascade), Action(Command::TileHorizontally),
                              Action(Command::TileVertically), Action(Command::ArrangeIcons)});
    m_windowMenu->addSeparator();
    m_windowMenu->addAction(Action(Command::CloseAll));

    m_helpMenuNoLog = new QMenu(tr("&Help"), this);
    m_helpMenuNoLog->addAction(Action(Command::About));
    m_helpMenuLog = new QMenu(tr("&Help"), this);
    m_helpMenuLog->addAction(Action(Command::About));
    m_helpMenuLog->addSeparator();
    m_helpMenuLog->addActions({Action(Command::Synopsis), Action(Command::Contents)});

    for (QMenu* menu : {m_fileMenuNoLog, m_fileMenuLog, m_toolsMenu, m_viewMenu, m_windowMenu})
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUi);
    connect(m_windowMenu, &QMenu::aboutToShow, this, [this] { ListChildWindows(m_windowMenu, m_mdi); });
    ShowMenuBar(false);
}

void CMainFrame::ShowMenuBar(bool logWindowOpen) {
    if (menuBar()->actions().size() > 0 && logWindowOpen == m_logMenuShown) return;
    m_logMenuShown = logWindowOpen;
    menuBar()->clear();
    if (logWindowOpen) {
        menuBar()->addMenu(m_fileMenuLog);
        menuBar()->addMenu(m_toolsMenu);
        menuBar()->addMenu(m_viewMenu);
        menuBar()->addMenu(m_windowMenu);
        menuBar()->addMenu(m_helpMenuLog);
    } else {
        menuBar()->addMenu(m_fileMenuNoLog);
        menuBar()->addMenu(m_viewMenu);
        menuBar()->addMenu(m_helpMenuNoLog);
    }
}

void CMainFrame::CreateToolBar() {
    m_toolBar = new QToolBar(tr("Standard"), this);
    m_toolBar->setObjectName(QStringLiteral("standardToolBar"));
    m_toolBar->setIconSize(QSize(16, 15));
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    Action(Command::New)->setIcon(ToolbarIcon(ToolbarPicture::New));
    Action(Command::Open)->setIcon(ToolbarIcon(ToolbarPicture::Open));
    Action(Command::Save)->setIcon(ToolbarIcon(ToolbarPicture::Save));
    Action(Command::Upload)->setIcon(ToolbarIcon(ToolbarPicture::Upload));
    Action(Command::Print)->setIcon(ToolbarIcon(ToolbarPicture::Print));
    Action(Command::Contents)->setIcon(ToolbarIcon(ToolbarPicture::Contents));
    m_toolBar->addActions({Action(Command::New), Action(Command::Open), Action(Command::Save)});
    m_toolBar->addSeparator();
    m_toolBar->addAction(Action(Command::Upload));
    m_toolBar->addSeparator();
    m_toolBar->addAction(Action(Command::Print));
    m_toolBar->addSeparator();
    m_toolBar->addAction(Action(Command::Contents));
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    connect(m_toolBar, &QToolBar::visibilityChanged, Action(Command::ToolBar), &QAction::setChecked);
}

void CMainFrame::CreateStatusBar() {
    for (QLabel*& pane : m_panes) {
        pane = new QLabel(this);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setTextFormat(Qt::PlainText);
    }
    m_panes[0]->setObjectName(QStringLiteral("pane0"));
    m_panes[1]->setObjectName(QStringLiteral("pane1"));
    // Pane 1 is 0.3 of a plain pane, which is a quarter of the screen wide.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->geometry().width() : 800;
    m_panes[1]->setFixedWidth(static_cast<int>(0.3 * (screenWidth / 4)));
    statusBar()->addWidget(m_panes[0], 1);
    statusBar()->addPermanentWidget(m_panes[1]);
    m_panes[0]->setText(QStringLiteral("Ready"));
}

void CMainFrame::SetPaneText(int pane, const QString& text) {
    if (pane == 0 || pane == 1) m_panes[pane]->setText(text);
}

QString CMainFrame::PaneText(int pane) const { return pane == 0 || pane == 1 ? m_panes[pane]->text() : QString(); }

void CMainFrame::ShowStatusPanes(const std::string& pane0, const std::string& pane1) {
    SetPaneText(0, ShownText(pane0));
    SetPaneText(1, ShownText(pane1));
    PumpMessages();
}

void CMainFrame::PumpMessages() { m_waitCursors.PumpMessages(); }

void CMainFrame::SetWaitCursor(bool on) { m_waitCursors.Set(on); }

CChildFrame* CMainFrame::ActiveChild() const {
    return qobject_cast<CChildFrame*>(m_mdi->currentSubWindow());
}

QList<CChildFrame*> CMainFrame::Children() const {
    QList<CChildFrame*> children;
    for (QMdiSubWindow* window : m_mdi->subWindowList())
        if (auto* child = qobject_cast<CChildFrame*>(window)) children.append(child);
    return children;
}

CChildFrame* CMainFrame::AddChild(std::unique_ptr<CQuilletDoc> document, const QString& path) {
    auto* child = new CChildFrame(std::move(document));
    if (path.isEmpty()) child->SetTitle(QStringLiteral("Quille%1").arg(++m_untitledCount));
    else child->SetPathName(path);
    m_mdi->addSubWindow(child);
    CQuilletView* view = &child->View();
    connect(view, &CQuilletView::LinesChanged, this, &CMainFrame::UpdateCommandUi);
    connect(view, &CQuilletView::RunFinished, this, &CMainFrame::UpdateCommandUi);
    connect(child, &QObject::destroyed, this, [this] { QMetaObject::invokeMethod(this, &CMainFrame::UpdateCommandUi, Qt::QueuedConnection); });
    connect(child, &QMdiSubWindow::windowStateChanged, this, &CMainFrame::UpdateTitle);
    ShowMenuBar(true);
    child->setWindowIcon(windowIcon());
    PlaceNewChildWindow(m_mdi, child);
    child->show();
    m_mdi->setActiveSubWindow(child);
    UpdateCommandUi();
    return child;
}

CChildFrame* CMainFrame::NewDocument() {
    auto document = std::make_unique<CQuilletDoc>(m_app.Store());
    document->LoadSettings(&m_app.AboutText());
    return AddChild(std::move(document), QString());
}

CChildFrame* CMainFrame::OpenDocumentFile(const QString& path) {
    auto document = std::make_unique<CQuilletDoc>(m_app.Store());
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    // A saved log shows in one window: opened again, that window comes up.
    for (CChildFrame* open : Children())
        if (!m_app.CommandLineFileFlag() && SameFile(open->PathName(), fullPath)) {
            if (open->isMinimized()) open->showNormal();
            m_mdi->setActiveSubWindow(open);
            return open;
        }
    const DocumentFileResult result =
        document->OpenSavedLog(TypedBytes(fullPath), m_app.CommandLineFileFlag(), this, &m_app.AboutText());
    if (!result.Ok()) {
        Prompts().Message(this, QStringLiteral("Webquill"), ShownText(result.message),
                          result.kind == DocumentFileResult::Kind::ContentError ? PromptIcon::Stop
                                                                                : PromptIcon::Warning,
                          PromptButtons::Ok);
        UpdateCommandUi();
        return nullptr;
    }
    CChildFrame* child = AddChild(std::move(document), fullPath);
    AddRecentFile(fullPath);
    return child;
}

bool CMainFrame::SaveDocument(CChildFrame* child, bool askForName) {
    if (!child) return false;
    QString path = child->PathName();
    if (askForName || path.isEmpty()) {
        FileDialogRequest request;
        request.caption = QStringLiteral("Save As");
        request.directory = path.isEmpty() ? child->Title() + QStringLiteral(".prl") : path;
        request.filters = {QString::fromLatin1(kSavedLogFilter), QStringLiteral("All Files (*)")};
        request.save = true;
        request.defaultSuffix = QStringLiteral("prl");
        path = Prompts().ChooseFile(this, request);
        if (path.isEmpty()) return false;
    }
    const DocumentFileResult result = child->Document().SaveLog(TypedBytes(path), this);
    if (!result.Ok()) {
        Prompts().Message(this, QStringLiteral("Webquill"), ShownText(result.message), PromptIcon::Warning,
                          PromptButtons::Ok);
        return false;
    }
    child->SetPathName(QFileInfo(path).absoluteFilePath());
    AddRecentFile(child->PathName());
    UpdateTitle();
    UpdateCommandUi();
    return true;
}

void CMainFrame::CloseAllDocuments() {
    for (CChildFrame* child : Children()) {
        // A window whose run is under way stays, with the close guard's word.
        if (child->View().IsBusy() || child->Document().runInProgress) {
            Prompts().Message(this, QStringLiteral("Webquill"), ShownText(CQuilletDoc::CloseGuardText()),
                              PromptIcon::None, PromptButtons::Ok);
            continue;
        }
        child->CloseDiscarding();
    }
    UpdateCommandUi();
}

void CMainFrame::OnOpen() {
    FileDialogRequest request;
    request.caption = QStringLiteral("Open");
    request.filters = {QString::fromLatin1(kSavedLogFilter), QStringLiteral("All Files (*)")};
    const QString path = Prompts().ChooseFile(this, request);
    if (!path.isEmpty()) OpenDocumentFile(path);
}

void CMainFrame::OnPrint() {
    CChildFrame* child = ActiveChild();
    if (!child) return;
    const int pages = child->View().PreparePrinting(m_printer);
    if (pages == 0) return;
    QPrintDialog dialog(&m_printer, this);
    dialog.setMinMax(1, pages);
    dialog.setFromTo(1, pages);
    if (dialog.exec() == QDialog::Accepted) child->View().PrintTo(m_printer);
}

void CMainFrame::OnPrintPreview() {
    CChildFrame* child = ActiveChild();
    if (!child || child->View().PreparePrinting(m_printer) == 0) return;
    QPrintPreviewDialog preview(&m_printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [child](QPrinter* printer) { child->View().PrintTo(*printer); });
    preview.exec();
}

void CMainFrame::OnPrintSetup() {
    QPageSetupDialog dialog(&m_printer, this);
    CentreOnMainWindow(&dialog, this);
    dialog.exec();
}

void CMainFrame::OnAbout() {
    CAboutDlg about(ShownText(m_app.AboutText()), this);
    about.exec();
}

void CMainFrame::OnHelp(int context) { ShowHelpTopic(this, context); }

void CMainFrame::UpdateTitle() {
    // A maximized child window adds " - [its title]" to this title itself.
    CChildFrame* child = ActiveChild();
    setWindowTitle(child && !child->isMaximized() ? QStringLiteral("Webquill - %1").arg(child->Title())
                                                  : QStringLiteral("Webquill"));
}

void CMainFrame::UpdateCommandUi() {
    CChildFrame* child = ActiveChild();
    ShowMenuBar(!m_mdi->subWindowList().isEmpty());
    const bool hasLines = child && !child->Document().logLines.empty();
    for (Command c : {Command::Save, Command::SaveAs, Command::Print, Command::PrintPreview})
        Action(c)->setEnabled(hasLines);
    for (Command c : {Command::Close, Command::Synopsis, Command::Contents, Command::CloseAll, Command::Cascade,
                      Command::TileHorizontally, Command::TileVertically, Command::ArrangeIcons})
        Action(c)->setEnabled(child != nullptr);
    Action(Command::Upload)->setEnabled(child && !child->Document().createdFiles.empty());
    Action(Command::Options)->setEnabled(child != nullptr);
    Action(Command::ToolBar)->setChecked(!m_toolBar->isHidden());
    Action(Command::StatusBar)->setChecked(!statusBar()->isHidden());
    if (!child) {
        SetPaneText(0, QStringLiteral("Ready"));
        SetPaneText(1, QString());
    } else if (!child->View().IsBusy()) {
        child->View().ShowIdleStatus();
    }
    UpdateTitle();
}

void CMainFrame::LoadRecentFiles() {
    m_recentFiles.clear();
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const std::string path = m_app.Store().ReadString(kRecentFileSection, "File" + std::to_string(i));
        if (!path.empty()) m_recentFiles.append(QString::fromStdString(path));
    }
    RebuildRecentFileEntries();
}

void CMainFrame::SaveRecentFiles() {
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const std::string name = "File" + std::to_string(i);
        if (i <= m_recentFiles.size())
            m_app.Store().WriteString(kRecentFileSection, name, TypedBytes(m_recentFiles[i - 1]));
        else
            m_app.Store().Remove(kRecentFileSection, name);
    }
}

void CMainFrame::AddRecentFile(const QString& path) {
    m_recentFiles.removeIf([&path](const QString& listed) { return SameFile(listed, path); });
    m_recentFiles.prepend(path);
    while (m_recentFiles.size() > kRecentFileCount) m_recentFiles.removeLast();
    SaveRecentFiles();
    RebuildRecentFileEntries();
}

void CMainFrame::RebuildRecentFileEntries() {
    for (QAction* entry : m_recentEntries) {
        for (QMenu* menu : {m_fileMenuNoLog, m_fileMenuLog}) menu->removeAction(entry);
        delete entry;
    }
    m_recentEntries.clear();
    if (m_recentFiles.isEmpty()) {
        auto* placeholder = new QAction(tr("Recent File"), this);
        placeholder->setEnabled(false);
        m_recentEntries.append(placeholder);
    }
    for (int i = 0; i < m_recentFiles.size(); ++i) {
        auto* entry = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(m_recentFiles[i]), this);
        entry->setStatusTip(QStringLiteral("Open this document"));
        const QString path = m_recentFiles[i];
        connect(entry, &QAction::triggered, this, [this, path] { OpenDocumentFile(path); });
        m_recentEntries.append(entry);
    }
    for (QMenu* menu : {m_fileMenuNoLog, m_fileMenuLog}) {
        QAction* marker = nullptr;
        for (QAction* a : menu->actions())
            if (a->objectName() == QLatin1String("recentFiles")) marker = a;
        const QList<QAction*> actions = menu->actions();
        const qsizetype at = actions.indexOf(marker);
        QAction* before = at + 1 < actions.size() ? actions[at + 1] : nullptr;
        menu->insertActions(before, m_recentEntries);
    }
}

ShowState CMainFrame::RestorePlacement() {
    if (!m_placementRestorePending) return ShowState::Normal;
    m_placementRestorePending = false;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 800, 600);
    const WindowPlacement placement = ReadWindowPlacement(m_app.Store(), area.width(), area.height());
    const PixelRect& r = placement.normal;
    setGeometry(r.left, r.top, r.Width(), r.Height());
    m_toolBar->setVisible(placement.toolBarVisible);
    statusBar()->setVisible(placement.statusBarVisible);
    if (placement.show == ShowState::Minimized) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setWindowState(placement.restoreToMaximized ? Qt::WindowMinimized | Qt::WindowMaximized
                                                    : Qt::WindowMinimized);
    } else if (placement.show == ShowState::Maximized) {
        setWindowState(Qt::WindowMaximized);
    }
    UpdateCommandUi();
    return placement.show;
}

void CMainFrame::ShowWithPlacement(ShowState state) {
    switch (state) {
        case ShowState::Minimized: show(); break;
        case ShowState::Maximized: showMaximized(); break;
        case ShowState::Normal: show(); break;
    }
    // The first window was made before the frame had its size.
    layout()->activate();
    FollowAreaSize(m_mdi);
    update();
}

void CMainFrame::SavePlacement() {
    const Qt::WindowStates state = windowState();
    ShowState shown = ShowState::Normal;
    if (state & Qt::WindowMinimized) shown = ShowState::Minimized;
    else if (state & Qt::WindowMaximized) shown = ShowState::Maximized;
    SaveWindowPlacement(m_app.Store(), shown, (state & Qt::WindowMaximized) != 0, ToPixelRect(normalGeometry()),
                        !m_toolBar->isHidden(), !statusBar()->isHidden());
    m_app.Store().WriteString(kBarStateSection, "State", saveState().toBase64().toStdString());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    SavePlacement();
    m_mdi->closeAllSubWindows();
    if (!m_mdi->subWindowList().isEmpty()) {
        event->ignore();
        UpdateCommandUi();
        return;
    }
    QMainWindow::closeEvent(event);
    // Exit ends the program, also with the help window open.
    CloseHelpWindow();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) OpenDocumentFile(url.toLocalFile());
    event->acceptProposedAction();
}

}  // namespace webquill
