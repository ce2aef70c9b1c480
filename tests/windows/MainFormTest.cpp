// The main window in-process, on temporary folders and a temporary settings
// key: its layout, the start-up sequence, Trash, the pop-up menu, Apply by
// mouse, closing, a start-up Apply that fails, and the two windows it opens.
#include "core/Registry.h"
#include "tests/windows/AccessibleTree.h"
#include "tests/windows/CoreSandbox.h"
#include "tests/windows/FormProbe.h"
#include "tests/windows/ToolkitHarness.h"
#include "toolkit/Shell.h"
#include "ui/ContentUnit.h"
#include "ui/InfoUnit.h"
#include "ui/MainUnit.h"
#include "ui/SingleInstance.h"
#include "ui/Unit1.h"

#include <windowsx.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <thread>
#include <string>
#include <utility>
#include <vector>

namespace zep::test {
namespace {

std::string Ticks(const TMainForm& form) {
    std::string ticks;
    for (int i = 0; i < form.GroupListBox->Count(); ++i)
        ticks += (i ? " " : "") + form.GroupListBox->Items(i) + "=" + (form.GroupListBox->Checked(i) ? "1" : "0");
    return ticks;
}

// A click of the real pointer at a client point of a shown window: it moves
// there first, and each step has reached the window before the next, as a hand
// would do it.
void RealClick(HWND window, POINT p) {
    const POINT client = p;
    std::set<UINT> arrived;  // the mouse messages the window got at the point
    TWindowHook seen(window, [&](UINT message, WPARAM, LPARAM lParam, LRESULT&) {
        // A late report of the step beside may carry the press or the release.
        const int dx = std::abs(GET_X_LPARAM(lParam) - client.x), dy = GET_Y_LPARAM(lParam) - client.y;
        if (dy == 0 && (dx == 0 || (dx <= 2 && message != WM_MOUSEMOVE))) arrived.insert(message);
        return false;
    });
    ::ClientToScreen(window, &p);
    auto send = [](DWORD flags, int dx = 0, int dy = 0) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi = {dx, dy, 0, flags, 0, 0};
        ::SendInput(1, &input, sizeof input);
    };
    auto moveTo = [&send](int x, int y) {
        send(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, MulDiv(x, 65536, ::GetSystemMetrics(SM_CXSCREEN)) + 1,
             MulDiv(y, 65536, ::GetSystemMetrics(SM_CYSCREEN)) + 1);
    };
    auto reached = [&](UINT message) {
        return WaitUntil([&] { return arrived.count(message) != 0; }, 5);
    };
    // From a step beside the point, since a pointer already there would not
    // move. Under Wine a late report of an earlier position can undo a move:
    // move again until the window has seen the pointer at the point.
    bool there = false;
    for (int tries = 0; tries < 5 && !there; ++tries) {
        moveTo(p.x - 2, p.y);
        moveTo(p.x, p.y);
        there = reached(WM_MOUSEMOVE);
    }
    ASSERT_TRUE(there) << "the pointer did not reach the window";
    send(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(reached(WM_LBUTTONDOWN));
    send(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(reached(WM_LBUTTONUP));
    Flush();
}

// A click on a tool button, as the tool bar receives it.
void ClickToolButton(const TToolButton& button, HWND bar) {
    const RECT r = button.BoundsRect();  // from the bar's outer corner
    RECT window;
    ::GetWindowRect(bar, &window);
    POINT p{window.left + (r.left + r.right) / 2, window.top + (r.top + r.bottom) / 2};
    ::ScreenToClient(bar, &p);
    ::PostMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(p.x, p.y));
    ::PostMessageA(bar, WM_LBUTTONUP, 0, At(p.x, p.y));
    Flush();
}

// The titles and texts of the balloons the tray icon asks for; the shell itself is left out.
std::vector<std::string> balloons, balloonTexts;
BOOL WINAPI RecordBalloons(DWORD, PNOTIFYICONDATAA data) {
    const auto& record = *reinterpret_cast<const TNotifyIconData*>(data);
    if (record.uFlags & NIF_INFO) balloons.push_back(record.szInfoTitle), balloonTexts.push_back(record.szInfo);
    return TRUE;
}
BOOL WINAPI BusyShell(DWORD, PNOTIFYICONDATAA) { return FALSE; }

class MainFormTest : public Sandbox {
protected:
    static void SetUpTestSuite() { InitApplication(); }

    MainFormTest() { SetDesktop(desk); }

    void SetDesktop(const std::string& folder) {
        const RegKey shell = OpenKey(HKEY_CURRENT_USER, key.Sub("Shell Folders"), true);
        WriteText(shell.get(), "Desktop", folder.substr(0, folder.size() - 1));
    }
    MainFormEnvironment Environment() const {
        MainFormEnvironment e;
        e.exePath = folders.ProgramFolder + "zepton.exe";
        e.shellFoldersKey = "\\" + key.Sub("Shell Folders");
        e.settingsKeys = {HKEY_CURRENT_USER, "\\" + key.Sub("Setup"), HKEY_CURRENT_USER, key.Sub("Run"),
                          HKEY_CURRENT_USER, key.Sub("UserRun")};
        return e;
    }
    RegKey SetupKey() const { return OpenKey(HKEY_CURRENT_USER, key.Sub("Setup"), true); }

    // Makes the window as the program does; no message box may come up meanwhile.
    std::unique_ptr<TMainForm> Start() {
        BoxWatcher watcher;
        auto form = MakeForm<TMainForm>(nullptr, Environment());
        const SeenBox seen = watcher.Result();
        EXPECT_FALSE(seen.found) << seen.caption << ": " << seen.text;
        return form;
    }

    void Group(const std::string& name, const std::string& lines) { WriteBytes(data + name + ".dat", lines); }
    void Status(const std::string& bytes) { WriteBytes(folders.StatusFile, bytes); }
    void Shortcut(const std::string& folder, const std::string& name, const std::string& content) {
        WriteBytes(folder + name + ".lnk", content);
    }

    TempKey key;
};

TEST_F(MainFormTest, ControlsSitWhereTheWindowDescriptionPutsThem) {
    auto form = Start();
    HWND window = form->Handle();
    char caption[32] = {};
    ::GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ("Zepton", caption);
    EXPECT_EQ(234, form->ClientWidth());
    EXPECT_EQ(269, form->ClientHeight());
    const LONG style = ::GetWindowLongA(window, GWL_STYLE);
    EXPECT_TRUE((style & WS_SYSMENU) && (style & WS_MINIMIZEBOX));
    EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_THICKFRAME));

