#include "EditorOptions.h"
#include "ChangeEverything.h"
#include "MemorySettingsStore.h"
#include "StreamUtils.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

// Counts the changes an object reports.
struct TCounter {
    int n = 0;
    TNotifyEvent Handler() {
        return [this](TPersistent*) { ++n; };
    }
};

TEST(EditorOptions, Clamps) {
    TEditorCaret caret;
    TEditorRuler ruler;
    TEditorLeftbar leftbar;
    TEditorMargin margin;
    TEditorImagebar imagebar;
    TEditorSpeed speed;
    struct Case {
        const char* name;
        std::function<void(int)> set;
        std::function<int()> get;
        int in, out;
    };
    const Case cases[] = {
        {"TabSpaceCount", [&](int v) { caret.SetTabSpaceCount(v); }, [&] { return caret.TabSpaceCount(); }, 7, 6},
        {"TabSpaceCount", [&](int v) { caret.SetTabSpaceCount(v); }, [&] { return caret.TabSpaceCount(); }, 1, 2},
        {"TabSpaceCount", [&](int v) { caret.SetTabSpaceCount(v); }, [&] { return caret.TabSpaceCount(); }, 12, 8},
        {"TabSpaceCount", [&](int v) { caret.SetTabSpaceCount(v); }, [&] { return caret.TabSpaceCount(); }, 3, 2},
        {"GaugeRange", [&](int v) { ruler.SetGaugeRange(v); }, [&] { return ruler.GaugeRange(); }, 9, 8},
        {"GaugeRange", [&](int v) { ruler.SetGaugeRange(v); }, [&] { return ruler.GaugeRange(); }, 11, 10},
        {"Column", [&](int v) { leftbar.SetColumn(v); }, [&] { return leftbar.Column(); }, 0, 1},
        {"Column", [&](int v) { leftbar.SetColumn(v); }, [&] { return leftbar.Column(); }, 9, 8},
        {"Margin.Left", [&](int v) { margin.SetLeft(v); }, [&] { return margin.Left(); }, -5, 0},
        {"Margin.Left", [&](int v) { margin.SetLeft(v); }, [&] { return margin.Left(); }, 250, 100},
        {"LeftMargin", [&](int v) { leftbar.SetLeftMargin(v); }, [&] { return leftbar.LeftMargin(); }, 101, 100},
        {"MarkWidth", [&](int v) { imagebar.SetMarkWidth(v); }, [&] { return imagebar.MarkWidth(); }, -1, 0},
        {"CaretVerticalAc", [&](int v) { speed.SetCaretVerticalAc(v); }, [&] { return speed.CaretVerticalAc(); }, 0, 1},
        {"PageVerticalRange", [&](int v) { speed.SetPageVerticalRange(v); }, [&] { return speed.PageVerticalRange(); },
         9, 4},
        {"PageVerticalRangeAc", [&](int v) { speed.SetPageVerticalRangeAc(v); },
         [&] { return speed.PageVerticalRangeAc(); }, -3, 1},
    };
    for (const Case& c : cases) {
        c.set(c.in);
        EXPECT_EQ(c.get(), c.out) << c.name << " " << c.in;
    }
}

// The first-start look is usable: selected text is readable, the gutter marks a modified row apart
// from its own background, and the defaults lie inside the ranges the setters keep.
TEST(EditorOptions, Defaults) {
    TEditorCaret caret;
    const int tabs = caret.TabSpaceCount();
    caret.SetTabSpaceCount(tabs);
    EXPECT_EQ(caret.TabSpaceCount(), tabs);
    EXPECT_GT(tabs, 0);
    TEditorViewInfo view;
    EXPECT_NE(view.Colors().Select().BkColor(), clNone);
    EXPECT_NE(view.Colors().Select().Color(), view.Colors().Select().BkColor());
    TEditorLeftbar leftbar;
    EXPECT_NE(leftbar.ModifiedBkColor(), clNone);
    EXPECT_NE(leftbar.ModifiedBkColor(), leftbar.BkColor());
}

TEST(EditorOptions, ChangesInsideNestedUpdatesFireOnce) {
    TEditorRuler ruler;
    TCounter counter;
    ruler.OnChange = counter.Handler();
    ruler.BeginUpdate();
    ruler.BeginUpdate();
    ruler.SetVisible(true);
    ruler.SetColor(clRed);
    ruler.SetGaugeRange(8);
    ruler.EndUpdate();
    EXPECT_EQ(counter.n, 0);
    ruler.EndUpdate();
    EXPECT_EQ(counter.n, 1);
    ruler.SetColor(clRed); // unchanged: nothing to report
    EXPECT_EQ(counter.n, 1);
}

TEST(EditorOptions, OnlySomeCaretPropertiesReport) {
    TEditorCaret caret;
    TCounter counter;
    caret.OnChange = counter.Handler();
    caret.SetAutoIndent(false);
    caret.SetSoftTab(true);
    EXPECT_EQ(counter.n, 0);
    caret.SetStyle(csBrief);
    caret.SetTabSpaceCount(4);
    EXPECT_EQ(counter.n, 2);
}

TEST(EditorOptions, MarksReportChangesOfEachMarkAndAssignOnce) {
    TEditorMarks marks, other;
    TCounter counter;
    marks.OnChange = counter.Handler();
    marks.Underline().SetVisible(true);
    EXPECT_EQ(counter.n, 1);
    other.EofMark().SetVisible(true);
    other.RetMark().SetColor(clRed);
    other.HideMark().SetColor(clBlue);
    marks.Assign(other);
    EXPECT_EQ(counter.n, 2);
    EXPECT_EQ(WriteComponent(marks), WriteComponent(other));
}

