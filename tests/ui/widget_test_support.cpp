#include "tests/ui/widget_test_support.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QSettings>

namespace webquill::test {

bool CScriptedPrompts::StartProgram(const QString& program, const QStringList& arguments, QString* reason) {
    started.push_back({program, arguments});
    return !reallyStartPrograms || StartDetachedProgram(program, arguments, reason);
}

CDialogAnswerer::CDialogAnswerer(std::function<bool(QDialog*)> handle) : m_handle(std::move(handle)) {
    connect(&m_timer, &QTimer::timeout, this, [this] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        // Answered once: the next dialog may well sit at the same address.
        if (!dialog || dialog->property("answeredByTest").toBool() || !dialog->isVisible()) return;
        if (m_handle(dialog)) {
            dialog->setProperty("answeredByTest", true);
            ++answered;
        }
    });
    m_timer.start(20);
}

void ClearSettingsStore() { QSettings(QStringLiteral("Tessaly"), QStringLiteral("Webquill")).clear(); }

QByteArray ReadWholeFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteWholeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

}  // namespace webquill::test
