#include "ui/OvalButtons.h"

#include <string_view>

namespace zep {

TOvalButton& MakeOvalButton(TComponent& owner, TWinControl& parent, Bounds b, const char* caption, const char* hint) {
    auto& button = owner.Make<TOvalButton>(&owner, &parent);
    button.SetBounds(b.left, b.top, b.width, b.height);
    button.SetCaption(caption);
    if (!std::string_view(hint).empty()) {
        button.SetHint(hint);
        button.SetShowHint(true);
    }
    button.SetCursor(crHandPoint);
    button.SetBevelWidth(2);
    return button;
}

}  // namespace zep
