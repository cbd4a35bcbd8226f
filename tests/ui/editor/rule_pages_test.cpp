// The Header Info, Make File, Make TOC and Execute Order pages on a sheet over
// a working set, used as a user would: typing, clicking, turning pages.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "ui/editor/bld_header.h"
#include "tests/ui/editor_test_support.h"
#include "ui/editor/exe_order.h"
#include "ui/editor/make_command_pages.h"
#include "ui/editor/my_sheet.h"
#include "core/editor/rule_file_writer.h"
#include "core/editor/rule_working_set.h"
#include "tests/ui/widget_test_support.h"

using namespace webquill;
using namespace webquill::test;

namespace {

// The four pages on one sheet, shown and active.
struct Sheet {
    RuleWorkingSet set;
    CMySheet sheet{QStringLiteral("test")};
    CBldHeader* header;
    CExeOrder* order;
    CMakeIdx* toc;
    CMakeFileCmd* file;
    CScriptedPrompts prompts;
    explicit Sheet(const std::function<void(RuleWorkingSet&)>& fill = {}) {
        set.header[kDocumentField] = "src.htm";
        set.header[kWwwFileNamesField] = "out/p";
        if (fill) fill(set);
        header = new CBldHeader(set);
        order = new CExeOrder(set);
        toc = new CMakeIdx(set);
        file = new CMakeFileCmd(set);
        for (CSheetPage* page : std::initializer_list<CSheetPage*>{header, order, toc, file}) sheet.AddPage(page);
        sheet.show();
        QApplication::setActiveWindow(&sheet);
        if (!QTest::qWaitForWindowActive(&sheet)) qFatal("sheet not active");
    }
};

CCmdVar& Record(RuleWorkingSet& set, CommandKind kind, int number, std::string first, std::string second) {
    CCmdVar& r = set.commands.Append();
    r.kind = kind, r.commandNumber = number, r.firstText = std::move(first), r.secondText = std::move(second);
    return r;
}

// Where the ordinal `text` stands on the screen, as a label or a list's row.
int OrdinalCentre(QWidget* page, const QString& text) {
    for (auto* label : page->findChildren<QLabel*>())
        if (label->text() == text) return label->mapToGlobal(label->rect().center()).y();
    for (auto* list : page->findChildren<QListWidget*>())
        for (QListWidgetItem* item : list->findItems(text, Qt::MatchExactly))
            return list->viewport()->mapToGlobal(list->visualItemRect(item).center()).y();
    return -1;
}

}  // namespace

class RulePagesTest : public QObject {
    Q_OBJECT

private slots:
    // Ctrl+Tab, Ctrl+PgDown and the backward forms turn the pages from a
    // pattern field; a refused turn keeps its page on screen under the
    // message; Ctrl+Enter breaks a pattern's line; Escape asks before it
    // discards a change; Enter presses OK.
    void KeysOfTheSheet() {
        Sheet s;
        CScriptedPrompts& prompts = s.prompts;
        s.sheet.SetAskBeforeDiscarding(true);
        QVERIFY(s.sheet.SetActivePage(2));
        auto* start = s.toc->findChildren<QPlainTextEdit*>().at(0);
        auto* end = s.toc->findChildren<QPlainTextEdit*>().at(1);
        auto turn = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
            return s.sheet.ActiveIndex();
        };
        start->setFocus();
        QCOMPARE(turn(Qt::Key_PageDown, Qt::ControlModifier), 3);
        QCOMPARE(turn(Qt::Key_Tab, Qt::ControlModifier), 0);
        QCOMPARE(turn(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier), 3);
        QCOMPARE(turn(Qt::Key_PageUp, Qt::ControlModifier), 2);
        QVERIFY(!s.sheet.Changed());

        start->setFocus();
        QTest::keyClicks(start, QStringLiteral("a"));
        QTest::keyClick(start, Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClicks(start, QStringLiteral("b"));
        QCOMPARE(start->toPlainText(), QStringLiteral("a\nb"));
        QWidget* shownAtRefusal = nullptr;
        prompts.onMessage = [&] { shownAtRefusal = s.sheet.Tabs()->currentWidget(); };
        QVERIFY(!s.sheet.SetActivePage(3));  // no end pattern
        QCOMPARE(shownAtRefusal, s.toc);
        prompts.onMessage = nullptr;
        prompts.answers = {PromptAnswer::No};
        QTest::keyClick(start, Qt::Key_Escape);
        QVERIFY(s.sheet.isVisible());
        QCOMPARE(prompts.messages.back().text, QStringLiteral("Discard the changes to the rule file?"));
        QTest::keyClicks(end, QStringLiteral("c"));
        QTest::keyClick(start, Qt::Key_Return);
        QCOMPARE(s.sheet.result(), int(QDialog::Accepted));
    }

