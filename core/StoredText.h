#pragma once
// The text of group files and status.ord, between the bytes on disk and the
// program's own text. The manifest asks for UTF-8 as the process code page;
// where Windows honours that (10 version 1903 on), every name the program
// handles is UTF-8, while files written before, or on an older Windows, are in
// the system's ANSI code page. So a file that is not well-formed UTF-8 is read
// in that code page, and text that fits it is written in it, byte for byte as
// ever; only text holding other characters is written in UTF-8. Where the
// process code page is the ANSI one, bytes pass through unchanged.
#include <string>

namespace zep {

std::string FromStoredText(std::string bytes);
std::string ToStoredText(std::string text);

}  // namespace zep
