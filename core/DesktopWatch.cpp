#include "core/DesktopWatch.h"

#include "core/CompareText.h"
#include "core/Errors.h"
#include "core/FileSystem.h"
#include "win/WideText.h"

#include <algorithm>
#include <utility>

namespace zep {
namespace {

// Room for about a hundred changes between two looks; more, and the system
// says it lost count.
constexpr std::size_t ChangesBytes = 8192;

// The shortcuts a batch of change records says were made or renamed into the folder.
Names ShortcutsAdded(const BYTE* records) {
    Names files;
    for (const BYTE* at = records;;) {
        const auto& record = *reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(at);
        if (record.Action == FILE_ACTION_ADDED || record.Action == FILE_ACTION_RENAMED_NEW_NAME) {
            const std::wstring_view wide(record.FileName, record.FileNameLength / sizeof(WCHAR));
            // A name the process code page can't spell can't be moved by it either.
            if (auto file = Narrow(wide, ::GetACP()); file && HasExtension(*file, ".lnk")) files.push_back(*file);
        }
        if (record.NextEntryOffset == 0) return files;
        at += record.NextEntryOffset;
    }
}

// Whether a shortcut has been written to the end: a program still writing it
// has it empty, or open against a reader that shuts writers out.
bool IsWhole(const std::string& path, std::uint64_t size) {
    if (size == 0) return false;
    const FileHandle file(
        ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    return file || ::GetLastError() != ERROR_SHARING_VIOLATION;
}

bool InUse(SystemError error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }

}  // namespace

DesktopWatch::DesktopWatch(GroupStore store)
    : store_(std::move(store)),
      changed_(::CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      due_(::CreateWaitableTimerA(nullptr, FALSE, nullptr)),
      changes_(ChangesBytes / sizeof(DWORD)) {
    Watch();
}

DesktopWatch::~DesktopWatch() { StopWatching(); }

void DesktopWatch::Watch() {
    StopWatching();
    folder_.reset(::CreateFileA(store_.folders().DesktopFolder.c_str(), FILE_LIST_DIRECTORY,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
    if (folder_ && !AskForChanges()) folder_.reset();
}

// The system writes into the buffer until the request ends: it must have ended first.
void DesktopWatch::StopWatching() {
    if (!folder_) return;
    ::CancelIoEx(folder_.get(), &overlapped_);
    DWORD bytes = 0;
    ::GetOverlappedResult(folder_.get(), &overlapped_, &bytes, TRUE);
    folder_.reset();
    ::ResetEvent(changed_.get());
}

bool DesktopWatch::AskForChanges() {
    overlapped_ = {};
    overlapped_.hEvent = changed_.get();
    return ::ReadDirectoryChangesW(folder_.get(), changes_.data(), ChangesBytes, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME,
                                   nullptr, &overlapped_, nullptr) != FALSE;
}

void DesktopWatch::Restart() {
    waiting_.clear();
    taken_.clear();
    ::CancelWaitableTimer(due_.get());
    Watch();
}

// The shortcuts that appeared since the last look (every one on the Desktop
// when the system lost count of them), asking for the next changes. A Desktop
// deleted or renamed meanwhile is watched no more: its handle would follow it
// elsewhere, or fail for ever.
Names DesktopWatch::Appeared() {
    DWORD bytes = 0;
    if (!folder_) return {};
    const bool reported = ::GetOverlappedResult(folder_.get(), &overlapped_, &bytes, FALSE);
    const DWORD error = reported ? 0 : ::GetLastError();
    if (error == ERROR_IO_INCOMPLETE) return {};  // the timer's call: nothing has changed
    const std::string& desktop = store_.folders().DesktopFolder;
    Names files;
    try {
        if (error == 0 && bytes > 0)
            files = ShortcutsAdded(reinterpret_cast<const BYTE*>(changes_.data()));
        else if (error == 0 || error == ERROR_NOTIFY_ENUM_DIR)
            files = ListFolder(desktop, ".lnk", Listing::VisibleFiles);
    } catch (const ListError&) {
    }
    if ((error != 0 && error != ERROR_NOTIFY_ENUM_DIR) || !DirectoryExists(desktop) || !AskForChanges())
        folder_.reset();
    return files;
}

Names DesktopWatch::Tidy(const std::function<Names()>& named) {
    const DWORD now = ::GetTickCount();
    for (auto& file : Appeared())
        if (std::none_of(waiting_.begin(), waiting_.end(), [&](const Waiting& w) { return w.file == file; }))
            waiting_.push_back({std::move(file), now});
    std::optional<Names> names;
    StagingArea staging;
    std::vector<Waiting> stillWaiting;
    for (auto& w : waiting_) {
        const Outcome outcome = Look(w.file, named, names, staging);
        if (outcome == Outcome::Taken) taken_.push_back(w.file.substr(0, w.file.size() - 4));
        if (outcome == Outcome::NotWhole && now - w.since < WaitLimitMs) stillWaiting.push_back(std::move(w));
    }
    waiting_ = std::move(stillWaiting);
    if (waiting_.empty()) {
        ::CancelWaitableTimer(due_.get());
        return std::exchange(taken_, {});
    }
    LARGE_INTEGER due;
    due.QuadPart = -static_cast<LONGLONG>(RecheckMs) * 10000;  // relative, in 100 ns
    ::SetWaitableTimer(due_.get(), &due, 0, nullptr, nullptr, FALSE);
    return {};
}

DesktopWatch::Outcome DesktopWatch::Look(const std::string& file, const std::function<Names()>& named,
                                         std::optional<Names>& names, StagingArea& staging) const {
    // Gone again, or one Apply leaves alone (hidden, system, a folder).
    const std::string& desktop = store_.folders().DesktopFolder;
    const std::optional<ListedFile> listed = ListOneFile(desktop, file, Listing::VisibleFiles);
    if (!listed) return Outcome::Stays;
    if (!names) names = named();
    const std::string shortcut = file.substr(0, file.size() - 4);
    if (std::any_of(names->begin(), names->end(), [&](const std::string& n) { return SameTextNoCase(n, shortcut); }))
        return Outcome::Stays;
    if (!IsWhole(desktop + file, listed->size)) return Outcome::NotWhole;
    const SystemError error = store_.MoveIntoRepository(*listed, staging);
    if (error == 0) return Outcome::Taken;
    return InUse(error) ? Outcome::NotWhole : Outcome::Stays;
}

}  // namespace zep
