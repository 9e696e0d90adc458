#include "ProgramSettings.h"

#include "KindProperties.h"
#include "ListKinds.h"
#include "MessageBox.h"
#include "StreamUtils.h"

namespace quillon {

namespace {

const std::string OptionsSection = "Options";
const std::string ColourerSection = ColourerPropertiesSection;

void LoadFormatterOptions(TSettingsStore& Store, const std::string& Section, TFormatterOptions& Options) {
    const TFormatterOptions defaults;
    Options.SetHeaderAlign(Store.ReadBool(Section, "HeaderAlign", defaults.HeaderAlign()));
    Options.SetFlagMethod(Store.ReadInteger(Section, "FlagMethod", defaults.FlagMethod()));
    Options.SetFlagAlign(Store.ReadBool(Section, "FlagAlign", defaults.FlagAlign()));
    Options.SetAddSemiColon(Store.ReadBool(Section, "AddSemiColon", defaults.AddSemiColon()));
}

void SaveFormatterOptions(TSettingsStore& Store, const std::string& Section, const TFormatterOptions& Options) {
    Store.WriteBool(Section, "HeaderAlign", Options.HeaderAlign());
    Store.WriteInteger(Section, "FlagMethod", Options.FlagMethod());
    Store.WriteBool(Section, "FlagAlign", Options.FlagAlign());
    Store.WriteBool(Section, "AddSemiColon", Options.AddSemiColon());
}

// The first start stores the colourers as they are; later starts read them. A value that cannot be
// read (damaged, or of another class) must not stop the start: that colourer keeps its colours,
// which replace the damaged value, and one notice names every kind so repaired.
void LoadColourers(TSettingsStore& Store, const TProgramSettings& Settings) {
    const bool stored = HasColourerProperties(Store);
    std::string repaired;
    for (int kind = lkMotion; kind < kListKindCount; ++kind) {
        TOrvColourer& colourer = *Settings.Colourer(kind);
        const std::string name(ListKindInfo(kind).ValueName);
        if (!stored) {
            colourer.WriteToRegistry(Store, ColourerSection, name);
            continue;
        }
        try {
            colourer.ReadFromRegistry(Store, ColourerSection, name);
        } catch (const EReadError&) {
            colourer.WriteToRegistry(Store, ColourerSection, name);
            repaired += (repaired.empty() ? "" : "、") + std::string(ListKindInfo(kind).Title);
        }
    }
    if (!repaired.empty())
        Messages().Show("保存されていた色の設定 (" + repaired +
                            ") が壊れていたため読み込めませんでした。\n既定の色に置き換えました。",
                        "警告", TMsgIcon::Warning, TMsgButtons::OK);
}

} // namespace

TOrvColourer* TProgramSettings::Colourer(int Kind) const { return Colourers.Colourer(Kind); }

void CleanObsoleteSettings(TSettingsStore& Store) {
    for (const char* section : {"EditorProperty", "ColourerProperty"})
        if (Store.SectionExists(section)) Store.EraseSection(section);
    if (!Store.SectionExists(OptionsSection)) return;
    for (const char* name : {"ItemMatchCase", "ItemRegExp", "ItemSubString", "ItemSearchToken", "ItemDirection"})
        Store.DeleteValue(OptionsSection, name);
}

bool HasColourerProperties(TSettingsStore& Store) { return Store.SectionExists(ColourerSection); }

void LoadSettings(TSettingsStore& Store, const TProgramSettings& Settings) {
    LoadColourers(Store, Settings);
    Settings.History.SetCommaText(Store.ReadString(OptionsSection, "History", ""));
    Settings.MakerOptions.Load(Store);
    const TMotionFormatterOptions motionDefaults;
    LoadFormatterOptions(Store, "MotionOptions", Settings.MotionOptions);
    Settings.MotionOptions.SetCanDockMinus(
        Store.ReadBool("MotionOptions", "CanDockMinus", motionDefaults.CanDockMinus()));
    LoadFormatterOptions(Store, "CommandOptions", Settings.CommandOptions);
    LoadFormatterOptions(Store, "ZCommandOptions", Settings.ZCommandOptions);
}

void SaveSettings(TSettingsStore& Store, const TProgramSettings& Settings) {
    Store.WriteString(OptionsSection, "History", Settings.History.CommaText());
    Settings.MakerOptions.Save(Store);
    SaveFormatterOptions(Store, "MotionOptions", Settings.MotionOptions);
    Store.WriteBool("MotionOptions", "CanDockMinus", Settings.MotionOptions.CanDockMinus());
    SaveFormatterOptions(Store, "CommandOptions", Settings.CommandOptions);
    SaveFormatterOptions(Store, "ZCommandOptions", Settings.ZCommandOptions);
}

} // namespace quillon
