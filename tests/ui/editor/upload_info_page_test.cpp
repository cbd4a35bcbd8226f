// The rule editor's Upload Info page in a sheet of its own, driven as a user
// would: the focus and the buttons, Browse, Prev URLs and the two image
// folder checks on leaving.
#include <QtTest>
#include <QtWidgets>

#include "ui/upload/list_ctrl_ex.h"
#include "ui/editor/my_sheet.h"
#include "ui/upload/prev_urls_dialog.h"
#include "core/shell/quillet_doc.h"
#include "core/editor/rule_working_set.h"
#include "platform/storage/settings_store.h"
#include "ui/editor/upload_info_page.h"
#include "tests/ui/widget_test_support.h"

using namespace webquill;
using Field = CUploadInfoPage::Field;

class UploadInfoPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::CScriptedPrompts> m_prompts;
    CSettingsStore m_store;
    std::unique_ptr<CQuilletDoc> m_doc;
    RuleWorkingSet m_set;
    std::unique_ptr<CMySheet> m_sheet;
    CUploadInfoPage* m_page = nullptr;

    QLineEdit* Edit(Field f) const { return m_page->FieldEdit(f); }
    void ClickInto(Field f) {
        m_sheet->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_sheet.get()));
        QTest::mouseClick(Edit(f), Qt::LeftButton);
        QTRY_COMPARE(QApplication::focusWidget(), Edit(f));
    }
    QString Value(Field f) const { return QString::fromStdString(m_set.header[kFtpUrlField + static_cast<int>(f)]); }

