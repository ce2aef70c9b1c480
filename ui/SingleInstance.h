#pragma once
// One Zepton per user session, wherever it was started from: a start while
// another runs hands its command to that one, or asks it to bring its main
// window up, and ends before it has made a window, put an icon in the tray or
// touched a file. This holds beside an elevated Zepton too, whose lock a normal
// start may not open and whose windows it reaches only through the message filter.
#include "toolkit/WindowHook.h"
#include "win/Handle.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace zep {

class TSingleInstance {
public:
    // The session's one place under `name`: the program's own, another one in tests.
    explicit TSingleInstance(std::string name = "Kestrin.Zepton");
    // Gives the place up, to a start that may be waiting for it.
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    // True when this start is to run: no other Zepton runs in the session, or
    // the other ended while this one waited; from here on other starts find this
    // one, even while its start-up lasts. False when another runs: it has been
    // found, unless it could not be within WaitLimit.
    bool Claim();
    // Asks the Zepton found running to bring its main window up; false when none
    // was found. Posted, never sent: one that hangs, starts up or shows a modal
    // window holds nothing here.
    bool BringUp() const;
    // Hands a command line (UTF-8) to the Zepton found running: its answer, or
    // CommandNotTaken when it did not take it within WaitLimit. It takes no
    // command that comes later than it could answer in time.
    long Send(const std::string& commandLine) const;

    // Once this program's start-up is done: from now on `bringUp` and `take`
    // answer other starts. A bring-up asked for during the start-up runs now.
    void Announce(std::function<void()> bringUp, std::function<long(const std::string&)> take);
    // Once the message loop has ended: a start now waits for this process to end.
    void Withdraw();

    static constexpr DWORD WaitLimit = 10000;  // ms

private:
    bool TakeLock();
    void WaitForLock(DWORD milliseconds);
    void Open();
    long Take(const COPYDATASTRUCT& data) const;

    const std::string name_;
    KernelObject lock_;
    bool owned_ = false;
    HWND running_ = nullptr;  // another Zepton's window, found by Claim
    std::optional<TMessageWindow> window_;  // this one's, from its claim to its withdrawal
    std::function<void()> bringUp_;
    std::function<long(const std::string&)> take_;
    bool bringUpAsked_ = false;  // during the start-up
};

}  // namespace zep
