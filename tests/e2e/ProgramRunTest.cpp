// The built zepton.exe, copied into a program folder of its own with a group,
// a tick file and a repository, started on a temporary Desktop: the start-up
// Apply's result on disk, life in the notification area of the real shell,
// then "Exit" from the icon's menu and what it stores. It points the user's own
// Desktop setting at the temporary Desktop, so it runs only under Wine, in the
// throwaway prefix the test scripts make.
#include "core/Folders.h"
#include "core/Registry.h"
#include "resources/resource.h"
#include "tests/windows/CoreSandbox.h"
#include "tests/e2e/ProgramDriver.h"
#include "testing/ProcessWindow.h"
#include "testing/RunningProgram.h"
#include "testing/TrayPixels.h"
#include "testing/WinePrefix.h"

#include <shellapi.h>

#include <algorithm>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zep::test {
namespace {

// The build folder's executable, a Linux path, as Wine names it.
std::string BuiltProgram() {
    const auto toDos = WineExport<WCHAR*(CDECL*)(const char*)>("kernel32.dll", "wine_get_dos_file_name");
    WCHAR* wide = toDos ? toDos(ZEPTON_EXE) : nullptr;
    if (!wide) return ZEPTON_EXE;
    char path[MAX_PATH] = {};
    ::WideCharToMultiByte(CP_ACP, 0, wide, -1, path, MAX_PATH, nullptr, nullptr);
    ::HeapFree(::GetProcessHeap(), 0, wide);
    return path;
}

const std::string kSetupKey = "Software\\Kestrin\\Zep\\Setup";

// The program's main window: class and caption of the main form, owned by that
// process; made when first shown.
HWND MainWindowOf(DWORD processId) { return TopWindowOf(processId, "ZeptonWindow", "Zepton"); }
// Its application window, hidden: the one it has from its start.
HWND ApplicationWindowOf(DWORD processId) { return TopWindowOf(processId, "ZeptonApplication", "Zepton"); }

// A right click on the icon, as the taskbar receives it, then the menu it opens;
// see ChooseFromTheTrayMenu for its items.
HWND OpenTrayMenu(POINT icon, DWORD processId) {
    HWND taskbar = ::FindWindowA("Shell_TrayWnd", nullptr);
    POINT at{icon.x + 8, icon.y + 8};
    ::SetCursorPos(at.x, at.y);
    ::ScreenToClient(taskbar, &at);
    ::PostMessageA(taskbar, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
    ::PostMessageA(taskbar, WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    HWND menu = nullptr;
    Eventually([&] {
        menu = TopWindowOf(processId, "#32768", "");
        return menu && ::IsWindowVisible(menu);
    });
    return menu;
}


bool Visible(HWND window) { return ::IsWindowVisible(window) != FALSE; }

struct Folder {
    std::string path = MakeTempFolder("zepe2e-");
    ~Folder() { RemoveTree(path); }
};

// A program folder of its own holding the built zepton.exe, and a Desktop that
// the shell's settings point at for as long as the test runs.
class ZeptonProgram : public ::testing::Test {
protected:
    void SetUp() override {
        if (!UnderWine())
            GTEST_SKIP() << "runs only under Wine: it rewrites the user's Desktop setting, which only a throwaway "
                            "Wine prefix may have rewritten";
        for (const std::string& f : {prog, desk, data, repo}) ASSERT_TRUE(::CreateDirectoryA(f.c_str(), nullptr)) << f;
        ASSERT_TRUE(::CopyFileA(BuiltProgram().c_str(), exe.c_str(), FALSE)) << BuiltProgram();
        desktop.emplace(desk);
        icon.emplace(SmallIconOf(exe, IDI_ZEPTON).get());
        // An icon left by a program that has just ended (another test's) may take a moment to go.
        ASSERT_TRUE(Eventually([&] { return !icon->FindInTaskbar(); }));
    }

    // The program's application window, once it answers messages with its icon
    // in the tray. Its start-up Apply may still be running: the start-up lets
    // waiting messages through before it applies.
    HWND StartedInTheTray(const RunningProgram& program) {
        HWND window = nullptr;
        EXPECT_TRUE(Eventually([&] { return (window = ApplicationWindowOf(program.Id())) != nullptr; }));
        EXPECT_TRUE(window && ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 20000, nullptr));
        EXPECT_TRUE(Eventually([&] { return (at = icon->FindInTaskbar()).has_value(); }));
        return window;
    }

    // A tray menu item chosen by its underlined letters: "s" for "&Show window",
    // "x" for "E&xit", "gw" for the group Work of "&Groups". (Arrow keys would
    // depend on where the pointer left the highlight.)
    // Under load Wine's menu may lose the letter: the menu is then closed and
    // opened again, up to three times, until the choice has taken effect.
    bool ChooseFromTheTrayMenu(const RunningProgram& program, const std::string& keys,
                               const std::function<bool()>& done) {
        for (int attempt = 0; attempt < 3 && at; ++attempt) {
            if (HWND menu = OpenTrayMenu(*at, program.Id())) {
                for (const char key : keys) ::PostMessageA(menu, WM_CHAR, static_cast<WPARAM>(key), 0);
                if (Eventually(done, 5)) return true;
                if (::IsWindowVisible(menu)) ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
                Eventually([menu] { return !::IsWindowVisible(menu); }, 5);
            }
        }
        return false;
    }

    const Folder root;
    const std::string prog = root.path + "prog\\", desk = root.path + "desk\\";
    const std::string data = prog + "data\\", repo = prog + "repository\\";
    const std::string exe = prog + "zepton.exe";
    std::optional<DesktopRedirect> desktop;
    const SavedValue left{kSetupKey, "left"}, top{kSetupKey, "top"}, run{kSetupKey, "Run"};
    std::optional<TrayPicture> icon;
    std::optional<POINT> at;  // where the icon was last found
};

TEST_F(ZeptonProgram, StartupAppliesTheSavedTicksAndClosingStoresTheSettings) {
    WriteBytes(data + "Work.dat", "Mail\r\nEditor\r\n");
    WriteBytes(data + "Games.dat", "Chess\r\n");
    WriteBytes(data + "status.ord", "[Status]\r\nWork=1\r\nGames=0\r\n");
    WriteBytes(repo + "Mail.lnk", "Mail");
    WriteBytes(repo + "Editor.lnk", "Editor");
    WriteBytes(repo + "Chess.lnk", "old Chess");
    WriteBytes(desk + "Chess.lnk", "new Chess");
    WriteBytes(desk + "Notes.lnk", "Notes");
    WriteBytes(desk + "readme.txt", "not a shortcut");
    {
        const RegKey setup = OpenKey(HKEY_CURRENT_USER, kSetupKey, true);
        WriteDword(setup.get(), "left", 140);
        WriteDword(setup.get(), "top", 130);
        WriteDword(setup.get(), "Run", 0);
    }

    const RunningProgram program(exe, prog);
    ASSERT_TRUE(program.Started()) << ::GetLastError();
    HWND app = StartedInTheTray(program);
    ASSERT_TRUE(app && at);

    // The start-up Apply: the Desktop's shortcuts went into the repository, Work's came back.
    EXPECT_TRUE(Eventually([&] { return Listing(desk) == "Editor.lnk Mail.lnk readme.txt"; })) << Listing(desk);
    EXPECT_EQ("Chess.lnk Editor.lnk Mail.lnk Notes.lnk", Listing(repo));
    EXPECT_EQ("new Chess", ReadBytes(repo + "Chess.lnk"));

    // Only the icon shows: no taskbar button (the application window is hidden),
    // and no main window, made when first shown.
    EXPECT_FALSE(Visible(app));
    EXPECT_FALSE(MainWindowOf(program.Id()));

    // "Show window" brings the window up in front, where the settings put it.
    HWND window = nullptr;
    EXPECT_TRUE(ChooseFromTheTrayMenu(program, "s", [&] {
        return (window = MainWindowOf(program.Id())) && Visible(window) && Visible(app);
    }));
    ASSERT_TRUE(window);
    EXPECT_TRUE(Eventually([&] { return ::GetForegroundWindow() == window; }));
    RECT r{};
    ::GetWindowRect(window, &r);
    EXPECT_EQ(140, r.left);
    EXPECT_EQ(130, r.top);
    // Minimising sends it back to the tray.
    ::PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(Eventually([&] { return !Visible(window) && !Visible(app); }));
    EXPECT_TRUE(icon->FindInTaskbar());

    // What the close writes must not be left over from the start, nor come from a second start.
    ASSERT_TRUE(::DeleteFileA((data + "status.ord").c_str()));
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kSetupKey.c_str(), "left");
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kSetupKey.c_str(), "Run");

