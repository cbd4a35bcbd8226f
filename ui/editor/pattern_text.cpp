#include "ui/editor/pattern_text.h"

#include "platform/desktop/byte_text.h"

namespace webquill {

QString ShownPattern(const std::string& bytes) {
    std::string text = bytes;
    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
        if (!text.empty() && text.back() == '\r') text.pop_back();
        text += "!$";
    }
    QString shown = ShownText(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

std::string StoredPattern(const QString& field, const std::string& original, bool windows1252) {
    if (field == ShownPattern(original)) return original;
    QString text = field;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return FieldBytes(text, original, windows1252);
}

}  // namespace webquill
