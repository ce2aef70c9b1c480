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

#include <algorithm>

namespace zep {
namespace {

const char* const StatusSection = "Status";
const char* const AllShortcutsGroup = "All shortcuts";

// File names less their four-character extension.
Names Stems(Names files) {
    for (auto& f : files) f.resize(f.size() - 4);
    return files;
}

// A line of the tick file that is the entry of a listed group.
LineTest EntryOfAGroup(const GroupList& groups) {
    return [&groups](const std::string& line) {
        for (int i = 0; i < groups.Count(); ++i)
            if (IniLines::HoldsKey(line, groups.Name(i))) return true;
        return false;
    };
}

}  // namespace

int FindGroup(const GroupList& groups, const std::string& name) {
    for (int i = 0; i < groups.Count(); ++i)
        if (SameTextNoCase(groups.Name(i), name)) return i;
    return -1;
}

std::optional<std::size_t> FirstUnknownGroup(const GroupList& groups, const Names& names) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (FindGroup(groups, names[i]) < 0) return i;
    return std::nullopt;
}

void TickExactly(GroupList& groups, const Names& names) {
    for (int i = 0; i < groups.Count(); ++i) groups.SetChecked(i, false);
    for (const auto& name : names)
        if (const int i = FindGroup(groups, name); i >= 0) groups.SetChecked(i, true);
}

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
    return FromStoredLines(ReadWholeFile(GroupFile(group)), [this](const std::string& shortcut) {
        return IsPlainName(shortcut) && FileExists(RepositoryShortcut(shortcut));
    });
}

void GroupStore::SaveGroup(const std::string& group, const Names& shortcuts) const {
    if (const std::string problem = GroupNameProblem(group); !problem.empty()) throw GroupNameError(problem);
    // NTFS takes "a:b.dat" for the stream "b.dat" of a file "a", which no listing shows:
    // refused here as FAT refuses it, whatever the data folder's file system.
    if (group.find(':') != std::string::npos) throw FileError::CannotCreate(GroupFile(group));
    EnsureDirectory(folders_.DataFolder);
    StagingArea().Replace(GroupFile(group), ToStoredText(JoinLines(shortcuts)));
}

// Both Trash buttons delete at one click: the user may want the file back.
void GroupStore::DeleteGroup(const std::string& group) const { RecycleFile(GroupFile(group)); }

Names GroupStore::ListRepository() const {
    return Stems(ListFolder(folders_.RepositoryFolder, ".lnk", Listing::AllFiles));
}

