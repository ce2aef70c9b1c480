#pragma once
// The text of group files and status.ord, between the bytes on disk and the
// program's own text. The manifest asks for UTF-8 as the process code page;
// where Windows honours that (10 version 1903 on), every name the program
// handles is UTF-8, while files written before, or on an older Windows, are in
// the system's ANSI code page. So a file that is not well-formed UTF-8 is read
// in that code page, and text that fits it is written in it, byte for byte as
// ever; only text holding other characters, or whose code-page bytes would read
// as UTF-8, is written in UTF-8. Where the process code page is the ANSI one,
// bytes pass through unchanged.
#include "core/TextLines.h"

#include <functional>
#include <string>
#include <string_view>

namespace zep {

// Whether a line, as read, names something that exists: a shortcut in the
// repository, a listed group.
using LineTest = std::function<bool(const std::string& line)>;

// The lines of a stored file as the program's text. A line of a UTF-8 file
// that reads otherwise in the code page is taken in the code page when that
// reading is `known` and the UTF-8 one is not.
Names FromStoredLines(std::string_view bytes, const LineTest& known = {});
// Text to store: in the code page where it fits and reads back the same, else in UTF-8.
std::string ToStoredText(std::string text);

}  // namespace zep
