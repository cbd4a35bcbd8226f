#include "core/editor/command_page_rules.h"

#include <limits>

namespace webquill {

namespace {

constexpr std::string_view kFormatLetters = "XxCcRr";
constexpr std::string_view kFormatDelimiters = ",.:; )(][}{-";
constexpr const char* kBefore2nd = "before 2nd ";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// "'First'" + (" field must be defined\n" when the second is filled, else
// " and 'Second' fields must be defined\n") + "before 2nd Kind command can
// be defined!": the check of the pages with two required fields.
std::optional<FieldProblem> FirstOfTwo(FilledFields filled, const char* first, const char* second, const char* kind) {
    if (IsFilled(filled, 0)) return std::nullopt;
    std::string text = std::string("'") + first + "'";
    text += IsFilled(filled, 1) ? std::string(" field must be defined\n")
                                : std::string(" and '") + second + "' fields must be defined\n";
    return FieldProblem{text + kBefore2nd + kind + " command can be defined!", 0};
}

}  // namespace

std::optional<FieldProblem> AddFirstRecordCheck(FilledFields filled) {
    return FirstOfTwo(filled, "Add this NEW text", "Document's Text", "Add");
}

std::optional<FieldProblem> ReplaceFirstRecordCheck(FilledFields filled) {
    return FirstOfTwo(filled, "Replace existing text", "With this text", "Replace");
}

std::optional<FieldProblem> DeleteFirstRecordCheck(FilledFields filled) {
    if (IsFilled(filled, 0)) return std::nullopt;
    return FieldProblem{"'Delete start pattern' field must be defined as a minimum\n"
                        "before 2nd Delete command can be defined!",
                        0};
}

std::optional<FieldProblem> ExtractFirstRecordCheck(FilledFields filled) {
    const bool start = IsFilled(filled, 0), end = IsFilled(filled, 1), name = IsFilled(filled, 2);
    const std::string tail = "before 2nd Extract command can be defined!";
    if (start && !end)
        return FieldProblem{std::string("End Extract pattern:'") +
                                (name ? " field must be defined\n" : " and 'Variable Name:' fields must be defined\n") +
                                tail,
                            1};
    if (start && !name) return FieldProblem{"'Variable Name:' field must be defined\n" + tail, 2};
    if (start) return std::nullopt;
    const char* middle = end && name ? " field must be defined\n"
                         : end       ? " and 'Variable Name:' fields must be defined\n"
                         : name      ? " and 'End Extract pattern:' fields must be defined\n"
                                     : ", 'End Extract pattern:', and 'Variable Name:' fields must be defined\n";
    return FieldProblem{std::string("'Start Extract pattern:'") + middle + tail, 0};
}

std::optional<FieldProblem> WrapFirstRecordCheck(FilledFields filled) {
    static constexpr const char* kEither = "Either a 'Para Prefix:' or 'Para Format ...'";
    static constexpr const char* kEnd = "'End of Paragraph Pattern:'";
    static constexpr const char* kInsert = "'Insert This Pattern Prior...'";
    static constexpr const char* kMust = "fields must be defined before 2nd Wrap command can be defined!";
    static constexpr const char* kBlankMust = " fields must be defined before 2nd Wrap command can be defined!";
    static constexpr const char* kBoth =
        "and 'Add This Pattern After...' fields must be defined\nbefore 2nd Wrap command can be defined!";
    struct Row {
        const char* parts[3];
        int field;
    };
    // Indexed by prefix-or-format, end pattern, text before, text after
    // (8, 4, 2, 1 when filled).
    static const Row kRows[16] = {
        {{kEither, ", 'End of Paragraph Pattern:', 'Insert This Pattern Prior...'\n", kBoth}, 0},
        {{kEither, ", 'End of Paragraph Pattern:', and 'Insert This Pattern Prior...'\n", kMust}, 0},
        {{kEither, ", 'End of Paragraph Pattern:', and 'Add This Pattern After...'\n", kMust}, 0},
        {{kEither, " and 'End of Paragraph Pattern:'\n", kMust}, 0},
        {{kEither, ", 'Insert This Pattern Prior...' and 'Add This Pattern After...'\n", kBlankMust}, 0},
        {{kEither, " and 'Insert This Pattern Prior...'\n", kMust}, 0},
        {{kEither, " and 'Add This Pattern After...'\n", kMust}, 0},
        {{kEither, kBlankMust, ""}, 0},
        {{kEnd, ",'Insert This Pattern Prior...'\n", kBoth}, 2},
        {{kEnd, " and 'Insert This Pattern Prior...'\n", kMust}, 2},
        {{kEnd, " and 'Add This Pattern After...'\n", kMust}, 2},
        {{kEnd, " field must be defined before 2nd Wrap command can be defined!", ""}, 2},
        {{kInsert, kBoth, ""}, 3},
        {{kInsert, " field must be defined before 2nd Wrap command can be defined!", ""}, 3},
        {{"'Add This Pattern After...' field must be defined before 2nd Wrap command can be defined!", "", ""}, 4},
        {{nullptr, nullptr, nullptr}, 0},
    };
    const unsigned row = (IsFilled(filled, 0) || IsFilled(filled, 1) ? 8U : 0U) | (IsFilled(filled, 2) ? 4U : 0U) |
                         (IsFilled(filled, 3) ? 2U : 0U) | (IsFilled(filled, 4) ? 1U : 0U);
    const Row& r = kRows[row];
    if (!r.parts[0]) return std::nullopt;
    std::string text = std::string(r.parts[0]) + r.parts[1] + r.parts[2];
    return FieldProblem{text, r.field};
}

std::optional<FieldProblem> WrapRecordCheck(FilledFields filled) {
    if (!IsFilled(filled, 0) && !IsFilled(filled, 1))
        return FieldProblem{"You MUST define either a 'Para Prefix:' or 'Para Format ...'!", 0};
    static const char* const kEmpty[] = {"'End of Paragraph Pattern:' field cannot be left empty!",
                                         "'Insert This Pattern Prior...' field cannot be left empty!",
                                         "'Add This Pattern After...' field cannot be left empty!"};
    for (int field = 2; field < 5; ++field)
        if (!IsFilled(filled, field)) return FieldProblem{kEmpty[field - 2], field};
    return std::nullopt;
}

InstanceReading ReadInstance(std::string_view text) {
    if (text.empty()) return {1, "'Instance:' field cannot be left empty!"};
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    const char first = text.empty() ? '\0' : text.front();
    if (first == 'A' || first == 'a') return {0, nullptr};
    const bool negative = first == '-';
    if (!negative && !(first >= '0' && first <= '9'))
        return {1, "First character in Instance field must be A, a, or a digit!"};
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (std::size_t i = negative ? 1 : 0; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(kMax, value * 10 + (text[i] - '0'));
    if (negative && value > 0) return {1, "Don't know how to interpret negative Instance numbers!"};
    return {static_cast<std::int32_t>(value), nullptr};
}

std::string InstanceText(std::int32_t instance) { return instance == 0 ? "A" : std::to_string(instance); }

bool IsFormatCharacter(char32_t c) {
    if (c == 0 || c >= 0x80) return false;
    const char ascii = static_cast<char>(c);
    return kFormatLetters.find(ascii) != std::string_view::npos || kFormatDelimiters.find(ascii) != std::string_view::npos;
}

std::string InvalidFormatMessage(std::string_view character) {
    return std::string("Paragraph format contains the character '") + std::string(character) +
           "' which is NOT a valid format or delimiter character!";
}

std::string ShownRecordText(std::string_view text) {
    if (text.empty() || text.back() != '\n') return std::string(text);
    text.remove_suffix(1);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    return std::string(text) + "!$";
}

}  // namespace webquill
