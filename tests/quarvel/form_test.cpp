// Quarvel's main window class, built from its real form data with a backend that has no
// windows, beside a simulated SysInfo.dll: arming of the countdown from the settings file,
// the check box and its nested clicks, the ticks, and what closing stores.
#include <gtest/gtest.h>

#include "fake_backend.h"
#include "form1.h"
#include "harness.h"
#include "sim_control.h"

namespace {

using Log = std::vector<std::string>;

// The fake backend, reading the form data from this program's resources, as Quarvel.exe does.
class ResourceBackend : public vcltest::FakeBackend {
public:
    std::string LoadFormResource(const std::string& name) override
    {
        HRSRC found = FindResourceA(nullptr, name.c_str(), MAKEINTRESOURCEA(10));  // RT_RCDATA
        const void* data = found ? LockResource(LoadResource(nullptr, found)) : nullptr;
        if (!data)
            throw Exception("no resource " + name);
        return std::string(static_cast<const char*>(data), SizeofResource(nullptr, found));
    }
};

std::string ProgramFolder()
{
    char path[MAX_PATH];
    std::string folder(path, GetModuleFileNameA(nullptr, path, sizeof path));
    return folder.substr(0, folder.find_last_of('\\'));
}

// A fresh simulated processor beside this program, a current folder of the test's own holding
// the settings file, and the window built as the application's main window.
class FormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim::SetUpFolder(ProgramFolder(), sim::Build::Cdecl));
        ASSERT_TRUE(SetCurrentDirectoryA(current.path().c_str()));
        auto backend = std::make_unique<ResourceBackend>();
        fake = backend.get();
        Application->SetBackend(std::move(backend));
    }
    void TearDown() override
    {
        delete form;
        SetCurrentDirectoryA(ProgramFolder().c_str());
        Application->SetBackend(nullptr);
    }

    void Start(const std::string& settings)
    {
        if (!settings.empty())
            current.Write("Quarvel.ini", settings);
        Application->CreateForm(&form);
        ASSERT_EQ(form->PStatus->Caption(), "Phenom TLB patch disabled. Phenom at full speed!");
    }

    // What the backend was asked since the sequence's outcome went into the status line.
    Log SinceStatus()
    {
        Log log = fake->Take();
        auto status = std::find(log.rbegin(), log.rend(), "PStatus shows caption");
        return Log(status.base(), log.end());
    }

    harness::TempFolder current;
    ResourceBackend* fake = nullptr;
    TForm1* form = nullptr;
};

