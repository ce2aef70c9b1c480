#pragma once
// What a start of the program does with its command line before it runs.
#include "ui/CommandLine.h"
#include "ui/MainUnit.h"
#include "ui/SingleInstance.h"

#include <optional>

namespace zep {

// Reads the command line and claims the session's place. A line it can't read,
// /?, a command handed to the Zepton that runs, an /exit with none running and
// an /apply naming a group that is not there end the start here: the exit code,
// once the user has been told what went wrong. Otherwise the program runs, as
// `command` asks.
std::optional<int> EndsBeforeRunning(TSingleInstance& session, Command& command);

// The main window's environment for the command: an /apply's groups are the start-up ticks.
MainFormEnvironment EnvironmentFor(const Command& command);

// A command line another start handed over (UTF-8), taken by the main window: the answer for that start.
long TakeHandedOver(TMainForm& form, const std::string& line);

// Says it to whoever started the program: on the standard error it was given,
// else on the console it was started from, else in a message box.
void TellUser(const std::string& text, bool problem);

}  // namespace zep
