// The five command pages driven as a user drives them, one sheet per case:
// the shared design over every kind, then what only Add, Delete and Wrap do.
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "ui/editor/command_field.h"
#include "ui/editor/command_pages.h"
#include "tests/ui/editor_test_support.h"
#include "ui/editor/my_sheet.h"
#include "ui/editor/para_formats_dialog.h"
#include "core/editor/rule_file_writer.h"
#include "core/editor/rule_working_set.h"
#include "tests/ui/widget_test_support.h"

using namespace webquill;
using namespace webquill::test;

namespace {

enum Kind { kAdd, kDelete, kExtract, kReplace, kWrap };

CCommandPage* MakePage(int kind, RuleWorkingSet& set) {
    switch (kind) {
        case kAdd: return new CAddCmd(set);
        case kDelete: return new CDeleteCmd(set);
        case kExtract: return new CExtractCmd(set);
        case kReplace: return new CReplaceCmd(set);
        default: return new CWrapCmd(set);
    }
}

// Field values that pass every check of a kind.
QStringList Valid(int kind) {
    switch (kind) {
        case kAdd: return {"<HR>", "<BODY>"};
        case kDelete: return {"<B>", ""};
        case kExtract: return {"<T>", "</T>", "Title"};
        case kReplace: return {"a", "b"};
        default: return {"<P>", "X.", "</P>", "<LI>", "</LI>"};
    }
}

// A page in front of a sheet, over a working set loaded from `commands`,
// with a second page to turn to.
struct Harness {
    RuleWorkingSet set;
    CScriptedPrompts prompts;
    CMySheet sheet{QStringLiteral("Sheet")};
    CCommandPage* page = nullptr;

    explicit Harness(int kind, const QByteArray& commands = QByteArray()) {
        if (!commands.isEmpty()) {
            QTemporaryDir dir;
            const QString rule = dir.filePath(QStringLiteral("t.rul"));
            WriteWholeFile(rule, "&Header:\r\nDocument: d.htm\r\nWWWFileName: o/p\r\n&Commands:\r\n" + commands);
            RunDocument doc;
            doc.ruleFilePath = rule.toStdString();
            RecordingHost host;
            if (!LoadWorkingSet(doc, host, set)) qFatal("not loaded: %s", host.shownLines.back().c_str());
        }
        page = MakePage(kind, set);
        sheet.AddPage(page);
        sheet.AddPage(new CSheetPage(QStringLiteral("Other"), 0));
        sheet.show();
        sheet.activateWindow();
        if (!QTest::qWaitForWindowActive(&sheet)) qFatal("sheet not active");
    }
    void Fill(const QStringList& texts) {
        for (int i = 0; i < texts.size(); ++i) TypeInto(page->Field(i), texts[i]);
    }
    void Up() { QTest::keyClick(page->SelectSpin(), Qt::Key_Up); }
    void Down() { QTest::keyClick(page->SelectSpin(), Qt::Key_Down); }
    bool Leave() { return sheet.SetActivePage(1); }
    QString LastMessage() const { return prompts.messages.empty() ? QString() : prompts.messages.back().text; }
    QString Written() const { return QString::fromStdString(ComposeRuleFile({}, set.commands, set.wrappers)); }
};

}  // namespace

struct FirstCheckRow { int kind; QStringList typed; QString message; int focus; };
Q_DECLARE_METATYPE(FirstCheckRow)

struct StepRow { int kind; QString object; QString first; QString second; };
Q_DECLARE_METATYPE(StepRow)

struct LeavingRow { int kind; QByteArray commands; QString message; int focus; };
Q_DECLARE_METATYPE(LeavingRow)

struct InstanceRow { QString typed; int instance; QString shown; QString message; };
Q_DECLARE_METATYPE(InstanceRow)

struct MarkerRow { int kind; QStringList texts; QString instance; int field; QString message; };
Q_DECLARE_METATYPE(MarkerRow)

struct FormatRow { QString format; PromptAnswer answer; QString kept; QString message; };
Q_DECLARE_METATYPE(FormatRow)

