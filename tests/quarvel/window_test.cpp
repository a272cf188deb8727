// Quarvel.exe's main window as a user meets it, from outside the program: where it opens, its
// frame, every windowed control's place, text and state, the keyboard focus, and closing.
#include <gtest/gtest.h>

#include <map>

#include "build_paths.h"
#include "harness.h"

namespace {

struct Expected {
    const char* name;
    const char* cls;
    const char* text;
    const char* parent;  // "" for the window itself
    int left, top, width, height;  // in the parent
    int window_left, window_top;   // in the window's client area
    int check;                     // -1: not a check box
    bool tab_stop;
};

const char kCredit[] = "Freeware. Provided as is, without warranty of any kind.";
const char kCheckBox[] = "Close program automatically upon successful applying the tool. ";

// Parents come before their children. Labels, bevels and the image are painted on their parent
// and have no window of their own.
const Expected kControls[] = {
    {"Button1", "Button", "OK", "", 141, 381, 154, 25, 141, 381, -1, true},
    {"GroupBox1", "TGroupBox", "MSR Status Before Patching", "", 8, 104, 393, 85, 8, 104, -1, false},
    {"GroupBox2", "TGroupBox", "MSR Status After Patching", "", 7, 200, 394, 83, 7, 200, -1, false},
    {"PanelB13", "TPanel", "", "", 240, 136, 73, 17, 240, 136, -1, false},
    {"PanelB14", "TPanel", "", "", 320, 136, 73, 17, 320, 136, -1, false},
    {"Panel17", "TPanel", "Quarvel", "", 96, 16, 209, 25, 96, 16, -1, false},
    {"Panel18", "TPanel", "Ver 1.04", "", 312, 16, 73, 25, 312, 16, -1, false},
    {"StaticText1", "Static", kCredit, "", 107, 51, 261, 17, 107, 51, -1, false},
    {"StaticText2", "Static", "", "", 107, 68, 248, 17, 107, 68, -1, false},
    {"StaticText3", "Static", "Status:", "", 9, 299, 44, 17, 9, 299, -1, false},
    {"PStatus", "TPanel", "Working ......", "", 55, 295, 337, 22, 55, 295, -1, false},
    {"CheckBox1", "Button", kCheckBox, "", 56, 317, 321, 25, 56, 317, BST_CHECKED, true},
    {"Panel1", "TPanel", "Auto close disabled", "", 96, 341, 241, 20, 96, 341, -1, false},
    {"PanelB11", "TPanel", "", "GroupBox1", 72, 32, 73, 17, 80, 136, -1, false},
    {"PanelB12", "TPanel", "", "GroupBox1", 152, 32, 73, 17, 160, 136, -1, false},
    {"PanelB21", "TPanel", "", "GroupBox1", 72, 56, 73, 17, 80, 160, -1, false},
    {"PanelB22", "TPanel", "", "GroupBox1", 152, 56, 73, 17, 160, 160, -1, false},
    {"PanelB23", "TPanel", "", "GroupBox1", 232, 56, 73, 17, 240, 160, -1, false},
    {"PanelB24", "TPanel", "", "GroupBox1", 312, 56, 73, 17, 320, 160, -1, false},
    {"PanelA11", "TPanel", "", "GroupBox2", 72, 32, 73, 17, 79, 232, -1, false},
    {"PanelA21", "TPanel", "", "GroupBox2", 72, 56, 73, 17, 79, 256, -1, false},
    {"PanelA22", "TPanel", "", "GroupBox2", 152, 56, 73, 17, 159, 256, -1, false},
    {"PanelA12", "TPanel", "", "GroupBox2", 152, 32, 73, 17, 159, 232, -1, false},
    {"PanelA23", "TPanel", "", "GroupBox2", 232, 56, 73, 17, 239, 256, -1, false},
    {"PanelA24", "TPanel", "", "GroupBox2", 312, 56, 73, 17, 319, 256, -1, false},
    {"PanelA13", "TPanel", " ", "GroupBox2", 232, 32, 73, 17, 239, 232, -1, false},
    {"PanelA14", "TPanel", "", "GroupBox2", 312, 32, 73, 17, 319, 232, -1, false},
};

bool SameRect(const RECT& r, int left, int top, int width, int height)
{
    return r.left == left && r.top == top && r.right - r.left == width &&
           r.bottom - r.top == height;
}

// Waits until the focus moves away from 'from' (null: until the window has given it to a
// control, which comes a moment after it shows), or 100 polls have passed.
HWND FocusAfter(HWND window, HWND from)
{
    for (int i = 0; i < 100 && harness::FocusOf(window) == from; ++i)
        Sleep(20);
    return harness::FocusOf(window);
}

// One run of Quarvel.exe from an empty folder (no SysInfo.dll) for the whole suite: each start
// and end under Wine takes seconds.
class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = new harness::TempFolder;
        process_ = new harness::Process({QUARVEL_EXE, {}, folder_->path(), ""});
        window_ = process_->WaitForWindow("TForm1", "Quarvel", 20000);
        if (window_)
            controls_ = FindControls(window_);
    }
    static void TearDownTestSuite()
    {
        delete process_;
        delete folder_;
    }

    // Each expected control, found among the window's descendants by its parent and place.
    static std::map<std::string, harness::Control> FindControls(HWND window)
    {
        std::map<std::string, harness::Control> found;
        std::map<std::string, HWND> by_name{{"", window}};
        const std::vector<harness::Control> all = harness::Descendants(window);
        for (const Expected& e : kControls) {
            for (const harness::Control& c : all) {
                if (GetAncestor(c.hwnd, GA_PARENT) == by_name[e.parent] &&
                    SameRect(c.in_parent, e.left, e.top, e.width, e.height)) {
                    found[e.name] = c;
                    by_name[e.name] = c.hwnd;
                }
            }
        }
        return found;
    }

    void SetUp() override { ASSERT_NE(window_, nullptr) << "the main window did not appear"; }

    static harness::TempFolder* folder_;
    static harness::Process* process_;
    static HWND window_;
    static std::map<std::string, harness::Control> controls_;
};

