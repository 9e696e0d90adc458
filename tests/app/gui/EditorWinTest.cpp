// The edit window as the user meets it: its actions, menus, toolbars, status panels, keys, mouse
// and dropped files, each driven through real events or action triggers on a real window.
#include "EditorWin.h"

#include "ComCtrlsXP.h"
#include "Cp932.h"
#include "EditorExVantor.h"
#include "EditorWidget.h"
#include "EnemyCondition.h"
#include "KeyMacro.h"
#include "ListCommandDialogs.h"
#include "ListKinds.h"
#include "MessageBox.h"
#include "MotionTestLines.h"
#include "Paths.h"
#include "QtDialogs.h"
#include "QtSettingsStore.h"
#include "ReNumDlg.h"
#include "RootWin.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <QUrl>

#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace quillon;
namespace fs = std::filesystem;
using testlines::Motion;

namespace {

// Scripted answers, each box remembering the window it would open over.
struct TPlacedMessages : TScriptedMessages {
    std::vector<QWidget*> Owners;
    TMsgResult Show(const std::string& text, const std::string& title, TMsgIcon icon, TMsgButtons buttons) override {
        Owners.push_back(OwnerWindow());
        return TScriptedMessages::Show(text, title, icon, buttons);
    }
};

class EditorWinTest : public ::testing::Test {
protected:
    fs::path dir = MakeDir();
    TPlacedMessages messages;
    TMessageServiceScope scope{messages};
    std::unique_ptr<TQtSettingsStore> store =
        std::make_unique<TQtSettingsStore>(QString::fromStdString((dir / "quillon.ini").string()));
    std::unique_ptr<TQuillonRootWin> root = std::make_unique<TQuillonRootWin>(*store);