class CommandPagesTest : public QObject {
    Q_OBJECT

private slots:
    void FirstRecordCheckWhenSteppingFromAnEmptyPage_data() {
        QTest::addColumn<FirstCheckRow>("row");
        const QString add2nd = "before 2nd Add command can be defined!";
        const QString extract2nd = "before 2nd Extract command can be defined!";
        const QString either = "Either a 'Para Prefix:' or 'Para Format ...'";
        const QString wrap2nd = "before 2nd Wrap command can be defined!";
        QTest::newRow("add nothing") << FirstCheckRow{
            kAdd, {"", ""}, "'Add this NEW text' and 'Document's Text' fields must be defined\n" + add2nd, 0};
        QTest::newRow("delete end only") << FirstCheckRow{kDelete, {"", "e"},
                                                          "'Delete start pattern' field must be defined as a minimum\n"
                                                          "before 2nd Delete command can be defined!",
                                                          0};
        QTest::newRow("replace nothing")
            << FirstCheckRow{kReplace, {"", ""},
                             "'Replace existing text' and 'With this text' fields must be defined\n"
                             "before 2nd Replace command can be defined!",
                             0};
        QTest::newRow("extract start only") << FirstCheckRow{
            kExtract, {"s", "", ""},
            "End Extract pattern:' and 'Variable Name:' fields must be defined\n" + extract2nd, 1};
        QTest::newRow("extract name only") << FirstCheckRow{
            kExtract, {"", "", "n"},
            "'Start Extract pattern:' and 'End Extract pattern:' fields must be defined\n" + extract2nd, 0};
        QTest::newRow("wrap patterns only")
            << FirstCheckRow{kWrap, {"", "", "e", "i", "a"}, either + " fields must be defined " + wrap2nd, 0};
        QTest::newRow("wrap end only")
            << FirstCheckRow{kWrap, {"", "", "e", "", ""},
                             either + ", 'Insert This Pattern Prior...' and 'Add This Pattern After...'\n"
                                      " fields must be defined " + wrap2nd,
                             0};
        QTest::newRow("wrap no after") << FirstCheckRow{
            kWrap, {"p", "", "e", "i", ""}, "'Add This Pattern After...' field must be defined " + wrap2nd, 4};
    }
    void FirstRecordCheckWhenSteppingFromAnEmptyPage() {
        QFETCH(FirstCheckRow, row);
        const auto& [kind, typed, message, focus] = row;
        Harness h(kind);
        h.Fill(typed);
        h.Up();
        QCOMPARE(h.prompts.messages.size(), std::size_t(1));
        QCOMPARE(h.LastMessage(), message);
        QVERIFY(h.page->Field(focus)->hasFocus());
        QCOMPARE(h.page->CountField()->text(), QString());
        // With no command, a required field left empty lets the page go
        // without making one.
        QVERIFY(h.Leave());
        QVERIFY(h.set.commands.Empty() && h.set.wrappers.Empty());
    }

