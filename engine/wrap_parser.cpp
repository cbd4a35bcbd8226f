// The Wrap command text: prefix, number format, end-of-paragraph pattern and
// the two texts it inserts, with the format language's decoding and errors.
#include <algorithm>
#include <string_view>

#include "engine/publishing_run.h"
#include "engine/text_search.h"

namespace webquill {

namespace {
constexpr const char* kWrapPrefix = "'Wrap' Command Error:\n";
constexpr const char* kWrapLogPrefix = "***> 'Wrap' Command Error: ";
constexpr std::string_view kFormatDelimiters = ",.:; )(][}{-";
constexpr std::size_t kMaxFormat = 259;
constexpr std::size_t kMaxLeadingDelimiters = 9;

bool IsFormatDelimiter(char c) {
    return c != '\0' && kFormatDelimiters.find(c) != std::string_view::npos;
}
// A character named in a message; the end of the text names nothing.
std::string Shown(char c) { return c == '\0' ? std::string() : std::string(1, c); }

bool IsFormatLetter(char c) { return c != '\0' && std::string_view("XxCcRr").find(c) != std::string_view::npos; }

enum class FormatError { None, BangWithoutDelimiter, LeadingGroupOpen, NoLetterAfterGroup, InnerGroupOpen };

struct DecodedFormat {
    std::string format;
    FormatError error = FormatError::None;
    char offending = '\0';
};

// The text as the parser's cuts leave it: up to the next cut or the end.
std::string_view UpToCut(std::string_view buffer, std::size_t from) {
    if (from > buffer.size()) return {};
    const std::string_view rest = buffer.substr(from);
    return rest.substr(0, rest.find('\0'));
}

void Append(std::string& format, std::string_view piece) {
    format.append(piece.substr(0, kMaxFormat - std::min(kMaxFormat, format.size())));
}

DecodedFormat DecodeFormat(std::string_view area) {
    DecodedFormat out;
    auto at = [&](std::size_t i) { return i < area.size() ? area[i] : '\0'; };
    std::size_t i = 0;
    if (at(0) == '!') {
        if (!IsFormatDelimiter(at(1))) return {{}, FormatError::BangWithoutDelimiter, at(1)};
        i = 1;
        while (IsFormatDelimiter(at(i)) && i - 1 < kMaxLeadingDelimiters) ++i;
        if (at(i) != '!') return {{}, FormatError::LeadingGroupOpen, at(i)};
        Append(out.format, area.substr(1, i - 1));
        while (i < area.size() && !IsFormatLetter(area[i])) ++i;
        if (i >= area.size()) return {{}, FormatError::NoLetterAfterGroup, '\0'};
    } else if (!IsFormatLetter(at(0))) {
        return out;  // no format, and nothing wrong
    }
    for (;;) {
        const std::size_t letters = i;
        while (IsFormatLetter(at(i))) ++i;
        Append(out.format, area.substr(letters, i - letters));
        if (at(i) != '!' || !IsFormatDelimiter(at(i + 1))) return out;
        const std::size_t run = ++i;
        while (IsFormatDelimiter(at(i))) ++i;
        if (at(i) != '!') return {{}, FormatError::InnerGroupOpen, '!'};
        Append(out.format, area.substr(run, i - run));
        ++i;
        if (!IsFormatLetter(at(i)) || out.format.size() >= kMaxFormat) return out;
    }
}
}  // namespace

bool CPublishingRun::ParseWrapCommand(std::string text) {
    auto error = [&](const std::string& message, const std::string& logMessage) {
        return CommandParseError(kWrapPrefix, message, kWrapLogPrefix + logMessage);
    };
    const std::size_t dots = FindExact(text, "!...!");
    if (dots == kNotFound) return error("!...! is missing in line!", "!...! is missing in line!");
    const std::size_t withStart = FindPattern(text, "!with start!", m_matchCase);
    if (withStart == kNotFound)
        return error("'!with start! ' is missing in line!", "'!with start! ' is missing in line!");
    const std::size_t end = FindPattern(text, "!end!", m_matchCase);
    if (end == kNotFound) return error("'!end! ' is missing in line!", "!end! ' is missing in line!");

    // Each cut ends the text before it, wherever the markers stand.
    text[end] = '\0';
    const std::string textAfter(UpToCut(text, end + 5));
    text[withStart] = '\0';
    const std::string textBefore(UpToCut(text, withStart + 12));
    text[dots] = '\0';
    const std::string endOfParagraph(UpToCut(text, dots + 5));
    if (textAfter.size() > kMaxPatternLength)
        return error("Ending wrap character pattern too long!", "Ending wrap character pattern too long!");
    if (textBefore.size() > kMaxPatternLength || endOfParagraph.size() > kMaxPatternLength)
        return error("Starting wrap character pattern too long!",
                     "Starting wrap character pattern too long!");

    const std::string_view left = UpToCut(text, 0);
    std::string prefix;
    std::string_view area;
    if (const std::size_t stars = FindExact(left, "!***!"); stars != kNotFound) {
        prefix = std::string(left.substr(0, stars));
        area = left.substr(stars + 5);
        if (prefix.size() > kMaxNameLength)
            return error("Prefix:\n" + prefix + " to long.\nCan't continue!", "Prefix to long!");
    } else {
        area = SkipLeadingBlanks(left);
    }

    const DecodedFormat decoded = DecodeFormat(area);
    switch (decoded.error) {
        case FormatError::None: break;
        case FormatError::BangWithoutDelimiter:
            return error(std::string("'!' not allowed in format area\nunless its used as a delimiter "
                                     "indicator!\n'") + Shown(decoded.offending) + "' follows '!'.  Can't continue!",
                         "'!' not allowed in wrap format area unless its used as a delimiter indicator!");
        case FormatError::NoLetterAfterGroup:
            return error("Don't know how to interrupt:\n" + std::string(area) +
                             "\nfollowing first delimiter indicator '!'.\nCan't continue!",
                         "Don't know how to interrupt paragraph format!");
        case FormatError::LeadingGroupOpen:
        case FormatError::InnerGroupOpen: {
            const bool leading = decoded.error == FormatError::LeadingGroupOpen;
            const std::string head = std::string(kWrapPrefix) + "'" + Shown(decoded.offending) +
                                     (leading ? "' is not a valid delimiter character!"
                                              : "' is not a valid format delimiter!");
            AddLogLine(kWrapLogPrefix + head);
            NoteBox(head + (leading ? "\ndelimiter must be defined as !ddd!\nWhere each d is a "
                                      "valid delimiter character.\n'Can't continue!"
                                    : "\nCan't continue!"));
            return false;
        }
    }

    CWrapper& record = m_doc.wrappers.Append();
    record.wrapNumber = ++m_wrapCounter;
    record.numberPrefix = std::move(prefix);
    record.numberFormat = decoded.format;
    record.endOfParagraph = endOfParagraph;
    record.textBefore = textBefore;
    record.textAfter = textAfter;
    for (std::string* piece : {&record.numberPrefix, &record.numberFormat, &record.endOfParagraph,
                               &record.textBefore, &record.textAfter})
        ConvertLineBreaks(*piece);
    return true;
}

}  // namespace webquill
