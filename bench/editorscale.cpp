// The editor at scale beside QScintilla, on the same bytes in the same run, offscreen, 1200 x 900.
//
// Texts: real Japanese prose (the Debian reference in Japanese, every line that converts to CP932,
// repeated to 10 MB), a generated 10 MB motion list, and for loading also 500,000 short lines. QScintilla runs with
// code page 932, no lexer, wrapping at its window's edge when wrap is on; Quillon wraps at 80 columns and colours with
// the default colourer (prose) or the motion colourer (the list).
//
// Cases, each figure beside QScintilla's and summed up in a table at the end:
//   load     setting the text and painting the first screen, wrap on and off, the best of 3: cold
//            (the heap's free memory given back to the system before each load, as in a program
//            just started) and warm (the memory of the previous load reused)
//   wrap     switching wrap on for the text loaded without it, at its top and scrolled to 3/4 of it
//            after the idle time, and at the top of the long line below: the switch with the first
//            paint (the median and the worst of 5), and the switch until the whole text is wrapped,
//            the idle steps included (Quillon cuts the rows shown at once and the rest in idle
//            steps; QScintilla wraps what it shows and the rest in its idle time; the worst of 5).
//            Quillon colours the new rows after its wrap in idle time again, as after a load
//   memory   heap in use after that load (wrap on), the empty widget included
//   paint    painting the whole viewport again
//   keys     200 keystrokes, each at a random place: jump there and type one character; the model's
//            part (jump, edit, re-wrap, undo record, row states) and the whole (with the paint that
//            follows), median and worst, the worst also in the thread's CPU time (a worst far above
//            its CPU time was spent waiting for a processor of the shared machine), and the paints
//            per keystroke
//   breaks   100 random places, at each a line break and a backspace that joins the line again
//            (a row added, a row removed), as keys
//   append   200 keystrokes at the end of the text (every 25th a line break), as keys
//   jump     from a fresh load, the first paint after jumping to 3/4 of the text: at once, and after
//            the event loop had its idle time (Quillon colours the rest of the text then; the time
//            that took is printed too)
//   replace  replace-all of a word in the motion list (one in each line), plain and as a regular
//            expression, from the top, wrap off, with the paint after (median and worst of 5): Quillon's
//            ReplaceAll beside QScintilla's own search of the target with the text replaced at once
//            (see TScintilla::ReplaceAll); the same word made longer; and the words of 0.25 MB and of
//            1 MB of the list in one wrapped line, also made longer. Both editors must leave the same
//            text.
//   replace in one line: one line of 1, 2 and 4 MB of "a comment, commmment; ", com+ent (a regular
//            expression) and comment (plain) made remark, from the top and backwards from the end,
//            wrapped, and at 4 MB unwrapped too (Quillon replaces only up to the 1000th column there)
//   long     the worst case for wrapping: the prose joined into one logical line of 3, 4 and 16 MB,
//            loaded with wrap on: the idle time after the load; a jump to its middle, the first paint
//            there, the viewport painted again, and 10 keystrokes there (as keys); 10 keystrokes at
//            column 40 of its first row; and in Quillon the viewport painted with find marks and 10
//            keystrokes in the middle with them
//   far key  the first keystroke at 3/4 of the prose (wrap on) before the idle colouring reached it
//   unwrapped the prose joined into one line of 0.75, 1.5, 3 and 10 MB followed by a short line,
//            loaded with wrap off: after the idle time, 10 keystrokes at column 40 of the long line
//            (as keys)
// The editors loaded once for the keystroke cases get their idle time before the first keystroke.
#include "Cp932.h"
#include "EditorEx.h"
#include "EditorWidget.h"
#include "JapaneseProse.h"
#include "MotionColourer.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <Qsci/qsciscintilla.h>
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

using namespace quillon;

