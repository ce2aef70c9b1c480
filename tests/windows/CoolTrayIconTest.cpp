// The tray icon against a recording stand-in for the shell: the record each
// call hands over, the properties, icon cycling, the shell's notifications as
// the shell sends them, minimising into the tray, and an icon the shell
// refuses at start.
#include "controls/CoolTrayIcon.h"
#include "tests/windows/ToolkitHarness.h"

#include <cstring>
#include <memory>
#include <set>
#include <thread>
#include <utility>

namespace zep::test {
namespace {

struct ShellCall {
    DWORD message;
    TNotifyIconData record;
    DWORD bytes;  // how many the shell was told to read
};

// Holds icons like the shell: an add of a held icon, or a change or delete of
// an absent one, is refused.
struct FakeShell {
    static inline std::vector<ShellCall> calls;
    static inline std::set<std::pair<HWND, UINT>> held;
    static inline bool refuseAdds = false, busy = false;  // busy: FALSE to an add it makes

    static BOOL WINAPI Notify(DWORD message, PNOTIFYICONDATAA data) {
        ShellCall call{message, {}, data->cbSize};
        std::memcpy(&call.record, data, sizeof call.record);
        calls.push_back(call);
        const std::pair key{data->hWnd, data->uID};
        switch (message) {
        case NIM_ADD: return !refuseAdds && held.insert(key).second && !busy;
        case NIM_MODIFY: return held.count(key) == 1;
        case NIM_DELETE: return held.erase(key) == 1;
        default: return TRUE;
        }
    }
    static std::string Messages() {
        static const char* const names[] = {"add", "modify", "delete", "focus", "version"};
        std::string text;
        for (const ShellCall& c : calls) text += (text.empty() ? "" : " ") + std::string(names[c.message]);
        return text;
    }
};

// The tooltip bytes up to the first NUL, and whether every byte after it is NUL.
std::pair<std::string, bool> Tip(const TNotifyIconData& record) {
    const std::string text(record.szTip, strnlen(record.szTip, sizeof record.szTip));
    bool zeros = true;
    for (std::size_t i = text.size(); i < sizeof record.szTip; ++i) zeros = zeros && record.szTip[i] == 0;
    return {text, zeros};
}

// A menu runs its own loop: a timer of the thread chooses the first item of any menu that is up.
void CALLBACK ChooseFirstItem(HWND, UINT, UINT_PTR, DWORD) {
    if (HWND open = ::FindWindowA("#32768", nullptr); open && ::IsWindowVisible(open))
        for (WPARAM key : {VK_DOWN, VK_RETURN}) ::PostMessageA(open, WM_KEYDOWN, key, 0);
}

class TrayIconTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitApplication(); }

    TrayIconTest() {
        TCoolTrayIcon::ShellNotifyIcon = &FakeShell::Notify;
        FakeShell::calls.clear();
        FakeShell::held.clear();
        FakeShell::refuseAdds = FakeShell::busy = false;
    }
    ~TrayIconTest() override {
        icon.reset();
        Application().SetMainForm(nullptr);
        if (::IsIconic(Application().Handle())) ::ShowWindow(Application().Handle(), SW_RESTORE);
        ::ShowWindow(Application().Handle(), SW_HIDE);
        TCoolTrayIcon::ShellNotifyIcon = &::Shell_NotifyIconA;
    }

