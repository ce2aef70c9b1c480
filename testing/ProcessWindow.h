#pragma once
// Finding another process's window by class and caption, shared by the
// end-to-end test and the start-up benchmark.
#include <windows.h>

#include <string>

namespace zep::test {

namespace detail {

struct WindowSearch {
    DWORD pid;
    const std::string* windowClass;
    const std::string* title;
    HWND found;
};

inline BOOL CALLBACK MatchWindow(HWND window, LPARAM search) {
    auto& s = *reinterpret_cast<WindowSearch*>(search);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    char cls[64] = {}, title[64] = {};
    ::GetClassNameA(window, cls, sizeof cls);
    ::GetWindowTextA(window, title, sizeof title);
    if (pid != s.pid || cls != *s.windowClass || title != *s.title) return TRUE;
    s.found = window;
    return FALSE;
}

}  // namespace detail

// The top-level window of that class and caption owned by the process, or null.
inline HWND TopWindowOf(DWORD processId, const std::string& windowClass, const std::string& title) {
    detail::WindowSearch search{processId, &windowClass, &title, nullptr};
    ::EnumWindows(&detail::MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace zep::test
