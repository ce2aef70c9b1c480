#pragma once
// TURLLabel: a label that is its own hyperlink. Underlined; blue while the
// pointer is over it, black after; a click hands its caption, completed to a
// web, file-transfer or mail address, to the shell.
#include "controls/URLLink.h"
#include "toolkit/StdCtrls.h"

namespace zep {

// The number under which the link cursor ("URLCURSOR_1") is installed in the screen's cursor table.
inline constexpr TCursor crURLCursor = 512;

class TURLLabel : public TCustomLabel {
public:
    static constexpr TColor kHoverColor = 0xFF0000;  // blue
    static constexpr TColor kLeftColor = clBlack;

    TURLLabel(TComponent* owner, TWinControl* parent);

    TURLType URLType = TURLType::utHTTP;

    void Click() override;
    // A link named by its caption, its value the address a click opens.
    TAccessibleElement Accessible() override;
    void MouseEnter() override;
    void MouseLeave() override;

protected:
    // In high contrast the scheme's colour of links, whatever the pointer does.
    TColor TextColor() const override;

private:
    void SetFontColor(TColor color);
};

}  // namespace zep
