// The edit window's actions, menus, toolbars and status panels, and when the actions are enabled.
#include "EditorWin.h"

#include "AsciiText.h"
#include "ComCtrlsXP.h"
#include "Cp932.h"
#include "EditorExVantor.h"
#include "EditorWidget.h"
#include "ItemHints.h"
#include "ItemSearch.h"
#include "KeyMacro.h"
#include "ListCommands.h"
#include "ListKinds.h"
#include "QtDialogs.h"
#include "QtText.h"
#include "RootWin.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include <algorithm>

namespace quillon {

namespace {

const char kNotAvailable[] = "このファイルタイプでは使用できません";

template <auto Handler> void Run(TfrmEditWindow& Window) { (Window.*Handler)(); }

// One row of the window's action table.
struct TActionRow {
    QAction* TfrmEditWindow::*Action;
    const char* Name;
    const char* Caption;
    const char* Shortcut; // in the text form of a key sequence; empty for none
    const char* Hint;     // "short|long": the tool tip and the status-bar text
    void (*Execute)(TfrmEditWindow&);
    // Enabled when a menu opens as the editor is then; outside the menus enabled, so that Qt lets
    // the shortcut through, and the window refreshes the enabling at the key and lets the action
    // act only when a menu would show it enabled (ShortcutDisabledNow).
    bool MenuRefreshed = false;
};

using W = TfrmEditWindow;

// Every action but ActionInputApply, which the preview pane owns.
const TActionRow kActions[] = {
    {&W::ActionOpen, "ActionOpen", "開く(&O)...", "Ctrl+O", "開く|ファイルを開きます", Run<&W::ActionOpenExecute>},
    {&W::ActionCloseAndOpen, "ActionCloseAndOpen", "閉じて開く(&C)...", "",
     "閉じて開く|編集中のファイルを閉じて別のファイルを開きます", Run<&W::ActionCloseAndOpenExecute>},
    {&W::ActionReLoad, "ActionReLoad", "リロード(&R)", "", "リロード|編集中のファイルを読み込みなおします",
     Run<&W::ActionReLoadExecute>},
    {&W::ActionSaveAs, "ActionSaveAs", "名前をつけて保存(&A)...", "",
     "名前をつけて保存|編集中のファイルに名前をつけて保存します", Run<&W::ActionSaveAsExecute>},
    {&W::ActionSave, "ActionSave", "上書き保存(&S)", "Ctrl+S", "上書き保存|編集中のファイルを上書き保存します",
     Run<&W::ActionSaveExecute>},
    {&W::ActionGo, "ActionGo", "ﾌｧｲﾙ出力/ｺﾝﾊﾞｰﾄ(&G)", "", kNotAvailable, Run<&W::ActionGoExecute>},
    {&W::ActionExit, "ActionExit", "終了(&X)", "", "終了|このウィンドウを閉じます", Run<&W::ActionExitExecute>},
    {&W::ActionHelp, "ActionHelp", "ヘルプ(&H)...", "", "ヘルプ|ヘルプを表示します", Run<&W::ActionHelpExecute>},
    {&W::ActionAbout, "ActionAbout", "バージョン情報(&A)...", "", "バージョン情報|バージョン情報を表示します",
     Run<&W::ActionAboutExecute>},
    {&W::ActionUndo, "ActionUndo", "元に戻す(&U)", "Ctrl+Z", "元に戻す|直前の操作を取り消します",
     Run<&W::ActionUndoExecute>, true},
    {&W::ActionRedo, "ActionRedo", "やり直し(&R)", "Ctrl+Y", "やり直し|取り消した操作をやり直します",
     Run<&W::ActionRedoExecute>, true},
    {&W::ActionCut, "ActionCut", "切り取り(&T)", "Ctrl+X", "切り取り|選択範囲を切り取ります", Run<&W::ActionCutExecute>,
     true},
    {&W::ActionCopy, "ActionCopy", "コピー(&C)", "Ctrl+C", "コピー|選択範囲をコピーします", Run<&W::ActionCopyExecute>,
     true},
    {&W::ActionPaste, "ActionPaste", "貼り付け(&P)", "Ctrl+V", "貼り付け|クリップボードの内容を貼り付けます",
     Run<&W::ActionPasteExecute>, true},
    {&W::ActionBoxPaste, "ActionBoxPaste", "BOX貼り付け", "Ctrl+B",
     "BOX貼り付け|クリップボードの内容を矩形で貼り付けます", Run<&W::ActionBoxPasteExecute>, true},
    {&W::ActionBoxSel, "ActionBoxSel", "Box選択モード(&K)", "Ctrl+K", "Box選択モード|矩形選択モードを切り替えます",
     Run<&W::ActionBoxSelExecute>, true},
    {&W::ActionDelete, "ActionDelete", "削除(&D)", "", "削除|選択範囲を削除します", Run<&W::ActionDeleteExecute>, true},
    {&W::ActionSelAll, "ActionSelAll", "すべて選択(&A)", "Ctrl+A", "すべて選択|すべてを選択します",
     Run<&W::ActionSelAllExecute>, true},
    {&W::ActionFind, "ActionFind", "検索(&F)...", "Ctrl+F", "検索|文字列を検索します", Run<&W::ActionFindExecute>,
     true},
    {&W::ActionFindPrev, "ActionFindPrev", "上候補(&P)", "Shift+F3", "上候補|前の候補を検索します",
     Run<&W::ActionFindPrevExecute>, true},
    {&W::ActionFindNext, "ActionFindNext", "下候補(&N)", "F3", "下候補|次の候補を検索します",
     Run<&W::ActionFindNextExecute>, true},
    {&W::ActionReplase, "ActionReplase", "置換(&R)...", "Ctrl+R", "置換|文字列を置換します",
     Run<&W::ActionReplaseExecute>, true},
    {&W::ActionFindItem, "ActionFindItem", "項目を検索(&I)...", "Ctrl+J", "項目を検索|項目を指定して検索します",
     Run<&W::ActionFindItemExecute>, true},
    {&W::ActionFindItemPrev, "ActionFindItemPrev", "上項目候補(&U)", "Shift+Ctrl+F3",
     "上項目候補|前の項目候補を検索します", Run<&W::ActionFindItemPrevExecute>, true},
    {&W::ActionFindItemNext, "ActionFindItemNext", "下項目候補(&S)", "Ctrl+F3", "下項目候補|次の項目候補を検索します",
     Run<&W::ActionFindItemNextExecute>, true},
    {&W::ActionReNum, "ActionReNum", "リナンバ(&N)...", "Ctrl+N", "リナンバ|選択中の行をリナンバします",
     Run<&W::ActionReNumExecute>, true},
    {&W::ActionMacroOnOff, "ActionMacroOnOff", "キー操作の記録開始/終了(&R)", "Shift+F1",
     "キー操作の記録開始/終了|キー操作の記録を開始または終了します", Run<&W::ActionMacroOnOffExecute>},
    {&W::ActionMacroRun, "ActionMacroRun", "キー操作の再生(&P)", "Shift+F2",
     "キー操作の再生|記録したキー操作を再生します", Run<&W::ActionMacroRunExecute>},
    {&W::ActionCheat, "ActionCheat", "項目ヒント(&H)...", "Ctrl+H",
     "項目ヒント|カーソル位置の項目のヒントを表示します。", Run<&W::ActionCheatExecute>, true},
    {&W::ActionEditProp, "ActionEditProp", "エディタ設定(&P)...", "", "エディタ設定|エディタの表示を設定します",
     Run<&W::ActionEditPropExecute>},
    {&W::ActionSetEnv, "ActionSetEnv", "環境設定(&E)...", "", "環境設定|環境を設定します",
     Run<&W::ActionSetEnvExecute>},
    {&W::ActionInsertCondition, "ActionInsertCondition", "条件を挿入(&J)...", "", "条件を挿入|敵条件を挿入します",
     Run<&W::ActionInsertConditionExecute>, true},
    {&W::ActionEditCondition, "ActionEditCondition", "条件を編集(&E)...", "",
     "条件を編集|カーソル位置の敵条件を編集します", Run<&W::ActionEditConditionExecute>, true},
    {&W::ActionWinArangeHorz, "ActionWinArangeHorz", "横に並べる(&H)", "", "横に並べる|ウィンドウを横に並べます",
     Run<&W::ActionWinArangeHorzExecute>},
    {&W::ActionWinArangeVert, "ActionWinArangeVert", "縦に並べる(&V)", "", "縦に並べる|ウィンドウを縦に並べます",
     Run<&W::ActionWinArangeVertExecute>},
    {&W::ActionFormat, "ActionFormat", "自動整形(&O)", "", "自動整形|リストを整形します", Run<&W::ActionFormatExecute>},
    {&W::ActionGoRelation, "ActionGoRelation", "参照先にジャンプ(&G)", "Alt+Return",
     "参照先にジャンプ|参照先のフレームにジャンプします", Run<&W::ActionGoRelationExecute>, true},
    {&W::ActionShowFramePicture, "ActionShowFramePicture", "フレーム画像表示(&F)", "F5", kNotAvailable,
     Run<&W::ActionShowFramePictureExecute>},
    {&W::ActionPictureList, "ActionPictureList", "画像一覧(&L)...", "Ctrl+L", "画像一覧|画像の一覧を表示します",
     Run<&W::ActionPictureListExecute>},
    {&W::ActionToUpper, "ActionToUpper", "大文字に変換(&U)", "", "大文字に変換|選択範囲を大文字に変換します",
     Run<&W::ActionToUpperExecute>, true},
    {&W::ActionToUpperFile, "ActionToUpperFile", "ファイル名用に大文字変換(&V)", "",
     "ファイル名用に大文字変換|選択範囲の半角英字だけを大文字に変換します", Run<&W::ActionToUpperFileExecute>, true},
    {&W::ActionToLower, "ActionToLower", "小文字に変換(&L)", "", "小文字に変換|選択範囲を小文字に変換します",
     Run<&W::ActionToLowerExecute>, true},
    {&W::ActionToLowerFile, "ActionToLowerFile", "ファイル名用に小文字変換(&M)", "",
     "ファイル名用に小文字変換|選択範囲の半角英字だけを小文字に変換します", Run<&W::ActionToLowerFileExecute>, true},
    {&W::ActionToHankaku, "ActionToHankaku", "半角に変換(&H)", "", "半角に変換|選択範囲を半角に変換します",
     Run<&W::ActionToHankakuExecute>, true},
    {&W::ActionToZenkaku, "ActionToZenkaku", "全角に変換(&Z)", "", "全角に変換|選択範囲を全角に変換します",
     Run<&W::ActionToZenkakuExecute>, true},
};

// The short text of a hint "short|long" is the tool tip, the long one the status tip.
void SetHint(QAction* Action, const std::string& Hint) {
    const QString text = QStr(Hint);
    const qsizetype bar = text.indexOf('|');
    Action->setToolTip(bar < 0 ? text : text.left(bar));
    Action->setStatusTip(bar < 0 ? text : text.mid(bar + 1));
}

// The new-list submenu's order: every list kind in number order, plain text last.
std::vector<int> NewListKinds() {
    std::vector<int> kinds;
    for (int kind = lkText + 1; kind < kListKindCount; ++kind) kinds.push_back(kind);
    kinds.push_back(lkText);
    return kinds;
}

void AddAll(QMenu* Menu, std::initializer_list<QAction*> Actions) {
    for (QAction* action : Actions) {
        if (action)
            Menu->addAction(action);
        else
            Menu->addSeparator();
    }
}

} // namespace

QAction* TfrmEditWindow::AddAction(const char* Name, const QString& Caption, const char* Shortcut,
                                   const std::string& Hint, std::function<void()> Execute) {
    auto* action = new QAction(Caption, this);
    action->setObjectName(Name);
    if (*Shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(Shortcut)));
    SetHint(action, Hint.c_str());
    // While a hit box is being dragged, no command runs; the boxes of a command open over this window.
    connect(action, &QAction::triggered, this, [this, execute = std::move(Execute)] {
        const TCommandWindowScope scope(this);
        if (!FFramePane->Dragging()) execute();
    });
    addAction(action); // shortcuts act wherever the focus is in the window
    return action;
}

