// Quarvel.exe's countdown in real time, from outside: the line counts down once a second and
// the window closes itself; the check box stops and restarts it; OK stores the choice, which
// the next run starts with.
#include <gtest/gtest.h>

#include "quarvel_window.h"

namespace {

// Reads the countdown line until the program ends, keeping each new text and when it came.
struct Seen {
    std::vector<std::string> texts;
    DWORD closed_after_ms;  // from the window's first appearance to its disappearance
};

Seen WatchUntilClosed(QuarvelRun& run)
{
    Seen seen{};
    const HWND panel = run.controls.at("Panel1");
    const DWORD start = GetTickCount();
    while (IsWindow(run.window) && IsWindowVisible(run.window) && GetTickCount() - start < 10000) {
        char text[128];
        const int length = GetWindowTextA(panel, text, sizeof text);
        if (length > 0 && (seen.texts.empty() || seen.texts.back() != text))
            seen.texts.push_back(text);
        Sleep(10);
    }
    seen.closed_after_ms = GetTickCount() - start;
    return seen;
}

// Waits up to 3 s for a control to show a text.
bool WaitForText(const QuarvelRun& run, const std::string& name, const std::string& text)
{
    for (int i = 0; i < 300 && run.Text(name) != text; ++i)
        Sleep(10);
    return run.Text(name) == text;
}

TEST(Countdown, ClosesTheWindowAtZeroAndStoresTheChoice)
{
    QuarvelFolder folder;
    ASSERT_TRUE(folder.SetUpLibrary());
    folder.Write("Quarvel.ini", "[SETTINGS]\r\nseconds=2\r\n");
    QuarvelRun run(folder);
    ASSERT_NE(run.window, nullptr);

    Seen seen = WatchUntilClosed(run);
    // "Closing ......" stands only for the moment between the last tick and the window's end,
    // which polling may miss; what must never show is a count of 0.
    if (seen.texts.size() == 3 && seen.texts.back() == "Closing ......")
        seen.texts.pop_back();
    EXPECT_EQ(seen.texts, (std::vector<std::string>{"2 seconds left to close the program",
                                                    "1 seconds left to close the program"}));
    EXPECT_GE(seen.closed_after_ms, 1700u);
    EXPECT_LE(seen.closed_after_ms, 5000u);
    ASSERT_TRUE(run.process.WaitForExit(15000));
    EXPECT_EQ(run.process.exit_code(), 0u);
    EXPECT_EQ(folder.Read("Quarvel.ini"), "[SETTINGS]\r\nseconds=2\r\nautoclose=1\r\n");
}

TEST(Countdown, TheCheckBoxStopsItAndStartsItAgainFromTheFullLength)
{
    QuarvelFolder folder;
    ASSERT_TRUE(folder.SetUpLibrary());
    folder.Write("Quarvel.ini", "[SETTINGS]\r\nseconds=3\r\n");
    QuarvelRun run(folder);
    ASSERT_NE(run.window, nullptr);
    ASSERT_TRUE(WaitForText(run, "Panel1", "2 seconds left to close the program"));

    run.Click("CheckBox1");
    ASSERT_TRUE(WaitForText(run, "Panel1", "Auto close disabled"));
    EXPECT_EQ(run.Inspect("CheckBox1").check, BST_UNCHECKED);
    Sleep(1500);
    EXPECT_EQ(run.Text("Panel1"), "Auto close disabled");
    EXPECT_FALSE(run.process.WaitForExit(0)) << "closed while auto-close was off";

    run.Click("CheckBox1");
    EXPECT_TRUE(WaitForText(run, "Panel1", "3 seconds left to close the program"));
    EXPECT_EQ(run.Inspect("CheckBox1").check, BST_CHECKED);
    EXPECT_TRUE(WaitForText(run, "Panel1", "2 seconds left to close the program"));

    // OK during the count closes at once and stores that auto-close is on.
    run.Click("Button1");
    ASSERT_TRUE(run.process.WaitForExit(15000));
    EXPECT_EQ(run.process.exit_code(), 0u);
    EXPECT_EQ(folder.Read("Quarvel.ini"), "[SETTINGS]\r\nseconds=3\r\nautoclose=1\r\n");
}

TEST(Countdown, OkWhileOffStoresItAndTheNextRunStartsOff)
{
    QuarvelFolder folder;
    ASSERT_TRUE(folder.SetUpLibrary());
    {
        QuarvelRun run(folder);
        ASSERT_NE(run.window, nullptr);
        run.Click("CheckBox1");
        ASSERT_TRUE(WaitForText(run, "Panel1", "Auto close disabled"));
        run.Click("Button1");
        ASSERT_TRUE(run.process.WaitForExit(15000));
    }
    EXPECT_EQ(folder.Read("Quarvel.ini"), "[SETTINGS]\r\nautoclose=0\r\n");

    QuarvelRun next(folder);
    ASSERT_NE(next.window, nullptr);
    EXPECT_EQ(next.Text("Panel1"), "Auto close disabled");
    EXPECT_EQ(next.Inspect("CheckBox1").check, BST_UNCHECKED);
    EXPECT_TRUE(next.Inspect("CheckBox1").enabled);
    ASSERT_TRUE(next.CloseAndWait());
    EXPECT_EQ(folder.Read("Quarvel.ini"), "[SETTINGS]\r\nautoclose=0\r\n");
}

}  // namespace
