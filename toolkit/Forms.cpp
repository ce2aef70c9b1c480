#include "toolkit/Forms.h"

#include "toolkit/Scaling.h"
#include "win/AtScopeEnd.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace zep {
namespace {

const char* const kAppClass = "ZeptonApplication";
// Posted to the application window: show the error report that waits. It wakes
// the loop too, should the error have come with a message sent from elsewhere.
constexpr UINT kShowErrorReport = WM_APP + 1;
// Posted to the application window: run the tasks that wait for the modal forms and boxes to close.
constexpr UINT kRunWaitingTasks = WM_APP + 2;

TForm* FormOf(HWND window) {
    HWND root = window ? ::GetAncestor(window, GA_ROOT) : nullptr;
    return dynamic_cast<TForm*>(TWinControl::FromHandle(root));
}

DWORD FormStyle(const TForm::Options& o) {
    DWORD style = WS_CAPTION | WS_CLIPCHILDREN;
    if (o.borderStyle == TBorderStyle::bsDialog) return style | WS_POPUP | DS_MODALFRAME;
    style |= WS_OVERLAPPED | WS_BORDER;
    if (o.borderIcons & biSystemMenu) style |= WS_SYSMENU;
    if (o.borderIcons & biMinimize) style |= WS_MINIMIZEBOX;
    return style;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> ChildWindows(HWND parent) {
    std::vector<HWND> windows;
    ::EnumChildWindows(parent, &CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> ThreadWindows() {
    std::vector<HWND> windows;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

DWORD FormExStyle(const TForm::Options& o) {
    return o.borderStyle == TBorderStyle::bsDialog ? WS_EX_DLGMODALFRAME : 0;
}

}  // namespace

std::string ErrorReportText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
    return message;
}

// ---- TForm

TForm::TForm(TComponent* owner, const Options& options)
    : TWinControl(owner, nullptr), position_(options.position) {
    SetCaption(options.caption);
    const DWORD style = FormStyle(options), exStyle = FormExStyle(options);
    RECT r{0, 0, 0, 0};
    ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
    frame_ = {r.right - r.left, r.bottom - r.top};
    TControl::SetBounds(options.left, options.top, options.clientWidth + frame_.cx, options.clientHeight + frame_.cy);
    SetWindowClass(nullptr, style, exStyle, Application().Handle());
}

void TForm::WindowCreated() {
    if (HICON icon = Application().SmallIcon())
        ::SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    // The window may have got another frame than foretold: the client area is the one its bounds were made for.
    SetClientSize(Width() - frame_.cx, Height() - frame_.cy);
}

void TForm::SetClientSize(int width, int height) {
    const SIZE now = ClientSize();
    const int dw = width - now.cx, dh = height - now.cy;
    if (dw || dh) TWinControl::SetBounds(Left(), Top(), Width() + dw, Height() + dh);
}

SIZE TForm::ClientSize() const {
    if (!HandleAllocated()) return {Width() - frame_.cx, Height() - frame_.cy};
    RECT r;
    ::GetClientRect(Handle(), &r);
    return {r.right, r.bottom};
}

void TForm::ScaleToScreen() {
    SetClientSize(Scaled(ClientWidth()), Scaled(ClientHeight()));
    const RECT r = WindowRect();
    if (position_ == TPosition::poDesigned) SetPosition(Scaled(r.left), Scaled(r.top));
    Font().SetHeight(Scaled(Font().Height()));
}

void TForm::Created() {
    LoadComponents();
    if (ScreenDpi() != 96) {
        ScaleToScreen();
        ForEachComponent([](TComponent& c) {
            if (auto* control = dynamic_cast<TControl*>(&c)) control->ScaleToScreen();
        });
    }
    Loaded();
    try {
        Fire(OnCreate, this);
    } catch (...) {
        Application().HandleException();
    }
}

RECT TForm::WindowRect() const { return BoundsRect(); }

void TForm::SetPosition(int left, int top) { TWinControl::SetBounds(left, top, Width(), Height()); }

void TForm::Show() {
    if (position_ == TPosition::poScreenCenter) {
        RECT r = WindowRect();
        const int w = r.right - r.left, h = r.bottom - r.top;
        SetPosition((::GetSystemMetrics(SM_CXSCREEN) - w) / 2, (::GetSystemMetrics(SM_CYSCREEN) - h) / 2);
    }
    HWND app = Application().Handle();
    if (app && !::IsWindowVisible(app)) ::ShowWindow(app, SW_SHOWNOACTIVATE);
    ::ShowWindow(Handle(), SW_SHOW);
    ::SetForegroundWindow(Handle());
    Fire(OnShow, this);
}

// A window not made yet is hidden, and stays unmade.
void TForm::Hide() {
    if (HandleAllocated()) ::ShowWindow(Handle(), SW_HIDE);
}

bool TForm::IsShowing() const { return HandleAllocated() && ::IsWindowVisible(Handle()); }

bool TForm::IsMinimized() const { return HandleAllocated() && ::IsIconic(Handle()); }

void TForm::SetNormal() { ::ShowWindow(Handle(), SW_RESTORE); }

void TForm::ShowModal() {
    const TApplication::ModalScope modal;
    const std::vector<HWND> disabled = Application().DisableTaskWindows(Handle());
    modal_ = true;
    const AtScopeEnd end([&] {
        modal_ = false;
        TApplication::EnableTaskWindows(disabled);
        Hide();
    });
    Show();
    while (modal_ && !Application().Terminated() && Application().HandleNextMessage(true)) {
    }
}

void TForm::Close() {
    bool canClose = true;
    Fire(OnCloseQuery, this, canClose);
    if (!canClose) return;
    const bool isMain = Application().IsMainForm(*this);
    TCloseAction action = isMain ? TCloseAction::caFree : TCloseAction::caHide;
    Fire(OnClose, this, action);
    if (action == TCloseAction::caNone) return;
    modal_ = false;
    if (isMain)
        Application().Terminate();
    else
        Hide();
}

bool TForm::OfferDialogChar(TWinControl& host, char key) {
    for (TGraphicControl* control : host.GraphicControls())
        if (control->Visible() && control->DialogChar(key)) return true;
    return false;
}

bool TForm::DialogChar(char key) {
    if (OfferDialogChar(*this, key)) return true;
    for (HWND child : ChildWindows(Handle()))
        if (TWinControl* host = TWinControl::FromHandle(child); host && OfferDialogChar(*host, key)) return true;
    return false;
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_ACTIVATE:
        // As in a dialog, the keyboard goes back to the control that had it,
        // else to the first that takes it, never to the bare window.
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (HWND focus = ::GetFocus(); ::IsChild(Handle(), focus)) focused_ = focus;
        } else if (!IsMinimized()) {
            const bool back =
                ::IsChild(Handle(), focused_) && ::IsWindowVisible(focused_) && ::IsWindowEnabled(focused_);
            if (HWND control = back ? focused_ : ::GetNextDlgTabItem(Handle(), nullptr, FALSE)) {
                ::SetFocus(control);
                // Its focus rectangle shows once the keyboard is used, unless the window came by the keyboard.
                ::SendMessageA(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
                return 0;
            }
        }
        break;
    case WM_SETTINGCHANGE:
        // High contrast came or went: what the program draws itself takes the new colours.
        if (wParam == SPI_SETHIGHCONTRAST)
            ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        break;
    case WM_SYSCOMMAND:
        // The main form minimises the whole program, taskbar button included.
        if ((wParam & 0xFFF0) == SC_MINIMIZE && Application().IsMainForm(*this)) {
            Application().Minimize();
            return 0;
        }
        break;
    default:
        break;
    }
    return TWinControl::WndProc(message, wParam, lParam);
}

// ---- TApplication

TApplication& Application() {
    static TApplication application;
    return application;
}

void TApplication::Initialize() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    ::InitCommonControlsEx(&icc);
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &AppWndProc;
    wc.hInstance = instance;
    wc.hIcon = icon_;
    wc.hIconSm = SmallIcon();
    wc.lpszClassName = kAppClass;
    ::RegisterClassExA(&wc);
    // A window of no size: invisible itself, it carries the taskbar button and owns the forms.
    handle_ = ::CreateWindowExA(0, kAppClass, title_.c_str(),
                                WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                ::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                                nullptr, nullptr, instance, nullptr);
}

void TApplication::Adopt(std::unique_ptr<TForm> form) {
    if (mainForm_ || mainFormInCreation_) {
        form->Created();
    } else {
        mainFormInCreation_ = form.get();
        const AtScopeEnd made([this] { mainFormInCreation_ = nullptr; });
        form->Created();
        mainForm_ = form.get();
    }
    forms_.push_back(std::move(form));
}

void TApplication::SetIcon(HICON icon, HICON smallIcon) {
    icon_ = icon;
    smallIcon_ = smallIcon;
    if (!handle_) return;
    ::SendMessageA(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageA(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(SmallIcon()));
}

void TApplication::SetTitle(const std::string& title) {
    title_ = title;
    if (handle_) ::SetWindowTextA(handle_, title.c_str());
}

LRESULT CALLBACK TApplication::AppWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&]() -> LRESULT {
        TApplication& app = Application();
        switch (message) {
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
            case SC_MINIMIZE: app.Minimize(); return 0;
            case SC_RESTORE: app.Restore(); return 0;
            case SC_CLOSE:
                if (app.mainForm_) app.mainForm_->Close();
                return 0;
            }
            break;
        case WM_CLOSE:
            if (app.mainForm_) app.mainForm_->Close();
            return 0;
        case WM_ENDSESSION:
            // This window's, for it is there from the start: a main form never shown has none.
            if (wParam && app.mainForm_) app.EndWithSession();
            return 0;
        case kShowErrorReport:
            app.ShowPendingReport();
            return 0;
        case kRunWaitingTasks:
            app.RunWaitingTasks();
            return 0;
        case WM_SETFOCUS:
            // Activating the taskbar button activates the form the user worked in last.
            if (HWND form = app.FormToActivate()) ::SetFocus(form);
            return 0;
        default:
            break;
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    });
}

