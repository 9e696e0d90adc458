#pragma once
// The character picture: a character bitmap (a sheet of 16 x 16 cells) with its pattern, drawing
// any frame of the pattern into the 32-bit game-screen target.
//
// The sheet's cells are numbered row by row from its top-left; TCharSoftRender re-lays them in a
// strip 512 pixels wide, 32 cells to a row, so that cell k sits at strip column (k and 31) * 16
// and strip row (k shr 5) * 16, and a run of consecutive cells within one strip row is one
// rectangle of the strip. The sheet's top-left colour is transparent.
#include "Images.h"
#include "Pattern.h"

#include <filesystem>

namespace quillon {

class TBaseCharImage {
public:
    virtual ~TBaseCharImage() = default;

    TVantorPattern& Pattern() { return FPattern; }
    const TVantorPattern& Pattern() const { return FPattern; }

    // Clears, then loads the bitmap and the pattern file (either format). False, and the picture
    // cleared, when the bitmap cannot be read or the pattern file cannot be opened, read or parsed.
    bool LoadFromFiles(const std::filesystem::path& bitmapName, const std::filesystem::path& patternName,
                       const TColorTable* palette);

    // Reads the character bitmap; palette, when given, replaces the file's.
    virtual bool LoadImage(const std::filesystem::path& name, const TColorTable* palette) = 0;
    virtual void Clear() { FPattern.Clear(); }
    // Draws frame frameNumber (nothing for a negative number or one the pattern does not hold) so
    // that the pattern's screen point (160, 0) lands on (x, y); flags dfMirror reflect the frame
    // about that vertical line, dfFlip about its axis; zoom enlarges the game screen.
    virtual void DrawFrame(const TRenderTarget& target, int zoom, int x, int y, int frameNumber,
                           const TColorTable* palette, int flags, int mode, int alpha) = 0;

protected:
    TVantorPattern FPattern;
};

class TCharSoftRender : public TBaseCharImage {
public:
    ~TCharSoftRender() override { TCharSoftRender::Clear(); }

    const TSoftRender& Strip() const { return FStrip; }

    bool LoadImage(const std::filesystem::path& name, const TColorTable* palette) override;
    void Clear() override;
    void DrawFrame(const TRenderTarget& target, int zoom, int x, int y, int frameNumber, const TColorTable* palette,
                   int flags, int mode, int alpha) override;

private:
    TSoftRender FStrip; // keyed; 512 x pages * 512, pages = (cells + 1023) shr 10
};

} // namespace quillon
