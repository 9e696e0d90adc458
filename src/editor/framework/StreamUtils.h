#pragma once
// Components as binary settings values.
//
// The stream is self-describing and versioned, so that a value written by an older or newer build
// still reads: the magic "QCMP", a version byte, the class name, then every published property
// (written whether or not it holds its default value, so that a value set back to its default
// survives a restart). A property is a tag byte, its name and its value; nested objects are written
// as their own properties under dotted names ("Colors.Ank.BkColor"); a collection is its item count
// followed by each item's properties and an end mark. Colours are written by name where they have
// one ("clRed"), enumerations and set members by identifier.
//
// Reading first decodes and checks the whole stream against the component's published properties
// and only then sets them, so that a corrupt value raises EReadError and changes nothing. Properties
// that the stream lacks keep their values; properties the component does not have are passed over.
#include "EditorClasses.h"
#include "SettingsStore.h"
#include "Streams.h"

#include <optional>
#include <string>

namespace quillon {

TBytes WriteComponent(const TPersistent& Instance);
// Sets the properties found in Stream on Instance; raises EReadError, leaving Instance unchanged.
void ReadComponent(const TBytes& Stream, TPersistent& Instance);

void WriteRegStream(TSettingsStore& Store, const std::string& Section, const std::string& ValueName,
                    const TBytes& Stream);
// The stored bytes, or nothing when the value is absent.
std::optional<TBytes> ReadRegStream(TSettingsStore& Store, const std::string& Section, const std::string& ValueName);

} // namespace quillon
