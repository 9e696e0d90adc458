#include "RootWin.h"

#include "CloseRequests.h"
#include "ComCtrlsXP.h"
#include "Cp932.h"
#include "EditorExVantor.h"
#include "EditorWidget.h"
#include "EditorWin.h"
#include "KindProperties.h"
#include "ListCommands.h"
#include "ListKinds.h"
#include "MessageBox.h"
#include "OrvColourer.h"
#include "Paths.h"
#include "QtMessageService.h"
#include "QtSettingsStore.h"
#include "ScreenPixels.h"
#include "SingleInstance.h"
#include "VEdt.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

const std::string kComment = "; 立ちモーション";

class RootWinTest : public ::testing::Test {
protected:
    fs::path dir = MakeDir();
    TScriptedMessages messages;
    TMessageServiceScope scope{messages};
    std::unique_ptr<TQtSettingsStore> store = std::make_unique<TQtSettingsStore>(QStr((dir / "quillon.ini").string()));
    std::unique_ptr<TQuillonRootWin> root = MakeRoot();
    std::string openName, saveName; // what the file dialogs answer
    int lastClosed = 0;

    static fs::path MakeDir() {
        std::string tmpl = (fs::temp_directory_path() / "quillon-root-XXXXXX").string();
        return AbsolutePath(::mkdtemp(tmpl.data()));
    }
    std::unique_ptr<TQuillonRootWin> MakeRoot() {
        auto result = std::make_unique<TQuillonRootWin>(*store);
        result->OpenDialog = [this] { return openName; };
        result->SaveDialog = [this](const std::string&) { return saveName; };
        result->OnLastWindowClosed = [this] { ++lastClosed; };
        return result;
    }
    void TearDown() override {
        root.reset();
        fs::remove_all(dir);
    }
    static QString QStr(const std::string& s) { return QString::fromStdString(s); }
    // A motion list in Shift-JIS with CR LF line ends.
    std::string WriteMotion(const std::string& name) {
        std::vector<std::string> lines;
        NewMotionList(lines);
        lines.push_back(Utf8ToCp932(kComment));
        std::ofstream(dir / name, std::ios::binary) << JoinListText(lines);
        return (dir / name).string();
    }
    static std::string ReadBytes(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    TfrmEditWindow& Window(int index) { return *root->WindowAt(index); }
    int KindOf(int index) { return root->KindOf(Window(index).Editor()); }
    // Types Text at the start of the last row.
    void TypeOnLastRow(TfrmEditWindow& window, const char* text) {
        TEditorExVantor& editor = window.Editor();
        editor.SetRowCol(editor.Lines().Count() - 1, 0);
        QTest::keyClicks(&window.EditorWidget(), QString::fromUtf8(text));
    }
    static void ProcessDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

TEST_F(RootWinTest, OpensAMotionListWithItsKindAndColourer) {
    const std::string name = WriteMotion("Motion1.lst");
    root->FormCreate({name});
    ASSERT_EQ(root->WindowCount(), 1);
    TfrmEditWindow& window = Window(0);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.Editor().Colourer(), root->Colourer(lkMotion));
    EXPECT_EQ(window.Lines().back(), Utf8ToCp932(kComment));
    EXPECT_EQ(window.FileName(), name);
    EXPECT_EQ(window.windowTitle(), QStr(name + " - Quillon"));
    EXPECT_TRUE(window.ActionShowFramePicture->isEnabled());
    EXPECT_FALSE(window.ActionSave->isEnabled());
    EXPECT_TRUE(window.ActionFormat->isEnabled());
    EXPECT_EQ(root->History().Items(), std::vector<std::string>{name});
    // The first kind applied stores the built-in properties as the common and the kind's set.
    EXPECT_TRUE(store->ValueExists("EditorProperties", "Common"));
    EXPECT_TRUE(store->ValueExists("EditorProperties", "Motion"));
}

TEST_F(RootWinTest, ACp932FileNameKeepsItsBytesAndShowsDecodedInTheTitle) {
    const std::string name = WriteMotion("\x93\xFA.lst"); // 日 in CP932
    root->FormCreate({name});
    ASSERT_EQ(root->WindowCount(), 1);
    EXPECT_EQ(Window(0).FileName(), name);
    EXPECT_EQ(Window(0).windowTitle(), QStr(dir.string() + "/日.lst - Quillon"));
    EXPECT_EQ(root->History().Items(), std::vector<std::string>{name});
}

TEST_F(RootWinTest, EditAndSaveWritesTheBytesAndClearsTheMarks) {
    const std::string name = WriteMotion("Motion1.lst");
    root->FormCreate({name});
    TfrmEditWindow& window = Window(0);
    TypeOnLastRow(window, "x");
    EXPECT_TRUE(window.Modified());
    EXPECT_EQ(window.windowTitle(), QStr(name + "(更新) - Quillon"));
    EXPECT_TRUE(window.ActionSave->isEnabled());
    window.ActionSave->trigger();
    std::vector<std::string> expected;
    NewMotionList(expected);
    expected.push_back("x" + Utf8ToCp932(kComment));
    EXPECT_EQ(ReadBytes(name), JoinListText(expected));
    EXPECT_FALSE(window.Modified());
    EXPECT_FALSE(window.Editor().Modified());
    EXPECT_FALSE(window.ActionSave->isEnabled());
    EXPECT_EQ(window.windowTitle(), QStr(name + " - Quillon"));
}

TEST_F(RootWinTest, CloseAsksToSaveAModifiedList) {
    struct TCase {
        TMsgResult Answer;
        bool Closes, Saved;
    };
    for (const TCase& c : {TCase{TMsgResult::Cancel, false, false}, TCase{TMsgResult::No, true, false},
                           TCase{TMsgResult::Yes, true, true}}) {
        SCOPED_TRACE(static_cast<int>(c.Answer));
        const std::string name = WriteMotion("Motion1.lst");
        const std::string before = ReadBytes(name);
        messages.Shown.clear();
        root->FormCreate({name});
        TfrmEditWindow& window = Window(root->WindowCount() - 1);
        TypeOnLastRow(window, "y");
        messages.Answer(c.Answer);
        EXPECT_EQ(window.close(), c.Closes);
        ProcessDeletes();
        ASSERT_EQ(messages.Shown.size(), 1u);
        EXPECT_EQ(messages.Shown[0].Title, "確認");
        EXPECT_EQ(messages.Shown[0].Text, "データが変更されています。\r\n保存しますか？");
        EXPECT_EQ(messages.Shown[0].Buttons, TMsgButtons::YesNoCancel);
        EXPECT_EQ(ReadBytes(name) != before, c.Saved);
        if (!c.Closes) {
            window.Editor().SetModified(false);
            window.SetModified(false);
            window.close();
            ProcessDeletes();
        }
        EXPECT_EQ(root->WindowCount(), 0);
    }
    EXPECT_EQ(lastClosed, 3);
}

// The root's close query closes every window or none: a refusal by the second window leaves the
// first open as well, though its question was answered.
TEST_F(RootWinTest, TheCloseQueryClosesAllWindowsOrNone) {
    const std::string first = WriteMotion("Motion1.lst"), second = WriteMotion("Motion2.lst");
    const std::string before = ReadBytes(first);
    root->FormCreate({first});
    Window(0).OpenFileByName(second);
    ASSERT_EQ(root->WindowCount(), 2);
    TypeOnLastRow(Window(0), "x");
    TypeOnLastRow(Window(1), "y");
    messages.Answer(TMsgResult::No);
    messages.Answer(TMsgResult::Cancel);
    EXPECT_FALSE(root->FormCloseQuery());
    ProcessDeletes();
    EXPECT_EQ(messages.Shown.size(), 2u);
    EXPECT_EQ(root->WindowCount(), 2);
    EXPECT_TRUE(Window(0).Modified());
    messages.Answer(TMsgResult::No);
    messages.Answer(TMsgResult::No);
    EXPECT_TRUE(root->FormCloseQuery());
    ProcessDeletes();
    EXPECT_EQ(messages.Shown.size(), 4u) << "each window asked once";
    EXPECT_EQ(root->WindowCount(), 0);
    EXPECT_EQ(lastClosed, 1);
    EXPECT_EQ(ReadBytes(first), before);
}

// A shutdown or `kill` (SIGTERM) and a hang-up (SIGHUP) ask as closing the windows does: the
// modified list asks its save question; refused, everything stays as it is; agreed, the list is
// saved, the windows close, the program ends and the settings are written.
// Boxes on screen, as the program shows them: each is answered through its own button once it is
// up, remembering the window that was active just before and the window it stands over.
struct TAnsweredBoxes : TMessageService {
    TQtMessageService Screen;
    std::vector<QWidget*> ActiveBefore, Owners;
    std::vector<bool> OwnersMinimised;
    std::vector<std::string> Texts;
    TMsgResult Show(const std::string& text, const std::string& title, TMsgIcon icon, TMsgButtons buttons) override {
        ActiveBefore.push_back(QApplication::activeWindow());
        Texts.push_back(text);
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            Owners.push_back(box->parentWidget() ? box->parentWidget()->window() : nullptr);
            OwnersMinimised.push_back(Owners.back() && Owners.back()->isMinimized());
            box->button(QMessageBox::No)->click();
        });
        return Screen.Show(text, title, icon, buttons);
    }
};

