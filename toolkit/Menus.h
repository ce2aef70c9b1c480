#pragma once
// Pop-up menus, their items and submenus.
#include "toolkit/Component.h"

#include <string>
#include <vector>

namespace zep {

class TMenuItem : public TComponent {
public:
    TMenuItem(TComponent* owner, std::string caption, TNotifyEvent onClick = {})
        : TComponent(owner), Caption(std::move(caption)), OnClick(std::move(onClick)) {}

    std::string Caption;  // "-" makes a separator; "&" marks the letter that chooses it, "&&" is an "&"
    bool Default = false;  // drawn bold; the item a double click on a tray icon runs
    bool Checked = false;  // drawn with a tick
    bool Enabled = true;   // grayed when not, and not to be chosen
    TNotifyEvent OnClick;
    std::vector<TMenuItem*> Items;  // an item that has items opens them as its submenu

    // An item of this one's submenu, owned by this item.
    TMenuItem& Add(const std::string& caption, TNotifyEvent onClick = {});
    // Frees the submenu's items.
    void Clear();
    // Runs the item as if the user had chosen it.
    void Click() { Fire(OnClick, this); }
};

class TPopupMenu : public TComponent {
public:
    using TComponent::TComponent;

    std::vector<TMenuItem*> Items;
    bool AutoPopup = true;  // a right click on the control (or tray icon) that has it opens it
    bool Centred = false;  // items centred on the point where the menu opens
    TComponent* PopupComponent = nullptr;  // whoever opened the menu last
    TNotifyEvent OnPopup;  // just before the menu shows: the items may still change

    TMenuItem& Add(const std::string& caption, TNotifyEvent onClick = {});
    // Shows the menu at a screen point; returns when it has closed, after
    // running the chosen item.
    void Popup(int x, int y);
};

}  // namespace zep
