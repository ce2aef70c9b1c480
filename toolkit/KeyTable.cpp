#include "toolkit/KeyTable.h"

#include "toolkit/Controls.h"

namespace zep {
namespace {

constexpr LPARAM kKeyWasDown = 1 << 30;  // a repeat of a held key

}  // namespace

void TKeyTable::Add(TShortCut key, TClickable& button, const TWinControl* where) {
    entries_.push_back({key, &button, where});
}

bool TKeyTable::KeyDown(const MSG& msg, TShiftState shift) const {
    const TShortCut key{static_cast<unsigned>(msg.wParam), shift & (ssShift | ssCtrl | ssAlt)};
    for (const Entry& e : entries_) {
        // A key message goes to the control that has the focus.
        if (e.key != key || (e.where && (!e.where->HandleAllocated() || e.where->Handle() != msg.hwnd))) continue;
        if (!(msg.lParam & kKeyWasDown)) e.button->Press();
        return true;
    }
    return false;
}

std::string TKeyTable::KeyText(const TClickable& button) const {
    for (const Entry& e : entries_)
        if (e.button == &button) return ShortCutToText(e.key);
    return {};
}

}  // namespace zep
