#include "help_viewer.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

// The help file lives in this static library; nothing refers to its resource
// object, so it has to be registered by hand (and outside any namespace).
static void RegisterHelpResource() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(help);
        return true;
    }();
    (void)registered;
}

namespace webquill {

namespace {

constexpr char kAnchorPrefix[] = "ctx";

class CHelpWindow : public QWidget {
public:
    CHelpWindow() : QWidget(nullptr, Qt::Window) {
        setWindowTitle(QStringLiteral("Webquill Help"));
        setObjectName(QStringLiteral("webquillHelpWindow"));
        resize(680, 560);

        auto* back = new QPushButton(QStringLiteral("&Back"), this);
        auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
        back->setAutoDefault(false);
        contents->setAutoDefault(false);
        back->setEnabled(false);

        m_browser = new QTextBrowser(this);
        m_browser->setOpenExternalLinks(true);
        m_browser->setSource(QUrl(QStringLiteral("qrc") + HelpFilePath()));
        CollectAnchors();

        connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
        connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
        connect(contents, &QPushButton::clicked, this, [this] { ShowTopic(kHelpContents); });

        auto* buttons = new QHBoxLayout;
        buttons->addWidget(back);
        buttons->addWidget(contents);
        buttons->addStretch(1);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(buttons);
        layout->addWidget(m_browser, 1);
    }

    QTextBrowser* Browser() const { return m_browser; }

    void ShowTopic(int context) {
        if (!m_anchors.contains(HelpAnchor(context))) context = kHelpContents;
        QUrl url(QStringLiteral("qrc") + HelpFilePath());
        url.setFragment(HelpAnchor(context));
        m_browser->setSource(url);
        // Asked for again while the same topic shows: go back to its top.
        m_browser->scrollToAnchor(HelpAnchor(context));
        // Keys scroll the text, whatever button was used last.
        m_browser->setFocus(Qt::OtherFocusReason);
    }

private:
    void CollectAnchors() {
        for (QTextBlock block = m_browser->document()->begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it)
                for (const QString& name : it.fragment().charFormat().anchorNames()) m_anchors.insert(name);
    }

    QTextBrowser* m_browser = nullptr;
    QSet<QString> m_anchors;
};

QPointer<CHelpWindow> g_helpWindow;

void DeleteHelpWindow() { delete g_helpWindow.data(); }

}  // namespace

QString HelpAnchor(int context) { return QLatin1String(kAnchorPrefix) + QString::number(context); }

QString HelpFilePath() {
    RegisterHelpResource();
    return QStringLiteral(":/webquill/help/webquill-help.html");
}

void ShowHelpTopic(QWidget* parent, int context) {
    if (!g_helpWindow) {
        g_helpWindow = new CHelpWindow;
        // Widgets must go before the application object does.
        qAddPostRoutine(DeleteHelpWindow);
    }
    CHelpWindow* window = g_helpWindow;
    window->ShowTopic(context);

    // A modal dialog blocks every other window of the program unless that
    // window is its transient child; help asked for from such a dialog has to
    // be readable while the dialog waits.
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal && parent && parent->window()->isModal()) modal = parent->window();
    window->winId();  // makes the native window, so that it can be tied
    if (QWindow* handle = window->windowHandle())
        handle->setTransientParent(modal && modal != window ? modal->window()->windowHandle() : nullptr);

    if (window->isMinimized()) window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

int CurrentHelpContext() {
    if (!g_helpWindow) return -1;
    const QString fragment = g_helpWindow->Browser()->source().fragment();
    if (!fragment.startsWith(QLatin1String(kAnchorPrefix))) return -1;
    bool ok = false;
    const int context = fragment.mid(static_cast<int>(sizeof(kAnchorPrefix) - 1)).toInt(&ok);
    return ok ? context : -1;
}

QWidget* HelpWindowForTests() { return g_helpWindow.data(); }

QTextBrowser* HelpBrowserForTests() { return g_helpWindow ? g_helpWindow->Browser() : nullptr; }

}  // namespace webquill
