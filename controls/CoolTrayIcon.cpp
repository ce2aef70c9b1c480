#include "controls/CoolTrayIcon.h"

#include "toolkit/Forms.h"
#include "win/Library.h"
#include "win/WideText.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>
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

// Where the cursor is; the screen's corner when the system cannot tell.
POINT CursorPos() {
    POINT pos{};
    if (!::GetCursorPos(&pos)) pos = {};
    return pos;
}

DWORD Comctl32Version() {
    const auto getVersion = EntryOf<DLLGETVERSIONPROC>(::GetModuleHandleA("comctl32.dll"), "DllGetVersion");
    DLLVERSIONINFO info{};
    info.cbSize = sizeof info;
    if (!getVersion || FAILED(getVersion(&info))) return 0;
    return info.dwMajorVersion << 16 | info.dwMinorVersion;
}

// Where the shell shows an icon, when it can tell: Windows before 7 cannot.
std::optional<RECT> IconRect(HWND window, UINT id) {
    static const auto getRect = EntryOf<decltype(&::Shell_NotifyIconGetRect)>(::GetModuleHandleA("shell32.dll"),
                                                                               "Shell_NotifyIconGetRect");
    const NOTIFYICONIDENTIFIER icon{sizeof icon, window, id, {}};
    RECT rect;
    if (!getRect || FAILED(getRect(&icon, &rect))) return std::nullopt;
    return rect;
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
    if (TWinControl* owner = OwnerControl()) {
        if (owner->HandleAllocated()) OwnerWindowCreated();
        StartupStep();
    }
    UpdateInTray();
    SetIconVisible(iconVisible_);
    SetCycleIcons(cycleIcons_);
    SetWantEnterExitEvents(wantEnterExitEvents_);
    SetNotifyMode(notifyMode_);
    // Started at logon, the shell may not be ready for the icon yet: a program
    // with no icon and no window could not be reached at all.
    addRetries_ = 0;
    addRetryTimer_.SetEnabled(iconVisible_ && !IconHeld());
}

// A hidden owner makes its window when first shown: the hook comes with it.
void TCoolTrayIcon::OwnerWindowCreated() {
    OwnerWindowHook.emplace(OwnerControl()->Handle(), [this](UINT m, WPARAM w, LPARAM l, LRESULT& r) {
        return OwnerWindowProc(m, w, l, r);
    });
}

// Ends at the first tick that finds the icon held or no longer wanted.
void TCoolTrayIcon::AddRetryTimerElapsed() {
    if (!iconVisible_ || AddToTray()) {
        addRetryTimer_.SetEnabled(false);
    } else if (++addRetries_ >= AddRetryLimit) {
        addRetryTimer_.SetEnabled(false);
        ShowMainWindow();
    }
}

void TCoolTrayIcon::Notification(TComponent* component, Operation operation) {
    TComponent::Notification(component, operation);
    if (operation != Operation::Remove) return;
    if (component == iconList_) SetIconList(nullptr);
    if (component == PopupMenu) PopupMenu = nullptr;
}

// ---- the shell

// Each call is a round trip to the shell's process: a request whose answer the
// record tells (it would change nothing the shell holds, or act on an icon the
// shell does not hold) is answered here as the shell would answer it.
std::optional<bool> TCoolTrayIcon::KnownAnswer(DWORD message) const {
    if (shell_.state == TShellRecord::Unsure) return std::nullopt;
    if (shell_.state == TShellRecord::None) return message == NIM_ADD ? std::nullopt : std::optional(false);
    const TNotifyIconData& held = shell_.icon;
    if (message == NIM_ADD) return true;
    if (message == NIM_MODIFY && TrayData.uFlags == kIconFlags && TrayData.hIcon == held.hIcon &&
        std::memcmp(TrayData.szTip, held.szTip, sizeof TrayData.szTip) == 0)
        return true;
    if (message == NIM_SETVERSION && TrayData.uVersion == held.uVersion) return true;
    return std::nullopt;
}

bool TCoolTrayIcon::Notify(DWORD message) {
    FillTrayData();
    // A busy shell may have made an add it answered FALSE: a change tells whether it holds the icon.
    if (message == NIM_ADD && shell_.state == TShellRecord::Unsure && Ask(NIM_MODIFY)) return true;
    if (const std::optional<bool> known = KnownAnswer(message)) return *known;
    return Ask(message);
}

