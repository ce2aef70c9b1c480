#include "core/CompareText.h"

#include "win/WideText.h"

namespace zep {

// In UTF-16: CompareStringA reads its text in the locale's code page, not the process's.
int CompareTextNoCase(const std::string& a, const std::string& b) {
    const std::wstring wa = Widen(a), wb = Widen(b);
    return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.data(), static_cast<int>(wa.size()), wb.data(),
                            static_cast<int>(wb.size())) -
           CSTR_EQUAL;
}

}  // namespace zep
