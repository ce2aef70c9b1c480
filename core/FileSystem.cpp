#include "core/FileSystem.h"

#include "core/CompareText.h"
#include "core/Errors.h"
#include "win/Handle.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iterator>
#include <utility>

namespace zep {
namespace {

DWORD Attributes(const std::string& path) { return ::GetFileAttributesA(path.c_str()); }

bool HasExtension(const std::string& name, const std::string& extension) {
    return name.size() >= extension.size() &&
           SameTextNoCase(name.substr(name.size() - extension.size()), extension);
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\') + 1); }

// The file `path` names as the folder stores it: its name in the stored letter
// case (replacing a file must not rename it) and its attributes.
struct Target {
    std::string path;
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
};

Target FindTarget(const std::string& path) {
    const std::string name = path.substr(path.find_last_of('\\') + 1);
    if (name.find_first_of("*?") != std::string::npos) return {path};  // no pattern lookups
    WIN32_FIND_DATAA found;
    FindHandle find(::FindFirstFileA(path.c_str(), &found));
    if (!find || !SameTextNoCase(found.cFileName, name)) return {path};
    return {FolderOf(path) + found.cFileName, found.dwFileAttributes};
}

// Lower-case hexadecimal digits; printf would bring its whole formatter into the program.
std::string Hex(unsigned long value) {
    char digits[2 * sizeof value];
    return std::string(digits, std::to_chars(digits, std::end(digits), value, 16).ptr);
}

// Temporary files are named so that no user's file can be taken for one: a
// marker of the program's own, and an extension that no listing looks for.
const char TempPrefix[] = "~zepton{5e0c2a7d}";
const char TempExtension[] = ".tmp";

std::string TempName() {
    static unsigned counter = 0;
    return TempPrefix + Hex(::GetCurrentProcessId()) + "-" + Hex(++counter) + TempExtension;
}

// Copies wait in a hidden folder beside their target until they are whole.
std::string CopyFolderBeside(const std::string& path) {
    return FolderOf(path) + TempPrefix + TempExtension + "\\";
}

// Temporary names are new each time; a file that would be in the way is a leftover.
bool CopyToTemporary(const char* from, const char* to) { return ::CopyFileA(from, to, TRUE); }

// A new, empty file beside `path`, open for writing.
FileHandle CreateTempBeside(const std::string& path, std::string& tempPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = FolderOf(path) + TempName();
        FileHandle file(::CreateFileA(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file || ::GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return FileHandle();
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

std::uint64_t SizeOf(DWORD high, DWORD low) { return (std::uint64_t{high} << 32) | low; }

}  // namespace

bool (*CopyIntoFile)(const char* from, const char* to) = CopyToTemporary;

std::uint64_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return SizeOf(data.nFileSizeHigh, data.nFileSizeLow);
}

bool FileExists(const std::string& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void EnsureDirectory(const std::string& path) {
    if (!DirectoryExists(path)) ::CreateDirectoryA(path.c_str(), nullptr);
}

std::vector<ListedFile> ListFiles(const std::string& folder, const std::string& extension, Listing which) {
    std::vector<ListedFile> files;
    WIN32_FIND_DATAA found;
    FindHandle find(::FindFirstFileA((folder + "*" + extension).c_str(), &found));
    if (!find) {
        if (::GetLastError() == ERROR_FILE_NOT_FOUND) return files;  // the folder is there, empty
        throw ListError("Cannot list the folder " + folder);
    }
    DWORD skipped = FILE_ATTRIBUTE_DIRECTORY;
    if (which == Listing::VisibleFiles) skipped |= FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
        // Short-name matching lets "*.lnk" find "x.lnk2" too; that is no shortcut.
        if (!(found.dwFileAttributes & skipped) && HasExtension(found.cFileName, extension))
            files.push_back({found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0,
                             SizeOf(found.nFileSizeHigh, found.nFileSizeLow)});
    } while (::FindNextFileA(find.get(), &found));
    std::sort(files.begin(), files.end(),
              [](const ListedFile& a, const ListedFile& b) { return LessTextNoCase(a.name, b.name); });
    return files;
}

Names ListFolder(const std::string& folder, const std::string& extension, Listing which) {
    Names names;
    for (auto& f : ListFiles(folder, extension, which)) names.push_back(std::move(f.name));
    return names;
}

std::optional<std::string> ReadFileIfAny(const std::string& path) {
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file && (::GetLastError() == ERROR_FILE_NOT_FOUND || ::GetLastError() == ERROR_PATH_NOT_FOUND))
        return std::nullopt;
    LARGE_INTEGER size;
    if (!file || !::GetFileSizeEx(file.get(), &size)) throw FileError::CannotOpen(path);
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        if (!::ReadFile(file.get(), bytes.data() + done, chunk, &got, nullptr))
            throw FileError::CannotOpen(path);
        if (got == 0) break;  // the file shrank meanwhile
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

std::string ReadWholeFile(const std::string& path) {
    if (auto bytes = ReadFileIfAny(path)) return std::move(*bytes);
    throw FileError::CannotOpen(path);
}

bool CopyWhole(const std::string& from, const std::string& to, Overwrite overwrite) {
    const std::string folder = CopyFolderBeside(to), temp = folder + TempName();
    bool copied = CopyIntoFile(from.c_str(), temp.c_str());
    if (!copied && ::GetLastError() == ERROR_PATH_NOT_FOUND && ::CreateDirectoryA(folder.c_str(), nullptr)) {
        ::SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_HIDDEN);
        copied = CopyIntoFile(from.c_str(), temp.c_str());
    }
    if (!copied) return false;  // what a failed copy left, RemoveTemporaryFiles clears
    const DWORD flags = overwrite == Overwrite::Replace ? MOVEFILE_REPLACE_EXISTING : 0;
    if (::MoveFileExA(temp.c_str(), to.c_str(), flags)) return true;
    ::SetFileAttributesA(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(temp.c_str());
    return false;
}

void RemoveTemporaryFiles(const std::string& folder) {
    WIN32_FIND_DATAA found;
    FindHandle find(::FindFirstFileA((folder + TempPrefix + "*").c_str(), &found));
    if (!find) return;
    do {
        // Short names match patterns too: only the program's own long names count.
        const std::string name = found.cFileName, path = folder + name;
        if (name.rfind(TempPrefix, 0) != 0) continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTemporaryFiles(path + "\\");
            ::RemoveDirectoryA(path.c_str());
        } else {
            ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileA(path.c_str());
        }
    } while (::FindNextFileA(find.get(), &found));
}

void ReplaceFileContent(const std::string& path, const std::string& bytes) {
    const Target target = FindTarget(path);
    // A read-only file is not to be replaced, whatever the platform's rename allows.
    if (target.attributes != INVALID_FILE_ATTRIBUTES &&
        (target.attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        throw FileError::CannotCreate(path);
    std::string tempPath;
    FileHandle temp = CreateTempBeside(path, tempPath);
    if (!temp) throw FileError::CannotCreate(path);
    const bool written = WriteAll(temp.get(), bytes);
    temp.reset();
    if (!written || !::MoveFileExA(tempPath.c_str(), target.path.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileA(tempPath.c_str());
        throw FileError::CannotCreate(path);
    }
}

}  // namespace zep
