#pragma once
// The picture set of a motion list: the character bitmap and the pattern file that sit beside it.
//
// The list's name tells the edition and a suffix: MOTION.LST and MOTION1.LST .. MOTION7.LST are
// classic, ZMOTION.LST and ZMOTION1.LST .. ZMOTION7.LST Vantor; any other name has no edition and
// no suffix. A classic list whose folder also holds a Vantor motion list, and a list of no
// edition, look for CHARA<suffix>.BMP and PATTERN<suffix>.PAT; every other list looks for the
// Vantor names first (ZCHARA, ZPATTERN .ZPT and .PAT) and falls back to the classic ones. Every
// name is looked up ignoring case; the last name of each chain is used even when it is missing.
#include "CharImages.h"

#include <filesystem>
#include <memory>

namespace quillon {

struct TPictureSetNames {
    std::filesystem::path Bitmap, Pattern; // both empty for an unnamed list
};

TPictureSetNames FindPictureSet(const std::filesystem::path& listFileName);

// The character picture of the set, or nothing when the list is unnamed or the bitmap or the
// pattern cannot be loaded. Never throws.
std::unique_ptr<TCharSoftRender> LoadPictureSet(const std::filesystem::path& listFileName);

} // namespace quillon
