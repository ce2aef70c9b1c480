// The window core that controls and components stand on: each window meets its
// object at its first message, hooks come and go in any order, one boundary
// reports every error, and the application minimises and restores as a whole.
#include "tests/windows/ToolkitHarness.h"
#include "toolkit/StdCtrls.h"
#include "toolkit/WindowHook.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zep::test {
namespace {

constexpr UINT kPing = WM_APP + 7;

// A windowed control whose class its base constructor declares, as with
// every control of the toolkit.
class Declared : public TWinControl {
public:
    Declared(TWinControl& parent, const char* className, DWORD style) : TWinControl(&parent, &parent) {
        TControl::SetBounds(10, 10, 120, 80);
        SetWindowClass(className, WS_CHILD | WS_VISIBLE | style);
    }
};

// Notes every message it gets, and answers the measuring of its items (an
// owner-drawn list asks while it is being made).
class Recorder : public Declared {
public:
    static constexpr UINT kItemHeight = 21;

    using Declared::Declared;
    bool Got(UINT message) const { return std::find(messages.begin(), messages.end(), message) != messages.end(); }

    std::vector<UINT> messages;
    UINT measuredId = 0;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(message);
        return TWinControl::WndProc(message, wParam, lParam);
    }
    bool Reflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result) override {
        if (message != WM_MEASUREITEM) return false;
        auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        measuredId = item.CtlID;
        item.itemHeight = kItemHeight;
        result = TRUE;
        return true;
    }
};

TEST(WindowCore, EachWindowMeetsItsObjectAtItsFirstMessage) {
    InitApplication();
    const auto made = MakeForm<TestForm>(TestForm::Plain());
    TestForm& form = *made;
    auto& own = form.Make<Recorder>(form, nullptr, 0);
    auto& edit = form.Make<Recorder>(form, "EDIT", 0);
    auto& list = form.Make<Recorder>(form, "LISTBOX", LBS_OWNERDRAWFIXED | LBS_HASSTRINGS);
    form.HandleNeeded();  // the form's window, and with it its controls'
    std::vector<int> ids;
    for (Recorder* control : {&own, &edit, &list}) {
        for (UINT first : {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE})
            EXPECT_TRUE(control->Got(first)) << "message " << first << " to control " << ids.size();
        EXPECT_EQ(control, TWinControl::FromHandle(control->Handle()));
        ids.push_back(::GetDlgCtrlID(control->Handle()));
    }
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids.end(), std::unique(ids.begin(), ids.end()));
    EXPECT_NE(0, ids.front());

    // The list asked for its item height before its window was known to the form.
    EXPECT_EQ(static_cast<UINT>(::GetDlgCtrlID(list.Handle())), list.measuredId);
    EXPECT_EQ(static_cast<LRESULT>(Recorder::kItemHeight), ::SendMessageA(list.Handle(), LB_GETITEMHEIGHT, 0, 0));

    // Windows of other kinds are no controls, whatever they keep in their user data.
    TMessageWindow hidden([](UINT, WPARAM, LPARAM, LRESULT&) { return false; });
    ::SetWindowLongPtrA(hidden.Handle(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&own));
    EXPECT_EQ(nullptr, TWinControl::FromHandle(hidden.Handle()));
    EXPECT_EQ(nullptr, TWinControl::FromHandle(Application().Handle()));
}

