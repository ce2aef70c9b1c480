#pragma once
// Working a program window in-process: mouse clicks on oval buttons and list items, typing,
// and a helper thread for windows shown modally.
#include "tests/windows/ToolkitHarness.h"
#include "controls/OvalBtn.h"
#include "toolkit/StdCtrls.h"

#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <thread>
#include <tuple>
#include <utility>

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

// A key as the keyboard sends it to the control that has the focus, the
// modifiers held meanwhile (a posted key changes no key state of its own).
inline void PressKey(HWND focus, unsigned key, TShiftState shift = 0) {
    BYTE saved[256], held[256];
    ::GetKeyboardState(saved);
    std::copy(std::begin(saved), std::end(saved), held);
    for (auto [vk, flag] : {std::pair{VK_SHIFT, ssShift}, {VK_CONTROL, ssCtrl}, {VK_MENU, ssAlt}})
        held[vk] = shift & flag ? 0x80 : 0;
    ::SetKeyboardState(held);
    const bool alt = shift & ssAlt;
    const LPARAM context = alt ? 1 << 29 : 0;
    ::PostMessageA(focus, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1 | context);
    ::PostMessageA(focus, alt ? WM_SYSKEYUP : WM_KEYUP, key, static_cast<LPARAM>(0xC0000001) | context);
    Flush();
    ::SetKeyboardState(saved);
}

// The buttons clicked, by name, in order.
struct Clicks {
    std::string log;
    template <class Button>
    void Watch(Button& button, const std::string& name) {
        button.OnClick = [this, name](TObject*) { log += name + " "; };
    }
    std::string Take() { return std::exchange(log, {}); }
};

// The control a key goes to, the key with its modifiers, the clicks it makes.
using KeyCase = std::tuple<HWND, unsigned, TShiftState, const char*>;

// Every letter, plain and with Alt, as typed into the controls.
inline void TypeLetters(std::initializer_list<HWND> controls) {
    for (HWND control : controls)
        for (unsigned letter = 'A'; letter <= 'Z'; ++letter)
            for (TShiftState shift : {0u, ssAlt}) PressKey(control, letter, shift);
}

// Each key clicks what it should; letters typed into the controls click nothing.
inline void ExpectKeys(Clicks& clicks, std::initializer_list<KeyCase> keys, std::initializer_list<HWND> typedInto) {
    for (const auto& [to, key, shift, clicked] : keys) {
        PressKey(to, key, shift);
        EXPECT_EQ(clicked, clicks.Take()) << ShortCutToText({key, shift});
    }
    TypeLetters(typedInto);
    EXPECT_EQ("", clicks.Take()) << "letters";
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