// When the program is asked to close (the session ends, SIGTERM), each question about a modified
// list stands over that list's window, which comes to the front and is active first: two identical
// questions once came over a third window, the second list's window left minimised.
TEST_F(RootWinTest, EachCloseQuestionStandsOverItsOwnActiveWindow) {
    TAnsweredBoxes boxes;
    TMessageServiceScope onScreen(boxes);
    root->FormCreate({WriteMotion("Motion1.lst")});
    Window(0).OpenFileByName(WriteMotion("Motion2.lst"));
    Window(0).ActionNew(lkText);
    ASSERT_EQ(root->WindowCount(), 3);
    TypeOnLastRow(Window(0), "x");
    TypeOnLastRow(Window(1), "y");
    const std::vector<QWidget*> asked{&Window(0), &Window(1)};
    Window(1).showMinimized();
    QApplication::setActiveWindow(&Window(2));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window(2)));
    EXPECT_TRUE(root->FormCloseQuery());
    ProcessDeletes();
    EXPECT_EQ(root->WindowCount(), 0);
    EXPECT_EQ(boxes.Texts, std::vector<std::string>(2, "データが変更されています。\r\n保存しますか？"));
    EXPECT_EQ(boxes.Owners, asked);
    EXPECT_EQ(boxes.ActiveBefore, asked);
    EXPECT_EQ(boxes.OwnersMinimised, std::vector<bool>(2, false));
}

