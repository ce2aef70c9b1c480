#include "ui/CommandLine.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace zep {
namespace {

std::vector<std::string> Words(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;  // "" is an empty word
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (inWord) words.push_back(std::exchange(word, {}));
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted) throw CommandLineError("A quote (\") in the command line is not closed.");
    if (inWord) words.push_back(word);
    return words;
}

CommandKind Switch(const std::string& word) {
    static const std::pair<const char*, CommandKind> switches[] = {{"/apply", CommandKind::Apply},
                                                                   {"/show", CommandKind::Show},
                                                                   {"/hide", CommandKind::Hide},
                                                                   {"/exit", CommandKind::Exit},
                                                                   {"/?", CommandKind::Usage}};
    std::string lower = word;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    for (const auto& [name, kind] : switches)
        if (lower == name) return kind;
    throw CommandLineError("There is no switch " + word + ".");
}

}  // namespace

Command ParseCommandLine(std::string_view line) {
    const std::vector<std::string> words = Words(line);
    Command command;
    std::string given;  // the switch given so far
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.starts_with('/')) {
            const CommandKind kind = Switch(word);
            if (!given.empty())
                throw CommandLineError(kind == command.kind ? word + " is given twice."
                                                            : given + " and " + word + " can't be given together.");
            command.kind = kind;
            given = word;
        } else if (command.kind != CommandKind::Apply) {
            throw CommandLineError("\"" + word + "\" is no switch: group names go after /apply.");
        } else if (word.empty()) {
            throw CommandLineError("A group name after /apply is empty.");
        } else {
            command.groups.push_back(word);
        }
    }
    return command;
}

const char* const CommandLineUsage =
    "zepton.exe [/apply [GROUP ...] | /show | /hide | /exit | /?]\n"
    "\n"
    "(none)\tStarts Zepton, or brings up the window of the Zepton that runs.\n"
    "/apply\tTicks exactly the groups named (letter case does not matter; no name: no group), applies "
    "and saves the ticks. A name with blanks goes in quotes: /apply \"Evening games\" Mail\n"
    "/show\tShows Zepton's window.\n"
    "/hide\tHides it in the notification area.\n"
    "/exit\tEnds Zepton.\n"
    "\n"
    "A Zepton that runs takes the command; if none runs, /apply starts Zepton with those ticks, /exit does "
    "nothing, and the others start it.\n"
    "Exit code: 0 done, 1 the running Zepton did not take the command, 2 a mistake in the command or an "
    "unknown group (nothing changed).";

std::string UnknownGroupText(const std::string& group) { return "Zepton has no group named \"" + group + "\"."; }

}  // namespace zep
