#include "widget_test_support.h"

#include <QFile>
#include <QProcess>
#include <QSettings>

namespace webquill::test {

PromptAnswer CScriptedPrompts::Message(QWidget*, const QString& caption, const QString& text,
                                       PromptIcon icon, PromptButtons buttons) {
    const AskedMessage asked{caption, text, icon, buttons};
    messages.push_back(asked);
    if (onMessage) onMessage(asked);
    if (answers.empty()) return PromptAnswer::Ok;
    const PromptAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

QString CScriptedPrompts::ChooseFile(QWidget*, const FileDialogRequest& request) {
    fileDialogs.push_back(request);
    if (chosenFiles.empty()) return QString();
    const QString chosen = chosenFiles.front();
    chosenFiles.pop_front();
    return chosen;
}

bool CScriptedPrompts::StartProgram(const QString& program, const QStringList& arguments) {
    started.push_back({program, arguments});
    return !reallyStartPrograms || QProcess::startDetached(program, arguments);
}

void ClearSettingsStore() {
    QSettings store(QStringLiteral("Tessaly"), QStringLiteral("Webquill"));
    store.clear();
    store.sync();
}

QByteArray ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QByteArray();
    return file.readAll();
}

void WriteWholeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

}  // namespace webquill::test

#include <QApplication>
#include <QDialog>

namespace webquill::test {

CDialogAnswerer::CDialogAnswerer(std::function<bool(QDialog*)> handle) : m_handle(std::move(handle)) {
    connect(&m_timer, &QTimer::timeout, this, &CDialogAnswerer::Look);
    m_timer.start(20);
}

void CDialogAnswerer::Look() {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    // A dialog is answered once; the next one may well sit at the same address.
    if (!dialog || dialog->property("answeredByTest").toBool() || !dialog->isVisible()) return;
    if (m_handle(dialog)) {
        dialog->setProperty("answeredByTest", true);
        ++answered;
    }
}

}  // namespace webquill::test
