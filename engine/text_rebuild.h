// Builds a command's new working text in one pass over the old one: every
// insertion and removal lands in order, so the old text is copied once
// instead of once per change.
#pragma once

#include <algorithm>
#include <new>
#include <string>
#include <string_view>

namespace webquill {

// The largest working text a command may make: sixteen times the largest
// file the loaders accept. A command whose result would pass it fails as an
// allocation that failed.
inline constexpr std::size_t kMaxWorkingText = 256000000;

class CTextRebuild {
public:
    // `out` is a spare buffer: reusing it spares the run a fresh allocation,
    // and the page faults of touching it, for every command.
    CTextRebuild(std::string_view old, std::string& out) : m_old(old), m_out(out) {}

    // Old text up to `at` (an old-text place, never behind the last one).
    void CopyUpTo(std::size_t at) {
        if (!m_started) Start();
        if (at > m_copied) Grow(at - m_copied);
        if (at > m_copied) m_out.append(m_old, m_copied, at - m_copied);
        if (at > m_copied) m_copied = at;
    }
    void Insert(std::string_view text) {
        if (!m_started) Start();
        Grow(text.size());
        m_out.append(text);
    }
    // Drops old text up to `at`.
    void SkipTo(std::size_t at) {
        CopyUpTo(m_copied);
        if (at > m_copied) m_copied = at;
    }
    bool Changed() const { return m_started; }
    // Completes the new text in the spare buffer.
    void Finish() { CopyUpTo(m_old.size()); }

private:
    void Grow(std::size_t by) const {
        if (by > kMaxWorkingText - m_out.size()) throw std::bad_alloc();
    }
    void Start() {
        m_started = true;
        m_out.clear();
        // Room to grow, reserved generously once: pages never written cost
        // nothing, while growing by reallocation would copy and touch anew.
        if (m_out.capacity() < m_old.size() + m_old.size() / 8 + 64)
            m_out.reserve(std::min(2 * m_old.size() + 64, kMaxWorkingText));
    }

    std::string_view m_old;
    std::string& m_out;
    std::size_t m_copied = 0;
    bool m_started = false;
};

}  // namespace webquill
