#pragma once
// Working a program window in-process: mouse clicks on oval buttons and list items, typing,
// and a helper thread for windows shown modally.
#include "tests/windows/ToolkitHarness.h"
#include "controls/OvalBtn.h"
#include "toolkit/StdCtrls.h"

#include <functional>
#include <string>
#include <thread>

namespace zep::test {

inline POINT Centre(const TControl& c) { return {c.Left() + c.Width() / 2, c.Top() + c.Height() / 2}; }

// What the mouse sends when the user moves onto an oval button and clicks it,
// posted: the button's window may sit in a modal loop by then.
inline void PostClickOval(const TOvalButton& button) {
    const POINT p = Centre(button);
    HWND host = button.Parent()->Handle();
    ::PostMessageA(host, WM_MOUSEMOVE, 0, At(p.x, p.y));
    ::PostMessageA(host, WM_LBUTTONDOWN, MK_LBUTTON, At(p.x, p.y));
    ::PostMessageA(host, WM_LBUTTONUP, 0, At(p.x, p.y));
}

// The same click, handled before it returns.
inline void MouseClickOval(const TOvalButton& button) {
    PostClickOval(button);
    Flush();
}

inline LPARAM ItemPoint(int index) { return At(12, index * TCustomListBox::kItemHeight + 6); }

inline void PostClickItem(HWND list, int index) {
    ::PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, ItemPoint(index));
    ::PostMessageA(list, WM_LBUTTONUP, 0, ItemPoint(index));
}

inline void PostDoubleClickItem(HWND list, int index) {
    PostClickItem(list, index);
    ::PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, ItemPoint(index));
    ::PostMessageA(list, WM_LBUTTONUP, 0, ItemPoint(index));
}

inline void ClickItem(HWND list, int index) {
    PostClickItem(list, index);
    Flush();
}

inline void DoubleClickItem(HWND list, int index) {
    PostDoubleClickItem(list, index);
    Flush();
}

// Characters as the keyboard delivers them to a focused edit field.
inline void Type(HWND edit, const std::string& text) {
    for (char c : text) ::PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    Flush();
}

inline std::string Joined(const TCustomListBox& list) {
    std::string joined;
    for (int i = 0; i < list.Count(); ++i) joined += (i ? "|" : "") + list.Items(i);
    return joined;
}

// Works a window from another thread once it is shown, while the test's own
// thread sits in that window's modal loop (which answers the sent messages).
class WhenShown {
public:
    WhenShown(HWND window, std::function<void()> act)
        : thread_([window, act = std::move(act)] {
              for (int i = 0; i < 2000 && !::IsWindowVisible(window); ++i) ::Sleep(10);
              act();
          }) {}
    ~WhenShown() { thread_.join(); }
    WhenShown(const WhenShown&) = delete;
    WhenShown& operator=(const WhenShown&) = delete;

private:
    std::thread thread_;
};

}  // namespace zep::test
