#include "engine/system_date.h"

#include <cerrno>
#include <cstdlib>

#include "engine/string_format.h"

namespace webquill {

namespace {
constexpr const char* kMonths[12] = {"Jan.", "Feb.", "Mar.", "Apr.", "May.", "Jun.",
                                     "Jly.", "Aug.", "Spt.", "Oct.", "Nov.", "Dec."};

bool ReadEpoch(const char* text, std::time_t& when) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    const long long seconds = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || seconds < 0) return false;
    when = static_cast<std::time_t>(seconds);
    return true;
}
}  // namespace

std::tm RunLocalTime() {
    std::time_t when = std::time(nullptr);
    std::time_t fixed = 0;
    if (ReadEpoch(std::getenv("SOURCE_DATE_EPOCH"), fixed)) when = fixed;
    std::tm local{};
    if (const std::tm* converted = std::localtime(&when)) local = *converted;
    return local;
}

std::string FormatSysDate(const std::tm& when, bool usDisplay) {
    const int year = when.tm_year + 1900;
    if (usDisplay) {
        const int shortYear = year < 2000 ? year - 1900 : year - 2000;
        return StrFormat("%2.2d/%2.2d/%2.2d", when.tm_mon + 1, when.tm_mday, shortYear);
    }
    const int month = when.tm_mon >= 0 && when.tm_mon < 12 ? when.tm_mon : 0;
    return StrFormat("%s %2.2d, %d", kMonths[month], when.tm_mday, year);
}

std::string FormatSysTime(const std::tm& when, bool usDisplay) {
    if (!usDisplay) return StrFormat("%2.2d:%2.2d", when.tm_hour, when.tm_min);
    const int hour = when.tm_hour;
    const int shown = hour > 12 ? hour - 12 : hour;
    return StrFormat("%2.2d:%2.2d %s", shown, when.tm_min, hour >= 12 ? "PM" : "AM");
}

}  // namespace webquill
