#include "ui/MainUnit.h"

#include "core/Errors.h"
#include "core/Settings.h"
#include "resources/resource.h"
#include "toolkit/Shell.h"
#include "ui/ContentUnit.h"
#include "ui/InfoUnit.h"
#include "ui/OvalButtons.h"
#include "ui/StartupTrace.h"
#include "ui/Unit1.h"
#include "win/AtScopeEnd.h"

#include <stdexcept>
#include <utility>

namespace zep {

TMainForm* MainForm = nullptr;

namespace {

TForm::Options MainFormOptions() {
    TForm::Options o;
    o.caption = "Zepton";
    o.clientWidth = 234;
    o.clientHeight = 269;
    o.borderStyle = TBorderStyle::bsSingle;
    o.borderIcons = biSystemMenu | biMinimize;
    return o;
}

// The text of the question asked before deleting groups.
std::string TrashQuestion(const GroupList& groups) {
    std::string text = "Are you sure you want to delete the following Groups ?\n\r\n\r";
    for (int i = 0; i < groups.Count(); ++i)
        if (groups.Checked(i)) text += groups.Name(i) + "\r\n";
    return text;
}

const char* const FirstStartBalloonText =
    "Zepton keeps running in the notification area: right-click its icon and choose Show window. "
    "Can't see the icon? Click the arrow (Show hidden icons) beside the clock.";

// A group's caption in the tray menu: its "&"s shown as such, and its first
// character the letter that chooses it.
std::string GroupCaption(const std::string& group) {
    std::string caption;
    for (const char c : group) caption += c == '&' ? "&&" : std::string(1, c);
    if (const std::size_t first = caption.find_first_not_of('&'); first != std::string::npos)
        caption.insert(first, "&");
    return caption;
}

const char* const TroubleTitle = "The Desktop is not as your groups say";
const char* const TicksNotSavedText = "Could not save the ticks: the next start will apply the old ones.";
const char* const TicksNotSavedAtEndText =
    "Could not save the ticks when Zepton ended: this start applied the old ones.";

// How many shortcuts Apply left out of place, and the first reason.
std::string MisplacedText(int count, const std::string& reason) {
    return std::to_string(count) + (count == 1 ? " shortcut is not where the ticked groups put it: "
                                               : " shortcuts are not where the ticked groups put them: ") +
           reason + ".";
}

const char* const TidiedTitle = "Keep the Desktop tidy";

// Which shortcut went, or how many did.
std::string TidiedText(const Names& taken) {
    const bool one = taken.size() == 1;
    const std::string them = one ? "it" : "them";
    return (one ? "\"" + taken.front() + "\" is" : std::to_string(taken.size()) + " new shortcuts are") +
           " in the repository now: no ticked group names " + them + ". Groups Configuration can put " + them +
           " in a group.";
}

bool OnAMonitor(const RECT& r) { return ::MonitorFromRect(&r, MONITOR_DEFAULTTONULL) != nullptr; }

// A window the user has not opened yet is made when first opened, and kept
// from then on with its state, like a window made at start.
template <class Form>
Form& MadeOnFirstUse(Form*& form) {
    if (!form) form = &Application().CreateForm<Form>();
    return *form;
}

}  // namespace

TMainForm::TMainForm(TComponent* owner, MainFormEnvironment environment)
    : TForm(owner, MainFormOptions()), environment_(std::move(environment)) {
    TraceStep("main window: form object");
    BuildControls();
    groups_.emplace(*GroupListBox);
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnCloseQuery = [this](TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
    OnClose = [this](TObject* s, TCloseAction& action) { FormClose(s, action); };
}

void TMainForm::BuildControls() {
    ApplyButton = &MakeOvalButton(*this, *this, {79, 235, 76, 30}, "Apply", "Apply the selection");
    ApplyButton->OnClick = [this](TObject* s) { ApplyButtonClick(s); };
    // Below the window as designed: the window grows by its height while it shows.
    StatusLabel = &Make<TLabel>(this, this, 6, 269, 222, 30);
    StatusLabel->SetAutoSize(false);
    StatusLabel->SetVisible(false);

    GroupBox1 = &Make<TGroupBox>(this, this, 0, 40, 233, 188, " Shortcuts' Groups : ");

    TrashButton = &MakeOvalButton(*this, *GroupBox1, {160, 158, 65, 25}, "Trash", "Delete selected groups");
    TrashButton->OnClick = [this](TObject* s) { TrashButtonClick(s); };
    ViewButton = &MakeOvalButton(*this, *GroupBox1, {9, 158, 65, 25}, "Preview", "View selected group");
    ViewButton->OnClick = [this](TObject* s) { ViewButtonClick(s); };

    GroupPopMenu = &Make<TPopupMenu>(this);
    GroupPopMenu->Centred = true;
    Selectallgroups1 = &GroupPopMenu->Add("Select all groups", [this](TObject* s) { Selectallgroups1Click(s); });
    Invertselection1 = &GroupPopMenu->Add("Reverse selection", [this](TObject* s) { Invertselection1Click(s); });

    GroupListBox = &Make<TCheckListBox>(this, this, 6, 56, 220, 137);
    GroupListBox->SetPopupMenu(GroupPopMenu);
    // Drawn over the group box, and the first control the keyboard reaches.
    GroupListBox->BringToFront();
    TraceStep("main window: buttons, group box, list");

    BuildToolBar();
    TraceStep("main window: tool bar");
    BuildTrayIcon();
    TraceStep("main window: tray icon");
    BuildKeys();
}

void TMainForm::BuildToolBar() {
    ImagesBank = &Make<TImageList>(this);
    ImagesBank->LoadFromResourceName(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_TOOLBUTTONS),
                                     ZEPTON_TOOLBUTTONS_MASK);

    ToolBar1 = &Make<TToolBar>(this, this, 0, 0, 234, 29);
    ToolBar1->SetImages(ImagesBank);
    ToolBar1->SetIndent(5);

    using S = TToolButtonStyle;
    auto button = [this](S style, int image, const char* hint, void (TMainForm::*handler)(TObject*)) {
        TToolButton& b = Make<TToolButton>(this, ToolBar1, style, image, hint);
        if (handler) b.OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
        return &b;
    };
    ToolButton1 = button(S::tbsButton, 1, "Exit", &TMainForm::ToolButton1Click);
    ToolButton6 = button(S::tbsDivider, -1, "", nullptr);
    OptionsAutorun = button(S::tbsCheck, 4, "Auto-Run", &TMainForm::OptionsAutorunClick);
    OptionsAutorun->SetDown(true);
    ToolButton7 = button(S::tbsSeparator, -1, "", nullptr);
    GrpConfig = button(S::tbsButton, 2, "Groups Configuration", &TMainForm::GrpConfigClick);
    AllShortButton = button(S::tbsButton, 6, "All Shortcuts", &TMainForm::AllShortButtonClick);
    ToolButton8 = button(S::tbsSeparator, -1, "", nullptr);
    ToolButton4 = button(S::tbsButton, 3, "Help...", &TMainForm::ToolButton4Click);
    ToolButton9 = button(S::tbsButton, 5, "About...", &TMainForm::ToolButton9Click);
}

// The program lives in the notification area: it starts with only its icon,
// and the icon's menu shows, hides and ends it.
void TMainForm::BuildTrayIcon() {
    TrayPopMenu = &Make<TPopupMenu>(this);
    TrayPopMenu->OnPopup = [this](TObject*) {
        FillGroupsMenu();
        KeeptheDesktoptidy1->Checked = keeper_.has_value();
    };
    Groups1 = &TrayPopMenu->Add("&Groups");
    KeeptheDesktoptidy1 =
        &TrayPopMenu->Add("&Keep the Desktop tidy", [this](TObject* s) { KeeptheDesktoptidy1Click(s); });
    N2 = &TrayPopMenu->Add("-");
    ShowWindow1 = &TrayPopMenu->Add("&Show window", [this](TObject* s) { ShowWindow1Click(s); });
    ShowWindow1->Default = true;
    HideWindow1 = &TrayPopMenu->Add("&Hide window", [this](TObject* s) { HideWindow1Click(s); });
    N1 = &TrayPopMenu->Add("-");
    Exit1 = &TrayPopMenu->Add("E&xit", [this](TObject* s) { Exit1Click(s); });

    TrayIcon1 = &Make<TCoolTrayIcon>(this);
    TrayIcon1->SetCycleInterval(0);
    TrayIcon1->SetHint("Zepton");
    TIcon icon;
    icon.Take(IconHandle(static_cast<HICON>(
        ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_ZEPTON), IMAGE_ICON, 16, 16, 0))));
    TrayIcon1->SetIcon(icon);
    // The version at which the shell also reports the icon chosen from the keyboard.
    TrayIcon1->SetNotifyMode(nmVersion3);
    TrayIcon1->SetIconVisible(true);
    TrayIcon1->SetIconIndex(0);
    TrayIcon1->PopupMenu = TrayPopMenu;
    TrayIcon1->MinimizeToTray = true;
    TrayIcon1->OnStartup = [this](TObject* s, bool& show) { TrayIcon1Startup(s, show); };
}

