// Quarvel.exe switching the patch off while its window is built, against the simulated
// processor: the before and after boxes, the status line, the beep, the library's release, the
// registers, and what a failure leaves for the user.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "build_paths.h"
#include "quarvel_window.h"

namespace {

using sim::Build;
using sim::Entry;
using sim::Event;
using sim::Fault;

constexpr uint64_t kOn1 = 0x01000019;
constexpr uint64_t kOn2 = 0x00200022;
constexpr uint64_t kOff1 = 0x01000011;
constexpr uint64_t kOff2 = 0x00200020;

sim::Registers AllCores(uint64_t value_1, uint64_t value_2)
{
    sim::Registers registers;
    for (int core = 1; core <= 4; ++core) {
        *registers.Find(core, sim::kRegister1) = value_1;
        *registers.Find(core, sim::kRegister2) = value_2;
    }
    return registers;
}

std::string Hex(uint64_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

// What the sixteen value boxes show, before boxes of cores 1-4 first, then the after boxes.
std::vector<std::string> Boxes(const QuarvelRun& run)
{
    std::vector<std::string> texts;
    for (const char* const* row : {kBefore1, kBefore2, kAfter1, kAfter2}) {
        for (int core = 0; core < 4; ++core)
            texts.push_back(run.Text(row[core]));
    }
    return texts;
}

// The boxes after a run whose before boxes were filled for `before` cores with the values of
// `read` and whose after boxes for `after` cores with those of `written`; the rest as designed
// (PanelA13 holds a blank).
std::vector<std::string> ExpectedBoxes(int before, const sim::Registers& read, int after,
                                       const sim::Registers& written)
{
    std::vector<std::string> texts;
    for (uint32_t reg : {sim::kRegister1, sim::kRegister2}) {
        for (int core = 1; core <= 4; ++core)
            texts.push_back(core <= before ? Hex(*read.Find(core, reg)) : "");
    }
    for (uint32_t reg : {sim::kRegister1, sim::kRegister2}) {
        for (int core = 1; core <= 4; ++core) {
            const bool blank = core == 3 && reg == sim::kRegister1;
            texts.push_back(core <= after ? Hex(*written.Find(core, reg)) : blank ? " " : "");
        }
    }
    return texts;
}

TEST(Sequence, AfterTobrinSwitchesThePatchOffOnEveryCore)
{
    QuarvelFolder folder;
    ASSERT_TRUE(folder.SetUpLibrary());
    folder.CopyIn(TOBRIN_EXE);
    harness::RunToEnd({folder / "Tobrin.exe", {}, folder.path(), ""});
    ASSERT_EQ(folder.Registers(), AllCores(kOn1, kOn2));

    QuarvelRun run(folder);
    ASSERT_NE(run.window, nullptr);
    EXPECT_EQ(Boxes(run), ExpectedBoxes(4, AllCores(kOn1, kOn2), 4, AllCores(kOff1, kOff2)));
    EXPECT_EQ(run.Text("PStatus"), kSuccessText);
    EXPECT_EQ(run.Text("Panel1"), "8 seconds left to close the program");
    harness::Control check_box = run.Inspect("CheckBox1");
    EXPECT_TRUE(check_box.enabled);
    EXPECT_EQ(check_box.check, BST_CHECKED);
    ASSERT_TRUE(run.CloseAndWait());
    EXPECT_EQ(run.process.exit_code(), 0u);

    EXPECT_EQ(folder.Registers(), AllCores(kOff1, kOff2));
    EXPECT_FALSE(folder.Exists("Quarvel.ini")) << "the close box stores nothing";
    // Destroyed once with CreateSysInfo's value, then freed; one beep, the last thing done.
    std::vector<sim::JournalEntry> journal = folder.Journal();
    std::vector<sim::JournalEntry> quarvel(
        std::find_if(journal.rbegin(), journal.rend(),
                     [](const sim::JournalEntry& e) { return e.event == Event::Load; })
            .base() - 1,
        journal.end());
    std::vector<sim::JournalEntry> calls = sim::CallsIn(quarvel);
    ASSERT_EQ(calls.size(), 26u);
    EXPECT_EQ(calls.back().entry, Entry::DestroySysInfo);
    EXPECT_EQ(calls.back().arg, 0x5151u);
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](const sim::JournalEntry& e) {
                                return e.entry == Entry::DestroySysInfo;
                            }),
              1);
    EXPECT_EQ(quarvel.back().event, Event::FreeLibrary);
    EXPECT_EQ(Beeps(run.process.calls()), std::vector<std::string>{"00000040"});
    EXPECT_EQ(harness::CountCalls(run.process.calls(), "kernel32.FreeLibrary("), 1);
    EXPECT_GT(harness::FindCall(run.process.calls(), "user32.MessageBeep("),
              harness::FindCall(run.process.calls(), "kernel32.FreeLibrary("));
}

