// The Options sheet: what each page stores, and when.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "tests/ui/editor_test_support.h"
#include "platform/desktop/help_viewer.h"
#include "ui/editor/my_sheet.h"
#include "ui/shell/options_sheet.h"
#include "core/shell/preferences.h"
#include "core/shell/quillet_doc.h"
#include "platform/storage/settings_store.h"
#include "tests/ui/widget_test_support.h"

using namespace webquill;
using namespace webquill::test;

class OptionsSheetTest : public QObject {
    Q_OBJECT

    CSettingsStore m_store;

    std::string Stored(const char* name) const { return m_store.ReadString("Preferences", name); }

    // Runs the Options command over `doc`, the user's part done by `drive`.
    bool Options(CQuilletDoc& doc, const std::function<void(CMySheet&)>& drive) {
        bool ok = false;
        DriveSheet(drive, [&] { ok = RunOptionsSheet(nullptr, doc); });
        return ok;
    }

private slots:
    void init() { ClearSettingsStore(); }

    void CancelAfterTurningAPageKeepsTheStoredPreference() {
        CScriptedPrompts prompts;
        CQuilletDoc doc(m_store), before(m_store);
        doc.LoadSettings();
        before.LoadSettings();
        QVERIFY(!Options(doc, [](CMySheet& sheet) {
            sheet.HelpButton()->click();
            QCOMPARE(CurrentHelpContext(), kHelpPreferences);
            auto* prefs = static_cast<CPrefdlg*>(sheet.Page(0));
            prefs->MatchCaseBox()->setChecked(true);
            QVERIFY(!prefs->ChangedOnlyBox()->isChecked());
            prefs->ChangedOnlyBox()->setChecked(true);
            prefs->EditorField()->setText(QStringLiteral("vi"));
            QVERIFY(sheet.SetActivePage(1));
            static_cast<CTOCInfo*>(sheet.Page(1))->Field(0)->setText(QStringLiteral("Back"));
            InstallHelpKey();
            QTest::keyClick(static_cast<CTOCInfo*>(sheet.Page(1))->Field(0), Qt::Key_F1);
            QCOMPARE(CurrentHelpContext(), kHelpTocDefaults);
            sheet.CancelButton()->click();
        }));
        QCOMPARE(Stored("MatchCase"), std::string("1"));
        QCOMPARE(Stored("UploadChangedOnly"), std::string("1"));
        QCOMPARE(Stored("Editor"), std::string("vi"));
        QVERIFY(doc.settings.matchCase);
        QCOMPARE(doc.settings.previousTocInfo, std::string("Previous Page"));  // only OK stores these
        QVERIFY(Stored("PreviousTOCInfo").empty());
        QVERIFY(!before.settings.matchCase);  // a window opened before keeps its settings
        CQuilletDoc after(m_store);
        after.LoadSettings();
        QVERIFY(after.settings.matchCase);

        // The default editor chosen again: the document takes it, the store
        // keeps the other one.
        QVERIFY(Options(doc, [](CMySheet& sheet) {
            QVERIFY(static_cast<CPrefdlg*>(sheet.Page(0))->ChangedOnlyBox()->isChecked());
            static_cast<CPrefdlg*>(sheet.Page(0))->EditorField()->setText(QString::fromLatin1(kDefaultEditor));
            sheet.OkButton()->click();
        }));
        QCOMPARE(doc.editorProgram, std::string(kDefaultEditor));
        QCOMPARE(Stored("Editor"), std::string("vi"));
    }

    void OkStoresTheTocDefaultsAndNeedsAnImageFilter() {
        CScriptedPrompts prompts;
        m_store.WriteString("Preferences", "ImageFileFilter", "*.png");
        CQuilletDoc doc(m_store);
        doc.LoadSettings();
        QVERIFY(Options(doc, [](CMySheet& sheet) { sheet.OkButton()->click(); }));
        QCOMPARE(Stored("ImageFileFilter"), std::string("*.png"));
        QCOMPARE(Stored("ThisTOCInfo"), std::string("This Page"));  // written even unchanged
        QCOMPARE(Stored("DisplayErrors"), std::string("1"));        // the first page always stores

        QVERIFY(Options(doc, [&](CMySheet& sheet) {
            QVERIFY(sheet.SetActivePage(2));
            auto* image = static_cast<CImgPage*>(sheet.Page(2));
            QCOMPARE(image->FilterField()->text(), QStringLiteral("*.png"));
            image->FilterField()->clear();
            QVERIFY(!sheet.SetActivePage(0));
            sheet.OkButton()->click();
            QVERIFY(sheet.isVisible());
            QCOMPARE(prompts.messages.back().text, QStringLiteral("Image Filter may NOT be left empty!"));
            image->FilterField()->setText(QStringLiteral("*.gif"));
            sheet.OkButton()->click();
        }));
        QCOMPARE(doc.imageFileFilter, std::string("*.gif"));
        QCOMPARE(Stored("ImageFileFilter"), std::string("*.gif"));
    }
};

QTEST_MAIN(OptionsSheetTest)
#include "options_sheet_test.moc"
