#pragma once
// The colouring framework.
//
// A colourer (TColourer) holds the colours and rules of one kind of text: its colour objects, its
// brackets (pairs of opening and closing strings whose text may run over several rows), its reserved
// words, and the token parser it creates. A token parser (TColourerParser) is primed with the text
// of one display row and the colouring state the row starts in (TRowAttributeData), then hands out
// the row's tokens one by one, each with a token kind and the colour object the colourer gives it.
//
// Parsing is table-driven: MethodTable chooses the scanning method by the first byte of a token,
// TokenMethodTable by the kind of a token that continues from the row before. Every scanning method
// sets FTokenKind and advances FRunPtr; the token is the text from FTokenPtr to FRunPtr. No method
// passes the end of the row (NUL, CR or LF).
//
// Extending the framework:
// - derive the colourer from TColourer, create its colour objects with CreateColourerColor in its
//   constructor, publish them in its StaticClassInfo, and implement CreateParser;
// - derive the parser from TColourerParser; in its constructor replace entries of MethodTable and
//   TokenMethodTable (SetMethod, SetTokenMethod) with its own scanning methods, override DispatchProc
//   for tests that come before the table, GetQuotedTokenKinds / GetLineEndTokenKinds when its kinds
//   behave like quotes or comments, and TokenColor. Kinds of descendants start at 50.
// The editor's own colourer (EditorColourer.h) does this; the list colourers share one colourer and
// parser made from a traits record per kind (OrvColourer.h) and write only the record.
// - FFieldIndex, FParseFlag, FParseValue and FDataStr are carried from row to row for descendants.
//
// The states that rows start in, and how they are carried from row to row (ScanRow), are the subject
// of RowStates.h.
#include "Colors.h"
#include "EditorClasses.h"
#include "FontStyles.h"
#include "LineWindow.h"
#include "RowAttrStrings.h"

#include <bitset>
#include <functional>
#include <memory>
#include <string>

namespace quillon {

// Token kinds of the framework (2, 5, 10 and 13 are never produced).
enum : int {
    tkEnd = 0,         // end of the text, NUL, CR or LF; also an unusable bracket
    tkSymbol = 1,      // one byte of any other kind
    tkInteger = 3,     // decimal digits
    tkFloat = 4,       // digits with a decimal point or an exponent
    tkBracket = 6,     // from the left to the right bracket string
    tkComment = 7,     // to the end of the row
    tkReserveWord = 8, // a reserved word that continues from the row before
    tkTab = 9,
    tkAnk = 11,      // ASCII letters, digits and underscores
    tkDBSymbol = 12, // one double-byte symbol
    tkDBDigit = 14,  // full-width digits
    tkDBLetter = 15, // full-width Latin letters
    tkHiragana = 16,
    tkKatakana = 17,
    tkKanji = 18,
    tkKanaSymbol = 19, // one half-width kana punctuation byte
    tkKana = 20,       // half-width katakana
    tkUrl = 21,
    tkMail = 22,
    tkHex = 23, // hexadecimal digits after a prefix
    tkSingleQuoted = 24,
    tkDoubleQuoted = 25,
};

using TTokenKinds = std::bitset<256>;

// The look of one class of tokens; clNone means the editor's own colour.
class TColourerColor : public TNotifyPersistent {
public:
    QUILLON_CLASS_INFO
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    void Assign(const TPersistent& Source) override;

private:
    TColor FBkColor = clNone;
    TColor FColor = clNone;
    TFontStyles FStyle = 0;
};

// A collection item that owns a colour; a colour change is a change of the collection.
class TColourerColorItem : public TCollectionItem {
public:
    QUILLON_CLASS_INFO
    explicit TColourerColorItem(TCollection* Collection);
    TColourerColor& ItemColor() const { return *FItemColor; }
    void SetItemColor(const TColourerColor& Value) { FItemColor->Assign(Value); }
    void Assign(const TPersistent& Source) override;

private:
    std::unique_ptr<TColourerColor> FItemColor;
};

class TColourerBracketItem : public TColourerColorItem {
public:
    QUILLON_CLASS_INFO
    using TColourerColorItem::TColourerColorItem;
    const std::string& LeftBracket() const { return FLeftBracket; }
    void SetLeftBracket(const std::string& Value) { FLeftBracket = Value; }
    const std::string& RightBracket() const { return FRightBracket; }
    void SetRightBracket(const std::string& Value) { FRightBracket = Value; }
    void Assign(const TPersistent& Source) override;

private:
    std::string FLeftBracket;
    std::string FRightBracket;
};

// At most 14 brackets: the row store keeps a bracket index + 2 in four bits.
class TColourerBracketCollection : public TNotifyCollection {
public:
    QUILLON_CLASS_INFO
    static constexpr int MaxBrackets = 14;
    using TNotifyCollection::TNotifyCollection;
    // Raises "TColourerBracketCollection\r\nYou can not add item over 14" when full.
    TCollectionItem& Add() override;
    TColourerBracketItem& AddBracket(const std::string& Left, const std::string& Right);
    TColourerBracketItem& Item(int Index) const { return static_cast<TColourerBracketItem&>(Items(Index)); }
    int MaxCount() const override { return MaxBrackets; }
    const TClassInfo& ItemClassInfo() const override { return TColourerBracketItem::StaticClassInfo(); }
    // Copies every bracket inside one update bracket (one change reported, also when it raises).
    void Assign(const TPersistent& Source) override;

protected:
    std::unique_ptr<TCollectionItem> CreateItem() override;
};

class TColourerParser;

class TColourer : public TFileExtComponent {
public:
    QUILLON_CLASS_INFO
    explicit TColourer(TComponent* Owner);
    ~TColourer() override;

