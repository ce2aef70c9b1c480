#pragma once
// A list of same-sized images with transparency, for tool bars and icons.
#include "toolkit/Component.h"
#include "toolkit/Graphics.h"
#include "win/Handle.h"

#include <commctrl.h>

namespace zep {

struct ImageListTraits {
    using handle_type = HIMAGELIST;
    static handle_type invalid() { return nullptr; }
    static void close(handle_type h) { ::ImageList_Destroy(h); }
};
using ImageListHandle = UniqueHandle<ImageListTraits>;

// Images are stated at 96 dots per inch and held at the display's: a strip is
// stretched as it is added.
class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner, int width = 16, int height = 16);

    HIMAGELIST Handle() const { return list_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const;

    // Cuts a strip into images of the list's width; pixels of the mask colour
    // become transparent. Returns the index of the first image added.
    int AddMasked(const TBitmap& strip, TColor mask);
    // The same for a bitmap among the module's resources.
    int LoadFromResourceName(HINSTANCE instance, const char* name, TColor mask);

    // A new icon of one image; empty for an index that names none.
    IconHandle GetIcon(int index) const;

private:
    int width_, height_;
    ImageListHandle list_;
};

}  // namespace zep
