#include "RelationJumps.h"

#include "AsciiText.h"
#include "CommandColourer.h"
#include "ListKinds.h"
#include "MessageBox.h"
#include "MotionColourer.h"
#include "Paths.h"
#include "motions.h"

namespace quillon {

namespace {

constexpr int kHeaderRows = 3;
constexpr int kToKind = mtToNum;
constexpr int kHitKind = mtHit;
constexpr int kAmnNumKind = ctCmdAmnNum;
constexpr const char* kTitle = "参照先にジャンプ";

void ReportMissing(const std::string& Text) { Messages().Show(Text, kTitle, TMsgIcon::Information, TMsgButtons::OK); }

std::string WithoutBlanks(std::string_view Text) {
    std::string out;
    for (char c : Text)
        if (c != ' ' && c != '\t') out += c;
    return out;
}

// A frame that branches on hit or guard, shoots, or branches at random.
bool Branches(std::string_view Flag) {
    const std::string flag = WithoutBlanks(Flag);
    if (flag.size() >= 4 && (flag[0] != '0' || flag[1] != '0' || flag[2] != '0')) return true;
    return flag.size() >= 5 && flag[4] != '0';
}

std::string UpperAscii(std::string Text) {
    for (char& c : Text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return Text;
}

// "1".."7" for Base + "1".."7" + ".LST", else "".
std::string ListSuffix(const std::string& UpperName, const std::string& Base) {
    for (char n = '1'; n <= '7'; ++n)
        if (UpperName == Base + n + ".LST") return std::string(1, n);
    return {};
}

std::optional<int> AmnNumTarget(const std::string& AmnNum, int TokenKind) {
    if (TokenKind != kAmnNumKind) return std::nullopt;
    const int frame = StrToIntDef(WithoutBlanks(AmnNum), -1);
    if (frame < 0) return std::nullopt;
    return frame;
}

bool JumpToFile(std::optional<int> Frame, const std::filesystem::path& FileName, bool Vantor, TRelationTarget& Target) {
    if (!Frame) return false;
    const std::optional<std::filesystem::path> file = RelationTargetFile(FileName, Vantor);
    if (!file) {
        ReportMissing("参照先のモーションリストが見つかりません。");
        return false;
    }
    Target = {*file, *Frame};
    return true;
}

} // namespace

bool CanGoRelation(int ListKind, int TokenKind, bool HasSelection) {
    if (HasSelection) return false;
    if (ListKind == lkMotion) return TokenKind == kToKind || TokenKind == kHitKind;
    return (ListKind == lkCommand || ListKind == lkZCommand) && TokenKind == kAmnNumKind;
}

std::optional<int> MotionJumpTarget(std::string_view Line, int TokenKind) {
    TMotionLineObj obj;
    if ((TokenKind != kToKind && TokenKind != kHitKind) || !ParseMotionLine(Line, obj)) return std::nullopt;
    if (TokenKind == kToKind) {
        if (obj.ToNum == -1 && obj.Num >= 0) return obj.Num + 1;
        if (obj.ToNum >= 1) return obj.ToNum;
        return std::nullopt;
    }
    if (!Branches(obj.Items[mfFlag]) || obj.Hit < 0) return std::nullopt;
    return obj.Hit;
}

int FindFrameRow(const std::vector<std::string>& Lines, int Frame) {
    TMotionLineObj obj;
    for (int row = kHeaderRows; row < static_cast<int>(Lines.size()); ++row)
        if (ParseMotionLine(Lines[static_cast<std::size_t>(row)], obj) && obj.Num == Frame) return row;
    return -1;
}

int GoToFrame(const std::vector<std::string>& Lines, int Frame) {
    const int row = FindFrameRow(Lines, Frame);
    if (row < 0) ReportMissing("参照先のフレーム " + IntToStr(Frame) + " が見つかりません。");
    return row;
}

bool GoRelationInMotion(const std::vector<std::string>& Lines, int CaretRow, int TokenKind, int& TargetRow) {
    if (CaretRow < 0 || CaretRow >= static_cast<int>(Lines.size())) return false;
    const std::optional<int> frame = MotionJumpTarget(Lines[static_cast<std::size_t>(CaretRow)], TokenKind);
    if (!frame) return false;
    const int row = GoToFrame(Lines, *frame);
    if (row < 0) return false;
    TargetRow = row;
    return true;
}

std::optional<std::filesystem::path> RelationTargetFile(const std::filesystem::path& CommandFile, bool Vantor) {
    const std::filesystem::path dir = CommandFile.parent_path();
    const std::string name = UpperAscii(CommandFile.filename().string());
    const std::string suffix = ListSuffix(name, Vantor ? "ZCOMMAND" : "COMMAND");
    const bool vantorBeside =
        !Vantor && (FindFileNoCase(dir, "ZCOMMAND" + suffix + ".LST") || FindFileNoCase(dir, "ZCOMMAND.LST"));
    std::vector<std::string> candidates;
    if (!vantorBeside) candidates = {"ZMOTION" + suffix + ".LST", "ZMOTION.LST"};
    candidates.push_back("MOTION" + suffix + ".LST");
    candidates.push_back("MOTION.LST");
    for (const std::string& candidate : candidates)
        if (std::optional<std::filesystem::path> file = FindFileNoCase(dir, candidate)) return file;
    return std::nullopt;
}

bool GoRelationFromCommand(std::string_view Line, int TokenKind, const std::filesystem::path& FileName,
                           TRelationTarget& Target) {
    TCommandData rec;
    if (!ParseCommandLine(Line, rec)) return false;
    return JumpToFile(AmnNumTarget(rec.Fields[cfAmnNum], TokenKind), FileName, false, Target);
}

bool GoRelationFromZCommand(std::string_view Line, int TokenKind, const std::filesystem::path& FileName,
                            TRelationTarget& Target) {
    TZCommandData rec;
    if (!ParseZCommandLine(Line, rec)) return false;
    return JumpToFile(AmnNumTarget(rec.Fields[zcfAmnNum], TokenKind), FileName, true, Target);
}

int CenterCaretRow(int CaretRow, int TopRow, int VisibleRows, int LineCount) {
    const int top = CaretRow - VisibleRows / 2;
    const bool visible = TopRow <= CaretRow && CaretRow <= TopRow + VisibleRows - 1;
    return top >= 0 && top < LineCount && visible && LineCount >= VisibleRows ? top : TopRow;
}

} // namespace quillon
