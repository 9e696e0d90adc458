#include "Pattern.h"

#include <algorithm>
#include <array>

namespace quillon {

namespace {

constexpr int BlockRows = 15;                           // screen rows of 16 pixels
constexpr int BlockColumns = 20;                        // words per row: used range, then columns 2..19
constexpr int BlockSize = BlockRows * BlockColumns * 2; // 600 bytes
constexpr std::uint16_t NoCell = 65535;
constexpr std::int64_t MinClassicBlocks = 256;
constexpr std::int64_t MaxClassicBlocks = 65535; // the writer's largest file: frame 65534
constexpr std::uint32_t OldVersion = 0x01000000;
constexpr char Magic[4] = {'Z', 'P', 'A', 'T'};

using TBlock = std::array<std::array<std::uint16_t, BlockColumns>, BlockRows>;

void Require(bool condition) {
    if (!condition) throw EInvalidCharPattern();
}

// Reads count bytes that must be there.
void ReadChecked(TStream& stream, void* buffer, std::size_t count) {
    Require(stream.Remaining() >= static_cast<std::int64_t>(count));
    stream.ReadBuffer(buffer, count);
}

std::uint32_t ReadCheckedUInt32(TStream& stream) {
    Require(stream.Remaining() >= 4);
    return stream.ReadUInt32();
}

std::int64_t Magnitude(std::int32_t count) { return count < 0 ? -static_cast<std::int64_t>(count) : count; }

// The cell number's row in the character picture's strip of 32 cells per row.
std::uint32_t StripRow(std::uint32_t cell) { return cell / 32; }

// Offsets are stored as value - 1 in 16 bits, so that 0 reads back from an empty word (65535).
std::int32_t OffsetFromWord(std::uint16_t word) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(word + 1));
}
std::uint16_t OffsetToWord(std::int32_t offset) { return static_cast<std::uint16_t>(offset - 1); }

// In row 0 the words of columns 18 and 19 hold OffsetX and OffsetY when no cell uses them.
bool OffsetXStored(const std::array<std::uint16_t, BlockColumns>& row) { return row[0] > 18 || row[1] < 18; }
bool OffsetYStored(const std::array<std::uint16_t, BlockColumns>& row) { return row[1] < 19; }

TBlock EmptyBlock() {
    TBlock block;
    for (auto& row : block) {
        row.fill(NoCell);
        row[0] = row[1] = 0;
    }
    return block;
}

// Walks one row's used columns and appends its runs: ascending cells within one strip row grow a
// run, a repeated cell becomes a repeated run, and a gap or anything else starts a new run.
void DecodeRow(const std::array<std::uint16_t, BlockColumns>& row, int r, TVantorPatternRectList& rects) {
    int first = std::min<int>(row[0], BlockColumns - 1);
    int last = std::max(std::min<int>(row[1], BlockColumns - 1), first);
    TVantorPatternRect run;
    bool open = false;
    for (int c = first; c <= last; ++c) {
        std::uint32_t v = row[c];
        if (v == NoCell) {
            if (open) rects.Add(run);
            open = false;
            continue;
        }
        if (open && run.Count >= 1 && run.Cell + static_cast<std::uint32_t>(run.Count) == v &&
            StripRow(run.Cell) == StripRow(v)) {
            ++run.Count;
        } else if (open && run.Count == 1 && run.Cell == v) {
            run.Count = -2;
        } else if (open && run.Count < 0 && run.Cell == v) {
            --run.Count;
        } else {
            if (open) rects.Add(run);
            run = {v, 1, 16 * c, 16 * r};
            open = true;
        }
    }
    if (open) rects.Add(run);
}

} // namespace

int TVantorPatternRectList::Add(const TVantorPatternRect& rect) {
    FItems.push_back(rect);
    return Count() - 1;
}

void TVantorPatternRectList::Sort() {
    std::stable_sort(FItems.begin(), FItems.end(),
                     [](const TVantorPatternRect& a, const TVantorPatternRect& b) { return a.Cell < b.Cell; });
}

// Sorts the runs and derives Bounds; a run whose extent does not fit in 32 bits is invalid data.
void TVantorPatternFrame::SortAndBound() {
    Rects.Sort();
    std::int64_t left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
    for (const TVantorPatternRect& run : Rects) {
        Require(Magnitude(run.Count) <= MaxRunCells);
        left = std::min<std::int64_t>(left, run.X);
        top = std::min<std::int64_t>(top, run.Y);
        right = std::max<std::int64_t>(right, run.X + 16 * Magnitude(run.Count));
        bottom = std::max<std::int64_t>(bottom, std::int64_t{run.Y} + 16);
    }
    Require(right <= INT32_MAX && bottom <= INT32_MAX);
    Bounds = {static_cast<std::int32_t>(left), static_cast<std::int32_t>(top), static_cast<std::int32_t>(right),
              static_cast<std::int32_t>(bottom)};
}

