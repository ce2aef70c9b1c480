#include "toolkit/CheckLst.h"


#include <windowsx.h>

namespace zep {

TCheckListBox::TCheckListBox(TComponent* owner, TWinControl* parent, int left, int top, int width, int height)
    : TCustomListBox(owner, parent, left, top, width, height, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, true) {
    Color = clWindow;
}

bool TCheckListBox::Checked(int index) const { return ItemData(index) != 0; }

void TCheckListBox::SetChecked(int index, bool checked) {
    if (Checked(index) == checked) return;
    SetItemData(index, checked ? 1 : 0);
    InvalidateItem(index);
}

void TCheckListBox::InvalidateItem(int index) {
    if (!HandleAllocated()) return;
    RECT r;
    if (::SendMessageA(Handle(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)) != LB_ERR)
        ::InvalidateRect(Handle(), &r, FALSE);
}

// Flips the tick of the item under a client point when the point is on its box.
void TCheckListBox::ToggleBoxAt(LPARAM point) {
    const LRESULT hit = ::SendMessageA(Handle(), LB_ITEMFROMPOINT, 0, point);
    if (HIWORD(hit) != 0 || GET_X_LPARAM(point) >= ItemHeight()) return;  // outside every item, or on the text
    const int index = LOWORD(hit);
    SetChecked(index, !Checked(index));
}

LRESULT TCheckListBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // The list selects the item first; a fast second click on the box flips it again.
        const LRESULT result = TCustomListBox::WndProc(message, wParam, lParam);
        ToggleBoxAt(lParam);
        return result;
    }
    case WM_CHAR:
        if (wParam == ' ') {
            if (const int index = ItemIndex(); index >= 0) SetChecked(index, !Checked(index));
            return 0;
        }
        break;
    default:
        break;
    }
    return TCustomListBox::WndProc(message, wParam, lParam);
}

std::vector<TAccessibleElement> TCheckListBox::AccessibleElements() {
    std::vector<TAccessibleElement> items;
    const int selected = ItemIndex();
    const int caret =
        ::GetFocus() == Handle() ? static_cast<int>(::SendMessageA(Handle(), LB_GETCARETINDEX, 0, 0)) : -1;
    for (int i = 0; i < Count(); ++i) {
        TAccessibleElement& item = items.emplace_back();
        item.role = TAccessibleRole::ListItem;
        item.name = Items(i);
        item.checked = Checked(i);
        item.selected = i == selected;
        item.focused = i == caret;
        ::SendMessageA(Handle(), LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item.bounds));
        item.defaultAction = item.checked ? "Uncheck" : "Check";
        // As the mouse does it: the item is selected, its tick flips.
        item.action = [this, i] {
            SetItemIndex(i);
            SetChecked(i, !Checked(i));
        };
    }
    return items;
}

bool TCheckListBox::Reflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message == WM_MEASUREITEM) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(ItemHeight());
        result = TRUE;
        return true;
    }
    if (message != WM_DRAWITEM) return false;
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
}

void TCheckListBox::DrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT text = item.rcItem;
    text.left += ItemHeight() + 2;
    const bool focused = (item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT);
    if (item.itemID == static_cast<UINT>(-1) || item.itemAction == ODA_FOCUS) {
        if (item.itemState & ODS_NOFOCUSRECT) return;
        // Only the focus changed, or the list is empty: the rectangle is drawn by XOR.
        ::DrawFocusRect(dc, item.itemID == static_cast<UINT>(-1) ? &item.rcItem : &text);
        return;
    }
    const int index = static_cast<int>(item.itemID);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;

    HBRUSH window = SolidBrush(Color);
    RECT box = item.rcItem;
    box.right = text.left;
    ::FillRect(dc, &box, window);
    box = {item.rcItem.left + 1, item.rcItem.top, item.rcItem.left + ItemHeight(), item.rcItem.top + ItemHeight()};
    ::DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | (Checked(index) ? DFCS_CHECKED : 0u));

    ::FillRect(dc, &text, selected ? ::GetSysColorBrush(COLOR_HIGHLIGHT) : window);
    SelectedObject font(dc, Font().Handle());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : ColorToRGB(Font().Color()));
    RECT inner = text;
    inner.left += 2;
    DrawTextIn(dc, Items(index), inner, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (focused) ::DrawFocusRect(dc, &text);
}

}  // namespace zep
