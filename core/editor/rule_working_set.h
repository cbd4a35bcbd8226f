// What the rule editor edits during one edit cycle, apart from the log
// window's document: the fourteen header strings, the command and Wrap
// records and the execute sequence. Filled by the load (or empty for a new
// rule file), edited by the pages, copied back and written by the save.
#pragma once

#include <array>
#include <string>

#include "engine/command_records.h"
#include "engine/run_document.h"
#include "engine/run_host.h"

namespace webquill {

// The header working copy, in the order of its fourteen strings.
enum HeaderField : std::size_t {
    kDocumentField,
    kIntermediateFileField,
    kTocNameField,
    kTocTemplateField,
    kWwwFileNamesField,  // folder, one separator, root name
    kHeaderNameField,
    kFooterNameField,
    kFtpUrlField,
    kUserIdField,
    kUserPwField,  // plain
    kTocServerDirField,
    kWwwServerDirField,
    kImagesLocalDirField,
    kImagesServerDirField,
    kHeaderFieldCount
};

struct RuleWorkingSet {
    std::array<std::string, kHeaderFieldCount> header;
    CCmdVarList commands;
    CWrapperList wrappers;
    std::array<int, 5> executeSequence{4, 2, 3, 1, 5};
    // Some loaded text is not UTF-8: the file was read as Windows-1252, and
    // typed texts go back in that code page where they fit.
    bool windows1252 = false;
    // The user's editor (a preference), which the command pages' Launch starts
    // with the Document entry taken against the rule file's folder.
    std::string editorProgram;
    std::string ruleFilePath;  // empty for a new file
    // The match case setting the file is read and written with.
    bool matchCase = false;

    // The edit cycle's end: lists emptied, header strings cleared, the
    // execute sequence the default one.
    void Clear();
    // The largest command number of the records, 0 for none.
    std::int32_t LargestCommandNumber() const;
};

// Edit mode: reads doc.ruleFilePath through the engine's reader without a
// run (no date variables, command numbers from 1), reporting through `host`
// as a run would. On success the records move into `set` (the document's
// lists end empty) and the header strings are taken from the document. On
// failure the document's lists are emptied and `set` is left empty.
bool LoadWorkingSet(RunDocument& doc, IRunHost& host, RuleWorkingSet& set);

// New mode: every header string empty, the default execute sequence; nothing
// of a file edited before.
void NewWorkingSet(const RunDocument& doc, RuleWorkingSet& set);

// Copies the header strings back into the document: the WWW file names entry
// is split at its last separator (an entry without one, or ending in one,
// leaves the document's two parts as they were).
void StoreHeaderStrings(const RuleWorkingSet& set, RuleValues& rule);

// The WWW file names entry for a folder and a root name, joined with the
// separator the folder already uses.
std::string WwwFileNamesEntry(const std::string& folder, const std::string& name);
// True when the entry splits into a folder and a root name the reader takes.
bool IsUsableWwwFileNames(const std::string& entry);

}  // namespace webquill
