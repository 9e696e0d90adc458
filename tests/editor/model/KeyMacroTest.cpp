#include "KeyMacro.h"
#include "Cp932.h"
#include "EditorTestHost.h"
#include "FileSizeLimit.h"
#include "MessageBox.h"
#include "Streams.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

#include <filesystem>
#include <string>
#include <vector>

namespace quillon {
namespace {

const std::string Nichi = "\x93\xfa";         // 日
const std::string HonGo = "\x96\x7b\x8c\xea"; // 本語

// An editor on its test window.
struct TWindow {
    TTestHost Host;
    TEditor Editor;
    TWindow() { Editor.SetHost(&Host); }
    ~TWindow() { Editor.SetHost(nullptr); }

    // Typed bytes as the window delivers them: a lead byte with its trail byte waiting in the queue.
    void Type(const std::string& Bytes) {
        for (std::size_t i = 0; i < Bytes.size(); ++i) {
            if (IsLeadByte(Bytes[i]) && i + 1 < Bytes.size())
                Host.Queue.push_back(static_cast<unsigned char>(Bytes[i + 1]));
            Editor.Perform(WM_CHAR, static_cast<unsigned char>(Bytes[i]));
            if (IsLeadByte(Bytes[i])) ++i;
        }
    }
    // An input-method commit: the result, then its bytes typed once more.
    void Commit(const std::string& Bytes) {
        Host.Composition = Bytes;
        Editor.Perform(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
        Type(Bytes);
    }
    void Key(int Vk, std::initializer_list<int> Held = {}) {
        for (int k : Held) Host.Keys.insert(k);
        Editor.Perform(WM_KEYDOWN, static_cast<TWParam>(Vk));
        Editor.Perform(WM_KEYUP, static_cast<TWParam>(Vk));
        for (int k : Held) Host.Keys.erase(k);
    }
    std::string Text() const { return Editor.Lines().Text(); }
};

TKeyMacroData Rec(TMessage Msg, int Code, int KeyData = 0, int Shift = 0, int Ctrl = 0, int Alt = 0) {
    TKeyMacroData d;
    d.Msg = Msg;
    d.CharCode = static_cast<std::uint16_t>(Code);
    d.KeyData = KeyData;
    d.Shift = static_cast<std::uint8_t>(Shift);
    d.Ctrl = static_cast<std::uint8_t>(Ctrl);
    d.Alt = static_cast<std::uint8_t>(Alt);
    return d;
}

std::string Written(const TKeyMacro& Macro) {
    TMemoryStream s;
    Macro.SaveToStream(s);
    return std::string(s.Bytes().begin(), s.Bytes().end());
}

bool Read(TKeyMacro& Macro, const std::string& Text) {
    TMemoryStream s(std::vector<std::uint8_t>(Text.begin(), Text.end()));
    return Macro.LoadFromStream(s);
}

// Records a session of keys and characters into Macro.
void RecordSession(TWindow& W, TKeyMacro& Macro) {
    Macro.SetControl(&W.Editor);
    Macro.StartRecord();
    W.Type("ab");
    W.Type("\r");
    W.Type(Nichi);   // a double-byte character typed as two WM_CHAR
    W.Commit(HonGo); // two characters through the input method
    W.Type("c");
    W.Key(VK_HOME);
    W.Key(VK_RIGHT, {VK_SHIFT}); // selects 日
    W.Type("x");                 // replaces it
    W.Key(VK_HOME, {VK_CONTROL});
    W.Key(VK_END, {VK_SHIFT, VK_MENU}); // selects "ab" with Alt held too
    Macro.EndRecord();
}

TEST(KeyMacro, RecordsKeysCharactersAndInputMethodWithTheirKeyStates) {
    TWindow w;
    TKeyMacro macro;
    RecordSession(w, macro);
    ASSERT_EQ(w.Text(), "ab\r\nx" + HonGo + "c");
    const TKeyMacroDataList expected = {Rec(CN_CHAR, 'a'), Rec(CN_CHAR, 'b'), Rec(CN_CHAR, 13), Rec(CN_CHAR, 0x93FA),
                                        // the input method's characters, and none of their typed echo
                                        Rec(WM_IME_CHAR, 0x967B, 1), Rec(WM_IME_CHAR, 0x8CEA, 1), Rec(CN_CHAR, 'c'),
                                        Rec(CN_KEYDOWN, VK_HOME), Rec(CN_KEYDOWN, VK_RIGHT, 0, 0x80), Rec(CN_CHAR, 'x'),
                                        Rec(CN_KEYDOWN, VK_HOME, 0, 0, 0x80),
                                        Rec(CN_KEYDOWN, VK_END, 0, 0x80, 0, 0x80)};
    EXPECT_EQ(macro.DataList(), expected);
    EXPECT_EQ(macro.State(), kmReady);
    EXPECT_FALSE(w.Editor.MessageHook) << "the hook goes when recording ends";
}

TEST(KeyMacro, PlaybackIntoAFreshEditorGivesTheSameTextCaretAndSelection) {
    TWindow recorded;
    TKeyMacro macro;
    RecordSession(recorded, macro);

    TWindow fresh;
    fresh.Host.Toggled.insert(VK_SHIFT); // whatever the keys are now is put back afterwards
    std::vector<int> states;
    macro.OnChange = [&](TPersistent*) { states.push_back(macro.State()); };
    macro.SetControl(&fresh.Editor);
    macro.Execute();
    EXPECT_EQ(fresh.Text(), recorded.Text());
    EXPECT_EQ(fresh.Editor.Row(), recorded.Editor.Row());
    EXPECT_EQ(fresh.Editor.Col(), recorded.Editor.Col());
    EXPECT_EQ(fresh.Editor.SelText(), "ab") << "Shift was replayed though not held";
    EXPECT_EQ(fresh.Host.Keys, std::set<int>{});
    EXPECT_EQ(fresh.Host.Toggled, std::set<int>{VK_SHIFT});
    EXPECT_EQ(states, (std::vector<int>{kmRunning, kmReady}));
}

TEST(KeyMacro, StateChangesAndRefusedTransitions) {
    TWindow w;
    TKeyMacro macro;
    std::vector<int> states;
    macro.OnChange = [&](TPersistent*) { states.push_back(macro.State()); };
    macro.StartRecord(); // no editor yet
    EXPECT_EQ(macro.State(), kmEmpty);
    macro.SetControl(&w.Editor);
    macro.StartRecord();
    w.Type("a");
    macro.Execute(); // while recording: nothing
    EXPECT_EQ(macro.State(), kmRecording);
    macro.CancelRecord();
    EXPECT_TRUE(macro.DataList().empty());
    macro.StartRecord();
    w.Type("b");
    macro.EndRecord();
    macro.StartRecord(); // from ready: the old macro goes
    EXPECT_TRUE(macro.DataList().empty());
    w.Type("c");
    macro.SetControl(nullptr); // recording without an editor is cancelled
    EXPECT_EQ(macro.State(), kmEmpty);
    EXPECT_FALSE(w.Editor.MessageHook);
    EXPECT_EQ(states,
              (std::vector<int>{kmRecording, kmReady, kmEmpty, kmRecording, kmReady, kmRecording, kmReady, kmEmpty}))
        << "CancelRecord goes through ready";
}

TEST(KeyMacro, ARecordingMovesWithItsEditorAndKeepsTheHookItReplaced) {
    TWindow first, second;
    std::vector<TMessage> seen;
    first.Editor.MessageHook = [&](TMessage Msg, TWParam, TLParam) { seen.push_back(Msg); };
    TKeyMacro macro;
    macro.SetControl(&first.Editor);
    macro.StartRecord();
    first.Type("a");
    macro.SetControl(&second.Editor);
    first.Type("b");
    second.Type("c");
    macro.EndRecord();
    EXPECT_EQ(macro.DataList(), (TKeyMacroDataList{Rec(CN_CHAR, 'a'), Rec(CN_CHAR, 'c')}));
    EXPECT_EQ(seen, (std::vector<TMessage>{WM_CHAR, WM_CHAR})) << "the earlier hook still sees everything";
    ASSERT_TRUE(first.Editor.MessageHook) << "and is put back";
    EXPECT_FALSE(second.Editor.MessageHook);
}

TEST(KeyMacro, StartRecordWhileRunningDoesNothing) {
    TWindow w;
    TKeyMacro macro;
    macro.SetControl(&w.Editor);
    ASSERT_TRUE(Read(macro, "CN_CHAR: 48386, CharCode: 97, KeyData: 0, Shift: 0, Ctrl: 0, Alt: 0\r\n"));
    int starts = 0;
    w.Editor.OnChange = [&](TEditor&) {
        macro.StartRecord();
        ++starts;
    };
    macro.Execute();
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(macro.State(), kmReady);
    EXPECT_EQ(macro.DataList().size(), 1u);
}

// A handler that stops the playback and starts it again, or starts it again when it has ended,
// would replay forever; the second start is refused while the first is on the stack.
TEST(KeyMacro, PlaybackThatRestartsItselfEnds) {
    TWindow w;
    TKeyMacro macro;
    macro.SetControl(&w.Editor);
    macro.SetName("KeyMacro1");
    macro.SetShowDialog(true);
    TScriptedMessages boxes;
    TMessageServiceScope scope(boxes);
    ASSERT_TRUE(Read(macro, "CN_CHAR: 48386, CharCode: 97, KeyData: 0, Shift: 128, Ctrl: 0, Alt: 0\r\n"
                            "CN_CHAR: 48386, CharCode: 98, KeyData: 0, Shift: 128, Ctrl: 0, Alt: 0\r\n"));
    w.Editor.OnChange = [&](TEditor&) {
        macro.CancelExecute();
        macro.Execute();
    };
    macro.OnChange = [&](TPersistent*) {
        if (macro.State() == kmReady) macro.Execute();
    };
    macro.Execute();
    EXPECT_EQ(w.Text(), "a");
    EXPECT_EQ(macro.State(), kmReady);
    ASSERT_EQ(boxes.Shown.size(), 1u);
    EXPECT_EQ(boxes.Shown[0].Text, "Cancel Execute KeyMacro1");
    EXPECT_EQ(boxes.Shown[0].Icon, TMsgIcon::Information);
    EXPECT_EQ(w.Host.Keys, std::set<int>{}) << "a stopped playback lets go of Shift";

    // Later, with no handler interfering, the macro plays once more.
    w.Editor.OnChange = nullptr;
    macro.OnChange = nullptr;
    macro.Execute();
    EXPECT_EQ(w.Text(), "aab");
}

TEST(KeyMacro, ClearDuringPlaybackStopsItAndLeavesTheMacroEmpty) {
    TWindow w;
    TKeyMacro macro;
    macro.SetControl(&w.Editor);
    ASSERT_TRUE(Read(macro, "CN_CHAR: 48386, CharCode: 97, KeyData: 0, Shift: 0, Ctrl: 0, Alt: 0\r\n"
                            "CN_CHAR: 48386, CharCode: 98, KeyData: 0, Shift: 0, Ctrl: 0, Alt: 0\r\n"));
    w.Editor.OnChange = [&](TEditor&) { macro.Clear(); };
    macro.Execute();
    EXPECT_EQ(w.Text(), "a");
    EXPECT_EQ(macro.State(), kmEmpty);
    EXPECT_TRUE(macro.DataList().empty());
}

TEST(KeyMacro, TextFormLinesAndRoundTrip) {
    TKeyMacro macro;
    ASSERT_TRUE(Read(macro, "CN_KEYDOWN: 48384, CharCode: 39, KeyData: -1073741823, Shift: 129, Ctrl: 0, Alt: 0\r\n"
                            "CN_CHAR: 48386, CharCode: 13, KeyData: 0, Shift: 0, Ctrl: 128, Alt: 1\r\n"
                            "CN_CHAR: 48386, CharCode: 39, KeyData: 0, Shift: 0, Ctrl: 0, Alt: 0\r\n"
                            "WM_IME_CHAR: 646, CharCode: 38011, KeyData: 1, Shift: 0, Ctrl: 0, Alt: 0\r\n"
                            "CN_CHAR: 48386, CharCode: 2573, KeyData: 0, Shift: 0, Ctrl: 0, Alt: 0\r\n"));
    EXPECT_EQ(macro.State(), kmReady);
    const std::string text = Written(macro);
    EXPECT_EQ(text, "CN_KEYDOWN: 48384, CharCode: 39, KeyData: -1073741823, Shift: 129, Ctrl: 0, Alt: 0\r\n"
                    "CN_CHAR: 48386, CharCode: 13, KeyData: 0, Shift: 0, Ctrl: 128, Alt: 1 // #13\r\n"
                    "CN_CHAR: 48386, CharCode: 39, KeyData: 0, Shift: 0, Ctrl: 0, Alt: 0 // '\r\n"
                    "WM_IME_CHAR: 646, CharCode: 38011, KeyData: 1, Shift: 0, Ctrl: 0, Alt: 0 // \x94\x7b\r\n"
                    // two bytes that are no character, CR LF, would break the line
                    "CN_CHAR: 48386, CharCode: 2573, KeyData: 0, Shift: 0, Ctrl: 0, Alt: 0 // #2573\r\n");
    TKeyMacro again;
    ASSERT_TRUE(Read(again, text)) << "a quote in a comment reads back";
    EXPECT_EQ(again.DataList(), macro.DataList());
}

TEST(KeyMacro, RecordedSessionRoundTripsThroughAFile) {
    TWindow w;
    TKeyMacro macro;
    RecordSession(w, macro);
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "quillon_keymacro_test.txt";
    macro.SaveToFile(file);
    TKeyMacro loaded;
    ASSERT_TRUE(loaded.LoadFromFile(file));
    std::filesystem::remove(file);
    EXPECT_EQ(loaded.DataList(), macro.DataList());
    EXPECT_THROW(loaded.LoadFromFile(file), EFOpenError);
}

TEST(KeyMacro, TheReaderTakesIntegersAndSkipsOtherTokens) {
    TKeyMacro macro;
    ASSERT_TRUE(Read(macro, "\r\n  anything $BD02 'quoted' 97, #9 1.5 -3 x 0 0 1 2 3 // 1 2\n\n"
                            "646 65 0 0 0 0 99\r"));
    EXPECT_EQ(macro.DataList(), (TKeyMacroDataList{Rec(CN_CHAR, 97, -3, 0, 0, 1), Rec(WM_IME_CHAR, 65)}));
}

TEST(KeyMacro, BadTextIsRefusedAndTheMacroStaysAsItWas) {
    const std::string good = "CN_CHAR: 48386, CharCode: 97, KeyData: 0, Shift: 0, Ctrl: 0, Alt: 0\r\n";
    const char* bad[] = {
        "CN_CHAR: 48386, CharCode: 97, KeyData: 0, Shift: 0, Ctrl: 0\r\n",            // five numbers
        "CN_CHAR: 48386, CharCode: 97, KeyData: 0, Shift: 0, Ctrl: 0, Alt: 0 'x\r\n", // unclosed quote
        "WM_SETTEXT: 12, CharCode: 0, KeyData: 4096, Shift: 0, Ctrl: 0, Alt: 0\r\n",  // not a key message
        "CN_CHAR: 48386, CharCode: 65536, KeyData: 0, Shift: 0, Ctrl: 0, Alt: 0\r\n",
        "CN_CHAR: 48386, CharCode: 97, KeyData: 2147483648, Shift: 0, Ctrl: 0, Alt: 0\r\n",
        "CN_CHAR: 48386, CharCode: 97, KeyData: 0, Shift: 256, Ctrl: 0, Alt: 0\r\n",
        "CN_CHAR: 48386, CharCode: -1, KeyData: 0, Shift: 0, Ctrl: 0, Alt: 0\r\n",
        "CN_CHAR: 48386, CharCode: 99999999999999999999, KeyData: 0, Shift: 0, Ctrl: 0, Alt: 0\r\n",
        "x\r\n", // a token but no numbers
    };
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        TKeyMacro macro;
        macro.SetName("KeyMacro1");
        macro.SetShowDialog(true);
        ASSERT_TRUE(Read(macro, good));
        TScriptedMessages boxes;
        TMessageServiceScope scope(boxes);
        EXPECT_FALSE(Read(macro, good + text));
        EXPECT_EQ(macro.DataList(), (TKeyMacroDataList{Rec(CN_CHAR, 'a')}));
        EXPECT_EQ(macro.State(), kmReady);
        ASSERT_EQ(boxes.Shown.size(), 1u);
        EXPECT_EQ(boxes.Shown[0].Text, "Invalid data loaded.KeyMacro1");
        EXPECT_EQ(boxes.Shown[0].Icon, TMsgIcon::Error);
    }
}

TEST(KeyMacro, ReplayedCharacterCodesThatAreNoCharactersTypeNothing) {
    TWindow w;
    TKeyMacro macro;
    macro.SetControl(&w.Editor);
    // A lead byte with a line feed as trail, a trail without lead, a lone lead byte.
    ASSERT_TRUE(Read(macro, "48386 33034 0 0 0 0\r\n48386 321 0 0 0 0\r\n646 224 0 0 0 0\r\n646 37882 0 0 0 0\r\n"));
    macro.Execute();
    EXPECT_EQ(w.Text(), "\x93\xfa");
}

// A save that fails part way (here at the file size limit) raises the write error and leaves the
// old macro file as it was: the new text goes to a temporary file first.
TEST(KeyMacro, AFailedSaveKeepsTheOldFile) {
    TWindow w;
    TKeyMacro macro;
    RecordSession(w, macro);
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "quillon_keymacro_old.txt";
    { std::ofstream(file, std::ios::binary) << "1 2 3 4 5 6\r\n"; }
    bool raised = false;
    try {
        TFileSizeLimit limit(8);
        macro.SaveToFile(file);
    } catch (const EWriteError& e) {
        raised = true;
        EXPECT_EQ(e.Cause(), "ファイルの大きさが許された上限を超えます");
    }
    EXPECT_TRUE(raised);
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "1 2 3 4 5 6\r\n");
    std::filesystem::remove(file);
}

} // namespace
} // namespace quillon
