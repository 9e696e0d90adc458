#pragma once
// A window for the editor model that records what the editor asks of it.
#include "EditorControl.h"

#include <deque>
#include <set>
#include <string>
#include <vector>

namespace quillon {

class TTestHost : public TEditorHost {
public:
    bool HasFocus = true;
    int Width = 400, Height = 300; // client size
    int FontHeight = 16, AveCharWidth = 8;
    std::set<int> Keys;    // virtual keys held down
    std::set<int> Toggled; // virtual keys whose toggle bit is set
    std::deque<int> Queue; // WM_CHAR codes waiting behind the current one
    std::string Composition;
    // The clipboard: CF_TEXT bytes and the box format's bytes ("" when absent).
    bool HasText = false;
    std::string Text, BoxData;
    std::vector<std::string> Log; // every request, e.g. "invalidate 0 2 400 18"
    int Caret[2] = {0, 0};        // last SetCaretPos
    int CaretSize[2] = {0, 0};
    int Ime[2] = {-1, -1};
    int VPos = 0, HPos = 0;

    bool Focused() const override { return HasFocus; }
    int ClientWidth() const override { return Width; }
    int ClientHeight() const override { return Height; }
    void FontMetrics(int& H, int& W) const override { H = FontHeight, W = AveCharWidth; }
    int ScrollBarExtent() const override { return 16; }
    void Invalidate(const TRect& R) override { Add("invalidate", R.Left, R.Top, R.Right, R.Bottom); }
    void UpdateWindow() override {}
    void ScrollWindow(int DX, int DY, const TRect& R) override { Add("scroll", DX, DY, R.Left, R.Top); }
    void CreateCaret(int W, int H) override {
        CaretSize[0] = W, CaretSize[1] = H;
        Add("createcaret", W, H);
    }
    void DestroyCaret() override { Log.push_back("destroycaret"); }
    void SetCaretPos(int X, int Y) override { Caret[0] = X, Caret[1] = Y; }
    void ShowCaret() override { Log.push_back("showcaret"); }
    void HideCaret() override { Log.push_back("hidecaret"); }
    void SetScrollInfo(TScrollBarKind Bar, int Min, int Max, int Page, int Pos) override {
        (Bar == sbVertical ? VPos : HPos) = Pos;
        Add(Bar == sbVertical ? "vscrollinfo" : "hscrollinfo", Min, Max, Page, Pos);
    }
    void SetScrollPos(TScrollBarKind Bar, int Pos) override { (Bar == sbVertical ? VPos : HPos) = Pos; }
    void ShowScrollBar(TScrollBarKind, bool) override {}
    int TrackPos(TScrollBarKind Bar) const override { return Bar == sbVertical ? VPos : HPos; }
    void SetCursor(TCursor C) override { Add("cursor", C); }
    void ShowCursorNow(TCursor C) override { Add("cursornow", C); }
    bool ClipboardHasText() const override { return HasText; }
    bool ClipboardHasBox() const override { return !BoxData.empty(); }
    std::string ClipboardText() const override { return Text; }
    void SetClipboardText(const std::string& T, bool Box) override {
        HasText = true;
        Text = T;
        BoxData = Box ? BoxFormatData(T) : std::string();
    }
    bool KeyDown(int Key) const override { return Keys.count(Key) != 0; }
    int KeyState(int Key) const override { return (KeyDown(Key) ? 0x80 : 0) | (Toggled.count(Key) ? 1 : 0); }
    void SetKeyState(int Key, int State) override {
        if (State & 0x80)
            Keys.insert(Key);
        else
            Keys.erase(Key);
        if (State & 1)
            Toggled.insert(Key);
        else
            Toggled.erase(Key);
    }
    int TakeTrailByte() override {
        if (Queue.empty() || Queue.front() < 0x40) return -1;
        const int c = Queue.front();
        Queue.pop_front();
        return c;
    }
    std::string CompositionResult() override { return Composition; }
    void SetImePosition(int X, int Y) override { Ime[0] = X, Ime[1] = Y; }

    bool Logged(const std::string& Prefix) const {
        for (const std::string& s : Log)
            if (s.compare(0, Prefix.size(), Prefix) == 0) return true;
        return false;
    }

private:
    template <class... T> void Add(const char* What, T... Values) {
        std::string s = What;
        ((s += ' ' + std::to_string(Values)), ...);
        Log.push_back(s);
    }
};

} // namespace quillon
