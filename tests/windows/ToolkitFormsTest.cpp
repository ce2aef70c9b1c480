// Forms and the application object in real windows: frame sizes, modal
// showing, closing, and the general error report.
#include "tests/windows/ToolkitHarness.h"
#include "toolkit/StdCtrls.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace zep::test {
namespace {

constexpr UINT kCloseYourself = WM_APP + 1;

// A secondary form that, when told, notes whether the main form takes input and closes.
class SelfClosingForm : public TestForm {
public:
    using TestForm::TestForm;
    HWND watched = nullptr;
    bool watchedEnabled = true;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kCloseYourself) {
            watchedEnabled = ::IsWindowEnabled(watched) != FALSE;
            Close();
            return 0;
        }
        return TestForm::WndProc(message, wParam, lParam);
    }
};

TEST(ErrorReportText, AddsAFullStopOnlyAfterCharactersAboveIt) {
    EXPECT_EQ("Cannot open file C:\\a.dat.", ErrorReportText("Cannot open file C:\\a.dat"));
    EXPECT_EQ("Done.", ErrorReportText("Done."));
    EXPECT_EQ("Really!", ErrorReportText("Really!"));  // '!' sorts below '.'
    EXPECT_EQ("Closed)", ErrorReportText("Closed)"));
    EXPECT_EQ("C:\\data/.", ErrorReportText("C:\\data/"));  // '/' sorts just above '.'
    EXPECT_EQ("", ErrorReportText(""));
    EXPECT_EQ("caf\xE9.", ErrorReportText("caf\xE9"));  // 8-bit characters count as above
}

TEST(Forms, ClientAreaIsExactForEachBorder) {
    InitApplication();
    TForm::Options main = TestForm::Plain(234, 269);
    main.borderIcons = biSystemMenu | biMinimize;
    TestForm single(main);
    EXPECT_EQ(234, single.ClientWidth());
    EXPECT_EQ(269, single.ClientHeight());
    const LONG style = ::GetWindowLongA(single.Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);

    TForm::Options info = TestForm::Plain(297, 202);
    info.borderStyle = TBorderStyle::bsDialog;
    info.borderIcons = 0;
    info.left = 233;
    info.top = 158;
    TestForm dialog(info);
    EXPECT_EQ(297, dialog.ClientWidth());
    EXPECT_EQ(202, dialog.ClientHeight());
    EXPECT_FALSE(::GetWindowLongA(dialog.Handle(), GWL_STYLE) & WS_SYSMENU);
    EXPECT_EQ(233, dialog.WindowRect().left);
    EXPECT_EQ(158, dialog.WindowRect().top);
}