    // A start from another folder while the first is hidden, even hung, brings
    // the first's window up in front and ends at once, changing nothing.
    const std::string other = root.path + "other\\";
    ASSERT_TRUE(::CreateDirectoryA(other.c_str(), nullptr) && ::CopyFileA(exe.c_str(), (other + "z.exe").c_str(), 0));
    ::SuspendThread(program.MainThread());
    EXPECT_EQ(std::optional<DWORD>(0), RunningProgram(other + "z.exe", other).WaitForExit(20000));
    ::ResumeThread(program.MainThread());
    EXPECT_TRUE(Eventually([&] { return Visible(window) && ::GetForegroundWindow() == window; }));
    EXPECT_FALSE(icon->FindInTaskbar(1));
    EXPECT_EQ("Editor.lnk Mail.lnk readme.txt|Games.dat Work.dat|z.exe",
              Listing(desk) + "|" + Listing(data) + "|" + Listing(other));
    EXPECT_EQ(std::nullopt, ReadDword(OpenKey(HKEY_CURRENT_USER, kSetupKey, false).get(), "Run"));

    // A taskbar made anew holds no icons: the program puts its own back when told.
    // The shell knows an icon by its window and identifier: the first icon's, 1.
    for (HWND w = nullptr; (w = ::FindWindowExA(HWND_MESSAGE, w, "ZeptonMessageWindow", nullptr));) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        NOTIFYICONDATAA record{};
        record.cbSize = NOTIFYICONDATAA_V2_SIZE;
        record.hWnd = w;
        record.uID = 1;
        if (owner == program.Id()) ::Shell_NotifyIconA(NIM_DELETE, &record);
    }
    ASSERT_TRUE(Eventually([&] { return !icon->FindInTaskbar(); }));
    ::SendNotifyMessageA(HWND_BROADCAST, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    ASSERT_TRUE(Eventually([&] { return (at = icon->FindInTaskbar()).has_value(); }));

    // "Exit" ends the program, and its icon leaves the tray.
    EXPECT_TRUE(ChooseFromTheTrayMenu(program, "x", [&] { return program.WaitForExit(0).has_value(); }));
    EXPECT_EQ(std::optional<DWORD>(0), program.WaitForExit(20000));
    EXPECT_TRUE(Eventually([&] { return !icon->FindInTaskbar(); }));
    EXPECT_EQ("\r\n[Status]\r\nGames=0\r\nWork=1\r\n", ReadBytes(data + "status.ord"));
    const RegKey setup = OpenKey(HKEY_CURRENT_USER, kSetupKey, false);
    EXPECT_EQ(140, ReadDword(setup.get(), "left"));
    EXPECT_EQ(130, ReadDword(setup.get(), "top"));
    EXPECT_EQ(0, ReadDword(setup.get(), "Run"));
    EXPECT_EQ("Editor.lnk Mail.lnk readme.txt", Listing(desk));
}

