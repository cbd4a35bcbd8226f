// Message boxes, file dialogs and program starts go through here, so that
// widget tests can answer them in place of a user and record what was asked.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace webquill {

enum class PromptIcon { None, Information, Warning, Stop, Question };
enum class PromptAnswer { Ok, Yes, No, Cancel };
enum class PromptButtons { Ok, YesNo, YesNoCancel };

struct FileDialogRequest {
    QString caption;
    QString directory;
    QStringList filters;  // "Description (patterns)", in order
    bool save = false;
    QString defaultSuffix;
    QString fileName;      // proposed in the name field
    QString acceptLabel;   // the confirming button's caption, when renamed
    QString rejectLabel;   // the dismissing button's caption, when renamed
    bool mustExist = true;  // open mode: only an existing file is taken
    bool folder = false;    // a folder is chosen, not a file
};

class IUserPrompts {
public:
    virtual ~IUserPrompts() = default;
    virtual PromptAnswer Message(QWidget* parent, const QString& caption, const QString& text,
                                 PromptIcon icon, PromptButtons buttons) = 0;
    // Empty when the user cancels.
    virtual QString ChooseFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // Starts a program without waiting for it; false, with the reason, when
    // it could not start.
    virtual bool StartProgram(const QString& program, const QStringList& arguments, QString* reason) = 0;
    virtual void Beep() = 0;
};

// Moves a dialog about to be shown over the centre of the program's main
// window (the top-level window that `parent` belongs to, through any dialogs
// in between).
void CentreOnMainWindow(QWidget* dialog, QWidget* parent);

// The real start of a program, not awaited.
bool StartDetachedProgram(const QString& program, const QStringList& arguments, QString* reason);

// Starts the program a setting names, split as a shell splits a command
// ("ed.sh --new-window"), with `arguments` after its own. When it cannot
// start, a message names the program and the reason, and the answer is false.
bool StartSettingProgram(QWidget* parent, const QString& setting, const QStringList& arguments);

// The real dialogs, unless a test has put its own in place.
IUserPrompts& Prompts();
// Null puts the real dialogs back. The caller keeps ownership.
void SetPromptsForTests(IUserPrompts* prompts);

}  // namespace webquill
