// Pattern search and the small text primitives every parser and command uses.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace webquill {

inline constexpr std::size_t kNotFound = std::string_view::npos;

// Finds one pattern many times over without preparing it again. With match
// case off only the ASCII letters fold; every other byte compares exactly.
// The text is searched in place, never copied.
class CPatternSearcher {
public:
    CPatternSearcher(std::string_view pattern, bool matchCase);

    // First occurrence at or after `from`; an empty pattern is found at `from`.
    std::size_t Find(std::string_view text, std::size_t from = 0) const;

    // The first occurrence at or after `from`, where `from` lies within the
    // occurrence found at `hit`: the search goes on from the state that
    // occurrence left, so a long periodic pattern is not compared whole again.
    std::size_t FindAfterHit(std::string_view text, std::size_t hit, std::size_t from) const;

    std::string_view Pattern() const { return m_pattern; }
    std::size_t Length() const { return m_pattern.size(); }

private:
    std::size_t MatchedPrefix(const unsigned char* at) const;
    std::size_t FindSingleByte(std::string_view text, std::size_t from) const;
    std::size_t FindScalar(std::string_view text, std::size_t from, std::size_t budget) const;
    std::size_t FindVector(std::string_view text, std::size_t from) const;
    std::size_t FindLinear(std::string_view text, std::size_t from) const;
    void PrepareLinearTable() const;

    std::string m_pattern;
    std::array<unsigned char, 256> m_fold{};
    std::array<std::size_t, 256> m_shift{};
    // Failure table for the guaranteed-linear fallback, built on first need.
    mutable std::vector<std::size_t> m_failure;
};

// First occurrence of `pattern` at or after `from`, honouring match case.
std::size_t FindPattern(std::string_view text, std::string_view pattern, bool matchCase,
                        std::size_t from = 0);

// Byte-exact search, whatever the match-case setting.
std::size_t FindExact(std::string_view text, std::string_view pattern, std::size_t from = 0);

// Space, tab, CR, LF, vertical tab and form feed.
bool IsBlank(char c);
bool IsDigit(char c);
bool IsAsciiLetter(char c);
char FoldAscii(char c);
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

void TrimBlanks(std::string& text);
std::string_view TrimmedView(std::string_view text);
std::string_view SkipLeadingBlanks(std::string_view text);

enum class LineEndKind { None, LF, CRLF };

struct LineEnd {
    std::size_t position;  // the LF, the CR of a CR LF, or the end of the text
    LineEndKind kind;
};

LineEnd FirstLineEnd(std::string_view text);

// The line-break marker by which a command line names a line break.
inline constexpr std::string_view kLineBreakMarker = "!$";

// Every CR LF pair becomes the marker.
void MarkLineBreaks(std::string& text);
// Every marker becomes LF (LF-only source) or CR LF.
void ExpandLineBreaks(std::string& text, bool lfOnly);
// What happens to every text taken from a command line: literal CR LF pairs
// follow the source's own line ends, and so do the markers.
void ConvertCommandLineBreaks(std::string& text, bool lfOnly);

}  // namespace webquill

namespace webquill {

// A searcher that remembers its last answer, for a text that does not change
// while it is searched: asking again from any place between the last start
// and the last hit gives that hit without scanning again, so the many
// overlapping look-aheads of one command stay linear in the text.
class CForwardFinder {
public:
    CForwardFinder(std::string_view pattern, bool matchCase) : m_searcher(pattern, matchCase) {}

    std::size_t Find(std::string_view text, std::size_t from) const {
        if (m_asked && from >= m_lastFrom && (m_lastHit == kNotFound || from <= m_lastHit))
            return m_lastHit;
        const bool insideLastHit = m_asked && m_lastHit != kNotFound && from > m_lastHit &&
                                   from < m_lastHit + m_searcher.Length();
        m_lastHit = insideLastHit ? m_searcher.FindAfterHit(text, m_lastHit, from) : m_searcher.Find(text, from);
        m_asked = true;
        m_lastFrom = from;
        return m_lastHit;
    }
    std::size_t Length() const { return m_searcher.Length(); }

private:
    CPatternSearcher m_searcher;
    mutable bool m_asked = false;
    mutable std::size_t m_lastFrom = 0;
    mutable std::size_t m_lastHit = kNotFound;
};

}  // namespace webquill
