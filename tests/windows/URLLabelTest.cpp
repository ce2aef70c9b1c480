// The link label on a real form: its colours under the pointer read back from
// the window's pixels, its cursor, and what a click hands to the shell.
#include "controls/URLLabel.h"
#include "tests/windows/Snapshot.h"
#include "tests/windows/ToolkitHarness.h"
#include "toolkit/Shell.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zep::test {
namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255), kBlack = RGB(0, 0, 0);

class URLLabelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitApplication(); }

    URLLabelTest() {
        ::SetCursorPos(0, 0);  // the real pointer stays off the form
        form->Color = clWhite;
        label.SetBounds(20, 20, 0, 0);
        label.SetCaption("www.example.org");
        form->Show();
    }

    POINT Centre() const { return {label.Left() + label.Width() / 2, label.Top() + label.Height() / 2}; }
    void Send(UINT message, WPARAM keys, POINT p) { ::SendMessageA(form->Handle(), message, keys, At(p.x, p.y)); }
    int PixelsOf(COLORREF colour) {
        ::UpdateWindow(form->Handle());
        return FindColour(Snapshot(form->Handle(), form->ClientWidth(), form->ClientHeight()), label.BoundsRect(), colour)
            .count;
    }

    std::unique_ptr<TestForm> form = std::make_unique<TestForm>(TestForm::Plain());
    TURLLabel& label = form->Make<TURLLabel>(form.get(), form.get());
};

TEST_F(URLLabelTest, NewLabelIsAnUnderlinedWebLinkWithTheLinkCursor) {
    EXPECT_EQ(TURLType::utHTTP, label.URLType);
    EXPECT_EQ(fsUnderline, label.Font().Style());
    EXPECT_TRUE(label.AutoSize());
    EXPECT_EQ(crURLCursor, label.Cursor());
    HCURSOR own = ::LoadCursorA(::GetModuleHandleA(nullptr), "URLCURSOR_1");
    ASSERT_NE(nullptr, own);
    EXPECT_EQ(own, Screen().CursorHandle(crURLCursor));

    // The pointer over the label shows that cursor.
    Send(WM_MOUSEMOVE, 0, Centre());
    ::SendMessageA(form->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form->Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(own, ::GetCursor());
}

TEST_F(URLLabelTest, BlueWhileThePointerIsOverItBlackAfter) {
    EXPECT_EQ(clWindowText, label.Font().Color());
    ASSERT_TRUE(WaitUntil([&] { return PixelsOf(kBlack) > 0; }));
    for (int round = 0; round < 2; ++round) {
        Send(WM_MOUSEMOVE, 0, Centre());
        EXPECT_EQ(0xFF0000u, label.Font().Color());
        EXPECT_TRUE(WaitUntil([&] { return PixelsOf(kBlue) > 0 && PixelsOf(kBlack) == 0; })) << round;
        // Leaving by a move beside it, then by leaving the window.
        if (round == 0)
            Send(WM_MOUSEMOVE, 0, {label.Left() + label.Width() + 10, Centre().y});
        else
            Send(WM_MOUSELEAVE, 0, {0, 0});
        EXPECT_EQ(clBlack, label.Font().Color());
        EXPECT_TRUE(WaitUntil([&] { return PixelsOf(kBlack) > 0 && PixelsOf(kBlue) == 0; })) << round;
    }
}

TEST_F(URLLabelTest, ClickHandsTheCompletedCaptionToTheShellAfterOnClick) {
    std::vector<std::string> seen;
    label.OnClick = [&](TObject* sender) {
        EXPECT_EQ(&label, sender);
        seen.push_back("OnClick");
    };
    const ShellOpenRedirect shell([&](HWND owner, const std::string& file) {
        EXPECT_EQ(::GetDesktopWindow(), owner);
        seen.push_back(file);
    });
    struct Case {
        TURLType type;
        const char* caption;
        const char* opened;
    };
    for (const Case& c : {Case{TURLType::utHTTP, "www.example.org", "http://www.example.org"},
                          Case{TURLType::utHTTP, "HTTP://example.org/x", "HTTP://example.org/x"},
                          Case{TURLType::utMailTo, "zepton@example.org", "mailto:zepton@example.org"}}) {
        seen.clear();
        label.URLType = c.type;
        label.SetCaption(c.caption);
        Send(WM_LBUTTONDOWN, MK_LBUTTON, Centre());
        Send(WM_LBUTTONUP, 0, Centre());
        EXPECT_EQ((std::vector<std::string>{"OnClick", c.opened}), seen);
    }
    // A right click opens nothing.
    seen.clear();
    Send(WM_RBUTTONDOWN, MK_RBUTTON, Centre());
    Send(WM_RBUTTONUP, 0, Centre());
    EXPECT_TRUE(seen.empty());
}

}  // namespace
}  // namespace zep::test