    TColourerBracketCollection& Brackets() const { return *FBrackets; }
    void SetBrackets(const TColourerBracketCollection& Value) { FBrackets->Assign(Value); }
    TColourerColor& Reserve() const { return *FReserve; }
    void SetReserve(const TColourerColor& Value) { FReserve->Assign(Value); }
    const TStringList& ReserveWordList() const { return FReserveWordList; }
    // Assigns the words and tells every registered editor.
    void SetReserveWordList(const TStringList& Value);

    // Every editor that uses the colourer registers its change handler here.
    TNotifyEventList& NotifyEventList() const { return *FNotifyEventList; }

    // A new parser of the colourer's kind; the caller owns it.
    virtual std::unique_ptr<TColourerParser> CreateParser() = 0;

    // Whether a colour held by Instance (walked recursively) is italic.
    bool HasItalic(TPersistent& Instance);
    // Sets, in every colour held by Instance, the background (Mask bit 1), the text colour (2) and
    // the style (4) from Color.
    void SetColourerColors(TPersistent& Instance, const TColourerColor& Color, int Mask);

protected:
    // For descendants whose brackets are a collection class of their own.
    TColourer(TComponent* Owner, std::unique_ptr<TColourerBracketCollection> Brackets);
    // A colour whose changes reach every registered editor.
    std::unique_ptr<TColourerColor> CreateColourerColor();

    virtual void HasItalicProc(TPersistent& Instance, const TPropInfo& Prop);
    virtual void SetColourerColorProc(TPersistent& Instance, const TPropInfo& Prop);

private:
    std::unique_ptr<TNotifyEventList> FNotifyEventList; // created first, freed last
    std::unique_ptr<TColourerBracketCollection> FBrackets;
    TStringList FReserveWordList;
    std::unique_ptr<TColourerColor> FReserve;
    bool FItalic = false;                         // scratch result of HasItalic
    const TColourerColor* FColorSource = nullptr; // scratch arguments of SetColourerColors
    int FColorMask = 0;
};

// Whether c belongs to an e-mail address (MailChars): IsMail looks on over a run of them.
bool IsMailChar(char c);

class TColourerParser {
public:
    // Raises "TColourerParser.Create need instance of TColourer" for a null colourer.
    explicit TColourerParser(TColourer* Colourer);
    virtual ~TColourerParser() = default;
    TColourerParser(const TColourerParser&) = delete;
    TColourerParser& operator=(const TColourerParser&) = delete;

    // Primes the parser for one row. Text is NUL-terminated and must stay unchanged until the
    // row's last NextToken.
    virtual void NewData(const char* Text, const TRowAttributeData& Data);
    // The kind of the next token, 0 when the row is exhausted.
    virtual int NextToken();
    // Turns Data from the state at the start of row Index into the state at the start of the next row
    // (defined in RowStates.cpp).
    virtual void ScanRow(int Index, const TRowStateStore& Strings, TRowAttributeData& Data);
    // ScanRow's scan of the L bytes at Text (the rest of the logical line may follow) from Data. Visit,
    // when given, is called before the search for a token at byte Pos >= First, and then at the first
    // such Pos >= each of its answers; an answer < 0 stops the scan, which then answers false and
    // leaves Data as it stands.
    bool ScanText(const char* Text, int L, TRowAttributeData& Data, const std::function<int(int Pos)>* Visit = nullptr,
                  int First = 0);
    // The state before the next token, as a row starting there inside its logical line is scanned from.
    TRowAttributeData StateHere() const;
    // The colour of the current token, or null for the editor's own colours.
    virtual TColourerColor* TokenColor() = 0;

