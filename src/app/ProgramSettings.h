#pragma once
// The program-wide settings that live for the whole run: read once at start, written once at the
// end, so changes made during the run reach the store only when the program ends normally.
//
// Sections: "Options" (recent files and the maker options), "MotionOptions", "CommandOptions" and
// "ZCommandOptions" (the formatter options) and "ColourerProperties" (one streamed colourer per list
// kind, written on the first start and read on every later one).
#include "Formatter.h"
#include "ListFiles.h"
#include "MakerOptions.h"
#include "SettingsStore.h"

namespace quillon {

class TOrvColourer;
class TKindColourers;

// The program-wide objects the settings are read into and written from (none owned).
struct TProgramSettings {
    TKindColourers& Colourers;
    TRecentFiles& History;
    TMakerOptions& MakerOptions;
    TMotionFormatterOptions& MotionOptions;
    TCommandFormatterOptions& CommandOptions;
    TZCommandFormatterOptions& ZCommandOptions;

    // The colourer of a list kind, or null for plain text or any other number.
    TOrvColourer* Colourer(int Kind) const;
};

// Deletes what earlier versions stored and this one no longer reads.
void CleanObsoleteSettings(TSettingsStore& Store);
// The colourers have been stored (every start but the first).
bool HasColourerProperties(TSettingsStore& Store);
// On the first start the colourers' current colours are stored; later they are read back. A stored
// colourer that cannot be read keeps its current colours. Out-of-range numbers are clamped.
void LoadSettings(TSettingsStore& Store, const TProgramSettings& Settings);
void SaveSettings(TSettingsStore& Store, const TProgramSettings& Settings);

} // namespace quillon
