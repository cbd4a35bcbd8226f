#include "command_records.h"

#include "text_search.h"

namespace webquill {

CCmdVar& CCmdVarList::Append() {
    m_records.push_back(std::make_unique<CCmdVar>());
    return *m_records.back();
}

CCmdVar& CCmdVarList::Append(std::unique_ptr<CCmdVar> record) {
    m_records.push_back(std::move(record));
    return *m_records.back();
}

std::unique_ptr<CCmdVar> CCmdVarList::TakeAt(std::size_t index) {
    std::unique_ptr<CCmdVar> record = std::move(m_records.at(index));
    m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(index));
    return record;
}

void CCmdVarList::Clear() { m_records.clear(); }

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

CWrapper& CWrapperList::Append() {
    m_records.push_back(std::make_unique<CWrapper>());
    return *m_records.back();
}

CWrapper& CWrapperList::Append(std::unique_ptr<CWrapper> record) {
    m_records.push_back(std::move(record));
    return *m_records.back();
}

std::unique_ptr<CWrapper> CWrapperList::TakeAt(std::size_t index) {
    std::unique_ptr<CWrapper> record = std::move(m_records.at(index));
    m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(index));
    return record;
}

}  // namespace webquill
