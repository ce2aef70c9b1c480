// The native controls in real windows: input arrives as posted mouse and key
// messages, as it would from the user.
#define OEMRESOURCE
#include "tests/windows/Snapshot.h"
#include "tests/windows/ToolkitHarness.h"
#include "toolkit/CheckLst.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/ImgList.h"
#include "toolkit/StdCtrls.h"
#include "toolkit/WindowHook.h"

#include <commctrl.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace zep::test {
namespace {

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitApplication();
        form = std::make_unique<TestForm>(TestForm::Plain());
        form->Show();
        Flush();
    }
    void TearDown() override { form.reset(); }

    template <class T, class... Args>
    T& Make(Args&&... args) {
        return form->Make<T>(form.get(), std::forward<Args>(args)...);
    }

    std::unique_ptr<TestForm> form;
};

// The middle of item `index` of a list with 13-pixel items, at client x.
LPARAM ItemPoint(int x, int index) { return At(x, index * TCustomListBox::kItemHeight + 6); }

TEST_F(ControlsTest, CheckListBoxTicksFlipOnlyFromTheBox) {
    auto& list = Make<TCheckListBox>(form.get(), 6, 16, 220, 137);
    EXPECT_EQ(0, list.Add("Games"));
    EXPECT_EQ(1, list.Add("Office"));
    EXPECT_EQ(2, list.Add("Tools"));
    ASSERT_EQ(3, list.Count());
    EXPECT_EQ("Office", list.Items(1));
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(list.Checked(i)) << i;

    list.SetChecked(2, true);
    EXPECT_TRUE(list.Checked(2));
    EXPECT_FALSE(list.Checked(1));

    // A click on item 1's box ticks item 1 alone.
    ::PostMessageA(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, ItemPoint(5, 1));
    ::PostMessageA(list.Handle(), WM_LBUTTONUP, 0, ItemPoint(5, 1));
    Flush();
    EXPECT_FALSE(list.Checked(0));
    EXPECT_TRUE(list.Checked(1));
    EXPECT_TRUE(list.Checked(2));
    EXPECT_EQ(1, list.ItemIndex());

    // A click on the text selects without flipping.
    ::PostMessageA(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, ItemPoint(60, 0));
    ::PostMessageA(list.Handle(), WM_LBUTTONUP, 0, ItemPoint(60, 0));
    Flush();
    EXPECT_EQ(0, list.ItemIndex());
    EXPECT_FALSE(list.Checked(0));

    // Below the last item nothing flips.
    ::PostMessageA(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, ItemPoint(5, 6));
    ::PostMessageA(list.Handle(), WM_LBUTTONUP, 0, ItemPoint(5, 6));
    Flush();
    EXPECT_FALSE(list.Checked(0));
    EXPECT_TRUE(list.Checked(1));
    EXPECT_TRUE(list.Checked(2));

    // The space key flips the selected item.
    list.SetItemIndex(2);
    ::PostMessageA(list.Handle(), WM_CHAR, ' ', 0);
    Flush();
    EXPECT_FALSE(list.Checked(2));
    EXPECT_EQ(2, list.ItemIndex());

    // Items keep their ticks when an earlier one goes.
    list.Delete(0);
    EXPECT_TRUE(list.Checked(0));
    EXPECT_EQ("Office", list.Items(0));
    EXPECT_THROW(list.Checked(2), std::out_of_range);

    list.Clear();
    EXPECT_EQ(0, list.Count());
    EXPECT_EQ(0, list.Add("Again"));
    EXPECT_FALSE(list.Checked(0));
    EXPECT_EQ(TCustomListBox::kItemHeight, ::SendMessageA(list.Handle(), LB_GETITEMHEIGHT, 0, 0));

    // A list whose window is not made yet keeps its items and ticks; its window shows them once made.
    TestForm hidden(TestForm::Plain());
    auto& early = hidden.Make<TCheckListBox>(&hidden, &hidden, 6, 16, 220, 137);
    early.Add("Games");
    early.Add("Office");
    early.SetChecked(1, true);
    EXPECT_FALSE(early.HandleAllocated());
    ASSERT_EQ(2, ::SendMessageA(early.Handle(), LB_GETCOUNT, 0, 0));
    char text[16] = {};
    ::SendMessageA(early.Handle(), LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ("Office", text);
    EXPECT_TRUE(early.Checked(1));
}

// Chooses the first item of the pop-up menu that opens next, from another
// thread, unless told to stop first.
void ChooseFirstMenuItem(std::atomic<bool>& opened, const std::atomic<bool>& stop) {
    for (int i = 0; i < 2000 && !stop; ++i) {
        HWND menu = ::FindWindowA("#32768", nullptr);
        if (menu && ::IsWindowVisible(menu)) {
            opened = true;
            ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
            ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
            return;
        }
        ::Sleep(10);
    }
}

TEST_F(ControlsTest, CheckListBoxRightClickOpensItsPopupMenuWhenItPopsUpByItself) {
    auto& list = Make<TCheckListBox>(form.get(), 6, 16, 220, 137);
    list.Add("Games");
    list.Add("Office");
    auto& menu = form->Make<TPopupMenu>(form.get());
    int chosen = 0;
    menu.Add("Select all groups", [&](TObject*) { ++chosen; });
    menu.Add("Reverse selection");
    list.SetPopupMenu(&menu);
    // Its owner hears from the menu once it has closed, so that it can open again at once.
    bool ownerTold = false;
    TWindowHook owner(Application().Handle(), [&](UINT message, WPARAM, LPARAM, LRESULT&) {
        ownerTold |= message == WM_NULL;
        return false;
    });

    for (bool autoPopup : {false, true}) {
        SCOPED_TRACE(autoPopup ? "AutoPopup" : "no AutoPopup");
        menu.AutoPopup = autoPopup;
        std::atomic<bool> opened{false}, stop{false};
        std::thread chooser(ChooseFirstMenuItem, std::ref(opened), std::cref(stop));
        ::PostMessageA(list.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, ItemPoint(60, 1));
        ::PostMessageA(list.Handle(), WM_RBUTTONUP, 0, ItemPoint(60, 1));
        Flush();  // a menu that opened has closed again
        stop = true;
        chooser.join();
        EXPECT_EQ(autoPopup, opened);
        EXPECT_EQ(autoPopup ? 1 : 0, chosen);
        EXPECT_EQ(autoPopup ? &list : nullptr, menu.PopupComponent);
        EXPECT_TRUE(WaitUntil([&] { return ownerTold == autoPopup; }));
    }
    EXPECT_EQ(-1, list.ItemIndex());  // a right click selects nothing
    EXPECT_FALSE(list.Checked(1));
}

TEST_F(ControlsTest, ListBoxReportsSelectionChangesAndDoubleClicks) {
    auto& list = Make<TListBox>(form.get(), 5, 18, 177, 185);
    for (const char* name : {"Calc", "Mail", "Notes", "Paint"}) list.Add(name);
    std::vector<int> clicks, doubleClicks;
    list.OnClick = [&](TObject* sender) { clicks.push_back(static_cast<TListBox*>(sender)->ItemIndex()); };
    list.OnDblClick = [&](TObject*) { doubleClicks.push_back(list.ItemIndex()); };

    ::PostMessageA(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, ItemPoint(30, 2));
    ::PostMessageA(list.Handle(), WM_LBUTTONUP, 0, ItemPoint(30, 2));
    Flush();
    EXPECT_EQ(std::vector<int>{2}, clicks);

    // The keyboard moves the selection and reports it too.
    ::SetFocus(list.Handle());
    ::PostMessageA(list.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageA(list.Handle(), WM_KEYUP, VK_DOWN, 0);
    Flush();
    EXPECT_EQ((std::vector<int>{2, 3}), clicks);

    // Setting the selection from code is no user's click.
    list.SetItemIndex(0);
    Flush();
    EXPECT_EQ(2u, clicks.size());

    // The system's sequence: down, up, double-click, up.
    ::PostMessageA(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, ItemPoint(30, 1));
    ::PostMessageA(list.Handle(), WM_LBUTTONUP, 0, ItemPoint(30, 1));
    ::PostMessageA(list.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, ItemPoint(30, 1));
    ::PostMessageA(list.Handle(), WM_LBUTTONUP, 0, ItemPoint(30, 1));
    Flush();
    EXPECT_EQ(std::vector<int>{1}, doubleClicks);

    list.Delete(1);
    EXPECT_EQ(3, list.Count());
    EXPECT_EQ("Notes", list.Items(1));
    EXPECT_THROW(list.Items(3), std::out_of_range);
    EXPECT_THROW(list.Delete(-1), std::out_of_range);
    list.Clear();
    EXPECT_EQ(-1, list.ItemIndex());
}

TEST_F(ControlsTest, ListBoxHeightIsExactAndBorderOptional) {
    auto& framed = Make<TListBox>(form.get(), 0, 0, 177, 185);
    auto& plain = Make<TListBox>(form.get(), 180, 0, 100, 180, false);
    RECT r;
    ::GetWindowRect(framed.Handle(), &r);
    EXPECT_EQ(185, r.bottom - r.top);  // not rounded down to whole items
    EXPECT_TRUE(::GetWindowLongA(framed.Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    ::GetClientRect(plain.Handle(), &r);
    EXPECT_EQ(180, r.bottom);
    EXPECT_FALSE(::GetWindowLongA(plain.Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

TEST_F(ControlsTest, EditRefusesCharactersBeyondItsMaximum) {
    auto& edit = Make<TEdit>(form.get(), 243, 224, 113, 21);
    edit.SetMaxLength(20);
    int changes = 0;
    edit.OnChange = [&](TObject*) { ++changes; };

    ::SetFocus(edit.Handle());
    for (int i = 0; i < 20; ++i) ::PostMessageA(edit.Handle(), WM_CHAR, 'a' + i, 0);
    Flush();
    EXPECT_EQ("abcdefghijklmnopqrst", edit.Text());
    EXPECT_EQ(20, changes);
    ::PostMessageA(edit.Handle(), WM_CHAR, 'u', 0);
    Flush();
    EXPECT_EQ("abcdefghijklmnopqrst", edit.Text());

    // Pasting is cut at the limit as well.
    edit.SetText("");
    ::SendMessageA(edit.Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("0123456789012345678901234"));
    EXPECT_EQ("01234567890123456789", edit.Text());

    changes = 0;
    edit.SetText("Games");
    EXPECT_EQ("Games", edit.Text());
    EXPECT_EQ(1, changes);
    edit.SetText("");
    EXPECT_EQ("", edit.Text());
    EXPECT_EQ(2, changes);
}

class CountingLabel : public TLabel {
public:
    using TLabel::TLabel;
    int enters = 0, leaves = 0;
    void MouseEnter() override { ++enters; }
    void MouseLeave() override { ++leaves; }
};

TEST_F(ControlsTest, LabelSizesItselfAndTakesMouse) {
    auto& label = Make<CountingLabel>(form.get(), 5, 2, 10, 10);
    label.SetCaption("Shortcuts Repository:");
    SIZE extent{};
    {
        WindowDC screen(nullptr);
        SelectedObject font(screen.dc, label.Font().Handle());
        ::GetTextExtentPoint32A(screen.dc, "Shortcuts Repository:", 21, &extent);
    }
    EXPECT_EQ(extent.cx, label.Width());
    EXPECT_EQ(extent.cy, label.Height());
    EXPECT_EQ(5, label.Left());

    label.Font().SetStyle(fsBold);
    label.FontChanged();
    EXPECT_GT(label.Width(), extent.cx);

    auto& fixed = Make<TLabel>(form.get(), 11, 40, 209, 24);
    fixed.SetAutoSize(false);
    fixed.SetAlignment(TAlignment::taCenter);
    fixed.SetCaption("Zepton");
    EXPECT_EQ(209, fixed.Width());
    EXPECT_EQ(24, fixed.Height());
    // A label that goes takes its hint with it.
    auto gone = std::make_unique<TLabel>(nullptr, form.get(), 5, 60, 60, 13);
    gone->SetHint("Trash selected shortcuts");
    gone->SetShowHint(true);
    const auto goneId = reinterpret_cast<UINT_PTR>(gone.get());
    EXPECT_TRUE(HasHint(form->Handle(), goneId));
    gone.reset();
    EXPECT_FALSE(HasHint(form->Handle(), goneId));

    int clicks = 0;
    label.OnClick = [&](TObject*) { ++clicks; };
    ::PostMessageA(form->Handle(), WM_MOUSEMOVE, 0, At(8, 5));
    Click(form->Handle(), 8, 5);
    EXPECT_EQ(1, clicks);
    EXPECT_EQ(1, label.enters);
    ::PostMessageA(form->Handle(), WM_MOUSEMOVE, 0, At(300, 200));
    Flush();
    EXPECT_EQ(1, label.leaves);
    // A click that ends outside the label is no click.
    ::PostMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(8, 5));
    ::PostMessageA(form->Handle(), WM_LBUTTONUP, 0, At(300, 200));
    Flush();
    EXPECT_EQ(1, clicks);
}

TEST_F(ControlsTest, ContainersHostWindowlessControlsUnderSiblingsPlacedOverThem) {
    auto& group = Make<TGroupBox>(form.get(), 0, 40, 233, 188, " Shortcuts' Groups : ");
    auto& inGroup = Make<TLabel>(&group, 9, 158, 65, 25);
    auto& list = Make<TCheckListBox>(form.get(), 6, 56, 220, 137);
    list.BringToFront();
    auto& panel = Make<TPanel>(form.get(), 240, 40, 70, 60);
    panel.SetBevelOuter(TBevelCut::bvLowered);
    auto& inPanel = Make<TLabel>(&panel, 4, 4, 40, 20);
    int groupClicks = 0, panelClicks = 0;
    inGroup.OnClick = [&](TObject*) { ++groupClicks; };
    inPanel.OnClick = [&](TObject*) { ++panelClicks; };

    Click(group.Handle(), 20, 165);
    Click(panel.Handle(), 10, 10);
    EXPECT_EQ(1, groupClicks);
    EXPECT_EQ(1, panelClicks);

    // The list drawn over the frame is the window under the pointer there.
    EXPECT_EQ(list.Handle(), ::ChildWindowFromPointEx(form->Handle(), POINT{50, 100}, CWP_SKIPINVISIBLE));
    EXPECT_EQ(group.Handle(), ::ChildWindowFromPointEx(form->Handle(), POINT{50, 210}, CWP_SKIPINVISIBLE));
}

// Text in any script draws as its characters: GDI's A calls would read each
// two-byte character of UTF-8 as two characters of the system code page.
TEST_F(ControlsTest, TextDrawsAsItsCharactersInTheProcessCodePage) {
    const std::string text = "\xC3\x89\xC3\x80\xC3\x96\xC3\x9C";  // four capitals with accents
    const WindowDC screen(nullptr);
    const SelectedObject font(screen.dc, TFont().Handle());
    SIZE extent{};
    ::GetTextExtentPoint32W(screen.dc, L"\u00C9\u00C0\u00D6\u00DC", 4, &extent);
    auto& label = Make<TLabel>(form.get(), 10, 10, 0, 0);
    label.SetCaption(text);
    EXPECT_EQ(extent.cx, label.Width());
    auto& panel = Make<TPanel>(form.get(), 10, 40, 150, 30);
    panel.SetCaption(text);
    auto& list = Make<TCheckListBox>(form.get(), 10, 130, 150, 40);
    list.Add(text);
    const std::pair<HWND, RECT> drawn[] = {
        {form->Handle(), label.BoundsRect()}, {panel.Handle(), {2, 2, 148, 28}},
        {Make<TGroupBox>(form.get(), 10, 80, 150, 40, text).Handle(), {0, 0, 150, 40}},
        {list.Handle(), {TCheckListBox::kBoxWidth, 0, 150, 13}}};
    for (const auto& [window, area] : drawn) {
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        const Found ink = FindColour(Snapshot(window, area.right, area.bottom), area, RGB(0, 0, 0));
        EXPECT_GT(ink.box.right - ink.box.left, extent.cx - 4) << Box(area);
        EXPECT_LE(ink.box.right - ink.box.left, extent.cx) << Box(area);
    }
}

TEST_F(ControlsTest, PanelDrawsItsBevels) {
    auto& panel = Make<TPanel>(form.get(), 10, 10, 100, 50);
    panel.SetColor(clWindow);
    panel.SetBevelOuter(TBevelCut::bvLowered);
    panel.SetBevelInner(TBevelCut::bvNone);
    ::UpdateWindow(panel.Handle());
    WindowDC dc(panel.Handle());
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), ::GetPixel(dc.dc, 50, 0));
    EXPECT_EQ(::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetPixel(dc.dc, 50, 49));
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), ::GetPixel(dc.dc, 50, 1));

    panel.SetBevelOuter(TBevelCut::bvRaised);
    ::UpdateWindow(panel.Handle());
    EXPECT_EQ(::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetPixel(dc.dc, 50, 0));
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), ::GetPixel(dc.dc, 50, 49));
}

