#include "core/editor/command_array.h"

#include <algorithm>
#include <vector>

#include "core/editor/rule_working_set.h"

namespace webquill {

namespace {

std::string* TextOf(CCmdVar& r, RecordField field) {
    switch (field) {
        case RecordField::FirstText: return &r.firstText;
        case RecordField::SecondText: return &r.secondText;
        case RecordField::VariableName: return &r.variableName;
        default: return nullptr;
    }
}

std::string* TextOf(CWrapper& w, RecordField field) {
    switch (field) {
        case RecordField::NumberPrefix: return &w.numberPrefix;
        case RecordField::NumberFormat: return &w.numberFormat;
        case RecordField::EndOfParagraph: return &w.endOfParagraph;
        case RecordField::TextBefore: return &w.textBefore;
        case RecordField::TextAfter: return &w.textAfter;
        default: return nullptr;
    }
}

std::int32_t& NumberOf(CCmdVar& r) { return r.commandNumber; }
std::int32_t& NumberOf(CWrapper& w) { return w.wrapNumber; }
CCmdVarList& ListOf(RuleWorkingSet& set, const CCmdVar*) { return set.commands; }
CWrapperList& ListOf(RuleWorkingSet& set, const CWrapper*) { return set.wrappers; }

template <typename Record>
class CommandArray final : public ICommandArray {
public:
    explicit CommandArray(CommandKind kind) : m_kind(kind) {}

    std::int32_t TakeOut(RuleWorkingSet& set) override {
        auto& list = ListOf(set, static_cast<const Record*>(nullptr));
        std::int32_t largest = 0;
        for (auto& record : list.TakeAll()) {
            largest = std::max(largest, NumberOf(*record));
            if (Mine(*record)) m_records.push_back(std::move(record));
            else list.Append(std::move(record));
        }
        return largest;
    }

    void GiveBack(RuleWorkingSet& set, std::int32_t& largest) override {
        auto& list = ListOf(set, static_cast<const Record*>(nullptr));
        for (auto& record : m_records) {
            if (NumberOf(*record) == -1) NumberOf(*record) = ++largest;
            list.Append(std::move(record));
        }
        m_records.clear();
    }

    void Clear() override { m_records.clear(); }

    void AppendNew() override {
        auto record = std::make_unique<Record>();
        if constexpr (std::is_same_v<Record, CCmdVar>) record->kind = m_kind;
        m_records.push_back(std::move(record));
    }

    void EraseAt(int index) override { m_records.erase(m_records.begin() + index); }

    std::optional<std::string> Text(int index, RecordField field) const override {
        Record& r = *m_records.at(static_cast<std::size_t>(index));
        if constexpr (std::is_same_v<Record, CCmdVar>)
            if (field == RecordField::NewText) return r.newText;
        const std::string* text = TextOf(r, field);
        return text ? *text : std::string();
    }

    void SetText(int index, RecordField field, std::string value) override {
        Record& r = *m_records.at(static_cast<std::size_t>(index));
        if constexpr (std::is_same_v<Record, CCmdVar>)
            if (field == RecordField::NewText) {
                r.newText = std::move(value);
                return;
            }
        if (std::string* text = TextOf(r, field)) *text = std::move(value);
    }

    std::int32_t Instance(int index) const override {
        if constexpr (std::is_same_v<Record, CCmdVar>) return m_records.at(static_cast<std::size_t>(index))->instance;
        return 1;
    }
    void SetInstance(int index, std::int32_t instance) override {
        if constexpr (std::is_same_v<Record, CCmdVar>) m_records.at(static_cast<std::size_t>(index))->instance = instance;
    }
    bool Before(int index) const override {
        if constexpr (std::is_same_v<Record, CCmdVar>) return m_records.at(static_cast<std::size_t>(index))->before != 0;
        return false;
    }
    void SetBefore(int index, bool before) override {
        if constexpr (std::is_same_v<Record, CCmdVar>) m_records.at(static_cast<std::size_t>(index))->before = before ? 1 : 0;
    }

    std::optional<RuleFileProblem> RuleFileProblemAt(int index, bool matchCase) const override {
        const Record& r = *m_records.at(static_cast<std::size_t>(index));
        if constexpr (std::is_same_v<Record, CCmdVar>) return CheckCommandRecord(r, index + 1, matchCase);
        else return CheckWrapRecord(r, index + 1, matchCase);
    }

protected:
    std::size_t Size() const override { return m_records.size(); }

private:
    bool Mine(const Record& record) const {
        if constexpr (std::is_same_v<Record, CCmdVar>) return record.kind == m_kind;
        return true;
    }

    CommandKind m_kind;
    std::vector<std::unique_ptr<Record>> m_records;
};

}  // namespace

std::unique_ptr<ICommandArray> MakeCommandArray(CommandKind kind) {
    return std::make_unique<CommandArray<CCmdVar>>(kind);
}

std::unique_ptr<ICommandArray> MakeWrapArray() { return std::make_unique<CommandArray<CWrapper>>(CommandKind::None); }

}  // namespace webquill