    EXPECT_EQ("0,0,234,29", Box(RectIn(form->ToolBar1->Handle(), window)));
    EXPECT_EQ("0,40,233,188", Box(RectIn(form->GroupBox1->Handle(), window)));
    EXPECT_EQ("6,56,220,137", Box(RectIn(form->GroupListBox->Handle(), window)));
    EXPECT_EQ(" Shortcuts' Groups : ", form->GroupBox1->Caption());
    // The list is drawn over the group box and is the first stop of the keyboard.
    EXPECT_EQ(form->GroupListBox->Handle(), ::GetWindow(window, GW_CHILD));
    EXPECT_EQ(form->GroupPopMenu, form->GroupListBox->PopupMenu());

    struct Oval {
        const TOvalButton* button;
        const TWinControl* parent;
        const char *bounds, *caption, *hint;
    };
    for (const Oval& o : {Oval{form->ApplyButton, form.get(), "79,235,76,30", "Apply", "Apply the selection"},
                          Oval{form->TrashButton, form->GroupBox1, "160,158,65,25", "Trash", "Delete selected groups"},
                          Oval{form->ViewButton, form->GroupBox1, "9,158,65,25", "Preview", "View selected group"}}) {
        EXPECT_EQ(o.parent, o.button->Parent()) << o.caption;
        EXPECT_EQ(o.bounds, Box(o.button->BoundsRect())) << o.caption;
        EXPECT_EQ(o.caption, o.button->Caption());
        EXPECT_EQ(o.hint, o.button->Hint());
        EXPECT_TRUE(o.button->ShowHint()) << o.caption;
        EXPECT_EQ(crHandPoint, o.button->Cursor()) << o.caption;
    }

    struct Tool {
        const TToolButton* button;
        int left, width, image;
        const char* hint;
    };
    for (const Tool& t : {Tool{form->ToolButton1, 5, 23, 1, "Exit"}, Tool{form->ToolButton6, 28, 12, -1, ""},
                          Tool{form->OptionsAutorun, 40, 23, 4, "Auto-Run"}, Tool{form->ToolButton7, 63, 12, -1, ""},
                          Tool{form->GrpConfig, 75, 23, 2, "Groups Configuration"},
                          Tool{form->AllShortButton, 98, 23, 6, "All Shortcuts"}, Tool{form->ToolButton8, 121, 12, -1, ""},
                          Tool{form->ToolButton4, 133, 23, 3, "Help..."}, Tool{form->ToolButton9, 156, 23, 5, "About..."}}) {
        const RECT r = t.button->BoundsRect();
        EXPECT_EQ(t.left, r.left) << t.hint << " at " << Box(r);
        EXPECT_EQ(2, r.top) << t.hint << " at " << Box(r);
        EXPECT_EQ(t.width, r.right - r.left) << t.hint;
        if (t.image >= 0) {
            EXPECT_EQ(22, r.bottom - r.top) << t.hint;
        }
        EXPECT_EQ(t.image, t.button->ImageIndex()) << t.hint;
        EXPECT_EQ(t.hint, t.button->Hint);
    }
    EXPECT_EQ(TToolButtonStyle::tbsCheck, form->OptionsAutorun->Style());
    EXPECT_EQ(TToolButtonStyle::tbsDivider, form->ToolButton6->Style());
    EXPECT_EQ(7, form->ImagesBank->Count());

    ASSERT_EQ(2u, form->GroupPopMenu->Items.size());
    EXPECT_EQ("Select all groups", form->GroupPopMenu->Items[0]->Caption);
    EXPECT_EQ("Reverse selection", form->GroupPopMenu->Items[1]->Caption);
    EXPECT_TRUE(form->GroupPopMenu->Centred);
}

// The ticks come from status.ord before the start-up Apply runs, so the ticked
// groups' shortcuts are back on the Desktop when the window is made; a group
// without a line counts as ticked and is applied too.
TEST_F(MainFormTest, StartupAppliesTheTicksLoadedFromTheTickFile) {
    Group("Games", "Chess\r\n");
    Group("Work", "Mail\r\nEditor\r\n");
    Group("Music", "Player\r\n");
    Status("[Status]\r\nGames=0\r\nWork=1\r\n");
    for (const char* s : {"Chess", "Mail", "Editor"}) Shortcut(repo, s, std::string("old ") + s);
    Shortcut(repo, "Player", "old Player");
    Shortcut(desk, "Player", "new Player");
    Shortcut(desk, "Notes", "Notes");
    WriteBytes(desk + "readme.txt", "not a shortcut");

    auto form = Start();
    EXPECT_EQ("Games=0 Music=1 Work=1", Ticks(*form));
    EXPECT_EQ("Editor.lnk Mail.lnk Player.lnk readme.txt", Listing(desk));
    EXPECT_EQ("Chess.lnk Editor.lnk Mail.lnk Notes.lnk Player.lnk", Listing(repo));
    EXPECT_EQ("new Player", ReadBytes(repo + "Player.lnk"));  // the Desktop's copy is the newest
    EXPECT_EQ("new Player", ReadBytes(desk + "Player.lnk"));
    EXPECT_EQ("[Status]\r\nGames=0\r\nWork=1\r\nMusic=1\r\n", ReadBytes(folders.StatusFile));
}

TEST_F(MainFormTest, StartupWithoutTickFileMovesEveryShortcutAway) {
    Group("Work", "Mail\r\n");
    Group("Games", "Chess\r\n");
    Shortcut(repo, "Chess", "Chess");
    Shortcut(desk, "Mail", "Mail");
    Shortcut(desk, "Notes", "Notes");

    auto form = Start();
    EXPECT_EQ("Games=0 Work=0", Ticks(*form));
    EXPECT_EQ("", Listing(desk));
    EXPECT_EQ("Chess.lnk Mail.lnk Notes.lnk", Listing(repo));
    EXPECT_EQ("\r\n[Status]\r\nGames=0\r\nWork=0\r\n", ReadBytes(folders.StatusFile));
}

TEST_F(MainFormTest, WindowPositionAndAutoRunComeFromTheSettingsKey) {
    TCoolTrayIcon::ShellNotifyIcon = &BusyShell;
    Start();  // a balloon the shell never took leaves the first start to come
    TCoolTrayIcon::ShellNotifyIcon = &RecordBalloons;
    {
        auto first = Start();  // no settings key yet
        EXPECT_EQ(15, first->WindowRect().left);
        EXPECT_EQ(15, first->WindowRect().top);
        EXPECT_TRUE(first->OptionsAutorun->Down());
    }
    // The first start says where the program went, once: it stores the settings at once, closed or not.
    Start();
    EXPECT_EQ(std::vector<std::string>{"Zepton"}, balloons);
    TCoolTrayIcon::ShellNotifyIcon = &::Shell_NotifyIconA;
    {
        const RegKey setup = SetupKey();
        WriteDword(setup.get(), "left", 321);
        WriteDword(setup.get(), "top", 200);
        WriteDword(setup.get(), "Run", 0);
    }
    auto form = Start();
    EXPECT_EQ(321, form->WindowRect().left);
    EXPECT_EQ(200, form->WindowRect().top);
    EXPECT_FALSE(form->OptionsAutorun->Down());
    // Setting the button from the stored wish is no click: the auto-start entry is left alone.
    EXPECT_FALSE(OpenKey(HKEY_CURRENT_USER, key.Sub("Run"), false));
}

