#pragma once
// Names compared without regard to letter case, in the user's locale order:
// the order of the platform's sorted list boxes. Every case-blind comparison
// of names and sections goes through CompareTextNoCase (but for the device
// names Windows reserves, which it matches in ASCII itself); the Win32-free
// parts that need one take it as a NameCompare, so that they build natively too.
#include <string>

namespace zep {

// Less than zero, zero or greater than zero, as a sorts before, with or after b.
using NameCompare = int (*)(const std::string& a, const std::string& b);

int CompareTextNoCase(const std::string& a, const std::string& b);

inline bool SameTextNoCase(const std::string& a, const std::string& b) { return CompareTextNoCase(a, b) == 0; }
inline bool LessTextNoCase(const std::string& a, const std::string& b) { return CompareTextNoCase(a, b) < 0; }

}  // namespace zep
