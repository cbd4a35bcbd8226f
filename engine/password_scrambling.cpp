#include "engine/password_scrambling.h"

#include <array>

namespace webquill {

namespace {
// Every byte lies between 97 and 129, so a printable character scrambles to
// a code above 128 and unscrambling can tell it from plain text.
constexpr std::array<unsigned char, 8> kKey{113, 101, 127, 104, 99, 121, 108, 117};
constexpr std::size_t kMaxPassword = 4095;
}  // namespace

std::string ScramblePassword(std::string_view plain) {
    std::string out(plain.substr(0, kMaxPassword));
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char>((static_cast<unsigned char>(out[i]) + kKey[i % 8]) & 0xFF);
    return out;
}

std::string UnscramblePassword(std::string_view scrambled) {
    std::string out(scrambled.substr(0, kMaxPassword));
    std::size_t j = 0;
    for (auto& ch : out) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 128) continue;
        ch = static_cast<char>((c - kKey[j]) & 0xFF);
        j = (j + 1) % kKey.size();
    }
    return out;
}

bool IsStorablePassword(std::string_view plain) {
    if (plain.size() > kMaxPassword) return false;
    for (const char ch : plain)
        if (ch < 0x20 || ch > 0x7e) return false;
    return true;
}

}  // namespace webquill
