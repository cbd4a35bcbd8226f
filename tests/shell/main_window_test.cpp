// Start-up, placement, menus, enabling and the status panes of the main
// window, driven through the real application object and settings store.
#include <QAction>
#include <QDialog>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QApplication>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "child_frame.h"
#include "main_frame.h"
#include "quillet_app.h"
#include "quillet_doc.h"
#include "quillet_view.h"
#include "settings_store.h"
#include "widget_test_support.h"

using namespace webquill;
using namespace webquill::test;

namespace {
QStringList MenuTitles(QMainWindow* window) {
    QStringList titles;
    for (QAction* action : window->menuBar()->actions()) titles << action->text();
    return titles;
}

void Store(const char* section, const char* name, const char* value) {
    CSettingsStore().WriteString(section, name, value);
}

QString Stored(const char* section, const char* name) {
    return QString::fromStdString(CSettingsStore().ReadString(section, name));
}
}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    CQuilletApp* app() { return CQuilletApp::Instance(); }
    CMainFrame* frame() { return app()->MainFrame(); }
    std::unique_ptr<CScriptedPrompts> m_prompts;
    std::unique_ptr<CDialogAnswerer> m_cancelDialogs;

    void Start(QStringList arguments = {}) {
        arguments.prepend(QStringLiteral("webquill"));
        QVERIFY(app()->InitInstance(arguments));
    }