TEST_F(RootWinTest, TerminationSignalsGoThroughTheCloseQuery) {
    const std::string name = WriteMotion("Motion1.lst");
    const std::string before = ReadBytes(name);
    root->FormCreate({name});
    TypeOnLastRow(Window(0), "x");
    // As the program starts: SIGHUP as usual (a start under nohup keeps ignoring it, see below).
    struct sigaction usual = {};
    struct sigaction formerHup = {};
    usual.sa_handler = SIG_DFL;
    ::sigaction(SIGHUP, &usual, &formerHup);
    std::optional<TCloseRequests> requests(std::in_place);
    requests->OnCloseQuery = [this] { return root->FormCloseQuery(); };
    messages.Answer(TMsgResult::Cancel);
    ASSERT_EQ(::kill(::getpid(), SIGHUP), 0);
    ASSERT_TRUE(QTest::qWaitFor([this] { return messages.Shown.size() == 1; }, 5000));
    ProcessDeletes();
    EXPECT_EQ(root->WindowCount(), 1);
    EXPECT_EQ(lastClosed, 0);
    EXPECT_EQ(ReadBytes(name), before);

    messages.Answer(TMsgResult::Yes);
    ASSERT_EQ(::kill(::getpid(), SIGTERM), 0);
    ASSERT_TRUE(QTest::qWaitFor(
        [this] {
            ProcessDeletes();
            return lastClosed == 1;
        },
        5000));
    ASSERT_EQ(messages.Shown.size(), 2u);
    EXPECT_EQ(messages.Shown[1].Text, "データが変更されています。\r\n保存しますか？");
    EXPECT_NE(ReadBytes(name), before);
    root.reset();
    TRecentFiles expected;
    expected.Add(name);
    EXPECT_EQ(store->ReadString("Options", "History", ""), expected.CommaText());

    // A signal ignored from the start stays ignored; the handlers go with the object.
    requests.reset();
    struct sigaction now = {};
    usual.sa_handler = SIG_IGN;
    ::sigaction(SIGHUP, &usual, nullptr);
    requests.emplace();
    ::sigaction(SIGHUP, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_IGN);
    requests.reset();
    ::sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
    ::sigaction(SIGHUP, &formerHup, nullptr);
}

TEST_F(RootWinTest, AnUnnamedListAsksForANameWhenSavedOnClose) {
    root->FormCreate({});
    TypeOnLastRow(Window(0), "z");
    messages.Answer(TMsgResult::Yes);
    EXPECT_FALSE(Window(0).close()); // the save dialog was cancelled
    saveName = (dir / "notes.txt").string();
    messages.Answer(TMsgResult::Yes);
    EXPECT_TRUE(Window(0).close());
    EXPECT_EQ(ReadBytes(saveName), "z\r\n");
}

TEST_F(RootWinTest, NewListsTakeTheirTemplateAndKind) {
    // An unnamed command or voice list reads as its Vantor kind until a name tells otherwise.
    const int expected[] = {lkMotion, lkZCommand, lkZCommand, lkZVoice, lkZVoice, lkEnemy, lkQes, lkBmp};
    root->FormCreate({});
    for (int kind = lkMotion; kind < kListKindCount; ++kind) {
        Window(0).ActionNew(kind);
        ASSERT_EQ(root->WindowCount(), kind + 1);
        EXPECT_EQ(KindOf(kind), expected[kind - lkMotion]);
        EXPECT_TRUE(Window(kind).FileName().empty());
        EXPECT_EQ(Window(kind).windowTitle(), QStringLiteral("(無題) - Quillon"));
    }
    Window(0).ActionNew(lkText);
    EXPECT_EQ(KindOf(kListKindCount), lkText);
}

// Every kind's new-list action is on the new-list menu under the kind's title, and opens a list of
// the kind's template in a window of its own.
TEST_F(RootWinTest, EveryKindHasItsNewListActionOnTheNewMenu) {
    root->FormCreate({});
    const QList<QAction*> actions = Window(0).popNew->actions();
    EXPECT_EQ(actions.size(), kListKindCount);
    for (int kind = 0; kind < kListKindCount; ++kind) {
        const TListKindInfo& info = ListKindInfo(kind);
        const auto found = std::ranges::find_if(
            actions, [&](QAction* action) { return action->objectName().toStdString() == info.NewActionName; });
        ASSERT_NE(found, actions.end()) << kind;
        EXPECT_TRUE((*found)->text().startsWith(QString::fromUtf8(info.Title.data(), info.Title.size()))) << kind;
        const int count = root->WindowCount();
        (*found)->trigger();
        ASSERT_EQ(root->WindowCount(), count + 1) << kind;
        std::vector<std::string> lines;
        if (info.NewList) info.NewList(lines);
        EXPECT_EQ(Window(count).Lines(), lines) << kind;
    }
}

TEST_F(RootWinTest, SavingTakesTheKindTheNameTells) {
    root->FormCreate({});
    Window(0).ActionNew(lkZCommand);
    TfrmEditWindow& window = Window(1);
    ASSERT_EQ(KindOf(1), lkZCommand);
    saveName = (dir / "COMMAND1.LST").string();
    ASSERT_TRUE(window.ActionSaveAsExecute());
    EXPECT_EQ(KindOf(1), lkCommand);
    EXPECT_TRUE(store->ValueExists("EditorProperties", "Command"));
    EXPECT_EQ(window.FileName(), saveName);
    EXPECT_EQ(root->History().Items().front(), saveName);
    saveName = (dir / "ZCOMMAND1.LST").string();
    ASSERT_TRUE(window.ActionSaveAsExecute());
    EXPECT_EQ(KindOf(1), lkZCommand);
}

TEST_F(RootWinTest, AMotionListSavedAsANameWithoutExtensionIsWrittenAsALst) {
    root = std::make_unique<TQuillonRootWin>(*store); // with the program's own file dialogs
    const std::string name = WriteMotion("Motion1.lst");
    root->FormCreate({name});
    ASSERT_EQ(KindOf(0), lkMotion);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(QStringLiteral("foo"));
        static_cast<QDialog*>(dialog)->accept();
    });
    ASSERT_TRUE(Window(0).ActionSaveAsExecute());
    const std::string saved = (dir / "foo.lst").string();
    EXPECT_EQ(Window(0).FileName(), saved);
    EXPECT_EQ(ReadBytes(saved), ReadBytes(name));
    EXPECT_FALSE(fs::exists(dir / "foo"));
    EXPECT_EQ(KindOf(0), lkMotion);
}

TEST_F(RootWinTest, OpeningAShownFileBringsItsWindowForward) {
    const std::string name = WriteMotion("Motion1.lst");
    root->FormCreate({name});
    Window(0).ActionNew(lkVoice);
    openName = (dir / "." / "Motion1.lst").string();
    Window(1).ActionOpenExecute();
    EXPECT_EQ(root->WindowCount(), 2);
    Window(1).OpenFileByName(name);
    EXPECT_EQ(root->WindowCount(), 2);
    THandOverBuffer buffer;
    JoinParams({name}, buffer);
    root->WMCopyData({buffer.data(), buffer.size()});
    EXPECT_EQ(root->WindowCount(), 2);
    EXPECT_EQ(root->History().Items(), std::vector<std::string>{name});
}