// Made before its window, as on a form not shown yet: the window shows what the bar holds.
TEST_F(ControlsTest, ToolBarLaysOutButtonsDividersAndSeparators) {
    TestForm hidden(TestForm::Plain());
    auto& bar = hidden.Make<TToolBar>(&hidden, &hidden, 0, 0, 234, 29);
    bar.SetIndent(5);
    std::vector<TToolButton*> buttons;
    using S = TToolButtonStyle;
    for (S style : {S::tbsButton, S::tbsDivider, S::tbsCheck, S::tbsSeparator, S::tbsButton, S::tbsButton,
                    S::tbsSeparator, S::tbsButton, S::tbsButton})
        buttons.push_back(&hidden.Make<TToolButton>(&hidden, &bar, style, static_cast<int>(buttons.size())));
    buttons[2]->SetDown(true);
    EXPECT_FALSE(bar.HandleAllocated());
    EXPECT_TRUE(::SendMessageA(bar.Handle(), TB_ISBUTTONCHECKED, buttons[2]->Command(), 0));

    const std::vector<int> lefts{5, 28, 40, 63, 75, 98, 121, 133, 156};
    const std::vector<int> widths{23, 12, 23, 12, 23, 23, 12, 23, 23};
    for (size_t i = 0; i < buttons.size(); ++i) {
        RECT r = buttons[i]->BoundsRect();
        EXPECT_EQ(lefts[i], r.left) << i;
        EXPECT_EQ(2, r.top) << i;
        EXPECT_EQ(widths[i], r.right - r.left) << i;
        if (widths[i] == TToolBar::kButtonWidth) {
            EXPECT_EQ(TToolBar::kButtonHeight, r.bottom - r.top) << i;
        }
    }
    RECT window;
    ::GetWindowRect(bar.Handle(), &window);
    EXPECT_EQ(234, window.right - window.left);
    EXPECT_EQ(29, window.bottom - window.top);
}

