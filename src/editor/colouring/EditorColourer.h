#pragma once
// The editor's own colourer: a general scheme for program-like text with brackets, reserved words,
// comments to the end of the line, one quotation character, numbers with an optional hexadecimal
// prefix, control codes written as "#" and digits, mail addresses and URLs.
#include "Colourer.h"

#include <array>
#include <optional>

namespace quillon {

// Kinds of the editor's parser.
enum : int {
    tkQuotation = 26,      // text in the configurable quote
    tkControlCode = 27,    // "#" and decimal digits
    tkHexControlCode = 28, // "#$" and hexadecimal digits
};

class TEditorColor : public TColourerColor {
public:
    QUILLON_CLASS_INFO
};

class TEditorColourer;

// The colours of the editor's colourer; Reserve is the colourer's own. A change of any of them
// reaches every editor that uses the colourer.
class TEditorColors : public TNotifyPersistent {
public:
    QUILLON_CLASS_INFO
    explicit TEditorColors(TEditorColourer* Colourer);

    TEditorColor& Ank() const { return Get(cAnk); }
    void SetAnk(const TColourerColor& Value) { Ank().Assign(Value); }
    TEditorColor& Comment() const { return Get(cComment); }
    void SetComment(const TColourerColor& Value) { Comment().Assign(Value); }
    TEditorColor& DBCS() const { return Get(cDBCS); }
    void SetDBCS(const TColourerColor& Value) { DBCS().Assign(Value); }
    TEditorColor& Hit() const { return Get(cHit); }
    void SetHit(const TColourerColor& Value) { Hit().Assign(Value); }
    TEditorColor& Int() const { return Get(cInt); }
    void SetInt(const TColourerColor& Value) { Int().Assign(Value); }
    TEditorColor& Mail() const { return Get(cMail); }
    void SetMail(const TColourerColor& Value) { Mail().Assign(Value); }
    TColourerColor& Reserve() const;
    void SetReserve(const TColourerColor& Value) { Reserve().Assign(Value); }
    TEditorColor& Select() const { return Get(cSelect); }
    void SetSelect(const TColourerColor& Value) { Select().Assign(Value); }
    TEditorColor& Str() const { return Get(cStr); }
    void SetStr(const TColourerColor& Value) { Str().Assign(Value); }
    TEditorColor& Symbol() const { return Get(cSymbol); }
    void SetSymbol(const TColourerColor& Value) { Symbol().Assign(Value); }
    TEditorColor& Url() const { return Get(cUrl); }
    void SetUrl(const TColourerColor& Value) { Url().Assign(Value); }

    void Assign(const TPersistent& Source) override;

private:
    enum TIndex { cAnk, cComment, cDBCS, cHit, cInt, cMail, cSelect, cStr, cSymbol, cUrl, cCount };
    TEditorColor& Get(TIndex i) const { return *FColors[i]; }

    TEditorColourer* FColourer; // not owned
    std::array<std::unique_ptr<TEditorColor>, cCount> FColors;
};

class TEditorBracketCollection : public TColourerBracketCollection {
public:
    QUILLON_CLASS_INFO
    using TColourerBracketCollection::TColourerBracketCollection;
    // Each sets one value of every bracket's colour, reporting one change.
    virtual void SetAllBkColor(TColor Color);
    virtual void SetAllColor(TColor Color);
    virtual void SetAllStyle(TFontStyles Style);

private:
    template <class F> void ForAll(F f);
};

class TEditorColourer : public TColourer {
public:
    QUILLON_CLASS_INFO
    explicit TEditorColourer(TComponent* Owner);
    ~TEditorColourer() override;

    TEditorBracketCollection& EditorBrackets() const { return static_cast<TEditorBracketCollection&>(Brackets()); }
    TEditorColors& Colors() const { return *FColors; }
    void SetColors(const TEditorColors& Value) { FColors->Assign(Value); }
    // The string that starts a comment running to the end of the line.
    const std::string& Commenter() const { return FCommenter; }
    void SetCommenter(const std::string& Value) { FCommenter = Value; }
    bool ControlCode() const { return FControlCode; }
    void SetControlCode(bool Value) { FControlCode = Value; }
    // Matched without regard to ASCII case.
    const std::string& HexPrefix() const { return FHexPrefix; }
    void SetHexPrefix(const std::string& Value) { FHexPrefix = Value; }
    bool Mail() const { return FMail; }
    void SetMail(bool Value) { FMail = Value; }
    // The quotation character: empty, or one single-byte character.
    const std::string& Quotation() const { return FQuotation; }
    // Keeps the first byte of Value; a value that starts with a double-byte character is refused.
    void SetQuotation(const std::string& Value);
    bool Url() const { return FUrl; }
    void SetUrl(bool Value) { FUrl = Value; }

    std::unique_ptr<TColourerParser> CreateParser() override;

    // Set one value of every colour but Select and Hit, reporting one change.
    virtual void SetAllBkColor(TColor Color);
    virtual void SetAllColor(TColor Color);
    virtual void SetAllStyle(TFontStyles Style);

protected:
    void SetColourerColorProc(TPersistent& Instance, const TPropInfo& Prop) override;

private:
    void SetAll(const TColourerColor& Source, int Mask);

    std::unique_ptr<TEditorColors> FColors;
    std::string FCommenter;
    bool FControlCode = false;
    std::string FHexPrefix;
    bool FMail = false;
    std::string FQuotation;
    bool FUrl = false;
};

// The quotation that Value sets: its first byte (empty for an empty value); nothing when Value
// starts with a double-byte character, which a one-byte quote test could not match whole.
std::optional<std::string> QuotationOf(const std::string& Value);

class TEditorParser : public TColourerParser {
public:
    explicit TEditorParser(TColourer* Colourer);
    TTokenKinds GetQuotedTokenKinds() const override;
    TColourerColor* TokenColor() override;

protected:
    void DispatchProc() override;
    virtual bool IsQuotation();
    virtual void QuotationProc();
    virtual bool IsCommenter();
    virtual bool IsHexPrefix();
    virtual bool IsHexControlCode();
    virtual void HexControlCodeProc();
    virtual bool IsControlCode();
    virtual void ControlCodeProc();

private:
    TEditorColourer* FEditorColourer; // the colourer when it is an editor colourer, else null
};

} // namespace quillon