// Every button from the keyboard, by the same key for the same act in every
// window (Alt+F4 closes, Delete deletes in the list that has the focus).
void TMainForm::BuildKeys() {
    Keys.Add({vkReturn, ssCtrl}, *ApplyButton);
    Keys.Add({'P', ssCtrl}, *ViewButton);
    Keys.Add({vkDelete, 0}, *TrashButton, GroupListBox);
    Keys.Add({vkF4, ssAlt}, *ToolButton1);
    Keys.Add({'R', ssCtrl}, *OptionsAutorun);
    Keys.Add({'G', ssCtrl}, *GrpConfig);
    Keys.Add({'A', ssCtrl | ssShift}, *AllShortButton);
    Keys.Add({vkF1, 0}, *ToolButton4);
    Keys.Add({vkF1, ssCtrl}, *ToolButton9);
}

const GroupStore& TMainForm::Store() const {
    if (!store_) throw std::logic_error("The program's folders are not known");
    return *store_;
}

void TMainForm::FormCreate(TObject*) {
    TraceStep("main window: components loaded");
    store_.emplace(ResolveFolders(environment_.exePath, environment_.shellFoldersKey));
    // At the session's end no box may hold the sign-out up: what goes wrong then is told at the next start.
    Application().OnQuietReport = [keys = environment_.settingsKeys](const std::string& text) {
        RememberForNextStart(text, keys);
    };
    TraceStep("FormCreate: folders");
    store_->RefreshGroupList(Groups());
    TraceStep("FormCreate: group list");
    LoadTicks();
    TraceStep("FormCreate: ticks loaded");
    const WindowSettings settings = RestoreSettings(environment_.settingsKeys);
    SetPosition(settings.left, settings.top);
    // A monitor unplugged since the last close must not take the window out of sight.
    if (!OnAMonitor(WindowRect())) SetPosition(WindowSettings{}.left, WindowSettings{}.top);
    OptionsAutorun->SetDown(settings.autoRun);
    KeepDesktopTidy(settings.keepTidy);
    TraceStep("FormCreate: position and Auto-Run");
    if (!settings.stored) WelcomeFirstStart();
    TellPendingMessages();
    try {
        Application().ProcessMessages();
    } catch (...) {
        // Whatever a waiting message raised must not keep the start-up Apply from running.
    }
    TraceStep("FormCreate: pending messages");
    ApplyButtonClick(this);
    TraceStep("FormCreate: Apply");
}

