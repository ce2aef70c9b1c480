#pragma once
// The Desktop kept tidy between two Applies: a shortcut that appears there
// (an installer's, an updater's) and that no ticked group names goes into the
// repository as Apply would take it, once it is whole. Woken by the system's
// change notification, never by polling; only a shortcut still being written
// is looked at again, by a one-shot timer that stops when none waits.
#include "core/GroupStore.h"
#include "win/Handle.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zep {

class DesktopWatch {
public:
    // Watches the store's Desktop from now on: what is there already stays.
    // A Desktop that can't be watched now is tried again at Restart.
    explicit DesktopWatch(GroupStore store);
    ~DesktopWatch();
    DesktopWatch(const DesktopWatch&) = delete;
    DesktopWatch& operator=(const DesktopWatch&) = delete;

    // Signalled (and reset by the wait) when names on the Desktop have changed,
    // and when a shortcut not yet whole is due for another look: Tidy then.
    HANDLE Changed() const { return changed_.get(); }
    HANDLE Due() const { return due_.get(); }

    // Moves into the repository each shortcut that has appeared, or that waits
    // and is whole now, unless `named` (the names the ticked groups give, asked
    // once a call and only when a shortcut is to be judged) holds its name.
    // Hidden and system files stay, as with Apply. One empty or held open by
    // its writer waits, for WaitLimitMs at most; the next Apply takes it then.
    // Returns the names of those taken since none last waited, once none waits.
    Names Tidy(const std::function<Names()>& named);
    // Apply has just put the Desktop in order: the changes seen so far are its
    // own, and nothing waits any more. Watches again a Desktop that could not be.
    void Restart();

    static constexpr DWORD RecheckMs = 250, WaitLimitMs = 30000;

private:
    struct Waiting {
        std::string file;
        DWORD since;
    };
    enum class Outcome { Taken, Stays, NotWhole };

    void Watch();
    void StopWatching();
    bool AskForChanges();
    Names Appeared();
    Outcome Look(const std::string& file, const std::function<Names()>& named, std::optional<Names>& names,
                 StagingArea& staging) const;

    const GroupStore store_;
    FileHandle folder_;
    KernelObject changed_, due_;
    OVERLAPPED overlapped_{};
    std::vector<DWORD> changes_;  // what the system reports, DWORD-aligned as it must be
    std::vector<Waiting> waiting_;
    Names taken_;
};

}  // namespace zep
