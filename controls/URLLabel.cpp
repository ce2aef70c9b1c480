#include "controls/URLLabel.h"

#include "toolkit/ColourScheme.h"
#include "toolkit/Shell.h"

namespace zep {

TURLLabel::TURLLabel(TComponent* owner, TWinControl* parent) : TCustomLabel(owner, parent, 0, 0, 0, 0) {
    SetCaption("http://www.example.org/");
    Font().SetStyle(fsUnderline);
    FontChanged();
    // The cursor is loaded once, by the first label; every new label puts it into the table's entry.
    static const HCURSOR cursor = ::LoadCursorA(::GetModuleHandleA(nullptr), "URLCURSOR_1");
    Screen().SetCustomCursor(crURLCursor, cursor);
    SetCursor(crURLCursor);
}

void TURLLabel::Click() {
    TCustomLabel::Click();
    ShellOpen(::GetDesktopWindow(), CompleteURL(Caption(), URLType));
}

TAccessibleElement TURLLabel::Accessible() {
    TAccessibleElement element = TCustomLabel::Accessible();
    element.role = TAccessibleRole::Link;
    element.value = CompleteURL(Caption(), URLType);
    element.defaultAction = "Jump";
    element.action = [this] { Click(); };
    return element;
}

void TURLLabel::MouseEnter() {
    TCustomLabel::MouseEnter();
    SetFontColor(kHoverColor);
}

void TURLLabel::MouseLeave() {
    TCustomLabel::MouseLeave();
    SetFontColor(kLeftColor);
}

TColor TURLLabel::TextColor() const { return HighContrast() ? clHotLight : TCustomLabel::TextColor(); }

void TURLLabel::SetFontColor(TColor color) {
    Font().SetColor(color);
    Invalidate();
}

}  // namespace zep
