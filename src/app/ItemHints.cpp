#include "ItemHints.h"

#include "AsciiText.h"
#include "CommandColourer.h"
#include "Cp932.h"
#include "ListKinds.h"
#include "MessageBox.h"
#include "MotionColourer.h"
#include "Paths.h"
#include "StdEnemyColourer.h"
#include "canpe.h"
#include "motions.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace quillon {

namespace {

std::string Quoted(std::string_view Token) { return Cp932ToUtf8(Token); }

// The byte at 1-based position Pos of Token, or nothing when Token is shorter.
std::optional<char> CharAt(std::string_view Token, std::size_t Pos) {
    if (Pos < 1 || Pos > Token.size()) return std::nullopt;
    return Token[Pos - 1];
}

int Code(char C) { return static_cast<unsigned char>(C); }

// Text when Value is listed in Texts (index = value), else Label followed by the token.
template <std::size_t N>
std::string NumberedText(std::string_view Label, std::string_view Token, const std::array<const char*, N>& Texts) {
    const std::optional<std::int32_t> n = StrToInt(Token);
    if (n && *n >= 0 && static_cast<std::size_t>(*n) < N)
        return std::string(Label) + Texts[static_cast<std::size_t>(*n)];
    return std::string(Label) + Quoted(Token);
}

std::string DeHint(std::string_view Token) {
    std::string_view rest = Token;
    std::string suffix;
    if (!rest.empty()) {
        switch (rest.front()) {
        case 'C': suffix = " (自ｷｬﾗ相対)"; break;
        case 'E': suffix = " (敵ｷｬﾗ相対)"; break;
        case 'T': suffix = " (ﾀｰｹﾞｯﾄ相対)"; break;
        }
        if (!suffix.empty()) rest.remove_prefix(1);
    }
    const std::optional<std::int32_t> n = StrToInt(rest);
    return n ? "De: " + IntToStr(*n) + suffix : "De: " + Quoted(Token);
}

std::string CiHint(std::string_view Token) {
    static constexpr std::pair<int, const char*> texts[] = {
        {-1, "復帰待ち"},
        {0, "立ち"},
        {1, "後退"},
        {2, "前進"},
        {10, "しゃがみ"},
        {20, "垂直ジャンプ"},
        {21, "後方ジャンプ"},
        {22, "前方ジャンプ"},
        {23, "ジャンプ（攻撃できない）"},
        {30, "上段ガード"},
        {31, "下段ガード"},
        {40, "通常技／立ち"},
        {41, "通常技／しゃがみ"},
        {42, "通常技／ジャンプ"},
        {43, "必殺技"},
        {44, "必殺技／無敵"},
        {45, "超必殺技"},
        {46, "超必殺技／無敵"},
        {50, "立ち食らい"},
        {51, "しゃがみ食らい"},
        {52, "空中食らい"},
        {53, "起き上がり中等の無敵時間（攻撃判定なし）"},
    };
    if (const std::optional<std::int32_t> n = StrToInt(Token))
        for (auto [value, text] : texts)
            if (value == *n) return std::string("Ci: ") + text;
    return "Ci: " + Quoted(Token);
}

constexpr std::array<const char*, 10> kMoveTexts = {"移動量保存、自分基準移動",
                                                    "移動後移動量０リセット、自分基準移動",
                                                    "移動量保存、速度加算移動",
                                                    "移動量不変、オフセット移動",
                                                    "移動量保存、速度自キャラ基準移動",
                                                    "移動量保存、速度敵キャラ基準移動",
                                                    "移動後移動量０リセット、自キャラ基準移動",
                                                    "移動後移動量０リセット、敵キャラ基準移動",
                                                    "画面基準移動",
                                                    "ステージ基準移動"};

constexpr std::array<const char*, 7> kClTexts = {"小食らい",
                                                 "大食らい、",
                                                 "ダウン",
                                                 "大きくダウン",
                                                 "浮かせ（追い打ち２ＨＩＴ）",
                                                 "浮かせ（追い打ち１ＨＩＴのみ）、",
                                                 "ふらふら"};

std::string GHint(std::string_view Token) {
    static constexpr std::pair<std::string_view, const char*> texts[] = {
        {"U", "上段"},
        {"M", "中段"},
        {"D", "下段"},
        {"X", "投げ(ｶﾞｰﾄﾞ不能技)"},
        {"T", "地上投げ"},
        {"TG", "地上投げ"},
        {"TA", "空中投げ"},
        {"TX", "特殊投げ"},
        {"H", "強制ﾋｯﾄ"},
        {"N", "演出用"},
        {"N2", "演出用(ﾋｯﾄｽﾄｯﾌﾟで止まる)"},
    };
    for (auto [code, text] : texts)
        if (code == Token) return std::string("G: ") + text;
    return "G: " + Quoted(Token);
}

// The text that a digit "1".."N" at a Flag position gives, or nothing.
template <std::size_t N> const char* DigitText(char C, const std::array<const char*, N>& Texts) {
    return C >= '1' && static_cast<std::size_t>(C - '1') < N ? Texts[static_cast<std::size_t>(C - '1')] : nullptr;
}

// Position 8 and 9: the gauge changes by the character's distance from "0".
std::string GaugeLine(const char* Gauge, char C) {
    const int n = Code(C) - Code('0');
    return n >= 0 ? Gauge + IntToStr(n) + " Dot増加" : Gauge + IntToStr(-n) + " Dot減少";
}

// Position 11 and 12: "-" is no stop; a character above "0" stops for its distance from "0".
std::string StopLine(const char* Stop, char C) {
    if (C == '-') return std::string(Stop) + "0 ﾌﾚｰﾑ";
    if (Code(C) > Code('0')) return Stop + IntToStr(Code(C) - Code('0')) + " ﾌﾚｰﾑ";
    return {};
}

// The line that the character C at 1-based Flag position Pos adds ("" for none).
std::string FlagLine(std::size_t Pos, char C) {
    static constexpr std::array<const char*, 3> branch = {"ﾋｯﾄ or ｶﾞｰﾄﾞで分岐", "ﾋｯﾄで分岐", "ｶﾞｰﾄﾞで分岐"};
    static constexpr std::array<const char*, 3> targetBranch = {"ﾋｯﾄ or ｶﾞｰﾄﾞで対象物食らい分岐",
                                                                "ﾋｯﾄで対象物食らい分岐", "ｶﾞｰﾄﾞで対象物食らい分岐"};
    static constexpr std::array<const char*, 7> turn = {
        "通常振り向き", "背中見せ", "現在と逆方向向き", "敵キャラ向きと同向き", "敵キャラ向きと逆向き",
        "右向き",       "左向き"};
    static constexpr std::array<const char*, 4> element = {"炎", "青い炎", "雷", "毒"};
    static constexpr std::array<const char*, 8> target = {
        "自ｷｬﾗのみに当たる",         "敵ｷｬﾗにも自ｷｬﾗにも当たる",          "敵ｷｬﾗ本体のみに当たる",
        "自ｷｬﾗ本体のみに当たる",     "敵ｷｬﾗにも自ｷｬﾗにも当たる(本体)",    "敵ｷｬﾗ飛び道具のみに当たる",
        "自ｷｬﾗ飛び道具のみに当たる", "敵ｷｬﾗにも自ｷｬﾗにも当たる(飛び道具)"};
    const char* text = nullptr;
    switch (Pos) {
    case 1: return "飛び道具 " + Quoted(std::string_view(&C, 1)) + " 発射";
    case 2: text = DigitText(C, branch); break;
    case 3: text = DigitText(C, targetBranch); break;
    case 4: text = DigitText(C, turn); break;
    case 5: return C >= '1' && C <= '9' ? std::string("ﾗﾝﾀﾞﾑ分岐 ") + C + "0%" : std::string();
    case 6: text = DigitText(C, element); break;
    case 7: return "暗転時動作可";
    case 8: return GaugeLine("ｶﾞｰﾄﾞｹﾞｰｼ ", C);
    case 9: return GaugeLine("超技ｹﾞｰｼ ", C);
    case 10: text = DigitText(C, target); break;
    case 11: return StopLine("ﾋｯﾄｽﾄｯﾌﾟ ", C);
    case 12: return StopLine("ｶﾞｰﾄﾞｽﾄｯﾌﾟ ", C);
    }
    return text ? text : "";
}

std::string FlagHint(std::string_view Token) {
    std::string lines;
    for (std::size_t pos = 1; pos <= 12; ++pos) {
        const std::optional<char> c = CharAt(Token, pos);
        if (!c || *c == '0') continue;
        const std::string line = FlagLine(pos, *c);
        if (!line.empty()) lines += line + "\r\n";
    }
    if (lines.empty()) return "Flag: なし";
    lines.resize(lines.size() - 2);
    return "Flag 設定値\r\n" + lines;
}

std::string BoxHint(std::string_view Label, std::string_view Token) {
    TMotionBox box;
    DecodeBox(Token, box);
    return std::string(Label) + "(" + IntToStr(box.X1) + ", " + IntToStr(box.Y1) + ")-(" + IntToStr(box.X2) + ", " +
           IntToStr(box.Y2) + ")";
}

// Each listed character at positions 2..4 of an enemy condition, by position.
const char* ConditionLine(std::size_t Pos, char C) {
    static constexpr std::array<const char*, 5> place = {" 位置 ：条件なし\r\n", " 位置 ：地上にいる\r\n",
                                                         " 位置 ：空中にいる\r\n", " 位置 ：立っている\r\n",
                                                         " 位置 ：しゃがんでいる\r\n"};
    static constexpr std::array<const char*, 10> state = {" 状態 ：条件なし\r\n",
                                                          " 状態 ：攻撃状態\r\n",
                                                          " 状態 ：防御状態\r\n",
                                                          " 状態 ：食らい状態\r\n",
                                                          " 状態 ：非無敵状態\r\n",
                                                          " 状態 ：打撃攻撃判定有り\r\n",
                                                          " 状態 ：上中段打撃攻撃判定有り\r\n",
                                                          " 状態 ：下段打撃攻撃判定有り\r\n",
                                                          " 状態 ：ｷｬﾝｾﾙ(2～4)or通常技が出せる\r\n",
                                                          " 状態 ：ｷｬﾝｾﾙ(1以下)or通常技が出せる\r\n"};
    static constexpr std::array<const char*, 10> gauge = {
        "ゲージ：条件なし",     "ゲージ：１ゲージ以上", "ゲージ：２ゲージ以上", "ゲージ：３ゲージ以上",
        "ゲージ：４ゲージ以上", "ゲージ：５ゲージ以上", "ゲージ：６ゲージ以上", "ゲージ：７ゲージ以上",
        "ゲージ：８ゲージ以上", "ゲージ：９ゲージ以上"};
    if (C < '0' || C > '9') return nullptr;
    const auto digit = static_cast<std::size_t>(C - '0');
    switch (Pos) {
    case 2: return digit < place.size() ? place[digit] : nullptr;
    case 3: return state[digit];
    case 4: return gauge[digit];
    }
    return nullptr;
}

} // namespace

