#include "Formatter.h"

#include "Strutil.h"
#include "motions.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace quillon {
namespace {

// The trimmed field texts of a data line; all but the last non-empty.
using TFields = std::vector<std::string>;
using TSplit = void (*)(std::string_view, std::vector<std::string>&);

// Fields := the trimmed fields of Line when it splits into Count fields. A line with a field (other
// than the last) that trims away entirely is no data line to a formatter, as its rebuilt form could
// not keep that field.
bool DataFields(std::string_view line, TSplit split, size_t count, TFields& fields) {
    split(line, fields);
    if (fields.size() != count) return false;
    for (std::string& field : fields) field = TrimZenkaku(field);
    return std::none_of(fields.begin(), fields.end() - 1, [](const std::string& field) { return field.empty(); });
}

void PadTo(std::string& text, size_t width, char fill) {
    if (text.size() < width) text.append(width - text.size(), fill);
}

void AppendRight(std::string& out, std::string_view text, size_t width, char fill = ' ') {
    if (width > text.size()) out.append(width - text.size(), fill);
    out += text;
}

void AppendLeft(std::string& out, std::string_view text, size_t width, char fill = ' ') {
    out += text;
    if (width > text.size()) out.append(width - text.size(), fill);
}

bool StartsWithSign(std::string_view text) { return !text.empty() && (text[0] == '+' || text[0] == '-'); }
bool EndsWithDigit(std::string_view text) { return !text.empty() && text.back() >= '0' && text.back() <= '9'; }

void AppendComment(std::string& out, const std::string& comment, bool addSemiColon) {
    if (addSemiColon && (comment.empty() || comment[0] != ';')) out += ';';
    out += comment;
}

// A title line: a run of at least minDashes "-", then name, then more.
bool IsTitleLine(std::string_view line, std::string_view name, size_t minDashes) {
    size_t dashes = line.find_first_not_of('-');
    if (dashes == std::string_view::npos || dashes < minDashes) return false;
    return line.size() > dashes + name.size() && line.substr(dashes, name.size()) == name;
}

// The first pass: Measure gets the fields of every data line of Source, in order.
template <class Measure> void MeasureLines(const TLineSource& source, TSplit split, size_t count, Measure measure) {
    TFields fields;
    std::string buffer;
    for (size_t i = 0; i < source.Count(); ++i)
        if (DataFields(source.Line(i, buffer), split, count, fields)) measure(fields);
}

// The second pass: every data line of Source rebuilt by Write, every other line as it is except
// that, when title is given, the first title line is replaced by it.
template <class Write>
void WriteLines(const TLineSource& source, TSplit split, size_t count, const std::string* title, std::string_view name,
                size_t minDashes, Write write, const TLineSink& sink) {
    TFields fields;
    std::string buffer, out;
    for (size_t i = 0; i < source.Count(); ++i) {
        const std::string_view line = source.Line(i, buffer);
        if (DataFields(line, split, count, fields)) {
            out.clear();
            write(fields, out);
            sink(out);
        } else if (title && IsTitleLine(line, name, minDashes)) {
            sink(*title);
            title = nullptr;
        } else {
            sink(line);
        }
    }
}

// Cuts trailing "0" from a flag while it is longer than minWidth.
void CutZeros(std::string& flag, size_t minWidth) {
    while (flag.size() > minWidth && flag.back() == '0') flag.pop_back();
}

// ---- Motion lists

struct TColumn {
    int Field;
    size_t MinWidth;
    std::string_view Name;
};

// Right-aligned columns, each one blank wider than its longest field unless the widest fields dock.
constexpr TColumn kMoveColumns[] = {
    {mfTo, 5, "To"}, {mfSp, 3, "Sp"}, {mfPic, 4, "Pic"}, {mfDe, 3, "De"}, {mfCi, 3, "Ci"}};
constexpr TColumn kSpeedColumns[] = {{mfRx, 2, "Rx"}, {mfVy, 4, "Vy"}, {mfRy, 2, "Ry"}, {mfC, 2, "C"}, {mfCL, 3, "CL"}};
constexpr TColumn kHitColumns[] = {{mfHit, 5, "Hit"}, {mfH, 2, "H"}};
constexpr TColumn kBoxColumns[] = {
    {mfDef1, 12, "Def1--------"}, {mfDef2, 12, "Def2--------"}, {mfAtt1, 12, "Att1--------"}};
const size_t kFlagMinWidth = 4;

// The widest field of column k and whether every field of that width may touch the field before
// it: it starts with a sign (the first widest Ci also with "<" or ">"), has two or more characters
// and follows a field that ends in a digit. Fed the data lines in order.
struct TWidest {
    size_t Longest = 0;
    bool Docks = true;

