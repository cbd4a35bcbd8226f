#include "core/editor/rule_file_check.h"

#include <array>
#include <string_view>
#include <vector>

#include "core/editor/rule_file_writer.h"
#include "core/editor/rule_working_set.h"
#include "engine/publishing_run.h"
#include "engine/text_search.h"

namespace webquill {

namespace {

constexpr const char* kComment = "&&";
constexpr const char* kInstanceMarker = "::";

struct FieldName {
    RecordField field;
    const char* name;  // as its page labels it
};

// What a kind's line is made of: its fields in writing order and the markers
// its reader cuts it at.
struct KindLine {
    const char* word;
    std::vector<FieldName> fields;
    std::vector<std::string_view> markers;
    bool instance = false;
};

const KindLine& LineOf(CommandKind kind) {
    static const KindLine kExtract{"Extract",
                                   {{RecordField::FirstText, "Start Extract pattern"},
                                    {RecordField::SecondText, "End of Extract pattern"},
                                    {RecordField::VariableName, "Variable Name"}},
                                   {"!...!", "!save as!"}};
    static const KindLine kDelete{"Delete",
                                  {{RecordField::FirstText, "Delete start pattern"},
                                   {RecordField::SecondText, "Delete end pattern"}},
                                  {"!...!", kInstanceMarker},
                                  true};
    static const KindLine kAdd{"Add",
                               {{RecordField::NewText, "Add this NEW text"}, {RecordField::FirstText, "Document's Text"}},
                               {"!before!", "!after!", kInstanceMarker},
                               true};
    static const KindLine kReplace{"Replace",
                                   {{RecordField::FirstText, "Replace existing text"},
                                    {RecordField::NewText, "With this text"}},
                                   {"!with!", kInstanceMarker},
                                   true};
    static const KindLine kMakeToc{"MakeTOC",
                                   {{RecordField::FirstText, "TOC Entry Identifier Start Pattern"},
                                    {RecordField::SecondText, "TOC Entry Identifier End Pattern"}},
                                   {"!...!"}};
    static const KindLine kMakeFile{"MakeFile",
                                    {{RecordField::FirstText, "Start Pattern Designating Make Into File"},
                                     {RecordField::SecondText, "End Pattern Designating Make Into File"}},
                                    {"!...!"}};
    static const KindLine kWrap{"Wrap",
                                {{RecordField::NumberPrefix, "Number Prefix"},
                                 {RecordField::NumberFormat, "Number Format Including Delimiters"},
                                 {RecordField::EndOfParagraph, "End of Number Format Pattern"},
                                 {RecordField::TextBefore, "Insert This Prior to Number Format"},
                                 {RecordField::TextAfter, "Add This After Number Format Pattern"}},
                                {"!***!", "!...!", "!with start!", "!end!"}};
    switch (kind) {
        case CommandKind::Extract: return kExtract;
        case CommandKind::Delete: return kDelete;
        case CommandKind::Add: return kAdd;
        case CommandKind::Replace: return kReplace;
        case CommandKind::MakeTOC: return kMakeToc;
        case CommandKind::MakeFile: return kMakeFile;
        default: return kWrap;
    }
}

std::string TextOf(const CCmdVar& r, RecordField field) {
    switch (field) {
        case RecordField::FirstText: return r.firstText;
        case RecordField::SecondText: return r.secondText;
        case RecordField::VariableName: return r.variableName;
        case RecordField::NewText: return r.newText.value_or(std::string());
        default: return {};
    }
}

std::string TextOf(const CWrapper& w, RecordField field) {
    switch (field) {
        case RecordField::NumberPrefix: return w.numberPrefix;
        case RecordField::NumberFormat: return w.numberFormat;
        case RecordField::EndOfParagraph: return w.endOfParagraph;
        case RecordField::TextBefore: return w.textBefore;
        case RecordField::TextAfter: return w.textAfter;
        default: return {};
    }
}

// A text as the reader gives it back: a typed line-break marker is a line
// break (the writer's lines end in CR LF); a variable name is taken as it is.
std::string AsRead(std::string text, RecordField field) {
    if (field != RecordField::VariableName) ConvertCommandLineBreaks(text, false);
    return text;
}

// Keeps the reader's words: the text of its last message box.
class ReaderWords final : public IRunHost {
public:
    void ShowLogLine(const std::string&) override {}
    void ShowStatusText(const std::string&) override {}
    void PumpMessages() override {}
    void ShowMessageBox(BoxKind, const std::string& text) override { last = text; }
    std::string last;
};

struct ReadBack {
    RunDocument doc;
    bool headerRead = false;
    bool commandsRead = false;
    std::string refusal;  // the reader's message when it refused
};

void Read(std::string text, bool matchCase, ReadBack& back) {
    back.doc.settings.matchCase = matchCase;
    back.doc.settings.displayErrors = true;
    ReaderWords words;
    CPublishingRun reader(back.doc, words);
    reader.TakeRuleText(std::move(text));
    back.headerRead = reader.ParseHeaderSection();
    back.commandsRead = back.headerRead && reader.ParseCommandSection(true);
    back.refusal = words.last;
}

template <typename Record>
bool SameRecord(const KindLine& line, const Record& wanted, const Record& got) {
    for (const FieldName& f : line.fields)
        if (AsRead(TextOf(wanted, f.field), f.field) != TextOf(got, f.field)) return false;
    if constexpr (std::is_same_v<Record, CCmdVar>) {
        if (wanted.kind != got.kind) return false;
        if (line.instance && wanted.instance != got.instance) return false;
        if (wanted.kind == CommandKind::Add && (wanted.before != 0) != (got.before != 0)) return false;
    }
    return true;
}

std::string Quoted(std::string_view text) {
    std::string quoted(1, '"');
    quoted.append(text);
    quoted += '"';
    return quoted;
}

// Why a record that does not come back as it is cannot be written: a marker
// of its line in one of its fields (the first in writing order, where the
// reader looks first), the length of the line, or the reader's refusal.
template <typename Record>
RuleFileProblem Diagnose(const KindLine& line, const Record& r, int number, bool matchCase, const ReadBack& back) {
    const std::string head = std::string(line.word) + " command " + std::to_string(number);
    RuleFileProblem problem;
    if constexpr (std::is_same_v<Record, CCmdVar>) problem.kind = r.kind;
    problem.number = number;
    problem.field = line.fields.front().field;
    for (const FieldName& f : line.fields) {
        const std::string text = TextOf(r, f.field);
        std::vector<std::string_view> markers = line.markers;
        markers.push_back(kComment);
        for (std::string_view marker : markers) {
            if (FindPattern(text, marker, matchCase) == kNotFound) continue;
            const char* meaning = marker == kComment          ? "the start of a comment"
                                  : marker == kInstanceMarker ? "its instance marker"
                                                              : "a marker of its own";
            problem.field = f.field;
            problem.message = head + " cannot be written: its '" + f.name + "' holds " + Quoted(marker) +
                              ", which the rule file reads as " + meaning + "!";
            return problem;
        }
    }
    if (back.refusal.starts_with("Command line length")) {
        problem.message = head + " is too long: a command may hold at most " + std::to_string(kMaxPatternLength) +
                          " characters in the rule file!";
    } else if (!back.commandsRead) {
        problem.message = head + " cannot be written: the rule file would not load:\n" + back.refusal;
    } else {
        problem.message = head + " cannot be written: its texts would read back as other texts!";
    }
    return problem;
}

// A header that the reader takes, so that a record is read alone.
const RuleValues& ProbeHeader() {
    static const RuleValues values = [] {
        RuleValues v;
        v.document = "d";
        v.wwwDirectory = "o";
        v.wwwFileName = "p";
        return v;
    }();
    return values;
}

template <typename Record>
std::optional<RuleFileProblem> CheckAlone(const KindLine& line, const Record& r, int number, bool matchCase) {
    CCmdVarList commands;
    CWrapperList wrappers;
    if constexpr (std::is_same_v<Record, CCmdVar>) commands.Append(std::make_unique<CCmdVar>(r));
    else wrappers.Append(std::make_unique<CWrapper>(r));
    std::string text = ComposeRuleFile(ProbeHeader(), commands, wrappers, matchCase);
    // Every line but the last MakeFile has a command after it in a file,
    // which a comment stands for here.
    bool last = false;
    if constexpr (std::is_same_v<Record, CCmdVar>) last = r.kind == CommandKind::MakeFile;
    if (!last) text += "\r\n&&";
    ReadBack back;
    Read(std::move(text), matchCase, back);
    if (back.commandsRead) {
        if constexpr (std::is_same_v<Record, CCmdVar>) {
            if (back.doc.commands.Size() == 1 && SameRecord(line, r, back.doc.commands.At(0))) return std::nullopt;
        } else {
            if (back.doc.wrappers.Size() == 1 && SameRecord(line, r, back.doc.wrappers.At(0))) return std::nullopt;
        }
    }
    return Diagnose(line, r, number, matchCase, back);
}

// The header keys in writing order, with the values they carry.
struct HeaderKey {
    const char* key;
    std::string RuleValues::*value;
    HeaderField field;
    const char* absentNotice;  // what the reader leaves for an absent key
};
constexpr HeaderKey kHeaderKeys[] = {
    {"Document", &RuleValues::document, kDocumentField, nullptr},
    {"IntermediateFile", &RuleValues::intermediateFile, kIntermediateFileField, nullptr},
    {"TOCName", &RuleValues::tocName, kTocNameField, nullptr},
    {"TOCTemplate", &RuleValues::tocTemplate, kTocTemplateField, "No TOC Template file specified!"},
    {"WWWFileName", &RuleValues::wwwDirectory, kWwwFileNamesField, nullptr},
    {"WWWFileName", &RuleValues::wwwFileName, kWwwFileNamesField, nullptr},
    {"HeaderName", &RuleValues::headerName, kHeaderNameField, "No header file specified!"},
    {"FooterName", &RuleValues::footerName, kFooterNameField, "No footer file specified!"},
    {"FtpURL", &RuleValues::ftpUrl, kFtpUrlField, nullptr},
    {"UserID", &RuleValues::userId, kUserIdField, nullptr},
    {"UserPW", &RuleValues::userPassword, kUserPwField, nullptr},
    {"TOCServerDir", &RuleValues::tocServerDir, kTocServerDirField, nullptr},
    {"WWWServerDir", &RuleValues::wwwServerDir, kWwwServerDirField, nullptr},
    {"ImagesLocalDir", &RuleValues::imagesLocalDir, kImagesLocalDirField, nullptr},
    {"ImagesServerDir", &RuleValues::imagesServerDir, kImagesServerDirField, nullptr},
};

bool SameValue(const HeaderKey& k, const RuleValues& wanted, const RuleValues& got) {
    const std::string& value = wanted.*k.value;
    return got.*k.value == value || (value.empty() && k.absentNotice && got.*k.value == k.absentNotice);
}

// The reader looks for each key, and for the section markers, anywhere in
// the header, values included.
std::optional<RuleFileProblem> HeaderProblem(const RuleValues& wanted, const ReadBack& back, bool matchCase) {
    RuleFileProblem problem;
    problem.header = true;
    auto written = [&](const HeaderKey& k, const std::string& text) {
        problem.headerField = k.field;
        problem.message = std::string("The header value '") + k.key + "' cannot be written: " + text;
        return problem;
    };
    const HeaderKey* differing = nullptr;
    for (const HeaderKey& k : kHeaderKeys)
        if (!differing && !(back.headerRead && SameValue(k, wanted, back.doc.rule))) differing = &k;
    // A value that holds a key moves another key's value, so every value is
    // looked at once one differs.
    if (differing || !back.headerRead || back.doc.rule.executeSequence != wanted.executeSequence) {
        for (const HeaderKey& k : kHeaderKeys) {
            const std::string& value = wanted.*k.value;
            for (std::string_view marker : {"&Header", "&Command"})
                if (FindPattern(value, marker, matchCase) != kNotFound)
                    return written(k, "it holds " + Quoted(marker) + ", which the rule file reads as a section marker!");
            for (const HeaderKey& other : kHeaderKeys)
                if (other.field != k.field && FindPattern(value, other.key, matchCase) != kNotFound)
                    return written(k, "it holds " + Quoted(other.key) + ", which the rule file reads as a key!");
            if (FindPattern(value, "ExecuteSequence", matchCase) != kNotFound)
                return written(k, "it holds \"ExecuteSequence\", which the rule file reads as a key!");
        }
    }
    if (!back.headerRead) {
        problem.message = "The header cannot be written: the rule file would not load:\n" + back.refusal;
        return problem;
    }
    if (differing) return written(*differing, "it would read back as another value!");
    if (back.doc.rule.executeSequence != wanted.executeSequence) {
        problem.headerField = kHeaderFieldCount;
        problem.message = "The execute sequence cannot be written: it would read back as another order!";
        return problem;
    }
    return std::nullopt;
}

// The records in the order the writer writes them (only the first MakeTOC
// and MakeFile are written).
std::vector<const CCmdVar*> WritingOrder(const CCmdVarList& commands) {
    std::vector<const CCmdVar*> order;
    for (CommandKind kind : {CommandKind::Extract, CommandKind::Delete, CommandKind::Add, CommandKind::Replace})
        commands.ForEach([&](const CCmdVar& r) {
            if (r.kind == kind) order.push_back(&r);
        });
    for (CommandKind kind : {CommandKind::MakeTOC, CommandKind::MakeFile})
        if (const CCmdVar* first = commands.FindFirstOfKind(kind)) order.push_back(first);
    return order;
}

bool SameRecords(const std::vector<const CCmdVar*>& order, const CWrapperList& wrappers, const RunDocument& got) {
    if (got.commands.Size() != order.size() || got.wrappers.Size() != wrappers.Size()) return false;
    for (std::size_t i = 0; i < order.size(); ++i)
        if (!SameRecord(LineOf(order[i]->kind), *order[i], got.commands.At(i))) return false;
    for (std::size_t i = 0; i < wrappers.Size(); ++i)
        if (!SameRecord(LineOf(CommandKind::None), wrappers.At(i), got.wrappers.At(i))) return false;
    return true;
}

}  // namespace

std::optional<RuleFileProblem> CheckCommandRecord(const CCmdVar& record, int number, bool matchCase) {
    return CheckAlone(LineOf(record.kind), record, number, matchCase);
}

std::optional<RuleFileProblem> CheckWrapRecord(const CWrapper& record, int number, bool matchCase) {
    return CheckAlone(LineOf(CommandKind::None), record, number, matchCase);
}

std::optional<RuleFileProblem> CheckRuleFileText(const std::string& text, const RuleValues& rule,
                                                 const CCmdVarList& commands, const CWrapperList& wrappers,
                                                 bool matchCase) {
    ReadBack back;
    Read(text, matchCase, back);
    const std::vector<const CCmdVar*> order = WritingOrder(commands);
    if (auto problem = HeaderProblem(rule, back, matchCase)) return problem;
    if (back.commandsRead && SameRecords(order, wrappers, back.doc)) return std::nullopt;

    // The record to blame is the first that does not come back alone.
    for (std::size_t i = 0; i < wrappers.Size(); ++i)
        if (auto problem = CheckWrapRecord(wrappers.At(i), static_cast<int>(i) + 1, matchCase)) return problem;
    std::array<int, 7> numbers{};
    for (const CCmdVar* r : order) {
        const int number = ++numbers[static_cast<std::size_t>(r->kind)];
        if (auto problem = CheckCommandRecord(*r, number, matchCase)) return problem;
    }
    RuleFileProblem problem;
    problem.message = back.commandsRead ? "The rule file cannot be written: it would read back as other commands!"
                                        : "The rule file cannot be written: it would not load:\n" + back.refusal;
    return problem;
}

RuleValues WorkingSetValues(const RuleWorkingSet& set) {
    RuleValues rule;
    StoreHeaderStrings(set, rule);
    rule.executeSequence = set.executeSequence;
    return rule;
}

std::optional<RuleFileProblem> CheckWorkingSet(const RuleWorkingSet& set, bool matchCase, std::string* text) {
    const RuleValues rule = WorkingSetValues(set);
    std::string composed = ComposeRuleFile(rule, set.commands, set.wrappers, matchCase);
    auto problem = CheckRuleFileText(composed, rule, set.commands, set.wrappers, matchCase);
    if (text) *text = std::move(composed);
    return problem;
}

}  // namespace webquill
