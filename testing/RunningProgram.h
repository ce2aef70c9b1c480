#pragma once
// A program started by a test or a benchmark, with arguments after its path;
// ended by force only if the caller gave up on it. What it writes to its
// standard error is kept.
#include "win/Handle.h"

#include <optional>
#include <string>

namespace zep::test {

class RunningProgram {
public:
    RunningProgram(const std::string& exe, const std::string& folder, const std::string& arguments = "") {
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        HANDLE read = nullptr, write = nullptr;
        ::CreatePipe(&read, &write, &inherited, 0);
        ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
        errors_.reset(read);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdError = write;
        std::string commandLine = "\"" + exe + "\" " + arguments;
        started_ = ::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                    folder.c_str(), &startup, &info_) != FALSE;
        ::CloseHandle(write);
    }
    ~RunningProgram() {
        if (!started_) return;
        if (::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(info_.hProcess, 99);
        ::CloseHandle(info_.hThread);
        ::CloseHandle(info_.hProcess);
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Started() const { return started_; }
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE MainThread() const { return info_.hThread; }
    // The exit code, or nothing if the program is still running after the wait.
    std::optional<DWORD> WaitForExit(DWORD milliseconds) const {
        if (::WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) return std::nullopt;
        DWORD code = 0;
        ::GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }
    // Its exit code (99 while it runs after the wait) and what it wrote to its standard error.
    std::string Outcome(DWORD milliseconds) const {
        std::string outcome = std::to_string(WaitForExit(milliseconds).value_or(99)) + " ";
        char buffer[512];
        for (DWORD got = 0; ::ReadFile(errors_.get(), buffer, sizeof buffer, &got, nullptr) && got;)
            outcome.append(buffer, got);
        return outcome;
    }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
    FileHandle errors_;
};

}  // namespace zep::test
