// Shared pieces of the widget suites: prompts answered by the test, a
// settings store of the test's own, and temporary folders.
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <vector>

#include "ui_prompts.h"

namespace webquill::test {

struct AskedMessage {
    QString caption;
    QString text;
    PromptIcon icon;
    PromptButtons buttons;
};

struct StartedProgram {
    QString program;
    QStringList arguments;
};

// Answers every message box, file dialog and program start in place of the
// user, in the order the test queued the answers (Ok, or an empty file name,
// when none is queued), and keeps what was asked.
class CScriptedPrompts : public IUserPrompts {
public:
    CScriptedPrompts() { SetPromptsForTests(this); }
    ~CScriptedPrompts() override { SetPromptsForTests(nullptr); }

    PromptAnswer Message(QWidget* parent, const QString& caption, const QString& text, PromptIcon icon,
                         PromptButtons buttons) override;
    QString ChooseFile(QWidget* parent, const FileDialogRequest& request) override;
    bool StartProgram(const QString& program, const QStringList& arguments) override;
    void Beep() override { ++beeps; }

    std::deque<PromptAnswer> answers;
    std::deque<QString> chosenFiles;
    // Called while a message box would be up, before it is answered.
    std::function<void(const AskedMessage&)> onMessage;
    // When set, program starts really happen (through QProcess).
    bool reallyStartPrograms = false;

    std::vector<AskedMessage> messages;
    std::vector<FileDialogRequest> fileDialogs;
    std::vector<StartedProgram> started;
    int beeps = 0;
};

// Empties the per-user store (XDG_CONFIG_HOME points at the suite's own folder).
void ClearSettingsStore();

QByteArray ReadWholeFile(const QString& path);
void WriteWholeFile(const QString& path, const QByteArray& bytes);

}  // namespace webquill::test

#include <QObject>
#include <QTimer>

class QDialog;

namespace webquill::test {

// Hands every modal dialog that comes up to `handle`, until destroyed. The
// handler returns true once it has dealt with the dialog.
class CDialogAnswerer : public QObject {
public:
    explicit CDialogAnswerer(std::function<bool(QDialog*)> handle);

    int answered = 0;

private:
    void Look();

    std::function<bool(QDialog*)> m_handle;
    QTimer m_timer;
};

}  // namespace webquill::test
