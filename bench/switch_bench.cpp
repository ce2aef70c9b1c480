// Switching groups without the window, against the same Apply from it: a group
// chosen from the tray menu (the submenu filled, the item run), and
// "zepton.exe /apply" handed to the running program (one process start), each
// timed to the Desktop done and its ticks saved. Work is ticked, its shortcuts
// on the Desktop; the switch ticks Games too, and the next round starts again
// from Work alone. Runs only under Wine: it points the prefix's Desktop setting
// at a folder of its own for the running program.
// Usage: switch_bench <zepton.exe>
#include "bench/BenchTiming.h"
#include "testing/ProcessWindow.h"
#include "testing/RunningProgram.h"
#include "testing/TempFolder.h"
#include "testing/WinePrefix.h"
#include "ui/MainUnit.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace zep;
using bench::Median;
using bench::Now;

constexpr int GroupSize = 500, Rounds = 11;
constexpr DWORD WaitMs = 60000;
const std::string BenchKey = "Software\\ZeptonBench";
const std::string WorkTicked = "[Status]\r\nGames=0\r\nWork=1\r\n";

// Thrown, so that the running program is ended and the Desktop setting put back on the way out.
[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error(what); }

void Write(const std::string& path, const std::string& bytes) {
    if (!test::WritePlain(path, bytes)) Fail("cannot write " + path);
}

// A program folder holding the groups Work and Games and their shortcuts, Work
// ticked, and a Desktop of its own.
struct ProgramFolder {
    const std::string root = test::MakeTempFolder("zepswitch-");
    const std::string prog = root + "prog\\", desk = root + "desk\\", status = prog + "data\\status.ord";

    ProgramFolder() {
        for (const std::string& f : {prog, desk, prog + "data\\", prog + "repository\\"})
            ::CreateDirectoryA(f.c_str(), nullptr);
        for (const char* group : {"Work", "Games"}) {
            std::string lines;
            for (int i = 0; i < GroupSize; ++i) {
                const std::string name = group + std::to_string(i);
                Write(prog + "repository\\" + name + ".lnk", std::string(200, 'L'));
                lines += name + "\r\n";
            }
            Write(prog + "data\\" + group + ".dat", lines);
        }
        Write(status, WorkTicked);
    }
    ~ProgramFolder() { test::RemoveTree(root); }

    // When the ticks were saved last. Found in the folder's listing: a reader that
    // had the file open would keep the save from replacing it.
    ULONGLONG Saved() const {
        WIN32_FIND_DATAA found{};
        const FindHandle find(::FindFirstFileA(status.c_str(), &found));
        return ULONGLONG{found.ftLastWriteTime.dwHighDateTime} << 32 | found.ftLastWriteTime.dwLowDateTime;
    }
    int OnTheDesktop() const {
        int count = 0;
        WIN32_FIND_DATAA found;
        FindHandle find(::FindFirstFileA((desk + "*.lnk").c_str(), &found));
        if (find) do ++count;
            while (::FindNextFileA(find.get(), &found));
        return count;
    }
    // "zepton.exe /apply GROUPS" handed to the program running here, until it has saved the ticks: the time it took.
    double Switch(const std::string& exe, const std::string& groups) const {
        const ULONGLONG before = Saved();
        const double start = Now();
        const test::RunningProgram command(exe, prog, "/apply " + groups);
        for (; Saved() == before; ::Sleep(5))
            if (Now() - start > WaitMs / 1e3 || command.WaitForExit(0).value_or(0) != 0)
                Fail("/apply " + groups + " ended with " + command.Outcome(WaitMs));
        return Now() - start;
    }
};

