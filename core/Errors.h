#pragma once
// Errors of the group store; the message is what the user sees.
#include <stdexcept>
#include <string>

namespace zep {

// A file that could not be opened, read, created or written.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    static FileError CannotOpen(const std::string& path) { return FileError("Cannot open file " + path); }
    static FileError CannotCreate(const std::string& path) { return FileError("Cannot create file " + path); }
};

// A folder that could not be listed.
class ListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A group name that can't name a group file.
class GroupNameError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A registry key or value that could not be opened or written.
class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace zep
