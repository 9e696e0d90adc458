#pragma once
// A text rewritten by replacements made from one end to the other. Its bytes have a gap where a
// replacement is made, so that the rest of the text does not move when the replacement's length
// differs from the replaced bytes'; searched forwards, the text is read from the gap on, backwards
// up to it.
#include <cstddef>
#include <string>
#include <string_view>

namespace quillon {

class TGapText {
public:
    explicit TGapText(bool Backward) : FBackward(Backward) {}
    // Text becomes the text (swapped: Text gets the bytes held before), with an empty gap where the
    // reading starts: at the start forwards, at the end backwards.
    void Take(std::string& Text) {
        FBytes.swap(Text);
        FGap = FGapEnd = FBackward ? FBytes.size() : 0;
    }
    std::size_t Size() const { return FBytes.size() - (FGapEnd - FGap); }
    // The part of the text that is read, and the offset of its first byte in the text.
    std::string_view Read() const {
        const std::string_view bytes = FBytes;
        return FBackward ? bytes.substr(0, FGap) : bytes.substr(FGapEnd);
    }
    std::size_t Base() const { return FBackward ? 0 : FGap; }
    // Moves the gap to the offset Pos (at most the end), moving only the bytes in between.
    void MoveGap(std::size_t Pos);
    // The Length bytes at Pos become With, the gap staying on its side of them: only the bytes between
    // them move. A gap too small for With grows by at least the whole text, so the text moves only as
    // often as its length doubles.
    void Replace(std::size_t Pos, std::size_t Length, std::string_view With);
    // The offset of the first byte C at or after From, npos when there is none.
    std::size_t Find(char C, std::size_t From) const;
    // The whole text, the gap closed.
    std::string Text() &&;

private:
    std::string FBytes;
    std::size_t FGap = 0, FGapEnd = 0; // the gap's bytes [FGap, FGapEnd) of FBytes
    const bool FBackward;
};

} // namespace quillon
