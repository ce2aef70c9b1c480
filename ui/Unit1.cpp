#include "ui/Unit1.h"

#include "core/CompareText.h"
#include "resources/resource.h"
#include "ui/OvalButtons.h"

#include <stdexcept>

namespace zep {

TForm1* Form1 = nullptr;

namespace {

TForm::Options Form1Options() {
    TForm::Options o;
    o.caption = "Groups Configuration";
    o.clientWidth = 426;
    o.clientHeight = 296;
    o.position = TPosition::poScreenCenter;
    return o;
}

TLabel& MakeLabel(TForm& form, Bounds b, const char* caption) {
    auto& label = form.Make<TLabel>(&form, &form, b.left, b.top, b.width, b.height);
    label.SetAutoSize(false);
    label.SetCaption(caption);
    return label;
}

// An arrow between the two lists: caption alone.
TOvalButton& MakeArrow(TForm& form, int top, const char* caption) {
    return MakeOvalButton(form, form, {189, top, 50, 25}, caption);
}

// The picture left of the caption: a 32 x 16 strip, the normal image then the grey one.
void SetGlyphLeft(TOvalButton& button, int bitmap) {
    TBitmap glyph;
    glyph.LoadFromResourceID(::GetModuleHandleA(nullptr), bitmap);
    button.SetGlyph(glyph);
    button.SetNumGlyphs(2);
    button.SetTransparentColor(clOlive);
    button.SetLayout(blGlyphLeft);
}

}  // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner, Form1Options()) {
    BuildControls();
    BuildKeys();
    OnShow = [this](TObject* s) {
        // The window opens even when the repository can't be listed; the error is
        // reported over it, and the lists stay as they were.
        try {
            FormShow(s);
        } catch (...) {
            Application().HandleException();
        }
    };
}

void TForm1::BuildControls() {
    // Creation order is the keyboard's order: ListBox1, ListBox2, Edit1.
    Label1 = &MakeLabel(*this, {5, 2, 101, 13}, "Shortcuts Repository:");
    ListBox1 = &Make<TListBox>(this, this, 5, 18, 177, 185);
    ListBox1->OnClick = [this](TObject* s) { ListBox1Click(s); };
    ListBox1->OnDblClick = [this](TObject* s) { ListBox1DblClick(s); };

    OvalButton1 = &MakeArrow(*this, 52, ">");
    OvalButton1->OnClick = [this](TObject* s) { OvalButton1Click(s); };
    SelectAllShortButton = &MakeArrow(*this, 84, ">>");
    SelectAllShortButton->OnClick = [this](TObject* s) { SelectAllShortButtonClick(s); };
    OvalButton3 = &MakeArrow(*this, 116, "<");
    OvalButton3->OnClick = [this](TObject* s) { OvalButton3Click(s); };
    OvalButton4 = &MakeArrow(*this, 148, "<<");
    OvalButton4->OnClick = [this](TObject* s) { OvalButton4Click(s); };

    Label2 = &MakeLabel(*this, {243, 2, 47, 13}, "Selection:");
    ListBox2 = &Make<TListBox>(this, this, 243, 18, 177, 185);
    ListBox2->OnDblClick = [this](TObject* s) { ListBox2DblClick(s); };

    TrashShortBtn = &MakeOvalButton(*this, *this, {51, 214, 90, 31}, "Trash", "Trash selected shortcuts");
    SetGlyphLeft(*TrashShortBtn, IDB_TRASHGLYPH);
    TrashShortBtn->SetVisible(false);
    TrashShortBtn->OnClick = [this](TObject* s) { TrashShortBtnClick(s); };

    Label3 = &MakeLabel(*this, {244, 208, 90, 13}, "Save under Group:");
    Edit1 = &Make<TEdit>(this, this, 243, 224, 113, 21);
    Edit1->SetMaxLength(20);
    Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };

    SGroupButton = &MakeOvalButton(*this, *this, {364, 223, 57, 25}, "Save", "Save this group");
    // Room for a picture that is never loaded: the caption stands alone, centred.
    SGroupButton->SetLayout(blGlyphLeft);
    SGroupButton->SetSpacing(0);
    SGroupButton->SetNumGlyphs(2);
    SGroupButton->OnClick = [this](TObject* s) { SGroupButtonClick(s); };

    Panel1 = &Make<TPanel>(this, this, 0, 255, 426, 41);
    Panel1->SetBevelOuter(TBevelCut::bvNone);
    Panel1->SetBevelInner(TBevelCut::bvLowered);
    OvalButton7 = &MakeOvalButton(*this, *Panel1, {174, 4, 78, 33}, "Close");
    SetGlyphLeft(*OvalButton7, IDB_CLOSEGLYPH);
    OvalButton7->OnClick = [this](TObject* s) { OvalButton7Click(s); };
}

