// The upload dialog, its server tree and the previous-URLs dialog, driven as
// a user would against a real FTP server.
#include <QtTest>
#include <QtWidgets>

#include <filesystem>
#include <unistd.h>

#include "tests/core/upload/ftp_test_server.h"
#include "ui/upload/ftp_tree.h"
#include "ui/upload/list_ctrl_ex.h"
#include "ui/upload/prev_urls_dialog.h"
#include "core/shell/quillet_doc.h"
#include "platform/storage/settings_store.h"
#include "ui/upload/upload_dialog.h"
#include "tests/ui/widget_test_support.h"

using namespace webquill;
namespace fs = std::filesystem;

namespace {

QTreeWidgetItem* Child(QTreeWidgetItem* item, const QString& text) {
    for (int i = 0; i < item->childCount(); ++i)
        if (item->child(i)->text(0) == text) return item->child(i);
    return nullptr;
}
}  // namespace

class UploadDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::CScriptedPrompts> m_prompts;
    std::unique_ptr<test::CFtpTestServer> m_server;
    std::unique_ptr<test::TempDir> m_local;
    CSettingsStore m_store;
    std::unique_ptr<CQuilletDoc> m_doc;

    template <typename T> T* Find(QWidget* dialog, const char* name) {
        return dialog->findChild<T*>(QString::fromLatin1(name));
    }
    void Click(QWidget* dialog, const char* button) { QTest::mouseClick(Find<QPushButton>(dialog, button), Qt::LeftButton); }
    void Type(QWidget* dialog, const char* edit, const QString& text) {
        auto* line = Find<QLineEdit>(dialog, edit);
        line->clear();
        QTest::keyClicks(line, text);
    }
    static void Show(QDialog& dialog) {
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
    }
    QStringList Asked() const {
        QStringList texts;
        for (const auto& m : m_prompts->messages) texts << m.text;
        return texts;
    }

