#include "QtDIBImage.h"

#include "AboutAnimation.h"

#include <cstring>

namespace quillon {

QImage DIBToImage(const TEffectBitmap& bitmap, int key) {
    QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_Indexed8);
    QList<QRgb> colors;
    for (int i = 0; i < 256; ++i) {
        const TRGBQuad& entry = bitmap.Palette()[i];
        colors.push_back(qRgba(entry.Red, entry.Green, entry.Blue, i == key ? 0 : 255));
    }
    image.setColorTable(colors);
    for (int y = 0; y < bitmap.Height(); ++y) std::memcpy(image.scanLine(y), bitmap.ScanLine(y), bitmap.Width());
    return image;
}

QImage ProgramLogo() {
    const TResourceModule& module = ProgramResources();
    TDIBPalette palette;
    std::memcpy(
        palette.data(),
        LoadResourceData(module, TLogoAnimation::PaletteId, TLogoAnimation::ResourceType, sizeof palette).data(),
        sizeof palette);
    auto logo = Create8BitDIB(64, 64, palette);
    CopyBitsToDIB(*logo, LoadResourceData(module, TLogoAnimation::LogoId, TLogoAnimation::ResourceType, 64 * 64).data(),
                  false, 0, 0);
    return DIBToImage(*logo, TLogoAnimation::Key);
}

} // namespace quillon
