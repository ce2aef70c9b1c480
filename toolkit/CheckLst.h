#pragma once
// A list box whose items each carry a tick box.
#include "toolkit/StdCtrls.h"

namespace zep {

// An owner-drawn LISTBOX; each item's tick is kept in its item data. A click
// on an item's box, or the space key on the selected item, flips its tick.
class TCheckListBox : public TCustomListBox {
public:
    TCheckListBox(TComponent* owner, TWinControl* parent, int left, int top, int width, int height);

    bool Checked(int index) const;
    void SetChecked(int index, bool checked);

    // Width of the tick box area at the left of each item, at 96 dots per
    // inch; as wide as an item is high.
    static constexpr int kBoxWidth = kItemHeight;

    // Its items, each with its name and tick; the default action ticks as a click on the box.
    bool DrawsOwnParts() const override { return true; }
    std::vector<TAccessibleElement> AccessibleElements() override;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void DrawItem(const DRAWITEMSTRUCT& item);
    void InvalidateItem(int index);
    void ToggleBoxAt(LPARAM point);
};

}  // namespace zep