// Apply shows no box: what it could not do stays in the status line until an
// Apply goes clean, and the balloon says it once for each cause, across starts.
TEST_F(MainFormTest, ApplyTellsWhatItCouldNotDoOncePerCause) {
    WriteDword(SetupKey().get(), "left", 321);  // no first start
    Group("Work", "");
    Shortcut(desk, "Mail", "Mail");
    const auto refuse = [&] {
        ::DeleteFileA((repo + "Mail.lnk").c_str());
        ::CreateDirectoryA((repo + "Mail.lnk").c_str(), nullptr);
    };
    const std::string said = "1 shortcut is not where the ticked groups put it: access denied.";
    TCoolTrayIcon::ShellNotifyIcon = &RecordBalloons;
    balloonTexts.clear();
    refuse();
    for (const bool told : {true, false}) {
        auto form = Start();
        EXPECT_TRUE(form->StatusLabel->Visible());
        EXPECT_EQ(said, form->StatusLabel->Caption());
        EXPECT_EQ(269 + 30, form->ClientHeight());
        RECT r{};  // the status line grows the window where it stands
        ::GetWindowRect(form->Handle(), &r);
        EXPECT_EQ("321,15", std::to_string(r.left) + "," + std::to_string(r.top));
        EXPECT_EQ(told ? 1u : 0u, balloonTexts.size());
        balloonTexts.clear();
    }
    RemoveTree(repo + "Mail.lnk\\");
    EXPECT_FALSE(Start()->StatusLabel->Visible());
    // A clean Apply forgets what was told; what the session's end could not show
    // comes with it at the next start. Neither counts as told until the shell took it.
    WriteBytes(desk + "Mail.lnk", "Mail");
    refuse();
    Application().OnQuietReport("Cannot create file x");
    TCoolTrayIcon::ShellNotifyIcon = &BusyShell;
    Start();
    TCoolTrayIcon::ShellNotifyIcon = &RecordBalloons;
    auto form = Start();
    EXPECT_EQ((std::vector<std::string>{"Cannot create file x", said}), balloonTexts);
    EXPECT_EQ(269 + 30, form->ClientHeight());

    // Ticks that can't be saved (a folder in the way of their file) are told the
    // same way; at the end, where no window is left, at the next start.
    RemoveTree(repo + "Mail.lnk\\");
    ::DeleteFileA(folders.StatusFile.c_str());
    ::CreateDirectoryA(folders.StatusFile.c_str(), nullptr);
    balloonTexts.clear();
    form = Start();
    EXPECT_EQ("Could not save the ticks: the next start will apply the old ones.", form->StatusLabel->Caption());
    TCloseAction action = TCloseAction::caFree;
    form->FormClose(form.get(), action);
    form = Start();
    TCoolTrayIcon::ShellNotifyIcon = &::Shell_NotifyIconA;
    EXPECT_EQ((std::vector<std::string>{form->StatusLabel->Caption(),
                                        "Could not save the ticks when Zepton ended: this start applied the old ones."}),
              balloonTexts);
}

TEST_F(MainFormTest, AStoredPositionOnNoMonitorComesBackAtTheDefault) {
    // Stored left, top -> where the window comes up; a partly visible window stays exactly where it was.
    const struct { int left, top, wantLeft, wantTop; } cases[] = {
        {-3000, -3000, 15, 15}, {5000, 200, 15, 15}, {200, 9000, 15, 15}, {-100, 50, -100, 50}};
    for (const auto& c : cases) {
        {
            const RegKey setup = SetupKey();
            WriteDword(setup.get(), "left", c.left);
            WriteDword(setup.get(), "top", c.top);
        }
        auto form = Start();
        EXPECT_EQ(c.wantLeft, form->WindowRect().left) << c.left << "," << c.top;
        EXPECT_EQ(c.wantTop, form->WindowRect().top) << c.left << "," << c.top;
    }
}

class TrashTest : public MainFormTest {
protected:
    TrashTest() {
        for (const char* g : {"Alpha", "Beta", "Gamma"}) Group(g, "Mail\r\n");
        Shortcut(repo, "Mail", "Mail");
    }
    // Clicks Trash and answers the question; returns what it asked.
    SeenBox Trash(TMainForm& form, int answer) {
        BoxWatcher watcher(answer);
        MouseClickOval(*form.TrashButton);
        return watcher.Result();
    }
    static constexpr const char* kQuestion = "Are you sure you want to delete the following Groups ?\n\r\n\r";
};

TEST_F(TrashTest, AsksWithTheTickedNamesAndNoChangesNothing) {
    Status("[Status]\r\nAlpha=1\r\nBeta=0\r\nGamma=1\r\n");
    auto form = Start();
    form->Show();

    const SeenBox seen = Trash(*form, IDNO);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(std::string(kQuestion) + "Alpha\r\nGamma\r\n", seen.text);
    EXPECT_EQ("Delete Groups?", seen.caption);
    EXPECT_TRUE(seen.questionIcon);
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), seen.buttons);

    EXPECT_EQ("Alpha=1 Beta=0 Gamma=1", Ticks(*form));
    EXPECT_EQ("Alpha.dat Beta.dat Gamma.dat status.ord", Listing(data));
}

TEST_F(TrashTest, YesDeletesTheTickedGroupsAndRebuildsTheListUnticked) {
    const std::string status = "[Status]\r\nAlpha=1\r\nBeta=1\r\nGamma=0\r\n";
    Status(status);
    auto form = Start();
    form->Show();
    form->Invertselection1->Click();  // Alpha=0 Beta=0 Gamma=1

    EXPECT_EQ(std::string(kQuestion) + "Gamma\r\n", Trash(*form, IDYES).text);
    EXPECT_EQ("Alpha=0 Beta=0", Ticks(*form));
    EXPECT_EQ("Alpha.dat Beta.dat status.ord", Listing(data));
    EXPECT_EQ(status, ReadBytes(folders.StatusFile));  // the deleted group keeps its line
    EXPECT_EQ("Mail.lnk", Listing(repo));
}

