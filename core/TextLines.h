#pragma once
// Line-oriented text as the group files and the check-state file store it.
#include <string>
#include <string_view>
#include <vector>

namespace zep {

using Names = std::vector<std::string>;

// Splits text into lines. A line ends at CR, LF or NUL; after it one CR and
// then one LF are skipped, so CR LF is one break while LF CR is two. A NUL
// ends the text. A break at the very end adds no empty line.
Names SplitLines(std::string_view text);

// Every line followed by CR LF, the last one included.
std::string JoinLines(const Names& lines);

// Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates).
// Text in a legacy code page with any byte above 127 almost never is.
bool IsUtf8(std::string_view text);

// Names read from files are joined to folder paths; one holding a path
// separator or a drive colon would reach outside that folder.
bool IsPlainName(std::string_view name);

// Why a group name can't be saved, or an empty string when it can.
std::string GroupNameProblem(std::string_view group);

}  // namespace zep