// A start asked to apply groups applies them in place of the saved ticks.
void TMainForm::LoadTicks() {
    if (environment_.startupTicks)
        TickExactly(Groups(), *environment_.startupTicks);
    else
        store_->LoadStatus(Groups());
}

// A new user sees no window and, on a current Windows, maybe no icon either:
// the icon says once where the program lives. The settings stored as soon as
// the shell has taken the balloon make every later start a known one, even if
// the program never gets to close; a balloon it never took is said again.
void TMainForm::WelcomeFirstStart() {
    TrayIcon1->ShowBalloonHint("Zepton", FirstStartBalloonText, [this](TObject*) {
        try {
            StoreSettings(CurrentSettings(), environment_.settingsKeys);
        } catch (const RegistryError&) {
            // Said again at the next start; closing reports what keeps the settings from being stored.
        }
    });
}

// What went wrong where no box could be shown (at the session's end) is told
// at the next start, through the balloon as Apply's trouble is; kept until the
// shell has shown it.
void TMainForm::TellPendingMessages() {
    const std::vector<std::string> messages = MessagesForThisStart(environment_.settingsKeys);
    std::string text;
    for (const auto& message : messages) text += (text.empty() ? "" : "\n") + message;
    if (text.empty()) return;
    TrayIcon1->ShowBalloonHint("Zepton", text, [this, messages](TObject*) {
        ForgetMessages(messages, environment_.settingsKeys);
    });
}

