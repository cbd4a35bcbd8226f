// The records a parsed rule file becomes, and the lists that own them.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace webquill {

inline constexpr std::size_t kMaxPatternLength = 4096;
inline constexpr std::size_t kMaxNameLength = 260;

enum class CommandKind : std::int32_t {
    None = 0,
    Extract = 1,  // also the predefined variables
    Delete = 2,
    Add = 3,
    Replace = 4,
    MakeTOC = 5,
    MakeFile = 6,
};

// A list that owns its records, in the order they were appended.
template <typename Record>
class CRecordList {
public:
    Record& Append() { return Append(std::make_unique<Record>()); }
    Record& Append(std::unique_ptr<Record> record) {
        m_records.push_back(std::move(record));
        return *m_records.back();
    }
    // Takes a record out of the list; the caller owns it afterwards.
    std::unique_ptr<Record> TakeAt(std::size_t index) {
        std::unique_ptr<Record> record = std::move(m_records.at(index));
        m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(index));
        return record;
    }
    // Every record at once, in order; the list is left empty.
    std::vector<std::unique_ptr<Record>> TakeAll() { return std::exchange(m_records, {}); }
    void Clear() { m_records.clear(); }
    bool Empty() const { return m_records.empty(); }
    std::size_t Size() const { return m_records.size(); }
    Record& At(std::size_t index) { return *m_records.at(index); }
    const Record& At(std::size_t index) const { return *m_records.at(index); }

    template <typename F>
    void ForEach(F&& visit) {
        for (auto& record : m_records) visit(*record);
    }
    template <typename F>
    void ForEach(F&& visit) const {
        for (const auto& record : m_records) visit(static_cast<const Record&>(*record));
    }

protected:
    std::vector<std::unique_ptr<Record>> m_records;
};

// One parsed command, or one variable.
struct CCmdVar {
    std::int32_t commandNumber = -1;
    std::int32_t instance = 1;  // 0: every qualifying occurrence
    std::int32_t before = 0;    // Add: 1 inserts before the document text
    std::string secondText;     // end pattern
    std::string firstText;      // find text or start pattern
    std::string variableName;
    std::optional<std::string> newText;  // text to add, replacement, or value
    CommandKind kind = CommandKind::None;
};

class CCmdVarList : public CRecordList<CCmdVar> {
public:
    // The record holding `number`; the last record when none holds it.
    CCmdVar* FindByCommandNumber(std::int32_t number);
    // The first record named `name`, letters A to Z compared without case.
    // Records that are not variables carry no name, so an empty name finds nothing.
    CCmdVar* FindVariable(std::string_view name);
    const CCmdVar* FindVariable(std::string_view name) const;
    // The first record of a kind, or none.
    const CCmdVar* FindFirstOfKind(CommandKind kind) const;
};

// One parsed Wrap command.
struct CWrapper {
    std::int32_t wrapNumber = -1;
    std::string numberPrefix;
    std::string endOfParagraph;
    std::string numberFormat;
    std::string textBefore;  // inserted where the paragraph begins
    std::string textAfter;   // inserted just before the end-of-paragraph pattern
};

class CWrapperList : public CRecordList<CWrapper> {};

}  // namespace webquill