    void StepAppendDeleteAndGiveBack_data() {
        QTest::addColumn<StepRow>("row");
        QTest::newRow("add") << StepRow{kAdd, "Add", "\r\nAdd <HR>!after!<BODY>::1", "\r\nAdd <HR>2!after!<BODY>::1"};
        QTest::newRow("delete") << StepRow{kDelete, "Delete", "\r\nDelete <B>::1", "\r\nDelete <B>2::1"};
        QTest::newRow("extract") << StepRow{kExtract, "Extract", "\r\nExtract <T>!...!</T>!save as!Title",
                                            "\r\nExtract <T>2!...!</T>!save as!Title"};
        QTest::newRow("replace") << StepRow{kReplace, "Replace", "\r\nReplace a!with!b::1", "\r\nReplace a2!with!b::1"};
        QTest::newRow("wrap") << StepRow{kWrap, "Wrap", "\r\nWrap <P>!***!X!.!!...!</P>!with start!<LI>!end!</LI>",
                                         "\r\nWrap <P>2!***!X!.!!...!</P>!with start!<LI>!end!</LI>"};
    }
    void StepAppendDeleteAndGiveBack() {
        QFETCH(StepRow, row);
        const auto& [kind, object, first, second] = row;
        // A command of another kind numbered 7: new commands come after it.
        Harness h(kind, "MakeFile a!...!b\r\nMakeFile a!...!b\r\nMakeFile a!...!b\r\nMakeFile a!...!b\r\n"
                        "MakeFile a!...!b\r\nMakeFile a!...!b\r\nMakeFile a!...!b\r\n");
        const QStringList valid = Valid(kind);
        h.Fill(valid);
        h.prompts.answers = {PromptAnswer::No};
        h.Up();
        QCOMPARE(h.LastMessage(), "Add a new '" + object + " Command'?");
        QCOMPARE(h.page->CountField()->text(), QStringLiteral("1"));
        QCOMPARE(h.page->SelectSpin()->value(), 1);
        QCOMPARE(FieldText(h.page->Field(0)), valid[0]);

        h.prompts.answers = {PromptAnswer::Yes};
        h.Up();
        QCOMPARE(h.page->CountField()->text(), QStringLiteral("2"));
        QCOMPARE(h.page->SelectSpin()->value(), 2);
        QCOMPARE(FieldText(h.page->Field(0)), QString());
        if (h.page->InstanceField()) QCOMPARE(h.page->InstanceField()->text(), QStringLiteral("1"));
        QVERIFY(h.page->Field(0)->hasFocus());
        QStringList changed = valid;
        changed[0] += "2";
        h.Fill(changed);
        h.Down();
        QCOMPARE(FieldText(h.page->Field(0)), valid[0]);
        h.Down();
        QCOMPARE(h.prompts.beeps, 1);
        QCOMPARE(h.page->SelectSpin()->value(), 1);

        QVERIFY(h.Leave());
        const QString written = h.Written();
        QVERIFY2(written.contains(first + second), qPrintable(written));
        if (kind == kWrap) QCOMPARE(h.set.wrappers.At(1).wrapNumber, 2);
        else QCOMPARE(h.set.commands.At(8).commandNumber, 9);

        // Back on the page: the first command again; deleting both leaves
        // an empty page, and a further Delete only beeps.
        QVERIFY(h.sheet.SetActivePage(0));
        QCOMPARE(h.page->CountField()->text(), QStringLiteral("2"));
        QCOMPARE(FieldText(h.page->Field(0)), valid[0]);
        h.page->DeleteButton()->click();
        QCOMPARE(FieldText(h.page->Field(0)), changed[0]);
        h.page->DeleteButton()->click();
        QCOMPARE(FieldText(h.page->Field(0)), QString());
        QCOMPARE(h.page->SelectSpin()->value(), 1);
        QCOMPARE(h.page->CountField()->text(), QString());
        h.page->DeleteButton()->click();
        QCOMPARE(h.prompts.beeps, 2);
        QVERIFY(h.Leave());
        QVERIFY(!h.Written().contains(first));
    }

    void LeavingChecksEveryCommand_data() {
        QTest::addColumn<LeavingRow>("row");
        QTest::newRow("add") << LeavingRow{kAdd, "Add <HR>!after!<BODY>\r\nAdd x!after!\r\n",
                                           "Error in Add Object 2\n'Document's Text' field cannot be left empty!", 1};
        QTest::newRow("delete") << LeavingRow{
            kDelete, "Delete <B>\r\nDelete !...!</B>\r\n",
            "Error in Delete Object 2\n'Delete start pattern' field cannot be left empty!", 0};
        QTest::newRow("extract") << LeavingRow{
            kExtract, "Extract <T>!...!</T>!save as!T\r\nExtract <T>!...!!save as!N\r\n",
            "Error in Extract Object 2\n'End Extract pattern:' field cannot be left empty!", 1};
        QTest::newRow("replace") << LeavingRow{
            kReplace, "Replace a!with!b\r\nReplace c!with!\r\n",
            "Error in Replace Object 2\n'With this text' field cannot be left empty!", 1};
        QTest::newRow("wrap") << LeavingRow{
            kWrap, "Wrap <P>!***!!...!e!with start!s!end!t\r\nWrap !...!e!with start!s!end!t\r\n",
            "Error in Wrap Object 2\nYou MUST define either a 'Para Prefix:' or 'Para Format ...'!", 0};
    }
    void LeavingChecksEveryCommand() {
        QFETCH(LeavingRow, row);
        const auto& [kind, commands, message, focus] = row;
        Harness h(kind, commands);
        QVERIFY(!h.Leave());
        QCOMPARE(h.LastMessage(), message);
        QCOMPARE(h.page->SelectSpin()->value(), 2);
        QVERIFY(h.page->Field(focus)->hasFocus());
        // The shown command's own check names no number.
        const QString own = message.mid(message.indexOf('\n') + 1);
        QVERIFY(!h.Leave());
        QCOMPARE(h.LastMessage(), own);
    }

