#pragma once
// Forms (top-level windows) and the application object.
#include "toolkit/Controls.h"
#include "toolkit/KeyTable.h"
#include "toolkit/Menus.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zep {

enum class TBorderStyle { bsSingle, bsDialog };
enum class TPosition { poDesigned, poScreenCenter };
enum class TCloseAction { caNone, caHide, caFree };
inline constexpr unsigned biSystemMenu = 1, biMinimize = 2;

// A form is made in one step, by Application().CreateForm for the program's
// windows or by MakeForm for one its caller owns: the derived class's
// constructor builds its controls, then Created() ends the making. Its window,
// with those of its controls, comes at its first need: a form never shown
// makes none.
class TForm : public TWinControl {
public:
    struct Options {
        std::string caption;
        int clientWidth = 0;
        int clientHeight = 0;
        TBorderStyle borderStyle = TBorderStyle::bsSingle;
        unsigned borderIcons = biSystemMenu;
        TPosition position = TPosition::poDesigned;
        int left = 0;
        int top = 0;
    };
    TForm(TComponent* owner, const Options& options);

    // The window's client area; before the window is made, the one it is made with.
    int ClientWidth() const { return ClientSize().cx; }
    int ClientHeight() const { return ClientSize().cy; }
    // Sizes the window so that its client area is exactly width x height.
    void SetClientSize(int width, int height);
    void SetPosition(int left, int top);  // screen pixels of the window's top-left corner
    RECT WindowRect() const;

    void Show();
    void Hide();
    bool IsShowing() const;
    // Shows the form while the other windows of the program take no input;
    // returns when it has been closed.
    void ShowModal();
    // Asks to close: the main form's close ends the program, another form is hidden.
    void Close();
    bool IsMinimized() const;
    void SetNormal();
    // The client area, the position of a form placed where designed, and the
    // font, at the display's dots per inch.
    void ScaleToScreen() override;

    bool KeyPreview = false;
    // The window's keys for its buttons, taken before the control with the focus sees them.
    TKeyTable Keys;
    TNotifyEvent OnCreate, OnShow;
    std::function<void(TObject*, bool& canClose)> OnCloseQuery;
    std::function<void(TObject*, TCloseAction& action)> OnClose;
    std::function<void(TObject*, WORD& key, TShiftState shift)> OnKeyUp;

    // Offers a key to the windowless controls' accelerators; true when one took it.
    bool DialogChar(char key);

protected:
    void WindowCreated() override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class TApplication;
    template <class T, class... Args>
    friend std::unique_ptr<T> MakeForm(Args&&... args);
    // Ends the making: the after-loading call of every component, the scale of
    // the display, the form's own after-loading call, then the creation
    // handler; an error there goes to the general error report.
    void Created();
    bool OfferDialogChar(TWinControl& host, char key);
    SIZE ClientSize() const;

    TPosition position_;
    SIZE frame_;  // what the frame adds to the client area, as the system foretells it
    bool modal_ = false;
    HWND focused_ = nullptr;  // the control that had the keyboard when the form was last left
};

class TApplication;
TApplication& Application();

class TApplication {
public:
    // Registers the window classes and makes the application window, with the icon given before.
    void Initialize();
    HWND Handle() const { return handle_; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);
    // The program's icon, shown by the taskbar button and every form made after.
    // Given before Initialize, the application window is made with it, and
    // none is drawn for it twice.
    HICON Icon() const { return icon_; }
    // The 16 x 16 one for captions and the taskbar; the large one when none is given.
    HICON SmallIcon() const { return smallIcon_ ? smallIcon_ : icon_; }
    void SetIcon(HICON icon, HICON smallIcon = nullptr);

    // Makes a form in one step and keeps it until DestroyForms. The first form
    // made becomes the main form once made; closing it ends the program,
    // already while its creation handler runs.
    template <class T, class... Args>
    T& CreateForm(Args&&... args) {
        auto form = std::make_unique<T>(nullptr, std::forward<Args>(args)...);
        T& made = *form;
        Adopt(std::move(form));
        return made;
    }
    // The main form, or the form being made to become it.
    bool IsMainForm(const TForm& form) const { return &form == mainForm_ || &form == mainFormInCreation_; }
    TForm* MainForm() const { return mainForm_; }
    void SetMainForm(TForm* form) { mainForm_ = form; }

    bool ShowMainForm = true;
    bool Terminated() const { return ending_ != Ending::no; }
    // Asks the program to end: its loops return.
    void Terminate();

