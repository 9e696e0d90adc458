#include "ProgramSettings.h"
#include "MessageBox.h"

#include "KindProperties.h"
#include "ListKinds.h"
#include "QtSettingsStore.h"
#include "StreamUtils.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace quillon;

namespace {

// Everything one run of the program holds, with the colours of a first start.
struct TProgram {
    TKindColourers Colourers;
    TOrvColourer& Motion = *Colourers.Colourer(lkMotion);
    TOrvColourer& Command = *Colourers.Colourer(lkCommand);
    TOrvColourer& Voice = *Colourers.Colourer(lkVoice);
    TOrvColourer& Enemy = *Colourers.Colourer(lkEnemy);
    TOrvColourer& Bmp = *Colourers.Colourer(lkBmp);
    TRecentFiles History;
    TMakerOptions Maker;
    TMotionFormatterOptions MotionOptions;
    TCommandFormatterOptions CommandOptions;
    TZCommandFormatterOptions ZCommandOptions;
    TProgramSettings Settings{Colourers, History, Maker, MotionOptions, CommandOptions, ZCommandOptions};

    TProgram() {
        for (int kind = lkMotion; kind < kListKindCount; ++kind) Settings.Colourer(kind)->SetDefaultColors();
    }
};

std::string ValueName(int kind) { return std::string(ListKindInfo(kind).ValueName); }

// Each test's store is an INI file in its own temporary folder; a "start" opens it afresh.
class ProgramSettingsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::unique_ptr<TQtSettingsStore> store;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        Reopen();
    }
    void Reopen() {
        if (store) store->Flush();
        store = std::make_unique<TQtSettingsStore>(dir.filePath("quillon.ini"));
    }
    // One run of the program: clean, load, optionally change something, save.
    void Start(TProgram& program) {
        Reopen();
        CleanObsoleteSettings(*store);
        LoadSettings(*store, program.Settings);
    }
    void End(TProgram& program) {
        SaveSettings(*store, program.Settings);
        Reopen();
    }
};

TEST_F(ProgramSettingsTest, FirstStartStoresEveryColourerAndLaterStartsReadThem) {
    TProgram first;
    EXPECT_FALSE(HasColourerProperties(*store));
    Start(first);
    EXPECT_TRUE(HasColourerProperties(*store));
    for (int kind = lkMotion; kind < kListKindCount; ++kind) {
        SCOPED_TRACE(ValueName(kind));
        auto stored = store->ReadBinary("ColourerProperties", ValueName(kind));
        ASSERT_TRUE(stored);
        EXPECT_EQ(*stored, WriteComponent(*first.Settings.Colourer(kind)));
    }
    // Property editing stores a changed colour during the run.
    first.Voice.ColorAt(0).SetColor(clRed);
    first.Voice.WriteToRegistry(*store, "ColourerProperties", "Voice");
    End(first);

    TProgram second;
    Start(second);
    EXPECT_EQ(second.Voice.ColorAt(0).Color(), clRed);
    EXPECT_EQ(WriteComponent(second.Voice), WriteComponent(first.Voice));
    // A later start reads and never writes the colourers back.
    EXPECT_EQ(*store->ReadBinary("ColourerProperties", "Voice"), WriteComponent(first.Voice));
}

TEST_F(ProgramSettingsTest, AbsentValuesReadAsTheirDefaults) {
    TProgram program;
    program.Maker = {false, 3, 0};
    program.MotionOptions.SetAddSemiColon(false);
    program.CommandOptions.SetFlagMethod(2);
    program.History.Add("/tmp/a.lst");
    Start(program);
    const TMakerOptions maker;
    EXPECT_EQ(program.Maker.UseDecColorDepth, maker.UseDecColorDepth);
    EXPECT_EQ(program.Maker.DecColorDepthMethod, 1);
    EXPECT_EQ(program.Maker.CreateMode, 2);
    EXPECT_TRUE(program.MotionOptions.HeaderAlign());
    EXPECT_FALSE(program.MotionOptions.CanDockMinus());
    EXPECT_EQ(program.MotionOptions.FlagMethod(), 0);
    EXPECT_TRUE(program.MotionOptions.FlagAlign());
    EXPECT_TRUE(program.MotionOptions.AddSemiColon());
    EXPECT_EQ(program.CommandOptions.FlagMethod(), 0);
    EXPECT_TRUE(program.History.Items().empty());
}