void TApplication::Terminate() {
    if (ending_ == Ending::no) ending_ = Ending::asked;
    // Wakes a loop waiting for a message: a message sent from elsewhere may have asked for the end.
    ::PostMessageA(handle_, WM_NULL, 0, 0);
}

void TApplication::EndWithSession() {
    ending_ = Ending::withSession;
    if (!pendingReport_.empty()) Fire(OnQuietReport, std::exchange(pendingReport_, {}));
    // The main form closes first, and stores what a close stores.
    mainForm_->Close();
}

bool TApplication::PreTranslate(MSG& msg) {
    TForm* form = FormOf(msg.hwnd);
    if (!form) return false;
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (form->Keys.KeyDown(msg, ShiftState())) return true;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (form->OnKeyUp && (form->KeyPreview || msg.hwnd == form->Handle())) {
            WORD key = static_cast<WORD>(msg.wParam);
            form->OnKeyUp(form, key, ShiftState());
            if (key == 0) return true;
        }
        break;
    case WM_SYSCHAR:
        if (form->DialogChar(static_cast<char>(msg.wParam))) return true;
        break;
    case WM_CHAR:
        if (!(::SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) & DLGC_WANTCHARS) &&
            form->DialogChar(static_cast<char>(msg.wParam)))
            return true;
        break;
    default:
        break;
    }
    return ::IsDialogMessageA(form->Handle(), &msg) != FALSE;
}

