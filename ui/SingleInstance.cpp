#include "ui/SingleInstance.h"

#include "ui/CommandLine.h"

#include <algorithm>
#include <utility>

namespace zep {
namespace {

const DWORD PollInterval = 50;  // ms between looks for a window that is not there yet
// A command must be taken this long before the sender gives up, for the answer to reach it.
const DWORD ReplyMargin = 2000;  // ms

UINT BringUpMessage() {
    static const UINT message = ::RegisterWindowMessageA("Kestrin.Zepton.BringUp");
    return message;
}

}  // namespace

// The session's namespace, one name for every copy of the program: the
// installed one and a portable one work on the same Desktop.
TSingleInstance::TSingleInstance(std::string name) : name_(std::move(name)) {}

TSingleInstance::~TSingleInstance() {
    Withdraw();
    if (owned_) ::ReleaseMutex(lock_.get());
}

bool TSingleInstance::Claim() {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (TakeLock()) {
            Open();
            return true;
        }
        if ((running_ = ::FindWindowExA(HWND_MESSAGE, nullptr, nullptr, name_.c_str()))) return false;
        const DWORD waited = ::GetTickCount() - start;
        if (waited >= WaitLimit) return false;
        WaitForLock(std::min(PollInterval, WaitLimit - waited));
    }
}

// True when this start holds the lock, or cannot know whether another runs (a
// failure other than a refusal: it then runs as it always did).
bool TSingleInstance::TakeLock() {
    if (owned_ || lock_) return owned_;
    lock_.reset(::CreateMutexA(nullptr, TRUE, ("Local\\" + name_).c_str()));
    const DWORD error = ::GetLastError();
    if (lock_) return owned_ = error != ERROR_ALREADY_EXISTS;
    // An elevated Zepton's lock exists, and refuses to be opened from a normal start.
    return error != ERROR_ACCESS_DENIED;
}

// The lock comes free when its holder ends, killed or not. A refused one is
// asked for again: its holder may have ended.
void TSingleInstance::WaitForLock(DWORD milliseconds) {
    if (!lock_) {
        ::Sleep(milliseconds);
        return;
    }
    const DWORD result = ::WaitForSingleObject(lock_.get(), milliseconds);
    owned_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

// The window other starts find by the place's name.
void TSingleInstance::Open() {
    window_.emplace([this](UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
        if (message == BringUpMessage()) {
            if (bringUp_)
                bringUp_();
            else
                bringUpAsked_ = true;
        } else if (message == WM_COPYDATA) {
            result = Take(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        } else {
            return false;
        }
        return true;
    });
    ::SetWindowTextA(window_->Handle(), name_.c_str());
    for (const UINT message : {BringUpMessage(), static_cast<UINT>(WM_COPYDATA)})
        LetThroughFromLessPrivileged(window_->Handle(), message);
}

bool TSingleInstance::BringUp() const {
    if (!running_) return false;
    // The user started this process, so it may hand the foreground on to the window it brings up.
    DWORD processId = 0;
    ::GetWindowThreadProcessId(running_, &processId);
    ::AllowSetForegroundWindow(processId);
    return ::PostMessageA(running_, BringUpMessage(), 0, 0) != FALSE;
}

// The deadline goes with the command: past it, less the margin, it is not taken.
long TSingleInstance::Send(const std::string& commandLine) const {
    const DWORD deadline = ::GetTickCount() + WaitLimit;
    COPYDATASTRUCT data{deadline, static_cast<DWORD>(commandLine.size()), const_cast<char*>(commandLine.data())};
    while (running_ && ::IsWindow(running_)) {
        const auto left = static_cast<LONG>(deadline - ::GetTickCount());
        if (left <= 0) break;
        DWORD_PTR answer = CommandNotTaken;
        if (::SendMessageTimeoutA(running_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL,
                                  static_cast<UINT>(left), &answer) &&
            answer != CommandNotTaken)
            return static_cast<long>(answer);
        ::Sleep(PollInterval);  // still starting up: asked again
    }
    return CommandNotTaken;
}

long TSingleInstance::Take(const COPYDATASTRUCT& data) const {
    const auto left = static_cast<LONG>(static_cast<DWORD>(data.dwData) - ::GetTickCount());
    if (!take_ || left < static_cast<LONG>(ReplyMargin)) return CommandNotTaken;
    return take_(std::string(static_cast<const char*>(data.lpData), data.cbData));
}

void TSingleInstance::Announce(std::function<void()> bringUp, std::function<long(const std::string&)> take) {
    bringUp_ = std::move(bringUp);
    take_ = std::move(take);
    if (std::exchange(bringUpAsked_, false)) bringUp_();
}

void TSingleInstance::Withdraw() {
    window_.reset();
    bringUp_ = nullptr;
    take_ = nullptr;
}

}  // namespace zep
