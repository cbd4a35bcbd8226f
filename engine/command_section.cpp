// The &Command section cut into command texts: keywords at line starts,
// comments from "&&" to the next keyword line. The marks are kept as
// positions beside the text, so every byte of a command text stays its own.
#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "engine/publishing_run.h"
#include "engine/string_format.h"
#include "engine/text_search.h"

namespace webquill {

namespace {
constexpr std::size_t kMaxCommandText = 4096;

struct Keyword {
    std::string_view letters;
    int token;
};
// Tokens as the reader numbers them: 0 Extract ... 6 MakeFile.
constexpr std::array<Keyword, 7> kKeywords{{{"extract", 0},
                                            {"delete", 1},
                                            {"add", 2},
                                            {"replace", 3},
                                            {"wrap", 4},
                                            {"maketoc", 5},
                                            {"makefile", 6}}};

struct KeywordMark {
    int token;
    std::size_t start;  // first letter of the keyword
    std::size_t end;    // just after its letters
};

const Keyword* KeywordAt(std::string_view section, std::size_t at) {
    for (const Keyword& k : kKeywords) {
        if (section.size() - at < k.letters.size()) continue;
        if (EqualsIgnoringAsciiCase(section.substr(at, k.letters.size()), k.letters)) return &k;
    }
    return nullptr;
}

std::vector<KeywordMark> MarkKeywords(std::string_view section) {
    std::vector<KeywordMark> marks;
    for (std::size_t line = 0; line < section.size();) {
        if (const Keyword* k = KeywordAt(section, line))
            marks.push_back({k->token, line, line + k->letters.size()});
        const std::size_t lf = section.find('\n', line);
        if (lf == kNotFound) break;
        line = lf + 1;
    }
    return marks;
}

// Start of every comment; each runs to the next keyword line.
std::vector<std::size_t> MarkComments(std::string_view section,
                                      const std::vector<KeywordMark>& keywords) {
    std::vector<std::size_t> comments;
    auto nextKeyword = keywords.begin();
    for (std::size_t at = section.find("&&"); at != kNotFound;) {
        comments.push_back(at);
        while (nextKeyword != keywords.end() && nextKeyword->start <= at) ++nextKeyword;
        if (nextKeyword == keywords.end()) break;
        at = section.find("&&", nextKeyword->start);
    }
    return comments;
}
}  // namespace

bool CPublishingRun::ParseCommandSection(bool editorLoad) {
    const std::string_view text = m_ruleText;
    const std::size_t marker = FindPattern(text, "&Command", m_matchCase);
    if (marker == kNotFound) return HeaderParseFailure("No &Command section specified in Rule File!");
    if (!editorLoad && !CreatePredefinedVariables()) return false;

    const std::size_t markerLineEnd = text.find('\n', marker);
    if (markerLineEnd == kNotFound) return true;
    const std::string_view section = text.substr(markerLineEnd + 1);

    const std::vector<KeywordMark> keywords = MarkKeywords(section);
    const std::vector<std::size_t> comments = MarkComments(section, keywords);
    auto comment = comments.begin();
    for (std::size_t i = 0; i < keywords.size(); ++i) {
        const std::size_t begin = keywords[i].end;
        std::size_t end = i + 1 < keywords.size() ? keywords[i + 1].start : section.size();
        while (comment != comments.end() && *comment < begin) ++comment;
        if (comment != comments.end() && *comment < end) end = *comment;
        if (end - begin > kMaxCommandText) {
            const std::string message =
                StrFormat("Command line length > %d!", static_cast<int>(kMaxCommandText));
            AddLogLine("***> " + message);
            StopBox(message + "\n*** Can't Continue! ***");
            return false;
        }
        std::string commandText(section.substr(begin, end - begin));
        TrimBlanks(commandText);
        if (!DispatchCommandText(keywords[i].token, std::move(commandText))) return false;
    }
    return true;
}

}  // namespace webquill
