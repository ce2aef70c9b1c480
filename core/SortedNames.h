#pragma once
// The names of several groups merged into one list, as the preview shows them:
// sorted, and each name once, by the comparison the caller gives.
#include "core/CompareText.h"
#include "core/TextLines.h"

namespace zep {

// `names` sorted ascending by `compare`; of names that compare equal only the
// first one given stays.
Names SortedUniqueNames(Names names, NameCompare compare);

}  // namespace zep
