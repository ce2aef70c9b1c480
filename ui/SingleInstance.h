#pragma once
// One Zepton per user session, wherever it was started from: a start while
// another runs brings that one's main window up and ends, before it has made
// a window, put an icon in the tray or touched a file.
#include "toolkit/WindowHook.h"
#include "win/Handle.h"

#include <windows.h>

#include <functional>
#include <optional>

namespace zep {

class TSingleInstance {
public:
    // Asks for the session's one place; made before anything else of the program.
    TSingleInstance();
    // Gives the place up, to a start that may be waiting for it.
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    // True when this start is to run: no other Zepton runs in the session, or
    // the other ended while this one waited. Otherwise the running one has
    // been asked to bring its main window up, if it could be reached within
    // WaitLimit (it may still be starting), and this start is to end.
    bool Claim();

    // From now on another start reaches `window`, and `bringUp` runs for it here.
    void Announce(HWND window, std::function<void()> bringUp);
    // Once the message loop has ended: a start now waits for this process to end.
    void Withdraw();

    static constexpr DWORD WaitLimit = 10000;  // ms

private:
    KernelObject lock_;
    bool owned_ = false;
    std::optional<TWindowHook> announced_;
};

}  // namespace zep
