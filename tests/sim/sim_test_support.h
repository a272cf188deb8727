// Loading a build of the simulated SysInfo.dll from a fresh folder and calling it through
// pointers typed for its calling convention.
#pragma once

#include "sim_control.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace simtest {

// What a successful run makes of all the calls, and what it writes.
constexpr int kProgramCalls = 1 + 4 * 2 + 4 * 4 + 1;
constexpr uint32_t kWriteValue1 = 0x01000019;
constexpr uint32_t kWriteValue2 = 0x00200022;

// What one call did: its result, or the processor exception it raised.
struct Outcome {
    int32_t result = 0;
    DWORD exception = 0;       // 0: none
    bool inside_dll = false;   // the exception was raised by code of the DLL under test
};

// Runs call and catches a processor exception raised inside it, which would otherwise end the
// test program.
Outcome RunTrapped(HMODULE dll, const std::function<int32_t()>& call);

// Where this program's own calls of SetThreadAffinityMask go now (its import slot), and where
// kernel32 has the function.
void* AffinityImport();
void* RealAffinityFunction();

class SimTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Copies that build with that configuration into the folder and loads it.
    bool Start(sim::Build build = sim::Build::Cdecl, const sim::Config& config = sim::Config());
    bool Load();
    void Unload();

    int32_t Create(uint32_t arg);
    int32_t Destroy(uint32_t arg);
    int32_t Read(uint32_t reg, uint32_t* lo, uint32_t* hi);
    int32_t Write(uint32_t reg, uint32_t lo, uint32_t hi);

    // Pins this thread to one core (1-4) as the programs do; true if the pin was accepted.
    static bool Pin(int core);
    // Pins, then reads; the whole value, or ~0 if the read failed.
    uint64_t ReadOn(int core, uint32_t reg);

    // The calls a program makes on a successful run, each trapped, none skipped after a
    // failure: CreateSysInfo(1); for cores 1-4 a pin and the reads of both registers; for cores
    // 1-4 a pin, the writes of kWriteValue1 and kWriteValue2 and both read-backs;
    // DestroySysInfo(0x5151). Outcome i belongs to call number i + 1.
    std::vector<Outcome> RunLikeAProgram();

    sim::Registers Registers();
    std::vector<sim::JournalEntry> Calls();  // the journal's call entries

    std::string folder_;
    HMODULE module_ = nullptr;
    bool stdcall_ = false;
};

}  // namespace simtest

// Calls fn with three arguments and returns how many bytes of them fn removed from the stack:
// 0 for a __cdecl function, 4 per argument it takes for a __stdcall one.
extern "C" uint32_t CalleePoppedBytes(void* fn, uint32_t a, uint32_t b, uint32_t c);
