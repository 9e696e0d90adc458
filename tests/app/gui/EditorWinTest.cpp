// The edit window as the user meets it: its actions, menus, toolbars, status panels, keys, mouse
// and dropped files, each driven through real events or action triggers on a real window.
#include "EditorWin.h"

#include "ComCtrlsXP.h"
#include "Cp932.h"
#include "EditorExVantor.h"
#include "EditorWidget.h"
#include "EnemyCondition.h"
#include "ItemSearch.h"
#include "KeyMacro.h"
#include "ListCommandDialogs.h"
#include "ListCommands.h"
#include "ListKinds.h"
#include "MessageBox.h"
#include "MotionTestLines.h"
#include "Paths.h"
#include "QtDialogs.h"
#include "QtSettingsStore.h"
#include "ReNumDlg.h"
#include "RootWin.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
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
#include <map>
#include <set>
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
    // The mouse over Point of the editor. It goes there by way of a point beside it: a move to where
    // the cursor already stands, left there by an earlier test, reaches no widget.
    static void MouseTo(TfrmEditWindow& window, QPoint Point) {
        QWidget* viewport = window.EditorWidget().viewport();
        QTest::mouseMove(viewport, Point + QPoint(1, 1));
        QTest::mouseMove(viewport, Point);
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

// ---- Keys and commands as properties of the window, whatever its table of actions holds.

// The actions whose shortcut acts anywhere in Window: its actions and the Edit menu's bookmark
// items (the context menu's bookmark items show the same keys but act only while it is open).
std::vector<QAction*> WindowShortcutActions(const TfrmEditWindow& Window) {
    std::vector<QAction*> actions;
    for (QAction* action : Window.findChildren<QAction*>()) {
        const Qt::ShortcutContext context = action->shortcutContext();
        if (!action->shortcuts().isEmpty() && context != Qt::WidgetShortcut &&
            context != Qt::WidgetWithChildrenShortcut)
            actions.push_back(action);
    }
    return actions;
}

// The keys the window and its editor keep for themselves: the window's own editing keys, window
// switching, the quick description and the preview's hit-box tabs; the editor's moving, deleting
// and line keys alone and with Shift and Ctrl; and every character typed.
std::vector<QKeyCombination> WindowAndEditorKeys() {
    std::vector<QKeyCombination> keys = {Qt::Key_Insert,
                                         Qt::CTRL | Qt::Key_Insert,
                                         Qt::SHIFT | Qt::Key_Insert,
                                         Qt::SHIFT | Qt::Key_Delete,
                                         Qt::ALT | Qt::Key_Backspace,
                                         Qt::CTRL | Qt::Key_Tab,
                                         Qt::CTRL | Qt::SHIFT | Qt::Key_Tab,
                                         Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab,
                                         Qt::Key_F4,
                                         Qt::Key_F6,
                                         Qt::Key_F7,
                                         Qt::Key_F8};
    const Qt::Key editing[] = {Qt::Key_Left, Qt::Key_Right,  Qt::Key_Up,       Qt::Key_Down,   Qt::Key_Home,
                               Qt::Key_End,  Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Delete, Qt::Key_Backspace,
                               Qt::Key_Tab,  Qt::Key_Return, Qt::Key_Enter,    Qt::Key_Escape};
    for (Qt::Key key : editing)
        for (Qt::KeyboardModifiers mods :
             {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier),
              Qt::KeyboardModifiers(Qt::ControlModifier), Qt::ShiftModifier | Qt::ControlModifier})
            keys.emplace_back(mods, key);
    for (int key = Qt::Key_Space; key <= Qt::Key_AsciiTilde; ++key)
        for (Qt::KeyboardModifier mods : {Qt::NoModifier, Qt::ShiftModifier})
            keys.emplace_back(mods, static_cast<Qt::Key>(key));
    return keys;
}

