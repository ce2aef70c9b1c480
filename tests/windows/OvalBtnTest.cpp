// The oval button on a real form: real mouse messages to the form's window,
// and what it draws read back from the window's pixels.
#include "controls/OvalBtn.h"
#include "tests/windows/Snapshot.h"
#include "toolkit/Forms.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace zep;
using zep::test::FindColour;
using zep::test::Found;
using zep::test::Snapshot;

constexpr TColor kFace = RGB(192, 192, 192);
constexpr TColor kLight = RGB(223, 223, 223);
constexpr TColor kDark = RGB(115, 115, 115);
constexpr TColor kBackground = RGB(0, 128, 255);  // the form's, to tell the corners apart

constexpr int kLeft = 40, kTop = 30, kWidth = 76, kHeight = 30;
constexpr POINT kCentre{38, 15};
constexpr POINT kCorner{1, 1};        // in the rectangle, outside the oval
constexpr POINT kOutside{-10, 15};    // left of the rectangle

// A form with one button as the program places them.
class TOvalTestForm : public TForm {
public:
    explicit TOvalTestForm(TComponent* owner) : TForm(owner, Options()) {
        Color = kBackground;
        Button = &Make<TOvalButton>(this, this);
        Button->SetBounds(kLeft, kTop, kWidth, kHeight);
        Button->SetCaption("&Apply");
        Button->SetBevelWidth(2);
        Button->SetColor(kFace);
    }
    TOvalButton* Button;

    // Further buttons for the picture of several states.
    TOvalButton& AddButton(int left, int top, int width, int height) {
        TOvalButton& b = Make<TOvalButton>(this, this);
        b.SetBounds(left, top, width, height);
        b.SetBevelWidth(2);
        b.SetColor(kFace);
        return b;
    }

private:
    static Options Options() {
        TForm::Options o;
        o.caption = "Oval button";
        o.clientWidth = 400;
        o.clientHeight = 160;
        o.left = 150;
        o.top = 150;
        return o;
    }
};

RECT Moved(RECT r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

// Bevel pixels of each colour on either side of the line from (0.8 w, 0.2 h)
// to (0.2 w, 0.8 h) that parts the two halves of the rings; pixels close to
// the line are left out.
struct BevelSides {
    int lightUpper = 0, lightLower = 0, darkUpper = 0, darkLower = 0;
};
BevelSides ClassifyBevel(const Snapshot& s, RECT button, COLORREF light, COLORREF dark) {
    const int w = button.right - button.left, h = button.bottom - button.top;
    const double x1 = 0.8 * w, y1 = 0.2 * h, x2 = 0.2 * w, y2 = 0.8 * h;
    const double length = std::hypot(x2 - x1, y2 - y1);
    BevelSides sides;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            // Positive on the side of the origin, the upper left.
            const double d = ((x2 - x1) * (y - y1) - (y2 - y1) * (x - x1)) / length;
            if (std::abs(d) < 3) continue;
            const COLORREF c = s.At(button.left + x, button.top + y);
            const bool upper = d > 0;
            if (c == light) ++(upper ? sides.lightUpper : sides.lightLower);
            if (c == dark) ++(upper ? sides.darkUpper : sides.darkLower);
        }
    return sides;
}

class OvalButtonTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static const bool initialized = (Application().Initialize(), true);
        (void)initialized;
    }

    void SetUp() override {
        // Keep the real pointer away, so that no real move reaches the form.
        ::SetCursorPos(0, 0);
        form = MakeForm<TOvalTestForm>(nullptr);
        form->Show();
        Pump();
        TOvalButton& b = Button();
        b.OnClick = [this](TObject* s) { Log("click", s); };
        b.OnDblClick = [this](TObject* s) { Log("dblclick", s); };
        b.OnMouseEnter = [this](TObject* s) { Log("enter", s); };
        b.OnMouseExit = [this](TObject* s) { Log("exit", s); };
        b.OnMouseDown = [this](TObject* s, TMouseButton, TShiftState, int, int) { Log("down", s); };
        b.OnMouseUp = [this](TObject* s, TMouseButton, TShiftState, int, int) { Log("up", s); };
        b.OnMouseMove = [this](TObject*, TShiftState, int, int) { ++moves; };
    }
    void TearDown() override { form.reset(); }

    TOvalButton& Button() { return *form->Button; }
    void Log(const char* what, TObject* sender) {
        EXPECT_EQ(sender, form->Button);
        log.push_back(what);
    }

    static void Pump() {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }

    // Mouse messages at a point given in the button's coordinates.
    void Send(UINT message, WPARAM keys, POINT p) {
        ::SendMessageA(form->Handle(), message, keys, MAKELPARAM(kLeft + p.x, kTop + p.y));
    }
    void Move(POINT p, WPARAM keys = 0) { Send(WM_MOUSEMOVE, keys, p); }
    void Press(POINT p) { Send(WM_LBUTTONDOWN, MK_LBUTTON, p); }
    void Release(POINT p) { Send(WM_LBUTTONUP, 0, p); }
    void ClickAt(POINT p) {
        Move(p);
        Press(p);
        Release(p);
    }

    Snapshot Shot() {
        ::UpdateWindow(form->Handle());
        return Snapshot(form->Handle(), form->ClientWidth(), form->ClientHeight());
    }
    static RECT ButtonRect() { return {kLeft, kTop, kLeft + kWidth, kTop + kHeight}; }
    BevelSides Bevel() { return ClassifyBevel(Shot(), ButtonRect(), kLight, kDark); }
    static ::testing::AssertionResult Shows(const BevelSides& b, bool ok) {
        auto result = ok ? ::testing::AssertionSuccess() : ::testing::AssertionFailure();
        return result << "light upper/lower " << b.lightUpper << "/" << b.lightLower << ", dark upper/lower "
                      << b.darkUpper << "/" << b.darkLower;
    }
    static ::testing::AssertionResult Raised(const BevelSides& b) {
        return Shows(b, b.lightUpper > 40 && b.darkLower > 40 && b.lightLower == 0 && b.darkUpper == 0);
    }
    static ::testing::AssertionResult Sunken(const BevelSides& b) {
        return Shows(b, b.darkUpper > 40 && b.lightLower > 40 && b.darkLower == 0 && b.lightUpper == 0);
    }
    static ::testing::AssertionResult NoRings(const BevelSides& b) {
        return Shows(b, b.lightUpper + b.lightLower + b.darkUpper + b.darkLower == 0);
    }
    // The caption's dark pixels, in an inner area clear of the outline.
    Found Caption(const Snapshot& s, COLORREF colour = RGB(0, 0, 0)) {
        return FindColour(s, {kLeft + 12, kTop + 6, kLeft + 64, kTop + 24}, colour);
    }

    std::unique_ptr<TOvalTestForm> form;
    std::vector<std::string> log;
    int moves = 0;
};

using Events = std::vector<std::string>;

TEST_F(OvalButtonTest, HitTestIsTheOvalNotTheRectangle) {
    const TOvalButton& b = Button();
    EXPECT_TRUE(b.PtInOval(kCentre.x, kCentre.y));
    EXPECT_TRUE(b.PtInOval(3, 15));
    for (POINT p : {POINT{0, 0}, POINT{kWidth - 1, 0}, POINT{0, kHeight - 1}, POINT{kWidth - 1, kHeight - 1},
                    POINT{5, 3}, POINT{70, 27}})
        EXPECT_FALSE(b.PtInOval(p.x, p.y)) << p.x << "," << p.y;
    EXPECT_FALSE(b.PtInOval(kWidth + 5, 15));
}

