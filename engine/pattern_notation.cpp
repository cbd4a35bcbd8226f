#include "engine/pattern_notation.h"

#include <algorithm>

namespace webquill {

namespace {
struct Parts {
    std::string lead;
    bool digitMarker = false;
    std::size_t digitCount = 0;
    bool closingMarker = false;
    std::string closing;
};

Parts ReadParts(std::string_view p, PatternUse use) {
    Parts parts;
    const std::size_t digit = p.find("!#");
    const std::size_t closing = p.find("$$$");
    parts.digitMarker = digit != kNotFound;
    parts.closingMarker = closing != kNotFound;
    std::size_t hashEnd = 0;
    if (parts.digitMarker) {
        hashEnd = digit + 1;
        while (hashEnd < p.size() && p[hashEnd] == '#') ++hashEnd;
        parts.digitCount = hashEnd - digit - 1;
        parts.lead = std::string(TrimmedView(p.substr(0, digit)));
    } else if (parts.closingMarker) {
        parts.lead = std::string(TrimmedView(p.substr(0, closing)));
    } else {
        parts.lead = std::string(p);
    }
    if (parts.closingMarker) parts.closing = std::string(p.substr(closing + 3));
    else if (parts.digitMarker && use == PatternUse::Delete) parts.closing = std::string(p.substr(hashEnd));
    return parts;
}
}  // namespace

CPatternNotation::CPatternNotation(std::string_view pattern, PatternUse use, bool matchCase)
    : m_writtenLength(pattern.size()),
      m_leadFinder(ReadParts(pattern, use).lead, matchCase),
      m_closingFinder(ReadParts(pattern, use).closing, matchCase) {
    Parts parts = ReadParts(pattern, use);
    m_lead = std::move(parts.lead);
    m_hasDigitMarker = parts.digitMarker;
    m_digitCount = parts.digitCount;
    m_hasClosingMarker = parts.closingMarker;
    m_closing = std::move(parts.closing);
}

// Remembers the run it counted last: lead texts that hold digits would
// otherwise count the same long run once per occurrence.
std::size_t CPatternNotation::DigitRunEnd(std::string_view text, std::size_t from) const {
    if (from >= m_runStart && from < m_runEnd) return m_runEnd;
    std::size_t end = from;
    while (end < text.size() && IsDigit(text[end])) ++end;
    m_runStart = from;
    m_runEnd = end;
    return end;
}

// The digit check: exactly the marked number of digits, or more when a
// closing text follows. Moves `z` past the digits.
bool CPatternNotation::DigitsQualify(std::string_view text, std::size_t& z) const {
    if (z >= text.size() || !IsDigit(text[z])) return false;
    const std::size_t end = DigitRunEnd(text, z);
    const std::size_t run = end - z;
    z = end;
    return run == m_digitCount || (run > m_digitCount && m_hasClosingMarker);
}

// An occurrence measured by the pattern as written never reaches past the
// end of the text.
std::size_t CPatternNotation::WrittenEnd(std::string_view text, std::size_t at) const {
    return std::min(text.size(), at + m_writtenLength);
}

bool CPatternNotation::TestAdd(std::string_view text, std::size_t at, std::size_t& end) const {
    std::size_t z = at + m_lead.size();
    if (m_hasDigitMarker && !DigitsQualify(text, z)) return false;
    if (!m_hasClosingMarker) {
        end = WrittenEnd(text, at);
        return true;
    }
    const std::size_t found = FindClosing(text, z);
    if (found == kNotFound || found - z < 2) return false;
    end = found + m_closing.size();
    return true;
}

bool CPatternNotation::TestDelete(std::string_view text, std::size_t at, std::size_t& end) const {
    std::size_t z = at + m_lead.size();
    if (m_hasDigitMarker && !DigitsQualify(text, z)) return false;
    const bool measuredAsWritten = m_hasDigitMarker ? m_closing.empty() : !m_hasClosingMarker;
    if (measuredAsWritten) {
        end = WrittenEnd(text, at);
        return true;
    }
    const std::size_t found = FindClosing(text, z);
    if (found == kNotFound) return false;
    end = found + m_closing.size();
    return true;
}

ReplaceOccurrence CPatternNotation::TestReplace(std::string_view text, std::size_t at) const {
    ReplaceOccurrence o;
    const std::size_t z = at + m_lead.size();
    if (!m_hasDigitMarker && !m_hasClosingMarker) {
        o.qualifies = true;
        o.end = WrittenEnd(text, at);
        return o;
    }
    if (!m_hasDigitMarker) {
        const std::size_t found = FindClosing(text, z);
        if (found == kNotFound) {
            o.endsCommand = true;
            return o;
        }
        o.qualifies = true;
        o.end = found + m_closing.size();
        return o;
    }
    o.next = z;
    if (z >= text.size() || !IsDigit(text[z])) return o;
    const std::size_t z2 = DigitRunEnd(text, z);
    const std::size_t run = z2 - z;
    if (run < m_digitCount || (run > m_digitCount && !m_hasClosingMarker)) {
        o.next = z2;
        return o;
    }
    if (!m_hasClosingMarker) {
        o.qualifies = true;
        o.end = WrittenEnd(text, at);
        return o;
    }
    const std::size_t found = FindClosing(text, z2);
    if (found != kNotFound && found - z2 >= 2) {
        o.qualifies = true;
        o.end = found + m_closing.size();
    }
    return o;
}

}  // namespace webquill