    void Add(const TFields& fields, int k) {
        const std::string& f = fields[k];
        bool signedAfterDigit = f.size() >= 2 && EndsWithDigit(fields[k - 1]);
        if (f.size() > Longest) {
            Longest = f.size();
            bool mark = StartsWithSign(f) || (k == mfCi && (f[0] == '<' || f[0] == '>'));
            Docks = mark && signedAfterDigit;
        } else if (f.size() == Longest && !(StartsWithSign(f) && signedAfterDigit)) {
            Docks = false;
        }
    }
};

// Field k follows the field before it after a blank, or touching it when it may dock.
bool AttachedBlank(const TFields& fields, int k, bool dock) {
    return !(dock && StartsWithSign(fields[k]) && EndsWithDigit(fields[k - 1]));
}

// What a line puts from the end of the column before an attached field k to the end of the column
// k + 1 that ends in a common column: the attached field with its blank, and field k + 1 with a
// blank unless it may touch the attached field.
size_t AttachedAndEnd(const TFields& fields, int k, bool dock) {
    const std::string& end = fields[k + 1];
    bool touches = dock && end.size() >= 2 && StartsWithSign(end) && EndsWithDigit(fields[k]);
    return AttachedBlank(fields, k, dock) + fields[k].size() + (touches ? 0 : 1) + end.size();
}

// The motion columns over all data lines, gathered in the first pass.
class TMotionMeasure {
public:
    explicit TMotionMeasure(const TMotionFormatterOptions& options) : FOptions(options) {}

    void Add(const TFields& fields) {
        const bool dock = FOptions.CanDockMinus();
        FAny = true;
        for (int k = 0; k < kMotionFieldCount; ++k) FLongest[k] = std::max(FLongest[k], fields[k].size());
        for (int k = mfTo; k <= mfH; ++k) FWidest[k].Add(fields, k);
        FVxTail = std::max(FVxTail, AttachedAndEnd(fields, mfV, dock));
        FDaTail = std::max(FDaTail, AttachedAndEnd(fields, mfG, dock));
        std::string flag = fields[mfFlag];
        if (FOptions.FlagMethod() == fmCutZeros) CutZeros(flag, kFlagMinWidth);
        FLongestFlag = std::max(FLongestFlag, flag.size());
    }

    bool Any() const { return FAny; }
    size_t Longest(int k) const { return FLongest[k]; }
    const TWidest& Widest(int k) const { return FWidest[k]; }
    size_t VxTail() const { return FVxTail; }
    size_t DaTail() const { return FDaTail; }
    // The longest flag as written: cut, or padded to the longest.
    size_t LongestFlag() const {
        if (FOptions.FlagMethod() == fmPadZeros) return FAny ? std::max(FLongest[mfFlag], kFlagMinWidth) : 0;
        return FLongestFlag;
    }

private:
    const TMotionFormatterOptions& FOptions;
    bool FAny = false;
    std::array<size_t, kMotionFieldCount> FLongest{};
    std::array<TWidest, kMotionFieldCount> FWidest{};
    size_t FVxTail = 0, FDaTail = 0; // the most AttachedAndEnd gives for V and Vx, for G and Da
    size_t FLongestFlag = 0;         // after cutting zeros
};

// Where every motion column goes, and the title line that matches, from the measured columns.
class TMotionLayout {
public:
    TMotionLayout(const TMotionMeasure& measure, const TMotionFormatterOptions& options) : FOptions(options) {
        FWidth[mfNum] = std::max(measure.Longest(mfNum), size_t{4});
        AppendRight(FTitle, "Num", FWidth[mfNum], '-');
        SignedColumns(measure, kMoveColumns);
        FTitle += "-V";
        FVxEnd = EndColumn(measure.Any() ? FTitle.size() - 2 + measure.VxTail() : 0, 29, "Vx");
        SignedColumns(measure, kSpeedColumns);
        FTitle += "-G";
        FDaEnd = EndColumn(measure.Any() ? FVxEnd + Sum(kSpeedColumns) + measure.DaTail() : 0, 47, "Da");
        SignedColumns(measure, kHitColumns);
        FPadFlagsTo = options.FlagMethod() == fmPadZeros ? measure.LongestFlag() : 0;
        const size_t flagWidth = std::max(measure.LongestFlag(), kFlagMinWidth);
        FFlagWidth = options.FlagAlign() ? flagWidth : kFlagMinWidth;
        FTitle += '-';
        AppendLeft(FTitle, "Flag", FFlagWidth, '-');
        FTitle += '-';
        for (const TColumn& box : kBoxColumns) {
            FWidth[box.Field] = std::max(measure.Longest(box.Field), box.MinWidth);
            AppendLeft(FTitle, box.Name, FWidth[box.Field], '-');
            if (box.Field != mfAtt1) FTitle += '-';
        }
        // Every line is as long before its comment, but for flags longer than the aligned width.
        const size_t longest = FDaEnd + Sum(kHitColumns) + 1 + flagWidth + Sum(kBoxColumns) + std::size(kBoxColumns);
        FCommentStart = std::max<size_t>(measure.Any() ? longest : 0, 1);
        PadTo(FTitle, FCommentStart, '-');
        FTitle += "-COMMENT";
    }

