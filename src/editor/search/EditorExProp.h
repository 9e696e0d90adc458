#pragma once
// TEditorExProp: the property set of the extended editor. Beside everything a TEditorProp holds it
// keeps the four visible marks (ExMarks, stored after the inherited properties) and the find string
// with its option byte (copied between sets and editors, never stored).
#include "EditorEx.h"
#include "EditorPropSet.h"

#include <cstdint>
#include <memory>
#include <string>

namespace quillon {

class TEditorExProp : public TEditorProp {
public:
    QUILLON_CLASS_INFO
    explicit TEditorExProp(TComponent* Owner = nullptr);
    ~TEditorExProp() override;

    TEditorExMarks& ExMarks() const { return *FExMarks; }
    void SetExMarks(const TEditorExMarks& Value) { FExMarks->Assign(Value); }
    const std::string& FindString() const { return FFindString; }
    void SetFindString(const std::string& Value);
    std::uint8_t SearchOptions() const { return FSearchOptions; }
    void SetSearchOptions(std::uint8_t Value);

    // Fire with the set as Sender when the value changes through its setter.
    TNotifyEvent OnFindStringChange;
    TNotifyEvent OnSearchOptionsChange;

    // The inherited part, then from a TEditorEx or a TEditorExProp the marks, the find string and
    // its options.
    void Assign(const TPersistent& Source) override;

protected:
    // The inherited part, then to a TEditorEx the marks, the find string and its options through the
    // editor's setters.
    void AssignTo(TPersistent& Dest) const override;
    virtual std::unique_ptr<TEditorExMarks> CreateExMarks();

private:
    std::unique_ptr<TEditorExMarks> FExMarks;
    std::string FFindString;
    std::uint8_t FSearchOptions = 0;
};

} // namespace quillon