void TfrmEditWindow::BuildActions() {
    for (int kind : NewListKinds()) {
        const TListKindInfo& info = ListKindInfo(kind);
        const std::string title(info.Title);
        ActionsNew[static_cast<std::size_t>(kind)] = AddAction(
            std::string(info.NewActionName).c_str(), QStr(title + "(&" + info.NewActionKey + ")"), "",
            title + "|新しい" + std::string(info.NewActionWhat) + "を作成します", [this, kind] { ActionNew(kind); });
    }
    for (const TActionRow& row : kActions) {
        QAction* action = AddAction(row.Name, QStr(row.Caption), row.Shortcut, row.Hint,
                                    [this, execute = row.Execute] { execute(*this); });
        this->*row.Action = action;
        if (row.MenuRefreshed) FShortcutActions.push_back(action);
    }
    ActionInputApply = FFramePane->ActionInputApply;
    SetHint(ActionInputApply, "適用|入力した座標を適用します");
    ActionGoRelation->setShortcuts(
        {QKeySequence(QStringLiteral("Alt+Return")), QKeySequence(QStringLiteral("Alt+Enter"))});
    ConvertActions = {ActionToUpper,     ActionToUpperFile, ActionToLower,
                      ActionToLowerFile, ActionToHankaku,   ActionToZenkaku};
    for (QAction* action : {ActionBoxSel, ActionMacroOnOff, ActionShowFramePicture}) action->setCheckable(true);
    ActionPictureList->setVisible(false);
    for (QAction* action : {ActionCloseAndOpen, ActionReLoad, ActionSave, ActionGo, ActionShowFramePicture,
                            ActionFormat, ActionMacroRun, ActionPictureList})
        action->setEnabled(false);
    BuildMenus();
    BuildToolBars();
    BuildStatusBar();
}