TEST_F(TrashTest, NothingTickedAsksAboutNoGroupAndYesOnlyRebuilds) {
    Status("[Status]\r\nAlpha=0\r\nBeta=0\r\nGamma=0\r\n");
    auto form = Start();
    form->Show();
    Group("Delta", "Mail\r\n");  // appears in the list only through the rebuild

    const SeenBox seen = Trash(*form, IDYES);
    EXPECT_EQ(kQuestion, seen.text);
    EXPECT_EQ("Alpha=0 Beta=0 Delta=0 Gamma=0", Ticks(*form));
    EXPECT_EQ("Alpha.dat Beta.dat Delta.dat Gamma.dat status.ord", Listing(data));
}

TEST_F(MainFormTest, TrashWithAnEmptyListAsksNothing) {
    auto form = Start();
    form->Show();
    BoxWatcher watcher(IDYES);
    MouseClickOval(*form->TrashButton);
    const SeenBox seen = watcher.Result();
    EXPECT_FALSE(seen.found) << seen.text;
    // The tray menu's groups say there are none.
    Fire(form->TrayPopMenu->OnPopup, form->TrayPopMenu);
    ASSERT_EQ(1u, form->Groups1->Items.size());
    EXPECT_EQ("&No groups", form->Groups1->Items[0]->Caption);
    EXPECT_FALSE(form->Groups1->Items[0]->Enabled);
}

TEST_F(MainFormTest, SelectAllAndReverseSelectionFromThePopupMenu) {
    for (const char* g : {"A", "B", "C", "D"}) Group(g, "");
    Status("[Status]\r\nA=1\r\nB=0\r\nC=0\r\nD=1\r\n");
    auto form = Start();

    form->Invertselection1->Click();
    EXPECT_EQ("A=0 B=1 C=1 D=0", Ticks(*form));
    form->Invertselection1->Click();
    EXPECT_EQ("A=1 B=0 C=0 D=1", Ticks(*form));
    form->Selectallgroups1->Click();
    EXPECT_EQ("A=1 B=1 C=1 D=1", Ticks(*form));
    form->Invertselection1->Click();
    EXPECT_EQ("A=0 B=0 C=0 D=0", Ticks(*form));
}

TEST_F(MainFormTest, MouseTicksAGroupAndClicksApply) {
    Group("Games", "Chess\r\n");
    Group("Work", "Mail\r\nEditor\r\n");
    for (const char* s : {"Chess", "Mail", "Editor"}) Shortcut(repo, s, s);
    auto form = Start();
    form->Show();
    Flush();

    // The box of the second item, Work.
    RealClick(form->GroupListBox->Handle(), {TCheckListBox::kBoxWidth / 2, TCustomListBox::kItemHeight + 6});
    ASSERT_EQ("Games=0 Work=1", Ticks(*form));
    RealClick(form->Handle(), Centre(*form->ApplyButton));
    EXPECT_EQ("Editor.lnk Mail.lnk", Listing(desk));
    EXPECT_EQ("\r\n[Status]\r\nGames=0\r\nWork=1\r\n", ReadBytes(folders.StatusFile));
}

// The box takes the mouse from the window during the click: the press ends
// there, and the next click is a click again.
TEST(OvalButtonClick, EveryClickOnAButtonThatShowsAMessageBoxIsHandled) {
    InitApplication();
    TestForm form(TestForm::Plain());
    TOvalButton& button = form.Make<TOvalButton>(&form, &form);
    button.SetBounds(40, 30, 76, 30);
    button.OnClick = [&form](TObject*) {
        Application().MessageBox("Please, specify at least one shortcut into this Group!", "No shortcuts!", MB_OK);
        // Come up over the button, the box had the window see the pointer leave.
        ::PostMessageA(form.Handle(), WM_MOUSELEAVE, 0, 0);
    };
    form.Show();
    Flush();
    // Posted, the pointer unmoved; real, a few pixels apart, or the second would be a double click.
    for (const int real : {0, 0, 1, 2}) {
        BoxWatcher watcher;
        real ? RealClick(form.Handle(), {Centre(button).x + 8 * real, Centre(button).y}) : MouseClickOval(button);
        EXPECT_TRUE(watcher.Result().found) << "click " << real;
        EXPECT_FALSE(button.Down());
    }
}

TEST_F(MainFormTest, ClosingStoresPositionAutoRunAndTicks) {
    Group("Games", "");
    Group("Work", "");
    {
        const RegKey run = OpenKey(HKEY_CURRENT_USER, key.Sub("Run"), true);
        WriteText(run.get(), "Zepton", "C:\\old\\zepton.exe");
    }
    auto form = Start();
    form->Show();
    Flush();

    // The Auto-Run button comes up and takes the auto-start entry away.
    ClickToolButton(*form->OptionsAutorun, form->ToolBar1->Handle());
    EXPECT_FALSE(form->OptionsAutorun->Down());
    EXPECT_FALSE(ReadText(OpenKey(HKEY_CURRENT_USER, key.Sub("Run"), false).get(), "Zepton"));

    form->Selectallgroups1->Click();
    form->SetPosition(222, 111);
    ClickToolButton(*form->ToolButton1, form->ToolBar1->Handle());  // Exit

    const RegKey setup = OpenKey(HKEY_CURRENT_USER, key.Sub("Setup"), false);
    EXPECT_EQ(222, ReadDword(setup.get(), "left"));
    EXPECT_EQ(111, ReadDword(setup.get(), "top"));
    EXPECT_EQ(0, ReadDword(setup.get(), "Run"));
    EXPECT_EQ("\r\n[Status]\r\nGames=1\r\nWork=1\r\n", ReadBytes(folders.StatusFile));
    EXPECT_FALSE(form->IsShowing());
}

// The program's main form for one test, and the application window as it was afterwards.
struct AsMainForm {
    explicit AsMainForm(TForm& form) { Application().SetMainForm(&form); }
    ~AsMainForm() {
        Application().SetMainForm(nullptr);
        if (::IsIconic(Application().Handle())) ::ShowWindow(Application().Handle(), SW_RESTORE);
        ::ShowWindow(Application().Handle(), SW_HIDE);
    }
};

