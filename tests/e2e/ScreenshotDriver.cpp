// Brings the running zepton.exe to the views the README shows, one step per
// call, and prints the shown window's rectangle (x y width height) for cropping.
// Steps: config (Groups Configuration with a group composed), preview (that
// group saved and ticked, the preview open), close (the program ends).
#include "tests/e2e/ProgramDriver.h"

#include <cstdio>
#include <string>

using namespace zep::test;

namespace {

int PrintRect(HWND window) {
    if (!window) return 1;
    RECT r{};
    ::GetWindowRect(window, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string step = argc > 1 ? argv[1] : "";
    // The main window, brought up from the tray (its window is made when first shown).
    HWND main = ShownWindow("Zepton");
    if (!main) return 1;
    if (step == "config") {
        HWND config = OpenGroupsConfiguration(main);
        if (!config) return 1;
        ComposeGroup(config, {0, 2}, "Favourites");
        return PrintRect(config);
    }
    if (step == "preview") {
        HWND config = ShownWindow("Groups Configuration");
        if (!config) return 1;
        SaveGroup(config);
        CloseGroupsConfiguration(config);
        Eventually([&] { return !::IsWindowVisible(config); });
        return PrintRect(OpenPreview(main, 0));
    }
    if (step == "close") {
        if (HWND preview = ShownWindow("Shortcuts to view")) ClosePreview(preview);
        Eventually([&] { return ::IsWindowEnabled(main) != FALSE; });
        ::PostMessageA(main, WM_CLOSE, 0, 0);
        return 0;
    }
    std::fprintf(stderr, "usage: screenshot_driver config|preview|close\n");
    return 2;
}
