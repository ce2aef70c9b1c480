// Every window at 144 dots per inch against the same window at 96: each
// control keeps its relative place, fonts grow with it, and no text is cut.
// The display's dots per inch are read once per process, so the 144-dpi
// windows are made by a second run of this program, started with Wine's
// LogPixels at 144 and asked for their layout.
#include "core/Registry.h"
#include "tests/windows/CoreSandbox.h"
#include "tests/windows/ToolkitHarness.h"
#include "toolkit/Scaling.h"
#include "toolkit/StdCtrls.h"
#include "ui/ContentUnit.h"
#include "ui/InfoUnit.h"
#include "ui/MainUnit.h"
#include "ui/Unit1.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace zep::test {
namespace {

const char* const kLayoutOption = "--layout-to=";

// Where one control sits and how its text fits, as one line of text.
struct Placed {
    std::string form;
    int left = 0, top = 0, width = 0, height = 0, font = 0;
    bool textFits = true;
};

// The text of a control fits when its caption, and a line of its font, fit inside it.
bool TextFits(TControl& control) {
    WindowDC screen(nullptr);
    SelectedObject font(screen.dc, control.Font().Handle());
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(screen.dc, &metrics);
    if (auto* list = dynamic_cast<TCustomListBox*>(&control)) return metrics.tmHeight <= list->ItemHeight();
    if (control.Caption().empty()) return true;
    SIZE extent{};
    ::GetTextExtentPoint32A(screen.dc, control.Caption().c_str(), static_cast<int>(control.Caption().size()), &extent);
    return extent.cx <= control.Width() && metrics.tmHeight <= control.Height();
}

std::vector<Placed> LayoutOf(const TForm& form, const std::string& name) {
    std::vector<Placed> placed{{name, 0, 0, form.ClientWidth(), form.ClientHeight(), 0, true}};
    form.ForEachComponent([&](TComponent& c) {
        if (auto* control = dynamic_cast<TControl*>(&c))
            placed.push_back({name, control->Left(), control->Top(), control->Width(), control->Height(),
                              control->Font().Height(), TextFits(*control)});
    });
    return placed;
}

// Makes the program's four windows on throwaway folders and keys, as the program does.
class Windows : public Sandbox {
public:
    std::vector<Placed> Layout() {
        MainFormEnvironment e;
        e.exePath = folders.ProgramFolder + "zepton.exe";
        e.shellFoldersKey = "\\" + key.Sub("Shell Folders");
        e.settingsKeys = {HKEY_CURRENT_USER, "\\" + key.Sub("Setup"), HKEY_CURRENT_USER, key.Sub("Run"),
                          HKEY_CURRENT_USER, key.Sub("UserRun")};
        WriteText(OpenKey(HKEY_CURRENT_USER, key.Sub("Shell Folders"), true).get(), "Desktop",
                  desk.substr(0, desk.size() - 1));
        WriteBytes(folders.DataFolder + "Work.dat", "Mail\r\n");
        const auto main = MakeForm<TMainForm>(nullptr, e);
        MainForm = main.get();
        const auto groups = MakeForm<TForm1>(nullptr);
        const auto preview = MakeForm<TContentForm>(nullptr);
        const auto about = MakeForm<TInfoForm>(nullptr);
        std::vector<Placed> all;
        for (auto [form, name] : {std::pair<TForm*, const char*>{main.get(), "main"}, {groups.get(), "groups"},
                                  {preview.get(), "preview"}, {about.get(), "about"}}) {
            const auto placed = LayoutOf(*form, name);
            all.insert(all.end(), placed.begin(), placed.end());
        }
        MainForm = nullptr;
        return all;
    }
    void TestBody() override {}

private:
    TempKey key;
};

std::string Serialize(const std::vector<Placed>& layout) {
    std::ostringstream out;
    for (const Placed& p : layout)
        out << p.form << ' ' << p.left << ' ' << p.top << ' ' << p.width << ' ' << p.height << ' ' << p.font << ' '
            << p.textFits << '\n';
    return out.str();
}

std::vector<Placed> Parse(const std::string& text) {
    std::vector<Placed> layout;
    std::istringstream in(text);
    Placed p;
    while (in >> p.form >> p.left >> p.top >> p.width >> p.height >> p.font >> p.textFits) layout.push_back(p);
    return layout;
}

// Runs this program again with the display at `dpi` and returns the layout it found.
std::vector<Placed> LayoutAt(int dpi, const std::string& file) {
    const char* const desktop = "Control Panel\\Desktop";
    const RegKey key = OpenKey(HKEY_CURRENT_USER, desktop, true);
    const std::optional<std::int32_t> before = ReadDword(key.get(), "LogPixels");
    WriteDword(key.get(), "LogPixels", dpi);
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = "\"" + std::string(self) + "\" " + kLayoutOption + file;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const bool started = ::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    if (started) {
        ::WaitForSingleObject(pi.hProcess, 120000);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
    if (before)
        WriteDword(key.get(), "LogPixels", *before);
    else
        ::RegDeleteValueA(key.get(), "LogPixels");
    return Parse(ReadBytes(file));
}

TEST(Scaling, At144DpiEveryControlKeepsItsRelativePlaceAndNoTextIsCut) {
    InitApplication();
    ASSERT_EQ(96, ScreenDpi()) << "the test starts at 96 dots per inch";
    const std::vector<Placed> at96 = Windows().Layout();
    const std::string file = MakeTempFolder("zepdpi-") + "layout.txt";
    const std::vector<Placed> at144 = LayoutAt(144, file);
    RemoveTree(file.substr(0, file.size() - std::string("layout.txt").size()));

    ASSERT_EQ(at96.size(), at144.size()) << Serialize(at144);
    const auto scaled = [](int pixels) { return ::MulDiv(pixels, 144, 96); };
    int across = 0, down = 0;  // 2% of the window's client area: what text and frames may move a control
    for (std::size_t i = 0; i < at96.size(); ++i) {
        const Placed &a = at96[i], &b = at144[i];
        const std::string what = b.form + " #" + std::to_string(i);
        ASSERT_EQ(a.form, b.form) << what;
        if (i == 0 || at96[i - 1].form != a.form) {
            EXPECT_EQ(scaled(a.width), b.width) << what;
            EXPECT_EQ(scaled(a.height), b.height) << what;
            across = std::max(1, b.width / 50);
            down = std::max(1, b.height / 50);
        }
        EXPECT_TRUE(a.textFits) << what << " at 96 dpi";
        EXPECT_TRUE(b.textFits) << what << " at 144 dpi";
        EXPECT_NEAR(scaled(a.left), b.left, across) << what;
        EXPECT_NEAR(scaled(a.top), b.top, down) << what;
        EXPECT_NEAR(scaled(a.width), b.width, across) << what;
        EXPECT_NEAR(scaled(a.height), b.height, down) << what;
        EXPECT_EQ(scaled(a.font), b.font) << what;
    }
}

}  // namespace
}  // namespace zep::test

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind(zep::test::kLayoutOption, 0) != 0) continue;
        // The second run: make the windows at this display's scale and say where everything went.
        zep::test::InitApplication();
        std::ofstream(arg.substr(std::string(zep::test::kLayoutOption).size()), std::ios::binary)
            << zep::test::Serialize(zep::test::Windows().Layout());
        return 0;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