    virtual bool IsReserveWord();
    void CheckReserveWord(int& Kind);
    // Kinds whose continuation in the next row is re-scanned by the kind's method.
    virtual TTokenKinds GetQuotedTokenKinds() const;
    // Kinds that run to the end of the logical line.
    virtual TTokenKinds GetLineEndTokenKinds() const;

    int SourcePos() const { return static_cast<int>(FTokenPtr - FBuffer); }
    int TokenLength() const { return static_cast<int>(FNextPtr - FTokenPtr); }
    std::string TokenString() const { return std::string(FTokenPtr, FNextPtr); }
    int TokenKind() const { return FTokenKind; }
    int BracketIndex() const { return FBracketIndex; }
    int LastBracketIndex() const { return FLastBracketIndex; }
    int FieldIndex() const { return FFieldIndex; }
    TColourer* Colourer() const { return FColourer; }

protected:
    using TProc = void (TColourerParser::*)();
    template <class D> void SetMethod(unsigned char Byte, void (D::*Proc)()) {
        FMethodTable[Byte] = static_cast<TProc>(Proc);
    }
    template <class D> void SetTokenMethod(int Kind, void (D::*Proc)()) {
        FTokenMethodTable[Kind] = static_cast<TProc>(Proc);
    }
    // The starting-byte method for the byte at FRunPtr.
    void CallMethodTable() { (this->*FMethodTable[static_cast<unsigned char>(*FRunPtr)])(); }

    virtual void SkipSpaces();
    virtual bool IsLeftBracket();
    virtual void BracketProc();
    virtual bool IsMail();
    virtual void MailProc();
    virtual bool IsUrl();
    virtual void UrlProc();
    virtual void ReserveWordProc();
    virtual void NullProc();
    virtual void TabProc();
    virtual void LFProc();
    virtual void CRProc();
    virtual void CommentProc();
    virtual void HexProc();
    virtual void NumberProc();
    virtual void AnkProc();
    virtual void DBSymbolProc();
    virtual void DBProc();
    virtual void KanjiProc();
    virtual void KanaSymbolProc();
    virtual void KanaProc();
    virtual void SymbolProc();
    virtual void SingleQuotationProc();
    virtual void DoubleQuotationProc();
    virtual void ContinuedTokenProc();
    virtual void DispatchProc();

    // Scans a quoted text closed by Quote, a doubled Quote standing for one; the opening quote
    // is already consumed.
    void ScanQuoted(char Quote);
    // Steps over one character (two bytes at a lead byte, never over the end of the row).
    void StepChar();
    // The bracket of that index, or null when the collection no longer has it.
    TColourerBracketItem* BracketAt(int Index) const;

    const char* FBuffer = nullptr; // first byte of the row text
    int FBracketIndex = biNone;    // bracket the parser is inside; -1 none; -2 not computed
    std::string FDataStr;
    int FLastBracketIndex = biNotComputed; // bracket of the latest bracket token
    int FFieldIndex = 0;
    TColourer* FColourer;          // not owned
    bool FContinued = false;       // the current token continues a token of the row before
    const char* FRunPtr = nullptr; // advanced by the scanning methods
    int FPrevRowAttribute = 0;
    int FParseFlag = 0;
    int FParseValue = 0;
    int FRowAttribute = 0;
    const char* FNextPtr = nullptr; // where the search for the next token starts
    int FContinuedToken = 0;        // kind continuing from the row before; 0 none
    int FTokenKind = tkEnd;
    const char* FTokenPtr = nullptr;     // start of the current token
    int FRemain = 0;                     // bytes at the row start still belonging to the continued token
                                         // (negative: to the left bracket of FBracketIndex)
    const char* FNoMailBefore = nullptr; // end of the run in which IsMail last found no address:
                                         // no later start in that run finds one

private:
    // The framework's own methods by first byte and by continued kind, built once.
    struct TMethodTables {
        TProc Method[256];
        TProc Token[256];
    };
    static const TMethodTables& BaseMethodTables();

    TProc FMethodTable[256];
    TProc FTokenMethodTable[256];
    TLineWindow FLine; // ScanRow's rows with the rest of their logical line
};

} // namespace quillon