TEST(WindowHook, HooksComeAndGoInEitherOrderAndTheWindowKeepsItsMessages) {
    InitApplication();
    TestForm form(TestForm::Plain());
    auto& own = form.Make<Recorder>(form, nullptr, 0);
    auto& native = form.Make<Recorder>(form, "EDIT", 0);
    for (Recorder* control : {&own, &native}) {
        for (bool firstGoesFirst : {true, false}) {
            SCOPED_TRACE(std::string(control == &own ? "own window, " : "native control, ") +
                         (firstGoesFirst ? "first hook removed first" : "last hook removed first"));
            int a = 0, b = 0;
            auto counter = [](int& count) {
                return [&count](UINT message, WPARAM, LPARAM, LRESULT&) {
                    count += message == kPing;
                    return false;
                };
            };
            std::optional<TWindowHook> first(std::in_place, control->Handle(), counter(a));
            std::optional<TWindowHook> second(std::in_place, control->Handle(), counter(b));
            auto reachesControl = [control] {
                control->messages.clear();
                ::SendMessageA(control->Handle(), kPing, 0, 0);
                return control->Got(kPing);
            };
            EXPECT_TRUE(reachesControl());
            EXPECT_EQ(1, a);
            EXPECT_EQ(1, b);
            (firstGoesFirst ? first : second).reset();
            EXPECT_TRUE(reachesControl());
            EXPECT_EQ(firstGoesFirst ? 1 : 2, a);
            EXPECT_EQ(firstGoesFirst ? 2 : 1, b);
            (firstGoesFirst ? second : first).reset();
            EXPECT_TRUE(reachesControl());
            EXPECT_EQ(3, a + b);
        }
    }

    // A hook that handles a message answers it for the window; a hook outlives
    // the window it watched.
    TWindowHook answering(native.Handle(), [](UINT message, WPARAM, LPARAM, LRESULT& result) {
        result = 42;
        return message == kPing;
    });
    native.messages.clear();
    EXPECT_EQ(42, ::SendMessageA(native.Handle(), kPing, 0, 0));
    EXPECT_FALSE(native.Got(kPing));
    ::DestroyWindow(native.Handle());
    EXPECT_EQ(nullptr, answering.Window());
    EXPECT_EQ(nullptr, native.Handle());
}

// A windowless control whose first paint fails.
class FailingPicture : public TGraphicControl {
public:
    explicit FailingPicture(TWinControl& parent) : TGraphicControl(&parent, &parent) { SetBounds(200, 150, 60, 40); }
    void Paint(TCanvas& canvas) override {
        if (++paints == 1) throw std::runtime_error("Cannot draw the picture");
        canvas.Brush.color = clBlack;
        canvas.FillRect({0, 0, Width(), Height()});
    }
    int paints = 0;
};

// What the report showed for what `act` did: no box while the failing procedure runs, then
// the report from the loop (here outside Run, as the start-up lets waiting messages through).
template <class Act>
SeenBox Reported(Act act) {
    {
        BoxWatcher inside;
        act();
        EXPECT_FALSE(inside.Result().found) << "a box inside the failing procedure";
    }
    BoxWatcher watcher;
    Application().ProcessMessages();
    return watcher.Result();
}

TEST(Boundary, AnErrorInAHiddenWindowAHookOrAPaintIsReportedAndTheProgramGoesOn) {
    InitApplication();
    TestForm form(TestForm::Plain());
    form.Show();
    Flush();

    int calls = 0;
    TMessageWindow hidden([&calls](UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message != kPing) return false;
        if (++calls == 1) throw std::runtime_error("Cannot reach the notification area");
        result = 42;
        return true;
    });
    SeenBox seen = Reported([&] { EXPECT_EQ(0, ::SendMessageA(hidden.Handle(), kPing, 0, 0)); });
    EXPECT_EQ("Cannot reach the notification area.", seen.text);
    EXPECT_EQ(42, ::SendMessageA(hidden.Handle(), kPing, 0, 0));

    // A failing hook: reported, and the message goes on to the window.
    auto& control = form.Make<Recorder>(form, nullptr, 0);
    TWindowHook failing(control.Handle(), [](UINT message, WPARAM, LPARAM, LRESULT&) -> bool {
        if (message == kPing) throw std::runtime_error("Hook failed");
        return false;
    });
    seen = Reported([&] { ::SendMessageA(control.Handle(), kPing, 0, 0); });
    EXPECT_EQ("Hook failed.", seen.text);
    EXPECT_TRUE(control.Got(kPing));

    auto& picture = form.Make<FailingPicture>(form);
    seen = Reported([&] {
        picture.Invalidate();
        ::UpdateWindow(form.Handle());
    });
    EXPECT_EQ("Cannot draw the picture.", seen.text);
    EXPECT_TRUE(seen.errorIcon);
    // The failed paint ended: the next one comes and draws.
    picture.Invalidate();
    ::UpdateWindow(form.Handle());
    EXPECT_GE(picture.paints, 2);
    HDC dc = ::GetDC(form.Handle());
    EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(dc, 230, 170));
    ::ReleaseDC(form.Handle(), dc);
}

