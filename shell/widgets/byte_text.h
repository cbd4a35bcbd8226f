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

}  // namespace webquill