TEST(EditorOptions, ViewReportsChangesOfItsColourer) {
    TEditorViewInfo view;
    TCounter counter;
    view.OnChange = counter.Handler();
    view.SetQuotation("'abc");
    EXPECT_EQ(view.Quotation(), "'");
    EXPECT_EQ(counter.n, 1);
    view.SetQuotation("'");
    EXPECT_EQ(counter.n, 1);
    view.SetQuotation("\x82\xA0"); // a double-byte quotation is refused
    EXPECT_EQ(view.Quotation(), "'");
    EXPECT_EQ(counter.n, 1);
    view.Colors().Comment().SetColor(clGreen);
    EXPECT_EQ(counter.n, 2);
    view.Brackets().AddBracket("(", ")");
    EXPECT_EQ(counter.n, 3);
    view.SetMail(true);
    view.SetCommenter("//");
    EXPECT_EQ(counter.n, 5);
    EXPECT_TRUE(view.Colourer().Mail());

    TEditorViewInfo copy;
    TCounter copied;
    copy.OnChange = copied.Handler();
    copy.Assign(view);
    EXPECT_EQ(copied.n, 1);
    EXPECT_EQ(WriteComponent(copy), WriteComponent(view));
}

TEST(EditorOptions, AssignFromAnotherClassRaises) {
    TEditorRuler ruler;
    TEditorMark mark;
    EXPECT_THROW(ruler.Assign(mark), EConvertError);
}

// A stored component holding every option object.
class TOptionSet : public TStoreComponent {
public:
    QUILLON_CLASS_INFO
    TOptionSet() : TStoreComponent(nullptr) {}
    TEditorCaret& Caret() const { return *FCaret; }
    TEditorImagebar& Imagebar() const { return *FImagebar; }
    TEditorLeftbar& Leftbar() const { return *FLeftbar; }
    TEditorMargin& Margin() const { return *FMargin; }
    TEditorMarks& Marks() const { return *FMarks; }
    TEditorRuler& Ruler() const { return *FRuler; }
    TEditorSpeed& Speed() const { return *FSpeed; }
    TEditorViewInfo& View() const { return *FView; }

private:
    std::unique_ptr<TEditorCaret> FCaret = std::make_unique<TEditorCaret>();
    std::unique_ptr<TEditorImagebar> FImagebar = std::make_unique<TEditorImagebar>();
    std::unique_ptr<TEditorLeftbar> FLeftbar = std::make_unique<TEditorLeftbar>();
    std::unique_ptr<TEditorMargin> FMargin = std::make_unique<TEditorMargin>();
    std::unique_ptr<TEditorMarks> FMarks = std::make_unique<TEditorMarks>();
    std::unique_ptr<TEditorRuler> FRuler = std::make_unique<TEditorRuler>();
    std::unique_ptr<TEditorSpeed> FSpeed = std::make_unique<TEditorSpeed>();
    std::unique_ptr<TEditorViewInfo> FView = std::make_unique<TEditorViewInfo>(this);
};

const TClassInfo& TOptionSet::StaticClassInfo() {
    using C = TOptionSet;
    static const TClassInfo info{"TOptionSet",
                                 &TStoreComponent::StaticClassInfo(),
                                 {ObjProp("Caret", &C::Caret), ObjProp("Imagebar", &C::Imagebar),
                                  ObjProp("Leftbar", &C::Leftbar), ObjProp("Margin", &C::Margin),
                                  ObjProp("Marks", &C::Marks), ObjProp("Ruler", &C::Ruler), ObjProp("Speed", &C::Speed),
                                  ObjProp("View", &C::View)}};
    return info;
}

TEST(EditorOptions, EveryPropertyRoundTripsThroughTheSettingsStore) {
    TMemorySettingsStore store;
    TOptionSet a;
    ChangeEverything(a);
    TOptionSet defaults;
    EXPECT_NE(WriteComponent(a), WriteComponent(defaults));
    a.WriteToRegistry(store, "EditorProperties", "Common");
    // Initialised differently: changed twice over, so every value differs from a's as well.
    TOptionSet b;
    ChangeEverything(b);
    ChangeEverything(b);
    b.ReadFromRegistry(store, "EditorProperties", "Common");
    EXPECT_EQ(WriteComponent(b), WriteComponent(a));
    EXPECT_EQ(b.View().Brackets().Count(), 1);
    EXPECT_EQ(b.Caret().Style(), csBrief);

    TOptionSet c;
    c.ReadFromRegistry(store, "EditorProperties", "Absent");
    EXPECT_EQ(WriteComponent(c), WriteComponent(defaults));
}

TEST(EditorOptions, AssignCopiesEveryProperty) {
    TOptionSet a, b;
    ChangeEverything(a);
    b.Caret().Assign(a.Caret());
    b.Imagebar().Assign(a.Imagebar());
    b.Leftbar().Assign(a.Leftbar());
    b.Margin().Assign(a.Margin());
    b.Marks().Assign(a.Marks());
    b.Ruler().Assign(a.Ruler());
    b.Speed().Assign(a.Speed());
    b.View().Assign(a.View());
    EXPECT_EQ(WriteComponent(b), WriteComponent(a));
    a.Margin().SetUnderlineSpace(1);
    b.Margin().Assign(a.Margin());
    EXPECT_EQ(b.Margin().UnderlineSpace(), 1);
}

} // namespace
} // namespace quillon
