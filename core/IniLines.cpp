#include "core/IniLines.h"

#include <algorithm>
#include <unordered_map>

namespace zep {
namespace {

// The text before the first "=", or empty when there is none.
std::string_view KeyOf(std::string_view line) {
    const auto eq = line.find('=');
    return eq == std::string_view::npos ? std::string_view() : line.substr(0, eq);
}

// Before keys were escaped, a group named "[Old]" was saved as the line
// "[Old]=0": it begins with "[" and has "=" after its "]". Such a line is that
// key's entry, not a header, so the section goes on behind it.
bool IsSpoiledEntry(std::string_view line) {
    if (line.empty() || line.front() != '[') return false;
    const auto close = line.find(']');
    return close != std::string_view::npos && line.find('=', close) != std::string_view::npos;
}

bool EndsScan(std::string_view line) { return line.find('[') != std::string_view::npos && !IsSpoiledEntry(line); }

bool IsHeader(std::string_view line) { return line.size() >= 2 && line.front() == '[' && line.back() == ']'; }

// "[" would end the section and "=" the key: a key holding either is stored with
// it as "<5B>" or "<3D>", and "<" itself as "<3C>". The program's keys are group
// names, which are file names and never hold "<": every file written before
// reads as it did.
// Plain loops: every key of every save passes here, and find_first_of costs a call per character.
bool NeedsEscape(std::string_view key) {
    return std::any_of(key.begin(), key.end(), [](char c) { return c == '[' || c == '=' || c == '<'; });
}

// Only a key holding "[" or "=" was written spoiled before it was escaped; a key
// holding "<" alone never was, and its unescaped line is another key's escaped one.
bool SpoiledBefore(std::string_view key) {
    return std::any_of(key.begin(), key.end(), [](char c) { return c == '[' || c == '='; });
}

std::string StoredKey(std::string_view key) {
    if (!NeedsEscape(key)) return std::string(key);
    std::string stored;
    for (const char c : key) {
        if (c == '[') stored += "<5B>";
        else if (c == '=') stored += "<3D>";
        else if (c == '<') stored += "<3C>";
        else stored += c;
    }
    return stored;
}

int DigitValue(char c, int base) {
    int v = 99;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') v = c - 'A' + 10;
    return v < base ? v : -1;
}

}  // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    bool negative = false;
    int base = 10;
    if (!text.empty() && text[0] == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    // Hexadecimal takes the full 32 bits and wraps into the sign; decimal is range-checked.
    const std::int64_t limit = base == 16 ? 0xFFFFFFFFLL
                                          : (negative ? 0x80000000LL : 0x7FFFFFFFLL);
    std::int64_t value = 0;
    for (char c : text) {
        const int digit = DigitValue(c, base);
        if (digit < 0) return std::nullopt;
        value = value * base + digit;
        if (value > limit) return std::nullopt;
    }
    if (negative) value = -value;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

bool IniLines::HoldsKey(std::string_view line, std::string_view key) {
    return line.find('=') != std::string_view::npos && KeyOf(line) == StoredKey(key);
}

int IniLines::FindSection(std::string_view section) const {
    const std::string header = "[" + std::string(section) + "]";
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::string& line = lines_[i];
        // As written is the usual case, and the cheap one.
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']' &&
            (line == header || compare_(line, header) == 0))
            return static_cast<int>(i);
    }
    return -1;
}

std::size_t IniLines::ScanSection(std::size_t header, std::string_view key) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && !EndsScan(lines_[i]) && KeyOf(lines_[i]) != key) ++i;
    return i;
}

std::size_t IniLines::SectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && !EndsScan(lines_[i])) ++i;
    return i;
}

std::string IniLines::ReadString(std::string_view section, std::string_view key,
                                 const std::string& def) const {
    const int header = FindSection(section);
    if (header < 0) return def;
    const std::string stored = StoredKey(key);
    const std::size_t i = ScanSection(static_cast<std::size_t>(header), stored);
    if (i < lines_.size() && !EndsScan(lines_[i])) {
        const auto eq = lines_[i].find('=');
        return eq == std::string::npos ? std::string() : lines_[i].substr(eq + 1);
    }
    // Until the first save, a key an earlier version wrote unescaped is found as it wrote it.
    if (!SpoiledBefore(key)) return def;
    const std::string written = std::string(key) + "=";
    for (std::size_t j = static_cast<std::size_t>(header) + 1; j < i; ++j)
        if (lines_[j].rfind(written, 0) == 0) return lines_[j].substr(written.size());
    return def;
}

