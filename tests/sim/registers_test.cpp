// The registers of the simulated processor: fresh values, one set per core, persistence.
#include "sim_test_support.h"

namespace simtest {
namespace {

// A value unique to each core and register.
uint64_t ValueFor(int core, uint32_t reg) {
    return (uint64_t(0xA0000000 + core) << 32) | (reg == sim::kRegister1 ? 0x15 : 0x23) |
           (uint64_t(core) << 8);
}

class RegistersTest : public SimTest {
protected:
    // Pins to each core and writes ValueFor(core, reg) to both registers.
    void WriteEveryCore() {
        for (int core = 1; core <= sim::kCores; ++core) {
            ASSERT_TRUE(Pin(core));
            for (uint32_t reg : {sim::kRegister1, sim::kRegister2}) {
                uint64_t value = ValueFor(core, reg);
                ASSERT_NE(Write(reg, uint32_t(value), uint32_t(value >> 32)), 0);
            }
        }
    }
    void ExpectEveryCoreHoldsItsValue() {
        for (int core = 1; core <= sim::kCores; ++core) {
            for (uint32_t reg : {sim::kRegister1, sim::kRegister2}) {
                EXPECT_EQ(ReadOn(core, reg), ValueFor(core, reg)) << "core " << core;
            }
        }
    }
};

TEST_F(RegistersTest, FreshProcessorHoldsTheSameValuesOnEveryCore) {
    ASSERT_TRUE(Start());
    for (int core = 1; core <= sim::kCores; ++core) {
        EXPECT_EQ(ReadOn(core, sim::kRegister1), 0x0000000001000011u) << "core " << core;
        EXPECT_EQ(ReadOn(core, sim::kRegister2), 0x0000000000200020u) << "core " << core;
    }
}

TEST_F(RegistersTest, EachCoreKeepsItsOwnValuesAcrossReload) {
    ASSERT_TRUE(Start());
    WriteEveryCore();
    ExpectEveryCoreHoldsItsValue();

    Unload();
    sim::Registers expected;
    for (int core = 1; core <= sim::kCores; ++core) {
        for (uint32_t reg : {sim::kRegister1, sim::kRegister2}) {
            *expected.Find(core, reg) = ValueFor(core, reg);
        }
    }
    EXPECT_EQ(Registers(), expected);

    ASSERT_TRUE(Load());
    ExpectEveryCoreHoldsItsValue();
}

TEST_F(RegistersTest, ReadsTheStateTheControlLibraryWrote) {
    sim::Registers state = sim::Registers::Fresh();
    *state.Find(3, sim::kRegister2) = 0x123456789ABCDEF0;
    ASSERT_TRUE(sim::SetUpFolder(folder_, sim::Build::Cdecl));
    ASSERT_TRUE(sim::WriteRegisters(folder_, state));
    ASSERT_TRUE(Load());
    EXPECT_EQ(ReadOn(3, sim::kRegister2), 0x123456789ABCDEF0u);
    EXPECT_EQ(ReadOn(2, sim::kRegister2), sim::kFreshRegister2);
}

TEST_F(RegistersTest, OtherRegistersAreRefusedAndLeaveEverythingAlone) {
    ASSERT_TRUE(Start());
    for (uint32_t reg : {0u, 0xC0010016u, 0xC0011022u, 0x10u}) {
        uint32_t lo = 0x5A5A5A5A;
        uint32_t hi = 0xA5A5A5A5;
        EXPECT_EQ(Read(reg, &lo, &hi), 0) << std::hex << reg;
        EXPECT_EQ(lo, 0x5A5A5A5Au);
        EXPECT_EQ(hi, 0xA5A5A5A5u);
        EXPECT_EQ(Write(reg, 1, 2), 0) << std::hex << reg;
    }
    EXPECT_EQ(Registers(), sim::Registers::Fresh());
}

TEST_F(RegistersTest, AWriteThatCannotBeSavedFailsAndChangesNothing) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(CreateDirectoryA((folder_ + "\\" + sim::kStateName).c_str(), nullptr));
    ASSERT_TRUE(Pin(2));
    EXPECT_EQ(Write(sim::kRegister1, 0x99, 0), 0);
    EXPECT_EQ(ReadOn(2, sim::kRegister1), sim::kFreshRegister1);
    RemoveDirectoryA((folder_ + "\\" + sim::kStateName).c_str());
}

// A write made by another process, which then exits without FreeLibrary, is seen here; the
// journal tells its process exit apart from a FreeLibrary.
TEST_F(RegistersTest, AnotherProcessesWriteIsSeenAfterItExits) {
    ASSERT_TRUE(sim::SetUpFolder(folder_, sim::Build::Cdecl));
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string child = self;
    child = child.substr(0, child.find_last_of("\\/") + 1) + "sim_load_and_exit.exe";
    std::string command = "\"" + child + "\" \"" + folder_ + "\" 0x12345678";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(child.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
    WaitForSingleObject(process.hProcess, 30000);
    DWORD exit_code = 1;
    GetExitCodeProcess(process.hProcess, &exit_code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_EQ(exit_code, 0u);

    std::vector<sim::Event> events;
    for (const sim::JournalEntry& entry : sim::ReadJournal(folder_)) {
        EXPECT_EQ(entry.pid, process.dwProcessId) << entry.line;
        events.push_back(entry.event);
    }
    EXPECT_EQ(events, (std::vector<sim::Event>{sim::Event::Load, sim::Event::Pin,
                                               sim::Event::Call, sim::Event::ProcessExit}));

    ASSERT_TRUE(Load());
    EXPECT_EQ(ReadOn(2, sim::kRegister1), 0x12345678u);
    EXPECT_EQ(ReadOn(1, sim::kRegister1), sim::kFreshRegister1);
}

}  // namespace
}  // namespace simtest
