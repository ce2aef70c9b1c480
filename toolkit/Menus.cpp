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

}  // namespace

TMenuItem& TPopupMenu::Add(const std::string& caption, TNotifyEvent onClick) {
    TMenuItem& item = Owner()->Make<TMenuItem>(Owner(), caption, std::move(onClick));
    Items.push_back(&item);
    return item;
}

void TPopupMenu::Popup(int x, int y) {
    MenuHandle menu(::CreatePopupMenu());
    for (UINT id = 1; id <= Items.size(); ++id) {
        const TMenuItem& item = *Items[id - 1];
        if (item.Caption == "-")
            ::AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
        else
            ::AppendMenuA(menu.get(), MF_STRING, id, item.Caption.c_str());
        if (item.Default) ::SetMenuDefaultItem(menu.get(), id, FALSE);
    }
    UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON | (Centred ? TPM_CENTERALIGN : TPM_LEFTALIGN);
    // With no window of the program active (only the tray icon shows), the menu
    // would not close on a click elsewhere unless its owner is the foreground
    // window, nor open again at once unless the owner gets a message after it.
    HWND owner = Application().Handle();
    ::SetForegroundWindow(owner);
    UINT chosen = ::TrackPopupMenu(menu.get(), flags, x, y, 0, owner, nullptr);
    ::PostMessageA(owner, WM_NULL, 0, 0);
    if (chosen >= 1 && chosen <= Items.size()) Items[chosen - 1]->Click();
}

}  // namespace zep