TEST_F(OvalButtonTest, NewButtonDrawsNoRingsUntilBevelWidthIsSet) {
    TOvalButton& b = form->Make<TOvalButton>(form.get(), form.get());
    EXPECT_EQ(100, b.Width());
    EXPECT_EQ(50, b.Height());
    b.SetBounds(200, 30, 76, 30);
    b.SetColor(kFace);
    EXPECT_TRUE(NoRings(ClassifyBevel(Shot(), {200, 30, 276, 60}, kLight, kDark)));
    b.SetBevelWidth(1);
    EXPECT_TRUE(Raised(ClassifyBevel(Shot(), {200, 30, 276, 60}, kLight, kDark)));
}

TEST_F(OvalButtonTest, RaisedFaceOutlineCornersAndCaption) {
    const Snapshot s = Shot();
    EXPECT_TRUE(Raised(ClassifyBevel(s, ButtonRect(), kLight, kDark)));
    // The outline, inside the rectangle less its last column and row.
    EXPECT_EQ(RGB(0, 0, 0), s.At(kLeft + 37, kTop));
    EXPECT_EQ(RGB(0, 0, 0), s.At(kLeft, kTop + 14));
    EXPECT_EQ(kFace, s.At(kLeft + kCentre.x, kTop + 4));
    for (POINT p : {POINT{0, 0}, POINT{kWidth - 1, 0}, POINT{0, kHeight - 1}, POINT{kWidth - 1, kHeight - 1},
                    POINT{kWidth - 1, 15}, POINT{37, kHeight - 1}})
        EXPECT_EQ(kBackground, s.At(kLeft + p.x, kTop + p.y)) << p.x << "," << p.y;
    // "&Apply": centred, the accelerator underlined.
    const Found text = Caption(s);
    EXPECT_GT(text.count, 30);
    EXPECT_NEAR(kLeft + kWidth / 2, (text.box.left + text.box.right) / 2, 6);
}

TEST_F(OvalButtonTest, ClickInsideSinksThenFiresClickBeforeRelease) {
    const Found raisedText = Caption(Shot());
    Move(kCentre);
    Press(kCentre);
    EXPECT_TRUE(Button().Down());
    const Snapshot pressed = Shot();
    EXPECT_TRUE(Sunken(ClassifyBevel(pressed, ButtonRect(), kLight, kDark)));
    // Drawn at once over the raised caption: right and down by one (the fill
    // leaves the raised caption's first column, so the left edge is not compared).
    const Found sunkenText = Caption(pressed);
    EXPECT_EQ(raisedText.box.right + 1, sunkenText.box.right);
    EXPECT_EQ(raisedText.box.top + 1, sunkenText.box.top);
    EXPECT_EQ(raisedText.box.bottom + 1, sunkenText.box.bottom);

    Release(kCentre);
    EXPECT_EQ((Events{"enter", "down", "click", "up"}), log);
    EXPECT_FALSE(Button().Down());
    const Snapshot released = Shot();
    EXPECT_TRUE(Raised(ClassifyBevel(released, ButtonRect(), kLight, kDark)));
    EXPECT_EQ(raisedText.box.top, Caption(released).box.top);
    EXPECT_GT(moves, 0);
}

TEST_F(OvalButtonTest, PressInACornerDoesNothing) {
    ClickAt(kCorner);
    EXPECT_EQ((Events{"enter"}), log);
    EXPECT_FALSE(Button().Down());
    EXPECT_TRUE(Raised(Bevel()));
    EXPECT_EQ(0, moves);
}

TEST_F(OvalButtonTest, DragOutAndBackFollowsThePointer) {
    Move(kCentre);
    Press(kCentre);
    Move(kOutside, MK_LBUTTON);
    EXPECT_FALSE(Button().Down());
    EXPECT_TRUE(Raised(Bevel()));
    Move(kCorner, MK_LBUTTON);
    EXPECT_TRUE(Raised(Bevel()));
    Move(kCentre, MK_LBUTTON);
    EXPECT_TRUE(Button().Down());
    EXPECT_TRUE(Sunken(Bevel()));
    Release(kCentre);
    EXPECT_EQ("click", log.at(log.size() - 2));
    EXPECT_TRUE(Raised(Bevel()));
}

