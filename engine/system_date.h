// The run's date and time values for %%sysdate%% and %%systime%%.
#pragma once

#include <ctime>
#include <string>

namespace webquill {

// Local time now, or of the moment SOURCE_DATE_EPOCH names when it holds a
// number, so that reproducible builds publish the same pages twice.
std::tm RunLocalTime();

std::string FormatSysDate(const std::tm& when, bool usDisplay);
std::string FormatSysTime(const std::tm& when, bool usDisplay);

}  // namespace webquill