    TCoolTrayIcon& Make() {
        icon = std::make_unique<TCoolTrayIcon>(form.get());
        return *icon;
    }
    // The tray icon of a shown main form, as the program has it.
    TCoolTrayIcon& MakeForMainForm() {
        Application().SetMainForm(form.get());
        form->Show();
        TCoolTrayIcon& tray = Make();
        tray.SetIconVisible(true);
        tray.MinimizeToTray = true;
        tray.Loaded();
        FakeShell::calls.clear();
        return tray;
    }
    // A notification for the icon, as the shell sends it.
    void Shell(LPARAM event, UINT id = 0) {
        ::SendMessageA(TCoolTrayIcon::TrayWindow(), TrayCallbackMessage, id ? id : icon->TrayId(), event);
    }
    // Every event of the icon, in the order they came.
    void LogEvents() {
        const char* const buttons[] = {"L", "R", "M"};
        TCoolTrayIcon& t = *icon;
        auto note = [this](const std::string& what) { return [this, what](TObject*) { log.push_back(what); }; };
        t.OnClick = note("click");
        t.OnMouseEnter = note("enter");
        t.OnMouseExit = note("exit");
        t.OnMouseDown = [this, buttons](TObject*, TMouseButton b, TShiftState s, int, int) {
            log.push_back(std::string("down ") + buttons[static_cast<int>(b)] + std::to_string(s));
        };
        t.OnMouseUp = [this, buttons](TObject*, TMouseButton b, TShiftState s, int, int) {
            log.push_back(std::string("up ") + buttons[static_cast<int>(b)] + std::to_string(s));
        };
        t.OnMouseMove = [this](TObject*, TShiftState, int, int) { log.push_back("move"); };
        for (auto [event, name] : {std::pair{&t.OnBalloonHintClick, "balloon click"},
                                   {&t.OnBalloonHintHide, "balloon hide"}, {&t.OnBalloonHintTimeout, "balloon timeout"}})
            *event = [this, &t, name](TObject* sender) { log.push_back(sender == &t ? name : "wrong sender"); };
    }
    std::string Log() {
        std::string text;
        for (const auto& entry : log) text += (text.empty() ? "" : ", ") + entry;
        log.clear();
        return text;
    }

    std::unique_ptr<TestForm> form = std::make_unique<TestForm>(TestForm::Plain());
    std::unique_ptr<TCoolTrayIcon> icon;
    std::vector<std::string> log;
};

TEST_F(TrayIconTest, TheRecordTheShellGets) {
    TCoolTrayIcon& tray = Make();
    HWND window = TCoolTrayIcon::TrayWindow();
    // Construction asks nothing of the shell: there is no icon yet.
    EXPECT_EQ("", FakeShell::Messages());

    tray.SetHint(std::string(126, 'a') + "bc" + std::string(72, 'z'));
    tray.SetIconVisible(true);
    tray.SetIconVisible(true);
    tray.SetIconIndex(0);
    // The shell is asked once: not to delete or change an icon it does not hold, nor to add or change nothing.
    EXPECT_EQ("add", FakeShell::Messages());
    EXPECT_TRUE(tray.IconVisible());
    EXPECT_EQ(1u, FakeShell::held.size());
    const ShellCall& add = FakeShell::calls[0];
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), add.message);
    EXPECT_EQ(sizeof(void*) == 4 ? 488u : 504u, add.bytes);
    EXPECT_EQ(add.bytes, add.record.cbSize);
    EXPECT_EQ(window, add.record.hWnd);
    EXPECT_EQ(tray.TrayId(), add.record.uID);
    EXPECT_EQ(7u, add.record.uFlags);
    EXPECT_EQ(0x800u, add.record.uCallbackMessage);
    EXPECT_EQ(std::pair(std::string(126, 'a') + "b", true), Tip(add.record));
    EXPECT_EQ(0u, add.record.dwState | add.record.dwStateMask | add.record.uVersion | add.record.dwInfoFlags);
    EXPECT_EQ(0, add.record.szInfo[0] | add.record.szInfoTitle[0]);

    struct {
        std::function<void()> write;
        std::string tip;
    } const tips[] = {
        {[&] { tray.SetHint("Zepton"); }, "Zepton"},
        {[&] { tray.SetShowHint(false); }, ""},
        {[&] { tray.SetShowHint(true); }, "Zepton"},
        {[&] { tray.SetHint(""); }, ""},
    };
    for (const auto& t : tips) {
        t.write();
        EXPECT_EQ(static_cast<DWORD>(NIM_MODIFY), FakeShell::calls.back().message);
        EXPECT_EQ(std::pair(t.tip, true), Tip(FakeShell::calls.back().record));
    }

    // The design preview goes its own way at run time: the icon leaves, IconVisible stays.
    tray.SetDesignPreview(false);
    EXPECT_TRUE(FakeShell::held.empty());
    EXPECT_TRUE(tray.IconVisible());
    tray.SetDesignPreview(true);
    EXPECT_EQ(1u, FakeShell::held.size());

    // A balloon waits for the first add or change the shell takes, and goes with that one alone.
    FakeShell::held.clear();
    // Cut to the shell's field where a character ends ("\xC3\xA9" is one).
    std::string text;
    for (int i = 0; i < 150; ++i) text += "\xC3\xA9";
    tray.ShowBalloonHint("Zepton", text);
    tray.SetIconVisible(true);
    tray.SetHint("Zepton");
    const TNotifyIconData& added = FakeShell::calls.end()[-2].record;
    EXPECT_EQ(7u | NIF_INFO, added.uFlags);
    EXPECT_EQ(7u, FakeShell::calls.back().record.uFlags);
    EXPECT_EQ("Zepton/" + text.substr(0, 254), std::string(added.szInfoTitle) + "/" + added.szInfo);
    EXPECT_EQ(static_cast<DWORD>(NIIF_INFO), added.dwInfoFlags);

    // A second icon shares the window and gets an identifier of its own.
    auto other = std::make_unique<TCoolTrayIcon>(nullptr);
    EXPECT_EQ(window, TCoolTrayIcon::TrayWindow());
    EXPECT_NE(tray.TrayId(), other->TrayId());
    other.reset();
    EXPECT_TRUE(::IsWindow(window));

    // The last icon takes its icon out of the tray and the window with it; the next makes a new one.
    icon.reset();
    EXPECT_TRUE(FakeShell::held.empty());
    EXPECT_EQ(nullptr, TCoolTrayIcon::TrayWindow());
    EXPECT_FALSE(::IsWindow(window));
    Make();
    EXPECT_TRUE(::IsWindow(TCoolTrayIcon::TrayWindow()));
}

