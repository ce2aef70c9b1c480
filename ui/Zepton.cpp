// The program entry: the application, its four windows, the message loop.
#include "resources/resource.h"
#include "toolkit/Forms.h"
#include "ui/ContentUnit.h"
#include "ui/InfoUnit.h"
#include "ui/MainUnit.h"
#include "ui/SingleInstance.h"
#include "ui/Unit1.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace zep;
    // Before anything else: a start while Zepton runs brings that one up and ends here.
    TSingleInstance session;
    if (!session.Claim()) return 0;
    try {
        Application().Initialize();
        Application().SetTitle("Zepton");
        // The small-icon slots get the icon's own 16 x 16 picture, not the large one shrunk.
        Application().SetIcon(::LoadIconA(instance, MAKEINTRESOURCEA(IDI_ZEPTON)),
                              static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_ZEPTON), IMAGE_ICON,
                                                              ::GetSystemMetrics(SM_CXSMICON),
                                                              ::GetSystemMetrics(SM_CYSMICON), LR_SHARED)));
        MainForm = &Application().CreateForm<TMainForm>();
        Form1 = &Application().CreateForm<TForm1>();
        ContentForm = &Application().CreateForm<TContentForm>();
        InfoForm = &Application().CreateForm<TInfoForm>();
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