void TfrmEditWindow::OnMenuShow(QMenu* Menu, void (TfrmEditWindow::*Handler)()) {
    connect(Menu, &QMenu::aboutToShow, this, [this, Handler] {
        if (!FFramePane->Dragging()) (this->*Handler)();
    });
    connect(Menu, &QMenu::aboutToHide, this, &TfrmEditWindow::EnableShortcuts);
}

void TfrmEditWindow::BuildEditMenu(QMenu* Menu, const char* Suffix) {
    AddAll(Menu, {ActionUndo, ActionRedo, nullptr, ActionCut, ActionCopy, ActionPaste, ActionBoxPaste, ActionDelete,
                  nullptr, ActionSelAll, ActionBoxSel, nullptr});
    QMenu* setMarks = Menu->addMenu(QStringLiteral("マーク設定(&Y)"));
    QMenu* jumpMarks = Menu->addMenu(QStringLiteral("マークジャンプ(&Z)"));
    const bool mainMenu = *Suffix != 0;
    for (int mark = 0; mark <= 9; ++mark) {
        const QString digit = QString::number(mark);
        QAction* set = setMarks->addAction("&" + digit);
        set->setObjectName("popEditSetMark" + digit + Suffix);
        connect(set, &QAction::triggered, this, [this, mark] { popSetMarkClick(mark); });
        QAction* jump = jumpMarks->addAction("&" + digit);
        jump->setObjectName("popEditJumpMark" + digit + Suffix);
        connect(jump, &QAction::triggered, this, [this, mark] { popJumpMarkClick(mark); });
        set->setShortcut(QKeySequence(QStringLiteral("Shift+Ctrl+") + digit));
        jump->setShortcut(QKeySequence(QStringLiteral("Ctrl+") + digit));
        // The keys act through the main menu's items; the context menu's show the same keys.
        if (mainMenu)
            addActions({set, jump});
        else
            for (QAction* item : {set, jump}) item->setShortcutContext(Qt::WidgetShortcut);
    }
    Menu->addSeparator();
    AddAll(Menu, {ActionReNum, ActionFormat});
    QMenu* convert = Menu->addMenu(QStringLiteral("文字種変換(&C)"));
    convert->setObjectName(QStringLiteral("popEditStrConvert") + Suffix);
    for (QAction* action : ConvertActions) convert->addAction(action);
    AddAll(Menu, {nullptr, ActionCheat, ActionGoRelation, nullptr, ActionInsertCondition, ActionEditCondition});
    OnMenuShow(Menu, &TfrmEditWindow::popEditPopup);
}