// Asks the shell, and keeps what its answer tells of the icon it holds.
bool TCoolTrayIcon::Ask(DWORD message) {
    const bool accepted = ShellNotifyIcon(message, reinterpret_cast<PNOTIFYICONDATAA>(&TrayData)) != FALSE;
    const bool wasHeld = IconHeld();
    TNotifyEvent balloonShown;
    if (message == NIM_SETVERSION) {
        if (accepted) shell_.icon.uVersion = TrayData.uVersion;
    } else if (accepted && message != NIM_DELETE) {
        const UINT version = wasHeld ? shell_.icon.uVersion : 0;  // a new icon starts in the legacy version
        shell_ = {TShellRecord::Held, TrayData};
        shell_.icon.uVersion = version;
        if (TrayData.uFlags & NIF_INFO) balloonShown = std::exchange(balloonShown_, nullptr);
        TrayData.uFlags &= ~NIF_INFO;  // the balloon went with it
    } else {
        // Taken out, or no icon to change; a refused add or delete may have been carried out all the same.
        shell_.state = accepted || message == NIM_MODIFY ? TShellRecord::None : TShellRecord::Unsure;
    }
    if (!wasHeld && IconHeld()) Notify(NIM_SETVERSION);  // asked again of every icon added anew
    Fire(balloonShown, this);
    return accepted;
}

void TCoolTrayIcon::ShowBalloonHint(const std::string& title, const std::string& text, TNotifyEvent onShown) {
    auto copy = [](const std::string& from, auto& field) {
        std::memset(field, 0, sizeof field);
        WholeCharacters(from, sizeof field - 1).copy(field, sizeof field - 1);
    };
    copy(title, TrayData.szInfoTitle);
    copy(text, TrayData.szInfo);
    TrayData.dwInfoFlags = NIIF_INFO;
    TrayData.uFlags |= NIF_INFO;
    balloonShown_ = std::move(onShown);
    UpdateInTray();
}

void TCoolTrayIcon::FillTrayData() {
    TrayData.hIcon = icon_.Handle();
    std::memset(TrayData.szTip, 0, sizeof TrayData.szTip);
    if (showHint_) WholeCharacters(hint_, sizeof TrayData.szTip - 1).copy(TrayData.szTip, sizeof TrayData.szTip - 1);
}

bool TCoolTrayIcon::AddToTray() {
    iconVisible_ = true;
    return Notify(NIM_ADD);
}

bool TCoolTrayIcon::RemoveFromTray() {
    iconVisible_ = false;
    return Notify(NIM_DELETE);
}

bool TCoolTrayIcon::UpdateInTray() { return Notify(NIM_MODIFY); }

// ---- properties

void TCoolTrayIcon::SetIcon(const TIcon& icon) {
    icon_.OnChange = nullptr;
    icon_.Assign(icon);
    icon_.OnChange = [this](TObject*) { IconChanged(); };
    UpdateInTray();
}

void TCoolTrayIcon::IconChanged() { UpdateInTray(); }

void TCoolTrayIcon::SetIconVisible(bool visible) {
    if (visible)
        AddToTray();
    else
        RemoveFromTray();
}

// At run time the preview puts the icon in or out of the tray, and IconVisible
// keeps what the program asked.
void TCoolTrayIcon::SetDesignPreview(bool preview) {
    designPreview_ = preview;
    const bool visible = iconVisible_;
    if (preview)
        AddToTray();
    else
        RemoveFromTray();
    iconVisible_ = visible;
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
    const bool afterRightRelease = std::exchange(LastNotification, event) == WM_RBUTTONUP;
    const TShiftState shift = ShiftState(0, &::GetAsyncKeyState);  // the shell's notice comes from another process
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
        if (legacy || !Enabled) break;
        FireMouseUp(mbRight, shift | ssRight, pos.x, pos.y);
        // The icon selected from the keyboard: the menu key or Shift+F10 opens the menu, Enter
        // or Space does what a double click does. A right click's release sends the menu
        // message too, and its press has opened the menu already.
        if (event == WM_CONTEXTMENU && !afterRightRelease) PopupMenuAtIcon();
        if (event == NIN_KEYSELECT) RunDefaultItem();
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
    if (::GetCursorPos(&pos)) PopupMenuAt(pos);
}

void TCoolTrayIcon::PopupMenuAtIcon() {
    if (const std::optional<RECT> icon = IconRect(TrayWindow(), TrayId()))
        PopupMenuAt({icon->left, icon->top});
    else
        PopupMenuAtCursor();
}

void TCoolTrayIcon::PopupMenuAt(POINT pos) {
    if (!PopupMenu || !PopupMenu->AutoPopup) return;
    // Without the foreground the menu would not close when the user clicks elsewhere.
    ::SetForegroundWindow(Application().Handle());
    Application().ProcessMessages();
    PopupMenu->PopupComponent = this;
    PopupMenu->Popup(pos.x, pos.y);
    if (TWinControl* owner = OwnerControl(); owner && owner->HandleAllocated())
        ::PostMessageA(owner->Handle(), WM_NULL, 0, 0);
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
        shell_.state = TShellRecord::None;  // the new taskbar holds no icon
        if (iconVisible_) AddToTray();
    }
    return false;
}

// A window hidden while the tray holds no icon could not be reached again: it
// minimises to the taskbar until the shell takes the icon (asked once more here).
bool TCoolTrayIcon::CanMinimizeToTray() { return MinimizeToTray && AddToTray(); }

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
