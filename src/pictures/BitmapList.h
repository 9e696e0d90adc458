#pragma once
// Bitmap lists: the numbered pictures from which the character maker builds a character.
//
// A data line is "number[:Y[:X[:axis]]] file name": the head runs to the first space (a tab does
// not separate), each field of the head may be empty, and the file name (CP932 in the list) is
// taken relative to the list's folder unless it names a drive.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

constexpr std::int32_t NoYAxis = 2147483647;

// One accepted line. An offset or axis that the line left empty or omitted is nothing.
struct TBitmapListEntry {
    std::int32_t Number = 0; // the picture number
    std::optional<std::int32_t> X, Y, YAxis;
    std::filesystem::path Path; // absolute unless the list gave a drive

    std::int32_t XOrZero() const { return X.value_or(0); }
    std::int32_t YOrZero() const { return Y.value_or(0); }
    std::int32_t YAxisOrNone() const { return YAxis.value_or(NoYAxis); }
};

using TBitmapListEntries = std::vector<TBitmapListEntry>;

// The highest picture number of a creation mode (0 classic, 1 extended classic, 2 Vantor).
std::int32_t HighestPictureNumber(int createMode);

// Parses the lines (CP932) of the list named listFile. On the first bad line error gets its message
// (UTF-8) and result keeps the entries of the lines before it; a list without data gets the
// no-data message. On success error is empty and result is sorted by picture number.
void ParseBitmapList(const std::filesystem::path& listFile, const std::vector<std::string>& lines,
                     TBitmapListEntries& result, std::string& error, int createMode);

} // namespace quillon
