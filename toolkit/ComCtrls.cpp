#include "toolkit/ComCtrls.h"

#include "toolkit/ImgList.h"
#include "toolkit/Scaling.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace zep {

// ---- TToolButton

TToolButton::TToolButton(TComponent* owner, TToolBar* toolBar, TToolButtonStyle style, int imageIndex,
                         std::string hint)
    : TComponent(owner), Hint(std::move(hint)), toolBar_(toolBar), style_(style), imageIndex_(imageIndex) {
    toolBar->Insert(*this);
}

TToolButton::~TToolButton() { toolBar_->Remove(*this); }

RECT TToolButton::BoundsRect() const {
    HWND bar = toolBar_->Handle();
    RECT r{};
    const LRESULT index = ::SendMessageA(bar, TB_COMMANDTOINDEX, command_, 0);
    ::SendMessageA(bar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    // From the client area, which starts below the top edge line, to the bar's outer corner.
    RECT window;
    ::GetWindowRect(bar, &window);
    ::MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&r), 2);
    ::OffsetRect(&r, -window.left, -window.top);
    return r;
}

void TToolButton::SetDown(bool down) {
    down_ = down;
    if (toolBar_->HandleAllocated())
        ::SendMessageA(toolBar_->Handle(), TB_CHECKBUTTON, command_, MAKELPARAM(down ? TRUE : FALSE, 0));
}

void TToolButton::Press() {
    if (style_ == TToolButtonStyle::tbsCheck) SetDown(!Down());
    Click();
}

// ---- TToolBar

TToolBar::TToolBar(TComponent* owner, TWinControl* parent, int left, int top, int width, int height)
    : TWinControl(owner, parent) {
    TControl::SetBounds(left, top, width, height);
    SetWindowClass(TOOLBARCLASSNAMEA, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE |
                                          CCS_NOPARENTALIGN | CCS_NODIVIDER);
}

void TToolBar::WindowCreated() {
    ::SendMessageA(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageA(Handle(), TB_SETBITMAPSIZE, 0, MAKELPARAM(Scaled(16), Scaled(16)));
    ::SendMessageA(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(Scaled(kButtonWidth), Scaled(kButtonHeight)));
    if (images_) SetImages(images_);
    SetIndent(indent_);
    for (const TToolButton* button : buttons_) AddToWindow(*button);
}

void TToolBar::SetImages(TImageList* images) {
    images_ = images;
    if (!HandleAllocated()) return;
    ::SendMessageA(Handle(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TToolBar::SetIndent(int indent) {
    indent_ = indent;
    if (HandleAllocated()) ::SendMessageA(Handle(), TB_SETINDENT, Scaled(indent), 0);
}

std::vector<TAccessibleElement> TToolBar::AccessibleElements() {
    std::vector<TAccessibleElement> elements;
    for (TToolButton* button : buttons_) {
        const TToolButtonStyle style = button->Style();
        if (style != TToolButtonStyle::tbsButton && style != TToolButtonStyle::tbsCheck) continue;
        TAccessibleElement& element = elements.emplace_back();
        DescribeButton(element, *this, *button);
        element.name = button->Hint;
        element.checked = style == TToolButtonStyle::tbsCheck && button->Down();
        const LRESULT index = ::SendMessageA(Handle(), TB_COMMANDTOINDEX, button->Command(), 0);
        ::SendMessageA(Handle(), TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&element.bounds));
    }
    return elements;
}

void TToolBar::Insert(TToolButton& button) {
    button.command_ = nextCommand_++;
    buttons_.push_back(&button);
    if (HandleAllocated()) AddToWindow(button);
}

void TToolBar::AddToWindow(const TToolButton& button) {
    TBBUTTON b{};
    b.idCommand = button.Command();
    b.fsState = static_cast<BYTE>(TBSTATE_ENABLED | (button.Down() ? TBSTATE_CHECKED : 0));
    b.iBitmap = button.ImageIndex();
    switch (button.Style()) {
    case TToolButtonStyle::tbsButton: b.fsStyle = TBSTYLE_BUTTON; break;
    case TToolButtonStyle::tbsCheck: b.fsStyle = TBSTYLE_CHECK; break;
    case TToolButtonStyle::tbsDivider:
        // A flat bar draws a separator as a line; its "image" is its width.
        b.fsStyle = TBSTYLE_SEP;
        b.iBitmap = Scaled(kGapWidth);
        break;
    case TToolButtonStyle::tbsSeparator:
        // A disabled button without a picture: blank, never hot, never pressed.
        b.fsStyle = TBSTYLE_BUTTON;
        b.fsState = 0;
        b.iBitmap = I_IMAGENONE;
        break;
    }
    if (!::SendMessageA(Handle(), TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&b)))
        throw std::runtime_error("Cannot add a tool button");
    if (button.Style() == TToolButtonStyle::tbsSeparator) {
        TBBUTTONINFOA info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_SIZE;
        info.cx = static_cast<WORD>(Scaled(kGapWidth));
        ::SendMessageA(Handle(), TB_SETBUTTONINFOA, button.Command(), reinterpret_cast<LPARAM>(&info));
    }
}

void TToolBar::Remove(TToolButton& button) {
    std::erase(buttons_, &button);
    if (!HandleAllocated()) return;
    const LRESULT index = ::SendMessageA(Handle(), TB_COMMANDTOINDEX, button.Command(), 0);
    if (index >= 0) ::SendMessageA(Handle(), TB_DELETEBUTTON, index, 0);
}

TToolButton* TToolBar::FindButton(int command) const {
    auto it = std::find_if(buttons_.begin(), buttons_.end(), [command](auto* b) { return b->Command() == command; });
    return it == buttons_.end() ? nullptr : *it;
}

void TToolBar::PaintEdges() {
    HDC dc = ::GetWindowDC(Handle());
    RECT window;
    ::GetWindowRect(Handle(), &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    RECT top{0, 0, w, kEdge}, bottom{0, h - kEdge, w, h};
    ::DrawEdge(dc, &top, EDGE_ETCHED, BF_TOP);
    ::DrawEdge(dc, &bottom, EDGE_ETCHED, BF_BOTTOM);
    ::ReleaseDC(Handle(), dc);
}

// Fills in a button's hint for the bar's tooltip; the id of the tool is the command.
bool TToolBar::GiveHint(NMHDR& header) {
    TToolButton* button = FindButton(static_cast<int>(header.idFrom));
    if (!button) return false;
    if (header.code == TTN_GETDISPINFOA) {
        auto& info = reinterpret_cast<NMTTDISPINFOA&>(header);
        info.hinst = nullptr;
        info.lpszText = const_cast<char*>(button->Hint.c_str());
    } else {
        // The bar's own tooltip may ask in UTF-16.
        auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
        info.hinst = nullptr;
        info.szText[0] = L'\0';
        ::MultiByteToWideChar(CP_ACP, 0, button->Hint.c_str(), -1, info.szText, static_cast<int>(std::size(info.szText)));
        info.szText[std::size(info.szText) - 1] = L'\0';
        info.lpszText = info.szText;
    }
    return true;
}

LRESULT TToolBar::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCALCSIZE: {
        const LRESULT result = TWinControl::WndProc(message, wParam, lParam);
        auto* client = reinterpret_cast<RECT*>(lParam);
        client->top += kEdge;
        client->bottom -= kEdge;
        return result;
    }
    case WM_NCPAINT: {
        const LRESULT result = TWinControl::WndProc(message, wParam, lParam);
        PaintEdges();
        return result;
    }
    case WM_NOTIFY: {
        auto& header = *reinterpret_cast<NMHDR*>(lParam);
        if ((header.code == TTN_GETDISPINFOA || header.code == TTN_GETDISPINFOW) && GiveHint(header)) return 0;
        break;
    }
    default:
        break;
    }
    return TWinControl::WndProc(message, wParam, lParam);
}

bool TToolBar::Reflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_COMMAND) return false;
    TToolButton* button = FindButton(LOWORD(wParam));
    if (!button) return false;
    // The bar has flipped a check button that was clicked.
    button->down_ = ::SendMessageA(Handle(), TB_ISBUTTONCHECKED, button->Command(), 0) != 0;
    button->Click();
    result = 0;
    return true;
}