TEST_F(ControlsTest, ToolBarClicksHintsAndCheckButtons) {
    auto& bar = Make<TToolBar>(form.get(), 0, 0, 234, 29);
    bar.SetIndent(5);
    auto& exit = Make<TToolButton>(&bar, TToolButtonStyle::tbsButton, 0, "Exit");
    Make<TToolButton>(&bar, TToolButtonStyle::tbsDivider);
    auto& autorun = Make<TToolButton>(&bar, TToolButtonStyle::tbsCheck, 3, "Auto-Run");
    auto& gap = Make<TToolButton>(&bar, TToolButtonStyle::tbsSeparator);
    autorun.SetDown(true);
    EXPECT_TRUE(autorun.Down());

    int exits = 0, gaps = 0;
    std::vector<bool> seenDown;
    exit.OnClick = [&](TObject* sender) {
        EXPECT_EQ(&exit, sender);
        ++exits;
    };
    autorun.OnClick = [&](TObject*) { seenDown.push_back(autorun.Down()); };
    gap.OnClick = [&](TObject*) { ++gaps; };

    auto centre = [](TToolButton& b) {
        RECT r = b.BoundsRect();
        return std::pair{(r.left + r.right) / 2, (r.top + r.bottom) / 2 - TToolBar::kEdge};  // client coordinates
    };
    auto [ex, ey] = centre(exit);
    Click(bar.Handle(), ex, ey);
    EXPECT_EQ(1, exits);
    auto [ax, ay] = centre(autorun);
    Click(bar.Handle(), ax, ay);
    Click(bar.Handle(), ax, ay);
    EXPECT_EQ((std::vector<bool>{false, true}), seenDown);  // flipped before the handler ran
    auto [gx, gy] = centre(gap);
    Click(bar.Handle(), gx, gy);
    EXPECT_EQ(0, gaps);

    // The bar's tooltip asks for a button's hint by its command.
    HWND tips = reinterpret_cast<HWND>(::SendMessageA(bar.Handle(), TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(nullptr, tips);
    NMTTDISPINFOA info{};
    info.hdr.hwndFrom = tips;
    info.hdr.idFrom = static_cast<UINT_PTR>(autorun.Command());
    info.hdr.code = TTN_GETDISPINFOA;
    ::SendMessageA(bar.Handle(), WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(nullptr, info.lpszText);
    EXPECT_STREQ("Auto-Run", info.lpszText);
    NMTTDISPINFOW wide{};
    wide.hdr = info.hdr;
    wide.hdr.idFrom = static_cast<UINT_PTR>(exit.Command());
    wide.hdr.code = TTN_GETDISPINFOW;
    ::SendMessageA(bar.Handle(), WM_NOTIFY, wide.hdr.idFrom, reinterpret_cast<LPARAM>(&wide));
    EXPECT_STREQ(L"Exit", wide.lpszText);
}

TEST_F(ControlsTest, ToolBarDrawsEtchedEdgesTopAndBottom) {
    auto& bar = Make<TToolBar>(form.get(), 0, 0, 234, 29);
    ::RedrawWindow(bar.Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = ::GetWindowDC(bar.Handle());
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW), light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    EXPECT_EQ(shadow, ::GetPixel(dc, 100, 0));
    EXPECT_EQ(light, ::GetPixel(dc, 100, 1));
    EXPECT_EQ(shadow, ::GetPixel(dc, 100, 27));
    EXPECT_EQ(light, ::GetPixel(dc, 100, 28));
    ::ReleaseDC(bar.Handle(), dc);
}

TEST_F(ControlsTest, PageControlShowsOnePageAtATime) {
    auto& pages = Make<TPageControl>(form.get(), 0, 0, 297, 169);
    auto& about = Make<TTabSheet>(&pages, "About...");
    auto& more = Make<TTabSheet>(&pages, "More");
    Make<TPanel>(&about, 0, 0, 289, 141);
    EXPECT_EQ(&about, pages.ActivePage());
    EXPECT_TRUE(::IsWindowVisible(about.Handle()));
    EXPECT_FALSE(::IsWindowVisible(more.Handle()));
    EXPECT_EQ(1, more.PageIndex());

    const RECT display = pages.DisplayRect();
    EXPECT_EQ(display.left, about.Left());
    EXPECT_EQ(display.top, about.Top());
    EXPECT_EQ(display.right - display.left, about.Width());
    EXPECT_GT(display.top, 10);  // below the tabs

    pages.SetActivePage(&more);
    EXPECT_EQ(&more, pages.ActivePage());
    EXPECT_FALSE(::IsWindowVisible(about.Handle()));
    EXPECT_TRUE(::IsWindowVisible(more.Handle()));

    // A click on the first tab brings its page back.
    RECT tab;
    ::SendMessageA(pages.Handle(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
    Click(pages.Handle(), (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    EXPECT_EQ(&about, pages.ActivePage());
    EXPECT_TRUE(::IsWindowVisible(about.Handle()));
    EXPECT_FALSE(::IsWindowVisible(more.Handle()));
}

TEST_F(ControlsTest, ImageListCutsAStripAndGivesIcons) {
    TBitmap strip;
    strip.LoadFromResourceName(nullptr, MAKEINTRESOURCEA(OBM_CHECKBOXES));
    ASSERT_GE(strip.Width(), 32);
    auto& images = Make<TImageList>();
    EXPECT_EQ(0, images.Count());
    EXPECT_EQ(0, images.AddMasked(strip, clOlive));
    EXPECT_EQ(strip.Width() / 16, images.Count());
    const int more = images.AddMasked(strip, clOlive);
    EXPECT_EQ(strip.Width() / 16, more);  // appended after the first strip

    IconHandle icon = images.GetIcon(1);
    ASSERT_TRUE(icon);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icon.get(), &info));
    GdiObject<HBITMAP> colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bm{};
    ::GetObjectA(info.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(16, bm.bmWidth);
    EXPECT_EQ(16, bm.bmHeight);
    EXPECT_FALSE(images.GetIcon(images.Count()));
    EXPECT_FALSE(images.GetIcon(-1));
}

TEST_F(ControlsTest, ImageStretchesItsPicture) {
    auto& image = Make<TImage>(form.get(), 231, 10, 50, 50);
    image.Picture.LoadFromResourceName(nullptr, MAKEINTRESOURCEA(OBM_CHECKBOXES));
    image.Invalidate();
    ::UpdateWindow(form->Handle());
    WindowDC dc(form->Handle());
    // The source's bottom-right pixel lands in the control's bottom-right corner.
    EXPECT_EQ(image.Picture.Pixel(image.Picture.Width() - 1, image.Picture.Height() - 1),
              ::GetPixel(dc.dc, 231 + 49, 10 + 49));
    EXPECT_EQ(image.Picture.Pixel(0, 0), ::GetPixel(dc.dc, 231, 10));
}

}  // namespace
}  // namespace zep::test
