#include "core/Settings.h"

#include "core/Errors.h"
#include "core/Registry.h"

#include <algorithm>

namespace zep {
namespace {

const char* const AutoRunValue = "Zepton";
const char* const ToldValue = "Told";
const char* const NextStartValue = "Next start";

RegKey CreateKey(HKEY root, const std::string& path) {
    RegKey key = OpenKey(root, path, true);
    if (!key) throw RegistryError("Failed to create key " + path);
    return key;
}

// In double quotes: a path with a space (a user name with one puts it in
// %LOCALAPPDATA%) would otherwise leave Windows guessing where the program ends.
std::string AutoRunCommand(const std::string& exePath) { return '"' + exePath + '"'; }

void RemoveValue(HKEY root, const std::string& path) {
    const RegKey key = OpenKey(root, path, false);
    if (key) ::RegDeleteValueA(key.get(), AutoRunValue);
}

// Adds `text` to a list under the settings key unless it is there: whether it was added.
bool AddToList(const SettingsKeys& keys, const char* name, const std::string& text) {
    const RegKey key = OpenKey(keys.setupRoot, keys.setupPath, true);
    auto texts = ReadTexts(key.get(), name);
    if (std::find(texts.begin(), texts.end(), text) != texts.end()) return false;
    texts.push_back(text);
    try {
        WriteTexts(key.get(), name, texts);
    } catch (const RegistryError&) {
        // Told again next time.
    }
    return true;
}

// The list, removed from the settings key.
std::vector<std::string> TakeList(const SettingsKeys& keys, const char* name) {
    const RegKey key = OpenKey(keys.setupRoot, keys.setupPath, false);
    auto texts = ReadTexts(key.get(), name);
    if (!texts.empty()) ::RegDeleteValueA(key.get(), name);
    return texts;
}

}  // namespace

WindowSettings RestoreSettings(const SettingsKeys& keys) {
    const RegKey key = OpenKey(keys.setupRoot, keys.setupPath, false);
    WindowSettings s;
    const auto top = ReadDword(key.get(), "top"), left = ReadDword(key.get(), "left");
    s.top = top.value_or(s.top);
    s.left = left.value_or(s.left);
    s.autoRun = ReadDword(key.get(), "Run").value_or(s.autoRun ? 1 : 0) != 0;
    // "Run" alone may come from the installer: only the program stores a position.
    s.stored = top || left;
    return s;
}

void StoreSettings(const WindowSettings& settings, const SettingsKeys& keys) {
    const RegKey key = CreateKey(keys.setupRoot, keys.setupPath);
    WriteDword(key.get(), "top", settings.top);
    WriteDword(key.get(), "left", settings.left);
    WriteDword(key.get(), "Run", settings.autoRun ? 1 : 0);
}

void EnableAutoRun(const std::string& exePath, const SettingsKeys& keys) {
    const std::string command = AutoRunCommand(exePath);
    try {
        WriteText(CreateKey(keys.runRoot, keys.runPath).get(), AutoRunValue, command);
    } catch (const RegistryError&) {
        // A standard user, or an administrator under UAC, may not write the
        // machine's key: the program then starts at this user's logon.
        WriteText(CreateKey(keys.userRunRoot, keys.userRunPath).get(), AutoRunValue, command);
        return;
    }
    // One entry only, or the program would start twice.
    RemoveValue(keys.userRunRoot, keys.userRunPath);
}

void DisableAutoRun(const SettingsKeys& keys) {
    RemoveValue(keys.runRoot, keys.runPath);
    RemoveValue(keys.userRunRoot, keys.userRunPath);
}

bool TellOnce(const std::string& cause, const SettingsKeys& keys) { return AddToList(keys, ToldValue, cause); }

void ForgetToldCauses(const SettingsKeys& keys) { TakeList(keys, ToldValue); }

void RememberForNextStart(const std::string& message, const SettingsKeys& keys) {
    AddToList(keys, NextStartValue, message);
}

std::vector<std::string> TakeMessagesForThisStart(const SettingsKeys& keys) { return TakeList(keys, NextStartValue); }

}  // namespace zep
