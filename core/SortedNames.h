#pragma once
// The names of several groups merged into one list, as the preview shows them:
// sorted, and each name once. The comparison is the caller's: the product
// passes CompareTextNoCase (case-blind, the user's locale order).
#include "core/TextLines.h"

namespace zep {

// Less than zero, zero or greater than zero, as a sorts before, with or after b.
using NameCompare = int (*)(const std::string& a, const std::string& b);

// `names` sorted ascending by `compare`; of names that compare equal only the
// first one given stays.
Names SortedUniqueNames(Names names, NameCompare compare);

}  // namespace zep
