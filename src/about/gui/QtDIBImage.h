#pragma once
// 8-bit pictures of the about box as Qt images.
#include "DIBUtils.h"

#include <QImage>

namespace quillon {

// The picture with its palette; the palette index key, when given (0..255), becomes fully transparent.
QImage DIBToImage(const TEffectBitmap& bitmap, int key = -1);

// The program's logo emblem (resources 2001 and 2003) on a transparent background.
QImage ProgramLogo();

} // namespace quillon
