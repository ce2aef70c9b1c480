#include "toolkit/Controls.h"

#include "toolkit/Forms.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace zep {
namespace {

const char* const kThisProperty = "Zepton.Control";
const char* const kWindowClass = "ZeptonWindow";

void RegisterWindowClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kWindowClass;
    ::RegisterClassExA(&wc);
    registered = true;
}

// One tooltip window serves the hints of every control of the program.
HWND hintWindow = nullptr;

HWND HintWindow() {
    HWND& window = hintWindow;
    if (!window) {
        window = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                   Application().Handle(), nullptr, ::GetModuleHandleA(nullptr), nullptr);
    }
    return window;
}

TOOLINFOA ToolFor(HWND window, UINT_PTR id, bool idIsWindow) {
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.uFlags = TTF_SUBCLASS | (idIsWindow ? TTF_IDISHWND : 0u);
    ti.hwnd = window;
    ti.uId = id;
    return ti;
}

// Registers, moves or removes the hint tool of a control.
void UpdateTool(HWND window, UINT_PTR id, bool idIsWindow, const RECT& rect, const std::string& text, bool show) {
    if (!window) return;
    const bool wanted = show && !text.empty();
    // No tooltip window is made for a control that has never had a hint.
    if (!wanted && !hintWindow) return;
    HWND hints = HintWindow();
    TOOLINFOA ti = ToolFor(window, id, idIsWindow);
    ::SendMessageA(hints, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    if (!wanted) return;
    ti.rect = rect;
    ti.lpszText = const_cast<char*>(text.c_str());
    ::SendMessageA(hints, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace

TShiftState ShiftFromKeys(WPARAM keys) {
    TShiftState shift = 0;
    if (keys & MK_SHIFT) shift |= ssShift;
    if (keys & MK_CONTROL) shift |= ssCtrl;
    if (::GetKeyState(VK_MENU) < 0) shift |= ssAlt;
    if (keys & MK_LBUTTON) shift |= ssLeft;
    if (keys & MK_RBUTTON) shift |= ssRight;
    if (keys & MK_MBUTTON) shift |= ssMiddle;
    return shift;
}

// ---- TControl

TControl::TControl(TComponent* owner, TWinControl* parent) : TComponent(owner), parent_(parent) {}

TControl::~TControl() = default;

void TControl::SetBounds(int left, int top, int width, int height) {
    Invalidate();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Invalidate();
    HintChanged();
}

void TControl::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    Invalidate();
}

void TControl::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Invalidate();
}

void TControl::SetCaption(const std::string& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    CaptionChanged();
}

void TControl::SetHint(const std::string& hint) {
    hint_ = hint;
    HintChanged();
}

void TControl::SetShowHint(bool show) {
    showHint_ = show;
    HintChanged();
}

void TControl::Invalidate() {
    if (parent_ && parent_->Handle()) {
        RECT r = BoundsRect();
        ::InvalidateRect(parent_->Handle(), &r, TRUE);
    }
}

void TControl::HintChanged() {
    if (parent_) UpdateTool(parent_->Handle(), reinterpret_cast<UINT_PTR>(this), false, BoundsRect(), hint_, showHint_);
}

// ---- TGraphicControl

void TGraphicControl::Repaint() {
    Invalidate();
    if (Parent() && Parent()->Handle()) ::UpdateWindow(Parent()->Handle());
}

WindowDC::WindowDC(HWND window) : window(window), dc(::GetDC(window)) {}
WindowDC::~WindowDC() { ::ReleaseDC(window, dc); }

TControlCanvas::TControlCanvas(TGraphicControl& control) : WindowDC(control.Parent()->Handle()), TCanvas(dc) {
    ::SetViewportOrgEx(dc, control.Left(), control.Top(), nullptr);
    ::IntersectClipRect(dc, 0, 0, control.Width(), control.Height());
}


TGraphicControl::TGraphicControl(TComponent* owner, TWinControl* parent) : TControl(owner, parent) {
    if (parent) parent->AddGraphicControl(this);
}

TGraphicControl::~TGraphicControl() {
    if (Parent()) Parent()->RemoveGraphicControl(this);
}

// ---- TWinControl

TWinControl::TWinControl(TComponent* owner, TWinControl* parent) : TControl(owner, parent) {}

TWinControl::~TWinControl() {
    // Owned controls go while this window still exists.
    DestroyComponents();
    if (handle_) ::DestroyWindow(handle_);
}

TWinControl* TWinControl::FromHandle(HWND window) {
    return window ? static_cast<TWinControl*>(::GetPropA(window, kThisProperty)) : nullptr;
}

void TWinControl::CreateHandle(const char* className, DWORD style, DWORD exStyle, HWND parentOverride) {
    ownClass_ = className == nullptr;
    if (ownClass_) {
        RegisterWindowClass();
        className = kWindowClass;
    }
    HWND parentWindow = parentOverride ? parentOverride : (Parent() ? Parent()->Handle() : nullptr);
    if (style & WS_CHILD) style |= WS_CLIPSIBLINGS;
    handle_ = ::CreateWindowExA(exStyle, className, Caption().c_str(), style, Left(), Top(), Width(), Height(),
                                parentWindow, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (!handle_) throw std::runtime_error(std::string("Cannot create window of class ") + className);
    ::SetPropA(handle_, kThisProperty, this);
    classProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticWndProc)));
    ::SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = FromHandle(window);
    if (!control) return ::DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        WNDPROC classProc = control->classProc_;
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(classProc));
        ::RemovePropA(window, kThisProperty);
        control->handle_ = nullptr;
        return ::CallWindowProcA(classProc, window, message, wParam, lParam);
    }
    try {
        return control->WndProc(message, wParam, lParam);
    } catch (...) {
        Application().HandleException();
        return 0;
    }
}

