// Start-up, placement, menus, enabling and the status panes of the main
// window, driven through the real application object and settings store.
#include <QtTest>
#include <QtWidgets>

#include "ui/shell/child_frame.h"
#include "ui/editor/publish_dialog.h"
#include "platform/desktop/help_viewer.h"
#include "ui/shell/log_list.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/quillet_app.h"
#include "core/shell/quillet_doc.h"
#include "ui/shell/quillet_view.h"
#include "platform/storage/settings_store.h"
#include "tests/ui/widget_test_support.h"

using namespace webquill;
using namespace webquill::test;

namespace {
const char* kPlacement = "Last Window Data";

QStringList MenuTitles(QMainWindow* window) {
    QStringList titles;
    for (QAction* action : window->menuBar()->actions()) titles << action->text();
    return titles;
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
    QTemporaryDir m_dir;

    void Start(const QStringList& arguments = {}) { QVERIFY(app()->InitInstance(QStringList{"webquill"} + arguments)); }
    QString Log(const QString& name, const QByteArray& contents) {
        WriteWholeFile(m_dir.filePath(name), contents);
        return m_dir.filePath(name);
    }

private slots:
    void init() {
        ClearSettingsStore();
        m_prompts = std::make_unique<CScriptedPrompts>();
        // The publish dialog that a new window offers is cancelled.
        m_cancelDialogs = std::make_unique<CDialogAnswerer>([](QDialog* d) { return d->reject(), true; });
    }
    void cleanup() {
        app()->EndInstance();
        m_cancelDialogs.reset();
        m_prompts.reset();
    }

    // Without a stored placement; the menus, enabling and panes with an empty
    // log window and with none; a sample of the commands; the placement
    // stored on close.
    void startUpMenusAndCommands() {
        Start();
        QCOMPARE(frame()->geometry(), QRect(19, 72, 657, 377));
        QVERIFY(!frame()->isMinimized() && !frame()->isMaximized());
        QVERIFY(frame()->ToolBar()->isVisible() && frame()->statusBar()->isVisible());
        QCOMPARE(frame()->windowTitle(), QStringLiteral("Webquill - Quille1"));
        const QStringList logMenus = {"&File", "&Tools", "&View", "&Window", "&Help"};
        QCOMPARE(MenuTitles(frame()), logMenus);
        QStringList toolbar;
        for (QAction* a : frame()->ToolBar()->actions()) toolbar << (a->isSeparator() ? "|" : a->toolTip());
        QCOMPARE(toolbar, QStringList({"New", "Open", "Save", "|", "Upload", "|", "Print", "|", "Contents"}));
        // An empty log has nothing to save or print.
        QVERIFY(!frame()->Action(Command::Save)->isEnabled() && !frame()->Action(Command::Print)->isEnabled());
        QVERIFY(frame()->Action(Command::Contents)->isEnabled());
        QCOMPARE(frame()->PaneText(0) + '|' + frame()->PaneText(1), QStringLiteral("Ready|0 Lines"));

        frame()->Children().first()->close();
        QTRY_COMPARE(MenuTitles(frame()), QStringList({"&File", "&View", "&Help"}));
        for (Command off : {Command::Print, Command::Contents, Command::Upload})
            QVERIFY(!frame()->Action(off)->isEnabled());
        QCOMPARE(frame()->PaneText(0) + '|' + frame()->PaneText(1), QStringLiteral("Ready|"));
        frame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame()));
        QTest::keyClick(frame(), Qt::Key_N, Qt::ControlModifier);
        QTRY_COMPARE(frame()->Children().size(), 1);
        QCOMPARE(frame()->Children().first()->Title(), QStringLiteral("Quille2"));
        QCOMPARE(MenuTitles(frame()), logMenus);

