#pragma once
// The standard controls: label, one-line edit, list boxes and group box.
#include "toolkit/Controls.h"

#include <string>
#include <vector>

namespace zep {

enum class TAlignment { taLeftJustify, taCenter };

// Text painted on the parent. A label that sizes itself keeps its top-left
// corner and takes the size of its text.
class TCustomLabel : public TGraphicControl {
public:
    TCustomLabel(TComponent* owner, TWinControl* parent, int left, int top, int width, int height);

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    // Call after changing Font(): resizes (when sizing itself) and repaints.
    void FontChanged();

    TNotifyEvent OnClick;

    void Paint(TCanvas& canvas) override;
    void Click() override;
    void ScaleToScreen() override;
    TAccessibleElement Accessible() override;

protected:
    void CaptionChanged() override;
    // The colour of the text while the label is enabled.
    virtual TColor TextColor() const { return Font().Color(); }

private:
    SIZE TextSize();
    void AdjustBounds();

    bool autoSize_ = true;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool transparent_ = false;
};

class TLabel : public TCustomLabel {
public:
    using TCustomLabel::TCustomLabel;
};

class TEdit : public TWinControl {
public:
    TEdit(TComponent* owner, TWinControl* parent, int left, int top, int width, int height);

    std::string Text() const;
    void SetText(const std::string& text);
    // Typing or pasting beyond this many characters is refused; 0 means no limit.
    void SetMaxLength(int length);

    TNotifyEvent OnChange;

protected:
    bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// A LISTBOX of strings: single selection, unsorted, fixed item height. The
// items are the object's: the window, made when first needed, shows them.
class TCustomListBox : public TWinControl {
public:
    static constexpr int kItemHeight = 13;  // at 96 dots per inch

    int ItemHeight() const { return itemHeight_; }
    void ScaleToScreen() override;

    int Count() const;
    std::string Items(int index) const;
    // Appends an item; returns its index.
    int Add(const std::string& text);
    void Delete(int index);
    void Clear();
    // Every item, top to bottom.
    std::vector<std::string> AllItems() const;
    // Replaces every item by these, with storage reserved and one redraw at the
    // end: quick for thousands of names.
    void SetAllItems(const std::vector<std::string>& items);
    // The selected item, -1 when none.
    int ItemIndex() const;
    void SetItemIndex(int index);

protected:
    TCustomListBox(TComponent* owner, TWinControl* parent, int left, int top, int width, int height, DWORD extraStyle,
                   bool border);
    // Throws std::out_of_range unless the index names an item.
    void CheckIndex(int index) const;
    // What an item carries beside its text (a check-list box's tick); 0 when added.
    LPARAM ItemData(int index) const;
    void SetItemData(int index, LPARAM data);
    void WindowCreated() override;

private:
    struct Item {
        std::string text;
        LPARAM data = 0;
    };
    // A message about the items, handled by the list box itself.
    LRESULT ItemMessage(UINT message, WPARAM wParam, LPARAM lParam) const;
    // The window shows every item, drawn once at the end.
    void FillWindow();

    int itemHeight_ = kItemHeight;
    std::vector<Item> items_;
};

class TListBox : public TCustomListBox {
public:
    TListBox(TComponent* owner, TWinControl* parent, int left, int top, int width, int height, bool border = true);

    TNotifyEvent OnClick;     // the selection changed by mouse or keyboard
    TNotifyEvent OnDblClick;  // an item was double-clicked

protected:
    void WindowCreated() override;
    bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

// A caption on an etched frame; windowless controls placed in it get paint and mouse.
class TGroupBox : public TWinControl {
public:
    TGroupBox(TComponent* owner, TWinControl* parent, int left, int top, int width, int height,
              const std::string& caption);

protected:
    void PaintWindow(HDC dc) override;
    void CaptionChanged() override;
};

}  // namespace zep