// Groups Configuration from the tool bar: a group composed of two shortcuts and
// saved, then listed in the main window and, ticked, shown by the preview.
TEST_F(ZeptonProgram, ComposeAGroupThenSeeItListedAndPreviewed) {
    WriteBytes(data + "Games.dat", "Chess\r\n");
    WriteBytes(data + "status.ord", "[Status]\r\nGames=0\r\n");
    WriteBytes(repo + "Chess.lnk", "Chess");
    WriteBytes(repo + "Mail.lnk", "Mail");
    WriteBytes(desk + "Editor.lnk", "Editor");

    // Started three times at one moment: one runs, with one icon; the others bring it up and end with 0.
    std::deque<RunningProgram> starts;
    for (int i = 0; i < 3; ++i) starts.emplace_back(exe, prog);
    const auto ended = [](const RunningProgram& p) { return p.WaitForExit(0) == 0u; };
    ASSERT_TRUE(Eventually([&] { return std::count_if(starts.begin(), starts.end(), ended) == 2; }));
    const RunningProgram& program = *std::find_if_not(starts.begin(), starts.end(), ended);
    ASSERT_TRUE(StartedInTheTray(program) && at);
    HWND main = nullptr;
    ASSERT_TRUE(Eventually([&] { return (main = MainWindowOf(program.Id())) && Visible(main); }));
    EXPECT_FALSE(icon->FindInTaskbar(1));

    HWND config = OpenGroupsConfiguration(main);
    ASSERT_TRUE(config);
    EXPECT_FALSE(::IsWindowEnabled(main));
    const HWND repository = Children(config, "ListBox").at(0);
    ASSERT_TRUE(Eventually([&] { return ListItems(repository).size() == 3; }));
    EXPECT_EQ((std::vector<std::string>{"Chess", "Editor", "Mail"}), ListItems(repository));
    ComposeGroup(config, {2, 1}, "Work");
    SaveGroup(config);
    EXPECT_TRUE(Eventually([&] { return ReadBytes(data + "Work.dat") == "Mail\r\nEditor\r\n"; }))
        << ReadBytes(data + "Work.dat");
    CloseGroupsConfiguration(config);
    EXPECT_TRUE(Eventually([&] { return !::IsWindowVisible(config) && ::IsWindowEnabled(main); }));
    EXPECT_EQ((std::vector<std::string>{"Games", "Work"}), ListItems(GroupList(main)));

    HWND preview = OpenPreview(main, 1);
    ASSERT_TRUE(preview);
    const HWND names = Children(preview, "ListBox").at(0);
    EXPECT_TRUE(Eventually([&] { return ListItems(names).size() == 2; }));
    EXPECT_EQ((std::vector<std::string>{"Editor", "Mail"}), ListItems(names));
    ClosePreview(preview);
    EXPECT_TRUE(Eventually([&] { return !::IsWindowVisible(preview) && ::IsWindowEnabled(main); }));

    ASSERT_TRUE(::PostMessageA(main, WM_CLOSE, 0, 0));
    EXPECT_EQ(std::optional<DWORD>(0), program.WaitForExit(20000));
    EXPECT_EQ("[Status]\r\nGames=0\r\nWork=1\r\n", ReadBytes(data + "status.ord"));
}

