#include "ListKinds.h"

#include "AsciiText.h"
#include "BmpColourer.h"
#include "CommandColourer.h"
#include "Cp932.h"
#include "MotionColourer.h"
#include "MskMatch.h"
#include "QesEnemyColourer.h"
#include "StdEnemyColourer.h"
#include "VoiceColourer.h"
#include "ZCommandColourer.h"
#include "ZVoiceColourer.h"

#include <algorithm>
#include <array>

namespace quillon {
namespace {

template <class TColourerClass> std::unique_ptr<TOrvColourer> Create() {
    return std::make_unique<TColourerClass>(nullptr);
}

// The two command lists share their fields up to AmnNum and the comment; Numbers are the fields
// after AmnNum.
std::vector<TColorItemLabel> CommandColorItems(std::initializer_list<TColorItemLabel> Numbers) {
    std::vector<TColorItemLabel> items{{"CmdNum", "CmdNum"},
                                       {"コマンド", "CmdCommand"},
                                       {"コマンドシンボル", "CmdCommandSymbol"},
                                       {"Cancel", "CmdCancel"},
                                       {"Cancel(Sep)", "CmdCancelSep"},
                                       {"Cancel(On)", "CmdCancelFlagOn"},
                                       {"Cancel(Sep/On)", "CmdCancelFlagOnSep"},
                                       {"Std", "CmdStd"},
                                       {"AmnNum", "CmdAmnNum"}};
    items.insert(items.end(), Numbers);
    items.insert(items.end(), {{"Comment", "Comment"}, {"エラー", "Error"}});
    return items;
}

std::vector<THintKeyword> CommandKeywords(std::initializer_list<THintKeyword> Numbers) {
    std::vector<THintKeyword> keywords{
        {ltComment, "COMMENT"},  {ctCmdNum, "CMDNUM"}, {ctCmdCommand, "COMMAND"}, {ctCmdCommandSymbol, "COMMAND"},
        {ctCmdCancel, "CANCEL"}, {ctCmdStd, "STD"},    {ctCmdAmnNum, "AMNNUM"}};
    keywords.insert(keywords.end(), Numbers);
    return keywords;
}

// The enemy list and the Quessa source explain their fields alike.
std::vector<THintKeyword> EnemyKeywords() {
    return {{ltComment, "COMMENT"},       {etDistance, "DISTANCE"}, {etPercent, "100"},   {etCommand, "COMMAND"},
            {etCommandSymbol, "COMMAND"}, {etEnemy, "COMMAND"},     {etMySelf, "COMMAND"}};
}

// The records, made on first use (they hold vectors, so no other unit's start-up code may meet them
// unmade).
const std::array<TListKindInfo, kListKindCount>& Kinds() {
    static const std::array<TListKindInfo, kListKindCount> kinds{{
        {.ValueName = "Common",
         .Title = "ﾃｷｽﾄ",
         .CreateColourer = nullptr,
         .NewList = nullptr,
         .SampleLines = {"0123 abcXYZ (a[b]{c}) http://www.example.com/ mail@example.com", "漢字 kanji", "全角文字"},
         .ColorItems = {{"半角英数ｶﾅ", "Ank"}, {"全角", "DBCS"}, {"半角記号", "Symbol"}},
         .NewActionName = "ActionNewText",
         .NewActionKey = 'T',
         .NewActionWhat = "テキスト"},
        {.Mask = "*MOTION*.LST",
         .FirstLineMark = "--R",
         .ValueName = "Motion",
         .ColourerClass = "TMotionColourer",
         .Title = "モーションリスト",
         .HintFile = "Cheat.dat",
         .CreateColourer = Create<TMotionColourer>,
         .NewList = NewMotionList,
         .SampleLines =
             {"   0   1  3  10  0  0 9   0 0   0 0 9 0 0   0   -  0 0 000000000000 000000000000 000000000000 ;立ち",
              "   1   0  3  12,1,A,128/13.5:2:3  C1 <2 9/1/+9 1.5 0 -2 0 90 0 A1 2.5 3 1 0100 -16030+15000 "
              "000000000000 000000000000 ジャンプ"},
         .ColorItems = {{"Num", "MotionNum"},
                        {"To", "ToNum"},
                        {"Sp", "Sp"},
                        {"Pic", "Pic"},
                        {"De", "De"},
                        {"Ci", "Ci"},
                        {"V", "V"},
                        {"V(9)", "VNone"},
                        {"Vx", "Vx"},
                        {"Rx", "Rx"},
                        {"Vy", "Vy"},
                        {"Ry", "Ry"},
                        {"C", "C"},
                        {"C(On)", "COn"},
                        {"CL", "CL"},
                        {"G", "G"},
                        {"Da", "Da"},
                        {"Hit", "Hit"},
                        {"H", "H"},
                        {"Flag", "Flag"},
                        {"Flag(On)", "FlagOn"},
                        {"Def1", "Def1"},
                        {"Def2", "Def2"},
                        {"Att1", "Att1"},
                        {"Comment", "Comment"},
                        {"エラー", "Error"}},
         .HintKeywords =
             {{mtComment, "COMMENT"}, {mtMotionNum, "NUM"}, {mtToNum, "TO"}, {mtSp, "SP"},     {mtPic, "PIC"},
              {mtDe, "DE"},           {mtCi, "CI"},         {mtV, "V"},      {mtVx, "VX"},     {mtRx, "RX"},
              {mtVy, "VY"},           {mtRy, "RY"},         {mtC, "C"},      {mtCL, "CL"},     {mtG, "G"},
              {mtDa, "DA"},           {mtHit, "HIT"},       {mtH, "H"},      {mtFlag, "FLAG"}, {mtDef1, "DEF1"},
              {mtDef2, "DEF2"},       {mtAtt1, "ATT1"}},
         .HintKindsWithoutKeyword = {mtVNone},
         .ItemSearchFields = {mtMotionNum, mtToNum, mtSp,   mtPic,  mtDe,   mtCi,     mtV,  mtVx,
                              mtRx,        mtVy,    mtRy,   mtC,    mtCL,   mtG,      mtDa, mtHit,
                              mtH,         mtFlag,  mtDef1, mtDef2, mtAtt1, mtComment},
         .NewActionName = "ActionNewMotion",
         .NewActionKey = 'M',
         .NewActionWhat = "モーションリスト",
         .FilterName = "ﾓｰｼｮﾝﾘｽﾄ",
         .FilterPattern = "*Motion*.lst",
         .Commands = kcFormat | kcRenumber | kcFramePreview | kcFieldTokens},
        {.Mask = "*COMMAND*.LST",
         .FirstLineMark = "Cmd",
         .ValueName = "Command",
         .ColourerClass = "TCommandColourer",
         .Title = "ｺﾏﾝﾄﾞﾘｽﾄ",
         .HintFile = "CCheat.dat",
         .CreateColourer = Create<TCommandColourer>,
         .NewList = NewCommandList,
         .SampleLines = {"0 236P 1000010000 0 20 3 波動拳", "1 2+6 00000000000000000000 -1 0 0",
                         "2 [D]_~ - 0 0 0 ; 投げ"},
         .ColorItems = CommandColorItems({{"Vx", "CmdVx"}}),
         .HintKeywords = CommandKeywords({{ctCmdVx, "VX"}}),
         .NewActionName = "ActionNewCommand",
         .NewActionKey = 'C',
         .NewActionWhat = "コマンドリスト",
         .FilterName = "ｺﾏﾝﾄﾞﾘｽﾄ",
         .FilterPattern = "*Command*.lst",
         .Commands = kcFormat | kcFieldTokens,
         .EnvPage = 1},
        {.Mask = "*ZCOMMAND*.LST",
         .FirstLineMark = "Cmd",
         .ValueName = "ZCommand",
         .ColourerClass = "TZCommandColourer",
         .Title = "Zｺﾏﾝﾄﾞﾘｽﾄ",
         .HintFile = "ZCCheat.dat",
         .CreateColourer = Create<TZCommandColourer>,
         .NewList = NewZCommandList,
         .SampleLines = {"0 a+S 0100010000 0 1 2 3 4 コメント", "1 XYZxyz 0000000000 0 0 0 0 0"},
         .ColorItems = CommandColorItems({{"Sh", "CmdSh"}, {"Sp", "CmdSp"}, {"Dk", "CmdDk"}}),
         .HintKeywords = CommandKeywords({{ctCmdSh, "SH"}, {ctCmdSp, "SP"}, {ctCmdDk, "DK"}}),
         .NewActionName = "ActionNewZCommand",
         .NewActionKey = 'D',
         .NewActionWhat = "Zコマンドリスト",
         .Commands = kcFormat | kcFieldTokens,
         .EnvPage = 2},
        {.Mask = "*VOICE*.LST",
         .FirstLineMark = "Num",
         .ValueName = "Voice",
         .ColourerClass = "TVoiceColourer",
         .Title = "ﾎﾞｲｽﾘｽﾄ",
         .HintFile = "VCheat.dat",
         .CreateColourer = Create<TVoiceColourer>,
         .NewList = NewVoiceList,
         .SampleLines = {"0 voice\\a.wav 攻撃", "- b.wav"},
         .ColorItems = {{"Num", "VoiceNum"}, {"WAVE", "VoiceWave"}, {"Comment", "Comment"}, {"エラー", "Error"}},
         .HintKeywords = {{ltComment, "COMMENT"}, {vtVoiceNum, "NUM"}, {vtVoiceWave, "WAVE"}},
         .NewActionName = "ActionNewVoice",
         .NewActionKey = 'V',
         .NewActionWhat = "ボイスリスト",
         .FilterName = "ﾎﾞｲｽﾘｽﾄ",
         .FilterPattern = "*Voice*.lst"},
        {.Mask = "*ZVOICE*.LST",
         .FirstLineMark = "Num",
         .ValueName = "ZVoice",
         .ColourerClass = "TZVoiceColourer",
         .Title = "Zﾎﾞｲｽﾘｽﾄ",
         .HintFile = "ZVCheat.dat",
         .CreateColourer = Create<TZVoiceColourer>,
         .NewList = NewZVoiceList,
         .SampleLines = {"0 a.wav 3 声", "1 b.wav -2x"},
         .ColorItems = {{"Num", "VoiceNum"},
                        {"WAVE", "VoiceWave"},
                        {"Dp", "VoiceDp"},
                        {"Comment", "Comment"},
                        {"エラー", "Error"}},
         .HintKeywords = {{ltComment, "COMMENT"}, {vtVoiceNum, "NUM"}, {vtVoiceWave, "WAVE"}, {vtVoiceDp, "DP"}},
         .NewActionName = "ActionNewZVoice",
         .NewActionKey = 'W',
         .NewActionWhat = "Zボイスリスト"},
        {.Mask = "*ENEMY*.LST",
         .FirstLineMark = "Dis",
         .ValueName = "Enemy",
         .ColourerClass = "TStdEnemyColourer",
         .Title = "ｴﾈﾐｰﾘｽﾄ",
         .HintFile = "ECheat.dat",
         .CreateColourer = Create<TStdEnemyColourer>,
         .NewList = NewEnemyList,
         .SampleLines = {"120 50 E100#(236P) 近距離", "0 100 E100[C040]D"},
         .ColorItems = {{"距離", "StdEnemyDistance"},
                        {"確率", "StdEnemyPercent"},
                        {"コマンド", "StdEnemyCommand"},
                        {"コマンドシンボル", "StdEnemyCommandSymbol"},
                        {"敵条件", "StdEnemyEnemy"},
                        {"自分条件", "StdEnemyMySelf"},
                        {"Comment", "Comment"},
                        {"エラー", "Error"}},
         .HintKeywords = EnemyKeywords(),
         .NewActionName = "ActionNewEnemy",
         .NewActionKey = 'E',
         .NewActionWhat = "エネミーリスト",
         .FilterName = "ｴﾈﾐｰﾘｽﾄ",
         .FilterPattern = "*Enemy*.lst",
         .Commands = kcConditions},
        {.Mask = "*.QES",
         .FirstLineMark = "QES",
         .ValueName = "QES",
         .ColourerClass = "TQesEnemyColourer",
         .Title = "Quessa1.3ｴﾈﾐｰｿｰｽ",
         .HintFile = "QCheat.dat",
         .CreateColourer = Create<TQesEnemyColourer>,
         .NewList = NewQesSource,
         .SampleLines = {"FORMAT=#E100[E040[E050[%0@]%3@]E050[%4@]%5@]", ":0 地上/非無敵/打撃判定あり",
                         "100 50 E100[C040%0@] 対空", "\\e"},
         .ColorItems = {{"距離", "QesDistance"},
                        {"確率", "QesPercent"},
                        {"コマンド", "QesCommand"},
                        {"コマンドシンボル", "QesCommandSymbol"},
                        {"敵条件", "QesEnemy"},
                        {"自分条件", "QesMySelf"},
                        {"Comment", "Comment"},
                        {"エラー", "Error"}},
         .HintKeywords = EnemyKeywords(),
         .NewActionName = "ActionNewQES",
         .NewActionKey = 'A',
         .NewActionWhat = "Quessa1.3エネミーソース",
         .FilterName = "Quessa1.3ｴﾈﾐｰｿｰｽ",
         .FilterPattern = "*.qes",
         .Commands = kcConditions | kcConvert,
         .ConvertHint = "ﾌｧｲﾙ出力/ｺﾝﾊﾞｰﾄ|ENEMY.LSTへのコンバートを行います"},
        {.Mask = "*BMP*.LST",
         .ValueName = "Bmp",
         .ColourerClass = "TBmpColourer",
         .Title = "Bitmapﾘｽﾄ",
         .HintFile = "BCheat.dat",
         .CreateColourer = Create<TBmpColourer>,
         .NewList = NewBitmapList,
         .SampleLines = {"10 CHARA.BMP", "10:-8:16 a b.bmp", "12:1:2:3 x.bmp"},
         .ColorItems = {{"画像番号", "BmpNum"},
                        {"オフセットデリミタ", "BmpOffsetDelimtter"},
                        {"オフセット", "BmpOffset"},
                        {"画像ファイル名", "BmpFileName"},
                        {"エラー", "Error"}},
         .HintKeywords =
             {{btBmpNum, "NUM"}, {btBmpOffsetDelimtter, "OFFSET"}, {btBmpOffset, "OFFSET"}, {btBmpFileName, "BMP"}},
         .NewActionName = "ActionNewBitmap",
         .NewActionKey = 'B',
         .NewActionWhat = "Bitmapリスト",
         .FilterName = "Bitmapﾘｽﾄ",
         .FilterPattern = "*Bmp*.lst",
         .Commands = kcConvert,
         .EnvPage = 3,
         .ConvertHint = "ﾌｧｲﾙ出力/ｺﾝﾊﾞｰﾄ|CHARA.BMP/PATTERN.PATへのコンバートを行います"},
    }};
    return kinds;
}

// The kinds in the order their masks are tried: in number order, except that a mask goes before
// the wider masks that match all of its names (the Vantor "*ZCOMMAND*.LST" before the classic
// "*COMMAND*.LST"). Every kind but plain text is listed.
const std::vector<int>& MaskOrder() {
    static const std::vector<int> order = [] {
        std::vector<int> kinds;
        for (int kind = lkText + 1; kind < kListKindCount; ++kind) {
            const auto wider = std::ranges::find_if(
                kinds, [kind](int placed) { return MatchesMask(Kinds()[kind].Mask, Kinds()[placed].Mask); });
            kinds.insert(wider, kind);
        }
        return kinds;
    }();
    return order;
}

// The name part of a file name, in CP932 as the masks are.
std::string NamePart(std::string_view fileName) {
    size_t slash = fileName.find_last_of("/\\");
    return Utf8ToCp932(slash == std::string_view::npos ? fileName : fileName.substr(slash + 1));
}

// The kind the first line's mark gives (0 without one); named is false for a list without a name.
// A mark that two kinds share (a classic kind and its Vantor form) gives the kind whose mask the
// name matches, in mask order, or the last of them when none does; a list without a name takes the
// first (the Vantor form).
int KindOfFirstLine(std::string_view line, bool named, const std::string& name) {
    const std::string_view mark = Trim(line).substr(0, 3);
    int kind = lkText;
    for (int k : MaskOrder()) {
        if (Kinds()[k].FirstLineMark.empty() || Kinds()[k].FirstLineMark != mark) continue;
        if (!named || MatchesMask(name, Kinds()[k].Mask)) return k;
        kind = k;
    }
    return kind;
}

const char* const kQesSections[10] = {
    "地上/非無敵/打撃判定あり", "地上/非無敵/立ち",       "地上/非無敵/しゃがみ",     "地上/非無敵/その他",
    "地上/無敵/打撃判定あり",   "地上/無敵/打撃判定なし", "空中/非無敵/打撃判定あり", "空中/非無敵/打撃判定なし",
    "空中/無敵/打撃判定あり",   "空中/無敵/打撃判定なし",
};

void Fill(std::vector<std::string>& lines, std::initializer_list<const char*> text) {
    lines.assign(text.begin(), text.end());
}

} // namespace

const TListKindInfo& ListKindInfo(int kind) { return Kinds().at(static_cast<size_t>(kind)); }

bool KindOffers(int Kind, TKindCommand Command) {
    return Kind >= 0 && Kind < kListKindCount && (ListKindInfo(Kind).Commands & Command) != 0;
}

int DetectFileKind(const std::vector<std::string>& Lines, std::string_view FileName) {
    const bool named = !FileName.empty();
    const std::string name = named ? NamePart(FileName) : std::string();
    int kind = Lines.empty() ? lkText : KindOfFirstLine(Lines[0], named, name);
    if (kind != lkText || !named) return kind;
    for (int k : MaskOrder())
        if (MatchesMask(name, Kinds()[k].Mask)) return k;
    return lkText;
}

int KindWithHint(int detected, int hint) { return detected == lkText && hint != -1 ? hint : detected; }

void NewMotionList(std::vector<std::string>& Lines) {
    Fill(
        Lines,
        {"--R---G---B---G", "  0   0 255  16",
         "-Num---To-Sp-Pic-De-Ci-V---VxRx--VyRy-C-CL-G-Da--Hit-H-Flag-Def1---------Def2---------Att1---------COMMENT"});
}
void NewCommandList(std::vector<std::string>& Lines) {
    Fill(Lines, {"CmdNum--Command--Cancel--Std-AmnNum--Vx--Comment"});
}
void NewZCommandList(std::vector<std::string>& Lines) {
    Fill(Lines, {"CmdNum--Command--Cancel--Std-AmnNum--Sh-Sp-Dk--Comment"});
}
void NewVoiceList(std::vector<std::string>& Lines) { Fill(Lines, {"Num--WAVE--------COMMENT"}); }
void NewZVoiceList(std::vector<std::string>& Lines) { Fill(Lines, {"Num--WAVE--------Dp-COMMENT"}); }
void NewEnemyList(std::vector<std::string>& Lines) { Fill(Lines, {"Distance--100--Command--COMMENT"}); }
void NewBitmapList(std::vector<std::string>& Lines) { Lines.clear(); }

void NewQesSource(std::vector<std::string>& Lines) {
    Lines.push_back("QESVer1.1");
    Lines.push_back(
        "FORMAT=#E100[E040[E050[%0@]E300[%1@]E400[%2@]%3@]E050[%4@]%5@]E200[E040[E050[%6@]%7@]E050[%8@]%9@]");
    for (int i = 0; i < 10; ++i) {
        Lines.push_back(Utf8ToCp932(":" + IntToStr(i) + " " + kQesSections[i]));
        Lines.push_back("Distance--100--Command--COMMENT");
        Lines.push_back("\\e");
    }
}

} // namespace quillon
