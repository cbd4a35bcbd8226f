// Everything a load, save and load again must keep, as one text: shared by
// the round-trip tests and the round-trip fuzz target.
#pragma once

#include <string>

#include "core/editor/rule_working_set.h"
#include "tests/engine/test_support.h"

namespace webquill::test {

// The header strings, the execute sequence, the Wrap records and the command
// records in writing order (the writer groups the commands by kind), command
// numbers left out.
inline std::string Records(const RuleWorkingSet& set, const RunDocument& doc) {
    std::string all;
    for (const std::string& value : set.header) all += "[" + value + "]";
    for (int id : doc.rule.executeSequence) all += " " + std::to_string(id);
    all += "\n";
    set.wrappers.ForEach([&](const CWrapper& w) {
        all += "Wrap [" + w.numberPrefix + "][" + w.numberFormat + "][" + w.endOfParagraph + "][" +
               w.textBefore + "][" + w.textAfter + "]\n";
    });
    for (CommandKind kind : {CommandKind::Extract, CommandKind::Delete, CommandKind::Add, CommandKind::Replace})
        set.commands.ForEach([&](const CCmdVar& r) {
            if (r.kind == kind) all += RecordText(r) + "\n";
        });
    for (CommandKind kind : {CommandKind::MakeTOC, CommandKind::MakeFile})  // only the first is written
        if (const CCmdVar* first = set.commands.FindFirstOfKind(kind)) all += RecordText(*first) + "\n";
    return all;
}

}  // namespace webquill::test
