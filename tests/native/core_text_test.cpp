// The group-file line rules and the INI line model, without any file system.
#include "core/IniLines.h"
#include "core/SortedNames.h"
#include "core/TextLines.h"
#include "testing/CompareAscii.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;
using zep::IniLines;
using zep::Names;
using zep::SplitLines;
using zep::test::CompareAsciiNoCase;

TEST(SplitLines, LineEndsOfEveryKind) {
    EXPECT_EQ(SplitLines("A\nB"), (Names{"A", "B"}));
    EXPECT_EQ(SplitLines("A\r\n\r\nB\r\n"), (Names{"A", "", "B"}));
    EXPECT_EQ(SplitLines("A\rB"), (Names{"A", "B"}));
    EXPECT_EQ(SplitLines("A\n\rB"), (Names{"A", "", "B"}));  // LF CR is two breaks
    EXPECT_EQ(SplitLines("A\r\r\n"), (Names{"A", ""}));
    EXPECT_EQ(SplitLines("\r\n"), (Names{""}));
    EXPECT_EQ(SplitLines("\n\n"), (Names{"", ""}));
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(SplitLines, NulEndsTheText) {
    EXPECT_EQ(SplitLines("A\0B\r\n"s), (Names{"A"}));
    EXPECT_EQ(SplitLines("A\r\n\0B"s), (Names{"A", ""}));
    EXPECT_EQ(SplitLines("\0A"s), (Names{""}));
}

TEST(SplitLines, NamesAreTakenByteForByte) {
    EXPECT_EQ(SplitLines(" Mail \r\nMail\r\nMail\r\n\xEF\xBB\xBFx\xE9\r\n"),
              (Names{" Mail ", "Mail", "Mail", "\xEF\xBB\xBFx\xE9"}));
}

TEST(JoinLines, EveryLineEndsWithCrLf) {
    EXPECT_EQ(zep::JoinLines({"Mail", "Text editor"}), "Mail\r\nText editor\r\n");
    EXPECT_EQ(zep::JoinLines({"Mail", "Text editor"}).size(), 19u);
    EXPECT_EQ(zep::JoinLines({}), "");
    EXPECT_EQ(zep::JoinLines({"", ""}), "\r\n\r\n");
    const Names odd{"", " a ", "b", ""};
    EXPECT_EQ(SplitLines(zep::JoinLines(odd)), odd);
}

TEST(Names, PathCharactersAreNotPlain) {
    EXPECT_TRUE(zep::IsPlainName("Text editor"));
    EXPECT_TRUE(zep::IsPlainName(".."));
    for (const char* bad : {"..\\x", "a/b", "C:x", "\\", "/", ":"}) EXPECT_FALSE(zep::IsPlainName(bad)) << bad;

    EXPECT_EQ(zep::GroupNameProblem("Work"), "");
    EXPECT_EQ(zep::GroupNameProblem("...").size(), 0u);
    for (const char* bad : {"a\\b", "a/b", ".", ".."}) {
        const std::string problem = zep::GroupNameProblem(bad);
        EXPECT_NE(problem.find("\""s + bad + "\""), std::string::npos) << problem;
    }
    EXPECT_NE(zep::GroupNameProblem("a/b").find("\\ or /"), std::string::npos);

    // Names stored in UTF-8, told from the code page's: no overlong form, surrogate or code past U+10FFFF.
    for (const char* utf8 : {"Caf\xC3\xA9", "\xE6\x97\xA5", "\xF0\x9F\x98\x80"}) EXPECT_TRUE(zep::IsUtf8(utf8)) << utf8;
    for (const char* not8 : {"Caf\xE9", "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"}) EXPECT_FALSE(zep::IsUtf8(not8));
}

// Windows opens these as devices whatever follows the first dot, and drops
// trailing spaces before it: CON.dat is the console, not a file.
TEST(TextLines, GroupNameProblemRefusesDeviceNames) {
    for (const char* device : {"CON", "con", "Prn", "aux", "NUL", "COM1", "com9", "LPT1", "lpt9", "CON.", "con.old",
                               "nul  ", "Aux .x", "LPT3.a.b"}) {
        const std::string problem = zep::GroupNameProblem(device);
        EXPECT_NE(problem.find("\""s + device + "\""), std::string::npos) << device;
        EXPECT_NE(problem.find("device"), std::string::npos) << device;
    }
    for (const char* fine : {"CONSOLE", "Icon", "COM", "COM0", "COM10", "LPT", "LPT0", " CON", "xNUL", "PRN1", "A.CON"})
        EXPECT_EQ(zep::GroupNameProblem(fine), "") << fine;
}

// The preview's merge: the names of the groups in reading order, sorted across
// groups, each kept once in the spelling met first.
TEST(SortedNames, SortsAcrossGroupsAndKeepsTheFirstOfEqualNames) {
    const Names work = {"Mail", "Zip", "beta", "Text editor"};
    const Names games = {"chess", "mail", "ZIP", "", "Alpha"};
    Names gathered = work;
    gathered.insert(gathered.end(), games.begin(), games.end());
    EXPECT_EQ(zep::SortedUniqueNames(gathered, CompareAsciiNoCase),
              (Names{"", "Alpha", "beta", "chess", "Mail", "Text editor", "Zip"}));
    EXPECT_EQ(zep::SortedUniqueNames({"b", "B", "a", "b", "A"}, CompareAsciiNoCase), (Names{"a", "b"}));
    EXPECT_TRUE(zep::SortedUniqueNames({}, CompareAsciiNoCase).empty());
    // The comparison decides what is equal: a case-sensitive one keeps both spellings.
    const auto exact = [](const std::string& a, const std::string& b) { return a.compare(b); };
    EXPECT_EQ(zep::SortedUniqueNames({"mail", "Mail", "mail"}, exact), (Names{"Mail", "mail"}));
}

TEST(IniLines, FindSectionIgnoresCaseButNotBlanks) {
    const IniLines ini(CompareAsciiNoCase, "[Other]\r\n [Status]\r\n[Status] \r\n[STATUS]\r\n[status]\r\n");
    EXPECT_EQ(ini.FindSection("Status"), 3);
    EXPECT_EQ(ini.FindSection("other"), 0);
    EXPECT_EQ(ini.FindSection("Missing"), -1);
    EXPECT_EQ(IniLines(CompareAsciiNoCase, "[]\r\n").FindSection(""), 0);
    EXPECT_EQ(IniLines(CompareAsciiNoCase).FindSection("Status"), -1);
}

TEST(IniLines, ReadStringScansOnlyUpToTheNextBracket) {
    const IniLines ini(CompareAsciiNoCase,
        "Games=top\r\n[Status]\r\nWork=1\r\nWork=2\r\nEmpty=\r\nno equals\r\nA=b=c\r\n"
        "x[y=1\r\nAfter=1\r\n[Next]\r\nNext=1\r\n");
    EXPECT_EQ(ini.ReadString("Status", "Work", "d"), "1");      // the first one wins
    EXPECT_EQ(ini.ReadString("Status", "work", "d"), "d");      // keys keep their case
    EXPECT_EQ(ini.ReadString("Status", "Empty", "d"), "");
    EXPECT_EQ(ini.ReadString("Status", "A", "d"), "b=c");
    EXPECT_EQ(ini.ReadString("Status", "After", "d"), "d");     // behind a line holding "["
    EXPECT_EQ(ini.ReadString("Status", "Next", "d"), "d");
    EXPECT_EQ(ini.ReadString("Status", "Games", "d"), "d");     // before the header
    EXPECT_EQ(ini.ReadString("Next", "Next", "d"), "1");
    EXPECT_EQ(ini.ReadString("Missing", "Work", "d"), "d");
}

TEST(IniLines, ReadIntegerAndReadBool) {
    const IniLines ini(CompareAsciiNoCase,
        "[S]\r\nhex=0x1F\r\nHEX=0X10\r\ndollar=$ff\r\ntwo=2\r\nzero=0\r\nzeros=00\r\nneg=-0\r\n"
        "plus=+7\r\nyes=yes\r\nempty=\r\nox=0x\r\nbig=2147483648\r\nmin=-2147483648\r\n"
        "wrap=$FFFFFFFF\r\nlong=$100000000\r\nspace= 1\r\nsignhex=-$1\r\n");
    EXPECT_EQ(ini.ReadInteger("S", "hex", 9), 31);
    EXPECT_EQ(ini.ReadInteger("S", "HEX", 9), 16);
    EXPECT_EQ(ini.ReadInteger("S", "dollar", 9), 255);
    EXPECT_EQ(ini.ReadInteger("S", "min", 9), INT32_MIN);
    EXPECT_EQ(ini.ReadInteger("S", "wrap", 9), -1);
    EXPECT_EQ(ini.ReadInteger("S", "plus", 9), 7);
    for (const char* bad : {"yes", "empty", "ox", "big", "long", "space", "signhex", "missing"})
        EXPECT_EQ(ini.ReadInteger("S", bad, 9), 9) << bad;

    for (const char* ticked : {"hex", "dollar", "two", "yes", "empty", "missing"})
        EXPECT_TRUE(ini.ReadBool("S", ticked, true)) << ticked;
    for (const char* unticked : {"zero", "zeros", "neg"}) EXPECT_FALSE(ini.ReadBool("S", unticked, true)) << unticked;
    EXPECT_FALSE(ini.ReadBool("S", "yes", false));
}

TEST(IniLines, WriteStringFromScratchAndInPlace) {
    IniLines ini(CompareAsciiNoCase);
    ini.WriteString("Status", "Games", "1");
    ini.WriteString("Status", "Work", "0");
    EXPECT_EQ(ini.Text(), "\r\n[Status]\r\nGames=1\r\nWork=0\r\n");
    ini.WriteString("Status", "Games", "0");
    EXPECT_EQ(ini.Text(), "\r\n[Status]\r\nGames=0\r\nWork=0\r\n");
}

TEST(IniLines, WriteStringInsertRules) {
    // A differently cased key is a new entry at the end of the section.
    IniLines cased(CompareAsciiNoCase, "[status]\r\nWork=1\r\n");
    cased.WriteString("Status", "work", "0");
    EXPECT_EQ(cased.Text(), "[status]\r\nWork=1\r\nwork=0\r\n");

    // Other sections stay; a missing section comes after them, behind an empty line.
    IniLines other(CompareAsciiNoCase, "[A]\r\nx=1\r\n\r\n; note\r\n");
    other.WriteString("Status", "Games", "1");
    EXPECT_EQ(other.Text(), "[A]\r\nx=1\r\n\r\n; note\r\n\r\n[Status]\r\nGames=1\r\n");

    // A new entry goes after a trailing blank line, right before the next header.
    IniLines between(CompareAsciiNoCase, "[Status]\r\nA=1\r\n\r\n[B]\r\nG=1\r\n");
    between.WriteString("Status", "G", "0");
    EXPECT_EQ(between.Text(), "[Status]\r\nA=1\r\n\r\nG=0\r\n[B]\r\nG=1\r\n");
}

// WriteBools must leave exactly what WriteString entry by entry leaves.
static void ExpectSameAsOneByOne(const std::string& text, const std::vector<std::pair<std::string, bool>>& entries) {
    IniLines oneByOne(CompareAsciiNoCase, text), batch(CompareAsciiNoCase, text);
    for (const auto& [key, value] : entries) oneByOne.WriteString("Status", key, value ? "1" : "0");
    batch.WriteBools("Status", entries);
    EXPECT_EQ(batch.Text(), oneByOne.Text()) << text;
}

TEST(IniLines, WriteBoolsMatchesOneWriteAtATime) {
    const std::vector<std::pair<std::string, bool>> awkward{
        {"b", true}, {"a[x", false}, {"a=b", true}, {"a", false}, {"", true},
        {"c]", true}, {"[y", true}, {"b", false}, {"a=b", false}, {"d", true}, {"=", true}, {"<3D>", false}};
    for (const char* text : {"", "[Other]\r\nb=0\r\n", "[STATUS]\r\nb=0\r\n\r\nno key\r\n[Z]\r\n",
                             "[Status]\r\na=1\r\na=0\r\n=5\r\n[Status]\r\nd=0\r\n", "[Status]"})
        ExpectSameAsOneByOne(text, awkward);
    ExpectSameAsOneByOne("x\r\n", {});
    ExpectSameAsOneByOne("[Status]\r\nno\r\n", {{"", true}});  // a line without "=" has the empty key
}

TEST(IniLines, KeysHoldingBracketsOrEqualsAreStoredEscapedAndFoundAgain) {
    // As an earlier version left it: "[Old]=0" ended the section, "a=b=1" claimed the key "a".
    IniLines ini(CompareAsciiNoCase, "[Status]\r\nx=1\r\n[Old]=0\r\na=b=1\r\nG=0\r\n[Other]\r\n[Old]=1\r\n");
    const std::vector<std::pair<std::string, bool>> ticks{{"x", true}, {"[Old]", false}, {"a=b", true}, {"G", false}};
    // Before the first save each such line is its key's entry, and the section goes on behind it.
    for (const auto& [key, tick] : ticks) EXPECT_EQ(ini.ReadBool("Status", key, !tick), tick) << key;
    ini.WriteBools("Status", ticks);
    const std::string saved = ini.Text();
    EXPECT_EQ(saved, "[Status]\r\nx=1\r\nG=0\r\n<5B>Old]=0\r\na<3D>b=1\r\n[Other]\r\n[Old]=1\r\n");
    for (const auto& [key, tick] : ticks) EXPECT_EQ(ini.ReadBool("Status", key, !tick), tick) << key;
    EXPECT_EQ(ini.ReadString("Status", "a", "none"), "none");
    ini.WriteBools("Status", ticks);  // the same ticks again: the same file
    EXPECT_EQ(ini.Text(), saved);
    ini.WriteString("Status", "<5B>", "1");  // "<" itself is escaped, so no key takes another's line
    EXPECT_FALSE(ini.ReadBool("Status", "[Old]", true));
}
