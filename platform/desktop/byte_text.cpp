#include "platform/desktop/byte_text.h"

#include <QStringDecoder>
#include <algorithm>
#include <iterator>

namespace webquill {

namespace {
// The printable characters that Windows-1252 puts at 0x80 to 0x9F; the five
// codes it leaves free are shown as themselves.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString FromWindows1252(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        text.append(code >= 0x80 && code < 0xA0 ? QChar(kHighControls[code - 0x80]) : QChar(code));
    }
    return text;
}
// Empty when a character has no Windows-1252 code.
bool ToWindows1252(const QString& text, std::string& bytes) {
    bytes.clear();
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u < 0x100)) {
            bytes += static_cast<char>(u);
            continue;
        }
        const char16_t* found = std::find(std::begin(kHighControls), std::end(kHighControls), u);
        if (found == std::end(kHighControls)) return false;
        bytes += static_cast<char>(0x80 + (found - std::begin(kHighControls)));
    }
    return true;
}
}  // namespace

std::string FieldBytes(const QString& text, std::string_view original, bool windows1252) {
    const QString shown = ShownText(original);
    if (shown == text) return std::string(original);
    // A field keeps the code of its bytes: one shown from UTF-8 (it holds
    // more than ASCII, and reads back the same) stays UTF-8, whatever the
    // rest of the file is.
    const bool utf8 = shown.size() != static_cast<qsizetype>(original.size()) && shown.toStdString() == original;
    std::string bytes;
    if (windows1252 && !utf8 && ToWindows1252(text, bytes)) return bytes;
    return TypedBytes(text);
}

QString ShownText(std::string_view bytes) {
    bool plainAscii = true;
    for (const char byte : bytes)
        if (static_cast<unsigned char>(byte) >= 0x80) {
            plainAscii = false;
            break;
        }
    if (plainAscii) return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError()) return text;
    return FromWindows1252(bytes);
}

}  // namespace webquill
