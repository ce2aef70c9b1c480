#pragma once
// The file operations the group store is built from.
#include "core/TextLines.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zep {

bool FileExists(const std::string& path);       // true for files only
bool DirectoryExists(const std::string& path);  // true for folders only
void EnsureDirectory(const std::string& path);  // one level; failure shows later
std::uint64_t FileSize(const std::string& path);  // 0 also when there is no such file

// Whether `name` ends in `extension`, letter case aside.
bool HasExtension(const std::string& name, const std::string& extension);

enum class Listing { AllFiles, VisibleFiles };

struct ListedFile {
    std::string name;
    bool readOnly = false;
    std::uint64_t size = 0;
};

// Files in `folder` (ending in a backslash) matching "*" + extension, folders
// left out, sorted by name as the user's sorted list boxes would. Throws
// ListError when the folder can't be listed.
std::vector<ListedFile> ListFiles(const std::string& folder, const std::string& extension, Listing which);
// The file `name` of `folder` as such a listing shows it; nothing when there is
// none, or when the listing leaves it out.
std::optional<ListedFile> ListOneFile(const std::string& folder, const std::string& name, Listing which);
// The names of those files.
Names ListFolder(const std::string& folder, const std::string& extension, Listing which);

// The whole content of a file; FileError "Cannot open file" otherwise.
std::string ReadWholeFile(const std::string& path);
// The same, but nothing when there is no such file: one call less than asking first.
std::optional<std::string> ReadFileIfAny(const std::string& path);

// The system's code for why a file operation failed; 0 when it did not.
using SystemError = unsigned long;

// Codes that say there is no such file, or no folder for it.
bool IsMissing(SystemError error);
// Codes that say the target is there already.
bool IsInTheWay(SystemError error);
// Why an operation failed, as a user reads it: "the disk is full", "in use by
// another program", "access denied", else the system's own words.
std::string ReasonInWords(SystemError error);

// Deletes the file at `path` if it is empty, judged on the handle that deletes
// it, read-only or not: 0 then, or the system's error code; nothing when it has
// content.
std::optional<SystemError> DeleteIfEmpty(const std::string& path);

enum class CopyMode {
    KeepExisting,    // an existing target stays as it is
    Replace,         // an existing target is replaced
    ReplaceDurably,  // replaced, and on the disk before the copy returns: its original may go then
};

// The hidden folder beside a copy's target where the copy is made whole.
inline constexpr char StagingFolderName[] = "~zepton{5e0c2a7d}.tmp";

// Every safe write of the program goes through a staging area: the new file is
// made whole under a temporary name of the program's own and then renamed into
// place, so that a write cut short (killed, disk full) never leaves a part of a
// file under the target's name. A copy waits in a hidden folder beside its
// target (a copy would show on the Desktop), or beside the target itself where
// no folder can be made there. When the area closes it removes every temporary
// file from the folders it covers, an earlier run's leftovers too: they only
// ever hold copies of content kept elsewhere.
class StagingArea {
public:
    // Covers `folders` (each ending in a backslash), and every folder it copies into.
    explicit StagingArea(const Names& folders = {});
    ~StagingArea();
    StagingArea(const StagingArea&) = delete;
    StagingArea& operator=(const StagingArea&) = delete;

    // Copies `from` to `to`: 0 when `to` now holds the copy, else the system's error code.
    SystemError Copy(const std::string& from, const std::string& to, CopyMode mode);
    // Gives `path` exactly `bytes`, or leaves it as it was, keeping its stored
    // name. FileError "Cannot create file" otherwise.
    void Replace(const std::string& path, const std::string& bytes);

private:
    struct Place {
        std::string folder;
        std::string staging;  // where copies wait: empty until the first copy here
    };
    const std::string& StagingFor(const std::string& target);

    std::vector<Place> places_;
};

// The copy a staging area makes into its temporary file (CopyFileA, flushed to
// the disk for CopyMode::ReplaceDurably), or in tests a stand-in for a full disk or a kill.
extern bool (*CopyIntoFile)(const char* from, const char* to, CopyMode mode);

}  // namespace zep
