#include "core/Settings.h"

#include "core/Errors.h"
#include "core/Registry.h"

#include <algorithm>

namespace zep {
namespace {

const char* const AutoRunValue = "Zepton";
const char* const ToldValue = "Told";
const char* const NextStartValue = "Next start";
const char* const KeepTidyValue = "Keep tidy";

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

std::vector<std::string> ReadList(const SettingsKeys& keys, const char* name) {
    return ReadTexts(OpenKey(keys.setupRoot, keys.setupPath, false).get(), name);
}

// A list under the settings key, written back whole; one that can't be written
// only means telling again.
void WriteList(const SettingsKeys& keys, const char* name, const std::vector<std::string>& texts) {
    const RegKey key = OpenKey(keys.setupRoot, keys.setupPath, true);
    try {
        if (texts.empty())
            ::RegDeleteValueA(key.get(), name);
        else
            WriteTexts(key.get(), name, texts);
    } catch (const RegistryError&) {
    }
}

void AddToList(const SettingsKeys& keys, const char* name, const std::string& text) {
    auto texts = ReadList(keys, name);
    if (std::find(texts.begin(), texts.end(), text) != texts.end()) return;
    texts.push_back(text);
    WriteList(keys, name, texts);
}

void RemoveFromList(const SettingsKeys& keys, const char* name, const std::vector<std::string>& gone) {
    auto texts = ReadList(keys, name);
    std::erase_if(texts, [&](const std::string& t) { return std::find(gone.begin(), gone.end(), t) != gone.end(); });
    WriteList(keys, name, texts);
}

}  // namespace

WindowSettings RestoreSettings(const SettingsKeys& keys) {
    const RegKey key = OpenKey(keys.setupRoot, keys.setupPath, false);
    WindowSettings s;
    const auto top = ReadDword(key.get(), "top"), left = ReadDword(key.get(), "left");
    s.top = top.value_or(s.top);
    s.left = left.value_or(s.left);
    s.autoRun = ReadDword(key.get(), "Run").value_or(s.autoRun ? 1 : 0) != 0;
    s.keepTidy = ReadDword(key.get(), KeepTidyValue).value_or(0) != 0;
    // "Run" alone may come from the installer: only the program stores a position.
    s.stored = top || left;
    return s;
}

void StoreSettings(const WindowSettings& settings, const SettingsKeys& keys) {
    const RegKey key = CreateKey(keys.setupRoot, keys.setupPath);
    WriteDword(key.get(), "top", settings.top);
    WriteDword(key.get(), "left", settings.left);
    WriteDword(key.get(), "Run", settings.autoRun ? 1 : 0);
    WriteDword(key.get(), KeepTidyValue, settings.keepTidy ? 1 : 0);
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

bool WasTold(const std::string& cause, const SettingsKeys& keys) {
    const auto told = ReadList(keys, ToldValue);
    return std::find(told.begin(), told.end(), cause) != told.end();
}

void RememberTold(const std::string& cause, const SettingsKeys& keys) { AddToList(keys, ToldValue, cause); }

// Every Apply goes clean or not: the key is written only when something was told.
void ForgetToldCauses(const SettingsKeys& keys) {
    if (!ReadList(keys, ToldValue).empty()) WriteList(keys, ToldValue, {});
}

void RememberForNextStart(const std::string& message, const SettingsKeys& keys) {
    AddToList(keys, NextStartValue, message);
}

std::vector<std::string> MessagesForThisStart(const SettingsKeys& keys) { return ReadList(keys, NextStartValue); }

void ForgetMessages(const std::vector<std::string>& told, const SettingsKeys& keys) {
    RemoveFromList(keys, NextStartValue, told);
}

}  // namespace zep
