#pragma once
// Code page 932 (Shift-JIS with the NEC and IBM extensions) and UTF-8.
// Lists, patterns and hint files are held as CP932 bytes; text meets Qt and the file system as UTF-8.
#include <string>
#include <string_view>

namespace quillon {

// A byte that starts a double-byte character (0x81-0x9F, 0xE0-0xFC).
constexpr bool IsLeadByte(unsigned char b) noexcept { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
constexpr bool IsLeadByte(char b) noexcept { return IsLeadByte(static_cast<unsigned char>(b)); }

// Bytes that do not decode become U+FFFD, one per undecodable byte or pair.
std::string Cp932ToUtf8(std::string_view cp932);

// Characters that CP932 does not have become "?"; *lossy (when given) tells whether that happened.
std::string Utf8ToCp932(std::string_view utf8, bool* lossy = nullptr);

// The length of text's longest prefix that is well-formed UTF-8 (no overlong forms, surrogates or
// code points past U+10FFFF), and whether all of it is.
size_t Utf8PrefixLength(std::string_view text);
bool IsUtf8(std::string_view text);

// A file name's bytes as UTF-8 text to show: a UTF-8 name as it is, any other decoded as CP932.
std::string FileNameToUtf8(std::string_view name);

} // namespace quillon
