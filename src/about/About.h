#pragma once
// The about component: the program's identity, the version that ran last (section "Check", value
// "Version" of the program's settings), and the request to delete the program's settings at exit.
// The dialogs that it shows are supplied by a descendant on the GUI side.
#include "SettingsStore.h"

#include <functional>
#include <string>

namespace quillon {

// The identity that the component reports; by default the program's own (TFileVersion).
struct TProgramIdentity {
    std::string ProductName, FileVersion, LegalCopyright;
    static TProgramIdentity Program();
};

class TCustomAbout {
public:
    using TNotifyEvent = std::function<void(TCustomAbout& Sender)>;

    // store is the program's own settings; it must outlive the component.
    explicit TCustomAbout(TSettingsStore& store, TProgramIdentity identity = TProgramIdentity::Program());
    virtual ~TCustomAbout() = default;
    TCustomAbout(const TCustomAbout&) = delete;
    TCustomAbout& operator=(const TCustomAbout&) = delete;

    // Reads the version that ran last into LastVersion; answers whether it differs from FileVersion
    // and, when it does and show is true, shows the notice. No stored version (or "0.00") is a first
    // run: no notice, LastVersion empty.
    bool CheckVersion(bool Show);
    // Stores FileVersion as the version that ran last.
    void SaveVersion();
    virtual void ShowAboutBox() = 0;
    virtual void ShowVersionChanged() = 0;
    // The last step at exit, after every setting is written: deletes the program's whole settings
    // when DelReg is set. Never throws.
    void Shutdown() noexcept;

    const std::string& FileVersion() const { return FIdentity.FileVersion; }
    const std::string& ProductName() const { return FIdentity.ProductName; }
    const std::string& LegalCopyright() const { return FIdentity.LegalCopyright; }
    const std::string& LastVersion() const { return FLastVersion; }
    // The about box's "delete settings at exit" check box as it was when the box was last closed.
    bool DelReg() const { return FDelReg; }
    void SetDelReg(bool value) { FDelReg = value; }

    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& value) { FTitle = value; }
    bool ShowVerHelp() const { return FShowVerHelp; }
    void SetShowVerHelp(bool value) { FShowVerHelp = value; }
    bool ShowAboutHelp() const { return FShowAboutHelp; }
    void SetShowAboutHelp(bool value) { FShowAboutHelp = value; }
    const std::string& HelpButtonHint() const { return FHelpButtonHint; }
    void SetHelpButtonHint(const std::string& value) { FHelpButtonHint = value; }
    bool UseJapanese() const { return FUseJapanese; }
    void SetUseJapanese(bool value) { FUseJapanese = value; }
    bool ShowDelReg() const { return FShowDelReg; }
    void SetShowDelReg(bool value) { FShowDelReg = value; }

    // Clicks on the about box's animated picture (mark) and still logo; Sender is this component.
    TNotifyEvent OnMarkDblClick, OnMarkClick, OnLogoDblClick, OnLogoClick;

private:
    TSettingsStore& FStore;
    TProgramIdentity FIdentity;
    std::string FLastVersion; // empty when none was stored
    bool FDelReg = false;
    std::string FTitle;
    bool FShowVerHelp = true;
    bool FShowAboutHelp = true;
    std::string FHelpButtonHint;
    bool FUseJapanese = true;
    bool FShowDelReg = false;
};

} // namespace quillon
