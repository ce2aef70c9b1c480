#include "controls/CoolTrayIcon.h"

#include "toolkit/Forms.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace zep {

TCoolTrayIcon::TShellNotifyIcon TCoolTrayIcon::ShellNotifyIcon = &::Shell_NotifyIconA;

// The hidden window every tray icon names in its record, and the icons alive:
// the shell's notifications are routed to the icon whose identifier they carry.
class TTrayIconHandler {
public:
    TTrayIconHandler()
        : TrayWindow([this](UINT m, WPARAM w, LPARAM l, LRESULT& r) { return TrayWindowProc(m, w, l, r); }) {}

    std::vector<TCoolTrayIcon*> Icons;  // their number is the count of tray icons alive
    TMessageWindow TrayWindow;

    // An identifier no live icon has; 0 is never given.
    UINT FreeId() {
        do ++lastId_;
        while (lastId_ == 0 || std::any_of(Icons.begin(), Icons.end(), [this](auto* i) { return i->TrayId() == lastId_; }));
        return lastId_;
    }

private:
    bool TrayWindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        switch (message) {
        case TrayCallbackMessage: {
            const auto found = std::find_if(Icons.begin(), Icons.end(),
                                            [wParam](auto* i) { return i->TrayId() == wParam; });
            if (found != Icons.end()) (*found)->HandleTrayMessage(lParam);
            result = 0;
            return true;
        }
        // Nobody closes or ends this window but its last icon.
        case WM_DESTROY:
        case WM_CLOSE:
        case WM_QUERYENDSESSION:
        case WM_QUIT:
        case WM_ENDSESSION:
        case WM_NCDESTROY:
            result = 1;
            return true;
        default:
            return false;
        }
    }

    UINT lastId_ = 0;
};