WindowSettings TMainForm::CurrentSettings() const {
    const RECT r = WindowRect();
    return {r.left, r.top, OptionsAutorun->Down(), keeper_.has_value()};
}

void TMainForm::ApplyButtonClick(TObject*) {
    ApplyOutcome outcome;
    bool ticksSaved = true;
    {
        // Finally, also when listing the Desktop fails: the cursor comes back (the guard
        // made first ends last), then the ticks are saved.
        const AtScopeEnd saveTicks([&] { ticksSaved = !store_ || store_->SaveStatus(Groups()); });
        const TBusyCursor busy;
        outcome = Store().Apply(Groups());
    }
    // What Apply itself changed on the Desktop is nothing for the watch to take.
    if (keeper_) keeper_->watch.Restart();
    TellApplyOutcome(outcome, ticksSaved);
}

// Apply runs at start-up and logon, where no box may come up: the status line
// says what it could not do until an Apply goes clean, and the balloon says it
// once for each cause, not at every start. Ticks that could not be saved are
// told so too, after shortcuts out of place (the same full disk, as a rule).
void TMainForm::TellApplyOutcome(const ApplyOutcome& outcome, bool ticksSaved) {
    if (outcome.misplaced == 0 && ticksSaved) {
        ShowStatus("");
        ForgetToldCauses(environment_.settingsKeys);
        return;
    }
    const std::string reason = outcome.misplaced ? ReasonInWords(outcome.firstError) : TicksNotSavedText;
    ShowStatus(outcome.misplaced ? MisplacedText(outcome.misplaced, reason) : reason);
    if (WasTold(reason, environment_.settingsKeys)) return;
    TrayIcon1->ShowBalloonHint(TroubleTitle, StatusLabel->Caption(), [this, reason](TObject*) {
        RememberTold(reason, environment_.settingsKeys);
    });
}

void TMainForm::ShowStatus(const std::string& text) {
    StatusLabel->SetCaption(text);
    if (text.empty() != StatusLabel->Visible()) return;
    StatusLabel->SetVisible(!text.empty());
    const int grow = text.empty() ? -StatusLabel->Height() : StatusLabel->Height();
    SetClientSize(ClientWidth(), ClientHeight() + grow);
}

void TMainForm::ViewButtonClick(TObject*) { MadeOnFirstUse(ContentForm).Preview(Store(), Groups()); }

void TMainForm::GrpConfigClick(TObject*) {
    TForm1& configuration = MadeOnFirstUse(Form1);
    configuration.Attach(Store(), Groups());
    configuration.ShowModal();
}

void TMainForm::AllShortButtonClick(TObject*) { Store().AllShortcuts(Groups()); }

