#pragma once
// A list read line by line where it is held, and the lines of a new text handed on one by one: the
// formatters and the renumbering read an editor's lines in place and give out the new lines as they
// make them, so that a whole list is never copied into another form on the way.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class TLineSource {
public:
    virtual ~TLineSource() = default;
    virtual std::size_t Count() const = 0;
    // Line Index without its line break, valid until the next call; Buffer may hold it. A reader may
    // read a line as often as it needs.
    virtual std::string_view Line(std::size_t Index, std::string& Buffer) const = 0;
};

// The lines of a string list, read in place.
class TStringLines : public TLineSource {
public:
    explicit TStringLines(const std::vector<std::string>& Lines) : FLines(Lines) {}
    std::size_t Count() const override { return FLines.size(); }
    std::string_view Line(std::size_t Index, std::string&) const override { return FLines[Index]; }

private:
    const std::vector<std::string>& FLines;
};

// Takes the lines of a new text one by one, in order.
using TLineSink = std::function<void(std::string_view Line)>;

} // namespace quillon
