#pragma once
// Group files, the repository and the Desktop: every operation works directly
// on the folders; nothing is cached between calls.
#include "core/Folders.h"
#include "core/GroupList.h"

#include <string>
#include <vector>

namespace zep {

using Names = std::vector<std::string>;

class GroupStore {
public:
    explicit GroupStore(Folders folders) : folders_(std::move(folders)) {}
    const Folders& folders() const { return folders_; }

    Names ListGroups() const;                                  // throws when DataFolder can't be listed
    void RefreshGroupList(GroupList& groups) const;            // never throws
    Names ReadGroup(const std::string& group) const;           // "Cannot open file %s"
    void SaveGroup(const std::string& group, const Names& shortcuts) const;  // "Cannot create file %s"
    void DeleteGroup(const std::string& group) const;          // never throws
    Names ListRepository() const;                              // throws when RepositoryFolder can't be listed
    void CollectDesktopShortcuts() const;                      // never throws
    void DeleteShortcut(const std::string& shortcut) const;    // never throws
    void OpenShortcut(const std::string& shortcut, void* ownerWindow) const;  // never throws

    // Moves the Desktop's shortcuts into the repository and copies back those of the
    // ticked groups; always ends by saving the ticks. Errors listing the Desktop propagate.
    void Apply(GroupList& groups) const;
    void ApplyGroup(const std::string& group) const;           // never throws
    // Builds the group "All shortcuts" from the repository and leaves it the only tick.
    void AllShortcuts(GroupList& groups) const;                // never throws

    void LoadStatus(GroupList& groups) const;                  // never throws
    void SaveStatus(const GroupList& groups) const;            // never throws

private:
    Folders folders_;
};

}  // namespace zep
