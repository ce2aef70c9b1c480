#include "core/Settings.h"

#include "core/Errors.h"
#include "core/Registry.h"

namespace zep {
namespace {

const char* const AutoRunValue = "Zepton";

RegKey CreateKey(HKEY root, const std::string& path) {
    RegKey key = OpenKey(root, path, true);
    if (!key) throw RegistryError("Failed to create key " + path);
    return key;
}

}  // namespace

WindowSettings RestoreSettings(const SettingsKeys& keys) {
    const RegKey key = OpenKey(keys.setupRoot, keys.setupPath, false);
    WindowSettings s;
    s.top = ReadDword(key.get(), "top").value_or(s.top);
    s.left = ReadDword(key.get(), "left").value_or(s.left);
    s.autoRun = ReadDword(key.get(), "Run").value_or(s.autoRun ? 1 : 0) != 0;
    return s;
}

void StoreSettings(const WindowSettings& settings, const SettingsKeys& keys) {
    const RegKey key = CreateKey(keys.setupRoot, keys.setupPath);
    WriteDword(key.get(), "top", settings.top);
    WriteDword(key.get(), "left", settings.left);
    WriteDword(key.get(), "Run", settings.autoRun ? 1 : 0);
}

void EnableAutoRun(const std::string& exePath, const SettingsKeys& keys) {
    WriteText(CreateKey(keys.runRoot, keys.runPath).get(), AutoRunValue, exePath);
}

void DisableAutoRun(const SettingsKeys& keys) {
    const RegKey key = OpenKey(keys.runRoot, keys.runPath, false);
    if (key) ::RegDeleteValueA(key.get(), AutoRunValue);
}

}  // namespace zep
