// The per-user settings store: one section per group, string values.
#pragma once

#include <string>

namespace webquill {

class CSettingsStore {
public:
    // Empty when the value is absent.
    std::string ReadString(const std::string& section, const std::string& name) const;
    void WriteString(const std::string& section, const std::string& name, const std::string& value);
    void Remove(const std::string& section, const std::string& name);
};

}  // namespace webquill
