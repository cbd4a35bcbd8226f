#include "platform/desktop/ui_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>

namespace webquill {

namespace {

QMessageBox::Icon BoxIcon(PromptIcon icon) {
    switch (icon) {
        case PromptIcon::Information: return QMessageBox::Information;
        case PromptIcon::Warning: return QMessageBox::Warning;
        case PromptIcon::Stop: return QMessageBox::Critical;
        case PromptIcon::Question: return QMessageBox::Question;
        case PromptIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

class CDesktopPrompts : public IUserPrompts {
public:
    PromptAnswer Message(QWidget* parent, const QString& caption, const QString& text, PromptIcon icon,
                         PromptButtons buttons) override {
        QMessageBox box(BoxIcon(icon), caption, text, QMessageBox::NoButton, parent);
        box.setTextFormat(Qt::PlainText);
        switch (buttons) {
            case PromptButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
            case PromptButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
            case PromptButtons::YesNoCancel:
                box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
                break;
        }
        switch (box.exec()) {
            case QMessageBox::Yes: return PromptAnswer::Yes;
            case QMessageBox::No: return PromptAnswer::No;
            case QMessageBox::Cancel: return PromptAnswer::Cancel;
            default: return PromptAnswer::Ok;
        }
    }

    QString ChooseFile(QWidget* parent, const FileDialogRequest& request) override {
        if (request.folder) return QFileDialog::getExistingDirectory(parent, request.caption, request.directory);
        QFileDialog dialog(parent, request.caption, request.directory);
        // The descriptions already name their patterns.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setNameFilters(request.filters);
        dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(request.save || !request.mustExist ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
        if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
        // Renamed buttons need the dialog of Qt's own, not the platform's.
        if (!request.acceptLabel.isEmpty() || !request.rejectLabel.isEmpty())
            dialog.setOption(QFileDialog::DontUseNativeDialog);
        if (!request.acceptLabel.isEmpty()) dialog.setLabelText(QFileDialog::Accept, request.acceptLabel);
        if (!request.rejectLabel.isEmpty()) dialog.setLabelText(QFileDialog::Reject, request.rejectLabel);
        CentreOnMainWindow(&dialog, parent);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
        return dialog.selectedFiles().first();
    }

    bool StartProgram(const QString& program, const QStringList& arguments, QString* reason) override {
        return StartDetachedProgram(program, arguments, reason);
    }

    void Beep() override { QApplication::beep(); }
};

IUserPrompts* g_testPrompts = nullptr;

}  // namespace

void CentreOnMainWindow(QWidget* dialog, QWidget* parent) {
    QWidget* main = parent ? parent->window() : nullptr;
    while (main && main->parentWidget()) main = main->parentWidget()->window();
    if (!main || !main->isVisible()) return;
    if (!dialog->testAttribute(Qt::WA_Resized)) dialog->adjustSize();
    QRect frame = dialog->frameGeometry();
    frame.moveCenter(main->frameGeometry().center());
    dialog->move(frame.topLeft());
}

bool StartDetachedProgram(const QString& program, const QStringList& arguments, QString* reason) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    if (process.startDetached()) return true;
    if (reason) *reason = process.errorString();
    return false;
}

namespace {
// Words as a shell splits them: blanks between words, '...' taken as it
// stands, "..." and a backslash keeping blanks and quotes in a word.
QStringList ShellWords(const QString& command) {
    QStringList words;
    QString word;
    bool inWord = false;
    QChar quote;
    for (qsizetype i = 0; i < command.size(); ++i) {
        const QChar c = command[i];
        if (quote == QLatin1Char('\'')) {
            if (c == quote) quote = QChar();
            else word += c;
        } else if (c == QLatin1Char('\\') && i + 1 < command.size() &&
                   (quote.isNull() || QStringLiteral("\"\\$`").contains(command[i + 1]))) {
            word += command[++i];
            inWord = true;
        } else if (quote == QLatin1Char('"')) {
            if (c == quote) quote = QChar();
            else word += c;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            inWord = true;
        } else if (c.isSpace()) {
            if (inWord) words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words << word;
    return words;
}
}  // namespace

bool StartSettingProgram(QWidget* parent, const QString& setting, const QStringList& arguments) {
    // A program whose own name holds blanks is named as it stands.
    QStringList command = QFileInfo(setting).isFile() ? QStringList{setting} : ShellWords(setting);
    const QString program = command.isEmpty() ? setting : command.takeFirst();
    QString reason;
    if (Prompts().StartProgram(program, command + arguments, &reason)) return true;
    Prompts().Message(parent, QStringLiteral("Webquill"),
                      QStringLiteral("Couldn't start %1:\n%2").arg(program, reason), PromptIcon::Warning,
                      PromptButtons::Ok);
    return false;
}

IUserPrompts& Prompts() {
    static CDesktopPrompts desktop;
    return g_testPrompts ? *g_testPrompts : desktop;
}

void SetPromptsForTests(IUserPrompts* prompts) { g_testPrompts = prompts; }

}  // namespace webquill