    const std::string& Title() const { return FTitle; }

    void Write(TFields& f, std::string& out) const {
        const bool dock = FOptions.CanDockMinus();
        AppendRight(out, f[mfNum], FWidth[mfNum]);
        WriteColumns(f, kMoveColumns, out);
        WriteAttached(f, mfV, dock, out);
        WriteEnd(f[mfVx], FVxEnd, out);
        WriteColumns(f, kSpeedColumns, out);
        WriteAttached(f, mfG, dock, out);
        WriteEnd(f[mfDa], FDaEnd, out);
        WriteColumns(f, kHitColumns, out);
        std::string& flag = f[mfFlag];
        if (FOptions.FlagMethod() == fmCutZeros) CutZeros(flag, kFlagMinWidth);
        PadTo(flag, FPadFlagsTo, '0');
        out += ' ';
        AppendLeft(out, flag, FFlagWidth);
        for (const TColumn& box : kBoxColumns) {
            out += ' ';
            AppendLeft(out, f[box.Field], FWidth[box.Field]);
        }
        PadTo(out, FCommentStart, ' ');
        out += ' ';
        AppendComment(out, f[mfComment], FOptions.AddSemiColon());
    }

private:
    template <size_t N> size_t Sum(const TColumn (&columns)[N]) const {
        size_t sum = 0;
        for (const TColumn& column : columns) sum += FWidth[column.Field];
        return sum;
    }

    template <size_t N> void SignedColumns(const TMotionMeasure& measure, const TColumn (&columns)[N]) {
        for (const TColumn& column : columns) {
            const TWidest& widest = measure.Widest(column.Field);
            bool docks = widest.Docks && FOptions.CanDockMinus() && column.Field != mfDe;
            FWidth[column.Field] = std::max(widest.Longest + (docks ? 0 : 1), column.MinWidth);
            AppendRight(FTitle, column.Name, FWidth[column.Field], '-');
        }
    }

    // The common column where a column ends: the furthest any line reaches, at least minEnd.
    size_t EndColumn(size_t reach, size_t minEnd, std::string_view name) {
        const size_t end = std::max(reach, minEnd);
        PadTo(FTitle, end - name.size(), '-');
        FTitle += name;
        return end;
    }

    template <size_t N> void WriteColumns(const TFields& f, const TColumn (&columns)[N], std::string& out) const {
        for (const TColumn& column : columns) AppendRight(out, f[column.Field], FWidth[column.Field]);
    }

    static void WriteAttached(const TFields& f, int k, bool dock, std::string& out) {
        if (AttachedBlank(f, k, dock)) out += ' ';
        out += f[k];
    }

    static void WriteEnd(const std::string& field, size_t end, std::string& out) {
        PadTo(out, end - field.size(), ' ');
        out += field;
    }

    const TMotionFormatterOptions& FOptions;
    std::array<size_t, kMotionFieldCount> FWidth{};
    size_t FVxEnd = 0, FDaEnd = 0;
    size_t FPadFlagsTo = 0; // with fmPadZeros; else 0
    size_t FFlagWidth = 0;
    size_t FCommentStart = 0;
    std::string FTitle;
};

// ---- Command lists

// A column that ends in a common column, its title after a run of "-".
struct TEndColumn {
    int Field;
    std::string_view Name;
    size_t Dashes; // the title's "-" in front of the name at the narrowest
};

const size_t kCancelMinWidth = 5;
const size_t kStdStart = 25;
const std::string_view kLoneDash = "    -"; // a lone "-" in the Cancel column: no flag

// The command columns over all data lines, gathered in the first pass.
class TCommandMeasure {
public:
    TCommandMeasure(size_t count, const TFormatterOptions& options) : FLongest(count), FOptions(options) {}

