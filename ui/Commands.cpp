#include "ui/Commands.h"

#include "win/WideText.h"

#include <windows.h>

namespace zep {
namespace {

const char* const UsageHint = "\n\nzepton.exe /? tells how to use it.";

// The start's command line, in the process code page.
std::string ThisCommandLine() { return ::GetCommandLineA(); }

// Another start reads it as UTF-8.
std::string Utf8(const std::string& text) { return *Narrow(Widen(text), CP_UTF8); }

// /show asks what a start without a command asks; that one ends silently, whatever came of it.
int HandOver(const TSingleInstance& session, const Command& command) {
    if (command.kind == CommandKind::Start) {
        session.BringUp();
        return ExitDone;
    }
    const long answer = command.kind == CommandKind::Show ? (session.BringUp() ? CommandTaken : CommandNotTaken)
                                                          : session.Send(Utf8(ThisCommandLine()));
    if (answer == CommandTaken) return ExitDone;
    const auto unknown = static_cast<std::size_t>(answer - UnknownGroupAnswer(0));
    if (answer >= UnknownGroupAnswer(0) && unknown < command.groups.size()) {
        TellUser(UnknownGroupText(command.groups[unknown]), true);
        return ExitBadCommand;
    }
    TellUser("The Zepton that runs did not take the command in time (it may still be starting up). "
             "Nothing was changed.",
             true);
    return ExitNotDone;
}

// An /apply for a Zepton that is not running: its groups must be there.
bool GroupsAreThere(const Command& command) {
    PlainGroupList groups;
    GroupStore(ResolveFolders(ExecutablePath())).RefreshGroupList(groups);
    const auto unknown = FirstUnknownGroup(groups, command.groups);
    if (unknown) TellUser(UnknownGroupText(command.groups[*unknown]), true);
    return !unknown;
}

}  // namespace

std::optional<int> EndsBeforeRunning(TSingleInstance& session, Command& command) {
    try {
        command = ParseCommandLine(ThisCommandLine());
    } catch (const CommandLineError& e) {
        TellUser(e.what() + std::string(UsageHint), true);
        return ExitBadCommand;
    }
    if (command.kind == CommandKind::Usage) {
        TellUser(CommandLineUsage, false);
        return ExitDone;
    }
    if (!session.Claim()) return HandOver(session, command);
    if (command.kind == CommandKind::Exit) return ExitDone;  // none runs: nothing to end
    if (command.kind == CommandKind::Apply && !GroupsAreThere(command)) return ExitBadCommand;
    return std::nullopt;
}

MainFormEnvironment EnvironmentFor(const Command& command) {
    MainFormEnvironment environment;
    if (command.kind == CommandKind::Apply) environment.startupTicks = command.groups;
    return environment;
}

long TakeHandedOver(TMainForm& form, const std::string& line) {
    // Text that has no match in the process code page names no group this program can have.
    return form.TakeCommand(ParseCommandLine(Narrow(Widen(line, CP_UTF8), CP_ACP).value_or(line)));
}

void TellUser(const std::string& text, bool problem) {
    DWORD written = 0;
    // Redirected into a file or a pipe: the text as it is.
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    const std::string line = text + "\n";
    if (error && error != INVALID_HANDLE_VALUE && ::GetFileType(error) != FILE_TYPE_CHAR &&
        ::WriteFile(error, line.data(), static_cast<DWORD>(line.size()), &written, nullptr))
        return;
    // A program for windows gets no console of its own: it writes into the one it was started from.
    const std::wstring wide = Widen(text);
    if (::AttachConsole(ATTACH_PARENT_PROCESS)) {
        const FileHandle console(::CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_EXISTING, 0, nullptr));
        const std::wstring shown = L"\n" + wide + L"\n";
        const auto size = static_cast<DWORD>(shown.size());
        if (console && ::WriteConsoleW(console.get(), shown.data(), size, &written, nullptr))
            return;
    }
    const UINT icon = problem ? MB_ICONERROR : MB_ICONINFORMATION;
    ::MessageBoxW(nullptr, wide.c_str(), L"Zepton", MB_OK | MB_SETFOREGROUND | icon);
}

}  // namespace zep