private slots:
    void init() {
        test::ClearSettingsStore();
        m_prompts = std::make_unique<test::CScriptedPrompts>();
        m_prompts->laterAnswer = PromptAnswer::No;
        m_doc = std::make_unique<CQuilletDoc>(m_store);
        m_doc->LoadSettings();
        m_set = RuleWorkingSet();
        const char* values[] = {"ftp://site", "me", "pw", "toc", "www", "", ""};
        for (int i = 0; i < CUploadInfoPage::kFieldCount; ++i) m_set.header[kFtpUrlField + i] = values[i];
        m_sheet = std::make_unique<CMySheet>(QStringLiteral("Rule Editor"));
        m_sheet->AddPage(new CSheetPage(QStringLiteral("Other"), 0));
        m_page = new CUploadInfoPage(m_set, *m_doc);
        m_sheet->AddPage(m_page);
        m_sheet->show();
        m_sheet->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_sheet.get()));
        m_sheet->SetActivePage(1);
    }
    void cleanup() {
        m_sheet.reset();
        m_doc.reset();
        m_prompts.reset();
    }

    void focusDecidesTheButtonsAndIsKeptBetweenVisits() {
        QCOMPARE(Edit(Field::FtpUrl)->text(), QStringLiteral("ftp://site"));
        QCOMPARE(Edit(Field::Password)->echoMode(), QLineEdit::Password);
        QTRY_COMPARE(QApplication::focusWidget(), Edit(Field::FtpUrl));
        const QString expected = "0:01 1:00 2:00 3:00 4:01 5:10 6:00";
        QStringList states;
        for (int i = 0; i < CUploadInfoPage::kFieldCount; ++i) {
            ClickInto(Field(i));
            states << QString("%1:%2%3").arg(i).arg(int(m_page->BrowseButton()->isEnabled()))
                          .arg(int(m_page->PrevUrlsButton()->isEnabled()));
        }
        QCOMPARE(states.join(' '), expected);
        ClickInto(Field::UserId);
        m_sheet->SetActivePage(0);
        m_sheet->SetActivePage(1);
        QTRY_COMPARE(QApplication::focusWidget(), Edit(Field::UserId));
    }

    void browseTakesAFolderOrPutsTheFocusBack() {
        ClickInto(Field::ImagesLocalDir);
        QTest::mouseClick(m_page->BrowseButton(), Qt::LeftButton);  // cancelled
        QCOMPARE(m_prompts->fileDialogs.size(), 1u);
        QCOMPARE(m_prompts->fileDialogs[0].caption, QStringLiteral("Select Images Directory"));
        QVERIFY(m_prompts->fileDialogs[0].folder);
        QCOMPARE(m_prompts->fileDialogs[0].directory, QDir::currentPath());
        QTRY_COMPARE(QApplication::focusWidget(), Edit(Field::ImagesLocalDir));
        m_prompts->chosenFiles = {"/srv/pictures"};
        QTest::mouseClick(m_page->BrowseButton(), Qt::LeftButton);
        QCOMPARE(Edit(Field::ImagesLocalDir)->text(), QStringLiteral("/srv/pictures"));
        QTRY_COMPARE(QApplication::focusWidget(), Edit(Field::ImagesServerDir));
        QCOMPARE(m_page->FocusIndex(), 6);
    }

    // The row is looked up by URL and start folder; nothing chosen changes nothing.
    void prevUrlsFillFourFields() {
        m_doc->AddRecentFtpRow({"ftp://old", "/start", "oldUser", "oldPw"});
        for (const bool choose : {false, true}) {
            ClickInto(Field::FtpUrl);
            test::CDialogAnswerer answerer([&](QDialog* d) {
                auto* prev = qobject_cast<CPrevUrlsDlg*>(d);
                if (!prev) return false;
                if (choose) prev->List()->setCurrentItem(prev->List()->topLevelItem(0));
                prev->accept();
                return true;
            });
            QTest::mouseClick(m_page->PrevUrlsButton(), Qt::LeftButton);
            QTRY_COMPARE(answerer.answered, 1);
            QCOMPARE(m_sheet->focusWidget(), Edit(Field::WwwServerDir));
            const QStringList fields = {Edit(Field::FtpUrl)->text(), Edit(Field::TocServerDir)->text(),
                                        Edit(Field::UserId)->text(), Edit(Field::Password)->text(),
                                        Edit(Field::WwwServerDir)->text()};
            QCOMPARE(fields, choose ? QStringList({"ftp://old", "/start", "oldUser", "oldPw", "www"})
                                    : QStringList({"ftp://site", "toc", "me", "pw", "www"}));
        }
    }

    void imageFoldersAreCheckedOnLeaving() {
        // A local folder alone: Yes stays to name the server folder, No keeps it.
        Edit(Field::ImagesLocalDir)->setText("pics");
        m_prompts->laterAnswer = PromptAnswer::Yes;
        m_sheet->SetActivePage(0);
        QCOMPARE(m_sheet->ActivePage(), m_page);
        QTRY_COMPARE(QApplication::focusWidget(), Edit(Field::ImagesServerDir));
        m_prompts->laterAnswer = PromptAnswer::No;
        m_sheet->SetActivePage(0);
        QVERIFY(m_sheet->ActivePage() != m_page);
        QCOMPARE(Value(Field::ImagesLocalDir), QStringLiteral("pics"));
        QVERIFY(m_prompts->messages.back().text.startsWith("You have defined a Local but no Server Image Directory!"));

        // A server folder alone is refused with the focus in the local field.
        m_sheet->SetActivePage(1);
        Edit(Field::ImagesLocalDir)->clear();
        Edit(Field::ImagesServerDir)->setText("img");
        m_sheet->SetActivePage(0);
        QCOMPARE(m_sheet->ActivePage(), m_page);
        QCOMPARE(m_prompts->messages.back().text,
                 QStringLiteral("You have defined a Server but no Local Image Directory!\n"
                                "If you define a Server Image Dir you must define a Local Image Dir!"));
        QTRY_COMPARE(QApplication::focusWidget(), Edit(Field::ImagesLocalDir));

        // A password the rule file cannot give back is refused; a printable one passes.
        Edit(Field::ImagesServerDir)->clear();
        for (const QString& password : {QStringLiteral("caf\u00e9"), QString(4096, 'p')}) {
            Edit(Field::Password)->setText(password);
            m_sheet->SetActivePage(0);
            QCOMPARE(m_sheet->ActivePage(), m_page);
            QVERIFY(m_prompts->messages.back().text.startsWith("The Password cannot be stored in the Rule File!"));
            QTRY_COMPARE(QApplication::focusWidget(), Edit(Field::Password));
        }
        Edit(Field::Password)->setText(QString(4095, '~'));
        m_sheet->SetActivePage(0);
        QCOMPARE(Value(Field::Password), QString(4095, '~'));
        m_sheet->SetActivePage(1);

        // Emptied fields leave empty values.
        for (int i = 0; i < CUploadInfoPage::kFieldCount; ++i) Edit(Field(i))->clear();
        m_sheet->SetActivePage(0);
        for (int i = 0; i < CUploadInfoPage::kFieldCount; ++i) QVERIFY(Value(Field(i)).isEmpty());
    }
};

QTEST_MAIN(UploadInfoPageTest)
#include "upload_info_page_test.moc"