TEST(Sequence, WritesTheSettingsFileValuesAsTheyStandOnEveryCore)
{
    struct Case {
        const char* name;
        std::string settings;
        uint64_t value_1, value_2;
    };
    const Case cases[] = {
        {"high halves and hexadecimal",
         "[MSR_C0010015]\r\nlow=0x01000019\r\nhigh=7\r\n"
         "[MSR_C0011023]\r\nlow=16\r\nhigh=4294967295\r\n",
         0x0000000701000019, 0xFFFFFFFF00000010},
        {"one section only", "[msr_c0011023]\r\nLOW=2097186\r\n", kOff1, 0x00200022},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QuarvelFolder folder;
        ASSERT_TRUE(folder.SetUpLibrary(Build::Stdcall));
        folder.Write("Quarvel.ini", c.settings + "[SETTINGS]\r\nautoclose=0\r\n");
        QuarvelRun run(folder);
        ASSERT_NE(run.window, nullptr);
        EXPECT_EQ(run.Text("PStatus"), kSuccessText);
        const sim::Registers written = AllCores(c.value_1, c.value_2);
        EXPECT_EQ(Boxes(run), ExpectedBoxes(4, AllCores(kOff1, kOff2), 4, written));
        ASSERT_TRUE(run.CloseAndWait());
        EXPECT_EQ(folder.Registers(), written);
    }
}

TEST(Sequence, ShowsAFailedReadBackAsSuchAndStillSucceeds)
{
    QuarvelFolder folder;
    sim::Config config;
    config.rules = {sim::Match(Fault::None, Entry::ReadMSR, 3, sim::kRegister2, 2)};
    config.store_on_failed_read = true;
    config.failed_read_lo = 0xDEADBEEF;
    ASSERT_TRUE(folder.SetUpLibrary(Build::Cdecl, config));
    QuarvelRun run(folder);
    ASSERT_NE(run.window, nullptr);
    EXPECT_EQ(run.Text("PStatus"), kSuccessText);
    EXPECT_EQ(run.Text("PanelA13"), "0x01000011");
    EXPECT_EQ(run.Text("PanelA23"), "read failed");
    EXPECT_EQ(run.Text("PanelA24"), "0x00200020");
    ASSERT_TRUE(run.CloseAndWait());
}

TEST(Sequence, OnATwoCoreSystemCores3And4ShowCore2)
{
    QuarvelFolder folder;
    sim::Config config;
    config.topology = sim::Topology::Two;
    ASSERT_TRUE(folder.SetUpLibrary(Build::Cdecl, config));
    sim::Registers before = AllCores(kOn1, kOn2);
    *before.Find(2, sim::kRegister1) = 0x0000000101000019;
    *before.Find(2, sim::kRegister2) = 0x00200002;
    ASSERT_TRUE(sim::WriteRegisters(folder.path(), before));
    QuarvelRun run(folder);
    ASSERT_NE(run.window, nullptr);
    EXPECT_EQ(run.Text("PStatus"), kSuccessText);
    for (int core : {2, 3, 4}) {
        EXPECT_EQ(run.Text(kBefore1[core - 1]), "0x01000019");
        EXPECT_EQ(run.Text(kBefore2[core - 1]), "0x00200002");
        EXPECT_EQ(run.Text(kAfter2[core - 1]), "0x00200020");
    }
    ASSERT_TRUE(run.CloseAndWait());
    sim::Registers after = before;
    for (int core : {1, 2}) {
        *after.Find(core, sim::kRegister1) = kOff1;
        *after.Find(core, sim::kRegister2) = kOff2;
    }
    EXPECT_EQ(folder.Registers(), after);
}

