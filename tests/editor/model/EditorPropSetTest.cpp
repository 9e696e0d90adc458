#include "EditorPropSet.h"
#include "ChangeEverything.h"
#include "EditorTestHost.h"
#include "MemorySettingsStore.h"
#include "StreamUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillon {
namespace {

TStringList List(std::vector<std::string> Strings) {
    TStringList list;
    list.Assign(Strings);
    return list;
}

// A set with every property away from its default, and a file extension.
void ChangeSet(TEditorProp& Set) {
    ChangeEverything(Set);
    Set.SetFileExtList(List({".txt"}));
}

// What the editor model keeps of a set: its stream with Color, Font and FileExtList as in Like.
TBytes EditorPart(const TEditorProp& Set, const TEditorProp& Like) {
    TEditorProp copy;
    copy.Assign(Set);
    copy.SetColor(Like.Color());
    copy.SetFont(Like.Font());
    copy.SetFileExtList(Like.FileExtList());
    return WriteComponent(copy);
}

TEST(EditorPropSet, Defaults) {
    TEditorProp set;
    EXPECT_EQ(set.ClassName(), "TEditorProp");
    EXPECT_EQ(set.Color(), clWindow);
    EXPECT_EQ(set.Font().Name(), "FixedSys");
    EXPECT_EQ(set.Font().Color(), clWindowText);
    EXPECT_EQ(set.Font().Height(), -11);
    EXPECT_EQ(set.Font().Charset(), DEFAULT_CHARSET);
    EXPECT_EQ(set.HitStyle(), hsSelect);
    EXPECT_EQ(set.ScrollBars(), ssNone);
    EXPECT_FALSE(set.WordWrap());
    EXPECT_EQ(set.ReserveWordList().Count(), 0);
    EXPECT_EQ(set.View().GetOwner(), &set);
    // The option objects start as an editor's do.
    TEditor editor;
    TEditorProp fromEditor;
    fromEditor.Assign(editor);
    EXPECT_EQ(WriteComponent(fromEditor), WriteComponent(set));
}

TEST(EditorPropSet, EveryPropertyRoundTripsThroughTheSettingsStore) {
    TMemorySettingsStore store;
    TEditorProp a;
    ChangeSet(a);
    a.WriteToRegistry(store, "EditorProperties", "Motion");
    // Changed twice over, so that every value differs from a's before reading.
    TEditorProp b;
    ChangeSet(b);
    ChangeEverything(b);
    b.SetFileExtList(List({".cmd", ".txt"}));
    b.ReadFromRegistry(store, "EditorProperties", "Motion");
    EXPECT_EQ(WriteComponent(b), WriteComponent(a));
    EXPECT_EQ(b.Font().Name(), a.Font().Name());
    EXPECT_EQ(b.FileExtList().Strings(), std::vector<std::string>{".txt"});
}

TEST(EditorPropSet, CorruptStoredValueKeepsTheSetsValues) {
    TMemorySettingsStore store;
    TEditorProp stored;
    ChangeSet(stored);
    const TBytes full = WriteComponent(stored);
    TEditorProp set;
    const TBytes before = WriteComponent(set);
    for (std::size_t n = 1; n < full.size(); ++n) {
        WriteRegStream(store, "EditorProperties", "Motion", TBytes(full.begin(), full.begin() + static_cast<long>(n)));
        EXPECT_THROW(set.ReadFromRegistry(store, "EditorProperties", "Motion"), EReadError) << n;
        ASSERT_EQ(WriteComponent(set), before) << "cut at " << n;
    }
    // A set of the extended editor's class is another class.
    TBytes other = full;
    const std::string name = "TEditorProp";
    auto at = std::search(other.begin(), other.end(), name.begin(), name.end());
    ASSERT_NE(at, other.end());
    *(at + 1) = 'X';
    WriteRegStream(store, "EditorProperties", "Motion", other);
    EXPECT_THROW(set.ReadFromRegistry(store, "EditorProperties", "Motion"), EReadError);
    EXPECT_EQ(WriteComponent(set), before);
}

// The stored value with the integer property Name (its full path) set to Value.
TBytes WithInteger(TBytes Stored, const std::string& Name, std::int32_t Value) {
    TBytes key{'I', static_cast<std::uint8_t>(Name.size()), 0, 0, 0};
    key.insert(key.end(), Name.begin(), Name.end());
    auto at = std::search(Stored.begin(), Stored.end(), key.begin(), key.end());
    if (at == Stored.end()) throw std::invalid_argument(Name);
    for (int i = 0; i < 4; ++i)
        *(at + static_cast<long>(key.size()) + i) =
            static_cast<std::uint8_t>(static_cast<std::uint32_t>(Value) >> (8 * i));
    return Stored;
}

// Values that no setter lets through read as the setters take them: a font height within a
// 200-point font's, 0 as the default, a character set as a byte, a number that names no cursor not
// at all.
TEST(EditorPropSet, OutOfRangeStoredValuesReadAsTheSettersTakeThem) {
    struct Case {
        const char* name;
        std::int32_t stored;
        std::function<int(const TEditorProp&)> get;
        int read;
    };
    const auto height = [](const TEditorProp& Set) { return Set.Font().Height(); };
    const auto charset = [](const TEditorProp& Set) { return Set.Font().Charset(); };
    const auto cursors = [](const TEditorProp& Set) -> const TEditorCursors& { return Set.Caret().Cursors(); };
    const Case cases[] = {
        {"Font.Height", INT32_MIN, height, -MaxFontHeight},
        {"Font.Height", INT32_MAX, height, MaxFontHeight},
        {"Font.Height", 0, height, -11},
        {"Font.Height", -20, height, -20},
        {"Font.Charset", 256, charset, DEFAULT_CHARSET},
        {"Font.Charset", -1, charset, DEFAULT_CHARSET},
        {"Font.Charset", 128, charset, 128},
        {"Caret.Cursors.DefaultCursor", INT32_MIN, [&](auto& S) { return cursors(S).DefaultCursor(); }, crIBeam},
        {"Caret.Cursors.DragSelCursor", 3, [&](auto& S) { return cursors(S).DragSelCursor(); }, crDrag},
        {"Caret.Cursors.DragSelCopyCursor", -23, [&](auto& S) { return cursors(S).DragSelCopyCursor(); },
         crDragSelCopy},
        {"Caret.Cursors.InSelCursor", 1000, [&](auto& S) { return cursors(S).InSelCursor(); }, crDefault},
        {"Caret.Cursors.LeftMarginCursor", -3, [&](auto& S) { return cursors(S).LeftMarginCursor(); }, -3},
        {"Caret.Cursors.TopMarginCursor", INT32_MAX, [&](auto& S) { return cursors(S).TopMarginCursor(); }, crDefault},
    };
    TMemorySettingsStore store;
    const TBytes stored = WriteComponent(TEditorProp());
    for (const Case& c : cases) {
        WriteRegStream(store, "EditorProperties", "Motion", WithInteger(stored, c.name, c.stored));
        TEditorProp set;
        set.ReadFromRegistry(store, "EditorProperties", "Motion");
        EXPECT_EQ(c.get(set), c.read) << c.name << " " << c.stored;
    }
}

// A set as an older build wrote it: the same class, knowing only Color and WordWrap.
class TOlderEditorProp : public TComponent {
public:
    QUILLON_CLASS_INFO
    TOlderEditorProp() : TComponent(nullptr) {}
    TColor Color() const { return clRed; }
    void SetColor(TColor) {}
    bool WordWrap() const { return true; }
    void SetWordWrap(bool) {}
};

const TClassInfo& TOlderEditorProp::StaticClassInfo() {
    using P = TOlderEditorProp;
    static const TClassInfo info{
        "TEditorProp",
        &TComponent::StaticClassInfo(),
        {ColorProp("Color", &P::Color, &P::SetColor), BoolProp("WordWrap", &P::WordWrap, &P::SetWordWrap)}};
    return info;
}

TEST(EditorPropSet, AnOlderValueLeavesTheMissingPropertiesAsTheyAre) {
    TEditorProp set;
    ChangeSet(set);
    set.SetWordWrap(false);
    TEditorProp expected;
    expected.Assign(set);
    expected.SetColor(clRed);
    expected.SetWordWrap(true);
    ReadComponent(WriteComponent(TOlderEditorProp()), set);
    EXPECT_EQ(WriteComponent(set), WriteComponent(expected));
}

TEST(EditorPropSet, AssignedToAnEditorAndBack) {
    TEditorProp set;
    ChangeSet(set);
    TTestHost host;
    TEditor editor;
    editor.SetHost(&host);
    editor.Assign(set);
    EXPECT_EQ(editor.WordWrap(), set.WordWrap());
    EXPECT_EQ(editor.ScrollBars(), set.ScrollBars());
    EXPECT_EQ(editor.HitStyle(), set.HitStyle());
    EXPECT_EQ(editor.ReserveWordList(), set.ReserveWordList());
    EXPECT_EQ(editor.WrapOption().WrapByte(), set.WrapOption().WrapByte());

    // A set taken from that editor makes a second editor look and behave like the first.
    TEditorProp fromEditor;
    fromEditor.Assign(editor);
    EXPECT_EQ(fromEditor.Color(), clWindow) << "the window's colour and font are not the model's";
    EXPECT_EQ(fromEditor.Font().Name(), "FixedSys");
    EXPECT_TRUE(fromEditor.FileExtList().Strings().empty());
    EXPECT_EQ(EditorPart(fromEditor, set), WriteComponent(set));
    TEditor second;
    second.Assign(fromEditor);
    TEditorProp fromSecond;
    fromSecond.Assign(second);
    EXPECT_EQ(WriteComponent(fromSecond), WriteComponent(fromEditor));
    editor.SetHost(nullptr);
}

TEST(EditorPropSet, SetToSetCopiesEverythingAndReportsThroughThreeSetters) {
    TEditorProp a, b;
    ChangeSet(a);
    std::vector<std::string> fired;
    auto note = [&](const char* What) {
        return [&fired, &b, What](TPersistent* Sender) {
            EXPECT_EQ(Sender, &b);
            fired.push_back(What);
        };
    };
    b.OnColorChange = note("color");
    b.OnHitStyleChange = note("hitstyle");
    b.OnScrollBarsChange = note("scrollbars");
    b.OnWordWrapChange = note("wordwrap");
    b.Assign(a);
    EXPECT_EQ(WriteComponent(b), WriteComponent(a));
    EXPECT_EQ(fired, (std::vector<std::string>{"color", "scrollbars", "wordwrap"}))
        << "the hit style is stored directly";
    fired.clear();
    b.Assign(a);
    EXPECT_TRUE(fired.empty()) << "nothing changed";
}

TEST(EditorPropSet, WordWrapIsSwitchedInTheOrderThatWrapsOnce) {
    TTestHost host;
    TEditor editor;
    editor.SetHost(&host);
    const std::string line(60, 'a');
    editor.Lines().SetText(line + "\r\n" + line);
    editor.WrapOption().SetWrapByte(20);
    editor.SetWordWrap(true);
    ASSERT_GT(editor.RowCount(), 2);
    TEditor reference;
    reference.Lines().SetText(line + "\r\n" + line);
    reference.WrapOption().SetWrapByte(40);
    reference.SetWordWrap(true);
    ASSERT_GT(reference.RowCount(), 2);
    ASSERT_NE(reference.RowCount(), editor.RowCount());

    // The rows at each change of the wrap options, seen before the store re-wraps for it.
    std::vector<int> rowsAtChange;
    TNotifyEvent rewrap = editor.WrapOption().OnChange;
    editor.WrapOption().OnChange = [&](TPersistent* Sender) {
        rowsAtChange.push_back(editor.RowCount());
        rewrap(Sender);
    };

    // Off: unwrapped under the old options, which then change.
    TEditorProp off;
    off.WrapOption().SetWrapByte(30);
    editor.Assign(off);
    EXPECT_FALSE(editor.WordWrap());
    EXPECT_EQ(editor.RowCount(), 2);
    EXPECT_EQ(rowsAtChange, std::vector<int>{2});

    // On: the options change first, then the text is wrapped once at the new margin.
    rowsAtChange.clear();
    TEditorProp on;
    on.SetWordWrap(true);
    on.WrapOption().SetWrapByte(40);
    editor.Assign(on);
    EXPECT_EQ(rowsAtChange, std::vector<int>{2});
    EXPECT_EQ(editor.RowCount(), reference.RowCount());
    editor.SetHost(nullptr);
}

TEST(EditorPropSet, AssigningToOrFromAnythingElseRaises) {
    TEditorProp set;
    TEditorMargin margin;
    try {
        set.Assign(margin);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "TEditorMargin を TEditorProp に代入することはできません");
    }
    try {
        margin.Assign(set);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "TEditorProp を TEditorMargin に代入することはできません");
    }
}

} // namespace
} // namespace quillon
