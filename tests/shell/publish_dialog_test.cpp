// The publish dialog, driven with keys and mouse as a user would.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QWindow>
#include <QtTest>
#include <memory>

#include "help_viewer.h"
#include "publish_dialog.h"
#include "quillet_doc.h"
#include "settings_store.h"
#include "widget_test_support.h"

using namespace webquill;

namespace {

const char* kRecentSection = "Recent Rule Files";

void SeedRecentRuleFiles(const QStringList& paths) {
    CSettingsStore store;
    for (int i = 0; i < paths.size(); ++i)
        store.WriteString(kRecentSection, "RuleFile" + std::to_string(i + 1), paths[i].toStdString());
}

QStringList StoredRecentRuleFiles() {
    CSettingsStore store;
    QStringList paths;
    for (int i = 1; i <= 100; ++i) {
        const std::string value = store.ReadString(kRecentSection, "RuleFile" + std::to_string(i));
        if (value.empty()) break;
        paths << QString::fromStdString(value);
    }
    return paths;
}

QStringList ToQStrings(const std::vector<std::string>& values) {
    QStringList list;
    for (const std::string& value : values) list << QString::fromStdString(value);
    return list;
}

// One document and its dialog, shown and active as after BeginPublishing.
struct Fixture {
    CSettingsStore store;
    CQuilletDoc doc{store};
    std::unique_ptr<CPublishDlg> dialog;

    Fixture() { doc.LoadSettings(); }

    bool Open() {
        dialog = std::make_unique<CPublishDlg>(doc);
        dialog->show();
        dialog->activateWindow();
        return QTest::qWaitForWindowActive(dialog.get());
    }
    QWidget* Focus() const { return QApplication::focusWidget(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(Focus(), key, modifiers);
    }
    void Type(const QString& text) { QTest::keyClicks(Focus(), text); }
    void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    bool ComboHasFocus() const {
        QComboBox* combo = dialog->RuleFileCombo();
        return Focus() == combo || Focus() == combo->lineEdit();
    }
    // Picks entry `row` of the combo's list with the mouse.
    void PickWithMouse(int row) {
        QComboBox* combo = dialog->RuleFileCombo();
        combo->showPopup();
        QAbstractItemView* view = combo->view();
        QVERIFY(QTest::qWaitForWindowExposed(view->window()));
        const QRect rect = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
        QTRY_VERIFY(!view->isVisible());
    }
};

}  // namespace

class PublishDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() { test::ClearSettingsStore(); }
    void cleanup() {
        if (QWidget* help = HelpWindowForTests()) help->hide();
    }

    void showsItsCaptionsAndOpensWithStartDisabled() {
        SeedRecentRuleFiles({"/rules/a.rul", "/rules/b.rul"});
        Fixture f;
        QVERIFY(f.Open());
        CPublishDlg& d = *f.dialog;
        QCOMPARE(d.windowTitle(), QStringLiteral("HTML/Text File Document Publisher"));
        QCOMPARE(d.RuleFileLabel()->text(), QStringLiteral("Select/Enter &Rule File Path and Name:"));
        QCOMPARE(d.RuleFileLabel()->buddy(), d.RuleFileCombo());
        QCOMPARE(d.BrowseLabel()->text(), QStringLiteral("&Browse"));
        QCOMPARE(d.BrowseButton()->text(), QStringLiteral("..."));
        QCOMPARE(d.MatchCaseBox()->text(), QStringLiteral("&Match Case Everywhere"));
        QCOMPARE(d.StartButton()->text(), QStringLiteral("&Start"));
        QCOMPARE(d.RuleEditorButton()->text(), QStringLiteral("Rule &Editor"));
        QCOMPARE(d.HelpButton()->text(), QStringLiteral("&Help"));
        QCOMPARE(d.CancelButton()->text(), QStringLiteral("Ca&ncel"));

        QVERIFY(d.RuleFileCombo()->isEditable());
        QCOMPARE(d.RuleFileCombo()->count(), 2);
        QCOMPARE(d.RuleFileCombo()->itemText(0), QStringLiteral("/rules/a.rul"));
        QCOMPARE(d.RuleFileCombo()->itemText(1), QStringLiteral("/rules/b.rul"));
        QCOMPARE(d.RuleFileText(), QString());
        QVERIFY(!d.StartButton()->isEnabled());
        QVERIFY(!d.RuleEditorButton()->isEnabled());
        QVERIFY(!d.MatchCaseBox()->isChecked());
        QVERIFY(f.ComboHasFocus());
        for (QPushButton* button :
             {d.BrowseButton(), d.StartButton(), d.RuleEditorButton(), d.HelpButton(), d.CancelButton()})
            QVERIFY2(!button->autoDefault() && !button->isDefault(), qPrintable(button->text()));
    }