namespace {

constexpr std::size_t kTextBytes = 10 * 1024 * 1024;
constexpr std::size_t kLongLineBytes = 3 * 1024 * 1024;
constexpr int kWidth = 1200, kHeight = 900;

// ---- texts

std::string JapaneseProse() {
    std::string prose;
    for (const std::string& line : JapaneseProseLines()) prose += line + "\r\n";
    std::string s;
    while (!prose.empty() && s.size() < kTextBytes) s += prose;
    return s;
}

std::string MotionList() {
    static const std::string text = [] {
        std::string s = "--R---G---B---G\r\n  0   0 255  16\r\n";
        std::mt19937 rng(1);
        for (int i = 0; s.size() < kTextBytes; ++i) {
            for (unsigned v : {unsigned(i), unsigned(i + 1), 3u, unsigned(rng() % 1800)})
                s.append("  ").append(std::to_string(v));
            s.append("/").append(std::to_string(rng() % 1800));
            s.append(
                ",1,A,128   0  0 9/-3/4   0 0   0 0 9 0 0   0   -  0 0 0100 1FF0EF00A010 000000000000 010020000030");
            if (i % 10 == 0) s += " ;" + Utf8ToCp932("ガッツ攻撃の構え、右手を前へ");
            s += "\r\n";
        }
        return s;
    }();
    return text;
}

// The prose without its line breaks: one logical line of Bytes.
std::string LongLine(std::size_t Bytes = kLongLineBytes) {
    std::string prose;
    for (const std::string& line : JapaneseProseLines()) prose += line;
    std::string s;
    while (!prose.empty() && s.size() < Bytes) s += prose;
    return s;
}

// 500,000 short lines of 7 bytes (3.5 MB): a number and its line break.
std::string ShortLines() {
    std::string s;
    s.reserve(500000 * 7);
    char line[16];
    for (int i = 0; i < 500000; ++i) {
        std::snprintf(line, sizeof line, "%5d\r\n", i % 100000);
        s += line;
    }
    return s;
}

const std::string& TextOf(int Which) {
    static const std::string prose = JapaneseProse(), motion = MotionList(), lines = ShortLines(), line = LongLine();
    return Which == 0 ? prose : Which == 1 ? motion : Which == 2 ? lines : line;
}
const char* TextName(int Which) {
    return Which == 0 ? "prose" : Which == 1 ? "motion" : Which == 2 ? "500k short lines" : "a 3 MB line";
}

// ---- the two editors behind one face

std::size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

double Ms(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

class TSubject {
public:
    virtual ~TSubject() = default;
    virtual QWidget& Widget() = 0;
    virtual void Load(const std::string& Text, bool Wrap) = 0;
    virtual int Rows() = 0;
    // Jumps to Row (shown in the middle of the screen) and types one character (13: a line break;
    // 8: a backspace).
    virtual void JumpAndType(int Row, char C) = 0;
    virtual void JumpToEnd() = 0;
    // Puts the caret at Col of row 0.
    virtual void JumpToColumn(int Col) = 0;
    virtual void Type(char C) = 0;
    virtual void JumpTo(int Row) = 0;
    // Puts the caret at the middle of the text, shown on the screen.
    virtual void JumpToMiddle() = 0;
    virtual void SetWrap(bool Wrap) = 0;
    // Whether the whole text is wrapped (nothing of the wrap is left for idle time).
    virtual bool WrappedWhole() = 0;
    virtual void Paint() = 0;
    // Replaces every occurrence of Find (a regular expression when Regex) from the top by Replacement
    // (Backward: from the end towards the top), matching case; answers the count.
    virtual int ReplaceAll(const std::string& Find, const std::string& Replacement, bool Regex, bool Backward) = 0;
    // The whole text.
    virtual std::string Text() = 0;
    // Marks every match of Pattern on the screen; false when the editor has no such marks.
    virtual bool ShowFindMarks(const std::string&) { return false; }
    // Lets the event loop run, as between a load and the user's next action: until the editor has no
    // idle work left, at most Ms milliseconds. Answers the time it took.
    virtual double Settle(double Ms) {
        QElapsedTimer t;
        t.start();
        while (static_cast<double>(t.elapsed()) < Ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return static_cast<double>(t.nsecsElapsed()) / 1e6;
    }
    // Paints what the last changes left to paint (one frame).
    void Flush() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        QCoreApplication::sendPostedEvents();
    }
};

class TQuillon : public TSubject {
public:
    explicit TQuillon(int Which) {
        if (Which == 1) FWidget.Editor().SetColourer(&FMotion);
        FMotion.SetDefaultColors();
        FWidget.resize(kWidth, kHeight);
        FWidget.show();
        QApplication::processEvents();
    }
    QWidget& Widget() override { return FWidget; }
    void Load(const std::string& Text, bool Wrap) override {
        TEditor& e = FWidget.Editor();
        e.ScreenStrings().WrapOption().SetWrapByte(80);
        e.SetWordWrap(Wrap);
        e.Lines().SetText(Text);
        Paint();
    }
    int Rows() override { return FWidget.Editor().RowCount(); }
    void SetWrap(bool Wrap) override { FWidget.Editor().SetWordWrap(Wrap); }
    bool WrappedWhole() override { return !FWidget.Editor().ScreenStrings().RewrapPending(); }
    void JumpTo(int Row) override {
        TEditor& e = FWidget.Editor();
        e.SetTopRow(std::max(0, Row - e.RowsPerPage() / 2));
        e.SetRowCol(Row, 0);
    }
    void JumpAndType(int Row, char C) override {
        JumpTo(Row);
        Type(C);
    }
    void JumpToMiddle() override { JumpTo(Rows() / 2); }
    void JumpToColumn(int Col) override {
        FWidget.Editor().SetTopRow(0);
        FWidget.Editor().SetRowCol(0, Col);
    }
    void JumpToEnd() override {
        JumpTo(Rows() - 1);
        FWidget.Editor().Perform(WM_KEYDOWN, VK_END);
    }
    void Type(char C) override { FWidget.Editor().Perform(WM_CHAR, static_cast<unsigned char>(C)); }
    void Paint() override { FWidget.viewport()->repaint(); }
    int ReplaceAll(const std::string& Find, const std::string& Replacement, bool Regex, bool Backward) override {
        auto& editor = static_cast<TEditorEx&>(FWidget.Editor());
        if (Backward)
            editor.SetSelStart(editor.GetTextLength());
        else
            editor.SetRowCol(0, 0);
        editor.SetFindString(Find);
        editor.SetSearchOptions(Regex ? sfoRegExp | sfoMatchCase : sfoMatchCase);
        return editor.ReplaceAll(Replacement, Backward);
    }
    std::string Text() override { return FWidget.Editor().Lines().Text(); }
    bool ShowFindMarks(const std::string& Pattern) override {
        auto& editor = static_cast<TEditorEx&>(FWidget.Editor());
        editor.ExMarks().FindMark().SetVisible(true);
        editor.SetFindString(Pattern);
        return true;
    }
    double Settle(double Ms) override {
        QElapsedTimer t;
        t.start();
        TEditorScreenStrings& rows = FWidget.Editor().ScreenStrings();
        while (rows.FirstNotComputed(0) < rows.Count() && static_cast<double>(t.elapsed()) < Ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return static_cast<double>(t.nsecsElapsed()) / 1e6;
    }

private:
    TMotionColourer FMotion{nullptr};
    TEditorWidget FWidget{std::make_unique<TEditorEx>()}; // the editor of the program's windows
};

class TScintilla : public TSubject {
public:
    TScintilla() {
        FWidget.SendScintilla(QsciScintillaBase::SCI_SETCODEPAGE, 932);
        FWidget.resize(kWidth, kHeight);
        FWidget.show();
        QApplication::processEvents();
    }
    QWidget& Widget() override { return FWidget; }
    void Load(const std::string& Text, bool Wrap) override {
        // Wrap mode after the text: set before it, QScintilla wraps every line at once.
        FWidget.SendScintilla(QsciScintillaBase::SCI_SETTEXT, 0UL, Text.c_str());
        FWidget.SendScintilla(QsciScintillaBase::SCI_SETWRAPMODE, Wrap ? QsciScintillaBase::SC_WRAP_CHAR : 0);
        Paint();
    }
    int Rows() override { return static_cast<int>(FWidget.SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT)); }
    void SetWrap(bool Wrap) override {
        FWidget.SendScintilla(QsciScintillaBase::SCI_SETWRAPMODE, Wrap ? QsciScintillaBase::SC_WRAP_CHAR : 0);
    }
    // The display lines reach those of the same text wrapped whole: wrap mode set before the text.
    bool WrappedWhole() override { return DisplayLines(FWidget) >= FWholeLines; }
    void KnowWholeWrap(const std::string& Text) {
        QsciScintilla whole;
        whole.SendScintilla(QsciScintillaBase::SCI_SETCODEPAGE, 932);
        whole.resize(kWidth, kHeight);
        whole.SendScintilla(QsciScintillaBase::SCI_SETWRAPMODE, QsciScintillaBase::SC_WRAP_CHAR);
        whole.SendScintilla(QsciScintillaBase::SCI_SETTEXT, 0UL, Text.c_str());
        whole.show();
        // Until the count stays the same for 300 ms of idle time.
        QElapsedTimer stable;
        stable.start();
        for (long lines = -1; stable.elapsed() < 300;) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            if (DisplayLines(whole) != lines) {
                lines = DisplayLines(whole);
                stable.restart();
            }
        }
        FWholeLines = DisplayLines(whole);
    }
    void JumpTo(int Row) override {
        FWidget.SendScintilla(
            QsciScintillaBase::SCI_SETFIRSTVISIBLELINE,
            std::max(0, Row - static_cast<int>(FWidget.SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN)) / 2));
        FWidget.SendScintilla(QsciScintillaBase::SCI_GOTOLINE, static_cast<unsigned long>(Row));
    }
    void JumpAndType(int Row, char C) override {
        JumpTo(Row);
        Type(C);
    }
    void JumpToMiddle() override {
        const auto middle = static_cast<unsigned long>(FWidget.SendScintilla(QsciScintillaBase::SCI_GETLENGTH) / 2);
        const long start = FWidget.SendScintilla(QsciScintillaBase::SCI_POSITIONBEFORE, middle + 1);
        FWidget.SendScintilla(QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(start));
    }
    void JumpToEnd() override { FWidget.SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND); }
    void JumpToColumn(int Col) override {
        FWidget.SendScintilla(QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(Col));
    }
    void Type(char C) override {
        if (C == 13)
            FWidget.SendScintilla(QsciScintillaBase::SCI_NEWLINE);
        else if (C == 8)
            FWidget.SendScintilla(QsciScintillaBase::SCI_DELETEBACK);
        else
            FWidget.SendScintilla(QsciScintillaBase::SCI_REPLACESEL, 0UL, std::string(1, C).c_str());
    }
    void Paint() override { FWidget.viewport()->repaint(); }
    // A fast replace-all with the control's own search: the target searched from the end of each hit
    // to the end of the text, the new text built beside, and the span from the first hit to the last
    // replaced by it at once, in one undo action. (Replacing each hit in the text, REPLACETARGET costs
    // time in proportion to its position: this QScintilla's change notification counts the characters
    // from the start of the text. That took 16 s for the 4,153 hits of 0.5 MB.) The replacement is
    // taken literally, also for a regular expression. The hits do not overlap, so the text left is the
    // same either way: the replacement runs from the top in both directions.
    int ReplaceAll(const std::string& Find, const std::string& Replacement, bool Regex, bool) override {
        using Q = QsciScintillaBase;
        const auto* text = static_cast<const char*>(FWidget.SendScintillaPtrResult(Q::SCI_GETCHARACTERPOINTER));
        const long end = FWidget.SendScintilla(Q::SCI_GETLENGTH);
        FWidget.SendScintilla(Q::SCI_SETSEARCHFLAGS, Q::SCFIND_MATCHCASE | (Regex ? Q::SCFIND_REGEXP : 0));
        std::string replaced;
        long first = -1, last = 0;
        int count = 0;
        for (long start = 0; start < end; ++count) {
            FWidget.SendScintilla(Q::SCI_SETTARGETRANGE, static_cast<unsigned long>(start), end);
            const long found = FWidget.SendScintilla(Q::SCI_SEARCHINTARGET, Find.size(), Find.c_str());
            if (found < 0) break;
            if (first < 0) first = last = found;
            replaced.append(text + last, text + found).append(Replacement);
            last = FWidget.SendScintilla(Q::SCI_GETTARGETEND);
            // After an empty match the search goes on after the next character.
            start =
                last > found ? last : FWidget.SendScintilla(Q::SCI_POSITIONAFTER, static_cast<unsigned long>(found));
        }
        if (count == 0) return 0;
        FWidget.SendScintilla(Q::SCI_BEGINUNDOACTION);
        FWidget.SendScintilla(Q::SCI_SETTARGETRANGE, static_cast<unsigned long>(first), last);
        FWidget.SendScintilla(Q::SCI_REPLACETARGET, replaced.size(), replaced.c_str());
        FWidget.SendScintilla(Q::SCI_ENDUNDOACTION);
        return count;
    }
    std::string Text() override {
        const auto* text =
            static_cast<const char*>(FWidget.SendScintillaPtrResult(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
        return std::string(text, static_cast<std::size_t>(FWidget.SendScintilla(QsciScintillaBase::SCI_GETLENGTH)));
    }

private:
    static long DisplayLines(QsciScintilla& W) {
        return W.SendScintilla(QsciScintillaBase::SCI_VISIBLEFROMDOCLINE,
                               static_cast<unsigned long>(W.SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT)));
    }
    QsciScintilla FWidget;
    long FWholeLines = 0;
};