// A second start hands over a name of 400 bytes whole; a FIFO named the same way is refused at once.
TEST_F(RootWinTest, AHandedOverLongNameOpensAndAFifoIsRefused) {
    fs::path folder = dir;
    for (char c : {'a', 'b', 'c'}) folder /= std::string(130, c);
    fs::create_directories(folder);
    const std::string name = WriteMotion(fs::relative(folder / "Motion1.lst", dir).string());
    ASSERT_GT(name.size(), 400u);
    root->FormCreate({});
    root->WMCopyData(HandOverMessage({name}));
    const int windows = root->WindowCount();
    ASSERT_GE(windows, 1);
    EXPECT_EQ(Window(windows - 1).FileName(), name);
    EXPECT_EQ(KindOf(windows - 1), lkMotion);

    const std::string fifo = (dir / "fifo.lst").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    root->WMCopyData(HandOverMessage({fifo}));
    EXPECT_EQ(root->WindowCount(), windows);
    ASSERT_FALSE(messages.Shown.empty());
    EXPECT_EQ(messages.Shown.back().Text, "ファイルを開けませんでした\n" + fifo + "\n通常のファイルではありません");
}

// Runs the program as a second start in Folder with Argument (its bytes as they are: a QString
// could not carry a CP932 name), its per-user socket in Runtime, while this thread's event loop
// answers; gives its exit status, or -1 when it did not end in time (it is then killed).
int RunSecondStart(const fs::path& Folder, const std::string& Argument, const std::string& Runtime) {
    std::vector<std::string> env{"XDG_RUNTIME_DIR=" + Runtime, "QT_QPA_PLATFORM=offscreen"};
    for (char** e = environ; *e; ++e)
        if (!std::string_view(*e).starts_with("XDG_RUNTIME_DIR=")) env.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string program = QUILLON_PROGRAM_DIR "/quillon", argument = Argument;
    char* argv[] = {program.data(), argument.data(), nullptr};
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addchdir_np(&actions, Folder.c_str());
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
    ::posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = -1;
    if (QTest::qWaitFor([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }, 30000))
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return -1;
}

// The program started a second time with a relative name holding "|" hands that name over whole:
// the running instance opens "a|b.lst", not "a" (whose window a later save would have written into).
TEST_F(RootWinTest, ASecondStartHandsOverANameWithABarWhole) {
    WriteMotion("a");
    const std::string name = WriteMotion("a|b.lst");
    const std::string cp932 = WriteMotion("\x83\x7C|\x93\xFA.lst"); // ポ|日: a bar after a CP932 "|" trail byte
    const QString runtime = QStr((dir / "runtime").string());
    const QString folder = runtime + "/quillon-" + QString::number(::geteuid());
    ASSERT_TRUE(TSingleInstance::MakePrivateFolder(runtime) && TSingleInstance::MakePrivateFolder(folder));
    TSingleInstance running(folder + "/QuillonMutex");
    running.MessageSize = [](std::span<const char> head) {
        return static_cast<qsizetype>(HandOverMessageSize({head.data(), head.size()}));
    };
    running.OnMessage = [this](std::span<const char> data) { root->WMCopyData({data.data(), data.size()}); };
    ASSERT_TRUE(running.Start(HandOverMessage({})));
    root->FormCreate({});
    for (const std::string& handed : {name, cp932}) {
        EXPECT_EQ(RunSecondStart(dir, fs::path(handed).filename().string(), runtime.toStdString()), 0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return root->WindowForFile(handed) != nullptr; }, 5000)) << handed;
        EXPECT_EQ(root->WindowForFile((dir / "a").string()), nullptr);
    }
    EXPECT_TRUE(messages.Shown.empty());
}

// A bitmap list handed over after the settings window was opened and cancelled shows at once in
// its colours: the screen holds what the editor paints, its text stands out from the background,
// and the file name and offsets show in the kind's colours, with no caret move.
TEST_F(RootWinTest, AHandedOverBitmapListIsPaintedInItsColoursAtOnce) {
    int cancelled = 0;
    auto openAndCancel = [&cancelled](TEditorExProp& prop, TColourer* colourer) {
        TVEditWin form;
        EXPECT_TRUE(form.Setup(prop, colourer, nullptr));
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        form.Button_Cancel->click();
        cancelled += form.result() == QDialog::Rejected;
        return form.result() == QDialog::Accepted;
    };
    root->PropertyEditor.EditEditorProperties = [&](TEditorExProp& prop) { return openAndCancel(prop, nullptr); };
    root->PropertyEditor.EditEditorAndColourer = [&](TEditorExProp& prop, TOrvColourer& colourer) {
        return openAndCancel(prop, &colourer);
    };
    const std::string list = Utf8ToCp932("10 CHARA.BMP\r\n10:-8:16 a b.bmp\r\n12:1:2:3 x.bmp\r\n");
    for (const char* first : {"", "Bmp1.lst"}) {
        SCOPED_TRACE(first);
        std::vector<std::string> params;
        if (*first) {
            std::ofstream(dir / first, std::ios::binary) << list;
            params.push_back((dir / first).string());
        }
        root->FormCreate(params);
        TfrmEditWindow& shown = Window(root->WindowCount() - 1);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&shown));
        shown.ActionEditProp->trigger();
        ASSERT_EQ(cancelled, *first ? 2 : 1);
        const std::string name = (dir / (*first ? "Bmp3.lst" : "Bmp2.lst")).string();
        std::ofstream(name, std::ios::binary) << list;
        root->WMCopyData(HandOverMessage({name}));
        TfrmEditWindow& handed = Window(root->WindowCount() - 1);
        ASSERT_EQ(handed.FileName(), name);
        ASSERT_EQ(KindOf(root->WindowCount() - 1), lkBmp);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&handed));
        TEditorWidget& editor = handed.EditorWidget();
        const QImage screen = ShownPixels(*editor.viewport());
        EXPECT_EQ(DifferingPixels(screen, editor.Render(), editor.CaretRect()), QRect());
        // Every kind of pixel the list's colours give: ink, aqua (file names) and red (offsets).
        int ink = 0, aqua = 0, red = 0;
        for (int y = 0; y < screen.height(); ++y)
            for (int x = 0; x < screen.width(); ++x) {
                const QColor c = screen.pixelColor(x, y);
                ink += c.lightness() < 128;
                aqua += c.red() < 128 && c.green() > 160 && c.blue() > 160;
                red += c.red() > 160 && c.green() < 128 && c.blue() < 128;
            }
        EXPECT_GT(ink, 0);
        EXPECT_GT(aqua, 0);
        EXPECT_GT(red, 0);
    }
}

