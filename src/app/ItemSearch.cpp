#include "ItemSearch.h"

#include "AnsiCase.h"
#include "AsciiText.h"
#include "Cp932.h"
#include "EditorUtils.h"
#include "LineRegExp.h"
#include "ListKinds.h"
#include "ListTokens.h"
#include "MessageBox.h"
#include "MotionColourer.h"
#include "PlainFind.h"
#include "REScanner.h"
#include "SettingsStore.h"

#include <memory>
#include <optional>

namespace quillon {

namespace {

constexpr const char* kOptionsSection = "SearchItemOptions";
constexpr const char* kHistorySection = "SearchItems";
constexpr const char* kTitle = "項目検索";

// Byte offsets of the occurrences of Text in S that start on a character, from the left, each
// search going on after the end of the one before.
std::vector<std::size_t> Occurrences(std::string_view S, std::string_view Text) {
    std::vector<std::size_t> found;
    if (Text.empty()) return found;
    std::size_t i = 0;
    while (i + Text.size() <= S.size()) {
        if (S.compare(i, Text.size(), Text) == 0) {
            found.push_back(i);
            i += Text.size();
        } else {
            i += IsLeadByte(S[i]) && i + 1 < S.size() ? 2 : 1;
        }
    }
    return found;
}

// The comparison of a request, prepared once per scan.
class TItemMatcher {
public:
    // Raises ERegExpParser for a regular expression that does not compile.
    explicit TItemMatcher(const TItemSearchRequest& Request)
        : FOptions(Request.ItemOptions),
          FText(Has(ioMatchCase) ? Request.ItemText : LowerCaseFileName(Request.ItemText)) {
        if (!Has(ioRegExp)) return;
        FRegExp = std::make_unique<TLineRegExp>();
        FRegExp->SetUseFuzzyCharDic(Has(ioFuzzy));
        FRegExp->SetRegExp(FText);
    }

    bool Matches(std::string_view Token) const {
        const std::string token = Has(ioMatchCase) ? std::string(Token) : LowerCaseFileName(Token);
        if (FRegExp) return RegExpMatches(token);
        if (!Has(ioSubString)) return token == FText && (!Has(ioWholeWord) || IsWholeWord(token, 1, Length()));
        for (std::size_t at : Occurrences(token, FText))
            if (!Has(ioWholeWord) || IsWholeWord(token, static_cast<int>(at) + 1, Length())) return true;
        return false;
    }

private:
    bool Has(std::uint8_t Bit) const { return (FOptions & Bit) != 0; }
    int Length() const { return static_cast<int>(FText.size()); }
    bool RegExpMatches(const std::string& Token) const {
        int pos = 0, len = 0;
        return FRegExp->Match(Token, pos, len) > 0 && (Has(ioSubString) || len == static_cast<int>(Token.size()));
    }

