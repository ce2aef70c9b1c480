#include "core/TextLines.h"

#include <algorithm>
#include <array>

namespace zep {
namespace {

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Windows maps these names to devices whatever extension follows them: CON.dat
// is the console, not a file. Like the file system, this looks at the name up
// to its first dot with trailing spaces dropped.
bool IsDeviceName(std::string_view group) {
    std::string_view stem = group.substr(0, group.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
    std::string upper(stem);
    std::transform(upper.begin(), upper.end(), upper.begin(), AsciiUpper);
    static constexpr std::array<std::string_view, 4> kPlain = {"CON", "PRN", "AUX", "NUL"};
    if (std::find(kPlain.begin(), kPlain.end(), upper) != kPlain.end()) return true;
    return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) && upper[3] >= '1' &&
           upper[3] <= '9';
}

// The bytes of the UTF-8 sequence that `lead` starts; 0 when no sequence starts
// so: a continuation byte, the lead of an overlong two-byte form, or past U+10FFFF.
std::size_t Utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead < 0xC2) return 0;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    return lead < 0xF5 ? 4 : 0;
}

}  // namespace

Names SplitLines(std::string_view text) {
    Names lines;
    lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n' && text[end] != '\0') ++end;
        lines.emplace_back(text.substr(pos, end - pos));
        if (end == text.size() || text[end] == '\0') break;
        pos = end;
        if (text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;
    }
    return lines;
}

std::string JoinLines(const Names& lines) {
    std::size_t size = 0;
    for (const auto& line : lines) size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = Utf8SequenceLength(lead);
        if (length == 0 || i + length > text.size()) return false;
        // The second byte's range rules out overlong forms, surrogates and code points past U+10FFFF.
        const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
        for (std::size_t k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) return false;
        }
        i += length;
    }
    return true;
}

bool IsPlainName(std::string_view name) {
    return name.find_first_of("\\/:") == std::string_view::npos;
}

std::string GroupNameProblem(std::string_view group) {
    const std::string quoted = "\"" + std::string(group) + "\"";
    if (group.find_first_of("\\/") != std::string_view::npos)
        return "Cannot save group " + quoted + ": a group name may not hold \\ or /";
    if (group == "." || group == "..")
        return "Cannot save group " + quoted + ": . and .. name folders, not groups";
    if (IsDeviceName(group))
        return "Cannot save group " + quoted + ": Windows keeps that name for a device, not a file";
    return {};
}

}  // namespace zep
