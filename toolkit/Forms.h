#pragma once
// Forms (top-level windows) and the application object.
#include "toolkit/Controls.h"
#include "toolkit/Menus.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace zep {

enum class TBorderStyle { bsSingle, bsDialog };
enum class TPosition { poDesigned, poScreenCenter };
enum class TCloseAction { caNone, caHide, caFree };
inline constexpr unsigned biSystemMenu = 1, biMinimize = 2;

class TForm : public TWinControl {
public:
    // The derived form builds its controls and then calls Created(); the window
    // is made when the complete form first needs it, at the latest there.
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

    int ClientWidth() const;
    int ClientHeight() const;
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
    TNotifyEvent OnCreate, OnShow;
    std::function<void(TObject*, bool& canClose)> OnCloseQuery;
    std::function<void(TObject*, TCloseAction& action)> OnClose;
    std::function<void(TObject*, WORD& key, TShiftState shift)> OnKeyUp;

    // Offers a key to the windowless controls' accelerators; true when one took it.
    bool DialogChar(char key);

protected:
    // Ends construction: the window, the after-loading call of every component,
    // then the creation handler; an error there goes to the general error report.
    void Created();
    void WindowCreated() override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class TApplication;
    bool OfferDialogChar(TWinControl& host, char key);
    // Sizes the window so that its client area is exactly width x height.
    void SetClientSize(int width, int height);

    TPosition position_;
    SIZE designedClient_;
    bool modal_ = false;
};

class TApplication {
public:
    // Registers the window classes and makes the application window.
    void Initialize();
    HWND Handle() const { return handle_; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);
    // The program's icon, shown by the taskbar button and every form made after.
    HICON Icon() const { return icon_; }
    // The 16 x 16 one for captions and the taskbar; the large one when none is given.
    HICON SmallIcon() const { return smallIcon_ ? smallIcon_ : icon_; }
    void SetIcon(HICON icon, HICON smallIcon = nullptr);

    // The first form made becomes the main form once made; closing it ends
    // the program, already while its creation handler runs.
    template <class T, class... Args>
    T& CreateForm(Args&&... args) {
        mainFormNext_ = !mainForm_;
        try {
            forms_.push_back(std::make_unique<T>(nullptr, std::forward<Args>(args)...));
        } catch (...) {
            mainFormNext_ = false;
            mainFormInCreation_ = nullptr;
            throw;
        }
        if (std::exchange(mainFormInCreation_, nullptr)) mainForm_ = forms_.back().get();
        return static_cast<T&>(*forms_.back());
    }
    // Called by every form as it is made.
    void FormMade(TForm& form) {
        if (std::exchange(mainFormNext_, false)) mainFormInCreation_ = &form;
    }
    // The main form, or the form being made to become it.
    bool IsMainForm(const TForm& form) const { return &form == mainForm_ || &form == mainFormInCreation_; }
    TForm* MainForm() const { return mainForm_; }
    void SetMainForm(TForm* form) { mainForm_ = form; }

    bool ShowMainForm = true;
    bool Terminated() const { return terminated_; }
    void Terminate();

    // Shows the main form when ShowMainForm is set, then runs the message loop
    // until the program ends.
    void Run();
    void ProcessMessages();
    // One message through key preview, accelerators and dialog navigation to its window.
    void HandleMessage(MSG& msg);
    void Minimize();
    void Restore();

    // The general error report; called from every catch-all boundary. One
    // report at a time: an error that comes while one is open or waiting goes
    // to the debugger output only. While the message loop runs, the report is
    // shown from the loop, outside the window procedure that failed.
    void HandleException();
    void ShowException(const std::string& message);
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
    friend struct ApplicationReset;  // the tests start each case with a running application
    static LRESULT CALLBACK AppWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
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
    bool mainFormNext_ = false;  // the form CreateForm makes next is the main form
    TForm* mainFormInCreation_ = nullptr;
    std::vector<std::unique_ptr<TForm>> forms_;
    bool terminated_ = false;
    bool running_ = false;  // in Run's message loop
    bool reporting_ = false;  // an error report is open
    std::string pendingReport_;
    int modalLevel_ = 0;
    std::vector<std::function<void()>> waitingTasks_;  // for the end of the modal forms and boxes
};

TApplication& Application();

// The one boundary that no exception crosses: every window procedure, hook
// and callback of the toolkit runs its work through it. An error goes to the
// general error report, and `onError` becomes the result.
template <class Work>
LRESULT Guarded(Work&& work, LRESULT onError = 0) noexcept {
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