TEST_F(RootWinTest, OpenFillsAFreshWindowAndOpensANewOneOtherwise) {
    const std::string first = WriteMotion("Motion1.lst");
    const std::string second = WriteMotion("Motion2.lst");
    root->FormCreate({});
    openName = first;
    Window(0).ActionOpenExecute();
    ASSERT_EQ(root->WindowCount(), 1);
    EXPECT_EQ(Window(0).FileName(), first);
    EXPECT_EQ(KindOf(0), lkMotion);
    openName = second;
    Window(0).ActionOpenExecute();
    ASSERT_EQ(root->WindowCount(), 2);
    EXPECT_EQ(Window(1).FileName(), second);
    EXPECT_EQ(root->History().Items(), (std::vector<std::string>{second, first}));
}

TEST_F(RootWinTest, ReloadAsksAndDiscardsTheChanges) {
    const std::string name = WriteMotion("Motion1.lst");
    root->FormCreate({name});
    TfrmEditWindow& window = Window(0);
    TypeOnLastRow(window, "q");
    messages.Answer(TMsgResult::No);
    window.ActionReLoad->trigger();
    EXPECT_TRUE(window.Modified());
    messages.Answer(TMsgResult::Yes);
    window.ActionReLoad->trigger();
    EXPECT_FALSE(window.Modified());
    EXPECT_EQ(window.Lines().back(), Utf8ToCp932(kComment));
    EXPECT_EQ(messages.Shown.back().Text, "編集中のファイルを読み込みなおします。\r\nよろしいですか？");
}

// Before any size is stored a new window is wide enough for its menus and the toolbar beside them
// (it once opened at 648, and the menus folded ヘルプ and most buttons away behind ">>").
TEST_F(RootWinTest, ANewWindowIsWideEnoughForItsMenusAndToolbar) {
    root->FormCreate({});
    TfrmEditWindow& window = Window(0);
    EXPECT_GE(window.width(), window.ToolBar1->sizeHint().width() + window.ToolBar2->sizeHint().width());
    EXPECT_LE(window.frameGeometry().width(), window.screen()->availableGeometry().width());
    const auto* fold = window.ToolBar1->findChild<QWidget*>("qt_toolbar_ext_button");
    EXPECT_TRUE(!fold || fold->isHidden());
}

TEST_F(RootWinTest, TheLastWindowStoresItsSizeAndTheSettingsAreWritten) {
    store->WriteInteger("Options", "LastWinW", -1);
    store->WriteInteger("Options", "LastWinH", 300);
    const std::string name = WriteMotion("Motion1.lst");
    root->FormCreate({name});
    EXPECT_EQ(Window(0).width(), std::max(648, Window(0).sizeHint().width())); // the window's own width
    EXPECT_EQ(Window(0).height(), 300);
    Window(0).ActionNew(lkMotion);
    Window(1).resize(500, 400);
    Window(1).close();
    ProcessDeletes();
    EXPECT_EQ(store->ReadInteger("Options", "LastWinH", 0), 300); // not the last window
    Window(0).resize(700, 420);
    Window(0).close();
    ProcessDeletes();
    EXPECT_EQ(lastClosed, 1);
    EXPECT_EQ(store->ReadInteger("Options", "LastWinW", 0), 700);
    EXPECT_EQ(store->ReadInteger("Options", "LastWinH", 0), 420);
    root.reset();
    TRecentFiles expected;
    expected.Add(name);
    EXPECT_EQ(store->ReadString("Options", "History", ""), expected.CommaText());
}

// Settings in a place that cannot be written were once lost without a word: the program tells it
// once, with the file's name and why, while it runs and when it ends.
TEST_F(RootWinTest, SettingsThatCannotBeWrittenAreToldOnce) {
    std::ofstream(dir / "config") << "a file where the settings folder would be";
    const std::string settings = (dir / "config" / "Talvane" / "quillon.ini").string();
    auto unwritable = std::make_unique<TQtSettingsStore>(QStr(settings));
    auto unwritableRoot = std::make_unique<TQuillonRootWin>(*unwritable);
    unwritableRoot->FormCreate({WriteMotion("Motion1.lst")});
    QCoreApplication::sendPostedEvents();
    const std::string told = "設定ファイルに書き込めませんでした\n" + settings + "\nフォルダが見つかりません";
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, told);
    unwritableRoot->WindowAt(0)->resize(700, 420);
    unwritableRoot->WindowAt(0)->close();
    ProcessDeletes();
    unwritableRoot.reset();
    unwritable.reset();
    EXPECT_EQ(messages.Shown.size(), 1u);
    EXPECT_FALSE(fs::exists(settings));
}

