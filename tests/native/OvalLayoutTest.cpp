#include "controls/OvalLayout.h"

#include <gtest/gtest.h>

using namespace zep;

namespace {

// A 100 x 50 button with a caption 40 x 13 and a two-image 16 x 16 glyph.
FaceInput Button(TButtonLayout layout, int bevelState = 1) {
    FaceInput in;
    in.Width = 100;
    in.Height = 50;
    in.GlyphWidth = 32;
    in.GlyphHeight = 16;
    in.NumGlyphs = 2;
    in.BevelState = bevelState;
    in.Layout = layout;
    in.Spacing = 4;
    in.HasCaption = true;
    in.TextWidth = 40;
    in.TextHeight = 13;
    return in;
}

LayoutPoint TextPos(const FaceLayout& f) { return {f.TextRect.Left, f.TextRect.Top}; }

}  // namespace

TEST(LayoutFace, GlyphLeftOfCaption) {
    const FaceLayout f = LayoutFace(Button(blGlyphLeft));
    ASSERT_TRUE(f.GlyphShown);
    ASSERT_TRUE(f.CaptionShown);
    EXPECT_EQ(f.Source, (LayoutRect{0, 0, 16, 16}));
    EXPECT_EQ(f.Dest, (LayoutRect{20, 17, 36, 33}));  // group 20..80 centred in 100
    EXPECT_EQ(f.TextRect, (LayoutRect{40, 18, 80, 31}));
    EXPECT_EQ(f.Fill, (LayoutRect{41, 19, 81, 32}));  // where the sunken caption stood
    EXPECT_EQ(f.Strip[0], (LayoutPoint{36, 17}));
    EXPECT_EQ(f.Strip[1], (LayoutPoint{36, 33}));
    EXPECT_EQ(f.Strip[2], (LayoutPoint{20, 33}));
}

TEST(LayoutFace, GlyphOnEachSide) {
    FaceLayout f = LayoutFace(Button(blGlyphRight));
    EXPECT_EQ(f.Dest, (LayoutRect{64, 17, 80, 33}));
    EXPECT_EQ(TextPos(f), (LayoutPoint{20, 18}));

    f = LayoutFace(Button(blGlyphTop));
    EXPECT_EQ(f.Dest, (LayoutRect{42, 8, 58, 24}));
    EXPECT_EQ(TextPos(f), (LayoutPoint{30, 28}));

    f = LayoutFace(Button(blGlyphBottom));
    EXPECT_EQ(f.Dest, (LayoutRect{42, 25, 58, 41}));
    EXPECT_EQ(TextPos(f), (LayoutPoint{30, 8}));
}

TEST(LayoutFace, MarginMovesTheGroupTowardTheGlyph) {
    const struct {
        TButtonLayout layout;
        LayoutPoint glyph, text;
    } cases[] = {
        {blGlyphLeft, {15, 17}, {35, 18}},
        {blGlyphRight, {69, 17}, {25, 18}},
        {blGlyphTop, {42, 3}, {30, 23}},
        {blGlyphBottom, {42, 30}, {30, 13}},
    };
    for (const auto& c : cases) {
        FaceInput in = Button(c.layout);
        in.Margin = 5;
        const FaceLayout f = LayoutFace(in);
        EXPECT_EQ((LayoutPoint{f.Dest.Left, f.Dest.Top}), c.glyph) << int(c.layout);
        EXPECT_EQ(TextPos(f), c.text) << int(c.layout);
    }
}

TEST(LayoutFace, GlyphWithoutCaptionIsCentred) {
    for (TButtonLayout layout : {blGlyphBottom, blGlyphLeft, blGlyphRight, blGlyphTop}) {
        FaceInput in = Button(layout);
        in.HasCaption = false;
        in.Margin = 7;  // no effect without a caption
        const FaceLayout f = LayoutFace(in);
        EXPECT_EQ(f.Dest, (LayoutRect{42, 17, 58, 33})) << int(layout);
        EXPECT_FALSE(f.CaptionShown);
    }
}

TEST(LayoutFace, SunkenCaptionWithoutGlyphMovesOnePixel) {
    FaceInput in = Button(blGlyphBottom);
    in.NumGlyphs = 0;
    const FaceLayout up = LayoutFace(in);
    EXPECT_FALSE(up.GlyphShown);
    EXPECT_EQ(up.TextRect, (LayoutRect{30, 18, 70, 31}));

    in.BevelState = -1;
    const FaceLayout down = LayoutFace(in);
    EXPECT_EQ(down.TextRect, (LayoutRect{31, 19, 71, 32}));
    EXPECT_EQ(down.Fill, down.TextRect);
    EXPECT_EQ(up.Fill, down.TextRect);  // the raised fill clears the sunken caption
}

TEST(LayoutFace, SunkenGlyphMovesAndCaptionFollowsIt) {
    const FaceLayout left = LayoutFace(Button(blGlyphLeft, -1));
    EXPECT_EQ(left.Dest, (LayoutRect{21, 18, 37, 34}));
    EXPECT_EQ(TextPos(left), (LayoutPoint{42, 19}));  // +2 along the glyph axis, +1 across
    EXPECT_EQ(left.Fill, left.TextRect);
    EXPECT_EQ(left.Strip[0], (LayoutPoint{20, 34}));
    EXPECT_EQ(left.Strip[1], (LayoutPoint{20, 17}));
    EXPECT_EQ(left.Strip[2], (LayoutPoint{37, 17}));

    EXPECT_EQ(TextPos(LayoutFace(Button(blGlyphRight, -1))), (LayoutPoint{22, 19}));
    EXPECT_EQ(TextPos(LayoutFace(Button(blGlyphTop, -1))), (LayoutPoint{31, 30}));
    EXPECT_EQ(TextPos(LayoutFace(Button(blGlyphBottom, -1))), (LayoutPoint{31, 10}));
}

