#include "PatMake.h"

#include "AsciiText.h"
#include "CellMemory.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <map>

namespace quillon {
namespace {

namespace fs = std::filesystem;

std::string PictureMessage(const TBitmapListEntry& entry, const char* before, const std::string& after) {
    return std::string(before) + "No " + IntToStr(entry.Number) + " のファイル\r\n\"" + entry.Path.string() + "\"" +
           after;
}

// The cells of one picture on the grid (see the header): rows First..14, columns Left..Right.
struct TGrid {
    int Half, Left, Right, FirstRow;
    TGrid(int width, int height, bool classic) {
        Half = width / 2;
        int t = (width - Half + 15) / 16;
        Left = 10 - t;
        Right = t + 9;
        FirstRow = 15 - (height + 15) / 16;
        if (classic) {
            Left = std::clamp(Left, 2, 19);
            Right = std::clamp(Right, 2, 19);
            FirstRow = std::clamp(FirstRow, 0, 14);
        }
    }
};

// Joins the cells of one grid row into runs and appends them to the frame.
class TRunBuilder {
public:
    explicit TRunBuilder(TVantorPatternRectList& rects) : FRects(rects) {}

    void Blank() { Close(); }
    void Cell(std::uint32_t v, int column, int row) {
        const std::uint32_t g = v >> 5;
        if (FOpen && FGroup == g && FRun.Count >= 1 && FLast + 1 == v)
            ++FRun.Count;
        else if (FOpen && FGroup == g && FLast == v && FRun.Count == 1)
            FRun.Count = -2;
        else if (FOpen && FGroup == g && FLast == v && FRun.Count < 0)
            --FRun.Count;
        else {
            Close();
            FRun = {v, 1, 16 * column, 16 * row};
            FGroup = g;
            FOpen = true;
        }
        FLast = v;
    }
    void Close() {
        if (FOpen) FRects.Add(FRun);
        FOpen = false;
    }

private:
    TVantorPatternRectList& FRects;
    TVantorPatternRect FRun;
    bool FOpen = false;       // FRun is the current run
    std::uint32_t FGroup = 0; // the current run's first cell div 32
    std::uint32_t FLast = 0;  // the cell number added last
};

void SetBounds(TVantorPatternFrame& frame) {
    TPatternBounds b{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const TVantorPatternRect& r : frame.Rects) {
        b.Left = std::min(b.Left, r.X);
        b.Top = std::min(b.Top, r.Y);
        b.Right = std::max(b.Right, r.X + 16 * std::abs(r.Count));
        b.Bottom = std::max(b.Bottom, r.Y + 16);
    }
    frame.Bounds = b;
}

// The pictures of one run that later entries name again, each kept as the collector made it (read,
// converted and expanded), so that every file is decoded once per run however often the list names
// it. A picture is let go at its last naming: only pictures still to be cut again are held.
class TKeptPictures {
public:
    explicit TKeptPictures(const TBitmapListEntries& entries) {
        for (std::size_t i = 0; i < entries.size(); ++i) FLastNaming[Key(entries[i])] = i;
    }

    // The picture of entry i when an earlier entry made it; false when it must be read.
    bool Take(const TBitmapListEntries& entries, std::size_t i, TDIB& picture) {
        const fs::path key = Key(entries[i]);
        const auto kept = FPictures.find(key);
        if (kept == FPictures.end()) return false;
        picture.Assign(kept->second);
        if (FLastNaming.at(key) == i) FPictures.erase(kept);
        return true;
    }
    // Keeps the picture just made for entry i when a later entry names the same file.
    void Keep(const TBitmapListEntries& entries, std::size_t i, const TDIB& picture) {
        const fs::path key = Key(entries[i]);
        if (FLastNaming.at(key) > i) FPictures[key].Assign(picture);
    }

private:
    static fs::path Key(const TBitmapListEntry& entry) { return entry.Path.lexically_normal(); }

