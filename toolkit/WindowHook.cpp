#include "toolkit/WindowHook.h"

#include "toolkit/Forms.h"
#include "win/Library.h"

#include <commctrl.h>

#include <stdexcept>

namespace zep {
namespace {

const char* const kMessageWindowClass = "ZeptonMessageWindow";

// The handler's answer; an error is reported and the message counts as not handled.
bool Handled(const TMessageHandler& handler, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return Guarded([&]() -> LRESULT { return handler && handler(message, wParam, lParam, result); }, FALSE) != FALSE;
}

void RegisterMessageWindowClass(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = procedure;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = kMessageWindowClass;
        return ::RegisterClassExA(&wc) != 0;
    }();
    if (!registered) throw std::runtime_error("Cannot register the message window class");
}

}  // namespace

BOOL(WINAPI* ChangeMessageFilter)(HWND, UINT, DWORD, PCHANGEFILTERSTRUCT) =
    EntryOf<decltype(&::ChangeWindowMessageFilterEx)>(::GetModuleHandleA("user32.dll"), "ChangeWindowMessageFilterEx");

void LetThroughFromLessPrivileged(HWND window, UINT message) {
    if (ChangeMessageFilter && message != 0) ChangeMessageFilter(window, message, MSGFLT_ALLOW, nullptr);
}

// ---- TWindowHook

TWindowHook::TWindowHook(HWND window, TMessageHandler handler) : window_(window), handler_(std::move(handler)) {
    // The object's address tells this hook from every other one on the window.
    if (!window_ || !::SetWindowSubclass(window_, &HookProc, reinterpret_cast<UINT_PTR>(this),
                                         reinterpret_cast<DWORD_PTR>(this)))
        throw std::runtime_error("Cannot hook the window");
}

TWindowHook::~TWindowHook() { Unhook(); }

void TWindowHook::Unhook() {
    if (window_) ::RemoveWindowSubclass(window_, &HookProc, reinterpret_cast<UINT_PTR>(this));
    window_ = nullptr;
}

LRESULT CALLBACK TWindowHook::HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR self) {
    auto& hook = *reinterpret_cast<TWindowHook*>(self);
    if (message == WM_NCDESTROY) {
        // The window goes first: the hook lets go of it while it still can.
        hook.Unhook();
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
    LRESULT result = 0;
    if (Handled(hook.handler_, message, wParam, lParam, result)) return result;
    return ::DefSubclassProc(window, message, wParam, lParam);
}

// ---- TMessageWindow

TMessageWindow::TMessageWindow(TMessageHandler handler) : handler_(std::move(handler)) {
    RegisterMessageWindowClass(&WindowProc);
    // Bound to this object from its first message on.
    handle_ = ::CreateWindowExA(0, kMessageWindowClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                ::GetModuleHandleA(nullptr), this);
    if (!handle_) throw std::runtime_error("Cannot create a message window");
}

TMessageWindow::~TMessageWindow() {
    destroying_ = true;
    if (handle_) ::DestroyWindow(handle_);
}

LRESULT CALLBACK TMessageWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<TMessageWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TMessageWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return ::DefWindowProcA(window, message, wParam, lParam);
    // Only the window's own end lets go of it: a WM_NCDESTROY sent by anyone else destroys nothing.
    if (message == WM_NCDESTROY && self->destroying_) {
        ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->handle_ = nullptr;
    }
    LRESULT result = 0;
    if (Handled(self->handler_, message, wParam, lParam, result)) return result;
    return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace zep
