// A plain model of the editing commands Add, Delete, Replace, Extract and
// Wrap, written step by step and without any care for speed: every insertion
// builds a whole new working text, every removal moves the rest of the text
// down, and every search starts again from the place the steps name. Tests
// hold the engine's one-pass executors against it.
//
// Preconditions the model relies on: the lead text of an Add, Replace or
// start pattern is not empty (an empty lead is found again at the same place
// and the steps never end), and the working text holds no NUL byte.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "command_records.h"

namespace webquill::reference {

inline constexpr std::size_t kNone = std::string::npos;

inline bool IsWhite(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
inline bool IsDecimal(char c) { return c >= '0' && c <= '9'; }
inline char FoldLetter(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

// The character at `at`, or NUL at and past the end, as a terminated buffer reads.
inline char At(const std::string& text, std::size_t at) { return at < text.size() ? text[at] : '\0'; }

// A place computed from a pattern's written length may lie past the end of
// the text (Item!## on the text Item12); such a place is taken as the end.
inline std::size_t Clamped(const std::string& text, std::size_t at) {
    return at < text.size() ? at : text.size();
}

// First occurrence of `pattern` at or after `from`, tried at every place in
// turn. Match case on: bytes compare exactly; off: only A-Z and a-z fold.
// An empty pattern is found at `from`.
inline std::size_t Find(const std::string& text, const std::string& pattern, bool matchCase,
                        std::size_t from) {
    for (std::size_t at = from; at <= text.size() && pattern.size() <= text.size() - at; ++at) {
        std::size_t i = 0;
        for (; i < pattern.size(); ++i) {
            const char t = text[at + i], p = pattern[i];
            if (matchCase ? t != p : FoldLetter(t) != FoldLetter(p)) break;
        }
        if (i == pattern.size()) return at;
    }
    return kNone;
}

inline std::string Trimmed(const std::string& text) {
    std::size_t first = 0, last = text.size();
    while (first < last && IsWhite(text[first])) ++first;
    while (last > first && IsWhite(text[last - 1])) --last;
    return text.substr(first, last - first);
}

// ---------------------------------------------------------------------------
// Pattern notation: lead text, digit marker "!#" and closing marker "$$$".

enum class Use { Add, Delete, Replace };  // Extract reads its patterns as Delete does

struct Pattern {
    std::string lead;
    bool digitMarker = false;
    std::size_t digitCount = 0;
    bool closingMarker = false;
    std::string closing;
    std::size_t writtenLength = 0;
};

inline Pattern ReadPattern(const std::string& written, Use use) {
    Pattern p;
    p.writtenLength = written.size();
    const std::size_t mark = written.find("!#");
    const std::size_t close = written.find("$$$");
    std::size_t runEnd = kNone;
    if (mark != kNone) {
        p.digitMarker = true;
        runEnd = mark + 1;
        while (runEnd < written.size() && written[runEnd] == '#') ++runEnd;
        p.digitCount = runEnd - (mark + 1);
    }
    p.closingMarker = close != kNone;
    if (p.digitMarker)
        p.lead = Trimmed(written.substr(0, mark));
    else if (p.closingMarker)
        p.lead = Trimmed(written.substr(0, close));
    else
        p.lead = written;
    // When "$$$" stands before "!#", the closing text still runs from the first "$$$".
    if (p.closingMarker)
        p.closing = written.substr(close + 3);
    else if (use == Use::Delete && p.digitMarker)
        p.closing = written.substr(runEnd);
    return p;
}

struct Occurrence {
    bool qualifies = false;
    std::size_t end = 0;
};

// The digit check shared by Add and Delete; `z` moves past the digits.
inline bool DigitsSuit(const std::string& text, const Pattern& p, std::size_t& z) {
    if (!IsDecimal(At(text, z))) return false;
    std::size_t run = 0;
    while (IsDecimal(At(text, z + run))) ++run;
    z += run;
    return run == p.digitCount || (run > p.digitCount && p.closingMarker);
}

inline Occurrence TestAddOccurrence(const std::string& text, const Pattern& p, std::size_t x,
                                    bool matchCase) {
    std::size_t z = x + p.lead.size();
    if (p.digitMarker && !DigitsSuit(text, p, z)) return {};
    if (p.closingMarker) {
        // Only the first closing text after Z counts; one too close disqualifies.
        const std::size_t f = Find(text, p.closing, matchCase, z);
        if (f == kNone || f - z < 2) return {};
        return {true, f + p.closing.size()};
    }
    return {true, Clamped(text, x + p.writtenLength)};
}

inline Occurrence TestDeleteOccurrence(const std::string& text, const Pattern& p, std::size_t x,
                                       bool matchCase) {
    std::size_t z = x + p.lead.size();
    if (p.digitMarker) {
        if (!DigitsSuit(text, p, z)) return {};
        if (p.closing.empty()) return {true, Clamped(text, x + p.writtenLength)};
    } else if (!p.closingMarker) {
        return {true, Clamped(text, x + p.writtenLength)};
    }
    const std::size_t f = Find(text, p.closing, matchCase, z);
    if (f == kNone) return {};
    return {true, f + p.closing.size()};
}

// A whole new text: the old one up to `at`, the piece, the rest of the old one.
inline std::string WithInsertion(const std::string& old, std::size_t at, const std::string& piece) {
    std::string fresh;
    fresh.reserve(old.size() + piece.size() + 10);
    fresh.append(old, 0, at);
    fresh += piece;
    fresh.append(old, at, kNone);
    return fresh;
}

// Removes [from, to) by moving every character from `to` on down to `from`.
inline void RemoveStretch(std::string& text, std::size_t from, std::size_t to) {
    std::size_t into = from;
    for (std::size_t at = to; at < text.size(); ++at) text[into++] = text[at];
    text.resize(into);
}

inline bool InstanceReached(int count, int instance) { return instance == 0 || count == instance; }

// ---------------------------------------------------------------------------
// Add

inline bool Add(std::string& text, const CCmdVar& record, bool matchCase) {
    const Pattern p = ReadPattern(record.firstText, Use::Add);
    const std::string added = record.newText.value_or(std::string());
    const bool before = record.before != 0;
    std::size_t x = Find(text, p.lead, matchCase, 0);
    if (x == kNone) return false;
    int count = 0;
    for (;;) {
        const Occurrence o = TestAddOccurrence(text, p, x, matchCase);
        std::size_t place = 0;
        if (o.qualifies) {
            ++count;
            place = before ? x : o.end;
        }
        std::size_t next = x + p.lead.size();
        if (o.qualifies && InstanceReached(count, record.instance)) {
            text = WithInsertion(text, place, added);
            if (record.instance != 0) return true;
            next = before ? x + added.size() + 1 : place + added.size();
        }
        x = Find(text, p.lead, matchCase, next);
        if (x == kNone) return true;
    }
}

// ---------------------------------------------------------------------------
// Delete

inline bool Delete(std::string& text, const CCmdVar& record, bool matchCase) {
    const Pattern ps = ReadPattern(record.firstText, Use::Delete);
    const Pattern pe = ReadPattern(record.secondText, Use::Delete);
    std::size_t s = Find(text, ps.lead, matchCase, 0);
    if (s == kNone) return false;
    int count = 0;
    for (;;) {
        std::size_t next = s + ps.lead.size();
        const Occurrence os = TestDeleteOccurrence(text, ps, s, matchCase);
        if (os.qualifies) {
            const std::size_t a = os.end;
            std::size_t w = a;
            if (!pe.lead.empty()) {
                w = Find(text, pe.lead, matchCase, a);
                if (w == kNone) return false;
            }
            // An end pattern whose lead is empty but which has markers is still
            // tested at A (its digits or closing text must follow there).
            const Occurrence oe = TestDeleteOccurrence(text, pe, w, matchCase);
            if (oe.qualifies) ++count;
            if (oe.qualifies && InstanceReached(count, record.instance)) {
                RemoveStretch(text, s, oe.end);
                if (record.instance != 0) return true;
                next = s;
            } else if (oe.qualifies) {
                next = oe.end;
            }
        }
        s = Find(text, ps.lead, matchCase, next);
        if (s == kNone) return true;
    }
}

// ---------------------------------------------------------------------------
// Replace

inline bool Replace(std::string& text, const CCmdVar& record, bool matchCase) {
    const Pattern p = ReadPattern(record.firstText, Use::Replace);
    const std::string replacement = record.newText.value_or(std::string());
    std::size_t x = Find(text, p.lead, matchCase, 0);
    if (x == kNone) return false;
    int count = 0;
    for (;;) {
        const std::size_t z = x + p.lead.size();
        bool qualifies = false;
        std::size_t end = 0;
        std::size_t next = z;
        if (!p.digitMarker && !p.closingMarker) {
            qualifies = true;
            end = x + p.writtenLength;
        } else if (p.digitMarker) {
            if (IsDecimal(At(text, z))) {
                std::size_t z2 = z;
                while (IsDecimal(At(text, z2))) ++z2;
                const std::size_t run = z2 - z;
                if (run < p.digitCount || (run > p.digitCount && !p.closingMarker)) {
                    next = z2;
                } else if (run == p.digitCount && !p.closingMarker) {
                    qualifies = true;
                    end = Clamped(text, x + p.writtenLength);
                } else {
                    const std::size_t f = Find(text, p.closing, matchCase, z2);
                    if (f != kNone && f - z2 >= 2) {
                        qualifies = true;
                        end = f + p.closing.size();
                    }
                }
            }
        } else {
            const std::size_t f = Find(text, p.closing, matchCase, z);
            if (f == kNone) return true;
            qualifies = true;
            end = f + p.closing.size();
        }
        if (qualifies) {
            ++count;
            if (InstanceReached(count, record.instance)) {
                std::string fresh;
                fresh.reserve(text.size() + replacement.size() + 10);
                fresh.append(text, 0, x);
                fresh += replacement;
                fresh.append(text, end, kNone);
                text = std::move(fresh);
                if (record.instance != 0) return true;
                next = x + replacement.size();
            }
        }
        x = Find(text, p.lead, matchCase, next);
        if (x == kNone) return true;
    }
}

// ---------------------------------------------------------------------------
// Extract: sets record.newText when a value is taken.

inline bool Extract(std::string& text, CCmdVar& record, bool matchCase) {
    if (record.commandNumber < 3) return true;  // sysdate and systime
    const Pattern ps = ReadPattern(record.firstText, Use::Delete);
    const Pattern pe = ReadPattern(record.secondText, Use::Delete);
    std::size_t s = Find(text, ps.lead, matchCase, 0);
    if (s == kNone) return false;
    int count = 0;
    for (;;) {
        std::size_t next = s + ps.lead.size();
        const Occurrence os = TestDeleteOccurrence(text, ps, s, matchCase);
        if (os.qualifies) {
            const std::size_t v = os.end;
            const std::size_t w = Find(text, pe.lead, matchCase, v);
            if (w == kNone) return false;
            const Occurrence oe = TestDeleteOccurrence(text, pe, w, matchCase);
            if (oe.qualifies) ++count;
            if (oe.qualifies && InstanceReached(count, record.instance)) {
                record.newText = text.substr(v, w - v);
                RemoveStretch(text, v, w);
                return true;
            }
            if (oe.qualifies) next = oe.end;
        }
        s = Find(text, ps.lead, matchCase, next);
        if (s == kNone) return true;
    }
}

// ---------------------------------------------------------------------------
// Wrap

inline bool FormatElementMatches(char element, char c) {
    switch (element) {
        case 'X':
        case 'x': return IsDecimal(c);
        case 'C': return c >= 'A' && c <= 'Z';
        case 'c': return c >= 'a' && c <= 'z';
        case 'R': return c == 'I' || c == 'V' || c == 'X' || c == 'L';
        case 'r': return c == 'i' || c == 'v' || c == 'x' || c == 'l';
        default: return c == element;  // delimiter characters
    }
}

struct FormatMatch {
    bool matched = false;     // the number matched and white space follows it
    bool moved = false;       // the number matched but no white space follows it
    std::size_t length = 0;   // characters matched, when matched
    std::size_t place = 0;    // when moved: the next white space, or the end
};

inline FormatMatch MatchParagraphFormat(const std::string& text, std::size_t place,
                                        const std::string& format) {
    FormatMatch m;
    m.place = place;
    for (std::size_t i = 0; i < format.size(); ++i)
        if (place + i >= text.size() || !FormatElementMatches(format[i], text[place + i])) return m;
    std::size_t after = place + format.size();
    if (IsWhite(At(text, after))) {
        m.matched = true;
        m.length = format.size();
        return m;
    }
    // The character right after the number is not white space; the next one that is.
    while (after < text.size() && !IsWhite(text[after])) ++after;
    m.moved = true;
    m.place = after;
    return m;
}

inline bool Wrap(std::string& text, const CWrapper& record, bool matchCase) {
    const std::string& prefix = record.numberPrefix;
    const std::string& format = record.numberFormat;
    if (prefix.empty() && format.empty()) return false;  // no defined paragraph beginning
    std::size_t place = 0;
    int wrapped = 0;
    for (;;) {
        std::size_t b = 0, s = 0;
        if (!prefix.empty()) {
            b = Find(text, prefix, matchCase, place);
            if (b == kNone) break;
            if (format.empty()) {
                s = b + prefix.size();
            } else {
                std::size_t q = b + prefix.size();
                while (IsWhite(At(text, q))) ++q;
                const FormatMatch m = MatchParagraphFormat(text, q, format);
                if (!m.matched) {
                    place = m.place;  // after the prefix and blanks, or the moved place
                    continue;
                }
                s = q + m.length;
            }
        } else {
            std::size_t at = place;
            bool found = false;
            while (at < text.size()) {
                const FormatMatch m = MatchParagraphFormat(text, at, format);
                if (m.matched) {
                    found = true;
                    break;
                }
                // After a number without white space, the try after the next white space.
                at = m.moved ? m.place + 1 : at + 1;
            }
            if (!found) break;
            b = at;
            s = at + format.size();
        }
        const std::size_t e = Find(text, record.endOfParagraph, matchCase, s);
        if (e == kNone) break;
        std::string fresh;
        fresh.reserve(text.size() + record.textBefore.size() + record.textAfter.size() + 10);
        fresh.append(text, 0, b);
        fresh += record.textBefore;
        fresh.append(text, b, e - b);
        fresh += record.textAfter;
        fresh.append(text, e, kNone);
        text = std::move(fresh);
        ++wrapped;
        place = e + record.textBefore.size() + record.textAfter.size();
    }
    return wrapped != 0;
}

}  // namespace webquill::reference