TEST_F(TrayIconTest, IconsFromTheImageListAndTheirCycle) {
    TCoolTrayIcon& tray = Make();
    tray.SetIconVisible(true);
    tray.SetIconIndex(5);
    EXPECT_EQ(0, tray.IconIndex());  // no list: always 0

    auto& images = form->Make<TImageList>(form.get());
    for (COLORREF colour : {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)}) {
        const HDC screen = ::GetDC(nullptr);
        TBitmap picture;
        picture.Take(::CreateCompatibleBitmap(screen, 16, 16));
        ::ReleaseDC(nullptr, screen);
        {
            const MemoryDC dc(::CreateCompatibleDC(nullptr));
            const SelectedObject selected(dc.get(), picture.Handle());
            const RECT all{0, 0, 16, 16};
            const GdiObject<HBRUSH> brush(::CreateSolidBrush(colour));
            ::FillRect(dc.get(), &all, brush.get());
        }
        images.AddMasked(picture, TColor(0x00FF00FF));  // fuchsia: none of the three
    }
    tray.SetIconList(&images);
    tray.SetIconIndex(10);
    EXPECT_EQ(2, tray.IconIndex());
    EXPECT_FALSE(tray.Icon().Empty());
    EXPECT_EQ(tray.Icon().Handle(), FakeShell::calls.back().record.hIcon);
    tray.SetIconIndex(-1);
    EXPECT_EQ(-1, tray.IconIndex());
    EXPECT_TRUE(tray.Icon().Empty());

    // Cycling with no period only resets the index.
    tray.SetIconIndex(2);
    tray.SetCycleIcons(true);
    EXPECT_EQ(0, tray.IconIndex());

    std::vector<std::pair<int, int>> steps;  // image shown, next index reported
    tray.OnCycle = [&](TObject* sender, int next) {
        EXPECT_EQ(&tray, sender);
        steps.emplace_back(tray.IconIndex(), next);
    };
    tray.SetCycleInterval(20);
    ASSERT_TRUE(WaitUntil([&] { return steps.size() >= 4; }));
    const std::vector<std::pair<int, int>> cycle{{0, 1}, {1, 2}, {2, 0}, {0, 1}};
    EXPECT_EQ(cycle, std::vector(steps.begin(), steps.begin() + 4));
    // A new period while cycling starts again from image 0.
    tray.SetCycleInterval(30);
    EXPECT_EQ(0, tray.IconIndex());
    steps.clear();
    ASSERT_TRUE(WaitUntil([&] { return !steps.empty(); }));
    EXPECT_EQ(std::pair(0, 1), steps.front());
    tray.SetCycleIcons(false);

    // The owner's notice that the list is going: the icon lets go of it.
    tray.SetIconIndex(1);
    tray.Notification(&images, TComponent::Operation::Remove);
    EXPECT_EQ(nullptr, tray.IconList());
    EXPECT_EQ(0, tray.IconIndex());
}

