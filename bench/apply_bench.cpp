// How much Apply and SaveStatus cost over the bare file operations they do:
// Apply against the same files taken off the Desktop in a plain loop, once by
// copying and deleting and once by renaming, the same group shortcuts copied
// back in both; restores alone onto an empty Desktop against plain copies;
// SaveStatus against one plain write of the same bytes.
#include "bench/BenchTiming.h"
#include "core/FileSystem.h"
#include "core/GroupStore.h"
#include "testing/TempFolder.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using zep::Names;
using zep::bench::Median;
using zep::bench::Now;

constexpr int DesktopCount = 2000, RepositoryCount = 5000, GroupCount = 10, GroupSize = 100;
constexpr int StatusGroups = 1000, Rounds = 5, StatusRounds = 50;

void WriteBytes(const std::string& path, const std::string& bytes) {
    if (!zep::test::WritePlain(path, bytes)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

std::string Numbered(const char* prefix, int i) {
    char name[32];
    std::snprintf(name, sizeof name, "%s%04d", prefix, i);
    return name;
}

struct Bench {
    zep::Folders folders;
    Names desktop;   // file names put on the Desktop before each round
    Names restored;  // shortcut names the ticked groups bring back
    const std::string shortcut = std::string(200, 'L');  // a small dummy .lnk

    // The Desktop as a user left it: the repository holds older copies of its shortcuts.
    void FillDesktop() const {
        zep::test::RemoveTree(folders.DesktopFolder);
        ::CreateDirectoryA(folders.DesktopFolder.c_str(), nullptr);
        for (const auto& f : desktop) WriteBytes(folders.DesktopFolder + f, shortcut);
    }

    double TimeApply(zep::GroupList& groups) const {
        FillDesktop();
        const double start = Now();
        zep::GroupStore(folders).Apply(groups);
        return Now() - start;
    }

    // The same work in a plain loop, each Desktop file taken away by `takeAway`.
    template <class TakeAway>
    double TimePlainLoop(TakeAway takeAway) const {
        FillDesktop();
        const double start = Now();
        for (const auto& f : desktop) takeAway(folders.DesktopFolder + f, folders.RepositoryFolder + f);
        for (const auto& name : restored)
            ::CopyFileA((folders.RepositoryFolder + name + ".lnk").c_str(),
                        (folders.DesktopFolder + name + ".lnk").c_str(), FALSE);
        return Now() - start;
    }
};

void CopyAndDelete(const std::string& from, const std::string& to) {
    ::CopyFileA(from.c_str(), to.c_str(), FALSE);
    ::DeleteFileA(from.c_str());
}

void Rename(const std::string& from, const std::string& to) {
    ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED);
}

void Report(const char* title, double measured, double plain, double target) {
    zep::bench::Report(title, measured, "plain file operations", plain, target);
}

}  // namespace

