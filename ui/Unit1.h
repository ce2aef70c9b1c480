#pragma once
// The groups configuration window: composes a group from the repository and
// saves it, deletes shortcuts from the repository, opens one on a double-click.
#include "controls/OvalBtn.h"
#include "core/GroupStore.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Forms.h"
#include "toolkit/StdCtrls.h"

namespace zep {

class TForm1 : public TForm {
public:
    explicit TForm1(TComponent* owner);

    // The folders the window works on, and the main window's group list that each
    // save rebuilds; both outlive the window's showings. Set before showing.
    void Attach(const GroupStore& store, GroupList& groups);

    TLabel* Label1;
    TListBox* ListBox1;
    TOvalButton* OvalButton1;
    TOvalButton* SelectAllShortButton;
    TOvalButton* OvalButton3;
    TOvalButton* OvalButton4;
    TLabel* Label2;
    TListBox* ListBox2;
    TOvalButton* TrashShortBtn;
    TLabel* Label3;
    TEdit* Edit1;
    TOvalButton* SGroupButton;
    TPanel* Panel1;
    TOvalButton* OvalButton7;

    void FormShow(TObject* sender);
    void ListBox1Click(TObject* sender);
    void ListBox1DblClick(TObject* sender);
    void OvalButton1Click(TObject* sender);
    void SelectAllShortButtonClick(TObject* sender);
    void OvalButton3Click(TObject* sender);
    void OvalButton4Click(TObject* sender);
    void Edit1Change(TObject* sender);
    void SGroupButtonClick(TObject* sender);
    void ListBox2DblClick(TObject* sender);
    void TrashShortBtnClick(TObject* sender);
    void OvalButton7Click(TObject* sender);

private:
    void BuildControls();
    void BuildKeys();
    void AddToSelection();
    void FillRepositoryList();
    const GroupStore& Store() const;

    const GroupStore* store_ = nullptr;
    GroupList* groups_ = nullptr;
};

extern TForm1* Form1;

}  // namespace zep
