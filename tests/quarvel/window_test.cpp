// Quarvel.exe's main window as a user meets it, from outside the program: where it opens, its
// frame, every windowed control's place, text and state, the keyboard focus, and closing.
#include <gtest/gtest.h>

#include <map>

#include "quarvel_window.h"

namespace {

const char kCredit[] = "Freeware. Provided as is, without warranty of any kind.";
const char kCheckBox[] = "Close program automatically upon successful applying the tool. ";

// What each windowed control shows after a successful run on a fresh processor, with auto-close
// turned off in the settings file.
const std::map<std::string, std::string> kTexts = {
    {"Button1", "OK"},
    {"GroupBox1", "MSR Status Before Patching"},
    {"GroupBox2", "MSR Status After Patching"},
    {"Panel17", "Quarvel"},
    {"Panel18", "Ver 1.04"},
    {"StaticText1", kCredit},
    {"StaticText2", ""},
    {"StaticText3", "Status:"},
    {"PStatus", kSuccessText},
    {"CheckBox1", kCheckBox},
    {"Panel1", "Auto close disabled"},
    {"PanelB11", "0x01000011"}, {"PanelB12", "0x01000011"},
    {"PanelB13", "0x01000011"}, {"PanelB14", "0x01000011"},
    {"PanelB21", "0x00200020"}, {"PanelB22", "0x00200020"},
    {"PanelB23", "0x00200020"}, {"PanelB24", "0x00200020"},
    {"PanelA11", "0x01000011"}, {"PanelA12", "0x01000011"},
    {"PanelA13", "0x01000011"}, {"PanelA14", "0x01000011"},
    {"PanelA21", "0x00200020"}, {"PanelA22", "0x00200020"},
    {"PanelA23", "0x00200020"}, {"PanelA24", "0x00200020"},
};

// Waits until the focus moves away from 'from' (null: until the window has given it to a
// control, which comes a moment after it shows), or 100 polls have passed.
HWND FocusAfter(HWND window, HWND from)
{
    for (int i = 0; i < 100 && harness::FocusOf(window) == from; ++i)
        Sleep(20);
    return harness::FocusOf(window);
}

// One run of Quarvel.exe for the whole suite: each start and end under Wine takes seconds.
class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = new QuarvelFolder;
        folder_->SetUpLibrary();
        folder_->Write("Quarvel.ini", "[SETTINGS]\r\nautoclose=0\r\n");
        run_ = new QuarvelRun(*folder_);
    }
    static void TearDownTestSuite()
    {
        delete run_;
        delete folder_;
    }

    void SetUp() override { ASSERT_NE(run_->window, nullptr) << "the main window did not appear"; }

    static QuarvelFolder* folder_;
    static QuarvelRun* run_;
};

QuarvelFolder* MainWindowTest::folder_;
QuarvelRun* MainWindowTest::run_;

TEST_F(MainWindowTest, OpensAtItsPlaceWithAFixedFrameAndOnlyTheCloseBox)
{
    const HWND window = run_->window;
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.left, 1088);
    EXPECT_EQ(frame.top, 336);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 410);
    EXPECT_EQ(client.bottom, 419);

    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
}

TEST_F(MainWindowTest, EveryControlInItsDesignedPlaceAndState)
{
    EXPECT_EQ(harness::Descendants(run_->window).size(), kMainWindowLayout.size())
        << "windows other than the designed controls";
    for (const ControlPlace& place : kMainWindowLayout) {
        SCOPED_TRACE(place.name);
        ASSERT_EQ(run_->controls.count(place.name), 1u) << "no window at the designed place";
        const harness::Control c = run_->Inspect(place.name);
        EXPECT_EQ(_stricmp(c.cls.c_str(), place.cls), 0) << c.cls;
        EXPECT_EQ(c.text, kTexts.at(place.name));
        EXPECT_EQ(c.in_top.left, place.window_left);
        EXPECT_EQ(c.in_top.top, place.window_top);
        EXPECT_TRUE(c.enabled);
        EXPECT_TRUE(c.visible);
        EXPECT_EQ((c.style & WS_TABSTOP) != 0, place.tab_stop);
        // Nothing made earlier covers it: PanelB13 and PanelB14 lie on GroupBox1.
        POINT centre{place.left + place.width / 2, place.top + place.height / 2};
        EXPECT_EQ(ChildWindowFromPointEx(GetAncestor(c.hwnd, GA_PARENT), centre, CWP_SKIPINVISIBLE),
                  c.hwnd);
    }
    EXPECT_EQ(run_->Inspect("CheckBox1").check, BST_UNCHECKED);
}

TEST_F(MainWindowTest, TabMovesTheFocusBetweenTheButtonAndTheCheckBoxOnly)
{
    const HWND button = run_->controls.at("Button1");
    const HWND check_box = run_->controls.at("CheckBox1");
    ASSERT_EQ(FocusAfter(run_->window, nullptr), button);

    PostMessageA(button, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(FocusAfter(run_->window, button), check_box);
    PostMessageA(check_box, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(FocusAfter(run_->window, check_box), button);
}

// The close box and the system menu's Close both send SC_CLOSE; neither stores anything.
TEST_F(MainWindowTest, CloseBoxEndsTheProgramWithExitCodeZero)
{
    ASSERT_TRUE(run_->CloseAndWait());
    EXPECT_EQ(run_->process.exit_code(), 0u);
    EXPECT_EQ(folder_->Read("Quarvel.ini"), "[SETTINGS]\r\nautoclose=0\r\n");
}

TEST(MainWindowKeyboardTest, AltF4EndsTheProgramWithExitCodeZeroWhateverTheArguments)
{
    QuarvelFolder folder;
    QuarvelRun run(folder, {"/autoclose", "-x", "Quarvel.ini"});
    harness::Process& process = run.process;
    HWND window = run.window;
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
