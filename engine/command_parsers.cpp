// Command texts of Add, Delete, Extract, Replace, MakeTOC and MakeFile taken
// apart into records, with every error each can raise.
#include <climits>
#include <new>
#include <string_view>

#include "engine/publishing_run.h"
#include "engine/string_format.h"
#include "engine/system_date.h"
#include "engine/text_search.h"

namespace webquill {

namespace {
constexpr std::string_view kDots = "!...!";
constexpr const char* kNoMemory = "Failed to allocate memory!\nCan't Continue.";

struct KindWords {
    const char* boxPrefix;
    const char* memoryLogLine;
    bool memoryStopBox;
};

const KindWords& WordsFor(int token) {
    static const KindWords words[] = {
        {"'Extract' Command Error:\n", "***> Processing Extract commands and Failed to allocate memory!", false},
        {"'Delete' Command Error:\n", "***> Processing Delete commands and Failed to allocate memory!", true},
        {"'Add' Command Error:\n", "***> Failed to allocate memory!", false},
        {"'Replace' Command Error:\n", "***> Processing Replace commands and Failed to allocate memory!", true},
        {"'Wrap' Command Error:\n", "***> 'Wrap' Command Error: !Failed to allocate memory!", true},
        {"'MakeTOC' Command Error:\n", "***> Processing MakeTOC commands and Failed to allocate memory!", true},
        {"'MakeFile' Command Error:\n", "***> Processing MakeFile commands and Failed to allocate memory!", false},
    };
    return words[token];
}

enum Token { kExtract, kDelete, kAdd, kReplace, kWrap, kMakeToc, kMakeFile };

// The log line of most command errors repeats the box prefix on one line.
std::string PrefixedLogLine(const char* boxPrefix, const std::string& message) {
    std::string prefix(boxPrefix);
    prefix.pop_back();  // the prefix's line break
    return "***> " + prefix + " " + message;
}

std::int32_t ReadInstanceNumber(std::string_view digits) {
    long long value = 0;
    for (std::size_t i = 0; i < digits.size() && IsDigit(digits[i]); ++i) {
        value = value * 10 + (digits[i] - '0');
        if (value >= INT32_MAX) return INT32_MAX;
    }
    return static_cast<std::int32_t>(value);
}
}  // namespace

bool CPublishingRun::DispatchCommandText(int token, std::string text) {
    try {
        switch (token) {
            case kExtract: return ParseExtractCommand(std::move(text));
            case kDelete: return ParseDeleteCommand(std::move(text));
            case kAdd: return ParseAddCommand(std::move(text));
            case kReplace: return ParseReplaceCommand(std::move(text));
            case kWrap: return ParseWrapCommand(std::move(text));
            case kMakeToc: return ParseMakeTocCommand(std::move(text));
            case kMakeFile: return ParseMakeFileCommand(std::move(text));
            default: return true;
        }
    } catch (const std::bad_alloc&) {
        const KindWords& words = WordsFor(token);
        return CommandParseError(words.boxPrefix, kNoMemory, words.memoryLogLine,
                                 words.memoryStopBox);
    }
}

// The memory failure of an executing command, in its kind's words; `kind` is
// an ExecuteSequence slot value.
bool CPublishingRun::CommandMemoryFailure(int kind) {
    static constexpr Token kSlotTokens[] = {kAdd, kDelete, kExtract, kReplace, kWrap};
    const KindWords& words = WordsFor(kSlotTokens[kind - 1]);
    return CommandParseError(words.boxPrefix, kNoMemory, words.memoryLogLine, words.memoryStopBox);
}

bool CPublishingRun::CommandParseError(const char* boxPrefix, const std::string& message,
                                       const std::string& logLine, bool stopBox) {
    const std::string box = boxPrefix + message;
    if (stopBox) StopBox(box);
    else NoteBox(box);
    AddLogLine(logLine);
    return false;
}

CCmdVar& CPublishingRun::AppendCommandRecord(CommandKind kind) {
    CCmdVar& record = m_doc.commands.Append();
    record.commandNumber = ++m_commandCounter;
    record.kind = kind;
    return record;
}

// The first "::" names the instance when a digit or the letter A follows it;
// the marker and all after it are then cut off.
std::int32_t CPublishingRun::TakeInstance(std::string& text) {
    const std::size_t at = FindExact(text, "::");
    if (at == kNotFound || at + 2 >= text.size()) return 1;
    const char next = text[at + 2];
    std::int32_t instance;
    if (IsDigit(next)) instance = ReadInstanceNumber(std::string_view(text).substr(at + 2));
    else if (next == 'A' || next == 'a') instance = 0;
    else return 1;
    text.resize(at);
    return instance;
}

void CPublishingRun::ConvertLineBreaks(std::string& text) const {
    ConvertCommandLineBreaks(text, m_lfOnly);
}

bool CPublishingRun::ParseAddCommand(std::string text) {
    const char* prefix = WordsFor(kAdd).boxPrefix;
    auto error = [&](const char* message) {
        return CommandParseError(prefix, message, std::string("***> ") + message);
    };
    const std::int32_t instance = TakeInstance(text);
    std::size_t marker = FindPattern(text, "!before!", m_matchCase);
    std::size_t markerLength = 8;
    const bool before = marker != kNotFound;
    if (!before) {
        marker = FindPattern(text, "!after!", m_matchCase);
        markerLength = 7;
    }
    if (marker == kNotFound) return error("!before! or !after! is missing in Add command line!");
    std::string documentText = text.substr(marker + markerLength);
    if (documentText.size() > kMaxPatternLength) return error("Add after character pattern too long!");
    std::string newText(TrimmedView(std::string_view(text).substr(0, marker)));
    if (newText.empty()) return error("Text to add is missing in Add command line!");

    CCmdVar& record = AppendCommandRecord(CommandKind::Add);
    record.instance = instance;
    record.before = before ? 1 : 0;
    record.firstText = std::move(documentText);
    record.newText = std::move(newText);
    ConvertLineBreaks(record.firstText);
    ConvertLineBreaks(*record.newText);
    return true;
}

bool CPublishingRun::ParseDeleteCommand(std::string text) {
    const char* prefix = WordsFor(kDelete).boxPrefix;
    auto error = [&](const char* message) {
        return CommandParseError(prefix, message, PrefixedLogLine(prefix, message));
    };
    const std::int32_t instance = TakeInstance(text);
    const std::size_t dots = FindExact(text, kDots);
    std::string start = dots == kNotFound ? text : text.substr(0, dots);
    std::string end = dots == kNotFound ? std::string() : text.substr(dots + kDots.size());
    if (start.size() > kMaxPatternLength) return error("Beginning character pattern too long!");
    if (end.size() > kMaxPatternLength) return error("Ending character pattern too long!");

    CCmdVar& record = AppendCommandRecord(CommandKind::Delete);
    record.instance = instance;
    record.firstText = std::move(start);
    record.secondText = std::move(end);
    ConvertLineBreaks(record.firstText);
    ConvertLineBreaks(record.secondText);
    return true;
}

bool CPublishingRun::ParseExtractCommand(std::string text) {
    const char* prefix = WordsFor(kExtract).boxPrefix;
    auto error = [&](const char* message) {
        return CommandParseError(prefix, message, PrefixedLogLine(prefix, message));
    };
    const std::size_t saveAs = FindPattern(text, "!save as!", m_matchCase);
    if (saveAs == kNotFound) return error("!save as! is missing in line!");
    // The name's length counts the blanks around it.
    const std::string_view rawName = std::string_view(text).substr(saveAs + 9);
    if (rawName.size() > kMaxNameLength) return error("Variable name too long!");
    std::string name(TrimmedView(rawName));
    if (name.empty()) return error("Variable name is empty!");
    const std::string_view patterns = std::string_view(text).substr(0, saveAs);
    const std::size_t dots = FindExact(patterns, kDots);
    if (dots == kNotFound) return error("!...! is missing in line!");
    std::string start(patterns.substr(0, dots));
    std::string end(patterns.substr(dots + kDots.size()));
    if (start.size() > kMaxPatternLength) return error("Beginning character pattern too long!");
    if (end.size() > kMaxPatternLength) return error("Ending character pattern too long!");

    CCmdVar& record = AppendCommandRecord(CommandKind::Extract);
    record.firstText = std::move(start);
    record.secondText = std::move(end);
    record.variableName = std::move(name);
    ConvertLineBreaks(record.firstText);
    ConvertLineBreaks(record.secondText);
    return true;
}

bool CPublishingRun::ParseReplaceCommand(std::string text) {
    const char* prefix = WordsFor(kReplace).boxPrefix;
    auto error = [&](const char* message) {
        return CommandParseError(prefix, message, PrefixedLogLine(prefix, message));
    };
    const std::int32_t instance = TakeInstance(text);
    const std::size_t with = FindPattern(text, "!with!", m_matchCase);
    if (with == kNotFound) return error("!with! is missing in Replace command line!");
    // Nothing before the marker: the whole text is the text to find.
    std::string find = with == 0 ? text : text.substr(0, with);
    std::string replacement = with == 0 ? std::string() : text.substr(with + 6);
    if (find.size() > kMaxPatternLength) return error("Replace character pattern too long!");

    CCmdVar& record = AppendCommandRecord(CommandKind::Replace);
    record.instance = instance;
    record.firstText = std::move(find);
    record.newText = std::move(replacement);
    ConvertLineBreaks(record.firstText);
    ConvertLineBreaks(*record.newText);
    return true;
}

namespace {
struct PatternPair {
    std::string start;
    std::string end;
};

// MakeTOC and MakeFile: start and end patterns around "!...!", without the
// blanks next to the marker.
bool SplitAtDots(const std::string& text, PatternPair& pair) {
    const std::size_t dots = FindExact(text, kDots);
    if (dots == kNotFound) return false;
    pair.start = std::string(TrimmedView(std::string_view(text).substr(0, dots)));
    pair.end = std::string(SkipLeadingBlanks(std::string_view(text).substr(dots + kDots.size())));
    return true;
}
}  // namespace

bool CPublishingRun::ParsePatternPairCommand(int token, CommandKind kind, std::string text) {
    const char* prefix = WordsFor(token).boxPrefix;
    auto error = [&](const char* message) {
        return CommandParseError(prefix, message, PrefixedLogLine(prefix, message));
    };
    PatternPair pair;
    if (!SplitAtDots(text, pair)) return error("!...! is missing in line!");
    if (pair.start.size() > kMaxPatternLength) return error("Beginning character pattern too long!");
    if (pair.end.size() > kMaxPatternLength) return error("Ending character pattern too long!");
    CCmdVar& record = AppendCommandRecord(kind);
    record.firstText = std::move(pair.start);
    record.secondText = std::move(pair.end);
    ConvertLineBreaks(record.firstText);
    ConvertLineBreaks(record.secondText);
    return true;
}

bool CPublishingRun::ParseMakeTocCommand(std::string text) {
    return ParsePatternPairCommand(kMakeToc, CommandKind::MakeTOC, std::move(text));
}

bool CPublishingRun::ParseMakeFileCommand(std::string text) {
    return ParsePatternPairCommand(kMakeFile, CommandKind::MakeFile, std::move(text));
}

bool CPublishingRun::CreatePredefinedVariables() {
    try {
        const std::tm now = RunLocalTime();
        const bool us = m_doc.settings.usDateDisplay;
        for (auto [name, value] : {std::pair{"sysdate", FormatSysDate(now, us)},
                                   std::pair{"systime", FormatSysTime(now, us)}}) {
            CCmdVar& record = AppendCommandRecord(CommandKind::Extract);
            record.variableName = name;
            record.newText = std::move(value);
        }
    } catch (const std::bad_alloc&) {
        StopBox(kNoMemory);
        AddLogLine("***> Failed to allocate memory!");
        return false;
    }
    return true;
}

}  // namespace webquill
