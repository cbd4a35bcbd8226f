// The rule editor's load and writer on a fuzzed rule file: whatever loads is
// either refused by the writer's check or composed, loaded again and composed
// again; the second load must give the same records and the second text must
// be the first byte for byte. The check must not refuse what a rule file can
// say (the predicates below tell what it cannot).
#include <cctype>
#include <cstdio>

#include "fuzz/fuzz_support.h"
#include "core/editor/rule_file_check.h"
#include "core/editor/rule_file_writer.h"
#include "tests/core/editor/rule_records.h"
#include "engine/text_search.h"

using namespace webquill;

namespace {

struct Loaded {
    RunDocument doc;
    RuleWorkingSet set;
    bool ok = false;
    std::string composed;  // the writer's text for what was loaded
    std::optional<RuleFileProblem> refusal;
    Loaded(const std::string& name, std::string_view bytes, bool matchCase) {
        fuzz::WriteFile(name, bytes);
        doc.ruleFilePath = (fuzz::WorkFolder() / name).string();
        doc.settings.matchCase = matchCase;
        fuzz::QuietHost host;
        ok = LoadWorkingSet(doc, host, set);
        if (!ok) return;
        // As the editor's save does.
        doc.rule = WorkingSetValues(set);
        refusal = CheckWorkingSet(set, matchCase, &composed);
    }
};

// The reader takes the first "::" of a command as its instance marker, so a
// text that holds "::" or ends in ":" cannot keep an instance other than 1,
// and with the marker left out the last text ends the line, whose trailing
// blanks the reader trims; such files are beyond what a rule file can say.
bool InstanceWritable(const CCmdVar& r) {
    bool markerInText = false, blankAtAnEnd = false;
    for (const std::string* text : {&r.firstText, &r.secondText, r.newText ? &*r.newText : nullptr}) {
        if (!text || text->empty()) continue;
        markerInText = markerInText || text->find("::") != std::string::npos || text->back() == ':';
        blankAtAnEnd = blankAtAnEnd || text->back() == ' ' || text->back() == '\t';
    }
    return !markerInText || (r.instance == 1 && !blankAtAnEnd);
}

// Where the reader does not trim the text before a marker, a text that ends
// in that marker without its closing "!" moves the marker one "!" early; an
// "!after!" followed by "before!" reads as "!before!". No line can say these.
bool JunctionsWritable(const CCmdVar& r, bool matchCase) {
    const auto endsIn = [&](const std::string& text, std::string_view marker) {
        const std::string_view open = marker.substr(0, marker.size() - 1);
        return text.size() >= open.size() &&
               FindPattern(std::string_view(text).substr(text.size() - open.size()), open, matchCase) == 0;
    };
    switch (r.kind) {
        case CommandKind::Delete: return r.secondText.empty() || !endsIn(r.firstText, "!...!");
        case CommandKind::Extract: return !endsIn(r.firstText, "!...!") && !endsIn(r.secondText, "!save as!");
        case CommandKind::Replace: return !endsIn(r.firstText, "!with!");
        case CommandKind::Add:
            return r.before || FindPattern(std::string_view(r.firstText).substr(0, 7), "before!", matchCase) != 0;
        default: return true;
    }
}

// The reader trims raw line breaks at a text's ends, where only the
// line-break marker can say one, and the marker reads back as CR LF: a lone
// LF there cannot be written.
bool LoneLfAtAnEnd(const std::string& text) {
    return (!text.empty() && text.front() == '\n') ||
           (!text.empty() && text.back() == '\n' && (text.size() < 2 || text[text.size() - 2] != '\r'));
}

// The Wrap reader cuts at the first "!with start!" and the first "!end!"
// wherever they stand, so a file with "!end!" first loads texts that hold a
// marker (or, next to the written marker, part of one), which no Wrap line
// can say again.
bool WrapWritable(const CWrapper& w) {
    for (std::string text : {w.numberPrefix, w.endOfParagraph, w.textBefore, w.textAfter}) {
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (text.find('!') != std::string::npos &&
            (text.find("end") != std::string::npos || text.find("with start") != std::string::npos))
            return false;
    }
    return true;
}

[[noreturn]] void Differ(const char* what, const std::string& first, const std::string& second) {
    std::fprintf(stderr, "rule round trip: %s differ\n--- first\n%s\n--- second\n%s\n", what, first.c_str(),
                 second.c_str());
    std::abort();
}

void RoundTrip(std::string_view bytes, bool matchCase) {
    const Loaded first("r.rul", bytes, matchCase);
    if (!first.ok) return;
    // Whether a rule file can say every record and value.
    bool writable = true;
    first.set.commands.ForEach([&](const CCmdVar& r) {
        writable = writable && InstanceWritable(r) && JunctionsWritable(r, matchCase);
        for (const std::string* text : {&r.firstText, &r.secondText, r.newText ? &*r.newText : nullptr})
            writable = writable && !(text && LoneLfAtAnEnd(*text));
    });
    first.set.wrappers.ForEach([&](const CWrapper& w) {
        writable = writable && WrapWritable(w);
        for (const std::string* text : {&w.numberPrefix, &w.endOfParagraph, &w.textBefore, &w.textAfter})
            writable = writable && !LoneLfAtAnEnd(*text);
    });
    // Only a printable ASCII password survives its scrambling; the reader finds
    // header keys and section markers anywhere, in values too.
    for (unsigned char c : first.set.header[kUserPwField]) writable = writable && c >= 0x20 && c < 0x7f;
    static const char* const kKeys[] = {"&command", "&header", "document", "intermediatefile", "tocname",
        "toctemplate", "wwwfilename", "headername", "footername", "executesequence", "ftpurl", "userid", "userpw",
        "tocserverdir", "wwwserverdir", "imageslocaldir", "imagesserverdir"};
    for (std::string value : first.set.header) {
        for (char& c : value) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        for (const char* key : kKeys) writable = writable && value.find(key) == std::string::npos;
    }
    // The reader keeps ids outside 1..5 and reads "-2" as two ids.
    for (int id : first.set.executeSequence) writable = writable && id >= 1 && id <= 5;
    if (first.refusal) {
        if (writable) Differ("verdicts (a file the writer can say was refused)", first.refusal->message, first.composed);
        return;
    }
    const Loaded second("w.rul", first.composed, matchCase);
    if (!second.ok) Differ("loads (the written file did not load)", first.composed, "");
    if (second.refusal) Differ("verdicts (the written file was refused)", second.refusal->message, second.composed);
    const std::string before = test::Records(first.set, first.doc), after = test::Records(second.set, second.doc);
    if (after != before) Differ("records", before, after);
    if (second.composed != first.composed) Differ("written texts", first.composed, second.composed);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The line-break marker reads back as the file's own line end, so a lone
    // LF in a CR LF file may come back as CR LF.
    const bool crlf = bytes.find("\r\n") != std::string_view::npos;
    for (std::size_t lf = bytes.find('\n'); lf != std::string_view::npos; lf = bytes.find('\n', lf + 1))
        if ((lf > 0 && bytes[lf - 1] == '\r') != crlf) return 0;
    // A rule file means what it means under the user's match case setting;
    // the writer must give it back under either.
    for (bool matchCase : {false, true}) RoundTrip(bytes, matchCase);
    return 0;
}
