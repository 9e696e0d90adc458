#include "EditorExProp.h"
#include "ChangeEverything.h"
#include "EditorTestHost.h"
#include "MemorySettingsStore.h"
#include "StreamUtils.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillon {
namespace {

// Every stored property changed, and a find string with options.
void ChangeSet(TEditorExProp& Set) {
    ChangeEverything(Set);
    Set.SetFindString("abc");
    Set.SetSearchOptions(sfoMatchCase | sfoWholeWord);
}

TEST(EditorExProp, MarksAreStoredAfterTheInheritedPropertiesAndTheFindStringIsNot) {
    TMemorySettingsStore store;
    TEditorExProp a;
    ChangeSet(a);
    TEditorExProp defaults;
    EXPECT_FALSE(defaults.ExMarks().FindMark().Color() == a.ExMarks().FindMark().Color());
    a.WriteToRegistry(store, "EditorProperties", "Common");
    TEditorExProp b;
    b.ReadFromRegistry(store, "EditorProperties", "Common");
    EXPECT_EQ(WriteComponent(b), WriteComponent(a));
    EXPECT_EQ(b.FindString(), "");
    EXPECT_EQ(b.SearchOptions(), 0);

    // The plain set's value is of another class.
    TEditorProp plain;
    plain.WriteToRegistry(store, "EditorProperties", "Plain");
    EXPECT_THROW(b.ReadFromRegistry(store, "EditorProperties", "Plain"), EReadError);
    EXPECT_EQ(WriteComponent(b), WriteComponent(a));
}

TEST(EditorExProp, AssignedToAnExtendedEditorAndBack) {
    TEditorExProp set;
    ChangeSet(set);
    TTestHost host;
    TEditorEx editor;
    editor.SetHost(&host);
    editor.Assign(set);
    EXPECT_EQ(editor.FindString(), "abc");
    EXPECT_EQ(editor.SearchOptions(), sfoMatchCase | sfoWholeWord);
    EXPECT_EQ(editor.WordWrap(), set.WordWrap());

    TEditorExProp back;
    back.Assign(editor);
    EXPECT_EQ(back.FindString(), "abc");
    EXPECT_EQ(back.SearchOptions(), sfoMatchCase | sfoWholeWord);
    // All that the model keeps, the marks included, came back; colour and font stay the window's.
    back.SetColor(set.Color());
    back.SetFont(set.Font());
    back.SetFileExtList(set.FileExtList());
    EXPECT_EQ(WriteComponent(back), WriteComponent(set));
    editor.SetHost(nullptr);
}

TEST(EditorExProp, APlainSetOrEditorLeavesTheExtrasAlone) {
    TEditorExProp set;
    ChangeSet(set);
    const TBytes marks = WriteComponent(set.ExMarks());
    TEditorProp plain;
    set.Assign(plain);
    EXPECT_EQ(WriteComponent(set.ExMarks()), marks);
    EXPECT_EQ(set.FindString(), "abc");
    TEditor editor;
    set.Assign(editor);
    EXPECT_EQ(WriteComponent(set.ExMarks()), marks);

    // The other way round, an extended set gives a plain one what it has.
    TEditorProp target;
    target.Assign(set);
    EXPECT_EQ(target.WordWrap(), set.WordWrap());
    EXPECT_EQ(target.Color(), set.Color());
}

TEST(EditorExProp, SetToSetCopiesTheExtrasAndReportsThroughTheSetters) {
    TEditorExProp a, b;
    ChangeSet(a);
    std::vector<std::string> fired;
    b.OnFindStringChange = [&](TPersistent* Sender) {
        EXPECT_EQ(Sender, &b);
        fired.push_back("find");
    };
    b.OnSearchOptionsChange = [&](TPersistent* Sender) {
        EXPECT_EQ(Sender, &b);
        fired.push_back("options");
    };
    b.Assign(a);
    EXPECT_EQ(WriteComponent(b), WriteComponent(a));
    EXPECT_EQ(b.FindString(), "abc");
    EXPECT_EQ(b.SearchOptions(), a.SearchOptions());
    EXPECT_TRUE(fired.empty()) << "a set assigned from a set stores the two directly";
}

} // namespace
} // namespace quillon
