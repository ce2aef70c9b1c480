// The About window: where its controls sit and how they look, keys that do
// nothing, Close, and a second showing that looks as the first.
#include "resources/version.h"
#include "tests/windows/AccessibleTree.h"
#include "tests/windows/FormProbe.h"
#include "tests/windows/Snapshot.h"
#include "tests/windows/ToolkitHarness.h"
#include "toolkit/ColourScheme.h"
#include "toolkit/Shell.h"
#include "ui/InfoUnit.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zep::test {
namespace {

Snapshot ShotOf(HWND window) {
    ::UpdateWindow(window);
    RECT r;
    ::GetClientRect(window, &r);
    return Snapshot(window, r.right, r.bottom);
}

class InfoFormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitApplication(); }
    InfoFormTest() { ::SetCursorPos(0, 0); }  // the real pointer stays off the links

    std::unique_ptr<TInfoForm> form = MakeForm<TInfoForm>(nullptr);
};

TEST_F(InfoFormTest, ControlsSitWhereTheWindowDescriptionPutsThem) {
    HWND window = form->Handle();
    EXPECT_EQ("Information", form->Caption());
    EXPECT_EQ(297, form->ClientWidth());
    EXPECT_EQ(202, form->ClientHeight());
    const RECT w = form->WindowRect();
    EXPECT_EQ(233, w.left);
    EXPECT_EQ(158, w.top);
    const LONG style = ::GetWindowLongA(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_FALSE(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);

    EXPECT_EQ("0,0,297,169", Box(RectIn(form->PageControl1->Handle(), window)));
    ASSERT_EQ(1u, form->PageControl1->Pages().size());
    EXPECT_EQ(form->TabSheet1, form->PageControl1->ActivePage());
    EXPECT_EQ("About...", form->TabSheet1->Caption());
    // The panel fills the page.
    EXPECT_EQ(Box(RectIn(form->TabSheet1->Handle(), window)), Box(RectIn(form->Panel1->Handle(), window)));
    EXPECT_EQ(TBevelCut::bvLowered, form->Panel1->BevelOuter());
    EXPECT_EQ(clWindow, form->Panel1->Color);

    EXPECT_EQ("231,10,50,50", Box(form->Image1->BoundsRect()));
    EXPECT_EQ(32, form->Image1->Picture.Width());
    EXPECT_EQ(32, form->Image1->Picture.Height());

    for (const TCustomLabel* label : {form->Label1, form->Label4}) {
        EXPECT_EQ(form->Panel1, label->Parent());
        EXPECT_EQ(TAlignment::taCenter, label->Alignment());
        EXPECT_FALSE(label->AutoSize());
    }
    EXPECT_EQ("11,11,209,24", Box(form->Label1->BoundsRect()));
    EXPECT_EQ("6,40,217,13", Box(form->Label4->BoundsRect()));
    EXPECT_EQ("Zepton", form->Label1->Caption());
    EXPECT_EQ("MS Sans Serif", form->Label1->Font().Name());
    EXPECT_EQ(-17, form->Label1->Font().Height());
    EXPECT_EQ(fsBold, form->Label1->Font().Style());

    struct Link {
        const TURLLabel* label;
        int centre, top;  // centred where the design's own addresses were
        TURLType type;
        const char* caption;
    };
    for (const Link& l : {Link{form->URLLabel1, 144, 78, TURLType::utHTTP, ZEPTON_HOME_PAGE},
                          Link{form->URLLabel2, 143, 97, TURLType::utMailTo, ZEPTON_CONTACT_MAIL}}) {
        EXPECT_EQ(form->Panel1, l.label->Parent());
        EXPECT_EQ(l.centre, l.label->Left() + l.label->Width() / 2) << l.caption;
        EXPECT_EQ(l.top, l.label->Top()) << l.caption;
        EXPECT_EQ(13, l.label->Height()) << l.caption;
        EXPECT_EQ(l.type, l.label->URLType);
        EXPECT_EQ(l.caption, l.label->Caption());
        EXPECT_EQ(crHandPoint, l.label->Cursor());
    }

    const TOvalButton& close = *form->OvalButton1;
    EXPECT_EQ(form.get(), close.Parent());
    EXPECT_EQ("116,174,65,25", Box(close.BoundsRect()));
    EXPECT_EQ("Close", close.Caption());
    EXPECT_TRUE(close.Glyph().Empty());
    EXPECT_EQ(blGlyphBottom, close.Layout());
    EXPECT_EQ(4, close.Spacing());
    EXPECT_EQ(2, close.BevelWidth());
    EXPECT_EQ(clBtnFace, close.Color());
    EXPECT_EQ(clBlack, close.TransparentColor());
    EXPECT_EQ(crDefault, close.Cursor());
}

// What the window shows: the lowered bevel around a white page, and the
// picture stretched to 50 x 50 beside the name.
TEST_F(InfoFormTest, PanelAndPictureAsDrawn) {
    WhenShownModal(*form, [&] {
        HWND panel = form->Panel1->Handle();
        const Snapshot s = ShotOf(panel);
        const int w = s.Width(), h = s.Height();
        EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), s.At(0, h / 2));  // lowered: dark at top and left,
        EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), s.At(w / 2, 0));
        EXPECT_EQ(::GetSysColor(COLOR_BTNHIGHLIGHT), s.At(w - 1, h / 2));  // light at bottom and right
        EXPECT_EQ(::GetSysColor(COLOR_BTNHIGHLIGHT), s.At(w / 2, h - 1));
        EXPECT_EQ(::GetSysColor(COLOR_WINDOW), s.At(w / 2, h - 5));

        const TBitmap& picture = form->Image1->Picture;
        const int x0 = form->Image1->Left(), y0 = form->Image1->Top();
        for (POINT p : {POINT{0, 0}, POINT{49, 0}, POINT{0, 49}, POINT{49, 49}, POINT{25, 25}})
            EXPECT_EQ(picture.Pixel(p.x * 32 / 50, p.y * 32 / 50), s.At(x0 + p.x, y0 + p.y)) << p.x << "," << p.y;
        EXPECT_EQ(::GetSysColor(COLOR_WINDOW), s.At(x0 + 50, y0 + 25));
        EXPECT_EQ(::GetSysColor(COLOR_WINDOW), s.At(x0 + 25, y0 + 50));
        // The name in bold, taller than the credit line's text.
        const RECT name = form->Label1->BoundsRect(), credit = form->Label4->BoundsRect();
        const Found big = FindColour(s, name, ::GetSysColor(COLOR_WINDOWTEXT));
        const Found small = FindColour(s, credit, ::GetSysColor(COLOR_WINDOWTEXT));
        ASSERT_GT(big.count, 0);
        ASSERT_GT(small.count, 0);
        EXPECT_GT(big.box.bottom - big.box.top, small.box.bottom - small.box.top + 2);
    });
    form->ShowModal();
}

