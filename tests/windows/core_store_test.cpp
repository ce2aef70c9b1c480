// The group store against a real file system: group files, listings, Apply
// and the tick file, each in a throwaway program folder and Desktop.
#include "CoreSandbox.h"
#include "core/DesktopWatch.h"
#include "core/Errors.h"
#include "core/FileSystem.h"
#include "core/IniFiles32.h"
#include "win/WideText.h"

#include <objbase.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <thread>

namespace zep::test {
namespace {

using namespace std::string_literals;
using Store = Sandbox;

// The names of a folder's entries, sorted, to compare whole folder states.
Names Sorted(Names names) {
    std::sort(names.begin(), names.end());
    return names;
}

// Holds a file open without sharing, so nobody else can write, replace or delete it.
FileHandle Lock(const std::string& path) {
    return FileHandle(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr));
}

std::string Ticks(const GroupList& list) {
    std::string s;
    for (int i = 0; i < list.Count(); ++i) s += list.Name(i) + (list.Checked(i) ? "=1 " : "=0 ");
    return s;
}

TEST_F(Store, SaveGroupWritesExactlyTheNamesEachEndedByCrLf) {
    store().SaveGroup("Work", {"Mail", "Text editor"});
    EXPECT_EQ(ReadBytes(data + "Work.dat"), "Mail\r\nText editor\r\n");
    store().SaveGroup("Empty", {});
    EXPECT_EQ(ReadBytes(data + "Empty.dat"), "");
    EXPECT_EQ(Sorted(Entries(data)), (Names{"Empty.dat", "Work.dat"}));  // no temporary file left

    // Saving under another letter case replaces the content but keeps the stored name.
    store().SaveGroup("work", {" Mail "});
    EXPECT_EQ(Entries(data), (Names{"Empty.dat", "Work.dat"}));
    EXPECT_EQ(ReadBytes(data + "Work.dat"), " Mail \r\n");
    EXPECT_EQ(store().ListGroups(), (Names{"Empty", "Work"}));

    // The data folder is made again when it has gone.
    RemoveTree(data);
    store().SaveGroup("Again", {"x"});
    EXPECT_EQ(ReadBytes(data + "Again.dat"), "x\r\n");
}

TEST_F(Store, ReadGroupKeepsEveryLineAsWritten) {
    // The line rules themselves are tested natively; here the bytes come from a file.
    WriteBytes(data + "G.dat", " Mail \r\n\r\nA\n\rB\rMail\0after\r\n"s);
    EXPECT_EQ(store().ReadGroup("g"), (Names{" Mail ", "", "A", "", "B", "Mail"}));
    WriteBytes(data + "G.dat", "");
    EXPECT_TRUE(store().ReadGroup("G").empty());
    store().SaveGroup("Round", {"", "a b", "..\\x"});
    EXPECT_EQ(store().ReadGroup("Round"), (Names{"", "a b", "..\\x"}));
}

TEST_F(Store, GroupFileErrorsNameTheFullPath) {
    try {
        store().ReadGroup("Missing");
        ADD_FAILURE() << "no error";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), ("Cannot open file " + data + "Missing.dat").c_str());
    }
    // A name the file system refuses: nothing is created, no temporary file stays.
    try {
        store().SaveGroup("wh?t", {"a"});
        ADD_FAILURE() << "no error";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), ("Cannot create file " + data + "wh?t.dat").c_str());
    }
    EXPECT_TRUE(Entries(data).empty());
}

TEST_F(Store, SaveGroupRefusesNamesThatAreNotFileNames) {
    ::CreateDirectoryA((root + "prog\\sub").c_str(), nullptr);
    for (const char* bad : {"..\\escape", "sub/x", ".", ".."}) {
        try {
            store().SaveGroup(bad, {"a"});
            ADD_FAILURE() << bad;
        } catch (const GroupNameError& e) {
            EXPECT_NE(std::string(e.what()).find(bad), std::string::npos) << e.what();
        }
    }
    EXPECT_TRUE(Entries(data).empty());
    EXPECT_FALSE(Exists(folders.ProgramFolder + "escape.dat"));
    EXPECT_FALSE(Exists(folders.ProgramFolder + "sub\\x.dat"));
}

TEST_F(Store, FailedSaveLeavesTheOldFileWhole) {
    WriteBytes(data + "Work.dat", "Old\r\n");
    {
        FileHandle lock = Lock(data + "Work.dat");
        ASSERT_TRUE(lock);
        EXPECT_THROW(store().SaveGroup("Work", {"New"}), FileError);
    }
    ::SetFileAttributesA((data + "Work.dat").c_str(), FILE_ATTRIBUTE_READONLY);
    try {
        store().SaveGroup("Work", {"New"});
        ADD_FAILURE() << "read-only file replaced";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), ("Cannot create file " + data + "Work.dat").c_str());
    }
    EXPECT_EQ(ReadBytes(data + "Work.dat"), "Old\r\n");
    EXPECT_EQ(Entries(data), (Names{"Work.dat"}));

    // A folder in the way of the group file.
    ::CreateDirectoryA((data + "Dir.dat").c_str(), nullptr);
    EXPECT_THROW(store().SaveGroup("dir", {"x"}), FileError);
    EXPECT_EQ(Sorted(Entries(data)), (Names{"Dir.dat", "Work.dat"}));
}