    std::uint8_t FOptions;
    std::string FText;
    std::unique_ptr<TLineRegExp> FRegExp;
};

// The leftmost field of kind Kind in Line that the matcher accepts.
std::optional<TListToken> FindInLine(TMotionColourer& Colourer, const std::string& Line, int Kind,
                                     const TItemMatcher& Matcher) {
    for (TListToken& token : FieldTokens(Colourer, Line))
        if (token.Kind == Kind && Matcher.Matches(token.Text)) return token;
    return std::nullopt;
}

bool TextIsEmpty(const std::vector<std::string>& Lines) {
    return Lines.empty() || (Lines.size() == 1 && Lines[0].empty());
}

// Visits lines From, From + Step ... while inside the list. A regular expression that does not
// compile is reported and finds nothing.
bool ScanItems(const std::vector<std::string>& Lines, int From, int Step, TMotionColourer& Colourer,
               const TItemSearchRequest& Request, TItemHit& Hit, bool& Failed) {
    Failed = false;
    try {
        const TItemMatcher matcher(Request);
        for (int row = From; row >= 0 && row < static_cast<int>(Lines.size()); row += Step) {
            if (std::optional<TListToken> token = FindInLine(Colourer, Lines[row], Request.ItemKind, matcher)) {
                Hit = {row, token->Start, static_cast<int>(token->Text.size())};
                return true;
            }
        }
    } catch (const ERegExpParser& e) {
        Messages().Show("項目検索中にエラーが発生しました。\r\n" + e.Message() + "\r\n(位置: " + IntToStr(e.ErrorPos) +
                            ")",
                        kTitle, TMsgIcon::Error, TMsgButtons::OK);
        Failed = true;
    }
    return false;
}

bool FindFrom(const std::vector<std::string>& Lines, int From, int Step, TMotionColourer& Colourer,
              const TItemSearchRequest& Request, TItemHit& Hit) {
    bool failed = false;
    return !TextIsEmpty(Lines) && ScanItems(Lines, From, Step, Colourer, Request, Hit, failed);
}

} // namespace

int ItemKindOfChoice(int Index) {
    const std::vector<int>& fields = ListKindInfo(lkMotion).ItemSearchFields;
    return Index >= 0 && Index < static_cast<int>(fields.size()) ? fields[static_cast<std::size_t>(Index)] : mtAnyItem;
}

TItemSearchOptions ReadItemSearchOptions(TSettingsStore& Store) {
    TItemSearchOptions options;
    options.WholeWord = Store.ReadBool(kOptionsSection, "WholeWord", false);
    options.MatchCase = Store.ReadBool(kOptionsSection, "MatchCase", false);
    options.RegExp = Store.ReadBool(kOptionsSection, "RegExp", false);
    options.Fuzzy = Store.ReadBool(kOptionsSection, "Fuzzy", false);
    options.SubString = Store.ReadBool(kOptionsSection, "SubString", false);
    options.SearchToken = Store.ReadInteger(kOptionsSection, "SearchToken", 0);
    options.Direction = Store.ReadInteger(kOptionsSection, "Direction", 1);
    if (options.Direction >= 2) options.Direction = 1;
    return options;
}

void WriteItemSearchOptions(TSettingsStore& Store, const TItemSearchOptions& Options) {
    Store.WriteBool(kOptionsSection, "WholeWord", Options.WholeWord);
    Store.WriteBool(kOptionsSection, "MatchCase", Options.MatchCase);
    Store.WriteBool(kOptionsSection, "RegExp", Options.RegExp);
    Store.WriteBool(kOptionsSection, "Fuzzy", Options.Fuzzy);
    Store.WriteInteger(kOptionsSection, "Direction", Options.Direction);
    Store.WriteBool(kOptionsSection, "SubString", Options.SubString);
    Store.WriteInteger(kOptionsSection, "SearchToken", Options.SearchToken);
}

std::vector<std::string> ReadItemHistory(TSettingsStore& Store) {
    std::vector<std::string> history;
    const std::string text = Store.ReadString(kHistorySection, "ItemText", "");
    TLineReader lines(text);
    for (std::string_view line; history.size() < static_cast<std::size_t>(kItemHistoryMax) && lines.Next(line);)
        if (!line.empty()) history.emplace_back(line);
    return history;
}

void WriteItemHistory(TSettingsStore& Store, const std::vector<std::string>& History) {
    std::string text;
    for (const std::string& item : History) text += item + "\r\n";
    Store.WriteString(kHistorySection, "ItemText", text);
}

void AddItemHistory(std::vector<std::string>& History, const std::string& Text) {
    for (auto it = History.begin(); it != History.end(); ++it) {
        if (*it == Text) {
            History.erase(it);
            break;
        }
    }
    History.insert(History.begin(), Text);
    if (History.size() > static_cast<std::size_t>(kItemHistoryMax)) History.pop_back();
}

std::uint8_t ItemOptionsOf(const TItemSearchOptions& Options) {
    std::uint8_t bits = Options.WholeWord ? ioWholeWord : 0;
    if (Options.RegExp) bits = Options.Fuzzy ? ioRegExp | ioFuzzy : ioRegExp;
    if (Options.MatchCase) bits |= ioMatchCase;
    if (Options.SubString) bits |= ioSubString;
    return bits;
}

std::uint8_t ItemDirectionOf(int DirectionIndex) { return DirectionIndex == 1 ? idDown : idUp; }

bool FindItemFirst(const std::vector<std::string>& Lines, int CaretRow, TMotionColourer& Colourer,
                   const TItemSearchRequest& Request, TItemHit& Hit) {
    if (TextIsEmpty(Lines)) return false;
    bool failed = false;
    const bool directed = Request.ItemDirection == idDown || Request.ItemDirection == idUp;
    const int step = Request.ItemDirection == idDown ? 1 : -1;
    if (directed && ScanItems(Lines, CaretRow, step, Colourer, Request, Hit, failed)) return true;
    if (!failed)
        Messages().Show("検索項目  ' " + Cp932ToUtf8(Request.ItemText) + " '\r\nは見つかりませんでした。", kTitle,
                        TMsgIcon::Information, TMsgButtons::OK);
    return false;
}

bool FindItemNext(const std::vector<std::string>& Lines, int CaretRow, TMotionColourer& Colourer,
                  const TItemSearchRequest& Request, TItemHit& Hit) {
    return FindFrom(Lines, CaretRow + 1, 1, Colourer, Request, Hit);
}

bool FindItemPrev(const std::vector<std::string>& Lines, int CaretRow, TMotionColourer& Colourer,
                  const TItemSearchRequest& Request, TItemHit& Hit) {
    return FindFrom(Lines, CaretRow - 1, -1, Colourer, Request, Hit);
}

bool CanFindItemNext(int ListKind, const TItemSearchRequest& Request) {
    return ListKind == lkMotion && !Request.ItemText.empty();
}

} // namespace quillon
