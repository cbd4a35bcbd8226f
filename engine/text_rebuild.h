// Builds a command's new working text from its changes, noted in order while
// the command reads the old text and made in one pass when it ends. Where
// every change shrinks the text (or every change grows it) the pass works in
// the text's own buffer, front to back (or back to front), so no second
// buffer of the whole text is filled; only a command that both grows and
// shrinks it writes the result into the spare buffer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace webquill {

// The largest working text a command may make: sixteen times the largest
// file the loaders accept. A command whose result would pass it fails as an
// allocation that failed.
inline constexpr std::size_t kMaxWorkingText = 256000000;

// What the rebuilds keep between commands, so that a run allocates (and the
// system pages in) their room once instead of once per command.
struct TextRebuildRoom {
    struct Change {
        std::uint32_t at;      // old-text place where the change starts
        std::uint32_t skipTo;  // old text [at, skipTo) is dropped
        std::uint32_t insert;  // index into `inserts`
    };
    std::vector<Change> changes;
    std::vector<std::string_view> inserts;  // the first one is empty
    std::string spare;
    void Release() {
        std::vector<Change>().swap(changes);
        std::vector<std::string_view>().swap(inserts);
        std::string().swap(spare);
    }
};

class CTextRebuild {
public:
    // `text` is the working text; it must stay unchanged until Finish. The
    // texts given to Insert must outlive the rebuild and lie outside `text`.
    CTextRebuild(std::string& text, TextRebuildRoom& room);

    // Old text up to `at` (an old-text place, never behind the last one) is kept.
    void CopyUpTo(std::size_t at) {
        if (at > m_copied) m_copied = at;
    }
    void Insert(std::string_view text);
    // Drops old text up to `at`.
    void SkipTo(std::size_t at);
    bool Changed() const { return !m_room.changes.empty(); }
    // Makes the new text in `text`.
    void Finish();

private:
    void ShrinkInPlace();
    void GrowInPlace();
    void BuildInSpare();

    std::string& m_text;
    TextRebuildRoom& m_room;
    std::size_t m_copied = 0;
    std::size_t m_newSize;
};

}  // namespace webquill