    std::map<fs::path, std::size_t> FLastNaming; // the last entry naming each file
    std::map<fs::path, TDIB> FPictures;          // shares the pixels of the pictures made
};

// One collector run over the cell memory kind TList. Classic runs (lists with capacity) use
// createMode for their limits.
template <class TList> class TCollector {
public:
    static constexpr bool EightBit = TList::CellBytes == 256;
    static constexpr bool Classic = TList::HasCapacity;
    static constexpr int PixelBytes = EightBit ? 1 : 3;

    TCollector(const TCollectProgress& progress, int createMode)
        : FProgress(progress), FMode(createMode == 0 ? 0 : 1) {}

    TCollectResult Run(const TBitmapListEntries& entries) {
        TCollectResult result;
        result.Error = Collect(entries);
        if (result.Error.empty()) {
            result.Sheet = MakeSheet();
            result.Pattern = std::move(FPattern);
        }
        return result;
    }

private:
    std::string Collect(const TBitmapListEntries& entries) {
        if (entries.empty()) return "有効なデータがありません";
        if (Classic) {
            std::int32_t highest = 0;
            for (const auto& e : entries) highest = std::max(highest, e.Number);
            if (highest > HighestPictureNumber(FMode))
                return "画像番号 " + IntToStr(highest) + " は有効な範囲を超えています";
        }
        FPattern = std::make_unique<TVantorPattern>();
        TKeptPictures kept(entries);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const TBitmapListEntry& entry = entries[i];
            bool cancel = false;
            if (FProgress) FProgress(static_cast<int>(i), entry.Number, entry.Path, cancel);
            if (cancel) return "中止";
            std::string error;
            if (!kept.Take(entries, i, FPicture)) {
                error = Load(entry);
                if (error.empty()) kept.Keep(entries, i, FPicture);
            }
            if (error.empty()) error = CutPicture(entry);
            if (!error.empty()) return error;
        }
        return {};
    }

    std::string Load(const TBitmapListEntry& entry) {
        // A picture file without any byte must not leave the previous picture in place.
        FPicture.Clear();
        try {
            FPicture.LoadFromFile(entry.Path);
        } catch (const EFOpenError&) {
            return PictureMessage(entry, "\"", "を開けません");
        } catch (const EReadError&) {
            return PictureMessage(entry, "\"", "の読み込み中にエラーが発生しました");
        } catch (const EPictureTooLarge& e) {
            return PictureMessage(entry, "\"", "は大きすぎて読み込めません\r\n" + e.Message());
        } catch (const EInvalidGraphic&) {
            return PictureMessage(entry, "\"", "の形式が正しくないかサポートされていない形式です");
        }
        const int bits = FPicture.BitCount();
        if (EightBit && bits != 8) return PictureMessage(entry, "", " は8Bitカラーの画像ではありません");
        if (!EightBit && bits != 8 && bits != 24)
            return PictureMessage(entry, "", " は8Bitまたは24Bitカラーの画像ではありません");
        if (!EightBit && bits == 8) FPicture.SetBitCount(24);
        FPicture.Decompress();
        return {};
    }

    TPictureRows Rows() const {
        return {FPicture.TopPBitsReadOnly(), FPicture.NextLine(), FPicture.Width(), FPicture.Height(), PixelBytes};
    }

    void MakeMemory() {
        const std::uint8_t* key = FPicture.TopPBitsReadOnly();
        std::memcpy(FKey, key, PixelBytes);
        if constexpr (EightBit) {
            FillBlankCell8(FBlank.data(), key[0]);
            FColorTable = FPicture.ImageColorTable();
        } else {
            FillBlankCell24(FBlank.data(), key[0], key[1], key[2]);
        }
        if constexpr (Classic)
            FMemory = std::make_unique<TList>(static_cast<std::uint16_t>(FMode == 0 ? 1799 : 65534), FBlank.data());
        else
            FMemory = std::make_unique<TList>(FBlank.data());
    }

    std::string CutPicture(const TBitmapListEntry& entry) {
        if (!FMemory) MakeMemory();
        auto frame = std::make_unique<TVantorPatternFrame>();
        frame->Number = static_cast<std::uint32_t>(entry.Number);
        frame->Width = FPicture.Width();
        frame->Height = FPicture.Height();
        frame->OffsetX = entry.XOrZero();
        frame->OffsetY = entry.YOrZero();
        frame->Reserved = 0;
        frame->FlipAxis = entry.YAxisOrNone();

        const TPictureRows rows = Rows();
        const TGrid grid(rows.Width, rows.Height, Classic);
        TRunBuilder runs(frame->Rects);
        for (int r = grid.FirstRow; r <= 14; ++r) {
            for (int c = grid.Left; c <= grid.Right; ++c) {
                CutCell(rows, 16 * c - 160 + grid.Half, rows.Height - 240 + 16 * r, FBlank.data(), FCell.data());
                typename TList::TCellNumber v;
                if (!FMemory->Add(FCell.data(), v) || !SheetFits(FMemory->Count()))
                    return PictureMessage(entry, "", " を処理中にサイズオーバーになりました");
                if (v == TList::BlankNumber)
                    runs.Blank();
                else
                    runs.Cell(v, c, r);
            }
            runs.Close();
        }
        if (frame->IsEmpty()) return {};
        frame->Rects.Sort();
        SetBounds(*frame);
        FPattern->AddFrame(std::move(frame));
        return {};
    }

