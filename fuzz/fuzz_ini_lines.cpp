// Any bytes read as an INI-style file, then read and written: nothing may
// fail, a value written is read back, and writing many ticks at once leaves
// the same lines as writing them one by one.
#include "core/IniLines.h"
#include "testing/CompareAscii.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

// The first line is the file; every further line is a key to tick or untick.
std::pair<std::string_view, zep::Names> Split(std::string_view input) {
    const auto cut = input.find('\x01');
    if (cut == std::string_view::npos) return {input, {}};
    return {input.substr(0, cut), zep::SplitLines(input.substr(cut + 1))};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [text, keys] = Split(std::string_view(reinterpret_cast<const char*>(data), size));
    zep::IniLines oneByOne(zep::test::CompareAsciiNoCase, text);
    zep::IniLines batch = oneByOne;
    for (const std::string section : {"Status", "status", ""}) {
        oneByOne.ReadInteger(section, keys.empty() ? "x" : keys[0], 7);
        oneByOne.ReadBool(section, "", true);
    }

    std::vector<std::pair<std::string, bool>> ticks;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const bool tick = (keys[i].size() + i) % 2 == 0;
        ticks.emplace_back(keys[i], tick);
        oneByOne.WriteString("Status", keys[i], tick ? "1" : "0");
        // Every key reads back as written, whatever it holds.
        if (oneByOne.ReadBool("Status", keys[i], !tick) != tick) std::abort();
    }
    batch.WriteBools("Status", ticks);
    if (batch.Lines() != oneByOne.Lines()) std::abort();
    if (zep::IniLines(zep::test::CompareAsciiNoCase, oneByOne.Text()).Lines() != oneByOne.Lines()) std::abort();
    return 0;
}
