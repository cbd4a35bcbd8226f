// Record texts in the pages' multi-line fields: a trailing line end shows as
// the line-break marker "!$", line breaks inside show as lines of the field,
// and typed line breaks go back as CR LF, the rule file's own.
#pragma once

#include <QString>
#include <string>

namespace webquill {

QString ShownPattern(const std::string& bytes);
// `original` is the record text the field showed (its bytes come back when
// the field was not changed).
std::string StoredPattern(const QString& field, const std::string& original, bool windows1252);

}  // namespace webquill