TEST_F(FormTest, ArmingFollowsTheSettingsFile)
{
    struct Case {
        const char* settings;
        int close_seconds;
        int autoclose_flag;
    };
    const Case cases[] = {
        {"", 8, 1},
        {"[SETTINGS]\r\nseconds=0\r\n", 1, 1},
        {"[SETTINGS]\r\nseconds=-5\r\n", 1, 1},
        {"[SETTINGS]\r\nseconds=1\r\n", 1, 1},
        {"[SETTINGS]\r\nseconds=30\r\n", 30, 1},
        {"[SETTINGS]\r\nseconds=31\r\n", 30, 1},
        // Read as 0x80000000, which counts as negative.
        {"[SETTINGS]\r\nseconds=2147483648\r\n", 1, 1},
        {"[SETTINGS]\r\nautoclose=0\r\n", 8, 0},
        {"[SETTINGS]\r\nautoclose=1\r\n", 8, 1},
        {"[SETTINGS]\r\nautoclose=2\r\nseconds=12\r\n", 12, 1},
        {"[settings]\r\nAutoClose=-1\r\nSECONDS=junk\r\n", 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        Start(c.settings);
        EXPECT_EQ(form->close_seconds, c.close_seconds);
        EXPECT_EQ(form->autoclose_flag, c.autoclose_flag);
        EXPECT_EQ(form->seconds_left, c.close_seconds);
        EXPECT_EQ(form->Timer1->Interval(), 1000u);
        EXPECT_EQ(form->Timer1->Enabled(), c.autoclose_flag == 1);
        EXPECT_EQ(form->CheckBox1->Checked(), c.autoclose_flag == 1);
        EXPECT_TRUE(form->CheckBox1->Enabled());
        EXPECT_EQ(form->Panel1->Caption(),
                  c.autoclose_flag ? std::to_string(c.close_seconds) +
                                         " seconds left to close the program"
                                   : "Auto close disabled");
        delete form;
        form = nullptr;
        DeleteFileA((current / "Quarvel.ini").c_str());
    }
}

// Arming with auto-close off: unchecking the checked box clicks with the flag 0, which turns
// auto-close on and checks the box again, clicking once more with the flag still 0; the
// following SetState finds the box checked, clicks with the flag 1 and turns auto-close off.
// Each change of the box's state is one click.
TEST_F(FormTest, ArmingOffRunsTheNestedClicksAndEndsOff)
{
    Start("[SETTINGS]\r\nautoclose=0\r\nseconds=5\r\n");
    // (A caption set to what it already is shows nothing new.)
    EXPECT_EQ(SinceStatus(), (Log{"Timer1 stops", "Timer1 starts 1000",  // the new interval
                                  "CheckBox1 shows check",  // unchecked: click with flag 0
                                  "CheckBox1 shows check",  // checked again: click with flag 0
                                  "Panel1 shows caption",   // "5 seconds left ..."
                                  "CheckBox1 shows check",  // unchecked: click with flag 1
                                  "Timer1 stops",
                                  "Panel1 shows caption"}));  // "Auto close disabled"
    EXPECT_EQ(form->CheckBox1->State(), cbUnchecked);
    EXPECT_EQ(form->autoclose_flag, 0);
    EXPECT_EQ(form->seconds_left, 5);
    EXPECT_EQ(form->Panel1->Caption(), "Auto close disabled");
    EXPECT_FALSE(form->Timer1->Enabled());
}

TEST_F(FormTest, ArmingOnRestartsTheTimerAndClicksNothing)
{
    Start("[SETTINGS]\r\nseconds=3\r\n");
    // The timer ran at its designed 5000 ms since the window was built; the box is already
    // checked, so nothing clicks.
    EXPECT_EQ(SinceStatus(), (Log{"Timer1 stops", "Timer1 starts 1000", "Panel1 shows caption"}));
}

TEST_F(FormTest, TicksCountDownThenStoreAndClose)
{
    Start("[SETTINGS]\r\nseconds=3\r\n");
    fake->Take();
    Log captions;
    for (int tick = 0; tick < 3; ++tick) {
        form->Timer1Timer(form->Timer1);
        captions.push_back(form->Panel1->Caption());
    }
    EXPECT_EQ(captions, (Log{"2 seconds left to close the program",
                             "1 seconds left to close the program", "Closing ......"}));
    EXPECT_EQ(form->seconds_left, 0);
    EXPECT_FALSE(form->Timer1->Enabled());
    // The last tick stops the timer, shows the closing text and asks the loop to end.
    Log log = fake->Take();
    EXPECT_EQ(Log(log.end() - 3, log.end()),
              (Log{"Timer1 stops", "Panel1 shows caption", "quit"}));
    EXPECT_EQ(std::count(log.begin(), log.end(), "quit"), 1);
    EXPECT_EQ(current.Read("Quarvel.ini"), "[SETTINGS]\r\nseconds=3\r\nautoclose=1\r\n");
}

TEST_F(FormTest, TheCheckBoxTurnsTheCountdownOffAndOnAgainFromTheStart)
{
    Start("[SETTINGS]\r\nseconds=4\r\n");
    form->Timer1Timer(form->Timer1);
    ASSERT_EQ(form->seconds_left, 3);
    fake->Take();

    form->CheckBox1->ClickedByUser();
    EXPECT_EQ(form->autoclose_flag, 0);
    EXPECT_FALSE(form->CheckBox1->Checked());
    EXPECT_FALSE(form->Timer1->Enabled());
    EXPECT_EQ(form->Panel1->Caption(), "Auto close disabled");
    EXPECT_EQ(form->seconds_left, 4);

    form->CheckBox1->ClickedByUser();
    EXPECT_EQ(form->autoclose_flag, 1);
    EXPECT_TRUE(form->CheckBox1->Checked());
    EXPECT_EQ(form->Panel1->Caption(), "4 seconds left to close the program");
    // One state change each, and the timer starts a full period afresh.
    EXPECT_EQ(fake->Take(), (Log{"CheckBox1 shows check", "Timer1 stops", "Panel1 shows caption",
                                 "CheckBox1 shows check", "Timer1 stops", "Timer1 starts 1000",
                                 "Panel1 shows caption"}));
    EXPECT_EQ(current.Read("Quarvel.ini"), "[SETTINGS]\r\nseconds=4\r\n") << "toggling stores nothing";
}

TEST_F(FormTest, OkStoresTheChoiceAndCloses)
{
    struct Case {
        bool toggle;
        const char* stored;
    };
    for (const Case& c : {Case{false, "1"}, Case{true, "0"}}) {
        Start("");
        if (c.toggle)
            form->CheckBox1->ClickedByUser();
        fake->Take();
        form->Button1Click(form->Button1);
        EXPECT_EQ(fake->Take(), Log{"quit"});
        EXPECT_EQ(current.Read("Quarvel.ini"), std::string("[SETTINGS]\r\nautoclose=") + c.stored +
                                                   "\r\n");
        delete form;
        form = nullptr;
        DeleteFileA((current / "Quarvel.ini").c_str());
    }
}

TEST_F(FormTest, StoringKeepsEverythingElseOfAHandEditedFile)
{
    const std::string edited =
        "; written by hand\r\n"
        "[MSR_C0011023]\r\n"
        "low=2097184\r\n"
        "[SETTINGS]\r\n"
        "; the choice below\r\n"
        "seconds=12\r\n"
        "autoclose=0\r\n"
        "extra=kept\r\n"
        "[Other]\r\n"
        "key=value\r\n";
    Start(edited);
    form->CheckBox1->ClickedByUser();
    form->Button1Click(form->Button1);
    std::string expected = edited;
    expected.replace(expected.find("autoclose=0"), 11, "autoclose=1");
    EXPECT_EQ(current.Read("Quarvel.ini"), expected);
}

// Junk, huge and negative numbers, long lines and binary bytes: the values follow the
// platform's reading of numbers and the normalisation, and storing loses nothing else.
TEST_F(FormTest, ASettingsFileFullOfJunkIsReadAndKept)
{
    const std::string junk =
        "[SETTINGS]\r\n"
        "seconds=99999999999999999999\r\n"  // wraps to 1661992959, above 30
        "autoclose=" + std::string(3000, '7') + "\r\n"
        "\x01\x02\xff\xfe not a key at all\r\n"
        "[MSR_C0010015]\r\n"
        "low=-1\r\n"
        "high=0x\r\n" +
        std::string(5000, 'x') + "\r\n";
    Start(junk);
    EXPECT_EQ(form->close_seconds, 30);
    EXPECT_EQ(form->autoclose_flag, 1);
    EXPECT_EQ(form->PanelA11->Caption(), "0xFFFFFFFF");
    sim::Registers registers;
    ASSERT_TRUE(sim::ReadRegisters(ProgramFolder(), registers));
    EXPECT_EQ(*registers.Find(4, sim::kRegister1), 0x00000000FFFFFFFFu);

    form->Button1Click(form->Button1);
    const std::string stored = current.Read("Quarvel.ini");
    EXPECT_NE(stored.find("autoclose=1\r\n"), std::string::npos);
    for (const char* kept : {"seconds=99999999999999999999\r\n", "\x01\x02\xff\xfe not a key",
                             "low=-1\r\n", "high=0x\r\n"})
        EXPECT_NE(stored.find(kept), std::string::npos) << kept;
    EXPECT_NE(stored.find(std::string(5000, 'x')), std::string::npos);
}

TEST_F(FormTest, AFileThatCannotBeWrittenIsNotReportedAndClosingGoesOn)
{
    // Running as root, permissions stop no write; a folder in the file's place does.
    ASSERT_TRUE(CreateDirectoryA((current / "Quarvel.ini").c_str(), nullptr));
    Start("");
    EXPECT_EQ(form->close_seconds, 8);
    fake->Take();
    form->Button1Click(form->Button1);
    EXPECT_EQ(fake->Take(), Log{"quit"});
    EXPECT_TRUE(GetFileAttributesA((current / "Quarvel.ini").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace
