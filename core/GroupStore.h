#pragma once
// Group files, the repository and the Desktop: every operation works directly
// on the folders; nothing is cached between calls.
#include "core/FileSystem.h"
#include "core/Folders.h"
#include "core/GroupList.h"
#include "core/TextLines.h"

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zep {

// What an Apply could not do: how many shortcuts it left where the ticked
// groups say they should not be (on the Desktop though no ticked group names
// them, or off it though one does), and the system's code for the first of them.
struct ApplyOutcome {
    int misplaced = 0;
    SystemError firstError = 0;
};

// The group named so, letter case aside, or -1.
int FindGroup(const GroupList& groups, const std::string& name);
// The place among `names` of the first one that names no group.
std::optional<std::size_t> FirstUnknownGroup(const GroupList& groups, const Names& names);
// Ticks the named groups and no other; a name that is no group's ticks nothing.
void TickExactly(GroupList& groups, const Names& names);

class GroupStore {
public:
    explicit GroupStore(Folders folders) : folders_(std::move(folders)) {}
    const Folders& folders() const { return folders_; }

    Names ListGroups() const;                                  // throws when DataFolder can't be listed
    void RefreshGroupList(GroupList& groups) const;            // never throws
    Names ReadGroup(const std::string& group) const;           // "Cannot open file %s"
    // "Cannot create file %s" (also for a name holding a colon), or GroupNameError for a
    // name holding \ or /, for . and .., and for device names such as CON;
    // replaces the file whole, never leaving it half written.
    void SaveGroup(const std::string& group, const Names& shortcuts) const;
    void DeleteGroup(const std::string& group) const;          // never throws
    Names ListRepository() const;                              // throws when RepositoryFolder can't be listed
    void CollectDesktopShortcuts() const;                      // never throws
    void DeleteShortcut(const std::string& shortcut) const;    // never throws
    void OpenShortcut(const std::string& shortcut, void* ownerWindow) const;  // never throws

    // Moves the Desktop's shortcuts into the repository and copies back those of the
    // ticked groups, going on past every failure, and says what it could not do.
    // Errors listing the Desktop propagate; the caller saves the ticks afterwards
    // in every case. A Desktop shortcut leaves the Desktop only once its copy is
    // in the repository, and its temporary files are gone when Apply returns,
    // also with no group in the list.
    ApplyOutcome Apply(const GroupList& groups) const;
    // Copies the group's shortcuts onto the Desktop, never over one already there.
    // Names holding \, / or : are passed over: they would reach outside the folders.
    void ApplyGroup(const std::string& group) const;           // never throws
    // Moves one Desktop shortcut, as a listing found it, into the repository over
    // the older copy there: one rename where it can, else a whole copy made
    // durable before the Desktop's file is deleted. An empty one is deleted
    // instead when the repository's copy has content. 0, or the system's code for
    // why it is still on the Desktop.
    SystemError MoveIntoRepository(const ListedFile& shortcut, StagingArea& staging) const;
    // Builds the group "All shortcuts" from the repository and leaves it the only tick.
    void AllShortcuts(GroupList& groups) const;                // never throws

    void LoadStatus(GroupList& groups) const;                  // never throws
    // Never throws; one write. False when the file could not be written: it keeps the ticks it had.
    bool SaveStatus(const GroupList& groups) const;

    std::string GroupFile(const std::string& group) const { return folders_.DataFolder + group + ".dat"; }
    std::string RepositoryShortcut(const std::string& s) const { return folders_.RepositoryFolder + s + ".lnk"; }
    std::string DesktopShortcut(const std::string& s) const { return folders_.DesktopFolder + s + ".lnk"; }

private:
    // A shortcut not where the ticked groups want it, and the system's code for why.
    struct Misplaced {
        std::string name;
        SystemError error;
        bool onDesktop;  // left there, or not brought back
    };
    void ApplyGroup(const std::string& group, StagingArea& staging, std::vector<Misplaced>& misplaced) const;

    Folders folders_;
};

}  // namespace zep