TEST_F(RootWinTest, FindSearchesWithTheSharedRequest) {
    const std::string name = WriteMotion("Motion1.lst");
    root->FormCreate({name});
    std::string answer = "Num";
    std::uint8_t options = 0;
    root->SearchDialog = [&](std::string& text, std::uint8_t& opts, bool& backward) {
        text = answer;
        opts = options;
        backward = false;
        return true;
    };
    TfrmEditWindow& window = Window(0);
    window.popFind->aboutToShow();
    EXPECT_TRUE(window.ActionFind->isEnabled());
    EXPECT_FALSE(window.ActionFindNext->isEnabled());
    window.ActionFind->trigger();
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(window.Editor().Row(), 2);
    EXPECT_TRUE(window.ActionFindNext->isEnabled());
    // Another window that has not searched yet takes the shared request.
    window.ActionNew(lkMotion);
    Window(1).popFind->aboutToShow();
    Window(1).ActionFindNext->trigger();
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_EQ(Window(1).Editor().Row(), 2);
    Window(1).ActionFindNext->trigger();
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, "検索文字列 \"Num\"\r\nは見つかりませんでした。");
    EXPECT_EQ(messages.Shown[0].Title, "検索");
    answer = "(";
    options = 2; // a regular expression
    window.ActionFind->trigger();
    ASSERT_EQ(messages.Shown.size(), 2u);
    EXPECT_EQ(messages.Shown[1].Text.rfind("検索中にエラーが発生しました。\r\n", 0), 0u);
    EXPECT_EQ(messages.Shown[1].Icon, TMsgIcon::Error);
}

TEST_F(RootWinTest, ReplaceConfirmsEachOccurrenceUntilAll) {
    struct TCase {
        bool Confirm, All, Backward;
        std::vector<TMsgResult> Answers;
        std::string Result;
    };
    const TCase cases[] = {
        {false, true, false, {}, "Xa Xa Xa Xa"},
        {false, true, true, {}, "Xa Xa Xa Xa"},
        {false, false, false, {}, "Xa a a a"},
        {true, false, false, {TMsgResult::Yes}, "Xa a a a"},
        {true, true, false, {TMsgResult::Yes, TMsgResult::No, TMsgResult::All}, "Xa a Xa Xa"},
        {true, true, false, {TMsgResult::No, TMsgResult::Cancel}, "a a a a"},
    };
    root->FormCreate({});
    for (const TCase& c : cases) {
        TfrmEditWindow& window = Window(0);
        window.Editor().Lines().Assign(std::vector<std::string>{"a a a a"});
        window.Editor().SetRowCol(0, c.Backward ? 7 : 0);
        root->ReplaceDialog = [&c](TSearchRequest& request, bool& confirm, bool& all) {
            request = {"a", "Xa", 0, c.Backward};
            confirm = c.Confirm;
            all = c.All;
            return true;
        };
        messages.Shown.clear();
        for (TMsgResult answer : c.Answers) messages.Answer(answer);
        window.ActionReplaseExecute();
        EXPECT_EQ(window.Lines(), std::vector<std::string>{c.Result});
        if (c.All && c.Answers.empty()) {
            ASSERT_FALSE(messages.Shown.empty());
            EXPECT_EQ(messages.Shown.back().Text, "置換文字列 \"a\"\r\nは見つかりませんでした。");
        }
        if (c.Confirm) {
            ASSERT_FALSE(messages.Shown.empty());
            EXPECT_EQ(messages.Shown[0].Text, "\"a\"  を\r\n\"Xa\"  に 置き換えますか？");
            EXPECT_EQ(messages.Shown[0].Buttons, TMsgButtons::YesNoCancelAll);
        }
    }
}

// More replacements than the undo list holds steps: one undo still gives the whole text back.
TEST_F(RootWinTest, ReplaceAllIsUndoneAtOnce) {
    root->FormCreate({});
    TfrmEditWindow& window = Window(0);
    const std::vector<std::string> lines(1500, "a b a");
    window.Editor().Lines().Assign(lines);
    window.Editor().SetRowCol(0, 0);
    root->ReplaceDialog = [](TSearchRequest& request, bool& confirm, bool& all) {
        request = {"a", "Xa", 0, false};
        confirm = false;
        all = true;
        return true;
    };
    window.ActionReplaseExecute();
    EXPECT_EQ(window.Lines(), std::vector<std::string>(1500, "Xa b Xa"));
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, "置換文字列 \"a\"\r\nは見つかりませんでした。");
    window.ActionUndo->trigger();
    EXPECT_EQ(window.Lines(), lines);
}

TEST_F(RootWinTest, EditedSettingsReachEveryWindowOfTheKind) {
    root->PropertyEditor.EditEditorAndColourer = [](TEditorExProp& prop, TOrvColourer&) {
        prop.SetColor(clRed);
        return true;
    };
    const std::string name = WriteMotion("Motion1.lst");
    root->FormCreate({name});
    Window(0).ActionNew(lkMotion);
    Window(0).ActionNew(lkEnemy);
    Window(1).ActionEditProp->trigger();
    EXPECT_EQ(Window(0).EditorWidget().Color(), clRed);
    EXPECT_EQ(Window(1).EditorWidget().Color(), clRed);
    EXPECT_NE(Window(2).EditorWidget().Color(), clRed);
    TEditorExProp stored;
    ASSERT_TRUE(LoadKindProperties(*store, lkMotion, stored));
    EXPECT_EQ(stored.Color(), clRed);
    // A window opened later takes the stored set.
    Window(0).ActionNew(lkMotion);
    EXPECT_EQ(Window(3).EditorWidget().Color(), clRed);
}

TEST_F(RootWinTest, TilingLeavesMinimisedWindowsAlone) {
    root->FormCreate({});
    Window(0).ActionNew(lkMotion);
    Window(0).ActionNew(lkMotion);
    Window(1).showMinimized();
    const QRect before = Window(1).geometry();
    Window(2).ActionWinArangeHorz->trigger();
    const QRect area = Window(2).screen()->availableGeometry();
    // The window asked from first; side by side unless the pair is wider than the screen, when the
    // two are stacked in one column (frames included either way).
    EXPECT_EQ(Window(2).frameGeometry().topLeft(), area.topLeft());
    EXPECT_TRUE(area.contains(Window(0).frameGeometry()));
    EXPECT_FALSE(Window(0).frameGeometry().intersects(Window(2).frameGeometry()));
    EXPECT_EQ(Window(1).geometry(), before);
    Window(0).ActionWinArangeVert->trigger();
    EXPECT_EQ(Window(0).frameGeometry(), QRect(area.left(), area.top(), area.width(), area.height() / 2));
    EXPECT_EQ(Window(2).frameGeometry(),
              QRect(area.left(), area.top() + area.height() / 2, area.width(), area.height() / 2));
}

