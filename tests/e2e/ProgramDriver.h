#pragma once
// Working the running zepton.exe from another process, as a user would with the
// mouse and keyboard: posted messages at client points of its windows. Shared by
// the end-to-end test and the screenshot driver.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace zep::test {

// Polls until the condition holds or the time is up; the last answer.
inline bool Eventually(const std::function<bool()>& condition, int seconds = 20) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return condition();
        ::Sleep(50);
    }
    return true;
}

constexpr const char* kFormClass = "ZeptonWindow";
constexpr int kItemHeight = 13;

// A shown top-level window of the program by its caption, or null after the wait.
inline HWND ShownWindow(const char* caption) {
    HWND window = nullptr;
    Eventually([&] {
        window = ::FindWindowA(kFormClass, caption);
        return window && ::IsWindowVisible(window);
    });
    return window && ::IsWindowVisible(window) ? window : nullptr;
}

namespace detail {

struct ChildSearch {
    std::string windowClass;
    std::vector<HWND> found;
};

inline BOOL CALLBACK MatchChild(HWND child, LPARAM search) {
    auto& s = *reinterpret_cast<ChildSearch*>(search);
    char cls[64] = {};
    ::GetClassNameA(child, cls, sizeof cls);
    if (_stricmp(cls, s.windowClass.c_str()) == 0) s.found.push_back(child);
    return TRUE;
}

}  // namespace detail

// The children of a window of one class, in window order (the keyboard's order).
inline std::vector<HWND> Children(HWND parent, const char* windowClass) {
    detail::ChildSearch search{windowClass, {}};
    ::EnumChildWindows(parent, &detail::MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A click of the left button, the pointer arriving first (oval buttons count only presses it is over).
inline void PostClick(HWND window, int x, int y) {
    ::PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    ::PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

inline void PostDoubleClickItem(HWND list, int index) {
    const LPARAM at = MAKELPARAM(12, index * kItemHeight + 6);
    ::PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageA(list, WM_LBUTTONUP, 0, at);
    ::PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::PostMessageA(list, WM_LBUTTONUP, 0, at);
}

// A list box's items; across processes they come back as UTF-16.
inline std::vector<std::string> ListItems(HWND list) {
    std::vector<std::string> items;
    const int count = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        char narrow[256] = {};
        ::WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
        items.emplace_back(narrow);
    }
    return items;
}

// The main window's group list: its only list box.
inline HWND GroupList(HWND main) {
    const auto lists = Children(main, "ListBox");
    return lists.empty() ? nullptr : lists.front();
}

// The Groups Configuration tool button: the fifth button, at 75, 2 on the tool bar.
inline HWND OpenGroupsConfiguration(HWND main) {
    const auto bars = Children(main, "ToolbarWindow32");
    if (bars.empty()) return nullptr;
    PostClick(bars.front(), 75 + 11, 2 + 11);
    return ShownWindow("Groups Configuration");
}

// Adds the repository entries at these indexes by double-clicks and types the name.
inline void ComposeGroup(HWND config, const std::vector<int>& entries, const std::string& name) {
    const auto lists = Children(config, "ListBox");
    const auto edits = Children(config, "Edit");
    for (int index : entries) PostDoubleClickItem(lists.at(0), index);
    for (char c : name) ::PostMessageA(edits.at(0), WM_CHAR, static_cast<unsigned char>(c), 1);
}

inline void SaveGroup(HWND config) { PostClick(config, 364 + 28, 223 + 12); }

// Close sits in the bottom panel, the window's last child of its own class.
inline void CloseGroupsConfiguration(HWND config) {
    const auto panels = Children(config, kFormClass);
    PostClick(panels.back(), 174 + 39, 4 + 16);
}

// Ticks a group by its box and presses Preview, in the group box at 9, 158.
inline HWND OpenPreview(HWND main, int tickIndex) {
    const LPARAM box = MAKELPARAM(kItemHeight / 2, tickIndex * kItemHeight + 6);
    ::PostMessageA(GroupList(main), WM_LBUTTONDOWN, MK_LBUTTON, box);
    ::PostMessageA(GroupList(main), WM_LBUTTONUP, 0, box);
    HWND groupBox = ::FindWindowExA(main, nullptr, kFormClass, " Shortcuts' Groups : ");
    PostClick(groupBox, 9 + 32, 158 + 12);
    return ShownWindow("Shortcuts to view");
}

// Escape, released over the preview's list.
inline void ClosePreview(HWND preview) {
    ::PostMessageA(Children(preview, "ListBox").at(0), WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0000001));
}

}  // namespace zep::test
