#include "core/TextLines.h"

namespace zep {

Names SplitLines(std::string_view text) {
    Names lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find_first_of(std::string_view("\r\n\0", 3), pos);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(pos));
            break;
        }
        lines.emplace_back(text.substr(pos, end - pos));
        if (text[end] == '\0') break;
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

bool IsPlainName(std::string_view name) {
    return name.find_first_of("\\/:") == std::string_view::npos;
}

std::string GroupNameProblem(std::string_view group) {
    const std::string quoted = "\"" + std::string(group) + "\"";
    if (group.find_first_of("\\/") != std::string_view::npos)
        return "Cannot save group " + quoted + ": a group name may not hold \\ or /";
    if (group == "." || group == "..")
        return "Cannot save group " + quoted + ": . and .. name folders, not groups";
    return {};
}

}  // namespace zep
