#pragma once
// What assistive technology reads of a window, read as a client reads it: the
// object of its client area from oleacc, and each child through AccessibleChildren.
#include "win/ComRef.h"
#include "win/WideText.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <string>
#include <vector>

namespace zep::test {

inline VARIANT ChildId(long id) {
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// One line for a part: its role, "name", (description), keyboard shortcut,
// [states], = value and -> default action, as far as it has them.
inline std::string Describe(IAccessible& object, long id) {
    const auto read = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), const char* before,
                          const char* after = "") {
        BSTR text = nullptr;
        if ((object.*get)(ChildId(id), &text) != S_OK) return std::string();
        const std::string read = before + Narrow(text, CP_UTF8).value_or("?") + after;
        ::SysFreeString(text);
        return read;
    };
    VARIANT role{}, state{};
    object.get_accRole(ChildId(id), &role);
    object.get_accState(ChildId(id), &state);
    char roleText[32] = {};
    ::GetRoleTextA(role.lVal, roleText, sizeof roleText);
    std::string line = roleText + read(&IAccessible::get_accName, " \"", "\"");
    line += read(&IAccessible::get_accDescription, " (", ")") + read(&IAccessible::get_accKeyboardShortcut, " ");
    for (auto [flag, name] : {std::pair{STATE_SYSTEM_INVISIBLE, "invisible"}, {STATE_SYSTEM_UNAVAILABLE, "unavailable"},
                              {STATE_SYSTEM_CHECKED, "checked"}, {STATE_SYSTEM_FOCUSED, "focused"}})
        if (state.lVal & flag) line += std::string(" [") + name + "]";
    return line + read(&IAccessible::get_accValue, " = ") + read(&IAccessible::get_accDefaultAction, " -> ");
}

inline ComRef<IAccessible> ClientObject(HWND window) {
    ComRef<IAccessible> client;
    EXPECT_EQ(S_OK, ::AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible), client.Out()));
    return client;
}

// The parts a window's client shows, one line each, and those of its child
// windows after them, indented one step per window.
inline std::string AccessibleTree(HWND window, const std::string& indent = "") {
    const ComRef<IAccessible> client = ClientObject(window);
    long count = 0;
    if (client->get_accChildCount(&count) != S_OK || count == 0) return "";
    std::vector<VARIANT> children(static_cast<std::size_t>(count));
    EXPECT_EQ(S_OK, ::AccessibleChildren(client.get(), 0, count, children.data(), &count));
    std::string tree;
    for (VARIANT& child : children) {
        ComRef<IAccessible> object;
        HWND inner = nullptr;
        if (child.vt == VT_I4) tree += indent + Describe(*client.get(), child.lVal) + "\n";
        if (child.vt == VT_DISPATCH && SUCCEEDED(child.pdispVal->QueryInterface(__uuidof(IAccessible), object.Out())) &&
            ::WindowFromAccessibleObject(object.get(), &inner) == S_OK)
            tree += AccessibleTree(inner, indent + "  ");
        ::VariantClear(&child);
    }
    return tree;
}

}  // namespace zep::test
