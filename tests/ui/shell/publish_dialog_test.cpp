// The publish dialog, driven with keys and mouse as a user would.
#include <QtTest>
#include <QtWidgets>

#include "platform/desktop/help_viewer.h"
#include "ui/editor/publish_dialog.h"
#include "core/shell/quillet_doc.h"
#include "platform/storage/settings_store.h"
#include "tests/ui/widget_test_support.h"

using namespace webquill;

class PublishDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::CScriptedPrompts> m_prompts;
    CSettingsStore m_store;
    std::unique_ptr<CQuilletDoc> m_doc;
    std::unique_ptr<CPublishDlg> m_dialog;

    // Shown and active as after BeginPublishing.
    bool Open(Qt::WindowModality modality = Qt::NonModal) {
        m_dialog = std::make_unique<CPublishDlg>(*m_doc);
        m_dialog->setWindowModality(modality);
        m_dialog->show();
        m_dialog->activateWindow();
        return QTest::qWaitForWindowActive(m_dialog.get());
    }
    QWidget* Focus() const { return QApplication::focusWidget(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(Focus(), key, modifiers); }
    void Type(const QString& text) { QTest::keyClicks(Focus(), text); }
    void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    bool ComboHasFocus() const {
        return Focus() == m_dialog->RuleFileCombo() || Focus() == m_dialog->RuleFileCombo()->lineEdit();
    }
    void ClearText() {
        Key(Qt::Key_A, Qt::ControlModifier);
        Key(Qt::Key_Delete);
    }
    // What a document made now would offer.
    QStringList StoredRecentRuleFiles() {
        CQuilletDoc doc(m_store);
        doc.LoadSettings();
        QStringList list;
        for (const std::string& path : doc.recentRuleFiles) list << QString::fromStdString(path);
        return list;
    }

private slots:
    void init() {
        test::ClearSettingsStore();
        m_prompts = std::make_unique<test::CScriptedPrompts>();
        m_doc = std::make_unique<CQuilletDoc>(m_store);
        m_doc->LoadSettings();
        m_doc->recentRuleFiles = {"/rules/a.rul", "/rules/b.rul"};
    }
    void cleanup() {
        m_dialog.reset();
        m_prompts.reset();
        if (QWidget* help = HelpWindowForTests()) help->hide();
    }

    // Empty even for a window that already knows a rule file from an opened
    // log: Start needs a name given here.
    void opensEmptyWithTheRecentListAndStartOff() {
        m_doc->ruleFilePath = "/home/ann/from-command-line.rul";
        QVERIFY(Open());
        CPublishDlg& d = *m_dialog;
        QCOMPARE(d.windowTitle(), QStringLiteral("HTML/Text File Document Publisher"));
        QStringList captions = {d.RuleFileLabel()->text(), d.BrowseLabel()->text(), d.MatchCaseBox()->text()};
        for (QPushButton* button : {d.BrowseButton(), d.StartButton(), d.RuleEditorButton(), d.HelpButton(),
                                    d.CancelButton()}) {
            captions << button->text();
            QVERIFY2(!button->autoDefault() && !button->isDefault(), qPrintable(button->text()));
        }
        QCOMPARE(captions, QStringList({"Select/Enter &Rule File Path and Name:", "&Browse", "&Match Case Everywhere",
                                        "...", "&Start", "Rule &Editor", "&Help", "Ca&ncel"}));
        QCOMPARE(d.RuleFileCombo()->count(), 2);
        QCOMPARE(d.RuleFileCombo()->itemText(1), QStringLiteral("/rules/b.rul"));
        QCOMPARE(d.RuleFileText(), QString());
        QVERIFY(!d.StartButton()->isEnabled() && !d.RuleEditorButton()->isEnabled());
        QVERIFY(!d.MatchCaseBox()->isChecked() && ComboHasFocus());
        // Tab order; the "&Browse" label leads to the browse button.
        Key(Qt::Key_Down);  // picks an entry, so that Start takes part
        for (QWidget* next : QList<QWidget*>{d.BrowseButton(), d.MatchCaseBox(), d.StartButton(), d.HelpButton(),
                                             d.CancelButton(), d.RuleFileCombo()}) {
            Key(Qt::Key_Tab);
            QCOMPARE(Focus(), next);
        }
        QTest::keyClick(&d, Qt::Key_B, Qt::AltModifier);
        QCOMPARE(Focus(), d.BrowseButton());
    }

    // Steps: "type:TEXT", "clear" (select all, delete), "tab", "down" (the
    // arrow key picks the next entry), "pick" (the mouse picks entry 0),
    // "checkbox" (a click moves the focus there).
    void startEnablingFollowsFocusAndPicks_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("startEnabled");
        QTest::addColumn<QString>("text");
        QTest::newRow("typed path alone") << QStringList{"type:/r/new.rul"} << false << "/r/new.rul";
        QTest::newRow("typed path, Tab out") << QStringList{"type:/r/new.rul", "tab"} << true << "/r/new.rul";
        QTest::newRow("typed, click elsewhere") << QStringList{"type:/r/new.rul", "checkbox"} << true << "/r/new.rul";
        QTest::newRow("prefix of an entry not completed") << QStringList{"type:/rules/a", "tab"} << true << "/rules/a";
        QTest::newRow("empty text, Tab out") << QStringList{"tab"} << false << "";
        QTest::newRow("picked with the mouse") << QStringList{"pick"} << true << "/rules/a.rul";
        QTest::newRow("picked with the arrow key") << QStringList{"down"} << true << "/rules/a.rul";
        QTest::newRow("picked, then emptied by typing") << QStringList{"pick", "clear"} << true << "";
        QTest::newRow("picked, emptied, Tab out") << QStringList{"pick", "clear", "tab"} << false << "";
        QTest::newRow("enabled, emptied, typed again") << QStringList{"type:x", "tab", "clear", "type:y"} << true
                                                       << "y";
    }
    void startEnablingFollowsFocusAndPicks() {
        QFETCH(QStringList, steps);
        QVERIFY(Open());
        QComboBox* combo = m_dialog->RuleFileCombo();
        for (const QString& step : steps) {
            if ((step.startsWith("type:") || step == "clear") && !ComboHasFocus()) combo->setFocus();
            if (step.startsWith("type:")) Type(step.mid(5));
            if (step == "clear") ClearText();
            if (step == "tab" || step == "down") Key(step == "tab" ? Qt::Key_Tab : Qt::Key_Down);
            if (step == "checkbox") Click(m_dialog->MatchCaseBox());
            if (step == "pick") {
                combo->showPopup();
                QAbstractItemView* view = combo->view();
                QVERIFY(QTest::qWaitForWindowExposed(view->window()));
                const QPoint first = view->visualRect(view->model()->index(0, 0)).center();
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, first);
                QTRY_VERIFY(!view->isVisible());
            }
        }
        QTEST(m_dialog->StartButton()->isEnabled(), "startEnabled");
        QTEST(m_dialog->RuleFileText(), "text");
    }

    // A chosen file replaces the text and enables Start; the last folder is
    // remembered only when a file is chosen. Cancel then leaves the document
    // and the recent list alone, match case included.
    void browseAsksForARuleFileInTheLastFolder_data() {
        QTest::addColumn<QString>("typedBefore");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("lastPathAfter");
        QTest::newRow("chosen over typed text") << "old.rul" << "/ann/x.rul" << "/ann";
        QTest::newRow("chosen at the root") << "" << "/top.rul" << "/";
        QTest::newRow("cancelled, empty text") << "" << "" << "/seed/folder";
        QTest::newRow("cancelled, typed text kept") << "typed.rul" << "" << "/seed/folder";
    }
    void browseAsksForARuleFileInTheLastFolder() {
        QFETCH(QString, typedBefore);
        QFETCH(QString, chosen);
        QFETCH(QString, lastPathAfter);
        m_doc->lastPath = "/seed/folder";
        m_doc->settings.matchCase = chosen.isEmpty();
        if (!chosen.isEmpty()) m_prompts->chosenFiles << chosen;
        QVERIFY(Open());
        QCOMPARE(m_dialog->MatchCaseBox()->isChecked(), chosen.isEmpty());  // as the document has it
        Type(typedBefore);
        Click(m_dialog->BrowseButton());
        QCOMPARE(m_prompts->fileDialogs.size(), std::size_t{1});
        const FileDialogRequest& asked = m_prompts->fileDialogs.front();
        QCOMPARE(asked.caption + '|' + asked.directory, QStringLiteral("Select Rule File|/seed/folder"));
        // The descriptions as written, patterns and all.
        QCOMPARE(asked.filters, (QStringList{"Rule Files (*.rul) (*.rul)", "All Files (*.*) (*.*)"}));
        QVERIFY(!asked.save && m_dialog->isVisible());
        const QString textAfter = chosen.isEmpty() ? typedBefore : chosen;
        QCOMPARE(m_dialog->RuleFileText(), textAfter);
        QCOMPARE(m_dialog->StartButton()->isEnabled(), !textAfter.isEmpty());
        QCOMPARE(QString::fromStdString(m_doc->lastPath), lastPathAfter);
        QCOMPARE(QString::fromStdString(m_store.ReadString("Preferences", "LastPath")),
                 chosen.isEmpty() ? QString() : lastPathAfter);
        Click(m_dialog->MatchCaseBox());
        Click(m_dialog->CancelButton());
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
        QVERIFY(!m_dialog->isVisible() && m_doc->settings.matchCase == chosen.isEmpty());
        QVERIFY(m_doc->ruleFilePath.empty() && StoredRecentRuleFiles().isEmpty());
    }

    void folderOfAFileDropsTheSeparator() {
        const QList<std::pair<std::string, std::string>> cases = {
            {"/a/b/c.rul", "/a/b"}, {"a\\b\\c.rul", "a\\b"}, {"C:\\web/rules\\c.rul", "C:\\web/rules"},
            {"/c.rul", "/"},        {"C:\\c.rul", "C:\\"},   {"c.rul", ""}};
        for (const auto& [path, folder] : cases) QCOMPARE(FolderOfFile(path), folder);
    }

    // Start with the text typed away warns and stays; with a path typed it
    // copies path and match case and remembers the path; a picked entry
    // keeps its own bytes (a path stored in a single-byte code page).
    void startNeedsARuleFile() {
        QVERIFY(Open());
        Key(Qt::Key_Down);  // Start becomes usable and stays so while the text is typed away
        ClearText();
        QTest::keyClick(m_dialog.get(), Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(m_prompts->messages.size(), std::size_t{1});
        QCOMPARE(m_prompts->messages[0].text, QStringLiteral("You must specify a Rule File!"));
        QVERIFY(m_prompts->messages[0].buttons == PromptButtons::Ok);
        QVERIFY(m_dialog->isVisible() && m_dialog->result() == 0 && ComboHasFocus());
        QVERIFY(m_doc->ruleFilePath.empty() && StoredRecentRuleFiles().isEmpty());

        Type(" /rules/new path.rul ");  // taken as typed, blanks included
        Key(Qt::Key_Tab);
        Key(Qt::Key_Tab);
        Key(Qt::Key_Space);  // on the match case box
        Click(m_dialog->StartButton());
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(m_doc->ruleFilePath, std::string(" /rules/new path.rul "));
        QVERIFY(m_doc->settings.matchCase);
        QCOMPARE(StoredRecentRuleFiles(), QStringList({" /rules/new path.rul ", "/rules/a.rul", "/rules/b.rul"}));

        m_doc->recentRuleFiles = {"/r/caf\xe9.rul"};
        QVERIFY(Open());
        Key(Qt::Key_Down);
        Click(m_dialog->StartButton());
        QCOMPARE(m_doc->ruleFilePath, std::string("/r/caf\xe9.rul"));
    }

    // Focus on the control named, then the key: nothing happens, and a typed
    // text that matches a list entry is not picked.
    void enterAndEscapeDoNothing_data() {
        QTest::addColumn<int>("tabs");
        QTest::addColumn<int>("key");
        for (const auto& [focus, tabs] : {std::pair{"combo", 0}, {"checkbox", 2}, {"start", 3}, {"cancel", 5}})
            for (const auto& [name, key] :
                 {std::pair{"Return", Qt::Key_Return}, {"Enter", Qt::Key_Enter}, {"Escape", Qt::Key_Escape}})
                QTest::newRow(qPrintable(QStringLiteral("%1 on %2").arg(name, focus))) << tabs << int(key);
    }
    void enterAndEscapeDoNothing() {
        QFETCH(int, tabs);
        QFETCH(int, key);
        QVERIFY(Open());
        QSignalSpy finished(m_dialog.get(), &QDialog::finished);
        Type("/rules/b.rul");
        for (int i = 0; i < tabs; ++i) Key(Qt::Key_Tab);  // leaving the combo enables Start
        const bool startBefore = m_dialog->StartButton()->isEnabled();
        Key(Qt::Key(key));
        QTest::qWait(50);
        QVERIFY(m_dialog->isVisible() && finished.isEmpty());
        QCOMPARE(m_dialog->StartButton()->isEnabled(), startBefore);
        QCOMPARE(m_dialog->RuleFileText(), QStringLiteral("/rules/b.rul"));
        QCOMPARE(m_dialog->RuleFileCombo()->count(), 2);
        QVERIFY(m_prompts->messages.empty() && m_doc->ruleFilePath.empty());
    }

    void helpCanBeReadWhileTheDialogIsModal() {
        QVERIFY(Open(Qt::ApplicationModal));
        Click(m_dialog->HelpButton());
        QWidget* help = HelpWindowForTests();
        QVERIFY(help && help->windowHandle());
        QTRY_VERIFY(help->isVisible());
        QCOMPARE(CurrentHelpContext(), 5015);
        QScrollBar* bar = HelpBrowserForTests()->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        bar->setValue(0);
        // Through the window system, as a real key press comes: a window
        // blocked by the modal dialog would never see it.
        QTest::keyClick(help->windowHandle(), Qt::Key_Space);
        QTRY_VERIFY(bar->value() > 0);
        QVERIFY(m_dialog->isVisible());
    }

    // The rule editor is offered the typed text; a path it gives back
    // replaces the text, nothing leaves it.
    void ruleEditorWorksOnlyOncePluggedIn() {
        QVERIFY(Open());
        CPublishDlg& d = *m_dialog;
        QStringList proposed;
        d.SetRuleEditor([&](QWidget* owner, const QString& currentText) {
            proposed << (owner == &d ? currentText : QStringLiteral("wrong owner"));
            return proposed.size() == 1 ? std::optional<QString>("/ann/written.rul") : std::nullopt;
        });
        Type("draft.rul");
        Click(d.RuleEditorButton());
        Click(d.RuleEditorButton());
        QCOMPARE(proposed, QStringList({"draft.rul", "/ann/written.rul"}));
        QCOMPARE(d.RuleFileText(), QStringLiteral("/ann/written.rul"));
        QVERIFY(d.StartButton()->isEnabled());
        d.SetRuleEditor(nullptr);
        QVERIFY(!d.RuleEditorButton()->isEnabled());
    }
};

QTEST_MAIN(PublishDialogTest)
#include "publish_dialog_test.moc"
