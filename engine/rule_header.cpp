// The &Header section: markers, key values and the ExecuteSequence slots.
#include <climits>
#include <string_view>

#include "engine/file_paths.h"
#include "engine/password_scrambling.h"
#include "engine/publishing_run.h"
#include "engine/string_format.h"
#include "engine/text_search.h"

namespace webquill {

namespace {
constexpr std::size_t kMaxHeaderValue = 259;
constexpr std::string_view kSequenceDelimiters = ",.:; ()][}{-";
constexpr const char* kCantContinue = "\n***  Can't continue  ***";

bool IsSequenceDelimiter(char c) { return kSequenceDelimiters.find(c) != std::string_view::npos; }

// The decimal reading of one slot: blanks, an optional sign, digits; no digit
// gives 0. Numbers beyond the slot's range saturate.
int ReadSlotNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}
}  // namespace

bool CPublishingRun::HeaderParseFailure(const char* message) {
    NoteBox(std::string(message) + kCantContinue);
    AddLogLine(std::string("***> ") + message);
    return false;
}

bool CPublishingRun::RefuseHeaderValue(std::string_view key, const char* reason) {
    return HeaderParseFailure(
        StrFormat("Value of '%.*s:' in Rule File %s!", static_cast<int>(key.size()), key.data(), reason)
            .c_str());
}

HeaderValue CPublishingRun::GetHeaderValue(std::string_view key, bool keepTrailing) {
    const std::string_view text = m_ruleText;
    const CPatternSearcher searcher(key, m_matchCase);
    // Whether "&&" stands between the line start and an occurrence is kept
    // up to date as the occurrences go by, so a long line is walked once.
    std::size_t lineStart = text.rfind('\n', m_headerMarker);
    lineStart = lineStart == kNotFound ? 0 : lineStart + 1;
    std::size_t walked = lineStart;
    bool commented = false;
    std::size_t at = searcher.Find(text, m_headerMarker);
    for (; at != kNotFound && at < m_commandMarker; at = searcher.Find(text, at + 1)) {
        for (; walked < at; ++walked) {
            if (text[walked] == '\n') {
                lineStart = walked + 1;
                commented = false;
            } else if (walked > lineStart && text[walked] == '&' && text[walked - 1] == '&') {
                commented = true;
            }
        }
        if (!commented) break;
    }
    if (at == kNotFound || at >= m_commandMarker) return {};

    const std::size_t colon = text.find(':', at + key.size());
    if (colon == kNotFound) return {};
    const std::size_t lf = text.find('\n', colon + 1);
    if (lf == kNotFound) return {};
    std::size_t end = lf;
    if (end > colon + 1 && text[end - 1] == '\r') --end;
    if (end == colon + 1) return {};

    std::string_view raw = text.substr(colon + 1, end - colon - 1);
    if (keepTrailing) {
        while (!raw.empty() && (raw.front() == ' ' || raw.front() == '\t')) raw.remove_prefix(1);
    } else {
        raw = TrimmedView(raw);
    }
    if (raw.size() > kMaxHeaderValue) {
        RefuseHeaderValue(key, "is longer than 259 characters");
        return {HeaderValueState::Refused, {}};
    }
    return {HeaderValueState::Present, std::string(raw)};
}

// Stores a present value; false only when the value was refused.
bool CPublishingRun::StoreHeaderValue(std::string_view key, std::string& into) {
    HeaderValue value = GetHeaderValue(key, false);
    if (value.state == HeaderValueState::Refused) return false;
    if (value.Present()) into = std::move(value.value);
    return true;
}

bool CPublishingRun::ReadWwwFileName() {
    HeaderValue value = GetHeaderValue("WWWFileName", false);
    if (value.state == HeaderValueState::Refused) return false;
    if (!value.Present())
        return HeaderParseFailure("Root file name 'WWWFileName:' not defined in Rule File!");
    const std::size_t at = LastSeparator(value.value);
    if (at == std::string::npos || at + 1 == value.value.size())
        return HeaderParseFailure(
            "Root file name 'WWWFileName:' in Rule File needs a directory and a root file name!");
    m_doc.rule.wwwDirectory = at == 0 ? value.value.substr(0, 1) : value.value.substr(0, at);
    m_doc.rule.wwwFileName = value.value.substr(at + 1);
    return true;
}

