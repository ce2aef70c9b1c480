#include "toolkit/Controls.h"

#include "toolkit/Forms.h"
#include "toolkit/Scaling.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <utility>

namespace zep {
namespace {

const char* const kWindowClass = "ZeptonWindow";
// The toolkit's own entry in a native control's subclass chain.
constexpr UINT_PTR kSubclassId = 1;
// Control IDs start above the dialog commands (IDOK, IDCANCEL, ...) that
// IsDialogMessage sends by number.
constexpr int kFirstChildId = 100;

// The native control that CreateHandle is making on this thread, until its
// window exists.
TWinControl* creating = nullptr;

ATOM RegisterWindowClass(WNDPROC procedure) {
    static const ATOM atom = [procedure] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = procedure;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = kWindowClass;
        return ::RegisterClassExA(&wc);
    }();
    if (!atom) throw std::runtime_error("Cannot register the window class");
    return atom;
}

ATOM ownClassAtom = 0;

// A windows hook on this thread for its own lifetime.
class ThreadHook {
public:
    ThreadHook(int type, HOOKPROC procedure)
        : hook_(::SetWindowsHookExA(type, procedure, nullptr, ::GetCurrentThreadId())) {
        if (!hook_) throw std::runtime_error("Cannot hook the creation of a window");
    }
    ~ThreadHook() { ::UnhookWindowsHookEx(hook_); }
    ThreadHook(const ThreadHook&) = delete;
    ThreadHook& operator=(const ThreadHook&) = delete;

private:
    HHOOK hook_;
};

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

// A control that goes takes its hint with it.
void RemoveTool(HWND window, UINT_PTR id, bool idIsWindow) { UpdateTool(window, id, idIsWindow, {}, {}, false); }

}  // namespace

TShiftState ShiftState(WPARAM mouseKeys, SHORT(WINAPI* keyState)(int)) {
    TShiftState shift = 0;
    if (keyState(VK_SHIFT) < 0) shift |= ssShift;
    if (keyState(VK_CONTROL) < 0) shift |= ssCtrl;
    if (keyState(VK_MENU) < 0) shift |= ssAlt;
    if (mouseKeys & MK_LBUTTON) shift |= ssLeft;
    if (mouseKeys & MK_RBUTTON) shift |= ssRight;
    if (mouseKeys & MK_MBUTTON) shift |= ssMiddle;
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

void TControl::StoreBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

void TControl::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    Invalidate();
    HintChanged();
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
    if (parent_ && parent_->HandleAllocated()) {
        RECT r = BoundsRect();
        ::InvalidateRect(parent_->Handle(), &r, TRUE);
    }
}

void TControl::ScaleToScreen() {
    SetBounds(Scaled(left_), Scaled(top_), Scaled(width_), Scaled(height_));
    font_.SetHeight(Scaled(font_.Height()));
}

void TControl::HintChanged() {
    if (parent_ && parent_->HandleAllocated())
        UpdateTool(parent_->Handle(), reinterpret_cast<UINT_PTR>(this), false, BoundsRect(), hint_,
                   showHint_ && visible_);
}

// ---- TGraphicControl

void TGraphicControl::Repaint() {
    Invalidate();
    if (Parent() && Parent()->HandleAllocated()) ::UpdateWindow(Parent()->Handle());
}

TAccessibleElement TGraphicControl::Accessible() {
    TAccessibleElement element;
    element.name = Caption();
    element.description = Hint();
    element.bounds = BoundsRect();
    element.visible = Visible();
    element.enabled = Enabled();
    return element;
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
    if (!Parent()) return;
    if (Parent()->HandleAllocated()) RemoveTool(Parent()->Handle(), reinterpret_cast<UINT_PTR>(this), false);
    Parent()->RemoveGraphicControl(this);
}

// ---- TWinControl

TWinControl::TWinControl(TComponent* owner, TWinControl* parent)
    : TControl(owner, parent), nextChildId_(kFirstChildId) {}

