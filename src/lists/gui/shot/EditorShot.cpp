// Shows the editor holding a coloured motion list, with line numbers, the ruler, row marks and a box
// selection, and saves a picture of it: EditorShot <file.png>
// (docs/editor.png is made with it under a virtual X server, see scripts/editor-screenshot).
#include "Cp932.h"
#include "EditorWidget.h"
#include "MotionColourer.h"

#include <QApplication>
#include <QTimer>

using namespace quillon;

namespace {

const char* const kMotionList[] = {
    "--R---G---B---G",
    "  0   0 255  16",
    "-Num---To-Sp-Pic-De-Ci-V---VxRx--VyRy-C-CL-G-Da--Hit-H-Flag-Def1---------Def2---------Att1---------COMMENT",
    "; 立ち",
    "  0    1  6  10/0     0  0 0    0 0   0 0 0 0 0   0   -  0 0000 1FF0EF00A010 000000000000 000000000000 ;立ちポーズ",
    "  1    2  6  11/0     0  0 0    0 0   0 0 0 0 0   0   -  0 0000 1FF0EF00A010 000000000000 000000000000",
    "  2    0  6  12/0     0  0 0    0 0   0 0 0 0 0   0   -  0 0000 1FF0EF00A010 000000000000 000000000000 ;ループ",
    "; 歩き",
    " 10   11  4  20/0     0  0 0    2 0   0 0 0 0 0   0   -  0 0000 1FF0EF00A010 000000000000 000000000000 ;前進",
    " 11   12  4  21/0     0  0 0    2 0   0 0 0 0 0   0   -  0 0000 1FF0EF00A010 000000000000 000000000000",
    " 12   10  4  22/0     0  0 0    2 0   0 0 0 0 0   0   -  0 0000 1FF0EF00A010 000000000000 000000000000",
    "; 弱パンチ",
    " 20   21  3  30/1,1,A,128 0 0 0 0 0   0 0 9 0 0   0   -  0 0100 1FF0EF00A010 000000000000 010020000030 ;ガッツ",
    " 21   22  3  31/0     0  0 9/-3/4 0 0 0 0 9 0 0  12   H  0 0100 1FF0EF00A010 2A10F4003018 010020000030 ;当たり",
    " 22    0  5  32/0     0  0 0    0 0   0 0 0 0 0   0   -  0 0000 1FF0EF00A010 000000000000 000000000000",
    "; 投げ　（全角スペース入り）",
    " 30   31  8  40/41    0  0 0   -1 0   0 0 0 0 0   0   -  0 0000 1FF0EF00A010 000000000000 000000000000",
    " 31  999  8  42/43    0  0 0   -1 0   0 0 0 0 0   0   -  0 0000 1FF0EF00A010 000000000000 000000000000 ;誤り",
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) return 2;
    TMotionColourer colourer(nullptr);
    colourer.SetDefaultColors();
    TEditorWidget widget;
    widget.setWindowTitle(QString::fromUtf8("動作リスト"));
    widget.SetEditorFont("FixedSys", 14);
    widget.SetColor(clBlack);
    widget.SetFontColor(clSilver);
    TEditor& editor = widget.Editor();
    std::string text;
    for (const char* line : kMotionList) text += Utf8ToCp932(line) + "\r\n";
    editor.Lines().SetText(text);
    editor.SetColourer(&colourer);
    editor.Ruler().SetVisible(true);
    editor.Leftbar().SetVisible(true);
    editor.Marks().RetMark().SetVisible(true);
    editor.Marks().EofMark().SetVisible(true);
    editor.Marks().Underline().SetVisible(true);
    editor.SetScrollBars(ssBoth);
    editor.SetRowMarks(4, 1 << 1);
    editor.SetRowMarks(12, (1 << 3) | (1 << 11));
    editor.ScreenStrings().SetRowModified(13, true);
    widget.resize(860, 420);
    widget.show();
    widget.setFocus();
    // A box over the picture fields of the punch frames.
    editor.SetSelectionMode(1);
    editor.SetRowCol(12, 14);
    editor.StartSelection();
    editor.SetRowCol(14, 26);
    editor.ExtendSelection();
    bool saved = false;
    QTimer::singleShot(300, [&] {
        saved = widget.grab().save(QString::fromLocal8Bit(argv[1]));
        app.quit();
    });
    app.exec();
    return saved ? 0 : 1;
}
