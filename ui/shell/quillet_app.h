// The application object: start-up in its fixed order, the settings root,
// the command-line file flag and the About box text.
#pragma once

#include <QApplication>
#include <QString>
#include <memory>
#include <string>

#include "core/shell/window_placement.h"

namespace webquill {

class CMainFrame;
class CSettingsStore;

class CQuilletApp : public QApplication {
    Q_OBJECT
public:
    CQuilletApp(int& argc, char** argv);
    ~CQuilletApp() override;

    // Start-up with the program's arguments (the first is the program);
    // false ends the program.
    bool InitInstance(const QStringList& arguments);
    // Closes the main window and its log windows for good, without asking.
    void EndInstance();

    static CQuilletApp* Instance();

    CSettingsStore& Store() { return *m_store; }
    CMainFrame* MainFrame() const { return m_mainFrame.get(); }
    bool CommandLineFileFlag() const { return m_commandLineFileFlag; }
    std::string& AboutText() { return m_aboutText; }
    ShowState ShowCommand() const { return m_showCommand; }

private:
    std::unique_ptr<CSettingsStore> m_store;
    std::unique_ptr<CMainFrame> m_mainFrame;
    bool m_commandLineFileFlag = false;
    std::string m_aboutText;
    ShowState m_showCommand = ShowState::Normal;
};

}  // namespace webquill
