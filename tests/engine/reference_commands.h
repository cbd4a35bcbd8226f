// A plain model of the editing commands Add, Delete, Replace, Extract and
// Wrap, written step by step with no care for speed: every insertion builds a
// whole new text, every removal moves the rest down, every search starts over
// from the place the steps name. Tests hold the one-pass executors against it.
//
// It assumes the lead text of an Add, Replace or start pattern is not empty
// (an empty lead is found again at the same place and the steps never end)
// and that the working text holds no NUL byte.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "engine/command_records.h"

namespace webquill::reference {

inline constexpr std::size_t kNone = std::string::npos;

inline bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
inline bool IsDecimal(char c) { return c >= '0' && c <= '9'; }
inline char FoldLetter(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

// The character at `at`, or NUL at and past the end, as a terminated buffer reads.
inline char At(const std::string& text, std::size_t at) { return at < text.size() ? text[at] : '\0'; }

// A place computed from a pattern's written length may lie past the end of
// the text (Item!## on the text Item12); such a place is taken as the end.
inline std::size_t Clamped(const std::string& text, std::size_t at) { return at < text.size() ? at : text.size(); }

// First occurrence of `pattern` at or after `from`, tried at every place in
// turn. Match case on: bytes compare exactly; off: only A-Z and a-z fold.
// An empty pattern is found at `from`.
inline std::size_t Find(const std::string& text, const std::string& pattern, bool matchCase, std::size_t from) {
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

// Pattern notation: lead text, digit marker "!#" and closing marker "$$$".

enum class Use { Add, Delete, Replace };  // Extract reads its patterns as Delete does

struct Pattern {
    std::string lead, closing;
    bool digitMarker = false, closingMarker = false;
    std::size_t digitCount = 0, writtenLength = 0;
};

inline Pattern ReadPattern(const std::string& written, Use use) {
    Pattern p;
    p.writtenLength = written.size();
    const std::size_t mark = written.find("!#"), close = written.find("$$$");
    std::size_t runEnd = kNone;
    if (mark != kNone) {
        p.digitMarker = true;
        for (runEnd = mark + 1; runEnd < written.size() && written[runEnd] == '#';) ++runEnd;
        p.digitCount = runEnd - (mark + 1);
    }
    p.closingMarker = close != kNone;
    p.lead = p.digitMarker     ? Trimmed(written.substr(0, mark))
             : p.closingMarker ? Trimmed(written.substr(0, close))
                               : written;
    // When "$$$" stands before "!#", the closing text still runs from the first "$$$".
    if (p.closingMarker) p.closing = written.substr(close + 3);
    else if (use == Use::Delete && p.digitMarker) p.closing = written.substr(runEnd);
    return p;
}

struct Occurrence { bool qualifies = false; std::size_t end = 0; };

// Whether the pattern `p`, read for `use`, qualifies where its lead text was
// found at `x`, and where the occurrence ends.
inline Occurrence TestOccurrence(const std::string& text, const Pattern& p, std::size_t x, bool matchCase, Use use) {
    std::size_t z = x + p.lead.size();
    if (p.digitMarker) {
        std::size_t run = 0;
        while (IsDecimal(At(text, z + run))) ++run;
        if (run == 0 || (run != p.digitCount && !(run > p.digitCount && p.closingMarker))) return {};
        z += run;
    }
    const bool measuredAsWritten = use == Use::Add || !p.digitMarker ? !p.closingMarker : p.closing.empty();
    if (measuredAsWritten) return {true, Clamped(text, x + p.writtenLength)};
    // Only the first closing text after Z counts; for Add one too close disqualifies.
    const std::size_t f = Find(text, p.closing, matchCase, z);
    if (f == kNone || (use == Use::Add && f - z < 2)) return {};
    return {true, f + p.closing.size()};
}

// A whole new text: the old one up to `from`, the piece, the old one from `to`.
inline std::string Rebuilt(const std::string& old, std::size_t from, const std::string& piece, std::size_t to) {
    std::string fresh;
    fresh.reserve(old.size() + piece.size() + 10);
    fresh.append(old, 0, from);
    fresh += piece;
    fresh.append(old, to, kNone);
    return fresh;
}

// Removes [from, to) by moving every character from `to` on down to `from`.
inline void RemoveStretch(std::string& text, std::size_t from, std::size_t to) {
    std::size_t into = from;
    for (std::size_t at = to; at < text.size(); ++at) text[into++] = text[at];
    text.resize(into);
}

inline bool InstanceReached(int count, int instance) { return instance == 0 || count == instance; }

// Add
inline bool Add(std::string& text, const CCmdVar& record, bool matchCase) {
    const Pattern p = ReadPattern(record.firstText, Use::Add);
    const std::string added = record.newText.value_or(std::string());
    const bool before = record.before != 0;
    std::size_t x = Find(text, p.lead, matchCase, 0);
    if (x == kNone) return false;
    for (int count = 0; x != kNone;) {
        const Occurrence o = TestOccurrence(text, p, x, matchCase, Use::Add);
        std::size_t next = x + p.lead.size();
        if (o.qualifies && InstanceReached(++count, record.instance)) {
            const std::size_t place = before ? x : o.end;
            text = Rebuilt(text, place, added, place);
            if (record.instance != 0) return true;
            next = before ? x + added.size() + 1 : place + added.size();
        }
        x = Find(text, p.lead, matchCase, next);
    }
    return true;
}

// Delete and Extract: a start pattern, then the next end pattern after it.
// Extract (given `value`) takes out only the text between the two.
inline bool StartEnd(std::string& text, const CCmdVar& record, bool matchCase, std::optional<std::string>* value) {
    const Pattern ps = ReadPattern(record.firstText, Use::Delete);
    const Pattern pe = ReadPattern(record.secondText, Use::Delete);
    std::size_t s = Find(text, ps.lead, matchCase, 0), next = 0;
    if (s == kNone) return false;
    for (int count = 0; s != kNone; s = Find(text, ps.lead, matchCase, next)) {
        next = s + ps.lead.size();
        const Occurrence os = TestOccurrence(text, ps, s, matchCase, Use::Delete);
        if (!os.qualifies) continue;
        // An empty end lead is found at A itself, where its markers are still tested.
        const std::size_t w = Find(text, pe.lead, matchCase, os.end);
        if (w == kNone) return false;
        const Occurrence oe = TestOccurrence(text, pe, w, matchCase, Use::Delete);
        if (!oe.qualifies) continue;
        next = oe.end;
        if (!InstanceReached(++count, record.instance)) continue;
        if (value) {
            *value = text.substr(os.end, w - os.end);
            RemoveStretch(text, os.end, w);
            return true;
        }
        RemoveStretch(text, s, oe.end);
        if (record.instance != 0) return true;
        next = s;
    }
    return true;
}

inline bool Delete(std::string& text, const CCmdVar& record, bool matchCase) {
    return StartEnd(text, record, matchCase, nullptr);
}

// Sets record.newText when a value is taken; sysdate and systime are never searched for.
inline bool Extract(std::string& text, CCmdVar& record, bool matchCase) {
    return record.commandNumber < 3 || StartEnd(text, record, matchCase, &record.newText);
}

// Replace
inline bool Replace(std::string& text, const CCmdVar& record, bool matchCase) {
    const Pattern p = ReadPattern(record.firstText, Use::Replace);
    const std::string replacement = record.newText.value_or(std::string());
    std::size_t x = Find(text, p.lead, matchCase, 0);
    if (x == kNone) return false;
    for (int count = 0; x != kNone; ) {
        const std::size_t z = x + p.lead.size();
        bool qualifies = false;
        std::size_t end = 0, next = z;
        if (!p.digitMarker && !p.closingMarker) {
            qualifies = true;
            end = x + p.writtenLength;
        } else if (!p.digitMarker) {
            const std::size_t f = Find(text, p.closing, matchCase, z);
            if (f == kNone) return true;  // no closing text: the command ends
            qualifies = true;
            end = f + p.closing.size();
        } else if (IsDecimal(At(text, z))) {
            std::size_t z2 = z;
            while (IsDecimal(At(text, z2))) ++z2;
            const std::size_t run = z2 - z;
            if (run < p.digitCount || (run > p.digitCount && !p.closingMarker)) {
                next = z2;
            } else if (!p.closingMarker) {
                qualifies = true;
                end = Clamped(text, x + p.writtenLength);
            } else {
                const std::size_t f = Find(text, p.closing, matchCase, z2);
                qualifies = f != kNone && f - z2 >= 2;
                end = qualifies ? f + p.closing.size() : 0;
            }
        }
        if (qualifies && InstanceReached(++count, record.instance)) {
            text = Rebuilt(text, x, replacement, end);
            if (record.instance != 0) return true;
            next = x + replacement.size();
        }
        x = Find(text, p.lead, matchCase, next);
    }
    return true;
}

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
    bool matched = false;    // the number matched and white space follows it
    bool moved = false;      // the number matched but no white space follows it
    std::size_t place = 0;   // when moved: the next white space, or the end
};

inline FormatMatch MatchParagraphFormat(const std::string& text, std::size_t place, const std::string& format) {
    for (std::size_t i = 0; i < format.size(); ++i)
        if (place + i >= text.size() || !FormatElementMatches(format[i], text[place + i]))
            return {false, false, place};
    std::size_t after = place + format.size();
    if (IsWhite(At(text, after))) return {true, false, place};
    while (after < text.size() && !IsWhite(text[after])) ++after;
    return {false, true, after};
}

inline bool Wrap(std::string& text, const CWrapper& record, bool matchCase) {
    const std::string& prefix = record.numberPrefix;
    const std::string& format = record.numberFormat;
    if (prefix.empty() && format.empty()) return false;  // no defined paragraph beginning
    int wrapped = 0;
    for (std::size_t place = 0;;) {
        // B, where a paragraph begins: the next prefix, or without one each place in turn.
        std::size_t b = prefix.empty() ? place : Find(text, prefix, matchCase, place);
        if (b == kNone || b >= text.size()) break;
        std::size_t s = b + prefix.size();
        if (!format.empty()) {
            if (!prefix.empty())
                while (IsWhite(At(text, s))) ++s;
            const FormatMatch m = MatchParagraphFormat(text, s, format);
            if (!m.matched) {
                // Past the prefix and blanks or the moved place; without a prefix the
                // place after, or after a number without white space the next white space.
                place = !prefix.empty() ? m.place : m.moved ? m.place + 1 : b + 1;
                continue;
            }
            s += format.size();
        }
        const std::size_t e = Find(text, record.endOfParagraph, matchCase, s);
        if (e == kNone) break;
        text = Rebuilt(text, b, record.textBefore + text.substr(b, e - b) + record.textAfter, e);
        ++wrapped;
        place = e + record.textBefore.size() + record.textAfter.size();
    }
    return wrapped != 0;
}

}  // namespace webquill::reference