    static fs::path MakeDir() {
        std::string tmpl = (fs::temp_directory_path() / "quillon-editwin-XXXXXX").string();
        return AbsolutePath(::mkdtemp(tmpl.data()));
    }
    void TearDown() override {
        root.reset();
        fs::remove_all(dir);
    }
    TfrmEditWindow& Window(int index) { return *root->WindowAt(index); }
    // A new window of Kind holding the kind's template and then Lines; the caret at the top.
    TfrmEditWindow& Open(int Kind, const std::vector<std::string>& Lines) {
        std::vector<std::string> lines;
        if (Kind == lkMotion) NewMotionList(lines);
        if (Kind == lkEnemy) NewEnemyList(lines);
        lines.insert(lines.end(), Lines.begin(), Lines.end());
        root->OpenNewWindow("", &lines, Kind);
        TfrmEditWindow& window = Window(root->WindowCount() - 1);
        Activate(window);
        return window;
    }
    // Shortcuts act in the active window only.
    static void Activate(TfrmEditWindow& window) {
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        window.EditorWidget().setFocus();
    }
    std::string WriteFile(const std::string& name, const std::vector<std::string>& lines) {
        std::ofstream(dir / name, std::ios::binary) << JoinListText(lines);
        return (dir / name).string();
    }
    static void Key(TfrmEditWindow& window, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(&window.EditorWidget(), static_cast<Qt::Key>(key), mods);
    }
    // The caret on the first character of the field Token of line Line.
    static void CaretOn(TfrmEditWindow& window, int Line, const std::string& Token, int Skip = 0) {
        const std::string text = window.Editor().Lines().Get(Line);
        size_t at = text.find(" " + Token + " ");
        for (int i = 0; i < Skip; ++i) at = text.find(" " + Token + " ", at + 1);
        ASSERT_NE(at, std::string::npos) << Token;
        window.Editor().SetRowCol(Line, static_cast<int>(at) + 1);
    }
    static QMenu* MainMenu(TfrmEditWindow& window, const QString& title) {
        for (QToolButton* button : window.ToolBar1->findChildren<QToolButton*>())
            if (button->text() == title) return button->menu();
        return nullptr;
    }
};

// Whether Menu or one of its submenus holds Action.
bool Holds(const QMenu* Menu, const QAction* Action) {
    for (QAction* item : Menu->actions()) {
        if (item == Action) return true;
        if (item->menu() && Holds(item->menu(), Action)) return true;
    }
    return false;
}

TEST_F(EditorWinTest, EveryActionOfTheTableWithItsCaptionShortcutAndMenu) {
    struct TRow {
        const char *Name, *Menu, *Caption, *Shortcut;
    };
    const TRow table[] = {
        {"ActionNewMotion", "ファイル(&F)", "モーションリスト(&M)", ""},
        {"ActionNewCommand", "ファイル(&F)", "ｺﾏﾝﾄﾞﾘｽﾄ(&C)", ""},
        {"ActionNewZCommand", "ファイル(&F)", "Zｺﾏﾝﾄﾞﾘｽﾄ(&D)", ""},
        {"ActionNewVoice", "ファイル(&F)", "ﾎﾞｲｽﾘｽﾄ(&V)", ""},
        {"ActionNewZVoice", "ファイル(&F)", "Zﾎﾞｲｽﾘｽﾄ(&W)", ""},
        {"ActionNewEnemy", "ファイル(&F)", "ｴﾈﾐｰﾘｽﾄ(&E)", ""},
        {"ActionNewQES", "ファイル(&F)", "Quessa1.3ｴﾈﾐｰｿｰｽ(&A)", ""},
        {"ActionNewBitmap", "ファイル(&F)", "Bitmapﾘｽﾄ(&B)", ""},
        {"ActionNewText", "ファイル(&F)", "ﾃｷｽﾄ(&T)", ""},
        {"ActionOpen", "ファイル(&F)", "開く(&O)...", "Ctrl+O"},
        {"ActionCloseAndOpen", "ファイル(&F)", "閉じて開く(&C)...", ""},
        {"ActionReLoad", "ファイル(&F)", "リロード(&R)", ""},
        {"ActionSaveAs", "ファイル(&F)", "名前をつけて保存(&A)...", ""},
        {"ActionSave", "ファイル(&F)", "上書き保存(&S)", "Ctrl+S"},
        {"ActionGo", "ファイル(&F)", "ﾌｧｲﾙ出力/ｺﾝﾊﾞｰﾄ(&G)", ""},
        {"ActionExit", "ファイル(&F)", "終了(&X)", ""},
        {"ActionHelp", "ヘルプ(&H)", "ヘルプ(&H)...", ""},
        {"ActionAbout", "ヘルプ(&H)", "バージョン情報(&A)...", ""},
        {"ActionUndo", "編集(&E)", "元に戻す(&U)", "Ctrl+Z"},
        {"ActionRedo", "編集(&E)", "やり直し(&R)", "Ctrl+Y"},
        {"ActionCut", "編集(&E)", "切り取り(&T)", "Ctrl+X"},
        {"ActionCopy", "編集(&E)", "コピー(&C)", "Ctrl+C"},
        {"ActionPaste", "編集(&E)", "貼り付け(&P)", "Ctrl+V"},
        {"ActionBoxPaste", "編集(&E)", "BOX貼り付け", "Ctrl+B"},
        {"ActionBoxSel", "編集(&E)", "Box選択モード(&K)", "Ctrl+K"},
        {"ActionDelete", "編集(&E)", "削除(&D)", ""},
        {"ActionSelAll", "編集(&E)", "すべて選択(&A)", "Ctrl+A"},
        {"ActionFind", "検索(&S)", "検索(&F)...", "Ctrl+F"},
        {"ActionFindPrev", "検索(&S)", "上候補(&P)", "Shift+F3"},
        {"ActionFindNext", "検索(&S)", "下候補(&N)", "F3"},
        {"ActionReplase", "検索(&S)", "置換(&R)...", "Ctrl+R"},
        {"ActionFindItem", "検索(&S)", "項目を検索(&I)...", "Ctrl+J"},
        {"ActionFindItemPrev", "検索(&S)", "上項目候補(&U)", "Ctrl+Shift+F3"},
        {"ActionFindItemNext", "検索(&S)", "下項目候補(&S)", "Ctrl+F3"},
        {"ActionReNum", "編集(&E)", "リナンバ(&N)...", "Ctrl+N"},
        {"ActionMacroOnOff", "マクロ(&M)", "キー操作の記録開始/終了(&R)", "Shift+F1"},
        {"ActionMacroRun", "マクロ(&M)", "キー操作の再生(&P)", "Shift+F2"},
        {"ActionCheat", "編集(&E)", "項目ヒント(&H)...", "Ctrl+H"},
        {"ActionEditProp", "オプション(&O)", "エディタ設定(&P)...", ""},
        {"ActionSetEnv", "オプション(&O)", "環境設定(&E)...", ""},
        {"ActionInsertCondition", "編集(&E)", "条件を挿入(&J)...", ""},
        {"ActionEditCondition", "編集(&E)", "条件を編集(&E)...", ""},
        {"ActionWinArangeHorz", "ウィンドウ(&W)", "横に並べる(&H)", ""},
        {"ActionWinArangeVert", "ウィンドウ(&W)", "縦に並べる(&V)", ""},
        {"ActionFormat", "編集(&E)", "自動整形(&O)", ""},
        {"ActionGoRelation", "編集(&E)", "参照先にジャンプ(&G)", "Alt+Return"},
        {"ActionShowFramePicture", "表示(&V)", "フレーム画像表示(&F)", "F5"},
        {"ActionInputApply", "", "適用", ""},
        {"ActionPictureList", "表示(&V)", "画像一覧(&L)...", "Ctrl+L"},
        {"ActionToUpper", "編集(&E)", "大文字に変換(&U)", ""},
        {"ActionToUpperFile", "編集(&E)", "ファイル名用に大文字変換(&V)", ""},
        {"ActionToLower", "編集(&E)", "小文字に変換(&L)", ""},
        {"ActionToLowerFile", "編集(&E)", "ファイル名用に小文字変換(&M)", ""},
        {"ActionToHankaku", "編集(&E)", "半角に変換(&H)", ""},
        {"ActionToZenkaku", "編集(&E)", "全角に変換(&Z)", ""},
    };
    ASSERT_EQ(std::size(table), 55u);
    root->FormCreate({});
    TfrmEditWindow& window = Window(0);
    for (const TRow& row : table) {
        SCOPED_TRACE(row.Name);
        const auto found = window.findChildren<QAction*>(row.Name);
        ASSERT_EQ(found.size(), 1);
        QAction* action = found.front();
        EXPECT_EQ(action->text(), QString::fromUtf8(row.Caption));
        EXPECT_EQ(action->shortcut().toString(QKeySequence::PortableText), QString::fromLatin1(row.Shortcut));
        EXPECT_FALSE(action->statusTip().isEmpty());
        if (!*row.Menu) continue;
        QMenu* menu = MainMenu(window, QString::fromUtf8(row.Menu));
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(Holds(menu, action));
    }
    // The menu toolbar holds the eight menus in order; the button toolbar five actions.
    QStringList titles;
    for (QToolButton* button : window.ToolBar1->findChildren<QToolButton*>())
        if (dynamic_cast<TXPToolBarMenuButton*>(button)) titles << button->text();
    EXPECT_EQ(titles, QStringList({"ファイル(&F)", "編集(&E)", "検索(&S)", "表示(&V)", "オプション(&O)",
                                   "ウィンドウ(&W)", "マクロ(&M)", "ヘルプ(&H)"}));
    EXPECT_EQ(window.ToolBar2->actions(), QList<QAction*>({window.ActionExit, window.ActionOpen, window.ActionSave,
                                                           window.ActionGo, window.ActionShowFramePicture}));
    EXPECT_FALSE(window.ActionPictureList->isVisible());
}

TEST_F(EditorWinTest, ShortcutsActFromTheWindowsFirstMomentAndNotDuringADrag) {
    TfrmEditWindow& window = Open(lkMotion, {Motion({.Num = "1"})});
    int asked = 0;
    root->SearchDialog = [&asked](std::string&, std::uint8_t&, bool&) { return ++asked, false; };
    Key(window, Qt::Key_F, Qt::ControlModifier); // no menu was ever opened
    EXPECT_EQ(asked, 1);
    const std::vector<std::string> before = window.Lines();
    Key(window, Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(window.Editor().IsSelected());
    // While a hit box is dragged nothing runs, by shortcut or by menu.
    window.ShowFramePicture(true);
    window.Editor().CancelSelection();
    window.Editor().SetRowCol(3, 0);
    QWidget* paint = window.FramePane().findChild<QWidget*>("dpbFramePic");
    ASSERT_NE(paint, nullptr);
    QTest::mousePress(paint, Qt::LeftButton, {}, QPoint(100, 100));
    ASSERT_TRUE(window.FramePane().Dragging());
    window.ActionDelete->trigger();
    window.ActionFind->trigger();
    EXPECT_EQ(window.Lines(), before);
    EXPECT_EQ(asked, 1);
    QTest::mouseRelease(paint, Qt::LeftButton, {}, QPoint(100, 100));
}

// A shortcut acts only when its menu would show the command enabled at that moment: after a menu
// has opened and closed, Ctrl+R in an empty window once ran the replace and reported not found.
TEST_F(EditorWinTest, ShortcutsFollowTheMenusEnablingAtTheKey) {
    TfrmEditWindow& window = Open(lkText, {});
    int asked = 0;
    root->SearchDialog = [&asked](std::string&, std::uint8_t&, bool&) { return ++asked, false; };
    root->ReplaceDialog = [&asked](TSearchRequest&, bool&, bool&) { return ++asked, false; };
    root->SearchRequest().FindText = "x";
    QMenu* find = MainMenu(window, "検索(&S)");
    ASSERT_NE(find, nullptr);
    find->popup({0, 0});
    find->hide();
    for (int key : {Qt::Key_R, Qt::Key_F}) Key(window, key, Qt::ControlModifier);
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(messages.Shown.empty());
    QTest::keyClicks(&window.EditorWidget(), "abc");
    for (int key : {Qt::Key_R, Qt::Key_F}) Key(window, key, Qt::ControlModifier);
    EXPECT_EQ(asked, 2);
}

// A box opens over the window whose command shows it, whichever window is active (none is, for a
// moment, after a dialog or the maker's progress has closed).
TEST_F(EditorWinTest, MessageBoxesOpenOverTheWindowOfTheirCommand) {
    TfrmEditWindow& first = Open(lkText, {"abc"});
    TfrmEditWindow& second = Open(lkText, {"abc"});
    root->SearchRequest().FindText = "zzz";
    Activate(first);
    second.ActionFindNext->trigger();
    QApplication::setActiveWindow(nullptr);
    first.ActionFindNext->trigger();
    ASSERT_EQ(messages.Shown.size(), 2u);
    EXPECT_EQ(messages.Owners, (std::vector<QWidget*>{&second, &first}));
}

// Converting a Quessa source onto an existing enemy list asks first; no leaves the list as it was.
TEST_F(EditorWinTest, TheConverterAsksBeforeReplacingAnEnemyList) {
    std::vector<std::string> source;
    NewQesSource(source);
    const std::string name = WriteFile("ENEMY1.QES", source);
    WriteFile("ENEMY1.LST", {"hand-written"});
    TfrmRenum renum;
    root->CommandDialogs = [&renum](QWidget* owner) { return std::make_unique<TQtListCommandDialogs>(owner, renum); };
    root->OpenNewWindow(name, &source, -1);
    TfrmEditWindow& window = Window(0);
    Activate(window);
    QMenu* edit = MainMenu(window, "編集(&E)");
    edit->popup({0, 0});
    edit->hide();
    messages.Answer(TMsgResult::No);
    window.ActionGo->trigger();
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Buttons, TMsgButtons::YesNo);
    EXPECT_EQ(messages.Owners[0], &window);
    std::ifstream in(dir / "ENEMY1.LST", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "hand-written\r\n");
    messages.Answer(TMsgResult::Yes);
    window.ActionGo->trigger();
    EXPECT_EQ(messages.Shown.back().Text, "出力が完了しました");
}

TEST_F(EditorWinTest, StatusPanelsFollowInsertModeBoxSelectionAndTheKeyMacro) {
    TfrmEditWindow& window = Open(lkText, {"abc"});
    EXPECT_EQ(window.PanelText(0), "挿入");
    Key(window, Qt::Key_Insert);
    EXPECT_EQ(window.PanelText(0), "上書");
    EXPECT_TRUE(window.Editor().OverWrite());
    Key(window, Qt::Key_Insert);
    EXPECT_EQ(window.PanelText(0), "挿入");

    EXPECT_EQ(window.PanelText(1), "");
    Key(window, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(window.PanelText(1), "矩形選択");
    Key(window, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(window.PanelText(1), "");

    EXPECT_FALSE(window.ActionMacroRun->isEnabled());
    Key(window, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(window.PanelText(2), "記録中");
    EXPECT_FALSE(window.ActionMacroRun->isEnabled());
    QTest::keyClicks(&window.EditorWidget(), "xy");
    Key(window, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(window.PanelText(2), "");
    ASSERT_TRUE(window.ActionMacroRun->isEnabled());
    int running = 0; // messages that reached the editor while the panel said so
    window.Editor().MessageHook = [&](TMessage, TWParam, TLParam) { running += window.PanelText(2) == "実行中"; };
    Key(window, Qt::Key_F2, Qt::ShiftModifier);
    window.Editor().MessageHook = nullptr;
    EXPECT_GT(running, 0);
    EXPECT_EQ(window.PanelText(2), "");
    EXPECT_EQ(window.Lines(), std::vector<std::string>{"xyxyabc"});
}

TEST_F(EditorWinTest, TheHintOfTheActionUnderTheMouseGoesToTheLastPanel) {
    TfrmEditWindow& window = Open(lkText, {"abc"});
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QStatusTipEvent tip(window.ActionOpen->statusTip());
    QApplication::sendEvent(window.ToolBar2, &tip);
    EXPECT_EQ(window.PanelText(3), "ファイルを開きます");
    const QList<QLabel*> panels = window.StatusBar1->findChildren<QLabel*>();
    ASSERT_EQ(panels.size(), 4);
    EXPECT_EQ(panels[0]->width(), 50);
    EXPECT_EQ(panels[1]->width(), 80);
    EXPECT_EQ(panels[2]->width(), 80);
}

TEST_F(EditorWinTest, BookmarksAreSetRemovedAndJumpedToFromBothMenusAndKeys) {
    TfrmEditWindow& window = Open(lkText, {"a", "b", "c", "d"});
    TEditorExVantor& editor = window.Editor();
    editor.SetRowCol(2, 0);
    QAction* set3 = window.popEdit->findChild<QAction*>("popEditSetMark3");
    ASSERT_NE(set3, nullptr);
    set3->trigger();
    EXPECT_TRUE(editor.GetRowMarks(2) & (1u << 3));
    set3->trigger();
    EXPECT_FALSE(editor.GetRowMarks(2) & (1u << 3));
    Key(window, Qt::Key_3, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_TRUE(editor.GetRowMarks(2) & (1u << 3));
    editor.SetRowCol(0, 0);
    Key(window, Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(editor.Row(), 2);
    editor.SetRowCol(0, 0);
    window.popEditMenu->findChild<QAction*>("popEditJumpMark3Menu")->trigger();
    EXPECT_EQ(editor.Row(), 2);
}

TEST_F(EditorWinTest, TheContextMenuIsTheWindowsAndADoubleClickSelectsAWholeField) {
    TfrmEditWindow& window = Open(lkMotion, {Motion({.Num = "5"})});
    TEditorExVantor& editor = window.Editor();
    CaretOn(window, 3, "9");
    int x = 0, y = 0;
    editor.GetCaretPoint(x, y);
    QWidget* viewport = window.EditorWidget().viewport();
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(x, y), viewport->mapToGlobal(QPoint(x, y)));
    QApplication::sendEvent(viewport, &menu);
    EXPECT_TRUE(window.popEdit->isVisible());
    EXPECT_FALSE(window.ActionCopy->isEnabled()); // as the editor is while it shows
    window.popEdit->hide();
    EXPECT_TRUE(window.ActionCopy->isEnabled());
    // The V field "9/-3" of a motion line is several coloured pieces but one field.
    std::string line = Motion({.Num = "5", .Ci = "1"});
    editor.Lines().Put(3, line.replace(line.find(" 1 9 ") + 3, 1, "9/-3"));
    CaretOn(window, 3, "9/-3");
    editor.GetCaretPoint(x, y);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(x + 2, y + 2));
    EXPECT_EQ(editor.SelText(), "9/-3");
}

TEST_F(EditorWinTest, CtrlTabGoesToTheNextWindowAndCtrlShiftTabBackSkippingMinimised) {
    TfrmEditWindow& first = Open(lkText, {"1"});
    Open(lkText, {"2"});
    TfrmEditWindow& third = Open(lkText, {"3"});
    first.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&first));
    Key(first, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &Window(1); }));
    Window(1).showMinimized();
    Key(first, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &Window(2); }));
    Key(third, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &Window(0); }));
}

