#include "engine/command_records.h"

#include "engine/text_search.h"

namespace webquill {

CCmdVar* CCmdVarList::FindByCommandNumber(std::int32_t number) {
    for (auto& record : m_records)
        if (record->commandNumber == number) return record.get();
    return m_records.empty() ? nullptr : m_records.back().get();
}

const CCmdVar* CCmdVarList::FindVariable(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (const auto& record : m_records)
        if (EqualsIgnoringAsciiCase(record->variableName, name)) return record.get();
    return nullptr;
}

CCmdVar* CCmdVarList::FindVariable(std::string_view name) {
    return const_cast<CCmdVar*>(static_cast<const CCmdVarList*>(this)->FindVariable(name));
}

const CCmdVar* CCmdVarList::FindFirstOfKind(CommandKind kind) const {
    for (const auto& record : m_records)
        if (record->kind == kind) return record.get();
    return nullptr;
}

}  // namespace webquill
