#include "quarvel_window.h"

#include <gtest/gtest.h>

#include "build_paths.h"

// Parents come before their children.
const std::vector<ControlPlace> kMainWindowLayout = {
    {"Button1", "Button", "", 141, 381, 154, 25, 141, 381, true},
    {"GroupBox1", "TGroupBox", "", 8, 104, 393, 85, 8, 104, false},
    {"GroupBox2", "TGroupBox", "", 7, 200, 394, 83, 7, 200, false},
    {"PanelB13", "TPanel", "", 240, 136, 73, 17, 240, 136, false},
    {"PanelB14", "TPanel", "", 320, 136, 73, 17, 320, 136, false},
    {"Panel17", "TPanel", "", 96, 16, 209, 25, 96, 16, false},
    {"Panel18", "TPanel", "", 312, 16, 73, 25, 312, 16, false},
    {"StaticText1", "Static", "", 107, 51, 261, 17, 107, 51, false},
    {"StaticText2", "Static", "", 107, 68, 248, 17, 107, 68, false},
    {"StaticText3", "Static", "", 9, 299, 44, 17, 9, 299, false},
    {"PStatus", "TPanel", "", 55, 295, 337, 22, 55, 295, false},
    {"CheckBox1", "Button", "", 56, 317, 321, 25, 56, 317, true},
    {"Panel1", "TPanel", "", 96, 341, 241, 20, 96, 341, false},
    {"PanelB11", "TPanel", "GroupBox1", 72, 32, 73, 17, 80, 136, false},
    {"PanelB12", "TPanel", "GroupBox1", 152, 32, 73, 17, 160, 136, false},
    {"PanelB21", "TPanel", "GroupBox1", 72, 56, 73, 17, 80, 160, false},
    {"PanelB22", "TPanel", "GroupBox1", 152, 56, 73, 17, 160, 160, false},
    {"PanelB23", "TPanel", "GroupBox1", 232, 56, 73, 17, 240, 160, false},
    {"PanelB24", "TPanel", "GroupBox1", 312, 56, 73, 17, 320, 160, false},
    {"PanelA11", "TPanel", "GroupBox2", 72, 32, 73, 17, 79, 232, false},
    {"PanelA21", "TPanel", "GroupBox2", 72, 56, 73, 17, 79, 256, false},
    {"PanelA22", "TPanel", "GroupBox2", 152, 56, 73, 17, 159, 256, false},
    {"PanelA12", "TPanel", "GroupBox2", 152, 32, 73, 17, 159, 232, false},
    {"PanelA23", "TPanel", "GroupBox2", 232, 56, 73, 17, 239, 256, false},
    {"PanelA24", "TPanel", "GroupBox2", 312, 56, 73, 17, 319, 256, false},
    {"PanelA13", "TPanel", "GroupBox2", 232, 32, 73, 17, 239, 232, false},
    {"PanelA14", "TPanel", "GroupBox2", 312, 32, 73, 17, 319, 232, false},
};

const char* const kBefore1[4] = {"PanelB11", "PanelB12", "PanelB13", "PanelB14"};
const char* const kBefore2[4] = {"PanelB21", "PanelB22", "PanelB23", "PanelB24"};
const char* const kAfter1[4] = {"PanelA11", "PanelA12", "PanelA13", "PanelA14"};
const char* const kAfter2[4] = {"PanelA21", "PanelA22", "PanelA23", "PanelA24"};

namespace {

bool SameRect(const RECT& r, const ControlPlace& place)
{
    return r.left == place.left && r.top == place.top && r.right - r.left == place.width &&
           r.bottom - r.top == place.height;
}

// Each designed control, found among the window's descendants by its parent and place.
std::map<std::string, HWND> FindControls(HWND window)
{
    std::map<std::string, HWND> found{{"", window}};
    const std::vector<harness::Control> all = harness::Descendants(window);
    for (const ControlPlace& place : kMainWindowLayout) {
        for (const harness::Control& c : all) {
            if (GetAncestor(c.hwnd, GA_PARENT) == found[place.parent] &&
                SameRect(c.in_parent, place))
                found[place.name] = c.hwnd;
        }
    }
    found.erase("");
    return found;
}

}  // namespace

QuarvelFolder::QuarvelFolder() { CopyIn(QUARVEL_EXE); }

bool QuarvelFolder::SetUpLibrary(sim::Build build, const sim::Config& config) const
{
    return sim::SetUpFolder(path(), build, config);
}

sim::Registers QuarvelFolder::Registers() const
{
    sim::Registers registers;
    EXPECT_TRUE(sim::ReadRegisters(path(), registers));
    return registers;
}

std::vector<sim::JournalEntry> QuarvelFolder::Journal() const { return sim::ReadJournal(path()); }

QuarvelRun::QuarvelRun(const harness::TempFolder& folder, std::vector<std::string> args)
    : process({folder / "Quarvel.exe", std::move(args), folder.path(),
               "user32.MessageBeep;kernel32.FreeLibrary"}),
      window(process.WaitForWindow("TForm1", "Quarvel", 20000))
{
    if (window)
        controls = FindControls(window);
}

harness::Control QuarvelRun::Inspect(const std::string& name) const
{
    auto found = controls.find(name);
    if (found == controls.end()) {
        ADD_FAILURE() << "no control " << name << " at its designed place";
        return {};
    }
    return harness::Inspect(found->second);
}

std::string QuarvelRun::Text(const std::string& name) const { return Inspect(name).text; }

void QuarvelRun::Click(const std::string& name) const
{
    PostMessageA(Inspect(name).hwnd, BM_CLICK, 0, 0);
}

void QuarvelRun::PressCloseBox() const { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

bool QuarvelRun::CloseAndWait()
{
    PressCloseBox();
    return process.WaitForExit(15000);
}

std::vector<std::string> Beeps(const std::vector<std::string>& calls)
{
    std::vector<std::string> beeps;
    const std::string call = "user32.MessageBeep(";
    for (const std::string& c : calls) {
        if (c.compare(0, call.size(), call) == 0)
            beeps.push_back(c.substr(call.size(), c.size() - call.size() - 1));
    }
    return beeps;
}