TEST_F(EditorWinTest, TheWindowsOwnEditingKeys) {
    TfrmEditWindow& window = Open(lkText, {"abc"});
    TEditorExVantor& editor = window.Editor();
    Key(window, Qt::Key_End, Qt::ShiftModifier);
    Key(window, Qt::Key_Insert, Qt::ControlModifier); // copy
    EXPECT_EQ(editor.Host()->ClipboardText(), "abc");
    Key(window, Qt::Key_Delete, Qt::ShiftModifier); // cut
    EXPECT_EQ(window.Lines(), std::vector<std::string>{""});
    Key(window, Qt::Key_Insert, Qt::ShiftModifier); // paste
    Key(window, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(window.Lines(), std::vector<std::string>{"abcabc"});
    Key(window, Qt::Key_Backspace, Qt::AltModifier); // undo
    EXPECT_EQ(window.Lines(), std::vector<std::string>{"abc"});
}

TEST_F(EditorWinTest, FilesDroppedOnTheEditorOrTheWindowOpen) {
    std::vector<std::string> lines;
    NewMotionList(lines);
    QList<QUrl> urls;
    for (const char* name : {"MOTION.LST", "MOTION1.LST", "MOTION2.LST"})
        urls << QUrl::fromLocalFile(QString::fromStdString(WriteFile(name, lines)));
    root->FormCreate({});
    TfrmEditWindow& window = Window(0);
    QMimeData data;
    data.setUrls(urls);
    QWidget* target = window.EditorWidget().viewport();
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &drop);
    ASSERT_EQ(root->WindowCount(), 3); // the fresh window took the first, two new ones the others
    EXPECT_EQ(fs::path(Window(0).FileName()).filename(), "MOTION.LST");
    EXPECT_EQ(fs::path(Window(2).FileName()).filename(), "MOTION2.LST");
    // On the window outside the editor the same; files already open only come to the front.
    urls << QUrl::fromLocalFile(QString::fromStdString(WriteFile("MOTION3.LST", lines)));
    data.setUrls(urls);
    QDragEnterEvent windowEnter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window.StatusBar1, &windowEnter);
    EXPECT_TRUE(windowEnter.isAccepted());
    QDropEvent windowDrop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window.StatusBar1, &windowDrop);
    EXPECT_EQ(root->WindowCount(), 4);
}