private slots:
    void init() {
        ClearSettingsStore();
        m_prompts = std::make_unique<CScriptedPrompts>();
        // The publish dialog that a new window offers is cancelled.
        m_cancelDialogs = std::make_unique<CDialogAnswerer>([](QDialog* d) {
            d->reject();
            return true;
        });
    }
    void cleanup() {
        app()->EndInstance();
        m_cancelDialogs.reset();
        m_prompts.reset();
    }

    void startsAtTheDefaultPlacementWithBothBars() {
        Start();
        QCOMPARE(frame()->geometry(), QRect(19, 72, 657, 377));
        QVERIFY(!frame()->isMinimized() && !frame()->isMaximized());
        QVERIFY(frame()->ToolBar()->isVisible());
        QVERIFY(frame()->statusBar()->isVisible());
        QCOMPARE(frame()->Children().size(), 1);
        QCOMPARE(frame()->Children().first()->Title(), QStringLiteral("Quille1"));
        QCOMPARE(frame()->windowTitle(), QStringLiteral("Webquill - Quille1"));
    }

    void storedPlacementIsClippedToTheScreen_data() {
        QTest::addColumn<QString>("coordinates");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("left of the screen") << "-020 0010 0500 0400" << QRect(0, 10, 520, 390);
        QTest::newRow("fits") << "0100 0050 0600 0450" << QRect(100, 50, 500, 400);
        QTest::newRow("below the foot") << "0010 0400 0410 0900" << QRect(10, 300, 400, 500);
        QTest::newRow("right of the screen") << "0600 0010 1000 0310" << QRect(400, 10, 400, 300);
    }
    void storedPlacementIsClippedToTheScreen() {
        QFETCH(QString, coordinates);
        QFETCH(QRect, expected);
        Store("Last Window Data", "Coordinates", coordinates.toLatin1().constData());
        Start();
        const QSize screen = frame()->screen()->geometry().size();
        QCOMPARE(screen, QSize(800, 800));  // the offscreen platform's screen
        // A window is never smaller than its minimum size.
        expected.setWidth(std::max(expected.width(), 300));
        expected.setHeight(std::max(expected.height(), 220));
        QCOMPARE(frame()->geometry(), expected);
    }

    void minimizedFromMaximizedRestoresMaximized() {
        Store("Last Window Data", "Iconized", "1");
        Store("Last Window Data", "Maximized", "1");
        Start();
        QVERIFY(frame()->windowState() & Qt::WindowMinimized);
        QVERIFY(frame()->windowState() & Qt::WindowMaximized);
        QVERIFY(frame()->testAttribute(Qt::WA_ShowWithoutActivating));
    }

    void barsShownOnlyForExactlyOne_data() {
        QTest::addColumn<QString>("toolBar");
        QTest::addColumn<QString>("statusLine");
        QTest::addColumn<bool>("toolBarShown");
        QTest::addColumn<bool>("statusShown");
        QTest::newRow("hidden") << "0" << "1" << false << true;
        QTest::newRow("any other value") << "yes" << "2" << false << false;
        QTest::newRow("shown") << "1" << "0" << true << false;
    }
    void barsShownOnlyForExactlyOne() {
        QFETCH(QString, toolBar);
        QFETCH(QString, statusLine);
        Store("Last Window Data", "ToolBar", toolBar.toLatin1().constData());
        Store("Last Window Data", "StatusLine", statusLine.toLatin1().constData());
        Start();
        QTEST(frame()->ToolBar()->isVisible(), "toolBarShown");
        QTEST(frame()->statusBar()->isVisible(), "statusShown");
        QTEST(frame()->Action(Command::ToolBar)->isChecked(), "toolBarShown");
    }

    void placementIsSavedOnClose() {
        Start();
        frame()->setGeometry(40, 60, 500, 300);
        frame()->ToolBar()->hide();
        frame()->close();
        QCOMPARE(Stored("Last Window Data", "Coordinates"), QStringLiteral("0040 0060 0540 0360"));
        QCOMPARE(Stored("Last Window Data", "Iconized"), QStringLiteral("0"));
        QCOMPARE(Stored("Last Window Data", "Maximized"), QStringLiteral("0"));
        QCOMPARE(Stored("Last Window Data", "ToolBar"), QStringLiteral("0"));
        QCOMPARE(Stored("Last Window Data", "StatusLine"), QStringLiteral("1"));
        QVERIFY(!Stored("BarState", "State").isEmpty());
    }

    void refusesToBecomeSmallerThanItsMinimum() {
        Start();
        frame()->resize(100, 100);
        QCOMPARE(frame()->size(), QSize(300, 220));
    }

    void menuBarsFollowWhetherALogWindowIsOpen() {
        Start();
        QCOMPARE(MenuTitles(frame()), QStringList({"&File", "&Tools", "&View", "&Window", "&Help"}));
        frame()->Children().first()->close();
        QTRY_VERIFY(frame()->Children().isEmpty());
        QTRY_COMPARE(MenuTitles(frame()), QStringList({"&File", "&View", "&Help"}));
        // With no log window, Print is off and the panes say so.
        QVERIFY(!frame()->Action(Command::Print)->isEnabled());
        QVERIFY(!frame()->Action(Command::Contents)->isEnabled());
        QVERIFY(!frame()->Action(Command::Upload)->isEnabled());
        QCOMPARE(frame()->PaneText(0), QStringLiteral("Ready"));
        QCOMPARE(frame()->PaneText(1), QString());
        frame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame()));
        QTest::keyClick(frame(), Qt::Key_N, Qt::ControlModifier);
        QTRY_COMPARE(frame()->Children().size(), 1);
        QCOMPARE(frame()->Children().first()->Title(), QStringLiteral("Quille2"));
        QCOMPARE(MenuTitles(frame()), QStringList({"&File", "&Tools", "&View", "&Window", "&Help"}));
    }

    void everyCommandHasItsPromptAndToolTip_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("tip");
        auto row = [](Command c, const char* text, const char* prompt, const char* tip) {
            QTest::newRow(text) << int(c) << text << prompt << tip;
        };
        row(Command::New, "&New", "Create a new WWW document", "New");
        row(Command::Open, "&Open...", "Open a saved log display", "Open");
        row(Command::Close, "&Close", "Close the active log window", "Close");
        row(Command::Save, "&Save", "Save the log window's contents to file", "Save");
        row(Command::SaveAs, "Save &As...", "Save the log window's contents with a new name", "Save As");
        row(Command::Print, "&Print...", "Print the log window's contents", "Print");
        row(Command::PrintPreview, "Print Pre&view", "Display full pages", "Print Preview");
        row(Command::PrintSetup, "P&rint Setup...", "Change the printer and printing options", "Print Setup");
        row(Command::Exit, "E&xit", "Quit the application", "Exit");
        row(Command::Options, "&Options...", "Application Options\\Preferences", "Options");
        row(Command::Upload, "&Upload...", "Upload (ftp) files to server", "Upload");
        row(Command::ToolBar, "&Toolbar", "Show or hide the toolbar", "Toggle ToolBar");
        row(Command::StatusBar, "&Status Bar", "Show or hide the status bar", "Toggle StatusBar");
        row(Command::CloseAll, "C&lose All ", "Close All log windows", "Close All");
        row(Command::About, "&About Quillet...", "Display program information, version number and copyright",
            "About");
        row(Command::Synopsis, "&Synopsis...", "Application's Synopsis", "Synopsis");
        row(Command::Contents, "&Contents...", "Table of Contents", "Contents");
    }
    void everyCommandHasItsPromptAndToolTip() {
        QFETCH(int, command);
        Start();
        QAction* action = frame()->Action(Command(command));
        QTEST(action->text(), "text");
        QTEST(action->statusTip(), "prompt");
        QTEST(action->toolTip(), "tip");
    }

    void shortcutsAndEnablingWithAnEmptyLog() {
        Start();
        QCOMPARE(frame()->Action(Command::New)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
        QCOMPARE(frame()->Action(Command::Open)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
        QCOMPARE(frame()->Action(Command::Save)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(frame()->Action(Command::Print)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
        // An empty log has nothing to save or print.
        QVERIFY(!frame()->Action(Command::Save)->isEnabled());
        QVERIFY(!frame()->Action(Command::Print)->isEnabled());
        QVERIFY(frame()->Action(Command::Contents)->isEnabled());
        QCOMPARE(frame()->PaneText(0), QStringLiteral("Ready"));
        QCOMPARE(frame()->PaneText(1), QStringLiteral("0 Lines"));
        QStringList toolbar;
        for (QAction* a : frame()->ToolBar()->actions()) toolbar << (a->isSeparator() ? "|" : a->toolTip());
        QCOMPARE(toolbar, QStringList({"New", "Open", "Save", "|", "Upload", "|", "Print", "|", "Contents"}));
    }

    void fileOnTheCommandLineOnlyNamesTheRuleFile() {
        QTemporaryDir dir;
        const QString log = dir.filePath("old.prl");
        WriteWholeFile(log, "a line\r\nanother\r\n");
        Start({dir.filePath("site.rul")});
        QVERIFY(app()->CommandLineFileFlag());
        QCOMPARE(frame()->Children().size(), 1);
        CQuilletDoc& doc = frame()->Children().first()->Document();
        QCOMPARE(QString::fromStdString(doc.ruleFilePath), dir.filePath("site.rul"));
        QVERIFY(doc.logLines.empty());
        // While the program runs, a later open reads nothing either.
        CChildFrame* opened = frame()->OpenDocumentFile(log);
        QVERIFY(opened);
        QVERIFY(opened->Document().logLines.empty());
        QCOMPARE(QString::fromStdString(opened->Document().ruleFilePath), log);
    }

    void recentFileListKeepsFourSavedLogs() {
        QTemporaryDir dir;
        Start();
        for (int i = 1; i <= 5; ++i) {
            const QString path = dir.filePath(QStringLiteral("log%1.prl").arg(i));
            WriteWholeFile(path, "line\r\n");
            QVERIFY(frame()->OpenDocumentFile(path));
        }
        QCOMPARE(Stored("Recent File List", "File1"), dir.filePath("log5.prl"));
        QCOMPARE(Stored("Recent File List", "File4"), dir.filePath("log2.prl"));
        QCOMPARE(frame()->RecentFiles().size(), 4);
    }

    void closeAllDiscardsWindowsWithoutAsking() {
        QTemporaryDir dir;
        Start();
        const QString path = dir.filePath("a.prl");
        WriteWholeFile(path, "one\r\ntwo\r\n");
        CChildFrame* opened = frame()->OpenDocumentFile(path);
        QVERIFY(opened);
        opened->Document().modified = true;  // would otherwise ask to save
        frame()->NewDocument();
        frame()->CloseAllDocuments();
        QTRY_VERIFY(frame()->Children().isEmpty());
        QVERIFY(m_prompts->messages.empty());
    }

    void droppedFilesOpenAsLogWindows() {
        QTemporaryDir dir;
        Start();
        WriteWholeFile(dir.filePath("a.prl"), "first\r\n");
        WriteWholeFile(dir.filePath("b.prl"), "second\r\nthird\r\n");
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(dir.filePath("a.prl")), QUrl::fromLocalFile(dir.filePath("b.prl"))});
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame(), &drop);
        QCOMPARE(frame()->Children().size(), 3);
        QCOMPARE(frame()->Children().last()->Document().logLines.size(), size_t(2));
        QCOMPARE(frame()->ActiveChild()->Title(), QStringLiteral("b.prl"));
        QTRY_COMPARE(frame()->ActiveChild()->View().ShownLineCount(), 2);
    }

    void openingAFileThatIsNotALogSaysSo() {
        QTemporaryDir dir;
        Start();
        const QString empty = dir.filePath("empty.prl");
        WriteWholeFile(empty, "");
        QVERIFY(!frame()->OpenDocumentFile(empty));
        QVERIFY(!frame()->OpenDocumentFile(dir.filePath("missing.prl")));
        QCOMPARE(int(m_prompts->messages.size()), 2);
        QVERIFY(m_prompts->messages[0].text.contains("is NOT a text file!"));
        QCOMPARE(m_prompts->messages[0].icon, PromptIcon::Stop);
        QCOMPARE(m_prompts->messages[1].text, QStringLiteral("Failed to open document."));
        QCOMPARE(frame()->Children().size(), 1);
    }
};

int main(int argc, char** argv) {
    CQuilletApp app(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_window_test.moc"
