#pragma once
// An icon with a tooltip in the notification area. It turns the shell's
// notifications about the icon into mouse events and its pop-up menu, and ties
// the icon to the application's main window: hidden at start, sent to the
// tray when minimised, shown again from the menu, and the icon put back when
// the taskbar is re-created.
#include "controls/SimpleTimer.h"
#include "toolkit/Controls.h"
#include "toolkit/Graphics.h"
#include "toolkit/ImgList.h"
#include "toolkit/Menus.h"
#include "toolkit/WindowHook.h"

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>

namespace zep {

// The shell's notification record in the form with a 128-character tooltip,
// balloon text, version and balloon title, and no more.
struct TNotifyIconData {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    CHAR szTip[128];
    DWORD dwState;
    DWORD dwStateMask;
    CHAR szInfo[256];
    union {
        UINT uTimeout;
        UINT uVersion;
    };
    CHAR szInfoTitle[64];
    DWORD dwInfoFlags;
};
// 488 bytes with 32-bit handles; the same fields take 504 with 64-bit ones.
static_assert(sizeof(TNotifyIconData) == (sizeof(void*) == 4 ? 488 : 504));
static_assert(sizeof(TNotifyIconData) == NOTIFYICONDATAA_V2_SIZE);

// The message the shell sends the tray window about an icon.
inline constexpr UINT TrayCallbackMessage = WM_USER + 0x400;

enum TNotifyMode : BYTE { nmLegacy = 0, nmVersion3 = 1 };

using TCycleEvent = std::function<void(TObject* sender, int nextIndex)>;
using TStartupEvent = std::function<void(TObject* sender, bool& showMainForm)>;

class TCoolTrayIcon : public TComponent {
public:
    explicit TCoolTrayIcon(TComponent* owner);
    ~TCoolTrayIcon() override;

    void Loaded() override;
    void Notification(TComponent* component, Operation operation) override;
    void OwnerWindowCreated() override;

    // Writing true puts the icon into the tray, false takes it out, without changing IconVisible.
    bool DesignPreview() const { return designPreview_; }
    void SetDesignPreview(bool preview);
    TImageList* IconList() const { return iconList_; }
    void SetIconList(TImageList* list);
    bool CycleIcons() const { return cycleIcons_; }
    void SetCycleIcons(bool cycle);
    UINT CycleInterval() const { return cycleInterval_; }
    void SetCycleInterval(UINT interval);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);
    const TIcon& Icon() const { return icon_; }
    void SetIcon(const TIcon& icon);
    // What was asked of the shell, not what it holds.
    bool IconVisible() const { return iconVisible_; }
    void SetIconVisible(bool visible);
    int IconIndex() const { return iconIndex_; }
    void SetIconIndex(int index);
    bool WantEnterExitEvents() const { return wantEnterExitEvents_; }
    void SetWantEnterExitEvents(bool want);
    TNotifyMode NotifyMode() const { return notifyMode_; }
    void SetNotifyMode(TNotifyMode mode);

    bool Enabled = true;  // false: mouse notifications give no events
    TPopupMenu* PopupMenu = nullptr;
    bool LeftPopup = false;  // the left button opens the menu too
    bool MinimizeToTray = false;

    TNotifyEvent OnClick, OnDblClick;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter, OnMouseExit;
    TCycleEvent OnCycle;
    TNotifyEvent OnBalloonHintClick, OnBalloonHintHide, OnBalloonHintTimeout;
    TNotifyEvent OnMinimizeToTray;
    TStartupEvent OnStartup;

    // True when the shell accepted the request.
    virtual bool AddToTray();
    virtual bool RemoveFromTray();
    virtual bool UpdateInTray();

    virtual void FireClick();
    virtual void FireDblClick();
    virtual void FireCycle();
    virtual void FireMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void FireMouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void FireMouseMove(TShiftState shift, int x, int y);
    virtual void FireMouseEnter();
    virtual void FireMouseExit();
    // Hides the main window and its taskbar button, and asks for the icon again.
    virtual void SendToTray();

