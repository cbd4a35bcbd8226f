// The file a log line names, as the run that wrote the line used it.
#pragma once

#include <string>

#include "engine/run_document.h"

namespace webquill {

// A summary line ("    1) ... x000.htm") names a file in the WWW directory,
// a report line ("Header File -> head.htm") an input or output named in the
// rule file, "Rule File -> " the rule file itself. Paths are taken against
// the rule file's folder, as the run took them. Empty: the line names none.
std::string LineTargetPath(const std::string& line, const RunDocument& document);

}  // namespace webquill
