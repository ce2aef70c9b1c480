// Start-up to an idle message loop with the icon in the tray, and private
// memory once idle: the program against a bare Win32 program that puts one
// icon into the tray. Each is copied into a program folder of its own (empty
// data\ and repository\, so the program's start-up Apply has next to nothing
// to do), started, timed until its icon is drawn in the taskbar and its message
// loop waits for input, measured, and closed with WM_CLOSE; the next run starts
// once the icon has left the tray. Given the program's traced build too, it
// prints where the start-up time goes, step by step (ui/StartupTrace.h).
// Usage: startup_bench <zepton.exe> <bare.exe> [runs] [zepton_traced.exe]
#include "resources/resource.h"
#include "testing/ProcessWindow.h"
#include "testing/TempFolder.h"
#include "testing/TrayPixels.h"
#include "win/Handle.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr DWORD StartTimeoutMs = 30000, CloseTimeoutMs = 10000;
// Lets work the program queued for itself once idle (first paints) settle before memory is read.
constexpr DWORD SettleMs = 250;

struct Target {
    const char* label;
    std::string source;  // the executable as built
    const char* windowClass;
    const char* title;
    std::string exe;  // its copy in a program folder of its own
    std::optional<zep::test::TrayPicture> icon;  // its icon as the taskbar draws it
};

struct Sample {
    double ms;
    double privateKb;
    double startedAt;  // Now() when the process was created
};

double Now() {
    static LARGE_INTEGER frequency = [] { LARGE_INTEGER f; ::QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1e3 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "startup_bench: %s\n", what.c_str());
    std::exit(1);
}

// A program folder holding a copy of the executable and the program's empty data folders.
void Install(Target& target, const std::string& root) {
    const std::string folder = root + target.label + "\\";
    for (const std::string& f : {folder, folder + "data\\", folder + "repository\\"})
        if (!::CreateDirectoryA(f.c_str(), nullptr)) Fail("cannot create " + f);
    target.exe = folder + target.source.substr(target.source.find_last_of("\\/") + 1);
    if (!::CopyFileA(target.source.c_str(), target.exe.c_str(), FALSE)) Fail("cannot copy " + target.source);
}

// One start, measured from CreateProcess to the idle message loop, then closed politely.
Sample RunOnce(const Target& target) {
    const std::string folder = target.exe.substr(0, target.exe.find_last_of('\\') + 1);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string commandLine = "\"" + target.exe + "\"";
    const double start = Now();
    if (!::CreateProcessA(target.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                          &startup, &info))
        Fail("cannot start " + target.exe);
    const zep::KernelObject process(info.hProcess), thread(info.hThread);

    // The icon is in the tray before the message loop starts; the loop is idle when the
    // process waits for input and a message sent to its window has come back.
    HWND window = nullptr;
    while (!(window = zep::test::TopWindowOf(info.dwProcessId, target.windowClass, target.title)) ||
           !target.icon->FindInTaskbar()) {
        if (::WaitForSingleObject(process.get(), 1) == WAIT_OBJECT_0) Fail(std::string(target.label) + " exited early");
        if (Now() - start > StartTimeoutMs) Fail(std::string(target.label) + " put no icon into the tray");
    }
    ::WaitForInputIdle(process.get(), StartTimeoutMs);
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, StartTimeoutMs, &result))
        Fail(std::string(target.label) + " does not answer");
    const double ms = Now() - start;

    ::Sleep(SettleMs);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (!::GetProcessMemoryInfo(process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
        Fail("cannot read the memory of " + std::string(target.label));

    ::PostMessageA(window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process.get(), CloseTimeoutMs) != WAIT_OBJECT_0) {
        // Our own child in a throwaway prefix: ending it keeps the next run clean.
        ::TerminateProcess(process.get(), 1);
        Fail(std::string(target.label) + " did not close on WM_CLOSE");
    }
    for (const double closed = Now(); target.icon->FindInTaskbar(); ::Sleep(10))
        if (Now() - closed > CloseTimeoutMs) Fail(std::string(target.label) + " left its icon in the tray");
    // Windows reports the private commit charge in both fields; Wine leaves PrivateUsage 0
    // and gives the process's resident anonymous memory as PagefileUsage.
    const SIZE_T privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    return {ms, static_cast<double>(privateBytes) / 1024.0, start};
}

