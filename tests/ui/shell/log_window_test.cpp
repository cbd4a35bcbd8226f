// The log window: a real run from the publish dialog on the example site,
// compared with what webquill-publish writes; the close guard; saved logs
// in and out; printing; opening a line's file.
#include <QPrinter>
#include <QtTest>
#include <QtWidgets>

#include "ui/shell/child_frame.h"
#include "ui/shell/log_list.h"
#include "ui/shell/main_frame.h"
#include "ui/editor/publish_dialog.h"
#include "ui/shell/quillet_app.h"
#include "core/shell/quillet_doc.h"
#include "ui/shell/quillet_view.h"
#include "platform/storage/settings_store.h"
#include "tests/ui/widget_test_support.h"

using namespace webquill;
using namespace webquill::test;

namespace {
QStringList Lines(const std::vector<std::string>& lines) {
    QStringList list;
    for (const std::string& line : lines) list << QString::fromStdString(line);
    return list;
}
}  // namespace

class LogWindowTest : public QObject {
    Q_OBJECT

    CMainFrame* frame() { return CQuilletApp::Instance()->MainFrame(); }
    std::unique_ptr<CScriptedPrompts> m_prompts;
    QTemporaryDir m_dir;
    QString m_site, m_savedCwd;
    int m_logs = 0;

    // A new window whose publish dialog a user answers with `ruleFile` (typed,
    // Tab, Start); returns once its run has finished. `duringRun` is called
    // once, when the run has written its first line and drains messages.
    CChildFrame* PublishInNewWindow(const std::function<void(CChildFrame*)>& duringRun,
                                    const QString& ruleFile = QStringLiteral("manual.rul")) {
        CDialogAnswerer answer([ruleFile](QDialog* d) {
            auto* dialog = qobject_cast<CPublishDlg*>(d);
            // Focus moves, and so the Start enabling, only reach an active dialog.
            if (!dialog || !dialog->isActiveWindow()) return d->activateWindow(), false;
            dialog->RuleFileCombo()->setFocus();
            QTest::keyClicks(dialog->RuleFileCombo(), ruleFile);
            QTest::keyClick(dialog->RuleFileCombo(), Qt::Key_Tab);
            QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
            return true;
        });
        CChildFrame* child = frame()->NewDocument();
        QTimer watch;
        bool seen = false;
        connect(&watch, &QTimer::timeout, [&] {
            if (seen || child->Document().logLines.empty() || !child->View().IsBusy()) return;
            seen = true;
            duringRun(child);
        });
        watch.start(5);
        QSignalSpy finished(&child->View(), &CQuilletView::RunFinished);
        return finished.wait(60000) ? child : nullptr;
    }

    CChildFrame* OpenLog(const QByteArray& contents) {
        const QString path = m_dir.filePath(QStringLiteral("window%1.prl").arg(++m_logs));
        WriteWholeFile(path, contents);
        CChildFrame* child = frame()->OpenDocumentFile(path);
        if (child) (void)QTest::qWaitFor([&] { return child->View().ShownLineCount() > 0; }, 10000);
        return child;
    }

private slots:
    void initTestCase() {
        ClearSettingsStore();
        m_savedCwd = QDir::currentPath();
        // The example site is copied so that its ../out folder lands here too.
        QProcess::execute("cp", {"-r", WEBQUILL_SOURCE_DIR "/examples", m_dir.path()});
        m_site = m_dir.filePath("examples");
        QDir::setCurrent(m_site);
        m_prompts = std::make_unique<CScriptedPrompts>();
        CDialogAnswerer cancel([](QDialog* d) { return d->reject(), true; });
        QVERIFY(CQuilletApp::Instance()->InitInstance({"webquill"}));
        QTRY_COMPARE(cancel.answered, 1);
    }
    void cleanupTestCase() {
        QDir::setCurrent(m_savedCwd);
        CQuilletApp::Instance()->EndInstance();
    }
    void init() {
        m_prompts.reset();
        m_prompts = std::make_unique<CScriptedPrompts>();
    }
    void cleanup() { frame()->CloseAllDocuments(); }

