#pragma once
// Throwaway folders and plain file writes, shared by the Windows tests and
// the benchmark.
#include "win/Handle.h"

#include <string>

namespace zep::test {

// Removes a folder (ending in a backslash) with everything in it, read-only files too.
inline void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    FindHandle find(::FindFirstFileA((folder + "*").c_str(), &found));
    if (find) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + name;
            ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path + "\\");
            else ::DeleteFileA(path.c_str());
        } while (::FindNextFileA(find.get(), &found));
    }
    find.reset();
    ::RemoveDirectoryA(folder.c_str());
}

// A new folder under the temporary folder, ending in a backslash.
inline std::string MakeTempFolder(const std::string& prefix) {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    for (;;) {
        const std::string folder = std::string(temp) + prefix + std::to_string(::GetCurrentProcessId()) + "-" +
                                   std::to_string(++counter) + "\\";
        if (::CreateDirectoryA(folder.c_str(), nullptr)) return folder;
    }
}

// Creates or truncates a file and writes the bytes, the plain way.
inline bool WritePlain(const std::string& path, const std::string& bytes) {
    FileHandle f(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return f && ::WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace zep::test
