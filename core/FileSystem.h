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
// The names of those files.
Names ListFolder(const std::string& folder, const std::string& extension, Listing which);

// The whole content of a file; FileError "Cannot open file" otherwise.
std::string ReadWholeFile(const std::string& path);
// The same, but nothing when there is no such file: one call less than asking first.
std::optional<std::string> ReadFileIfAny(const std::string& path);

enum class Overwrite { Never, Replace };

// Copies `from` to `to` through a temporary file in a hidden folder beside
// `to`, moved into place once it holds the whole content: a copy cut short
// (killed, disk full) never leaves a part of a file under `to`, at most a
// temporary file that RemoveTemporaryFiles clears. With Overwrite::Never an
// existing `to` stays as it is. Returns whether `to` now holds the copy.
bool CopyWhole(const std::string& from, const std::string& to, Overwrite overwrite);

// The copy CopyWhole makes into its temporary file: CopyFileA, or in tests a
// stand-in for a full disk or a kill.
extern bool (*CopyIntoFile)(const char* from, const char* to);

// Removes the temporary files, and the folder of copies, that a copy or a save
// left in `folder` (ending in a backslash): they only ever hold copies of
// content kept elsewhere.
void RemoveTemporaryFiles(const std::string& folder);

// Gives `path` exactly `bytes`, or leaves it as it was: the bytes go to a new
// file in the same folder that then replaces the old one, keeping its stored
// name. FileError "Cannot create file" otherwise.
void ReplaceFileContent(const std::string& path, const std::string& bytes);

}  // namespace zep