// The steps of one traced start, in the order they happened: name and ms since the process was created.
using Trace = std::vector<std::pair<std::string, double>>;

Trace ReadTrace(const std::string& path, const Sample& run) {
    Trace trace;
    std::ifstream file(path);
    double at;
    std::string step;
    while (file >> at && std::getline(file >> std::ws, step)) trace.emplace_back(step, at - run.startedAt);
    if (trace.empty()) Fail("the traced program recorded no step in " + path);
    trace.emplace_back("idle, icon in the tray", run.ms);
    return trace;
}

// Each step's median time since the process was created, and the median time the step took.
void PrintTrace(const std::vector<Trace>& traces) {
    std::printf("\nWhere the start-up goes (traced build, median of %zu runs)\n", traces.size());
    std::printf("  %-52s %9s %9s\n", "step", "at", "took");
    for (size_t i = 0; i < traces.front().size(); ++i) {
        std::vector<double> at, took;
        for (const Trace& t : traces) {
            if (t.size() != traces.front().size()) Fail("traced runs went through different steps");
            at.push_back(t[i].second);
            took.push_back(t[i].second - (i ? t[i - 1].second : 0.0));
        }
        std::printf("  %-52s %6.1f ms %6.1f ms\n", traces.front()[i].first.c_str(), Median(at), Median(took));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) Fail("usage: startup_bench <zepton.exe> <bare.exe> [runs] [zepton_traced.exe]");
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 10;
    // The program's application window: its main window is made when first shown.
    std::vector<Target> targets = {{"zepton", argv[1], "ZeptonApplication", "Zepton", {}, {}},
                                   {"bare", argv[2], "BareWindow", "Bare", {}, {}}};
    if (argc > 4) targets.push_back({"traced", argv[4], "ZeptonApplication", "Zepton", {}, {}});
    const auto zeptonIcon = zep::test::SmallIconOf(argv[1], IDI_ZEPTON);
    for (auto& t : targets)  // bare has IDI_APPLICATION
        t.icon.emplace(&t == &targets[1] ? ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512)) : zeptonIcon.get());
    const std::string root = zep::test::MakeTempFolder("zepton-startup-");
    for (auto& t : targets) Install(t, root);
    const std::string tracePath = root + "startup.trace";
    ::SetEnvironmentVariableA("ZEPTON_STARTUP_TRACE", tracePath.c_str());  // read by the traced build alone

    for (const auto& t : targets) RunOnce(t);  // warm-up: file cache, first-run registry keys
    std::vector<double> ms[2], kb[2];
    std::vector<Trace> traces;
    for (int r = 0; r < runs; ++r)
        for (size_t i = 0; i < targets.size(); ++i) {  // alternated, so all see the same machine load
            const Sample s = RunOnce(targets[i]);
            if (i == 2) {
                traces.push_back(ReadTrace(tracePath, s));
                continue;
            }
            ms[i].push_back(s.ms);
            kb[i].push_back(s.privateKb);
        }

    std::printf("Start-up to an idle message loop with the icon in the tray, and private memory once idle"
                " (median of %d runs)\n", runs);
    std::printf("  %-24s %10s %12s\n", "", "start-up", "private");
    std::printf("  %-24s %7.1f ms %9.0f KB\n", "zepton", Median(ms[0]), Median(kb[0]));
    std::printf("  %-24s %7.1f ms %9.0f KB\n", "bare Win32 tray icon", Median(ms[1]), Median(kb[1]));
    std::printf("  %-24s %10.2f %12.2f   (targets <= 1.2 and <= 1.3)\n", "ratio", Median(ms[0]) / Median(ms[1]),
                Median(kb[0]) / Median(kb[1]));
    if (!traces.empty()) PrintTrace(traces);
    zep::test::RemoveTree(root);
    return 0;
}
