// The edit window's list-aware commands on the field under the caret: item search in motion lists,
// item hints and quick descriptions, relation jumps, and the enemy condition codes.
#include "EditorWin.h"

#include "AsciiText.h"
#include "Cp932.h"
#include "EditorExVantor.h"
#include "EditorWidget.h"
#include "EnemyCondition.h"
#include "ItemHints.h"
#include "ItemSearch.h"
#include "ListKinds.h"
#include "MotionColourer.h"
#include "QtHintWindow.h"
#include "RelationJumps.h"
#include "RootWin.h"
#include "StdEnemyColourer.h"

#include <QApplication>
#include <QLabel>

namespace quillon {

namespace {

// Token kinds of the enemy and own-character conditions of enemy lists and Quessa sources.
bool IsConditionKind(int TokenKind) { return TokenKind == etEnemy || TokenKind == etMySelf; }

} // namespace

// ---- Fields

void TfrmEditWindow::WithFieldTokens(const std::function<void()>& Query) {
    const int kind = FRoot.KindOf(Editor());
    auto* colourer = dynamic_cast<TOrvColourer*>(Editor().Colourer());
    if (!colourer || !KindOffers(kind, kcFieldTokens)) {
        Query();
        return;
    }
    colourer->SetParseMode(pmSimple);
    try {
        Query();
    } catch (...) {
        colourer->SetParseMode(pmFull);
        throw;
    }
    colourer->SetParseMode(pmFull);
}

int TfrmEditWindow::CaretTokenKind() {
    int kind = 0;
    WithFieldTokens([&] { kind = Editor().TokenKindFromCaret(); });
    return kind;
}

std::string TfrmEditWindow::CaretToken() {
    std::string token;
    WithFieldTokens([&] { Editor().TokenFromCaret(token); });
    return std::string(Trim(token));
}

bool TfrmEditWindow::HasCaretItemHint() {
    return !Editor().IsSelected() && HasItemHint(FRoot.KindOf(Editor()), CaretTokenKind());
}

bool TfrmEditWindow::CanGoRelationHere() {
    return CanGoRelation(FRoot.KindOf(Editor()), CaretTokenKind(), Editor().IsSelected());
}

bool TfrmEditWindow::CanEditCondition() {
    const int kind = FRoot.KindOf(Editor());
    if (kind == lkEnemy && Editor().IsSelected()) return false;
    return KindOffers(kind, kcConditions) && IsConditionKind(CaretTokenKind());
}

// ---- Moving the caret

void TfrmEditWindow::CenterCaret(bool CenterAlways, bool WasVisible) {
    TEditorExVantor& editor = Editor();
    if (WasVisible && !CenterAlways) return;
    editor.SetTopRow(CenterCaretRow(editor.Row(), editor.TopRow(), editor.RowsPerPage(), editor.Lines().Count()));
}

bool TfrmEditWindow::LineVisible(int Line) const {
    const TEditorExVantor& editor = Editor();
    const int row = editor.Lines().LineToRow(Line);
    return row >= editor.TopRow() && row < editor.TopRow() + editor.RowsPerPage();
}

void TfrmEditWindow::ShowItemHit(int Line, int Col, int Length) {
    TEditorExVantor& editor = Editor();
    const bool visible = LineVisible(Line);
    editor.CancelSelection();
    editor.SetCaretToLineOffset(editor.Lines().LineToRow(Line), Col);
    editor.SetHitSelLength(Length);
    CenterCaret(false, visible);
}

void TfrmEditWindow::GoToLine(int Line, bool CenterAlways) {
    TEditorExVantor& editor = Editor();
    const bool visible = LineVisible(Line);
    editor.CancelSelection();
    editor.SetRowCol(editor.Lines().LineToRow(Line), editor.Col());
    editor.SetHitSelLength(0);
    CenterCaret(CenterAlways, visible);
}

// ---- Item search

void TfrmEditWindow::ActionFindItemExecute() {
    if (!IsMotionList()) return;
    if (FRoot.ItemSearchDialog(FRoot.ItemSearchRequest())) FindItem(FindItemFirst);
}

void TfrmEditWindow::ActionFindItemNextExecute() {
    if (CanFindItemNext(FRoot.KindOf(Editor()), FRoot.ItemSearchRequest())) FindItem(FindItemNext);
}

void TfrmEditWindow::ActionFindItemPrevExecute() {
    if (CanFindItemNext(FRoot.KindOf(Editor()), FRoot.ItemSearchRequest())) FindItem(FindItemPrev);
}

void TfrmEditWindow::FindItem(TItemScan Scan) {
    if (!FEditorWidget->isEnabled() || Editor().Lines().Text().empty()) return;
    auto* motion = dynamic_cast<TMotionColourer*>(FRoot.Colourer(lkMotion));
    TItemHit hit;
    if (motion && Scan(Lines(), CaretRow(), *motion, FRoot.ItemSearchRequest(), hit))
        ShowItemHit(hit.Row, hit.Col, hit.Length);
}

// ---- Item hints

void TfrmEditWindow::ActionCheatExecute() {
    FHoverHint = FCaretHint = false;
    HideItemHint();
    std::string title, body;
    if (ItemHintLookup(FRoot.HintFolders, FRoot.KindOf(Editor()), CaretTokenKind(), title, body) && FRoot.HintViewer)
        FRoot.HintViewer(title, body);
}

void TfrmEditWindow::ShowItemHintAt(bool AtCaret) {
    TEditorExVantor& editor = Editor();
    int kind = 0;
    std::string token;
    WithFieldTokens([&] {
        if (AtCaret) {
            kind = editor.TokenKindFromCaret();
            editor.TokenFromCaret(token);
        } else {
            kind = editor.TokenKindFromPos(FMousePos.x(), FMousePos.y());
            editor.TokenFromPos(FMousePos.x(), FMousePos.y(), token);
        }
    });
    std::string text;
    if (!ItemDescription(FRoot.KindOf(editor), kind, Trim(token), text)) {
        HideItemHint();
        return;
    }
    if (AtCaret) {
        editor.ShowHintAtCaret(Utf8ToCp932(text));
        return;
    }
    editor.ShowHintAtCursor(Utf8ToCp932(text));
    if (!FHandCursor) QApplication::setOverrideCursor(Qt::PointingHandCursor);
    FHandCursor = true;
}

void TfrmEditWindow::HideItemHint() {
    Editor().HideHint();
    if (FHandCursor) QApplication::restoreOverrideCursor();
    FHandCursor = false;
}

// ---- Relation jumps

void TfrmEditWindow::ActionGoRelationExecute() {
    if (!FEditorWidget->isEnabled()) return;
    switch (FRoot.KindOf(Editor())) {
    case lkMotion: GoRelationInMotion(); break;
    case lkCommand: GoRelationFromCommand(false); break;
    case lkZCommand: GoRelationFromCommand(true); break;
    default: break;
    }
}

void TfrmEditWindow::GoRelationInMotion() {
    int target = 0;
    if (quillon::GoRelationInMotion(Lines(), CaretRow(), CaretTokenKind(), target)) GoToLine(target, false);
}

void TfrmEditWindow::GoRelationFromCommand(bool Vantor) {
    const int kind = CaretTokenKind();
    const std::string line = LineText(CaretRow());
    TRelationTarget target;
    const bool found = Vantor ? GoRelationFromZCommand(line, kind, FFileName, target)
                              : quillon::GoRelationFromCommand(line, kind, FFileName, target);
    if (!found) return;
    std::string file = target.File.string();
    TfrmEditWindow* window = FRoot.WindowForFile(file);
    if (window) {
        FRoot.ActivateWindowForFile(file);
    } else {
        std::vector<std::string> lines;
        if (!FRoot.LoadListFile(file, &lines)) return;
        FRoot.OpenNewWindow(file, &lines, -1);
        window = FRoot.WindowAt(FRoot.WindowCount() - 1);
    }
    const int row = GoToFrame(window->Lines(), target.Frame);
    if (row >= 0) window->GoToLine(row, true);
}

// ---- Enemy conditions

void TfrmEditWindow::ActionInsertConditionExecute() {
    if (!KindOffers(FRoot.KindOf(Editor()), kcConditions) || Editor().ReadOnly() || !FRoot.ConditionDialog) return;
    if (const std::optional<std::string> code = InsertCondition(*FRoot.ConditionDialog)) Editor().SetSelTextBuf(*code);
}

void TfrmEditWindow::ActionEditConditionExecute() {
    if (!CanEditCondition() || Editor().ReadOnly() || !FRoot.ConditionDialog) return;
    const std::optional<std::string> text = EditCondition(CaretToken(), *FRoot.ConditionDialog);
    if (!text) return;
    WithFieldTokens([this] { Editor().SelectTokenFromCaret(); });
    Editor().SetSelTextBuf(*text);
}

} // namespace quillon