void TfrmEditWindow::BuildMenus() {
    const auto menu = [this](const char* Caption, const char* Name) {
        auto* result = new QMenu(QStr(Caption), this);
        result->setObjectName(Name);
        return result;
    };
    popFile = menu("ファイル(&F)", "popFile");
    popNew = popFile->addMenu(QStringLiteral("新規作成(&N)"));
    popNew->setObjectName("popNew");
    for (int kind : NewListKinds()) popNew->addAction(ActionsNew[static_cast<std::size_t>(kind)]);
    AddAll(popFile, {ActionOpen, ActionCloseAndOpen, ActionReLoad, ActionSaveAs, ActionSave, ActionGo, ActionExit});
    popFile->addSeparator()->setObjectName("popFileSep3");
    OnMenuShow(popFile, &TfrmEditWindow::popFileClick);

    popEditMenu = menu("編集(&E)", "popEditMenu");
    BuildEditMenu(popEditMenu, "Menu");
    popEdit = menu("", "popEdit");
    BuildEditMenu(popEdit, "");

    popFind = menu("検索(&S)", "popFind");
    AddAll(popFind, {ActionFind, ActionFindPrev, ActionFindNext, ActionReplase, nullptr, ActionFindItem,
                     ActionFindItemPrev, ActionFindItemNext});
    OnMenuShow(popFind, &TfrmEditWindow::popFindClick);
    popView = menu("表示(&V)", "popView");
    AddAll(popView, {ActionShowFramePicture, ActionPictureList, nullptr, ActionCheat});
    OnMenuShow(popView, &TfrmEditWindow::popViewClick);
    popOption = menu("オプション(&O)", "popOption");
    AddAll(popOption, {ActionEditProp, ActionSetEnv});
    popWindow = menu("ウィンドウ(&W)", "popWindow");
    AddAll(popWindow, {ActionWinArangeHorz, ActionWinArangeVert});
    OnMenuShow(popWindow, &TfrmEditWindow::popWindowClick);
    popMacro = menu("マクロ(&M)", "popMacro");
    AddAll(popMacro, {ActionMacroOnOff, ActionMacroRun});
    popHelp = menu("ヘルプ(&H)", "popHelp");
    AddAll(popHelp, {ActionHelp, ActionAbout});
}