// ---- TPageControl

TPageControl::TPageControl(TComponent* owner, TWinControl* parent, int left, int top, int width, int height)
    : TWinControl(owner, parent) {
    TControl::SetBounds(left, top, width, height);
    SetWindowClass(WC_TABCONTROLA, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN);
}

RECT TPageControl::DisplayRect() const {
    RECT r;
    ::GetClientRect(Handle(), &r);
    ::SendMessageA(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

TTabSheet* TPageControl::ActivePage() const {
    const int index = static_cast<int>(::SendMessageA(Handle(), TCM_GETCURSEL, 0, 0));
    return index >= 0 && index < static_cast<int>(pages_.size()) ? pages_[index] : nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    ::SendMessageA(Handle(), TCM_SETCURSEL, it - pages_.begin(), 0);
    ShowSelected();
}

void TPageControl::ScaleToScreen() {
    TWinControl::ScaleToScreen();
    FitPages();
}

void TPageControl::FitPages() {
    const RECT r = DisplayRect();
    for (TTabSheet* page : pages_) page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TPageControl::ShowSelected() {
    TTabSheet* active = ActivePage();
    for (TTabSheet* page : pages_) page->SetVisible(page == active);
}

void TPageControl::Insert(TTabSheet& page) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(page.Caption().c_str());
    const auto index = static_cast<WPARAM>(pages_.size());
    if (::SendMessageA(Handle(), TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item)) < 0)
        throw std::runtime_error("Cannot add a page");
    pages_.push_back(&page);
}

void TPageControl::Remove(TTabSheet& page) {
    auto it = std::find(pages_.begin(), pages_.end(), &page);
    if (it == pages_.end()) return;
    if (HandleAllocated()) ::SendMessageA(Handle(), TCM_DELETEITEM, it - pages_.begin(), 0);
    pages_.erase(it);
}

bool TPageControl::Reflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_NOTIFY || reinterpret_cast<NMHDR*>(lParam)->code != TCN_SELCHANGE) return false;
    ShowSelected();
    result = 0;
    return true;
}

// ---- TTabSheet

TTabSheet::TTabSheet(TComponent* owner, TPageControl* pageControl, const std::string& caption)
    : TWinControl(owner, pageControl), pageControl_(pageControl) {
    SetCaption(caption);
    SetVisible(false);
    SetWindowClass(nullptr, WS_CHILD | WS_CLIPCHILDREN);
    pageControl->Insert(*this);
    // The display area is known once the page has its tab.
    pageControl->FitPages();
    pageControl->ShowSelected();
}

TTabSheet::~TTabSheet() { pageControl_->Remove(*this); }

void TTabSheet::ScaleToScreen() { Font().SetHeight(Scaled(Font().Height())); }

int TTabSheet::PageIndex() const {
    const auto& pages = pageControl_->Pages();
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

}  // namespace zep