namespace {

std::unique_ptr<TTrayIconHandler> SharedTrayHandler;

constexpr TMouseButton mbLeft = TMouseButton::mbLeft, mbRight = TMouseButton::mbRight,
                       mbMiddle = TMouseButton::mbMiddle;

TShiftState KeyboardShiftState() {
    TShiftState shift = 0;
    if (::GetAsyncKeyState(VK_SHIFT) < 0) shift |= ssShift;
    if (::GetAsyncKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
    if (::GetAsyncKeyState(VK_MENU) < 0) shift |= ssAlt;
    return shift;
}

// Where the cursor is; the screen's corner when the system cannot tell.
POINT CursorPos() {
    POINT pos{};
    if (!::GetCursorPos(&pos)) pos = {};
    return pos;
}

DWORD Comctl32Version() {
    HMODULE comctl32 = ::GetModuleHandleA("comctl32.dll");
    auto getVersion = comctl32 ? reinterpret_cast<DLLGETVERSIONPROC>(
                                     reinterpret_cast<void (*)()>(::GetProcAddress(comctl32, "DllGetVersion")))
                               : nullptr;
    DLLVERSIONINFO info{};
    info.cbSize = sizeof info;
    if (!getVersion || FAILED(getVersion(&info))) return 0;
    return info.dwMajorVersion << 16 | info.dwMinorVersion;
}

}  // namespace

// ---- registration with the shared window

TCoolTrayIcon::TrayRegistration::TrayRegistration(TCoolTrayIcon& icon) : icon(icon) {
    if (!SharedTrayHandler) SharedTrayHandler = std::make_unique<TTrayIconHandler>();
    id = SharedTrayHandler->FreeId();
    SharedTrayHandler->Icons.push_back(&icon);
}

TCoolTrayIcon::TrayRegistration::~TrayRegistration() {
    if (!SharedTrayHandler) return;
    std::erase(SharedTrayHandler->Icons, &icon);
    if (SharedTrayHandler->Icons.empty()) SharedTrayHandler.reset();
}

HWND TCoolTrayIcon::TrayWindow() { return SharedTrayHandler ? SharedTrayHandler->TrayWindow.Handle() : nullptr; }

UINT TCoolTrayIcon::TaskbarCreatedMessage() {
    static const UINT message = Comctl32Version() >= 0x40047 ? ::RegisterWindowMessageA("TaskbarCreated") : 0;
    return message;
}

// ---- life

TCoolTrayIcon::TCoolTrayIcon(TComponent* owner)
    : TComponent(owner), registration_(*this),
      CycleTimer(1000, [this](TObject*) { CycleTimerElapsed(); }),
      ClickTimer(1000, [this](TObject*) { ClickTimerElapsed(); }),
      ExitTimer(20, [this](TObject*) { ExitTimerElapsed(); }),
      addRetryTimer_(AddRetryInterval, [this](TObject*) { AddRetryTimerElapsed(); }) {
    icon_.OnChange = [this](TObject*) { IconChanged(); };
    TrayData.cbSize = sizeof TrayData;
    TrayData.hWnd = TrayWindow();
    TrayData.uID = TrayId();
    TrayData.uFlags = kIconFlags;
    TrayData.uCallbackMessage = TrayCallbackMessage;
    AppWindowHook.emplace(Application().Handle(), [this](UINT m, WPARAM w, LPARAM, LRESULT&) {
        return ApplicationWindowProc(m, w);
    });
    LetThroughFromLessPrivileged(Application().Handle(), TaskbarCreatedMessage());
    if (TWinControl* owner = OwnerControl())
        OwnerWindowHook.emplace(owner->Handle(), [this](UINT m, WPARAM w, LPARAM l, LRESULT& r) {
            return OwnerWindowProc(m, w, l, r);
        });
}

TCoolTrayIcon::~TCoolTrayIcon() {
    SetIconVisible(false);
    SetDesignPreview(false);
    OwnerWindowHook.reset();
    AppWindowHook.reset();
}

TWinControl* TCoolTrayIcon::OwnerControl() const { return dynamic_cast<TWinControl*>(Owner()); }

void TCoolTrayIcon::Loaded() {
    TComponent::Loaded();
    if (OwnerControl()) StartupStep();
    // The shell accepts a change only of an icon it holds.
    const bool held = UpdateInTray();
    const bool added = ApplyIconVisible();
    SetCycleIcons(cycleIcons_);
    SetWantEnterExitEvents(wantEnterExitEvents_);
    SetNotifyMode(notifyMode_);
    // Started at logon, the shell may not be ready for the icon yet: a program
    // with no icon and no window could not be reached at all.
    if (iconVisible_ && !held && !added) {
        addRetries_ = 0;
        addRetryTimer_.SetEnabled(true);
    }
}

void TCoolTrayIcon::AddRetryTimerElapsed() {
    if (!iconVisible_ || AddToTray() || UpdateInTray()) {
        addRetryTimer_.SetEnabled(false);
    } else if (++addRetries_ >= AddRetryLimit) {
        addRetryTimer_.SetEnabled(false);
        ShowMainWindow();
    }
}

void TCoolTrayIcon::IconAccepted() { addRetryTimer_.SetEnabled(false); }

void TCoolTrayIcon::Notification(TComponent* component, Operation operation) {
    TComponent::Notification(component, operation);
    if (operation != Operation::Remove) return;
    if (component == iconList_) SetIconList(nullptr);
    if (component == PopupMenu) PopupMenu = nullptr;
}

// ---- the shell

// Each call is a round trip to the shell's process: a request that would change
// nothing the shell holds, or act on an icon it does not hold, is answered here
// as the shell would answer it.
std::optional<bool> TCoolTrayIcon::KnownAnswer(DWORD message) const {
    if (message == NIM_ADD) return shown_ ? std::optional(true) : std::nullopt;
    if (!shown_) return false;
    if (message == NIM_MODIFY && TrayData.uFlags == kIconFlags && TrayData.hIcon == shown_->hIcon &&
        std::memcmp(TrayData.szTip, shown_->szTip, sizeof TrayData.szTip) == 0)
        return true;
    if (message == NIM_SETVERSION && TrayData.uVersion == shown_->uVersion) return true;
    return std::nullopt;
}

bool TCoolTrayIcon::Notify(DWORD message) {
    if (const std::optional<bool> known = KnownAnswer(message)) return *known;
    const bool accepted = ShellNotifyIcon(message, reinterpret_cast<PNOTIFYICONDATAA>(&TrayData)) != FALSE;
    if (message == NIM_DELETE || (message == NIM_MODIFY && !accepted)) {
        shown_.reset();  // taken out, or lost by the shell
    } else if (accepted && message == NIM_SETVERSION) {
        shown_->uVersion = TrayData.uVersion;
    } else if (accepted) {
        const UINT version = shown_ ? shown_->uVersion : 0;  // a new icon starts in the legacy version
        shown_ = TrayData;
        shown_->uVersion = version;
    }
    if (accepted && (message == NIM_ADD || message == NIM_MODIFY)) TrayData.uFlags &= ~NIF_INFO;  // shown
    return accepted;
}

void TCoolTrayIcon::ShowBalloonHint(const std::string& title, const std::string& text) {
    auto copy = [](const std::string& from, auto& field) {
        std::memset(field, 0, sizeof field);
        from.copy(field, sizeof field - 1);
    };
    copy(title, TrayData.szInfoTitle);
    copy(text, TrayData.szInfo);
    TrayData.dwInfoFlags = NIIF_INFO;
    TrayData.uFlags |= NIF_INFO;
    UpdateInTray();
}

bool TCoolTrayIcon::FillTrayData() {
    TrayData.hIcon = icon_.Handle();
    std::memset(TrayData.szTip, 0, sizeof TrayData.szTip);
    if (!hint_.empty() && showHint_) hint_.copy(TrayData.szTip, sizeof TrayData.szTip - 1);
    return true;
}

bool TCoolTrayIcon::AddToTray() {
    if (!SettingPreview) iconVisible_ = true;
    return FillTrayData() && Notify(NIM_ADD);
}

bool TCoolTrayIcon::RemoveFromTray() {
    if (!SettingPreview) iconVisible_ = false;
    return FillTrayData() && Notify(NIM_DELETE);
}

bool TCoolTrayIcon::UpdateInTray() { return FillTrayData() && Notify(NIM_MODIFY); }

// ---- properties

void TCoolTrayIcon::SetIcon(const TIcon& icon) {
    icon_.OnChange = nullptr;
    icon_.Assign(icon);
    icon_.OnChange = [this](TObject*) { IconChanged(); };
    UpdateInTray();
}

void TCoolTrayIcon::IconChanged() { UpdateInTray(); }

void TCoolTrayIcon::SetIconVisible(bool visible) {
    iconVisible_ = visible;
    ApplyIconVisible();
}

bool TCoolTrayIcon::ApplyIconVisible() {
    if (!iconVisible_) {
        IconAccepted();
        return RemoveFromTray();
    }
    const bool added = AddToTray();
    if (added) IconAccepted();
    return added;
}

void TCoolTrayIcon::SetDesignPreview(bool preview) {
    designPreview_ = preview;
    SettingPreview = true;
    if (preview)
        AddToTray();
    else
        RemoveFromTray();
    SettingPreview = false;
}

void TCoolTrayIcon::SetCycleIcons(bool cycle) {
    cycleIcons_ = cycle;
    if (cycle) {
        SetIconIndex(0);
        CycleTimer.SetInterval(cycleInterval_);
        CycleTimer.SetEnabled(true);
    } else {
        CycleTimer.SetEnabled(false);
    }
}

void TCoolTrayIcon::SetCycleInterval(UINT interval) {
    cycleInterval_ = interval;
    SetCycleIcons(cycleIcons_);
}

void TCoolTrayIcon::SetIconList(TImageList* list) {
    iconList_ = list;
    SetIconIndex(0);
}

void TCoolTrayIcon::SetIconIndex(int index) {
    if (iconList_) {
        iconIndex_ = std::min(index, iconList_->Count() - 1);
        icon_.Take(iconList_->GetIcon(iconIndex_));
    } else {
        iconIndex_ = 0;
    }
    UpdateInTray();
}

void TCoolTrayIcon::SetHint(const std::string& hint) {
    hint_ = hint;
    UpdateInTray();
}

void TCoolTrayIcon::SetShowHint(bool show) {
    showHint_ = show;
    UpdateInTray();
}

void TCoolTrayIcon::SetWantEnterExitEvents(bool want) {
    wantEnterExitEvents_ = want;
    ExitTimer.SetEnabled(want);
}

void TCoolTrayIcon::SetNotifyMode(TNotifyMode mode) {
    notifyMode_ = mode;
    TrayData.uVersion = mode == nmVersion3 ? 3 : 0;
    Notify(NIM_SETVERSION);
}

// ---- cycling

int TCoolTrayIcon::NextIndex() const {
    if (!iconList_) return 0;
    return iconIndex_ < iconList_->Count() - 1 ? iconIndex_ + 1 : 0;
}

void TCoolTrayIcon::CycleTimerElapsed() {
    if (!iconList_) return;
    icon_.Take(iconList_->GetIcon(iconIndex_));
    FireCycle();
    SetIconIndex(NextIndex());
}

// ---- events

void TCoolTrayIcon::FireClick() { Fire(OnClick, this); }
void TCoolTrayIcon::FireDblClick() { Fire(OnDblClick, this); }
void TCoolTrayIcon::FireCycle() { Fire(OnCycle, this, NextIndex()); }
void TCoolTrayIcon::FireMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    Fire(OnMouseDown, this, button, shift, x, y);
}
void TCoolTrayIcon::FireMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    Fire(OnMouseUp, this, button, shift, x, y);
}
void TCoolTrayIcon::FireMouseMove(TShiftState shift, int x, int y) { Fire(OnMouseMove, this, shift, x, y); }
void TCoolTrayIcon::FireMouseEnter() { Fire(OnMouseEnter, this); }
void TCoolTrayIcon::FireMouseExit() { Fire(OnMouseExit, this); }

