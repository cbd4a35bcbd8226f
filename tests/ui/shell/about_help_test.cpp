// The About box and the help window with its help file.
#include <QtTest>
#include <QtWidgets>

#include "ui/shell/about_box.h"
#include "platform/desktop/help_viewer.h"
#include "core/shell/version_info.h"

using namespace webquill;

namespace {

// Every context number that a window, dialog or page of the program asks for.
const QList<int> kContexts = {5000, 5001, 5006, 5007, 5008, 5009, 5010, 5011, 5012,
                              5013, 5014, 5015, 5016, 5017, 5018, 5019, 5020};

QStringList AnchorNames(const QTextBlock& block) {
    QStringList names;
    for (auto it = block.begin(); !it.atEnd(); ++it) names << it.fragment().charFormat().anchorNames();
    return names;
}

QTextBlock AnchorBlock(const QTextDocument& document, const QString& name) {
    QTextBlock block = document.begin();
    while (block.isValid() && !AnchorNames(block).contains(name)) block = block.next();
    return block;
}

bool AnchorIsInView(QTextBrowser* browser, const QString& anchor) {
    const QTextBlock block = AnchorBlock(*browser->document(), anchor);
    if (!block.isValid()) return false;
    const int top = int(browser->document()->documentLayout()->blockBoundingRect(block).top()) -
                    browser->verticalScrollBar()->value();
    return top >= 0 && top < browser->viewport()->height();
}

}  // namespace

class AboutHelpTest : public QObject {
    Q_OBJECT

private slots:
    void aboutBoxShowsTheFiveLinesAndClosesWithEnter() {
        const CVersionInfo info;
        CAboutDlg dialog(QString::fromStdString(info.AboutText()));
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("About Quillet"));
        // Product, version, credit, copyright, company.
        const QStringList lines = dialog.AboutTextField()->text().split('\n');
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines.mid(0, 2) + lines.mid(3), QStringList({"Quillet Application", "Version 1.2.0",
                                                              QString::fromStdString(info.legalCopyright), "Tessaly"}));
        QVERIFY(!lines[2].isEmpty() && !lines[3].isEmpty());
        // Both fields show their text as given and read-only.
        for (QLabel* field : {dialog.AboutTextField(), dialog.ContactField()})
            QVERIFY(field->textFormat() == Qt::PlainText && !(field->textInteractionFlags() & Qt::TextEditable));
        QVERIFY(!dialog.ContactField()->text().trimmed().isEmpty());
        QVERIFY(!dialog.ProgramIcon()->pixmap().isNull() && !dialog.CompanyIcon()->pixmap().isNull());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
    }

    // A topic runs from its anchor to the next topic's, and the window
    // opens with it in view (starting from where the previous one left it);
    // every cross reference leads somewhere.
    void everyContextHasATopicTheWindowShows() {
        QFile file(HelpFilePath());
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(HelpFilePath()));
        QTextDocument document;
        document.setHtml(QString::fromUtf8(file.readAll()));
        const QRegularExpression topic("^ctx");
        QStringList anchors, links, expected;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                anchors << it.fragment().charFormat().anchorNames();
                if (it.fragment().charFormat().anchorHref().startsWith('#'))
                    links << it.fragment().charFormat().anchorHref().mid(1);
            }
        for (int context : kContexts + QList<int>{5000}) {
            QTextBlock block = AnchorBlock(document, HelpAnchor(context));
            QString text;
            do text += block.text() + ' ';
            while ((block = block.next()).isValid() && AnchorNames(block).filter(topic).isEmpty());
            QVERIFY2(text.simplified().size() >= 200, qPrintable(QStringLiteral("%1: %2").arg(context).arg(text)));
            ShowHelpTopic(nullptr, context);
            QVERIFY(HelpWindowForTests() && HelpWindowForTests()->isVisible());
            QCOMPARE(HelpWindowForTests()->windowTitle(), QStringLiteral("Webquill Help"));
            QCOMPARE(CurrentHelpContext(), context);
            QTRY_VERIFY2(AnchorIsInView(HelpBrowserForTests(), HelpAnchor(context)), qPrintable(HelpAnchor(context)));
        }
        for (int context : kContexts) expected << HelpAnchor(context);
        QStringList topics = anchors.filter(topic);
        topics.sort();
        QCOMPARE(topics, expected);  // one topic each, and no other
        QVERIFY(!links.isEmpty());
        for (const QString& link : links) QVERIFY2(anchors.contains(link), qPrintable(link));
    }

    void helpWindowIsOneWindowWithItsOwnNavigation() {
        ShowHelpTopic(nullptr, 5020);
        QWidget* window = HelpWindowForTests();
        window->hide();
        ShowHelpTopic(nullptr, 5006);
        QVERIFY(HelpWindowForTests() == window && window->isVisible());
        // Asked again for the topic it shows after the user scrolled away.
        QTextBrowser* browser = HelpBrowserForTests();
        browser->verticalScrollBar()->setValue(browser->verticalScrollBar()->maximum());
        ShowHelpTopic(nullptr, 5006);
        QTRY_VERIFY(AnchorIsInView(browser, HelpAnchor(5006)));
        auto button = [&](const QString& text) {
            for (QPushButton* b : window->findChildren<QPushButton*>())
                if (b->text() == text) return b;
            return static_cast<QPushButton*>(nullptr);
        };
        QVERIFY(button("&Contents") && button("&Back"));
        QTest::mouseClick(button("&Contents"), Qt::LeftButton);
        QCOMPARE(CurrentHelpContext(), 5000);
        QTest::mouseClick(button("&Back"), Qt::LeftButton);
        QCOMPARE(CurrentHelpContext(), 5006);
        // Keys go to the text again, not to the button used last.
        button("&Back")->setFocus();
        ShowHelpTopic(nullptr, 5015);
        QCOMPARE(window->focusWidget(), static_cast<QWidget*>(browser));
        ShowHelpTopic(nullptr, 4242);  // no topic of its own
        QCOMPARE(CurrentHelpContext(), 5000);
        // Text wraps at the window's width; Escape and Ctrl+W close it.
        QCOMPARE(browser->horizontalScrollBar()->maximum(), 0);
        for (const QKeyCombination key : {QKeyCombination(Qt::Key_Escape), Qt::CTRL | Qt::Key_W}) {
            ShowHelpTopic(nullptr, 5015);
            QVERIFY(QTest::qWaitForWindowActive(window));
            QTest::keyClick(browser, key.key(), key.keyboardModifiers());
            QVERIFY(!window->isVisible());
        }
    }
};

QTEST_MAIN(AboutHelpTest)
#include "about_help_test.moc"