// Each key has one owner: an action, a button's mnemonic (Alt+F opens the File menu), or the
// window and its editor. Two actions on one key would leave it to neither.
TEST_F(EditorWinTest, EveryKeyHasOneOwnerInTheWindow) {
    root->FormCreate({});
    TfrmEditWindow& window = Window(0);
    std::map<int, QStringList> owners;
    const auto claim = [&owners](const QKeySequence& Key, const QString& Owner) {
        ASSERT_EQ(Key.count(), 1) << Key.toString().toStdString();
        QStringList& list = owners[Key[0].toCombined()];
        if (!list.contains(Owner)) list << Owner;
    };
    for (QKeyCombination key : WindowAndEditorKeys()) claim(key, "the window and its editor");
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        if (const QKeySequence mnemonic = QKeySequence::mnemonic(button->text()); !mnemonic.isEmpty())
            claim(mnemonic, button->text());
    int shortcuts = 0;
    for (const QAction* action : WindowShortcutActions(window))
        for (const QKeySequence& key : action->shortcuts()) {
            claim(key, action->objectName());
            ++shortcuts;
        }
    EXPECT_GT(shortcuts, 0);
    for (const auto& [key, list] : owners)
        EXPECT_EQ(list.size(), 1) << QKeySequence(QKeyCombination::fromCombined(key)).toString().toStdString() << ": "
                                  << list.join(", ").toStdString();
}

// Every menu and button a user can open or press: the menus of the menu toolbar's buttons and the
// context menu, with their submenus, and every button's own action.
void CollectMenu(const QMenu* Menu, std::set<const QAction*>& Into) {
    for (const QAction* item : Menu->actions()) {
        Into.insert(item);
        if (item->menu()) CollectMenu(item->menu(), Into);
    }
}

std::set<const QAction*> ReachableActions(const TfrmEditWindow& Window) {
    std::set<const QAction*> reachable;
    CollectMenu(Window.popEdit, reachable);
    for (const QToolButton* button : Window.findChildren<QToolButton*>()) {
        if (button->menu()) CollectMenu(button->menu(), reachable);
        if (button->defaultAction()) reachable.insert(button->defaultAction());
    }
    return reachable;
}

// A command nobody can reach with the mouse is lost to whoever does not know its key; the status
// bar tells what each action does.
TEST_F(EditorWinTest, EveryCommandIsOnAMenuOrAButtonAndSaysWhatItDoes) {
    root->FormCreate({});
    TfrmEditWindow& window = Window(0);
    const std::set<const QAction*> reachable = ReachableActions(window);
    int commands = 0;
    for (const QAction* action : window.findChildren<QAction*>()) {
        const QString name = action->objectName();
        if (name.isEmpty()) continue; // the toolkit's own: menu titles, separators, toolbar toggles
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(reachable.contains(action));
        if (name.startsWith("Action")) {
            EXPECT_FALSE(action->statusTip().isEmpty());
        }
        ++commands;
    }
    EXPECT_GT(commands, 0);
}

// Dialogs of the list commands that are always cancelled; Asked counts the renumber dialogs.
struct TCancelledDialogs : TListCommandDialogs {
    explicit TCancelledDialogs(int& Asked) : Asked(Asked) {}
    int& Asked;
    bool AskRenumber(std::int32_t, TRenumberRequest&) override { return ++Asked, false; }
    bool EditEnvironment(const TListOptions&, int) override { return false; }
    int RunMaker(const TMakerJob&) override { return 2; }
};

// Counts the presses of Key that reach a widget (QTest presses the modifier keys apart).
struct TKeyPresses : QObject {
    explicit TKeyPresses(Qt::Key Key) : Key(Key) {}
    Qt::Key Key;
    int Count = 0;
    bool eventFilter(QObject*, QEvent* Event) override {
        Count += Event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(Event)->key() == Key;
        return false;
    }
};

// The window states the key test walks through.
enum class TScene { EmptyText, EditedMotionList, CaretOnAJumpField };