TEST_F(TrayIconTest, EveryNotificationOfTheShell) {
    Make().SetIconVisible(true);
    LogEvents();
    struct Row {
        LPARAM event;
        const char* legacy;   // the events with nmLegacy
        const char* version3;  // with nmVersion3
    };
    const Row rows[] = {
        {WM_RBUTTONDOWN, "down R16", "down R16"},
        {WM_RBUTTONUP, "up R16", ""},
        {WM_CONTEXTMENU, "", "up R16"},
        {NIN_SELECT, "", "up R16"},
        {NIN_KEYSELECT, "", "up R16"},
        {WM_MBUTTONDOWN, "down M32", "down M32"},
        {WM_MBUTTONUP, "up M32", "up M32"},
        {WM_RBUTTONDBLCLK, "", ""},
        {WM_MBUTTONDBLCLK, "", ""},
        {NIN_BALLOONSHOW, "", ""},
        {NIN_BALLOONHIDE, "balloon hide", "balloon hide"},
        {NIN_BALLOONTIMEOUT, "balloon timeout", "balloon timeout"},
        {NIN_BALLOONUSERCLICK, "balloon click", "balloon click"},
        {WM_MOUSEMOVE, "move", "move"},
    };
    for (TNotifyMode mode : {nmVersion3, nmLegacy}) {  // a new icon has the legacy version already
        icon->SetNotifyMode(mode);
        EXPECT_EQ(static_cast<DWORD>(NIM_SETVERSION), FakeShell::calls.back().message);
        EXPECT_EQ(mode == nmVersion3 ? 3u : 0u, FakeShell::calls.back().record.uVersion);
        for (const Row& row : rows) {
            Shell(row.event);
            EXPECT_EQ(mode == nmLegacy ? row.legacy : row.version3, Log()) << row.event << " mode " << mode;
        }
    }
    // Disabled: no mouse event at all, balloons still arrive.
    icon->Enabled = false;
    for (LPARAM event : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_MBUTTONDOWN,
                         WM_MBUTTONUP, WM_CONTEXTMENU, NIN_SELECT})
        Shell(event);
    EXPECT_EQ("", Log());
    Shell(NIN_BALLOONUSERCLICK);
    EXPECT_EQ("balloon click", Log());
    // A notification for an icon that is not alive is dropped.
    icon->Enabled = true;
    Shell(WM_RBUTTONDOWN, icon->TrayId() + 1);
    EXPECT_EQ("", Log());
}

TEST_F(TrayIconTest, ClicksAndDoubleClicksWithAndWithoutOnDblClick) {
    Make();
    LogEvents();
    const std::string down = "down L" + std::to_string(ssLeft), up = "up L" + std::to_string(ssLeft);

    // With OnDblClick: the click waits for the double-click time; a double click drops it.
    icon->OnDblClick = [this](TObject*) { log.push_back("double"); };
    Shell(WM_LBUTTONDOWN);
    Shell(WM_LBUTTONUP);
    EXPECT_EQ(down + ", " + up, Log());
    ASSERT_TRUE(WaitUntil([&] { return !log.empty(); }));
    EXPECT_EQ("click", Log());

    Shell(WM_LBUTTONDOWN);
    Shell(WM_LBUTTONUP);
    Shell(WM_LBUTTONDBLCLK);
    Shell(WM_LBUTTONUP);
    HandleMessagesFor(::GetDoubleClickTime() + 300);  // no click, even once the double-click time is over
    EXPECT_EQ(down + ", " + up + ", double, " + up, Log());

    // No OnDblClick: the click comes at the release, and the double click
    // stands in for the second press.
    icon->OnDblClick = nullptr;
    Shell(WM_LBUTTONDOWN);
    Shell(WM_LBUTTONUP);
    EXPECT_EQ(down + ", click, " + up, Log());
    Shell(WM_LBUTTONDOWN);
    Shell(WM_LBUTTONUP);
    Shell(WM_LBUTTONDBLCLK);
    Shell(WM_LBUTTONUP);
    EXPECT_EQ(down + ", click, " + up + ", " + up, Log());
}

