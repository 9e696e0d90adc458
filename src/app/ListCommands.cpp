#include "ListCommands.h"

#include "AnsiCase.h"
#include "EditorControl.h"
#include "ListKinds.h"
#include "MakePattern.h"
#include "MessageBox.h"
#include "QesConverter.h"
#include "Strutil.h"

#include <algorithm>

namespace quillon {
namespace {

std::vector<std::string> EditorLines(const TEditor& Editor) {
    std::vector<std::string> lines;
    const int n = Editor.Lines().Count();
    lines.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) lines.push_back(Editor.Lines().Get(i));
    return lines;
}

// The editor's lines, read in place one at a time.
class TEditorLines : public TLineSource {
public:
    explicit TEditorLines(const TEditor& Editor) : FLines(Editor.Lines()) {}
    std::size_t Count() const override { return static_cast<std::size_t>(FLines.Count()); }
    std::string_view Line(std::size_t Index, std::string& Buffer) const override {
        Buffer = FLines.Get(static_cast<int>(Index));
        return Buffer;
    }

private:
    const TEditorStrings& FLines;
};

// Whether the text ends with a line break: the end of the last rows.
bool EndsWithLineBreak(TEditor& Editor) {
    const TEditorScreenStrings& rows = Editor.ScreenStrings();
    const int n = rows.Count();
    const std::string tail = rows.GetRowsText(std::max(n - 2, 0), std::min(n, 2));
    return tail.size() >= 2 && tail.compare(tail.size() - 2, 2, "\r\n") == 0;
}

// Keeps the editor's Lines in update mode for the life of a scope.
class TLinesUpdate {
public:
    explicit TLinesUpdate(TEditorStrings& Lines) : FLines(Lines) { FLines.BeginUpdate(); }
    ~TLinesUpdate() { FLines.EndUpdate(); }
    TLinesUpdate(const TLinesUpdate&) = delete;
    TLinesUpdate& operator=(const TLinesUpdate&) = delete;

private:
    TEditorStrings& FLines;
};

} // namespace

TListCommandState ListCommandState(const TEditor& Editor, int Kind, bool Named) {
    TListCommandState state;
    state.Kind = Kind;
    state.Named = Named;
    state.Selected = Editor.IsSelected() && Editor.SelLength() > 0;
    state.ReadOnly = Editor.ReadOnly();
    state.Empty = Editor.GetTextLength() == 0;
    return state;
}

TListCommandEnabling ListCommandEnabling(const TListCommandState& State) {
    TListCommandEnabling e;
    const bool editable = !State.ReadOnly;
    e.ReNum = KindOffers(State.Kind, kcRenumber) && State.Selected && editable;
    e.Format = KindOffers(State.Kind, kcFormat) && !State.Empty && editable;
    e.SetEnv = true;
    e.Go = State.Named && KindOffers(State.Kind, kcConvert);
    e.StrConvert = State.Selected && editable;
    return e;
}

bool ReplaceWholeText(TEditor& Editor, const TWriteLines& Write) {
    if (Editor.ReadOnly()) return false;
    const TEditorStrings& lines = Editor.Lines();
    const std::size_t count = static_cast<std::size_t>(lines.Count());
    std::string text;
    // Room for the old text and some more, so that the text seldom grows by doubling.
    const std::size_t length = static_cast<std::size_t>(Editor.GetTextLength());
    text.reserve(length + length / 8);
    std::size_t index = 0;
    bool changed = false;
    const bool written = Write([&](std::string_view line) {
        if (index > 0) text += "\r\n";
        text += line;
        changed = changed || index >= count || line != lines.Get(static_cast<int>(index));
        ++index;
    });
    if (!written || !(changed || index != count)) return false;
    if (index > 0 && EndsWithLineBreak(Editor)) text += "\r\n";

    const int start = Editor.SelStart(), selLength = Editor.SelLength();
    TLinesUpdate update(Editor.Lines());
    Editor.SelectAll();
    Editor.SetSelText(text);
    Editor.SetSelStart(start);
    Editor.SetSelLength(selLength);
    return true;
}

