// Resource identifiers shared by the resource script and the program.
// Plain #defines: the resource compiler understands nothing else.
#pragma once

#define ZEPTON_VERSION_NUMBERS 1, 0, 0, 0
#define ZEPTON_VERSION_TEXT "1.0.0.0"

// The program's web page and contact address, shown and opened by the About window.
// There is no real home page or contact yet: both lie in the reserved example.org domain.
#define ZEPTON_HOME_PAGE "www.example.org/zepton"
#define ZEPTON_CONTACT_MAIL "zepton@example.org"

// Program icon (16 x 16 and 32 x 32); the lowest icon id, so Explorer shows it for the exe.
#define IDI_ZEPTON 1

// Tool-button pictures: one 112 x 16 strip of seven 16 x 16 images, fuchsia masked out:
//   ImageList_LoadImageA(instance, MAKEINTRESOURCEA(IDB_TOOLBUTTONS), 16, 0,
//                        ZEPTON_TOOLBUTTONS_MASK, IMAGE_BITMAP, 0)
// (no LR_CREATEDIBSECTION: Wine's image list then loses the mask).
#define IDB_TOOLBUTTONS 101
#define ZEPTON_TOOLBUTTONS_MASK 0x00FF00FF  // COLORREF of fuchsia (255, 0, 255)
#define ZEPTON_TOOLBUTTON_COUNT 7

// Oval-button glyphs: 32 x 16, the normal image then the disabled one; olive is transparent.
#define IDB_TRASHGLYPH 102
#define IDB_CLOSEGLYPH 103

// About picture: 32 x 32, 256 colours.
#define IDB_ABOUT 104

// The link label's hand cursor is loaded by name: "URLCURSOR_1" (hot spot 5, 0).