        // Text, status bar prompt, tooltip and shortcut.
        for (const auto& [command, texts] : QList<std::pair<Command, QStringList>>{
                 {Command::New, {"&New", "Create a new WWW document", "New", "Ctrl+N"}},
                 {Command::Open, {"&Open...", "Open a saved log display", "Open", "Ctrl+O"}},
                 {Command::Save, {"&Save", "Save the log window's contents to file", "Save", "Ctrl+S"}},
                 {Command::Print, {"&Print...", "Print the log window's contents", "Print", "Ctrl+P"}},
                 {Command::Options, {"&Options...", "Application Options\\Preferences", "Options", ""}},
                 {Command::CloseAll, {"C&lose All ", "Close All log windows", "Close All", ""}},
                 {Command::About,
                  {"&About Quillet...", "Display program information, version number and copyright", "About", ""}}}) {
            QAction* a = frame()->Action(command);
            QCOMPARE(QStringList({a->text(), a->statusTip(), a->toolTip(), a->shortcut().toString()}), texts);
        }

        frame()->setGeometry(40, 60, 500, 300);
        frame()->ToolBar()->hide();
        frame()->close();
        QStringList stored;
        for (const char* name : {"Coordinates", "Iconized", "Maximized", "ToolBar", "StatusLine"})
            stored << Stored(kPlacement, name);
        QCOMPARE(stored, QStringList({"0040 0060 0540 0360", "0", "0", "0", "1"}));
        QVERIFY(!Stored("BarState", "State").isEmpty());
    }

    // The offscreen platform's screen is 800 by 800; the clipping itself is
    // the placement store's.
    void storedPlacementIsClippedAndApplied_data() {
        QTest::addColumn<QString>("coordinates");
        QTest::addColumn<QStringList>("bars");  // ToolBar and StatusLine as stored
        QTest::addColumn<QRect>("expected");
        QTest::newRow("left of the screen") << "-020 0010 0500 0400" << QStringList{"0", "1"} << QRect(0, 10, 520, 390);
        QTest::newRow("right of the screen") << "0600 0010 1000 0310" << QStringList{"", "yes"}
                                             << QRect(400, 10, 400, 300);
        QTest::newRow("below the minimum size") << "0010 0010 0110 0110" << QStringList{"1", "1"}
                                                << QRect(10, 10, 300, 220);
    }
    void storedPlacementIsClippedAndApplied() {
        QFETCH(QString, coordinates);
        QFETCH(QStringList, bars);
        CSettingsStore store;
        store.WriteString(kPlacement, "Coordinates", coordinates.toStdString());
        store.WriteString(kPlacement, "ToolBar", bars[0].toStdString());
        store.WriteString(kPlacement, "StatusLine", bars[1].toStdString());
        Start();
        QCOMPARE(frame()->screen()->geometry().size(), QSize(800, 800));
        QTEST(frame()->geometry(), "expected");
        auto shown = [](const QString& stored) { return stored == "1" || stored.isEmpty(); };
        QCOMPARE(frame()->ToolBar()->isVisible(), shown(bars[0]));
        QCOMPARE(frame()->Action(Command::ToolBar)->isChecked(), shown(bars[0]));
        QCOMPARE(frame()->statusBar()->isVisible(), shown(bars[1]));
    }

    // New log windows open inside the area, cascaded at the first one's size,
    // and Cascade puts them back so; the Window menu lists them; a maximized
    // one is named once in the title; a saved log opened again comes up.
    void childWindowsInTheArea() {
        Start();
        frame()->NewDocument();
        frame()->NewDocument();
        QTRY_COMPARE(m_cancelDialogs->answered, 3);
        const QList<CChildFrame*> children = frame()->Children();
        const QRect area = frame()->MdiArea()->viewport()->rect();
        auto cascaded = [&] {
            for (int i = 0; i < 3; ++i) {
                QVERIFY2(area.contains(children[i]->geometry()), qPrintable(QString::number(i)));
                QCOMPARE(children[i]->size(), children[0]->size());
                if (i > 0) QVERIFY(children[i]->y() > children[i - 1]->y() && children[i]->x() > children[i - 1]->x());
            }
            QVERIFY(children[0]->pos() == QPoint(0, 0) && children[0]->width() >= area.width() / 2);
        };
        cascaded();
        for (CChildFrame* child : children) child->setGeometry(300, 200, 120, 90);
        frame()->Action(Command::Cascade)->trigger();
        cascaded();

        QMenu* windowMenu = nullptr;
        for (QObject* o : frame()->Action(Command::Cascade)->associatedObjects())
            if (auto* menu = qobject_cast<QMenu*>(o)) windowMenu = menu;
        QVERIFY(windowMenu);
        emit windowMenu->aboutToShow();
        emit windowMenu->aboutToShow();  // listed once, however often shown
        QStringList listed;
        for (QAction* a : windowMenu->actions().mid(windowMenu->actions().size() - 3))
            listed << a->text() + (a->isChecked() ? "*" : "");
        QCOMPARE(listed, QStringList({"&1 Quille1", "&2 Quille2", "&3 Quille3*"}));
        windowMenu->actions()[windowMenu->actions().size() - 3]->trigger();
        QCOMPARE(frame()->ActiveChild(), children[0]);

        children[0]->showMaximized();
        QTRY_COMPARE(frame()->windowTitle(), QStringLiteral("Webquill - [Quille1]"));
        children[0]->showNormal();
        QTRY_COMPARE(frame()->windowTitle(), QStringLiteral("Webquill - Quille1"));

        const QString log = Log("once.prl", "line\r\n");
        CChildFrame* opened = frame()->OpenDocumentFile(log);
        frame()->MdiArea()->setActiveSubWindow(children[1]);
        QCOMPARE(frame()->OpenDocumentFile(log), opened);
        // The same log through a linked folder: the same window, one recent entry.
        QVERIFY(QFile::link(m_dir.path(), m_dir.filePath("linked")));
        QCOMPARE(frame()->OpenDocumentFile(m_dir.filePath("linked/once.prl")), opened);
        QCOMPARE(frame()->RecentFiles(), QStringList{log});
        QCOMPARE(frame()->Children().size(), 4);
        QCOMPARE(frame()->ActiveChild(), opened);

        // A new window takes the place a closed one left; five stand at five
        // places (which cover no title: the placement's suite); windows left
        // where they were placed follow the area's size (a frame maximized
        // after its first window opened).
        const QPoint freed = children[1]->pos();
        QVERIFY(children[1]->close());
        QCOMPARE(frame()->NewDocument()->pos(), freed);
        frame()->NewDocument();
        QTRY_COMPARE(m_cancelDialogs->answered, 5);
        QSet<std::pair<int, int>> places;
        for (CChildFrame* child : frame()->Children()) {
            QVERIFY(area.contains(child->geometry()));
            places.insert({child->x(), child->y()});
        }
        QCOMPARE(places.size(), 5);
        frame()->resize(frame()->size() + QSize(300, 200));
        QTRY_COMPARE(children[2]->width(), frame()->MdiArea()->viewport()->width() * 3 / 4);
    }

    // F1 opens the topic of the window with the focus; Exit with the help
    // window open ends the program.
    void helpKeyAndExit() {
        m_cancelDialogs = std::make_unique<CDialogAnswerer>([](QDialog* d) {
            if (!d->isActiveWindow()) return d->activateWindow(), false;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
            return d->reject(), true;
        });
        Start();
        QTRY_COMPARE(m_cancelDialogs->answered, 1);
        QCOMPARE(CurrentHelpContext(), kHelpPublishDialog);
        frame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame()));
        frame()->ActiveChild()->View().ListBox()->setFocus();
        QTest::keyClick(frame()->ActiveChild()->View().ListBox(), Qt::Key_F1);
        QCOMPARE(CurrentHelpContext(), kHelpContents);
        QVERIFY(HelpWindowForTests()->isVisible());

        QTimer::singleShot(0, frame()->Action(Command::Exit), &QAction::trigger);
        QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });  // the program would still run
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!frame()->isVisible() && !HelpWindowForTests()->isVisible());
    }

    // A rule file is offered by the first window's publish dialog; a saved
    // log (opened from a file manager) shows its lines.
    void fileOnTheCommandLineOnlyNamesTheRuleFile() {
        const QString log = Log("old.prl", "a line\r\nanother\r\n");
        QString offered;
        bool startEnabled = false;
        m_cancelDialogs = std::make_unique<CDialogAnswerer>([&](QDialog* d) {
            auto* publish = qobject_cast<CPublishDlg*>(d);
            if (!publish) return false;
            offered = publish->RuleFileText();
            startEnabled = publish->StartButton()->isEnabled();
            return publish->reject(), true;
        });
        Start({m_dir.filePath("site.rul")});
        QVERIFY(app()->CommandLineFileFlag());
        QCOMPARE(frame()->Children().size(), 1);
        CQuilletDoc& doc = frame()->Children().first()->Document();
        QCOMPARE(QString::fromStdString(doc.ruleFilePath), m_dir.filePath("site.rul"));
        QVERIFY(doc.logLines.empty());
        QTRY_COMPARE(offered, m_dir.filePath("site.rul"));
        QVERIFY(startEnabled);
        m_cancelDialogs = std::make_unique<CDialogAnswerer>([](QDialog* d) { return d->reject(), true; });
        // While the program runs, a later open reads nothing either.
        CChildFrame* opened = frame()->OpenDocumentFile(log);
        QVERIFY(opened && opened->Document().logLines.empty());
        QCOMPARE(QString::fromStdString(opened->Document().ruleFilePath), log);
        app()->EndInstance();

        Start({log});
        QVERIFY(!app()->CommandLineFileFlag());
        QCOMPARE(int(frame()->Children().first()->Document().logLines.size()), 2);
    }

    // Four saved logs are remembered; files that are no log say so; dropped
    // files open; Close All discards without asking.
    void openingSavedLogs() {
        Start();
        for (int i = 1; i <= 5; ++i)
            QVERIFY(frame()->OpenDocumentFile(Log(QStringLiteral("%1.prl").arg(i), "line\r\n")));
        QCOMPARE(frame()->RecentFiles().size(), 4);
        QCOMPARE(Stored("Recent File List", "File1"), m_dir.filePath("5.prl"));
        QCOMPARE(Stored("Recent File List", "File4"), m_dir.filePath("2.prl"));
        QVERIFY(!frame()->OpenDocumentFile(Log("empty.prl", "")));
        QVERIFY(!frame()->OpenDocumentFile(m_dir.filePath("missing.prl")));
        QCOMPARE(int(m_prompts->messages.size()), 2);
        QVERIFY(m_prompts->messages[0].text.endsWith("is NOT a text file!\n"));
        QCOMPARE(m_prompts->messages[0].icon, PromptIcon::Stop);
        QCOMPARE(m_prompts->messages[1].text, QStringLiteral("Failed to open document."));

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(Log("a.prl", "first\r\n")), QUrl::fromLocalFile(Log("b.prl", "2\r\n3\r\n"))});
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame(), &drop);
        QCOMPARE(frame()->Children().size(), 8);
        QCOMPARE(frame()->ActiveChild()->Title(), QStringLiteral("b.prl"));
        QTRY_COMPARE(frame()->ActiveChild()->View().ShownLineCount(), 2);

        frame()->ActiveChild()->Document().modified = true;  // would otherwise ask to save
        frame()->CloseAllDocuments();
        QTRY_VERIFY(frame()->Children().isEmpty());
        QCOMPARE(int(m_prompts->messages.size()), 2);
    }
};

int main(int argc, char** argv) {
    CQuilletApp app(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_window_test.moc"