    void Add(const TFields& fields) {
        FAny = true;
        for (size_t k = 0; k < fields.size(); ++k) FLongest[k] = std::max(FLongest[k], fields[k].size());
        const size_t amnNum = fields[cfAmnNum].size();
        if (fields[cfCancel] == "-") {
            FDashAmnNum = std::max(FDashAmnNum, amnNum);
            FCutCancelAmnNum = std::max(FCutCancelAmnNum, kLoneDash.size() + amnNum);
            return;
        }
        FFlagAmnNum = std::max(FFlagAmnNum, amnNum);
        std::string flag = fields[cfCancel];
        if (FOptions.FlagMethod() == fmCutZeros) CutZeros(flag, kCancelMinWidth);
        FLongestCutFlag = std::max(FLongestCutFlag, flag.size());
        FCutCancelAmnNum = std::max(FCutCancelAmnNum, std::max(flag.size(), kCancelMinWidth) + amnNum);
    }

    bool Any() const { return FAny; }
    size_t Longest(int k) const { return FLongest[k]; }
    // The width flags are padded to with fmPadZeros.
    size_t PaddedFlags() const { return std::max(FLongest[cfCancel], kCancelMinWidth); }
    // The longest flag as written (a lone "-", never wider than the narrowest column, left out).
    size_t LongestFlag() const { return FOptions.FlagMethod() == fmPadZeros ? PaddedFlags() : FLongestCutFlag; }
    // The most that the Cancel text as written (at least cancelWidth) and the AmnNum of one line add up to.
    size_t CancelAndAmnNum(size_t cancelWidth, bool aligned) const {
        if (aligned) return cancelWidth + FLongest[cfAmnNum];
        if (FOptions.FlagMethod() == fmPadZeros)
            return std::max(kLoneDash.size() + FDashAmnNum, PaddedFlags() + FFlagAmnNum);
        return FCutCancelAmnNum;
    }

private:
    std::vector<size_t> FLongest;
    const TFormatterOptions& FOptions;
    bool FAny = false;
    size_t FDashAmnNum = 0, FFlagAmnNum = 0; // the longest AmnNum of lines without and with a flag
    size_t FLongestCutFlag = 0;              // the longest flag, its zeros cut with fmCutZeros
    size_t FCutCancelAmnNum = 0;             // CancelAndAmnNum unaligned, the flags cut or kept
};

// Where every command column goes, and the title line that matches, from the measured columns.
class TCommandLayout {
public:
    TCommandLayout(const TCommandMeasure& measure, std::initializer_list<TEndColumn> ends, size_t count,
                   const TFormatterOptions& options)
        : FOptions(options), FEnds(count) {
        FNumWidth = std::max<size_t>(measure.Longest(cfCmdNum), 6);
        FCommandWidth = std::max<size_t>(measure.Longest(cfCommand) + 1, 9);
        AppendRight(FTitle, "CmdNum", FNumWidth, '-');
        AppendRight(FTitle, "Command", FCommandWidth, '-');
        FPadFlagsTo = options.FlagMethod() == fmPadZeros ? measure.PaddedFlags() : 0;
        size_t width = std::max(FPadFlagsTo, kCancelMinWidth);
        if (options.FlagAlign()) width = std::max(width, measure.LongestFlag());
        FCancelWidth = options.FlagAlign() ? width : kCancelMinWidth;
        FTitle += "--";
        AppendLeft(FTitle, "Cancel", width + 2, '-');
        FStdWidth = std::max<size_t>(measure.Longest(cfStd), 3);
        PadTo(FTitle, kStdStart, '-');
        AppendLeft(FTitle, "Std", FStdWidth, '-');
        // Every line reaches as far after Std but for its Cancel.
        const size_t cancelAndAmnNum = measure.CancelAndAmnNum(FCancelWidth, options.FlagAlign());
        size_t reach =
            std::max(FNumWidth + FCommandWidth + 4 + cancelAndAmnNum, kStdStart + measure.Longest(cfAmnNum)) +
            FStdWidth + 1;
        size_t end = EndColumn({cfAmnNum, "AmnNum", 1}, measure.Any() ? reach : 0);
        for (const TEndColumn& column : ends)
            end = EndColumn(column, measure.Any() ? end + 1 + measure.Longest(column.Field) : 0);
        FCommentStart = std::max((measure.Any() ? end : 0) + 1, FTitle.size() + 2);
        PadTo(FTitle, FCommentStart, '-');
        FTitle += "Comment";
    }

