#pragma once
// The group preview window: the shortcut names of the ticked groups in one
// sorted list; a double-click opens the shortcut on the Desktop.
#include "core/GroupStore.h"
#include "toolkit/Forms.h"
#include "toolkit/StdCtrls.h"

namespace zep {

class TContentForm : public TForm {
public:
    explicit TContentForm(TComponent* owner);

    // Fills the list with the names of the ticked groups and shows the window
    // modally. A group file that can't be read ends the gathering; its error is
    // thrown once the window has closed, which showed the names gathered before.
    void Preview(const GroupStore& store, const GroupList& groups);

    TListBox* ContentListBox;

    void ContentListBoxDblClick(TObject* sender);
    void FormKeyUp(TObject* sender, WORD& key, TShiftState shift);

private:
    const GroupStore* store_ = nullptr;
};

extern TContentForm* ContentForm;

}  // namespace zep
