#include "engine/text_search.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace webquill {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
}

CPatternSearcher::CPatternSearcher(std::string_view pattern, bool matchCase) : m_pattern(pattern) {
    for (int c = 0; c < 256; ++c) {
        auto ch = static_cast<char>(c);
        m_fold[c] = static_cast<unsigned char>(matchCase ? ch : FoldAscii(ch));
    }
    for (auto& c : m_pattern) c = static_cast<char>(m_fold[static_cast<unsigned char>(c)]);
    const std::size_t m = m_pattern.size();
    m_shift.fill(m == 0 ? 1 : m);
    for (std::size_t i = 0; i + 1 < m; ++i)
        m_shift[static_cast<unsigned char>(m_pattern[i])] = m - 1 - i;
}

std::size_t CPatternSearcher::MatchedPrefix(const unsigned char* at) const {
    const auto* p = reinterpret_cast<const unsigned char*>(m_pattern.data());
    std::size_t k = 0;
    while (k < m_pattern.size() && m_fold[at[k]] == p[k]) ++k;
    return k;
}

// A letter that folds is looked for in both cases in one pass: searching the
// rest of the text for one case before the other would scan it again for
// every occurrence.
std::size_t CPatternSearcher::FindSingleByte(std::string_view text, std::size_t from) const {
    const char wanted = m_pattern[0];
    if (IsAsciiLetter(wanted) && m_fold['A'] == 'a') {
#if defined(__SSE2__)
        return FindVector(text, from);
#else
        return FindScalar(text, from, 64);
#endif
    }
    const void* at = std::memchr(text.data() + from, wanted, text.size() - from);
    return at ? static_cast<const char*>(at) - text.data() : kNotFound;
}

std::size_t CPatternSearcher::Find(std::string_view text, std::size_t from) const {
    const std::size_t m = m_pattern.size();
    if (from > text.size()) return kNotFound;
    if (m == 0) return from;
    if (text.size() - from < m) return kNotFound;
    if (m == 1) return FindSingleByte(text, from);
#if defined(__SSE2__)
    return FindVector(text, from);
#else
    return FindScalar(text, from, 64 + 4 * m);
#endif
}

// Horspool on folded bytes is fast on ordinary text; when its comparisons
// pile up (periodic texts and patterns) the search finishes with the
// Knuth-Morris-Pratt scan so that it stays linear in the text length.
std::size_t CPatternSearcher::FindScalar(std::string_view text, std::size_t from,
                                         std::size_t budget) const {
    const std::size_t m = m_pattern.size();
    if (text.size() < m || from > text.size() - m) return kNotFound;
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    const auto last = static_cast<unsigned char>(m_pattern[m - 1]);
    const std::size_t end = text.size() - m;
    std::size_t i = from;
    while (i <= end) {
        const unsigned char c = m_fold[t[i + m - 1]];
        if (c == last) {
            const std::size_t compared = MatchedPrefix(t + i);
            if (compared == m) return i;
            if (budget <= compared) return FindLinear(text, i);
            budget -= compared + 1;
        }
        const std::size_t step = m_shift[c];
        budget += step;
        i += step;
    }
    return kNotFound;
}

#if defined(__SSE2__)
namespace {
// Lanes equal to the pattern byte, in either case when the byte is a letter
// that folds.
inline __m128i EqualFolded(__m128i bytes, __m128i lower, __m128i upper) {
    return _mm_or_si128(_mm_cmpeq_epi8(bytes, lower), _mm_cmpeq_epi8(bytes, upper));
}
}  // namespace

// Sixteen places at a time: a place is a candidate when both the pattern's
// first and last bytes stand where they should; candidates are then compared
// whole. The same work budget as the scalar scan guards linearity.
std::size_t CPatternSearcher::FindVector(std::string_view text, std::size_t from) const {
    const std::size_t m = m_pattern.size();
    const std::size_t n = text.size();
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    auto upperOf = [this](char c) {
        const bool folds = m_fold['A'] == 'a' && c >= 'a' && c <= 'z';
        return static_cast<char>(folds ? c - 'a' + 'A' : c);
    };
    const char first = m_pattern[0];
    const char last = m_pattern[m - 1];
    const __m128i firstLower = _mm_set1_epi8(first), firstUpper = _mm_set1_epi8(upperOf(first));
    const __m128i lastLower = _mm_set1_epi8(last), lastUpper = _mm_set1_epi8(upperOf(last));
    std::size_t budget = 64 + 4 * m;
    std::size_t i = from;
    for (; i + m - 1 + 16 <= n; i += 16) {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + i));
        const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + i + m - 1));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(
            EqualFolded(head, firstLower, firstUpper), EqualFolded(tail, lastLower, lastUpper))));
        while (mask != 0) {
            const std::size_t at = i + static_cast<std::size_t>(std::countr_zero(mask));
            const std::size_t compared = MatchedPrefix(t + at);
            if (compared == m) return at;
            if (budget <= compared) return FindLinear(text, at);
            budget -= compared + 1;
            mask &= mask - 1;
        }
        budget += 16;
    }
    return FindScalar(text, i, budget);
}
#endif

