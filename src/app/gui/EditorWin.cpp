#include "EditorWin.h"

#include "EditorExVantor.h"
#include "Cp932.h"
#include "EditorWidget.h"
#include "ListCommands.h"
#include "ListKinds.h"
#include "MessageBox.h"
#include "QtText.h"
#include "REScanner.h"
#include "RootWin.h"
#include "SettingsStore.h"
#include "StrUtils.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

#include <filesystem>

namespace quillon {

namespace {

const char kOptions[] = "Options";
const char kUntitled[] = "(無題)";
const char kNotAvailable[] = "このファイルタイプでは使用できません";

using TTemplate = void (*)(std::vector<std::string>&);

// The template of each new-list kind 1..8.
TTemplate ListTemplate(int kind) {
    static const TTemplate templates[] = {NewMotionList, NewCommandList, NewZCommandList, NewVoiceList,
                                          NewZVoiceList, NewEnemyList,   NewQesSource,    NewBitmapList};
    return templates[kind - lkMotion];
}

// The short text of a hint "short|long" is the tool tip, the long one the status tip.
void SetHint(QAction* action, const std::string& hint) {
    const QString text = QStr(hint);
    const qsizetype bar = text.indexOf('|');
    action->setToolTip(bar < 0 ? text : text.left(bar));
    action->setStatusTip(bar < 0 ? text : text.mid(bar + 1));
}

// The size a stored value gives: -1 keeps Own, a negative value too; above Screen it is Screen.
int StoredExtent(int stored, int own, int screen) {
    if (stored < 0) return own;
    return std::min(stored, screen);
}

} // namespace

TfrmEditWindow::TfrmEditWindow(TQuillonRootWin& Root)
    : FRoot(Root),
      FEditorWidget(new TEditorWidget(std::make_unique<TEditorExVantor>())),
      FFramePane(new TFramePicturePane(*this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    resize(648, 480);
    setMinimumWidth(320);
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(FFramePane);
    layout->addWidget(FEditorWidget, 1);
    setCentralWidget(central);
    FFramePane->hide();
    statusBar();

    TEditorExVantor& editor = Editor();
    FEditorWidget->SetEditorFont("FixedSys", 14);
    editor.SetUndoListMax(1000);
    FEditorWidget->AssignToProp(FEditorProp);
    editor.OnChange = [this](TEditor&) { EditorChange(); };
    editor.OnCaretMoved = [this](TEditor&) { FFramePane->FollowCaret(); };
    editor.OnSelectionChange = [this](TEditor&, bool) { FFramePane->FollowCaret(); };

    BuildActions();
    UpdateCaption();
    LoadWindowSize();
}

TfrmEditWindow::~TfrmEditWindow() {
    if (FRoot.WindowCount() == 1 && FRoot.IndexOf(this) == 0) SaveWindowSize();
    FFramePane->ShowFramePicture(false, {});
    FRoot.Notification(this);
}

TEditorExVantor& TfrmEditWindow::Editor() const { return static_cast<TEditorExVantor&>(FEditorWidget->Editor()); }

QAction* TfrmEditWindow::AddAction(QMenu* Menu, const char* Caption, const char* Hint,
                                   void (TfrmEditWindow::*Slot)()) {
    QAction* action = Menu->addAction(QString::fromUtf8(Caption));
    SetHint(action, Hint);
    // While a hit box is being dragged, no command runs.
    connect(action, &QAction::triggered, this, [this, Slot] {
        if (!FFramePane->Dragging()) (this->*Slot)();
    });
    return action;
}

void TfrmEditWindow::BuildActions() {
    popFile = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    popNew = popFile->addMenu(QStringLiteral("新規作成(&N)"));
    static const char* const newCaptions[] = {"モーションリスト(&M)", "ｺﾏﾝﾄﾞﾘｽﾄ(&C)", "Zｺﾏﾝﾄﾞﾘｽﾄ(&D)",
                                              "ﾎﾞｲｽﾘｽﾄ(&V)", "Zﾎﾞｲｽﾘｽﾄ(&W)", "ｴﾈﾐｰﾘｽﾄ(&E)",
                                              "Quessa1.3ｴﾈﾐｰｿｰｽ(&A)", "Bitmapﾘｽﾄ(&B)", "ﾃｷｽﾄ(&T)"};
    for (int i = 0; i < 9; ++i) {
        const int kind = i < 8 ? lkMotion + i : lkText;
        connect(popNew->addAction(QString::fromUtf8(newCaptions[i])), &QAction::triggered, this,
                [this, kind] { ActionNew(kind); });
    }
    ActionOpen = AddAction(popFile, "開く(&O)...", "開く|ファイルを開きます", &TfrmEditWindow::ActionOpenExecute);
    ActionOpen->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    ActionCloseAndOpen = AddAction(popFile, "閉じて開く(&C)...", "閉じて開く|編集中のファイルを閉じて別のファイルを開きます",
                                   &TfrmEditWindow::ActionCloseAndOpenExecute);
    ActionReLoad = AddAction(popFile, "リロード(&R)", "リロード|編集中のファイルを読み込みなおします",
                             &TfrmEditWindow::ActionReLoadExecute);
    ActionSaveAs = popFile->addAction(QStringLiteral("名前をつけて保存(&A)..."));
    SetHint(ActionSaveAs, "名前をつけて保存|編集中のファイルに名前をつけて保存します");
    connect(ActionSaveAs, &QAction::triggered, this, [this] { ActionSaveAsExecute(); });
    ActionSave = popFile->addAction(QStringLiteral("上書き保存(&S)"));
    SetHint(ActionSave, "上書き保存|編集中のファイルを上書き保存します");
    ActionSave->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    connect(ActionSave, &QAction::triggered, this, [this] { ActionSaveExecute(); });
    ActionGo = popFile->addAction(QStringLiteral("ﾌｧｲﾙ出力/ｺﾝﾊﾞｰﾄ(&G)"));
    ActionExit = popFile->addAction(QStringLiteral("終了(&X)"));
    connect(ActionExit, &QAction::triggered, this, &QWidget::close);
    popFile->addSeparator();
    connect(popFile, &QMenu::aboutToShow, this, &TfrmEditWindow::popFileClick);

    popEditMenu = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    struct {
        QAction** Action;
        const char *Caption, *Hint, *Shortcut;
        void (TfrmEditWindow::*Slot)();
    } const editing[] = {
        {&ActionUndo, "元に戻す(&U)", "元に戻す|直前の操作を取り消します", "Ctrl+Z", &TfrmEditWindow::ActionUndoExecute},
        {&ActionRedo, "やり直し(&R)", "やり直し|取り消した操作をやり直します", "Ctrl+Y", &TfrmEditWindow::ActionRedoExecute},
        {&ActionCut, "切り取り(&T)", "切り取り|選択範囲を切り取ります", "Ctrl+X", &TfrmEditWindow::ActionCutExecute},
        {&ActionCopy, "コピー(&C)", "コピー|選択範囲をコピーします", "Ctrl+C", &TfrmEditWindow::ActionCopyExecute},
        {&ActionPaste, "貼り付け(&P)", "貼り付け|クリップボードの内容を貼り付けます", "Ctrl+V",
         &TfrmEditWindow::ActionPasteExecute},
        {&ActionBoxPaste, "BOX貼り付け", "BOX貼り付け|クリップボードの内容を矩形で貼り付けます", "Ctrl+B",
         &TfrmEditWindow::ActionBoxPasteExecute},
        {&ActionBoxSel, "Box選択モード(&K)", "Box選択モード|矩形選択モードを切り替えます", "Ctrl+K",
         &TfrmEditWindow::ActionBoxSelExecute},
        {&ActionDelete, "削除(&D)", "削除|選択範囲を削除します", "", &TfrmEditWindow::ActionDeleteExecute},
        {&ActionSelAll, "すべて選択(&A)", "すべて選択|すべてを選択します", "Ctrl+A", &TfrmEditWindow::ActionSelAllExecute},
    };
    for (const auto& e : editing) {
        *e.Action = AddAction(popEditMenu, e.Caption, e.Hint, e.Slot);
        if (*e.Shortcut) (*e.Action)->setShortcut(QKeySequence(QString::fromLatin1(e.Shortcut)));
        if (e.Action == &ActionRedo || e.Action == &ActionBoxSel || e.Action == &ActionSelAll) popEditMenu->addSeparator();
    }
    ActionBoxSel->setCheckable(true);
    connect(popEditMenu, &QMenu::aboutToHide, this, &TfrmEditWindow::EnableEditCommands);
    ActionReNum = AddAction(popEditMenu, "リナンバ(&N)...", "リナンバ|選択中の行をリナンバします",
                            &TfrmEditWindow::ActionReNumExecute);
    ActionReNum->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    ActionFormat = AddAction(popEditMenu, "自動整形(&O)", "自動整形|リストを整形します", &TfrmEditWindow::ActionFormatExecute);
    QMenu* popConvert = popEditMenu->addMenu(QStringLiteral("文字種変換(&C)"));
    static const char* const convertCaptions[] = {"大文字に変換(&U)", "ファイル名用に大文字変換(&V)", "小文字に変換(&L)",
                                                  "ファイル名用に小文字変換(&M)", "半角に変換(&H)", "全角に変換(&Z)"};
    for (int i = scToUpper; i <= scToZenkaku; ++i) {
        QAction* action = popConvert->addAction(QString::fromUtf8(convertCaptions[i]));
        connect(action, &QAction::triggered, this, [this, i] { ActionConvert(i); });
        action->setEnabled(false);
        ConvertActions.push_back(action);
    }
    connect(popEditMenu, &QMenu::aboutToShow, this, &TfrmEditWindow::popEditMenuClick);
    connect(ActionGo, &QAction::triggered, this, &TfrmEditWindow::ActionGoExecute);
    popFind = menuBar()->addMenu(QStringLiteral("検索(&S)"));
    ActionFind = AddAction(popFind, "検索(&F)...", "検索|文字列を検索します", &TfrmEditWindow::ActionFindExecute);
    ActionFind->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
    ActionFindPrev = AddAction(popFind, "上候補(&P)", "上候補|前の候補を検索します", &TfrmEditWindow::ActionFindPrevExecute);
    ActionFindPrev->setShortcut(QKeySequence(QStringLiteral("Shift+F3")));
    ActionFindNext = AddAction(popFind, "下候補(&N)", "下候補|次の候補を検索します", &TfrmEditWindow::ActionFindNextExecute);
    ActionFindNext->setShortcut(Qt::Key_F3);
    ActionReplase = AddAction(popFind, "置換(&R)...", "置換|文字列を置換します", &TfrmEditWindow::ActionReplaseExecute);
    ActionReplase->setShortcut(QKeySequence(QStringLiteral("Ctrl+R")));
    connect(popFind, &QMenu::aboutToShow, this, &TfrmEditWindow::popFindClick);
    QMenu* popView = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    ActionShowFramePicture = popView->addAction(QStringLiteral("フレーム画像表示(&F)"));
    ActionShowFramePicture->setShortcut(Qt::Key_F5);
    ActionShowFramePicture->setCheckable(true);
    connect(ActionShowFramePicture, &QAction::triggered, this, [this](bool on) { ShowFramePicture(on); });
    QMenu* popOption = menuBar()->addMenu(QStringLiteral("オプション(&O)"));
    ActionEditProp = popOption->addAction(QStringLiteral("エディタ設定(&P)..."));
    SetHint(ActionEditProp, "エディタ設定|エディタの表示を設定します");
    connect(ActionEditProp, &QAction::triggered, this, [this] { FRoot.EditKindSettings(*this); });
    ActionSetEnv = AddAction(popOption, "環境設定(&E)...", "環境設定|環境を設定します", &TfrmEditWindow::ActionSetEnvExecute);
    popWindow = menuBar()->addMenu(QStringLiteral("ウィンドウ(&W)"));
    ActionWinArangeHorz = popWindow->addAction(QStringLiteral("横に並べる(&H)"));
    connect(ActionWinArangeHorz, &QAction::triggered, this, [this] { FRoot.TileSideBySide(*this); });
    ActionWinArangeVert = popWindow->addAction(QStringLiteral("縦に並べる(&V)"));
    connect(ActionWinArangeVert, &QAction::triggered, this, [this] { FRoot.TileStacked(*this); });
    connect(popWindow, &QMenu::aboutToShow, this, &TfrmEditWindow::popWindowClick);
    QMenu* popHelp = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    ActionHelp = AddAction(popHelp, "ヘルプ(&H)...", "ヘルプ|ヘルプを表示します", &TfrmEditWindow::ActionHelpExecute);
    ActionAbout = AddAction(popHelp, "バージョン情報(&A)...", "バージョン情報|バージョン情報を表示します",
                            &TfrmEditWindow::ActionAboutExecute);

    addActions({ActionOpen, ActionSave, ActionShowFramePicture, ActionFind, ActionFindNext, ActionFindPrev, ActionReplase, ActionReNum});
    ActionReNum->setEnabled(false);
    ActionFind->setEnabled(false);
    ActionReplase->setEnabled(false);
    ActionFindNext->setEnabled(false);
    ActionFindPrev->setEnabled(false);
    ActionCloseAndOpen->setEnabled(false);
    ActionReLoad->setEnabled(false);
    ActionSave->setEnabled(false);
    ActionGo->setEnabled(false);
    ActionShowFramePicture->setEnabled(false);
    ActionFormat->setEnabled(false);
}

void TfrmEditWindow::UpdateCaption() {
    const std::string name = FFileName.empty() ? kUntitled : FFileName;
    setWindowTitle(QStr(name + (FModified ? "(更新)" : "") + " - Quillon"));
}

void TfrmEditWindow::UpdateFormat() {
    const int kind = FRoot.KindOf(Editor());
    ActionFormat->setEnabled(kind == lkMotion || kind == lkCommand || kind == lkZCommand);
}

void TfrmEditWindow::SetModified(bool Value) {
    if (Value != FModified) {
        FModified = Value;
        UpdateCaption();
    }
    ActionSave->setEnabled(FModified && !FFileName.empty());
    UpdateFormat();
}

void TfrmEditWindow::SetFileName(const std::string& Value) {
    if (Value == FFileName) return;
    FFileName = Value;
    UpdateCaption();
    const int kind = FRoot.KindOf(Editor());
    ActionGo->setEnabled(!FFileName.empty() && (kind == lkBmp || kind == lkQes));
    ActionReLoad->setEnabled(!FFileName.empty());
    ActionCloseAndOpen->setEnabled(!FFileName.empty());
    UpdateFormat();
}

void TfrmEditWindow::KindApplied(int Kind) {
    ActionShowFramePicture->setEnabled(Kind == lkMotion);
    SetHint(ActionShowFramePicture, Kind == lkMotion ? "フレーム画像表示|モーションのフレーム画像を表示します" : kNotAvailable);
    SetHint(ActionGo, Kind == lkQes   ? "ﾌｧｲﾙ出力/ｺﾝﾊﾞｰﾄ|ENEMY.LSTへのコンバートを行います"
                      : Kind == lkBmp ? "ﾌｧｲﾙ出力/ｺﾝﾊﾞｰﾄ|CHARA.BMP/PATTERN.PATへのコンバートを行います"
                                      : kNotAvailable);
    if (Kind != lkMotion) ShowFramePicture(false);
}

std::vector<std::string> TfrmEditWindow::Lines() const {
    const TEditorStrings& lines = Editor().Lines();
    std::vector<std::string> result;
    result.reserve(static_cast<size_t>(lines.Count()));
    for (int i = 0; i < lines.Count(); ++i) result.push_back(lines.Get(i));
    return result;
}

void TfrmEditWindow::ShowFramePicture(bool Show) {
    Show = Show && IsMotionList();
    FFramePane->ShowFramePicture(Show, FFileName);
    FFramePane->setVisible(Show);
    ActionShowFramePicture->setChecked(Show);
}

void TfrmEditWindow::ActionNew(int Kind) {
    std::vector<std::string> lines;
    if (Kind != lkText) ListTemplate(Kind)(lines);
    FRoot.OpenNewWindow("", &lines, Kind == lkText ? -1 : Kind);
}

void TfrmEditWindow::OpenLongName(const std::string& Name) {
    if (FRoot.ActivateWindowForFile(Name)) return;
    std::string name = Name;
    std::vector<std::string> lines;
    if (!FRoot.LoadListFile(name, &lines)) return;
    if (!FFileName.empty() || FModified)
        FRoot.OpenNewWindow(name, &lines, -1);
    else
        FRoot.LoadIntoWindow(*this, name, nullptr, -1, &lines);
}

void TfrmEditWindow::OpenFileByName(const std::string& FileName) { OpenLongName(ShellLongFileName(FileName)); }

void TfrmEditWindow::ActionOpenExecute() {
    const std::string name = FRoot.OpenDialog();
    if (!name.empty()) OpenFileByName(name);
}

void TfrmEditWindow::ActionCloseAndOpenExecute() {
    if (!FormCloseQuery()) return;
    const std::string chosen = FRoot.OpenDialog();
    if (chosen.empty()) return;
    std::string name = ShellLongFileName(chosen);
    if (FRoot.ActivateWindowForFile(name)) return;
    std::vector<std::string> lines;
    if (FRoot.LoadListFile(name, &lines)) FRoot.LoadIntoWindow(*this, name, nullptr, -1, &lines);
}

void TfrmEditWindow::ActionReLoadExecute() {
    if (FFileName.empty()) return;
    if (Messages().Show("編集中のファイルを読み込みなおします。\r\nよろしいですか？", "確認", TMsgIcon::Question,
                        TMsgButtons::YesNo) != TMsgResult::Yes)
        return;
    const TEditorPosition position{Editor().TopRow(), Editor().Row(), Editor().Col()};
    std::string name = FFileName;
    std::vector<std::string> lines;
    if (!FRoot.LoadListFile(name, &lines)) return;
    FRoot.LoadIntoWindow(*this, name, &position, -1, &lines);
    if (FFramePane->isVisible()) FFramePane->RebuildPreview(FFileName);
}

void TfrmEditWindow::Saved(const std::string& Name) {
    Editor().SetModified(false);
    SetModified(false);
    Editor().ClearModifiedRows();
    SetFileName(Name);
    FEditorWidget->viewport()->update();
}

bool TfrmEditWindow::SaveAs(bool KeepName) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(FFileName).parent_path();
    const std::string chosen = FRoot.SaveDialog(!FFileName.empty() && std::filesystem::is_directory(folder, error)
                                                    ? folder.string() : std::string());
    if (chosen.empty()) return false;
    std::string name = chosen;
    if (!FRoot.SaveListFile(*this, name, Lines())) {
        if (KeepName) SetFileName(name);
        return false;
    }
    Saved(name);
    return true;
}

bool TfrmEditWindow::ActionSaveAsExecute() {
    const bool shown = FFramePane->isVisible();
    if (!SaveAs(false)) return false;
    if (shown && IsMotionList()) FFramePane->RebuildPreview(FFileName);
    return true;
}

bool TfrmEditWindow::ActionSaveExecute() {
    if (FFileName.empty()) return ActionSaveAsExecute();
    std::string name = FFileName;
    if (!FRoot.SaveListFile(*this, name, Lines())) return false;
    Saved(name);
    return true;
}

bool TfrmEditWindow::FormCloseQuery() {
    if (!FModified) return true;
    switch (Messages().Show("データが変更されています。\r\n保存しますか？", "確認", TMsgIcon::Question,
                            TMsgButtons::YesNoCancel)) {
    case TMsgResult::No: return true;
    case TMsgResult::Yes: return FFileName.empty() ? SaveAs(true) : ActionSaveExecute();
    default: return false;
    }
}

void TfrmEditWindow::closeEvent(QCloseEvent* Event) {
    if (FFramePane->Dragging() || !FormCloseQuery()) Event->ignore();
    else Event->accept();
}

void TfrmEditWindow::LoadWindowSize() {
    TSettingsStore& store = FRoot.Store();
    const int w = store.ReadInteger(kOptions, "LastWinW", -1);
    const int h = store.ReadInteger(kOptions, "LastWinH", -1);
    if (w == -1 && h == -1) return;
    const QSize screenSize = QGuiApplication::primaryScreen()->availableSize();
    resize(StoredExtent(w, width(), screenSize.width()), StoredExtent(h, height(), screenSize.height()));
}

void TfrmEditWindow::SaveWindowSize() {
    FRoot.Store().WriteInteger(kOptions, "LastWinW", width());
    FRoot.Store().WriteInteger(kOptions, "LastWinH", height());
}

void TfrmEditWindow::popFileClick() {
    const auto actions = popFile->actions();
    for (QAction* action : actions)
        if (action->property("recent").isValid()) delete action;
    const std::vector<std::string>& items = FRoot.History().Items();
    for (size_t i = 0; i < items.size(); ++i) {
        QAction* item = popFile->addAction(QStr("&" + IntToStr(static_cast<int>(i)) + " " + items[i]));
        item->setProperty("recent", static_cast<int>(i));
        const std::string name = items[i];
        connect(item, &QAction::triggered, this, [this, name] { OpenLongName(name); });
    }
    ActionReLoad->setEnabled(!FFileName.empty());
}

void TfrmEditWindow::popWindowClick() {
    for (QAction* action : popWindow->actions())
        if (action != ActionWinArangeHorz && action != ActionWinArangeVert) delete action;
    popWindow->addSeparator();
    const int count = std::min(FRoot.WindowCount(), 10);
    for (int i = 0; i < count; ++i) {
        const std::string& name = FRoot.WindowAt(i)->FileName();
        QAction* item = popWindow->addAction(QStr("&" + IntToStr(i) + " " + (name.empty() ? kUntitled : name)));
        connect(item, &QAction::triggered, this, [this, i] { FRoot.ActivateWindow(i); });
    }
}

void TfrmEditWindow::popFindClick() {
    const bool enabled = FEditorWidget->isEnabled();
    const bool hasText = Editor().Lines().Count() > 0 && !Editor().Lines().Text().empty();
    const bool hasFind = !FRoot.SearchRequest().FindText.empty();
    ActionFind->setEnabled(enabled && hasText);
    ActionReplase->setEnabled(enabled && hasText);
    ActionFindNext->setEnabled(enabled && hasFind);
    ActionFindPrev->setEnabled(enabled && hasFind);
}

bool TfrmEditWindow::Search(bool Backward, const char* Title, const char* Subject) {
    TEditorExVantor& editor = Editor();
    // A window that has not searched yet takes the shared request instead of searching for nothing.
    if (editor.FindString().empty()) {
        editor.SetFindString(FRoot.SearchRequest().FindText);
        editor.SetSearchOptions(FRoot.SearchRequest().Options);
    }
    bool found = false;
    try {
        found = Backward ? editor.FindPrev() : editor.FindNext();
    } catch (const ERegExpParser& e) {
        Messages().Show("検索中にエラーが発生しました。\r\n" + e.Message(), Title, TMsgIcon::Error, TMsgButtons::OK);
        return false;
    }
    if (!found)
        Messages().Show(Subject + ("\"" + Cp932ToUtf8(FRoot.SearchRequest().FindText) + "\"\r\nは見つかりませんでした。"),
                        "検索", TMsgIcon::Information, TMsgButtons::OK);
    return found;
}

void TfrmEditWindow::ReplaceHit(bool Backward) {
    TEditorExVantor& editor = Editor();
    const std::string& text = FRoot.SearchRequest().ReplaceText;
    if (editor.HitStyle() != hsSelect) editor.HitToSelection();
    editor.SetSelText(text);
    // A backward search starts before the inserted text, never inside it.
    if (Backward) editor.SetSelStart(editor.SelStart() - static_cast<int>(text.size()));
}

void TfrmEditWindow::ActionReplaseExecute() {
    TSearchRequest& request = FRoot.SearchRequest();
    bool confirm = false, replaceAll = false;
    if (!FRoot.ReplaceDialog(request, confirm, replaceAll)) return;
    TEditorExVantor& editor = Editor();
    const TEditorHitStyle hitStyle = editor.HitStyle();
    if (hitStyle == hsCaret) editor.SetHitStyle(hsDraw);
    editor.SetFindString(request.FindText);
    editor.SetSearchOptions(request.Options);
    const std::string question = "\"" + Cp932ToUtf8(request.FindText) + "\"  を\r\n\"" +
                                 Cp932ToUtf8(request.ReplaceText) + "\"  に 置き換えますか？";
    do {
        if (!Search(request.Backward, "置換", "置換文字列 ")) break;
        if (confirm) {
            const TMsgResult answer = Messages().Show(question, "確認", TMsgIcon::Question, TMsgButtons::YesNoCancelAll);
            if (answer == TMsgResult::Cancel) break;
            if (answer == TMsgResult::No) continue;
            if (answer == TMsgResult::All) confirm = false, replaceAll = true;
        }
        ReplaceHit(request.Backward);
    } while (replaceAll);
    editor.SetHitStyle(hitStyle);
}

void TfrmEditWindow::ActionFindExecute() {
    TSearchRequest& request = FRoot.SearchRequest();
    if (FRoot.SearchDialog(request.FindText, request.Options, request.Backward)) {
        Editor().SetFindString(request.FindText);
        Editor().SetSearchOptions(request.Options);
        Search(request.Backward);
    }
    ActionFindNext->setEnabled(!request.FindText.empty());
    ActionFindPrev->setEnabled(!request.FindText.empty());
}

void TfrmEditWindow::ActionFindNextExecute() {
    if (!FRoot.SearchRequest().FindText.empty()) Search(false);
}

void TfrmEditWindow::ActionFindPrevExecute() {
    if (!FRoot.SearchRequest().FindText.empty()) Search(true);
}

void TfrmEditWindow::UpdateListCommands() {
    const TListCommandEnabling enabling =
        ListCommandEnabling(ListCommandState(Editor(), FRoot.KindOf(Editor()), !FFileName.empty()));
    ActionReNum->setEnabled(enabling.ReNum);
    ActionFormat->setEnabled(enabling.Format);
    ActionSetEnv->setEnabled(enabling.SetEnv);
    ActionGo->setEnabled(enabling.Go);
    for (QAction* action : ConvertActions) action->setEnabled(enabling.StrConvert);
}

void TfrmEditWindow::popEditMenuClick() {
    UpdateEditCommands();
    UpdateListCommands();
}

bool TfrmEditWindow::HasClipboardText() const {
    const TEditorHost* host = Editor().Host();
    return host && host->ClipboardHasText();
}

void TfrmEditWindow::UpdateEditCommands() {
    const TEditorExVantor& editor = Editor();
    const bool ro = editor.ReadOnly(), sel = editor.IsSelected(), clip = HasClipboardText();
    ActionUndo->setEnabled(editor.CanUndo() && !ro);
    ActionRedo->setEnabled(editor.CanRedo() && !ro);
    ActionCut->setEnabled(sel && !ro);
    ActionDelete->setEnabled(sel && !ro);
    ActionCopy->setEnabled(sel);
    ActionPaste->setEnabled(clip && !ro);
    ActionBoxPaste->setEnabled(clip && !ro);
    ActionBoxSel->setChecked(editor.SelectionMode() == 1);
}

// Outside the menu every editing action stays enabled, so that its shortcut works whenever the
// editor changes; each handler checks for itself whether it applies.
void TfrmEditWindow::EnableEditCommands() {
    for (QAction* a : {ActionUndo, ActionRedo, ActionCut, ActionCopy, ActionPaste, ActionBoxPaste, ActionDelete})
        a->setEnabled(true);
}

void TfrmEditWindow::ActionUndoExecute() {
    if (!Editor().ReadOnly() && Editor().CanUndo()) Editor().Undo();
}
void TfrmEditWindow::ActionRedoExecute() {
    if (!Editor().ReadOnly() && Editor().CanRedo()) Editor().Redo();
}
void TfrmEditWindow::ActionCutExecute() {
    if (!Editor().ReadOnly() && Editor().IsSelected()) Editor().CutToClipboard();
}
void TfrmEditWindow::ActionCopyExecute() {
    if (Editor().IsSelected()) Editor().CopyToClipboard();
}
void TfrmEditWindow::ActionPasteExecute() {
    if (!Editor().ReadOnly() && HasClipboardText()) Editor().PasteFromClipboard();
}
void TfrmEditWindow::ActionBoxPasteExecute() {
    if (!Editor().ReadOnly() && HasClipboardText()) Editor().SetSelTextBox(Editor().Host()->ClipboardText());
}
void TfrmEditWindow::ActionBoxSelExecute() { Editor().SetSelectionMode(Editor().SelectionMode() == 1 ? 0 : 1); }
void TfrmEditWindow::ActionDeleteExecute() {
    if (!Editor().ReadOnly() && Editor().IsSelected()) Editor().DeleteSelection();
}
void TfrmEditWindow::ActionSelAllExecute() { Editor().SelectAll(); }

void TfrmEditWindow::ActionHelpExecute() {}  // the program has no help file

void TfrmEditWindow::ActionAboutExecute() { FRoot.About().ShowAboutBox(); }

void TfrmEditWindow::ActionReNumExecute() {
    if (!ActionReNum->isEnabled() || !FRoot.CommandDialogs) return;
    ReNumSelection(Editor(), *FRoot.CommandDialogs(this));
}

void TfrmEditWindow::ActionFormatExecute() { FormatList(Editor(), FRoot.KindOf(Editor()), FRoot.ListOptions()); }

void TfrmEditWindow::ActionSetEnvExecute() {
    if (FRoot.CommandDialogs) SetEnvironment(FRoot.KindOf(Editor()), FRoot.ListOptions(), *FRoot.CommandDialogs(this));
}

void TfrmEditWindow::ActionGoExecute() {
    if (FRoot.CommandDialogs)
        ConvertList(Editor(), FRoot.KindOf(Editor()), FFileName, FRoot.ListOptions(), *FRoot.CommandDialogs(this));
}

void TfrmEditWindow::ActionConvert(int Conversion) { ConvertSelection(Editor(), static_cast<TStrConvert>(Conversion)); }

void TfrmEditWindow::EditorChange() {
    SetModified(Editor().Modified());
    FFramePane->FollowCaret();
}

bool TfrmEditWindow::IsMotionList() const { return FRoot.KindOf(Editor()) == lkMotion; }

bool TfrmEditWindow::SelectionSpansRows() const {
    const TSelection& sel = Editor().SelStr();
    return Editor().IsSelected() && sel.StartRow != sel.EndRow;
}

int TfrmEditWindow::CaretRow() const { return Editor().Row(); }

std::string TfrmEditWindow::LineText(int row) const { return Editor().Lines().Get(row); }

void TfrmEditWindow::ReplaceLine(int row, const std::string& text) {
    TEditorExVantor& editor = Editor();
    const int caretRow = editor.Row(), caretCol = editor.Col();
    editor.Lines().Put(row, text);
    editor.SetRowCol(caretRow, caretCol);
    editor.SetModified(true);
    SetModified(true);
}

void TfrmEditWindow::SetEditorEnabled(bool enabled) { FEditorWidget->setEnabled(enabled); }

} // namespace quillon
