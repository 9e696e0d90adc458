#include "Formatter.h"

#include "Strutil.h"
#include "motions.h"

#include <algorithm>
#include <string_view>

namespace quillon {
namespace {

// A data line being rebuilt: its trimmed field texts and its output so far.
struct TRow {
    size_t Index;               // line number in the list
    std::vector<std::string> F; // trimmed fields; all but the last non-empty
    std::string Out;
};
using TRows = std::vector<TRow>;

void PadTo(std::string& text, size_t width, char fill) {
    if (text.size() < width) text.append(width - text.size(), fill);
}

std::string AlignRight(std::string_view text, size_t width, char fill = ' ') {
    std::string out(width > text.size() ? width - text.size() : 0, fill);
    return out.append(text);
}

std::string AlignLeft(std::string_view text, size_t width, char fill = ' ') {
    std::string out(text);
    PadTo(out, width, fill);
    return out;
}

bool StartsWithSign(std::string_view text) { return !text.empty() && (text[0] == '+' || text[0] == '-'); }
bool EndsWithDigit(std::string_view text) { return !text.empty() && text.back() >= '0' && text.back() <= '9'; }

size_t Longest(const TRows& rows, int k) {
    size_t longest = 0;
    for (const TRow& row : rows) longest = std::max(longest, row.F[k].size());
    return longest;
}

size_t LongestOutput(const TRows& rows) {
    size_t longest = 0;
    for (const TRow& row : rows) longest = std::max(longest, row.Out.size());
    return longest;
}

// Adds a data line whose fields are split; a line with a field (other than the last) that trims
// away entirely is left out, as its rebuilt form could not keep that field.
void AddRow(TRows& rows, size_t index, const std::vector<std::string>& fields) {
    TRow row{index, {}, {}};
    for (const std::string& field : fields) row.F.push_back(TrimZenkaku(field));
    for (size_t k = 0; k + 1 < row.F.size(); ++k)
        if (row.F[k].empty()) return;
    rows.push_back(std::move(row));
}

// Cuts or pads the flag fields of column k; returns the padded width for fmPadZeros, else 0.
// A lone "-" is no flag and stays as it is when keepDash is set.
size_t NormaliseFlags(TRows& rows, int k, int method, size_t minWidth, bool keepDash) {
    auto skipped = [&](const std::string& flag) { return keepDash && flag == "-"; };
    if (method == fmCutZeros) {
        for (TRow& row : rows) {
            std::string& flag = row.F[k];
            if (skipped(flag)) continue;
            while (flag.size() > minWidth && flag.back() == '0') flag.pop_back();
        }
        return 0;
    }
    if (method != fmPadZeros) return 0;
    size_t width = std::max(Longest(rows, k), minWidth);
    for (TRow& row : rows)
        if (!skipped(row.F[k])) PadTo(row.F[k], width, '0');
    return width;
}

// Column k right-aligned so that it ends in one common column E for every data line, E at least
// minEnd; the title ends there too. With dock, a signed field of two or more characters may touch
// an output that ends in a digit.
void EndColumn(TRows& rows, std::string& title, int k, std::string_view name, size_t minEnd, bool dock) {
    size_t end = minEnd;
    for (const TRow& row : rows) {
        const std::string& f = row.F[k];
        bool touches = dock && f.size() >= 2 && StartsWithSign(f) && EndsWithDigit(row.Out);
        end = std::max(end, row.Out.size() + (touches ? 0 : 1) + f.size());
    }
    for (TRow& row : rows) {
        PadTo(row.Out, end - row.F[k].size(), ' ');
        row.Out += row.F[k];
    }
    PadTo(title, end - name.size(), '-');
    title += name;
}

std::string CommentText(const std::string& comment, bool addSemiColon) {
    if (!addSemiColon || (!comment.empty() && comment[0] == ';')) return comment;
    return ";" + comment;
}

// A title line: a run of at least minDashes "-", then name, then more.
bool IsTitleLine(std::string_view line, std::string_view name, size_t minDashes) {
    size_t dashes = line.find_first_not_of('-');
    if (dashes == std::string_view::npos || dashes < minDashes) return false;
    return line.size() > dashes + name.size() && line.substr(dashes, name.size()) == name;
}

// Dest := the lines with every data line replaced by its output, and, when title is given, the
// first title line replaced by it.
void Assemble(const std::vector<std::string>& lines, const TRows& rows, const std::string* title, std::string_view name,
              size_t minDashes, std::vector<std::string>& Dest) {
    std::vector<std::string> out = lines;
    for (const TRow& row : rows) out[row.Index] = row.Out;
    if (title) {
        auto found = std::find_if(out.begin(), out.end(),
                                  [&](const std::string& line) { return IsTitleLine(line, name, minDashes); });
        if (found != out.end()) *found = *title;
    }
    Dest = std::move(out);
}

// ---- Motion lists ----

struct TColumn {
    int Field;
    size_t MinWidth;
    std::string_view Name;
};

// The widest field of column k and whether every field of that width may touch the field before
// it: it starts with a sign (the first widest Ci also with "<" or ">"), has two or more characters
// and follows a field that ends in a digit.
bool WidestFieldsDock(const TRows& rows, int k, size_t& longest) {
    longest = 0;
    bool docks = true;
    for (const TRow& row : rows) {
        const std::string& f = row.F[k];
        bool signedAfterDigit = f.size() >= 2 && EndsWithDigit(row.F[k - 1]);
        if (f.size() > longest) {
            longest = f.size();
            bool mark = StartsWithSign(f) || (k == mfCi && (f[0] == '<' || f[0] == '>'));
            docks = mark && signedAfterDigit;
        } else if (f.size() == longest && !(StartsWithSign(f) && signedAfterDigit)) {
            docks = false;
        }
    }
    return docks;
}

// Right-aligned columns, each one blank wider than its longest field unless the widest fields dock.
void SignedColumns(TRows& rows, std::string& title, std::initializer_list<TColumn> columns, bool dock) {
    for (const TColumn& column : columns) {
        size_t longest = 0;
        bool docks = WidestFieldsDock(rows, column.Field, longest) && dock && column.Field != mfDe;
        size_t width = std::max(longest + (docks ? 0 : 1), column.MinWidth);
        for (TRow& row : rows) row.Out += AlignRight(row.F[column.Field], width);
        title += AlignRight(column.Name, width, '-');
    }
}

// A field after one blank, or touching its neighbour when it may dock.
void AttachedColumn(TRows& rows, std::string& title, int k, std::string_view name, bool dock) {
    for (TRow& row : rows) {
        const std::string& f = row.F[k];
        if (!(dock && StartsWithSign(f) && EndsWithDigit(row.F[k - 1]))) row.Out += ' ';
        row.Out += f;
    }
    (title += '-') += name;
}

void FlagColumn(TRows& rows, std::string& title, const TMotionFormatterOptions& options) {
    const size_t minWidth = 4;
    NormaliseFlags(rows, mfFlag, options.FlagMethod(), minWidth, false);
    size_t width = options.FlagAlign() ? std::max(Longest(rows, mfFlag), minWidth) : minWidth;
    for (TRow& row : rows) (row.Out += ' ') += AlignLeft(row.F[mfFlag], width);
    title += '-' + AlignLeft("Flag", width, '-') + '-';
}

void BoxColumns(TRows& rows, std::string& title) {
    const TColumn boxes[] = {{mfDef1, 12, "Def1--------"}, {mfDef2, 12, "Def2--------"}, {mfAtt1, 12, "Att1--------"}};
    for (const TColumn& box : boxes) {
        size_t width = std::max(Longest(rows, box.Field), box.MinWidth);
        for (TRow& row : rows) (row.Out += ' ') += AlignLeft(row.F[box.Field], width);
        title += AlignLeft(box.Name, width, '-');
        if (box.Field != mfAtt1) title += '-';
    }
}

void MotionCommentColumn(TRows& rows, std::string& title, bool addSemiColon) {
    size_t start = std::max<size_t>(LongestOutput(rows), 1);
    for (TRow& row : rows) {
        PadTo(row.Out, start, ' ');
        (row.Out += ' ') += CommentText(row.F[mfComment], addSemiColon);
    }
    PadTo(title, start, '-');
    title += "-COMMENT";
}

// ---- Command lists ----

// A column that ends in a common column, its title after a run of "-".
struct TEndColumn {
    int Field;
    std::string_view Name;
    size_t Dashes; // the title's "-" in front of the name at the narrowest
};

// The column ends at least where its title would end after the title so far.
void TitledEndColumn(TRows& rows, std::string& title, const TEndColumn& end) {
    EndColumn(rows, title, end.Field, end.Name, title.size() + end.Dashes + end.Name.size(), false);
}

void CancelColumn(TRows& rows, std::string& title, const TFormatterOptions& options) {
    const size_t minWidth = 5;
    size_t padded = NormaliseFlags(rows, cfCancel, options.FlagMethod(), minWidth, true);
    size_t width = std::max(padded, minWidth);
    if (options.FlagAlign()) width = std::max(width, Longest(rows, cfCancel));
    for (TRow& row : rows) {
        const std::string& f = row.F[cfCancel];
        row.Out += "   " + AlignLeft(f == "-" ? "    -" : f, options.FlagAlign() ? width : minWidth) + " ";
    }
    title += "--" + AlignLeft("Cancel", width + 2, '-');
}

void StdColumn(TRows& rows, std::string& title) {
    const size_t start = 25;
    size_t width = std::max<size_t>(Longest(rows, cfStd), 3);
    for (TRow& row : rows) {
        PadTo(row.Out, start, ' ');
        const std::string& f = row.F[cfStd];
        row.Out += f == "-" ? AlignRight(f, width) : AlignLeft(f, width);
    }
    PadTo(title, start, '-');
    title += AlignLeft("Std", width, '-');
}

void CommandCommentColumn(TRows& rows, std::string& title, int k, bool addSemiColon) {
    size_t start = std::max(LongestOutput(rows) + 1, title.size() + 2);
    for (TRow& row : rows) {
        PadTo(row.Out, start, ' ');
        row.Out += CommentText(row.F[k], addSemiColon);
    }
    PadTo(title, start, '-');
    title += "Comment";
}

// Both command formatters: CmdNum, Command, Cancel, Std, AmnNum, then the columns of the list's own
// form, then the comment.
void FormatCommandLines(const std::vector<std::string>& lines,
                        void (*split)(std::string_view, std::vector<std::string>&), size_t fieldCount,
                        std::initializer_list<TEndColumn> ends, const TFormatterOptions& options,
                        std::vector<std::string>& Dest) {
    TRows rows;
    std::vector<std::string> fields;
    for (size_t i = 0; i < lines.size(); ++i) {
        split(lines[i], fields);
        if (fields.size() == fieldCount) AddRow(rows, i, fields);
    }
    size_t numWidth = std::max<size_t>(Longest(rows, cfCmdNum), 6);
    size_t commandWidth = std::max<size_t>(Longest(rows, cfCommand) + 1, 9);
    for (TRow& row : rows) row.Out = AlignRight(row.F[cfCmdNum], numWidth) + AlignRight(row.F[cfCommand], commandWidth);
    std::string title = AlignRight("CmdNum", numWidth, '-') + AlignRight("Command", commandWidth, '-');
    CancelColumn(rows, title, options);
    StdColumn(rows, title);
    TitledEndColumn(rows, title, {cfAmnNum, "AmnNum", 1});
    for (const TEndColumn& end : ends) TitledEndColumn(rows, title, end);
    CommandCommentColumn(rows, title, static_cast<int>(fieldCount) - 1, options.AddSemiColon());
    Assemble(lines, rows, options.HeaderAlign() ? &title : nullptr, "CmdNum", 0, Dest);
}

} // namespace

void TFormatterOptions::SetFlagMethod(int Value) { FFlagMethod = static_cast<std::uint8_t>(std::clamp(Value, 0, 2)); }

void TMotionFormatter::Format(std::vector<std::string>& Dest) const {
    TRows rows;
    std::vector<std::string> fields;
    for (size_t i = 0; i < FLines.size(); ++i) {
        SplitMotionLine(FLines[i], fields);
        if (fields.size() == kMotionFieldCount) AddRow(rows, i, fields);
    }
    const bool dock = FOptions.CanDockMinus();
    std::string title;
    size_t numWidth = std::max<size_t>(Longest(rows, mfNum), 4);
    for (TRow& row : rows) row.Out = AlignRight(row.F[mfNum], numWidth);
    title = AlignRight("Num", numWidth, '-');
    SignedColumns(rows, title, {{mfTo, 5, "To"}, {mfSp, 3, "Sp"}, {mfPic, 4, "Pic"}, {mfDe, 3, "De"}, {mfCi, 3, "Ci"}},
                  dock);
    AttachedColumn(rows, title, mfV, "V", dock);
    EndColumn(rows, title, mfVx, "Vx", 29, dock);
    SignedColumns(rows, title, {{mfRx, 2, "Rx"}, {mfVy, 4, "Vy"}, {mfRy, 2, "Ry"}, {mfC, 2, "C"}, {mfCL, 3, "CL"}},
                  dock);
    AttachedColumn(rows, title, mfG, "G", dock);
    EndColumn(rows, title, mfDa, "Da", 47, dock);
    SignedColumns(rows, title, {{mfHit, 5, "Hit"}, {mfH, 2, "H"}}, dock);
    FlagColumn(rows, title, FOptions);
    BoxColumns(rows, title);
    MotionCommentColumn(rows, title, FOptions.AddSemiColon());
    Assemble(FLines, rows, FOptions.HeaderAlign() ? &title : nullptr, "Num", 1, Dest);
}

void TCommandFormatter::Format(std::vector<std::string>& Dest) const {
    FormatCommandLines(FLines, SplitCommandLine, kCommandFieldCount, {{cfVx, "Vx", 2}}, FOptions, Dest);
}

void TZCommandFormatter::Format(std::vector<std::string>& Dest) const {
    FormatCommandLines(FLines, SplitZCommandLine, kZCommandFieldCount,
                       {{zcfSh, "Sh", 2}, {zcfSp, "Sp", 1}, {zcfDk, "Dk", 1}}, FOptions, Dest);
}

} // namespace quillon