// Counts the paint events a viewport receives.
class TPaintCounter : public QObject {
public:
    int Paints = 0;
    bool eventFilter(QObject*, QEvent* Event) override {
        if (Event->type() == QEvent::Paint) ++Paints;
        return false;
    }
};
TPaintCounter PaintCounter;

std::unique_ptr<TSubject> Make(int Editor, int Which) {
    std::unique_ptr<TSubject> subject;
    if (Editor == 0)
        subject = std::make_unique<TQuillon>(Which);
    else
        subject = std::make_unique<TScintilla>();
    static_cast<QAbstractScrollArea&>(subject->Widget()).viewport()->installEventFilter(&PaintCounter);
    return subject;
}

// ---- figures kept for the summary: name -> {Quillon, QScintilla}

std::map<std::string, double[2]> Figures;
std::vector<std::string> Order;

void Keep(const std::string& Name, int Editor, double Value) {
    if (!Figures.count(Name)) Order.push_back(Name);
    Figures[Name][Editor] = Value;
}

struct TSpread {
    double Median = 0, Worst = 0;
};
TSpread SpreadOf(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.back()};
}

// ---- benchmarks; args: editor (0 Quillon, 1 QScintilla), text (0 prose, 1 motion, 2 short lines)

void BM_Load(benchmark::State& state) {
    const int editor = static_cast<int>(state.range(0)), which = static_cast<int>(state.range(1));
    const bool wrap = state.range(2) != 0, cold = state.range(3) != 0;
    const std::string& text = TextOf(which);
    double best = 1e9;
    for (auto _ : state) {
        if (cold) malloc_trim(0);
        const std::size_t heap = HeapInUse();
        auto subject = Make(editor, which);
        QElapsedTimer t;
        t.start();
        subject->Load(text, wrap);
        const double ms = Ms(t);
        state.SetIterationTime(ms / 1000);
        best = std::min(best, ms);
        if (wrap)
            Keep(std::string("memory after load, MB (") + TextName(which) + ")", editor,
                 static_cast<double>(HeapInUse() - heap) / 1e6);
        state.counters["rows"] = subject->Rows();
    }
    Keep(std::string("load to first paint, ") + (cold ? "cold" : "warm") + ", wrap " + (wrap ? "on" : "off") +
             ", ms (" + TextName(which) + ")",
         editor, best);
}

