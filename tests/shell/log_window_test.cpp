// The log window: a real run from the publish dialog on the example site,
// compared with what webquill-publish writes; the close guard during a run;
// saved logs in and out; printing; opening a line's file.
#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "child_frame.h"
#include "log_list.h"
#include "main_frame.h"
#include "quillet_app.h"
#include "quillet_doc.h"
#include "quillet_view.h"
#include "settings_store.h"
#include "widget_test_support.h"

using namespace webquill;
using namespace webquill::test;

namespace {

// Copies the example site into `into`, so its ../out folder lands there too.
QString CopyExample(const QString& into) {
    const QString from = QStringLiteral(WEBQUILL_SOURCE_DIR "/examples");
    QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), from, into});
    return into + QStringLiteral("/examples");
}

// Answers the publish dialog the way a user would: types the rule file,
// leaves the box with Tab and presses Start.
bool TypeRuleFileAndStart(QDialog* dialog, const QString& ruleFile) {
    auto* combo = dialog->findChild<QComboBox*>();
    // Focus moves, and so the Start enabling, only reach an active dialog.
    if (!combo || !dialog->isActiveWindow()) {
        dialog->activateWindow();
        return false;
    }
    combo->setFocus();
    QTest::keyClicks(combo, ruleFile);
    QTest::keyClick(combo, Qt::Key_Tab);
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("&Start")) {
            QTest::mouseClick(button, Qt::LeftButton);
            return true;
        }
    return false;
}

QStringList PublishProgramLines(const QString& ruleFile, const QString& workDir) {
    QProcess program;
    program.setWorkingDirectory(workDir);
    program.start(QStringLiteral(WEBQUILL_PUBLISH_PATH), {ruleFile});
    program.waitForFinished(60000);
    QStringList lines = QString::fromUtf8(program.readAllStandardOutput()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

QStringList DocumentLines(const CQuilletDoc& doc) {
    QStringList lines;
    for (const std::string& line : doc.logLines) lines << QString::fromStdString(line);
    return lines;
}

int PdfPageCount(const QString& path) {
    const QByteArray pdf = ReadWholeFile(path);
    int pages = 0;
    for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0; at = pdf.indexOf("/Type /Page", at + 1))
        if (pdf.mid(at + 11, 1) != "s") ++pages;
    return pages;
}

QByteArray NumberedLog(int lines) {
    QByteArray log;
    for (int i = 1; i <= lines; ++i) log += "line " + QByteArray::number(i) + "\r\n";
    return log;
}

}  // namespace

class LogWindowTest : public QObject {
    Q_OBJECT

    CMainFrame* frame() { return CQuilletApp::Instance()->MainFrame(); }
    std::unique_ptr<CScriptedPrompts> m_prompts;
    QTemporaryDir m_dir;
    QString m_savedCwd;

    // A new window whose publish dialog is answered with `ruleFile`; returns
    // once its run has finished.
    CChildFrame* PublishInNewWindow(const QString& ruleFile, std::function<void(CChildFrame*)> duringRun = {}) {
        CDialogAnswerer answer([&](QDialog* d) { return TypeRuleFileAndStart(d, ruleFile); });
        CChildFrame* child = frame()->NewDocument();
        // Once the run has written its first line it drains messages, and
        // this is seen then, once.
        QTimer watch;
        bool seen = false;
        connect(&watch, &QTimer::timeout, [&] {
            if (seen || !duringRun || child->Document().logLines.empty() || !child->View().IsBusy()) return;
            seen = true;
            duringRun(child);
        });
        watch.start(5);
        QSignalSpy finished(&child->View(), &CQuilletView::RunFinished);
        if (!finished.wait(60000)) return nullptr;
        if (duringRun && !seen) qWarning("the run ended before it was seen running");
        return child;
    }

