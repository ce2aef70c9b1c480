// The program's cost while it sits in the tray: its main window, tray icon
// and all, made in this process on temporary folders and a temporary settings
// key, is left alone for 10 seconds once start-up has settled, with "Keep the
// Desktop tidy" off and then on; every return of the wait where its loops wait
// (for messages and for the Desktop's change notification: a wake-up) and
// every timer tick is counted. Then, with the option on, shortcuts are dropped
// on the Desktop one at a time by another thread, each timed until it is in
// the repository. Usage: idle_bench
#include "core/Registry.h"
#include "testing/TempFolder.h"
#include "ui/MainUnit.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr DWORD IdleMs = 10000, SettleMs = 1000, SettleLimitMs = 20000, ArrivalLimitMs = 20000;
constexpr int Drops = 10;

struct Count {
    int wakeUps = 0;
    int ticks = 0;
};

// Lets the program's loop run for `ms`, counting its wake-ups and timer ticks.
Count Watch(DWORD ms) {
    Count count;
    const DWORD end = ::GetTickCount() + ms;
    for (DWORD now; (now = ::GetTickCount()) < end && zep::Application().WaitForWork(end - now);) {
        ++count.wakeUps;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER) ++count.ticks;
            zep::Application().HandleMessage(msg);
        }
    }
    return count;
}

double Now() {
    LARGE_INTEGER t, f;
    ::QueryPerformanceCounter(&t);
    ::QueryPerformanceFrequency(&f);
    return static_cast<double>(t.QuadPart) * 1e3 / static_cast<double>(f.QuadPart);
}

// A settings key of its own under the current user, removed at the end.
struct TempSettings {
    const std::string path = "Software\\ZeptonIdleBench\\" + std::to_string(::GetCurrentProcessId());
    ~TempSettings() {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
        ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\ZeptonIdleBench");
    }
};

// The main window made as at a start, once its start-up has settled (a whole
// second without a wake-up).
std::unique_ptr<zep::TMainForm> SettledForm(const zep::MainFormEnvironment& environment) {
    auto form = zep::MakeForm<zep::TMainForm>(nullptr, environment);
    for (const DWORD start = ::GetTickCount(); Watch(SettleMs).wakeUps > 0;)
        if (::GetTickCount() - start > SettleLimitMs) {
            std::fprintf(stderr, "idle_bench: the program never came to rest\n");
            std::exit(1);
        }
    return form;
}

// Milliseconds from another program starting to write a shortcut on the
// Desktop to its arrival in the repository, or the limit when it never came.
double Arrival(const std::string& desktop, const std::string& repository, const std::string& name) {
    double written = 0;
    std::thread writer([&] {
        written = Now();
        zep::test::WritePlain(desktop + name, std::string(1500, 's'));  // about a shortcut's size
    });
    const DWORD end = ::GetTickCount() + ArrivalLimitMs;
    while (::GetFileAttributesA((repository + name).c_str()) == INVALID_FILE_ATTRIBUTES && ::GetTickCount() < end)
        Watch(1);
    const double arrived = Now();
    writer.join();
    return arrived - written;
}

}  // namespace

int main() {
    using namespace zep;
    const std::string root = test::MakeTempFolder("zepton-idle-");
    const std::string desktop = root + "desk\\";
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
    std::unique_ptr<TMainForm> form;
    for (const bool tidy : {false, true}) {
        form.reset();
        WriteDword(OpenKey(HKEY_CURRENT_USER, settings.path + "\\Setup", true).get(), "Keep tidy", tidy);
        form = SettledForm(environment);
        const Count idle = Watch(IdleMs);
        std::printf("Idle in the tray for %lu s, Keep the Desktop tidy %s: %d wake-ups, %d timer ticks   "
                    "(target 0 each)\n",
                    IdleMs / 1000, tidy ? "on " : "off", idle.wakeUps, idle.ticks);
    }
    std::vector<double> ms;
    for (int i = 0; i < Drops; ++i)
        ms.push_back(Arrival(desktop, root + "repository\\", "Installed " + std::to_string(i) + ".lnk"));
    std::sort(ms.begin(), ms.end());
    std::printf("A new shortcut on the Desktop into the repository, Keep the Desktop tidy on: median %.0f ms, "
                "longest %.0f ms of %d   (target <= 2000 ms)\n",
                ms[ms.size() / 2], ms.back(), Drops);
    form.reset();
    test::RemoveTree(root);
    return 0;
}