void TfrmEditWindow::BuildToolBars() {
    ToolBar1 = new TXPToolBarMenu(this);
    ToolBar1->setObjectName("ToolBar1");
    for (QMenu* menu : {popFile, popEditMenu, popFind, popView, popOption, popWindow, popMacro, popHelp})
        ToolBar1->AddMenuButton(menu->title(), menu);
    addToolBar(Qt::TopToolBarArea, ToolBar1);
    ToolBar2 = new QToolBar(this);
    ToolBar2->setObjectName("ToolBar2");
    ToolBar2->setMovable(false);
    const std::pair<QAction*, QStyle::StandardPixmap> buttons[] = {
        {ActionExit, QStyle::SP_DialogCloseButton},
        {ActionOpen, QStyle::SP_DialogOpenButton},
        {ActionSave, QStyle::SP_DialogSaveButton},
        {ActionGo, QStyle::SP_MediaPlay},
        {ActionShowFramePicture, QStyle::SP_FileDialogContentsView}};
    for (const auto& [action, icon] : buttons) {
        action->setIcon(style()->standardIcon(icon));
        ToolBar2->addAction(action);
    }
    addToolBar(Qt::TopToolBarArea, ToolBar2);
}

void TfrmEditWindow::BuildStatusBar() {
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    setStatusBar(StatusBar1);
    const int widths[] = {50, 80, 80};
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(StatusBar1);
        panel->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i));
        if (i < 3) {
            panel->setFixedWidth(widths[i]);
            panel->setAlignment(Qt::AlignCenter);
        }
        StatusBar1->addWidget(panel, i < 3 ? 0 : 1);
        FPanels[static_cast<size_t>(i)] = panel;
    }
}

QString TfrmEditWindow::PanelText(int Index) const { return FPanels.at(static_cast<size_t>(Index))->text(); }

void TfrmEditWindow::SetPanelText(int Index, const QString& Text) {
    FPanels.at(static_cast<size_t>(Index))->setText(Text);
}

void TfrmEditWindow::UpdateInsertModePanel() { SetPanelText(0, Editor().OverWrite() ? "上書" : "挿入"); }

void TfrmEditWindow::UpdateSelectionModePanel() { SetPanelText(1, Editor().SelectionMode() == 1 ? "矩形選択" : ""); }

void TfrmEditWindow::KeyMacroChange() {
    const TKeyMacroState state = FKeyMacro->State();
    SetPanelText(2, state == kmRecording ? "記録中" : state == kmRunning ? "実行中" : "");
    ActionMacroOnOff->setEnabled(state != kmRunning);
    ActionMacroOnOff->setChecked(state == kmRecording);
    ActionMacroRun->setEnabled(state == kmReady && FEditorWidget->isEnabled());
}

void TfrmEditWindow::UpdateCaption() {
    const std::string name = FFileName.empty() ? "(無題)" : FileNameToUtf8(FFileName);
    setWindowTitle(QStr(name + (FModified ? "(更新)" : "") + " - Quillon"));
}

void TfrmEditWindow::UpdateFormat() {
    // The kind alone; opening the Edit menu also asks for text (UpdateListCommands).
    ActionFormat->setEnabled(KindOffers(FRoot.KindOf(Editor()), kcFormat));
}