TEST_F(EditorWinTest, ItemSearchFindsTheWholeFieldAndScrollsItIntoTheMiddle) {
    std::vector<std::string> lines;
    for (int i = 0; i < 150; ++i) lines.push_back(Motion({.Num = std::to_string(100 + i)}));
    lines.push_back(Motion({.Num = "12"}));
    TfrmEditWindow& window = Open(lkMotion, lines);
    window.resize(600, 400);
    TEditorExVantor& editor = window.Editor();
    int asked = 0;
    root->ItemSearchDialog = [&asked](TItemSearchRequest& request) {
        ++asked;
        request = {"12", 50, 0, idDown};
        return true;
    };
    Key(window, Qt::Key_J, Qt::ControlModifier);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(editor.Row(), 153); // Num 120 at row 23 is passed over
    EXPECT_EQ(editor.HitSelLength(), 2);
    EXPECT_EQ(editor.Col(), 3 + 2); // after the hit, as the find's hits
    EXPECT_EQ(editor.TopRow(), 153 - editor.RowsPerPage() / 2);
    // Ctrl+F3 and Shift+Ctrl+F3 repeat the request.
    root->ItemSearchRequest().ItemOptions = ioSubString;
    Key(window, Qt::Key_F3, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor.Row(), 115); // Num 212
    Key(window, Qt::Key_F3, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor.Row(), 32); // Num 129
    Key(window, Qt::Key_F3, Qt::ControlModifier);
    EXPECT_EQ(editor.Row(), 115);
}