TEST_F(MainFormTest, StartsInTheTrayAndIsShownHiddenAndEndedFromItsMenu) {
    Group("Work", "");
    Application().ShowMainForm = true;
    ::ShowWindow(Application().Handle(), SW_HIDE);  // as at a program's start
    auto form = Start();
    std::optional<AsMainForm> main(*form);
    EXPECT_FALSE(Application().ShowMainForm);
    Application().ShowMainForm = true;
    EXPECT_FALSE(form->IsShowing());
    EXPECT_FALSE(::IsWindowVisible(Application().Handle()));

    const TCoolTrayIcon& tray = *form->TrayIcon1;
    EXPECT_TRUE(tray.IconVisible());
    EXPECT_EQ("Zepton", tray.Hint());
    EXPECT_TRUE(tray.ShowHint());
    EXPECT_TRUE(tray.Enabled);
    EXPECT_EQ(form->TrayPopMenu, tray.PopupMenu);
    EXPECT_FALSE(tray.LeftPopup);
    EXPECT_TRUE(tray.MinimizeToTray);
    EXPECT_EQ(0u, tray.CycleInterval());
    EXPECT_EQ(0, tray.IconIndex());
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(tray.Icon().Handle(), &info));
    BITMAP colour{};
    ::GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(16, colour.bmWidth);
    EXPECT_EQ(16, colour.bmHeight);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);

    std::vector<std::pair<std::string, bool>> items;
    for (const TMenuItem* item : form->TrayPopMenu->Items) items.emplace_back(item->Caption, item->Default);
    const std::vector<std::pair<std::string, bool>> expected{{"&Groups", false}, {"&Keep the Desktop tidy", false},
        {"-", false}, {"&Show window", true}, {"&Hide window", false}, {"-", false}, {"E&xit", false}};
    EXPECT_EQ(expected, items);

    // A double click on the icon runs "Show window".
    ::SendMessageA(TCoolTrayIcon::TrayWindow(), TrayCallbackMessage, tray.TrayId(), WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitUntil([&] { return form->IsShowing() && ::IsWindowVisible(Application().Handle()); }));
    form->SetPosition(123, 98);
    for (int twice = 0; twice < 2; ++twice) {
        form->HideWindow1->Click();
        ASSERT_TRUE(WaitUntil([&] { return !form->IsShowing() && !::IsWindowVisible(Application().Handle()); }));
    }
    EXPECT_TRUE(tray.IconVisible());
    // So does Enter on the icon selected from the keyboard.
    ::SendMessageA(TCoolTrayIcon::TrayWindow(), TrayCallbackMessage, tray.TrayId(), NIN_KEYSELECT);
    ASSERT_TRUE(WaitUntil([&] { return form->IsShowing(); }));
    form->HideWindow1->Click();

    // Exit while hidden stores the last position the window had, and the ticks (as
    // another form than the program's main form, it does not end the test too).
    main.reset();
    form->Exit1->Click();
    const RegKey setup = OpenKey(HKEY_CURRENT_USER, key.Sub("Setup"), false);
    EXPECT_EQ(123, ReadDword(setup.get(), "left"));
    EXPECT_EQ(98, ReadDword(setup.get(), "top"));
    EXPECT_EQ("\r\n[Status]\r\nWork=0\r\n", ReadBytes(folders.StatusFile));
}

// The main window as the start-up makes it, known to the test from its construction on.
struct SeenMainForm : TMainForm {
    SeenMainForm(TComponent* owner, MainFormEnvironment environment, TMainForm*& seen)
        : TMainForm(owner, std::move(environment)) {
        seen = this;
    }
};

// "E&xit" chosen while the start-up lets waiting messages through: the
// program ends once its start-up is done.
TEST_F(MainFormTest, ExitChosenDuringTheStartUpEndsTheProgram) {
    TMainForm* main = nullptr;
    TMessageWindow trayMenu([&main](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message == WM_APP && main) main->Exit1->Click();
        return message == WM_APP;
    });
    ::PostMessageA(trayMenu.Handle(), WM_APP, 0, 0);
    Application().CreateForm<SeenMainForm>(Environment(), main);
    EXPECT_TRUE(Application().Terminated());
    Application().DestroyForms();
}

TEST_F(MainFormTest, AutoRunClickedDownRegistersTheProgram) {
    {
        const RegKey setup = SetupKey();
        WriteDword(setup.get(), "Run", 0);
    }
    auto form = Start();
    form->Show();
    Flush();
    ClickToolButton(*form->OptionsAutorun, form->ToolBar1->Handle());
    EXPECT_TRUE(form->OptionsAutorun->Down());
    EXPECT_EQ('"' + folders.ProgramFolder + "zepton.exe\"",
              ReadText(OpenKey(HKEY_CURRENT_USER, key.Sub("Run"), false).get(), "Zepton"));
}

TEST_F(MainFormTest, AutoRunThatNoKeyTakesIsReportedAndTheButtonComesBackUp) {
    {
        const RegKey setup = SetupKey();
        WriteDword(setup.get(), "Run", 0);
    }
    auto form = Start();
    form->Show();
    const LockedKey machine(key.Sub("Run")), user(key.Sub("UserRun"));
    BoxWatcher watcher;
    ClickToolButton(*form->OptionsAutorun, form->ToolBar1->Handle());
    const SeenBox seen = watcher.Result();
    EXPECT_TRUE(seen.found && seen.errorIcon) << seen.text;
    EXPECT_FALSE(form->OptionsAutorun->Down());
}

// Help hands the help file beside the program to the shell, owned by the
// application's window; About shows the About window modally on its page.
TEST_F(MainFormTest, HelpOpensTheHelpFileAndAboutShowsTheAboutWindow) {
    auto form = Start();
    form->Show();
    Flush();
    std::vector<std::pair<HWND, std::string>> opened;
    {
        const ShellOpenRedirect shell([&](HWND owner, const std::string& file) { opened.emplace_back(owner, file); });
        ClickToolButton(*form->ToolButton4, form->ToolBar1->Handle());
    }
    EXPECT_EQ((std::vector<std::pair<HWND, std::string>>{{Application().Handle(), folders.ProgramFolder + "help.chm"}}),
              opened);

    const auto made = MakeForm<TInfoForm>(nullptr);
    TInfoForm& about = *made;
    InfoForm = &about;
    bool sawModal = false;
    WhenShownModal(about, [&] {
        sawModal = true;
        EXPECT_EQ(about.TabSheet1, about.PageControl1->ActivePage());
        EXPECT_FALSE(::IsWindowEnabled(form->Handle()));  // the main window takes no input meanwhile
        about.OvalButton1Click(about.OvalButton1);
    });
    ClickToolButton(*form->ToolButton9, form->ToolBar1->Handle());
    InfoForm = nullptr;
    EXPECT_TRUE(sawModal);
    EXPECT_FALSE(about.IsShowing());
    EXPECT_TRUE(::IsWindowEnabled(form->Handle()));
}

