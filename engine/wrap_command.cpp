// Wrap: a text put before and a text after every numbered paragraph.
#include "publishing_run.h"
#include "string_format.h"
#include "text_rebuild.h"
#include "text_search.h"

namespace webquill {

namespace {
constexpr std::string_view kFormatDelimiters = ",.:; )(][}{-";

bool ElementMatches(char element, char c) {
    switch (element) {
        case 'X':
        case 'x': return IsDigit(c);
        case 'C': return c >= 'A' && c <= 'Z';
        case 'c': return c >= 'a' && c <= 'z';
        case 'R': return c == 'I' || c == 'V' || c == 'X' || c == 'L';
        case 'r': return c == 'i' || c == 'v' || c == 'x' || c == 'l';
        default: return kFormatDelimiters.find(element) != std::string_view::npos && c == element;
    }
}

std::size_t NextBlank(std::string_view text, std::size_t from) {
    while (from < text.size() && !IsBlank(text[from])) ++from;
    return from;
}

// Where a paragraph begins (B) and its body starts (S).
struct ParagraphStart {
    std::size_t begin;
    std::size_t body;
};
}  // namespace

// True when the format matches at `place` and white space follows; after a
// whole match without white space, `place` moves on to the next white space.
bool MatchParagraphFormat(std::string_view text, std::size_t& place, std::string_view format,
                          std::size_t& matched) {
    if (format.empty() || text.size() - place < format.size()) return false;
    for (std::size_t i = 0; i < format.size(); ++i)
        if (!ElementMatches(format[i], text[place + i])) return false;
    const std::size_t after = place + format.size();
    if (after < text.size() && IsBlank(text[after])) {
        matched = format.size();
        return true;
    }
    place = NextBlank(text, after);
    return false;
}

namespace {
bool FindParagraph(std::string_view text, std::size_t place, const CWrapper& w,
                   const CPatternSearcher& prefix, ParagraphStart& found) {
    const std::string_view format = w.numberFormat;
    std::size_t matched = 0;
    if (!w.numberPrefix.empty()) {
        for (;;) {
            const std::size_t at = prefix.Find(text, place);
            if (at == kNotFound) return false;
            std::size_t after = at + w.numberPrefix.size();
            if (format.empty()) {
                found = {at, after};
                return true;
            }
            while (after < text.size() && IsBlank(text[after])) ++after;
            std::size_t tried = after;
            if (MatchParagraphFormat(text, tried, format, matched)) {
                found = {at, tried + matched};
                return true;
            }
            place = tried;
        }
    }
    if (format.empty()) return false;  // no defined beginning without prefix or format
    for (std::size_t at = place; at < text.size(); ++at) {
        std::size_t tried = at;
        if (MatchParagraphFormat(text, tried, format, matched)) {
            found = {at, at + matched};
            return true;
        }
        at = tried;
    }
    return false;
}
}  // namespace

bool CPublishingRun::WrapCommand(CWrapper& record) {
    if (!record.numberFormat.empty())
        SetStatusText(StrFormat("Wrapping Para Formats -> %.30s", record.numberFormat.c_str()));
    else if (!record.numberPrefix.empty())
        SetStatusText(StrFormat("Wrapping Para Starting with -> %.30s", record.numberPrefix.c_str()));
    else
        SetStatusText("Wrapping Paragraphs");

    const std::string_view text = m_workingText;
    const CPatternSearcher prefix(record.numberPrefix, m_matchCase);
    const CForwardFinder endOfParagraph(record.endOfParagraph, m_matchCase);
    CTextRebuild rebuilt(text, m_spareText);
    std::size_t wrapped = 0;
    ParagraphStart paragraph{};
    for (std::size_t place = 0; FindParagraph(text, place, record, prefix, paragraph);) {
        const std::size_t end = endOfParagraph.Find(text, paragraph.body);
        if (end == kNotFound) break;
        rebuilt.CopyUpTo(paragraph.begin);
        rebuilt.Insert(record.textBefore);
        rebuilt.CopyUpTo(end);
        rebuilt.Insert(record.textAfter);
        ++wrapped;
        place = end;
    }
    ApplyRebuild(rebuilt);
    return wrapped != 0;
}

}  // namespace webquill