// ---- the shell's notifications about the icon

void TCoolTrayIcon::HandleTrayMessage(LPARAM event) {
    const bool legacy = notifyMode_ == nmLegacy;
    const TShiftState shift = KeyboardShiftState();
    const POINT pos = CursorPos();
    switch (event) {
    case WM_MOUSEMOVE:
        if (!Enabled) break;
        if (wantEnterExitEvents_ && CursorOutside) {
            FireMouseEnter();
            CursorOutside = false;
        }
        FireMouseMove(shift, pos.x, pos.y);
        LastMoveX = pos.x;
        LastMoveY = pos.y;
        break;
    case WM_LBUTTONDOWN:
        if (!Enabled) break;
        if (OnDblClick) {
            ClickTimer.SetInterval(::GetDoubleClickTime());
            ClickTimer.SetEnabled(true);
        }
        FireMouseDown(mbLeft, shift | ssLeft, pos.x, pos.y);
        ClickPending = true;
        if (LeftPopup) PopupMenuAtCursor();
        break;
    case WM_LBUTTONUP:
        if (!Enabled) break;
        if (ClickPending) ClickReady = true;
        if (ClickPending && !ClickTimer.Enabled()) {
            ClickPending = false;
            ClickReady = false;
            FireClick();
        }
        ClickPending = false;
        FireMouseUp(mbLeft, shift | ssLeft, pos.x, pos.y);
        break;
    case WM_LBUTTONDBLCLK:
        if (!Enabled) break;
        ClickReady = false;
        DoubleClicked = true;
        FireDblClick();
        RunDefaultItem();
        break;
    case WM_RBUTTONDOWN:
        if (!Enabled) break;
        FireMouseDown(mbRight, shift | ssRight, pos.x, pos.y);
        PopupMenuAtCursor();
        break;
    case WM_RBUTTONUP:
        if (legacy && Enabled) FireMouseUp(mbRight, shift | ssRight, pos.x, pos.y);
        break;
    case WM_MBUTTONDOWN:
        if (Enabled) FireMouseDown(mbMiddle, shift | ssMiddle, pos.x, pos.y);
        break;
    case WM_MBUTTONUP:
        if (Enabled) FireMouseUp(mbMiddle, shift | ssMiddle, pos.x, pos.y);
        break;
    case WM_CONTEXTMENU:
    case NIN_SELECT:
    case NIN_KEYSELECT:
        if (!legacy && Enabled) FireMouseUp(mbRight, shift | ssRight, pos.x, pos.y);
        break;
    case NIN_BALLOONHIDE: Fire(OnBalloonHintHide, this); break;
    case NIN_BALLOONTIMEOUT: Fire(OnBalloonHintTimeout, this); break;
    case NIN_BALLOONUSERCLICK: Fire(OnBalloonHintClick, this); break;
    default: break;
    }
}