// A window the user has not opened yet is made when first opened and kept:
// the next opening shows that same window again.
TEST_F(MainFormTest, WindowsAreMadeWhenFirstOpenedAndKept) {
    auto form = Start();
    Application().SetMainForm(form.get());
    form->Show();
    Flush();
    const std::pair<std::function<TForm*()>, std::function<void()>> openers[] = {
        {[]() -> TForm* { return Form1; }, [&] { ClickToolButton(*form->GrpConfig, form->ToolBar1->Handle()); }},
        {[]() -> TForm* { return ContentForm; }, [&] { MouseClickOval(*form->ViewButton); }},
        {[]() -> TForm* { return InfoForm; }, [&] { ClickToolButton(*form->ToolButton9, form->ToolBar1->Handle()); }},
    };
    for (const auto& [made, open] : openers) {
        EXPECT_EQ(nullptr, made());
        std::vector<TForm*> shown;
        for (int opening = 0; opening < 2; ++opening) {
            WhenShownModal(made, [&, made = made] { shown.push_back(made()); });
            open();
        }
        ASSERT_EQ(2u, shown.size());
        EXPECT_EQ(shown[0], shown[1]);
        EXPECT_FALSE(shown[0]->IsShowing());
    }
    Application().DestroyForms();
    Form1 = nullptr;
    ContentForm = nullptr;
    InfoForm = nullptr;
}

// The Desktop folder is gone: the start-up Apply fails, the general error
// report says so, the ticks are saved all the same and the window works on.
TEST_F(MainFormTest, FailingStartupApplyIsReportedAndTheWindowGoesOn) {
    Group("Work", "Mail\r\n");
    Group("Games", "");  // no line yet: the save adds it
    Status("[Status]\r\nWork=1\r\n");
    Shortcut(repo, "Mail", "Mail");
    const std::string gone = root + "gone\\";
    SetDesktop(gone);

    BoxWatcher watcher;
    auto form = MakeForm<TMainForm>(nullptr, Environment());
    const SeenBox seen = watcher.Result();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ("Zepton", seen.caption);
    EXPECT_TRUE(seen.errorIcon);
    EXPECT_NE(std::string::npos, seen.text.find(gone)) << seen.text;
    EXPECT_EQ('.', seen.text.back()) << seen.text;
    EXPECT_EQ("[Status]\r\nWork=1\r\nGames=1\r\n", ReadBytes(folders.StatusFile));

    ASSERT_TRUE(::CreateDirectoryA(gone.c_str(), nullptr));
    form->Show();
    MouseClickOval(*form->ApplyButton);
    EXPECT_EQ("Mail.lnk", Listing(gone));
}

// The tool button shows the groups configuration window modally: the main
// window takes no input meanwhile, and a saved group is listed there at once,
// with every tick cleared.
TEST_F(MainFormTest, GroupsConfigurationSavesAGroupTheMainListShows) {
    Group("Games", "Chess\r\n");
    Status("[Status]\r\nGames=1\r\n");
    Shortcut(repo, "Mail", "Mail");
    auto form = Start();
    const auto made = MakeForm<TForm1>(nullptr);
    TForm1& config = *made;
    Form1 = &config;
    form->Show();
    Flush();
    bool mainTookInput = true;
    {
        WhenShown user(config.Handle(), [&] {
            mainTookInput = ::IsWindowEnabled(form->Handle()) != FALSE;
            PostDoubleClickItem(config.ListBox1->Handle(), 0);
            for (char c : std::string("Work")) ::PostMessageA(config.Edit1->Handle(), WM_CHAR, c, 1);
            PostClickOval(*config.SGroupButton);
            PostClickOval(*config.OvalButton7);
        });
        ClickToolButton(*form->GrpConfig, form->ToolBar1->Handle());
    }
    Form1 = nullptr;
    EXPECT_FALSE(mainTookInput);
    EXPECT_TRUE(::IsWindowEnabled(form->Handle()));
    EXPECT_FALSE(config.IsShowing());
    EXPECT_EQ("Mail\r\n", ReadBytes(data + "Work.dat"));
    EXPECT_EQ("Games=0 Work=0", Ticks(*form));
}