TEST_F(RootWinTest, WindowMenuListsTheFirstTenWindows) {
    root->FormCreate({});
    for (int i = 1; i < 12; ++i) Window(0).ActionNew(lkText);
    Window(0).popWindow->aboutToShow();
    Window(0).popWindow->aboutToShow(); // the old items go
    QStringList items;
    for (QAction* action : Window(0).popWindow->actions())
        if (!action->isSeparator()) items << action->text();
    ASSERT_EQ(items.size(), 12); // the two arranging actions and ten windows
    EXPECT_EQ(items[2], QStringLiteral("&0 (無題)"));
    EXPECT_EQ(items[11], QStringLiteral("&9 (無題)"));
}

// Records what the list commands ask of their dialogs.
class TFakeCommandDialogs : public TListCommandDialogs {
public:
    explicit TFakeCommandDialogs(std::vector<int>& Pages) : FPages(Pages) {}
    bool AskRenumber(std::int32_t, TRenumberRequest&) override { return false; }
    bool EditEnvironment(const TListOptions&, int Page) override {
        FPages.push_back(Page);
        return false;
    }
    int RunMaker(const TMakerJob&) override { return 2; }

private:
    std::vector<int>& FPages;
};

TEST_F(RootWinTest, ListCommandsRunFromTheEditMenu) {
    std::vector<int> pages;
    root->CommandDialogs = [&pages](QWidget*) { return std::make_unique<TFakeCommandDialogs>(pages); };
    root->FormCreate({});
    TfrmEditWindow& window = Window(0);
    QTest::keyClicks(&window.EditorWidget(), "abc");
    window.Editor().SetSelStart(0);
    window.Editor().SetSelLength(2);
    window.popEditMenu->aboutToShow();
    EXPECT_FALSE(window.ActionReNum->isEnabled()); // not a motion list
    EXPECT_FALSE(window.ActionFormat->isEnabled());
    ASSERT_TRUE(window.ConvertActions[scToUpper]->isEnabled());
    window.ConvertActions[scToUpper]->trigger();
    EXPECT_EQ(window.Lines(), std::vector<std::string>{"ABc"});
    EXPECT_TRUE(window.Modified());
    window.ActionNew(lkCommand);
    Window(1).ActionSetEnv->trigger();
    EXPECT_EQ(pages, std::vector<int>{EnvironmentPage(lkZCommand)});
    Window(1).popEditMenu->aboutToShow();
    EXPECT_TRUE(Window(1).ActionFormat->isEnabled());
}

TEST_F(RootWinTest, ADamagedStoredPropertySetIsStoredAfresh) {
    store->WriteBinary("EditorProperties", "Motion", TBytes{1, 2, 3});
    const std::string name = WriteMotion("Motion1.lst");
    root->FormCreate({name});
    ASSERT_EQ(root->WindowCount(), 1);
    EXPECT_EQ(KindOf(0), lkMotion);
    EXPECT_EQ(store->ReadBinary("EditorProperties", "Motion"), store->ReadBinary("EditorProperties", "Common"));
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(
        messages.Shown[0].Text,
        "保存されていたエディタの設定 (モーションリスト) が壊れていたため読み込めませんでした。\n既定の設定に置き換えます。");
    // Repaired: a second window of the kind brings no second notice.
    root->OpenNewWindow(name, nullptr, lkMotion);
    EXPECT_EQ(messages.Shown.size(), 1u);
}

} // namespace

TEST_F(RootWinTest, EditingCommandsUndoRedoCopyAndPaste) {
    const std::string name = WriteMotion("Motion1.lst");
    root->FormCreate({name});
    TfrmEditWindow& window = Window(0);
    const std::vector<std::string> original = window.Lines();
    TypeOnLastRow(window, "x");
    window.ActionUndo->trigger();
    EXPECT_EQ(window.Lines(), original);
    window.ActionRedo->trigger();
    EXPECT_EQ(window.Lines().back(), "x" + Utf8ToCp932(kComment));

    // Copy the last line and paste it at the start of the text: the bytes arrive unchanged.
    TEditorExVantor& editor = window.Editor();
    editor.SetRowCol(editor.Lines().Count() - 1, 0);
    QTest::keyClick(&window.EditorWidget(), Qt::Key_End, Qt::ShiftModifier);
    ASSERT_TRUE(editor.IsSelected());
    window.ActionCopy->trigger();
    ASSERT_TRUE(editor.Host()->ClipboardHasText());
    QTest::keyClick(&window.EditorWidget(), Qt::Key_Home, Qt::ControlModifier);
    window.ActionPaste->trigger();
    EXPECT_EQ(window.Lines().front(), "x" + Utf8ToCp932(kComment) + "--R---G---B---G");

    window.ActionSelAll->trigger();
    window.ActionDelete->trigger();
    EXPECT_EQ(window.Lines(), std::vector<std::string>{});
}

TEST_F(RootWinTest, EditingCommandsShowWhetherTheyApplyWhileTheMenuShows) {
    root->FormCreate({WriteMotion("Motion1.lst")});
    TfrmEditWindow& window = Window(0);
    emit window.popEditMenu->aboutToShow();
    EXPECT_FALSE(window.ActionUndo->isEnabled());
    EXPECT_FALSE(window.ActionCopy->isEnabled());
    EXPECT_FALSE(window.ActionCut->isEnabled());
    // Outside the menu the shortcuts act whenever they apply.
    emit window.popEditMenu->aboutToHide();
    EXPECT_TRUE(window.ActionCopy->isEnabled());
    TypeOnLastRow(window, "x");
    window.ActionUndo->trigger();
    EXPECT_EQ(window.Lines().back(), Utf8ToCp932(kComment));
    window.ActionCut->trigger(); // nothing selected: nothing happens
    EXPECT_EQ(window.Lines().back(), Utf8ToCp932(kComment));
}