TEST(Sequence, AFailureStaysInTheWindowWithTheCountdownOutOfReach)
{
    const sim::Registers fresh = AllCores(kOff1, kOff2);
    // What Tobrin left: the patch on. A failed write leaves core 1 switched off, and core 2
    // with 0xC0010015 off only.
    const sim::Registers on = AllCores(kOn1, kOn2);
    sim::Registers half_written = on;
    *half_written.Find(1, sim::kRegister1) = kOff1;
    *half_written.Find(1, sim::kRegister2) = kOff2;
    *half_written.Find(2, sim::kRegister1) = kOff1;

    enum Library { Absent, Present };
    struct Case {
        const char* name;
        Library library;
        Build build;
        sim::Config config;
        const char* status;
        int before, after;  // cores whose before and after boxes are filled
        sim::Registers registers;
        bool path;  // the settings path was made: OK stores "0" there
    };
    sim::Config defaults;
    sim::Config create_fails;
    create_fails.create_result = 0;
    sim::Config read_fails;
    read_fails.rules = {sim::Match(Fault::None, Entry::ReadMSR, 3, sim::kRegister2)};
    sim::Config write_fails;
    write_fails.rules = {sim::Match(Fault::None, Entry::WriteMSR, 2, sim::kRegister2)};
    const std::vector<Case> cases = {
        {"no library", Absent, Build::Cdecl, defaults, "ERROR: Unable to load DLL!", 0, 0, on,
         false},
        {"no WriteMSR", Present, Build::NoWriteMSR, defaults,
         "ERROR: Unable to find DLL function!", 0, 0, on, false},
        {"CreateSysInfo returns 0", Present, Build::Cdecl, create_fails,
         "ERROR: CreateSysInfo Failed!", 0, 0, on, false},
        {"second read on core 3 fails", Present, Build::Cdecl, read_fails,
         "ERROR: ReadMSR Function error!", 2, 0, on, true},
        {"second write on core 2 fails", Present, Build::Cdecl, write_fails,
         "ERROR: WriteMSR Function error!", 4, 1, half_written, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QuarvelFolder folder;
        if (c.library == Present) {
            ASSERT_TRUE(folder.SetUpLibrary(c.build, c.config));
        }
        ASSERT_TRUE(sim::WriteRegisters(folder.path(), on));
        QuarvelRun run(folder);
        ASSERT_NE(run.window, nullptr);

        EXPECT_EQ(run.Text("PStatus"), c.status);
        EXPECT_EQ(Boxes(run), ExpectedBoxes(c.before, on, c.after, fresh));
        harness::Control check_box = run.Inspect("CheckBox1");
        EXPECT_FALSE(check_box.enabled);
        EXPECT_EQ(check_box.check, BST_CHECKED);
        // Nothing counts down, and the window stays open.
        Sleep(1500);
        EXPECT_EQ(run.Text("Panel1"), "Auto close disabled");
        EXPECT_FALSE(run.process.WaitForExit(0));

        run.Click("Button1");
        ASSERT_TRUE(run.process.WaitForExit(15000));
        EXPECT_EQ(run.process.exit_code(), 0u);
        EXPECT_EQ(folder.Read("Quarvel.ini"), c.path ? "[SETTINGS]\r\nautoclose=0\r\n" : "");
        EXPECT_EQ(folder.Registers(), c.registers);

        // One beep, for the failure, after the library was freed; never destroyed.
        const std::vector<std::string>& traced = run.process.calls();
        EXPECT_EQ(Beeps(traced), std::vector<std::string>{"00000010"});
        std::vector<sim::JournalEntry> journal = folder.Journal();
        for (const sim::JournalEntry& call : sim::CallsIn(journal))
            EXPECT_NE(call.entry, Entry::DestroySysInfo);
        if (c.library == Present) {
            ASSERT_FALSE(journal.empty());
            EXPECT_EQ(journal.back().event, Event::FreeLibrary);
            EXPECT_EQ(harness::CountCalls(traced, "kernel32.FreeLibrary("), 1);
            EXPECT_GT(harness::FindCall(traced, "user32.MessageBeep("),
                      harness::FindLastCall(traced, "kernel32.FreeLibrary("));
        }
    }
}

TEST(Sequence, AFaultInsideTheLibraryEndsInTheErrorBoxWithTheWindowNeverShown)
{
    QuarvelFolder folder;
    sim::Config config;
    config.rules = {sim::Match(Fault::AccessViolation, Entry::WriteMSR, 3, sim::kRegister1)};
    ASSERT_TRUE(folder.SetUpLibrary(Build::Cdecl, config));
    harness::Process process({folder / "Quarvel.exe", {}, folder.path(), ""});

    const harness::Box box = process.WaitForBox(20000);
    EXPECT_EQ(box.caption, "Quarvel");
    EXPECT_TRUE(std::regex_match(
        box.text, std::regex("Access violation at address [0-9A-F]{8}\\. Write of address [0-9A-F]{8}")))
        << box.text;
    EXPECT_EQ(process.WaitForWindow("TForm1", "Quarvel", 0), nullptr) << "the window was shown";
    harness::Process::PressOk(FindWindowA("#32770", "Quarvel"));
    ASSERT_TRUE(process.WaitForExit(15000));
    EXPECT_EQ(process.exit_code(), 0u);
    // The library was freed before the box, without being destroyed.
    std::vector<sim::JournalEntry> journal = folder.Journal();
    ASSERT_FALSE(journal.empty());
    EXPECT_EQ(journal.back().event, Event::FreeLibrary);
    EXPECT_EQ(sim::CallsIn(journal).back().fault, Fault::AccessViolation);
}

}  // namespace