// Preview gathers the ticked groups up to one it can't read; that error comes
// through the general error report once the preview has been closed.
TEST_F(MainFormTest, PreviewShowsTheTickedGroupsAndReportsAnUnreadableOneAfterwards) {
    Group("A", "Mail\r\nchess\r\n");
    Group("B", "Zip\r\n");
    Group("C", "Alpha\r\n");
    Group("D", "Chess\r\nmail\r\nBeta\r\n");
    Status("[Status]\r\nA=1\r\nB=0\r\nC=1\r\nD=1\r\n");
    auto form = Start();
    const auto made = MakeForm<TContentForm>(nullptr);
    TContentForm& preview = *made;
    ContentForm = &preview;
    form->Show();
    Flush();
    auto look = [&] {
        std::string shown;
        bool mainTookInput = true;
        WhenShown user(preview.Handle(), [&] {
            shown = Joined(*preview.ContentListBox);
            mainTookInput = ::IsWindowEnabled(form->Handle()) != FALSE;
            ::PostMessageA(preview.ContentListBox->Handle(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
        });
        MouseClickOval(*form->ViewButton);
        EXPECT_FALSE(mainTookInput);
        return shown;
    };
    EXPECT_EQ("Alpha|Beta|chess|Mail", look());

    BoxWatcher watcher;
    std::string shown;
    {
        FileHandle lock(::CreateFileA((data + "C.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(lock);
        shown = look();
    }
    const SeenBox seen = watcher.Result();
    ContentForm = nullptr;
    EXPECT_EQ("chess|Mail", shown);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ("Zepton", seen.caption);
    EXPECT_TRUE(seen.errorIcon);
    EXPECT_EQ("Cannot open file " + data + "C.dat.", seen.text);
    EXPECT_FALSE(preview.IsShowing());
    EXPECT_TRUE(::IsWindowEnabled(form->Handle()));
}

// Every button of the window has its key; Delete acts in the list, which has
// the keyboard as soon as the window shows, and a key held down clicks once.
TEST_F(MainFormTest, EveryButtonClicksByItsKey) {
    auto form = Start();
    form->Show();
    Flush();
    HWND window = form->Handle(), list = form->GroupListBox->Handle();
    EXPECT_EQ(list, ::GetFocus());
    Clicks clicks;
    for (TOvalButton* b : {form->ApplyButton, form->ViewButton, form->TrashButton}) clicks.Watch(*b, b->Caption());
    for (TToolButton* b : form->ToolBar1->Buttons()) clicks.Watch(*b, b->Hint);
    ExpectKeys(clicks,
               {{list, VK_RETURN, ssCtrl, "Apply "}, {list, 'P', ssCtrl, "Preview "}, {list, VK_DELETE, 0, "Trash "},
                {window, VK_DELETE, 0, ""}, {list, VK_F4, ssAlt, "Exit "}, {list, 'R', ssCtrl, "Auto-Run "},
                {list, 'G', ssCtrl, "Groups Configuration "}, {list, 'A', ssCtrl | ssShift, "All Shortcuts "},
                {list, 'A', ssCtrl, ""}, {list, VK_F1, 0, "Help... "}, {list, VK_F1, ssCtrl, "About... "}},
               {list});
    ::PostMessageA(list, WM_KEYDOWN, VK_DELETE, 1);
    ::PostMessageA(list, WM_KEYDOWN, VK_DELETE, 0x40000001);  // the repeat of a key held down
    Flush();
    EXPECT_EQ("Trash ", clicks.Take());
}

// A screen reader finds each button with its name, hint and key, and the
// groups with their ticks; its default actions tick and click as the mouse does.
TEST_F(MainFormTest, ScreenReadersFindEveryButtonAndGroup) {
    Group("Games", "");
    Group("Work", "");
    Status("[Status]\r\nGames=1\r\nWork=0\r\n");
    auto form = Start();
    form->Show();
    Flush();
    EXPECT_EQ(R"(push button "Apply" (Apply the selection) Ctrl+Enter -> Press
static text [invisible]
  list item "Games" [checked] [focused] -> Uncheck
  list item "Work" -> Check
  push button "Trash" (Delete selected groups) Delete -> Press
  push button "Preview" (View selected group) Ctrl+P -> Press
  push button "Exit" Alt+F4 -> Press
  push button "Auto-Run" Ctrl+R [checked] -> Press
  push button "Groups Configuration" Ctrl+G -> Press
  push button "All Shortcuts" Ctrl+Shift+A -> Press
  push button "Help..." F1 -> Press
  push button "About..." Ctrl+F1 -> Press
)",
              AccessibleTree(form->Handle()));
    const ComRef<IAccessible> client = ClientObject(form->Handle());
    long x = 0, y = 0, w = 0, h = 0;
    VARIANT hit{};
    EXPECT_EQ(S_OK, client->accLocation(&x, &y, &w, &h, ChildId(1)));
    EXPECT_EQ(S_OK, client->accHitTest(x + w / 2, y + h / 2, &hit));
    EXPECT_EQ((std::vector<long>{1, 76, 30}), (std::vector<long>{hit.lVal, w, h}));  // Apply, where it is

    EXPECT_EQ(S_OK, ClientObject(form->GroupListBox->Handle())->accDoDefaultAction(ChildId(2)));
    EXPECT_EQ(S_OK, client->accDoDefaultAction(ChildId(1)));  // Apply, which saves the ticks
    Flush();
    EXPECT_EQ(1, form->GroupListBox->ItemIndex());
    EXPECT_EQ("[Status]\r\nGames=1\r\nWork=1\r\n", ReadBytes(folders.StatusFile));
}

// The help's keyboard page lists every key of every window, and no other.
TEST_F(MainFormTest, TheHelpListsEveryKeyOfEveryWindow) {
    auto main = Start();
    TForm1 configuration(nullptr);
    TInfoForm about(nullptr);
    std::ifstream file("Z:" ZEPTON_HELP_DIR "/keyboard.html");
    const std::string page{std::istreambuf_iterator<char>(file), {}};
    for (auto [form, id] : {std::pair<TForm*, std::string>{main.get(), "main"}, {&configuration, "configuration"},
                            {&about, "about"}}) {
        const std::size_t from = page.find("<h2 id=\"" + id + "\">");
        ASSERT_NE(std::string::npos, from) << id;
        const std::string section = page.substr(from, page.find("<h2", from + 1) - from);
        std::size_t rows = 0;
        for (std::size_t at = 0; (at = section.find("<kbd>", at)) != std::string::npos; ++at) ++rows;
        EXPECT_EQ(form->Keys.Entries().size(), rows) << id;
        for (const TKeyTable::Entry& e : form->Keys.Entries()) {
            const auto* control = dynamic_cast<const TControl*>(e.button);
            std::string name;
            for (char c : control ? control->Caption() : dynamic_cast<const TToolButton&>(*e.button).Hint)
                name += c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
            const std::string row = "<kbd>" + ShortCutToText(e.key) + "</kbd></td><td>" + name + "</td>";
            EXPECT_NE(std::string::npos, section.find(row)) << id << ": " << row;
        }
    }
}

// A menu's items as "caption" with "+" when ticked and "~" when grayed, separated by "|".
std::string MenuRows(HMENU menu) {
    std::string rows;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        char text[64] = {};
        ::GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        const UINT state = ::GetMenuState(menu, i, MF_BYPOSITION);
        rows += std::string(i ? "|" : "") + text + (state & MF_CHECKED ? "+" : "") + (state & MF_GRAYED ? "~" : "");
    }
    return rows;
}

// The tray menu lists every group with its tick; a group chosen by its letters
// switches its tick and applies, as the window would, a failure reported as Apply's.
TEST_F(MainFormTest, AGroupChosenFromTheTrayMenuSwitchesItsTickAndApplies) {
    Group("Work", "Mail\r\n");
    Group("Rock&Roll", "Chess\r\n");
    Group("Games", "Dice\r\n");
    Status("[Status]\r\nGames=0\r\nRock&Roll=1\r\nWork=0\r\n");
    for (const char* s : {"Mail", "Chess", "Dice"}) Shortcut(repo, s, s);
    auto form = Start();
    std::string shown;
    std::thread user([&shown] {
        HWND menu = nullptr;
        for (int i = 0; i < 2000 && !(menu && ::IsWindowVisible(menu)); ++i, ::Sleep(10))
            menu = ::FindWindowA("#32768", nullptr);
        const auto top = reinterpret_cast<HMENU>(::SendMessageA(menu, MN_GETHMENU, 0, 0));
        shown = MenuRows(top) + " / " + MenuRows(::GetSubMenu(top, 0));
        for (const char key : {'g', 'w'}) ::PostMessageA(menu, WM_CHAR, key, 0);
    });
    ::SendMessageA(TCoolTrayIcon::TrayWindow(), TrayCallbackMessage, form->TrayIcon1->TrayId(), WM_RBUTTONDOWN);
    user.join();
    EXPECT_EQ("&Groups|&Keep the Desktop tidy|~|&Show window|&Hide window|~|E&xit / &Games|&Rock&&Roll+|&Work", shown);
    EXPECT_EQ("Games=0 Rock&Roll=1 Work=1", Ticks(*form));
    EXPECT_EQ("Chess.lnk Mail.lnk", Listing(desk));
    EXPECT_EQ("[Status]\r\nGames=0\r\nRock&Roll=1\r\nWork=1\r\n", ReadBytes(folders.StatusFile));

    const std::string gone = root + "gone";
    ASSERT_TRUE(::MoveFileA(desk.c_str(), gone.c_str()));
    BoxWatcher watcher;
    Guarded([&] {  // as the tray icon's window runs it
        form->GroupMenuClick("GAMES");
        return 0;
    });
    Flush();  // the report waits for the loop
    const SeenBox seen = watcher.Result();
    EXPECT_TRUE(seen.errorIcon && seen.text.find(desk) != std::string::npos) << seen.text;
    EXPECT_EQ("[Status]\r\nGames=1\r\nRock&Roll=1\r\nWork=1\r\n", ReadBytes(folders.StatusFile));
}

// "Keep the Desktop tidy" is off at first, ticked in the tray menu while on and
// stored at once. While it is on, a shortcut another program drops goes into
// the repository, and the balloon says which, unless a ticked group names it.
TEST_F(MainFormTest, KeepTheDesktopTidyTakesNewShortcutsThatNoTickedGroupNames) {
    WriteDword(SetupKey().get(), "left", 15);  // no first start
    Group("Work", "Mail\r\nEditor\r\n");
    Status("[Status]\r\nWork=1\r\n");
    Shortcut(repo, "Mail", "Mail");
    const auto ticked = [](TMainForm& form) {
        Fire(form.TrayPopMenu->OnPopup, form.TrayPopMenu);
        return form.KeeptheDesktoptidy1->Checked;
    };
    TCoolTrayIcon::ShellNotifyIcon = &RecordBalloons;
    balloonTexts.clear();
    for (const bool on : {false, true}) {
        auto form = Start();
        EXPECT_EQ(on, ticked(*form));
        if (on) {
            Shortcut(desk, "Editor", "Editor");
            Shortcut(desk, "Setup", "Setup");
            EXPECT_TRUE(WaitUntil([&] { return Exists(repo + "Setup.lnk"); }));
            EXPECT_EQ("Editor.lnk Mail.lnk", Listing(desk));
        }
        form->KeeptheDesktoptidy1->Click();
        EXPECT_EQ(!on, ticked(*form));
        EXPECT_EQ(on ? 0 : 1, ReadDword(SetupKey().get(), "Keep tidy"));
    }
    TCoolTrayIcon::ShellNotifyIcon = &::Shell_NotifyIconA;
    EXPECT_EQ(std::vector<std::string>{"\"Setup\" is in the repository now: no ticked group names it. Groups "
                                       "Configuration can put it in a group."},
              balloonTexts);
}

// A command from another start names groups in any letter case; one naming a
// group that is not there changes nothing. A taken one waits while a modal
// window is open, whose tray menu offers no group either.
TEST_F(MainFormTest, ACommandFromAnotherStartWaitsForTheModalWindowToClose) {
    Group("Work", "Mail\r\n");
    Group("Games", "Chess\r\n");
    Status("[Status]\r\nGames=0\r\nWork=1\r\n");
    for (const char* s : {"Mail", "Chess"}) Shortcut(repo, s, s);
    auto form = Start();
    EXPECT_EQ(UnknownGroupAnswer(1), form->TakeCommand({CommandKind::Apply, {"games", "Nope"}}));
    TInfoForm about(nullptr);
    InfoForm = &about;
    WhenShownModal(about, [&] {
        EXPECT_EQ(CommandTaken, form->TakeCommand({CommandKind::Apply, {"GAMES"}}));
        Fire(form->TrayPopMenu->OnPopup, form->TrayPopMenu);
        for (const TMenuItem* item : form->Groups1->Items) EXPECT_FALSE(item->Enabled) << item->Caption;
        Flush();
        EXPECT_EQ("Games=0 Work=1", Ticks(*form));
    });
    form->ToolButton9Click(form.get());
    InfoForm = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return Ticks(*form) == "Games=1 Work=0"; })) << Ticks(*form);
    EXPECT_EQ("Chess.lnk", Listing(desk));
    EXPECT_EQ("[Status]\r\nGames=1\r\nWork=0\r\n", ReadBytes(folders.StatusFile));
}

