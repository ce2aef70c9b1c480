// The program entry: the application, its main window, the message loop.
#include "resources/resource.h"
#include "toolkit/Forms.h"
#include "ui/MainUnit.h"
#include "ui/SingleInstance.h"
#include "ui/StartupTrace.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace zep;
    // Before anything else: a start while Zepton runs brings that one up and ends here.
    TSingleInstance session;
    if (!session.Claim()) return 0;
    TraceStep("WinMain entered");
    try {
        Application().Initialize();
        Application().SetTitle("Zepton");
        // The small-icon slots get the icon's own 16 x 16 picture, not the large one shrunk.
        Application().SetIcon(::LoadIconA(instance, MAKEINTRESOURCEA(IDI_ZEPTON)),
                              static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_ZEPTON), IMAGE_ICON,
                                                              ::GetSystemMetrics(SM_CXSMICON),
                                                              ::GetSystemMetrics(SM_CYSMICON), LR_SHARED)));
        TraceStep("application object");
        // The other windows are made when the user first opens them (MainUnit).
        MainForm = &Application().CreateForm<TMainForm>();
        TraceStep("main window made");
        session.Announce(MainForm->Handle(), [] { MainForm->ShowWindow1Click(MainForm); });
        Application().Run();
        session.Withdraw();
        Application().DestroyForms();
    } catch (...) {
        Application().HandleException();
        return 1;
    }
    return 0;
}
