// Shared pieces of the widget suites: prompts and dialogs answered by the
// test, the suite's own settings store, whole files.
#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

#include "platform/desktop/ui_prompts.h"

class QDialog;

namespace webquill::test {

struct AskedMessage {
    QString caption, text;
    PromptIcon icon;
    PromptButtons buttons;
};

struct StartedProgram {
    QString program;
    QStringList arguments;
};

// Answers every message box (Ok), file dialog (the next queued file, else
// none) and program start in place of the user, and keeps what was asked.
class CScriptedPrompts : public IUserPrompts {
public:
    CScriptedPrompts() { SetPromptsForTests(this); }
    ~CScriptedPrompts() override { SetPromptsForTests(nullptr); }

    PromptAnswer Message(QWidget*, const QString& caption, const QString& text, PromptIcon icon,
                         PromptButtons buttons) override {
        if (onMessage) onMessage();
        messages.push_back({caption, text, icon, buttons});
        if (buttons == PromptButtons::Ok) return PromptAnswer::Ok;
        if (answers.empty()) return laterAnswer;
        const PromptAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QString ChooseFile(QWidget*, const FileDialogRequest& request) override {
        fileDialogs.push_back(request);
        return chosenFiles.isEmpty() ? QString() : chosenFiles.takeFirst();
    }
    bool StartProgram(const QString& program, const QStringList& arguments, QString* reason) override;
    void Beep() override { ++beeps; }

    QStringList chosenFiles;
    std::deque<PromptAnswer> answers;  // to the questions, in order; then laterAnswer
    PromptAnswer laterAnswer = PromptAnswer::Ok;
    bool reallyStartPrograms = false;  // through QProcess
    std::function<void()> onMessage;   // called as a message comes up, to look at the screen

    std::vector<AskedMessage> messages;
    std::vector<FileDialogRequest> fileDialogs;
    std::vector<StartedProgram> started;
    int beeps = 0;
};

// Hands every modal dialog that comes up to `handle` (true once dealt with).
class CDialogAnswerer : public QObject {
public:
    explicit CDialogAnswerer(std::function<bool(QDialog*)> handle);
    int answered = 0;

private:
    std::function<bool(QDialog*)> m_handle;
    QTimer m_timer;
};

// Empties the per-user store (XDG_CONFIG_HOME points at the suite's own folder).
void ClearSettingsStore();
QByteArray ReadWholeFile(const QString& path);
void WriteWholeFile(const QString& path, const QByteArray& bytes);

}  // namespace webquill::test
