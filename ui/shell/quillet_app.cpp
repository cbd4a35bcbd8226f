#include "ui/shell/quillet_app.h"

#include <QFileInfo>

#include "ui/shell/main_frame.h"
#include "platform/storage/settings_store.h"

namespace webquill {

CQuilletApp::CQuilletApp(int& argc, char** argv)
    : QApplication(argc, argv), m_store(std::make_unique<CSettingsStore>()) {}

CQuilletApp::~CQuilletApp() { m_mainFrame.reset(); }

CQuilletApp* CQuilletApp::Instance() { return qobject_cast<CQuilletApp*>(QCoreApplication::instance()); }

bool CQuilletApp::InitInstance(const QStringList& arguments) {
    // Every value of the program lives under Tessaly/Webquill.
    setOrganizationName(QStringLiteral("Tessaly"));
    setApplicationName(QStringLiteral("Webquill"));
    setApplicationVersion(QStringLiteral("%1").arg(QStringLiteral(WEBQUILL_VERSION_TEXT)));

    m_mainFrame = std::make_unique<CMainFrame>(*this);

    // The first argument that is not an option names a file to open.
    QString fileToOpen;
    for (int i = 1; i < arguments.size(); ++i)
        if (!arguments[i].startsWith(QLatin1Char('-'))) {
            fileToOpen = arguments[i];
            break;
        }
    // A saved log (a .prl opened from a file manager) shows its lines; any
    // other file is the rule file that the first window's publish dialog offers.
    m_commandLineFileFlag =
        !fileToOpen.isEmpty() && !fileToOpen.endsWith(QStringLiteral(".prl"), Qt::CaseInsensitive);

    m_showCommand = m_mainFrame->RestorePlacement();
    const bool opened = fileToOpen.isEmpty() ? m_mainFrame->NewDocument() != nullptr
                                             : m_mainFrame->OpenDocumentFile(fileToOpen) != nullptr;
    if (!opened) return false;
    m_mainFrame->ShowWithPlacement(m_showCommand);
    return true;
}

void CQuilletApp::EndInstance() {
    m_mainFrame.reset();
    m_commandLineFileFlag = false;
    m_aboutText.clear();
}

}  // namespace webquill
