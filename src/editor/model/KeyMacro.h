#pragma once
// TKeyMacro: records the keys and characters that reach an editor and plays them back into it.
//
// Recording installs the recorder on the editor's MessageHook (the hook found there is kept and
// still called after the recorder's own, and put back when recording ends). Every WM_KEYDOWN, every
// typed character and every character of an input-method result is logged with the states of Shift,
// Ctrl and Alt as the host reports them. The records keep the message numbers of the text form:
//   CN_KEYDOWN   a key (wParam the virtual key, lParam the key data);
//   CN_CHAR      a typed character (a double-byte character as lead byte x 256 + trail byte);
//   WM_IME_CHAR  one character of an input-method result.
// (CN_KEYDOWN and CN_CHAR are WM_KEYDOWN and WM_CHAR raised by CN_BASE.) An input-method result is
// followed by its characters typed once more, which the editor swallows: the IME counter counts the
// logged input-method characters and skips one typed character for each.
//
// Playback sends every record to the editor again (a CN_ record as its plain message), with the
// host's Shift, Ctrl and Alt states set from the record for that message and put back after it.
// A handler that runs during playback may stop it (CancelExecute, Clear) but cannot start it again
// before it has ended, so playback always ends.
//
// Text form: one line per record, each ended by CR LF:
//   CN_CHAR: 48386, CharCode: 97, KeyData: 0, Shift: 0, Ctrl: 0, Alt: 0 // a
// the prefix names the message, then the six numbers in decimal (KeyData signed); every record but
// a key has " // " and its character after them ("#" and the code in decimal below 32). Reading
// takes the integers before "//" of each line that has any token, in the order above.
//
// Lifetime: the editor must outlive the recorder or be taken from it with SetControl(nullptr).
#include "EditorClasses.h"
#include "EditorControl.h"
#include "Messages.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quillon {

class TStream;

constexpr TMessage CN_BASE = 0xBC00;
constexpr TMessage CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr TMessage CN_CHAR = CN_BASE + WM_CHAR;

// One logged message.
struct TKeyMacroData {
    std::uint32_t Msg = 0;                     // CN_KEYDOWN, CN_CHAR or WM_IME_CHAR
    std::uint16_t CharCode = 0;                // wParam
    std::int32_t KeyData = 0;                  // lParam
    std::uint8_t Shift = 0, Ctrl = 0, Alt = 0; // key states: bit 7 down, bit 0 toggled
    bool operator==(const TKeyMacroData&) const = default;
};
using TKeyMacroDataList = std::vector<TKeyMacroData>;

enum TKeyMacroState : int { kmEmpty = 0, kmRecording = 1, kmReady = 2, kmRunning = 3 };

class TKeyMacro : public TComponent {
public:
    QUILLON_CLASS_INFO
    explicit TKeyMacro(TComponent* Owner = nullptr);
    ~TKeyMacro() override;

    TEditor* Control() const { return FControl; }
    // Moves a running recording to the new editor; without one the recording is cancelled.
    virtual void SetControl(TEditor* Value);
    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value) { FName = Value; }
    bool ShowDialog() const { return FShowDialog; }
    void SetShowDialog(bool Value) { FShowDialog = Value; }
    TKeyMacroState State() const { return FState; }
    const TKeyMacroDataList& DataList() const { return FDataList; }
    // Fires on every change of State.
    TNotifyEvent OnChange;

    virtual void StartRecord();
    virtual void EndRecord();
    virtual void CancelRecord();
    virtual void Execute();
    virtual void CancelExecute();
    virtual void Clear();

    virtual void WriteData(TStream& Stream) const;
    // False for text that is not a macro (reported with ShowDialog); the macro is then unchanged.
    virtual bool ReadData(TStream& Stream);
    bool LoadFromFile(const std::filesystem::path& FileName);
    bool LoadFromStream(TStream& Stream);
    // Through a temporary file renamed over FileName: a failed save (EWriteError) keeps the old file.
    void SaveToFile(const std::filesystem::path& FileName) const;
    void SaveToStream(TStream& Stream) const;

protected:
    virtual void Hook();
    virtual void Unhook();
    // The hook: logs while recording, then passes the message to the hook it replaced.
    virtual void WndProc(TMessage Msg, TWParam WParam, TLParam LParam);
    virtual void SetState(TKeyMacroState Value);
    virtual void DoChange();

private:
    void Log(TMessage Msg, TWParam WParam, TLParam LParam);
    void Add(TMessage Msg, TWParam WParam, TLParam LParam);
    void Send(const TKeyMacroData& Data);

    TEditor* FControl = nullptr; // not owned
    int FImeCount = 0;           // input-method characters whose typed echo is still to come
    TKeyMacroDataList FDataList;
    TEditor* FHooked = nullptr;      // the editor whose MessageHook is ours, or null
    TEditor::TMessageHook FPrevious; // the hook ours replaced
    bool FShowDialog = false;
    TKeyMacroState FState = kmEmpty;
    std::string FName;
    bool FExecuting = false; // Execute is on the stack
    bool FDestroying = false;
};

} // namespace quillon