class EditorWinKeys : public EditorWinTest {
protected:
    void SetUp() override {
        root->OpenDialog = [this] { return ++Asked["open"], std::string(); };
        root->SearchDialog = [this](std::string&, std::uint8_t&, bool&) { return ++Asked["find"], false; };
        root->ReplaceDialog = [this](TSearchRequest&, bool&, bool&) { return ++Asked["replace"], false; };
        root->ItemSearchDialog = [this](TItemSearchRequest&) { return ++Asked["item search"], false; };
        root->HintViewer = [this](const std::string& Title, const std::string&) { HintTitle = Title; };
        std::ofstream(dir / "Cheat.dat", std::ios::binary) << ":TO=To title\r\nTo body\r\n\\e\r\n";
        root->HintFolders = {dir};
        root->CommandDialogs = [this](QWidget*) { return std::make_unique<TCancelledDialogs>(Asked["renumber"]); };
    }
    // A fresh window in Scene.
    TfrmEditWindow& Arrange(TScene Scene) {
        if (Scene == TScene::EmptyText) return Open(lkText, {});
        if (Scene == TScene::CaretOnAJumpField) {
            TfrmEditWindow& window = Open(lkMotion, {Motion({.Num = "1", .To = "12"}), Motion({.Num = "12"})});
            CaretOn(window, 3, "12");
            return window;
        }
        // Named and edited, with a macro recorded, something to undo and to redo, the middle one of
        // three data lines selected, two lines on the clipboard, and a find and an item search to
        // repeat.
        TfrmEditWindow& window = Open(lkMotion, {Motion({.Num = "12"}), Motion({.Num = "13"}), Motion({.Num = "12"})});
        window.SetFileName((dir / "MOTION.LST").string());
        window.ActionMacroOnOff->trigger();
        QTest::keyClicks(&window.EditorWidget(), "x");
        window.ActionMacroOnOff->trigger();
        window.Editor().SetRowCol(5, 0);
        QTest::keyClicks(&window.EditorWidget(), "y");
        window.Editor().Undo();
        window.Editor().SetRowCol(4, 0);
        Key(window, Qt::Key_End, Qt::ShiftModifier);
        QApplication::clipboard()->setText("p\r\nq");
        root->SearchRequest().FindText = "1";
        root->ItemSearchRequest() = {"12", 50, 0, idDown};
        return window;
    }
    std::map<std::string, int> Asked; // the dialogs asked, by what they ask for
    std::string HintTitle;            // the title the hint viewer last showed
    static void Close(TfrmEditWindow& Window) {
        Window.Release();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Whether the menus would offer Action now: each menu holding it is opened and closed again.
    static bool Offered(TfrmEditWindow& Window, const QAction* Action) {
        bool offered = Action->isEnabled();
        for (const QToolButton* button : Window.ToolBar1->findChildren<QToolButton*>()) {
            QMenu* menu = button->menu();
            if (!menu || !Holds(menu, Action)) continue;
            menu->popup({0, 0});
            offered = Action->isEnabled();
            menu->hide();
        }
        Activate(Window);
        return offered && Action->isVisible();
    }
    struct TOutcome {
        QStringList Fired; // the actions that ran
        int Presses = 0;   // the key presses that reached the editor
    };
    static TOutcome Press(TfrmEditWindow& Window, const QKeySequence& Key) {
        TOutcome outcome;
        QObject connections;
        for (QAction* action : Window.findChildren<QAction*>())
            QObject::connect(action, &QAction::triggered, &connections,
                             [&outcome, action] { outcome.Fired << action->objectName(); });
        TKeyPresses presses(Key[0].key());
        Window.EditorWidget().installEventFilter(&presses);
        QTest::keyClick(&Window.EditorWidget(), Key[0].key(), Key[0].keyboardModifiers());
        Window.EditorWidget().removeEventFilter(&presses);
        outcome.Presses = presses.Count;
        return outcome;
    }
};

// A key runs its action exactly when a menu opened at that moment would offer the action; otherwise
// the key goes on to the editor, as it would past a disabled action.
TEST_F(EditorWinKeys, EachShortcutRunsItsActionExactlyWhenAMenuWouldOfferIt) {
    std::map<QString, int> ran, refused;
    std::set<QString> hidden;
    for (TScene scene : {TScene::EmptyText, TScene::EditedMotionList, TScene::CaretOnAJumpField}) {
        std::vector<std::pair<QString, QKeySequence>> keys;
        TfrmEditWindow& sample = Arrange(scene);
        for (const QAction* action : WindowShortcutActions(sample))
            for (const QKeySequence& key : action->shortcuts()) keys.emplace_back(action->objectName(), key);
        Close(sample);
        for (const auto& [name, key] : keys) {
            SCOPED_TRACE(name.toStdString() + " " + key.toString().toStdString() + " in scene " +
                         std::to_string(static_cast<int>(scene)));
            TfrmEditWindow& window = Arrange(scene);
            const QAction* action = window.findChild<QAction*>(name);
            ASSERT_NE(action, nullptr);
            const bool offered = Offered(window, action);
            const TOutcome outcome = Press(window, key);
            EXPECT_EQ(outcome.Fired, offered ? QStringList{name} : QStringList{});
            EXPECT_EQ(outcome.Presses, offered ? 0 : 1);
            ++(offered ? ran : refused)[name];
            if (!action->isVisible()) hidden.insert(name);
            Close(window);
        }
    }
    // Every shown action ran by its key in some scene, and some keys went on to the editor.
    for (const auto& [name, count] : refused)
        if (!hidden.contains(name)) {
            EXPECT_GT(ran[name], 0) << name.toStdString();
        }
    EXPECT_FALSE(refused.empty());
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
    // The double click leaves the application believing the button is still down, and every later
    // mouse move would drag in some other test's editor: the button comes up as after a real one.
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(x + 2, y + 2));
    EXPECT_EQ(QGuiApplication::mouseButtons(), Qt::NoButton);
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

// Alt with a menu's letter opens that menu, also when the window is so narrow (398 wide, after
// arranging) that its button is folded behind the toolbar's ">>"; the next key chooses in the menu
// and never reaches the editor (Alt+W, V once typed "v" into the list).
TEST_F(EditorWinTest, AltAndAMenuLetterOpensTheMenuHoweverNarrowTheWindow) {
    TfrmEditWindow& window = Open(lkMotion, {Motion({.Num = "1"})});
    const std::vector<std::string> lines = window.Lines();
    const auto button = [&window](const char* caption) {
        for (auto* b : window.ToolBar1->findChildren<TXPToolBarMenuButton*>())
            if (b->text() == QString::fromUtf8(caption)) return b;
        return static_cast<TXPToolBarMenuButton*>(nullptr);
    };
    struct TCase {
        int Width;
        Qt::Key Letter;
        const char* Caption;
        bool Folded;
    };
    for (const TCase c :
         {TCase{398, Qt::Key_W, "ウィンドウ(&W)", true}, TCase{1200, Qt::Key_F, "ファイル(&F)", false}}) {
        SCOPED_TRACE(c.Width);
        window.resize(c.Width, 480);
        Activate(window);
        QCoreApplication::processEvents();
        ASSERT_NE(button(c.Caption), nullptr);
        EXPECT_EQ(button(c.Caption)->isVisible(), !c.Folded);
        Key(window, c.Letter, Qt::AltModifier);
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(popup, button(c.Caption)->menu());
        popup->close();
    }
    bool arranged = false;
    QObject::connect(window.ActionWinArangeVert, &QAction::triggered, [&arranged] { arranged = true; });
    window.resize(398, 480);
    QCoreApplication::processEvents();
    Key(window, Qt::Key_W, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_V);
    EXPECT_TRUE(arranged);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(window.Lines(), lines);
    EXPECT_FALSE(window.Modified());
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
    // On the window outside the editor the same; files already open only come to the front, and a
    // name that is not UTF-8 (日 in CP932) keeps its bytes (it once became U+FFFD and failed to open).
    const std::string cp932 = WriteFile("\x93\xFA.lst", lines);
    urls << QUrl::fromLocalFile(QString::fromStdString(WriteFile("MOTION3.LST", lines)))
         << QUrl(QString::fromStdString("file://" + (dir / "%93%FA.lst").string()));
    data.setUrls(urls);
    QDragEnterEvent windowEnter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window.StatusBar1, &windowEnter);
    EXPECT_TRUE(windowEnter.isAccepted());
    QDropEvent windowDrop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window.StatusBar1, &windowDrop);
    EXPECT_TRUE(messages.Shown.empty());
    ASSERT_EQ(root->WindowCount(), 5);
    EXPECT_EQ(Window(4).FileName(), cp932);
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
    MouseTo(window, QPoint(x + 3, y + 3));
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
    // A code after another in one field: the token at the caret is the one edited, its rest kept.
    editor.Lines().Put(1, "     10   100  E100[5K@]e123#[6P@] ;comment");
    editor.SetRowCol(1, 26);
    window.popEdit->aboutToShow();
    ASSERT_TRUE(window.ActionEditCondition->isEnabled());
    window.ActionEditCondition->trigger();
    EXPECT_EQ(dialog.Shown, (TCondChoice{0, 1, 2, 3}));
    EXPECT_EQ(window.Lines()[1], "     10   100  E100[5K@]C023#[6P@] ;comment");
    // With a selection only a Quessa source offers the edit.
    editor.SetSelStart(editor.SelStart() - 3);
    editor.SetSelLength(2);
    window.popEdit->aboutToShow();
    EXPECT_FALSE(window.ActionEditCondition->isEnabled());
}

