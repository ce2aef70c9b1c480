// Any bytes read as a command line: it is taken or refused with a message, never
// anything else; a taken one holds group names only after /apply, none empty or
// a switch, and reads the same again when each name is written in quotes.
#include "ui/CommandLine.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zep::Command command;
    try {
        command = zep::ParseCommandLine(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const zep::CommandLineError& e) {
        if (!*e.what()) std::abort();
        return 0;
    }
    const bool apply = command.kind == zep::CommandKind::Apply;
    if (!apply && !command.groups.empty()) std::abort();
    const char* const switches[] = {"", "/apply", "/show", "/hide", "/exit", "/?"};
    std::string again = "zepton.exe ";
    again += switches[static_cast<int>(command.kind)];
    for (const std::string& group : command.groups) {
        if (group.empty() || group.front() == '/' || group.find('"') != std::string::npos) std::abort();
        again += " \"" + group + "\"";
    }
    const zep::Command reread = zep::ParseCommandLine(again);
    if (reread.kind != command.kind || reread.groups != command.groups) std::abort();
    return 0;
}
