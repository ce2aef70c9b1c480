// Start-up folders and the registry settings, against a key of the test's own.
#include "CoreSandbox.h"
#include "core/Errors.h"
#include "core/Registry.h"
#include "core/Settings.h"

namespace zep::test {
namespace {

class Settings : public ::testing::Test {
protected:
    Settings() {
        keys.setupRoot = keys.runRoot = keys.userRunRoot = HKEY_CURRENT_USER;
        keys.setupPath = "\\" + temp.Sub("Setup");  // absolute, as the program's own path is
        keys.runPath = temp.Sub("Run");
        keys.userRunPath = temp.Sub("UserRun");
    }

    void SetRaw(const std::string& path, const char* name, DWORD type, const void* data, DWORD size) {
        RegKey key = OpenKey(HKEY_CURRENT_USER, path, true);
        ASSERT_TRUE(key);
        ASSERT_EQ(::RegSetValueExA(key.get(), name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    }
    void SetDword(const std::string& path, const char* name, DWORD v) { SetRaw(path, name, REG_DWORD, &v, sizeof v); }
    void SetText(const std::string& path, const char* name, const std::string& v) {
        SetRaw(path, name, REG_SZ, v.c_str(), static_cast<DWORD>(v.size() + 1));
    }
    bool KeyExists(const std::string& path) { return static_cast<bool>(OpenKey(HKEY_CURRENT_USER, path, false)); }

    TempKey temp;
    SettingsKeys keys;
};

TEST_F(Settings, MissingKeyGivesTheDefaults) {
    const WindowSettings s = RestoreSettings(keys);
    EXPECT_EQ(s.left, 15);
    EXPECT_EQ(s.top, 15);
    EXPECT_TRUE(s.autoRun);
    EXPECT_FALSE(KeyExists(keys.setupPath));
}

TEST_F(Settings, StoredValuesComeBackAsTheyWere) {
    StoreSettings({-3000, 70000, false}, keys);
    RegKey key = OpenKey(HKEY_CURRENT_USER, keys.setupPath, false);
    for (const char* name : {"top", "left", "Run"}) {
        DWORD type = 0;
        ASSERT_EQ(::RegQueryValueExA(key.get(), name, nullptr, &type, nullptr, nullptr), ERROR_SUCCESS) << name;
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << name;
    }
    EXPECT_EQ(ReadDword(key.get(), "Run"), 0);
    const WindowSettings s = RestoreSettings(keys);
    EXPECT_EQ(s.left, -3000);
    EXPECT_EQ(s.top, 70000);
    EXPECT_FALSE(s.autoRun);

    SetDword(keys.setupPath, "Run", 2);
    EXPECT_TRUE(RestoreSettings(keys).autoRun);
}

TEST_F(Settings, ValuesOfAnotherTypeCountAsMissing) {
    SetText(keys.setupPath, "top", "100");
    const BYTE bytes[4] = {1, 0, 0, 0};
    SetRaw(keys.setupPath, "Run", REG_BINARY, bytes, sizeof bytes);
    SetDword(keys.setupPath, "left", 40);
    const WindowSettings s = RestoreSettings(keys);
    EXPECT_EQ(s.top, 15);
    EXPECT_EQ(s.left, 40);
    EXPECT_TRUE(s.autoRun);

    SetDword(keys.setupPath, "Run", 0);
    SetRaw(keys.setupPath, "left", REG_BINARY, bytes, 2);  // too short to be a number
    EXPECT_EQ(RestoreSettings(keys).left, 15);
    EXPECT_FALSE(RestoreSettings(keys).autoRun);
}

TEST_F(Settings, AutoRunEntryIsWrittenAndRemoved) {
    EnableAutoRun("C:\\Program Files\\Zepton\\zepton.exe", keys);
    RegKey run = OpenKey(HKEY_CURRENT_USER, keys.runPath, false);
    ASSERT_TRUE(run);
    DWORD type = 0;
    ASSERT_EQ(::RegQueryValueExA(run.get(), "Zepton", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(ReadText(run.get(), "Zepton"), "\"C:\\Program Files\\Zepton\\zepton.exe\"");

    EnableAutoRun("D:\\moved\\zepton.exe", keys);
    EXPECT_EQ(ReadText(run.get(), "Zepton"), "\"D:\\moved\\zepton.exe\"");
    SetText(keys.runPath, "Other", "x");
    DisableAutoRun(keys);
    EXPECT_FALSE(ReadText(run.get(), "Zepton"));
    EXPECT_EQ(ReadText(run.get(), "Other"), "x");
    DisableAutoRun(keys);  // nothing left to remove: no error
}

TEST_F(Settings, DisableWithoutTheKeyDoesNothing_EnableFailureIsReported) {
    DisableAutoRun(keys);
    EXPECT_FALSE(KeyExists(keys.runPath));

    // A parent key deleted while still open: nothing can be created below it.
    ASSERT_TRUE(OpenKey(HKEY_CURRENT_USER, temp.Sub("Doomed"), true));
    RegKey doomed = OpenKey(HKEY_CURRENT_USER, temp.Sub("Doomed"), false);
    ASSERT_EQ(::RegDeleteTreeA(HKEY_CURRENT_USER, temp.Sub("Doomed").c_str()), ERROR_SUCCESS);
    keys.runRoot = keys.userRunRoot = keys.setupRoot = doomed.get();
    keys.runPath = keys.userRunPath = keys.setupPath = "Sub";
    EXPECT_THROW(EnableAutoRun("C:\\zepton.exe", keys), RegistryError);
    EXPECT_THROW(StoreSettings({}, keys), RegistryError);
    DisableAutoRun(keys);
}

TEST_F(Settings, AutoRunFallsBackToTheUsersKeyWhenTheMachinesRefusesWriting) {
    const std::string exe = "C:\\Users\\me\\Zepton\\zepton.exe";
    auto entry = [](const std::string& path) { return ReadText(OpenKey(HKEY_CURRENT_USER, path, false).get(), "Zepton"); };
    {
        const LockedKey machine(keys.runPath);
        EXPECT_NO_THROW(EnableAutoRun(exe, keys));
        EXPECT_EQ('"' + exe + '"', entry(keys.userRunPath));
        EXPECT_FALSE(entry(keys.runPath));
        {
            const LockedKey user(keys.userRunPath);
            EXPECT_THROW(EnableAutoRun(exe, keys), RegistryError);  // neither key takes it
        }
        DisableAutoRun(keys);
        EXPECT_FALSE(entry(keys.userRunPath));
    }
    // Where the machine's key takes it, an older entry of the user's goes: one start at logon.
    SetText(keys.userRunPath, "Zepton", "C:\\old\\zepton.exe");
    EnableAutoRun(exe, keys);
    EXPECT_EQ('"' + exe + '"', entry(keys.runPath));
    EXPECT_FALSE(entry(keys.userRunPath));
    SetText(keys.userRunPath, "Zepton", "C:\\old\\zepton.exe");
    DisableAutoRun(keys);
    EXPECT_FALSE(entry(keys.runPath));
    EXPECT_FALSE(entry(keys.userRunPath));
}

class StartFolders : public Sandbox {
protected:
    TempKey temp;
};

TEST_F(StartFolders, DesktopFromTheShellSettingsElseTheWindowsFolder) {
    RemoveTree(folders.DataFolder);
    WriteBytes(folders.RepositoryFolder + "keep.lnk", "k");
    const std::string shell = temp.Sub("Shell Folders");
    RegKey key = OpenKey(HKEY_CURRENT_USER, shell, true);
    const std::string stored = "%USERPROFILE%\\Desk";
    ASSERT_EQ(::RegSetValueExA(key.get(), "Desktop", 0, REG_SZ, reinterpret_cast<const BYTE*>(stored.c_str()),
                               static_cast<DWORD>(stored.size() + 1)), ERROR_SUCCESS);

    const Folders f = ResolveFolders(folders.ProgramFolder + "zepton.exe", "\\" + shell);
    EXPECT_EQ(f.ProgramFolder, folders.ProgramFolder);
    EXPECT_EQ(f.DesktopFolder, stored + "\\");  // taken as stored
    EXPECT_EQ(f.DataFolder, folders.ProgramFolder + "data\\");
    EXPECT_EQ(f.RepositoryFolder, folders.ProgramFolder + "repository\\");
    EXPECT_EQ(f.StatusFile, folders.ProgramFolder + "data\\status.ord");
    EXPECT_TRUE(Exists(f.DataFolder));
    EXPECT_EQ(ReadBytes(f.RepositoryFolder + "keep.lnk"), "k");

    char windows[MAX_PATH];
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    ::RegDeleteValueA(key.get(), "Desktop");
    EXPECT_EQ(ResolveFolders(folders.ProgramFolder + "zepton.exe", shell).DesktopFolder,
              std::string(windows) + "\\desktop\\");
    const DWORD number = 5;
    ::RegSetValueExA(key.get(), "Desktop", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    EXPECT_EQ(ResolveFolders(folders.ProgramFolder + "zepton.exe", shell).DesktopFolder,
              std::string(windows) + "\\desktop\\");
    EXPECT_EQ(ResolveFolders(folders.ProgramFolder + "zepton.exe", temp.Sub("none")).DesktopFolder,
              std::string(windows) + "\\desktop\\");
}

TEST_F(StartFolders, ProgramInADriveRoot) {
    const Folders f = ResolveFolders("Q:\\prog.exe", temp.Sub("none"));
    EXPECT_EQ(f.ProgramFolder, "Q:\\");
    EXPECT_EQ(f.DataFolder, "Q:\\data\\");
    EXPECT_EQ(f.StatusFile, "Q:\\data\\status.ord");
}

TEST(ExecutablePath, IsTheRunningProgram) {
    const std::string path = ExecutablePath();
    ASSERT_GT(path.size(), 3u);
    EXPECT_EQ(path.substr(1, 2), ":\\");
    EXPECT_EQ(path.substr(path.find_last_of('\\') + 1), "core_settings_test.exe");
}

}  // namespace
}  // namespace zep::test
