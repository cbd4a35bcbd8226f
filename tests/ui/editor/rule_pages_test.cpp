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

}  // namespace

class RulePagesTest : public QObject {
    Q_OBJECT

private slots:
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
