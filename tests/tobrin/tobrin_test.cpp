// Tobrin.exe as a user meets it: run from its own folder beside a simulated SysInfo.dll, its
// console report read, its message boxes read and answered, its exit code and the processor's
// registers checked afterwards.
#include <gtest/gtest.h>

#include <algorithm>

#include "build_paths.h"
#include "harness.h"
#include "sim_control.h"

namespace {

using sim::Build;
using sim::Entry;
using sim::Event;
using sim::Fault;

const char* const kSuccessText = "Phenom TLB fix Enabled! System at Low Speed, but High Stability.";

// The whole report of a successful run on a processor that held the patch-off values.
const std::vector<std::string> kSuccessReport = {
    "Tobrin Version 1.01.",
    "Copyright (C) 2026 the Tobrin authors. Use at your own risk.",
    "Reading Original MSR Registers",
    "CPU 1",
    "MSR[C0010015h] = 00000000 01000011h\tMSR[C0011023h] = 00000000 00200020h",
    "CPU 2",
    "MSR[C0010015h] = 00000000 01000011h\tMSR[C0011023h] = 00000000 00200020h",
    "CPU 3",
    "MSR[C0010015h] = 00000000 01000011h\tMSR[C0011023h] = 00000000 00200020h",
    "CPU 4",
    "MSR[C0010015h] = 00000000 01000011h\tMSR[C0011023h] = 00000000 00200020h",
    "",
    "Writing Fixed MSR Registers",
    "CPU 1",
    "MSR[C0010015h] = 00000000 01000019h\tMSR[C0011023h] = 00000000 00200022h",
    "CPU 2",
    "MSR[C0010015h] = 00000000 01000019h\tMSR[C0011023h] = 00000000 00200022h",
    "CPU 3",
    "MSR[C0010015h] = 00000000 01000019h\tMSR[C0011023h] = 00000000 00200022h",
    "CPU 4",
    "MSR[C0010015h] = 00000000 01000019h\tMSR[C0011023h] = 00000000 00200022h",
    kSuccessText,
};

constexpr uint64_t kOn1 = 0x01000019;
constexpr uint64_t kOn2 = 0x00200022;

struct TobrinRun {
    harness::Run run;
    std::vector<std::string> lines;
    sim::Registers registers;
    std::vector<sim::JournalEntry> journal;
};

// A place to run Tobrin.exe from: its own folder, which usually also holds SysInfo.dll, and
// another folder where the user stands.
struct Folders {
    harness::TempFolder program;
    harness::TempFolder current;