    CChildFrame* OpenLog(const QByteArray& contents) {
        const QString path = m_dir.filePath(QStringLiteral("window.prl"));
        WriteWholeFile(path, contents);
        CChildFrame* child = frame()->OpenDocumentFile(path);
        if (child) (void)QTest::qWaitFor([&] { return child->View().ShownLineCount() > 0; }, 10000);
        return child;
    }

private slots:
    void initTestCase() {
        ClearSettingsStore();
        m_savedCwd = QDir::currentPath();
        m_prompts = std::make_unique<CScriptedPrompts>();
        CDialogAnswerer cancel([](QDialog* d) {
            d->reject();
            return true;
        });
        QVERIFY(CQuilletApp::Instance()->InitInstance({QStringLiteral("webquill")}));
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

    void runFromThePublishDialogWritesWhatTheProgramWrites() {
        const QString site = CopyExample(m_dir.path());
        QDir::setCurrent(site);
        const QStringList expected = PublishProgramLines(QStringLiteral("manual.rul"), site);
        QVERIFY(expected.size() > 20);
        CChildFrame* child = PublishInNewWindow(QStringLiteral("manual.rul"));
        QVERIFY(child);
        const CQuilletDoc& doc = child->Document();
        QCOMPARE(DocumentLines(doc), expected);
        // Every line is in the list, the first selected, nothing still running.
        QCOMPARE(child->View().ShownLineCount(), int(doc.logLines.size()));
        QCOMPARE(child->View().SelectedLine(), 0);
        QVERIFY(!doc.runInProgress);
        QVERIFY(!doc.createdFiles.empty());
        QCOMPARE(CSettingsStore().ReadString("Recent Rule Files", "RuleFile1"), std::string("manual.rul"));
        QVERIFY(frame()->Action(Command::Save)->isEnabled());
        QCOMPARE(frame()->PaneText(0), QStringLiteral("Ready"));
        QCOMPARE(frame()->PaneText(1), QStringLiteral("%1 Lines").arg(doc.logLines.size()));
        // The run's box texts went through the prompts: the example has none.
        QVERIFY(m_prompts->messages.empty());
    }

    void windowRefusesToCloseDuringItsRun() {
        const QString site = m_dir.path() + QStringLiteral("/examples");
        QDir::setCurrent(site);
        QPointer<CChildFrame> running;
        bool closedDuringRun = true;
        bool everyLineShown = false;
        CChildFrame* child = PublishInNewWindow(QStringLiteral("manual.rul"), [&](CChildFrame* mid) {
            running = mid;
            // Mid-run, the list already holds every line written so far.
            everyLineShown = mid->View().ShownLineCount() == int(mid->Document().logLines.size());
            closedDuringRun = mid->close();
            frame()->CloseAllDocuments();
        });
        QVERIFY(child);
        QVERIFY(!closedDuringRun);
        QVERIFY(running);
        QVERIFY(everyLineShown);
        const QString guard = QStringLiteral("Currently processing file.  Won't CLOSE until processing is COMPLETE!\n");
        QCOMPARE(int(m_prompts->messages.size()), 2);  // once for Close, once for Close All
        QCOMPARE(m_prompts->messages[0].text, guard);
        QCOMPARE(m_prompts->messages[1].text, guard);
        // Close All closed the others and left the running one, whole.
        QCOMPARE(frame()->Children(), QList<CChildFrame*>{child});
        QVERIFY(child->Document().logLines.size() > 20);
        QVERIFY(child->close());
    }

    void windowStaysWhileItsPublishDialogIsUp() {
        CChildFrame* child = nullptr;
        bool closed = true;
        CDialogAnswerer answer([&](QDialog* d) {
            closed = child->close();
            d->reject();
            return true;
        });
        child = frame()->NewDocument();
        QTRY_COMPARE(answer.answered, 1);
        QVERIFY(!closed);
        QCOMPARE(m_prompts->messages.size(), size_t(1));
        QTRY_VERIFY(!child->View().IsBusy());
        QVERIFY(child->close());
    }

    void doubleClickOnASummaryLineStartsTheEditorWithThePath() {
        const QString site = m_dir.path() + QStringLiteral("/examples");
        QDir::setCurrent(site);
        const QString record = m_dir.filePath(QStringLiteral("editor-arguments.txt"));
        const QString editor = m_dir.filePath(QStringLiteral("editor.sh"));
        WriteWholeFile(editor, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + record.toUtf8() + "'\n");
        QFile::setPermissions(editor, QFile::permissions(editor) | QFile::ExeOwner);
        CSettingsStore().WriteString("Preferences", "Editor", editor.toStdString());
        m_prompts->reallyStartPrograms = true;
        CChildFrame* child = PublishInNewWindow(QStringLiteral("manual.rul"));
        QVERIFY(child);
        const auto& lines = child->Document().logLines;
        int summary = -1;
        for (int i = 0; i < int(lines.size()); ++i)
            if (lines[i].find("1) ... page000.htm") != std::string::npos) summary = i;
        QVERIFY(summary >= 0);
        CLogListBox* list = child->View().ListBox();
        const QModelIndex index = list->model()->index(summary, 0);
        list->scrollTo(index);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 10000);
        QTRY_COMPARE(ReadWholeFile(record), QByteArray("../out/example/page000.htm\n"));
        QCOMPARE(m_prompts->started.size(), size_t(1));
        QCOMPARE(m_prompts->started[0].program, editor);
        // No web browser is set: the right button only beeps.
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, list->visualRect(index).center());
        QCOMPARE(m_prompts->beeps, 1);
        QCOMPARE(m_prompts->started.size(), size_t(1));
        CSettingsStore().Remove("Preferences", "Editor");
        QVERIFY(child->close());
    }

    void lineTargets_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("started");
        QTest::newRow("report line, absolute") << QByteArray("                    Rule File -> /work/site.rul")
                                                << "/work/site.rul";
        QTest::newRow("drive letter") << QByteArray("   Header File -> C:\\site\\head.htm") << "C:\\site\\head.htm";
        QTest::newRow("summary line, no run directory") << QByteArray("       3) ... x002.htm") << "x002.htm";
        QTest::newRow("names no file") << QByteArray("Files Successfully Published:") << "";
    }
    void lineTargets() {
        QFETCH(QByteArray, line);
        QFETCH(QString, started);
        CChildFrame* child = OpenLog(line + "\r\n");
        QVERIFY(child);
        child->Document().editorProgram = "my-editor";
        child->View().SelectLine(0);
        child->View().OpenLineTarget(LineTarget::Editor);
        if (started.isEmpty()) {
            QCOMPARE(m_prompts->beeps, 1);
            QVERIFY(m_prompts->started.empty());
        } else {
            QCOMPARE(m_prompts->started.size(), size_t(1));
            QCOMPARE(m_prompts->started[0].program, QStringLiteral("my-editor"));
            QCOMPARE(m_prompts->started[0].arguments, QStringList{started});
        }
        QVERIFY(child->close());
    }

    void printsEightyLinesAPage_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("pages");
        QTest::newRow("161 lines") << 161 << 3;
        QTest::newRow("80 lines") << 80 << 1;
        QTest::newRow("81 lines") << 81 << 2;
    }
    void printsEightyLinesAPage() {
        QFETCH(int, lines);
        CChildFrame* child = OpenLog(NumberedLog(lines));
        QVERIFY(child);
        QCOMPARE(child->View().ShownLineCount(), lines);
        QTEST(child->View().PreparePrinting(), "pages");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = m_dir.filePath(QStringLiteral("log.pdf"));
        printer.setOutputFileName(pdf);
        child->View().PrintTo(printer);
        QTEST(PdfPageCount(pdf), "pages");
        QVERIFY(child->close());
    }

    void savedLogRoundTripThroughTheWindow() {
        CChildFrame* child = OpenLog("first\r\n\r\nsecond line\nthird\r\nno line end");
        QVERIFY(child);
        QCOMPARE(DocumentLines(child->Document()), QStringList({"first", "second line", "third"}));
        const QString saved = m_dir.filePath(QStringLiteral("saved.prl"));
        m_prompts->chosenFiles.push_back(saved);
        QVERIFY(frame()->SaveDocument(child, true));
        QCOMPARE(ReadWholeFile(saved), QByteArray("first\r\nsecond line\r\nthird\r\n"));
        QCOMPARE(child->Title(), QStringLiteral("saved.prl"));
        QCOMPARE(frame()->RecentFiles().first(), saved);
        QVERIFY(child->close());
    }

    void listExtentAndSelectionFrame() {
        QByteArray log = QByteArray(300, 'w') + "\r\nshort\r\nother\r\n";
        CChildFrame* child = OpenLog(log);
        QVERIFY(child);
        CQuilletView& view = child->View();
        QTRY_VERIFY(!view.Delegate()->MetricsPending());
        QCOMPARE(view.HorizontalExtent(), view.Delegate()->CharacterWidth() * 305);
        const QFontMetrics metrics(view.ListBox()->font());
        QCOMPARE(view.Delegate()->ItemHeight(), metrics.height() + metrics.leading() + 3);
        view.SelectLine(2);
        QTRY_COMPARE(view.Delegate()->SelectionFrame().top(),
                     view.ListBox()->visualRect(view.ListBox()->model()->index(2, 0)).top());
        QVERIFY(child->close());
    }
};

int main(int argc, char** argv) {
    CQuilletApp app(argc, argv);
    LogWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "log_window_test.moc"