// Escape, Enter and letters change nothing; Close ends the showing, and the next
// showing looks the same, at the same place, and ends by Close's key.
TEST_F(InfoFormTest, KeysDoNothingCloseEndsAndASecondShowingIsUnchanged) {
    std::string first, second;
    auto picture = [&](std::string& into) {
        const RECT w = form->WindowRect();
        const Snapshot s = ShotOf(form->Handle());
        into = Box(w) + ":";
        for (int y = 0; y < s.Height(); y += 3)
            for (int x = 0; x < s.Width(); x += 3) into += std::to_string(s.At(x, y)) + " ";
    };
    WhenShownModal(*form, [&] {
        HWND focus = ::GetFocus();
        ASSERT_TRUE(focus == form->Handle() || ::IsChild(form->Handle(), focus));
        for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
            ::PostMessageA(focus, WM_KEYDOWN, key, 1);
            ::PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
        }
        TypeLetters({focus});
        EXPECT_TRUE(form->IsShowing());
        picture(first);
        const POINT c{form->OvalButton1->Left() + 32, form->OvalButton1->Top() + 12};
        ::SendMessageA(form->Handle(), WM_MOUSEMOVE, 0, At(c.x, c.y));
        ::SendMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(c.x, c.y));
        ::SendMessageA(form->Handle(), WM_LBUTTONUP, 0, At(c.x, c.y));
        EXPECT_FALSE(form->IsShowing());
    });
    form->ShowModal();
    EXPECT_FALSE(form->IsShowing());

    WhenShownModal(*form, [&] {
        picture(second);
        PressKey(::GetFocus(), VK_F4, ssAlt);
        EXPECT_FALSE(form->IsShowing());
    });
    form->ShowModal();
    EXPECT_EQ(first, second);
}

