// The emulated topology: which pins the stand-in for SetThreadAffinityMask accepts, which core
// the register calls then act on, and the program's own import put back at FreeLibrary.
#include "sim_test_support.h"

namespace simtest {
namespace {

struct PinCase {
    const char* name;
    sim::Topology topology;
    DWORD_PTR mask;
    bool accepted;
    int core;  // the core acted on afterwards; a refused pin keeps core 2 from the pin before
};

const PinCase kPinCases[] = {
    {"FourCore1", sim::Topology::Four, 1, true, 1},
    {"FourCore3", sim::Topology::Four, 4, true, 3},
    {"FourCore4", sim::Topology::Four, 8, true, 4},
    {"FourLowestBitDecides", sim::Topology::Four, 0xC, true, 3},
    {"FourRefusesCore5", sim::Topology::Four, 0x10, false, 2},
    {"FourRefusesEmptyMask", sim::Topology::Four, 0, false, 2},
    {"TwoCore1", sim::Topology::Two, 1, true, 1},
    {"TwoRefusesCore3", sim::Topology::Two, 4, false, 2},
    {"TwoRefusesCore4", sim::Topology::Two, 8, false, 2},
    {"TwoBothCores", sim::Topology::Two, 3, true, 1},
};

class PinTest : public SimTest, public ::testing::WithParamInterface<PinCase> {};

TEST_P(PinTest, AcceptsOrRefusesAndTheCallsFollow) {
    const PinCase& pin = GetParam();
    sim::Config config;
    config.topology = pin.topology;
    ASSERT_TRUE(Start(sim::Build::Cdecl, config));
    HANDLE thread = GetCurrentThread();
    DWORD_PTR all_cores = pin.topology == sim::Topology::Two ? 0x3 : 0xF;
    EXPECT_EQ(SetThreadAffinityMask(thread, 2), all_cores);

    SetLastError(0);
    DWORD_PTR previous = SetThreadAffinityMask(thread, pin.mask);
    if (pin.accepted) {
        EXPECT_EQ(previous, 2u);
    } else {
        EXPECT_EQ(previous, 0u);
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    }
    ASSERT_NE(Write(sim::kRegister1, 0x77, 0), 0);
    for (int core = 1; core <= sim::kCores; ++core) {
        EXPECT_EQ(*Registers().Find(core, sim::kRegister1),
                  core == pin.core ? 0x77 : sim::kFreshRegister1)
            << "core " << core;
    }

    std::vector<sim::JournalEntry> journal = sim::ReadJournal(folder_);
    ASSERT_EQ(journal.size(), 4u);
    const sim::JournalEntry& logged_pin = journal[2];
    EXPECT_EQ(logged_pin.event, sim::Event::Pin) << logged_pin.line;
    EXPECT_EQ(logged_pin.mask, pin.mask) << logged_pin.line;
    EXPECT_EQ(logged_pin.accepted, pin.accepted) << logged_pin.line;
    EXPECT_EQ(logged_pin.core, pin.core) << logged_pin.line;
    EXPECT_EQ(journal[3].core, pin.core) << journal[3].line;
}

INSTANTIATE_TEST_SUITE_P(Topology, PinTest, ::testing::ValuesIn(kPinCases),
                         [](const auto& info) { return std::string(info.param.name); });

class ImportPatchTest : public SimTest {};

TEST_F(ImportPatchTest, BeforeAnyPinTheCallsActOnCore1) {
    ASSERT_TRUE(Start());
    ASSERT_NE(Write(sim::kRegister2, 0x42, 0), 0);
    EXPECT_EQ(*Registers().Find(1, sim::kRegister2), 0x42u);
}

TEST_F(ImportPatchTest, FreeLibraryPutsTheProgramsOwnFunctionBack) {
    void* real = RealAffinityFunction();
    ASSERT_EQ(AffinityImport(), real);
    ASSERT_TRUE(Start());
    EXPECT_NE(AffinityImport(), real);
    Unload();
    EXPECT_EQ(AffinityImport(), real);

    // The real function answers again: it returns the thread's real affinity, and the
    // simulator no longer journals pins.
    HANDLE thread = GetCurrentThread();
    DWORD_PTR process_mask = 0;
    DWORD_PTR system_mask = 0;
    ASSERT_TRUE(GetProcessAffinityMask(GetCurrentProcess(), &process_mask, &system_mask));
    EXPECT_EQ(SetThreadAffinityMask(thread, 1), process_mask);
    EXPECT_EQ(SetThreadAffinityMask(thread, process_mask), 1u);
    std::vector<sim::JournalEntry> journal = sim::ReadJournal(folder_);
    ASSERT_FALSE(journal.empty());
    EXPECT_EQ(journal.back().event, sim::Event::FreeLibrary) << journal.back().line;
}

// With the host topology nothing is patched: the thread really moves, and the calls act on the
// core it runs on.
TEST_F(ImportPatchTest, HostTopologyActsOnTheRealCore) {
    DWORD_PTR process_mask = 0;
    DWORD_PTR system_mask = 0;
    ASSERT_TRUE(GetProcessAffinityMask(GetCurrentProcess(), &process_mask, &system_mask));
    if ((process_mask & 2) == 0) GTEST_SKIP() << "this machine has one core";
    sim::Config config;
    config.topology = sim::Topology::Host;
    ASSERT_TRUE(Start(sim::Build::Cdecl, config));
    EXPECT_EQ(AffinityImport(), RealAffinityFunction());

    HANDLE thread = GetCurrentThread();
    ASSERT_NE(SetThreadAffinityMask(thread, 2), 0u);
    Sleep(0);
    EXPECT_EQ(GetCurrentProcessorNumber(), 1u);
    EXPECT_NE(Write(sim::kRegister1, 0x55, 0), 0);
    SetThreadAffinityMask(thread, process_mask);
    EXPECT_EQ(*Registers().Find(2, sim::kRegister1), 0x55u);
    std::vector<sim::JournalEntry> calls = Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].core, 2) << calls[0].line;
}

}  // namespace
}  // namespace simtest