    // Whether a sheet of that many cells keeps the picture-size rule.
    static bool SheetFits(std::int64_t cells) {
        constexpr int perRow = TList::SheetCells;
        return PictureSizeAllowed(perRow * CellSize,
                                  (std::max<std::int64_t>(cells, 1) + perRow - 1) / perRow * CellSize);
    }

    // Every cell once, on a sheet of at least one row of cells (1800 cells in classic mode 0);
    // places without a cell hold the key.
    std::unique_ptr<TDIB> MakeSheet() const {
        int cells = std::max(FMemory->Count(), Classic && FMode == 0 ? 1800 : 1);
        constexpr int perRow = TList::SheetCells;
        auto sheet = std::make_unique<TDIB>();
        if constexpr (EightBit) sheet->ColorTable = FColorTable;
        sheet->SetSize(perRow * 16, (cells + perRow - 1) / perRow * 16, EightBit ? 8 : 24);
        for (int y = 0; y < sheet->Height(); ++y) {
            std::uint8_t* row = sheet->ScanLine(y);
            for (int x = 0; x < sheet->Width(); ++x) std::memcpy(row + x * PixelBytes, FKey, PixelBytes);
        }
        FMemory->WriteTo(sheet->TopPBits(), sheet->NextLine());
        return sheet;
    }

    const TCollectProgress& FProgress;
    const int FMode; // 0 or 1: the classic limits
    TDIB FPicture;   // the entry being cut: read from its file, or shared with an earlier naming
    std::unique_ptr<TVantorPattern> FPattern;
    std::unique_ptr<TList> FMemory; // made with the first picture
    std::uint8_t FKey[3] = {};      // the key pixel's bytes (PixelBytes of them)
    TColorTable FColorTable{};      // the first picture's (8-bit collectors)
    std::array<std::uint8_t, TList::CellBytes> FBlank{}, FCell{};
};

} // namespace

void CutCell(const TPictureRows& picture, int x, int y, const std::uint8_t* blankCell, std::uint8_t* cell) {
    const int bpp = picture.PixelBytes;
    const int rowBytes = 16 * bpp;
    if (x < 0 || y < 0 || x + 16 > picture.Width || y + 16 > picture.Height)
        std::memcpy(cell, blankCell, 16 * rowBytes);
    const int x0 = std::max(x, 0), x1 = std::min(x + 16, picture.Width);
    const int y0 = std::max(y, 0), y1 = std::min(y + 16, picture.Height);
    for (int py = y0; py < y1 && x0 < x1; ++py)
        std::memcpy(cell + (py - y) * rowBytes + (x0 - x) * bpp, picture.Top + py * picture.RowStep + x0 * bpp,
                    static_cast<std::size_t>((x1 - x0) * bpp));
}

void FillBlankCell24(std::uint8_t* cell, std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    for (int i = 0; i < 256; ++i) {
        cell[3 * i] = blue;
        cell[3 * i + 1] = green;
        cell[3 * i + 2] = red;
    }
}

void FillBlankCell8(std::uint8_t* cell, std::uint8_t index) { std::memset(cell, index, 256); }

TCollectResult CollectPatternCells(const TBitmapListEntries& entries, const TCollectProgress& progress,
                                   int createMode) {
    return TCollector<TCellMemoryList>(progress, createMode).Run(entries);
}

TCollectResult CollectPatternCells256(const TBitmapListEntries& entries, const TCollectProgress& progress,
                                      int createMode) {
    return TCollector<TCellMemory256List>(progress, createMode).Run(entries);
}

TCollectResult CollectVantorPatternCells(const TBitmapListEntries& entries, const TCollectProgress& progress) {
    return TCollector<TCellMemoryVantorList>(progress, 2).Run(entries);
}

TCollectResult CollectVantorPatternCells256(const TBitmapListEntries& entries, const TCollectProgress& progress) {
    return TCollector<TCellMemory256VantorList>(progress, 2).Run(entries);
}

} // namespace quillon
