#pragma once
// Controls: windowless ones painted on their parent's canvas, and windowed ones
// around a native window. Each windowed control routes the mouse to the
// windowless controls it hosts.
#include "toolkit/Accessible.h"
#include "toolkit/Component.h"
#include "toolkit/Graphics.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace zep {

class TWinControl;
class TPopupMenu;

// Cursor numbers; positive numbers are the program's own cursors.
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crHandPoint = -21;

class TControl : public TComponent {
public:
    TControl(TComponent* owner, TWinControl* parent);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    virtual void SetBounds(int left, int top, int width, int height);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);

    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor) { cursor_ = cursor; }
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }

    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }

    virtual void Invalidate();

    // Brings the bounds and font the program stated at 96 dots per inch to the
    // display's; called once, when the control's form is complete.
    virtual void ScaleToScreen();
    // Hands the hint to the tooltip as the control now stands.
    virtual void HintChanged();

protected:
    virtual void CaptionChanged() { Invalidate(); }
    // Where the control's window now stands, after the user or the system moved it.
    void StoreBounds(int left, int top, int width, int height);

private:
    TWinControl* parent_;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    std::string caption_;
    std::string hint_;
    bool showHint_ = false;
    TCursor cursor_ = crDefault;
    TFont font_;
    TPopupMenu* popupMenu_ = nullptr;
};

// A control without a window of its own: it paints on its parent's canvas,
// and its parent hands it the mouse.
class TGraphicControl : public TControl {
public:
    TGraphicControl(TComponent* owner, TWinControl* parent);
    ~TGraphicControl() override;

    // The framework's calls, in the order it makes them.
    virtual void Paint(TCanvas& canvas) = 0;
    virtual void MouseDown(TMouseButton, TShiftState, int, int) {}
    virtual void MouseMove(TShiftState, int, int) {}
    virtual void MouseUp(TMouseButton, TShiftState, int, int) {}
    virtual void Click() {}
    virtual void DblClick() {}
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    // An accelerator key typed in the window; true when handled.
    virtual bool DialogChar(char) { return false; }
    // What assistive technology is told of the control: by default a picture
    // named by its caption and described by its hint.
    virtual TAccessibleElement Accessible();

    // Asks the parent to repaint the control's area, background first.
    void Repaint();
};

// A canvas on the control's area of its parent, for drawing at once outside a
// paint cycle; coordinates are the control's own.
struct WindowDC {
    explicit WindowDC(HWND window);
    ~WindowDC();
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HWND window;
    HDC dc;
};

// The device context outlives the canvas, which deselects its objects first.
class TControlCanvas : private WindowDC, public TCanvas {
public:
    explicit TControlCanvas(TGraphicControl& control);
};

class TWinControl : public TControl {
public:
    TWinControl(TComponent* owner, TWinControl* parent);
    ~TWinControl() override;

    // The window, made on first need; null once it has been destroyed: a
    // window is made once.
    HWND Handle() const;
    // Whether the window is there now: made, and not destroyed yet.
    bool HandleAllocated() const { return window_.value_or(nullptr) != nullptr; }
    // Makes the window (its parent's first) unless it has been made already.
    void HandleNeeded();
    // A control made on a parent that has its window gets its own at once.
    void AfterConstruction() override;

    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool visible) override;
    void SetEnabled(bool enabled) override;
    void Invalidate() override;
    void ScaleToScreen() override;
    void HintChanged() override;
    // Puts the window above its siblings, and first among them for the keyboard.
    void BringToFront();

    // The windowless controls painted on this one, in creation order.
    const std::vector<TGraphicControl*>& GraphicControls() const { return graphics_; }
    void AddGraphicControl(TGraphicControl* control) { graphics_.push_back(control); }
    void RemoveGraphicControl(TGraphicControl* control);

    // The topmost visible windowless control at a client point; a disabled one
    // only when asked for (it sees the pointer come and go, but no buttons).
    TGraphicControl* ControlAt(POINT point, bool allowDisabled = false) const;

    static TWinControl* FromHandle(HWND window);

    // Assistive technology: the parts the window draws itself (its windowless
    // controls; a native control may add what it draws for the toolkit), told
    // beside its child windows. A window without such parts is left to the
    // system's description.
    virtual bool DrawsOwnParts() const { return !graphics_.empty(); }
    virtual std::vector<TAccessibleElement> AccessibleElements();

    // The face colour of an own-class window; windowless controls on it inherit it.
    TColor Color = clBtnFace;

