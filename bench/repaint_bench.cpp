// Repainting the main window: the median time of one full repaint, the
// program's GDI objects before and after 1,000 of them (the count must not
// grow), and how many fonts, pens and brushes the toolkit makes for one warm
// repaint (the aim is none). The window works on a throwaway program folder,
// Desktop and settings key.
#include "core/FileSystem.h"
#include "core/Registry.h"
#include "toolkit/Forms.h"
#include "toolkit/Graphics.h"
#include "ui/MainUnit.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int Repaints = 1000;

double NowMs() {
    static LARGE_INTEGER frequency = [] { LARGE_INTEGER f; ::QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1e3 / static_cast<double>(frequency.QuadPart);
}

DWORD GdiObjects() { return ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS); }

// A program folder with a few groups, and an empty Desktop beside it.
std::string MakeProgramFolder() {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    const std::string root = std::string(temp) + "zepton-repaint-" + std::to_string(::GetCurrentProcessId()) + "\\";
    for (const char* sub : {"", "data\\", "repository\\", "Desktop\\"}) zep::EnsureDirectory(root + sub);
    for (const char* group : {"Games", "Office", "Tools"}) zep::StagingArea().Replace(root + "data\\" + group + ".dat", "");
    return root;
}

void RemoveProgramFolder(const std::string& root) {
    for (const char* group : {"Games", "Office", "Tools"}) ::DeleteFileA((root + "data\\" + group + ".dat").c_str());
    ::DeleteFileA((root + "data\\status.ord").c_str());
    for (const char* sub : {"data\\", "repository\\", "Desktop\\", ""}) ::RemoveDirectoryA((root + sub).c_str());
}

void Repaint(HWND window) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

}  // namespace

int main() {
    using namespace zep;
    const std::string root = MakeProgramFolder();
    const std::string key = "Software\\ZeptonBench\\" + std::to_string(::GetCurrentProcessId());
    {
        const RegKey shell = OpenKey(HKEY_CURRENT_USER, key + "\\Shell Folders", true);
        WriteText(shell.get(), "Desktop", root + "Desktop");
    }
    MainFormEnvironment environment;
    environment.exePath = root + "zepton.exe";
    environment.shellFoldersKey = "\\" + key + "\\Shell Folders";
    environment.settingsKeys = {HKEY_CURRENT_USER, "\\" + key + "\\Setup", HKEY_CURRENT_USER, key + "\\Run",
                                HKEY_CURRENT_USER, key + "\\UserRun"};

    Application().Initialize();
    Application().SetTitle("Zepton");
    std::vector<double> times;
    DWORD before = 0, after = 0;
    std::size_t warm = 0;
    {
        const auto main = MakeForm<TMainForm>(nullptr, environment);
        TMainForm& form = *main;
        form.Show();
        Application().ProcessMessages();
        Repaint(form.Handle());  // the first paint may make what later ones reuse
        before = GdiObjects();
        const std::size_t made = GdiObjectsMade();
        Repaint(form.Handle());
        warm = GdiObjectsMade() - made;
        for (int i = 0; i < Repaints; ++i) {
            const double start = NowMs();
            Repaint(form.Handle());
            times.push_back(NowMs() - start);
        }
        after = GdiObjects();
    }
    ::RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\ZeptonBench");
    RemoveProgramFolder(root);

    std::sort(times.begin(), times.end());
    std::printf("Repaint of the main window: median %.3f ms over %d repaints\n", times[times.size() / 2], Repaints);
    std::printf("GDI objects of the process: %lu before, %lu after%s\n", before, after,
                after > before ? " (GREW)" : before == 0 ? " (not reported by this system)" : "");
    std::printf("Fonts, pens and brushes made by one warm repaint: %zu\n", warm);
    return after > before ? 1 : 0;
}