    void matchCaseStartsFromTheDocument() {
        CSettingsStore().WriteString("Preferences", "MatchCase", "1");
        Fixture f;
        QVERIFY(f.Open());
        QVERIFY(f.dialog->MatchCaseBox()->isChecked());
    }

    void tabVisitsTheControlsInOrder() {
        SeedRecentRuleFiles({"/rules/a.rul"});
        Fixture f;
        QVERIFY(f.Open());
        CPublishDlg& d = *f.dialog;
        f.Key(Qt::Key_Down);  // picks an entry, so that Start takes part
        QVERIFY(d.StartButton()->isEnabled());
        d.SetRuleEditor([](QWidget*, const QString&) { return std::optional<QString>(); });
        const QList<QWidget*> expected = {d.BrowseButton(), d.MatchCaseBox(), d.StartButton(),
                                          d.RuleEditorButton(), d.HelpButton(), d.CancelButton()};
        for (QWidget* next : expected) {
            f.Key(Qt::Key_Tab);
            QCOMPARE(f.Focus(), next);
        }
        f.Key(Qt::Key_Tab);
        QVERIFY(f.ComboHasFocus());
        // The mnemonic of the "&Browse" label leads to the browse button.
        QTest::keyClick(&d, Qt::Key_B, Qt::AltModifier);
        QCOMPARE(f.Focus(), d.BrowseButton());
        QTest::keyClick(&d, Qt::Key_R, Qt::AltModifier);
        QVERIFY(f.ComboHasFocus());
    }

