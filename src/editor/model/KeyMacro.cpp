#include "KeyMacro.h"

#include "AsciiText.h"
#include "Cp932.h"
#include "EditorUtils.h"
#include "MessageBox.h"
#include "ReplacingFile.h"
#include "Streams.h"

#include <array>
#include <cctype>
#include <optional>
#include <string_view>

namespace quillon {

namespace {

constexpr std::array<int, 3> ModifierKeys = {VK_SHIFT, VK_CONTROL, VK_MENU};
using TKeyStates = std::array<int, 3>; // Shift, Ctrl, Alt

TKeyStates ReadKeyStates(const TEditorHost* Host) {
    TKeyStates states{};
    if (Host)
        for (std::size_t i = 0; i < states.size(); ++i) states[i] = Host->KeyState(ModifierKeys[i]) & 0xFF;
    return states;
}

void SetKeyStates(TEditorHost* Host, const TKeyStates& States) {
    if (!Host) return;
    for (std::size_t i = 0; i < States.size(); ++i) Host->SetKeyState(ModifierKeys[i], States[i]);
}

const char* MessageName(std::uint32_t Msg) {
    switch (Msg) {
    case WM_IME_CHAR: return "WM_IME_CHAR";
    case CN_KEYDOWN: return "CN_KEYDOWN";
    case CN_CHAR: return "CN_CHAR";
    default: return nullptr;
    }
}

// The character of a record in its comment. A code that is no character (a control code, or two
// bytes that are no double-byte character) is written as "#" and its number, so that no byte of a
// comment can break the line.
std::string CharText(std::uint16_t Code) {
    const bool doubleByte = Code > 0xFF && IsLeadByte(static_cast<char>(Code >> 8)) && (Code & 0xFF) >= 0x40;
    if (doubleByte) return {static_cast<char>(Code >> 8), static_cast<char>(Code & 0xFF)};
    if (Code >= 32 && Code <= 0xFF) return std::string(1, static_cast<char>(Code));
    return "#" + IntToStr(Code);
}

// The tokens of one line of the text form, as the class library's tokenizer sees them: identifiers,
// numbers (decimal with an optional minus, "$" hexadecimal, fractions), quoted strings and "#" codes,
// and single symbols. Answers the integers in their order, or nothing for a token it rejects (an
// unclosed quote, an integer beyond 64 bits).
std::optional<std::vector<std::int64_t>> LineIntegers(std::string_view Line, bool& AnyToken) {
    std::vector<std::int64_t> integers;
    AnyToken = false;
    auto digits = [&Line](std::size_t& I, int Base) {
        const std::size_t start = I;
        while (I < Line.size() && (Base == 16 ? std::isxdigit(static_cast<unsigned char>(Line[I]))
                                              : std::isdigit(static_cast<unsigned char>(Line[I]))))
            ++I;
        return Line.substr(start, I - start);
    };
    auto number = [](std::string_view Digits, int Base, bool Negative) -> std::optional<std::int64_t> {
        if (Digits.empty() || Digits.size() > 15) return std::nullopt; // far beyond every field
        std::int64_t value = 0;
        for (char c : Digits)
            value = value * Base + (std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (c | 0x20) - 'a' + 10);
        return Negative ? -value : value;
    };
    std::size_t i = 0;
    while (i < Line.size()) {
        const unsigned char c = static_cast<unsigned char>(Line[i]);
        const bool nextDigit = i + 1 < Line.size() && std::isdigit(static_cast<unsigned char>(Line[i + 1]));
        if (c <= ' ') {
            ++i;
            continue;
        }
        AnyToken = true;
        if (std::isalpha(c) || c == '_') {
            while (i < Line.size() && (std::isalnum(static_cast<unsigned char>(Line[i])) || Line[i] == '_')) ++i;
        } else if (std::isdigit(c) || (c == '-' && nextDigit)) {
            const bool negative = c == '-';
            if (negative) ++i;
            const std::optional<std::int64_t> value = number(digits(i, 10), 10, negative);
            if (!value) return std::nullopt;
            const bool fraction =
                i + 1 < Line.size() && Line[i] == '.' && std::isdigit(static_cast<unsigned char>(Line[i + 1]));
            if (fraction) {
                ++i;
                digits(i, 10);
            } else {
                integers.push_back(*value);
            }
        } else if (c == '$') {
            ++i;
            const std::optional<std::int64_t> value = number(digits(i, 16), 16, false);
            if (!value) return std::nullopt;
            integers.push_back(*value);
        } else if (c == '\'') {
            const std::size_t close = Line.find('\'', i + 1);
            if (close == std::string_view::npos) return std::nullopt;
            i = close + 1;
        } else if (c == '#' && nextDigit) {
            ++i;
            digits(i, 10);
        } else {
            ++i;
        }
    }
    return integers;
}

// A record from the integers of a line: all six fields present and in range, a known message.
std::optional<TKeyMacroData> MakeRecord(const std::vector<std::int64_t>& N) {
    if (N.size() < 6 || N[0] < 0 || N[0] > 0xFFFF || !MessageName(static_cast<std::uint32_t>(N[0])))
        return std::nullopt;
    if (N[1] < 0 || N[1] > 0xFFFF || N[2] < INT32_MIN || N[2] > INT32_MAX) return std::nullopt;
    for (int k = 3; k < 6; ++k)
        if (N[k] < 0 || N[k] > 0xFF) return std::nullopt;
    TKeyMacroData d;
    d.Msg = static_cast<std::uint32_t>(N[0]);
    d.CharCode = static_cast<std::uint16_t>(N[1]);
    d.KeyData = static_cast<std::int32_t>(N[2]);
    d.Shift = static_cast<std::uint8_t>(N[3]);
    d.Ctrl = static_cast<std::uint8_t>(N[4]);
    d.Alt = static_cast<std::uint8_t>(N[5]);
    return d;
}

// The records of the whole text, or nothing when any line is not a record.
std::optional<TKeyMacroDataList> ParseMacro(std::string_view Text) {
    TKeyMacroDataList list;
    TLineReader lines(Text);
    for (std::string_view line; lines.Next(line);) {
        line = line.substr(0, line.find("//"));
        bool anyToken = false;
        const std::optional<std::vector<std::int64_t>> integers = LineIntegers(line, anyToken);
        if (!integers) return std::nullopt;
        if (!anyToken) continue;
        const std::optional<TKeyMacroData> record = MakeRecord(*integers);
        if (!record) return std::nullopt;
        list.push_back(*record);
    }
    return list;
}

} // namespace

const TClassInfo& TKeyMacro::StaticClassInfo() {
    static const TClassInfo info{"TKeyMacro",
                                 &TComponent::StaticClassInfo(),
                                 {BoolProp("ShowDialog", &TKeyMacro::ShowDialog, &TKeyMacro::SetShowDialog)}};
    return info;
}

TKeyMacro::TKeyMacro(TComponent* Owner) : TComponent(Owner) {}

TKeyMacro::~TKeyMacro() {
    FDestroying = true;
    if (FState == kmRecording) EndRecord();
    if (FState == kmRunning) CancelExecute();
    Unhook();
}

void TKeyMacro::SetControl(TEditor* Value) {
    if (Value == FControl) return;
    if (FState != kmRecording) {
        FControl = Value;
        return;
    }
    Unhook();
    FControl = Value;
    if (FControl)
        Hook();
    else
        CancelRecord();
}

void TKeyMacro::Hook() {
    if (!FControl || FHooked) return;
    FHooked = FControl;
    FPrevious = std::move(FHooked->MessageHook);
    FHooked->MessageHook = [this](TMessage Msg, TWParam WParam, TLParam LParam) { WndProc(Msg, WParam, LParam); };
}

void TKeyMacro::Unhook() {
    if (!FHooked) return;
    FHooked->MessageHook = std::move(FPrevious);
    FPrevious = nullptr;
    FHooked = nullptr;
}

void TKeyMacro::WndProc(TMessage Msg, TWParam WParam, TLParam LParam) {
    if (FState == kmRecording) Log(Msg, WParam, LParam);
    if (FPrevious) FPrevious(Msg, WParam, LParam);
}

void TKeyMacro::Log(TMessage Msg, TWParam WParam, TLParam LParam) {
    switch (Msg) {
    case WM_KEYDOWN: Add(CN_KEYDOWN, WParam, LParam); break;
    case WM_CHAR:
        if (FImeCount > 0)
            --FImeCount; // the typed echo of an input-method character already logged
        else
            Add(CN_CHAR, WParam, LParam);
        break;
    case WM_IME_CHAR:
        ++FImeCount;
        Add(WM_IME_CHAR, WParam, LParam);
        break;
    case WM_IME_COMPOSITION: {
        if (!(LParam & GCS_RESULTSTR) || !FHooked->Host()) break;
        const std::string s = FHooked->Host()->CompositionResult();
        for (std::size_t i = 0; i < s.size(); ++i) {
            TWParam code = static_cast<unsigned char>(s[i]);
            if (IsLeadByte(s[i]) && i + 1 < s.size()) code = code * 256 + static_cast<unsigned char>(s[++i]);
            ++FImeCount;
            Add(WM_IME_CHAR, code, 1);
        }
        break;
    }
    default: break;
    }
}

void TKeyMacro::Add(TMessage Msg, TWParam WParam, TLParam LParam) {
    const TKeyStates keys = ReadKeyStates(FHooked->Host());
    TKeyMacroData d;
    d.Msg = Msg;
    d.CharCode = static_cast<std::uint16_t>(WParam & 0xFFFF);
    d.KeyData = static_cast<std::int32_t>(LParam);
    d.Shift = static_cast<std::uint8_t>(keys[0]);
    d.Ctrl = static_cast<std::uint8_t>(keys[1]);
    d.Alt = static_cast<std::uint8_t>(keys[2]);
    FDataList.push_back(d);
}

void TKeyMacro::SetState(TKeyMacroState Value) {
    FState = Value;
    if (!FDestroying) DoChange();
}

void TKeyMacro::DoChange() {
    if (OnChange) OnChange(this);
}

void TKeyMacro::StartRecord() {
    if (!FControl || FState == kmRecording || FState == kmRunning) return;
    FDataList.clear();
    FImeCount = 0;
    SetState(kmRecording);
    Hook();
}

void TKeyMacro::EndRecord() {
    if (FState != kmRecording) return;
    SetState(kmReady);
    Unhook();
}

void TKeyMacro::CancelRecord() {
    if (FState != kmRecording) return;
    EndRecord();
    FDataList.clear();
    SetState(kmEmpty);
}

void TKeyMacro::Send(const TKeyMacroData& Data) {
    const TMessage msg = Data.Msg == WM_IME_CHAR ? WM_IME_CHAR : Data.Msg - CN_BASE;
    FControl->Perform(msg, Data.CharCode, Data.KeyData);
}

void TKeyMacro::Execute() {
    if (FState != kmReady || !FControl || FDataList.empty() || FExecuting) return;
    // The flag stays set until the last change event has fired: a handler that starts the playback
    // again, even after stopping it, is refused.
    FExecuting = true;
    struct TReset {
        bool& Flag;
        ~TReset() { Flag = false; }
    } reset{FExecuting};
    SetState(kmRunning);
    for (std::size_t i = 0; i < FDataList.size() && FControl; ++i) {
        const TKeyMacroData d = FDataList[i]; // a handler may change the list
        TEditorHost* host = FControl->Host();
        TKeyStates saved = ReadKeyStates(host);
        SetKeyStates(host, {d.Shift, d.Ctrl, d.Alt});
        Send(d);
        const bool stopped = FState != kmRunning;
        if (stopped) {
            if (FShowDialog) Messages().Show("Cancel Execute " + FName, "情報", TMsgIcon::Information, TMsgButtons::OK);
            saved = {0, 0, 0};
        }
        if (FControl) SetKeyStates(FControl->Host(), saved);
        if (stopped) break;
    }
    if (FState == kmRunning) SetState(kmReady);
}

void TKeyMacro::CancelExecute() {
    if (FState == kmRunning) SetState(kmReady);
}

void TKeyMacro::Clear() {
    EndRecord();
    CancelExecute();
    FDataList.clear();
    SetState(kmEmpty);
}

void TKeyMacro::WriteData(TStream& Stream) const {
    std::string text;
    for (const TKeyMacroData& d : FDataList) {
        const char* name = MessageName(d.Msg);
        text += std::string(name ? name : "") + ": " + IntToStr(d.Msg) + ", CharCode: " + IntToStr(d.CharCode) +
                ", KeyData: " + IntToStr(d.KeyData) + ", Shift: " + IntToStr(d.Shift) + ", Ctrl: " + IntToStr(d.Ctrl) +
                ", Alt: " + IntToStr(d.Alt);
        if (d.Msg != CN_KEYDOWN) text += " // " + CharText(d.CharCode);
        text += "\r\n";
    }
    Stream.WriteBuffer(text.data(), text.size());
}

bool TKeyMacro::ReadData(TStream& Stream) {
    std::string text(static_cast<std::size_t>(std::max<std::int64_t>(0, Stream.Remaining())), '\0');
    Stream.ReadBuffer(text.data(), text.size());
    std::optional<TKeyMacroDataList> list = ParseMacro(text);
    if (!list) {
        if (FShowDialog) ShowError("Invalid data loaded." + FName);
        return false;
    }
    Clear();
    FDataList = std::move(*list);
    SetState(kmReady);
    return true;
}

bool TKeyMacro::LoadFromFile(const std::filesystem::path& FileName) {
    TFileStream stream(FileName, fmOpenRead);
    return LoadFromStream(stream);
}

bool TKeyMacro::LoadFromStream(TStream& Stream) { return ReadData(Stream); }

// Through a temporary file, so that a failed save leaves the old macro file whole.
void TKeyMacro::SaveToFile(const std::filesystem::path& FileName) const {
    SaveFileReplacing(FileName, [this](TStream& stream) { SaveToStream(stream); });
}

void TKeyMacro::SaveToStream(TStream& Stream) const { WriteData(Stream); }

} // namespace quillon
