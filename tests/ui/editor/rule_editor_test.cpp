// The edit cycle as a user goes through it: the file dialog in both modes,
// the sheet with its tabs, Help, OK and Cancel, and what reaches the disk.
#include <QComboBox>
#include <QScreen>
#include <QTabBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "tests/ui/editor_test_support.h"
#include "platform/desktop/help_viewer.h"
#include "ui/editor/my_sheet.h"
#include "ui/editor/publish_dialog.h"
#include "core/shell/quillet_doc.h"
#include "ui/editor/rule_editor.h"
#include "core/editor/rule_file_tasks.h"
#include "platform/storage/settings_store.h"
#include "ui/editor/sheet_page.h"
#include "tests/ui/widget_test_support.h"

using namespace webquill;
using namespace webquill::test;

class RuleEditorTest : public QObject {
    Q_OBJECT

    CSettingsStore m_store;
    QTemporaryDir m_dir;

    QString File(const QString& name) const { return m_dir.filePath(name); }

    // A window's document with its prompts, as the rule editor is run over it.
    struct Session {
        CScriptedPrompts prompts;
        CQuilletDoc doc;
        RecordingHost host;
        std::optional<QString> written;
        explicit Session(CSettingsStore& store) : doc(store) { doc.LoadSettings(); }
        // Runs the editor from the window, the sheet driven by `drive`; gives
        // back how many sheets came up.
        int Run(const std::function<void(CMySheet&)>& drive) {
            return DriveSheet(drive, [&] { written = RunRuleEditor(nullptr, doc, host, QString()); });
        }
    };
    static void Cancel(CMySheet& sheet) { sheet.CancelButton()->click(); }

private slots:
    void init() { ClearSettingsStore(); }

    void CreateNewThenCancelWritesNothingAndKeepsTheComboText() {
        Session s(m_store);
        CPublishDlg dialog(s.doc);
        dialog.SetRuleEditor([&](QWidget* owner, const QString& text) { return RunRuleEditor(owner, s.doc, s.host, text); });
        dialog.RuleFileCombo()->setEditText(QStringLiteral("typed.rul"));
        dialog.show();
        dialog.move(dialog.screen()->availableGeometry().center() - dialog.rect().center());
        QStringList captions;
        const int sheets = DriveSheet(
            [&](CMySheet& sheet) {
                QCOMPARE(sheet.windowTitle(), QStringLiteral("Rule File Editor - New Rule File"));
                // Centred on the dialog, every tab in view, within the screen.
                const QRect screen = sheet.screen()->availableGeometry();
                QVERIFY(screen.contains(sheet.frameGeometry()));
                QVERIFY((sheet.frameGeometry().center() - dialog.frameGeometry().center()).manhattanLength() <= 4);
                for (int i = 0; i < sheet.Tabs()->count(); ++i) {
                    captions << sheet.Tabs()->tabText(i);
                    QVERIFY2(sheet.Tabs()->tabBar()->rect().contains(sheet.Tabs()->tabBar()->tabRect(i)),
                             qPrintable(captions.back()));
                }
                sheet.CancelButton()->click();
            },
            [&] { dialog.RuleEditorButton()->click(); });
        QCOMPARE(sheets, 1);
        QCOMPARE(captions, QStringList({"Header Info", "Replace Commands", "Delete Commands", "Extract Commands",
                                        "Add Commands", "Wrap Commands", "Execute Order", "Make TOC Command",
                                        "Make File Command", "Upload Info"}));
        QCOMPARE(s.prompts.fileDialogs.size(), std::size_t(1));
        const FileDialogRequest& open = s.prompts.fileDialogs[0];
        QCOMPARE(open.caption, QStringLiteral("'Create New' Builds New or 'Edit Existing' Edits Existing Rule File"));
        QCOMPARE(open.acceptLabel, QStringLiteral("Edit Existing"));
        QCOMPARE(open.rejectLabel, QStringLiteral("Create New"));
        QCOMPARE(open.fileName, QStringLiteral("typed.rul"));
        QCOMPARE(dialog.RuleFileCombo()->currentText(), QStringLiteral("typed.rul"));
        QVERIFY(QDir(m_dir.path()).entryList(QDir::Files).isEmpty());
    }

    void LoadedFileSavedWithEveryCommandAndDontSaveStillRecordsTheFolder() {
        const QString rule = File(QStringLiteral("site.rul"));
        QFile::copy(QStringLiteral(WEBQUILL_SOURCE_DIR "/examples/manual.rul"), rule);
        Session s(m_store);
        const QString saved = File(QStringLiteral("saved.rul"));
        s.prompts.chosenFiles = {rule, saved};
        QCOMPARE(s.Run([&](CMySheet& sheet) {
            QCOMPARE(sheet.windowTitle(), QStringLiteral("Editing Rule File - site.rul"));
            QVERIFY(sheet.SetActivePage(6));
            sheet.HelpButton()->click();
            QCOMPARE(CurrentHelpContext(), kHelpExecuteOrder);
            sheet.OkButton()->click();
        }), 1);
        QCOMPARE(s.written.value_or(QString()), saved);
        QCOMPARE(s.prompts.fileDialogs[1].caption, QStringLiteral("Rule File Save\\Save As"));
        QCOMPARE(s.prompts.fileDialogs[1].rejectLabel, QStringLiteral("Don't Save"));
        QVERIFY(s.doc.commands.Empty());
        QVERIFY(!s.doc.modified);

        // The pages kept every record: the save equals a rewrite of the file.
        RunDocument plain;
        plain.ruleFilePath = rule.toStdString();
        QVERIFY(RewriteRuleFile(plain, s.host, File(QStringLiteral("again.rul")).toStdString(), nullptr) ==
                RewriteOutcome::Written);
        QCOMPARE(ReadWholeFile(saved), ReadWholeFile(File(QStringLiteral("again.rul"))));

        // Don't Save: nothing written, the folder still recorded.
        QDir().mkdir(File(QStringLiteral("sub")));
        const QString other = File(QStringLiteral("sub/other.rul"));
        QFile::copy(rule, other);
        s.prompts.chosenFiles = {other};
        QCOMPARE(s.Run([&](CMySheet& sheet) {
            m_store.WriteString("Preferences", "LastPath", "elsewhere");
            sheet.OkButton()->click();
        }), 1);
        QVERIFY(!s.written);
        QCOMPARE(QString::fromStdString(m_store.ReadString("Preferences", "LastPath")), File(QStringLiteral("sub")));
        QCOMPARE(ReadWholeFile(other), ReadWholeFile(rule));
    }

