#pragma once
// The font families of the screen as a font list offers them.
#include <QStringList>

namespace quillon {

// The families in the font database's order, never one whose name begins with "@". Without
// VariablePitch only the families whose characters sit on fixed cells: fixed-pitch ones and the
// dual-width ones (the Japanese monospace fonts, whose double-byte characters are two cells wide),
// as fontconfig tells their spacing.
QStringList FontFamilies(bool VariablePitch);

} // namespace quillon
