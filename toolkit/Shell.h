#pragma once
// Opening a file or a link with the program the user has chosen for its kind.
#include <windows.h>

#include <functional>
#include <string>

namespace zep {

// ShellExecuteA with the verb "open", no parameters, no working folder, shown
// normally. The result is not examined: a failure is the shell's to report.
void ShellOpen(HWND owner, const std::string& file);

// While one lives, ShellOpen hands its calls to the given function instead of
// the shell: the tests see what would be opened, and nothing is.
class ShellOpenRedirect {
public:
    using Opener = std::function<void(HWND owner, const std::string& file)>;
    explicit ShellOpenRedirect(Opener opener);
    ~ShellOpenRedirect();
    ShellOpenRedirect(const ShellOpenRedirect&) = delete;
    ShellOpenRedirect& operator=(const ShellOpenRedirect&) = delete;

private:
    Opener previous_;
};

}  // namespace zep