    void InstanceReading_data() {
        QTest::addColumn<InstanceRow>("row");
        QTest::newRow("blank and trailing letters") << InstanceRow{" 12abc", 12, "12", ""};
        QTest::newRow("a") << InstanceRow{"a", 0, "A", ""};
        QTest::newRow("A") << InstanceRow{"A", 0, "A", ""};
        QTest::newRow("0") << InstanceRow{"0", 0, "A", ""};
        QTest::newRow("negative")
            << InstanceRow{"-3", -1, "", "Don't know how to interpret negative Instance numbers!"};
        QTest::newRow("empty") << InstanceRow{"", -1, "", "'Instance:' field cannot be left empty!"};
        QTest::newRow("letter")
            << InstanceRow{"x1", -1, "", "First character in Instance field must be A, a, or a digit!"};
    }
    void InstanceReading() {
        QFETCH(InstanceRow, row);
        const auto& [typed, instance, shown, message] = row;
        // A filled command never stepped to is made when the page is left.
        Harness h(kDelete);
        TypeInto(h.page->Field(0), QStringLiteral("<B>"));
        TypeInto(h.page->InstanceField(), typed);
        QCOMPARE(h.Leave(), message.isEmpty());
        if (!message.isEmpty()) {
            QCOMPARE(h.LastMessage(), message);
            QVERIFY(h.page->InstanceField()->hasFocus());
            return;
        }
        QCOMPARE(h.set.commands.At(0).instance, instance);
        QVERIFY(h.sheet.SetActivePage(0));
        QCOMPARE(h.page->InstanceField()->text(), shown);
    }