// Groups switched without the window: /apply with no Zepton running starts it
// with those ticks, to the running one it applies them, a group chosen from the
// tray menu lands too, and /exit ends it. An unknown group changes nothing and
// ends the start with 2, saying so.
TEST_F(ZeptonProgram, GroupsSwitchFromTheCommandLineAndTheTrayMenu) {
    WriteBytes(data + "Work.dat", "Mail\r\n");
    WriteBytes(data + "Games.dat", "Chess\r\n");
    const std::string status = data + "status.ord";
    WriteBytes(status, "[Status]\r\nGames=0\r\nWork=1\r\n");
    WriteBytes(repo + "Mail.lnk", "Mail");
    WriteBytes(repo + "Chess.lnk", "Chess");
    const auto run = [&](const std::string& arguments) { return RunningProgram(exe, prog, arguments).Outcome(30000); };
    const std::string unknown = "2 Zepton has no group named \"Nope\".\n";
    const auto state = [&] { return Listing(desk) + "|" + ReadBytes(status); };
    const auto reaches = [&](const std::string& wanted) { return [&, wanted] { return state() == wanted; }; };

    EXPECT_EQ(unknown, run("/apply Work Nope"));
    EXPECT_EQ("|[Status]\r\nGames=0\r\nWork=1\r\n", state());
    const RunningProgram program(exe, prog, "/apply GAMES");
    ASSERT_TRUE(StartedInTheTray(program) && at);
    EXPECT_TRUE(Eventually(reaches("Chess.lnk|[Status]\r\nGames=1\r\nWork=0\r\n"))) << state();

    EXPECT_EQ(unknown, run("/apply Work Nope"));
    EXPECT_EQ("0 ", run("/apply work games"));
    EXPECT_TRUE(Eventually(reaches("Chess.lnk Mail.lnk|[Status]\r\nGames=1\r\nWork=1\r\n"))) << state();
    EXPECT_TRUE(ChooseFromTheTrayMenu(program, "gg", reaches("Mail.lnk|[Status]\r\nGames=0\r\nWork=1\r\n")))
        << state();
    EXPECT_EQ("0 ", run("/exit"));
    EXPECT_EQ(std::optional<DWORD>(0), program.WaitForExit(20000));
}

