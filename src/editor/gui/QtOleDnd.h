#pragma once
// Drags on Qt as the editor's drop targets and data objects see them.
//
// A Qt drag carries MIME data. Its text (CF_TEXT) is our raw CP932 bytes when the drag comes from
// this program, else its plain text converted to CP932, characters that CP932 lacks becoming "?"
// (counted, as for the clipboard); its files (CF_HDROP) are the local files among its URLs. A drop
// effect becomes a Qt drop action and back.
#include "OleDnd.h"

#include <Qt>

#include <string>
#include <vector>

class QMimeData;

namespace quillon {

// The data of a Qt drag as a data object. The MIME data belongs to the drag.
class TMimeDataObject : public TDataObject {
public:
    explicit TMimeDataObject(const QMimeData* Data) : FData(Data) {}
    // Every event of a drag brings its MIME data again.
    void SetMimeData(const QMimeData* Data) { FData = Data; }
    bool QueryGetData(int Format) const override;
    // Characters of the last text rendered that became "?".
    int Replaced() const { return FReplaced; }

protected:
    bool RenderData(int Format, TStgMedium& Medium) const override;

private:
    const QMimeData* FData;
    mutable int FReplaced = 0;
};

// The local file names of Data's URLs as their bytes (UTF-8 or not, as the URLs' escapes give
// them), in order, into Files (cleared first).
void DropFilesToStrings(const QMimeData& Data, std::vector<std::string>& Files);

Qt::DropAction DropEffectToAction(int Effect);
Qt::DropActions DropEffectsToActions(int Effects);
int DropActionToEffect(Qt::DropAction Action);

} // namespace quillon