std::vector<std::pair<HWND, UINT>> letThrough;
BOOL WINAPI RecordFilter(HWND window, UINT message, DWORD, PCHANGEFILTERSTRUCT) {
    letThrough.emplace_back(window, message);
    return TRUE;
}

// A start beside a running program whose lock refuses it (one run elevated) does
// not run either. Its bring-up, let through the message filter, waits for the
// running one's start-up to end; a command comes back with the answer, unless
// it comes too late for the sender to hear it.
TEST(SingleInstance, AStartBesideARunningOneHandsItsRequestOver) {
    InitApplication();
    const std::string name = "Kestrin.Zepton.Test." + std::to_string(::GetCurrentProcessId());
    ChangeMessageFilter = &RecordFilter;
    TSingleInstance first(name);
    ASSERT_TRUE(first.Claim());
    ChangeMessageFilter = nullptr;
    const HWND window = ::FindWindowExA(HWND_MESSAGE, nullptr, nullptr, name.c_str());
    const UINT bringUp = ::RegisterWindowMessageA("Kestrin.Zepton.BringUp");
    EXPECT_EQ((std::vector<std::pair<HWND, UINT>>{{window, bringUp}, {window, WM_COPYDATA}}), letThrough);

    int broughtUp = 0;
    for (const bool refused : {false, true}) {
        if (refused) {
            const KernelObject lock(::OpenMutexA(WRITE_DAC, FALSE, ("Local\\" + name).c_str()));
            SECURITY_DESCRIPTOR nobody;
            ::InitializeSecurityDescriptor(&nobody, SECURITY_DESCRIPTOR_REVISION);
            ACL empty;
            ::InitializeAcl(&empty, sizeof empty, ACL_REVISION);
            ::SetSecurityDescriptorDacl(&nobody, TRUE, &empty, FALSE);
            ASSERT_TRUE(::SetKernelObjectSecurity(lock.get(), DACL_SECURITY_INFORMATION, &nobody));
        }
        TSingleInstance second(name);
        EXPECT_FALSE(second.Claim()) << refused;
        second.BringUp();
        Flush();
        EXPECT_EQ(0, broughtUp);
    }
    std::string taken;
    first.Announce([&] { ++broughtUp; }, [&](const std::string& line) {
        taken += line;
        return CommandTaken;
    });
    EXPECT_EQ(1, broughtUp);

    TSingleInstance third(name);
    ASSERT_FALSE(third.Claim());
    EXPECT_EQ(CommandTaken, third.Send("z /hide"));
    std::string late = "z /exit";
    COPYDATASTRUCT data{::GetTickCount() + 500, static_cast<DWORD>(late.size()), late.data()};
    EXPECT_EQ(CommandNotTaken, ::SendMessageA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)));
    EXPECT_EQ("z /hide", taken);
}

}  // namespace
}  // namespace zep::test