void CPatternSearcher::PrepareLinearTable() const {
    const std::size_t m = m_pattern.size();
    m_failure.assign(m, 0);
    std::size_t k = 0;
    for (std::size_t i = 1; i < m; ++i) {
        while (k > 0 && m_pattern[i] != m_pattern[k]) k = m_failure[k - 1];
        if (m_pattern[i] == m_pattern[k]) ++k;
        m_failure[i] = k;
    }
}

std::size_t CPatternSearcher::FindLinear(std::string_view text, std::size_t from) const {
    if (m_failure.empty()) PrepareLinearTable();
    const std::size_t m = m_pattern.size();
    std::size_t k = 0;
    for (std::size_t i = from; i < text.size(); ++i) {
        const char c = static_cast<char>(m_fold[static_cast<unsigned char>(text[i])]);
        while (k > 0 && c != m_pattern[k]) k = m_failure[k - 1];
        if (c == m_pattern[k]) ++k;
        if (k == m) return i + 1 - m;
    }
    return kNotFound;
}

std::size_t CPatternSearcher::FindAfterHit(std::string_view text, std::size_t hit, std::size_t from) const {
    const std::size_t m = m_pattern.size();
    if (m_failure.empty()) PrepareLinearTable();
    // The longest border of the pattern that still starts at or after `from`.
    std::size_t k = m_failure[m - 1];
    std::size_t i = hit + m;
    while (k > 0 && i - k < from) k = m_failure[k - 1];
    // An occurrence that overlaps the last one ends before `stop`; past it
    // the ordinary search is the faster one.
    const std::size_t stop = std::min(text.size(), hit + 2 * m - 1);
    for (; i < stop; ++i) {
        const char c = static_cast<char>(m_fold[static_cast<unsigned char>(text[i])]);
        while (k > 0 && c != m_pattern[k]) k = m_failure[k - 1];
        if (c == m_pattern[k]) ++k;
        if (k == m) return i + 1 - m;
    }
    return Find(text, std::max(from, hit + m));
}

std::size_t FindPattern(std::string_view text, std::string_view pattern, bool matchCase,
                        std::size_t from) {
    return CPatternSearcher(pattern, matchCase).Find(text, from);
}

std::size_t FindExact(std::string_view text, std::string_view pattern, std::size_t from) {
    if (from > text.size()) return kNotFound;
    return text.find(pattern, from);
}

std::string_view TrimmedView(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    return text.substr(b, e - b);
}

std::string_view SkipLeadingBlanks(std::string_view text) {
    std::size_t b = 0;
    while (b < text.size() && IsBlank(text[b])) ++b;
    return text.substr(b);
}

void TrimBlanks(std::string& text) {
    const std::string_view kept = TrimmedView(text);
    const std::size_t offset = kept.data() - text.data();
    const std::size_t length = kept.size();
    text.erase(0, offset);
    text.resize(length);
}

LineEnd FirstLineEnd(std::string_view text) {
    const std::size_t lf = text.find('\n');
    if (lf == kNotFound) return {text.size(), LineEndKind::None};
    if (lf > 0 && text[lf - 1] == '\r') return {lf - 1, LineEndKind::CRLF};
    return {lf, LineEndKind::LF};
}

namespace {
void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    if (text.find(from) == kNotFound) return;
    std::string out;
    out.reserve(text.size());
    std::size_t copied = 0;
    for (std::size_t at = text.find(from); at != kNotFound; at = text.find(from, copied)) {
        out.append(text, copied, at - copied);
        out.append(to);
        copied = at + from.size();
    }
    out.append(text, copied, kNotFound);
    text.swap(out);
}
}  // namespace

void MarkLineBreaks(std::string& text) { ReplaceAll(text, "\r\n", kLineBreakMarker); }

void ExpandLineBreaks(std::string& text, bool lfOnly) {
    ReplaceAll(text, kLineBreakMarker, lfOnly ? "\n" : "\r\n");
}

void ConvertCommandLineBreaks(std::string& text, bool lfOnly) {
    if (lfOnly) MarkLineBreaks(text);
    ExpandLineBreaks(text, lfOnly);
}

}  // namespace webquill