void TVantorPatternFrame::LoadFromCharData(TStream& stream) {
    Clear();
    Require(stream.Remaining() % BlockSize == 0);
    std::uint8_t bytes[BlockSize];
    ReadChecked(stream, bytes, BlockSize);
    TBlock block;
    for (int r = 0; r < BlockRows; ++r)
        for (int c = 0; c < BlockColumns; ++c) {
            const std::uint8_t* p = bytes + 40 * r + 2 * c;
            block[r][c] = static_cast<std::uint16_t>(p[0] | p[1] << 8);
        }
    Width = 320;
    Height = 240;
    if (OffsetXStored(block[0])) OffsetX = OffsetFromWord(block[0][18]);
    if (OffsetYStored(block[0])) OffsetY = OffsetFromWord(block[0][19]);
    for (int r = 0; r < BlockRows; ++r)
        if (block[r][0] > 1) DecodeRow(block[r], r, Rects);
    if (!IsEmpty()) SortAndBound();
}

void TVantorPatternFrame::SaveToCharData(TStream& stream) const {
    TBlock block = EmptyBlock();
    for (const TVantorPatternRect& run : Rects) {
        std::int64_t c0 = run.X / 16, r = run.Y / 16, n = Magnitude(run.Count);
        if (r < 0 || r >= BlockRows) continue;
        auto& row = block[r];
        for (std::int64_t k = std::max<std::int64_t>(0, 2 - c0); k < n && c0 + k < BlockColumns; ++k) {
            std::int64_t cell = run.Count < 0 ? std::int64_t{run.Cell} : run.Cell + k;
            if (cell < NoCell) row[c0 + k] = static_cast<std::uint16_t>(cell);
        }
    }
    for (auto& row : block) {
        for (int c = 2; c < BlockColumns; ++c)
            if (row[c] != NoCell) {
                if (row[0] == 0) row[0] = static_cast<std::uint16_t>(c);
                row[1] = static_cast<std::uint16_t>(c);
            }
    }
    auto& row0 = block[0];
    if (row0[19] == NoCell && OffsetYStored(row0)) row0[19] = OffsetToWord(OffsetY);
    if (row0[18] == NoCell && OffsetXStored(row0)) row0[18] = OffsetToWord(OffsetX);
    std::uint8_t bytes[BlockSize];
    for (int r = 0; r < BlockRows; ++r)
        for (int c = 0; c < BlockColumns; ++c) {
            bytes[40 * r + 2 * c] = static_cast<std::uint8_t>(block[r][c]);
            bytes[40 * r + 2 * c + 1] = static_cast<std::uint8_t>(block[r][c] >> 8);
        }
    stream.WriteBuffer(bytes, BlockSize);
}

void TVantorPatternFrame::LoadFromStream(TStream& stream) {
    Clear();
    std::uint32_t number = ReadCheckedUInt32(stream);
    std::uint32_t count = ReadCheckedUInt32(stream);
    if (count == 0) return;
    std::int32_t values[6];
    for (std::int32_t& value : values) value = static_cast<std::int32_t>(ReadCheckedUInt32(stream));
    Require(stream.Remaining() / 16 >= count);
    for (std::uint32_t i = 0; i < count; ++i) {
        TVantorPatternRect run;
        run.Cell = stream.ReadUInt32();
        run.Count = stream.ReadInt32();
        run.X = stream.ReadInt32();
        run.Y = stream.ReadInt32();
        Rects.Add(run);
    }
    SortAndBound();
    Number = number;
    Width = values[0];
    Height = values[1];
    OffsetX = values[2];
    OffsetY = values[3];
    Reserved = values[4];
    FlipAxis = values[5];
}

void TVantorPatternFrame::SaveToStream(TStream& stream) const {
    stream.WriteUInt32(Number);
    stream.WriteUInt32(static_cast<std::uint32_t>(Rects.Count()));
    if (IsEmpty()) return;
    for (std::int32_t value : {Width, Height, OffsetX, OffsetY, Reserved, FlipAxis}) stream.WriteInt32(value);
    for (const TVantorPatternRect& run : Rects) {
        stream.WriteUInt32(run.Cell);
        stream.WriteInt32(run.Count);
        stream.WriteInt32(run.X);
        stream.WriteInt32(run.Y);
    }
}

void TVantorPattern::Clear() {
    Version = DefaultVersion;
    Scale = 1;
    FFrames.clear();
}

