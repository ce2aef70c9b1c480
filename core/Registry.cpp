#include "core/Registry.h"

#include "core/Errors.h"

#include <algorithm>

namespace zep {
namespace {

std::string Relative(const std::string& path) {
    return !path.empty() && path[0] == '\\' ? path.substr(1) : path;
}

void Check(LSTATUS status, const char* name) {
    if (status != ERROR_SUCCESS)
        throw RegistryError("Failed to set data for '" + std::string(name) + "'");
}

}  // namespace

RegKey OpenKey(HKEY root, const std::string& path, bool create) {
    HKEY key = nullptr;
    const std::string relative = Relative(path);
    const LSTATUS status =
        create ? ::RegCreateKeyExA(root, relative.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_ALL_ACCESS, nullptr, &key, nullptr)
               : ::RegOpenKeyExA(root, relative.c_str(), 0, KEY_ALL_ACCESS, &key);
    return RegKey(status == ERROR_SUCCESS ? key : nullptr);
}

std::optional<std::int32_t> ReadDword(HKEY key, const char* name) {
    DWORD type = 0, value = 0, size = sizeof value;
    if (!key || ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
                    ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<std::string> ReadText(HKEY key, const char* name) {
    DWORD type = 0, size = 0;
    if (!key || ::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    std::string text(size, '\0');
    if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    text.resize(std::min<std::size_t>(size, text.size()));
    if (const auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    return text;
}

std::vector<std::string> ReadTexts(HKEY key, const char* name) {
    DWORD type = 0, size = 0;
    if (!key || ::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_MULTI_SZ)
        return {};
    std::string block(size, '\0');
    if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(block.data()), &size) != ERROR_SUCCESS)
        return {};
    std::vector<std::string> texts;
    for (std::size_t at = 0, end; at < block.size() && block[at] != '\0'; at = end + 1) {
        end = std::min(block.find('\0', at), block.size());
        texts.push_back(block.substr(at, end - at));
    }
    return texts;
}

void WriteDword(HKEY key, const char* name, std::int32_t value) {
    const auto data = static_cast<DWORD>(value);
    Check(::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data), name);
}

void WriteText(HKEY key, const char* name, const std::string& value) {
    Check(::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(value.size() + 1)),
          name);
}

void WriteTexts(HKEY key, const char* name, const std::vector<std::string>& values) {
    if (values.empty()) {
        ::RegDeleteValueA(key, name);
        return;
    }
    std::string block;
    for (const auto& value : values) block.append(value).push_back('\0');
    block.push_back('\0');
    Check(::RegSetValueExA(key, name, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(block.data()),
                           static_cast<DWORD>(block.size())),
          name);
}

}  // namespace zep