    // Each step: "type:TEXT", "clear" (select all, delete), "tab", "down"
    // (the arrow key picks the next entry), "pick" (the mouse picks entry 0),
    // "checkbox" (a click moves the focus there).
    void startEnablingFollowsFocusAndPicks_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("startEnabled");
        QTest::newRow("typed path alone") << QStringList{"type:/rules/new.rul"} << false;
        QTest::newRow("typed path, Tab out") << QStringList{"type:/rules/new.rul", "tab"} << true;
        QTest::newRow("typed path, click elsewhere") << QStringList{"type:/rules/new.rul", "checkbox"} << true;
        QTest::newRow("empty text, Tab out") << QStringList{"tab"} << false;
        QTest::newRow("picked with the mouse") << QStringList{"pick"} << true;
        QTest::newRow("picked with the arrow key") << QStringList{"down"} << true;
        QTest::newRow("picked, then emptied by typing") << QStringList{"pick", "clear"} << true;
        QTest::newRow("picked, emptied, Tab out") << QStringList{"pick", "clear", "tab"} << false;
        QTest::newRow("enabled, emptied, typed again")
            << QStringList{"type:x", "tab", "clear", "type:y"} << true;
    }
    void startEnablingFollowsFocusAndPicks() {
        QFETCH(QStringList, steps);
        QFETCH(bool, startEnabled);
        SeedRecentRuleFiles({"/rules/a.rul", "/rules/b.rul"});
        Fixture f;
        QVERIFY(f.Open());
        for (const QString& step : steps) {
            if (step.startsWith("type:")) {
                if (!f.ComboHasFocus()) f.dialog->RuleFileCombo()->setFocus();
                f.Type(step.mid(5));
            } else if (step == "clear") {
                if (!f.ComboHasFocus()) f.dialog->RuleFileCombo()->setFocus();
                f.Key(Qt::Key_A, Qt::ControlModifier);
                f.Key(Qt::Key_Delete);
                QCOMPARE(f.dialog->RuleFileText(), QString());
            } else if (step == "tab") {
                f.Key(Qt::Key_Tab);
            } else if (step == "down") {
                f.Key(Qt::Key_Down);
            } else if (step == "pick") {
                f.PickWithMouse(0);
                QCOMPARE(f.dialog->RuleFileText(), QStringLiteral("/rules/a.rul"));
            } else if (step == "checkbox") {
                f.Click(f.dialog->MatchCaseBox());
            }
        }
        QCOMPARE(f.dialog->StartButton()->isEnabled(), startEnabled);
    }

    void typedPrefixOfARecentFileIsNotCompleted() {
        SeedRecentRuleFiles({"/rules/alpha.rul"});
        Fixture f;
        QVERIFY(f.Open());
        f.Type("/rules/al");
        f.Key(Qt::Key_Tab);
        QCOMPARE(f.dialog->RuleFileText(), QStringLiteral("/rules/al"));
    }

    void browseAsksForARuleFileInTheLastFolder_data() {
        QTest::addColumn<QString>("typedBefore");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("textAfter");
        QTest::addColumn<bool>("startEnabled");
        QTest::addColumn<QString>("lastPathAfter");
        QTest::newRow("chosen") << "" << "/home/ann/rules/site.rul" << "/home/ann/rules/site.rul" << true
                                << "/home/ann/rules";
        QTest::newRow("chosen over typed text") << "old.rul" << "/home/ann/x.rul" << "/home/ann/x.rul" << true
                                                << "/home/ann";
        QTest::newRow("chosen at the root") << "" << "/top.rul" << "/top.rul" << true << "/";
        QTest::newRow("cancelled, empty text") << "" << "" << "" << false << "/seed/folder";
        QTest::newRow("cancelled, typed text kept") << "typed.rul" << "" << "typed.rul" << true << "/seed/folder";
    }
    void browseAsksForARuleFileInTheLastFolder() {
        QFETCH(QString, typedBefore);
        QFETCH(QString, chosen);
        QFETCH(QString, textAfter);
        QFETCH(bool, startEnabled);
        QFETCH(QString, lastPathAfter);
        CSettingsStore().WriteString("Preferences", "LastPath", "/seed/folder");
        test::CScriptedPrompts prompts;
        if (!chosen.isEmpty()) prompts.chosenFiles.push_back(chosen);
        Fixture f;
        QVERIFY(f.Open());
        f.Type(typedBefore);
        f.Click(f.dialog->BrowseButton());

        QCOMPARE(prompts.fileDialogs.size(), std::size_t{1});
        const FileDialogRequest& asked = prompts.fileDialogs.front();
        QCOMPARE(asked.caption, QStringLiteral("Select Rule File"));
        QCOMPARE(asked.directory, QStringLiteral("/seed/folder"));
        QCOMPARE(asked.filters, (QStringList{"Rule Files (*.rul) (*.rul)", "All Files (*.*) (*.*)"}));
        QVERIFY(!asked.save);

        QCOMPARE(f.dialog->RuleFileText(), textAfter);
        QCOMPARE(f.dialog->StartButton()->isEnabled(), startEnabled);
        QCOMPARE(QString::fromStdString(f.doc.lastPath), lastPathAfter);
        QCOMPARE(QString::fromStdString(CSettingsStore().ReadString("Preferences", "LastPath")), lastPathAfter);
        QVERIFY(f.dialog->isVisible());
    }

    void folderOfAFileDropsTheSeparator_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::newRow("slashes") << "/a/b/c.rul" << "/a/b";
        QTest::newRow("backslashes") << "a\\b\\c.rul" << "a\\b";
        QTest::newRow("mixed, last one counts") << "C:\\web/rules\\c.rul" << "C:\\web/rules";
        QTest::newRow("root") << "/c.rul" << "/";
        QTest::newRow("drive root") << "C:\\c.rul" << "C:\\";
        QTest::newRow("bare name") << "c.rul" << "";
    }
    void folderOfAFileDropsTheSeparator() {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QCOMPARE(QString::fromStdString(FolderOfFile(path.toStdString())), folder);
    }

    void startWithEmptyTextWarnsAndStaysOpen() {
        SeedRecentRuleFiles({"/rules/a.rul"});
        test::CScriptedPrompts prompts;
        Fixture f;
        QVERIFY(f.Open());
        f.Key(Qt::Key_Down);  // Start becomes usable ...
        f.Key(Qt::Key_A, Qt::ControlModifier);
        f.Key(Qt::Key_Delete);  // ... and stays so while the text is typed away
        QVERIFY(f.dialog->StartButton()->isEnabled());
        QTest::keyClick(f.dialog.get(), Qt::Key_S, Qt::AltModifier);

        QTRY_COMPARE(prompts.messages.size(), std::size_t{1});
        QCOMPARE(prompts.messages[0].text, QStringLiteral("You must specify a Rule File!"));
        QVERIFY(prompts.messages[0].buttons == PromptButtons::Ok);
        QVERIFY(f.dialog->isVisible());
        QCOMPARE(f.dialog->result(), 0);
        QVERIFY(f.ComboHasFocus());
        QCOMPARE(f.doc.ruleFilePath, std::string());
        QCOMPARE(ToQStrings(f.doc.recentRuleFiles), QStringList{"/rules/a.rul"});
    }

    void startCopiesPathAndMatchCaseAndRemembersThePath() {
        SeedRecentRuleFiles({"/rules/a.rul", "/rules/b.rul"});
        Fixture f;
        QVERIFY(f.Open());
        QSignalSpy accepted(f.dialog.get(), &QDialog::accepted);
        f.Type(" /rules/new path.rul ");  // taken as typed, blanks included
        f.Key(Qt::Key_Tab);
        f.Key(Qt::Key_Tab);
        QCOMPARE(f.Focus(), f.dialog->MatchCaseBox());
        f.Key(Qt::Key_Space);
        f.Click(f.dialog->StartButton());

        QCOMPARE(accepted.count(), 1);
        QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
        QCOMPARE(f.doc.ruleFilePath, std::string(" /rules/new path.rul "));
        QVERIFY(f.doc.settings.matchCase);
        const QStringList expected{" /rules/new path.rul ", "/rules/a.rul", "/rules/b.rul"};
        QCOMPARE(ToQStrings(f.doc.recentRuleFiles), expected);
        QCOMPARE(StoredRecentRuleFiles(), expected);
    }

    // Two runs in a row with the paths given; the recent list afterwards.
    void recentRuleFilesAfterStarts_data() {
        QTest::addColumn<QStringList>("seeded");
        QTest::addColumn<QStringList>("started");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("same path twice") << QStringList{"/r/a.rul", "/r/b.rul", "/r/c.rul"}
                                         << QStringList{"/r/b.rul", "/r/b.rul"}
                                         << QStringList{"/r/b.rul", "/r/a.rul", "/r/c.rul"};
        QTest::newRow("paths differing in case") << QStringList{"/r/Site.rul"} << QStringList{"/r/site.rul"}
                                                 << QStringList{"/r/site.rul", "/r/Site.rul"};
        QStringList forty;
        for (int i = 1; i <= 40; ++i) forty << QStringLiteral("/r/file%1.rul").arg(i, 2, 10, QLatin1Char('0'));
        QStringList dropped = forty.mid(0, 39);
        dropped.prepend("/r/new.rul");
        QTest::newRow("forty and a new one") << forty << QStringList{"/r/new.rul"} << dropped;
        QStringList moved = forty;
        moved.move(39, 0);
        QTest::newRow("forty and the oldest again") << forty << QStringList{"/r/file40.rul"} << moved;
    }
    void recentRuleFilesAfterStarts() {
        QFETCH(QStringList, seeded);
        QFETCH(QStringList, started);
        QFETCH(QStringList, expected);
        SeedRecentRuleFiles(seeded);
        Fixture f;
        for (const QString& path : started) {
            QVERIFY(f.Open());
            f.Type(path);
            f.Key(Qt::Key_Tab);
            f.Click(f.dialog->StartButton());
            QCOMPARE(f.dialog->result(), int(QDialog::Accepted));
        }
        QCOMPARE(ToQStrings(f.doc.recentRuleFiles), expected);
        QCOMPARE(StoredRecentRuleFiles(), expected);
        if (expected.size() == 40)
            QCOMPARE(CSettingsStore().ReadString(kRecentSection, "RuleFile41"), std::string());
        // A window opened later offers the same list.
        Fixture later;
        QVERIFY(later.Open());
        QCOMPARE(later.dialog->RuleFileCombo()->count(), int(expected.size()));
        QCOMPARE(later.dialog->RuleFileCombo()->itemText(0), expected.front());
    }

    void pickedEntryKeepsItsOwnBytes() {
        // A path stored by another program in a single-byte code page.
        const std::string latin1Path = "/r/caf\xe9.rul";
        CSettingsStore store;
        CQuilletDoc doc(store);
        doc.LoadSettings();
        doc.recentRuleFiles = {latin1Path};
        CPublishDlg dialog(doc);
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::mouseClick(dialog.StartButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(doc.ruleFilePath, latin1Path);
    }

    void cancelAfterBrowseLeavesTheDocumentAlone() {
        SeedRecentRuleFiles({"/r/a.rul"});
        CSettingsStore().WriteString("Preferences", "MatchCase", "1");
        test::CScriptedPrompts prompts;
        prompts.chosenFiles.push_back("/home/ann/site.rul");
        Fixture f;
        f.doc.ruleFilePath.clear();
        QVERIFY(f.Open());
        QSignalSpy rejected(f.dialog.get(), &QDialog::rejected);
        f.Click(f.dialog->BrowseButton());
        f.Click(f.dialog->MatchCaseBox());
        f.Click(f.dialog->CancelButton());

        QCOMPARE(rejected.count(), 1);
        QVERIFY(!f.dialog->isVisible());
        QCOMPARE(f.doc.ruleFilePath, std::string());
        QVERIFY(f.doc.settings.matchCase);
        QCOMPARE(ToQStrings(f.doc.recentRuleFiles), QStringList{"/r/a.rul"});
        QCOMPARE(StoredRecentRuleFiles(), QStringList{"/r/a.rul"});
    }

    // Focus on the control named, then the key: nothing happens.
    void enterAndEscapeDoNothing_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        for (const char* focus : {"combo", "checkbox", "start", "cancel"})
            for (const auto& [name, key] : {std::pair{"Return", Qt::Key_Return}, std::pair{"Enter", Qt::Key_Enter},
                                            std::pair{"Escape", Qt::Key_Escape}})
                QTest::newRow(qPrintable(QStringLiteral("%1 on %2").arg(name, focus))) << focus << int(key);
    }
    void enterAndEscapeDoNothing() {
        QFETCH(QString, focus);
        QFETCH(int, key);
        SeedRecentRuleFiles({"/r/a.rul", "/r/b.rul"});
        test::CScriptedPrompts prompts;
        Fixture f;
        QVERIFY(f.Open());
        QSignalSpy finished(f.dialog.get(), &QDialog::finished);
        // A typed text that matches a list entry: Enter must not pick it.
        f.Type("/r/b.rul");
        if (focus != "combo") {
            f.Key(Qt::Key_Tab);  // leaving the combo enables Start
            QWidget* target = focus == "checkbox" ? static_cast<QWidget*>(f.dialog->MatchCaseBox())
                              : focus == "start"  ? f.dialog->StartButton()
                                                  : f.dialog->CancelButton();
            while (f.Focus() != target) f.Key(Qt::Key_Tab);
        }
        const bool startBefore = f.dialog->StartButton()->isEnabled();
        f.Key(Qt::Key(key));
        QTest::qWait(50);

        QVERIFY(f.dialog->isVisible());
        QCOMPARE(finished.count(), 0);
        QCOMPARE(f.dialog->StartButton()->isEnabled(), startBefore);
        QCOMPARE(f.dialog->RuleFileText(), QStringLiteral("/r/b.rul"));
        QCOMPARE(f.dialog->RuleFileCombo()->count(), 2);
        QVERIFY(prompts.messages.empty());
        QCOMPARE(f.doc.ruleFilePath, std::string());
    }

    void helpOpensThePublishTopic() {
        Fixture f;
        QVERIFY(f.Open());
        f.Click(f.dialog->HelpButton());
        QWidget* help = HelpWindowForTests();
        QVERIFY(help);
        QTRY_VERIFY(help->isVisible());
        QCOMPARE(help->windowTitle(), QStringLiteral("Webquill Help"));
        QCOMPARE(CurrentHelpContext(), 5015);
        QVERIFY(f.dialog->isVisible());
    }

    void helpCanBeReadWhileTheDialogIsModal() {
        Fixture f;
        f.dialog = std::make_unique<CPublishDlg>(f.doc);
        f.dialog->setWindowModality(Qt::ApplicationModal);
        f.dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(f.dialog.get()));
        f.Click(f.dialog->HelpButton());
        QWidget* help = HelpWindowForTests();
        QVERIFY(help && help->windowHandle());
        QTRY_VERIFY(help->isVisible());
        QScrollBar* bar = HelpBrowserForTests()->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        bar->setValue(0);
        // Through the window system, as a real key press comes: a window
        // blocked by the modal dialog would never see it.
        QTest::keyClick(help->windowHandle(), Qt::Key_Space);
        QTRY_VERIFY(bar->value() > 0);
        QVERIFY(f.dialog->isVisible());
    }

    void ruleEditorIsOffOnlyUntilOneIsPluggedIn() {
        test::CScriptedPrompts prompts;
        Fixture f;
        QVERIFY(f.Open());
        CPublishDlg& d = *f.dialog;
        QVERIFY(!d.RuleEditorButton()->isEnabled());

        QString proposed;
        std::optional<QString> answer = QStringLiteral("/home/ann/written.rul");
        d.SetRuleEditor([&](QWidget* owner, const QString& currentText) {
            if (owner != &d) qWarning("rule editor run over the wrong owner");
            proposed = currentText;
            return answer;
        });
        QVERIFY(d.RuleEditorButton()->isEnabled());
        f.Type("draft.rul");
        f.Click(d.RuleEditorButton());
        QCOMPARE(proposed, QStringLiteral("draft.rul"));
        QCOMPARE(d.RuleFileText(), QStringLiteral("/home/ann/written.rul"));
        QVERIFY(d.StartButton()->isEnabled());

        // An edit that wrote nothing leaves the text as it was.
        answer.reset();
        f.Click(d.RuleEditorButton());
        QCOMPARE(d.RuleFileText(), QStringLiteral("/home/ann/written.rul"));
        QVERIFY(d.isVisible());

        d.SetRuleEditor(nullptr);
        QVERIFY(!d.RuleEditorButton()->isEnabled());
    }

    // The dialog always opens empty, even for a window that already knows a
    // rule file (one named on the command line); Start needs a name given here.
    void opensEmptyWhateverTheWindowKnows() {
        Fixture f;
        f.doc.ruleFilePath = "/home/ann/from-command-line.rul";
        QVERIFY(f.Open());
        QCOMPARE(f.dialog->RuleFileText(), QString());
        QVERIFY(!f.dialog->StartButton()->isEnabled());
    }
};

QTEST_MAIN(PublishDialogTest)
#include "publish_dialog_test.moc"