LRESULT TWinControl::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcA(classProc_, handle_, message, wParam, lParam);
}

LRESULT TWinControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    switch (message) {
    case WM_PAINT:
        if (!ownClass_) break;
        {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(handle_, &ps);
            PaintWindow(dc);
            PaintGraphicControls(dc, ps.rcPaint);
            ::EndPaint(handle_, &ps);
        }
        return 0;
    case WM_ERASEBKGND:
        if (!ownClass_) break;
        {
            RECT r;
            ::GetClientRect(handle_, &r);
            HBRUSH brush = ::CreateSolidBrush(ColorToRGB(Color));
            ::FillRect(reinterpret_cast<HDC>(wParam), &r, brush);
            ::DeleteObject(brush);
        }
        return 1;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == handle_ && LOWORD(lParam) == HTCLIENT && SetCursorForClient()) return TRUE;
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSELEAVE:
        if (RouteMouse(message, wParam, lParam)) return 0;
        break;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != handle_) captured_ = nullptr;
        break;
    case WM_CONTEXTMENU:
        if (PopupMenu() && reinterpret_cast<HWND>(wParam) == handle_) {
            POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (pt.x == -1 && pt.y == -1) ::GetCursorPos(&pt);
            PopupMenu()->PopupComponent = this;
            PopupMenu()->Popup(pt.x, pt.y);
            return 0;
        }
        break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
        if (ReflectToChild(message, wParam, lParam, result)) return result;
        break;
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

bool TWinControl::Reflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool TWinControl::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND child = nullptr;
    switch (message) {
    case WM_COMMAND: child = reinterpret_cast<HWND>(lParam); break;
    case WM_NOTIFY: child = reinterpret_cast<NMHDR*>(lParam)->hwndFrom; break;
    case WM_DRAWITEM: child = reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem; break;
    case WM_MEASUREITEM: child = ::GetDlgItem(handle_, static_cast<int>(wParam)); break;
    }
    TWinControl* control = FromHandle(child);
    return control && control != this && control->Reflected(message, wParam, lParam, result);
}

