#include "core/FileSystem.h"

#include "core/CompareText.h"
#include "core/Errors.h"
#include "win/Handle.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iterator>
#include <string_view>
#include <utility>

namespace zep {
namespace {

DWORD Attributes(const std::string& path) { return ::GetFileAttributesA(path.c_str()); }

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
constexpr char TempPrefix[] = "~zepton{5e0c2a7d}";
constexpr char TempExtension[] = ".tmp";
static_assert(std::string_view(StagingFolderName).starts_with(TempPrefix), "swept as a temporary file");

// New each time: the process and a count that starts from the clock, so that
// not even a leftover of an earlier process that had the same id is in the way.
std::string TempName() {
    static unsigned long counter = ::GetTickCount();
    return TempPrefix + Hex(::GetCurrentProcessId()) + "-" + Hex(++counter) + TempExtension;
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

// The code of the failure just seen; never 0, which would read as success.
SystemError Failure() {
    const DWORD error = ::GetLastError();
    return error ? error : ERROR_GEN_FAILURE;
}

// Flushing needs write access, which a read-only copy refuses for as long as it is read-only.
bool FlushToDisk(const char* path) {
    const DWORD attributes = ::GetFileAttributesA(path);
    const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly) ::SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
    const FileHandle file(::CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    const bool flushed = file && ::FlushFileBuffers(file.get());
    const DWORD error = ::GetLastError();
    if (readOnly) ::SetFileAttributesA(path, attributes);
    ::SetLastError(error);
    return flushed;
}

// Temporary names are new each time; a file that would be in the way is a leftover.
bool CopyToTemporary(const char* from, const char* to, CopyMode mode) {
    return ::CopyFileA(from, to, TRUE) && (mode != CopyMode::ReplaceDurably || FlushToDisk(to));
}

// A temporary file that will not take its target's place: it may be read-only as its source was.
SystemError Discard(const std::string& temp) {
    const SystemError error = Failure();
    ::SetFileAttributesA(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(temp.c_str());
    return error;
}

// Removes every entry of `folder` whose name begins with `prefix`, a folder
// with all it holds.
void RemoveEntries(const std::string& folder, const std::string& prefix) {
    WIN32_FIND_DATAA found;
    FindHandle find(::FindFirstFileA((folder + prefix + "*").c_str(), &found));
    if (!find) return;
    do {
        // Short names match patterns too: only the long names count.
        const std::string name = found.cFileName, path = folder + name;
        if (name.rfind(prefix, 0) != 0 || name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveEntries(path + "\\", "");
            ::RemoveDirectoryA(path.c_str());
        } else {
            ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileA(path.c_str());
        }
    } while (::FindNextFileA(find.get(), &found));
}

std::uint64_t SizeOf(DWORD high, DWORD low) { return (std::uint64_t{high} << 32) | low; }

// What a listing leaves out.
DWORD SkippedAttributes(Listing which) {
    DWORD skipped = FILE_ATTRIBUTE_DIRECTORY;
    if (which == Listing::VisibleFiles) skipped |= FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return skipped;
}

}  // namespace

bool (*CopyIntoFile)(const char* from, const char* to, CopyMode mode) = CopyToTemporary;

bool HasExtension(const std::string& name, const std::string& extension) {
    return name.size() >= extension.size() &&
           SameTextNoCase(name.substr(name.size() - extension.size()), extension);
}

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
    const DWORD skipped = SkippedAttributes(which);
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

std::optional<ListedFile> ListOneFile(const std::string& folder, const std::string& name, Listing which) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA((folder + name).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & SkippedAttributes(which)))
        return std::nullopt;
    return ListedFile{name, (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0,
                      SizeOf(data.nFileSizeHigh, data.nFileSizeLow)};
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

std::optional<SystemError> DeleteIfEmpty(const std::string& path) {
    const FileHandle file(::CreateFileA(path.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        0, nullptr));
    FILE_STANDARD_INFO standard{};
    FILE_BASIC_INFO basic{};
    if (!file || !::GetFileInformationByHandleEx(file.get(), FileStandardInfo, &standard, sizeof standard) ||
        !::GetFileInformationByHandleEx(file.get(), FileBasicInfo, &basic, sizeof basic))
        return Failure();
    if (standard.EndOfFile.QuadPart != 0) return std::nullopt;
    const auto setAttributes = [&](DWORD attributes) {
        FILE_BASIC_INFO change{};  // times and attributes of 0 stay as they are
        change.FileAttributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
        ::SetFileInformationByHandle(file.get(), FileBasicInfo, &change, sizeof change);
    };
    const DWORD readOnly = basic.FileAttributes & FILE_ATTRIBUTE_READONLY;
    if (readOnly) setAttributes(basic.FileAttributes & ~readOnly);
    FILE_DISPOSITION_INFO dispose{TRUE};
    if (::SetFileInformationByHandle(file.get(), FileDispositionInfo, &dispose, sizeof dispose)) return 0;
    const SystemError error = Failure();
    if (readOnly) setAttributes(basic.FileAttributes);
    return error;
}

bool IsMissing(SystemError error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME;
}

bool IsInTheWay(SystemError error) { return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS; }

std::string ReasonInWords(SystemError error) {
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "the disk is full";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "in use by another program";
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return "access denied";
    }
    char* text = nullptr;
    ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                     error, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string words = text ? text : "error " + std::to_string(error);
    ::LocalFree(text);
    while (!words.empty() && (words.back() == '.' || words.back() == '\r' || words.back() == '\n' || words.back() == ' '))
        words.pop_back();
    return words;
}

StagingArea::StagingArea(const Names& folders) {
    for (const auto& folder : folders) places_.push_back({folder, {}});
}

StagingArea::~StagingArea() {
    for (const Place& place : places_) RemoveEntries(place.folder, TempPrefix);
}

const std::string& StagingArea::StagingFor(const std::string& target) {
    const std::string folder = FolderOf(target);
    auto place = std::find_if(places_.begin(), places_.end(), [&](const Place& p) { return p.folder == folder; });
    if (place == places_.end()) place = places_.insert(places_.end(), {folder, {}});
    if (place->staging.empty()) {
        // A file in the way, or a folder where files may be made but folders may
        // not (a managed machine's policy): the files wait beside their targets.
        const std::string staging = folder + StagingFolderName;
        if (::CreateDirectoryA(staging.c_str(), nullptr)) ::SetFileAttributesA(staging.c_str(), FILE_ATTRIBUTE_HIDDEN);
        place->staging = DirectoryExists(staging) ? staging + "\\" : folder;
    }
    return place->staging;
}

SystemError StagingArea::Copy(const std::string& from, const std::string& to, CopyMode mode) {
    const std::string temp = StagingFor(to) + TempName();
    // What a failed copy left, the area clears when it closes.
    if (!CopyIntoFile(from.c_str(), temp.c_str(), mode)) return Failure();
    DWORD flags = 0;
    if (mode != CopyMode::KeepExisting) flags |= MOVEFILE_REPLACE_EXISTING;
    if (mode == CopyMode::ReplaceDurably) flags |= MOVEFILE_WRITE_THROUGH;
    return ::MoveFileExA(temp.c_str(), to.c_str(), flags) ? 0 : Discard(temp);
}

void StagingArea::Replace(const std::string& path, const std::string& bytes) {
    const Target target = FindTarget(path);
    // A read-only file is not to be replaced, whatever the platform's rename allows.
    if (target.attributes != INVALID_FILE_ATTRIBUTES &&
        (target.attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        throw FileError::CannotCreate(path);
    // The program's own files are made beside their targets, where no one
    // watches files come and go, and the file never outlives the call: a hidden
    // folder would cost more than the write.
    const std::string temp = FolderOf(path) + TempName();
    FileHandle file(::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw FileError::CannotCreate(path);
    const bool written = WriteAll(file.get(), bytes);
    file.reset();
    if (!written ||
        !::MoveFileExA(temp.c_str(), target.path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        Discard(temp);
        throw FileError::CannotCreate(path);
    }
}

}  // namespace zep