TEST_F(ProgramSettingsTest, EveryOptionSurvivesARestart) {
    TProgram first;
    Start(first);
    first.Maker = {false, 3, 0};
    first.MotionOptions.SetHeaderAlign(false);
    first.MotionOptions.SetCanDockMinus(true);
    first.MotionOptions.SetFlagMethod(2);
    first.MotionOptions.SetFlagAlign(false);
    first.MotionOptions.SetAddSemiColon(false);
    first.CommandOptions.SetHeaderAlign(false);
    first.CommandOptions.SetFlagMethod(1);
    first.ZCommandOptions.SetFlagAlign(false);
    first.ZCommandOptions.SetAddSemiColon(false);
    End(first);
    EXPECT_EQ(store->ReadValue("MotionOptions", "AddSemiColon"), "0");
    EXPECT_EQ(store->ReadValue("MotionOptions", "CanDockMinus"), "1");
    EXPECT_EQ(store->ReadValue("Options", "DecColorDepthMethod"), "3");

    TProgram second;
    Start(second);
    EXPECT_FALSE(second.Maker.UseDecColorDepth);
    EXPECT_EQ(second.Maker.DecColorDepthMethod, 3);
    EXPECT_EQ(second.Maker.CreateMode, 0);
    EXPECT_FALSE(second.MotionOptions.HeaderAlign());
    EXPECT_TRUE(second.MotionOptions.CanDockMinus());
    EXPECT_EQ(second.MotionOptions.FlagMethod(), 2);
    EXPECT_FALSE(second.MotionOptions.FlagAlign());
    EXPECT_FALSE(second.MotionOptions.AddSemiColon());
    EXPECT_FALSE(second.CommandOptions.HeaderAlign());
    EXPECT_EQ(second.CommandOptions.FlagMethod(), 1);
    EXPECT_TRUE(second.CommandOptions.FlagAlign());
    EXPECT_TRUE(second.ZCommandOptions.HeaderAlign());
    EXPECT_FALSE(second.ZCommandOptions.FlagAlign());
    EXPECT_FALSE(second.ZCommandOptions.AddSemiColon());
}

TEST_F(ProgramSettingsTest, StoredNumbersOutOfRangeAreClamped) {
    struct Case {
        const char* Stored;
        int Method, Mode, Flag;
    } cases[] = {
        {"7", 3, 2, 2},           {"-1", 0, 0, 0},         {"5", 3, 2, 2},   {"3", 3, 2, 2},
        {"2", 2, 2, 2},           {"2147483647", 3, 2, 2}, {"abc", 1, 2, 0}, // not a number: the default
        {"99999999999", 1, 2, 0},                                            // does not fit in 32 bits: the default
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Stored);
        store->WriteValue("Options", "DecColorDepthMethod", c.Stored);
        store->WriteValue("Options", "CreateMode", c.Stored);
        for (const char* section : {"MotionOptions", "CommandOptions", "ZCommandOptions"})
            store->WriteValue(section, "FlagMethod", c.Stored);
        TProgram program;
        Start(program);
        EXPECT_EQ(program.Maker.DecColorDepthMethod, c.Method);
        EXPECT_EQ(program.Maker.CreateMode, c.Mode);
        EXPECT_EQ(program.MotionOptions.FlagMethod(), c.Flag);
        EXPECT_EQ(program.CommandOptions.FlagMethod(), c.Flag);
        EXPECT_EQ(program.ZCommandOptions.FlagMethod(), c.Flag);
    }
}

TEST_F(ProgramSettingsTest, RecentFilesKeepBlanksQuotesAndTheirLimit) {
    TProgram first;
    Start(first);
    for (const char* name : {"/a/1.lst", "/a/2.lst", "/a/3.lst", "/a/4.lst", "/b/my motion.lst", "/b/\"q\",c.lst"})
        first.History.Add(name);
    End(first);
    EXPECT_EQ(store->ReadValue("Options", "History"),
              R"("/b/""q"",c.lst","/b/my motion.lst",/a/4.lst,/a/3.lst,/a/2.lst)");

    TProgram second;
    Start(second);
    const std::vector<std::string> expected{"/b/\"q\",c.lst", "/b/my motion.lst", "/a/4.lst", "/a/3.lst", "/a/2.lst"};
    EXPECT_EQ(second.History.Items(), expected);

    // A name whose bytes are not UTF-8 is stored as its file URL and read back byte for byte.
    TProgram cp932;
    cp932.History.Add("/b/\x93\xFA.lst");
    End(cp932);
    EXPECT_EQ(store->ReadValue("Options", "History"), "file:///b/%93%FA.lst");
    TProgram back;
    Start(back);
    EXPECT_EQ(back.History.Items(), std::vector<std::string>{"/b/\x93\xFA.lst"});

    // A longer list written by hand still gives the five newest.
    store->WriteValue("Options", "History", "/1,/2,/3,/4,/5,/6,/7");
    TProgram third;
    Start(third);
    EXPECT_EQ(third.History.Items(), (std::vector<std::string>{"/1", "/2", "/3", "/4", "/5"}));
}