TEST_F(EditorWinTest, F4DescribesTheFieldAtTheCaretUntilTheKeyIsReleased) {
    TfrmEditWindow& window = Open(lkMotion, {Motion({.Num = "5", .Ci = "<44"})});
    CaretOn(window, 3, "<44");
    THintWindow& hint = window.Editor().HintWindow();
    QTest::keyPress(&window.EditorWidget(), Qt::Key_F4);
    EXPECT_TRUE(hint.HandleAllocated());
    EXPECT_EQ(hint.Caption(), "Ci: <44");
    // The window is as wide as its text needs, not one character short.
    QLabel* shown = window.EditorWidget().viewport()->findChild<QLabel*>();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_GE(shown->width(), shown->sizeHint().width());
    QTest::keyRelease(&window.EditorWidget(), Qt::Key_F4);
    EXPECT_FALSE(hint.HandleAllocated());
}

TEST_F(EditorWinTest, CtrlDescribesTheFieldUnderTheMouse) {
    TfrmEditWindow& window = Open(lkMotion, {Motion({.Num = "5", .Ci = "44"})});
    TEditorExVantor& editor = window.Editor();
    CaretOn(window, 3, "44");
    int x = 0, y = 0;
    editor.GetCaretPoint(x, y);
    QWidget* viewport = window.EditorWidget().viewport();
    QTest::mouseMove(viewport, QPoint(x + 3, y + 3));
    editor.SetRowCol(0, 0);
    QTest::keyPress(&window.EditorWidget(), Qt::Key_Control, Qt::ControlModifier);
    EXPECT_TRUE(editor.HintWindow().HandleAllocated());
    EXPECT_EQ(editor.HintWindow().Caption(), Utf8ToCp932("Ci: 必殺技／無敵"));
    QTest::keyRelease(&window.EditorWidget(), Qt::Key_Control);
    EXPECT_FALSE(editor.HintWindow().HandleAllocated());
}