TEST_F(Store, ListingsSortWithoutCaseAndFilterByKind) {
    for (const char* f : {"b.dat", "A.dat", "c.DAT", "status.ord", "h.dat", "s.dat", "Ab.dat", "notes.txt"})
        WriteBytes(data + f, "");
    ::SetFileAttributesA((data + "h.dat").c_str(), FILE_ATTRIBUTE_HIDDEN);
    ::SetFileAttributesA((data + "s.dat").c_str(), FILE_ATTRIBUTE_SYSTEM);
    ::CreateDirectoryA((data + "d.dat").c_str(), nullptr);
    ::SetFileAttributesA((data + "b.dat").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(store().ListGroups(), (Names{"A", "Ab", "b", "c"}));

    for (const char* f : {"x.lnk", "Mail.lnk", "mail2.LNK", "doc.txt", "sys.lnk"}) WriteBytes(repo + f, "");
    ::SetFileAttributesA((repo + "x.lnk").c_str(), FILE_ATTRIBUTE_HIDDEN);
    ::SetFileAttributesA((repo + "sys.lnk").c_str(), FILE_ATTRIBUTE_SYSTEM);
    ::CreateDirectoryA((repo + "dir.lnk").c_str(), nullptr);
    EXPECT_EQ(store().ListRepository(), (Names{"Mail", "mail2", "sys", "x"}));

    RemoveTree(repo);
    EXPECT_THROW(store().ListRepository(), ListError);
    RemoveTree(data);
    EXPECT_THROW(store().ListGroups(), ListError);
}

TEST_F(Store, RefreshGroupListStartsUnticked_AndKeepsTheListWhenDataIsGone) {
    WriteBytes(data + "Work.dat", "");
    WriteBytes(data + "Games.dat", "");
    PlainGroupList list = TickedList({{"Old", true}});
    store().RefreshGroupList(list);
    EXPECT_EQ(Ticks(list), "Games=0 Work=0 ");

    list.SetChecked(1, true);
    RemoveTree(data);
    store().RefreshGroupList(list);
    EXPECT_EQ(Ticks(list), "Games=0 Work=1 ");
}

TEST_F(Store, DeletingSendsToTheRecycleBin_AndWhatIsNotThereChangesNothing) {
    // Wine's Recycle Bin is $XDG_DATA_HOME/Trash: here one of the test's own, emptied first.
    ::SetEnvironmentVariableA("XDG_DATA_HOME", RECYCLE_HOME);
    RemoveTree("Z:" RECYCLE_HOME "/");
    ::CreateDirectoryA("Z:" RECYCLE_HOME, nullptr);
    WriteBytes(data + "Work.dat", "a\r\n");
    WriteBytes(repo + "a.lnk", "A");
    store().DeleteGroup("Missing");
    store().DeleteShortcut("missing");
    store().DeleteGroup("*");  // to the shell, a wildcard
    store().DeleteShortcut("*");
    EXPECT_EQ(Entries(data), (Names{"Work.dat"}));
    EXPECT_EQ(Entries(repo), (Names{"a.lnk"}));
    store().DeleteGroup("work");
    store().DeleteShortcut("A");
    EXPECT_TRUE(Entries(data).empty());
    EXPECT_TRUE(Entries(repo).empty());
    EXPECT_EQ(ReadBytes("Z:" RECYCLE_HOME "/Trash/files/Work.dat"), "a\r\n");
    EXPECT_EQ(ReadBytes("Z:" RECYCLE_HOME "/Trash/files/a.lnk"), "A");
}

// The shell wants COM on the thread that opens a shortcut: the thread has it
// once it has opened one (a second entry into the same apartment answers S_FALSE).
TEST_F(Store, OpeningAShortcutEntersTheThreadIntoCom) {
    HRESULT before = E_FAIL, after = E_FAIL;
    std::thread([&] {
        before = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        if (SUCCEEDED(before)) ::CoUninitialize();
        store().OpenShortcut("not on the Desktop", nullptr);
        after = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        if (SUCCEEDED(after)) ::CoUninitialize();
    }).join();
    EXPECT_EQ(S_OK, before);
    EXPECT_EQ(S_FALSE, after);
}

TEST_F(Store, CollectDesktopShortcutsCopiesEveryShortcutAndMovesNothing) {
    WriteBytes(desk + "Mail.lnk", "new");
    WriteBytes(desk + "hidden.lnk", "h");
    WriteBytes(desk + "doc.txt", "d");
    ::CreateDirectoryA((desk + "folder.lnk").c_str(), nullptr);
    ::SetFileAttributesA((desk + "hidden.lnk").c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteBytes(repo + "Mail.lnk", "old");
    store().CollectDesktopShortcuts();
    EXPECT_EQ(ReadBytes(repo + "Mail.lnk"), "new");
    EXPECT_EQ(ReadBytes(repo + "hidden.lnk"), "h");
    EXPECT_EQ(Sorted(Entries(repo)), (Names{"Mail.lnk", "hidden.lnk"}));
    EXPECT_EQ(Sorted(Entries(desk)), (Names{"Mail.lnk", "doc.txt", "folder.lnk", "hidden.lnk"}));

    RemoveTree(desk);
    store().CollectDesktopShortcuts();  // no Desktop: nothing to do, nothing reported
}

TEST_F(Store, ApplyMovesTheDesktopAwayAndBringsBackTickedGroups) {
    WriteBytes(desk + "a.lnk", "desk a");
    WriteBytes(desk + "b.lnk", "desk b");
    WriteBytes(desk + "doc.txt", "keep");
    WriteBytes(desk + "hid.lnk", "hidden");
    WriteBytes(desk + "sys.lnk", "system");
    ::SetFileAttributesA((desk + "hid.lnk").c_str(), FILE_ATTRIBUTE_HIDDEN);
    ::SetFileAttributesA((desk + "sys.lnk").c_str(), FILE_ATTRIBUTE_SYSTEM);
    WriteBytes(desk + "ro.lnk", "read-only");
    ::SetFileAttributesA((desk + "ro.lnk").c_str(), FILE_ATTRIBUTE_READONLY);
    ::CreateDirectoryA((desk + "dir.lnk").c_str(), nullptr);
    WriteBytes(repo + "a.lnk", "old a");
    WriteBytes(repo + "c.lnk", "repo c");
    WriteBytes(repo + "d.lnk", "repo d");
    WriteBytes(data + "One.dat", "c\r\nmissing\r\nd\r\n");
    WriteBytes(data + "Two.dat", "d\r\n");
    WriteBytes(data + "Off.dat", "a\r\n");

    PlainGroupList list = TickedList({{"Gone", true}, {"Off", false}, {"One", true}, {"Two", true}});
    store().Apply(list);

    EXPECT_EQ(ReadBytes(repo + "a.lnk"), "desk a");
    EXPECT_EQ(ReadBytes(repo + "b.lnk"), "desk b");
    EXPECT_EQ(Sorted(Entries(repo)), (Names{"a.lnk", "b.lnk", "c.lnk", "d.lnk", "ro.lnk"}));
    // A read-only shortcut is copied but can't be deleted.
    EXPECT_EQ(Sorted(Entries(desk)), (Names{"c.lnk", "d.lnk", "dir.lnk", "doc.txt", "hid.lnk", "ro.lnk", "sys.lnk"}));
    EXPECT_EQ(ReadBytes(desk + "d.lnk"), "repo d");
    EXPECT_FALSE(Exists(data + "status.ord"));  // the window saves the ticks once the cursor is back
}

TEST_F(Store, ApplyWithNoTickEmptiesTheDesktop_WithNoGroupTouchesNothing) {
    WriteBytes(desk + "a.lnk", "a");
    ::CreateDirectoryA((desk + StagingFolderName).c_str(), nullptr);
    WriteBytes(desk + StagingFolderName + "\\left.tmp", "a copy cut short");
    PlainGroupList none;
    store().Apply(none);
    EXPECT_EQ(Entries(desk), (Names{"a.lnk"}));  // but the program's leftovers
    EXPECT_TRUE(Entries(repo).empty());
    EXPECT_FALSE(Exists(data + "status.ord"));

    PlainGroupList unticked = TickedList({{"Work", false}});
    store().Apply(unticked);
    EXPECT_TRUE(Entries(desk).empty());
    EXPECT_EQ(Entries(repo), (Names{"a.lnk"}));
}

TEST_F(Store, ApplyNeverJoinsPathCharactersFromGroupFiles) {
    // "..\\secret" would copy <prog>\\secret.lnk to the folder above the Desktop.
    WriteBytes(folders.ProgramFolder + "secret.lnk", "secret");
    WriteBytes(repo + "fine.lnk", "fine");
    WriteBytes(data + "Evil.dat", "..\\secret\r\n../secret\r\n" + folders.ProgramFolder + "secret\r\nfine\r\n");
    PlainGroupList list = TickedList({{"Evil", true}});
    store().Apply(list);
    EXPECT_EQ(Entries(desk), (Names{"fine.lnk"}));
    EXPECT_FALSE(Exists(root + "secret.lnk"));
    EXPECT_EQ(store().ReadGroup("Evil").size(), 4u);  // still read as names
}

TEST_F(Store, ApplyKeepsDesktopShortcutsWhoseCopyFailed) {
    WriteBytes(desk + "locked.lnk", "desk");
    WriteBytes(desk + "fine.lnk", "fine");
    WriteBytes(repo + "locked.lnk", "repo");
    PlainGroupList list = TickedList({{"Work", false}});
    {
        FileHandle lock = Lock(repo + "locked.lnk");
        ASSERT_TRUE(lock);
        store().Apply(list);
    }
    EXPECT_EQ(Entries(desk), (Names{"locked.lnk"}));
    EXPECT_EQ(ReadBytes(repo + "fine.lnk"), "fine");

    // Without a repository nothing can be copied, so nothing leaves the Desktop.
    RemoveTree(repo);
    EXPECT_EQ(1, store().Apply(list).misplaced);
    EXPECT_EQ(ReadBytes(desk + "locked.lnk"), "desk");
}

// Each copy's target folder and mode, in order.
const auto RealCopy = CopyIntoFile;
std::string copies;
bool RecordCopy(const char* from, const char* to, CopyMode mode) {
    copies += std::string(std::strstr(to, "\\repository\\") ? "repo:" : "desk:") +
              (mode == CopyMode::ReplaceDurably ? "durable " : mode == CopyMode::Replace ? "replace " : "keep ");
    return RealCopy(from, to, mode);
}

// Another program reads a file (an indexer, a virus scan, a backup) and lets
// nobody write or delete it meanwhile.
FileHandle HoldOpen(const std::string& path, DWORD sharing) {
    return FileHandle(::CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr));
}

TEST_F(Store, ApplyLosesNoNewerShortcutWhileAnotherProgramReadsOne) {
    for (const char* s : {"a", "b", "c"}) {
        WriteBytes(desk + s + ".lnk", "new "s + s);
        WriteBytes(repo + s + ".lnk", "old "s + s);
    }
    WriteBytes(data + "Work.dat", "a\r\nb\r\nc\r\n");
    PlainGroupList list = TickedList({{"Work", true}});
    {
        // The repository's a can't be replaced: the Desktop's newer a stays and no
        // restore puts the older one over it. The Desktop's b can't be deleted: its
        // copy still refreshes the repository.
        const FileHandle readingA = HoldOpen(repo + "a.lnk", FILE_SHARE_READ);
        const FileHandle readingB = HoldOpen(desk + "b.lnk", FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(readingA && readingB);
        CopyIntoFile = RecordCopy;
        store().Apply(list);
        CopyIntoFile = RealCopy;
    }
    // Only a copy whose original is then deleted pays for reaching the disk first.
    EXPECT_EQ(copies, "repo:durable repo:durable desk:keep desk:keep desk:keep ");
    for (const char* s : {"a", "b", "c"}) EXPECT_EQ(ReadBytes(desk + s + ".lnk"), "new "s + s) << s;
    EXPECT_EQ(ReadBytes(repo + "a.lnk"), "old a");
    EXPECT_EQ(ReadBytes(repo + "b.lnk"), "new b");
    EXPECT_EQ(ReadBytes(repo + "c.lnk"), "new c");

    // Once the reader is gone, the next Apply takes the newest a into the repository.
    store().Apply(list);
    EXPECT_EQ(ReadBytes(repo + "a.lnk"), "new a");
    EXPECT_EQ(ReadBytes(desk + "a.lnk"), "new a");
}

// Stand-ins for a copy cut short after half of the file: a full disk fails the
// copy; a kill ends the program there, leaving the temporary file, and nothing
// after it runs.
struct ProgramKilled {};
bool HalfCopy(const char* from, const char* to, CopyMode) {
    const std::string bytes = ReadBytes(from);
    if (!WritePlain(to, bytes.substr(0, bytes.size() / 2))) {
        ::SetLastError(ERROR_PATH_NOT_FOUND);  // as the real copy says of a missing folder
        return false;
    }
    CopyIntoFile = RealCopy;
    return true;
}
bool FullDisk(const char* from, const char* to, CopyMode mode) {
    if (HalfCopy(from, to, mode)) ::SetLastError(ERROR_DISK_FULL);
    return false;
}
bool Killed(const char* from, const char* to, CopyMode mode) {
    if (HalfCopy(from, to, mode)) throw ProgramKilled();
    return false;
}

TEST_F(Store, ACopyCutShortLeavesNoPartOfAShortcutUnderItsName) {
    const std::string whole(6000, 'w'), newer(7000, 'n');
    PlainGroupList ticked = TickedList({{"G", true}}), unticked = TickedList({{"G", false}});
    for (const auto cut : {FullDisk, Killed}) {
        const auto cutShort = [&](auto action) {
            CopyIntoFile = cut;
            try {
                action();
            } catch (const ProgramKilled&) {
            }
            EXPECT_EQ(CopyIntoFile, RealCopy);  // the copy was cut
        };
        WriteBytes(repo + "a.lnk", whole);
        WriteBytes(repo + "b.lnk", "b");
        WriteBytes(data + "G.dat", "a\r\nb\r\n");
        // A restore cut short, and the next Apply.
        cutShort([&] { store().Apply(ticked); });
        EXPECT_FALSE(Exists(desk + "a.lnk"));
        store().Apply(unticked);
        EXPECT_EQ(ReadBytes(repo + "a.lnk"), whole);
        EXPECT_EQ(Listing(desk), "");

        // A copy into the repository cut short: collecting, and Apply's copy
        // where the move is refused (the file is open without delete sharing).
        WriteBytes(desk + "a.lnk", newer);
        cutShort([&] { store().CollectDesktopShortcuts(); });
        EXPECT_EQ(ReadBytes(repo + "a.lnk"), whole);
        {
            const FileHandle reading = HoldOpen(desk + "a.lnk", FILE_SHARE_READ | FILE_SHARE_WRITE);
            cutShort([&] { store().Apply(unticked); });
        }
        EXPECT_EQ(ReadBytes(repo + "a.lnk"), whole);
        store().Apply(unticked);
        EXPECT_EQ(ReadBytes(repo + "a.lnk"), newer);
        EXPECT_EQ(Listing(desk), "");
        EXPECT_EQ(Listing(repo), "a.lnk b.lnk");
        EXPECT_EQ(Listing(data), "G.dat");
    }

    // A power cut can leave a name with no content: it never replaces the whole
    // shortcut, and the ticked group brings that back.
    WriteBytes(desk + "a.lnk", "");
    store().CollectDesktopShortcuts();
    store().Apply(ticked);
    EXPECT_EQ(ReadBytes(repo + "a.lnk"), newer);
    EXPECT_EQ(ReadBytes(desk + "a.lnk"), newer);
}

TEST_F(Store, ApplyWithoutADesktopFailsAndTouchesNothing) {
    RemoveTree(desk);
    WriteBytes(repo + "a.lnk", "a");
    WriteBytes(data + "Work.dat", "a\r\n");
    PlainGroupList list = TickedList({{"Work", true}, {"Games", false}});
    EXPECT_THROW(store().Apply(list), ListError);
    EXPECT_FALSE(Exists(desk));
    EXPECT_EQ(Listing(repo), "a.lnk");
}

// An updater that rewrites a shortcut at logon can leave it empty for a moment:
// listed empty, it may have content by the time its turn comes.
TEST_F(Store, AShortcutListedEmptyIsJudgedOnTheHandleThatDeletesIt) {
    const struct { const char* name; const char* now; DWORD attributes; const char* kept; } cases[] = {
        {"written", "finished", FILE_ATTRIBUTE_NORMAL, "finished"},
        {"empty", "", FILE_ATTRIBUTE_NORMAL, "whole"},
        {"ro", "", FILE_ATTRIBUTE_READONLY, "whole"}};  // it holds nothing: gone too
    for (const auto& c : cases) {
        const std::string lnk = c.name + ".lnk"s;
        WriteBytes(repo + lnk, "whole");
        WriteBytes(desk + lnk, c.now);
        ::SetFileAttributesA((desk + lnk).c_str(), c.attributes);
        StagingArea staging;
        EXPECT_EQ(0u, store().MoveIntoRepository({lnk, c.attributes == FILE_ATTRIBUTE_READONLY, 0}, staging)) << c.name;
        EXPECT_EQ(c.kept, ReadBytes(repo + lnk)) << c.name;
    }
    EXPECT_EQ("", Listing(desk));
    WriteBytes(data + "G.dat", "ro\r\n");
    store().Apply(TickedList({{"G", true}}));
    EXPECT_EQ("whole", ReadBytes(desk + "ro.lnk"));
}

// A file with the staging folder's name, or a Desktop where no folder may be
// made: the copies wait beside their targets instead.
TEST_F(Store, AFileInTheWayOfTheStagingFolderStopsNoCopy) {
    for (const std::string& folder : {desk, repo}) WriteBytes(folder + StagingFolderName, "in the way");
    WriteBytes(repo + "a.lnk", "a");
    WriteBytes(desk + "b.lnk", "b");
    WriteBytes(data + "G.dat", "a\r\n");
    {
        const FileHandle reading = HoldOpen(desk + "b.lnk", FILE_SHARE_READ | FILE_SHARE_WRITE);
        store().Apply(TickedList({{"G", true}}));
    }
    WriteBytes(desk + "c.lnk", "c");
    store().CollectDesktopShortcuts();
    EXPECT_EQ("a.lnk b.lnk c.lnk", Listing(desk));
    EXPECT_EQ("a.lnk b.lnk c.lnk", Listing(repo));
    EXPECT_EQ("b", ReadBytes(repo + "b.lnk"));
}

TEST_F(Store, ApplySaysHowManyShortcutsItLeftOutOfPlaceAndWhy) {
    for (const char* s : {"a", "b"}) {
        WriteBytes(desk + s + ".lnk", s);
        ::CreateDirectoryA((repo + s + ".lnk").c_str(), nullptr);  // the repository refuses their copies
    }
    WriteBytes(repo + "c.lnk", "c");
    WriteBytes(data + "G.dat", "b\r\nc\r\nmissing\r\n");  // b stays where G wants it; c can't come back
    PlainGroupList list = TickedList({{"G", true}});
    {
        const FileHandle locked = Lock(repo + "c.lnk");
        const ApplyOutcome outcome = store().Apply(list);
        EXPECT_EQ(2, outcome.misplaced);
        EXPECT_EQ("access denied", ReasonInWords(outcome.firstError));
    }
    RemoveTree(repo + "a.lnk\\");
    RemoveTree(repo + "b.lnk\\");
    EXPECT_EQ(0, store().Apply(list).misplaced);
    for (const auto& [error, words] : {std::pair{ERROR_DISK_FULL, "the disk is full"},
                                       {ERROR_SHARING_VIOLATION, "in use by another program"}})
        EXPECT_EQ(words, ReasonInWords(error));
    EXPECT_NE(ReasonInWords(ERROR_DIRECTORY).back(), '.');  // the system's words, as a clause
}

// Tidies at each signal of the watch until `done`, for 20 s at most; the names it took.
Names TidyUntil(DesktopWatch& watch, const std::function<bool()>& done) {
    Names taken;
    const HANDLE handles[] = {watch.Changed(), watch.Due()};
    for (const DWORD end = ::GetTickCount() + 20000; !done() && ::GetTickCount() < end;)
        if (::WaitForMultipleObjects(2, handles, FALSE, 100) != WAIT_TIMEOUT)
            for (auto& name : watch.Tidy([] { return Names{"mail"}; })) taken.push_back(name);
    return taken;
}

// What appears on the watched Desktop goes into the repository once whole,
// unless named, hidden or no shortcut; what was there, or came before a
// restart (Apply's own doing), stays. A Desktop moved away is watched no more.
TEST_F(Store, TheDesktopWatchTakesNewShortcutsOnceWholeAndNoOthers) {
    WriteBytes(desk + "Old.lnk", "old");
    DesktopWatch watch(store());
    WriteBytes(desk + "Hidden.lnk", "h");
    ::SetFileAttributesA((desk + "Hidden.lnk").c_str(), FILE_ATTRIBUTE_HIDDEN);
    for (const char* file : {"Mail.lnk", "notes.txt", "Empty.lnk"}) WriteBytes(desk + file, file[0] == 'E' ? "" : file);
    FileHandle writer(
        ::CreateFileA((desk + "Held.lnk").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(writer.get(), "half", 4, &written, nullptr));
    WriteBytes(desk + "New.lnk", "new");
    EXPECT_EQ(Names{}, TidyUntil(watch, [&] { return !Exists(desk + "New.lnk"); }));
    EXPECT_EQ("Empty.lnk Held.lnk Hidden.lnk Mail.lnk Old.lnk notes.txt", Listing(desk));

    WriteBytes(desk + "Empty.lnk", "filled");
    ASSERT_TRUE(::WriteFile(writer.get(), " and whole", 10, &written, nullptr));
    writer.reset();
    EXPECT_EQ((Names{"Empty", "Held", "New"}), Sorted(TidyUntil(watch, [&] { return !Exists(desk + "Held.lnk"); })));
    EXPECT_EQ("half and whole|filled", ReadBytes(repo + "Held.lnk") + "|" + ReadBytes(repo + "Empty.lnk"));

    WriteBytes(desk + "Restored.lnk", "r");
    watch.Restart();
    WriteBytes(desk + "Later.lnk", "l");
    EXPECT_EQ(Names{"Later"}, TidyUntil(watch, [&] { return !Exists(desk + "Later.lnk"); }));

    const std::string away = root + "away\\";
    ASSERT_TRUE(::MoveFileA(desk.c_str(), away.c_str()));
    WriteBytes(away + "Away.lnk", "a");
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(watch.Changed(), 20000));
    EXPECT_EQ(Names{}, watch.Tidy([] { return Names{}; }));
    ASSERT_TRUE(::MoveFileA(away.c_str(), desk.c_str()));
    watch.Restart();
    WriteBytes(desk + "Back.lnk", "b");
    EXPECT_EQ(Names{"Back"}, TidyUntil(watch, [&] { return !Exists(desk + "Back.lnk"); }));
    EXPECT_EQ("Away.lnk Hidden.lnk Mail.lnk Old.lnk Restored.lnk notes.txt", Listing(desk));
}

TEST_F(Store, AllShortcutsBuildsTheOnlyTickedGroup) {
    WriteBytes(repo + "b.lnk", "b");
    WriteBytes(desk + "A.lnk", "a");
    WriteBytes(desk + "h.lnk", "h");
    ::SetFileAttributesA((desk + "h.lnk").c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteBytes(data + "All shortcuts.dat", "stale\r\n");
    WriteBytes(data + "Work.dat", "");
    PlainGroupList list = TickedList({{"Work", true}});
    store().AllShortcuts(list);
    EXPECT_EQ(ReadBytes(data + "All shortcuts.dat"), "A\r\nb\r\nh\r\n");
    EXPECT_EQ(Ticks(list), "All shortcuts=1 Work=0 ");
    EXPECT_EQ(Sorted(Entries(desk)), (Names{"A.lnk", "h.lnk"}));  // copied, not moved
    EXPECT_FALSE(Exists(data + "status.ord"));

    // When the group can't be written the one already listed is ticked.
    ::SetFileAttributesA((data + "All shortcuts.dat").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteBytes(repo + "c.lnk", "c");
    PlainGroupList older = TickedList({{"all SHORTCUTS", false}, {"Work", true}});
    store().AllShortcuts(older);
    EXPECT_EQ(Ticks(older), "all SHORTCUTS=1 Work=0 ");
    EXPECT_EQ(ReadBytes(data + "All shortcuts.dat"), "A\r\nb\r\nh\r\n");
}

TEST_F(Store, LoadStatusReadsTicksByTheFileRules) {
    PlainGroupList list = TickedList({{"Games", false}, {"work", false}, {"New", false}});
    store().LoadStatus(list);
    EXPECT_EQ(Ticks(list), "Games=0 work=0 New=0 ");  // no file: nothing changes

    WriteBytes(data + "status.ord", "");
    store().LoadStatus(list);
    EXPECT_EQ(Ticks(list), "Games=1 work=1 New=1 ");  // no section: everything ticked

    WriteBytes(data + "status.ord", "[STATUS]\nGames=00\rWork=0\r\n");
    store().LoadStatus(list);
    EXPECT_EQ(Ticks(list), "Games=0 work=1 New=1 ");

    PlainGroupList values = TickedList({{"a", true}, {"b", true}, {"c", false}, {"d", false}, {"e", false}});
    WriteBytes(data + "status.ord", "[Status]\r\na=-0\r\nb=0\r\nc=0x1\r\nd=$1\r\ne=yes\r\n");
    store().LoadStatus(values);
    EXPECT_EQ(Ticks(values), "a=0 b=0 c=1 d=1 e=1 ");
}

TEST_F(Store, SaveStatusEditsTheFileInPlace) {
    PlainGroupList empty;
    WriteBytes(data + "status.ord", "untouched");
    store().SaveStatus(empty);
    EXPECT_EQ(ReadBytes(data + "status.ord"), "untouched");

    WriteBytes(data + "status.ord", "[Status]\r\nWork=1\r\n\r\n[Other]\r\nx=1\r\n");
    PlainGroupList list = TickedList({{"work", true}, {"Games", false}});
    store().SaveStatus(list);
    EXPECT_EQ(ReadBytes(data + "status.ord"), "[Status]\r\nWork=1\r\n\r\nwork=1\r\nGames=0\r\n[Other]\r\nx=1\r\n");

    list.SetChecked(0, false);
    store().SaveStatus(list);
    EXPECT_EQ(ReadBytes(data + "status.ord"), "[Status]\r\nWork=1\r\n\r\nwork=0\r\nGames=0\r\n[Other]\r\nx=1\r\n");
    EXPECT_EQ(Sorted(Entries(data)), (Names{"status.ord"}));

    // A file that can't be replaced keeps what it had; nothing is reported.
    {
        FileHandle lock = Lock(data + "status.ord");
        list.SetChecked(1, true);
        store().SaveStatus(list);
    }
    EXPECT_EQ(ReadBytes(data + "status.ord"), "[Status]\r\nWork=1\r\n\r\nwork=0\r\nGames=0\r\n[Other]\r\nx=1\r\n");
    EXPECT_EQ(Sorted(Entries(data)), (Names{"status.ord"}));

    // The ticks as stored: the file is not written again, so its time stays.
    list.SetChecked(1, false);
    const FILETIME old{0x12345678, 0x01C00000};
    {
        FileHandle file(::CreateFileA((data + "status.ord").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                      0, nullptr));
        ASSERT_TRUE(::SetFileTime(file.get(), nullptr, nullptr, &old));
    }
    store().SaveStatus(list);
    WIN32_FILE_ATTRIBUTE_DATA info{};
    ASSERT_TRUE(::GetFileAttributesExA((data + "status.ord").c_str(), GetFileExInfoStandard, &info));
    EXPECT_EQ(::CompareFileTime(&info.ftLastWriteTime, &old), 0);
}

// Names outside the ANSI code page (1252 here), in a folder named so too that
// the Desktop's registry value names and the program lies in.
TEST_F(Store, NamesOfEveryScriptAreMovedGroupedAndBroughtBack) {
    const std::string greek = "\xCE\xA9mega", japanese = "\xE6\x97\xA5\xE6\x9C\xAC", folder = root + "\xCE\x94\xCE\xAD";
    const std::wstring wide = Widen(folder);
    const TempKey key;
    ASSERT_TRUE(::CreateDirectoryW(wide.c_str(), nullptr));
    ::RegSetKeyValueW(HKEY_CURRENT_USER, Widen(key.path()).c_str(), L"Desktop", REG_SZ, wide.c_str(), 2 * wide.size() + 2);
    const GroupStore store(ResolveFolders(folder + "\\zepton.exe", key.path()));
    for (const std::string& s : {greek, japanese, "plain"s}) WriteBytes(store.DesktopShortcut(s), s);
    store.Apply(TickedList({{"None", false}}));
    store.SaveGroup(greek, store.ListRepository());
    EXPECT_EQ(ReadBytes(store.GroupFile(greek)), JoinLines({"plain", greek, japanese}));  // in UTF-8
    const PlainGroupList list = TickedList({{greek.c_str(), true}});
    store.Apply(list);
    EXPECT_EQ(Listing(folder + "\\"), "data plain.lnk repository " + greek + ".lnk " + japanese + ".lnk");
    store.SaveStatus(list);
    EXPECT_EQ(ReadBytes(store.folders().StatusFile), "\r\n[Status]\r\n" + greek + "=1\r\n");
}

// Files in the code page, as earlier runs wrote them: read as their names and
// written back byte for byte while every name fits the code page.
TEST_F(Store, CodePageFilesKeepTheirBytes) {
    const std::string cafe = "Caf\xC3\xA9";
    WriteBytes(data + "Old.dat", "Caf\xE9\r\nx\r\n");
    EXPECT_EQ(store().ReadGroup("Old"), (Names{cafe, "x"}));
    store().SaveGroup("Old", {"x", cafe});
    EXPECT_EQ(ReadBytes(data + "Old.dat"), "x\r\nCaf\xE9\r\n");
    WriteBytes(data + "status.ord", "[Status]\r\nCaf\xE9=0\r\n");
    PlainGroupList list = TickedList({{cafe.c_str(), true}, {"x", false}});
    store().LoadStatus(list);
    store().SaveStatus(list);
    EXPECT_EQ(ReadBytes(data + "status.ord"), "[Status]\r\nCaf\xE9=0\r\nx=1\r\n");

    // In the code page "CAF\xC3\x89\xE2\x80\xA6" is C9 85 and "Caf\xC3\x83\xC2\xA9" is C3 A9, both valid UTF-8 by chance.
    const std::string capital = "CAF\xC3\x89\xE2\x80\xA6", twice = "Caf\xC3\x83\xC2\xA9";
    store().SaveGroup("Chance", {capital, twice});
    EXPECT_EQ(store().ReadGroup("Chance"), (Names{capital, twice}));
    PlainGroupList chance = TickedList({{capital.c_str(), false}, {twice.c_str(), false}});
    ::DeleteFileA((data + "status.ord").c_str());
    store().SaveStatus(chance);
    chance = TickedList({{capital.c_str(), true}, {twice.c_str(), true}});
    store().LoadStatus(chance);
    EXPECT_EQ(Ticks(chance), capital + "=0 " + twice + "=0 ");
    // As an earlier version wrote them: the names that exist tell which reading was meant.
    for (const std::string& s : {capital, "Caf\xC3\xA9"s}) WriteBytes(repo + s + ".lnk", s);
    WriteBytes(data + "Old.dat", "CAF\xC9\x85\r\nCaf\xC3\xA9\r\n");
    EXPECT_EQ(store().ReadGroup("Old"), (Names{capital, "Caf\xC3\xA9"}));
    WriteBytes(data + "status.ord", "[Status]\r\nCAF\xC9\x85=0\r\nCaf\xC3\xA9=0\r\n");
    store().LoadStatus(chance);
    EXPECT_EQ(Ticks(chance), capital + "=0 " + twice + "=0 ");
}

TEST_F(Store, IniFileWritesTheWholeFileOnEveryWrite) {
    const std::string path = data + "settings.ini";
    TIniFile32 fresh(path);
    EXPECT_FALSE(Exists(path));
    EXPECT_EQ(fresh.ReadInteger("S", "n", 7), 7);
    fresh.WriteString("S", "n", "$10");
    EXPECT_EQ(ReadBytes(path), "\r\n[S]\r\nn=$10\r\n");
    fresh.WriteBool("S", "b", false);
    EXPECT_EQ(ReadBytes(path), "\r\n[S]\r\nn=$10\r\nb=0\r\n");

    WriteBytes(path, "[s]\nn=0x20\n");
    const TIniFile32 reread(path);
    EXPECT_EQ(reread.ReadInteger("S", "n", 7), 32);
    EXPECT_EQ(reread.ReadString("S", "n", ""), "0x20");
    EXPECT_FALSE(reread.ReadBool("S", "b", false));
}

}  // namespace
}  // namespace zep::test
