#pragma once
// The user's own settings of the throwaway Wine prefix, changed for a while by
// the end-to-end test and the benchmarks that run the program itself: only
// under Wine, put back as they were afterwards.
#include "core/Folders.h"
#include "core/Registry.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace zep::test {

// One of Wine's own exports, or null on Windows itself.
template <class Function>
Function WineExport(const char* module, const char* name) {
    const FARPROC proc = ::GetProcAddress(::GetModuleHandleA(module), name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
}

inline bool UnderWine() { return WineExport<const char*(CDECL*)()>("ntdll.dll", "wine_get_version") != nullptr; }

// A registry value of the prefix, put back as it was (or removed) when the guard goes.
class SavedValue {
public:
    SavedValue(std::string path, std::string name) : path_(std::move(path)), name_(std::move(name)) {
        const RegKey key = OpenKey(HKEY_CURRENT_USER, path_, false);
        DWORD size = 0;
        if (key && ::RegQueryValueExA(key.get(), name_.c_str(), nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
            bytes_.resize(size);
            existed_ = ::RegQueryValueExA(key.get(), name_.c_str(), nullptr, &type_, bytes_.data(), &size) ==
                       ERROR_SUCCESS;
        }
    }
    ~SavedValue() {
        const RegKey key = OpenKey(HKEY_CURRENT_USER, path_, true);
        if (existed_)
            ::RegSetValueExA(key.get(), name_.c_str(), 0, type_, bytes_.data(), static_cast<DWORD>(bytes_.size()));
        else
            ::RegDeleteValueA(key.get(), name_.c_str());
    }
    SavedValue(const SavedValue&) = delete;
    SavedValue& operator=(const SavedValue&) = delete;

private:
    std::string path_, name_;
    DWORD type_ = 0;
    std::vector<BYTE> bytes_;
    bool existed_ = false;
};

// The program has no other way to be told where the Desktop is than the shell's
// own setting. The shell rewrites "Shell Folders" from "User Shell Folders"
// whenever it works a folder out (Wine does so while the program starts), so
// both point at the folder (ending in a backslash) while this lives.
class DesktopRedirect {
public:
    explicit DesktopRedirect(const std::string& folder) {
        for (const std::string& key : {ShellFoldersKey, UserShellFoldersKey})
            WriteText(OpenKey(HKEY_CURRENT_USER, key, true).get(), "Desktop", folder.substr(0, folder.size() - 1));
    }

private:
    static inline const std::string UserShellFoldersKey =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    const SavedValue shell_{ShellFoldersKey, "Desktop"}, user_{UserShellFoldersKey, "Desktop"};
};

}  // namespace zep::test
