#include "controls/URLLink.h"

#include <algorithm>

namespace zep {

const char* URLPrefix(TURLType type) {
    switch (type) {
    case TURLType::utFTP: return "ftp://";
    case TURLType::utMailTo: return "mailto:";
    case TURLType::utHTTP: break;
    }
    return "http://";
}

std::string CompleteURL(const std::string& caption, TURLType type) {
    // Only A to Z: the bytes of an ANSI caption above 127 stay as they are.
    std::string lower = caption;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    const std::string prefix = URLPrefix(type);
    return lower.find(prefix) != std::string::npos ? caption : prefix + caption;
}

}  // namespace zep