    void LoadedLineBreakShownAndKeptAndBeforeChoice() {
        Harness h(kDelete, "Delete <B>!...!</B>!$::A\r\n");
        QCOMPARE(FieldText(h.page->Field(1)), QStringLiteral("</B>!$"));
        QVERIFY(h.Leave());
        QCOMPARE(h.set.commands.At(0).secondText, std::string("</B>\r\n"));

        Harness add(kAdd);
        add.Fill(Valid(kAdd));
        add.page->BeforeButton()->click();
        // Ctrl+Enter breaks the line; Enter alone presses OK.
        QTest::keyClick(add.page->Field(0), Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClicks(add.page->Field(0), QStringLiteral("x"));
        QTest::keyClick(add.page->Field(0), Qt::Key_Return);
        QVERIFY(!add.sheet.isVisible() && add.sheet.result() == QDialog::Accepted);
        QVERIFY(add.Written().contains("\r\nAdd <HR>\r\nx!before!<BODY>::1"));
    }

    void LaunchStartsTheEditorWithTheDocument() {
        Harness h(kReplace);
        h.page->LaunchButton()->click();
        QVERIFY(h.prompts.started.empty());
        // The Document entry means the rule file's folder; a setting with
        // arguments is split as a shell splits it; a failed start is said.
        h.set.editorProgram = "'/no such/ed' --new-window";
        h.set.ruleFilePath = "/site/manual.rul";
        h.set.header[kDocumentField] = "manual.htm";
        h.prompts.reallyStartPrograms = true;
        h.page->LaunchButton()->click();
        QCOMPARE(h.prompts.started.size(), std::size_t(1));
        QCOMPARE(h.prompts.started[0].program, QStringLiteral("/no such/ed"));
        QCOMPARE(h.prompts.started[0].arguments, QStringList({"--new-window", "/site/manual.htm"}));
        QVERIFY2(h.LastMessage().startsWith("Couldn't start /no such/ed:\n"), qPrintable(h.LastMessage()));
    }

    // After a click on the spin's arrow its keys go on stepping; PageUp
    // short of the end goes to the last command without asking for a new
    // one; past the last of the 500 a kind may have, no new one is made.
    void SpinKeysAfterAClickAndAtMostFiveHundredCommands() {
        Harness h(kReplace, QByteArray("Replace a!with!b\r\n").repeated(CCommandPage::kMaxCommands));
        CSelectSpin* spin = h.page->SelectSpin();
        QStyleOptionSpinBox option;
        option.initFrom(spin);
        const QRect up = spin->style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, spin);
        QTest::mouseClick(spin, Qt::LeftButton, {}, up.center());
        QCOMPARE(h.page->CurrentIndex(), 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QCOMPARE(h.page->CurrentIndex(), 2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        spin->stepBy(CCommandPage::kMaxCommands - 9);  // to the 493rd: ten more would pass the last
        QCOMPARE(h.page->CurrentIndex(), CCommandPage::kMaxCommands - 8);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
        QCOMPARE(h.page->CurrentIndex(), CCommandPage::kMaxCommands - 1);
        QCOMPARE(spin->value(), CCommandPage::kMaxCommands);
        QVERIFY(h.prompts.messages.empty());
        h.prompts.answers = {PromptAnswer::Yes};
        h.Up();
        QCOMPARE(h.LastMessage(), QStringLiteral("No more than 500 commands of a kind can be defined!"));
        QCOMPARE(h.page->CountField()->text(), QStringLiteral("500"));
    }

    void TextsKeepToTheirLimitsAndCommandsToTheRuleFile() {
        Harness h(kReplace);
        auto* find = static_cast<QPlainTextEdit*>(h.page->Field(0));
        SetFieldText(find, QString(4095, 'a'));
        ClickInto(find);
        find->moveCursor(QTextCursor::End);
        QTest::keyClicks(find, QStringLiteral("b"));
        QCOMPARE(FieldText(find).size(), 4095);
        QCOMPARE(h.prompts.beeps, 1);
        // Both texts fit their fields, but not one command line together.
        TypeInto(h.page->Field(1), QStringLiteral("with"));
        QVERIFY(!h.Leave());
        QCOMPARE(h.LastMessage(), QStringLiteral("Replace command 1 is too long: a command may hold at most 4096 "
                                                 "characters in the rule file!"));
        QVERIFY(h.set.commands.Empty());
        SetFieldText(find, QString(4080, 'a'));
        QVERIFY(h.Leave());
    }

    // Texts that the file would read back as other commands: the page names
    // the field and the marker, keeps the command and puts the focus there.
    void TextsHoldingTheFilesMarkersAreRefused_data() {
        QTest::addColumn<MarkerRow>("row");
        const QString end = QStringLiteral(", which the rule file reads as ");
        QTest::newRow("instance marker") << MarkerRow{kReplace, {"std::string", "std::wstring"}, "2", 0,
                                                      "Replace command 1 cannot be written: its 'Replace existing "
                                                      "text' holds \"::\"" + end + "its instance marker!"};
        QTest::newRow("comment") << MarkerRow{kReplace, {"x", "if (a && b) y"}, "1", 1,
                                              "Replace command 1 cannot be written: its 'With this text' holds "
                                              "\"&&\"" + end + "the start of a comment!"};
        QTest::newRow("separator") << MarkerRow{kReplace, {"1!with!2", "3"}, "1", 0,
                                                "Replace command 1 cannot be written: its 'Replace existing text' "
                                                "holds \"!with!\"" + end + "a marker of its own!"};
        QTest::newRow("Add marker") << MarkerRow{kAdd, {"x!before!y", "<BODY>"}, "1", 0,
                                                 "Add command 1 cannot be written: its 'Add this NEW text' holds "
                                                 "\"!before!\"" + end + "a marker of its own!"};
        QTest::newRow("Wrap marker") << MarkerRow{kWrap, {"<P>", "X.", "</P>!end!", "<LI>", "</LI>"}, "", 2,
                                                  "Wrap command 1 cannot be written: its 'End of Number Format "
                                                  "Pattern' holds \"!end!\"" + end + "a marker of its own!"};
    }
    void TextsHoldingTheFilesMarkersAreRefused() {
        QFETCH(MarkerRow, row);
        const auto& [kind, texts, instance, field, message] = row;
        Harness h(kind);
        h.Fill(texts);
        if (!instance.isEmpty()) TypeInto(h.page->InstanceField(), instance);
        QVERIFY(!h.Leave());
        QCOMPARE(h.LastMessage(), message);
        QCOMPARE(QApplication::focusWidget(), h.page->Field(field));
        QVERIFY(h.set.commands.Empty() && h.set.wrappers.Empty());
    }

    void WrapFormatCheck_data() {
        QTest::addColumn<FormatRow>("row");
        QTest::newRow("blank dropped") << FormatRow{" X.", PromptAnswer::No, "X.", ""};
        QTest::newRow("blank kept") << FormatRow{" X.", PromptAnswer::Yes, " X.", ""};
        QTest::newRow("prefix alone") << FormatRow{"", PromptAnswer::Ok, "", ""};
        QTest::newRow("invalid character")
            << FormatRow{"X#", PromptAnswer::Ok, "",
                         "Paragraph format contains the character '#' which is NOT a valid format or delimiter "
                         "character!"};
    }
    void WrapFormatCheck() {
        QFETCH(FormatRow, row);
        const auto& [format, answer, kept, message] = row;
        Harness h(kWrap);
        h.Fill({"<P>", format, "e", "s", "t"});
        h.prompts.answers = {answer};
        QCOMPARE(h.Leave(), message.isEmpty());
        if (!message.isEmpty()) {
            QCOMPARE(h.LastMessage(), message);
            QVERIFY(h.page->Field(CWrapCmd::kFormat)->hasFocus());
            return;
        }
        QCOMPARE(FieldText(h.page->Field(CWrapCmd::kFormat)), kept);
        QCOMPARE(h.set.wrappers.At(0).numberFormat, kept.toStdString());
    }

    void PreDefinedFormats() {
        Harness h(kWrap);
        auto* wrap = static_cast<CWrapCmd*>(h.page);
        h.Fill({"", "X.", "e", "s", "t"});
        QStringList seen;  // rows, last example, first heading, widths
        // Picks `row` (none: -1) and ends with OK, Cancel or a double click.
        auto pick = [&](int row, const QString& how) {
            CDialogAnswerer answerer([&](QDialog* dialog) {
                auto* formats = qobject_cast<CParaFormatsDlg*>(dialog);
                if (!formats) return false;
                QTreeWidget* list = formats->List();
                seen = QStringList{QString::number(list->topLevelItemCount()), list->topLevelItem(25)->text(1),
                                   list->headerItem()->text(0), QString::number(list->columnWidth(0)),
                                   QString::number(list->columnWidth(1))};
                QTreeWidgetItem* item = row >= 0 ? list->topLevelItem(row) : nullptr;
                if (item) list->scrollToItem(item);
                if (item) QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
                if (how == "double")
                    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
                else if (how == "cancel") formats->reject();
                else if (formats->isVisible()) formats->accept();
                return true;
            });
            wrap->FormatsButton()->click();
            return FieldText(h.page->Field(CWrapCmd::kFormat));
        };
        QCOMPARE(pick(25, "ok"), QStringLiteral("(rrr)"));
        QCOMPARE(seen.mid(0, 3), QStringList({"26", "(iii), (vii), (xii), (xiv), (xxx), (xlv), (lxv)", "Number Format"}));
        QVERIFY(qAbs(seen[3].toInt() * 3 - seen[4].toInt()) < 4);
        QCOMPARE(h.sheet.focusWidget(), h.page->Field(CWrapCmd::kFormat));
        QCOMPARE(pick(0, "cancel"), QStringLiteral("(rrr)"));
        QCOMPARE(pick(3, "double"), QStringLiteral("XX."));
        QCOMPARE(pick(-1, "ok"), QString());
        QCOMPARE(pick(25, "ok"), QStringLiteral("(rrr)"));
        QVERIFY(h.Leave());
        QVERIFY(h.Written().contains("\r\nWrap !(!rrr!)!!...!e!with start!s!end!t"));
    }
};

QTEST_MAIN(CommandPagesTest)
#include "command_pages_test.moc"
