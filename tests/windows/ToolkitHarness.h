#pragma once
// Real windows for the toolkit tests: a form to put controls on, waiting for
// conditions, posted mouse input and a watcher that answers the message box.
#include "toolkit/Forms.h"
#include "toolkit/WindowHook.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace zep {

// Every test starts with a running application, whatever the one before did
// (closing a main form ends the program).
struct ApplicationReset : ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        Application().ending_ = TApplication::Ending::no;
        MSG quit;
        while (::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
};
inline const bool applicationResetInstalled =
    (::testing::UnitTest::GetInstance()->listeners().Append(new ApplicationReset), true);

namespace test {

inline void InitApplication() {
    static const bool done = [] {
        Application().Initialize();
        Application().SetTitle("Zepton");
        return true;
    }();
    (void)done;
}

// A form for the test's controls; with nothing of its own, its window is all its making needs.
class TestForm : public TForm {
public:
    explicit TestForm(const Options& options) : TForm(nullptr, options) {}
    static Options Plain(int width = 320, int height = 240) {
        Options o;
        o.caption = "Toolkit test";
        o.clientWidth = width;
        o.clientHeight = height;
        o.left = 40;
        o.top = 40;
        return o;
    }
};

// Handles messages until the condition holds, for at most `seconds`; returns
// whether it held. Tests wait for what they expect, never for a fixed time.
inline bool WaitUntil(const std::function<bool()>& condition, int seconds = 20) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        Application().ProcessMessages();
        if (condition()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Runs a step inside the message loop of a form's coming modal showing.
struct ModalStep {
    static inline std::function<TForm*()> form;
    static inline std::function<void()> step;
    static void CALLBACK Run(HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        EXPECT_TRUE(WaitUntil([] { return form() && form()->IsShowing(); }));
        std::exchange(step, nullptr)();
        if (form() && form()->IsShowing()) form()->Close();
    }
};

// Runs `whileShown` inside the message loop of the form's coming modal showing,
// once the form is up; a form still up afterwards is closed, so that the
// showing ends and the test goes on. The form may be one that the showing makes.
inline void WhenShownModal(std::function<TForm*()> form, std::function<void()> whileShown) {
    ModalStep::form = std::move(form);
    ModalStep::step = std::move(whileShown);
    ::SetTimer(nullptr, 0, 0, &ModalStep::Run);
}

inline void WhenShownModal(TForm& form, std::function<void()> whileShown) {
    WhenShownModal([&form] { return &form; }, std::move(whileShown));
}

// Left, top, width, height: the way the window descriptions give positions.
inline std::string Box(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right - r.left) + "," +
           std::to_string(r.bottom - r.top);
}

// A child window's rectangle in its parent's client coordinates.
inline RECT RectIn(HWND child, HWND parent) {
    RECT r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Handles every message posted to this thread so far, and the paints they
// cause: a marker posted last has come through.
inline void Flush() {
    constexpr UINT kMarker = WM_APP + 0x3F00;
    bool through = false;
    TMessageWindow marker([&through](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message == kMarker) through = true;
        return message == kMarker;
    });
    ::PostMessageA(marker.Handle(), kMarker, 0, 0);
    EXPECT_TRUE(WaitUntil([&through] { return through; })) << "the posted messages were not handled";
    Application().ProcessMessages();
}

// Handles messages while the time passes: for tests of timers, where the
// passing of time is itself what is tested (a period restarted, no tick yet).
inline void HandleMessagesFor(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    WaitUntil([&] { return ::GetTickCount() - start >= milliseconds; });
}

inline LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

// Whether a tooltip of this process holds the hint tool of (window, id).
inline bool HasHint(HWND window, UINT_PTR id) {
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = window;
    tool.uId = id;
    DWORD pid = 0;
    for (HWND tip = nullptr; (tip = ::FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr));)
        if (::GetWindowThreadProcessId(tip, &pid) && pid == ::GetCurrentProcessId() &&
            ::SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)))
            return true;
    return false;
}

inline void Click(HWND window, int x, int y) {
    ::PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    ::PostMessageA(window, WM_LBUTTONUP, 0, At(x, y));
    Flush();
}

// What a message box of this process showed before the watcher answered it.
struct SeenBox {
    std::string caption, text;
    bool errorIcon = false;
    bool questionIcon = false;
    bool warningIcon = false;
    std::vector<int> buttons;  // the visible buttons' ids, in window order
    bool found = false;
};

// Watches from another thread for a message box of this process, reads it and
// presses the answer (OK unless told otherwise).
class BoxWatcher {
public:
    explicit BoxWatcher(int answer = IDOK) : answer_(answer), thread_([this] { Watch(); }) {}
    ~BoxWatcher() { Result(); }
    // Call once the box can have come and gone.
    SeenBox Result() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return seen_;
    }

private:
    static BOOL CALLBACK FindBox(HWND window, LPARAM found) {
        char cls[16] = {};
        DWORD pid = 0;
        ::GetWindowThreadProcessId(window, &pid);
        ::GetClassNameA(window, cls, sizeof cls);
        if (pid == ::GetCurrentProcessId() && std::string(cls) == "#32770" && ::IsWindowVisible(window)) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }
    static BOOL CALLBACK ReadStatic(HWND child, LPARAM seen) {
        auto& box = *reinterpret_cast<SeenBox*>(seen);
        char cls[16] = {};
        ::GetClassNameA(child, cls, sizeof cls);
        if (_stricmp(cls, "Button") == 0 && ::IsWindowVisible(child)) box.buttons.push_back(::GetDlgCtrlID(child));
        if (_stricmp(cls, "Static") != 0) return TRUE;
        if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            HICON icon = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
            box.errorIcon = icon && icon == ::LoadIconA(nullptr, IDI_HAND);
            box.questionIcon = icon && icon == ::LoadIconA(nullptr, IDI_QUESTION);
            box.warningIcon = icon && icon == ::LoadIconA(nullptr, IDI_EXCLAMATION);
        } else {
            char text[512] = {};
            ::GetWindowTextA(child, text, sizeof text);
            if (text[0]) box.text = text;
        }
        return TRUE;
    }
    void Watch() {
        for (int i = 0; i < 1000 && !stop_; ++i) {
            HWND box = nullptr;
            ::EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&box));
            if (box) {
                char caption[256] = {};
                ::GetWindowTextA(box, caption, sizeof caption);
                seen_.caption = caption;
                ::EnumChildWindows(box, &ReadStatic, reinterpret_cast<LPARAM>(&seen_));
                seen_.found = true;
                ::PostMessageA(box, WM_COMMAND, answer_, 0);
                return;
            }
            ::Sleep(10);
        }
    }

    const int answer_;
    SeenBox seen_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace test
}  // namespace zep