protected:
    // What window the control is, set by its constructor: the window itself is
    // made at its first need. A child control's comes once the object is
    // complete (the owner's Make done, and its parent's window there), so that
    // the most derived class sees its creation messages; a form's comes when it
    // is first shown, unless something asks for it sooner. A null class
    // name uses the toolkit's own window class, another name makes a native
    // control; a child window shows and takes input as Visible and Enabled say.
    void SetWindowClass(const char* className, DWORD style, DWORD exStyle = 0, HWND owner = nullptr);
    // The window exists: the control hands it what it keeps beyond bounds, text and font.
    virtual void WindowCreated() {}
    // Every message of the window; the default passes it on to the class's procedure.
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Paints the window's own face (own class only) before the windowless controls.
    virtual void PaintWindow(HDC dc);
    // A message that the parent passes on to the child it concerns (WM_COMMAND,
    // WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM); true when handled.
    virtual bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void CaptionChanged() override;

private:
    static LRESULT CALLBACK StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
    // Makes the window, bound to this object from its first message on, then the
    // windows of the complete children made before it.
    void CreateHandle();
    void Bind(HWND window);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    TWinControl* ChildWithId(int id) const;
    void PaintGraphicControls(HDC dc, const RECT& dirty);
    bool RouteMouse(UINT message, WPARAM wParam, LPARAM lParam);
    void SetHover(TGraphicControl* control);
    void ReleaseMouse();
    void EndPressOutside();
    bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool SetCursorForClient();

    // None before the window is first needed, then its handle, null once it is gone.
    std::optional<HWND> window_;
    const char* className_ = nullptr;
    DWORD style_ = 0, exStyle_ = 0;
    HWND owner_ = nullptr;
    bool ownClass_ = false;
    int id_ = 0;  // the control ID of a child window
    std::vector<TWinControl*> children_;  // the complete windowed children, for their windows and control IDs
    int nextChildId_;
    std::vector<TGraphicControl*> graphics_;
    TGraphicControl* captured_ = nullptr;
    TMouseButton pressedButton_ = TMouseButton::mbLeft;
    TGraphicControl* hover_ = nullptr;
    bool trackingLeave_ = false;
    bool suppressClick_ = false;
};

// The screen cursor: when it is not crDefault it shows over every window of
// the program; otherwise each control shows its own.
class TScreen {
public:
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    HCURSOR CursorHandle(TCursor cursor) const;
    // Installs a cursor of the program's own under a positive number.
    void SetCustomCursor(TCursor number, HCURSOR cursor);

private:
    TCursor cursor_ = crDefault;
    std::vector<std::pair<TCursor, HCURSOR>> custom_;
};

TScreen& Screen();

// Shows the busy cursor for its lifetime and then the cursor that was there before.
class TBusyCursor {
public:
    TBusyCursor() : saved_(Screen().Cursor()) { Screen().SetCursor(crHourGlass); }
    ~TBusyCursor() { Screen().SetCursor(saved_); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
    TCursor saved_;
};

// The shift state: shift, ctrl and alt as `keyState` reads them (GetKeyState for
// this thread's input, GetAsyncKeyState for a notice from another process), and
// the mouse buttons of a mouse message's key flags.
TShiftState ShiftState(WPARAM mouseKeys = 0, SHORT(WINAPI* keyState)(int) = &::GetKeyState);

}  // namespace zep