// Arg 2: 0 switches at the top of the text; 1 first scrolls to 3/4 (after the load's idle colouring).
void BM_SwitchWrapOn(benchmark::State& state) {
    const int editor = static_cast<int>(state.range(0)), which = static_cast<int>(state.range(1));
    const bool deep = state.range(2) != 0;
    std::vector<double> shown, whole;
    for (auto _ : state) {
        auto subject = Make(editor, which);
        subject->Load(TextOf(which), false);
        if (editor == 1) static_cast<TScintilla&>(*subject).KnowWholeWrap(TextOf(which));
        if (deep) {
            subject->Settle(2000);
            subject->JumpTo(subject->Rows() * 3 / 4);
            subject->Paint();
        }
        QElapsedTimer t;
        t.start();
        subject->SetWrap(true);
        subject->Paint();
        shown.push_back(Ms(t));
        state.SetIterationTime(Ms(t) / 1000);
        // One round of events at a time: a round of 5 ms would count the idle colouring that follows
        // the last cut in the same round.
        while (!subject->WrappedWhole() && t.elapsed() < 20000) QCoreApplication::processEvents();
        whole.push_back(Ms(t));
    }
    const std::string name =
        std::string("switching wrap on ") + (deep ? "scrolled to 3/4" : "at the top") + " (" + TextName(which) + ")";
    const TSpread spread = SpreadOf(shown);
    Keep(name + ", to the first paint, median ms", editor, spread.Median);
    Keep(name + ", to the first paint, worst ms", editor, spread.Worst);
    Keep(name + ", until wrapped whole, worst ms", editor, SpreadOf(whole).Worst);
}