void TfrmEditWindow::KindApplied(int Kind) {
    const bool preview = KindOffers(Kind, kcFramePreview);
    ActionShowFramePicture->setEnabled(preview);
    SetHint(ActionShowFramePicture, preview ? "フレーム画像表示|モーションのフレーム画像を表示します" : kNotAvailable);
    const std::string_view convert = ListKindInfo(Kind).ConvertHint;
    SetHint(ActionGo, convert.empty() ? kNotAvailable : std::string(convert));
    if (!preview) ShowFramePicture(false);
}

void TfrmEditWindow::EnableShortcuts() {
    for (QAction* action : FShortcutActions) action->setEnabled(true);
}

bool TfrmEditWindow::ShortcutDisabledNow(const QKeyEvent& Key) {
    const QKeySequence pressed(Key.keyCombination());
    const auto action = std::ranges::find_if(
        FShortcutActions, [&pressed](const QAction* item) { return item->shortcuts().contains(pressed); });
    if (action == FShortcutActions.end() || FFramePane->Dragging()) return false;
    popEditPopup();
    popFindClick();
    popViewClick();
    const bool enabled = (*action)->isEnabled();
    EnableShortcuts();
    return !enabled;
}

void TfrmEditWindow::popFileClick() {
    const auto actions = popFile->actions();
    for (QAction* action : actions)
        if (action->property("recent").isValid()) delete action;
    const std::vector<std::string>& items = FRoot.History().Items();
    for (QAction* action : popFile->actions())
        if (action->objectName() == "popFileSep3") action->setVisible(!items.empty());
    for (size_t i = 0; i < items.size(); ++i) {
        QAction* item = popFile->addAction(QStr("&" + IntToStr(static_cast<int>(i)) + " " + FileNameToUtf8(items[i])));
        item->setProperty("recent", static_cast<int>(i));
        const std::string name = items[i];
        connect(item, &QAction::triggered, this, [this, name] {
            if (!FFramePane->Dragging()) OpenLongName(name);
        });
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
        QAction* item =
            popWindow->addAction(QStr("&" + IntToStr(i) + " " + (name.empty() ? "(無題)" : FileNameToUtf8(name))));
        connect(item, &QAction::triggered, this, [this, i] {
            if (!FFramePane->Dragging()) FRoot.ActivateWindow(i);
        });
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
    ActionFindItem->setEnabled(enabled && hasText && IsMotionList());
    const bool itemNext = CanFindItemNext(FRoot.KindOf(Editor()), FRoot.ItemSearchRequest());
    ActionFindItemNext->setEnabled(itemNext);
    ActionFindItemPrev->setEnabled(itemNext);
}

void TfrmEditWindow::popViewClick() {
    ActionCheat->setEnabled(HasCaretItemHint());
    UpdatePictureList();
}

void TfrmEditWindow::UpdatePictureList() {
    ActionPictureList->setEnabled(IsMotionList() && FFramePane->isVisible() && FFramePane->Preview().CharPicture());
}

void TfrmEditWindow::popEditPopup() {
    UpdateEditCommands();
    UpdateListCommands();
    ActionCheat->setEnabled(HasCaretItemHint());
    ActionInsertCondition->setEnabled(KindOffers(FRoot.KindOf(Editor()), kcConditions));
    ActionEditCondition->setEnabled(CanEditCondition());
    ActionGoRelation->setEnabled(CanGoRelationHere());
}

void TfrmEditWindow::UpdateListCommands() {
    const TListCommandEnabling enabling =
        ListCommandEnabling(ListCommandState(Editor(), FRoot.KindOf(Editor()), !FFileName.empty()));
    ActionReNum->setEnabled(enabling.ReNum);
    ActionFormat->setEnabled(enabling.Format);
    ActionSetEnv->setEnabled(enabling.SetEnv);
    ActionGo->setEnabled(enabling.Go);
    for (QAction* action : ConvertActions) action->setEnabled(enabling.StrConvert);
    for (const char* name : {"popEditStrConvert", "popEditStrConvertMenu"})
        findChild<QMenu*>(name)->setEnabled(enabling.StrConvert);
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
    ActionSelAll->setEnabled(!editor.Lines().Text().empty());
    ActionBoxSel->setEnabled(!ro);
    ActionBoxSel->setChecked(editor.SelectionMode() == 1);
}

} // namespace quillon
