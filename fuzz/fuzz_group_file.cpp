// Any bytes read as a group file: the reader must not fail, and saving what
// it read and reading that again must give the same names.
#include "core/TextLines.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const zep::Names names = zep::SplitLines(bytes);
    for (const auto& name : names)
        if (name.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) std::abort();
    const std::string saved = zep::JoinLines(names);
    if (zep::SplitLines(saved) != names) std::abort();
    // The names hold every byte up to the first NUL but the line ends, in order.
    std::string content, joined;
    for (char c : bytes.substr(0, bytes.find('\0')))
        if (c != '\r' && c != '\n') content += c;
    for (const auto& name : names) joined += name;
    if (joined != content) std::abort();
    return 0;
}
