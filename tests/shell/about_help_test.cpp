// The About box and the help window with its help file.
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QtTest>

#include "about_box.h"
#include "help_viewer.h"
#include "version_info.h"
#include "widget_test_support.h"

using namespace webquill;

namespace {

// Every context number that a window, dialog or page of the program asks for.
const QList<int> kContexts = {5000, 5001, 5006, 5007, 5008, 5009, 5010, 5011, 5012,
                              5013, 5014, 5015, 5016, 5017, 5018, 5019, 5020};

struct HelpFile {
    QTextDocument document;
    QSet<QString> anchors;
    QStringList internalLinks;
};

void ReadHelpFile(HelpFile& help) {
    QFile file(HelpFilePath());
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(HelpFilePath()));
    help.document.setHtml(QString::fromUtf8(file.readAll()));
    for (QTextBlock block = help.document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            for (const QString& name : format.anchorNames()) help.anchors.insert(name);
            if (format.anchorHref().startsWith('#')) help.internalLinks << format.anchorHref().mid(1);
        }
}

bool HoldsAnchor(const QTextBlock& block, const QString& name) {
    for (auto it = block.begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().anchorNames().contains(name)) return true;
    return false;
}

bool HoldsContextAnchor(const QTextBlock& block) {
    for (auto it = block.begin(); !it.atEnd(); ++it)
        for (const QString& name : it.fragment().charFormat().anchorNames())
            if (name.startsWith("ctx")) return true;
    return false;
}

QTextBlock AnchorBlock(const QTextDocument& document, const QString& name) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (HoldsAnchor(block, name)) return block;
    return QTextBlock();
}

// The text of a topic: its heading and everything up to the next topic.
QString TopicText(const QTextDocument& document, const QString& anchor) {
    QTextBlock block = AnchorBlock(document, anchor);
    if (!block.isValid()) return QString();
    QString text = block.text();
    for (block = block.next(); block.isValid() && !HoldsContextAnchor(block); block = block.next())
        text += '\n' + block.text();
    return text;
}

bool AnchorIsInView(QTextBrowser* browser, const QString& anchor) {
    const QTextBlock block = AnchorBlock(*browser->document(), anchor);
    if (!block.isValid()) return false;
    const QRectF rect = browser->document()->documentLayout()->blockBoundingRect(block);
    const int top = int(rect.top()) - browser->verticalScrollBar()->value();
    return top >= 0 && top < browser->viewport()->height();
}

}  // namespace

class AboutHelpTest : public QObject {
    Q_OBJECT

private slots:
    void init() { test::ClearSettingsStore(); }

    void aboutBoxShowsTheFiveLinesAndTheContact() {
        const QString aboutText = QString::fromStdString(CVersionInfo().AboutText());
        CAboutDlg dialog(aboutText);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("About Quillet"));

        const QStringList lines = dialog.AboutTextField()->text().split('\n');
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0], QStringLiteral("Quillet Application"));
        QCOMPARE(lines[1], QStringLiteral("Version 1.2.0"));
        QVERIFY(!lines[2].isEmpty());
        QVERIFY(!lines[3].isEmpty());
        QCOMPARE(lines[4], QStringLiteral("Tessaly"));

        for (QLabel* field : {dialog.AboutTextField(), dialog.ContactField()}) {
            QCOMPARE(field->frameShape(), QFrame::Panel);
            QCOMPARE(field->frameShadow(), QFrame::Sunken);
            QCOMPARE(field->textFormat(), Qt::PlainText);
            QVERIFY(!(field->textInteractionFlags() & Qt::TextEditable));
        }
        QVERIFY(!dialog.ContactField()->text().trimmed().isEmpty());
        QVERIFY(!dialog.ProgramIcon()->pixmap().isNull());
        QVERIFY(!dialog.CompanyIcon()->pixmap().isNull());
        QCOMPARE(dialog.OkButton()->text(), QStringLiteral("OK"));

        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
    }

    void aboutBoxShowsItsTextAsGivenAndClosesWithEnter() {
        // Before any document the application's text is still empty.
        CAboutDlg empty((QString()));
        QCOMPARE(empty.AboutTextField()->text(), QString());

        CAboutDlg dialog(QStringLiteral("<b>Quillet</b>\nVersion 1.2."));
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.AboutTextField()->text(), QStringLiteral("<b>Quillet</b>\nVersion 1.2."));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void helpFileHasATopicForEveryContext() {
        HelpFile help;
        ReadHelpFile(help);
        QSet<QString> contextAnchors;
        for (const QString& name : help.anchors)
            if (name.startsWith("ctx")) contextAnchors.insert(name);
        QSet<QString> expected;
        for (int context : kContexts) {
            expected.insert(HelpAnchor(context));
            const QString text = TopicText(help.document, HelpAnchor(context)).simplified();
            QVERIFY2(text.size() >= 200, qPrintable(QStringLiteral("%1: %2").arg(context).arg(text)));
        }
        QCOMPARE(contextAnchors, expected);
        // Every cross reference leads somewhere.
        QVERIFY(!help.internalLinks.isEmpty());
        for (const QString& link : help.internalLinks) QVERIFY2(help.anchors.contains(link), qPrintable(link));
    }

    void helpWindowOpensAtEachContext_data() {
        QTest::addColumn<int>("context");
        // Each row starts from where the previous one left the window.
        for (int context : kContexts) QTest::newRow(qPrintable(QString::number(context))) << context;
        QTest::newRow("5000 after the last one") << 5000;
    }
    void helpWindowOpensAtEachContext() {
        QFETCH(int, context);
        ShowHelpTopic(nullptr, context);
        QWidget* window = HelpWindowForTests();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Webquill Help"));
        QCOMPARE(CurrentHelpContext(), context);
        QTRY_VERIFY2(AnchorIsInView(HelpBrowserForTests(), HelpAnchor(context)),
                     qPrintable(HelpAnchor(context)));
    }

    void helpWindowIsOneWindowWithItsOwnNavigation() {
        ShowHelpTopic(nullptr, 5020);
        QWidget* window = HelpWindowForTests();
        window->hide();
        ShowHelpTopic(nullptr, 5006);
        QCOMPARE(HelpWindowForTests(), window);
        QVERIFY(window->isVisible());

        // Asked again for the topic it shows after the user scrolled away.
        QTextBrowser* browser = HelpBrowserForTests();
        browser->verticalScrollBar()->setValue(browser->verticalScrollBar()->maximum());
        ShowHelpTopic(nullptr, 5006);
        QTRY_VERIFY(AnchorIsInView(browser, HelpAnchor(5006)));

        QPushButton* contents = nullptr;
        QPushButton* back = nullptr;
        for (QPushButton* button : window->findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("&Contents")) contents = button;
            if (button->text() == QStringLiteral("&Back")) back = button;
        }
        QVERIFY(contents && back);
        QTest::mouseClick(contents, Qt::LeftButton);
        QCOMPARE(CurrentHelpContext(), 5000);
        QVERIFY(back->isEnabled());
        QTest::mouseClick(back, Qt::LeftButton);
        QCOMPARE(CurrentHelpContext(), 5006);
        // Keys go to the text again, not to the button used last.
        back->setFocus();
        ShowHelpTopic(nullptr, 5015);
        QCOMPARE(window->focusWidget(), static_cast<QWidget*>(browser));
    }

    void unknownContextShowsTheContents() {
        ShowHelpTopic(nullptr, 5017);
        ShowHelpTopic(nullptr, 4242);
        QCOMPARE(CurrentHelpContext(), 5000);
    }
};

QTEST_MAIN(AboutHelpTest)
#include "about_help_test.moc"
