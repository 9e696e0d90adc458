#include "PictureSet.h"

#include "Paths.h"

#include <initializer_list>
#include <optional>
#include <string>

namespace quillon {

namespace fs = std::filesystem;

namespace {

enum class TEdition { None, Classic, Vantor };

std::string UpperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// "" when name is prefix + ".LST", the digit when it is prefix + "1".."7" + ".LST"; else nothing.
std::optional<std::string> MotionSuffix(const std::string& upperName, const std::string& prefix) {
    if (upperName == prefix + ".LST") return std::string();
    if (upperName.size() == prefix.size() + 5 && upperName.compare(0, prefix.size(), prefix) == 0 &&
        upperName.compare(prefix.size() + 1, 4, ".LST") == 0) {
        char digit = upperName[prefix.size()];
        if (digit >= '1' && digit <= '7') return std::string(1, digit);
    }
    return std::nullopt;
}

bool Exists(const fs::path& dir, const std::string& name) { return FindFileNoCase(dir, name).has_value(); }

// The first of names found in dir; the last one as it stands when none is.
fs::path FirstExisting(const fs::path& dir, std::initializer_list<std::string> names) {
    for (const std::string& name : names)
        if (auto found = FindFileNoCase(dir, name)) return *found;
    return dir / *(names.end() - 1);
}

} // namespace

TPictureSetNames FindPictureSet(const fs::path& listFileName) {
    if (listFileName.filename().empty()) return {};
    const fs::path dir = listFileName.parent_path();
    const std::string name = UpperAscii(listFileName.filename().string());
    TEdition edition = TEdition::None;
    std::string suffix;
    if (auto s = MotionSuffix(name, "MOTION")) {
        edition = TEdition::Classic;
        suffix = *s;
    } else if (auto z = MotionSuffix(name, "ZMOTION")) {
        edition = TEdition::Vantor;
        suffix = *z;
    }
    bool classic =
        edition == TEdition::None ||
        (edition == TEdition::Classic && (Exists(dir, "ZMOTION.LST") || Exists(dir, "ZMOTION" + suffix + ".LST")));
    if (classic)
        return {FirstExisting(dir, {"CHARA" + suffix + ".BMP", "CHARA.BMP"}),
                FirstExisting(dir, {"PATTERN" + suffix + ".PAT", "PATTERN.PAT"})};
    return {FirstExisting(dir, {"ZCHARA" + suffix + ".BMP", "ZCHARA.BMP", "CHARA" + suffix + ".BMP", "CHARA.BMP"}),
            FirstExisting(dir, {"ZPATTERN" + suffix + ".ZPT", "ZPATTERN.ZPT", "ZPATTERN" + suffix + ".PAT",
                                "ZPATTERN.PAT", "PATTERN" + suffix + ".PAT", "PATTERN.PAT"})};
}

std::unique_ptr<TCharSoftRender> LoadPictureSet(const fs::path& listFileName) {
    TPictureSetNames names = FindPictureSet(listFileName);
    if (names.Bitmap.empty()) return nullptr;
    try {
        auto picture = std::make_unique<TCharSoftRender>();
        if (picture->LoadFromFiles(names.Bitmap, names.Pattern, nullptr)) return picture;
    } catch (const std::exception&) {
        // A picture set that cannot be had (memory, a file that fails in an unforeseen way) shows
        // the frame without pictures, as a missing one does.
    }
    return nullptr;
}

} // namespace quillon