    bool SetUpLibrary(Build build, const sim::Config& config = sim::Config()) const {
        return sim::SetUpFolder(program.path(), build, config);
    }
};

TobrinRun RunTobrin(const Folders& folders, std::vector<std::string> args = {}) {
    folders.program.CopyIn(TOBRIN_EXE);
    harness::Process::Options options;
    options.exe = folders.program / "Tobrin.exe";
    options.args = std::move(args);
    options.folder = folders.current.path();
    options.traced_calls = "user32.MessageBoxA;kernel32.FreeLibrary";
    TobrinRun result;
    result.run = harness::RunToEnd(options);
    result.lines = harness::Lines(result.run.out);
    EXPECT_TRUE(sim::ReadRegisters(folders.program.path(), result.registers));
    result.journal = sim::ReadJournal(folders.program.path());
    return result;
}

TEST(Tobrin, SwitchesThePatchOnWithEitherCallingConvention) {
    for (Build build : {Build::Cdecl, Build::Stdcall}) {
        SCOPED_TRACE(build == Build::Cdecl ? "cdecl" : "stdcall");
        sim::Config config;
        config.create_result = 0x00C0FFEE;
        Folders folders;
        ASSERT_TRUE(folders.SetUpLibrary(build, config));
        // Arguments change nothing.
        TobrinRun t = RunTobrin(folders, {"/?", "--off", "two words"});

        EXPECT_EQ(t.run.exit_code, 0u);
        EXPECT_EQ(t.lines, kSuccessReport);
        EXPECT_EQ(t.run.err, "");
        ASSERT_EQ(t.run.boxes.size(), 1u);
        EXPECT_EQ(t.run.boxes[0].caption, "Tobrin");
        EXPECT_EQ(t.run.boxes[0].text, kSuccessText);
        int box = harness::FindCall(t.run.calls, "user32.MessageBoxA(");
        ASSERT_GE(box, 0);
        EXPECT_NE(t.run.calls[box].find(",00000040)"), std::string::npos) << "information icon";
        // Freed once, before the success box.
        EXPECT_EQ(harness::CountCalls(t.run.calls, "kernel32.FreeLibrary("), 1);
        EXPECT_LT(harness::FindCall(t.run.calls, "kernel32.FreeLibrary("), box);

        for (int core = 1; core <= 4; ++core) {
            EXPECT_EQ(*t.registers.Find(core, sim::kRegister1), kOn1) << core;
            EXPECT_EQ(*t.registers.Find(core, sim::kRegister2), kOn2) << core;
        }

        // Pins 1, 2, 4, 8 for each pass; each core read, then written and read back, one
        // register after the other; the library destroyed once with CreateSysInfo's value,
        // then freed.
        std::vector<std::string> seen;
        for (const sim::JournalEntry& e : t.journal) {
            char text[96];
            if (e.event == Event::Pin) {
                std::snprintf(text, sizeof text, "pin %u", e.mask);
            } else if (e.event == Event::Call) {
                std::snprintf(text, sizeof text, "%s %X core %d", sim::EntryName(e.entry),
                              e.entry == Entry::CreateSysInfo || e.entry == Entry::DestroySysInfo
                                  ? e.arg
                                  : e.reg,
                              e.core);
            } else if (e.event == Event::FreeLibrary) {
                std::snprintf(text, sizeof text, "freed");
            } else {
                continue;
            }
            seen.push_back(text);
        }
        std::vector<std::string> expected = {"CreateSysInfo 1 core 1"};
        for (int core = 1; core <= 4; ++core) {
            expected.push_back("pin " + std::to_string(1u << (core - 1)));
            for (const char* reg : {"C0010015", "C0011023"}) {
                expected.push_back(std::string("ReadMSR ") + reg + " core " + std::to_string(core));
            }
        }
        for (int core = 1; core <= 4; ++core) {
            expected.push_back("pin " + std::to_string(1u << (core - 1)));
            for (const char* entry : {"WriteMSR", "ReadMSR"}) {
                for (const char* reg : {"C0010015", "C0011023"}) {
                    expected.push_back(std::string(entry) + " " + reg + " core " +
                                       std::to_string(core));
                }
            }
        }
        expected.push_back("DestroySysInfo C0FFEE core 4");
        expected.push_back("freed");
        EXPECT_EQ(seen, expected);
    }
}

TEST(Tobrin, ReportsEachFailureInAnErrorBoxAndEndsWithCode1) {
    const sim::Registers fresh = sim::Registers::Fresh();
    sim::Registers core2_half_written = fresh;
    *core2_half_written.Find(1, sim::kRegister1) = kOn1;
    *core2_half_written.Find(1, sim::kRegister2) = kOn2;
    *core2_half_written.Find(2, sim::kRegister1) = kOn1;

    enum Library { Present, Absent, OnlyInCurrentFolder, NotALibrary };
    struct Case {
        const char* name;
        Library library;
        Build build;
        sim::Config config;
        size_t report_lines;  // how much of the successful report comes before the failure
        std::string text;     // the box's text, or its beginning for a fault
        bool fault;
        sim::Registers registers;
    };
    const sim::Config defaults;
    sim::Config refuse;
    refuse.refuse_load = true;
    sim::Config create_fails;
    create_fails.create_result = 0;
    sim::Config read_fails;
    read_fails.rules = {sim::Match(Fault::None, Entry::ReadMSR, 3, sim::kRegister2)};
    sim::Config write_fails;
    write_fails.rules = {sim::Match(Fault::None, Entry::WriteMSR, 2, sim::kRegister2)};
    sim::Config read_crashes;
    read_crashes.rules = {sim::Match(Fault::AccessViolation, Entry::ReadMSR, 2, sim::kRegister1)};
    sim::Config create_crashes;
    create_crashes.rules = {sim::Match(Fault::DivideByZero, Entry::CreateSysInfo)};
    sim::Config write_crashes;
    write_crashes.rules = {sim::Match(Fault::PrivilegedInstruction, Entry::WriteMSR, 2,
                                      sim::kRegister2)};

    const std::vector<Case> cases = {
        {"no library", Absent, Build::Cdecl, defaults, 2, "ERROR: Unable to load DLL!", false, fresh},
        // A library that only lies where the user stands is not taken.
        {"library only in the current folder", OnlyInCurrentFolder, Build::Cdecl, defaults, 2,
         "ERROR: Unable to load DLL!", false, fresh},
        {"library refuses to load", Present, Build::Cdecl, refuse, 2,
         "ERROR: Unable to load DLL!", false, fresh},
        {"not a library", NotALibrary, Build::Cdecl, defaults, 2, "ERROR: Unable to load DLL!", false,
         fresh},
        {"no CreateSysInfo", Present, Build::NoCreateSysInfo, defaults, 2,
         "ERROR: Unable to find DLL function!", false, fresh},
        {"no DestroySysInfo", Present, Build::NoDestroySysInfo, defaults, 2,
         "ERROR: Unable to find DLL function!", false, fresh},
        {"no ReadMSR", Present, Build::NoReadMSR, defaults, 2, "ERROR: Unable to find DLL function!",
         false, fresh},
        {"no WriteMSR", Present, Build::NoWriteMSR, defaults, 2, "ERROR: Unable to find DLL function!",
         false, fresh},
        {"CreateSysInfo returns 0", Present, Build::Cdecl, create_fails, 2,
         "ERROR: CreateSysInfo Failed!", false, fresh},
        {"second read on core 3 fails", Present, Build::Cdecl, read_fails, 7,
         "ERROR: ReadMSR Function error!", false, fresh},
        {"second write on core 2 fails", Present, Build::Cdecl, write_fails, 15,
         "ERROR: WriteMSR Function error!", false, core2_half_written},
        {"CreateSysInfo divides by zero", Present, Build::Cdecl, create_crashes, 2,
         "ERROR: CreateSysInfo crashed: division by zero at address ", true, fresh},
        {"ReadMSR on core 2 writes through a bad pointer", Present, Build::Cdecl, read_crashes, 5,
         "ERROR: ReadMSR crashed: access violation at address ", true, fresh},
        {"second write on core 2 runs a privileged instruction", Present, Build::Stdcall,
         write_crashes, 15, "ERROR: WriteMSR crashed: privileged instruction at address ", true,
         core2_half_written},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Folders folders;
        switch (c.library) {
        case Present: ASSERT_TRUE(folders.SetUpLibrary(c.build, c.config)); break;
        case Absent: break;
        case OnlyInCurrentFolder:
            ASSERT_TRUE(sim::SetUpFolder(folders.current.path(), c.build, c.config));
            break;
        case NotALibrary: folders.program.Write("SysInfo.dll", "MZ but nothing more"); break;
        }
        TobrinRun t = RunTobrin(folders);

        EXPECT_EQ(t.run.exit_code, 1u);
        EXPECT_EQ(t.lines, std::vector<std::string>(kSuccessReport.begin(),
                                                    kSuccessReport.begin() + c.report_lines));
        EXPECT_EQ(t.run.err, "") << "with a desktop, a failure is only shown in its box";
        ASSERT_EQ(t.run.boxes.size(), 1u);
        EXPECT_EQ(t.run.boxes[0].caption, "TLB Patch Error");
        if (c.fault) {
            EXPECT_EQ(t.run.boxes[0].text.compare(0, c.text.size(), c.text), 0)
                << t.run.boxes[0].text;
            EXPECT_NE(t.run.boxes[0].text.find(" in SysInfo.dll"), std::string::npos)
                << t.run.boxes[0].text;
        } else {
            EXPECT_EQ(t.run.boxes[0].text, c.text);
        }
        int box = harness::FindCall(t.run.calls, "user32.MessageBoxA(");
        ASSERT_GE(box, 0);
        EXPECT_NE(t.run.calls[box].find(",00000010)"), std::string::npos) << "error icon";

        EXPECT_EQ(t.registers, c.registers);

        // The call that failed is the last one; the library is freed after the box was shown
        // (when it was loaded at all), and never destroyed.
        std::vector<sim::JournalEntry> calls = sim::CallsIn(t.journal);
        bool loaded = c.library == Present && !c.config.refuse_load;
        if (loaded) {
            if (!calls.empty()) {
                EXPECT_TRUE(calls.back().result == 0 || calls.back().fault != Fault::None);
            }
            for (const sim::JournalEntry& call : calls) {
                EXPECT_NE(call.entry, Entry::DestroySysInfo);
            }
            ASSERT_FALSE(t.journal.empty());
            EXPECT_EQ(t.journal.back().event, Event::FreeLibrary);
            EXPECT_GT(harness::FindCall(t.run.calls, "kernel32.FreeLibrary("), box);
            EXPECT_EQ(harness::CountCalls(t.run.calls, "kernel32.FreeLibrary("), 1);
        } else {
            EXPECT_TRUE(calls.empty());
            EXPECT_EQ(harness::CountCalls(t.run.calls, "kernel32.FreeLibrary("), 0);
        }
    }
}

TEST(Tobrin, ShowsAFailedReadBackAsUnreadAndStillSucceeds) {
    sim::Config config;
    // The read-back of 0xC0010015 on core 2 (its second read there) fails and leaves garbage.
    config.rules = {sim::Match(Fault::None, Entry::ReadMSR, 2, sim::kRegister1, 2)};
    config.store_on_failed_read = true;
    config.failed_read_lo = 0xDEADBEEF;
    config.failed_read_hi = 0xBAADF00D;
    Folders folders;
    ASSERT_TRUE(folders.SetUpLibrary(Build::Cdecl, config));
    TobrinRun t = RunTobrin(folders);

    EXPECT_EQ(t.run.exit_code, 0u);
    std::vector<std::string> expected = kSuccessReport;
    expected[16] = "MSR[C0010015h] = ???????? ????????h\tMSR[C0011023h] = 00000000 00200022h";
    EXPECT_EQ(t.lines, expected);
    ASSERT_EQ(t.run.boxes.size(), 1u);
    EXPECT_EQ(t.run.boxes[0].text, kSuccessText);
    // The second read-back is made all the same.
    std::vector<sim::JournalEntry> calls = sim::CallsIn(t.journal);
    auto failed = std::find_if(calls.begin(), calls.end(),
                               [](const sim::JournalEntry& e) { return e.result == 0; });
    ASSERT_NE(failed, calls.end());
    ASSERT_NE(failed + 1, calls.end());
    EXPECT_EQ(failed[1].entry, Entry::ReadMSR);
    EXPECT_EQ(failed[1].reg, sim::kRegister2);
    EXPECT_EQ(failed[1].core, 2);
}

TEST(Tobrin, OnATwoCoreSystemCores3And4RepeatCore2) {
    sim::Config config;
    config.topology = sim::Topology::Two;
    Folders folders;
    ASSERT_TRUE(folders.SetUpLibrary(Build::Cdecl, config));
    sim::Registers before = sim::Registers::Fresh();
    *before.Find(2, sim::kRegister1) = 0x0000000101000011;
    *before.Find(2, sim::kRegister2) = 0x0000000200200020;
    ASSERT_TRUE(sim::WriteRegisters(folders.program.path(), before));
    TobrinRun t = RunTobrin(folders);

    EXPECT_EQ(t.run.exit_code, 0u);
    std::vector<std::string> expected = kSuccessReport;
    for (size_t line : {6, 8, 10}) {
        expected[line] = "MSR[C0010015h] = 00000001 01000011h\tMSR[C0011023h] = 00000002 00200020h";
    }
    EXPECT_EQ(t.lines, expected);
    sim::Registers after = before;
    for (int core : {1, 2}) {
        *after.Find(core, sim::kRegister1) = kOn1;
        *after.Find(core, sim::kRegister2) = kOn2;
    }
    EXPECT_EQ(t.registers, after);
}

TEST(TobrinHeadless, WithoutADesktopTheFailureAlsoGoesToStandardError) {
    // Run in a Wine without a display: the error box cannot be shown.
    Folders folders;
    TobrinRun t = RunTobrin(folders);

    EXPECT_EQ(t.run.exit_code, 1u);
    EXPECT_EQ(t.lines, std::vector<std::string>(kSuccessReport.begin(), kSuccessReport.begin() + 2));
    EXPECT_EQ(t.run.err, "ERROR: Unable to load DLL!\r\n");
    EXPECT_TRUE(t.run.boxes.empty());
}

}  // namespace
