#pragma once
// Common controls: the tool bar with its buttons, and the page control with its pages.
#include "toolkit/Controls.h"
#include "toolkit/KeyTable.h"

#include <string>
#include <vector>

namespace zep {

class TImageList;
class TToolBar;

enum class TToolButtonStyle {
    tbsButton,     // pushed and released
    tbsCheck,      // stays down until clicked again
    tbsDivider,    // a vertical line between groups
    tbsSeparator,  // a blank gap
};

// One button of a tool bar, appended at the bar's end when made; the bar's
// window shows it once made.
class TToolButton : public TComponent, public TClickable {
public:
    TToolButton(TComponent* owner, TToolBar* toolBar, TToolButtonStyle style, int imageIndex = -1,
                std::string hint = {});
    ~TToolButton() override;

    TToolButtonStyle Style() const { return style_; }
    int ImageIndex() const { return imageIndex_; }
    int Command() const { return command_; }
    // Position and size from the bar's top-left corner, edge lines included.
    RECT BoundsRect() const;
    // The state of a check button; a click flips it before OnClick runs.
    bool Down() const { return down_; }
    void SetDown(bool down);

    std::string Hint;
    TNotifyEvent OnClick;
    void Click() { Fire(OnClick, this); }
    // A click as the bar makes it: a check button flips first.
    void Press() override;

private:
    friend class TToolBar;

    TToolBar* toolBar_;
    TToolButtonStyle style_;
    int imageIndex_;
    bool down_ = false;
    int command_ = 0;
};

// A flat tool bar of 23 x 22 buttons with 16 x 16 images (at 96 dots per
// inch; the display's scale from the start), etched lines along
// its top and bottom edges and a tooltip per button. Its parent places it;
// it never resizes itself. Its buttons, images and indent are the object's,
// and its window, made when first needed, shows them.
class TToolBar : public TWinControl {
public:
    static constexpr int kButtonWidth = 23, kButtonHeight = 22, kGapWidth = 12, kEdge = 2;

    TToolBar(TComponent* owner, TWinControl* parent, int left, int top, int width, int height);

    void SetImages(TImageList* images);
    // Blank space before the first button.
    void SetIndent(int indent);
    const std::vector<TToolButton*>& Buttons() const { return buttons_; }

    // Its buttons, each named by its hint.
    bool DrawsOwnParts() const override { return true; }
    std::vector<TAccessibleElement> AccessibleElements() override;

protected:
    void WindowCreated() override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    friend class TToolButton;
    void Insert(TToolButton& button);
    void AddToWindow(const TToolButton& button);
    void Remove(TToolButton& button);
    TToolButton* FindButton(int command) const;
    void PaintEdges();
    bool GiveHint(NMHDR& header);

    std::vector<TToolButton*> buttons_;
    int nextCommand_ = 1;
    int indent_ = 0;
    TImageList* images_ = nullptr;
};

class TTabSheet;

// A tab control showing one page at a time in its display area.
class TPageControl : public TWinControl {
public:
    TPageControl(TComponent* owner, TWinControl* parent, int left, int top, int width, int height);

    const std::vector<TTabSheet*>& Pages() const { return pages_; }
    TTabSheet* ActivePage() const;
    void SetActivePage(TTabSheet* page);
    // The page area, in client coordinates.
    RECT DisplayRect() const;
    // The tabs grow with the font; the pages fill the new page area.
    void ScaleToScreen() override;

protected:
    bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    friend class TTabSheet;
    void Insert(TTabSheet& page);
    void Remove(TTabSheet& page);
    void ShowSelected();
    void FitPages();

    std::vector<TTabSheet*> pages_;
};

// A page of a page control, appended as its last tab; it hosts other controls.
class TTabSheet : public TWinControl {
public:
    TTabSheet(TComponent* owner, TPageControl* pageControl, const std::string& caption);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return pageControl_; }
    int PageIndex() const;
    // The page control places its pages: only the font grows here.
    void ScaleToScreen() override;

private:
    TPageControl* pageControl_;
};

}  // namespace zep
