#pragma once
// Assistive technology: Microsoft Active Accessibility, and UI Automation
// clients through it. The system describes windows and native controls; a
// window that draws parts of its own (windowless controls, ticks in a list,
// tool buttons) answers WM_GETOBJECT with an object that tells of them as
// simple children beside its child windows. oleacc.dll is loaded at the first
// question, never at start.
#include <windows.h>

#include <functional>
#include <string>

namespace zep {

class TClickable;
class TWinControl;

enum class TAccessibleRole { Graphic, StaticText, PushButton, Link, ListItem };

// One part of a window as assistive technology is told of it.
struct TAccessibleElement {
    TAccessibleRole role = TAccessibleRole::Graphic;
    std::string name, description, value, keyboardShortcut;
    std::string defaultAction;     // "Press", "Jump", "Check": empty when there is none
    std::function<void()> action;  // what the default action does
    RECT bounds{};                 // in the client area of the window that draws it
    bool visible = true, enabled = true;
    bool pressed = false, checked = false, selected = false, focused = false;
};

// The default action of a button: a click by the key the window gives it, or by assistive technology.
void DescribeButton(TAccessibleElement& element, const TWinControl& host, TClickable& button);

// Answers a WM_GETOBJECT sent to the window; false for any other object than
// its client area (or when oleacc.dll is missing), which the default answers.
bool AnswerGetObject(HWND window, WPARAM flags, LPARAM objectId, LRESULT& result);

}  // namespace zep