TEST_F(OvalButtonTest, ReleaseOutsideGivesNoClick) {
    Move(kCentre);
    Press(kCentre);
    Move(kOutside, MK_LBUTTON);
    Release(kOutside);
    // Released in a corner: inside the rectangle, so Click is called, but not OnClick.
    Move(kCentre);
    Press(kCentre);
    Move(kCorner, MK_LBUTTON);
    Release(kCorner);
    EXPECT_EQ((Events{"enter", "down", "exit", "enter", "down"}), log);
    EXPECT_FALSE(Button().Down());
    EXPECT_TRUE(Raised(Bevel()));
}

TEST_F(OvalButtonTest, PressInACornerAndSlideIn) {
    Move(kCorner);
    Press(kCorner);
    EXPECT_FALSE(Button().Down());
    Move(kCentre, MK_LBUTTON);
    EXPECT_TRUE(Button().Down());
    EXPECT_TRUE(Sunken(Bevel()));
    Release(kCentre);
    EXPECT_EQ((Events{"enter", "click", "up"}), log);
}

TEST_F(OvalButtonTest, DoubleClick) {
    Move(kCentre);
    Press(kCentre);
    Release(kCentre);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, kCentre);
    Release(kCentre);
    EXPECT_EQ((Events{"enter", "down", "click", "up", "dblclick", "down", "up"}), log);
    EXPECT_TRUE(Raised(Bevel()));
}

TEST_F(OvalButtonTest, FlatButtonRaisesOnlyUnderThePointer) {
    Button().SetFlat(true);
    EXPECT_TRUE(NoRings(Bevel()));
    EXPECT_NE(RGB(0, 0, 0), Shot().At(kLeft + 37, kTop)) << "no outline when flat";
    Move(kCentre);
    EXPECT_TRUE(Raised(Bevel()));
    Move(kCorner);
    EXPECT_TRUE(NoRings(Bevel()));
    Move(kCentre);
    Press(kCentre);
    EXPECT_TRUE(Sunken(Bevel()));
    Release(kCentre);
    EXPECT_TRUE(Raised(Bevel()));
    // Leaving the control while the pointer was over the oval.
    Send(WM_MOUSELEAVE, 0, {0, 0});
    EXPECT_TRUE(NoRings(Bevel()));
    EXPECT_EQ((Events{"enter", "down", "click", "up", "exit"}), log);
}

TEST_F(OvalButtonTest, ToggleStaysDownAndComesUpOnTheNextClick) {
    Button().SetGroupIndex(1);
    ClickAt(kCentre);
    EXPECT_TRUE(Button().Down());
    EXPECT_TRUE(Sunken(Bevel()));

    // Held, a toggle does not follow the pointer; released outside it stays down.
    Move(kCentre);
    Press(kCentre);
    Move(kOutside, MK_LBUTTON);
    EXPECT_TRUE(Sunken(Bevel()));
    Release(kOutside);
    EXPECT_TRUE(Button().Down());

    ClickAt(kCentre);
    EXPECT_FALSE(Button().Down());
    EXPECT_TRUE(Raised(Bevel()));
    EXPECT_EQ((Events{"enter", "down", "click", "up", "down", "exit", "enter", "down", "click", "up"}), log);
}

TEST_F(OvalButtonTest, DisabledSeesThePointerComeAndGoButNoButtonsAndGreysTheCaption) {
    Button().SetEnabled(false);
    ClickAt(kCentre);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, kCentre);
    Release(kCentre);
    Button().Click();
    Button().DblClick();
    EXPECT_EQ((Events{"enter"}), log);
    EXPECT_FALSE(Button().Down());
    Move(kOutside);
    EXPECT_EQ((Events{"enter", "exit"}), log);
    log.clear();
    const Snapshot s = Shot();
    EXPECT_TRUE(Raised(ClassifyBevel(s, ButtonRect(), kLight, kDark)));
    EXPECT_EQ(0, Caption(s).count);
    EXPECT_GT(Caption(s, ::GetSysColor(COLOR_GRAYTEXT)).count, 30);
    // The accelerator is still taken, but does nothing.
    EXPECT_TRUE(form->DialogChar('a'));
    EXPECT_TRUE(log.empty());
}

