#pragma once
// The main window's position, Auto-Run state and options, and the auto-start entry.
#include "win/Handle.h"

#include <string>
#include <vector>

namespace zep {

struct WindowSettings {
    int left = 15;
    int top = 15;
    bool autoRun = true;
    bool keepTidy = false;  // "Keep the Desktop tidy" of the tray menu
    // Whether the program has stored its window here: not at a user's first start.
    bool stored = false;
};

// Where the settings live; tests point these at keys of their own.
struct SettingsKeys {
    HKEY setupRoot = HKEY_CURRENT_USER;
    std::string setupPath = "\\Software\\Kestrin\\Zep\\Setup";
    // The machine-wide auto-start key, and the user's own for when the machine's refuses writing.
    HKEY runRoot = HKEY_LOCAL_MACHINE;
    std::string runPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    HKEY userRunRoot = HKEY_CURRENT_USER;
    std::string userRunPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
};

// Stored values, each missing or mistyped one replaced by its default.
WindowSettings RestoreSettings(const SettingsKeys& keys = {});
// Throws RegistryError when the key or a value can't be written.
void StoreSettings(const WindowSettings& settings, const SettingsKeys& keys = {});

// Registers exePath, in double quotes, to start at logon: machine-wide when the user
// may write there, else for the user alone. Throws RegistryError when neither can be written.
void EnableAutoRun(const std::string& exePath, const SettingsKeys& keys = {});
// Removes the registration from both keys, whatever it holds (quoted or not); never throws.
void DisableAutoRun(const SettingsKeys& keys = {});

// What the tray icon has told the user, or is to tell at the next start, kept
// under the settings key across starts. None of these throws: a record that
// can't be kept only means telling again.
//
// Whether `cause` has been told since the last clean Apply.
bool WasTold(const std::string& cause, const SettingsKeys& keys = {});
// The tray has shown `cause`: it is not told again until a clean Apply.
void RememberTold(const std::string& cause, const SettingsKeys& keys = {});
// A clean Apply: every cause may be told again.
void ForgetToldCauses(const SettingsKeys& keys = {});
// Keeps `message` for the next start to tell, where no box may be shown now.
void RememberForNextStart(const std::string& message, const SettingsKeys& keys = {});
// The messages kept for this start; each stays kept until it has been told.
std::vector<std::string> MessagesForThisStart(const SettingsKeys& keys = {});
void ForgetMessages(const std::vector<std::string>& told, const SettingsKeys& keys = {});

}  // namespace zep