TEST_F(TrayIconTest, DoubleClickRunsTheDefaultItemNearestTheTop) {
    Make();
    auto& menu = form->Make<TPopupMenu>(form.get());
    std::string ran;
    for (const char* name : {"first", "second", "third"})
        menu.Add(name, [&ran, name](TObject*) { ran += name; }).Default = std::string(name) != "first";
    icon->PopupMenu = &menu;
    const struct {
        bool autoPopup, leftPopup;
        const char* runs;
    } cases[] = {{true, false, "second"}, {false, false, ""}, {true, true, ""}};
    for (const auto& c : cases) {
        menu.AutoPopup = c.autoPopup;
        icon->LeftPopup = c.leftPopup;
        ran.clear();
        Shell(WM_LBUTTONDBLCLK);
        EXPECT_EQ(c.runs, ran) << c.autoPopup << c.leftPopup;
    }
    // The owner's notice that the menu is going: the icon lets go of it.
    icon->Notification(&menu, TComponent::Operation::Remove);
    EXPECT_EQ(nullptr, icon->PopupMenu);
}

TEST_F(TrayIconTest, RightPressOpensTheMenuAtTheCursorAfterMouseDown) {
    Make();
    LogEvents();
    auto& menu = form->Make<TPopupMenu>(form.get());
    menu.Add("Open", [this](TObject*) { log.push_back("item"); });
    icon->PopupMenu = &menu;
    ::SetCursorPos(300, 200);
    ASSERT_TRUE(WaitUntil([] {
        POINT p;
        return ::GetCursorPos(&p) && p.x == 300 && p.y == 200;
    }));
    // The menu runs its own loop: another thread chooses its first item once it is up.
    RECT shown{};
    std::thread chooser([&shown] {
        HWND open = nullptr;
        for (int i = 0; i < 2000; ++i, ::Sleep(10))
            if ((open = ::FindWindowA("#32768", nullptr)) && ::IsWindowVisible(open)) break;
        ::GetWindowRect(open, &shown);
        ::PostMessageA(open, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(open, WM_KEYDOWN, VK_RETURN, 0);
    });
    Shell(WM_RBUTTONDOWN);
    chooser.join();
    EXPECT_EQ("down R" + std::to_string(ssRight) + ", item", Log());
    EXPECT_EQ(icon.get(), menu.PopupComponent);
    EXPECT_EQ(300, shown.left);
    EXPECT_EQ(200, shown.top);
}

// The menu key or Shift+F10 opens the menu, Enter runs its default item; a right click opens it once.
TEST_F(TrayIconTest, FromTheKeyboardAtTheVersionThatReportsIt) {
    Make().SetNotifyMode(nmVersion3);
    icon->PopupMenu = &form->Make<TPopupMenu>(form.get());
    icon->PopupMenu->Add("Open", [this](TObject*) { log.push_back("item"); }).Default = true;
    const UINT_PTR chooser = ::SetTimer(nullptr, 0, 20, &ChooseFirstItem);
    for (const auto& events : {std::vector<LPARAM>{WM_CONTEXTMENU}, {NIN_KEYSELECT},
                               {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU}}) {
        for (LPARAM event : events) Shell(event);
        EXPECT_EQ("item", Log()) << events.front();
    }
    ::KillTimer(nullptr, chooser);
}

TEST_F(TrayIconTest, EnterBeforeTheFirstMoveAndExitOnceTheCursorRestsElsewhere) {
    Make();
    LogEvents();
    ::SetCursorPos(200, 200);
    ASSERT_TRUE(WaitUntil([] {
        POINT p;
        return ::GetCursorPos(&p) && p.x == 200 && p.y == 200;
    }));
    Shell(WM_MOUSEMOVE);
    EXPECT_EQ("move", Log());  // enter and exit only on demand
    icon->SetWantEnterExitEvents(true);
    Shell(WM_MOUSEMOVE);
    Shell(WM_MOUSEMOVE);
    EXPECT_EQ("enter, move, move", Log());
    HandleMessagesFor(100);
    EXPECT_EQ("", Log());  // the cursor stays where the last move left it
    ::SetCursorPos(260, 230);
    ASSERT_TRUE(WaitUntil([&] { return !log.empty(); }));
    EXPECT_EQ("exit", Log());
    Shell(WM_MOUSEMOVE);
    EXPECT_EQ("enter, move", Log());
}

TEST_F(TrayIconTest, TheSharedWindowRefusesToBeClosedOrEnded) {
    Make();
    HWND window = TCoolTrayIcon::TrayWindow();
    for (UINT message : {WM_CLOSE, WM_QUIT, WM_QUERYENDSESSION, WM_ENDSESSION, WM_DESTROY, WM_NCDESTROY})
        EXPECT_EQ(1, ::SendMessageA(window, message, 0, 0)) << message;
    Flush();
    EXPECT_TRUE(::IsWindow(window));
    // Its notifications still reach the icon.
    LogEvents();
    Shell(WM_LBUTTONUP);
    EXPECT_EQ("up L8", Log());
    // Other messages get the default processing.
    EXPECT_EQ(0, ::SendMessageA(window, WM_USER + 7, 0, 0));
}

TEST_F(TrayIconTest, StartupAnswerDecidesWhetherTheMainFormIsShown) {
    for (bool answer : {true, false}) {
        Application().ShowMainForm = true;
        TCoolTrayIcon& tray = Make();
        int asked = 0;
        tray.OnStartup = [&](TObject* sender, bool& show) {
            EXPECT_EQ(&tray, sender);
            EXPECT_TRUE(show);
            show = answer;
            ++asked;
        };
        tray.Loaded();
        EXPECT_EQ(1, asked);
        EXPECT_EQ(answer, Application().ShowMainForm);
    }
    Application().ShowMainForm = true;
}

TEST_F(TrayIconTest, MinimisingSendsTheMainFormToTheTrayByEitherRoad) {
    TCoolTrayIcon& tray = MakeForMainForm();
    HWND app = Application().Handle();
    int intercepted = 0;
    auto hidden = [&] { return !form->IsShowing() && !::IsWindowVisible(app); };
    auto reshow = [&] {
        tray.ShowMainWindow();
        ASSERT_TRUE(WaitUntil([&] { return form->IsShowing() && ::IsWindowVisible(app) && !::IsIconic(app); }));
        FakeShell::calls.clear();
    };

    // OnMinimizeToTray empty: the application minimises, and its minimising sends the form to the tray.
    ::SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil(hidden));
    EXPECT_TRUE(::IsIconic(app));
    EXPECT_EQ("", FakeShell::Messages());  // the icon is there already
    EXPECT_EQ(1u, FakeShell::held.size());
    reshow();

    // OnMinimizeToTray assigned: the command is consumed, and the application stays as it is.
    tray.OnMinimizeToTray = [&](TObject* sender) {
        EXPECT_EQ(&tray, sender);
        ++intercepted;
    };
    EXPECT_EQ(1, ::SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0));
    EXPECT_EQ(1, intercepted);
    EXPECT_TRUE(hidden());
    EXPECT_FALSE(::IsIconic(app));
    reshow();

    // SC_MINIMIZE with low bits set is not the owner hook's: it goes the application's road.
    ::SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE | 2, 0);
    ASSERT_TRUE(WaitUntil(hidden));
    EXPECT_EQ(1, intercepted);
    EXPECT_TRUE(::IsIconic(app));
    reshow();

    // Without MinimizeToTray minimising is the usual one: the taskbar button stays, nothing goes to the tray.
    tray.MinimizeToTray = false;
    ::SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(app); }));
    EXPECT_TRUE(::IsWindowVisible(app));
    EXPECT_EQ(1, intercepted);
    EXPECT_EQ("", FakeShell::Messages());
    reshow();
}