bool TWinControl::SetCursorForClient() {
    TCursor cursor = Screen().Cursor();
    if (cursor == crDefault && hover_) cursor = hover_->Cursor();
    if (cursor == crDefault) cursor = TControl::Cursor();
    if (cursor == crDefault) return false;
    ::SetCursor(Screen().CursorHandle(cursor));
    return true;
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintGraphicControls(HDC dc, const RECT& dirty) {
    for (TGraphicControl* control : graphics_) {
        RECT bounds = control->BoundsRect(), overlap;
        if (!control->Visible() || !::IntersectRect(&overlap, &bounds, &dirty)) continue;
        int saved = ::SaveDC(dc);
        ::SetViewportOrgEx(dc, control->Left(), control->Top(), nullptr);
        ::IntersectClipRect(dc, 0, 0, control->Width(), control->Height());
        {
            TCanvas canvas(dc);
            control->Paint(canvas);
        }
        ::RestoreDC(dc, saved);
    }
}

TGraphicControl* TWinControl::ControlAt(POINT point) const {
    for (auto it = graphics_.rbegin(); it != graphics_.rend(); ++it) {
        RECT r = (*it)->BoundsRect();
        if ((*it)->Visible() && (*it)->Enabled() && ::PtInRect(&r, point)) return *it;
    }
    return nullptr;
}

void TWinControl::RemoveGraphicControl(TGraphicControl* control) {
    std::erase(graphics_, control);
    if (captured_ == control) ReleaseMouse();
    if (hover_ == control) hover_ = nullptr;
}

void TWinControl::SetHover(TGraphicControl* control) {
    if (hover_ == control) return;
    TGraphicControl* left = std::exchange(hover_, control);
    if (left) left->MouseLeave();
    if (control) control->MouseEnter();
}

void TWinControl::ReleaseMouse() {
    captured_ = nullptr;
    if (::GetCapture() == handle_) ::ReleaseCapture();
}

bool TWinControl::RouteMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSELEAVE) {
        trackingLeave_ = false;
        SetHover(nullptr);
        return true;
    }
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    TShiftState shift = ShiftFromKeys(wParam);
    TMouseButton button = TMouseButton::mbLeft;
    if (message == WM_RBUTTONDOWN || message == WM_RBUTTONUP || message == WM_RBUTTONDBLCLK) button = TMouseButton::mbRight;
    if (message == WM_MBUTTONDOWN || message == WM_MBUTTONUP || message == WM_MBUTTONDBLCLK) button = TMouseButton::mbMiddle;

    switch (message) {
    case WM_MOUSEMOVE: {
        if (!trackingLeave_) {
            TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, handle_, 0};
            trackingLeave_ = ::TrackMouseEvent(&tme) != FALSE;
        }
        // The move first, then enter/leave: a control dragged out of sees the
        // move outside while it still counts the pointer as over it.
        TGraphicControl* under = ControlAt(pt);
        TGraphicControl* target = captured_ ? captured_ : under;
        if (target) target->MouseMove(shift, pt.x - target->Left(), pt.y - target->Top());
        SetHover(under);
        return target != nullptr;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
        TGraphicControl* target = ControlAt(pt);
        if (!target) return false;
        captured_ = target;
        ::SetCapture(handle_);
        if (message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK) {
            shift |= ssDouble;
            if (button == TMouseButton::mbLeft) {
                suppressClick_ = true;
                target->DblClick();
            }
        }
        target->MouseDown(button, shift, pt.x - target->Left(), pt.y - target->Top());
        return true;
    }
    default: {  // a button released
        TGraphicControl* target = captured_;
        if (!target) return false;
        RECT bounds = target->BoundsRect();
        std::exception_ptr clickError;
        if (button == TMouseButton::mbLeft) {
            // Click comes before the release handling, and only inside the rectangle.
            if (!suppressClick_ && ::PtInRect(&bounds, pt)) {
                try {
                    target->Click();
                } catch (...) {
                    clickError = std::current_exception();
                }
            }
            suppressClick_ = false;
        }
        if (captured_ == target) target->MouseUp(button, shift, pt.x - target->Left(), pt.y - target->Top());
        if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) ReleaseMouse();
        if (clickError) std::rethrow_exception(clickError);
        return true;
    }
    }
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    TControl::SetBounds(left, top, width, height);
    if (handle_) ::MoveWindow(handle_, left, top, width, height, TRUE);
}

void TWinControl::SetVisible(bool visible) {
    TControl::SetVisible(visible);
    if (handle_) ::ShowWindow(handle_, visible ? SW_SHOW : SW_HIDE);
}

void TWinControl::SetEnabled(bool enabled) {
    TControl::SetEnabled(enabled);
    if (handle_) ::EnableWindow(handle_, enabled);
}

void TWinControl::Invalidate() {
    if (handle_) ::InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::BringToFront() {
    ::SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::CaptionChanged() {
    if (handle_) ::SetWindowTextA(handle_, Caption().c_str());
}

void TWinControl::HintChanged() {
    if (handle_) UpdateTool(handle_, reinterpret_cast<UINT_PTR>(handle_), true, {}, Hint(), ShowHint());
}

// ---- TScreen

TScreen& Screen() {
    static TScreen screen;
    return screen;
}

HCURSOR TScreen::CursorHandle(TCursor cursor) const {
    for (auto& [number, handle] : custom_)
        if (number == cursor) return handle;
    const char* id = IDC_ARROW;
    switch (cursor) {
    case crHourGlass: id = IDC_WAIT; break;
    case crHandPoint: id = IDC_HAND; break;
    default: break;
    }
    return ::LoadCursorA(nullptr, id);
}

void TScreen::SetCustomCursor(TCursor number, HCURSOR cursor) {
    for (auto& entry : custom_)
        if (entry.first == number) {
            entry.second = cursor;
            return;
        }
    custom_.emplace_back(number, cursor);
}

void TScreen::SetCursor(TCursor cursor) {
    cursor_ = cursor;
    if (cursor != crDefault) {
        ::SetCursor(CursorHandle(cursor));
        return;
    }
    // Let the window under the pointer choose its cursor again.
    POINT pt;
    ::GetCursorPos(&pt);
    ::SetCursorPos(pt.x, pt.y);
}

}  // namespace zep