// The menu's default item nearest the top, run as if chosen.
void TCoolTrayIcon::RunDefaultItem() {
    if (!PopupMenu || !PopupMenu->AutoPopup || LeftPopup) return;
    const auto& items = PopupMenu->Items;
    const auto found = std::find_if(items.begin(), items.end(), [](const TMenuItem* i) { return i->Default; });
    if (found != items.end()) (*found)->Click();
}

void TCoolTrayIcon::PopupMenuAtCursor() {
    POINT pos;
    if (!PopupMenu || !PopupMenu->AutoPopup || !::GetCursorPos(&pos)) return;
    // Without the foreground the menu would not close when the user clicks elsewhere.
    ::SetForegroundWindow(Application().Handle());
    Application().ProcessMessages();
    PopupMenu->PopupComponent = this;
    PopupMenu->Popup(pos.x, pos.y);
    if (TWinControl* owner = OwnerControl()) ::PostMessageA(owner->Handle(), WM_NULL, 0, 0);
}

void TCoolTrayIcon::ClickTimerElapsed() {
    ClickTimer.SetEnabled(false);
    if (!DoubleClicked && ClickReady) {
        ClickReady = false;
        FireClick();
    }
    DoubleClicked = false;
}

void TCoolTrayIcon::ExitTimerElapsed() {
    if (CursorOutside) return;
    const POINT pos = CursorPos();
    if (pos.x != LastMoveX || pos.y != LastMoveY) {
        CursorOutside = true;
        FireMouseExit();
    }
}