harness::TempFolder* MainWindowTest::folder_;
harness::Process* MainWindowTest::process_;
HWND MainWindowTest::window_;
std::map<std::string, harness::Control> MainWindowTest::controls_;

TEST_F(MainWindowTest, OpensAtItsPlaceWithAFixedFrameAndOnlyTheCloseBox)
{
    RECT frame;
    GetWindowRect(window_, &frame);
    EXPECT_EQ(frame.left, 1088);
    EXPECT_EQ(frame.top, 336);
    RECT client;
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right, 410);
    EXPECT_EQ(client.bottom, 419);

    const LONG style = GetWindowLongA(window_, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
}

TEST_F(MainWindowTest, EveryControlInItsDesignedPlaceAndState)
{
    EXPECT_EQ(harness::Descendants(window_).size(), std::size(kControls))
        << "windows other than the designed controls";
    for (const Expected& e : kControls) {
        SCOPED_TRACE(e.name);
        auto found = controls_.find(e.name);
        ASSERT_NE(found, controls_.end()) << "no window at the designed place";
        const harness::Control& c = found->second;
        EXPECT_EQ(_stricmp(c.cls.c_str(), e.cls), 0) << c.cls;
        EXPECT_EQ(c.text, e.text);
        EXPECT_TRUE(SameRect(c.in_top, e.window_left, e.window_top, e.width, e.height));
        EXPECT_TRUE(c.enabled);
        EXPECT_TRUE(c.visible);
        if (e.check >= 0) {
            EXPECT_EQ(c.check, e.check);
        }
        EXPECT_EQ((c.style & WS_TABSTOP) != 0, e.tab_stop);
        // Nothing made earlier covers it: PanelB13 and PanelB14 lie on GroupBox1.
        POINT centre{e.left + e.width / 2, e.top + e.height / 2};
        EXPECT_EQ(ChildWindowFromPointEx(GetAncestor(c.hwnd, GA_PARENT), centre, CWP_SKIPINVISIBLE),
                  c.hwnd);
    }
}

TEST_F(MainWindowTest, TabMovesTheFocusBetweenTheButtonAndTheCheckBoxOnly)
{
    const HWND button = controls_["Button1"].hwnd;
    const HWND check_box = controls_["CheckBox1"].hwnd;
    ASSERT_EQ(FocusAfter(window_, nullptr), button);

    PostMessageA(button, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(FocusAfter(window_, button), check_box);
    PostMessageA(check_box, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(FocusAfter(window_, check_box), button);
}

// The close box and the system menu's Close both send SC_CLOSE.
TEST_F(MainWindowTest, CloseBoxEndsTheProgramWithExitCodeZero)
{
    PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(process_->WaitForExit(15000));
    EXPECT_EQ(process_->exit_code(), 0u);
}

TEST(MainWindowKeyboardTest, AltF4EndsTheProgramWithExitCodeZeroWhateverTheArguments)
{
    harness::TempFolder folder;
    harness::Process process({QUARVEL_EXE, {"/autoclose", "-x", "Quarvel.ini"}, folder.path(), ""});
    HWND window = process.WaitForWindow("TForm1", "Quarvel", 20000);
    ASSERT_NE(window, nullptr);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 410);
    EXPECT_EQ(client.bottom, 419);

    const HWND focused = FocusAfter(window, nullptr);
    ASSERT_NE(focused, nullptr);
    PostMessageA(focused, WM_SYSKEYDOWN, VK_F4, 1 << 29);
    ASSERT_TRUE(process.WaitForExit(15000));
    EXPECT_EQ(process.exit_code(), 0u);
}

}  // namespace