std::int32_t IniLines::ReadInteger(std::string_view section, std::string_view key,
                                   std::int32_t def) const {
    std::string s = ReadString(section, key, "");
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.replace(0, 2, "$");
    return ParseInteger(s).value_or(def);
}

bool IniLines::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniLines::DropUnescapedLines(std::string_view section, std::string_view key) {
    if (!SpoiledBefore(key)) return;
    const int header = FindSection(section);
    if (header < 0) return;
    const std::string written = std::string(key) + "=";
    auto end = lines_.begin() + header + 1;
    while (end != lines_.end() && !IsHeader(*end)) ++end;
    lines_.erase(std::remove_if(lines_.begin() + header + 1, end,
                                [&](const std::string& line) { return line.rfind(written, 0) == 0; }),
                 end);
}

void IniLines::WriteString(std::string_view section, std::string_view key,
                           std::string_view value) {
    DropUnescapedLines(section, key);
    const std::string stored = StoredKey(key);
    std::string line = stored + "=" + std::string(value);
    const int header = FindSection(section);
    if (header < 0) {
        lines_.emplace_back();
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(std::move(line));
        return;
    }
    const std::size_t i = ScanSection(static_cast<std::size_t>(header), stored);
    if (i < lines_.size() && !EndsScan(lines_[i]))
        lines_[i] = std::move(line);
    else
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(i), std::move(line));
}

void IniLines::WriteBools(std::string_view section,
                          const std::vector<std::pair<std::string, bool>>& entries) {
    if (entries.empty()) return;
    for (const auto& entry : entries) DropUnescapedLines(section, entry.first);
    if (FindSection(section) < 0) {
        lines_.emplace_back();
        lines_.push_back("[" + std::string(section) + "]");
    }
    const auto header = static_cast<std::size_t>(FindSection(section));

    // Saved in the same order as before, the entries meet their own lines one
    // after the other. While their keys rise strictly (so no key comes twice;
    // byte order, which costs next to nothing, fits the usual lists), each such
    // line is the first holding its key and is replaced where it is.
    std::size_t next = 0;
    for (std::size_t line = header + 1; next < entries.size() && line < lines_.size(); ++next, ++line) {
        const auto& [key, value] = entries[next];
        if (next > 0 && entries[next - 1].first >= key) break;
        std::string& text = lines_[line];
        const std::string stored = StoredKey(key);
        if (EndsScan(text) || KeyOf(text) != stored) break;
        if (text.size() == stored.size() + 2 && text[stored.size()] == '=')  // key=0 or key=1 as saved before
            text.back() = value ? '1' : '0';
        else text.assign(stored).append(value ? "=1" : "=0");
    }

    // The rest: one scan of the section finds, for every key, the first line
    // holding it; new keys pile up at the scan's end in the order they come.
    // No stored key holds "[", so the scan's end stays where it is.
    struct Ref { bool added; std::size_t index; };
    Names added;
    std::unordered_map<std::string, Ref> firstLine;
    const std::size_t stop = SectionEnd(header);
    if (next < entries.size()) firstLine.reserve(stop - header + entries.size() - next);
    for (std::size_t i = header + 1; i < stop && next < entries.size(); ++i)
        firstLine.try_emplace(std::string(KeyOf(lines_[i])), Ref{false, i});

    for (; next < entries.size(); ++next) {
        const auto& [key, value] = entries[next];
        std::string stored = StoredKey(key);
        std::string line = stored + (value ? "=1" : "=0");
        const auto [found, isNew] = firstLine.try_emplace(std::move(stored), Ref{true, added.size()});
        if (isNew) added.push_back(std::move(line));
        else if (found->second.added) added[found->second.index] = std::move(line);
        else lines_[found->second.index] = std::move(line);
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(stop), std::make_move_iterator(added.begin()),
                  std::make_move_iterator(added.end()));
}

}  // namespace zep