    // The rule file lies in another folder than the program's: webquill-publish
    // and the window read and write that folder's files, and log the same
    // lines, with the paths as written. Mid-run, Close and Close All leave the
    // running window alone. Then a double click on a summary line starts the
    // editor (a script recording its arguments) with the file the run wrote;
    // the right button starts the web browser the same way.
    void runFromThePublishDialogWritesWhatTheProgramWrites() {
        const QString rule = m_site + "/manual.rul", elsewhere = m_dir.filePath("elsewhere");
        const QString page = m_dir.filePath("out/example/page000.htm");
        QVERIFY(QDir(m_dir.path()).mkpath("elsewhere"));
        QProcess program;
        program.setWorkingDirectory(elsewhere);
        program.start(WEBQUILL_PUBLISH_PATH, {rule});
        QVERIFY(program.waitForFinished(60000));
        QStringList expected = QString::fromUtf8(program.readAllStandardOutput()).split('\n');
        QVERIFY(expected.size() > 20 && expected.takeLast().isEmpty());  // every line ends in a line feed
        QVERIFY(expected.contains(QStringLiteral("                    Header File -> templates/header.htm")));
        QVERIFY(QFile::remove(page));

        const QString record = m_dir.filePath("editor-arguments.txt"), editor = m_dir.filePath("editor.sh");
        WriteWholeFile(editor, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + record.toUtf8() + "'\n");
        QFile::setPermissions(editor, QFile::permissions(editor) | QFile::ExeOwner);
        CSettingsStore().WriteString("Preferences", "Editor", editor.toStdString());
        QPointer<CChildFrame> running;
        bool closedDuringRun = true, everyLineShown = false;
        QDir::setCurrent(elsewhere);
        CChildFrame* child = PublishInNewWindow(
            [&](CChildFrame* mid) {
                running = mid;
                // The list already holds every line written so far.
                everyLineShown = mid->View().ShownLineCount() == int(mid->Document().logLines.size());
                closedDuringRun = mid->close();
                frame()->CloseAllDocuments();
            },
            rule);
        QDir::setCurrent(m_site);
        CSettingsStore().Remove("Preferences", "Editor");
        QVERIFY(QFile::exists(page) && QDir(elsewhere).isEmpty());
        QVERIFY(child && running && !closedDuringRun && everyLineShown);
        const QString guard = QStringLiteral("Currently processing file.  Won't CLOSE until processing is COMPLETE!\n");
        // Once for Close, once for Close All, which closed the first window.
        QCOMPARE(int(m_prompts->messages.size()), 2);
        QCOMPARE(m_prompts->messages[0].text, guard);
        QCOMPARE(m_prompts->messages[1].text, guard);
        QCOMPARE(frame()->Children(), QList<CChildFrame*>{child});

        CQuilletDoc& doc = child->Document();
        QCOMPARE(Lines(doc.logLines), expected);
        QCOMPARE(child->View().ShownLineCount(), int(doc.logLines.size()));
        QCOMPARE(child->View().SelectedLine(), 0);
        QVERIFY(!doc.runInProgress && !doc.createdFiles.empty());
        QCOMPARE(CSettingsStore().ReadString("Recent Rule Files", "RuleFile1"), rule.toStdString());
        QVERIFY(frame()->Action(Command::Save)->isEnabled());
        QCOMPARE(frame()->PaneText(0) + '|' + frame()->PaneText(1),
                 QStringLiteral("Ready|%1 Lines").arg(doc.logLines.size()));

        const int summary = int(Lines(doc.logLines).indexOf(QRegularExpression(".*1\\) \\.\\.\\. page000\\.htm.*")));
        QVERIFY(summary >= 0);
        CLogListBox* list = child->View().ListBox();
        list->scrollTo(list->model()->index(summary, 0));
        const QPoint at = list->visualRect(list->model()->index(summary, 0)).center();
        m_prompts->reallyStartPrograms = true;
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        const QString written = m_site + "/../out/example/page000.htm";
        QTRY_COMPARE_WITH_TIMEOUT(ReadWholeFile(record), written.toUtf8() + '\n', 10000);
        QCOMPARE(m_prompts->started.size(), size_t(1));
        QCOMPARE(m_prompts->started[0].program, editor);
        m_prompts->reallyStartPrograms = false;
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, at);
        QCOMPARE(m_prompts->beeps, 1);  // no web browser set
        doc.webBrowserProgram = "my-browser";
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, at);
        QCOMPARE(m_prompts->started.size(), size_t(2));
        QCOMPARE(m_prompts->started[1].program, QStringLiteral("my-browser"));
        QCOMPARE(m_prompts->started[1].arguments, QStringList{written});
        child->View().SelectLine(int(expected.indexOf(QRegularExpression(".*Header File -> .*"))));
        child->View().OpenLineTarget(LineTarget::Editor);
        QCOMPARE(m_prompts->started.back().arguments, QStringList{m_site + "/templates/header.htm"});
        QVERIFY(child->close());
    }

    // A run's box in the window: a command error with the warning icon. (How
    // many boxes a run shows is the engine's, held by its suites.)
    void runBoxes() {
        WriteWholeFile(m_dir.filePath("a.htm"), "<html>\r\n<body>\r\n</body>\r\n</html>\r\n");
        WriteWholeFile(m_dir.filePath("boxes.rul"),
                       "&Header:\r\nDocument: a.htm\r\nWWWFileName: out/a.htm\r\n&Commands:\r\nAdd nothing\r\n");
        QVERIFY(PublishInNewWindow([](CChildFrame*) {}, m_dir.filePath("boxes.rul")));
        QCOMPARE(int(m_prompts->messages.size()), 1);
        QVERIFY2(m_prompts->messages[0].text.startsWith("'Add' Command Error:"), qPrintable(m_prompts->messages[0].text));
        QCOMPARE(m_prompts->messages[0].icon, PromptIcon::Warning);
    }

    void windowStaysWhileItsPublishDialogIsUp() {
        CChildFrame* child = nullptr;
        bool closed = true;
        CDialogAnswerer answer([&](QDialog* d) {
            closed = child->close();
            return d->reject(), true;
        });
        child = frame()->NewDocument();
        QTRY_COMPARE(answer.answered, 1);
        QVERIFY(!closed);
        QCOMPARE(m_prompts->messages.size(), size_t(1));
        QTRY_VERIFY(!child->View().IsBusy());
        QVERIFY(child->close());
    }

    // From the keyboard: Enter opens the selected line's file in the editor,
    // the context menu key and Shift+F10 offer the editor and the browser;
    // the right button's context menu event offers nothing. A line that names
    // no file beeps.
    void keyboardOpensTheLinesFile() {
        CChildFrame* child = OpenLog("       3) ... x002.htm\r\nFiles Successfully Published:\r\n");
        QVERIFY(child);
        child->Document().editorProgram = "my-editor";
        child->Document().webBrowserProgram = "my-browser";
        CLogListBox* list = child->View().ListBox();
        QString chosen;
        auto choose = [&](const QString& entry) {
            QTimer::singleShot(50, [&chosen, entry] {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                for (QAction* a : menu ? menu->actions() : QList<QAction*>()) {
                    chosen += a->text() + ';';
                    if (a->text() == entry) a->trigger();
                }
                if (menu) menu->close();
            });
        };
        QTest::keyClick(list, Qt::Key_Return);
        choose("Open in Web Browser");
        QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
        choose("Open in Editor");
        const QPoint at(5, 5);
        QContextMenuEvent key(QContextMenuEvent::Keyboard, at, list->mapToGlobal(at));
        QApplication::sendEvent(list, &key);
        QContextMenuEvent mouse(QContextMenuEvent::Mouse, at, list->mapToGlobal(at));
        QApplication::sendEvent(list, &mouse);
        QCOMPARE(chosen, QStringLiteral("Open in Editor;Open in Web Browser;").repeated(2));
        QStringList started;
        for (const StartedProgram& p : m_prompts->started) started << p.program + ' ' + p.arguments.join(' ');
        const QString page = m_dir.filePath("x002.htm");  // beside the log: it names no rule file
        QCOMPARE(started, QStringList({"my-editor " + page, "my-browser " + page, "my-editor " + page}));
        child->View().SelectLine(1);
        QTest::keyClick(list, Qt::Key_Enter);
        QCOMPARE(m_prompts->beeps, 1);
        // The editor setting is split as a shell splits it (a failed start's
        // words are the command pages' test).
        child->Document().editorProgram = "'/no such/ed' --new-window";
        child->View().SelectLine(0);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(m_prompts->started.back().program, QStringLiteral("/no such/ed"));
        QCOMPARE(m_prompts->started.back().arguments, QStringList({"--new-window", m_dir.filePath("x002.htm")}));
    }

    // 80 lines fit on a printed page, inside margins of 15 mm at least; a
    // line wider than the page goes on over the next rows, at a readable
    // pitch, and lines that do not fit go to the next page.
    void printsEightyLinesAPage() {
        for (const auto& [lines, pages] : {std::pair{161, 3}, {80, 1}, {81, 2}}) {
            QByteArray log;
            for (int i = 1; i <= lines; ++i) log += "line " + QByteArray::number(i) + "\r\n";
            CChildFrame* child = OpenLog(log);
            QVERIFY(child);
            QCOMPARE(child->View().ShownLineCount(), lines);
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(m_dir.filePath("log.pdf"));
            QCOMPARE(child->View().PreparePrinting(printer), pages);
            child->View().PrintTo(printer);
            const QByteArray pdf = ReadWholeFile(m_dir.filePath("log.pdf"));
            QCOMPARE(int(pdf.count("/Type /Page") - pdf.count("/Type /Pages")), pages);
            const QMarginsF margins = printer.pageLayout().margins(QPageLayout::Millimeter);
            QVERIFY(std::min({margins.left(), margins.top(), margins.right(), margins.bottom()}) >= 15);
        }
        CChildFrame* child = OpenLog((QByteArray(320, 'x') + "\r\n").repeated(80));
        QVERIFY(child);
        QImage page(500, 700, QImage::Format_RGB32);
        page.fill(Qt::white);
        QVERIFY(child->View().Paginate(&page, page.rect()) >= 4);  // 80 lines of 5 rows or more
        QPainter painter(&page);
        child->View().PrintPage(painter, page.rect(), 1);
        painter.end();
        int bands = 0;  // runs of rows with ink, each a printed row
        for (int y = 0, inked = 0; y < page.height(); ++y) {
            bool ink = false;
            for (int x = 0; x < page.width() && !ink; ++x) ink = qGray(page.pixel(x, y)) < 128;
            bands += ink && !inked;
            inked = ink;
        }
        QVERIFY2(bands >= 60, qPrintable(QString::number(bands)));  // rows apart, one above the other
    }

    void savedLogRoundTripThroughTheWindow() {
        CChildFrame* child = OpenLog("first\r\n\r\nsecond line\nthird\r\nno line end");
        QVERIFY(child);
        QCOMPARE(Lines(child->Document().logLines), QStringList({"first", "second line", "third"}));
        m_prompts->chosenFiles << m_dir.filePath("saved.prl");
        QVERIFY(frame()->SaveDocument(child, true));
        QCOMPARE(ReadWholeFile(m_dir.filePath("saved.prl")), QByteArray("first\r\nsecond line\r\nthird\r\n"));
        QCOMPARE(child->Title(), QStringLiteral("saved.prl"));
        QCOMPARE(frame()->RecentFiles().first(), m_dir.filePath("saved.prl"));
    }
};

int main(int argc, char** argv) {
    CQuilletApp app(argc, argv);
    LogWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "log_window_test.moc"
