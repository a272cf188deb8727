// An exception out of the main window's construction ends in the toolkit's error box and exit
// code 0, and the window is never shown: a toolkit exception with its message, a foreign object
// with none.
#include <gtest/gtest.h>

#include <regex>

#include "build_paths.h"
#include "harness.h"

namespace {

struct GuardCase {
    const char* what;
    const char* message;  // a regular expression for the whole text
};

const GuardCase kGuardCases[] = {
    {"toolkit", "The probe's constructor gave up"},
    {"foreign", ""},
};

class GuardTest : public ::testing::TestWithParam<GuardCase> {};

TEST_P(GuardTest, ShowsTheErrorBoxAndEndsWithExitCodeZero)
{
    const GuardCase& c = GetParam();
    harness::TempFolder folder;
    harness::Process process({GUARD_PROBE_EXE, {c.what}, folder.path(), ""});

    const harness::Box box = process.WaitForBox(20000);
    EXPECT_EQ(box.caption, "guard_probe");
    EXPECT_TRUE(std::regex_match(box.text, std::regex(c.message))) << box.text;
    EXPECT_EQ(process.WaitForWindow("TForm1", "Quarvel", 0), nullptr) << "the window was shown";

    harness::Process::PressOk(FindWindowA("#32770", "guard_probe"));
    ASSERT_TRUE(process.WaitForExit(15000));
    EXPECT_EQ(process.exit_code(), 0u);
}

INSTANTIATE_TEST_SUITE_P(, GuardTest, ::testing::ValuesIn(kGuardCases),
                         [](const auto& info) { return std::string(info.param.what); });

}  // namespace
