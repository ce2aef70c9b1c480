#pragma once
// Registry access for the settings: key paths with a leading backslash count
// from the root, values of an unexpected type count as missing.
#include "win/Handle.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zep {

// An open key, or an empty one when it can't be opened (or created).
RegKey OpenKey(HKEY root, const std::string& path, bool create);

std::optional<std::int32_t> ReadDword(HKEY key, const char* name);
std::optional<std::string> ReadText(HKEY key, const char* name);
// The strings of a REG_MULTI_SZ value; none when it is missing or of another type.
std::vector<std::string> ReadTexts(HKEY key, const char* name);

// Both throw RegistryError when the value can't be written.
void WriteDword(HKEY key, const char* name, std::int32_t value);
void WriteText(HKEY key, const char* name, const std::string& value);
// A REG_MULTI_SZ value; with no strings, the value is removed.
void WriteTexts(HKEY key, const char* name, const std::vector<std::string>& values);

}  // namespace zep
