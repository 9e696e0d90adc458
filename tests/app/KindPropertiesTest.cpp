#include "KindProperties.h"
#include "MessageBox.h"

#include "ListKinds.h"
#include "MemorySettingsStore.h"
#include "MotionColourer.h"
#include "StreamUtils.h"
#include "VoiceColourer.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quillon;

namespace {

// A store in memory, a kind's property set and colourer, and a settings window that makes a
// recognisable change to whatever it is given and answers as told.
struct KindPropertiesTest : ::testing::Test {
    TMemorySettingsStore Store;
    TEditorExProp Prop;
    TMotionColourer Motion{nullptr};
    bool Confirm = true;
    int Shown = 0;
    std::vector<int> Applied;

    TPropertyEditor Window() {
        TPropertyEditor editor;
        editor.EditEditorProperties = [this](TEditorExProp& prop) {
            ++Shown;
            prop.SetColor(clAqua);
            prop.Caret().SetTabSpaceCount(6);
            return Confirm;
        };
        editor.EditEditorAndColourer = [this](TEditorExProp& prop, TOrvColourer& colourer) {
            ++Shown;
            prop.SetColor(clAqua);
            colourer.Reserve().SetColor(clRed);
            colourer.ColorAt(0).SetBkColor(clYellow);
            return Confirm;
        };
        return editor;
    }
    TApplyKindProperties Apply() {
        return [this](int kind, const TEditorExProp& prop, TOrvColourer* colourer) {
            Applied.push_back(kind);
            EXPECT_EQ(&prop, &Prop);
            EXPECT_EQ(colourer, kind == lkText ? nullptr : &Motion);
        };
    }
    bool Edit(int kind, TOrvColourer* colourer) {
        return EditKindProperties(Store, kind, Prop, colourer, Window(), Apply());
    }
};

TEST_F(KindPropertiesTest, ConfirmedListKindStoresSetAndColoursAndAppliesOnce) {
    ASSERT_TRUE(Edit(lkMotion, &Motion));
    EXPECT_EQ(Prop.Color(), clAqua);
    EXPECT_EQ(Motion.Reserve().Color(), clRed);
    EXPECT_EQ(Motion.ColorAt(0).BkColor(), clYellow);
    EXPECT_EQ(Applied, std::vector<int>{lkMotion});

    TEditorExProp stored;
    ASSERT_TRUE(LoadKindProperties(Store, lkMotion, stored));
    EXPECT_EQ(stored.Color(), clAqua);
    TMotionColourer storedColours(nullptr);
    storedColours.ReadFromRegistry(Store, ColourerPropertiesSection, "Motion");
    EXPECT_EQ(storedColours.Reserve().Color(), clRed);
    EXPECT_EQ(storedColours.ColorAt(0).BkColor(), clYellow);
    // Other kinds are not touched.
    EXPECT_FALSE(LoadKindProperties(Store, lkVoice, stored));
    EXPECT_FALSE(Store.ValueExists(ColourerPropertiesSection, "Voice"));
}

TEST_F(KindPropertiesTest, ConfirmedPlainTextStoresOnlyCommon) {
    ASSERT_TRUE(Edit(lkText, &Motion)); // a colourer given with plain text is not edited
    EXPECT_EQ(Prop.Caret().TabSpaceCount(), 6);
    EXPECT_TRUE(Store.ValueExists(EditorPropertiesSection, "Common"));
    EXPECT_FALSE(Store.SectionExists(ColourerPropertiesSection));
    EXPECT_EQ(Motion.Reserve().Color(), clNone);
    EXPECT_EQ(Applied, std::vector<int>{lkText});
}

// The window edits copies: what it changed before Cancel reaches no object, no value, no window.
TEST_F(KindPropertiesTest, CancelChangesNothing) {
    Confirm = false;
    for (int kind : {lkText, lkMotion}) {
        EXPECT_FALSE(Edit(kind, &Motion));
        EXPECT_EQ(Prop.Color(), TEditorExProp().Color());
        EXPECT_EQ(Prop.Caret().TabSpaceCount(), TEditorExProp().Caret().TabSpaceCount());
        EXPECT_EQ(Motion.Reserve().Color(), clNone);
        EXPECT_EQ(Motion.ColorAt(0).BkColor(), clNone);
    }
    EXPECT_EQ(Shown, 2);
    EXPECT_FALSE(Store.SectionExists(EditorPropertiesSection));
    EXPECT_FALSE(Store.SectionExists(ColourerPropertiesSection));
    EXPECT_TRUE(Applied.empty());
}

TEST_F(KindPropertiesTest, ColourerOfAnotherKindOrNoneShowsNoWindow) {
    TVoiceColourer voice(nullptr);
    EXPECT_FALSE(Edit(lkMotion, &voice));
    EXPECT_FALSE(Edit(lkMotion, nullptr));
    EXPECT_FALSE(Edit(9, &Motion));
    EXPECT_FALSE(Edit(-1, nullptr));
    EXPECT_EQ(Shown, 0);
    EXPECT_FALSE(Store.SectionExists(EditorPropertiesSection));
}

TEST_F(KindPropertiesTest, DamagedOrMissingSetKeepsTheDefaults) {
    TScriptedMessages messages;
    TMessageServiceScope scope(messages);
    Prop.SetColor(clGreen);
    EXPECT_FALSE(LoadKindProperties(Store, lkMotion, Prop));
    EXPECT_TRUE(messages.Shown.empty()) << "a missing set is no damage";
    WriteRegStream(Store, EditorPropertiesSection, "Motion", TBytes{'Q', 'C', 'M', 'P', 1, 200, 3});
    EXPECT_FALSE(LoadKindProperties(Store, lkMotion, Prop));
    EXPECT_EQ(Prop.Color(), clGreen);
    // Reported once, naming the kind; the damaged value is gone for the caller to store its set.
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(
        messages.Shown[0].Text,
        "保存されていたエディタの設定 (モーションリスト) が壊れていたため読み込めませんでした。\n既定の設定に置き換えます。");
    EXPECT_FALSE(Store.ValueExists(EditorPropertiesSection, "Motion"));
    EXPECT_FALSE(LoadKindProperties(Store, lkMotion, Prop));
    EXPECT_EQ(messages.Shown.size(), 1u);
}

TEST(KindColourers, EachListKindHasItsOwnClassAndColoursCopyWhole) {
    EXPECT_EQ(CreateKindColourer(lkText), nullptr);
    for (int kind = lkMotion; kind < kListKindCount; ++kind) {
        std::unique_ptr<TOrvColourer> source = CreateKindColourer(kind);
        ASSERT_NE(source, nullptr);
        EXPECT_EQ(ColourerKind(*source), kind);
        EXPECT_EQ(source->ClassInfo().ClassName, ListKindInfo(kind).ColourerClass);
        source->SetDefaultColors();
        source->Reserve().SetStyle(StyleBit(fsItalic));
        std::unique_ptr<TOrvColourer> copy = CreateKindColourer(kind);
        CopyColourerColors(*copy, *source);
        EXPECT_EQ(WriteComponent(*copy), WriteComponent(*source)) << kind;
    }
}

} // namespace
