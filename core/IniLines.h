#pragma once
// The lines of an INI-style file held in memory: sections, key=value entries
// and every other line carried along unchanged.
#include "core/CompareText.h"
#include "core/TextLines.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zep {

// "123", "-7", "+0" or "$1F" as a signed 32-bit value; nothing when the text
// is anything else or out of range.
std::optional<std::int32_t> ParseInteger(std::string_view text);

class IniLines {
public:
    // Sections are found by `compare` (the program's case-blind comparison, or a
    // stand-in where there is no Win32).
    explicit IniLines(NameCompare compare, Names lines = {}) : compare_(compare), lines_(std::move(lines)) {}
    IniLines(NameCompare compare, std::string_view text) : IniLines(compare, SplitLines(text)) {}

    const Names& Lines() const { return lines_; }
    std::string Text() const { return JoinLines(lines_); }

    // Whether `line` is the entry of `key`, as written.
    static bool HoldsKey(std::string_view line, std::string_view key);

    // Index of the first line equal to "[section]" regardless of case, or -1.
    int FindSection(std::string_view section) const;

    std::string ReadString(std::string_view section, std::string_view key,
                           const std::string& def) const;
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t def) const;
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    // The same lines as calling WriteString with "1" or "0" for each entry in
    // turn, in time linear in the number of lines.
    void WriteBools(std::string_view section,
                    const std::vector<std::pair<std::string, bool>>& entries);

private:
    // Removes what an earlier version wrote for a key that needs escaping, as it
    // stood: such a line ends the section, or claims another key.
    void DropUnescapedLines(std::string_view section, std::string_view key);
    // Index of the line where a scan of the section below `header` stops: the
    // line holding `key`, the first line holding "[", or the end.
    std::size_t ScanSection(std::size_t header, std::string_view key) const;
    // Index of the first line below `header` that ends its section, or the end.
    std::size_t SectionEnd(std::size_t header) const;

    NameCompare compare_;
    Names lines_;
};

}  // namespace zep
