#include "QtFonts.h"

#include <QFontDatabase>
#include <QSet>

#include <fontconfig/fontconfig.h>

#include <memory>

namespace quillon {
namespace {

// Every name (in every language) of the families that have a face of mono, dual or char-cell
// spacing. Qt's own fixed-pitch test does not count a dual-width family.
QSet<QString> CellFamilies() {
    QSet<QString> names;
    const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(), FcPatternDestroy);
    const std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
        FcObjectSetBuild(FC_FAMILY, FC_SPACING, nullptr), FcObjectSetDestroy);
    if (!pattern || !objects) return names;
    const std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> fonts(
        FcFontList(nullptr, pattern.get(), objects.get()), FcFontSetDestroy);
    if (!fonts) return names;
    for (int i = 0; i < fonts->nfont; ++i) {
        int spacing = FC_PROPORTIONAL;
        if (FcPatternGetInteger(fonts->fonts[i], FC_SPACING, 0, &spacing) != FcResultMatch || spacing < FC_DUAL)
            continue;
        FcChar8* name = nullptr;
        for (int n = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, n, &name) == FcResultMatch; ++n)
            names.insert(QString::fromUtf8(reinterpret_cast<const char*>(name)));
    }
    return names;
}

} // namespace

QStringList FontFamilies(bool VariablePitch) {
    const QSet<QString> cells = VariablePitch ? QSet<QString>() : CellFamilies();
    QStringList result;
    for (const QString& family : QFontDatabase::families()) {
        if (family.startsWith(QLatin1Char('@'))) continue;
        if (!VariablePitch && !QFontDatabase::isFixedPitch(family) && !cells.contains(family)) continue;
        result.push_back(family);
    }
    return result;
}

} // namespace quillon
