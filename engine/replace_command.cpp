// Replace: chosen occurrences of a text swapped for a replacement.
#include "engine/pattern_notation.h"
#include "engine/publishing_run.h"
#include "engine/string_format.h"
#include "engine/text_rebuild.h"

namespace webquill {

bool CPublishingRun::ReplaceCommand(CCmdVar& record) {
    const CPatternNotation pattern(record.firstText, PatternUse::Replace, m_matchCase);
    SetStatusText(StrFormat("Replacing -> %.40s", record.firstText.c_str()));
    const std::string_view text = Text();
    std::size_t at = pattern.FindLead(text, 0);
    if (at == kNotFound) return false;

    const std::string_view replacement = record.newText ? std::string_view(*record.newText) : "";
    CTextRebuild rebuilt(m_workingText, m_rebuildRoom);
    std::int32_t matches = 0;
    while (at != kNotFound) {
        const ReplaceOccurrence o = pattern.TestReplace(text, at);
        if (o.endsCommand) break;
        std::size_t next = o.next;
        if (o.qualifies) {
            ++matches;
            if (record.instance == 0 || matches == record.instance) {
                rebuilt.CopyUpTo(at);
                rebuilt.Insert(replacement);
                rebuilt.SkipTo(o.end);
                if (record.instance != 0) break;
                next = o.end;
            } else {
                next = at + pattern.Lead().size();
            }
        }
        at = pattern.FindLead(text, std::max(next, at + 1));
    }
    ApplyRebuild(rebuilt);
    return true;
}

}  // namespace webquill
