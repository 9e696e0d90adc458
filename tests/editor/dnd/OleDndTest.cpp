#include "OleDndUtils.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillon {
namespace {

// A drag's data: text and files, each offered only when set.
class TFakeData : public TDataObject {
public:
    bool HasText = false, HasFiles = false;
    std::string Text;
    std::vector<std::string> Files;
    bool QueryGetData(int Format) const override {
        return (Format == CF_TEXT && HasText) || (Format == CF_HDROP && HasFiles);
    }

protected:
    bool RenderData(int Format, TStgMedium& Medium) const override {
        if (Format == CF_TEXT) Medium.Text = Text;
        if (Format == CF_HDROP) Medium.Files = Files;
        return true;
    }
};

TEST(TextDataObject, OffersItsTextUpToTheFirstNulAndNothingElse) {
    const TTextDataObject data(std::string("ab\0cd", 5));
    EXPECT_TRUE(data.QueryGetData(CF_TEXT));
    EXPECT_FALSE(data.QueryGetData(CF_HDROP));
    TStgMedium medium;
    medium.Files = {"left over"};
    ASSERT_TRUE(data.GetData(CF_TEXT, medium));
    EXPECT_EQ(medium.Text, "ab");
    EXPECT_TRUE(medium.Files.empty());
    medium.Text = "left over";
    EXPECT_FALSE(data.GetData(CF_HDROP, medium));
    EXPECT_EQ(medium.Text, "");
}

class DropTarget : public ::testing::Test {
protected:
    DropTarget() {
        Target.Formats() = {CF_HDROP, CF_TEXT};
        Target.OnDragEnter = [this](TDataObject& d, int k, int& e, TPoint p) { Log("enter", d, k, e, p); };
        Target.OnDragOver = [this](TDataObject& d, int k, int& e, TPoint p) { Log("over", d, k, e, p); };
        Target.OnDrop = [this](TDataObject& d, int k, int& e, TPoint p) { Log("drop", d, k, e, p); };
        Target.OnDragLeave = [this](TDataObject& d) {
            Calls.push_back(std::string("leave") + (&d == &Data ? "" : "?"));
        };
    }
    void Log(const char* What, TDataObject& D, int Keys, int& Effect, TPoint P) {
        // Each handler sees the kept data object, the keys, the point and COPY as the proposed effect.
        Calls.push_back(std::string(What) + (&D == &Data ? "" : "?") + ' ' + std::to_string(Keys) + ' ' +
                        std::to_string(Effect) + ' ' + std::to_string(P.X) + ',' + std::to_string(P.Y));
        Effect = HandlerEffect;
    }

    TDropTarget Target;
    TFakeData Data;
    int HandlerEffect = DROPEFFECT_MOVE;
    std::vector<std::string> Calls;
};

TEST_F(DropTarget, AnAcceptedDragReachesEveryHandlerWithTheKeptDataObject) {
    struct Case {
        bool Text, Files;
    };
    for (const Case c : {Case{true, false}, Case{false, true}, Case{true, true}}) {
        SCOPED_TRACE(std::to_string(c.Text) + std::to_string(c.Files));
        Calls.clear();
        Data.HasText = c.Text;
        Data.HasFiles = c.Files;
        int effect = -1;
        Target.DragEnter(Data, 8, {1, 2}, effect);
        EXPECT_EQ(effect, DROPEFFECT_MOVE);
        EXPECT_EQ(Target.DataObject(), &Data);
        Target.DragOver(0, {3, 4}, effect);
        EXPECT_EQ(effect, DROPEFFECT_MOVE);
        Target.Drop(1, {5, 6}, effect);
        EXPECT_EQ(effect, DROPEFFECT_MOVE);
        EXPECT_EQ(Target.DataObject(), nullptr);
        EXPECT_EQ(Calls, (std::vector<std::string>{"enter 8 1 1,2", "over 0 1 3,4", "drop 1 1 5,6"}));
    }
}

TEST_F(DropTarget, ADragOfferingNoAcceptedFormatGetsNoEffectAndNoHandlerRuns) {
    Data.HasText = true;
    Target.Formats() = {CF_HDROP};
    int effect = -1;
    Target.DragEnter(Data, 0, {}, effect);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    effect = -1;
    Target.DragOver(0, {}, effect);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    Target.DragLeave();
    effect = -1;
    Target.Drop(0, {}, effect);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_TRUE(Calls.empty());
}

TEST_F(DropTarget, LeaveForgetsTheDrag) {
    Data.HasText = true;
    int effect = 0;
    Target.DragEnter(Data, 0, {}, effect);
    Target.DragLeave();
    EXPECT_EQ(Target.DataObject(), nullptr);
    Target.DragOver(0, {}, effect);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    Target.Drop(0, {}, effect);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(Calls, (std::vector<std::string>{"enter 0 1 0,0", "leave"}));
}

TEST(EventsDropTarget, CallsTheEventsInterfaceInsteadOfTheHandlers) {
    struct TEvents : IDropTargetEvents {
        std::vector<std::string> Calls;
        void DragEnter(TDataObject&, int, int& Effect, TPoint) override { Calls.push_back("enter"), Effect = 0; }
        void DragOver(TDataObject&, int, int&, TPoint) override { Calls.push_back("over"); }
        void Drop(TDataObject&, int, int&, TPoint) override { Calls.push_back("drop"); }
        void DragLeave(TDataObject&) override { Calls.push_back("leave"); }
    } events;
    TEventsDropTarget target;
    target.Formats() = {CF_TEXT};
    int handlers = 0;
    target.OnDragEnter = [&](TDataObject&, int, int&, TPoint) { ++handlers; };
    target.Events = &events;
    TTextDataObject d("x");
    int effect = 0;
    target.DragEnter(d, 0, {}, effect);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    target.DragOver(0, {}, effect);
    target.DragLeave();
    target.DragEnter(d, 0, {}, effect);
    target.Drop(0, {}, effect);
    EXPECT_EQ(events.Calls, (std::vector<std::string>{"enter", "over", "leave", "enter", "drop"}));
    EXPECT_EQ(handlers, 0);
    // Without the interface the handlers run.
    target.Events = nullptr;
    target.DragEnter(d, 0, {}, effect);
    EXPECT_EQ(handlers, 1);
}

} // namespace
} // namespace quillon