void GroupStore::CollectDesktopShortcuts() const {
    StagingArea staging({folders_.RepositoryFolder});
    try {
        for (const auto& f : ListFiles(folders_.DesktopFolder, ".lnk", Listing::AllFiles)) {
            const std::string to = folders_.RepositoryFolder + f.name;
            // An empty one never replaces a copy with content.
            if (f.size > 0 || FileSize(to) == 0) staging.Copy(folders_.DesktopFolder + f.name, to, CopyMode::Replace);
        }
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

SystemError GroupStore::MoveIntoRepository(const ListedFile& shortcut, StagingArea& staging) const {
    const std::string from = folders_.DesktopFolder + shortcut.name, to = folders_.RepositoryFolder + shortcut.name;
    // An empty shortcut holds nothing (a power cut, or an updater midway through
    // writing it, can leave one under its name): it never replaces a copy with
    // content. The listing may be stale by now: one written meanwhile is moved
    // as any other. A read-only one goes too: left there, it would keep its
    // group's whole copy off the Desktop for good.
    if (shortcut.size == 0 && FileSize(to) > 0)
        if (const auto deleted = DeleteIfEmpty(from)) return *deleted;
    // A read-only file would leave the Desktop by a rename, though deleting it is refused.
    if (!shortcut.readOnly && ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return 0;
    if (const SystemError error = staging.Copy(from, to, CopyMode::ReplaceDurably)) return error;
    return ::DeleteFileA(from.c_str()) ? 0 : ::GetLastError();
}

ApplyOutcome GroupStore::Apply(const GroupList& groups) const {
    StagingArea staging({folders_.DesktopFolder, folders_.RepositoryFolder, folders_.DataFolder});
    if (groups.Count() == 0) return {};
    const auto desktop = ListFiles(folders_.DesktopFolder, ".lnk", Listing::VisibleFiles);
    std::vector<Misplaced> misplaced;
    try {
        for (const auto& f : desktop)  // one gone since the listing is no longer there either
            if (const SystemError error = MoveIntoRepository(f, staging); error && error != ERROR_FILE_NOT_FOUND)
                misplaced.push_back({f.name.substr(0, f.name.size() - 4), error, true});
    } catch (const std::exception&) {
    }
    try {
        for (int i = 0; i < groups.Count(); ++i)
            if (groups.Checked(i)) ApplyGroup(groups.Name(i), staging, misplaced);
    } catch (const std::exception&) {
    }
    return {static_cast<int>(misplaced.size()), misplaced.empty() ? 0 : misplaced.front().error};
}

void GroupStore::ApplyGroup(const std::string& group) const {
    StagingArea staging({folders_.DesktopFolder});
    std::vector<Misplaced> misplaced;
    ApplyGroup(group, staging, misplaced);
}

void GroupStore::ApplyGroup(const std::string& group, StagingArea& staging, std::vector<Misplaced>& misplaced) const {
    try {
        for (const auto& name : ReadGroup(group)) {
            if (!IsPlainName(name)) continue;
            // A shortcut still on the Desktop is one the move could not take: it is
            // newer than the repository's copy, which must never replace it, and it
            // is where the group wants it.
            const SystemError error =
                staging.Copy(RepositoryShortcut(name), DesktopShortcut(name), CopyMode::KeepExisting);
            const auto known = std::find_if(misplaced.begin(), misplaced.end(),
                                            [&](const Misplaced& m) { return SameTextNoCase(m.name, name); });
            const bool onDesktop = !error || IsInTheWay(error) || (known != misplaced.end() && known->onDesktop);
            if (known != misplaced.end()) misplaced.erase(known);
            if (!onDesktop && !IsMissing(error)) misplaced.push_back({name, error, false});
        }
    } catch (const std::exception&) {
        // An unreadable group adds nothing; the other groups still apply.
    }
}

void GroupStore::AllShortcuts(GroupList& groups) const {
    CollectDesktopShortcuts();
    try {
        const Names names = ListRepository();
        EnsureDirectory(folders_.DataFolder);
        SaveGroup(AllShortcutsGroup, names);
        RefreshGroupList(groups);
    } catch (const std::exception&) {
        // An older "All shortcuts" in the list is the one ticked below.
    }
    TickExactly(groups, {AllShortcutsGroup});
}

void GroupStore::LoadStatus(GroupList& groups) const {
    if (!FileExists(folders_.StatusFile)) return;
    try {
        const TIniFile32 ini(folders_.StatusFile, EntryOfAGroup(groups));
        for (int i = 0; i < groups.Count(); ++i)
            groups.SetChecked(i, ini.ReadBool(StatusSection, groups.Name(i), true));
    } catch (const std::exception&) {
        // Ticks already set stay set.
    }
}

bool GroupStore::SaveStatus(const GroupList& groups) const {
    if (groups.Count() == 0) return true;
    try {
        std::vector<std::pair<std::string, bool>> ticks;
        ticks.reserve(static_cast<std::size_t>(groups.Count()));
        for (int i = 0; i < groups.Count(); ++i) ticks.emplace_back(groups.Name(i), groups.Checked(i));
        TIniFile32(folders_.StatusFile, EntryOfAGroup(groups)).WriteBools(StatusSection, ticks);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace zep
