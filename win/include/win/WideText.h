#pragma once
// 8-bit text and UTF-16 across the W calls. The program's text is in the
// process code page (UTF-8 where the manifest's choice is honoured), but some
// services keep to another one whatever the process asks: GDI's A calls draw
// in the system code page, CompareStringA reads the locale's.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace zep {

// The longest start of `text` that fits `maxBytes` and ends where a UTF-8
// character ends: a fixed-size field of the shell or a drawing buffer cut
// inside a character would show a broken one.
inline std::string_view WholeCharacters(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

inline std::wstring Widen(std::string_view text, UINT codePage = CP_ACP) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<std::size_t>(::MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0)),
                      L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

// `text` in `codePage`; nothing when a character has no exact match there
// (no look-alike stands in for it, as "O" would for a Greek capital omega).
inline std::optional<std::string> Narrow(std::wstring_view text, UINT codePage) {
    if (text.empty()) return std::string();
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int size = static_cast<int>(text.size());
    BOOL lossy = FALSE;
    BOOL* lossyOut = utf8 ? nullptr : &lossy;
    const int bytes = ::WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, lossyOut);
    std::string narrow(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(codePage, flags, text.data(), size, narrow.data(), static_cast<int>(narrow.size()), nullptr,
                          lossyOut);
    if (lossy) return std::nullopt;
    return narrow;
}

}  // namespace zep