bool SelectedLines(const TEditor& Editor, int& First, int& Last) {
    if (!Editor.IsSelected()) return false;
    const TSelection& s = Editor.SelStr();
    First = Editor.RowToLine(s.StartRow);
    Last = Editor.RowToLine(s.EndRow);
    // Ending before the first character of a line's first row selects nothing of that line; a
    // wrapped line's later row still holds selected characters of the line before it.
    if (s.End < 0 && Editor.Lines().LineToRow(Last) == s.EndRow) --Last;
    Last = std::min(Last, Editor.Lines().Count() - 1);
    return true;
}

bool ReNumSelection(TEditor& Editor, TListCommandDialogs& Dialogs) {
    int first = 0, last = 0;
    if (Editor.ReadOnly() || !SelectedLines(Editor, first, last)) return false;
    const TEditorLines lines(Editor);
    if (FindNextMotionLine(lines, first, last) < 0) {
        Messages().Show("リナンバできる行が選択されていません", "エラー", TMsgIcon::Warning, TMsgButtons::OK);
        return false;
    }
    const TRenumberAsk ask = [&Dialogs](std::int32_t FirstNum, TRenumberRequest& Request) {
        return Dialogs.AskRenumber(FirstNum, Request);
    };
    return ReplaceWholeText(Editor,
                            [&](const TLineSink& Sink) { return RenumberMotionLines(lines, first, last, ask, Sink); });
}

bool FormatList(TEditor& Editor, int Kind, const TListOptions& Options) {
    if (Editor.ReadOnly()) return false;
    TMotionFormatter motion;
    TCommandFormatter command;
    TZCommandFormatter zcommand;
    TListFormatter* formatter = nullptr;
    switch (Kind) {
    case lkMotion:
        motion.SetOptions(Options.MotionOptions);
        formatter = &motion;
        break;
    case lkCommand:
        command.SetOptions(Options.CommandOptions);
        formatter = &command;
        break;
    case lkZCommand:
        zcommand.SetOptions(Options.ZCommandOptions);
        formatter = &zcommand;
        break;
    default: return false;
    }
    return ReplaceWholeText(Editor, [&](const TLineSink& Sink) {
        formatter->Format(TEditorLines(Editor), Sink);
        return true;
    });
}

int EnvironmentPage(int Kind) { return Kind >= 0 && Kind < kListKindCount ? ListKindInfo(Kind).EnvPage : 0; }

bool SetEnvironment(int Kind, const TListOptions& Options, TListCommandDialogs& Dialogs) {
    return Dialogs.EditEnvironment(Options, EnvironmentPage(Kind));
}

bool ConvertList(TEditor& Editor, int Kind, const std::filesystem::path& FileName, const TListOptions& Options,
                 TListCommandDialogs& Dialogs) {
    if (!KindOffers(Kind, kcConvert)) return false;
    // Both outputs go beside the list: an unnamed list has no folder to write them into.
    if (FileName.empty()) {
        Messages().Show("ファイルを保存してから実行してください", "エラー", TMsgIcon::Warning, TMsgButtons::OK);
        return false;
    }
    const std::vector<std::string> lines = EditorLines(Editor);
    if (Kind == lkBmp) return MakePatternFromBitmapList(lines, FileName, Options.MakerOptions, Dialogs);
    return ConvertQesToEnemyList(lines, FileName);
}

std::string ConvertString(TStrConvert Conversion, std::string_view S) {
    switch (Conversion) {
    case scToUpper: return AnsiUpperCase(S);
    case scToUpperFile: return UpperCaseFileName(S);
    case scToLower: return AnsiLowerCase(S);
    case scToLowerFile: return LowerCaseFileName(S);
    case scToHankaku: return ToHankaku(S);
    case scToZenkaku: return ToZenkaku(S);
    }
    return std::string(S);
}

bool ConvertSelection(TEditor& Editor, TStrConvert Conversion) {
    if (Editor.ReadOnly() || !Editor.IsSelected()) return false;
    const std::string text = Editor.SelText();
    const std::string converted = ConvertString(Conversion, text);
    if (text.empty() || converted == text) return false;
    if (Editor.SelectionMode() == 1)
        Editor.SetSelTextBox(converted);
    else
        Editor.SetSelTextBuf(converted);
    return true;
}

} // namespace quillon
