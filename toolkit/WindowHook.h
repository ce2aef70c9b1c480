#pragma once
// Seeing the messages of a window one does not own: a component such as the
// tray icon watches the application window and its owner form this way. Hooks
// sit in comctl32's subclass chain, so any number of them, and the toolkit's
// own, may come and go in any order without cutting one another out.
#include <windows.h>

#include <functional>

namespace zep {

// Sees a message first; returns true when it has handled it (result set, the
// message goes no further), false to pass it on unchanged.
using TMessageHandler = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

// Hooks a window (a TWinControl's Handle(), or Application().Handle()) for its
// own lifetime. A handler that throws has its error reported by the
// application, and the message is passed on.
class TWindowHook {
public:
    TWindowHook(HWND window, TMessageHandler handler);
    ~TWindowHook();
    TWindowHook(const TWindowHook&) = delete;
    TWindowHook& operator=(const TWindowHook&) = delete;

    // The hooked window; null once it has been destroyed.
    HWND Window() const { return window_; }

private:
    static LRESULT CALLBACK HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self);
    void Unhook();

    HWND window_;
    TMessageHandler handler_;
};

// An elevated program gets no message from a less privileged one (the shell's
// "TaskbarCreated", another start of the program) unless its window lets that
// message through, where Windows filters them.
void LetThroughFromLessPrivileged(HWND window, UINT message);
// Windows' filter, looked up at run time (XP and Vista lack it); null where there
// is none. Tests put a recorder in its place.
extern BOOL(WINAPI* ChangeMessageFilter)(HWND window, UINT message, DWORD action, PCHANGEFILTERSTRUCT);

// An invisible message-only window on the user-interface thread whose messages
// reach one handler of the program; what the handler leaves gets the default
// processing. No bounds, font or hint. Message-only windows get no broadcasts
// ("TaskbarCreated" reaches the application window instead).
class TMessageWindow {
public:
    explicit TMessageWindow(TMessageHandler handler);
    ~TMessageWindow();
    TMessageWindow(const TMessageWindow&) = delete;
    TMessageWindow& operator=(const TMessageWindow&) = delete;

    HWND Handle() const { return handle_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    TMessageHandler handler_;
    HWND handle_ = nullptr;
    bool destroying_ = false;  // the window goes with this object, and only then
};

}  // namespace zep
