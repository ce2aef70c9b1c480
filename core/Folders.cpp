#include "core/Folders.h"

#include "core/FileSystem.h"
#include "core/Registry.h"

namespace zep {
namespace {

std::string WindowsFolder() {
    char buffer[256] = {};
    ::GetWindowsDirectoryA(buffer, 255);
    return buffer;
}

}  // namespace

Folders ResolveFolders(const std::string& exePath, const std::string& shellFoldersKey) {
    Folders f;
    f.ProgramFolder = exePath.substr(0, exePath.find_last_of('\\') + 1);
    const RegKey shell = OpenKey(HKEY_CURRENT_USER, shellFoldersKey, false);
    const auto desktop = ReadText(shell.get(), "Desktop");
    f.DesktopFolder = desktop ? *desktop + "\\" : WindowsFolder() + "\\desktop\\";
    f.DataFolder = f.ProgramFolder + "data\\";
    f.RepositoryFolder = f.ProgramFolder + "repository\\";
    EnsureDirectory(f.DataFolder);
    EnsureDirectory(f.RepositoryFolder);
    f.StatusFile = f.DataFolder + "status.ord";
    return f;
}

std::string ExecutablePath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace zep
