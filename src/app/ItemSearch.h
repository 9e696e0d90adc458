#pragma once
// Item search: a text looked for in one chosen field of the lines of a motion list.
//
// Each line is cut into one token per field by the motion colourer's parser; a token of the
// requested kind is compared with the text (exactly, as a part, as a whole word, or as a regular
// expression that must cover the whole field unless a part will do). The first field found in the
// order of the scan is the result: its line, its byte offset in the line and its length, the whole
// field being marked even when only a part of it matched. Within a line only the leftmost field found
// counts, whichever way the scan runs.
//
// The request is one object for the whole program, so every edit window repeats the last search.
// The dialog's check boxes, field choice, direction and history are kept in the settings store.
#include "MotionColourer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class TSettingsStore;

// Bits of TItemSearchRequest::ItemOptions.
enum : std::uint8_t {
    ioMatchCase = 1,
    ioRegExp = 2,
    ioFuzzy = 4,      // only with ioRegExp
    ioWholeWord = 8,  // never with ioRegExp
    ioSubString = 16, // a match anywhere inside the field
};

// TItemSearchRequest::ItemDirection.
enum : std::uint8_t { idDown = 0, idUp = 1 };

// The last item-search request, held by the root for the whole run.
struct TItemSearchRequest {
    std::string ItemText;                // CP932; empty until a search was confirmed
    std::uint8_t ItemKind = mtMotionNum; // motion token kind of the chosen field
    std::uint8_t ItemOptions = 0;
    std::uint8_t ItemDirection = idDown;
};

// Where a field was found.
struct TItemHit {
    int Row = 0;    // line index
    int Col = 0;    // byte offset of the field in the line
    int Length = 0; // byte length of the field
};

constexpr int kItemTokenChoiceCount = 22;
constexpr int kItemHistoryMax = 32;

// The token kind of field choice Index of the dialog (mtAnyItem outside the choices).
int ItemKindOfChoice(int Index);

// The dialog's choices as stored.
struct TItemSearchOptions {
    bool WholeWord = false;
    bool MatchCase = false;
    bool RegExp = false;
    bool Fuzzy = false;
    bool SubString = false;
    int SearchToken = 0; // field choice
    int Direction = 1;   // 0 "後方" (up), 1 "前方" (down)
};

TItemSearchOptions ReadItemSearchOptions(TSettingsStore& Store);
void WriteItemSearchOptions(TSettingsStore& Store, const TItemSearchOptions& Options);
// Newest first; empty lines are passed over and no more than 32 texts are read.
std::vector<std::string> ReadItemHistory(TSettingsStore& Store);
void WriteItemHistory(TSettingsStore& Store, const std::vector<std::string>& History);
// Text goes to the top; an equal entry further down is removed; the list keeps 32 entries at most.
void AddItemHistory(std::vector<std::string>& History, const std::string& Text);

// The option bits and the direction that the dialog's choices give.
std::uint8_t ItemOptionsOf(const TItemSearchOptions& Options);
std::uint8_t ItemDirectionOf(int DirectionIndex);

// The three scans over the lines of a motion list. Each answers whether a field was found and then
// fills Hit. First: from the caret line in ItemDirection, the caret line from its start; Next: from
// the line after the caret line down; Prev: from the line before it up. Only First reports a search
// that found nothing; a regular expression that does not compile is reported by all three.
bool FindItemFirst(const std::vector<std::string>& Lines, int CaretRow, TMotionColourer& Colourer,
                   const TItemSearchRequest& Request, TItemHit& Hit);
bool FindItemNext(const std::vector<std::string>& Lines, int CaretRow, TMotionColourer& Colourer,
                  const TItemSearchRequest& Request, TItemHit& Hit);
bool FindItemPrev(const std::vector<std::string>& Lines, int CaretRow, TMotionColourer& Colourer,
                  const TItemSearchRequest& Request, TItemHit& Hit);

// Item search and its repetitions are offered for motion lists only, repetitions once a text exists.
bool CanFindItemNext(int ListKind, const TItemSearchRequest& Request);

} // namespace quillon