TEST_F(EditorWinTest, CtrlHShowsTheHintFileEntryOfTheField) {
    std::ofstream(dir / "Cheat.dat", std::ios::binary) << ":CI=Ci title\r\nCi body\r\n\\e\r\n";
    root->HintFolders = {dir};
    std::string title, body;
    root->HintViewer = [&](const std::string& t, const std::string& b) { title = t, body = b; };
    TfrmEditWindow& window = Open(lkMotion, {Motion({.Num = "5", .Ci = "44"})});
    CaretOn(window, 3, "44");
    Key(window, Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(title, "Ci title");
    EXPECT_EQ(body, "Ci body\r\n");
}

// Out of the box, with no hint file beside the program, Ctrl+H shows the entry of the hint file
// the program ships (it once answered "Cheat.datが見つかりません").
TEST_F(EditorWinTest, CtrlHShowsTheShippedHintWithoutAFileBesideTheProgram) {
    const fs::path programDir = QUILLON_PROGRAM_DIR;
    ASSERT_FALSE(FindFileNoCase(programDir, "Cheat.dat"));
    root->HintFolders = TQuillonRootWin::HintFoldersOf(programDir);
    root->HintFolders[1] = dir / "no user data"; // whatever the user running the test has
    std::string title, body;
    root->HintViewer = [&](const std::string& t, const std::string& b) { title = t, body = b; };
    TfrmEditWindow& window = Open(lkMotion, {Motion({.Num = "5", .Ci = "44"})});
    CaretOn(window, 3, "44");
    Key(window, Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(Cp932ToUtf8(title), "Ci（状態）");
    EXPECT_NE(Cp932ToUtf8(body).find("44  必殺技／無敵\r\n"), std::string::npos);
}

TEST_F(EditorWinTest, AltEnterOnToJumpsToTheFrameAndCentresAFarOne) {
    std::vector<std::string> lines{Motion({.Num = "1", .To = "120"})};
    for (int i = 0; i < 150; ++i) lines.push_back(Motion({.Num = std::to_string(10 + i)}));
    TfrmEditWindow& window = Open(lkMotion, lines);
    window.resize(600, 400);
    TEditorExVantor& editor = window.Editor();
    CaretOn(window, 3, "120");
    const int col = editor.Col();
    Key(window, Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(editor.Row(), 3 + 1 + 110);
    EXPECT_EQ(editor.Col(), col);
    EXPECT_EQ(editor.TopRow(), editor.Row() - editor.RowsPerPage() / 2);
}

TEST_F(EditorWinTest, AltEnterOnAmnNumOpensTheMotionListBeside) {
    WriteFile("MOTION.LST", {"h", "h", "h", Motion({.Num = "7"}), Motion({.Num = "30"})});
    const std::string command =
        WriteFile("COMMAND.LST", {"CmdNum--Command--Cancel--Std-AmnNum--Vx--Comment", "0 236P 10000 0 30 3 x"});
    root->FormCreate({command});
    TfrmEditWindow& window = Window(0);
    Activate(window);
    CaretOn(window, 1, "30");
    Key(window, Qt::Key_Return, Qt::AltModifier);
    ASSERT_EQ(root->WindowCount(), 2);
    EXPECT_EQ(fs::path(Window(1).FileName()).filename(), "MOTION.LST");
    EXPECT_EQ(Window(1).Editor().Row(), 4);
}

TEST_F(EditorWinTest, F6ToF8ChooseTheHitBoxWhileThePreviewShows) {
    TfrmEditWindow& window = Open(lkMotion, {Motion({.Num = "5"})});
    window.ActionShowFramePicture->trigger();
    ASSERT_TRUE(window.FramePane().isVisible());
    QTabBar* tabs = window.FramePane().TabSet;
    Key(window, Qt::Key_F7);
    EXPECT_EQ(tabs->currentIndex(), 1);
    Key(window, Qt::Key_F8);
    EXPECT_EQ(tabs->currentIndex(), 2);
    Key(window, Qt::Key_F6);
    EXPECT_EQ(tabs->currentIndex(), 0);
}

// A condition dialog that answers with Answer and remembers what it was shown.
struct TFakeCondDialog : TCondDialog {
    std::optional<TCondChoice> Answer;
    std::string Caption;
    std::optional<TCondChoice> Shown;
    std::optional<TCondChoice> Execute(const std::string& C, const std::optional<TCondChoice>& Initial) override {
        Caption = C, Shown = Initial;
        return Answer;
    }
};

TEST_F(EditorWinTest, ConditionsAreInsertedIntoAndEditedInEnemyLists) {
    TFakeCondDialog dialog;
    root->ConditionDialog = &dialog;
    TfrmEditWindow& window = Open(lkEnemy, {"100 50 236P ; x"});
    TEditorExVantor& editor = window.Editor();
    editor.SetRowCol(1, 7);
    dialog.Answer = TCondChoice{0, 1, 2, 3};
    window.ActionInsertCondition->trigger();
    EXPECT_EQ(dialog.Caption, "条件の挿入");
    EXPECT_EQ(window.Lines()[1], "100 50 E123236P ; x");
    editor.SetRowCol(1, 8);
    window.popEdit->aboutToShow();
    ASSERT_TRUE(window.ActionEditCondition->isEnabled());
    dialog.Answer = TCondChoice{1, 0, 2, 3};
    window.ActionEditCondition->trigger();
    EXPECT_EQ(dialog.Caption, "条件の編集");
    EXPECT_EQ(dialog.Shown, (TCondChoice{0, 1, 2, 3}));
    EXPECT_EQ(window.Lines()[1], "100 50 C023236P ; x");
}

TEST_F(EditorWinTest, ThePreviewSitsAboveASplitterAndKeepsTheWindowTallEnough) {
    TfrmEditWindow& window = Open(lkMotion, {Motion({.Num = "5"})});
    window.resize(648, 300);
    EXPECT_EQ(window.minimumHeight(), 236);
    window.ShowFramePicture(true);
    EXPECT_EQ(window.Splitter1->widget(0), &window.FramePane());
    EXPECT_EQ(window.Splitter1->widget(1), &window.EditorWidget());
    EXPECT_EQ(window.FramePane().height(), 244);
    EXPECT_EQ(window.minimumHeight(), 244 + 236);
    EXPECT_GE(window.height(), 244 + 236);
    window.resize(648, 200);
    EXPECT_GE(window.height(), 244 + 236);
    window.ShowFramePicture(false);
    EXPECT_EQ(window.minimumHeight(), 236);
}

} // namespace
