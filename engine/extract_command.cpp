// Extract: the text between a start and an end pattern taken out of the
// document and kept as the value of a variable.
#include <cstring>

#include "engine/pattern_notation.h"
#include "engine/publishing_run.h"
#include "engine/string_format.h"

namespace webquill {

namespace {
constexpr std::int32_t kFirstCommandNumber = 3;  // 1 and 2 are sysdate and systime
}

bool CPublishingRun::ExtractCommand(CCmdVar& record) {
    if (record.commandNumber < kFirstCommandNumber) return true;
    const CPatternNotation start(record.firstText, PatternUse::Delete, m_matchCase);
    const CPatternNotation finish(record.secondText, PatternUse::Delete, m_matchCase);
    SetStatusText(StrFormat("Extracting Variable -> %.30s", record.variableName.c_str()));
    const std::string_view text = std::string_view(m_workingText).substr(m_textFront);
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
                    RemoveFromText(valueStart, valueEnd);
                    return true;
                }
            }
        }
        at = start.FindLead(text, std::max(next, at + 1));
    }
    return true;
}

// Moves the shorter side: the text before the stretch, or the text after it.
void CPublishingRun::RemoveFromText(std::size_t from, std::size_t to) {
    const std::size_t length = to - from;
    const std::size_t after = m_workingText.size() - m_textFront - to;
    if (from < after) {
        char* front = m_workingText.data() + m_textFront;
        std::memmove(front + length, front, from);
        m_textFront += length;
    } else {
        m_workingText.erase(m_textFront + from, length);
    }
}

}  // namespace webquill