// With "Keep the Desktop tidy" on, a shortcut dropped on the Desktop reaches the
// repository, one a ticked group names stays, and a half-written one is not
// taken before it is whole.
TEST_F(ZeptonProgram, AKeptTidyDesktopLetsNewShortcutsGoOnceWhole) {
    const SavedValue keepTidy{kSetupKey, "Keep tidy"};
    WriteDword(OpenKey(HKEY_CURRENT_USER, kSetupKey, true).get(), "Keep tidy", 1);
    WriteBytes(data + "Work.dat", "Mail\r\nEditor\r\n");
    WriteBytes(data + "status.ord", "[Status]\r\nWork=1\r\n");
    WriteBytes(repo + "Mail.lnk", "Mail");
    const RunningProgram program(exe, prog);
    HWND main = StartedInTheTray(program);
    // A command is taken only once the start-up is done: its Apply, and the watch armed after it.
    ASSERT_EQ(std::optional<DWORD>(0), RunningProgram(exe, prog, "/hide").WaitForExit(20000));
    ASSERT_TRUE(main && Listing(desk) == "Mail.lnk") << Listing(desk);
    FileHandle writer(
        ::CreateFileA((desk + "Half.lnk").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(writer.get(), "half", 4, &written, nullptr));
    WriteBytes(desk + "Editor.lnk", "Editor");
    WriteBytes(desk + "Setup.lnk", "Setup");
    EXPECT_TRUE(Eventually([&] { return Listing(repo) == "Mail.lnk Setup.lnk"; })) << Listing(repo);
    EXPECT_EQ("Editor.lnk Half.lnk Mail.lnk", Listing(desk));
    ASSERT_TRUE(::WriteFile(writer.get(), " and whole", 10, &written, nullptr));
    writer.reset();
    EXPECT_TRUE(Eventually([&] { return ReadBytes(repo + "Half.lnk") == "half and whole"; }));
    EXPECT_EQ("Editor.lnk Mail.lnk", Listing(desk));
    ASSERT_TRUE(::PostMessageA(main, WM_CLOSE, 0, 0));
    EXPECT_EQ(std::optional<DWORD>(0), program.WaitForExit(20000));
}

}  // namespace
}  // namespace zep::test