// A screen reader finds Close with its key, the texts, and the links with the
// address each opens; its default action on a link opens it.
TEST_F(InfoFormTest, ScreenReadersFindTheLinksAndTheirAddresses) {
    EXPECT_EQ("push button \"Close\" Alt+F4 -> Press\n"
              "      graphic\n"
              "      static text \"Zepton\"\n"
              "      static text \"Keeps the Desktop tidy. Made by Kestrin.\"\n"
              "      link \"" ZEPTON_HOME_PAGE "\" = http://" ZEPTON_HOME_PAGE " -> Jump\n"
              "      link \"" ZEPTON_CONTACT_MAIL "\" = mailto:" ZEPTON_CONTACT_MAIL " -> Jump\n",
              AccessibleTree(form->Handle()));
    std::vector<std::string> opened;
    const ShellOpenRedirect shell([&](HWND, const std::string& file) { opened.push_back(file); });
    EXPECT_EQ(S_OK, ClientObject(form->Panel1->Handle())->accDoDefaultAction(ChildId(5)));
    Flush();
    EXPECT_EQ(std::vector<std::string>{"mailto:" ZEPTON_CONTACT_MAIL}, opened);
}

// In high contrast the scheme's colours take the place of the button's, the
// link's and the windows' own from the next WM_SETTINGCHANGE on, and give it back.
TEST_F(InfoFormTest, HighContrastDrawsInTheSchemesColoursWhileItIsOn) {
    const std::map<int, COLORREF> scheme{{COLOR_BTNFACE, RGB(0, 0, 96)},         {COLOR_BTNTEXT, RGB(255, 255, 0)},
                                         {COLOR_BTNHIGHLIGHT, RGB(0, 255, 255)}, {COLOR_BTNSHADOW, RGB(255, 0, 255)},
                                         {COLOR_WINDOW, RGB(0, 64, 0)},          {COLOR_HOTLIGHT, RGB(0, 255, 0)}};
    const RECT b = form->OvalButton1->BoundsRect();
    const int x = (b.left + b.right) / 2, y = (b.top + b.bottom) / 2;
    // The button's outline, upper ring and face, the window beside it and the
    // page; then whether the caption and the link show in the colours given.
    auto look = [&](COLORREF caption, COLORREF link) {
        const Snapshot s = ShotOf(form->Handle()), page = ShotOf(form->Panel1->Handle());
        return std::vector<COLORREF>{s.At(x, b.top), s.At(x, b.top + 1), s.At(b.left + 8, y), s.At(b.left - 4, y),
                                     page.At(10, 120), FindColour(s, b, caption).count > 20,
                                     FindColour(page, form->URLLabel1->BoundsRect(), link).count > 20};
    };
    WhenShownModal(*form, [&] {
        const COLORREF face = ::GetSysColor(COLOR_BTNFACE), text = ::GetSysColor(COLOR_WINDOWTEXT);
        const std::vector<COLORREF> before = look(text, text);
        EXPECT_EQ((std::vector<COLORREF>{0, before[1], face, face, ::GetSysColor(COLOR_WINDOW), 1, 1}), before);
        {
            const ColourSchemeRedirect on({true, [&](int i) { return scheme.contains(i) ? scheme.at(i) : ::GetSysColor(i); }});
            ::SendMessageA(form->Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
            EXPECT_EQ((std::vector<COLORREF>{RGB(255, 255, 0), RGB(0, 255, 255), RGB(0, 0, 96), RGB(0, 0, 96),
                                             RGB(0, 64, 0), 1, 1}),
                      look(RGB(255, 255, 0), RGB(0, 255, 0)));
        }
        ::SendMessageA(form->Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        EXPECT_EQ(before, look(text, text));
    });
    form->ShowModal();
}

}  // namespace
}  // namespace zep::test
