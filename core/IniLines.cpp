#include "core/IniLines.h"

#include <unordered_map>

namespace zep {
namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

// The text before the first "=", or empty when there is none.
std::string_view KeyOf(std::string_view line) {
    const auto eq = line.find('=');
    return eq == std::string_view::npos ? std::string_view() : line.substr(0, eq);
}

bool EndsScan(std::string_view line) { return line.find('[') != std::string_view::npos; }

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

int IniLines::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::string_view line = lines_[i];
        if (line.size() == section.size() + 2 && line.front() == '[' && line.back() == ']' &&
            EqualNoCase(line.substr(1, section.size()), section))
            return static_cast<int>(i);
    }
    return -1;
}

std::size_t IniLines::ScanSection(std::size_t header, std::string_view key) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && !EndsScan(lines_[i]) && KeyOf(lines_[i]) != key) ++i;
    return i;
}

std::string IniLines::ReadString(std::string_view section, std::string_view key,
                                 const std::string& def) const {
    const int header = FindSection(section);
    if (header < 0) return def;
    const std::size_t i = ScanSection(static_cast<std::size_t>(header), key);
    if (i == lines_.size() || EndsScan(lines_[i])) return def;
    const auto eq = lines_[i].find('=');
    return eq == std::string::npos ? std::string() : lines_[i].substr(eq + 1);
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

void IniLines::WriteString(std::string_view section, std::string_view key,
                           std::string_view value) {
    std::string line = std::string(key) + "=" + std::string(value);
    const int header = FindSection(section);
    if (header < 0) {
        lines_.emplace_back();
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(std::move(line));
        return;
    }
    const std::size_t i = ScanSection(static_cast<std::size_t>(header), key);
    if (i < lines_.size() && !EndsScan(lines_[i]))
        lines_[i] = std::move(line);
    else
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(i), std::move(line));
}

void IniLines::WriteBools(std::string_view section,
                          const std::vector<std::pair<std::string, bool>>& entries) {
    if (entries.empty()) return;
    if (FindSection(section) < 0) {
        lines_.emplace_back();
        lines_.push_back("[" + std::string(section) + "]");
    }
    const auto header = static_cast<std::size_t>(FindSection(section));

    // One scan of the section finds, for every key, the first line holding it.
    // A written line without "[" joins the scanned part (later writes can find
    // it); one with "[" ends the scan there, so later new lines go before it.
    // Both kinds pile up at the scan's end: plain lines in order, "[" lines in
    // reverse order. Lines are only built at the end, so the keys looked up
    // can point into the lines and the entries.
    struct Written { std::string_view key; bool value; };
    struct Ref { bool added; std::size_t index; };
    std::vector<std::pair<std::size_t, Written>> replaced;
    std::vector<Written> plain, bracketed;
    std::unordered_map<std::string_view, Ref> firstLine;
    const std::size_t stop = ScanSection(header, std::string_view("[", 1));  // never a key
    firstLine.reserve(stop - header + entries.size());
    for (std::size_t i = header + 1; i < stop; ++i) firstLine.try_emplace(KeyOf(lines_[i]), Ref{false, i});

    for (const auto& [key, value] : entries) {
        const Written line{key, value};
        const bool findable = key.find_first_of("[=") == std::string::npos;
        const auto found = findable ? firstLine.find(key) : firstLine.end();
        if (found == firstLine.end()) {
            auto& pile = key.find('[') == std::string::npos ? plain : bracketed;
            pile.push_back(line);
            if (&pile == &plain)
                firstLine.try_emplace(std::string_view(key).substr(0, key.find('=')), Ref{true, plain.size() - 1});
        } else if (found->second.added) {
            plain[found->second.index] = line;
        } else {
            replaced.emplace_back(found->second.index, line);
        }
    }

    const auto text = [](const Written& w) { return std::string(w.key) + (w.value ? "=1" : "=0"); };
    for (const auto& [index, line] : replaced) lines_[index] = text(line);
    Names added;
    added.reserve(plain.size() + bracketed.size());
    for (const auto& w : plain) added.push_back(text(w));
    for (auto w = bracketed.rbegin(); w != bracketed.rend(); ++w) added.push_back(text(*w));
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(stop), std::make_move_iterator(added.begin()),
                  std::make_move_iterator(added.end()));
}

}  // namespace zep
