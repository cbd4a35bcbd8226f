// The rule file writer: the rule file text for a document's header values and
// a set of command and Wrap records, and its save through a temporary file.
#pragma once

#include <string>

#include "engine/command_records.h"
#include "engine/run_document.h"

namespace webquill {

// The whole file: CR LF line ends, optional header lines only when their
// value is not empty, commands grouped by kind (Wrap, Extract, Delete, Add,
// Replace, the first MakeTOC, the first MakeFile), no line end of its own at
// the end. Markers are written to be found again by a reader with the same
// match case setting (off unless the user chose it).
std::string ComposeRuleFile(const RuleValues& rule, const CCmdVarList& commands, const CWrapperList& wrappers,
                            bool matchCase = false);

// A Wrap number format in its written form: letters as they stand, each run
// of delimiter characters between two "!".
std::string EncodeNumberFormat(const std::string& format);

struct RuleFileSaveResult {
    // Refused: a value the file cannot carry; nothing was written.
    enum class Kind { Saved, CreateFailed, WriteFailed, Refused };
    Kind kind = Kind::Saved;
    std::string message;  // the failure report's text
    bool Ok() const { return kind == Kind::Saved; }
};

// Writes `text` to `path` through a temporary file in the same folder renamed
// over it: a failed save leaves the old file whole.
RuleFileSaveResult SaveRuleFileText(const std::string& path, const std::string& text);

}  // namespace webquill
