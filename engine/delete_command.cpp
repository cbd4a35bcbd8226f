// Delete: the stretch from a start pattern to the end of the following end
// pattern removed, or the start pattern alone without an end pattern.
#include "engine/pattern_notation.h"
#include "engine/publishing_run.h"
#include "engine/string_format.h"
#include "engine/text_rebuild.h"

namespace webquill {

bool CPublishingRun::DeleteCommand(CCmdVar& record) {
    const CPatternNotation start(record.firstText, PatternUse::Delete, m_matchCase);
    const CPatternNotation finish(record.secondText, PatternUse::Delete, m_matchCase);
    SetStatusText(StrFormat("Deleting -> %.40s", record.firstText.c_str()));
    const std::string_view text = Text();
    std::size_t at = start.FindLead(text, 0);
    if (at == kNotFound) return false;

    CTextRebuild rebuilt(m_workingText, m_rebuildRoom);
    bool executed = true;
    std::int32_t matches = 0;
    while (at != kNotFound) {
        std::size_t next = at + start.Lead().size();
        std::size_t startEnd = 0;
        if (start.TestDelete(text, at, startEnd)) {
            std::size_t endAt = startEnd;
            if (!finish.Lead().empty()) endAt = finish.FindLead(text, startEnd);
            if (endAt == kNotFound) {
                executed = false;  // removals made so far stay made
                break;
            }
            std::size_t end = 0;
            if (finish.TestDelete(text, endAt, end)) {
                ++matches;
                next = end;
                if (record.instance == 0 || matches == record.instance) {
                    rebuilt.CopyUpTo(at);
                    rebuilt.SkipTo(end);
                    if (record.instance != 0) break;
                }
            }
        }
        at = start.FindLead(text, std::max(next, at + 1));
    }
    ApplyRebuild(rebuilt);
    return executed;
}

}  // namespace webquill