// Games chosen from the tray menu, and ticked in the list for the Apply button,
// in the main window of this process.
class InProcess {
public:
    InProcess() {
        WriteText(OpenKey(HKEY_CURRENT_USER, BenchKey + "\\Shell Folders", true).get(), "Desktop",
                  folder_.desk.substr(0, folder_.desk.size() - 1));
        MainFormEnvironment environment;
        environment.exePath = folder_.prog + "zepton.exe";
        environment.shellFoldersKey = "\\" + BenchKey + "\\Shell Folders";
        environment.settingsKeys = {HKEY_CURRENT_USER, "\\" + BenchKey + "\\Setup", HKEY_CURRENT_USER,
                                    BenchKey + "\\Run", HKEY_CURRENT_USER, BenchKey + "\\UserRun"};
        form_ = MakeForm<TMainForm>(nullptr, environment);
    }
    ~InProcess() { ::RegDeleteTreeA(HKEY_CURRENT_USER, BenchKey.c_str()); }

    double FromTheTrayMenu() {
        return Timed([this] {
            Fire(form_->TrayPopMenu->OnPopup, form_->TrayPopMenu);
            form_->Groups1->Items.at(0)->Click();  // Games, listed first
        });
    }
    double FromTheWindow() {
        return Timed([this] {
            form_->GroupListBox->SetChecked(0, true);
            form_->ApplyButtonClick(form_.get());
        });
    }

private:
    template <class Switch>
    double Timed(Switch&& switchOn) {
        const double start = Now();
        switchOn();
        const double took = Now() - start;
        form_->SwitchGroups({"Work"});  // back for the next round
        return took;
    }

    const ProgramFolder folder_;
    std::unique_ptr<TMainForm> form_;
};

// "zepton.exe /apply Work Games" handed to the program running in a folder of its own.
class Running {
public:
    explicit Running(const std::string& built) {
        if (!::CopyFileA(built.c_str(), exe_.c_str(), FALSE)) Fail("cannot copy " + built);
        zepton_.emplace(exe_, folder_.prog);
        for (const double start = Now(); !(window_ = test::TopWindowOf(zepton_->Id(), "ZeptonApplication", "Zepton"));
             ::Sleep(10))
            if (Now() - start > WaitMs / 1e3) Fail("zepton.exe made no window");
        // Its start-up Apply has brought Work's shortcuts back; the first switch, untimed, waits for the rest.
        for (const double start = Now(); folder_.OnTheDesktop() < GroupSize; ::Sleep(50))
            if (Now() - start > WaitMs / 1e3) Fail("zepton.exe did not apply at its start");
        FromTheCommandLine();
    }
    ~Running() {
        ::PostMessageA(window_, WM_CLOSE, 0, 0);
        zepton_->WaitForExit(WaitMs);
    }

    double FromTheCommandLine() const {
        const double took = folder_.Switch(exe_, "Work Games");
        folder_.Switch(exe_, "Work");  // back for the next round
        return took;
    }

private:
    const ProgramFolder folder_;
    const std::string exe_ = folder_.prog + "zepton.exe";
    const test::DesktopRedirect desktop_{folder_.desk};
    std::optional<test::RunningProgram> zepton_;
    HWND window_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) try {
    if (argc < 2) Fail("usage: switch_bench <zepton.exe>");
    if (!test::UnderWine()) Fail("runs only under Wine: it rewrites the user's Desktop setting");
    Application().Initialize();
    InProcess inProcess;
    const Running running(argv[1]);
    std::vector<double> menu, window, commandLine;
    // Alternated, and in turn first, so that all see the same machine load.
    for (int round = 0; round < Rounds; ++round) {
        if (round % 2) window.push_back(inProcess.FromTheWindow());
        menu.push_back(inProcess.FromTheTrayMenu());
        if (round % 2 == 0) window.push_back(inProcess.FromTheWindow());
        commandLine.push_back(running.FromTheCommandLine());
    }
    std::printf("Switching groups: Work (%d shortcuts) ticked, Games (%d) switched on (median of %d rounds)\n",
                GroupSize, GroupSize, Rounds);
    bench::Report("tray menu's choice", Median(menu), "Apply from the window", Median(window), 1.05);
    bench::Report("zepton.exe /apply", Median(commandLine), "the same Apply in-process", Median(window), 1.3);
    return 0;
} catch (const std::exception& e) {
    std::fprintf(stderr, "switch_bench: %s\n", e.what());
    return 1;
}
