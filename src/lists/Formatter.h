#pragma once
// Column formatters of motion, command and Vantor command lists: a whole list realigned into columns, one output line
// per input line.
//
// A data line is rebuilt field by field from its field texts with blanks and full-width spaces
// trimmed from both ends; every other line is copied byte for byte. Each column's width comes from
// its longest text over all data lines (never less than the template's width), so the columns line
// up and the title line rebuilt alongside matches them.
//
// A formatter reads its lines twice, one at a time: the first pass measures the columns over all
// data lines, the second rebuilds each line and hands it on. It keeps nothing per line, so formatting
// a list takes memory for one line and the column widths besides the text it writes.
//
// The invariant that makes the result safe to save: a rebuilt line splits into the same fields as
// the line it came from (compared trimmed), so it stays a data line with the same values. Two
// fields may touch only where the splitter ends the first one before the second one's first
// character: a signed field after a field ending in a digit, and never after the Pic field. A data
// line with a field that is nothing but blanks cannot keep that field once trimmed, so such a line
// is copied unchanged. Formatting a formatted list again with the same options changes nothing.
#include "ListLines.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

// What the formatters do to flag fields (the motion Flag, the command Cancel).
enum TFlagMethod { fmKeep = 0, fmCutZeros = 1, fmPadZeros = 2 };

// The options every formatter has.
class TFormatterOptions {
public:
    // Replace the list's title line by one that matches the new columns.
    bool HeaderAlign() const { return FHeaderAlign; }
    void SetHeaderAlign(bool Value) { FHeaderAlign = Value; }
    // A TFlagMethod; other values are clamped to 0..2.
    int FlagMethod() const { return FFlagMethod; }
    void SetFlagMethod(int Value);
    // Give every flag field the width of the longest.
    bool FlagAlign() const { return FFlagAlign; }
    void SetFlagAlign(bool Value) { FFlagAlign = Value; }
    // Put ";" in front of every comment that lacks one.
    bool AddSemiColon() const { return FAddSemiColon; }
    void SetAddSemiColon(bool Value) { FAddSemiColon = Value; }

private:
    bool FHeaderAlign = true;
    std::uint8_t FFlagMethod = fmKeep; // 0..2
    bool FFlagAlign = true;
    bool FAddSemiColon = true;
};

class TMotionFormatterOptions : public TFormatterOptions {
public:
    // A signed field may touch the field before it instead of taking a blank.
    bool CanDockMinus() const { return FCanDockMinus; }
    void SetCanDockMinus(bool Value) { FCanDockMinus = Value; }
    void Assign(const TMotionFormatterOptions& Source) { *this = Source; }

private:
    bool FCanDockMinus = false;
};

class TCommandFormatterOptions : public TFormatterOptions {
public:
    void Assign(const TCommandFormatterOptions& Source) { *this = Source; }
};

class TZCommandFormatterOptions : public TFormatterOptions {
public:
    void Assign(const TZCommandFormatterOptions& Source) { *this = Source; }
};

class TListFormatter {
public:
    virtual ~TListFormatter() = default;
    const std::vector<std::string>& Lines() const { return FLines; }
    void SetLines(const std::vector<std::string>& Value) { FLines = Value; }
    // Dest := the formatted lines of Lines, one per line and in the same order.
    void Format(std::vector<std::string>& Dest) const;
    // The formatted lines of Source to Sink, one per line and in the same order.
    virtual void Format(const TLineSource& Source, const TLineSink& Sink) const = 0;

private:
    std::vector<std::string> FLines; // CP932
};

class TMotionFormatter : public TListFormatter {
public:
    const TMotionFormatterOptions& Options() const { return FOptions; }
    void SetOptions(const TMotionFormatterOptions& Value) { FOptions.Assign(Value); }
    using TListFormatter::Format;
    void Format(const TLineSource& Source, const TLineSink& Sink) const override;

private:
    TMotionFormatterOptions FOptions;
};

class TCommandFormatter : public TListFormatter {
public:
    const TCommandFormatterOptions& Options() const { return FOptions; }
    void SetOptions(const TCommandFormatterOptions& Value) { FOptions.Assign(Value); }
    using TListFormatter::Format;
    void Format(const TLineSource& Source, const TLineSink& Sink) const override;

private:
    TCommandFormatterOptions FOptions;
};

class TZCommandFormatter : public TListFormatter {
public:
    const TZCommandFormatterOptions& Options() const { return FOptions; }
    void SetOptions(const TZCommandFormatterOptions& Value) { FOptions.Assign(Value); }
    using TListFormatter::Format;
    void Format(const TLineSource& Source, const TLineSink& Sink) const override;

private:
    TZCommandFormatterOptions FOptions;
};

} // namespace quillon