// A procedure failing again and again under the message loop: its reports
// come one at a time, the first once the failing procedure has returned.
TEST(Boundary, FailuresAreReportedOneAtATimeOnceTheFailingProcedureReturned) {
    InitApplication();
    std::vector<bool> boxOpenAtFailure;
    TMessageWindow failing([&](UINT message, WPARAM, LPARAM, LRESULT&) -> bool {
        if (message != kPing) return false;
        boxOpenAtFailure.push_back(::FindWindowA("#32770", "Zepton") != nullptr);
        if (boxOpenAtFailure.size() < 3) ::PostMessageA(failing.Handle(), kPing, 0, 0);
        if (boxOpenAtFailure.size() == 3) Application().Terminate();
        throw std::runtime_error("Cannot read the group");
    });
    ::PostMessageA(failing.Handle(), kPing, 0, 0);
    BoxWatcher watcher;  // answers the box, unless the end closed it already
    Application().Run();
    EXPECT_EQ((std::vector<bool>{false, false, true}), boxOpenAtFailure);
    EXPECT_EQ(nullptr, ::FindWindowA("#32770", "Zepton"));  // the last one waited for none
}

TEST(Application, MinimisesAndRestoresAsAWhole) {
    InitApplication();
    TestForm main(TestForm::Plain());
    Application().SetMainForm(&main);
    main.Show();
    HWND app = Application().Handle();
    const auto minimised = [app] { return ::IsIconic(app) != FALSE; };

    // The main form's minimise box minimises the program, taskbar button and all.
    ::PostMessageA(main.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(WaitUntil(minimised));
    EXPECT_FALSE(main.IsMinimized());
    Application().Restore();
    EXPECT_TRUE(WaitUntil([&] { return !minimised() && main.IsShowing(); }));

    // The taskbar button's menu does the same.
    ::PostMessageA(app, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(WaitUntil(minimised));
    ::PostMessageA(app, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !minimised() && main.IsShowing(); }));
    Application().SetMainForm(nullptr);
}

TEST(Forms, KeyUpReachesTheFormFromItsControlsOnlyWithKeyPreview) {
    InitApplication();
    TestForm form(TestForm::Plain());
    form.Show();
    auto& edit = form.Make<TEdit>(&form, &form, 5, 5, 100, 21);
    std::vector<WORD> previewed, reachedEdit;
    form.OnKeyUp = [&](TObject* sender, WORD& key, TShiftState) {
        EXPECT_EQ(&form, sender);
        previewed.push_back(key);
        if (key == VK_ESCAPE) key = 0;  // taken: the control never sees it
    };
    TWindowHook editKeys(edit.Handle(), [&](UINT message, WPARAM wParam, LPARAM, LRESULT&) {
        if (message == WM_KEYUP) reachedEdit.push_back(static_cast<WORD>(wParam));
        return false;
    });
    const auto keyUp = [](HWND window, WORD key) { ::PostMessageA(window, WM_KEYUP, key, 0xC0000001); };

    keyUp(edit.Handle(), 'A');
    keyUp(form.Handle(), 'B');
    Flush();
    EXPECT_EQ(std::vector<WORD>{'B'}, previewed);
    form.KeyPreview = true;
    keyUp(edit.Handle(), 'C');
    keyUp(edit.Handle(), VK_ESCAPE);
    Flush();
    EXPECT_EQ((std::vector<WORD>{'B', 'C', VK_ESCAPE}), previewed);
    EXPECT_EQ((std::vector<WORD>{'A', 'C'}), reachedEdit);
}

}  // namespace
}  // namespace zep::test