    // A balloon from the icon with the information sign. It goes with the
    // first add or change the shell accepts, so that an icon the shell takes
    // only later still shows it, and only once; onShown runs then. A newer
    // balloon not yet shown takes the place of an older one.
    void ShowBalloonHint(const std::string& title, const std::string& text, TNotifyEvent onShown = {});

    // The application's main window brought back in its normal state, in front.
    void ShowMainWindow();
    void HideMainWindow();
    void HideTaskbarButton();

    // The icon's identifier towards the shell, unique among the live tray icons.
    UINT TrayId() const { return registration_.id; }
    // The window all tray icons share; null while no tray icon exists.
    static HWND TrayWindow();
    // The registered "TaskbarCreated" message, or 0 before comctl32 4.71.
    static UINT TaskbarCreatedMessage();

    // Asks for the icon again while the shell refuses it at start.
    const TSimpleTimer& AddRetryTimer() const { return addRetryTimer_; }
    static constexpr UINT AddRetryInterval = 1000;
    static constexpr int AddRetryLimit = 30;

    // The shell's entry point; tests put a recorder in its place.
    using TShellNotifyIcon = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAA data);
    static TShellNotifyIcon ShellNotifyIcon;

private:
    friend class TTrayIconHandler;

    // Among the live tray icons, with the shared window, for the component's whole life.
    struct TrayRegistration {
        explicit TrayRegistration(TCoolTrayIcon& icon);
        ~TrayRegistration();
        TrayRegistration(const TrayRegistration&) = delete;
        TrayRegistration& operator=(const TrayRegistration&) = delete;
        TCoolTrayIcon& icon;
        UINT id;
    };

    bool Notify(DWORD message);
    bool Ask(DWORD message);
    std::optional<bool> KnownAnswer(DWORD message) const;
    bool IconHeld() const { return shell_.state == TShellRecord::Held; }
    void FillTrayData();
    void IconChanged();
    int NextIndex() const;
    void CycleTimerElapsed();
    void ClickTimerElapsed();
    void ExitTimerElapsed();
    void AddRetryTimerElapsed();
    void StartupStep();

    void HandleTrayMessage(LPARAM event);
    void PopupMenuAtCursor();
    // Opened from the keyboard: at the icon, or at the cursor where the shell cannot tell where that is.
    void PopupMenuAtIcon();
    void PopupMenuAt(POINT pos);
    void RunDefaultItem();
    bool ApplicationWindowProc(UINT message, WPARAM wParam);
    bool OwnerWindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool InterceptMinimize(LRESULT& result);
    bool CanMinimizeToTray();
    TWinControl* OwnerControl() const;

    static constexpr UINT kIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

    TrayRegistration registration_;
    TNotifyIconData TrayData{};
    TNotifyEvent balloonShown_;  // for the balloon in TrayData while it waits for the shell
    // What the shell holds, learnt from its answers alone.
    struct TShellRecord {
        // Unsure: it refused an add or a delete, which a busy shell may carry out all the same.
        enum TState { None, Unsure, Held } state = None;
        TNotifyIconData icon{};  // the record it took last, while Held
    } shell_;
    bool designPreview_ = false;
    TImageList* iconList_ = nullptr;
    bool cycleIcons_ = false;
    UINT cycleInterval_ = 0;
    std::string hint_;
    bool showHint_ = true;
    TIcon icon_;
    bool iconVisible_ = false;
    int iconIndex_ = 0;
    bool wantEnterExitEvents_ = false;
    TNotifyMode notifyMode_ = nmLegacy;

    TSimpleTimer CycleTimer, ClickTimer, ExitTimer;
    TSimpleTimer addRetryTimer_;
    int addRetries_ = 0;
    int LastMoveX = 0, LastMoveY = 0;
    LPARAM LastNotification = 0;  // the shell's last event about the icon
    bool CursorOutside = true;
    bool ClickPending = false, ClickReady = false, DoubleClicked = false;
    // In place of the saved window procedures: the application window's and the owner's hooks.
    std::optional<TWindowHook> AppWindowHook, OwnerWindowHook;
};

}  // namespace zep
