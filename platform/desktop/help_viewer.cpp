#include "platform/desktop/help_viewer.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSet>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

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
        // Text wraps at the window's width, examples included.
        m_browser->setLineWrapMode(QTextEdit::WidgetWidth);
        m_browser->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_browser->document()->setDefaultStyleSheet(QStringLiteral("pre { white-space: pre-wrap; }"));
        m_browser->setSource(QUrl(QStringLiteral("qrc") + HelpFilePath()));
        CollectAnchors();

        connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
        connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
        connect(contents, &QPushButton::clicked, this, [this] { ShowTopic(kHelpContents); });
        for (const QKeySequence& key : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
            connect(new QShortcut(key, this), &QShortcut::activated, this, &QWidget::close);

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

// Beside the asking program's main window, to its right where the screen has
// room, else to its left, else over its right edge.
void PlaceBeside(QWidget* window, QWidget* asking) {
    QWidget* main = asking ? asking->window() : nullptr;
    while (main && main->parentWidget()) main = main->parentWidget()->window();
    if (!main || !main->isVisible() || !main->screen()) return;
    const QRect screen = main->screen()->availableGeometry();
    const QRect beside = main->frameGeometry();
    const QSize size = window->frameGeometry().size();
    int x = beside.right() + 1;
    if (x + size.width() > screen.right() + 1) x = beside.left() - size.width();
    if (x < screen.left()) x = std::max(screen.left(), screen.right() + 1 - size.width());
    const int y = std::clamp(beside.top(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - size.height()));
    window->move(x, y);
}

class CHelpKey : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1 ||
            static_cast<QKeyEvent*>(event)->modifiers() != Qt::NoModifier)
            return QObject::eventFilter(watched, event);
        // The first widget to get the key (the focus) decides; the key then
        // goes no further.
        auto* widget = qobject_cast<QWidget*>(watched);
        for (QWidget* w = widget; w; w = w->parentWidget()) {
            const QVariant context = w->property(kHelpContextProperty);
            if (context.isValid()) {
                ShowHelpTopic(w, context.toInt());
                return true;
            }
        }
        return false;
    }
};

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
    if (!window->isVisible()) PlaceBeside(window, parent);
    window->show();
    window->raise();
    window->activateWindow();
}

void CloseHelpWindow() {
    if (g_helpWindow) g_helpWindow->close();
}

void InstallHelpKey() {
    static CHelpKey* filter = nullptr;
    if (filter || !qApp) return;
    filter = new CHelpKey;
    filter->setParent(qApp);
    qApp->installEventFilter(filter);
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
