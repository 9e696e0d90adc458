#pragma once
// Small text helpers over byte strings, independent of the locale: ASCII blanks, decimal and
// hexadecimal numbers, comma text.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// Removes bytes of code 32 or less from both ends / the start / the end.
std::string_view Trim(std::string_view text);
std::string_view TrimLeft(std::string_view text);
std::string_view TrimRight(std::string_view text);

// A decimal integer with an optional sign and nothing else; nothing when the text is not one or
// does not fit in 32 bits.
std::optional<std::int32_t> StrToInt(std::string_view text);
std::int32_t StrToIntDef(std::string_view text, std::int32_t def);
// An integer as the class library reads one: StrToInt's, or an optional sign and then up to eight
// hexadecimal digits after "$" (taken as a 32-bit pattern).
std::optional<std::int32_t> StrToIntOrHex(std::string_view text);

// Decimal text of a number, and upper-case hexadecimal padded with zeros to at least digits.
std::string IntToStr(std::int64_t value);
std::string IntToHex(std::uint64_t value, int digits);

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace quillon

namespace quillon {

// The string list's comma text: items joined by ","; an item holding a blank, a comma, a double
// quote or a control character is enclosed in double quotes with its quotes doubled.
std::string ToCommaText(const std::vector<std::string>& items);
// The reverse; outside quotes, commas and characters of code 32 or less separate items.
std::vector<std::string> FromCommaText(std::string_view text);

} // namespace quillon
