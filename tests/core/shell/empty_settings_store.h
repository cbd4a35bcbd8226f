// The per-user store of the suites without widgets: one settings folder for
// the whole process, emptied whenever a test asks.
#pragma once

#include <QSettings>
#include <cstdlib>
#include <memory>

#include "tests/engine/test_support.h"

namespace webquill::test {

inline void EmptySettingsStore() {
    static std::unique_ptr<TempDir> config;
    if (!config) {
        config = std::make_unique<TempDir>();
        ::setenv("XDG_CONFIG_HOME", config->Path().c_str(), 1);
    }
    QSettings(QStringLiteral("Tessaly"), QStringLiteral("Webquill")).clear();
}

}  // namespace webquill::test
