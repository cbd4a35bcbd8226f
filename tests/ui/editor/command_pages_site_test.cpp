// The example rule file edited in the sheet: one command of each kind added
// through its page, saved, and published with webquill-publish. The site is
// the one the same commands give when written into the file by hand.
#include <QDirIterator>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "ui/editor/command_field.h"
#include "ui/editor/command_page.h"
#include "tests/ui/editor_test_support.h"
#include "ui/editor/my_sheet.h"
#include "core/shell/quillet_doc.h"
#include "ui/editor/rule_editor.h"
#include "platform/storage/settings_store.h"
#include "tests/ui/widget_test_support.h"

using namespace webquill;
using namespace webquill::test;

namespace {

// Every output file of a site, by its path under `root`.
std::map<QString, QByteArray> Site(const QString& root) {
    std::map<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        files[file.mid(root.size())] = ReadWholeFile(file);
    }
    return files;
}

// Publishes `rule` from the example's folder; the site moves to `site`.
// Gives the log's list of commands not executed.
QString Publish(const QString& dir, const char* rule, const QString& site) {
    const ProgramResult run = RunPublishProgram(rule, (dir + "/ex").toStdString(), "SOURCE_DATE_EPOCH=1000000000");
    if (run.status != 0) qWarning("%s", run.out.c_str());
    QDir().rename(dir + "/out", site);
    const QString log = QString::fromStdString(run.out);
    const qsizetype from = log.indexOf("Following Commands Not Executed:");
    return from < 0 ? QString() : log.mid(from, log.indexOf("\n \n", from) - from);
}

// The commands the pages add, by tab, and as the rule file writes them.
struct Added {
    int tab;
    QStringList fields;
    QString instance;
};
const Added kAdded[] = {
    {1, {"lawns", "LAWNS"}, "A"},
    {2, {"<P>4. Children", "cable.</P>"}, "1"},
    {3, {"<IMG SRC=\"images/pump.svg\" ALT=\"", "\"", "PumpAlt"}, ""},
    {4, {"<P>Added by the editor.</P>", "<H2>Choosing a Site</H2>"}, "1"},
    {5, {"<P>The ", "", "</P>", "<DIV CLASS=\"lead\">", "</DIV>"}, ""},
};
const char* const kByHand =
    "Replace lawns!with!LAWNS::A\r\n"
    "Delete <P>4. Children!...!cable.</P>::1\r\n"
    "Extract <IMG SRC=\"images/pump.svg\" ALT=\"!...!\"!save as!PumpAlt\r\n"
    "Add <P>Added by the editor.</P>!after!<H2>Choosing a Site</H2>::1\r\n"
    "Wrap <P>The !***!!...!</P>!with start!<DIV CLASS=\"lead\">!end!</DIV>\r\n";

}  // namespace

class CommandPagesSiteTest : public QObject {
    Q_OBJECT

private slots:
    void CommandsAddedThroughThePagesRunAndTheRestOfTheSiteStays() {
        QTemporaryDir dir;
        const QString root = dir.path();
        std::filesystem::copy(WEBQUILL_SOURCE_DIR "/examples", (root + "/ex").toStdString(),
                              std::filesystem::copy_options::recursive);
        const QByteArray original = ReadWholeFile(root + "/ex/manual.rul");
        WriteWholeFile(root + "/ex/by-hand.rul", original + kByHand);

        ClearSettingsStore();
        CSettingsStore store;
        CQuilletDoc doc(store);
        doc.LoadSettings();
        RecordingHost host;
        CScriptedPrompts prompts;
        prompts.chosenFiles = {root + "/ex/manual.rul", root + "/ex/edited.rul"};
        auto addOneOfEach = [&](CMySheet& sheet) {
            for (const Added& added : kAdded) {
                QVERIFY(sheet.SetActivePage(added.tab));
                auto* page = static_cast<CCommandPage*>(sheet.ActivePage());
                const int loaded = page->CountField()->text().toInt();
                QVERIFY(loaded > 0);
                prompts.answers = {PromptAnswer::Yes};
                for (int i = 0; i < loaded; ++i) QTest::keyClick(page->SelectSpin(), Qt::Key_Up);
                QCOMPARE(page->CountField()->text().toInt(), loaded + 1);
                for (int i = 0; i < added.fields.size(); ++i) TypeInto(page->Field(i), added.fields[i]);
                if (!added.instance.isEmpty()) TypeInto(page->InstanceField(), added.instance);
            }
            sheet.OkButton()->click();
        };
        QCOMPARE(DriveSheet(addOneOfEach, [&] { RunRuleEditor(nullptr, doc, host, QString()); }), 1);
        QVERIFY(QFile::exists(root + "/ex/edited.rul"));

        const QString baseNotRun = Publish(root, "manual.rul", root + "/base");
        const QString handNotRun = Publish(root, "by-hand.rul", root + "/hand");
        const QString editedNotRun = Publish(root, "edited.rul", root + "/edited");
        // The same commands written by hand give the same site, which is
        // not the example's: the new commands ran, the rest stayed.
        const auto edited = Site(root + "/edited");
        QVERIFY(edited.size() > 3);
        QVERIFY(edited == Site(root + "/hand"));
        QVERIFY(edited != Site(root + "/base"));
        QCOMPARE(editedNotRun, handNotRun);
        QCOMPARE(editedNotRun, baseNotRun);  // every new command found its text
    }
};

QTEST_MAIN(CommandPagesSiteTest)
#include "command_pages_site_test.moc"
