#pragma once
// A throwaway program folder, Desktop and settings key for the group-store
// tests; everything is removed again when the sandbox goes.
#include "testing/TempFolder.h"
#include "core/GroupStore.h"
#include "core/Registry.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>

namespace zep::test {

inline void WriteBytes(const std::string& path, const std::string& bytes) { ASSERT_TRUE(WritePlain(path, bytes)) << path; }

inline std::string ReadBytes(const std::string& path) {
    FileHandle f(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!f) return "<missing>";
    std::string bytes(::GetFileSize(f.get(), nullptr), '\0');
    DWORD got = 0;
    ::ReadFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    return bytes.substr(0, got);
}

inline bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Every entry of a folder (but . and ..), in the order the file system gives them.
inline Names Entries(const std::string& folder) {
    Names names;
    WIN32_FIND_DATAA found;
    FindHandle find(::FindFirstFileA((folder + "*").c_str(), &found));
    if (!find) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileA(find.get(), &found));
    return names;
}

// The entries of a folder, sorted, separated by blanks: easy to compare and to read in a failure.
inline std::string Listing(const std::string& folder) {
    Names names = Entries(folder);
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const auto& n : names) joined += (joined.empty() ? "" : " ") + n;
    return joined;
}

// A group list in memory with these names and ticks.
inline PlainGroupList TickedList(std::initializer_list<std::pair<const char*, bool>> items) {
    PlainGroupList list;
    for (const auto& [name, ticked] : items) {
        list.Add(name);
        list.SetChecked(list.Count() - 1, ticked);
    }
    return list;
}

// A key of its own under HKEY_CURRENT_USER, deleted with all it holds.
class TempKey {
public:
    TempKey() : path_("Software\\ZeptonTests\\" + std::to_string(::GetCurrentProcessId())) {}
    ~TempKey() {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
        ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\ZeptonTests");
    }
    TempKey(const TempKey&) = delete;
    TempKey& operator=(const TempKey&) = delete;
    const std::string& path() const { return path_; }
    std::string Sub(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// A key that everybody may read and nobody may write, as the machine-wide Run
// key is for a standard user; writable again when the object goes.
class LockedKey {
public:
    explicit LockedKey(const std::string& path) : key_(OpenKey(HKEY_CURRENT_USER, path, true)) {
        Protect("D:P(A;;KR;;;WD)");
    }
    ~LockedKey() { Protect("D:P(A;;KA;;;WD)"); }

private:
    void Protect(const char* sddl) {
        PSECURITY_DESCRIPTOR sd = nullptr;
        ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, nullptr));
        EXPECT_EQ(ERROR_SUCCESS, ::RegSetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, sd));
        ::LocalFree(sd);
    }
    RegKey key_;
};

// The program lives in <root>prog\, the Desktop is <root>desk\.
class Sandbox : public ::testing::Test {
protected:
    Sandbox() {
        root = MakeTempFolder("zepcore-");
        desk = root + "desk\\";
        ::CreateDirectoryA(desk.c_str(), nullptr);
        ::CreateDirectoryA((root + "prog").c_str(), nullptr);
        folders.ProgramFolder = root + "prog\\";
        folders.DesktopFolder = desk;
        folders.DataFolder = folders.ProgramFolder + "data\\";
        folders.RepositoryFolder = folders.ProgramFolder + "repository\\";
        folders.StatusFile = folders.DataFolder + "status.ord";
        ::CreateDirectoryA(folders.DataFolder.c_str(), nullptr);
        ::CreateDirectoryA(folders.RepositoryFolder.c_str(), nullptr);
        data = folders.DataFolder;
        repo = folders.RepositoryFolder;
    }
    ~Sandbox() override { RemoveTree(root); }

    GroupStore store() const { return GroupStore(folders); }

    std::string root, desk, data, repo;
    Folders folders;
};

}  // namespace zep::test