    const std::string& Title() const { return FTitle; }

    void Write(TFields& f, std::string& out) const {
        AppendRight(out, f[cfCmdNum], FNumWidth);
        AppendRight(out, f[cfCommand], FCommandWidth);
        std::string& flag = f[cfCancel];
        if (flag == "-") {
            flag = kLoneDash;
        } else {
            if (FOptions.FlagMethod() == fmCutZeros) CutZeros(flag, kCancelMinWidth);
            PadTo(flag, FPadFlagsTo, '0');
        }
        out += "   ";
        AppendLeft(out, flag, FCancelWidth);
        out += ' ';
        PadTo(out, kStdStart, ' ');
        const std::string& standard = f[cfStd];
        if (standard == "-")
            AppendRight(out, standard, FStdWidth);
        else
            AppendLeft(out, standard, FStdWidth);
        for (size_t k = cfAmnNum; k + 1 < f.size(); ++k) {
            PadTo(out, FEnds[k] - f[k].size(), ' ');
            out += f[k];
        }
        PadTo(out, FCommentStart, ' ');
        AppendComment(out, f.back(), FOptions.AddSemiColon());
    }

private:
    // The column ends at the furthest any line reaches, at least where its title would end after the
    // title so far.
    size_t EndColumn(const TEndColumn& column, size_t reach) {
        const size_t end = std::max(reach, FTitle.size() + column.Dashes + column.Name.size());
        PadTo(FTitle, end - column.Name.size(), '-');
        FTitle += column.Name;
        FEnds[column.Field] = end;
        return end;
    }

    const TFormatterOptions& FOptions;
    size_t FNumWidth = 0, FCommandWidth = 0;
    size_t FPadFlagsTo = 0;  // with fmPadZeros; else 0
    size_t FCancelWidth = 0; // the width every Cancel is written in
    size_t FStdWidth = 0;
    std::vector<size_t> FEnds; // by field: where the columns from AmnNum on end
    size_t FCommentStart = 0;
    std::string FTitle;
};

// Both command formatters: CmdNum, Command, Cancel, Std, AmnNum, then the columns of the list's own
// form, then the comment.
void FormatCommandLines(const TLineSource& source, TSplit split, size_t count, std::initializer_list<TEndColumn> ends,
                        const TFormatterOptions& options, const TLineSink& sink) {
    TCommandMeasure measure(count, options);
    MeasureLines(source, split, count, [&](const TFields& fields) { measure.Add(fields); });
    const TCommandLayout layout(measure, ends, count, options);
    WriteLines(
        source, split, count, options.HeaderAlign() ? &layout.Title() : nullptr, "CmdNum", 0,
        [&](TFields& fields, std::string& out) { layout.Write(fields, out); }, sink);
}

} // namespace

void TFormatterOptions::SetFlagMethod(int Value) { FFlagMethod = static_cast<std::uint8_t>(std::clamp(Value, 0, 2)); }

void TListFormatter::Format(std::vector<std::string>& Dest) const {
    std::vector<std::string> out;
    out.reserve(FLines.size());
    Format(TStringLines(FLines), [&out](std::string_view line) { out.emplace_back(line); });
    Dest = std::move(out);
}

void TMotionFormatter::Format(const TLineSource& Source, const TLineSink& Sink) const {
    TMotionMeasure measure(FOptions);
    MeasureLines(Source, SplitMotionLine, kMotionFieldCount, [&](const TFields& fields) { measure.Add(fields); });
    const TMotionLayout layout(measure, FOptions);
    WriteLines(
        Source, SplitMotionLine, kMotionFieldCount, FOptions.HeaderAlign() ? &layout.Title() : nullptr, "Num", 1,
        [&](TFields& fields, std::string& out) { layout.Write(fields, out); }, Sink);
}

void TCommandFormatter::Format(const TLineSource& Source, const TLineSink& Sink) const {
    FormatCommandLines(Source, SplitCommandLine, kCommandFieldCount, {{cfVx, "Vx", 2}}, FOptions, Sink);
}

void TZCommandFormatter::Format(const TLineSource& Source, const TLineSink& Sink) const {
    FormatCommandLines(Source, SplitZCommandLine, kZCommandFieldCount,
                       {{zcfSh, "Sh", 2}, {zcfSp, "Sp", 1}, {zcfDk, "Dk", 1}}, FOptions, Sink);
}

} // namespace quillon