// ---- the main window

void TCoolTrayIcon::StartupStep() {
    bool show = true;
    Fire(OnStartup, this, show);
    if (show) return;
    Application().ShowMainForm = false;
    HideMainWindow();
}

void TCoolTrayIcon::ShowMainWindow() {
    TForm* main = Application().MainForm();
    if (!OwnerControl() || !main) return;
    Application().Restore();
    if (main->IsMinimized()) main->SetNormal();
    main->Show();
    ::SetForegroundWindow(Application().Handle());
}

void TCoolTrayIcon::HideMainWindow() {
    TForm* main = Application().MainForm();
    if (!OwnerControl() || !main) return;
    main->Hide();
    HideTaskbarButton();
}

void TCoolTrayIcon::HideTaskbarButton() {
    HWND app = Application().Handle();
    if (::IsWindowVisible(app)) ::ShowWindow(app, SW_HIDE);
}

void TCoolTrayIcon::SendToTray() {
    HideMainWindow();
    SetIconVisible(true);
}

bool TCoolTrayIcon::ApplicationWindowProc(UINT message, WPARAM wParam) {
    if (message == WM_SIZE && wParam == SIZE_MINIMIZED && CanMinimizeToTray()) SendToTray();
    if (message != 0 && message == TaskbarCreatedMessage()) {
        shown_.reset();  // the new taskbar holds no icon
        if (iconVisible_) ApplyIconVisible();
    }
    return false;
}

// A window hidden while the tray holds no icon could not be reached again: it
// minimises to the taskbar until the shell takes the icon (asked once more here).
bool TCoolTrayIcon::CanMinimizeToTray() {
    if (!MinimizeToTray) return false;
    if (!shown_ && iconVisible_) ApplyIconVisible();
    return shown_.has_value();
}

bool TCoolTrayIcon::OwnerWindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_SHOWWINDOW:
        if (wParam == TRUE && lParam == 0) {
            ::SetForegroundWindow(Application().Handle());
            ::SetForegroundWindow(OwnerControl()->Handle());
        } else if (wParam == FALSE && lParam == SW_PARENTCLOSING && !Application().Terminated()) {
            return InterceptMinimize(result);
        }
        return false;
    case WM_SYSCOMMAND:
        // Compared whole: a minimise with any of the low bits set goes its own way.
        return wParam == SC_MINIMIZE && InterceptMinimize(result);
    default:
        return false;
    }
}

bool TCoolTrayIcon::InterceptMinimize(LRESULT& result) {
    if (!OnMinimizeToTray || !CanMinimizeToTray()) return false;
    OnMinimizeToTray(this);
    SendToTray();
    result = 1;
    return true;
}

}  // namespace zep
