// Log lines, paths and rule texts are bytes. Widgets show them as UTF-8 when
// they are valid UTF-8 and as Windows-1252 otherwise; typed text goes back as
// UTF-8.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace webquill {

QString ShownText(std::string_view bytes);
inline std::string TypedBytes(const QString& text) { return text.toStdString(); }

// The bytes of a field that showed `original`: the original bytes when the
// text was not changed; else, for a file read as Windows-1252, that code page
// where every character fits it, unless the field itself was UTF-8;
// otherwise UTF-8.
std::string FieldBytes(const QString& text, std::string_view original, bool windows1252);

}  // namespace webquill