void TApplication::HandleMessage(MSG& msg) {
    // A message whose translation failed counts as handled.
    if (Guarded([&]() -> LRESULT { return PreTranslate(msg); }, TRUE)) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
}

bool TApplication::HandleNextMessage(bool wait) {
    MSG msg;
    // A waited-for object's handler counts as the work done: the caller's loop
    // looks at its condition again (a modal form it closed, an end it asked for).
    if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return WaitForWork(wait ? INFINITE : 0);
    if (msg.message == WM_QUIT) {
        Terminate();
        return false;
    }
    HandleMessage(msg);
    return true;
}

bool TApplication::WaitForWork(DWORD ms) {
    std::vector<HANDLE> handles;
    for (const THandleWait* w : handleWaits_) handles.push_back(w->handle_);
    const auto count = static_cast<DWORD>(handles.size());
    const DWORD woken = ::MsgWaitForMultipleObjectsEx(count, handles.data(), ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woken - WAIT_OBJECT_0 < count) {
        // The handler may end its own wait, or another's.
        const std::function<void()> onSignalled = handleWaits_[woken - WAIT_OBJECT_0]->onSignalled_;
        Guarded([&]() -> LRESULT {
            onSignalled();
            return 0;
        });
    }
    if (woken == WAIT_FAILED) Terminate();
    return woken - WAIT_OBJECT_0 <= count;
}

TApplication::THandleWait::THandleWait(HANDLE handle, std::function<void()> onSignalled)
    : handle_(handle), onSignalled_(std::move(onSignalled)) {
    Application().handleWaits_.push_back(this);
}