    // Shows the main form when ShowMainForm is set, then runs the message loop
    // until the program ends.
    void Run();
    // Handles the messages waiting, and returns.
    void ProcessMessages();
    // One message through key preview, accelerators and dialog navigation to its window.
    void HandleMessage(MSG& msg);
    // A kernel object the loops wait for beside the messages: while this lives,
    // whichever loop runs (Run, a modal showing, ProcessMessages) runs
    // `onSignalled` when the object is signalled. The wait resets an auto-reset
    // object; `onSignalled` must reset any other, or it runs again at once.
    class THandleWait {
    public:
        THandleWait(HANDLE handle, std::function<void()> onSignalled);
        ~THandleWait();
        THandleWait(const THandleWait&) = delete;
        THandleWait& operator=(const THandleWait&) = delete;

    private:
        friend class TApplication;
        HANDLE handle_;
        std::function<void()> onSignalled_;
    };
    // Where every loop waits: until a message comes, or a waited-for object is
    // signalled (its handler has run then), for `ms` at most. True for either.
    bool WaitForWork(DWORD ms);

    void Minimize();
    void Restore();

    // The general error report; called from every catch-all boundary. Where the
    // error happens decides: inside a window procedure the report waits, and
    // the message loop shows it once that procedure has returned; elsewhere it
    // is shown at once. One report at a time: an error that comes while one is
    // open or waiting goes to the debugger output only. Once the session ends,
    // every error goes to OnQuietReport instead.
    void HandleException();
    void ShowException(const std::string& message);
    // Where an error goes that no box may show: one that comes while the session
    // ends, when a box would hold the sign-out up and go with the process.
    std::function<void(const std::string& text)> OnQuietReport;
    // Counts a window procedure, hook or callback running, for the report's rule.
    struct InProcedure {
        InProcedure() { ++Application().procedureDepth_; }
        ~InProcedure() { --Application().procedureDepth_; }
    };
    // A message box modal to every window of the program; returns the button pressed.
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);

    // True while a form is shown modally or a message box is open: the
    // program's other windows take no input.
    bool Modal() const { return modalLevel_ > 0; }
    // Counts a modal form or message box for as long as it is open.
    class ModalScope {
    public:
        ModalScope();
        ~ModalScope();
        ModalScope(const ModalScope&) = delete;
        ModalScope& operator=(const ModalScope&) = delete;
    };
    // Runs `task` from the message loop once no form is shown modally and no
    // message box is open: soon, or when the last of them has closed; tasks run
    // in the order given. An error it raises goes to the general error report.
    void WhenNotModal(std::function<void()> task);

    // Windows of the program that take input, disabled while a modal window or box is up.
    std::vector<HWND> DisableTaskWindows(HWND except);
    static void EnableTaskWindows(const std::vector<HWND>& windows);

    // Releases the forms, main form last; the program's end.
    void DestroyForms();

private:
    friend class TForm;
    friend struct ApplicationReset;  // the tests start each case with a running application
    static LRESULT CALLBACK AppWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Ends the making of a form CreateForm has constructed, and keeps it.
    void Adopt(std::unique_ptr<TForm> form);
    // Windows ends the program with the session (logoff, shut-down): from now
    // on no box may hold the sign-out up, and the main form closes.
    void EndWithSession();
    // The one place every loop of the program (Run, a modal showing,
    // ProcessMessages) takes its next message from and handles it, or else
    // waits for work when asked (see WaitForWork); false when there was none
    // to do or a quit message came.
    bool HandleNextMessage(bool wait);
    bool PreTranslate(MSG& msg);
    void ShowPendingReport();
    void RunWaitingTasks();
    // The visible, enabled form the user worked in last, or the main form; null when there is none.
    HWND FormToActivate() const;

    HWND handle_ = nullptr;
    std::string title_;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
    TForm* mainForm_ = nullptr;
    TForm* mainFormInCreation_ = nullptr;
    std::vector<std::unique_ptr<TForm>> forms_;
    enum class Ending { no, asked, withSession };
    Ending ending_ = Ending::no;
    int procedureDepth_ = 0;
    bool reporting_ = false;  // an error report is open
    std::string pendingReport_;
    int modalLevel_ = 0;
    std::vector<std::function<void()>> waitingTasks_;  // for the end of the modal forms and boxes
    std::vector<THandleWait*> handleWaits_;
};

// Makes a form of the caller's own in one step: the object, then the end of its making.
template <class T, class... Args>
std::unique_ptr<T> MakeForm(Args&&... args) {
    auto form = std::make_unique<T>(std::forward<Args>(args)...);
    static_cast<TForm&>(*form).Created();
    return form;
}

// The one boundary that no exception crosses: every window procedure, hook
// and callback of the toolkit runs its work through it. An error goes to the
// general error report, and `onError` becomes the result.
template <class Work>
LRESULT Guarded(Work&& work, LRESULT onError = 0) noexcept {
    const TApplication::InProcedure inside;
    try {
        return work();
    } catch (...) {
        Application().HandleException();
        return onError;
    }
}

// The text of the general error report: the message with "." added when its
// last character sorts above ".".
std::string ErrorReportText(const std::string& message);

}  // namespace zep