TEST_F(EditorWinTest, ConditionsAreEditedInQuessaSourcesAlsoWithASelection) {
    TFakeCondDialog dialog;
    root->ConditionDialog = &dialog;
    TfrmEditWindow& window = Open(lkQes, {"10 100 C311[K@]"});
    TEditorExVantor& editor = window.Editor();
    editor.SetRowCol(0, 7);
    Key(window, Qt::Key_Right, Qt::ShiftModifier);
    Key(window, Qt::Key_Right, Qt::ShiftModifier); // "C3" selected, the caret inside the code
    ASSERT_TRUE(editor.IsSelected());
    window.popEdit->aboutToShow();
    ASSERT_TRUE(window.ActionEditCondition->isEnabled());
    dialog.Answer = TCondChoice{0, 4, 9, 0};
    window.ActionEditCondition->trigger();
    EXPECT_EQ(dialog.Shown, (TCondChoice{1, 3, 1, 1}));
    EXPECT_EQ(window.Lines()[0], "10 100 E490[K@]");
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

// The keys users know, each doing what its command does: a key moved to another command, or a
// command wired to another's handler, shows here. (Ctrl+L stays with the hidden picture list,
// which does nothing; the test above sees that its key never acts.)
TEST_F(EditorWinKeys, TheKnownKeysDoTheirCommands) {
    using TCheck = std::function<bool(TfrmEditWindow&, const std::vector<std::string>& Before)>;
    struct TRow {
        QString Key;
        TScene Scene;
        TCheck Done;
        std::function<void(TfrmEditWindow&)> Prepare = [](TfrmEditWindow&) {};
    };
    const TScene edited = TScene::EditedMotionList, onJump = TScene::CaretOnAJumpField;
    const auto asked = [this](const char* Dialog) {
        return [this, Dialog](TfrmEditWindow&, const std::vector<std::string>&) { return Asked[Dialog] == 1; };
    };
    const auto clipboard = [] { return QApplication::clipboard()->text().toStdString(); };
    const auto foundOnRow = [](int Row) { // the text found, on Row
        return [Row](TfrmEditWindow& W, const std::vector<std::string>&) {
            return W.Editor().SelText() == "1" && W.Editor().Row() == Row;
        };
    };
    const auto onRow = [](int Row) {
        return [Row](TfrmEditWindow& W, const std::vector<std::string>&) { return W.Editor().Row() == Row; };
    };
    std::vector<TRow> rows = {
        {"Ctrl+O", edited, asked("open")},
        {"Ctrl+S", edited,
         [this](TfrmEditWindow& W, auto&) { return !W.Modified() && fs::exists(dir / "MOTION.LST"); }},
        {"Ctrl+Z", edited, [](TfrmEditWindow& W, auto& Before) { return W.Lines()[0] != Before[0]; }},
        {"Ctrl+Y", edited, [](TfrmEditWindow& W, auto&) { return W.Lines()[5].starts_with("y"); }},
        {"Ctrl+X", edited,
         [&](TfrmEditWindow& W, auto& Before) { return W.Lines()[4].empty() && clipboard() == Before[4]; }},
        {"Ctrl+C", edited,
         [&](TfrmEditWindow& W, auto& Before) { return W.Lines() == Before && clipboard() == Before[4]; }},
        {"Ctrl+V", edited,
         [](TfrmEditWindow& W, auto& Before) { return W.Lines().size() == Before.size() + 1 && W.Lines()[4] == "p"; }},
        {"Ctrl+B", edited,
         [](TfrmEditWindow& W, auto& Before) {
             return W.Lines().size() == Before.size() && W.Lines()[4] == "p" && W.Lines()[5] == "q" + Before[5];
         }},
        {"Ctrl+K", edited, [](TfrmEditWindow& W, auto&) { return W.Editor().SelectionMode() == 1; }},
        {"Ctrl+A", edited,
         [](TfrmEditWindow& W, auto& Before) {
             const std::string all = W.Editor().SelText();
             return all.find(Before[3]) != std::string::npos && all.find(Before[5]) != std::string::npos;
         }},
        {"Ctrl+F", edited, asked("find")},
        {"Shift+F3", edited, foundOnRow(4)},
        {"F3", edited, foundOnRow(5)},
        {"Ctrl+R", edited, asked("replace")},
        {"Ctrl+J", edited, asked("item search")},
        {"Shift+Ctrl+F3", edited, onRow(3)},
        {"Ctrl+F3", edited, onRow(5)},
        {"Ctrl+N", edited, asked("renumber")},
        {"Shift+F1", edited, [](TfrmEditWindow& W, auto&) { return W.PanelText(2) == "記録中"; }},
        {"Shift+F2", edited, [](TfrmEditWindow& W, auto&) { return W.Lines()[4] == "x"; }},
        {"Ctrl+H", onJump, [this](TfrmEditWindow&, auto&) { return HintTitle == "To title"; }},
        {"Alt+Return", onJump, onRow(4)},
        {"Alt+Enter", onJump, onRow(4)},
        {"F5", edited, [](TfrmEditWindow& W, auto&) { return W.FramePane().isVisible(); }},
    };
    for (int mark = 0; mark <= 9; ++mark) {
        const QString digit = QString::number(mark);
        rows.push_back({"Shift+Ctrl+" + digit, edited,
                        [mark](TfrmEditWindow& W, auto&) { return W.Editor().GetRowMarks(4) == 1u << mark; }});
        rows.push_back(
            {"Ctrl+" + digit, edited, onRow(0), [mark](TfrmEditWindow& W) { W.Editor().SetRowMark(0, mark); }});
    }
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Key.toStdString());
        TfrmEditWindow& window = Arrange(row.Scene);
        // Ctrl describes the field under the mouse: the mouse rests on the heading, not wherever
        // an earlier test left it.
        MouseTo(window, QPoint(1, 1));
        row.Prepare(window);
        Asked.clear();
        const std::vector<std::string> before = window.Lines();
        const QKeySequence key(row.Key);
        QTest::keyClick(&window.EditorWidget(), key[0].key(), key[0].keyboardModifiers());
        std::string lines;
        for (const std::string& line : window.Lines()) lines += "\n" + line;
        EXPECT_TRUE(row.Done(window, before)) << "row " << window.Editor().Row() << " of" << lines;
        Close(window);
    }
}

} // namespace
