// The groups configuration window and the preview window in-process, on
// temporary folders: layout, every handler by mouse and keyboard, the saved
// bytes, the warnings and error reports, and opening a real shortcut.
#include "core/Errors.h"
#include "tests/windows/AccessibleTree.h"
#include "tests/windows/CoreSandbox.h"
#include "tests/windows/FormProbe.h"
#include "ui/ContentUnit.h"
#include "ui/Unit1.h"
#include "win/WideText.h"

#include <shlobj.h>

#include <cstring>

namespace zep::test {
namespace {

using namespace std::string_literals;

// A real shortcut whose target, when the shell opens it, writes `marker`.
void MakeMarkingShortcut(const std::string& path, const std::string& marker) {
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    IShellLinkA* link = nullptr;
    ASSERT_TRUE(SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                             reinterpret_cast<void**>(&link))));
    char system[MAX_PATH];
    ::GetSystemDirectoryA(system, MAX_PATH);
    link->SetPath((std::string(system) + "\\cmd.exe").c_str());
    link->SetArguments(("/c echo opened> \"" + marker + "\"").c_str());
    IPersistFile* file = nullptr;
    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    const HRESULT saved = file->Save(Widen(path).c_str(), TRUE);
    file->Release();
    link->Release();
    ::CoUninitialize();
    ASSERT_TRUE(SUCCEEDED(saved)) << path;
}

std::string Ticks(const GroupList& list) {
    std::string s;
    for (int i = 0; i < list.Count(); ++i) s += (i ? " " : "") + list.Name(i) + (list.Checked(i) ? "=1" : "=0");
    return s;
}

class WindowsSandbox : public Sandbox {
protected:
    static void SetUpTestSuite() { InitApplication(); }
    void Shortcut(const std::string& folder, const std::string& name, const std::string& content = "lnk") {
        WriteBytes(folder + name + ".lnk", content);
    }
    const GroupStore groupStore{folders};
};

// ---- Groups Configuration

class ConfigWindow : public WindowsSandbox {
protected:
    ConfigWindow() {
        form.Attach(groupStore, groups);
        groups.Add("Old");
        groups.SetChecked(0, true);
    }
    ~ConfigWindow() override { form.Hide(); }

    // Shown after the folders are set up, as the tool button shows it.
    void ShowWith(std::initializer_list<const char*> repository) {
        for (const char* s : repository) Shortcut(repo, s);
        form.Show();
        Flush();
    }
    SeenBox Save() {
        BoxWatcher watcher;
        MouseClickOval(*form.SGroupButton);
        return watcher.Result();
    }
    std::string Repository() const { return Joined(*form.ListBox1); }
    std::string Selection() const { return Joined(*form.ListBox2); }
    HWND List1() const { return form.ListBox1->Handle(); }
    HWND List2() const { return form.ListBox2->Handle(); }

    PlainGroupList groups;
    std::unique_ptr<TForm1> made = MakeForm<TForm1>(nullptr);
    TForm1& form = *made;
};