// One loaded editor per editor and text, wrap on, kept across the benchmarks that only edit it.
std::map<std::pair<int, int>, std::unique_ptr<TSubject>> LoadedSubjects; // emptied before Qt ends

TSubject& Loaded(int Editor, int Which) {
    auto& subject = LoadedSubjects[{Editor, Which}];
    if (!subject) {
        subject = Make(Editor, Which);
        subject->Load(TextOf(Which), true);
        subject->Settle(2000);
    }
    return *subject;
}

void BM_Paint(benchmark::State& state) {
    const int editor = static_cast<int>(state.range(0)), which = static_cast<int>(state.range(1));
    TSubject& s = Loaded(editor, which);
    s.JumpTo(1000);
    s.Paint();
    QElapsedTimer t;
    t.start();
    for (auto _ : state) s.Paint();
    Keep(std::string("paint the viewport, ms (") + TextName(which) + ")", editor,
         Ms(t) / static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1)));
}

// The thread's CPU time: the work itself, without the time the shared machine gave to others.
double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The times of a series of keystrokes: the model's part, and the whole with the paint, in elapsed
// time and in CPU time.
struct TKeyTimes {
    std::vector<double> Model, Whole, WholeCpu;
    QElapsedTimer Clock;
    double CpuStart = 0;
    void Start() {
        CpuStart = CpuMs();
        Clock.start();
    }
    void ModelDone() { Model.push_back(Ms(Clock)); }
    // Answers the whole keystroke's elapsed time in seconds.
    double WholeDone() {
        Whole.push_back(Ms(Clock));
        WholeCpu.push_back(CpuMs() - CpuStart);
        return Whole.back() / 1000;
    }
};

void KeepSpread(const std::string& Name, int Editor, const TKeyTimes& Times) {
    const TSpread model = SpreadOf(Times.Model), whole = SpreadOf(Times.Whole);
    Keep(Name + ", model median ms", Editor, model.Median);
    Keep(Name + ", model worst ms", Editor, model.Worst);
    Keep(Name + ", with paint median ms", Editor, whole.Median);
    Keep(Name + ", with paint worst ms", Editor, whole.Worst);
    Keep(Name + ", with paint worst CPU ms", Editor, SpreadOf(Times.WholeCpu).Worst);
}

// Arg 2: 0 types a character at each place; 1 breaks the line there and joins it again with a
// backspace, two keystrokes per place (a row added and a row removed).
void BM_RandomKeystrokes(benchmark::State& state) {
    const int editor = static_cast<int>(state.range(0)), which = static_cast<int>(state.range(1));
    const bool breaks = state.range(2) != 0;
    TSubject& s = Loaded(editor, which);
    TKeyTimes times;
    const int paints = PaintCounter.Paints;
    for (auto _ : state) {
        std::mt19937 rng(7);
        for (int i = 0; i < 200; ++i) {
            const bool join = breaks && i % 2 == 1;
            const int row = join ? 0 : static_cast<int>(rng() % static_cast<unsigned>(s.Rows()));
            times.Start();
            if (join)
                s.Type(8);
            else
                s.JumpAndType(row, breaks ? 13 : 'x');
            times.ModelDone();
            s.Flush();
            state.SetIterationTime(times.WholeDone());
        }
    }
    const std::string name =
        std::string(breaks ? "100 random break-and-join (" : "200 random jump-and-type (") + TextName(which) + ")";
    KeepSpread(name, editor, times);
    Keep(name + ", paints per keystroke", editor,
         static_cast<double>(PaintCounter.Paints - paints) / static_cast<double>(times.Model.size()));
}

void BM_TypeAtTheEnd(benchmark::State& state) {
    const int editor = static_cast<int>(state.range(0)), which = static_cast<int>(state.range(1));
    TSubject& s = Loaded(editor, which);
    TKeyTimes times;
    for (auto _ : state) {
        s.JumpToEnd();
        s.Flush();
        for (int i = 0; i < 200; ++i) {
            times.Start();
            s.Type(i % 25 == 24 ? 13 : static_cast<char>('a' + i % 26));
            times.ModelDone();
            s.Flush();
            state.SetIterationTime(times.WholeDone());
        }
    }
    KeepSpread(std::string("200 keys at the end (") + TextName(which) + ")", editor, times);
}

