// The pattern notation shared by Add, Delete, Extract and Replace: a lead
// text, an optional digit marker "!#" (one '#' per digit) and an optional
// closing marker "$$$" followed by the closing text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/text_search.h"

namespace webquill {

// Delete's rules also serve Extract.
enum class PatternUse { Add, Delete, Replace };

// Where a Replace goes on after testing one occurrence.
struct ReplaceOccurrence {
    bool qualifies = false;
    bool endsCommand = false;  // a closing text that is nowhere to be found
    std::size_t end = 0;       // end of the stretch, when it qualifies
    std::size_t next = 0;      // where the search goes on, when it does not
};

class CPatternNotation {
public:
    CPatternNotation(std::string_view pattern, PatternUse use, bool matchCase);

    const std::string& Lead() const { return m_lead; }
    std::size_t FindLead(std::string_view text, std::size_t from) const {
        return m_leadFinder.Find(text, from);
    }

    // The occurrence of the lead text at `at`: does it qualify, and where does
    // it end? The text must not change between calls on one notation.
    bool TestAdd(std::string_view text, std::size_t at, std::size_t& end) const;
    bool TestDelete(std::string_view text, std::size_t at, std::size_t& end) const;
    ReplaceOccurrence TestReplace(std::string_view text, std::size_t at) const;

private:
    std::size_t DigitRunEnd(std::string_view text, std::size_t from) const;
    bool DigitsQualify(std::string_view text, std::size_t& z) const;
    std::size_t WrittenEnd(std::string_view text, std::size_t at) const;
    std::size_t FindClosing(std::string_view text, std::size_t from) const {
        return m_closingFinder.Find(text, from);
    }

    std::string m_lead;
    bool m_hasDigitMarker = false;
    std::size_t m_digitCount = 0;
    bool m_hasClosingMarker = false;
    std::string m_closing;
    std::size_t m_writtenLength = 0;
    CForwardFinder m_leadFinder;
    CForwardFinder m_closingFinder;
    mutable std::size_t m_runStart = 0;
    mutable std::size_t m_runEnd = 0;
};

}  // namespace webquill