TEST_F(OvalButtonTest, AcceleratorClicksOnlyWithThePointerOverTheOval) {
    EXPECT_TRUE(form->DialogChar('a'));
    EXPECT_TRUE(form->DialogChar('A'));
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(form->DialogChar('p'));
    Move(kCentre);
    EXPECT_TRUE(form->DialogChar('a'));
    EXPECT_EQ((Events{"enter", "click"}), log);
    Move(kCorner);
    EXPECT_TRUE(Button().DialogChar('A'));
    EXPECT_EQ(2u, log.size());
}

TEST_F(OvalButtonTest, DownAndFlatSetters) {
    const RECT raisedText = Caption(Shot()).box;
    Button().SetDown(true);
    EXPECT_TRUE(Sunken(Bevel()));
    const RECT sunkenText = Caption(Shot()).box;
    EXPECT_EQ(Moved(raisedText, 1, 1).left, sunkenText.left);
    EXPECT_EQ(Moved(raisedText, 1, 1).top, sunkenText.top);
    EXPECT_EQ(Moved(raisedText, 1, 1).right, sunkenText.right);
    Button().SetFlat(true);
    EXPECT_TRUE(Button().Down());
    EXPECT_TRUE(NoRings(Bevel()));
    Button().SetFlat(false);
    EXPECT_TRUE(Button().Down());
    EXPECT_TRUE(Raised(Bevel()));
    Button().SetDown(false);
    EXPECT_TRUE(Raised(Bevel()));
    Button().SetFlat(true);
    Button().SetDown(true);
    Button().SetDown(false);
    EXPECT_TRUE(NoRings(Bevel()));
}

TEST_F(OvalButtonTest, ColourSetterShadesTheBevel) {
    Button().SetColor(RGB(128, 128, 128));
    BevelSides sides = ClassifyBevel(Shot(), ButtonRect(), RGB(191, 191, 191), RGB(77, 77, 77));
    EXPECT_TRUE(Raised(sides));
    EXPECT_EQ(RGB(128, 128, 128), Shot().At(kLeft + kCentre.x, kTop + 4));
}

// Sets the button face system colour of this (throwaway) Wine prefix for its lifetime.
class ButtonFaceColour {
public:
    explicit ButtonFaceColour(COLORREF colour) { Set(colour); }
    ~ButtonFaceColour() { Set(saved_); }
    ButtonFaceColour(const ButtonFaceColour&) = delete;
    ButtonFaceColour& operator=(const ButtonFaceColour&) = delete;
    void Set(COLORREF colour) {
        const INT element = COLOR_BTNFACE;
        ::SetSysColors(1, &element, &colour);
    }

private:
    COLORREF saved_ = ::GetSysColor(COLOR_BTNFACE);
};

TEST_F(OvalButtonTest, SystemFaceColourIsResolvedWhenSet) {
    ButtonFaceColour face(RGB(192, 192, 192));
    Button().SetColor(RGB(128, 128, 128));
    Button().SetColor(clBtnFace);
    EXPECT_TRUE(Raised(Bevel()));
    // A later change of the system colours repaints the face but keeps the shading.
    face.Set(RGB(128, 128, 128));
    Button().Invalidate();
    EXPECT_TRUE(Raised(Bevel()));
    EXPECT_EQ(RGB(128, 128, 128), Shot().At(kLeft + kCentre.x, kTop + 4));
}

