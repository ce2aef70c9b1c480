#pragma once
// The program's folders, worked out once at start.
#include <string>

namespace zep {

struct Folders {
    std::string ProgramFolder;     // ends with a backslash
    std::string DesktopFolder;     // ends with a backslash
    std::string DataFolder;        // ProgramFolder + "data\"
    std::string RepositoryFolder;  // ProgramFolder + "repository\"
    std::string StatusFile;        // DataFolder + "status.ord"
};

// The shell's per-user folder settings, under HKEY_CURRENT_USER.
inline const std::string ShellFoldersKey =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The folders of a program whose executable is exePath: the Desktop from the
// "Desktop" value of shellFoldersKey, else the Windows folder + "\desktop\".
// Creates the data and repository folders when missing.
Folders ResolveFolders(const std::string& exePath, const std::string& shellFoldersKey = ShellFoldersKey);

// The full path of the running executable.
std::string ExecutablePath();

}  // namespace zep