TEST_F(TrayIconTest, ShowMainWindowBringsAMinimisedFormBackNormal) {
    TCoolTrayIcon& tray = MakeForMainForm();
    tray.HideMainWindow();
    EXPECT_FALSE(form->IsShowing());
    EXPECT_FALSE(::IsWindowVisible(Application().Handle()));
    ::ShowWindow(form->Handle(), SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(WaitUntil([&] { return form->IsMinimized(); }));
    tray.ShowMainWindow();
    ASSERT_TRUE(WaitUntil([&] { return form->IsShowing() && !form->IsMinimized(); }));
    EXPECT_TRUE(::IsWindowVisible(Application().Handle()));
}

TEST_F(TrayIconTest, TaskbarCreatedPutsAVisibleIconBack) {
    TCoolTrayIcon& tray = MakeForMainForm();
    const UINT taskbarCreated = TCoolTrayIcon::TaskbarCreatedMessage();
    ASSERT_NE(0u, taskbarCreated);  // comctl32 here is newer than 4.71
    for (bool visible : {true, false}) {
        tray.SetIconVisible(visible);
        FakeShell::held.clear();  // the new taskbar holds nothing
        FakeShell::calls.clear();
        ::SendMessageA(Application().Handle(), taskbarCreated, 0, 0);
        EXPECT_EQ(visible ? "add" : "", FakeShell::Messages());
        EXPECT_EQ(visible ? 1u : 0u, FakeShell::held.size());
    }
}

TEST_F(TrayIconTest, AnIconTheShellRefusesAtStartIsAskedForAgainThenTheWindowShown) {
    Application().SetMainForm(form.get());
    FakeShell::refuseAdds = true;
    TCoolTrayIcon& tray = Make();
    tray.SetIconVisible(true);
    tray.Loaded();
    const TSimpleTimer& retry = tray.AddRetryTimer();
    ASSERT_TRUE(retry.Enabled());
    EXPECT_EQ(1000u, retry.Interval());
    // The shell takes it at the next real tick: no more asking.
    FakeShell::refuseAdds = false;
    ASSERT_TRUE(WaitUntil([&] { return !retry.Enabled(); }));
    EXPECT_EQ(1u, FakeShell::held.size());
    EXPECT_FALSE(form->IsShowing());

    // Refused on every tick: after the last one the main form shows itself.
    tray.SetDesignPreview(false);
    FakeShell::refuseAdds = true;
    tray.Loaded();
    ASSERT_TRUE(retry.Enabled());
    HWND timerWindow = TSimpleTimer::TimerWindow();
    for (int tick = 1; tick < TCoolTrayIcon::AddRetryLimit; ++tick)
        ::SendMessageA(timerWindow, WM_TIMER, retry.TimerId(), 0);
    EXPECT_TRUE(retry.Enabled());
    EXPECT_FALSE(form->IsShowing());
    ::SendMessageA(timerWindow, WM_TIMER, retry.TimerId(), 0);
    EXPECT_FALSE(retry.Enabled());
    EXPECT_TRUE(WaitUntil([&] { return form->IsShowing(); }));
    // With no icon to come back by, it minimises to the taskbar.
    HWND app = Application().Handle();
    tray.MinimizeToTray = true;
    ::SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(app); }));
    Flush();
    EXPECT_TRUE(::IsWindowVisible(app));
    tray.ShowMainWindow();

    // A re-created taskbar takes the icon at once and ends the asking.
    form->Hide();
    tray.Loaded();
    ASSERT_TRUE(retry.Enabled());
    FakeShell::refuseAdds = false;
    ::SendMessageA(Application().Handle(), TCoolTrayIcon::TaskbarCreatedMessage(), 0, 0);
    ::SendMessageA(timerWindow, WM_TIMER, retry.TimerId(), 0);
    EXPECT_FALSE(retry.Enabled());
    EXPECT_EQ(1u, FakeShell::held.size());

    // Nothing to ask for once the icon is not wanted.
    FakeShell::held.clear();
    FakeShell::refuseAdds = true;
    tray.Loaded();
    tray.SetIconVisible(false);
    ::SendMessageA(timerWindow, WM_TIMER, retry.TimerId(), 0);
    EXPECT_FALSE(retry.Enabled());
}

// A busy shell answers FALSE to an add it makes: the next change finds the icon held, added anew.
TEST_F(TrayIconTest, AnAddTheBusyShellMadeWhileAnsweringNo) {
    Make().SetNotifyMode(nmVersion3);
    FakeShell::busy = true;
    icon->ShowBalloonHint("Zepton", "Hello", [this](TObject*) { log.push_back("balloon shown"); });
    icon->SetIconVisible(true);
    icon->Loaded();
    EXPECT_EQ("add modify version", FakeShell::Messages());
    EXPECT_EQ("balloon shown", Log());
}

}  // namespace
}  // namespace zep::test