// The arrows and Trash act on the list they take from, so that the name field
// keeps its own Ctrl+arrows and Delete.
void TForm1::BuildKeys() {
    Keys.Add({vkRight, ssCtrl}, *OvalButton1, ListBox1);
    Keys.Add({vkRight, ssCtrl | ssShift}, *SelectAllShortButton, ListBox1);
    Keys.Add({vkLeft, ssCtrl}, *OvalButton3, ListBox2);
    Keys.Add({vkLeft, ssCtrl | ssShift}, *OvalButton4, ListBox2);
    Keys.Add({vkDelete, 0}, *TrashShortBtn, ListBox1);
    Keys.Add({'S', ssCtrl}, *SGroupButton);
    Keys.Add({vkF4, ssAlt}, *OvalButton7);
}

void TForm1::Attach(const GroupStore& store, GroupList& groups) {
    store_ = &store;
    groups_ = &groups;
}

const GroupStore& TForm1::Store() const {
    if (!store_) throw std::logic_error("The groups configuration window has no folders to work on");
    return *store_;
}

void TForm1::FillRepositoryList() { ListBox1->SetAllItems(Store().ListRepository()); }

void TForm1::FormShow(TObject*) {
    Store().CollectDesktopShortcuts();
    FillRepositoryList();
    ListBox2->Clear();
    TrashShortBtn->SetVisible(false);
}

void TForm1::ListBox1Click(TObject*) { TrashShortBtn->SetVisible(true); }

void TForm1::ListBox1DblClick(TObject*) { AddToSelection(); }

void TForm1::OvalButton1Click(TObject*) { AddToSelection(); }

void TForm1::AddToSelection() {
    const int selected = ListBox1->ItemIndex();
    if (selected < 0) return;
    const std::string name = ListBox1->Items(selected);
    for (int i = 0; i < ListBox2->Count(); ++i)
        if (SameTextNoCase(ListBox2->Items(i), name)) return;
    ListBox2->Add(name);
}

void TForm1::SelectAllShortButtonClick(TObject*) { ListBox2->SetAllItems(ListBox1->AllItems()); }

void TForm1::OvalButton3Click(TObject*) {
    const int selected = ListBox2->ItemIndex();
    if (selected < 0) return;
    ListBox2->Delete(selected);
    // The entry that moved up takes the selection; after the last one there is none.
    ListBox2->SetItemIndex(selected < ListBox2->Count() ? selected : -1);
}

void TForm1::OvalButton4Click(TObject*) { ListBox2->Clear(); }

void TForm1::Edit1Change(TObject*) { SGroupButton->SetEnabled(!Edit1->Text().empty()); }

void TForm1::SGroupButtonClick(TObject*) {
    if (ListBox2->Count() == 0) {
        Application().MessageBox("Please, specify at least one shortcut into this Group!", "No shortcuts!",
                                 MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const std::string name = Edit1->Text();
    if (name.empty()) {
        Application().MessageBox("Please, specify a name for this Shortcuts Group!", "No name!",
                                 MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // A refused name or file ends the save here: nothing written, the main list untouched.
    Store().SaveGroup(name, ListBox2->AllItems());
    Store().RefreshGroupList(*groups_);
}

void TForm1::ListBox2DblClick(TObject*) {
    const int selected = ListBox2->ItemIndex();
    if (selected >= 0) Store().OpenShortcut(ListBox2->Items(selected), Application().Handle());
}

void TForm1::TrashShortBtnClick(TObject*) {
    // Hidden in every case, whatever the deletion meets.
    TrashShortBtn->SetVisible(false);
    const int selected = ListBox1->ItemIndex();
    if (selected < 0) return;
    Store().DeleteShortcut(ListBox1->Items(selected));
    FillRepositoryList();
}

void TForm1::OvalButton7Click(TObject*) { Close(); }

}  // namespace zep
