// Reversible scrambling of stored passwords (rule files and FTP sites).
#pragma once

#include <string>
#include <string_view>

namespace webquill {

std::string ScramblePassword(std::string_view plain);
// Codes of 128 and below stand as they are, so a password stored in plain
// text reads back unchanged.
std::string UnscramblePassword(std::string_view scrambled);

// The passwords that read back as they were stored: printable ASCII only
// (any other byte scrambles to a code the unscrambling takes as plain), at
// most 4095 bytes.
bool IsStorablePassword(std::string_view plain);

}  // namespace webquill