TEST(Forms, ShowModalBlocksTheOthersUntilClosedAndClosingHides) {
    InitApplication();
    TestForm main(TestForm::Plain());
    Application().SetMainForm(&main);
    main.Show();
    TForm::Options o = TestForm::Plain(177, 180);
    o.position = TPosition::poScreenCenter;
    SelfClosingForm modal(o);
    modal.watched = main.Handle();

    ::PostMessageA(modal.Handle(), kCloseYourself, 0, 0);
    modal.ShowModal();
    EXPECT_FALSE(modal.watchedEnabled);  // the main form took no input meanwhile
    EXPECT_TRUE(::IsWindowEnabled(main.Handle()));
    EXPECT_FALSE(modal.IsShowing());
    EXPECT_FALSE(Application().Terminated());

    // The close box of a secondary form hides it; the form lives on.
    modal.Show();
    ::PostMessageA(modal.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Flush();
    EXPECT_FALSE(modal.IsShowing());
    EXPECT_TRUE(::IsWindow(modal.Handle()));
    Application().SetMainForm(nullptr);
}

TEST(Forms, AnErrorFromAHandlerIsReportedAndTheProgramGoesOn) {
    InitApplication();
    TestForm form(TestForm::Plain());
    form.Show();
    auto& list = form.Make<TListBox>(&form, &form, 5, 5, 150, 100);
    list.Add("first");
    list.Add("second");
    int calls = 0;
    list.OnClick = [&](TObject*) {
        if (++calls == 1) throw std::runtime_error("Cannot create file C:\\data\\a?.dat");
    };
    SeenBox seen;
    {
        BoxWatcher watcher;
        Click(list.Handle(), 20, 6);
        seen = watcher.Result();
    }
    ASSERT_TRUE(seen.found);
    EXPECT_EQ("Zepton", seen.caption);
    EXPECT_EQ("Cannot create file C:\\data\\a?.dat.", seen.text);
    EXPECT_TRUE(seen.errorIcon);
    EXPECT_TRUE(::IsWindowEnabled(form.Handle()));  // enabled again once the box has gone

    Click(list.Handle(), 20, 19);
    EXPECT_EQ(2, calls);
    EXPECT_EQ(1, list.ItemIndex());
}

TEST(Forms, ClosingTheMainFormEndsTheProgram) {
    InitApplication();
    TestForm main(TestForm::Plain());
    Application().SetMainForm(&main);
    main.Show();
    bool closed = false;
    main.OnClose = [&](TObject*, TCloseAction&) { closed = true; };
    ::PostMessageA(main.Handle(), WM_CLOSE, 0, 0);
    Application().Run();  // returns only because the close ended the program
    EXPECT_TRUE(closed);
    EXPECT_TRUE(Application().Terminated());
    Application().SetMainForm(nullptr);
}

// A kernel object waited for beside the messages wakes every loop, a modal
// showing's too, and no longer once its wait has ended.
TEST(Forms, TheLoopsRunTheWaitOfASignalledObject) {
    InitApplication();
    TestForm modal(TestForm::Plain());
    const KernelObject event(::CreateEventA(nullptr, FALSE, TRUE, nullptr));
    int runs = 0;
    {
        const TApplication::THandleWait wait(event.get(), [&] {
            if (++runs == 1) modal.Close();
        });
        modal.ShowModal();  // returns once the wait has closed it
        ::SetEvent(event.get());
        Application().ProcessMessages();
        EXPECT_EQ(2, runs);
    }
    ::SetEvent(event.get());
    Application().ProcessMessages();
    EXPECT_EQ(2, runs);
}

// Logoff or shut-down ends the program without a close: the main form closes
// first, and only when the session really ends, its window made or not. No box holds the sign-out up:
// a report still waiting and every error on the way go to the quiet report.
TEST(Forms, TheSessionsEndClosesTheMainForm) {
    InitApplication();
    TestForm main(TestForm::Plain()), other(TestForm::Plain());
    Application().SetMainForm(&main);
    int closes = 0;
    for (TForm* form : {&main, &other})
        form->OnClose = [&](TObject*, TCloseAction&) {
            ++closes;
            throw std::runtime_error("Cannot create file C:\\status.ord");
        };
    ::SendMessageA(Application().Handle(), WM_ENDSESSION, FALSE, 0);  // called off
    ::SendMessageA(other.Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(0, closes);
    std::vector<std::string> quiet;
    Application().OnQuietReport = [&quiet](const std::string& text) { quiet.push_back(text); };
    TMessageWindow failing([](UINT message, WPARAM, LPARAM, LRESULT&) {
        return message == WM_USER ? throw std::runtime_error("Cannot read the group") : false;
    });
    BoxWatcher watcher;
    ::SendMessageA(failing.Handle(), WM_USER, 0, 0);
    ::SendMessageA(Application().Handle(), WM_ENDSESSION, TRUE, 0);
    Application().ProcessMessages();
    EXPECT_FALSE(main.HandleAllocated());
    EXPECT_FALSE(watcher.Result().found);
    EXPECT_EQ(1, closes);
    EXPECT_EQ((std::vector<std::string>{"Cannot read the group.", "Cannot create file C:\\status.ord."}), quiet);
    EXPECT_TRUE(Application().Terminated());
    Application().OnQuietReport = nullptr;
    Application().SetMainForm(nullptr);
}

}  // namespace
}  // namespace zep::test