private slots:
    void init() {
        test::ClearSettingsStore();
        m_prompts = std::make_unique<test::CScriptedPrompts>();
        m_prompts->laterAnswer = PromptAnswer::No;
        m_server = std::make_unique<test::CFtpTestServer>();
        m_local = std::make_unique<test::TempDir>();
        fs::create_directories(m_server->Home() / "site" / "www");
        fs::create_directories(m_server->Home() / "site" / "empty");
        m_local->Write("site/toc.htm", "toc");
        m_local->Write("site/p000.htm", "page 0");
        m_local->Write("site/p001.htm", "page 1");
        m_doc = std::make_unique<CQuilletDoc>(m_store);
        m_doc->LoadSettings();
        m_doc->createdFiles = {"p000.htm", "p001.htm"};
        m_doc->rule.wwwDirectory = m_local->File("site");
        m_doc->rule.tocName = m_local->File("site/toc.htm");
        m_doc->rule.tocServerDir = "site";
    }
    void cleanup() {
        m_doc.reset();
        m_server.reset();
        m_prompts.reset();
    }

    void opensEmptyBeforeARunAndRefusesAnEmptyUrl() {
        CUploadDlg dialog(*m_doc);
        Show(dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Quillet FTP - Upload Files"));
        for (const char* edit : {"ftpUrlEdit", "wwwDirEdit", "userIdEdit", "passwordEdit"})
            QVERIFY(Find<QLineEdit>(&dialog, edit)->text().isEmpty());
        QCOMPARE(Find<QLineEdit>(&dialog, "passwordEdit")->echoMode(), QLineEdit::Password);
        QVERIFY(!Find<QPushButton>(&dialog, "uploadButton")->isEnabled());
        QVERIFY(!Find<QPushButton>(&dialog, "prevUrlsButton")->isEnabled());
        QVERIFY(Find<QProgressBar>(&dialog, "uploadProgress")->isHidden());
        QCOMPARE(dialog.MessageCenter(), QStringLiteral("Enter/Select URL, Start Dir, User ID, and Password"));
        QCOMPARE(dialog.Tree()->topLevelItem(0)->text(0), QStringLiteral("No FTP connection!"));
        Click(&dialog, "connectButton");
        QCOMPARE(Asked(), QStringList{"Ftp Site may not be left empty"});
        QCOMPARE(QApplication::focusWidget(), Find<QLineEdit>(&dialog, "ftpUrlEdit"));

        Type(&dialog, "ftpUrlEdit", "http://" + QString::fromStdString(m_server->HostPort()));
        Click(&dialog, "connectButton");
        QCOMPARE(Asked().last(), QStringLiteral("Please enter a valid FTP URL"));
        QCOMPARE(dialog.MessageCenter(), QStringLiteral("Connection Failed!  Are you connected to the Internet?"));
        QVERIFY(Find<QPushButton>(&dialog, "connectButton")->isEnabled());
        QCOMPARE(m_doc->recentFtpRows.size(), 1u);  // remembered all the same
    }

    // The row moves to the front with the new user; the tree opens along a
    // path whose second component is missing; listings only on expanding.
    void connectRemembersTheSiteAndBrowsesTheTree() {
        const std::string url = m_server->HostPort();
        m_doc->AddRecentFtpRow({"other", "", "x", "y"});
        m_doc->AddRecentFtpRow({url, "site/missing", "old", "oldpw"});
        m_doc->AddRecentFtpRow({"third", "", "", ""});
        CUploadDlg dialog(*m_doc);
        Show(dialog);
        Type(&dialog, "ftpUrlEdit", QString::fromStdString(url));
        Type(&dialog, "wwwDirEdit", "site/missing");
        Type(&dialog, "userIdEdit", "webquill");
        Type(&dialog, "passwordEdit", "secret");
        Click(&dialog, "connectButton");
        QVERIFY2(dialog.Session().connection, qPrintable(Asked().join('|')));
        QCOMPARE(m_doc->recentFtpRows.size(), 3u);
        QCOMPARE(m_doc->recentFtpRows[0].userId, "webquill");
        QCOMPARE(m_doc->recentFtpRows[0].password, "secret");
        QCOMPARE(CSettingsStore().ReadString("Recent Ftp UIDs", "FtpUID0"), "webquill");
        for (const char* name : {"ftpUrlEdit", "connectButton", "prevUrlsButton"})
            QVERIFY(!Find<QWidget>(&dialog, name)->isEnabled());
        QVERIFY(Find<QPushButton>(&dialog, "uploadButton")->isEnabled());
        QCOMPARE(dialog.MessageCenter(), QString());

        CFtpTreeCtrl* tree = dialog.Tree();
        QTreeWidgetItem* root = tree->topLevelItem(0);
        QCOMPARE(root->text(0), QStringLiteral("/"));
        QTreeWidgetItem* site = Child(root, "site");
        QVERIFY(site && site->isExpanded() && !Child(site, "www")->isExpanded());
        QCOMPARE(Child(Child(site, "www"), "1") != nullptr, true);  // placeholder: not listed yet

        QTreeWidgetItem* empty = Child(site, "empty");
        const int listings = tree->Listings();
        empty->setExpanded(true);
        QCOMPARE(empty->childCount(), 0);  // its expand button is gone
        site->setExpanded(false);
        QCOMPARE(tree->Listings(), listings + 1);
        site->setExpanded(true);
        QCOMPARE(tree->Listings(), listings + 2);
        tree->setCurrentItem(Child(site, "www"));
        QCOMPARE(dialog.SelectedPath(), std::string("//site/www"));
    }

    void uploadIntoTheSelectedDirectoryOrWhereTheRuleSays() {
        m_doc->rule.ftpUrl = m_server->HostPort();
        m_doc->rule.wwwServerDir = "site/www";
        fs::create_directories(m_server->Home() / "elsewhere");
        test::WriteWholeFile(QString::fromStdString((m_server->Home() / "elsewhere" / "note.txt").string()), "n");
        for (const bool selectDirectory : {false, true}) {
            m_prompts->laterAnswer = PromptAnswer::Yes;
            CUploadDlg dialog(*m_doc);
            Show(dialog);
            Click(&dialog, "connectButton");
            QVERIFY(dialog.Session().connection);
            QCOMPARE(dialog.Session().wwwStartDirectory, std::string("/site/www"));
            QTreeWidgetItem* elsewhere = Child(dialog.Tree()->topLevelItem(0), "elsewhere");
            elsewhere->setExpanded(true);
            // A file item never brings up the question.
            dialog.Tree()->setCurrentItem(selectDirectory ? elsewhere : Child(elsewhere, "note.txt"));
            const std::size_t asked = m_prompts->messages.size();
            Click(&dialog, "uploadButton");
            QCOMPARE(m_prompts->messages.size(), asked + (selectDirectory ? 1 : 0));
            const fs::path pages = m_server->Home() / (selectDirectory ? "elsewhere" : "site/www");
            const fs::path toc = m_server->Home() / (selectDirectory ? "elsewhere" : "site");
            QCOMPARE(QString::fromStdString(test::ReadFile((pages / "p001.htm").string())), "page 1");
            QVERIFY(fs::exists(toc / "toc.htm"));
            QCOMPARE(dialog.MessageCenter(), QStringLiteral("3 / 3 Files Uploaded!"));
            QVERIFY(!Find<QPushButton>(&dialog, "uploadButton")->isEnabled());
            QVERIFY(!Find<QPushButton>(&dialog, "connectButton")->isEnabled());
            QVERIFY(Find<QProgressBar>(&dialog, "uploadProgress")->isHidden());
        }
    }

    // Changed files only as the preference says, deletions when asked; the
    // plan's counts stay in view.
    void changedOnlyAndPruneCheckBoxes() {
        m_doc->rule.ftpUrl = m_server->HostPort();
        m_doc->rule.wwwServerDir = "site/www";
        CSettingsStore().WriteString("Preferences", "UploadChangedOnly", "1");
        test::WriteWholeFile(QString::fromStdString((m_server->Home() / "site/www/mine.htm").string()), "m");
        struct Step { bool changedOnly, prune; std::vector<std::string> pages; const char* plan; const char* done; };
        const Step steps[] = {
            {true, false, {"p000.htm", "p001.htm"}, "Plan: 3 to send, 0 unchanged, 0 to delete",
             "3 / 3 Files Uploaded! (0 unchanged)"},
            {true, true, {"p000.htm"}, "Plan: 0 to send, 2 unchanged, 1 to delete",
             "0 / 0 Files Uploaded! (2 unchanged)"},
            {false, false, {"p000.htm"}, "", "2 / 2 Files Uploaded!"},
        };
        for (const Step& step : steps) {
            m_doc->createdFiles = step.pages;
            CUploadDlg dialog(*m_doc);
            Show(dialog);
            auto* changedOnly = Find<QCheckBox>(&dialog, "changedOnlyBox");
            auto* prune = Find<QCheckBox>(&dialog, "pruneBox");
            QVERIFY(changedOnly->isChecked() && !prune->isChecked());
            if (!step.changedOnly) changedOnly->click();
            if (step.prune) prune->click();
            Click(&dialog, "connectButton");
            Click(&dialog, "uploadButton");
            QCOMPARE(Find<QLabel>(&dialog, "planLabel")->text(), QString::fromLatin1(step.plan));
            QCOMPARE(dialog.MessageCenter(), QString::fromLatin1(step.done));
        }
        QVERIFY(!fs::exists(m_server->Home() / "site/www/p001.htm"));
        QVERIFY(fs::exists(m_server->Home() / "site/www/mine.htm"));
    }

    // sftp:// with a locked key: the passphrase asked in a dialog, the new
    // host key put as a question through the message boxes (No stops the
    // connection, Yes adds the key to ~/.ssh/known_hosts), then an upload.
    void sftpAsksThePassphraseAndAboutANewHostKey() {
        if (!fs::exists(test::CSshdTestServer::kProgram) || geteuid() != 0) QSKIP("needs sshd and root");
        test::CSshdTestServer server;
        struct HomeBack {
            QByteArray home = qgetenv("HOME");
            ~HomeBack() { qputenv("HOME", home); }
        } homeBack;
        qputenv("HOME", QByteArray::fromStdString(m_local->File("home")));
        m_store.WriteString("Preferences", "SftpKeyFile", server.LockedKey().string());
        m_doc->rule.ftpUrl = server.Url();
        m_doc->rule.userId = "root";
        test::CDialogAnswerer passphrase([](QDialog* d) {
            auto* input = qobject_cast<QInputDialog*>(d);
            if (!input) return false;
            input->setTextValue(QString::fromLatin1(test::CSshdTestServer::kLockedKeyPassphrase));
            input->accept();
            return true;
        });
        const fs::path knownHosts = m_local->Path() / "home" / ".ssh" / "known_hosts";
        for (const PromptAnswer answer : {PromptAnswer::No, PromptAnswer::Yes}) {
            m_prompts->answers = {answer};
            CUploadDlg dialog(*m_doc);
            Show(dialog);
            Click(&dialog, "connectButton");
            QVERIFY(Asked().size() >= 1);
            QVERIFY(Asked()[Asked().size() - (answer == PromptAnswer::No ? 2 : 1)].contains("is not known yet. Its ECDSA key SHA256:"));
            QCOMPARE(fs::exists(knownHosts), answer == PromptAnswer::Yes);
            QCOMPARE(dialog.Session().connection != nullptr, answer == PromptAnswer::Yes);
            if (answer == PromptAnswer::No) continue;
            Click(&dialog, "uploadButton");
            QCOMPARE(dialog.MessageCenter(), QStringLiteral("3 / 3 Files Uploaded!"));
            QCOMPARE(test::ReadFile((server.Home() / "p001.htm").string()), std::string("page 1"));
        }
        QCOMPARE(passphrase.answered, 2);
    }

    // Cancel, Esc and the close box each stop a run against a slow server
    // within a second; the dialog stays with the true count, and closes after.
    void cancelEscAndTheCloseBoxStopARun() {
        test::CFtpTestServer slow({"--slow", "100000"});
        m_doc->createdFiles = test::WritePages(m_local->Path() / "site", 8, 300000);
        m_doc->rule.ftpUrl = slow.HostPort();
        m_doc->rule.wwwServerDir = "www";
        for (const char* way : {"Cancel", "Esc", "close box"}) {
            CUploadDlg dialog(*m_doc);
            Show(dialog);
            Click(&dialog, "connectButton");
            QVERIFY(dialog.Session().connection);
            QElapsedTimer stopping;
            QString enabledDuringRun;
            QTimer::singleShot(700, &dialog, [&] {
                for (const char* name : {"connectButton", "uploadButton", "ftpTree"})
                    enabledDuringRun += QString::number(Find<QWidget>(&dialog, name)->isEnabled());
                stopping.start();
                if (way == QStringLiteral("Cancel")) Click(&dialog, "cancelButton");
                else if (way == QStringLiteral("Esc")) QTest::keyClick(&dialog, Qt::Key_Escape);
                else dialog.close();
            });
            Click(&dialog, "uploadButton");  // returns when the run has ended
            QVERIFY2(stopping.isValid() && stopping.elapsed() < 1000,
                     qPrintable(QStringLiteral("%1: %2 ms").arg(way).arg(stopping.isValid() ? stopping.elapsed() : -1)));
            QCOMPARE(enabledDuringRun, QStringLiteral("000"));
            QVERIFY(dialog.isVisible());
            const QRegularExpressionMatch count =
                QRegularExpression("^(\\d) / 9 Files Uploaded!$").match(dialog.MessageCenter());
            QVERIFY2(count.hasMatch() && count.captured(1).toInt() < 9, qPrintable(dialog.MessageCenter()));
            QVERIFY2(test::PartsLeft(slow.Home()).empty(), way);
            Click(&dialog, "cancelButton");
            QVERIFY(!dialog.isVisible());
        }
    }

    // A long list of failures: the first 20 in the box, every one in its
    // details, and the box no taller than the screen.
    void manyFailuresKeepTheBoxOnTheScreen() {
        test::CFtpTestServer denying({"--deny", "htm"});
        m_doc->createdFiles = test::WritePages(m_local->Path() / "site", 60, 1);
        m_doc->rule.ftpUrl = denying.HostPort();
        CUploadDlg dialog(*m_doc);
        Show(dialog);
        Click(&dialog, "connectButton");
        QVERIFY(dialog.Session().connection);
        QString text;
        int detailLines = 0, height = 0;
        test::CDialogAnswerer answerer([&](QDialog* d) {
            auto* box = qobject_cast<QMessageBox*>(d);
            if (!box) return false;
            text = box->text();
            detailLines = box->detailedText().count('\n');
            height = box->frameGeometry().height();
            box->accept();
            return true;
        });
        Click(&dialog, "uploadButton");
        QCOMPARE(answerer.answered, 1);
        QVERIFY2(text.startsWith("61 files could NOT be uploaded!\n") && text.endsWith("\n... and 41 more"),
                 qPrintable(text));
        QCOMPARE(detailLines, 61);
        QVERIFY(height <= dialog.screen()->availableGeometry().height());
    }

    void previousUrlsFillTheirOwnRow() {
        const QString longUrl = "ftp://" + QString(300, 'w') + ".example";
        m_doc->AddRecentFtpRow({"ftp://same", "/a", "userA", "pwA"});
        m_doc->AddRecentFtpRow({"ftp://same", "/b", "userB", "pwB"});
        m_doc->AddRecentFtpRow({longUrl.toStdString(), "", "", ""});
        CUploadDlg dialog(*m_doc);
        Show(dialog);
        int shown = 0;
        QStringList facts;
        test::CDialogAnswerer answerer([&](QDialog* d) {
            auto* prev = qobject_cast<CPrevUrlsDlg*>(d);
            if (!prev) return false;
            CListCtrlEx* list = prev->List();
            if (shown++ == 0) {
                QTreeWidgetItem* a = list->topLevelItem(2);
                facts = {prev->windowTitle(), QString::number(list->topLevelItemCount()),
                         list->headerItem()->text(0), list->headerItem()->text(1),
                         QString::number(qAbs(list->header()->sectionSize(0) - list->ClientWidth() / 2) <= 1),
                         QString::number(list->textElideMode() == Qt::ElideRight),
                         QString::number(list->selectionBehavior() == QAbstractItemView::SelectRows)};
                const QPoint at = list->visualItemRect(a).center();
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            } else {
                prev->accept();  // nothing selected: nothing changes
            }
            return true;
        });
        Click(&dialog, "prevUrlsButton");
        QTRY_COMPARE(shown, 1);
        // Most recent first, two half-width columns, whole rows selected.
        QCOMPARE(facts, QStringList({"Previous Ftp URLs", "3", "Ftp URL", "Start Directory", "1", "1", "1"}));
        QCOMPARE(Find<QLineEdit>(&dialog, "userIdEdit")->text(), QStringLiteral("userA"));
        QCOMPARE(Find<QLineEdit>(&dialog, "wwwDirEdit")->text(), QStringLiteral("/a"));
        QCOMPARE(Find<QLineEdit>(&dialog, "passwordEdit")->text(), QStringLiteral("pwA"));
        Click(&dialog, "prevUrlsButton");
        QTRY_COMPARE(shown, 2);
        QCOMPARE(Find<QLineEdit>(&dialog, "userIdEdit")->text(), QStringLiteral("userA"));
        QCOMPARE(dialog.focusWidget(), Find<QLineEdit>(&dialog, "ftpUrlEdit"));
    }
};

QTEST_MAIN(UploadDialogTest)
#include "upload_dialog_test.moc"
