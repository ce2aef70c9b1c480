#include "toolkit/ImgList.h"

#include "toolkit/Scaling.h"

#include <stdexcept>

namespace zep {

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), width_(Scaled(width)), height_(Scaled(height)),
      list_(::ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 0, 8)) {
    if (!list_) throw std::runtime_error("Cannot create image list");
}

int TImageList::Count() const { return ::ImageList_GetImageCount(Handle()); }

int TImageList::AddMasked(const TBitmap& strip, TColor mask) {
    if (strip.Empty()) throw std::runtime_error("No bitmap to add to the image list");
    TBitmap scaled;
    if (Scaled(strip.Height()) != strip.Height()) {
        scaled = strip;
        scaled.StretchTo(Scaled(strip.Width()), Scaled(strip.Height()));
    }
    const TBitmap& added = scaled.Empty() ? strip : scaled;
    const int first = ::ImageList_AddMasked(Handle(), added.Handle(), ColorToRGB(mask));
    if (first < 0) throw std::runtime_error("Cannot add to the image list");
    return first;
}

int TImageList::LoadFromResourceName(HINSTANCE instance, const char* name, TColor mask) {
    TBitmap strip;
    strip.LoadFromResourceName(instance, name);
    return AddMasked(strip, mask);
}

IconHandle TImageList::GetIcon(int index) const {
    if (index < 0 || index >= Count()) return IconHandle();
    return IconHandle(::ImageList_GetIcon(Handle(), index, ILD_TRANSPARENT));
}

}  // namespace zep
