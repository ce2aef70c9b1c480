// The program entry: the application, its main window, the message loop.
#include "resources/resource.h"
#include "toolkit/Forms.h"
#include "ui/Commands.h"
#include "ui/StartupTrace.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace zep;
    // Before anything else: a start while Zepton runs hands it its command and ends here.
    TSingleInstance session;
    Command command;
    if (const std::optional<int> exitCode = EndsBeforeRunning(session, command)) return *exitCode;
    TraceStep("WinMain entered");
    try {
        // The small-icon slots get the icon's own 16 x 16 picture, not the large one shrunk.
        Application().SetIcon(::LoadIconA(instance, MAKEINTRESOURCEA(IDI_ZEPTON)),
                              static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_ZEPTON), IMAGE_ICON,
                                                              ::GetSystemMetrics(SM_CXSMICON),
                                                              ::GetSystemMetrics(SM_CYSMICON), LR_SHARED)));
        Application().Initialize();
        Application().SetTitle("Zepton");
        TraceStep("application object");
        // The other windows are made when the user first opens them (MainUnit).
        MainForm = &Application().CreateForm<TMainForm>(EnvironmentFor(command));
        TraceStep("main window made");
        session.Announce([] { MainForm->ShowWindow1Click(MainForm); },
                         [](const std::string& line) { return TakeHandedOver(*MainForm, line); });
        if (command.kind == CommandKind::Show) MainForm->ShowWindow1Click(MainForm);
        Application().Run();
        session.Withdraw();
        Application().DestroyForms();
    } catch (...) {
        Application().HandleException();
        return 1;
    }
    return 0;
}
