// Add: a fixed text inserted before or after chosen occurrences of a pattern.
#include "engine/pattern_notation.h"
#include "engine/publishing_run.h"
#include "engine/string_format.h"
#include "engine/text_rebuild.h"

namespace webquill {

// Searches run in the text as it was: an inserted text is never searched
// again, so each place maps back onto the old text one to one.
bool CPublishingRun::AddCommand(CCmdVar& record) {
    const CPatternNotation pattern(record.firstText, PatternUse::Add, m_matchCase);
    SetStatusText(StrFormat("Adding -> %.40s", record.firstText.c_str()));
    const std::string_view text = Text();
    std::size_t at = pattern.FindLead(text, 0);
    if (at == kNotFound) return false;

    const std::string_view added = record.newText ? std::string_view(*record.newText) : "";
    const bool before = record.before != 0;
    CTextRebuild rebuilt(m_workingText, m_rebuildRoom);
    std::int32_t matches = 0;
    while (at != kNotFound) {
        std::size_t end = 0;
        std::size_t next = at + pattern.Lead().size();
        if (pattern.TestAdd(text, at, end) && (++matches, record.instance == 0 || matches == record.instance)) {
            const std::size_t place = before ? at : end;
            rebuilt.CopyUpTo(place);
            rebuilt.Insert(added);
            if (record.instance != 0) break;
            next = before ? at + 1 : place;
        }
        at = pattern.FindLead(text, std::max(next, at + 1));
    }
    ApplyRebuild(rebuilt);
    return true;
}

}  // namespace webquill
