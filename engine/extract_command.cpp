// Extract: the text between a start and an end pattern taken out of the
// document and kept as the value of a variable.
#include "pattern_notation.h"
#include "publishing_run.h"
#include "string_format.h"

namespace webquill {

namespace {
constexpr std::int32_t kFirstCommandNumber = 3;  // 1 and 2 are sysdate and systime
}

bool CPublishingRun::ExtractCommand(CCmdVar& record) {
    if (record.commandNumber < kFirstCommandNumber) return true;
    const CPatternNotation start(record.firstText, PatternUse::Delete, m_matchCase);
    const CPatternNotation finish(record.secondText, PatternUse::Delete, m_matchCase);
    SetStatusText(StrFormat("Extracting Variable -> %.30s", record.variableName.c_str()));
    const std::string_view text = m_workingText;
    std::size_t at = start.FindLead(text, 0);
    if (at == kNotFound) return false;

    std::int32_t matches = 0;
    while (at != kNotFound) {
        std::size_t next = at + start.Lead().size();
        std::size_t valueStart = 0;
        if (start.TestDelete(text, at, valueStart)) {
            const std::size_t valueEnd = finish.FindLead(text, valueStart);
            if (valueEnd == kNotFound) return false;
            std::size_t end = 0;
            if (finish.TestDelete(text, valueEnd, end)) {
                ++matches;
                next = end;
                if (record.instance == 0 || matches >= record.instance) {
                    record.newText = std::string(text.substr(valueStart, valueEnd - valueStart));
                    m_workingText.erase(valueStart, valueEnd - valueStart);
                    return true;
                }
            }
        }
        at = start.FindLead(text, std::max(next, at + 1));
    }
    return true;
}

}  // namespace webquill
