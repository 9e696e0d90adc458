// Stored components: an editor property set and a colourer read from damaged settings values.
#include "EditorExProp.h"
#include "MotionColourer.h"
#include "StreamUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon;
    const TBytes bytes(data, data + size);
    TEditorExProp prop;
    TMotionColourer colourer(nullptr);
    for (TPersistent* target : {static_cast<TPersistent*>(&prop), static_cast<TPersistent*>(&colourer)}) {
        try {
            ReadComponent(bytes, *target);
        } catch (const Exception&) {
        }
    }
    return 0;
}