    // "1st" to "5th" each beside its row of the order.
    void ExecuteOrderOrdinalsBesideTheirRows() {
        Sheet s;
        QVERIFY(s.sheet.SetActivePage(1));
        QListWidget* rows = nullptr;
        for (auto* list : s.order->findChildren<QListWidget*>())
            if (list->count() == 5 && list->item(0)->text().startsWith('\'')) rows = list;
        QVERIFY(rows);
        const char* ordinals[] = {"1st", "2nd", "3rd", "4th", "5th"};
        for (int i = 0; i < 5; ++i) {
            const int row = rows->viewport()->mapToGlobal(rows->visualItemRect(rows->item(i)).center()).y();
            QVERIFY2(std::abs(OrdinalCentre(s.order, ordinals[i]) - row) <= 2, ordinals[i]);
        }
    }

    void HeaderInfoFollowsTheFocusAndBrowsesForTheMarkedField() {
        Sheet s([](RuleWorkingSet& set) { set.header[kDocumentField].clear(); });
        CScriptedPrompts& prompts = s.prompts;
        QCOMPARE(QApplication::focusWidget(), s.header->Field(0));
        QCOMPARE(s.header->Marker(0)->text(), QStringLiteral("<="));
        ClickInto(s.header->Field(6));
        QCOMPARE(s.header->Marker(0)->text(), QString());
        QCOMPARE(s.header->Marker(6)->text(), QStringLiteral("<="));
        s.header->BrowseButton()->click();  // cancelled: no file chosen
        QCOMPARE(prompts.fileDialogs.back().caption, QStringLiteral("Select your Footer Template File"));
        QCOMPARE(prompts.fileDialogs.back().filters.first(),
                 QStringLiteral("Footer Files (*.ftr;*.htm*;*.txt) (*.ftr;*.txt;*.htm*)"));
        QCOMPARE(s.header->Field(6)->text(), QString());
        QCOMPARE(QApplication::focusWidget(), s.header->Field(6));
        prompts.chosenFiles = {QStringLiteral("/t/foot.ftr")};
        s.header->BrowseButton()->click();
        QCOMPARE(s.header->Field(6)->text(), QStringLiteral("/t/foot.ftr"));
    }

    void HeaderInfoRefusesToBeLeftWithoutItsRequiredFields() {
        Sheet s([](RuleWorkingSet& set) {
            set.header[kHeaderNameField] = "h\xe9.hdr";
            set.header[kFooterNameField] = "f\xc3\xa9.ftr";  // UTF-8 in the same file
            set.windows1252 = true;
        });
        CScriptedPrompts& prompts = s.prompts;
        struct Case {
            QString source, www, message;
            int focus;
        };
        const Case cases[] = {
            {"", "out/p", "You must define the HTML Source Document's Path & File Name!", 0},
            {"src.htm", "", "You must define the Create File Name's Path & File Name!", 4},
            {"src.htm", "page", "Root file name 'WWW File Names' needs a directory and a root file name!", 4},
            {"src.htm", "out/", "Root file name 'WWW File Names' needs a directory and a root file name!", 4},
        };
        for (const Case& c : cases) {
            TypeInto(s.header->Field(0), c.source);
            TypeInto(s.header->Field(4), c.www);
            QVERIFY(!s.sheet.SetActivePage(1));
            QCOMPARE(prompts.messages.back().text, c.message);
            QCOMPARE(QApplication::focusWidget(), s.header->Field(c.focus));
            s.sheet.OkButton()->click();  // OK runs the same checks
            QVERIFY(s.sheet.isVisible());
        }
        ClickInto(s.header->Field(4));
        s.header->Field(4)->setText(QStringLiteral("out/caf\u00e9"));  // past what key clicks can type
        s.header->Field(6)->setText(s.header->Field(6)->text() + QStringLiteral("x"));
        QVERIFY(s.sheet.SetActivePage(1));
        QCOMPARE(s.set.header[kDocumentField], std::string("src.htm"));
        QCOMPARE(s.set.header[kWwwFileNamesField], std::string("out/caf\xe9"));      // typed, Windows-1252
        QCOMPARE(s.set.header[kHeaderNameField], std::string("h\xe9.hdr"));         // untouched bytes
        QCOMPARE(s.set.header[kFooterNameField], std::string("f\xc3\xa9.ftrx"));   // edited, still UTF-8
    }