int main() {
    const std::string root = zep::test::MakeTempFolder("zepton-bench-");
    Bench b;
    b.folders.ProgramFolder = root + "prog\\";
    b.folders.DesktopFolder = root + "desktop\\";
    b.folders.DataFolder = b.folders.ProgramFolder + "data\\";
    b.folders.RepositoryFolder = b.folders.ProgramFolder + "repository\\";
    b.folders.StatusFile = b.folders.DataFolder + "status.ord";
    for (const auto* f : {&b.folders.ProgramFolder, &b.folders.DataFolder, &b.folders.RepositoryFolder})
        ::CreateDirectoryA(f->c_str(), nullptr);

    for (int i = 0; i < RepositoryCount; ++i) WriteBytes(b.folders.RepositoryFolder + Numbered("s", i) + ".lnk", b.shortcut);
    for (int i = 0; i < DesktopCount; ++i) b.desktop.push_back(Numbered("s", i) + ".lnk");
    const zep::GroupStore store(b.folders);
    zep::PlainGroupList groups;
    for (int g = 0; g < GroupCount; ++g) {
        Names names;
        for (int i = 0; i < GroupSize; ++i) names.push_back(Numbered("s", DesktopCount + g * GroupSize + i));
        b.restored.insert(b.restored.end(), names.begin(), names.end());
        store.SaveGroup(Numbered("Group ", g), names);
        groups.Add(Numbered("Group ", g));
        groups.SetChecked(g, true);
    }

    std::vector<double> apply, copied, renamed;
    for (int r = 0; r < Rounds; ++r) {
        apply.push_back(b.TimeApply(groups));
        copied.push_back(b.TimePlainLoop(CopyAndDelete));
        renamed.push_back(b.TimePlainLoop(Rename));
    }
    std::printf("Apply: %d shortcuts on the Desktop, %d in the repository, %d restored by %d groups"
                " (median of %d rounds)\n", DesktopCount, RepositoryCount, GroupCount * GroupSize, GroupCount, Rounds);
    std::printf("  %-22s %9.2f ms\n  %-22s %9.2f ms\n  %-22s %9.2f ms\n", "Apply", Median(apply) * 1e3,
                "copy-and-delete loop", Median(copied) * 1e3, "rename loop", Median(renamed) * 1e3);
    std::printf("  %-22s %9.2f   (target <= 0.6)\n  %-22s %9.2f   (target <= 1.2)\n", "ratio to copy-and-delete",
                Median(apply) / Median(copied), "ratio to renames", Median(apply) / Median(renamed));

    // Each restore brings a whole file into place under its name, never a part of one.
    Bench restoresOnly = b;
    restoresOnly.desktop.clear();
    std::vector<double> restoring, plainCopies;
    for (int r = 0; r < Rounds; ++r) {
        restoring.push_back(restoresOnly.TimeApply(groups));
        plainCopies.push_back(restoresOnly.TimePlainLoop(CopyAndDelete));
    }
    std::printf("Restores: %d shortcuts onto an empty Desktop (median of %d rounds)\n", GroupCount * GroupSize, Rounds);
    Report("Apply", Median(restoring), Median(plainCopies), 1.5);

    zep::PlainGroupList many;
    for (int g = 0; g < StatusGroups; ++g) {
        many.Add(Numbered("Group ", g));
        many.SetChecked(g, g % 3 == 0);
    }
    ::DeleteFileA(b.folders.StatusFile.c_str());
    store.SaveStatus(many);  // the file as it is after the first save
    const std::string bytes = zep::ReadWholeFile(b.folders.StatusFile);
    const std::string plainPath = b.folders.DataFolder + "plain.ord";
    std::vector<double> save, unchanged, write, replace;
    for (int r = 0; r < StatusRounds; ++r) {
        // Every tick flipped, so each round really rewrites the file...
        for (int g = 0; g < StatusGroups; ++g) many.SetChecked(g, !many.Checked(g));
        double start = Now();
        store.SaveStatus(many);
        save.push_back(Now() - start);
        // ...and the same ticks again, as at most starts and closes.
        start = Now();
        store.SaveStatus(many);
        unchanged.push_back(Now() - start);
        start = Now();
        WriteBytes(plainPath, bytes);
        write.push_back(Now() - start);
        // What any save that keeps other lines and never leaves a half-written file must do.
        start = Now();
        zep::StagingArea().Replace(plainPath, zep::ReadWholeFile(plainPath));
        replace.push_back(Now() - start);
    }
    std::printf("SaveStatus: %d groups, %zu bytes (median of %d rounds)\n", StatusGroups, bytes.size(), StatusRounds);
    Report("SaveStatus", Median(save), Median(write), 2.0);
    Report("SaveStatus, unchanged", Median(unchanged), Median(write), 2.0);
    std::printf("  %-22s %9.2f ms   (ratio %.2f)\n", "read + safe replace", Median(replace) * 1e3,
                Median(replace) / Median(write));
    std::printf("  %-22s %9.2f   (target <= 1.2)\n", "SaveStatus / that", Median(save) / Median(replace));

    zep::test::RemoveTree(root);
    return 0;
}
