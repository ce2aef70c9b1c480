#pragma once
// The main window: the group list with its ticks, Apply, Preview, Trash and the tool bar.
#include "controls/CoolTrayIcon.h"
#include "controls/OvalBtn.h"
#include "core/DesktopWatch.h"
#include "core/GroupStore.h"
#include "core/Settings.h"
#include "toolkit/CheckLst.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/Forms.h"
#include "toolkit/ImgList.h"
#include "toolkit/StdCtrls.h"
#include "ui/CommandLine.h"

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
    std::optional<Names> startupTicks;  // the groups ticked in place of the saved ones (a command line's /apply)
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
    TMenuItem* Groups1;
    TMenuItem* KeeptheDesktoptidy1;
    TMenuItem* N2;
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
    void KeeptheDesktoptidy1Click(TObject* sender);
    // A group chosen from the tray menu: its tick switched and applied, as in the window.
    void GroupMenuClick(const std::string& group);

    // A command that another start handed over: checked now, carried out once no
    // modal window or box is open. The answer for that start.
    long TakeCommand(const Command& command);
    // Ticks exactly the named groups, then applies and saves the ticks as the
    // Apply button does. Throws when a name is no group's.
    void SwitchGroups(const Names& groups);

    // The group list, for the windows that rebuild or read it.
    GroupList& Groups() { return *groups_; }
    const GroupStore& Store() const;

private:
    void BuildControls();
    void BuildToolBar();
    void BuildTrayIcon();
    void BuildKeys();
    void WelcomeFirstStart();
    void LoadTicks();
    void FillGroupsMenu();
    void CarryOut(const Command& command);
    void TellPendingMessages();
    void TellApplyOutcome(const ApplyOutcome& outcome, bool ticksSaved);
    void ShowStatus(const std::string& text);
    WindowSettings CurrentSettings() const;
    void KeepDesktopTidy(bool on);
    void TidyDesktop();
    Names TickedShortcuts() const;

    // The watch of the Desktop while "Keep the Desktop tidy" is on, and the loops' waits for it.
    struct DesktopKeeper {
        DesktopKeeper(const GroupStore& store, const std::function<void()>& onSignalled)
            : watch(store), changed(watch.Changed(), onSignalled), due(watch.Due(), onSignalled) {}
        DesktopWatch watch;
        TApplication::THandleWait changed, due;
    };

    const MainFormEnvironment environment_;
    std::optional<CheckListGroups> groups_;
    std::optional<GroupStore> store_;
    std::optional<DesktopKeeper> keeper_;  // engaged while the option is on
};

extern TMainForm* MainForm;

}  // namespace zep