// A glyph of 16x16 images: red, green, blue, yellow squares on magenta.
TBitmap GlyphOf(int images) {
    const int w = 16 * images, h = 16;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* p = static_cast<std::uint32_t*>(bits);
    const std::uint32_t squares[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool inSquare = x % 16 >= 4 && x % 16 < 12 && y >= 4 && y < 12;
            p[y * w + x] = inSquare ? squares[x / 16] : 0xFF00FF;
        }
    TBitmap glyph;
    glyph.Take(bitmap);
    return glyph;
}

TEST_F(OvalButtonTest, GlyphImagesAndTheirPlace) {
    TOvalButton& b = form->AddButton(200, 20, 120, 50);
    b.SetCaption("Trash");
    b.SetLayout(blGlyphLeft);
    b.SetGlyph(GlyphOf(3));
    EXPECT_EQ(RGB(255, 0, 255), b.TransparentColor());
    const RECT area{200, 20, 320, 70};
    const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255), magenta = RGB(255, 0, 255);
    const auto count = [&](COLORREF c) { return FindColour(Shot(), area, c).count; };
    const auto text = [&] { return FindColour(Shot(), {215, 32, 305, 58}, RGB(0, 0, 0)).box; };

    EXPECT_EQ(0, count(red)) << "NumGlyphs 0 shows no glyph";
    b.SetNumGlyphs(3);
    EXPECT_EQ(64, count(red));
    EXPECT_EQ(0, count(magenta) + count(green) + count(blue));
    const RECT redBox = FindColour(Shot(), area, red).box;
    const RECT raisedText = text();
    EXPECT_LT(redBox.right, raisedText.left) << "glyph left of the caption";

    b.SetDown(true);
    EXPECT_EQ(0, count(red));
    const Found sunken = FindColour(Shot(), area, blue);
    EXPECT_EQ(64, sunken.count);
    EXPECT_EQ(Moved(redBox, 1, 1).left, sunken.box.left);
    EXPECT_EQ(Moved(redBox, 1, 1).top, sunken.box.top);
    // The caption follows the moved glyph, then moves once more.
    EXPECT_EQ(raisedText.left + 2, text().left);
    EXPECT_EQ(raisedText.top + 1, text().top);

    b.SetDown(false);
    b.SetEnabled(false);
    EXPECT_EQ(64, count(green));
    EXPECT_EQ(0, count(red) + count(blue));
    b.SetDown(true);
    EXPECT_EQ(64, count(blue)) << "the sunken image wins over the disabled one";
}

// Several states side by side; with ZEPTON_OVAL_PAUSE_MS set the form stays up
// that long for a screenshot.
TEST_F(OvalButtonTest, Gallery) {
    TOvalButton& sunken = form->AddButton(130, 30, 76, 30);
    sunken.SetCaption("&Preview");
    sunken.SetDown(true);
    TOvalButton& disabled = form->AddButton(220, 30, 76, 30);
    disabled.SetCaption("&Trash");
    disabled.SetEnabled(false);
    TOvalButton& glyph = form->AddButton(40, 90, 120, 40);
    glyph.SetCaption("Delete");
    glyph.SetLayout(blGlyphLeft);
    glyph.SetGlyph(GlyphOf(2));
    glyph.SetNumGlyphs(2);
    TOvalButton& system = form->AddButton(180, 90, 100, 40);
    system.SetCaption("System");
    system.SetColor(clBtnFace);
    const Snapshot s = Shot();
    EXPECT_TRUE(Sunken(ClassifyBevel(s, {130, 30, 206, 60}, kLight, kDark)));
    EXPECT_TRUE(Raised(ClassifyBevel(s, {220, 30, 296, 60}, kLight, kDark)));
    EXPECT_EQ(64, FindColour(s, {40, 90, 160, 130}, RGB(255, 0, 0)).count);
    if (const char* pause = std::getenv("ZEPTON_OVAL_PAUSE_MS")) {
        const DWORD end = ::GetTickCount() + std::strtoul(pause, nullptr, 10);
        while (::GetTickCount() < end) {
            Pump();
            ::Sleep(20);
        }
    }
}

}  // namespace