void CPublishingRun::ReadExecuteSequence(std::string_view value) {
    std::size_t at = 0;
    while (at < value.size() && !IsDigit(value[at])) ++at;
    for (std::size_t slot = 0; at < value.size(); ++slot) {
        const int number = ReadSlotNumber(value.substr(at));
        if (slot < m_doc.rule.executeSequence.size()) m_doc.rule.executeSequence[slot] = number;
        ++at;
        if (at < value.size() && !IsSequenceDelimiter(value[at])) {
            while (at < value.size() && !IsSequenceDelimiter(value[at])) ++at;
        }
    }
}

bool CPublishingRun::ParseHeaderSection() {
    // A rule file means the same whatever was read before it: no value of an
    // earlier file (its FTP account, its TOC file) survives into this one.
    m_doc.rule = RuleValues{};
    const std::string_view text = m_ruleText;
    m_headerMarker = FindPattern(text, "&Header", m_matchCase);
    if (m_headerMarker == kNotFound)
        return HeaderParseFailure("No &Header section specified in Rule File!");
    m_commandMarker = FindPattern(text, "&Command", m_matchCase);
    if (m_commandMarker == kNotFound)
        return HeaderParseFailure("No &Command section specified in Rule File!");

    RuleValues& rule = m_doc.rule;
    HeaderValue document = GetHeaderValue("Document", false);
    if (document.state == HeaderValueState::Refused) return false;
    if (!document.Present())
        return HeaderParseFailure(
            "No starting HTML Document 'Document:' specified in Rule File!");
    rule.document = std::move(document.value);
    if (!ReadWwwFileName()) return false;
    if (!StoreHeaderValue("IntermediateFile", rule.intermediateFile)) return false;
    if (!StoreHeaderValue("TOCName", rule.tocName)) return false;

    struct NoticeKey {
        std::string_view key;
        std::string* into;
        const char* notice;
        bool* flag;
    };
    m_hasTocTemplate = false;
    m_hasHeader = false;
    m_hasFooter = false;
    const NoticeKey noticeKeys[] = {
        {"TOCTemplate", &rule.tocTemplate, "No TOC Template file specified!", &m_hasTocTemplate},
        {"HeaderName", &rule.headerName, "No header file specified!", &m_hasHeader},
        {"FooterName", &rule.footerName, "No footer file specified!", &m_hasFooter},
    };
    for (const NoticeKey& k : noticeKeys) {
        HeaderValue value = GetHeaderValue(k.key, false);
        if (value.state == HeaderValueState::Refused) return false;
        if (value.Present()) {
            *k.into = std::move(value.value);
            *k.flag = true;
        } else {
            *k.into = k.notice;
        }
    }

    HeaderValue sequence = GetHeaderValue("ExecuteSequence", false);
    if (sequence.state == HeaderValueState::Refused) return false;
    if (sequence.Present()) ReadExecuteSequence(sequence.value);

    if (!StoreHeaderValue("FtpURL", rule.ftpUrl)) return false;
    if (!StoreHeaderValue("UserID", rule.userId)) return false;
    HeaderValue password = GetHeaderValue("UserPW", true);
    if (password.state == HeaderValueState::Refused) return false;
    if (password.Present()) rule.userPassword = UnscramblePassword(password.value);
    for (auto [key, into] : {std::pair{"TOCServerDir", &rule.tocServerDir},
                             std::pair{"WWWServerDir", &rule.wwwServerDir},
                             std::pair{"ImagesLocalDir", &rule.imagesLocalDir},
                             std::pair{"ImagesServerDir", &rule.imagesServerDir}}) {
        if (!StoreHeaderValue(key, *into)) return false;
    }
    return true;
}

}  // namespace webquill
