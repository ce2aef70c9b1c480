// The program entry: the application, its four windows, the message loop.
#include "resources/resource.h"
#include "toolkit/Forms.h"
#include "ui/ContentUnit.h"
#include "ui/InfoUnit.h"
#include "ui/MainUnit.h"
#include "ui/Unit1.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace zep;
    try {
        Application().Initialize();
        Application().SetTitle("Zepton");
        Application().SetIcon(::LoadIconA(instance, MAKEINTRESOURCEA(IDI_ZEPTON)));
        MainForm = &Application().CreateForm<TMainForm>();
        Form1 = &Application().CreateForm<TForm1>();
        ContentForm = &Application().CreateForm<TContentForm>();
        InfoForm = &Application().CreateForm<TInfoForm>();
        Application().Run();
        Application().DestroyForms();
    } catch (...) {
        Application().HandleException();
        return 1;
    }
    return 0;
}