TEST(LayoutFace, EmptyGlyphBesideCaption) {
    FaceInput in = Button(blGlyphLeft);
    in.GlyphWidth = in.GlyphHeight = 0;
    in.NumGlyphs = 1;
    in.Spacing = 0;
    const FaceLayout f = LayoutFace(in);
    EXPECT_EQ(f.Source, (LayoutRect{0, 0, 0, 0}));
    EXPECT_EQ(f.TextRect, (LayoutRect{30, 18, 70, 31}));  // centred, as without a glyph
}

TEST(LayoutFace, WideCaptionOverhangsBothSides) {
    FaceInput in = Button(blGlyphBottom);
    in.NumGlyphs = 0;
    in.TextWidth = 141;
    EXPECT_EQ(LayoutFace(in).TextRect.Left, -21);  // half(-41) rounds down
}

TEST(LayoutFace, ImageSelection) {
    // Expected image (1-based) for NumGlyphs n and each state; 0 = no glyph.
    const struct {
        int n;
        int normal, disabled, sunken, sunkenDisabled;
    } cases[] = {
        {0, 0, 0, 0, 0},
        {1, 1, 1, 1, 1},
        {2, 1, 2, 1, 2},
        {3, 1, 2, 3, 3},
        {4, 1, 2, 3, 3},
    };
    for (const auto& c : cases) {
        auto image = [&](bool enabled, int bevelState) {
            FaceInput in = Button(blGlyphLeft, bevelState);
            in.NumGlyphs = c.n;
            in.GlyphWidth = 16 * (c.n > 0 ? c.n : 1);
            in.Enabled = enabled;
            const FaceLayout f = LayoutFace(in);
            if (!f.GlyphShown) return 0;
            EXPECT_EQ(f.Source.Right - f.Source.Left, 16);
            EXPECT_EQ(f.Dest.Right - f.Dest.Left, 16);
            return f.Source.Left / 16 + 1;
        };
        EXPECT_EQ(image(true, 1), c.normal) << c.n;
        EXPECT_EQ(image(true, 0), c.normal) << c.n;
        EXPECT_EQ(image(false, 1), c.disabled) << c.n;
        EXPECT_EQ(image(true, -1), c.sunken) << c.n;
        EXPECT_EQ(image(false, -1), c.sunkenDisabled) << c.n;
    }
}

TEST(BevelArcs, RingsAndRadials) {
    const BevelGeometry g = BevelArcs(99, 50, 2);
    EXPECT_EQ(g.UpperRight, (LayoutPoint{76, 10}));
    EXPECT_EQ(g.LowerLeft, (LayoutPoint{19, 40}));
    ASSERT_EQ(g.Rings.size(), 2u);
    EXPECT_EQ(g.Rings[0], (LayoutRect{1, 1, 97, 48}));
    EXPECT_EQ(g.Rings[1], (LayoutRect{2, 2, 96, 47}));
    EXPECT_TRUE(BevelArcs(100, 50, 0).Rings.empty());
}

TEST(BevelColors, ButtonLevelsOnSilver) {
    TColor light = 0, dark = 0;
    BevelColors(0xC0C0C0, light, dark, 5, 4);
    EXPECT_EQ(light, 0xDFDFDFu);
    EXPECT_EQ(dark, 0x737373u);
}

TEST(MatchesAccelerator, FirstAmpersandMarksTheKey) {
    EXPECT_TRUE(MatchesAccelerator('a', "&Apply"));
    EXPECT_TRUE(MatchesAccelerator('A', "&Apply"));
    EXPECT_TRUE(MatchesAccelerator('X', "E&xit"));
    EXPECT_FALSE(MatchesAccelerator('p', "&Apply"));
    EXPECT_TRUE(MatchesAccelerator('b', "A&b&c"));
    EXPECT_FALSE(MatchesAccelerator('c', "A&b&c"));  // only the first '&' counts
    EXPECT_TRUE(MatchesAccelerator('1', "&1st"));
}

TEST(MatchesAccelerator, EdgeCases) {
    EXPECT_FALSE(MatchesAccelerator('a', ""));
    EXPECT_FALSE(MatchesAccelerator('&', "&"));
    EXPECT_FALSE(MatchesAccelerator('\0', "Apply&"));  // '&' last: nothing after it
    EXPECT_TRUE(MatchesAccelerator('&', "&&"));
    EXPECT_FALSE(MatchesAccelerator('x', "&&x"));
    EXPECT_FALSE(MatchesAccelerator('a', "Apply"));
    // Upper-casing is ASCII only: a-umlaut and A-umlaut (Latin-1) stay different.
    EXPECT_TRUE(MatchesAccelerator('\xe4', "&\xe4"));
    EXPECT_FALSE(MatchesAccelerator('\xc4', "&\xe4"));
}