std::pair<int, bool> TVantorPattern::Search(std::uint32_t number) const {
    auto it = std::lower_bound(FFrames.begin(), FFrames.end(), number,
                               [](const auto& frame, std::uint32_t n) { return frame->Number < n; });
    return {static_cast<int>(it - FFrames.begin()), it != FFrames.end() && (*it)->Number == number};
}

const TVantorPatternFrame* TVantorPattern::FindFrame(std::uint32_t number) const {
    auto [index, found] = Search(number);
    return found ? FFrames[index].get() : nullptr;
}

int TVantorPattern::AddFrame(std::unique_ptr<TVantorPatternFrame> frame) {
    auto [index, found] = Search(frame->Number);
    if (found) throw EListError("パターンに重複データを追加しようとしました");
    FFrames.insert(FFrames.begin() + index, std::move(frame));
    return index;
}

void TVantorPattern::Assign(const TVantorPattern& source) {
    if (&source == this) return;
    Clear();
    Version = source.Version;
    Scale = source.Scale;
    for (const auto& frame : source.FFrames) FFrames.push_back(std::make_unique<TVantorPatternFrame>(*frame));
}

void TVantorPattern::LoadFromStream(TStream& stream) {
    Clear();
    char head[4];
    ReadChecked(stream, head, 4);
    if (std::equal(head, head + 4, Magic)) {
        LoadVantor(stream);
    } else {
        stream.Seek(-4, soCurrent);
        LoadClassic(stream);
    }
}

void TVantorPattern::LoadVantor(TStream& stream) {
    std::uint32_t version = ReadCheckedUInt32(stream);
    Require(version == OldVersion || version == DefaultVersion);
    std::uint32_t scale = version >= DefaultVersion ? ReadCheckedUInt32(stream) : 1;
    Require(scale <= 3);
    scale = std::max<std::uint32_t>(scale, 1);
    std::uint32_t count = ReadCheckedUInt32(stream);
    Require(stream.Remaining() / 8 >= count); // a record is at least 8 bytes
    TVantorPatternFrame work;
    for (std::uint32_t i = 0; i < count; ++i) {
        work.LoadFromStream(stream);
        if (work.IsEmpty()) continue;
        Require(FindFrame(work.Number) == nullptr);
        AddFrame(std::make_unique<TVantorPatternFrame>(work));
    }
    if (count != 0) Scale = static_cast<std::int32_t>(scale);
}

void TVantorPattern::LoadClassic(TStream& stream) {
    std::int64_t remaining = stream.Remaining();
    Require(remaining % BlockSize == 0);
    std::int64_t blocks = remaining / BlockSize;
    Require(blocks >= MinClassicBlocks && blocks <= MaxClassicBlocks);
    TVantorPatternFrame work;
    for (std::int64_t n = 0; n < blocks; ++n) {
        work.LoadFromCharData(stream);
        if (work.IsEmpty()) continue;
        work.Number = static_cast<std::uint32_t>(n);
        FFrames.push_back(std::make_unique<TVantorPatternFrame>(work)); // ascending by construction
    }
}

void TVantorPattern::LoadFromFile(const std::filesystem::path& name) {
    TFileStream stream(name, fmOpenRead);
    LoadFromStream(stream);
}

void TVantorPattern::SaveToStream(TStream& stream) const {
    stream.WriteBuffer(Magic, 4);
    stream.WriteUInt32(Version);
    if (Version >= DefaultVersion) stream.WriteInt32(Scale);
    auto filled = std::count_if(FFrames.begin(), FFrames.end(), [](const auto& frame) { return !frame->IsEmpty(); });
    stream.WriteUInt32(static_cast<std::uint32_t>(filled));
    for (const auto& frame : FFrames)
        if (!frame->IsEmpty()) frame->SaveToStream(stream);
}

void TVantorPattern::SaveToFile(const std::filesystem::path& name) const {
    TFileStream stream(name, fmCreate);
    SaveToStream(stream);
    stream.Close();
}

void TVantorPattern::SaveToCharStream(TStream& stream) const {
    const TVantorPatternFrame empty;
    std::uint64_t written = 0;
    for (const auto& frame : FFrames) {
        for (; written < frame->Number; ++written) empty.SaveToCharData(stream);
        frame->SaveToCharData(stream);
        ++written;
    }
    for (; written < MinClassicBlocks; ++written) empty.SaveToCharData(stream);
}

void TVantorPattern::SaveToCharFile(const std::filesystem::path& name) const {
    TFileStream stream(name, fmCreate);
    SaveToCharStream(stream);
    stream.Close();
}

} // namespace quillon