TWinControl::~TWinControl() {
    // Owned controls go while this window still exists.
    DestroyComponents();
    if (HandleAllocated()) {
        RemoveTool(*window_, reinterpret_cast<UINT_PTR>(*window_), true);
        ::DestroyWindow(*window_);
    }
    if (id_) std::erase(Parent()->children_, this);
}

HWND TWinControl::Handle() const {
    // The window stands for the control's state: making it changes nothing the caller sees.
    const_cast<TWinControl*>(this)->HandleNeeded();
    return *window_;
}

void TWinControl::HandleNeeded() {
    if (window_) return;
    if (Parent()) Parent()->HandleNeeded();  // which makes this window too when this control is complete
    if (!window_) CreateHandle();
}

void TWinControl::AfterConstruction() {
    TControl::AfterConstruction();
    if (!Parent()) return;
    id_ = Parent()->nextChildId_++;
    Parent()->children_.push_back(this);
    if (Parent()->HandleAllocated()) HandleNeeded();
}

TWinControl* TWinControl::FromHandle(HWND window) {
    if (!window) return nullptr;
    if (ownClassAtom && ::GetClassWord(window, GCW_ATOM) == ownClassAtom)
        return reinterpret_cast<TWinControl*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    // A native control is among its parent's children.
    const TWinControl* parent = FromHandle(::GetAncestor(window, GA_PARENT));
    if (!parent) return nullptr;
    for (TWinControl* child : parent->children_)
        if (child->window_ == window) return child;
    return nullptr;
}

std::vector<TAccessibleElement> TWinControl::AccessibleElements() {
    std::vector<TAccessibleElement> elements;
    for (TGraphicControl* control : graphics_) elements.push_back(control->Accessible());
    return elements;
}

TWinControl* TWinControl::ChildWithId(int id) const {
    for (TWinControl* child : children_)
        if (child->id_ == id) return child;
    return nullptr;
}

void TWinControl::SetWindowClass(const char* className, DWORD style, DWORD exStyle, HWND owner) {
    className_ = className;
    style_ = style;
    exStyle_ = exStyle;
    owner_ = owner;
}

void TWinControl::CreateHandle() {
    const char* className = className_;
    ownClass_ = className == nullptr;
    if (ownClass_) {
        ownClassAtom = RegisterWindowClass(&StaticWndProc);
        className = kWindowClass;
    }
    HWND parentWindow = owner_ ? owner_ : (Parent() ? Parent()->Handle() : nullptr);
    DWORD style = style_;
    HMENU id = nullptr;
    if (style & WS_CHILD) {
        style = (style & ~(WS_VISIBLE | WS_DISABLED)) | WS_CLIPSIBLINGS | (Visible() ? WS_VISIBLE : 0) |
                (Enabled() ? 0 : WS_DISABLED);
        id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_));
    }
    HWND window;
    {
        // A native control is subclassed the moment it exists, before its first message.
        std::optional<ThreadHook> hook;
        if (!ownClass_) {
            hook.emplace(WH_CBT, &CreationHook);
            creating = this;
        }
        window = ::CreateWindowExA(exStyle_, className, Caption().c_str(), style, Left(), Top(), Width(), Height(),
                                   parentWindow, id, ::GetModuleHandleA(nullptr), this);
        creating = nullptr;
    }
    if (!window || window_ != window) {
        if (window) ::DestroyWindow(window);
        window_.reset();  // the next need tries again
        throw std::runtime_error(std::string("Cannot create window of class ") + className);
    }
    ::SendMessageA(*window_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
    WindowCreated();
    HintChanged();
    for (TGraphicControl* control : graphics_) control->HintChanged();
    for (std::size_t i = 0; i < children_.size(); ++i) children_[i]->HandleNeeded();
    ForEachComponent([](TComponent& component) { component.OwnerWindowCreated(); });
}