    // One window, two rule files: nothing of the first (its FTP account, its
    // TOC file, its order) reaches the save or the run of the second.
    void EachRuleFileIsEditedAndRunOnItsOwn() {
        WriteWholeFile(File(QStringLiteral("d.htm")), "<H1>one</H1>a\r\n<H1>two</H1>b\r\n");
        const QString full = File(QStringLiteral("full.rul"));
        WriteWholeFile(full,
                       "&Header:\r\nDocument: d.htm\r\nIntermediateFile: mid.htm\r\nTOCName: toc.htm\r\n"
                       "TOCTemplate: t.tpl\r\nWWWFileName: full/p\r\nHeaderName: h.hdr\r\nFooterName: f.ftr\r\n"
                       "ExecuteSequence: 5 4 3 2 1\r\nFtpURL: ftp.example.com\r\nUserID: me\r\nUserPW: pw\r\n"
                       "TOCServerDir: /t\r\nWWWServerDir: /w\r\nImagesLocalDir: img\r\nImagesServerDir: /i\r\n"
                       "&Commands:\r\nMakeTOC <H1>!...!</H1>\r\n");
        const QString none = File(QStringLiteral("none.rul"));
        WriteWholeFile(none, "&Header:\r\nDocument: d.htm\r\nWWWFileName: out/p\r\n&Commands:\r\n"
                             "MakeFile <H1>!...!</H1>\r\n");
        Session s(m_store);
        s.prompts.chosenFiles = {full};
        QCOMPARE(s.Run(Cancel), 1);
        const QString saved = File(QStringLiteral("saved.rul"));
        s.prompts.chosenFiles = {none, saved};
        QCOMPARE(s.Run([](CMySheet& sheet) { sheet.OkButton()->click(); }), 1);
        const std::filesystem::path dir = m_dir.path().toStdString();
        QCOMPARE(RunPublishProgram("--rewrite again.rul none.rul", dir).status, 0);
        QCOMPARE(ReadWholeFile(saved), ReadWholeFile(File(QStringLiteral("again.rul"))));

        s.doc.ClearLists();
        CPublishingRun(s.doc, s.host).RunPublishing();
        const ProgramResult program = RunPublishProgram("'" + none.toStdString() + "'", dir);
        QCOMPARE(program.status, 0);
        QCOMPARE(s.doc.logLines, Lines(program.out));
    }

    // OK checks every command, on pages visited or not, before anything is
    // saved: a loaded Delete for every occurrence that the writer's "::A" and
    // its empty line take past the reader's limit.
    void OkRefusesACommandTheFileCannotCarry() {
        const QString rule = File(QStringLiteral("long.rul"));
        WriteWholeFile(rule, "&Header:\r\nDocument: d.htm\r\nWWWFileName: out/p\r\n&Commands:\r\nDelete " +
                                 QByteArray(4089, 'x') + "::A\r\nReplace a!with!b\r\n");
        Session s(m_store);
        s.prompts.chosenFiles = {rule, File(QStringLiteral("never.rul"))};
        QCOMPARE(s.Run([&](CMySheet& sheet) {
            sheet.OkButton()->click();
            QVERIFY(sheet.isVisible());
            QCOMPARE(s.prompts.messages.back().text, QStringLiteral("Delete command 1 is too long: a command may hold "
                                                                    "at most 4096 characters in the rule file!"));
            QCOMPARE(sheet.ActiveIndex(), 2);  // the Delete page
            sheet.CancelButton()->click();
        }), 1);
        QVERIFY(!s.written);
        QVERIFY(!QFile::exists(File(QStringLiteral("never.rul"))));
    }

    void FailedLoadShowsNoSheet() {
        const QString bad = File(QStringLiteral("bad.rul"));
        WriteWholeFile(bad, "no header\n");
        Session s(m_store);
        s.prompts.chosenFiles = {bad};
        QCOMPARE(s.Run(Cancel), 0);
        QVERIFY(!s.written);
        QCOMPARE(s.host.shownLines.back(), std::string("***> No &Header section specified in Rule File!"));
        QCOMPARE(s.prompts.fileDialogs.size(), std::size_t(1));
    }
};

QTEST_MAIN(RuleEditorTest)
#include "rule_editor_test.moc"
