#include "core/StoredText.h"

#include "core/TextLines.h"
#include "win/WideText.h"

#include <algorithm>
#include <cstdlib>

namespace zep {
namespace {

// The ANSI code page the system gives programs that ask for none; the
// locale's default when the setting can't be read.
UINT SystemAnsiCodePage() {
    char value[8] = {};
    DWORD size = sizeof value;
    if (::RegGetValueA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage", "ACP",
                       RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS)
        if (const auto codePage = static_cast<UINT>(std::strtoul(value, nullptr, 10))) return codePage;
    UINT codePage = 0;
    ::GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                     reinterpret_cast<LPSTR>(&codePage), sizeof codePage);
    return codePage;
}

// The code page the files were written in while the process spoke another
// one, or 0 when the process speaks the files' code page.
UINT LegacyCodePage() {
    static const UINT codePage = [] {
        if (::GetACP() != CP_UTF8) return 0u;
        const UINT system = SystemAnsiCodePage();
        return system == CP_UTF8 ? 0u : system;
    }();
    return codePage;
}

// Plain ASCII is written the same in every code page the files may be in.
bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

Names FromStoredLines(std::string_view bytes, const LineTest& known) {
    Names lines = SplitLines(bytes);
    const UINT legacy = LegacyCodePage();
    if (legacy == 0) return lines;
    // A file that is not UTF-8 was written in the code page. Some code-page text
    // is valid UTF-8 by chance, and an earlier version wrote every file in the
    // code page: where the two readings of a line differ, what exists decides.
    const bool utf8 = IsUtf8(bytes);
    for (auto& line : lines) {
        if (IsAscii(line)) continue;
        std::string inCodePage = Narrow(Widen(line, legacy), CP_UTF8).value_or(line);
        if (!utf8 || (known && known(inCodePage) && !known(line))) line = std::move(inCodePage);
    }
    return lines;
}

std::string ToStoredText(std::string text) {
    const UINT legacy = LegacyCodePage();
    if (legacy == 0 || IsAscii(text)) return text;
    // Only code-page bytes that no reader takes for UTF-8 read back as the same text.
    auto inCodePage = Narrow(Widen(text, CP_UTF8), legacy);
    return inCodePage && !IsUtf8(*inCodePage) ? std::move(*inCodePage) : text;
}

}  // namespace zep
