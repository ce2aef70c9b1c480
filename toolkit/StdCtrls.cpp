#include "toolkit/StdCtrls.h"

#include "toolkit/Scaling.h"

#include <algorithm>
#include <stdexcept>

namespace zep {
namespace {

constexpr UINT kLabelFormat = DT_EXPANDTABS | DT_NOPREFIX | DT_WORDBREAK;

}  // namespace

// ---- TCustomLabel

TCustomLabel::TCustomLabel(TComponent* owner, TWinControl* parent, int left, int top, int width, int height)
    : TGraphicControl(owner, parent) {
    TControl::SetBounds(left, top, width, height);
}

void TCustomLabel::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    Invalidate();
}

void TCustomLabel::SetTransparent(bool transparent) {
    transparent_ = transparent;
    Invalidate();
}

void TCustomLabel::FontChanged() {
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::CaptionChanged() {
    AdjustBounds();
    Invalidate();
}

// The caption's size on one line, as Paint will draw it; an empty caption keeps one line's height.
SIZE TCustomLabel::TextSize() {
    WindowDC screen(nullptr);
    SelectedObject font(screen.dc, Font().Handle());
    const std::string text = Caption().empty() ? std::string(" ") : Caption();
    RECT r{0, 0, 0, 0};
    DrawTextIn(screen.dc, text, r, (kLabelFormat & ~DT_WORDBREAK) | DT_CALCRECT);
    return {Caption().empty() ? 0 : r.right, r.bottom};
}

void TCustomLabel::AdjustBounds() {
    if (!autoSize_) return;
    const SIZE text = TextSize();
    SetBounds(Left(), Top(), text.cx, text.cy);
}

void TCustomLabel::Paint(TCanvas& canvas) {
    RECT r{0, 0, Width(), Height()};
    if (!transparent_) {
        canvas.Brush.style = TBrushStyle::bsSolid;
        canvas.Brush.color = Parent() ? Parent()->Color : clBtnFace;
        canvas.FillRect(r);
    }
    canvas.Brush.style = TBrushStyle::bsClear;
    canvas.Font = Font();
    canvas.Font.SetColor(Enabled() ? TextColor() : clGrayText);
    canvas.DrawText(Caption(), r, kLabelFormat | (alignment_ == TAlignment::taCenter ? DT_CENTER : DT_LEFT));
}

void TCustomLabel::Click() { Fire(OnClick, this); }

TAccessibleElement TCustomLabel::Accessible() {
    TAccessibleElement element = TGraphicControl::Accessible();
    element.role = TAccessibleRole::StaticText;
    return element;
}

void TCustomLabel::ScaleToScreen() {
    TGraphicControl::ScaleToScreen();
    if (autoSize_) {
        AdjustBounds();
        return;
    }
    // Text does not grow exactly with the display: a label of fixed size
    // widens rather than cut its caption, a centred one about its centre.
    const SIZE text = TextSize();
    const int width = std::max<int>(Width(), text.cx), height = std::max<int>(Height(), text.cy);
    const int left = alignment_ == TAlignment::taCenter ? Left() - (width - Width()) / 2 : Left();
    SetBounds(left, Top(), width, height);
}

// ---- TEdit

TEdit::TEdit(TComponent* owner, TWinControl* parent, int left, int top, int width, int height)
    : TWinControl(owner, parent) {
    TControl::SetBounds(left, top, width, height);
    SetWindowClass("EDIT", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
}

std::string TEdit::Text() const {
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(Handle())) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(Handle(), text.data(), static_cast<int>(text.size()))));
    return text;
}

void TEdit::SetText(const std::string& text) { ::SetWindowTextA(Handle(), text.c_str()); }

void TEdit::SetMaxLength(int length) { ::SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(length), 0); }

bool TEdit::Reflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_COMMAND || HIWORD(wParam) != EN_CHANGE) return false;
    Fire(OnChange, this);
    result = 0;
    return true;
}

// ---- TCustomListBox

TCustomListBox::TCustomListBox(TComponent* owner, TWinControl* parent, int left, int top, int width, int height,
                               DWORD extraStyle, bool border)
    : TWinControl(owner, parent) {
    TControl::SetBounds(left, top, width, height);
    // The height is exactly as placed, not rounded down to whole items.
    SetWindowClass("LISTBOX",
                   WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | extraStyle,
                   border ? WS_EX_CLIENTEDGE : 0);
}

void TCustomListBox::ScaleToScreen() {
    TWinControl::ScaleToScreen();
    itemHeight_ = Scaled(kItemHeight);
    if (HandleAllocated()) ::SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, itemHeight_);
}

void TCustomListBox::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
}

