#pragma once
// A case-blind comparison of ASCII letters, standing in for the user's locale
// in the native tests and fuzzers, where there is no Win32.
#include <string>

namespace zep::test {

inline int CompareAsciiNoCase(const std::string& a, const std::string& b) {
    const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return lower(a[i]) < lower(b[i]) ? -1 : 1;
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

}  // namespace zep::test
