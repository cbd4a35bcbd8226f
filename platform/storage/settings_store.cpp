#include "platform/storage/settings_store.h"

#include <QSettings>
#include <QString>

namespace webquill {

namespace {
QString Key(const std::string& section, const std::string& name) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(name);
}

}  // namespace

std::string CSettingsStore::ReadString(const std::string& section, const std::string& name) const {
    QSettings store(QStringLiteral("Tessaly"), QStringLiteral("Webquill"));
    return store.value(Key(section, name)).toString().toStdString();
}

void CSettingsStore::WriteString(const std::string& section, const std::string& name,
                                 const std::string& value) {
    QSettings store(QStringLiteral("Tessaly"), QStringLiteral("Webquill"));
    store.setValue(Key(section, name), QString::fromStdString(value));
}

void CSettingsStore::Remove(const std::string& section, const std::string& name) {
    QSettings store(QStringLiteral("Tessaly"), QStringLiteral("Webquill"));
    store.remove(Key(section, name));
}

}  // namespace webquill