TApplication::THandleWait::~THandleWait() { std::erase(Application().handleWaits_, this); }

void TApplication::Run() {
    if (ShowMainForm && mainForm_ && !Terminated()) mainForm_->Show();
    while (!Terminated() && HandleNextMessage(true)) {
    }
    // An error that came with the end is still told.
    ShowPendingReport();
}

void TApplication::ProcessMessages() {
    while (HandleNextMessage(false)) {
    }
}

void TApplication::Minimize() { ::ShowWindow(handle_, SW_MINIMIZE); }

void TApplication::Restore() {
    if (::IsIconic(handle_)) ::ShowWindow(handle_, SW_RESTORE);
    if (HWND form = FormToActivate()) ::SetActiveWindow(form);
}

HWND TApplication::FormToActivate() const {
    HWND popup = ::GetLastActivePopup(handle_);
    // A program started hidden has had no active form yet: its main form then, once it has a window.
    if (popup == handle_ && mainForm_ && mainForm_->HandleAllocated()) popup = mainForm_->Handle();
    return popup != handle_ && ::IsWindowVisible(popup) && ::IsWindowEnabled(popup) ? popup : nullptr;
}

void TApplication::HandleException() {
    try {
        try {
            throw;
        } catch (const std::exception& e) {
            ShowException(e.what());
        } catch (...) {
            ShowException("Unknown error");
        }
    } catch (...) {
        // The report itself failed (out of memory): nothing more can be shown.
    }
}

void TApplication::ShowException(const std::string& message) {
    const std::string text = ErrorReportText(message);
    ::OutputDebugStringA((title_ + ": " + text + "\n").c_str());
    if (ending_ == Ending::withSession) {
        Fire(OnQuietReport, text);
        return;
    }
    if (reporting_ || !pendingReport_.empty()) return;
    pendingReport_ = text;
    if (procedureDepth_ == 0 || !::PostMessageA(handle_, kShowErrorReport, 0, 0)) ShowPendingReport();
}

void TApplication::ShowPendingReport() {
    if (reporting_ || pendingReport_.empty()) return;
    const std::string text = std::exchange(pendingReport_, {});
    reporting_ = true;
    const AtScopeEnd reported([this] { reporting_ = false; });
    MessageBox(text, title_, MB_OK | MB_ICONERROR);
}

TApplication::ModalScope::ModalScope() { ++Application().modalLevel_; }

TApplication::ModalScope::~ModalScope() {
    TApplication& app = Application();
    if (--app.modalLevel_ == 0 && !app.waitingTasks_.empty()) ::PostMessageA(app.handle_, kRunWaitingTasks, 0, 0);
}

void TApplication::WhenNotModal(std::function<void()> task) {
    waitingTasks_.push_back(std::move(task));
    if (!Modal()) ::PostMessageA(handle_, kRunWaitingTasks, 0, 0);
}

void TApplication::RunWaitingTasks() {
    // A task may open a modal box itself, or end the program: those after it wait, or are dropped.
    while (!Modal() && !Terminated() && !waitingTasks_.empty()) {
        const std::function<void()> task = std::move(waitingTasks_.front());
        waitingTasks_.erase(waitingTasks_.begin());
        Guarded([&task]() -> LRESULT {
            task();
            return 0;
        });
    }
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
    const ModalScope modal;
    std::vector<HWND> disabled = DisableTaskWindows(nullptr);
    const int answer = ::MessageBoxA(handle_, text.c_str(), caption.c_str(), flags);
    EnableTaskWindows(disabled);
    return answer;
}

std::vector<HWND> TApplication::DisableTaskWindows(HWND except) {
    std::vector<HWND> disabled;
    for (HWND window : ThreadWindows())
        if (window != except && ::IsWindowVisible(window) && ::IsWindowEnabled(window) &&
            TWinControl::FromHandle(window)) {
            ::EnableWindow(window, FALSE);
            disabled.push_back(window);
        }
    return disabled;
}

void TApplication::EnableTaskWindows(const std::vector<HWND>& windows) {
    for (HWND window : windows)
        if (::IsWindow(window)) ::EnableWindow(window, TRUE);
}

void TApplication::DestroyForms() {
    while (!forms_.empty()) forms_.pop_back();
    mainForm_ = nullptr;
}

}  // namespace zep
