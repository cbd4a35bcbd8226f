// Whether a rule file text says what it was composed from: the writer's text
// is read back as a load reads it, and a value that would come back as
// another (or a file the reader refuses) is named with the reason, so that
// nothing is written that the next load or run would read differently.
#pragma once

#include <optional>
#include <string>

#include "core/editor/rule_working_set.h"
#include "engine/command_records.h"
#include "engine/run_document.h"

namespace webquill {

// The record fields a page's text field can stand for.
enum class RecordField {
    FirstText,
    SecondText,
    VariableName,
    NewText,
    NumberPrefix,
    NumberFormat,
    EndOfParagraph,
    TextBefore,
    TextAfter,
};

struct RuleFileProblem {
    std::string message;
    // A value of the header (kHeaderFieldCount: the execute sequence), or
    // a record: its kind (None for Wrap), its place among the records of its
    // kind from 1, and the field the message names. Neither for a file whose
    // records read back alone.
    bool header = false;
    HeaderField headerField = kHeaderFieldCount;
    CommandKind kind = CommandKind::None;
    int number = 0;
    RecordField field = RecordField::FirstText;
};

// One record as the writer writes it, read back in a file of its own with a
// command after it (the line break before the next command counts).
std::optional<RuleFileProblem> CheckCommandRecord(const CCmdVar& record, int number, bool matchCase);
std::optional<RuleFileProblem> CheckWrapRecord(const CWrapper& record, int number, bool matchCase);

// A whole file composed from these values; when it reads back otherwise, the
// first value that does so alone is named.
std::optional<RuleFileProblem> CheckRuleFileText(const std::string& text, const RuleValues& rule,
                                                 const CCmdVarList& commands, const CWrapperList& wrappers,
                                                 bool matchCase);

// The header values of a working set alone, as a save writes them.
RuleValues WorkingSetValues(const RuleWorkingSet& set);
// The file a save of the working set would write, and its check.
std::optional<RuleFileProblem> CheckWorkingSet(const RuleWorkingSet& set, bool matchCase, std::string* text = nullptr);

}  // namespace webquill
