#pragma once
// Cell memories: every distinct 16 x 16 cell of a character gets a cell number, by first
// appearance; repeated cells are recognised by content, and the blank cell (all key colour) is
// never stored. At the end the cells are laid out in the cell sheet, cell k at column k mod w and
// row k div w of cells, w the sheet width in cells.
//
// Four kinds: 24-bit cells (three bytes blue, green, red a pixel) or 8-bit cells (palette
// indexes); 16-bit cell numbers with a capacity (classic sheets, 40 cells wide) or 32-bit numbers
// without one (Vantor sheets, 32 cells wide). Invariants: no two stored cells are equal, none
// equals the blank cell, and the numbers are 0, 1, 2 ... in the order of first appearance.
// Lookup goes through a hash map of the cell bytes, so a run stays linear in its cells.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillon {

constexpr int CellSize = 16; // pixels on each side of a cell

template <std::size_t NBytes, typename TNumber> struct TCellMemoryT {
    std::array<std::uint8_t, NBytes> Bytes; // 16 rows from the top, 16 pixels each
    TNumber CellNumber;
};

template <std::size_t NBytes, typename TNumber, int NSheetCells> class TCellMemoryListT {
public:
    using TCell = TCellMemoryT<NBytes, TNumber>;
    using TCellNumber = TNumber;
    static constexpr std::size_t CellBytes = NBytes;
    static constexpr std::size_t RowBytes = NBytes / CellSize; // bytes of one cell row
    static constexpr bool HasCapacity = sizeof(TNumber) < 4;
    static constexpr TNumber BlankNumber = std::numeric_limits<TNumber>::max();
    static constexpr int SheetCells = NSheetCells; // cells per sheet row

    TCellMemoryListT(TNumber capacity, const std::uint8_t* blank) requires HasCapacity : FCapacity(capacity) {
        std::memcpy(FBlankCell.data(), blank, NBytes);
    }
    explicit TCellMemoryListT(const std::uint8_t* blank) requires(!HasCapacity) {
        std::memcpy(FBlankCell.data(), blank, NBytes);
    }
    TCellMemoryListT(const TCellMemoryListT&) = delete;
    TCellMemoryListT& operator=(const TCellMemoryListT&) = delete;

    int Count() const { return static_cast<int>(FCells.size()); }
    TNumber Capacity() const { return FCapacity; }
    const std::uint8_t* BlankCell() const { return FBlankCell.data(); }

    // Gives cell its number: the blank number for the blank cell, the earlier number for a cell
    // already held, else the next number. False only when a list with capacity is full.
    bool Add(const std::uint8_t* cell, TNumber& number) {
        if (std::memcmp(cell, FBlankCell.data(), NBytes) == 0) {
            number = BlankNumber;
            return true;
        }
        std::string_view key(reinterpret_cast<const char*>(cell), NBytes);
        if (auto found = FIndex.find(key); found != FIndex.end()) {
            number = found->second;
            return true;
        }
        if (HasCapacity && FCapacity < FCells.size()) return false;
        auto stored = std::make_unique<TCell>();
        std::memcpy(stored->Bytes.data(), cell, NBytes);
        stored->CellNumber = static_cast<TNumber>(FCells.size());
        number = stored->CellNumber;
        FIndex.emplace(std::string_view(reinterpret_cast<const char*>(stored->Bytes.data()), NBytes), number);
        FCells.push_back(std::move(stored));
        return true;
    }

    // Copies every cell into the sheet whose top row is at top, rowStep bytes from a row to the
    // row below. Places where no cell goes keep their pixels.
    void WriteTo(std::uint8_t* top, std::ptrdiff_t rowStep) const {
        for (const auto& cell : FCells) {
            std::size_t k = cell->CellNumber;
            std::ptrdiff_t x = static_cast<std::ptrdiff_t>(k % NSheetCells) * RowBytes;
            std::ptrdiff_t y = static_cast<std::ptrdiff_t>(k / NSheetCells) * CellSize;
            for (int r = 0; r < CellSize; ++r)
                std::memcpy(top + (y + r) * rowStep + x, cell->Bytes.data() + r * RowBytes, RowBytes);
        }
    }

private:
    std::array<std::uint8_t, NBytes> FBlankCell;
    TNumber FCapacity = BlankNumber;                      // the highest number it may give (lists with capacity)
    std::vector<std::unique_ptr<TCell>> FCells;           // index = cell number
    std::unordered_map<std::string_view, TNumber> FIndex; // views into FCells' bytes
};

using TCellMemory = TCellMemoryT<768, std::uint16_t>;
using TCellMemory256 = TCellMemoryT<256, std::uint16_t>;
using TCellMemoryVantor = TCellMemoryT<768, std::uint32_t>;
using TCellMemory256Vantor = TCellMemoryT<256, std::uint32_t>;

using TCellMemoryList = TCellMemoryListT<768, std::uint16_t, 40>;
using TCellMemory256List = TCellMemoryListT<256, std::uint16_t, 40>;
using TCellMemoryVantorList = TCellMemoryListT<768, std::uint32_t, 32>;
using TCellMemory256VantorList = TCellMemoryListT<256, std::uint32_t, 32>;

} // namespace quillon