LRESULT CALLBACK TWinControl::CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && creating &&
        reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->lpCreateParams == creating)
        std::exchange(creating, nullptr)->Bind(reinterpret_cast<HWND>(wParam));
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// A native control that cannot be subclassed stays unbound, and CreateHandle fails.
void TWinControl::Bind(HWND window) {
    if (ownClass_)
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    else if (!::SetWindowSubclass(window, &SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return;
    window_ = window;
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams)->Bind(window);
    // A few messages (WM_GETMINMAXINFO) come before WM_NCCREATE.
    auto* control = reinterpret_cast<TWinControl*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    return control ? control->Dispatch(message, wParam, lParam) : ::DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK TWinControl::SubclassProc(HWND, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self) {
    return reinterpret_cast<TWinControl*>(self)->Dispatch(message, wParam, lParam);
}

LRESULT TWinControl::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        // The last message: the window lets go of this object, and only of it.
        const LRESULT result = DefaultProc(message, wParam, lParam);
        if (ownClass_)
            ::SetWindowLongPtrA(*window_, GWLP_USERDATA, 0);
        else
            ::RemoveWindowSubclass(*window_, &SubclassProc, kSubclassId);
        window_ = nullptr;  // gone for good
        return result;
    }
    return Guarded([&] { return WndProc(message, wParam, lParam); });
}

LRESULT TWinControl::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ownClass_ ? ::DefWindowProcA(*window_, message, wParam, lParam)
                     : ::DefSubclassProc(*window_, message, wParam, lParam);
}

LRESULT TWinControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    switch (message) {
    case WM_PAINT:
        if (!ownClass_) break;
        {
            PaintDC paint(*window_);
            PaintWindow(paint.Handle());
            PaintGraphicControls(paint.Handle(), paint.Dirty());
        }
        return 0;
    case WM_ERASEBKGND:
        if (!ownClass_) break;
        {
            RECT r;
            ::GetClientRect(*window_, &r);
            ::FillRect(reinterpret_cast<HDC>(wParam), &r, SolidBrush(Color));
        }
        return 1;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == *window_ && LOWORD(lParam) == HTCLIENT && SetCursorForClient()) return TRUE;
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
        if (reinterpret_cast<HWND>(lParam) != *window_) EndPressOutside();
        break;
    case WM_WINDOWPOSCHANGED: {
        // The bounds stay the object's to tell, wherever the window went.
        const auto& pos = *reinterpret_cast<const WINDOWPOS*>(lParam);
        const bool moved = !(pos.flags & SWP_NOMOVE), sized = !(pos.flags & SWP_NOSIZE);
        StoreBounds(moved ? pos.x : Left(), moved ? pos.y : Top(), sized ? pos.cx : Width(), sized ? pos.cy : Height());
        break;
    }
    case WM_CONTEXTMENU:
        if (PopupMenu() && PopupMenu()->AutoPopup && reinterpret_cast<HWND>(wParam) == *window_) {
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
    case WM_GETOBJECT:
        if (DrawsOwnParts() && AnswerGetObject(*window_, wParam, lParam, result)) return result;
        break;
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

bool TWinControl::Reflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool TWinControl::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    TWinControl* control = nullptr;
    switch (message) {
    case WM_COMMAND: control = FromHandle(reinterpret_cast<HWND>(lParam)); break;
    case WM_NOTIFY: control = FromHandle(reinterpret_cast<NMHDR*>(lParam)->hwndFrom); break;
    case WM_DRAWITEM: control = FromHandle(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem); break;
    // Comes while the child is being made, before its parent can know its window.
    case WM_MEASUREITEM: control = ChildWithId(static_cast<int>(wParam)); break;
    }
    return control && control != this && control->Reflected(message, wParam, lParam, result);
}

