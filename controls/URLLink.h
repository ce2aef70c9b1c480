#pragma once
// What a link label hands to the shell. Pure text: no Win32, built and tested natively.
#include <string>

namespace zep {

enum class TURLType { utHTTP, utFTP, utMailTo };

// "http://", "ftp://" or "mailto:".
const char* URLPrefix(TURLType type);

// The caption itself when its lower-cased text (A to Z only) already holds the
// type's prefix anywhere; otherwise the prefix followed by the caption.
std::string CompleteURL(const std::string& caption, TURLType type);

}  // namespace zep
