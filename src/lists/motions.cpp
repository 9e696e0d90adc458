#include "motions.h"

#include "AsciiText.h"
#include "Cp932.h"
#include "MessageBox.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <unordered_map>

namespace quillon {
namespace {

enum class TTokenRule { Standard, ToBlank, De, Ci, V, Rest };

TTokenRule RuleOf(int field) {
    switch (field) {
    case mfPic:
    case mfFlag:
    case mfDef1:
    case mfDef2:
    case mfAtt1: return TTokenRule::ToBlank;
    case mfDe: return TTokenRule::De;
    case mfCi: return TTokenRule::Ci;
    case mfV: return TTokenRule::V;
    case mfComment: return TTokenRule::Rest;
    default: return TTokenRule::Standard;
    }
}

bool IsSign(char c) { return c == '+' || c == '-'; }

// Reads characters from line[p] while keep(c) holds; returns the position of the first that fails.
template <class Keep> size_t TakeWhile(std::string_view line, size_t p, Keep keep) {
    while (p < line.size() && keep(line[p])) ++p;
    return p;
}

size_t TakeDigits(std::string_view line, size_t p) { return TakeWhile(line, p, IsDigit); }

bool DigitAt(std::string_view line, size_t p) { return p < line.size() && IsDigit(line[p]); }

// The end of the token whose first non-blank character is at q.
size_t TokenEnd(std::string_view line, size_t q, TTokenRule rule) {
    const char first = line[q];
    size_t p = q + 1;
    auto notIn = [](std::string_view stops) {
        return [stops](char c) { return stops.find(c) == std::string_view::npos; };
    };
    switch (rule) {
    case TTokenRule::Standard: return TakeWhile(line, p, notIn("\n +-"));
    case TTokenRule::ToBlank: return TakeWhile(line, p, notIn("\n "));
    case TTokenRule::Rest: return line.size();
    case TTokenRule::De:
        if ((first == 'C' || first == 'E' || first == 'T') && p < line.size() && IsSign(line[p]))
            ++p;
        else if (IsSign(first) && DigitAt(line, p))
            ++p;
        return TakeWhile(line, p, notIn("\n +-<>"));
    case TTokenRule::Ci:
        if ((first == '<' || first == '>') && p < line.size() && IsSign(line[p]))
            ++p;
        else if (IsSign(first) && DigitAt(line, p))
            ++p;
        return TakeWhile(line, p, notIn("\n +-"));
    case TTokenRule::V:
        // After a "/" the list goes on only with a digit, or a sign and a digit; otherwise the
        // token ends after the "/" and the next field starts right behind it ("1//2" is V "1/" and
        // Vx "/2"). Lists written by the engine's own tools rely on this cut.
        p = TakeDigits(line, p);
        while (p < line.size() && line[p] == '/') {
            ++p;
            if (DigitAt(line, p))
                p = TakeDigits(line, p);
            else if (p < line.size() && IsSign(line[p]) && DigitAt(line, p + 1))
                p = TakeDigits(line, p + 1);
            else
                break;
        }
        return p;
    }
    return p;
}

bool IsDashOrIntAtLeast(std::string_view text, std::int32_t least) {
    if (text == "-") return true;
    auto value = StrToInt(text);
    return value && *value >= least;
}

// The Num, To and Hit of a data line's fields: Num 0, To -2 and Hit -1 when they are no number.
void ReadNumbers(const std::vector<std::string>& fields, std::int32_t& num, std::int32_t& to, std::int32_t& hit) {
    num = StrToIntDef(Trim(fields[mfNum]), 0);
    to = StrToIntDef(Trim(fields[mfTo]), -2);
    hit = StrToIntDef(Trim(fields[mfHit]), -1);
}

// The fraction "0." + digits as alpha 0..254; nothing when the text is not a number.
std::optional<std::int32_t> AlphaOfFraction(std::string_view digits) {
    std::string text = "0." + std::string(digits);
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    double a = std::trunc(value * 255.0);
    return static_cast<std::int32_t>(std::clamp(a, 0.0, 254.0));
}

// The extended digit alphabet of box codes, in search order.
const std::string& BoxAlphabet() {
    static const std::string alphabet = [] {
        std::string s = "0123456789ABCDEF";
        for (int b = 0x21; b <= 0x7E; ++b)
            if (!IsDigit(static_cast<char>(b)) && !(b >= 'A' && b <= 'F')) s += static_cast<char>(b);
        for (int b = 0xA1; b <= 0xDF; ++b) s += static_cast<char>(b);
        return s;
    }();
    return alphabet;
}

} // namespace

bool MotionFieldPasses(int field, std::string_view token) {
    std::string_view t = Trim(token);
    switch (field) {
    case mfNum: {
        auto value = StrToInt(t);
        return value && *value >= 0;
    }
    case mfTo: return IsDashOrIntAtLeast(t, -1);
    case mfPic: {
        TGroupPictures group;
        return ParsePictureField(t, group);
    }
    case mfCi:
        if (t.size() > 1 && (t.front() == '<' || t.front() == '>')) t.remove_prefix(1);
        return StrToInt(t).has_value();
    case mfHit: return IsDashOrIntAtLeast(t, 0);
    // Taking only the first byte of a double-byte character would cut it in two and shift every
    // later field; the colourer, too, shows such a V as an error, so the line is no data line.
    case mfV: return t.empty() || !IsLeadByte(t.front());
    default: return true;
    }
}

void SplitMotionLine(std::string_view Line, std::vector<std::string>& Fields) {
    Fields.clear();
    size_t p = 0;
    for (int field = 0; field < kMotionFieldCount; ++field) {
        if (field == mfComment) {
            Fields.emplace_back(Line.substr(p));
            return;
        }
        size_t q = p;
        while (q < Line.size() && Line[q] == ' ') ++q;
        if (q >= Line.size()) return;
        if (field == mfNum && !IsDigit(Line[q])) return;
        size_t end = TokenEnd(Line, q, RuleOf(field));
        std::string_view token = Line.substr(p, end - p);
        if (!MotionFieldPasses(field, token)) return;
        Fields.emplace_back(token);
        p = end;
        if (p >= Line.size()) return;
    }
}

bool ParseMotionLine(std::string_view Line, TMotionLineObj& Obj) {
    Obj.Clear();
    std::vector<std::string> fields;
    SplitMotionLine(Line, fields);
    if (fields.size() != kMotionFieldCount) return false;
    std::copy(fields.begin(), fields.end(), Obj.Items.begin());
    Obj.Valid = true;
    ReadNumbers(fields, Obj.Num, Obj.ToNum, Obj.Hit);
    std::string_view ci = Trim(fields[mfCi]);
    if (!ci.empty() && (ci.front() == '<' || ci.front() == '>')) {
        Obj.CiMode = ci.front() == '<' ? 1 : -1;
        ci.remove_prefix(1);
    }
    Obj.CiValue = StrToIntDef(ci, 0);
    DecodeBox(TrimLeft(fields[mfDef1]), Obj.Def1);
    DecodeBox(TrimLeft(fields[mfDef2]), Obj.Def2);
    DecodeBox(TrimLeft(fields[mfAtt1]), Obj.Att1);
    ParsePictureField(fields[mfPic], Obj.Pictures);
    return true;
}

TMotionLineList ParseMotionLines(const std::vector<std::string>& Source) {
    TMotionLineList list(Source.size());
    for (size_t i = 0; i < Source.size(); ++i) {
        list[i].Line = Source[i];
        ParseMotionLine(Source[i], list[i].Obj);
    }
    return list;
}

int SplitByChar(std::vector<std::string>& List, std::string_view Text, char Delimiter) {
    List.clear();
    std::string piece;
    for (char c : Text) {
        if (c == Delimiter) {
            List.push_back(std::move(piece));
            piece.clear();
        } else {
            piece += c;
        }
    }
    if (!piece.empty()) List.push_back(std::move(piece));
    return static_cast<int>(List.size());
}

bool ParsePictureField(std::string_view Text, TGroupPictures& Group) {
    Group.Clear();
    std::vector<std::string> pieces;
    if (SplitByChar(pieces, Trim(Text), ':') == 0) return false;
    std::vector<std::string> items;
    SplitByChar(items, pieces[0], '/');
    for (size_t k = 0; k < items.size() && Group.None == 0; ++k) {
        TPicItemInfo item;
        switch (ParsePicItem(items[k], item)) {
        case -1: break;
        case 0:
            if (k == 0)
                Group.None = 1;
            else
                Group.Items.emplace_back();
            break;
        default: Group.Items.push_back(item); break;
        }
    }
    std::int32_t* params[] = {&Group.Param1, &Group.Param2, &Group.Param3};
    for (size_t k = 1; k < pieces.size() && k <= 3; ++k)
        if (auto value = StrToInt(pieces[k])) *params[k - 1] = *value;
    return Group.None == 1 || !Group.Items.empty();
}

int ParsePicItem(std::string_view Text, TPicItemInfo& Item) {
    Item.Clear();
    std::vector<std::string> parts;
    if (SplitByChar(parts, Text, ',') == 0) return 0;
    int result = ParsePicNumber(parts[0], Item.Number, Item.BlendMode, Item.Alpha);
    if (result <= 0) return result;
    if (parts.size() > 1) Item.Mirror = StrToInt(parts[1]) == 1 ? 1 : 0;
    if (parts.size() > 2 && !parts[2].empty()) {
        switch (parts[2][0]) {
        case '-': Item.BlendMode = 4; break;
        case '*': Item.BlendMode = 5; break;
        case '+': Item.BlendMode = 3; break;
        case 'A':
        case 'a':
            if (parts.size() > 3) {
                if (auto a = StrToInt(parts[3]); a && *a < 255) {
                    Item.BlendMode = 2;
                    Item.Alpha = std::max(*a, 0);
                }
            }
            break;
        default: break;
        }
    }
    if (parts.size() > 4) {
        auto extra = StrToInt(parts[4]);
        Item.Extra = extra && *extra >= 0 ? *extra : -1;
    }
    return 1;
}

int ParsePicNumber(std::string_view Text, std::int32_t& Number, std::int32_t& BlendMode, std::int32_t& Alpha) {
    Number = BlendMode = Alpha = 0;
    if (Text.empty()) return -1;
    size_t p = IsSign(Text[0]) ? 1 : 0;
    p = TakeDigits(Text, p);
    std::string_view number = Text.substr(0, p);
    bool dot = p < Text.size() && Text[p] == '.';
    std::string_view suffix = Text.substr(dot ? p + 1 : p);
    auto value = StrToInt(number);
    if (number == "-" || !value) return 0;
    Number = *value;
    if (suffix.empty()) return 1;
    if (dot) {
        if (auto a = AlphaOfFraction(suffix)) {
            BlendMode = 2;
            Alpha = *a;
        }
    } else {
        switch (suffix[0]) {
        case '*': BlendMode = 5; break;
        case '+': BlendMode = 3; break;
        case '-': BlendMode = 4; break;
        default: break;
        }
    }
    return 1;
}

int BoxDigitValue(char Ch) {
    if (IsDigit(Ch)) return Ch - '0';
    return static_cast<signed char>(Ch) - 55;
}

void DecodeBox(std::string_view Code, TMotionBox& Box) {
    auto v = [&](size_t i) { return i < Code.size() ? BoxDigitValue(Code[i]) : 0; };
    auto negative = [&](size_t i) { return i < Code.size() && Code[i] == '1'; };
    Box = TMotionBox();
    Box.X1 = v(1) * 16 + v(2);
    if (negative(0)) Box.X1 = -Box.X1;
    Box.Y1 = v(3) * 256 + v(4) * 16 + v(5);
    Box.X2 = v(7) * 16 + v(8);
    if (negative(6)) Box.X2 = -Box.X2;
    Box.Y2 = v(9) * 256 + v(10) * 16 + v(11);
}

bool EncodeBoxCoord(std::int32_t Value, std::string& Code) {
    Code.clear();
    if (Value >= 0 && Value <= 255) {
        Code = "0" + IntToHex(static_cast<std::uint32_t>(Value), 2);
        return true;
    }
    if (Value >= -255 && Value < 0) {
        Code = "1" + IntToHex(static_cast<std::uint32_t>(-Value), 2);
        return true;
    }
    const std::string& alphabet = BoxAlphabet();
    for (char c1 : alphabet) {
        for (char c2 : alphabet) {
            std::int64_t w = BoxDigitValue(c1) * 16 + BoxDigitValue(c2);
            if (w == Value)
                Code = {'0', c1, c2};
            else if (w == -static_cast<std::int64_t>(Value))
                Code = {'1', c1, c2};
            if (!Code.empty()) return true;
        }
    }
    return false;
}

bool EncodeBoxSize(std::int32_t Value, std::string& Code) {
    Code.clear();
    if (Value >= 0 && Value <= 4095) {
        Code = IntToHex(static_cast<std::uint32_t>(Value), 3);
        return true;
    }
    const std::string& alphabet = BoxAlphabet();
    for (char c : alphabet) {
        std::int64_t base = BoxDigitValue(c) * 256;
        if (base <= Value && Value <= base + 255) {
            Code = c + IntToHex(static_cast<std::uint64_t>(Value - base), 2);
            return true;
        }
    }
    for (char c1 : alphabet)
        for (char c2 : alphabet) {
            std::int64_t partial = BoxDigitValue(c1) * 256 + BoxDigitValue(c2) * 16;
            // The third digit's values lie within -150..71: skip pairs that cannot reach Value.
            if (Value - partial < -150 || Value - partial > 71) continue;
            for (char c3 : alphabet)
                if (partial + BoxDigitValue(c3) == Value) {
                    Code = {c1, c2, c3};
                    return true;
                }
        }
    return false;
}

namespace {

// The command-line split: blank-separated tokens; the last field is the rest of the line.
void SplitFields(std::string_view line, size_t count, std::vector<std::string>& fields) {
    fields.clear();
    size_t p = 0;
    while (fields.size() < count) {
        if (fields.size() == count - 1) {
            fields.emplace_back(Trim(line.substr(p)));
            return;
        }
        while (p < line.size() && line[p] == ' ') ++p;
        if (p >= line.size()) return;
        if (fields.empty() && !IsDigit(line[p])) return;
        size_t end = TakeWhile(line, p + 1, [](char c) { return c != '\n' && c != ' '; });
        fields.emplace_back(Trim(line.substr(p, end - p)));
        p = end;
        if (p >= line.size()) return;
    }
}

template <int N> bool ParseFields(std::string_view line, TCommandRecord<N>& rec) {
    rec = TCommandRecord<N>();
    std::vector<std::string> fields;
    SplitFields(line, N, fields);
    if (fields.size() != N) return false;
    std::move(fields.begin(), fields.end(), rec.Fields.begin());
    rec.Valid = true;
    return true;
}

template <int N> std::vector<TCommandLineRec<N>> ParseLines(const std::vector<std::string>& source) {
    std::vector<TCommandLineRec<N>> list(source.size());
    for (size_t i = 0; i < source.size(); ++i) {
        list[i].Line = source[i];
        ParseFields(source[i], list[i].Data);
    }
    return list;
}

} // namespace

void SplitCommandLine(std::string_view Line, std::vector<std::string>& Fields) {
    SplitFields(Line, kCommandFieldCount, Fields);
}
void SplitZCommandLine(std::string_view Line, std::vector<std::string>& Fields) {
    SplitFields(Line, kZCommandFieldCount, Fields);
}
bool ParseCommandLine(std::string_view Line, TCommandData& Rec) { return ParseFields(Line, Rec); }
bool ParseZCommandLine(std::string_view Line, TZCommandData& Rec) { return ParseFields(Line, Rec); }
TCommandLineList ParseCommandLines(const std::vector<std::string>& Source) {
    return ParseLines<kCommandFieldCount>(Source);
}
TZCommandLineList ParseZCommandLines(const std::vector<std::string>& Source) {
    return ParseLines<kZCommandFieldCount>(Source);
}

namespace {

const char* const kBadStartNum = "開始番号が数値ではありません";
const char* const kNegativeNum = "番号が 0 より小さくなるためリナンバできません";
const char* const kTooLargeNum = "番号が大きすぎるためリナンバできません";

// What renumbering reads of a line: whether it is a frame, and its Num, To and Hit.
struct TFrameNumbers {
    bool Valid = false;
    std::int32_t Num = 0, ToNum = 0, Hit = 0;
};

TFrameNumbers ReadFrameNumbers(std::string_view line, std::vector<std::string>& fields) {
    TFrameNumbers frame;
    SplitMotionLine(line, fields);
    if (fields.size() == kMotionFieldCount) {
        frame.Valid = true;
        ReadNumbers(fields, frame.Num, frame.ToNum, frame.Hit);
    }
    return frame;
}

int FirstFrame(const std::vector<TFrameNumbers>& frames, int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, static_cast<int>(frames.size()) - 1);
    for (int i = first; i <= last; ++i)
        if (frames[i].Valid) return i;
    return -1;
}

std::string NumberText(std::int64_t value, size_t width) {
    std::string text = IntToStr(value);
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

// A reference field in five columns; a longer number keeps one blank in front so that it stays a
// field of its own.
std::string ReferenceText(std::int64_t value) {
    std::string text = NumberText(value, 5);
    return text[0] == ' ' ? text : " " + text;
}

const std::int64_t kUnchanged = -1;

// The new numbers: of every frame renumbered (kUnchanged for the other lines), and for each old
// number the new number of the first frame that had it, which the To and Hit fields that point at
// that number take. A reference is rewritten at most once, so one already moved to a number that a
// later frame of the range still has is not moved again.
struct TRenumberPlan {
    std::vector<std::int64_t> NewNum;
    std::unordered_map<std::int32_t, std::int64_t> NewOf;
    const char* Warning = nullptr; // a number would fall outside 0..2^31-1

    std::int64_t Reference(std::int32_t old) const {
        auto found = NewOf.find(old);
        return found == NewOf.end() ? kUnchanged : found->second;
    }
};

// The frames in the order they come, serially from start or shifted by start - old0; with
// duplicates every frame of an old number already given a new one takes that.
TRenumberPlan PlanRenumber(const std::vector<TFrameNumbers>& frames, int first, int last,
                           const TRenumberRequest& request, std::int32_t start, std::int32_t old0) {
    TRenumberPlan plan;
    plan.NewNum.assign(frames.size(), kUnchanged);
    std::int64_t next = start;
    for (int i = first; i <= last; ++i) {
        if (!frames[i].Valid) continue;
        const std::int32_t old = frames[i].Num;
        const std::int64_t given = request.Duplicates ? plan.Reference(old) : kUnchanged;
        if (given != kUnchanged) {
            plan.NewNum[i] = given;
            continue;
        }
        const std::int64_t now = request.OffsetMode ? std::int64_t(old) + start - old0 : next++;
        if (now < 0 && !plan.Warning) plan.Warning = kNegativeNum;
        if (now > std::numeric_limits<std::int32_t>::max() && !plan.Warning) plan.Warning = kTooLargeNum;
        plan.NewNum[i] = now;
        plan.NewOf.try_emplace(old, now);
    }
    return plan;
}

// Line with its new Num, To and Hit (kUnchanged: the field stays); every other field keeps its text.
std::string RenumberedLine(std::string_view line, std::int64_t num, std::int64_t to, std::int64_t hit,
                           std::vector<std::string>& fields) {
    SplitMotionLine(line, fields);
    if (num != kUnchanged) fields[mfNum] = NumberText(num, 4);
    if (to != kUnchanged) fields[mfTo] = ReferenceText(to);
    if (hit != kUnchanged) fields[mfHit] = ReferenceText(hit);
    std::string out;
    out.reserve(line.size() + 8);
    for (const std::string& field : fields) out += field;
    return out;
}

void Warn(const char* text) { Messages().Show(text, "エラー", TMsgIcon::Warning, TMsgButtons::OK); }

// The lines of a parsed motion-line list, read in place.
class TMotionListLines : public TLineSource {
public:
    explicit TMotionListLines(const TMotionLineList& List) : FList(List) {}
    std::size_t Count() const override { return FList.size(); }
    std::string_view Line(std::size_t Index, std::string&) const override { return FList[Index].Line; }

private:
    const TMotionLineList& FList;
};

} // namespace

int FindNextMotionLine(const TMotionLineList& List, int First, int Last) {
    First = std::max(First, 0);
    Last = std::min(Last, static_cast<int>(List.size()) - 1);
    for (int i = First; i <= Last; ++i)
        if (List[i].Obj.Valid) return i;
    return -1;
}

int FindNextMotionLine(const TLineSource& Source, int First, int Last) {
    First = std::max(First, 0);
    Last = std::min(Last, static_cast<int>(Source.Count()) - 1);
    std::vector<std::string> fields;
    std::string buffer;
    for (int i = First; i <= Last; ++i)
        if (ReadFrameNumbers(Source.Line(i, buffer), fields).Valid) return i;
    return -1;
}

bool RenumberMotionLines(const TLineSource& Source, int First, int Last, const TRenumberAsk& Ask,
                         const TLineSink& Sink) {
    std::vector<std::string> fields;
    std::string buffer;
    std::vector<TFrameNumbers> frames(Source.Count());
    for (size_t i = 0; i < frames.size(); ++i) frames[i] = ReadFrameNumbers(Source.Line(i, buffer), fields);
    const int f = FirstFrame(frames, First, Last);
    if (f < 0) return false;
    Last = std::min(Last, static_cast<int>(frames.size()) - 1);
    const std::int32_t old0 = frames[f].Num;
    TRenumberRequest request;
    request.StartNum = IntToStr(old0);
    if (!Ask(old0, request)) return false;
    std::optional<std::int32_t> start = StrToInt(Trim(request.StartNum));
    if (!start) {
        Warn(kBadStartNum);
        return false;
    }
    if (request.OffsetMode && *start == old0) return false;
    const TRenumberPlan plan = PlanRenumber(frames, f, Last, request, *start, old0);
    if (plan.Warning) {
        Warn(plan.Warning);
        return false;
    }
    const int reachFirst = request.JumpMode == rjInRange ? f : 0;
    const int reachLast = request.JumpMode == rjInRange ? Last : static_cast<int>(frames.size()) - 1;
    for (size_t i = 0; i < frames.size(); ++i) {
        const std::string_view line = Source.Line(i, buffer);
        const TFrameNumbers& frame = frames[i];
        const int j = static_cast<int>(i);
        const bool follows = request.JumpMode != rjNone && frame.Valid && j >= reachFirst && j <= reachLast;
        const std::int64_t to = follows ? plan.Reference(frame.ToNum) : kUnchanged;
        const std::int64_t hit = follows ? plan.Reference(frame.Hit) : kUnchanged;
        if (plan.NewNum[i] == kUnchanged && to == kUnchanged && hit == kUnchanged)
            Sink(line);
        else
            Sink(RenumberedLine(line, plan.NewNum[i], to, hit, fields));
    }
    return true;
}

bool RenumberMotionLines(TMotionLineList& List, int First, int Last, const TRenumberAsk& Ask) {
    std::vector<std::string> lines;
    lines.reserve(List.size());
    if (!RenumberMotionLines(TMotionListLines(List), First, Last, Ask,
                             [&lines](std::string_view line) { lines.emplace_back(line); }))
        return false;
    for (size_t i = 0; i < List.size(); ++i) {
        if (lines[i] == List[i].Line) continue;
        List[i].Line = std::move(lines[i]);
        ParseMotionLine(List[i].Line, List[i].Obj);
    }
    return true;
}

} // namespace quillon