bool TWinControl::SetCursorForClient() {
    TCursor cursor = Screen().Cursor();
    if (cursor == crDefault && hover_ && hover_->Enabled()) cursor = hover_->Cursor();
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
        SavedDC saved(dc);
        ::SetViewportOrgEx(dc, control->Left(), control->Top(), nullptr);
        ::IntersectClipRect(dc, 0, 0, control->Width(), control->Height());
        TCanvas canvas(dc);
        control->Paint(canvas);
    }
}

TGraphicControl* TWinControl::ControlAt(POINT point, bool allowDisabled) const {
    for (auto it = graphics_.rbegin(); it != graphics_.rend(); ++it) {
        RECT r = (*it)->BoundsRect();
        if ((*it)->Visible() && ((*it)->Enabled() || allowDisabled) && ::PtInRect(&r, point)) return *it;
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

// Another window took the mouse (a message box, a modal window): the press ends
// as a release outside the pressed control would end it, dragged out first.
void TWinControl::EndPressOutside() {
    suppressClick_ = false;
    TGraphicControl* pressed = std::exchange(captured_, nullptr);
    if (!pressed) return;
    const int outside = -1;
    pressed->MouseMove(0, outside, outside);
    pressed->MouseUp(pressedButton_, 0, outside, outside);
}

void TWinControl::ReleaseMouse() {
    captured_ = nullptr;
    if (::GetCapture() == *window_) ::ReleaseCapture();
}

bool TWinControl::RouteMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSELEAVE) {
        trackingLeave_ = false;
        SetHover(nullptr);
        return true;
    }
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    TShiftState shift = ShiftState(wParam);
    TMouseButton button = TMouseButton::mbLeft;
    if (message == WM_RBUTTONDOWN || message == WM_RBUTTONUP || message == WM_RBUTTONDBLCLK) button = TMouseButton::mbRight;
    if (message == WM_MBUTTONDOWN || message == WM_MBUTTONUP || message == WM_MBUTTONDBLCLK) button = TMouseButton::mbMiddle;

    switch (message) {
    case WM_MOUSEMOVE: {
        if (!trackingLeave_) {
            TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, *window_, 0};
            trackingLeave_ = ::TrackMouseEvent(&tme) != FALSE;
        }
        // The move first, then enter/leave: a control dragged out of sees the
        // move outside while it still counts the pointer as over it.
        TGraphicControl* under = ControlAt(pt);
        TGraphicControl* target = captured_ ? captured_ : under;
        if (target) target->MouseMove(shift, pt.x - target->Left(), pt.y - target->Top());
        SetHover(ControlAt(pt, true));
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
        pressedButton_ = button;
        ::SetCapture(*window_);
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
    if (HandleAllocated()) ::MoveWindow(*window_, left, top, width, height, TRUE);
}

void TWinControl::SetVisible(bool visible) {
    TControl::SetVisible(visible);
    if (HandleAllocated()) ::ShowWindow(*window_, visible ? SW_SHOW : SW_HIDE);
}

void TWinControl::SetEnabled(bool enabled) {
    TControl::SetEnabled(enabled);
    if (HandleAllocated()) ::EnableWindow(*window_, enabled);
}

void TWinControl::Invalidate() {
    if (HandleAllocated()) ::InvalidateRect(*window_, nullptr, TRUE);
}

void TWinControl::ScaleToScreen() {
    TControl::ScaleToScreen();
    if (HandleAllocated()) ::SendMessageA(*window_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
}

void TWinControl::BringToFront() {
    if (!HandleAllocated() && Parent()) {
        // A window made later is made first among its siblings, which puts it above them.
        auto& siblings = Parent()->children_;
        const auto self = std::find(siblings.begin(), siblings.end(), this);
        if (self != siblings.end()) std::rotate(siblings.begin(), self, self + 1);
        return;
    }
    ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::CaptionChanged() {
    if (HandleAllocated()) ::SetWindowTextA(*window_, Caption().c_str());
}

void TWinControl::HintChanged() {
    if (HandleAllocated()) UpdateTool(*window_, reinterpret_cast<UINT_PTR>(*window_), true, {}, Hint(), ShowHint() && Visible());
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
