#pragma once
// The Quessa enemy source (*.QES) and the enemy list made from it.
//
// A source holds up to 62 sections, one per situation of the enemy, each a table of
// (distance, value, command) lines, and a condition template that combines the sections into one
// expression with the placeholders "%0".."%9", "%A".."%Z", "%a".."%z". The enemy list has one line
// per distinct (distance, value) pair of all sections, in ascending order; each placeholder of the
// template becomes the command of the first line of its section, in (distance, value) order, whose
// distance and value are both at least the pair's.
//
// The text is CP932 bytes, one string per line, as the editor holds it.
#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace quillon {

constexpr int kQesSectionCount = 62;

// The template of a version 1.0 source, and of a 1.1 source without a FORMAT= line.
extern const char* const kQesDefaultTemplate;
// The first line of the enemy list.
extern const char* const kEnemyListHeader;

// One data line of a section.
struct TEneLineItem {
    int Distance = 0;
    int Value = 0;
    std::string Command;
    std::string Comment; // read, never written out
};

struct TQesSource {
    std::string CondTemplate = kQesDefaultTemplate;
    // Each sorted by (Distance, Value); lines with equal pairs keep their order in the text.
    std::array<std::vector<TEneLineItem>, kQesSectionCount> Sections;
};

// The section that a label or placeholder character names: "0".."9" 0..9, "A".."Z" 10..35,
// "a".."z" 36..61; -1 for any other byte.
int QesSectionOfChar(char c);

// Reads Lines into Source (which starts from the default template and empty sections). A text
// without a known version line shows "有効なファイルではありません" and gives false.
bool ParseQesSource(const std::vector<std::string>& Lines, TQesSource& Source);

// The enemy list of a source: the header, then one line per distinct (distance, value) pair.
std::vector<std::string> MergeQesSections(const TQesSource& Source);

// X.QES gives X.lst in the same folder, or the file already there whose name differs from it only in
// the case of its letters (X.LST).
std::filesystem::path EnemyListFileName(const std::filesystem::path& SourceFileName);

// The convert command: reads the source text Lines (the editor's, saved or not; the source file is
// neither read nor written) and writes the enemy list beside SourceFileName; an existing list is
// replaced only when the user answers yes to the question. Every outcome but that refusal shows
// its message box; true when the list was written.
bool ConvertQesToEnemyList(const std::vector<std::string>& Lines, const std::filesystem::path& SourceFileName);

} // namespace quillon
