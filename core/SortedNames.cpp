#include "core/SortedNames.h"

#include <algorithm>

namespace zep {

Names SortedUniqueNames(Names names, NameCompare compare) {
    // A stable sort keeps equal names in the order given, so the first met leads each run.
    std::stable_sort(names.begin(), names.end(),
                     [compare](const std::string& a, const std::string& b) { return compare(a, b) < 0; });
    names.erase(std::unique(names.begin(), names.end(),
                            [compare](const std::string& a, const std::string& b) { return compare(a, b) == 0; }),
                names.end());
    return names;
}

}  // namespace zep