// Arg 2: 0 jumps at once after the load, 1 after the event loop had its idle time (as a user would).
void BM_FarJump(benchmark::State& state) {
    const int editor = static_cast<int>(state.range(0)), which = static_cast<int>(state.range(1));
    const bool settled = state.range(2) != 0;
    double worst = 0, idle = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto subject = Make(editor, which);
        subject->Load(TextOf(which), true);
        if (settled) idle = std::max(idle, subject->Settle(editor == 0 ? 2000 : 300));
        state.ResumeTiming();
        QElapsedTimer t;
        t.start();
        subject->JumpTo(subject->Rows() * 3 / 4);
        subject->Paint();
        worst = std::max(worst, Ms(t));
        state.SetIterationTime(Ms(t) / 1000);
    }
    Keep(std::string("first paint after a jump to 3/4") + (settled ? " after idle time" : " at once") + ", ms (" +
             TextName(which) + ")",
         editor, worst);
    if (settled && editor == 0)
        Keep(std::string("idle colouring of the whole text, ms (") + TextName(which) + ")", 0, idle);
}

// Types Count characters where the caret is, each with the paint that follows.
void TypeKeys(TSubject& Subject, int Count, TKeyTimes& Times, benchmark::State& State) {
    for (int i = 0; i < Count; ++i) {
        Times.Start();
        Subject.Type('x');
        Times.ModelDone();
        Subject.Flush();
        State.SetIterationTime(Times.WholeDone());
    }
}

// A long line (wrap on): the idle time after its load (Quillon colours the whole line then); the first
// paint after a jump to its middle, the viewport painted again (the mean of 10), and 10 keystrokes
// there (QScintilla lays the whole line out again for each, seconds apiece: it types 2); 10 keystrokes
// at column 40 of its first row; then, in Quillon only (QScintilla has no such marks), after the idle
// time, the viewport painted with the matches of a frequent character marked, and 10 keystrokes in
// the middle with the marks. Arg 1: the line's size in units of 0.25 MB.
void BM_LongLine(benchmark::State& state) {
    const int editor = static_cast<int>(state.range(0));
    const std::size_t bytes = static_cast<std::size_t>(state.range(1)) * 256 * 1024;
    const std::string text = LongLine(bytes);
    const int keys = editor == 0 ? 10 : 2;
    TKeyTimes middle, start, marked;
    double idle = 0, first = 0, paint = 0, markedPaint = 0;
    for (auto _ : state) {
        auto subject = Make(editor, 0);
        subject->Load(text, true);
        idle = subject->Settle(editor == 0 ? 60000 : 300);
        QElapsedTimer t;
        t.start();
        subject->JumpToMiddle();
        subject->Paint();
        first = Ms(t);
        t.restart();
        for (int i = 0; i < 10; ++i) subject->Paint();
        paint = Ms(t) / 10;
        TypeKeys(*subject, keys, middle, state);
        subject->JumpToColumn(40);
        subject->Paint();
        TypeKeys(*subject, keys, start, state);
        if (subject->ShowFindMarks(Utf8ToCp932("の"))) {
            subject->Settle(editor == 0 ? 60000 : 300);
            subject->JumpToMiddle();
            subject->Paint();
            t.restart();
            for (int i = 0; i < 10; ++i) subject->Paint();
            markedPaint = Ms(t) / 10;
            TypeKeys(*subject, keys, marked, state);
        }
    }
    char name[64];
    std::snprintf(name, sizeof name, "wrapped line of %.0f MB: ", static_cast<double>(bytes) / 1048576.0);
    const std::string line = name;
    Keep(line + "idle time after the load, ms", editor, idle);
    Keep(line + "first paint after a jump to its middle, ms", editor, first);
    Keep(line + "paint the viewport, ms", editor, paint);
    KeepSpread(line + "keys in its middle", editor, middle);
    KeepSpread(line + "keys at column 40", editor, start);
    if (editor == 0) {
        Keep(line + "paint with find marks of a frequent character, ms", editor, markedPaint);
        KeepSpread(line + "keys in its middle with find marks", editor, marked);
    }
}

// The first keystroke at a far place that the idle colouring has not reached: the prose loaded with
// wrap on, a jump to 3/4 of it painted at once, then one character typed there with its paint (the
// median and the worst of 5).
void BM_FarUncolouredKey(benchmark::State& state) {
    const int editor = static_cast<int>(state.range(0));
    TKeyTimes times;
    for (auto _ : state) {
        state.PauseTiming();
        auto subject = Make(editor, 0);
        subject->Load(TextOf(0), true);
        subject->JumpTo(subject->Rows() * 3 / 4);
        subject->Paint();
        state.ResumeTiming();
        times.Start();
        subject->Type('x');
        times.ModelDone();
        subject->Flush();
        state.SetIterationTime(times.WholeDone());
    }
    KeepSpread("first key at 3/4 before idle colouring (prose)", editor, times);
}

// The first Bytes of the motion list, cut after a line.
std::string MotionListHead(std::size_t Bytes) {
    const std::string& text = TextOf(1);
    return text.substr(0, text.find("\r\n", std::min(Bytes, text.size())) + 2);
}

// The replace-all cases: a word in each line; the same made longer; the words in one long line; the
// same made longer.
enum TReplaceCase { rcWord, rcLonger, rcOneLine, rcOneLineLonger };
const char* ReplaceCaseName(int Case) {
    static const char* const names[] = {"", ", longer", ", one wrapped line", ", one wrapped line, longer"};
    return names[Case];
}
bool OneLine(int Case) { return Case == rcOneLine || Case == rcOneLineLonger; }

