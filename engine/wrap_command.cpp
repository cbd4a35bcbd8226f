// Wrap: a text put before and a text after every numbered paragraph.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "engine/publishing_run.h"
#include "engine/string_format.h"
#include "engine/text_rebuild.h"
#include "engine/text_search.h"

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
// Every place where the whole format matches, found in one pass over the text
// (a bit per format element, shifted along the text), so a long format that
// fails on its last element is not compared again from every place.
class CFormatFinder {
public:
    explicit CFormatFinder(std::string_view format)
        : m_length(format.size()), m_words((format.size() + 63) / 64), m_masks(256 * m_words, 0) {
        for (int c = 0; c < 256; ++c)
            for (std::size_t i = 0; i < format.size(); ++i)
                if (ElementMatches(format[i], static_cast<char>(c)))
                    m_masks[c * m_words + i / 64] |= std::uint64_t{1} << (i % 64);
        if (format.empty()) return;
        int takes = 0;
        for (int c = 0; c < 256; ++c) {
            m_lastTakes[c] = ElementMatches(format.back(), static_cast<char>(c));
            if (m_lastTakes[c]) ++takes, m_lastByte = c;
        }
        if (takes != 1) m_lastByte = -1;
    }

    // As the place-by-place search: the first place from `place` on where
    // the format matches and white space follows; a match without it sends
    // the search on past the next white space.
    bool Find(std::string_view text, std::size_t place, ParagraphStart& found) {
        switch (m_words) {
            case 1: return Scan<1>(text, place, found);
            case 2: return Scan<2>(text, place, found);
            case 3: return Scan<3>(text, place, found);
            case 4: return Scan<4>(text, place, found);
            case 5: return Scan<5>(text, place, found);
            default: return false;
        }
    }

private:
    // The first place from `from` on whose byte the format's last element
    // takes, or the text's end.
    std::size_t NextLastByte(std::string_view text, std::size_t from) const {
        if (from >= text.size()) return text.size();
        if (m_lastByte >= 0) {  // a delimiter: one byte to look for
            const void* at = std::memchr(text.data() + from, m_lastByte, text.size() - from);
            return at ? static_cast<const char*>(at) - text.data() : text.size();
        }
        while (from < text.size() && !m_lastTakes[static_cast<unsigned char>(text[from])]) ++from;
        return from;
    }

    // A match can only end on a byte the format's last element takes, so
    // while no partial match is alive the next one ends no earlier than the
    // format's length on, at the next such byte: the bytes before its reach
    // are skipped, and no byte is shifted along twice. That byte is not looked
    // for again before the scan has passed the one found, so a text full of
    // it costs one search per format length, not one per byte.
    //
    // While the partial matches are short enough for the first word, only
    // that word is shifted: where the text soon breaks every partial match,
    // a long format costs about what a short one does.
    template <std::size_t Words>
    bool Scan(std::string_view text, std::size_t place, ParagraphStart& found) const {
        std::uint64_t state[Words] = {};  // the format's last element is in the last word
        const std::uint64_t lastBit = std::uint64_t{1} << ((m_length - 1) % 64);
        // The first word alone stops at a match, or before its top bit moves on.
        const std::uint64_t firstStop = Words == 1 ? lastBit : std::uint64_t{1} << 63;
        const std::size_t reach = m_length - 1;  // bytes of a match before its last one
        std::size_t j = place;                   // the next byte to shift the bits along
        std::size_t searchFrom = place;          // no skip is looked for before this byte
        const auto mask = [&](std::size_t at) { return &m_masks[static_cast<unsigned char>(text[at]) * Words]; };
        while (j < text.size()) {
            if (OnlyFirstWord<Words>(state, firstStop)) {
                std::uint64_t first = state[0];
                while (j < text.size()) {
                    if (first == 0 && j >= searchFrom) {
                        const std::size_t last = NextLastByte(text, j + reach);
                        if (last >= text.size()) return false;
                        j = last - reach;
                        searchFrom = last + 1;
                    }
                    first = ((first << 1) | 1) & mask(j++)[0];
                    if (first & firstStop) break;
                }
                state[0] = first;
            } else {
                ShiftAll(state, mask(j++), std::make_index_sequence<Words>());
            }
            if (!(state[Words - 1] & lastBit)) continue;
            if (j < text.size() && IsBlank(text[j])) {
                found = {j - m_length, j};
                return true;
            }
            j = NextBlank(text, j) + 1;  // the search goes on after that white space
            std::fill_n(state, Words, 0);
        }
        return false;
    }

    // True when the bits are all in the first word and none moves on from it.
    template <std::size_t Words>
    static bool OnlyFirstWord(const std::uint64_t (&state)[Words], std::uint64_t firstStop) {
        std::uint64_t rest = state[0] & firstStop;
        for (std::size_t w = 1; w < Words; ++w) rest |= state[w];
        return rest == 0;
    }

    // One byte's step for every word, from the last word down so that each
    // word gives its old top bit to the next; written out word by word (not
    // a loop) so that the words stay in registers.
    template <std::size_t Words, std::size_t... W>
    static void ShiftAll(std::uint64_t (&state)[Words], const std::uint64_t* bits, std::index_sequence<W...>) {
        (ShiftWord<Words - 1 - W>(state, bits), ...);
    }
    template <std::size_t W, std::size_t Words>
    static void ShiftWord(std::uint64_t (&state)[Words], const std::uint64_t* bits) {
        if constexpr (W == 0)
            state[0] = ((state[0] << 1) | 1) & bits[0];  // a match may begin on every byte
        else
            state[W] = ((state[W] << 1) | (state[W - 1] >> 63)) & bits[W];
    }

    std::size_t m_length;
    std::size_t m_words;
    std::vector<std::uint64_t> m_masks;
    bool m_lastTakes[256] = {};  // the bytes the format's last element takes
    int m_lastByte = -1;         // the only such byte, if there is just one
};

bool FindParagraph(std::string_view text, std::size_t place, const CWrapper& w,
                   const CPatternSearcher& prefix, CFormatFinder& formatFinder, ParagraphStart& found) {
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
    return formatFinder.Find(text, place, found);
}
}  // namespace

bool CPublishingRun::WrapCommand(CWrapper& record) {
    if (!record.numberFormat.empty())
        SetStatusText(StrFormat("Wrapping Para Formats -> %.30s", record.numberFormat.c_str()));
    else if (!record.numberPrefix.empty())
        SetStatusText(StrFormat("Wrapping Para Starting with -> %.30s", record.numberPrefix.c_str()));
    else
        SetStatusText("Wrapping Paragraphs");

    const std::string_view text = Text();
    const CPatternSearcher prefix(record.numberPrefix, m_matchCase);
    const CForwardFinder endOfParagraph(record.endOfParagraph, m_matchCase);
    CTextRebuild rebuilt(m_workingText, m_rebuildRoom);
    std::size_t wrapped = 0;
    ParagraphStart paragraph{};
    CFormatFinder formatFinder(record.numberPrefix.empty() ? std::string_view(record.numberFormat) : "");
    for (std::size_t place = 0; FindParagraph(text, place, record, prefix, formatFinder, paragraph);) {
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
