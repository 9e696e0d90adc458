#pragma once
// The program-wide fuzzy-character dictionary: 145 sets of full-width and half-width forms,
// kana of both kinds, voiced and semi-voiced marks written apart, and number variants.
#include "REDictionary.h"

namespace quillon {

// Built on first use, read-only afterwards.
const TREDictionary& FuzzyCharDic();

} // namespace quillon