std::string_view ItemHintFile(int ListKind) {
    return ListKind >= 0 && ListKind < kListKindCount ? ListKindInfo(ListKind).HintFile : std::string_view();
}

std::string_view ItemHintKeyword(int ListKind, int TokenKind) {
    if (ListKind < 0 || ListKind >= kListKindCount) return {};
    for (auto [kind, keyword] : ListKindInfo(ListKind).HintKeywords)
        if (kind == TokenKind) return keyword;
    return {};
}

bool HasItemHint(int ListKind, int TokenKind) {
    if (!ItemHintKeyword(ListKind, TokenKind).empty()) return true;
    if (ListKind < 0 || ListKind >= kListKindCount) return false;
    const std::vector<int>& silent = ListKindInfo(ListKind).HintKindsWithoutKeyword;
    return std::find(silent.begin(), silent.end(), TokenKind) != silent.end();
}

bool ItemHintLookup(const std::vector<std::filesystem::path>& Folders, int ListKind, int TokenKind, std::string& Title,
                    std::string& Body) {
    const std::string_view keyword = ItemHintKeyword(ListKind, TokenKind);
    if (keyword.empty() || Folders.empty()) return false;
    const std::string name(ItemHintFile(ListKind));
    std::filesystem::path file = Folders.front() / name;
    for (const std::filesystem::path& folder : Folders)
        if (std::optional<std::filesystem::path> found = FindFileNoCase(folder, name)) {
            file = *found;
            break;
        }
    if (!LookupItemHint(file, keyword, Title, Body)) return false;
    if (!Title.empty() && !Body.empty()) return true;
    Messages().Show("この項目に関してのヒントはありません", "項目ヒント", TMsgIcon::Information, TMsgButtons::OK);
    return false;
}

