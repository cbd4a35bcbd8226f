#include "engine/text_rebuild.h"

#include <cstring>
#include <new>

namespace webquill {

CTextRebuild::CTextRebuild(std::string& text, TextRebuildRoom& room)
    : m_text(text), m_room(room), m_newSize(text.size()) {
    if (text.size() > kMaxWorkingText) throw std::bad_alloc();
    m_room.changes.clear();
    m_room.inserts.assign(1, std::string_view());
}

void CTextRebuild::Insert(std::string_view text) {
    if (text.empty()) return;
    if (text.size() > kMaxWorkingText - m_newSize) throw std::bad_alloc();
    m_newSize += text.size();
    // A command inserts the same few texts again and again: each is kept once.
    std::vector<std::string_view>& inserts = m_room.inserts;
    std::size_t index = inserts.size();
    for (std::size_t back = 1; back <= 4 && back < inserts.size(); ++back) {
        const std::string_view known = inserts[inserts.size() - back];
        if (known.data() == text.data() && known.size() == text.size()) index = inserts.size() - back;
    }
    if (index == inserts.size()) inserts.push_back(text);
    const auto at = static_cast<std::uint32_t>(m_copied);
    m_room.changes.push_back({at, at, static_cast<std::uint32_t>(index)});
}

void CTextRebuild::SkipTo(std::size_t at) {
    if (at <= m_copied) return;
    m_newSize -= at - m_copied;
    std::vector<TextRebuildRoom::Change>& changes = m_room.changes;
    // A drop right after an insertion at the same place is one change with it.
    if (!changes.empty() && changes.back().at == m_copied && changes.back().skipTo == m_copied)
        changes.back().skipTo = static_cast<std::uint32_t>(at);
    else
        changes.push_back({static_cast<std::uint32_t>(m_copied), static_cast<std::uint32_t>(at), 0});
    m_copied = at;
}

void CTextRebuild::Finish() {
    bool grows = false, shrinks = false;
    for (const TextRebuildRoom::Change& c : m_room.changes) {
        const std::size_t inserted = m_room.inserts[c.insert].size(), dropped = c.skipTo - c.at;
        grows = grows || inserted > dropped;
        shrinks = shrinks || inserted < dropped;
    }
    if (!Changed()) return;
    if (!grows) {
        ShrinkInPlace();  // texts of equal length swapped too
    } else if (!shrinks) {
        GrowInPlace();
    } else {
        BuildInSpare();
    }
}

// No change makes its stretch longer, so the text only moves towards the
// front: every write lands on text already moved or dropped.
void CTextRebuild::ShrinkInPlace() {
    char* const data = m_text.data();
    std::size_t read = m_room.changes.front().at, write = read;
    for (const TextRebuildRoom::Change& c : m_room.changes) {
        std::memmove(data + write, data + read, c.at - read);
        write += c.at - read;
        const std::string_view insert = m_room.inserts[c.insert];
        if (!insert.empty()) std::memcpy(data + write, insert.data(), insert.size());
        write += insert.size();
        read = c.skipTo;
    }
    std::memmove(data + write, data + read, m_text.size() - read);
    m_text.resize(m_newSize);
}

// No change makes its stretch shorter, so the text only moves towards the
// back: working from the end, every write lands on text already moved.
void CTextRebuild::GrowInPlace() {
    const std::size_t oldSize = m_text.size();
    m_text.resize(m_newSize);
    char* const data = m_text.data();
    std::size_t read = oldSize, write = m_newSize;
    for (std::size_t i = m_room.changes.size(); i-- > 0;) {
        const TextRebuildRoom::Change& c = m_room.changes[i];
        write -= read - c.skipTo;
        std::memmove(data + write, data + c.skipTo, read - c.skipTo);
        const std::string_view insert = m_room.inserts[c.insert];
        write -= insert.size();
        if (!insert.empty()) std::memcpy(data + write, insert.data(), insert.size());
        read = c.at;
    }
}

// Changes that lengthen some stretches and shorten others: the new text is
// built in the spare buffer, whose room stays for the next such command.
void CTextRebuild::BuildInSpare() {
    std::string& out = m_room.spare;
    out.clear();
    out.reserve(m_newSize);
    std::size_t read = 0;
    for (const TextRebuildRoom::Change& c : m_room.changes) {
        out.append(m_text, read, c.at - read);
        out.append(m_room.inserts[c.insert]);
        read = c.skipTo;
    }
    out.append(m_text, read, std::string::npos);
    m_text.swap(out);
}

}  // namespace webquill