void TMainForm::TrashButtonClick(TObject*) {
    if (Groups().Count() == 0) return;
    if (Application().MessageBox(TrashQuestion(Groups()), "Delete Groups?", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // Finally, also after an error: the cursor comes back, then the list is rebuilt.
    const AtScopeEnd refresh([this] { Store().RefreshGroupList(Groups()); });
    const TBusyCursor busy;
    for (int i = 0; i < Groups().Count(); ++i)
        if (Groups().Checked(i)) Store().DeleteGroup(Groups().Name(i));
}

void TMainForm::Selectallgroups1Click(TObject*) {
    for (int i = 0; i < Groups().Count(); ++i) Groups().SetChecked(i, true);
}

void TMainForm::Invertselection1Click(TObject*) {
    for (int i = 0; i < Groups().Count(); ++i) Groups().SetChecked(i, !Groups().Checked(i));
}

void TMainForm::OptionsAutorunClick(TObject*) {
    // The button shows what is true: down only once the entry is written.
    const bool wanted = OptionsAutorun->Down();
    OptionsAutorun->SetDown(false);
    if (wanted) {
        EnableAutoRun(environment_.exePath, environment_.settingsKeys);
        OptionsAutorun->SetDown(true);
    } else {
        DisableAutoRun(environment_.settingsKeys);
    }
}

void TMainForm::ToolButton4Click(TObject*) {
    const std::string help = Store().folders().ProgramFolder + "help.chm";
    ShellOpen(Application().Handle(), help);
}

void TMainForm::ToolButton9Click(TObject*) {
    TInfoForm& about = MadeOnFirstUse(InfoForm);
    about.PageControl1->SetActivePage(about.TabSheet1);
    about.ShowModal();
}

void TMainForm::ToolButton1Click(TObject*) { Close(); }

void TMainForm::FormCloseQuery(TObject*, bool& canClose) { canClose = true; }

void TMainForm::FormClose(TObject*, TCloseAction&) {
    try {
        StoreSettings(CurrentSettings(), environment_.settingsKeys);
    } catch (...) {
        // Closing is never refused: the ticks are still saved and the program ends.
        Application().HandleException();
    }
    // No window is left to say it in.
    if (store_ && !store_->SaveStatus(Groups())) RememberForNextStart(TicksNotSavedAtEndText, environment_.settingsKeys);
}

void TMainForm::TrayIcon1Startup(TObject*, bool& showMainForm) { showMainForm = false; }

void TMainForm::ShowWindow1Click(TObject*) { TrayIcon1->ShowMainWindow(); }

void TMainForm::HideWindow1Click(TObject*) {
    Application().Minimize();
    TrayIcon1->HideMainWindow();
}

void TMainForm::Exit1Click(TObject*) { Close(); }

// Stored at once: an option of the tray menu has no window whose closing would store it.
void TMainForm::KeeptheDesktoptidy1Click(TObject*) {
    KeepDesktopTidy(!keeper_);
    StoreSettings(CurrentSettings(), environment_.settingsKeys);
}

// Shortcuts already on the Desktop stay until the next Apply: only new ones are taken.
void TMainForm::KeepDesktopTidy(bool on) {
    if (!on)
        keeper_.reset();
    else if (!keeper_)
        keeper_.emplace(Store(), [this] { TidyDesktop(); });
}

void TMainForm::TidyDesktop() {
    const Names taken = keeper_->watch.Tidy([this] { return TickedShortcuts(); });
    if (!taken.empty()) TrayIcon1->ShowBalloonHint(TidiedTitle, TidiedText(taken));
}

// What the ticked groups name: Apply would bring these back. An unreadable group names nothing, as in Apply.
Names TMainForm::TickedShortcuts() const {
    Names names;
    for (int i = 0; i < groups_->Count(); ++i) {
        if (!groups_->Checked(i)) continue;
        try {
            const Names group = Store().ReadGroup(groups_->Name(i));
            names.insert(names.end(), group.begin(), group.end());
        } catch (const std::exception&) {
        }
    }
    return names;
}

// ---- Switching groups from the tray menu and from other starts

// Every group with its tick, filled anew at each opening. While a modal window
// or box is open (a question about the ticked groups), no tick may change.
void TMainForm::FillGroupsMenu() {
    Groups1->Clear();
    if (Groups().Count() == 0) Groups1->Add("&No groups").Enabled = false;
    for (int i = 0; i < Groups().Count(); ++i) {
        const std::string group = Groups().Name(i);
        TMenuItem& item = Groups1->Add(GroupCaption(group), [this, group](TObject*) { GroupMenuClick(group); });
        item.Checked = Groups().Checked(i);
        item.Enabled = !Application().Modal();
    }
}

void TMainForm::GroupMenuClick(const std::string& group) {
    const int i = FindGroup(Groups(), group);
    if (i < 0) return;
    Groups().SetChecked(i, !Groups().Checked(i));
    ApplyButtonClick(this);
}

long TMainForm::TakeCommand(const Command& command) {
    if (const auto unknown = FirstUnknownGroup(Groups(), command.groups)) return UnknownGroupAnswer(*unknown);
    Application().WhenNotModal([this, command] { CarryOut(command); });
    return CommandTaken;
}

void TMainForm::CarryOut(const Command& command) {
    switch (command.kind) {
    case CommandKind::Apply: SwitchGroups(command.groups); break;
    case CommandKind::Show: ShowWindow1Click(this); break;
    case CommandKind::Hide: HideWindow1Click(this); break;
    case CommandKind::Exit: Exit1Click(this); break;
    case CommandKind::Start:
    case CommandKind::Usage: break;
    }
}

// A group deleted since the command was taken makes it change nothing.
void TMainForm::SwitchGroups(const Names& groups) {
    if (const auto unknown = FirstUnknownGroup(Groups(), groups))
        throw std::runtime_error(UnknownGroupText(groups[*unknown]));
    TickExactly(Groups(), groups);
    ApplyButtonClick(this);
}

}  // namespace zep