// Straight to the list box's own procedure: no subclass in the chain has
// business with the items, and each pass through it costs (under Wine the text
// is converted to UTF-16 and back), thousands of times over for a long list.
LRESULT TCustomListBox::ItemMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    const auto listProc = reinterpret_cast<WNDPROC>(::GetClassLongPtrA(Handle(), GCLP_WNDPROC));
    return ::CallWindowProcA(listProc, Handle(), message, wParam, lParam);
}

void TCustomListBox::WindowCreated() { FillWindow(); }

void TCustomListBox::FillWindow() {
    // Drawing resumes however the filling ends.
    struct RedrawOff {
        HWND list;
        explicit RedrawOff(HWND l) : list(l) { ::SendMessageA(list, WM_SETREDRAW, FALSE, 0); }
        ~RedrawOff() {
            ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
            ::InvalidateRect(list, nullptr, TRUE);
        }
    } redrawOff(Handle());
    ItemMessage(LB_RESETCONTENT, 0, 0);
    std::size_t bytes = 0;
    for (const Item& item : items_) bytes += item.text.size() + 1;
    ItemMessage(LB_INITSTORAGE, items_.size(), static_cast<LPARAM>(bytes));
    for (const Item& item : items_)
        if (ItemMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.text.c_str())) < 0)
            throw std::runtime_error("Out of memory while adding to a list");
}

int TCustomListBox::Count() const { return static_cast<int>(items_.size()); }

std::string TCustomListBox::Items(int index) const {
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].text;
}

LPARAM TCustomListBox::ItemData(int index) const {
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].data;
}

void TCustomListBox::SetItemData(int index, LPARAM data) {
    CheckIndex(index);
    items_[static_cast<std::size_t>(index)].data = data;
}

int TCustomListBox::Add(const std::string& text) {
    if (HandleAllocated() && ItemMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())) < 0)
        throw std::runtime_error("Out of memory while adding to a list");
    items_.push_back({text});
    return Count() - 1;
}

void TCustomListBox::Delete(int index) {
    CheckIndex(index);
    if (HandleAllocated()) ItemMessage(LB_DELETESTRING, index, 0);
    items_.erase(items_.begin() + index);
}

void TCustomListBox::Clear() {
    if (HandleAllocated()) ItemMessage(LB_RESETCONTENT, 0, 0);
    items_.clear();
}

std::vector<std::string> TCustomListBox::AllItems() const {
    std::vector<std::string> items;
    items.reserve(items_.size());
    for (const Item& item : items_) items.push_back(item.text);
    return items;
}

void TCustomListBox::SetAllItems(const std::vector<std::string>& items) {
    items_.clear();
    items_.reserve(items.size());
    for (const auto& text : items) items_.push_back({text});
    if (HandleAllocated()) FillWindow();
}

int TCustomListBox::ItemIndex() const { return static_cast<int>(::SendMessageA(Handle(), LB_GETCURSEL, 0, 0)); }

void TCustomListBox::SetItemIndex(int index) { ::SendMessageA(Handle(), LB_SETCURSEL, index, 0); }

// ---- TListBox

TListBox::TListBox(TComponent* owner, TWinControl* parent, int left, int top, int width, int height, bool border)
    : TCustomListBox(owner, parent, left, top, width, height, 0, border) {}

// An owner-drawn list is asked for its item height; this one is told.
void TListBox::WindowCreated() {
    ::SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, ItemHeight());
    TCustomListBox::WindowCreated();
}

bool TListBox::Reflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_COMMAND) return false;
    switch (HIWORD(wParam)) {
    case LBN_SELCHANGE: Fire(OnClick, this); break;
    case LBN_DBLCLK: Fire(OnDblClick, this); break;
    default: return false;
    }
    result = 0;
    return true;
}

// ---- TGroupBox

TGroupBox::TGroupBox(TComponent* owner, TWinControl* parent, int left, int top, int width, int height,
                     const std::string& caption)
    : TWinControl(owner, parent) {
    TControl::SetBounds(left, top, width, height);
    SetCaption(caption);
    SetWindowClass(nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);
}

void TGroupBox::CaptionChanged() {
    TWinControl::CaptionChanged();
    Invalidate();
}

void TGroupBox::PaintWindow(HDC dc) {
    SelectedObject font(dc, Font().Handle());
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc, &metrics);
    RECT frame{0, metrics.tmHeight / 2, Width(), Height()};
    ::DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (Caption().empty()) return;
    const SIZE extent = TextExtentIn(dc, Caption());
    RECT text{8, 0, 8 + extent.cx, metrics.tmHeight};
    ::FillRect(dc, &text, SolidBrush(Color));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ColorToRGB(Enabled() ? Font().Color() : clGrayText));
    DrawTextIn(dc, Caption(), text, DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace zep