TEST_F(ProgramSettingsTest, ObsoleteSettingsAreDeletedAtStart) {
    store->WriteBinary("EditorProperty", "Motion", TBytes{1, 2, 3});
    store->WriteValue("EditorProperty/Sub", "X", "1");
    store->WriteBinary("ColourerProperty", "Motion", TBytes{4});
    const char* obsolete[] = {"ItemMatchCase", "ItemRegExp", "ItemSubString", "ItemSearchToken", "ItemDirection"};
    for (const char* name : obsolete) store->WriteValue("Options", name, "1");
    store->WriteValue("Options", "LastWinW", "640");
    TProgram program;
    Start(program);
    Reopen();
    EXPECT_FALSE(store->SectionExists("EditorProperty"));
    EXPECT_FALSE(store->ValueExists("EditorProperty/Sub", "X"));
    EXPECT_FALSE(store->SectionExists("ColourerProperty"));
    for (const char* name : obsolete) EXPECT_FALSE(store->ValueExists("Options", name)) << name;
    EXPECT_EQ(store->ReadValue("Options", "LastWinW"), "640");
    EXPECT_TRUE(store->SectionExists("ColourerProperties"));
}

TEST_F(ProgramSettingsTest, CleaningAStoreWithoutOptionsCreatesNothing) {
    CleanObsoleteSettings(*store);
    Reopen();
    EXPECT_FALSE(store->SectionExists("Options"));
}

// A damaged colourer value, or one holding another colourer, never stops the start: that colourer
// keeps its colours and the others are read as usual.
TEST_F(ProgramSettingsTest, AColourerThatCannotBeReadKeepsItsColours) {
    TProgram first;
    Start(first);
    first.Bmp.ColorAt(0).SetColor(clLime);
    first.Bmp.WriteToRegistry(*store, "ColourerProperties", "Bmp");
    TBytes motion = WriteComponent(first.Motion);
    const TBytes damaged[] = {
        TBytes{'Q', 'C', 'M', 'P'},               // truncated after the magic
        TBytes(motion.begin(), motion.end() - 3), // truncated inside a property
        WriteComponent(first.Command),            // another class
        TBytes(64, 0xFF),                         // not a stream at all
    };
    for (const TBytes& bytes : damaged) {
        TScriptedMessages messages;
        TMessageServiceScope scope(messages);
        store->WriteBinary("ColourerProperties", "Motion", bytes);
        store->WriteBinary("ColourerProperties", "QES", bytes);
        End(first);
        TProgram next;
        next.Motion.ColorAt(1).SetColor(clFuchsia); // the colours it had before loading
        const TBytes before = WriteComponent(next.Motion);
        EXPECT_NO_THROW(Start(next));
        EXPECT_EQ(WriteComponent(next.Motion), before);
        EXPECT_EQ(next.Bmp.ColorAt(0).Color(), clLime);
        // One notice names both kinds, and the colours in use replace the damaged values.
        ASSERT_EQ(messages.Shown.size(), 1u);
        EXPECT_EQ(messages.Shown[0].Text,
                  "保存されていた色の設定 (モーションリスト、Quessa1.3ｴﾈﾐｰｿｰｽ) が壊れていたため読み込めませんでした。\n"
                  "既定の色に置き換えました。");
        EXPECT_EQ(messages.Shown[0].Icon, TMsgIcon::Warning);
        EXPECT_EQ(store->ReadBinary("ColourerProperties", "Motion"), before);
        End(next);
        TProgram again;
        Start(again);
        EXPECT_EQ(messages.Shown.size(), 1u) << "a repaired value gives no second notice";
        EXPECT_EQ(WriteComponent(again.Motion), before);
    }
}

TEST_F(ProgramSettingsTest, AnEmptyOrMissingColourerValueLeavesTheColourer) {
    TProgram first;
    Start(first);
    store->WriteBinary("ColourerProperties", "Motion", TBytes{});
    store->DeleteValue("ColourerProperties", "Enemy");
    End(first);
    TProgram next;
    next.Motion.ColorAt(0).SetColor(clAqua);
    next.Enemy.ColorAt(0).SetColor(clAqua);
    Start(next);
    EXPECT_EQ(next.Motion.ColorAt(0).Color(), clAqua);
    EXPECT_EQ(next.Enemy.ColorAt(0).Color(), clAqua);
    // The section exists, so the start does not write the colourers again.
    EXPECT_FALSE(store->ValueExists("ColourerProperties", "Enemy"));
}

TEST(ProgramSettingsColourers, EveryListKindHasItsColourer) {
    TProgram program;
    EXPECT_EQ(program.Settings.Colourer(lkText), nullptr);
    EXPECT_EQ(program.Settings.Colourer(kListKindCount), nullptr);
    for (int kind = lkMotion; kind < kListKindCount; ++kind)
        EXPECT_EQ(program.Settings.Colourer(kind)->ClassInfo().ClassName, ListKindInfo(kind).ColourerClass);
}

} // namespace
