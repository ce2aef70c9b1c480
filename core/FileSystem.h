#pragma once
// The file operations the group store is built from.
#include "core/TextLines.h"

#include <string>
#include <vector>

namespace zep {

bool FileExists(const std::string& path);       // true for files only
bool DirectoryExists(const std::string& path);  // true for folders only
void EnsureDirectory(const std::string& path);  // one level; failure shows later

enum class Listing { AllFiles, VisibleFiles };

struct ListedFile {
    std::string name;
    bool readOnly = false;
};

// Files in `folder` (ending in a backslash) matching "*" + extension, folders
// left out, sorted by name as the user's sorted list boxes would. Throws
// ListError when the folder can't be listed.
std::vector<ListedFile> ListFiles(const std::string& folder, const std::string& extension, Listing which);
// The names of those files.
Names ListFolder(const std::string& folder, const std::string& extension, Listing which);

// The whole content of a file; FileError "Cannot open file" otherwise.
std::string ReadWholeFile(const std::string& path);

// Gives `path` exactly `bytes`, or leaves it as it was: the bytes go to a new
// file in the same folder that then replaces the old one, keeping its stored
// name. FileError "Cannot create file" otherwise.
void ReplaceFileContent(const std::string& path, const std::string& bytes);

}  // namespace zep
