// The rules of the rule editor's command pages that need no widgets: the
// Instance reading, the checks of a command's fields with their messages,
// the Wrap number format check, and how a record's text is shown.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace webquill {

// A field's message and the field (its place on the page) it names.
struct FieldProblem {
    std::string message;
    int field = 0;
};

// Which of a page's fields hold text: bit i for the page's field i.
using FilledFields = unsigned;
inline bool IsFilled(FilledFields filled, int field) { return (filled >> field) & 1U; }

// The check made when stepping away from a page that has no command yet.
using FirstRecordCheck = std::optional<FieldProblem> (*)(FilledFields filled);
std::optional<FieldProblem> AddFirstRecordCheck(FilledFields filled);
std::optional<FieldProblem> DeleteFirstRecordCheck(FilledFields filled);
std::optional<FieldProblem> ExtractFirstRecordCheck(FilledFields filled);
std::optional<FieldProblem> ReplaceFirstRecordCheck(FilledFields filled);
// Wrap fields: 0 prefix, 1 format, 2 end of paragraph, 3 before, 4 after.
std::optional<FieldProblem> WrapFirstRecordCheck(FilledFields filled);
// The check of one Wrap command when the page is left.
std::optional<FieldProblem> WrapRecordCheck(FilledFields filled);

struct InstanceReading {
    std::int32_t instance = 1;  // 0: every occurrence
    const char* error = nullptr;  // the message when the text is refused
};
// Blanks around the text are ignored; "A" or "a" first means every
// occurrence; otherwise the decimal number its digits start (saturated).
InstanceReading ReadInstance(std::string_view text);
// 0 is shown as "A", any other instance as its number.
std::string InstanceText(std::int32_t instance);

// True for a Wrap number format's letters and delimiter characters.
bool IsFormatCharacter(char32_t c);
// The refusal of a format holding `character` (its UTF-8 bytes).
std::string InvalidFormatMessage(std::string_view character);
inline constexpr const char* kFormatBlankQuestion =
    "First character of the paragraph format is a space!\nDid you define it as a delimiter?";

// A record's text as its field shows it: a line end at its end (LF, or CR
// LF) becomes the line-break marker.
std::string ShownRecordText(std::string_view text);

}  // namespace webquill
