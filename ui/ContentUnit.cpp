#include "ui/ContentUnit.h"

#include "core/CompareText.h"
#include "core/SortedNames.h"

#include <exception>

namespace zep {

TContentForm* ContentForm = nullptr;

namespace {

TForm::Options ContentFormOptions() {
    TForm::Options o;
    o.caption = "Shortcuts to view";
    o.clientWidth = 177;
    o.clientHeight = 180;
    o.position = TPosition::poScreenCenter;
    return o;
}

}  // namespace

TContentForm::TContentForm(TComponent* owner) : TForm(owner, ContentFormOptions()) {
    KeyPreview = true;
    ContentListBox = &Make<TListBox>(this, this, 0, 0, 177, 180, false);
    ContentListBox->SetHint("Press Escape to close");
    ContentListBox->SetShowHint(true);
    ContentListBox->OnDblClick = [this](TObject* s) { ContentListBoxDblClick(s); };
    OnKeyUp = [this](TObject* s, WORD& key, TShiftState shift) { FormKeyUp(s, key, shift); };
}

void TContentForm::Preview(const GroupStore& store, const GroupList& groups) {
    store_ = &store;
    ContentListBox->Clear();
    std::exception_ptr failure;
    {
        TBusyCursor busy;
        Names gathered;
        try {
            for (int i = 0; i < groups.Count(); ++i)
                if (groups.Checked(i))
                    for (auto& name : store.ReadGroup(groups.Name(i))) gathered.push_back(std::move(name));
        } catch (...) {
            failure = std::current_exception();
        }
        ContentListBox->SetAllItems(SortedUniqueNames(std::move(gathered), CompareTextNoCase));
    }
    ShowModal();
    if (failure) std::rethrow_exception(failure);
}

void TContentForm::ContentListBoxDblClick(TObject*) {
    const int selected = ContentListBox->ItemIndex();
    if (selected >= 0 && store_) store_->OpenShortcut(ContentListBox->Items(selected), Application().Handle());
}

void TContentForm::FormKeyUp(TObject*, WORD& key, TShiftState) {
    if (key == VK_ESCAPE) Close();
}

}  // namespace zep