TEST_F(RootWinTest, TheAboutBoxAndTheVersionThatRanLast) {
    root->FormCreate({});
    int shown = 0;
    root->About().ExecDialog = [&shown](QDialog&) {
        ++shown;
        return 1;
    };
    Window(0).ActionAbout->trigger();
    EXPECT_EQ(shown, 1);
    root.reset();
    EXPECT_EQ(store->ReadString("Check", "Version", ""), TProgramIdentity::Program().FileVersion);
}

TEST_F(RootWinTest, TheSettingsAreGoneAfterExitWhenTheAboutBoxAskedForIt) {
    root->FormCreate({});
    root->About().SetDelReg(true);
    root.reset();
    EXPECT_FALSE(store->SectionExists("Options"));
    EXPECT_FALSE(store->SectionExists("Check"));
}

// Twelve windows do not fit side by side at their minimum size: tiling puts each inside the work
// area, whole, and one minimised window stays where it is.
// With one of seven motion lists showing its frame preview (F5), arranging once gave every window
// the preview's minimum and cascaded them all, one over another. Now each window keeps its own
// minimum and none covers another, in both directions.
TEST_F(RootWinTest, ArrangingWithAFramePreviewShownKeepsTheWindowsApart) {
    const QRect area(0, 24, 1478, 855);
    root->WorkArea = [area](const QWidget&) { return area; };
    const std::string name = WriteMotion("Motion1.lst");
    root->FormCreate({name});
    for (int i = 1; i < 7; ++i) {
        std::vector<std::string> lines;
        NewMotionList(lines);
        root->OpenNewWindow((dir / ("Motion" + std::to_string(i + 1) + ".lst")).string(), &lines, -1);
    }
    TfrmEditWindow& previewed = Window(3);
    previewed.ActionShowFramePicture->trigger(); // F5
    ASSERT_TRUE(previewed.ActionShowFramePicture->isChecked());
    for (bool sideBySide : {true, false}) {
        SCOPED_TRACE(sideBySide ? "side by side" : "stacked");
        if (sideBySide)
            root->TileSideBySide(Window(0));
        else
            root->TileStacked(Window(0));
        for (int i = 0; i < 7; ++i) {
            const QRect frame = Window(i).frameGeometry();
            EXPECT_TRUE(area.contains(frame)) << i;
            const QSize minimum = Window(i).minimumSizeHint().expandedTo(Window(i).minimumSize());
            EXPECT_GE(Window(i).width(), minimum.width()) << i;
            EXPECT_GE(Window(i).height(), minimum.height()) << i;
            for (int j = 0; j < i; ++j) EXPECT_FALSE(frame.intersects(Window(j).frameGeometry())) << i << " " << j;
        }
    }
}

TEST_F(RootWinTest, TilingTwelveWindowsKeepsEachInsideTheWorkArea) {
    root->FormCreate({});
    for (int i = 1; i < 13; ++i) root->OpenNewWindow("", nullptr, -1);
    Window(12).showMinimized();
    const QRect minimisedAt = Window(12).geometry();
    const QRect area = Window(0).screen()->availableGeometry();
    for (bool sideBySide : {true, false}) {
        SCOPED_TRACE(sideBySide ? "side by side" : "stacked");
        if (sideBySide)
            root->TileSideBySide(Window(3));
        else
            root->TileStacked(Window(3));
        for (int i = 0; i < 12; ++i) EXPECT_TRUE(area.contains(Window(i).frameGeometry())) << i;
        EXPECT_EQ(Window(3).frameGeometry().topLeft(), area.topLeft()) << "the window asked from comes first";
        EXPECT_EQ(Window(12).geometry(), minimisedAt);
    }
}

// On a common work area, windows share it at their own minimum size (320 x 236 and the frame), not
// at the width of their unfolded menus: three stand side by side in three columns (they once made
// a 2 x 2 grid); seven, too many for one row or column, in the nearest grid; never overlapping.
TEST_F(RootWinTest, WindowsTileAtTheirOwnMinimumSize) {
    const QRect area(0, 30, 1920, 1050);
    root->WorkArea = [area](const QWidget&) { return area; };
    root->FormCreate({});
    for (int i = 1; i < 7; ++i) root->OpenNewWindow("", nullptr, -1);
    const auto columnsAndRows = [this](int count) {
        std::set<int> lefts, tops;
        for (int i = 0; i < count; ++i) {
            lefts.insert(Window(i).frameGeometry().left());
            tops.insert(Window(i).frameGeometry().top());
        }
        return std::pair{static_cast<int>(lefts.size()), static_cast<int>(tops.size())};
    };
    const auto expectApart = [this, &area](int count) {
        for (int i = 0; i < count; ++i) {
            const QRect frame = Window(i).frameGeometry();
            EXPECT_TRUE(area.contains(frame)) << i;
            for (int j = 0; j < i; ++j) EXPECT_FALSE(frame.intersects(Window(j).frameGeometry())) << i << " " << j;
        }
    };
    for (int i = 3; i < 7; ++i) Window(i).showMinimized();
    root->TileSideBySide(Window(0));
    expectApart(3);
    EXPECT_EQ(columnsAndRows(3), std::pair(3, 1));
    for (int i = 3; i < 7; ++i) Window(i).showNormal();
    root->TileStacked(Window(0));
    expectApart(7);
    EXPECT_EQ(columnsAndRows(7), std::pair(2, 4));
    root->TileSideBySide(Window(0));
    expectApart(7);
    EXPECT_EQ(columnsAndRows(7), std::pair(4, 2));
}
