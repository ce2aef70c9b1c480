// The built zepton.exe, copied into a program folder of its own with a group,
// a tick file and a repository, started on a temporary Desktop: the start-up
// Apply's result on disk, then a polite close and what the close stores.
#include "core/Folders.h"
#include "core/Registry.h"
#include "tests/windows/CoreSandbox.h"
#include "tests/e2e/ProgramDriver.h"
#include "tests/windows/ProcessWindow.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace zep::test {
namespace {

// The build folder's executable as Wine sees it: Linux paths live on drive Z:.
std::string BuiltProgram() {
    std::string path = "Z:" ZEPTON_EXE;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

const std::string kSetupKey = "Software\\Kestrin\\Zep\\Setup";
const std::string kUserShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// A registry value of the prefix, put back as it was (or removed) when the guard goes.
class SavedValue {
public:
    SavedValue(std::string path, std::string name) : path_(std::move(path)), name_(std::move(name)) {
        const RegKey key = OpenKey(HKEY_CURRENT_USER, path_, false);
        DWORD size = 0;
        if (key && ::RegQueryValueExA(key.get(), name_.c_str(), nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
            bytes_.resize(size);
            existed_ = ::RegQueryValueExA(key.get(), name_.c_str(), nullptr, &type_, bytes_.data(), &size) ==
                       ERROR_SUCCESS;
        }
    }
    ~SavedValue() {
        const RegKey key = OpenKey(HKEY_CURRENT_USER, path_, true);
        if (existed_)
            ::RegSetValueExA(key.get(), name_.c_str(), 0, type_, bytes_.data(), static_cast<DWORD>(bytes_.size()));
        else
            ::RegDeleteValueA(key.get(), name_.c_str());
    }
    SavedValue(const SavedValue&) = delete;
    SavedValue& operator=(const SavedValue&) = delete;

private:
    std::string path_, name_;
    DWORD type_ = 0;
    std::vector<BYTE> bytes_;
    bool existed_ = false;
};

// The program started by the test; ended by force only if the test gave up on it.
class RunningProgram {
public:
    RunningProgram(const std::string& exe, const std::string& folder) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string commandLine = "\"" + exe + "\"";
        started_ = ::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                    folder.c_str(), &startup, &info_) != FALSE;
    }
    ~RunningProgram() {
        if (!started_) return;
        if (::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(info_.hProcess, 99);
        ::CloseHandle(info_.hThread);
        ::CloseHandle(info_.hProcess);
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Started() const { return started_; }
    DWORD Id() const { return info_.dwProcessId; }
    // The exit code, or nothing if the program is still running after the wait.
    std::optional<DWORD> WaitForExit(DWORD milliseconds) const {
        if (::WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) return std::nullopt;
        DWORD code = 0;
        ::GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

// The program's main window: class and caption of the main form, owned by that process.
HWND MainWindowOf(DWORD processId) { return TopWindowOf(processId, "ZeptonWindow", "Zepton"); }

struct Folder {
    std::string path = MakeTempFolder("zepe2e-");
    ~Folder() { RemoveTree(path); }
};

// A program folder of its own holding the built zepton.exe, and a Desktop that
// the shell's settings point at for as long as the test runs.
class ZeptonProgram : public ::testing::Test {
protected:
    ZeptonProgram() {
        for (const std::string& f : {prog, desk, data, repo}) EXPECT_TRUE(::CreateDirectoryA(f.c_str(), nullptr)) << f;
        EXPECT_TRUE(::CopyFileA(BuiltProgram().c_str(), exe.c_str(), FALSE)) << BuiltProgram();
        // The program has no other way to be told where the Desktop is than the shell's own setting.
        // The shell rewrites "Shell Folders" from "User Shell Folders" whenever it works a folder out
        // (Wine does so while the program starts), so both are pointed at the temporary Desktop.
        for (const std::string& key : {ShellFoldersKey, kUserShellFoldersKey})
            WriteText(OpenKey(HKEY_CURRENT_USER, key, true).get(), "Desktop", desk.substr(0, desk.size() - 1));
    }

    const Folder root;
    const std::string prog = root.path + "prog\\", desk = root.path + "desk\\";
    const std::string data = prog + "data\\", repo = prog + "repository\\";
    const std::string exe = prog + "zepton.exe";
    const SavedValue desktop{ShellFoldersKey, "Desktop"}, userDesktop{kUserShellFoldersKey, "Desktop"};
    const SavedValue left{kSetupKey, "left"}, top{kSetupKey, "top"}, run{kSetupKey, "Run"};
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
    HWND window = nullptr;
    ASSERT_TRUE(Eventually([&] { return (window = MainWindowOf(program.Id())) != nullptr; }));

    // The start-up Apply: the Desktop's shortcuts went into the repository, Work's came back.
    EXPECT_TRUE(Eventually([&] { return Listing(desk) == "Editor.lnk Mail.lnk readme.txt"; })) << Listing(desk);
    EXPECT_EQ("Chess.lnk Editor.lnk Mail.lnk Notes.lnk", Listing(repo));
    EXPECT_EQ("new Chess", ReadBytes(repo + "Chess.lnk"));
    // Answered only from the message loop, after the start-up has ended.
    ASSERT_TRUE(::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 20000, nullptr));
    RECT r{};
    ::GetWindowRect(window, &r);
    EXPECT_EQ(140, r.left);
    EXPECT_EQ(130, r.top);

    // What the close writes must not be left over from the start.
    ASSERT_TRUE(::DeleteFileA((data + "status.ord").c_str()));
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kSetupKey.c_str(), "left");
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kSetupKey.c_str(), "Run");

    ASSERT_TRUE(::PostMessageA(window, WM_CLOSE, 0, 0));
    EXPECT_EQ(std::optional<DWORD>(0), program.WaitForExit(20000));
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

    const RunningProgram program(exe, prog);
    ASSERT_TRUE(program.Started()) << ::GetLastError();
    HWND main = nullptr;
    ASSERT_TRUE(Eventually([&] { return (main = MainWindowOf(program.Id())) != nullptr; }));
    ASSERT_TRUE(::SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 20000, nullptr));

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

}  // namespace
}  // namespace zep::test
