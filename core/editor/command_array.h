// The commands of one kind that a command page owns while it is in front:
// taken out of the editor's list when the page is brought to the front, put
// back (new ones numbered after the largest number) when it is left.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/editor/rule_file_check.h"
#include "engine/command_records.h"

namespace webquill {

struct RuleWorkingSet;

class ICommandArray {
public:
    virtual ~ICommandArray() = default;
    int Count() const { return static_cast<int>(Size()); }

    // Moves every record of the page's kind, in order, out of the working
    // set; gives the largest command (or wrap) number of all records walked.
    virtual std::int32_t TakeOut(RuleWorkingSet& set) = 0;
    // Appends every record to the working set's list, a new record (number
    // -1) numbered after `largest`, which grows; the array ends empty.
    virtual void GiveBack(RuleWorkingSet& set, std::int32_t& largest) = 0;
    virtual void Clear() = 0;
    // A new record at the end: number -1, instance 1, After, empty texts.
    virtual void AppendNew() = 0;
    virtual void EraseAt(int index) = 0;

    // Nothing for a new text that the record lacks.
    virtual std::optional<std::string> Text(int index, RecordField field) const = 0;
    virtual void SetText(int index, RecordField field, std::string value) = 0;
    // Instance and before flag; records without them read 1 and 0.
    virtual std::int32_t Instance(int index) const = 0;
    virtual void SetInstance(int index, std::int32_t instance) = 0;
    virtual bool Before(int index) const = 0;
    virtual void SetBefore(int index, bool before) = 0;

    // Why the record, as the writer writes it, would not read back as it is
    // (a marker in a text, a line too long), naming it as command index + 1.
    virtual std::optional<RuleFileProblem> RuleFileProblemAt(int index, bool matchCase) const = 0;

protected:
    virtual std::size_t Size() const = 0;
};

// The commands of `kind` (Add, Delete, Extract, Replace) of the command list.
std::unique_ptr<ICommandArray> MakeCommandArray(CommandKind kind);
// Every record of the wrapper list.
std::unique_ptr<ICommandArray> MakeWrapArray();

}  // namespace webquill
