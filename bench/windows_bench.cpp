// The two windows' big showings against the plain work they are built from:
// Groups Configuration over 5,000 shortcuts (200 more on the Desktop to collect)
// against the same copies and listing done directly plus filling a bare list box;
// the preview of 100 groups of 100 names, half of them shared, against reading
// the same files and sorting the names directly.
#include "bench/BenchTiming.h"
#include "core/CompareText.h"
#include "core/FileSystem.h"
#include "testing/TempFolder.h"
#include "ui/ContentUnit.h"
#include "ui/Unit1.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using zep::Names;
using zep::bench::Median;
using zep::bench::Now;

constexpr int RepositoryCount = 5000, DesktopCount = 200, Groups = 100, GroupSize = 100, Rounds = 7;

std::string Numbered(const char* prefix, int i) {
    char name[48];
    std::snprintf(name, sizeof name, "%s %04d", prefix, i);
    return name;
}

void Write(const std::string& path, const std::string& bytes) {
    if (!zep::test::WritePlain(path, bytes)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

zep::Folders MakeFolders() {
    zep::Folders f;
    f.ProgramFolder = zep::test::MakeTempFolder("zepwinbench-");
    f.DesktopFolder = f.ProgramFolder + "desk\\";
    f.DataFolder = f.ProgramFolder + "data\\";
    f.RepositoryFolder = f.ProgramFolder + "repository\\";
    f.StatusFile = f.DataFolder + "status.ord";
    for (const auto* folder : {&f.DesktopFolder, &f.DataFolder, &f.RepositoryFolder})
        ::CreateDirectoryA(folder->c_str(), nullptr);
    return f;
}

// A plain list box in a plain window, filled the fast way.
struct BareList {
    HWND window = ::CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 220, nullptr,
                                    nullptr, nullptr, nullptr);
    HWND list = ::CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 5, 5,
                                  177, 185, window, nullptr, nullptr, nullptr);
    ~BareList() { ::DestroyWindow(window); }
    void Fill(const Names& names) const {
        ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
        ::SendMessageA(list, LB_INITSTORAGE, names.size(), static_cast<LPARAM>(names.size() * 16));
        for (const auto& n : names) ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(n.c_str()));
        ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(list, nullptr, TRUE);
        ::UpdateWindow(list);
    }
};

// Listing a folder as the program does, the plain way: find, keep, sort.
Names PlainListing(const std::string& folder) {
    Names names;
    WIN32_FIND_DATAA found;
    zep::FindHandle find(::FindFirstFileA((folder + "*.lnk").c_str(), &found));
    if (find) do {
            std::string name = found.cFileName;
            name.resize(name.size() - 4);
            names.push_back(std::move(name));
        } while (::FindNextFileA(find.get(), &found));
    std::sort(names.begin(), names.end(), zep::LessTextNoCase);
    return names;
}

void BenchGroupsConfiguration(const zep::Folders& f) {
    const std::string shortcut(200, 'L');
    for (int i = 0; i < RepositoryCount; ++i) Write(f.RepositoryFolder + Numbered("Shortcut", i) + ".lnk", shortcut);
    for (int i = 0; i < DesktopCount; ++i) Write(f.DesktopFolder + Numbered("Desktop", i) + ".lnk", shortcut);
    const zep::GroupStore store(f);
    zep::PlainGroupList groups;
    const auto made = zep::MakeForm<zep::TForm1>(nullptr);
    zep::TForm1& form = *made;
    form.Attach(store, groups);
    BareList bare;

    std::vector<double> shown, plain;
    for (int round = 0; round < Rounds; ++round) {
        double start = Now();
        form.Show();  // the tool button's work, less the modal loop
        ::UpdateWindow(form.Handle());
        ::UpdateWindow(form.ListBox1->Handle());
        shown.push_back(Now() - start);
        form.Hide();
        zep::Application().ProcessMessages();

        start = Now();
        WIN32_FIND_DATAA found;
        zep::FindHandle find(::FindFirstFileA((f.DesktopFolder + "*.lnk").c_str(), &found));
        if (find) do {
                ::CopyFileA((f.DesktopFolder + found.cFileName).c_str(), (f.RepositoryFolder + found.cFileName).c_str(),
                            FALSE);
            } while (::FindNextFileA(find.get(), &found));
        bare.Fill(PlainListing(f.RepositoryFolder));
        plain.push_back(Now() - start);
    }
    std::printf("Groups Configuration shown: %d shortcuts in the repository, %d collected from the Desktop "
                "(median of %d rounds)\n", RepositoryCount, DesktopCount, Rounds);
    zep::bench::Report("click to painted window", Median(shown), "copies, listing, bare list", Median(plain), 1.3);
}

void BenchPreview(const zep::Folders& f) {
    zep::PlainGroupList groups;
    for (int g = 0; g < Groups; ++g) {
        std::string lines;
        for (int i = 0; i < GroupSize / 2; ++i) lines += Numbered("Shared", i) + "\r\n";
        for (int i = 0; i < GroupSize / 2; ++i) lines += Numbered(Numbered("Group", g).c_str(), i) + "\r\n";
        const std::string name = Numbered("Group", g);
        Write(f.DataFolder + name + ".dat", lines);
        groups.Add(name);
        groups.SetChecked(g, true);
    }
    const zep::GroupStore store(f);
    const auto made = zep::MakeForm<zep::TContentForm>(nullptr);
    zep::TContentForm& form = *made;
    // Painted, then closed at once: the time runs to the painted window, not its hiding.
    double painted = 0;
    form.OnShow = [&form, &painted](zep::TObject*) {
        ::UpdateWindow(form.Handle());
        ::UpdateWindow(form.ContentListBox->Handle());
        painted = Now();
        form.Close();
    };

    std::vector<double> shown, plain;
    std::size_t count = 0;
    for (int round = 0; round < Rounds; ++round) {
        double start = Now();
        form.Preview(store, groups);
        shown.push_back(painted - start);
        zep::Application().ProcessMessages();

        start = Now();
        Names names;
        for (int g = 0; g < groups.Count(); ++g)
            for (auto& n : zep::SplitLines(zep::ReadWholeFile(f.DataFolder + groups.Name(g) + ".dat")))
                names.push_back(std::move(n));
        std::sort(names.begin(), names.end(), zep::LessTextNoCase);
        names.erase(std::unique(names.begin(), names.end(), zep::SameTextNoCase), names.end());
        plain.push_back(Now() - start);
        count = names.size();
    }
    std::printf("Preview: %d ticked groups of %d names, %zu different (median of %d rounds)\n", Groups, GroupSize,
                count, Rounds);
    zep::bench::Report("gather and show", Median(shown), "read and sort", Median(plain), 1.3);
}

}  // namespace

int main() {
    zep::Application().Initialize();
    zep::Application().SetTitle("Zepton");
    const zep::Folders folders = MakeFolders();
    BenchGroupsConfiguration(folders);
    std::printf("\n");
    BenchPreview(folders);
    zep::test::RemoveTree(folders.ProgramFolder);
    return 0;
}
