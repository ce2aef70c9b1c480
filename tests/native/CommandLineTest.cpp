#include "ui/CommandLine.h"

#include <gtest/gtest.h>

namespace {

using zep::CommandKind;

// The program's path comes first; "!" marks a line refused, with the start of its message.
TEST(ParseCommandLine, ReadsOneSwitchAndApplysGroupsAndRefusesTheRest) {
    struct Case {
        const char* line;
        CommandKind kind;
        std::vector<std::string> groups;
        const char* refused = "";
    };
    const Case cases[] = {
        {"zepton.exe", CommandKind::Start, {}},
        {"\"C:\\Program Files\\Zepton\\zepton.exe\"  ", CommandKind::Start, {}},
        {"z /apply", CommandKind::Apply, {}},
        {"z /APPLY Work \"Evening games\"\tMail", CommandKind::Apply, {"Work", "Evening games", "Mail"}},
        {"z /apply Caf\xC3\xA9 Rock&Roll work Work", CommandKind::Apply, {"Caf\xC3\xA9", "Rock&Roll", "work", "Work"}},
        {"z /apply Wo\"rk Ga\"mes", CommandKind::Apply, {"Work Games"}},
        {"z /Show", CommandKind::Show, {}},
        {"z /hide", CommandKind::Hide, {}},
        {"z \"/exit\"", CommandKind::Exit, {}},
        {"z /?", CommandKind::Usage, {}},
        {"z /apply \"Work", CommandKind::Start, {}, "A quote (\") in the command line is not closed."},
        {"z /apply Work\"", CommandKind::Start, {}, "A quote"},
        {"z /run", CommandKind::Start, {}, "There is no switch /run."},
        {"z /", CommandKind::Start, {}, "There is no switch /."},
        {"z /apply A /apply B", CommandKind::Start, {}, "/apply is given twice."},
        {"z /show /Hide", CommandKind::Start, {}, "/show and /Hide can't be given together."},
        {"z /apply A /?", CommandKind::Start, {}, "/apply and /? can't"},
        {"z Work", CommandKind::Start, {}, "\"Work\" is no switch: group names go after /apply."},
        {"z Work /apply", CommandKind::Start, {}, "\"Work\" is no switch"},
        {"z /hide Work", CommandKind::Start, {}, "\"Work\" is no switch"},
        {"z /apply Work \"\"", CommandKind::Start, {}, "A group name after /apply is empty."},
    };
    for (const Case& c : cases) {
        if (*c.refused) {
            try {
                zep::ParseCommandLine(c.line);
                ADD_FAILURE() << c.line << " was taken";
            } catch (const zep::CommandLineError& e) {
                EXPECT_EQ(0u, std::string(e.what()).find(c.refused)) << c.line << ": " << e.what();
            }
            continue;
        }
        const zep::Command command = zep::ParseCommandLine(c.line);
        EXPECT_EQ(c.kind, command.kind) << c.line;
        EXPECT_EQ(c.groups, command.groups) << c.line;
    }
}

}  // namespace
