#pragma once
// The program's command line: what a start is asked to do. Read the same way
// by the start itself and by the running program it hands the line to.
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zep {

enum class CommandKind {
    Start,  // no switch: start, or bring the running Zepton's window up
    Apply,  // tick exactly the groups given, apply and save the ticks
    Show,
    Hide,
    Exit,
    Usage,  // /?
};

struct Command {
    CommandKind kind = CommandKind::Start;
    std::vector<std::string> groups;  // /apply's group names, as given
};

// A line that says no command; the message says what is wrong.
class CommandLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a whole command line, the program's path first, as Windows passes it.
// Blanks separate words; quotes hold blanks within one and are dropped, each
// quote opening or closing. A word that begins with "/" is a switch, in any
// letter case (no group name can hold a "/"). One switch at most; group names
// only after /apply. Throws CommandLineError for an unclosed quote, an unknown
// switch, a second switch, a name without /apply and an empty name.
Command ParseCommandLine(std::string_view line);

// What /? shows.
extern const char* const CommandLineUsage;

std::string UnknownGroupText(const std::string& group);

// A start's exit code.
enum ExitCode : int {
    ExitDone = 0,
    ExitNotDone = 1,     // the running Zepton did not take the command in time; nothing changed
    ExitBadCommand = 2,  // a mistake in the command line or an unknown group; nothing changed
};

// The running program's answer to a command line another start handed it.
inline constexpr long CommandNotTaken = 0;  // not yet, or no longer: the sender has given up
inline constexpr long CommandTaken = 1;
// The command names a group the program does not have: the first such, by its place among the command's.
constexpr long UnknownGroupAnswer(std::size_t index) { return 2 + static_cast<long>(index); }

}  // namespace zep
