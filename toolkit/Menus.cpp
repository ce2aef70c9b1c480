#include "toolkit/Menus.h"

#include "toolkit/Forms.h"
#include "win/Handle.h"

namespace zep {
namespace {

struct MenuTraits {
    using handle_type = HMENU;
    static handle_type invalid() { return nullptr; }
    static void close(handle_type h) { ::DestroyMenu(h); }
};
using MenuHandle = UniqueHandle<MenuTraits>;

// Appends the items to the menu, submenus with theirs; a chosen item is known by
// its place in `chosen` plus one.
void AppendItems(HMENU menu, const std::vector<TMenuItem*>& items, std::vector<TMenuItem*>& chosen) {
    for (TMenuItem* item : items) {
        if (item->Caption == "-") {
            ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const UINT state = (item->Checked ? MF_CHECKED : 0) | (item->Enabled ? 0 : MF_GRAYED);
        if (!item->Items.empty()) {
            MenuHandle submenu(::CreatePopupMenu());
            AppendItems(submenu.get(), item->Items, chosen);
            // The menu destroys its submenus with itself.
            if (::AppendMenuA(menu, MF_POPUP | state, reinterpret_cast<UINT_PTR>(submenu.get()), item->Caption.c_str()))
                submenu.release();
            continue;
        }
        chosen.push_back(item);
        const UINT id = static_cast<UINT>(chosen.size());
        ::AppendMenuA(menu, MF_STRING | state, id, item->Caption.c_str());
        if (item->Default) ::SetMenuDefaultItem(menu, id, FALSE);
    }
}

}  // namespace

TMenuItem& TMenuItem::Add(const std::string& caption, TNotifyEvent onClick) {
    TMenuItem& item = Make<TMenuItem>(this, caption, std::move(onClick));
    Items.push_back(&item);
    return item;
}

void TMenuItem::Clear() {
    Items.clear();
    DestroyComponents();
}

TMenuItem& TPopupMenu::Add(const std::string& caption, TNotifyEvent onClick) {
    TMenuItem& item = Owner()->Make<TMenuItem>(Owner(), caption, std::move(onClick));
    Items.push_back(&item);
    return item;
}

void TPopupMenu::Popup(int x, int y) {
    Fire(OnPopup, this);
    MenuHandle menu(::CreatePopupMenu());
    std::vector<TMenuItem*> chosen;
    AppendItems(menu.get(), Items, chosen);
    UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON | (Centred ? TPM_CENTERALIGN : TPM_LEFTALIGN);
    // With no window of the program active (only the tray icon shows), the menu
    // would not close on a click elsewhere unless its owner is the foreground
    // window, nor open again at once unless the owner gets a message after it.
    HWND owner = Application().Handle();
    ::SetForegroundWindow(owner);
    UINT id = ::TrackPopupMenu(menu.get(), flags, x, y, 0, owner, nullptr);
    ::PostMessageA(owner, WM_NULL, 0, 0);
    if (id >= 1 && id <= chosen.size()) chosen[id - 1]->Click();
}

}  // namespace zep