// The first Bytes of the motion list, in one line (its line breaks made spaces) for the one-line cases.
std::string ReplaceText(std::size_t Bytes, int Case) {
    std::string text = MotionListHead(Bytes);
    if (OneLine(Case))
        std::replace_if(
            text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

// One replace-all case: the editor of Arg 0 loads Text, gets its idle time, and replaces all (timed with
// the paint after, median and worst of the iterations, kept under Name). Key names the text the case
// leaves, which the other editor must leave too unless Compare is false.
struct TReplaceRun {
    std::string Text, Find, Replacement, Name;
    bool Regex = false, Wrap = false, Backward = false, Compare = true;
    std::tuple<int, int, int, int> Key;
};

// The text each case left, by its key: the second editor must leave the same.
std::map<std::tuple<int, int, int, int>, std::string> ReplacedTexts;

void TimeReplaceAll(benchmark::State& state, const TReplaceRun& Run) {
    const int editor = static_cast<int>(state.range(0));
    std::vector<double> times;
    int count = 0;
    std::string result;
    for (auto _ : state) {
        auto subject = Make(editor, 1);
        subject->Load(Run.Text, Run.Wrap);
        subject->Settle(editor == 0 ? 2000 : 300);
        QElapsedTimer t;
        t.start();
        count = subject->ReplaceAll(Run.Find, Run.Replacement, Run.Regex, Run.Backward);
        subject->Flush();
        times.push_back(Ms(t));
        state.SetIterationTime(times.back() / 1000);
        state.PauseTiming();
        result = subject->Text();
        subject.reset();
        state.ResumeTiming();
    }
    const auto [other, first] = ReplacedTexts.try_emplace(Run.Key, result);
    if (Run.Compare && !first && other->second != result) state.SkipWithError("the editors left different texts");
    state.counters["replaced"] = count;
    const TSpread spread = SpreadOf(times);
    // Texts left apart, so do the counts: then the name leaves them out, so that the two stand together.
    const std::string name = Run.Name + (Run.Compare ? ", " + std::to_string(count) + " hits)" : ")");
    Keep(name + " median", editor, spread.Median);
    Keep(name + " worst", editor, spread.Worst);
}

// Arg 1: 0 a plain word, 1 a regular expression; both find the same field of every motion line. Arg 2:
// the size of the list in quarter megabytes. Arg 3: the case (TReplaceCase). Wrap is on only for the
// one long line (unwrapped, Quillon finds nothing past its 1000th column).
void BM_ReplaceAll(benchmark::State& state) {
    const int quarters = static_cast<int>(state.range(2)), which = static_cast<int>(state.range(3));
    TReplaceRun run;
    run.Regex = state.range(1) != 0;
    run.Text = ReplaceText(static_cast<std::size_t>(quarters) * 1024 * 1024 / 4, which);
    run.Find = run.Regex ? "0100200000[0-9]0" : "010020000030";
    run.Replacement = which == rcLonger || which == rcOneLineLonger ? "<010020000031>" : "010020000031";
    run.Wrap = OneLine(which);
    run.Key = {0, run.Regex, quarters, which};
    run.Name = std::string("replace-all, ") + (run.Regex ? "regex" : "plain") + ReplaceCaseName(which) +
               ", ms (motion, " + std::to_string(run.Text.size() / 1000000.0).substr(0, 4) + " MB";
    TimeReplaceAll(state, run);
}

// One line of "a comment, commmment; " repeated: the regular expression com+ent (a repetition inside a
// literal, whose search may read on from every "com") or the plain word comment made remark, from the
// top and backwards from the end, wrapped and not (unwrapped, Quillon replaces nothing past the 1000th
// column, so the texts left differ from QScintilla's). Arg 1: 0 plain, 1 regex; arg 2: the size in MB;
// arg 3: wrap; arg 4: backwards.
void BM_ReplaceLongLine(benchmark::State& state) {
    const int megabytes = static_cast<int>(state.range(2));
    TReplaceRun run;
    run.Regex = state.range(1) != 0;
    run.Wrap = state.range(3) != 0;
    run.Backward = state.range(4) != 0;
    run.Compare = run.Wrap;
    const std::string piece = "a comment, commmment; ";
    const std::size_t bytes = static_cast<std::size_t>(megabytes) << 20;
    run.Text.reserve(bytes + piece.size());
    while (run.Text.size() < bytes) run.Text += piece;
    run.Find = run.Regex ? "com+ent" : "comment";
    run.Replacement = "remark";
    run.Key = {1, run.Regex, megabytes, run.Wrap};
    run.Name = std::string("replace-all in one line, ") + (run.Regex ? "com+ent" : "plain") +
               (run.Wrap ? ", wrapped" : ", unwrapped") + (run.Backward ? ", backwards" : "") + ", ms (" +
               std::to_string(megabytes) + " MB";
    TimeReplaceAll(state, run);
}

// Arg 1: the long line's size in units of 0.25 MB; the first keystroke is kept apart. The line is followed by a short
// one, so that its colouring state reaches a row below it.
void BM_LongUnwrappedLine(benchmark::State& state) {
    const int editor = static_cast<int>(state.range(0));
    const std::size_t bytes = static_cast<std::size_t>(state.range(1)) * 256 * 1024;
    const std::string text = LongLine(bytes) + "\r\nend\r\n";
    TKeyTimes times;
    for (auto _ : state) {
        auto subject = Make(editor, 0);
        subject->Load(text, false);
        subject->Settle(editor == 0 ? 5000 : 300);
        subject->JumpToColumn(40);
        subject->Paint();
        TypeKeys(*subject, 10, times, state);
    }
    char name[64];
    std::snprintf(name, sizeof name, "unwrapped line of %.2f MB: 10 keys", static_cast<double>(bytes) / 1048576.0);
    KeepSpread(name, editor, times);
    Keep(std::string(name) + ", the first with paint ms", editor, times.Whole.front());
}

void EditorsAndTexts(benchmark::internal::Benchmark* b) {
    for (int which : {0, 1})
        for (int editor : {0, 1}) b->Args({editor, which});
}

void KeystrokeArgs(benchmark::internal::Benchmark* b) {
    for (int which : {0, 1})
        for (int breaks : {0, 1})
            for (int editor : {0, 1}) b->Args({editor, which, breaks});
}

void SwitchArgs(benchmark::internal::Benchmark* b) {
    for (int which : {0, 1})
        for (int deep : {0, 1})
            for (int editor : {0, 1}) b->Args({editor, which, deep});
    for (int editor : {0, 1}) b->Args({editor, 3, 0});
}

void JumpArgs(benchmark::internal::Benchmark* b) {
    for (int which : {0, 1})
        for (int settled : {0, 1})
            for (int editor : {0, 1}) b->Args({editor, which, settled});
}

// The long wrapped line of 3, 4 and 16 MB (16 MB costs at most about 4 times what 4 MB costs);
// QScintilla, whose keystrokes in such a line take seconds, on the shorter ones.
void LongLineArgs(benchmark::internal::Benchmark* b) {
    for (int quarters : {12, 16, 64})
        for (int editor : {0, 1})
            if (editor == 0 || quarters < 64) b->Args({editor, quarters});
}

void UnwrappedArgs(benchmark::internal::Benchmark* b) {
    for (int quarters : {3, 6, 12, 40})
        for (int editor : {0, 1}) b->Args({editor, quarters});
}

// The word and the longer replacement in the 10 MB list, the one long line at 0.25 and 1 MB, made longer
// at 4 MB too (the time grows with the line, not with the line times its hits); plain and regex.
void ReplaceArgs(benchmark::internal::Benchmark* b) {
    const std::map<int, std::vector<int>> quartersOf = {
        {rcWord, {40}}, {rcLonger, {40}}, {rcOneLine, {1, 4}}, {rcOneLineLonger, {1, 4, 16}}};
    for (const auto& [which, sizes] : quartersOf)
        for (int quarters : sizes)
            for (int regex : {0, 1})
                for (int editor : {0, 1}) b->Args({editor, regex, quarters, which});
}

// The one line at 1, 2 and 4 MB wrapped (the time grows with the line: 4 MB costs about 4 times 1 MB),
// both ways; unwrapped at 4 MB.
void ReplaceLongLineArgs(benchmark::internal::Benchmark* b) {
    for (int regex : {1, 0})
        for (int wrap : {1, 0})
            for (int megabytes : {1, 2, 4})
                for (int backward : {0, 1})
                    for (int editor : {0, 1})
                        if (wrap || megabytes == 4) b->Args({editor, regex, megabytes, wrap, backward});
}

void LoadArgs(benchmark::internal::Benchmark* b) {
    for (int which : {0, 1, 2})
        for (int cold : {1, 0})
            for (int wrap : {1, 0})
                for (int editor : {0, 1}) b->Args({editor, which, wrap, cold});
}

BENCHMARK(BM_Load)->Apply(LoadArgs)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchWrapOn)->Apply(SwitchArgs)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paint)->Apply(EditorsAndTexts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RandomKeystrokes)->Apply(KeystrokeArgs)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypeAtTheEnd)->Apply(EditorsAndTexts)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FarJump)->Apply(JumpArgs)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceAll)->Apply(ReplaceArgs)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceLongLine)
    ->Apply(ReplaceLongLineArgs)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongLine)->Apply(LongLineArgs)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FarUncolouredKey)->Arg(0)->Arg(1)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongUnwrappedLine)->Apply(UnwrappedArgs)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void PrintSummary() {
    std::printf("\n%-64s %12s %12s %8s\n", "case", "Quillon", "QScintilla", "ratio");
    for (const std::string& name : Order) {
        const double q = Figures[name][0], s = Figures[name][1];
        std::printf("%-64s %12.2f %12.2f %8.2f\n", name.c_str(), q, s, s > 0 ? q / s : 0.0);
    }
    std::printf("\nTargets: load <= 0.7x QScintilla; keystroke model worst < 1 ms, with paint < 5 ms; "
                "jump to 3/4 < 10 ms; memory <= QScintilla.\n");
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (TextOf(0).empty()) {
        std::fprintf(stderr, "The Japanese prose is missing: install debian-reference-ja (scripts/setup).\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    LoadedSubjects.clear();
    PrintSummary();
    std::fflush(stdout);
    return 0;
}
