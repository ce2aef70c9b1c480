#include "core/GroupStore.h"

#include "core/CompareText.h"
#include "core/Errors.h"
#include "core/FileSystem.h"
#include "core/IniFiles32.h"
#include "core/RecycleBin.h"
#include "core/StoredText.h"
#include "win/ComApartment.h"

#include <windows.h>
#include <shellapi.h>

namespace zep {
namespace {

const char* const StatusSection = "Status";
const char* const AllShortcutsGroup = "All shortcuts";

// File names less their four-character extension.
Names Stems(Names files) {
    for (auto& f : files) f.resize(f.size() - 4);
    return files;
}

// An empty shortcut holds nothing (a power cut can leave one under its name): it
// never replaces a copy with content.
bool EmptyOverContent(const ListedFile& file, const std::string& target) {
    return file.size == 0 && FileSize(target) > 0;
}

// Moves a Desktop shortcut into the repository over the older copy there: one
// rename where it can. Otherwise (another volume, a file in use, or a read-only
// file, which a rename would take off the Desktop though deleting it is refused)
// a whole copy, and the Desktop's file is deleted only once its copy is in place.
// An empty one gives its place back to the copy with content, which a ticked
// group then brings back whole.
void MoveIntoRepository(const ListedFile& file, const std::string& desktop, const std::string& repository) {
    const std::string from = desktop + file.name, to = repository + file.name;
    if (EmptyOverContent(file, to)) {
        ::DeleteFileA(from.c_str());
        return;
    }
    if (!file.readOnly && ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return;
    if (CopyWhole(from, to, Overwrite::Replace)) ::DeleteFileA(from.c_str());
}

}  // namespace

Names GroupStore::ListGroups() const {
    return Stems(ListFolder(folders_.DataFolder, ".dat", Listing::VisibleFiles));
}

void GroupStore::RefreshGroupList(GroupList& groups) const {
    try {
        const Names names = ListGroups();
        groups.Clear();
        for (const auto& name : names) groups.Add(name);
    } catch (const std::exception&) {
        // The list stays as it was, or holds the groups added so far.
    }
}

Names GroupStore::ReadGroup(const std::string& group) const {
    return SplitLines(FromStoredText(ReadWholeFile(GroupFile(group))));
}

void GroupStore::SaveGroup(const std::string& group, const Names& shortcuts) const {
    if (const std::string problem = GroupNameProblem(group); !problem.empty()) throw GroupNameError(problem);
    // NTFS takes "a:b.dat" for the stream "b.dat" of a file "a", which no listing shows:
    // refused here as FAT refuses it, whatever the data folder's file system.
    if (group.find(':') != std::string::npos) throw FileError::CannotCreate(GroupFile(group));
    EnsureDirectory(folders_.DataFolder);
    ReplaceFileContent(GroupFile(group), ToStoredText(JoinLines(shortcuts)));
}

// Both Trash buttons delete at one click: the user may want the file back.
void GroupStore::DeleteGroup(const std::string& group) const { RecycleFile(GroupFile(group)); }

Names GroupStore::ListRepository() const {
    return Stems(ListFolder(folders_.RepositoryFolder, ".lnk", Listing::AllFiles));
}

void GroupStore::CollectDesktopShortcuts() const {
    try {
        for (const auto& f : ListFiles(folders_.DesktopFolder, ".lnk", Listing::AllFiles)) {
            const std::string to = folders_.RepositoryFolder + f.name;
            if (!EmptyOverContent(f, to)) CopyWhole(folders_.DesktopFolder + f.name, to, Overwrite::Replace);
        }
        RemoveTemporaryFiles(folders_.RepositoryFolder);
    } catch (const std::exception&) {
        // Without a Desktop listing there is nothing to collect.
    }
}

void GroupStore::DeleteShortcut(const std::string& shortcut) const { RecycleFile(RepositoryShortcut(shortcut)); }

void GroupStore::OpenShortcut(const std::string& shortcut, void* ownerWindow) const {
    if (!IsPlainName(shortcut)) return;
    EnterComApartmentForShell();
    ::ShellExecuteA(static_cast<HWND>(ownerWindow), "open", DesktopShortcut(shortcut).c_str(), nullptr,
                    nullptr, SW_SHOWNORMAL);
}

void GroupStore::Apply(const GroupList& groups) const {
    if (groups.Count() == 0) return;
    const std::string* const all[] = {&folders_.DesktopFolder, &folders_.RepositoryFolder, &folders_.DataFolder};
    for (const auto* folder : all) RemoveTemporaryFiles(*folder);
    const auto desktop = ListFiles(folders_.DesktopFolder, ".lnk", Listing::VisibleFiles);
    try {
        for (const auto& f : desktop) MoveIntoRepository(f, folders_.DesktopFolder, folders_.RepositoryFolder);
    } catch (const std::exception&) {
    }
    try {
        for (int i = 0; i < groups.Count(); ++i)
            if (groups.Checked(i)) ApplyGroup(groups.Name(i));
    } catch (const std::exception&) {
    }
    for (const auto* folder : all) RemoveTemporaryFiles(*folder);
}

void GroupStore::ApplyGroup(const std::string& group) const {
    try {
        // A shortcut still on the Desktop is one the move could not take: it is
        // newer than the repository's copy, which must never replace it.
        for (const auto& name : ReadGroup(group))
            if (IsPlainName(name))
                CopyWhole(RepositoryShortcut(name), DesktopShortcut(name), Overwrite::Never);
    } catch (const std::exception&) {
        // An unreadable group adds nothing; the other groups still apply.
    }
}

void GroupStore::AllShortcuts(GroupList& groups) const {
    for (int i = 0; i < groups.Count(); ++i) groups.SetChecked(i, false);
    CollectDesktopShortcuts();
    try {
        const Names names = ListRepository();
        EnsureDirectory(folders_.DataFolder);
        SaveGroup(AllShortcutsGroup, names);
        RefreshGroupList(groups);
    } catch (const std::exception&) {
        // An older "All shortcuts" in the list is the one ticked below.
    }
    for (int i = 0; i < groups.Count(); ++i)
        if (SameTextNoCase(groups.Name(i), AllShortcutsGroup)) {
            groups.SetChecked(i, true);
            break;
        }
}

void GroupStore::LoadStatus(GroupList& groups) const {
    if (!FileExists(folders_.StatusFile)) return;
    try {
        const TIniFile32 ini(folders_.StatusFile);
        for (int i = 0; i < groups.Count(); ++i)
            groups.SetChecked(i, ini.ReadBool(StatusSection, groups.Name(i), true));
    } catch (const std::exception&) {
        // Ticks already set stay set.
    }
}

void GroupStore::SaveStatus(const GroupList& groups) const {
    if (groups.Count() == 0) return;
    try {
        std::vector<std::pair<std::string, bool>> ticks;
        ticks.reserve(static_cast<std::size_t>(groups.Count()));
        for (int i = 0; i < groups.Count(); ++i) ticks.emplace_back(groups.Name(i), groups.Checked(i));
        TIniFile32(folders_.StatusFile).WriteBools(StatusSection, ticks);
    } catch (const std::exception&) {
        // The file keeps the ticks it had.
    }
}

}  // namespace zep
