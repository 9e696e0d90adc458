#pragma once
// File names: absolute and clean, sameness, and case-insensitive lookup of neighbouring files.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// The absolute, normalised form of a path; symbolic links resolved as far as the path exists.
// Never throws: a path that cannot be resolved comes back absolute and lexically clean.
std::filesystem::path AbsolutePath(const std::filesystem::path& path);

// True when both name the same file (their absolute forms are equal; names are case-sensitive).
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// The file called name in folder, where ASCII letters may differ in case ("chara1.bmp" finds
// "CHARA1.BMP"); an exact match wins. Nothing when there is none or the folder cannot be read.
std::optional<std::filesystem::path> FindFileNoCase(const std::filesystem::path& folder, std::string_view name);

// A file name as a "file:" URL: "file://" and the name's bytes, each byte other than an ASCII
// letter, digit, "/", "-", ".", "_" or "~" written as "%" and two hexadecimal digits; so any name,
// UTF-8 or not, travels as ASCII text.
std::string FileUrl(std::string_view name);

// The file name's bytes of a "file:" URL ("file:" and a path, or "file://", a host and a path; a
// host other than "localhost" gives "//host/path"), percent escapes decoded; nothing for any
// other text.
std::optional<std::string> FileNameOfUrl(std::string_view url);

} // namespace quillon
