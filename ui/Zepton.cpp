// The program entry: the application, its four windows, the message loop.
#include "resources/resource.h"
#include "toolkit/Forms.h"
#include "ui/ContentUnit.h"
#include "ui/InfoUnit.h"
#include "ui/MainUnit.h"
#include "ui/StartupTrace.h"
#include "ui/Unit1.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace zep;
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
        MainForm = &Application().CreateForm<TMainForm>();
        TraceStep("main window made");
        Form1 = &Application().CreateForm<TForm1>();
        TraceStep("groups configuration window made");
        ContentForm = &Application().CreateForm<TContentForm>();
        TraceStep("preview window made");
        InfoForm = &Application().CreateForm<TInfoForm>();
        TraceStep("About window made");
        Application().Run();
        Application().DestroyForms();
    } catch (...) {
        Application().HandleException();
        return 1;
    }
    return 0;
}
