// The program's cost while it sits in the tray: its main window, tray icon
// and all, made in this process on temporary folders and a temporary settings
// key, is left alone for 10 seconds once start-up has settled; every return of
// its user-interface thread's wait for messages (a wake-up) and every timer
// tick is counted. Usage: idle_bench
#include "core/Registry.h"
#include "testing/TempFolder.h"
#include "ui/MainUnit.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr DWORD IdleMs = 10000, SettleMs = 1000, SettleLimitMs = 20000;

struct Count {
    int wakeUps = 0;
    int ticks = 0;
};

// Handles messages for `ms`, counting the thread's wake-ups and timer ticks.
Count Watch(DWORD ms) {
    Count count;
    const DWORD end = ::GetTickCount() + ms;
    for (DWORD now; (now = ::GetTickCount()) < end;) {
        if (::MsgWaitForMultipleObjectsEx(0, nullptr, end - now, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_TIMEOUT)
            break;
        ++count.wakeUps;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER) ++count.ticks;
            zep::Application().HandleMessage(msg);
        }
    }
    return count;
}

// A settings key of its own under the current user, removed at the end.
struct TempSettings {
    const std::string path = "Software\\ZeptonIdleBench\\" + std::to_string(::GetCurrentProcessId());
    ~TempSettings() {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
        ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\ZeptonIdleBench");
    }
};

}  // namespace

int main() {
    using namespace zep;
    const std::string root = test::MakeTempFolder("zepton-idle-");
    const std::string desktop = root + "desk";
    ::CreateDirectoryA(desktop.c_str(), nullptr);
    const TempSettings settings;
    WriteText(OpenKey(HKEY_CURRENT_USER, settings.path + "\\Shell Folders", true).get(), "Desktop", desktop);
    MainFormEnvironment environment;
    environment.exePath = root + "zepton.exe";
    environment.shellFoldersKey = "\\" + settings.path + "\\Shell Folders";
    environment.settingsKeys = {HKEY_CURRENT_USER, "\\" + settings.path + "\\Setup", HKEY_CURRENT_USER,
                                settings.path + "\\Run"};

    Application().Initialize();
    Application().SetTitle("Zepton");
    auto form = MakeForm<TMainForm>(nullptr, environment);
    // Start-up has settled once a whole second has passed without a message.
    for (const DWORD start = ::GetTickCount(); Watch(SettleMs).wakeUps > 0;)
        if (::GetTickCount() - start > SettleLimitMs) {
            std::fprintf(stderr, "idle_bench: the program never came to rest\n");
            return 1;
        }
    const Count idle = Watch(IdleMs);
    std::printf("Idle in the tray for %lu s: %d wake-ups, %d timer ticks   (target 0 each)\n", IdleMs / 1000,
                idle.wakeUps, idle.ticks);
    form.reset();
    test::RemoveTree(root);
    return 0;
}
