// The yardstick for the program's start-up: a Win32 program that puts one icon
// into the notification area and waits in its message loop, nothing else. Its
// window stays hidden, like the program's at start; closing it ends it. Fair
// to the program, it carries the same manifest (bare.rc) and initialises the
// common controls the program uses, as any current Windows program must.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

namespace {

NOTIFYICONDATAA TrayRecord(HWND window) {
    NOTIFYICONDATAA record{};
    record.cbSize = NOTIFYICONDATAA_V2_SIZE;
    record.hWnd = window;
    record.uID = 1;
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = WM_APP;
    record.hIcon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
    lstrcpynA(record.szTip, "Bare", sizeof record.szTip);
    return record;
}

LRESULT CALLBACK BareWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        NOTIFYICONDATAA record = TrayRecord(window);
        ::Shell_NotifyIconA(NIM_DELETE, &record);
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    ::InitCommonControlsEx(&icc);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &BareWndProc;
    wc.hInstance = instance;
    wc.lpszClassName = "BareWindow";
    if (!::RegisterClassExA(&wc)) return 1;
    HWND window = ::CreateWindowExA(0, "BareWindow", "Bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                    400, 300, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    NOTIFYICONDATAA record = TrayRecord(window);
    ::Shell_NotifyIconA(NIM_ADD, &record);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
