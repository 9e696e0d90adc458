#pragma once
// The pattern model: for every frame (picture number) the runs of 16 x 16 cells of the character
// bitmap that make it up on the 320 x 240 game screen, and its two file formats.
//
// Classic files are a sequence of 600-byte blocks, block n holding frame n as 15 rows of 20
// little-endian words (columns 0 and 1 carry the row's used range, 2..19 the cell numbers,
// 65535 = none). Vantor files begin with "ZPAT" and hold a record per frame with its runs.
// One reader takes both, telling them apart by content: a classic file cannot begin with the
// magic, since its first two words are at most 19.
#include "Errors.h"
#include "Streams.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

namespace quillon {

// Malformed or short pattern data.
class EInvalidCharPattern : public Exception {
public:
    EInvalidCharPattern() : Exception("不正なパターンデータです") {}
};

// A list refused an operation (a duplicate frame number).
class EListError : public Exception {
public:
    using Exception::Exception;
};

// One run of cells: Count n > 0 is the cells Cell..Cell+n-1 side by side to the right; Count -n
// is the one cell Cell repeated n times; 0 is no cell. (X, Y) is the first cell's top-left pixel.
struct TVantorPatternRect {
    std::uint32_t Cell = 0xFFFFFFFF;
    std::int32_t Count = 0;
    std::int32_t X = 0;
    std::int32_t Y = 0;

    void Clear() { *this = TVantorPatternRect(); }
};

class TVantorPatternRectList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    const TVantorPatternRect& Items(int index) const { return FItems[index]; }
    TVantorPatternRect& Items(int index) { return FItems[index]; }
    int Add(const TVantorPatternRect& rect);
    void Clear() { FItems.clear(); }
    // Ascending by Cell (unsigned); runs of equal Cell keep their order, so files are deterministic.
    void Sort();

    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    std::vector<TVantorPatternRect> FItems;
};

struct TPatternBounds {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

constexpr std::int32_t NoFlipAxis = 0x7FFFFFFF;
// No run holds more cells than this (readers refuse more): far beyond any screen, small enough
// that no position derived from a run overflows.
constexpr std::int64_t MaxRunCells = 65535;

class TVantorPatternFrame {
public:
    std::uint32_t Number = 0xFFFFFFFF;
    TVantorPatternRectList Rects;
    std::int32_t Width = 0, Height = 0;
    std::int32_t OffsetX = 0, OffsetY = 0;
    std::int32_t Reserved = 0;
    std::int32_t FlipAxis = NoFlipAxis; // pixels above the bottom edge; NoFlipAxis: the middle of Bounds
    TPatternBounds Bounds;              // smallest rectangle holding every run (set by the readers)

    void Clear() { *this = TVantorPatternFrame(); }
    bool IsEmpty() const { return Rects.Count() == 0; }

    // One classic block of 600 bytes / one Vantor frame record; EInvalidCharPattern when malformed.
    void LoadFromCharData(TStream& stream);
    void LoadFromStream(TStream& stream);
    void SaveToCharData(TStream& stream) const;
    void SaveToStream(TStream& stream) const;

private:
    void SortAndBound();
};

class TVantorPattern {
public:
    static constexpr std::uint32_t DefaultVersion = 0x01010000;

    std::uint32_t Version = DefaultVersion;
    std::int32_t Scale = 1; // 1, 2 or 3: runs are laid out at Scale times the screen's resolution

    void Clear();
    int Count() const { return static_cast<int>(FFrames.size()); }
    const TVantorPatternFrame& Frames(int index) const { return *FFrames[index]; }

    const TVantorPatternFrame* FindFrame(std::uint32_t number) const;
    // Inserts at the frame's sorted place and returns its index; EListError for a number already held.
    int AddFrame(std::unique_ptr<TVantorPatternFrame> frame);
    // A deep copy of source's frames (Version and Scale included).
    void Assign(const TVantorPattern& source);

    void LoadFromStream(TStream& stream);
    void LoadFromFile(const std::filesystem::path& name);
    void SaveToStream(TStream& stream) const; // the Vantor format
    void SaveToFile(const std::filesystem::path& name) const;
    void SaveToCharStream(TStream& stream) const; // the classic format
    void SaveToCharFile(const std::filesystem::path& name) const;

private:
    // Index of the frame with that number, or of the place it would be inserted, and whether found.
    std::pair<int, bool> Search(std::uint32_t number) const;
    void LoadVantor(TStream& stream);
    void LoadClassic(TStream& stream);

    std::vector<std::unique_ptr<TVantorPatternFrame>> FFrames; // ascending Number, no two equal
};

} // namespace quillon