bool MotionLineHint(int Kind, std::string_view Token, std::string& Text) {
    switch (Kind) {
    case mtDe: Text = DeHint(Token); return true;
    case mtCi: Text = CiHint(Token); return true;
    case mtRx: Text = NumberedText("Rx: ", Token, kMoveTexts); return true;
    case mtRy: Text = NumberedText("Ry: ", Token, kMoveTexts); return true;
    case mtCL: Text = NumberedText("CL: ", Token, kClTexts); return true;
    case mtG: Text = GHint(Token); return true;
    case mtFlag: Text = FlagHint(Token); return true;
    case mtDef1: Text = BoxHint("Def1: ", Token); return true;
    case mtDef2: Text = BoxHint("Def2: ", Token); return true;
    case mtAtt1: Text = BoxHint("Att1: ", Token); return true;
    }
    return false;
}

bool CommandLineHint(int Kind, std::string_view Token, std::string& Text) {
    std::string list;
    if (Kind == ctCmdCancel) {
        for (std::size_t i = 1; i <= Token.size(); ++i)
            if (Token[i - 1] == '1') list += IntToStr(5 - static_cast<std::int64_t>(i)) + ", ";
        Text = list.empty() ? "Cancel: なし" : "Cancel: " + list.substr(0, list.size() - 2);
        return true;
    }
    if (Kind == ctCmdStd) {
        static constexpr std::array<const char*, 3> stances = {"空中/", "しゃがみ/", "立ち/"};
        for (std::size_t i = 1; i <= stances.size(); ++i)
            if (const std::optional<char> c = CharAt(Token, i); c && *c != '0') list += stances[i - 1];
        Text = list.empty() ? "Std: なし" : "Std: " + list.substr(0, list.size() - 1);
        return true;
    }
    return false;
}

bool EnemyConditionHint(int Kind, std::string_view Token, std::string& Text) {
    if ((Kind != etEnemy && Kind != etMySelf) || Token.size() < 4) return false;
    std::string text;
    switch (Token[0]) {
    case 'E':
    case 'e': text = "＜敵条件＞\r\n"; break;
    case 'C':
    case 'c': text = "＜自キャラ条件＞\r\n"; break;
    default: return false;
    }
    for (std::size_t pos = 2; pos <= 4; ++pos) {
        const char* line = ConditionLine(pos, Token[pos - 1]);
        if (!line) return false;
        text += line;
    }
    if (CharAt(Token, 5) == '#') text += "\r\n以上の条件を満たすまで待機";
    Text = text;
    return true;
}

bool ItemDescription(int ListKind, int Kind, std::string_view Token, std::string& Text) {
    switch (ListKind) {
    case lkMotion: return MotionLineHint(Kind, Token, Text);
    case lkCommand:
    case lkZCommand: return CommandLineHint(Kind, Token, Text);
    case lkEnemy:
    case lkQes: return EnemyConditionHint(Kind, Token, Text);
    }
    return false;
}

} // namespace quillon
