#pragma once
// The main window: the group list with its ticks, Apply, Preview, Trash and the tool bar.
#include "controls/CoolTrayIcon.h"
#include "controls/OvalBtn.h"
#include "core/GroupStore.h"
#include "core/Settings.h"
#include "toolkit/CheckLst.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/Forms.h"
#include "toolkit/ImgList.h"
#include "toolkit/StdCtrls.h"

#include <optional>

namespace zep {

// The check-list box seen as the group list that Apply and the tick file read.
class CheckListGroups final : public GroupList {
public:
    explicit CheckListGroups(TCheckListBox& list) : list_(list) {}
    int Count() const override { return list_.Count(); }
    std::string Name(int index) const override { return list_.Items(index); }
    bool Checked(int index) const override { return list_.Checked(index); }
    void SetChecked(int index, bool checked) override { list_.SetChecked(index, checked); }
    void Clear() override { list_.Clear(); }
    void Add(const std::string& name) override { list_.Add(name); }

private:
    TCheckListBox& list_;
};

// Where the main window takes its program folder, the Desktop and its registry
// settings from. The defaults are the running program's own; the tests pass
// temporary folders and keys so that nothing of the user's is touched.
struct MainFormEnvironment {
    std::string exePath = ExecutablePath();         // the folders are resolved from here
    std::string shellFoldersKey = ShellFoldersKey;  // holds the "Desktop" value
    SettingsKeys settingsKeys;
};

class TMainForm : public TForm {
public:
    explicit TMainForm(TComponent* owner, MainFormEnvironment environment = {});

    TOvalButton* ApplyButton;
    TLabel* StatusLabel;  // under Apply, shown while the last Apply left shortcuts out of place
    TGroupBox* GroupBox1;
    TOvalButton* TrashButton;
    TOvalButton* ViewButton;
    TCheckListBox* GroupListBox;
    TToolBar* ToolBar1;
    TToolButton* ToolButton1;
    TToolButton* ToolButton6;
    TToolButton* OptionsAutorun;
    TToolButton* ToolButton7;
    TToolButton* GrpConfig;
    TToolButton* AllShortButton;
    TToolButton* ToolButton8;
    TToolButton* ToolButton4;
    TToolButton* ToolButton9;
    TImageList* ImagesBank;
    TPopupMenu* GroupPopMenu;
    TMenuItem* Selectallgroups1;
    TMenuItem* Invertselection1;
    TPopupMenu* TrayPopMenu;
    TMenuItem* ShowWindow1;
    TMenuItem* HideWindow1;
    TMenuItem* N1;
    TMenuItem* Exit1;
    TCoolTrayIcon* TrayIcon1;

    void FormCreate(TObject* sender);
    void ApplyButtonClick(TObject* sender);
    void ViewButtonClick(TObject* sender);
    void GrpConfigClick(TObject* sender);
    void AllShortButtonClick(TObject* sender);
    void TrashButtonClick(TObject* sender);
    void Selectallgroups1Click(TObject* sender);
    void Invertselection1Click(TObject* sender);
    void OptionsAutorunClick(TObject* sender);
    void ToolButton4Click(TObject* sender);
    void ToolButton9Click(TObject* sender);
    void ToolButton1Click(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void FormClose(TObject* sender, TCloseAction& action);
    void TrayIcon1Startup(TObject* sender, bool& showMainForm);
    void ShowWindow1Click(TObject* sender);
    void HideWindow1Click(TObject* sender);
    void Exit1Click(TObject* sender);

    // The group list, for the windows that rebuild or read it.
    GroupList& Groups() { return *groups_; }
    const GroupStore& Store() const;

private:
    void BuildControls();
    void BuildToolBar();
    void BuildTrayIcon();
    void WelcomeFirstStart();
    void TellPendingMessages();
    void TellApplyOutcome(const ApplyOutcome& outcome);
    void ShowStatus(const std::string& text);
    WindowSettings CurrentSettings() const;

    const MainFormEnvironment environment_;
    std::optional<CheckListGroups> groups_;
    std::optional<GroupStore> store_;
};

extern TMainForm* MainForm;

}  // namespace zep