TEST_F(ConfigWindow, LayoutAsTheWindowDescriptionGivesIt) {
    HWND window = form.Handle();
    char caption[64] = {};
    ::GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ("Groups Configuration", caption);
    EXPECT_EQ(426, form.ClientWidth());
    EXPECT_EQ(296, form.ClientHeight());
    const LONG style = ::GetWindowLongA(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ("MS Sans Serif", form.Font().Name());
    EXPECT_EQ(-11, form.Font().Height());

    struct Label {
        const TLabel* label;
        const char *bounds, *caption;
    };
    for (const Label& l : {Label{form.Label1, "5,2,101,13", "Shortcuts Repository:"},
                           Label{form.Label2, "243,2,47,13", "Selection:"},
                           Label{form.Label3, "244,208,90,13", "Save under Group:"}}) {
        EXPECT_EQ(l.bounds, Box(l.label->BoundsRect())) << l.caption;
        EXPECT_EQ(l.caption, l.label->Caption());
    }
    EXPECT_EQ("5,18,177,185", Box(RectIn(List1(), window)));
    EXPECT_EQ("243,18,177,185", Box(RectIn(List2(), window)));
    EXPECT_EQ("243,224,113,21", Box(RectIn(form.Edit1->Handle(), window)));
    EXPECT_EQ("0,255,426,41", Box(RectIn(form.Panel1->Handle(), window)));
    EXPECT_EQ(TBevelCut::bvLowered, form.Panel1->BevelInner());
    EXPECT_EQ(TBevelCut::bvNone, form.Panel1->BevelOuter());
    EXPECT_EQ(TCustomListBox::kItemHeight, ::SendMessageA(List1(), LB_GETITEMHEIGHT, 0, 0));
    // The keyboard goes round the two lists and the name field, in that order.
    EXPECT_EQ(form.ListBox2->Handle(), ::GetNextDlgTabItem(window, List1(), FALSE));
    EXPECT_EQ(form.Edit1->Handle(), ::GetNextDlgTabItem(window, List2(), FALSE));
    EXPECT_EQ(List1(), ::GetNextDlgTabItem(window, form.Edit1->Handle(), FALSE));

    struct Oval {
        const TOvalButton* button;
        const TWinControl* parent;
        const char *bounds, *caption, *hint;
        TButtonLayout layout;
        int spacing, glyphs;
    };
    for (const Oval& o : {Oval{form.OvalButton1, &form, "189,52,50,25", ">", "", blGlyphBottom, 4, 0},
                          Oval{form.SelectAllShortButton, &form, "189,84,50,25", ">>", "", blGlyphBottom, 4, 0},
                          Oval{form.OvalButton3, &form, "189,116,50,25", "<", "", blGlyphBottom, 4, 0},
                          Oval{form.OvalButton4, &form, "189,148,50,25", "<<", "", blGlyphBottom, 4, 0},
                          Oval{form.TrashShortBtn, &form, "51,214,90,31", "Trash", "Trash selected shortcuts",
                               blGlyphLeft, 4, 2},
                          Oval{form.SGroupButton, &form, "364,223,57,25", "Save", "Save this group", blGlyphLeft, 0, 2},
                          Oval{form.OvalButton7, form.Panel1, "174,4,78,33", "Close", "", blGlyphLeft, 4, 2}}) {
        EXPECT_EQ(o.parent, o.button->Parent()) << o.caption;
        EXPECT_EQ(o.bounds, Box(o.button->BoundsRect())) << o.caption;
        EXPECT_EQ(o.caption, o.button->Caption());
        EXPECT_EQ(o.hint, o.button->Hint()) << o.caption;
        EXPECT_EQ(*o.hint != 0, o.button->ShowHint()) << o.caption;
        EXPECT_EQ(o.layout, o.button->Layout()) << o.caption;
        EXPECT_EQ(o.spacing, o.button->Spacing()) << o.caption;
        EXPECT_EQ(o.glyphs, o.button->NumGlyphs()) << o.caption;
        EXPECT_EQ(crHandPoint, o.button->Cursor()) << o.caption;
        EXPECT_EQ(2, o.button->BevelWidth()) << o.caption;
        EXPECT_TRUE(o.button->Enabled()) << o.caption;
    }
    for (const TOvalButton* pictured : {form.TrashShortBtn, form.OvalButton7}) {
        EXPECT_EQ(32, pictured->Glyph().Width()) << pictured->Caption();
        EXPECT_EQ(16, pictured->Glyph().Height()) << pictured->Caption();
        EXPECT_EQ(clOlive, pictured->TransparentColor()) << pictured->Caption();
    }
    EXPECT_TRUE(form.SGroupButton->Glyph().Empty());
    EXPECT_FALSE(form.TrashShortBtn->Visible());
}

TEST_F(ConfigWindow, TheNameFieldTakesTwentyCharactersTypedOrPasted) {
    ShowWith({});
    HWND edit = form.Edit1->Handle();
    Type(edit, "abcdefghijklmnopqrstU");
    EXPECT_EQ("abcdefghijklmnopqrst", form.Edit1->Text());

    form.Edit1->SetText("");
    ASSERT_TRUE(::OpenClipboard(form.Handle()));
    ::EmptyClipboard();
    const std::string pasted = "0123456789012345678901234";
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, pasted.size() + 1);
    std::memcpy(::GlobalLock(memory), pasted.c_str(), pasted.size() + 1);
    ::GlobalUnlock(memory);
    ::SetClipboardData(CF_TEXT, memory);
    ::CloseClipboard();
    ::SendMessageA(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(pasted.substr(0, 20), form.Edit1->Text());
}

// Each showing is centred, collects the Desktop and lists the repository
// afresh with an empty selection and no Trash; the name and Save carry over.
TEST_F(ConfigWindow, ShowingCollectsTheDesktopAndKeepsOnlyTheName) {
    Shortcut(desk, "mail", "new mail");
    Shortcut(repo, "Mail", "old mail");
    ShowWith({"beta", "Alpha"});
    EXPECT_EQ("Alpha|beta|Mail", Repository());  // the stored name stays
    EXPECT_EQ("new mail", ReadBytes(repo + "Mail.lnk"));
    EXPECT_EQ("mail.lnk", Listing(desk));
    const RECT shown = form.WindowRect();
    EXPECT_EQ((::GetSystemMetrics(SM_CXSCREEN) - (shown.right - shown.left)) / 2, shown.left);
    EXPECT_EQ((::GetSystemMetrics(SM_CYSCREEN) - (shown.bottom - shown.top)) / 2, shown.top);

    DoubleClickItem(List1(), 1);
    Type(form.Edit1->Handle(), "Work");
    form.Edit1->SetText("");  // Save goes grey with the empty field and stays so
    Type(form.Edit1->Handle(), "Games");
    ASSERT_EQ("beta", Selection());
    ASSERT_TRUE(form.TrashShortBtn->Visible());

    form.Close();
    form.SetPosition(3, 4);
    Shortcut(repo, "Chess");
    form.Show();
    Flush();
    EXPECT_EQ(shown.left, form.WindowRect().left);
    EXPECT_EQ("Alpha|beta|Chess|Mail", Repository());
    EXPECT_EQ("", Selection());
    EXPECT_FALSE(form.TrashShortBtn->Visible());
    EXPECT_EQ("Games", form.Edit1->Text());
    EXPECT_TRUE(form.SGroupButton->Enabled());
}

TEST_F(ConfigWindow, ArrowsComposeTheSelection) {
    ShowWith({"Chess", "Mail", "mail2", "Zip"});
    ClickItem(List1(), 1);  // Mail
    EXPECT_TRUE(form.TrashShortBtn->Visible());
    MouseClickOval(*form.OvalButton1);
    MouseClickOval(*form.OvalButton1);
    EXPECT_EQ("Mail", Selection());  // twice, added once

    form.ListBox2->SetItemIndex(0);
    form.ListBox2->Delete(0);
    form.ListBox2->Add("mail");
    MouseClickOval(*form.OvalButton1);
    EXPECT_EQ("mail", Selection());  // Mail is mail
    DoubleClickItem(List1(), 0);
    DoubleClickItem(List1(), 3);
    EXPECT_EQ("mail|Chess|Zip", Selection());

    // "<" on the first of three selects the new first; on the last, nothing stays selected.
    ClickItem(List2(), 0);
    MouseClickOval(*form.OvalButton3);
    EXPECT_EQ("Chess|Zip", Selection());
    EXPECT_EQ(0, form.ListBox2->ItemIndex());
    ClickItem(List2(), 1);
    MouseClickOval(*form.OvalButton3);
    EXPECT_EQ("Chess", Selection());
    EXPECT_EQ(-1, form.ListBox2->ItemIndex());
    MouseClickOval(*form.OvalButton3);  // nothing selected: nothing happens
    EXPECT_EQ("Chess", Selection());

    MouseClickOval(*form.SelectAllShortButton);
    EXPECT_EQ("Chess|Mail|mail2|Zip", Selection());
    MouseClickOval(*form.OvalButton4);
    EXPECT_EQ("", Selection());
    MouseClickOval(*form.SelectAllShortButton);
    RemoveTree(repo);
    ::CreateDirectoryA(repo.c_str(), nullptr);
    form.Close();
    form.Show();
    Flush();
    ClickItem(List2(), 0);
    MouseClickOval(*form.SelectAllShortButton);  // an empty repository empties the selection
    EXPECT_EQ("", Selection());
    EXPECT_EQ(0, form.ListBox2->Count());
}

TEST_F(ConfigWindow, SaveWarnsAboutAnEmptySelectionOrNameAndWritesNothing) {
    ShowWith({"Mail"});
    const SeenBox noShortcuts = Save();
    ASSERT_TRUE(noShortcuts.found);
    EXPECT_EQ("Please, specify at least one shortcut into this Group!", noShortcuts.text);
    EXPECT_EQ("No shortcuts!", noShortcuts.caption);
    EXPECT_TRUE(noShortcuts.warningIcon);
    EXPECT_EQ(std::vector<int>{IDOK}, noShortcuts.buttons);

    DoubleClickItem(List1(), 0);
    const SeenBox noName = Save();  // Save is enabled at first, with an empty name
    ASSERT_TRUE(noName.found);
    EXPECT_EQ("Please, specify a name for this Shortcuts Group!", noName.text);
    EXPECT_EQ("No name!", noName.caption);
    EXPECT_TRUE(noName.warningIcon);
    EXPECT_EQ(std::vector<int>{IDOK}, noName.buttons);

    Type(form.Edit1->Handle(), "x");
    ::SendMessageA(form.Edit1->Handle(), WM_CHAR, VK_BACK, 1);
    EXPECT_FALSE(form.SGroupButton->Enabled());
    EXPECT_FALSE(Save().found);  // a disabled Save ignores the click
    EXPECT_EQ("", Listing(data));
    EXPECT_EQ("Old=1", Ticks(groups));
}

// Saved byte for byte in the selection's order, over an older group of the same
// name without asking; the main window's list is rebuilt with no ticks.
TEST_F(ConfigWindow, SaveWritesTheSelectionAndRebuildsTheGroupList) {
    WriteBytes(data + "Games.dat", "Old\r\n");
    ShowWith({"Chess", "Mail", "Text editor"});
    for (int i : {2, 0}) DoubleClickItem(List1(), i);
    Type(form.Edit1->Handle(), "games");
    EXPECT_FALSE(Save().found);
    EXPECT_EQ("Text editor\r\nChess\r\n", ReadBytes(data + "Games.dat"));
    EXPECT_EQ("Games=0", Ticks(groups));

    groups.SetChecked(0, true);
    form.Edit1->SetText(" ");
    EXPECT_FALSE(Save().found);
    EXPECT_EQ("Text editor\r\nChess\r\n", ReadBytes(data + " .dat"));
    EXPECT_EQ(" =0 Games=0", Ticks(groups));
    // The window stays as it was, ready for the next group.
    EXPECT_TRUE(form.IsShowing());
    EXPECT_EQ("Text editor|Chess", Selection());
    EXPECT_EQ(" ", form.Edit1->Text());
}

// A name that can't name a group file: the general error report says which and
// why; nothing is written, the group list keeps its ticks, the window its content.
TEST_F(ConfigWindow, RefusedNamesAreReportedAndNothingChanges) {
    WriteBytes(data + "Locked.dat", "Old\r\n");
    ::SetFileAttributesA((data + "Locked.dat").c_str(), FILE_ATTRIBUTE_READONLY);
    ShowWith({"Mail"});
    DoubleClickItem(List1(), 0);
    struct Case {
        const char* name;
        std::string says;
    };
    for (const Case& c : {Case{"a\\b", "\\ or /"}, Case{"..", ". and .."}, Case{"CON", "device"},
                          Case{"lpt3.old", "device"}, Case{"Nul  ", "device"}, Case{"com9", "device"},
                          Case{"wh?t", "Cannot create file " + data + "wh?t.dat."},
                          Case{"a*b", "Cannot create file " + data + "a*b.dat."},
                          Case{"a|b", "Cannot create file " + data + "a|b.dat."},
                          Case{"a:b", "Cannot create file " + data + "a:b.dat."},
                          Case{"<a>", "Cannot create file " + data + "<a>.dat."},
                          Case{"\"a\"", "Cannot create file " + data + "\"a\".dat."},
                          Case{"Locked", "Cannot create file " + data + "Locked.dat."}}) {
        form.Edit1->SetText(c.name);
        const SeenBox seen = Save();
        ASSERT_TRUE(seen.found) << c.name;
        EXPECT_EQ("Zepton", seen.caption);
        EXPECT_TRUE(seen.errorIcon) << c.name;
        EXPECT_NE(std::string::npos, seen.text.find(c.says)) << seen.text;
        if (c.says.starts_with("Cannot create"))
            EXPECT_EQ(c.says, seen.text);
        else
            EXPECT_NE(std::string::npos, seen.text.find("\""s + c.name + "\"")) << seen.text;
        EXPECT_EQ("Old=1", Ticks(groups)) << c.name;
        EXPECT_EQ(c.name, form.Edit1->Text());
    }
    EXPECT_EQ("Locked.dat", Listing(data));
    EXPECT_EQ("Old\r\n", ReadBytes(data + "Locked.dat"));
    EXPECT_TRUE(form.IsShowing());
    EXPECT_EQ("Mail", Selection());
}

TEST_F(ConfigWindow, TrashDeletesTheRepositoryEntryOnly) {
    ShowWith({"Chess", "Mail", "Zip"});
    // Hidden, the button shows no hint either.
    const auto trashHint = [this] { return HasHint(form.Handle(), reinterpret_cast<UINT_PTR>(form.TrashShortBtn)); };
    EXPECT_FALSE(trashHint());
    DoubleClickItem(List1(), 1);
    ASSERT_TRUE(form.TrashShortBtn->Visible());
    EXPECT_TRUE(trashHint());
    const POINT trash = Centre(*form.TrashShortBtn);
    MouseClickOval(*form.TrashShortBtn);
    EXPECT_EQ("Chess.lnk Zip.lnk", Listing(repo));
    EXPECT_EQ("Chess|Zip", Repository());
    EXPECT_EQ(-1, form.ListBox1->ItemIndex());
    EXPECT_EQ("Mail", Selection());  // kept, and saved all the same
    EXPECT_FALSE(form.TrashShortBtn->Visible());
    // The release after the click does not draw the hidden button back.
    ::UpdateWindow(form.Handle());
    const WindowDC dc(form.Handle());
    EXPECT_EQ(ColorToRGB(clBtnFace), ::GetPixel(dc.dc, trash.x, trash.y));

    // A shortcut in use stays, silently, and the list shows it still there.
    ClickItem(List1(), 0);
    {
        FileHandle lock(::CreateFileA((repo + "Chess.lnk").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(lock);
        BoxWatcher watcher;
        MouseClickOval(*form.TrashShortBtn);
        EXPECT_FALSE(watcher.Result().found);
    }
    EXPECT_EQ("Chess|Zip", Repository());
    EXPECT_FALSE(form.TrashShortBtn->Visible());
}

TEST_F(ConfigWindow, AMissingRepositoryIsReportedAndTheListsStayAsLastClosed) {
    ShowWith({"Chess", "Mail"});
    DoubleClickItem(List1(), 0);
    form.Close();
    RemoveTree(repo);
    BoxWatcher watcher;
    form.Show();
    const SeenBox seen = watcher.Result();
    ASSERT_TRUE(seen.found);
    EXPECT_TRUE(seen.errorIcon);
    EXPECT_NE(std::string::npos, seen.text.find(repo)) << seen.text;
    EXPECT_TRUE(form.IsShowing());
    EXPECT_EQ("Chess|Mail", Repository());
    EXPECT_EQ("Chess", Selection());
}

// The Desktop's copy is the one opened, never the repository's.
TEST_F(ConfigWindow, DoubleClickInTheSelectionOpensTheDesktopCopy) {
    const std::string marker = root + "opened.txt";
    ShowWith({});
    MakeMarkingShortcut(desk + "Mark.lnk", marker);
    form.Close();
    form.Show();  // collects Mark into the repository
    Flush();
    ASSERT_EQ("Mark", Repository());
    ASSERT_TRUE(::DeleteFileA((desk + "Mark.lnk").c_str()));
    DoubleClickItem(List1(), 0);
    DoubleClickItem(List2(), 0);
    Flush();
    EXPECT_FALSE(Exists(marker));  // not on the Desktop: nothing opens, nothing is said

    ASSERT_TRUE(::CopyFileA((repo + "Mark.lnk").c_str(), (desk + "Mark.lnk").c_str(), FALSE));
    DoubleClickItem(List2(), 0);
    EXPECT_TRUE(WaitUntil([&] { return Exists(marker); }));
}

// Each button has its key in the control it acts from: the name field keeps
// its Ctrl+arrows and Delete, and a hidden Trash or a grey Save takes no key.
TEST_F(ConfigWindow, EveryButtonClicksByItsKeyWhereItActs) {
    ShowWith({"Mail"});
    Clicks clicks;
    for (TOvalButton* b : {form.OvalButton1, form.SelectAllShortButton, form.OvalButton3, form.OvalButton4,
                           form.TrashShortBtn, form.SGroupButton, form.OvalButton7})
        clicks.Watch(*b, b->Caption());
    HWND edit = form.Edit1->Handle();
    form.SGroupButton->SetEnabled(false);
    ExpectKeys(clicks,
               {{List1(), VK_DELETE, 0, ""}, {edit, 'S', ssCtrl, ""}, {List1(), VK_RIGHT, ssCtrl, "> "},
                {List2(), VK_RIGHT, ssCtrl, ""}, {edit, VK_RIGHT, ssCtrl, ""}, {List1(), VK_RIGHT, ssCtrl | ssShift, ">> "},
                {List2(), VK_LEFT, ssCtrl, "< "}, {List1(), VK_LEFT, ssCtrl, ""},
                {List2(), VK_LEFT, ssCtrl | ssShift, "<< "}, {List2(), VK_F4, ssAlt, "Close "}},
               {List1(), List2(), edit});
    form.TrashShortBtn->SetVisible(true);
    form.SGroupButton->SetEnabled(true);
    ExpectKeys(clicks, {{List1(), VK_DELETE, 0, "Trash "}, {edit, VK_DELETE, 0, ""}, {edit, 'S', ssCtrl, "Save "}}, {});
}

// A screen reader finds the buttons as they stand, and presses one as a click does.
TEST_F(ConfigWindow, ScreenReadersFindTheButtonsAsTheyStand) {
    ShowWith({"Mail"});
    form.SGroupButton->SetEnabled(false);
    EXPECT_EQ(R"(static text "Shortcuts Repository:"
push button ">" Ctrl+Right -> Press
push button ">>" Ctrl+Shift+Right -> Press
push button "<" Ctrl+Left -> Press
push button "<<" Ctrl+Shift+Left -> Press
static text "Selection:"
push button "Trash" (Trash selected shortcuts) Delete [invisible] -> Press
static text "Save under Group:"
push button "Save" (Save this group) Ctrl+S [unavailable] -> Press
  push button "Close" Alt+F4 -> Press
)",
              AccessibleTree(form.Handle()));
    ClickItem(List1(), 0);
    EXPECT_EQ(S_OK, ClientObject(form.Handle())->accDoDefaultAction(ChildId(2)));
    Flush();
    EXPECT_EQ("Mail", Selection());
}

TEST_F(ConfigWindow, CloseButtonEndsTheModalShowing) {
    ShowWith({});
    form.Close();
    PostClickOval(*form.OvalButton7);
    form.ShowModal();
    EXPECT_FALSE(form.IsShowing());
    EXPECT_TRUE(::IsWindow(form.Handle()));
}

// ---- Preview

class PreviewWindow : public WindowsSandbox {
protected:
    void Group(const std::string& name, const std::string& lines) { WriteBytes(data + name + ".dat", lines); }

    // Previews the groups; returns what the list showed while the window was up.
    // The window is closed by releasing Escape.
    std::string Preview(const GroupList& groups) {
        std::string shown;
        WhenShown closer(form.Handle(), [&] {
            shown = Joined(*form.ContentListBox);
            ::PostMessageA(form.ContentListBox->Handle(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
        });
        form.Preview(groupStore, groups);
        return shown;
    }

    std::unique_ptr<TContentForm> made = MakeForm<TContentForm>(nullptr);
    TContentForm& form = *made;
};

TEST_F(PreviewWindow, LayoutIsOneBorderlessListFillingTheWindow) {
    char caption[64] = {};
    ::GetWindowTextA(form.Handle(), caption, sizeof caption);
    EXPECT_STREQ("Shortcuts to view", caption);
    EXPECT_EQ(177, form.ClientWidth());
    EXPECT_EQ(180, form.ClientHeight());
    EXPECT_FALSE(::GetWindowLongA(form.Handle(), GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(form.KeyPreview);
    EXPECT_EQ("0,0,177,180", Box(RectIn(form.ContentListBox->Handle(), form.Handle())));
    EXPECT_FALSE(::GetWindowLongA(form.ContentListBox->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(::GetWindowLongA(form.ContentListBox->Handle(), GWL_STYLE) & WS_BORDER);
    EXPECT_EQ("Press Escape to close", form.ContentListBox->Hint());
    EXPECT_TRUE(form.ContentListBox->ShowHint());
}

// Ticked groups only, in list order: one sorted list, each name once
// whatever its case, the first met kept; an empty line is an empty entry.
TEST_F(PreviewWindow, MergesTheTickedGroupsSortedAndCaseBlind) {
    Group("Work", "Mail\r\nZip\r\nbeta\r\n");
    Group("Games", "Chess\r\n");
    Group("More", "mail\r\nAlpha\r\nZIP\r\n\r\n");
    EXPECT_EQ("|Alpha|beta|Mail|Zip", Preview(TickedList({{"Work", true}, {"Games", false}, {"More", true}})));
    EXPECT_EQ("|Alpha|mail|ZIP", Preview(TickedList({{"More", true}, {"Work", false}})));
    EXPECT_EQ("", Preview(TickedList({{"Work", false}})));
    EXPECT_FALSE(form.IsShowing());
}

// The window shows what came before the unreadable group; the error follows its closing.
TEST_F(PreviewWindow, AnUnreadableGroupIsThrownAfterTheWindowClosed) {
    Group("A", "Mail\r\n");
    Group("C", "Chess\r\n");
    std::string shown;
    try {
        shown = "not closed";
        Preview(TickedList({{"A", true}, {"B", true}, {"C", true}}));
        ADD_FAILURE() << "no error";
    } catch (const FileError& e) {
        EXPECT_STREQ(("Cannot open file " + data + "B.dat").c_str(), e.what());
        EXPECT_FALSE(form.IsShowing());
        shown = Joined(*form.ContentListBox);
    }
    EXPECT_EQ("Mail", shown);
}

TEST_F(PreviewWindow, EscapeClosesOnReleaseWithAnyModifier) {
    Group("G", "a\r\nb\r\n");
    const PlainGroupList groups = TickedList({{"G", true}});
    HWND list = form.ContentListBox->Handle();
    bool openAfterPress = false, movedByArrow = false;
    {
        WhenShown keys(form.Handle(), [&] {
            ::SetForegroundWindow(form.Handle());
            ::SendMessageA(list, LB_SETCURSEL, 0, 0);
            ::PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 1);
            ::PostMessageA(list, WM_KEYDOWN, VK_DOWN, 1);
            ::PostMessageA(list, WM_KEYUP, VK_DOWN, 0xC0000001);
            // Posted keys are handled in order: once the arrow has moved the selection,
            // the pressed Escape has been handled too.
            for (int i = 0; i < 2000 && !movedByArrow; ++i, ::Sleep(10))
                movedByArrow = ::SendMessageA(list, LB_GETCURSEL, 0, 0) == 1;
            openAfterPress = ::IsWindowVisible(form.Handle()) != FALSE;
            // Shift+Escape from the keyboard itself.
            INPUT keys[4] = {};
            for (INPUT& k : keys) k.type = INPUT_KEYBOARD;
            keys[0].ki.wVk = VK_SHIFT;
            keys[1].ki.wVk = VK_ESCAPE;
            keys[2].ki = {VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0, 0};
            keys[3].ki = {VK_SHIFT, 0, KEYEVENTF_KEYUP, 0, 0};
            ::SendInput(4, keys, sizeof(INPUT));
        });
        form.Preview(groupStore, groups);
    }
    EXPECT_TRUE(openAfterPress);
    EXPECT_TRUE(movedByArrow);
    EXPECT_FALSE(form.IsShowing());
}

TEST_F(PreviewWindow, DoubleClickOpensTheDesktopCopy) {
    const std::string marker = root + "opened.txt";
    MakeMarkingShortcut(desk + "\xE6\x97\xA5\xE6\x9C\xAC.lnk", marker);
    Group("G", "\xE6\x97\xA5\xE6\x9C\xAC\r\n");
    auto doubleClick = [&](const PlainGroupList& groups) {
        WhenShown user(form.Handle(), [&] {
            PostDoubleClickItem(form.ContentListBox->Handle(), 0);
            ::PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
        });
        form.Preview(groupStore, groups);
    };
    BoxWatcher watcher;
    doubleClick(TickedList({{"G", false}}));  // an empty list: nothing to open, nothing said
    EXPECT_FALSE(watcher.Result().found);
    doubleClick(TickedList({{"G", true}}));
    EXPECT_TRUE(WaitUntil([&] { return Exists(marker); }));
    EXPECT_FALSE(form.IsShowing());
}

}  // namespace
}  // namespace zep::test