    void MakeFileAndMakeTocEditTheirFirstRecordInPlace() {
        Sheet s([](RuleWorkingSet& set) {
            Record(set, CommandKind::MakeTOC, 1, "<H2>", "</H2>\r\n");
            Record(set, CommandKind::Replace, 7, "a", "");
            Record(set, CommandKind::MakeTOC, 3, "<H3>", "</H3>");
        });
        CScriptedPrompts& prompts = s.prompts;
        // The Make TOC page shows the first MakeTOC, its line end as the marker.
        QVERIFY(s.sheet.SetActivePage(2));
        QCOMPARE(s.toc->StartField()->toPlainText(), QStringLiteral("<H2>"));
        QCOMPARE(s.toc->EndField()->toPlainText(), QStringLiteral("</H2>!$"));
        QVERIFY(s.sheet.SetActivePage(3));
        QCOMPARE(s.set.commands.At(0).secondText, std::string("</H2>\r\n"));  // unchanged, kept

        // Make File: a start without an end is refused, naming the end field.
        TypeInto(s.file->StartField(), QStringLiteral("<!-- c -->"));
        QVERIFY(!s.sheet.SetActivePage(0));
        QCOMPARE(prompts.messages.back().text,
                 QStringLiteral("If define a pattern for 'Start Pattern Designating...' must not leave "
                                "'End Pattern Designating...' empty!"));
        QCOMPARE(QApplication::focusWidget(), s.file->EndField());
        TypeInto(s.file->EndField(), QStringLiteral("<!-- /c -->"));
        TypeInto(s.file->StartField(), QString());
        QVERIFY(!s.sheet.SetActivePage(0));
        QCOMPARE(QApplication::focusWidget(), s.file->StartField());
        // Two patterns that each fit their field but not one line together,
        // and a pattern holding the marker between them.
        s.file->StartField()->setPlainText(QString(4095, 'a'));
        s.file->EndField()->setPlainText(QString(4095, 'b'));
        QVERIFY(!s.sheet.SetActivePage(0));
        QCOMPARE(prompts.messages.back().text, QStringLiteral("MakeFile command 1 is too long: a command may hold at "
                                                              "most 4096 characters in the rule file!"));
        TypeInto(s.file->EndField(), QStringLiteral("<!-- /c -->"));
        TypeInto(s.file->StartField(), QStringLiteral("<!-- c!...!d -->"));
        QVERIFY(!s.sheet.SetActivePage(0));
        QCOMPARE(prompts.messages.back().text,
                 QStringLiteral("MakeFile command 1 cannot be written: its 'Start Pattern Designating Make Into File' "
                                "holds \"!...!\", which the rule file reads as a marker of its own!"));
        QCOMPARE(QApplication::focusWidget(), s.file->StartField());
        TypeInto(s.file->StartField(), QStringLiteral("<!-- c -->"));
        QVERIFY(s.sheet.SetActivePage(2));
        const CCmdVar& added = s.set.commands.At(3);
        QCOMPARE(added.kind, CommandKind::MakeFile);
        QCOMPARE(added.commandNumber, 8);

        // Emptying both patterns removes the first MakeTOC; the second is next.
        TypeInto(s.toc->StartField(), QString());
        TypeInto(s.toc->EndField(), QString());
        QVERIFY(s.sheet.SetActivePage(3));
        RuleValues rule;
        QVERIFY(ComposeRuleFile(rule, s.set.commands, {})
                    .ends_with("\r\nMakeTOC <H3>!...!</H3>\r\nMakeFile <!-- c -->!...!<!-- /c -->"));
    }

    void ExecuteOrderMovesRowsAndStoresThemOnLeaving() {
        Sheet s([](RuleWorkingSet& set) { set.executeSequence = {4, 2, 3, 1, 5}; });
        QVERIFY(s.sheet.SetActivePage(1));
        QVERIFY(!s.order->UpButton()->isEnabled());
        s.order->List()->setCurrentRow(4);
        QVERIFY(!s.order->DownButton()->isEnabled());
        for (int i = 0; i < 4; ++i) s.order->UpButton()->click();
        QCOMPARE(s.order->List()->currentRow(), 0);
        QVERIFY(!s.order->UpButton()->isEnabled());
        QVERIFY(s.sheet.SetActivePage(2));
        QCOMPARE(s.set.executeSequence, (std::array<int, 5>{5, 4, 2, 3, 1}));

        // An id without a name shows as a row of its own and goes back as it was.
        s.set.executeSequence = {1, 9, 3, 0, 5};
        QVERIFY(s.sheet.SetActivePage(1));
        QCOMPARE(s.order->List()->item(1)->text(), QStringLiteral("'?'"));
        QCOMPARE(s.order->List()->currentRow(), 0);  // the selection survives the visit
        QVERIFY(s.sheet.SetActivePage(2));
        QCOMPARE(s.set.executeSequence, (std::array<int, 5>{1, 9, 3, 0, 5}));
    }
};

QTEST_MAIN(RulePagesTest)
#include "rule_pages_test.moc"
