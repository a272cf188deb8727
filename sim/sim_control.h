// Test-side control of the simulated SysInfo.dll: set up a folder with a build of it, choose
// its behaviour, and read what it did. Everything lives in files beside the DLL (README.md).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// The two registers the simulated processor has on each of its four cores.
constexpr uint32_t kRegister1 = 0xC0010015;
constexpr uint32_t kRegister2 = 0xC0011023;
constexpr int kCores = 4;

// What a fresh processor holds on every core (and what a missing state file means).
constexpr uint64_t kFreshRegister1 = 0x0000000001000011;
constexpr uint64_t kFreshRegister2 = 0x0000000000200020;

// The files the DLL keeps beside itself.
constexpr const char* kDllName = "SysInfo.dll";
constexpr const char* kConfigName = "SysInfo.cfg";
constexpr const char* kStateName = "SysInfo.state";
constexpr const char* kJournalName = "SysInfo.journal";

struct Registers {
    // values[core - 1][0] holds 0xC0010015, values[core - 1][1] holds 0xC0011023.
    std::array<std::array<uint64_t, 2>, kCores> values{};

    static Registers Fresh();
    // Null for a core outside 1-4 or a register the processor lacks.
    uint64_t* Find(int core, uint32_t reg);
    const uint64_t* Find(int core, uint32_t reg) const;
    bool operator==(const Registers& other) const { return values == other.values; }
};

enum class Topology { Four, Two, Host };
enum class Entry { CreateSysInfo, DestroySysInfo, ReadMSR, WriteMSR };
enum class Fault { None, AccessViolation, DivideByZero, PrivilegedInstruction };

// Picks calls of the library and says what happens to them instead of the normal work.
struct Rule {
    Fault fault = Fault::None;  // None: the call returns 0; otherwise raised inside the call
    unsigned call = 0;          // nonzero: the call with this number since load (1 = first call)
    Entry entry = Entry::ReadMSR;  // when call == 0: calls of this entry point...
    int core = 0;                  // ...on this core (0: any)...
    uint32_t reg = 0;              // ...with this register (0: any)...
    unsigned nth = 0;              // ...only the nth of them (0: all of them)
};
Rule Match(Fault fault, Entry entry, int core = 0, uint32_t reg = 0, unsigned nth = 0);
Rule MatchCall(Fault fault, unsigned call);

struct Config {
    Topology topology = Topology::Four;
    int32_t create_result = 0x5151;  // what CreateSysInfo returns (0 makes it fail)
    bool refuse_load = false;        // DllMain returns FALSE
    // A failing ReadMSR stores these halves into its outputs; otherwise it leaves them alone.
    bool store_on_failed_read = false;
    uint32_t failed_read_lo = 0;
    uint32_t failed_read_hi = 0;
    std::vector<Rule> rules;  // the first rule that picks a call decides
};

enum class Event {
    Load,         // DLL_PROCESS_ATTACH
    LoadRefused,  // DllMain returned FALSE; why says which setting or file
    Pin,          // SetThreadAffinityMask through the simulator's stand-in
    Call,         // an entry point
    FreeLibrary,  // DLL_PROCESS_DETACH by FreeLibrary
    ProcessExit,  // DLL_PROCESS_DETACH at process exit
    Unreadable,   // a line that could not be parsed (see line)
};

struct JournalEntry {
    unsigned seq = 0;  // 1 for the first line of the journal, counting across loads
    Event event = Event::Unreadable;
    unsigned long pid = 0;
    std::string line;  // the line as written

    // Call
    unsigned call = 0;  // number of the call since the library was loaded, from 1
    Entry entry = Entry::CreateSysInfo;
    uint32_t arg = 0;  // argument of CreateSysInfo and DestroySysInfo
    uint32_t reg = 0;  // register of ReadMSR and WriteMSR
    bool has_value = false;  // lo and hi hold the value written, or what a read stored
    uint32_t lo = 0;
    uint32_t hi = 0;
    int32_t result = 0;
    Fault fault = Fault::None;  // raised inside the call: there is no result

    // Call: the core acted on; Pin: the emulated core after the pin.
    int core = 0;

    // Pin
    uint32_t mask = 0;
    bool accepted = false;

    // LoadRefused
    std::string why;
};

enum class Build { Cdecl, Stdcall, NoCreateSysInfo, NoDestroySysInfo, NoReadMSR, NoWriteMSR };

// Absolute path of that build's SysInfo.dll in the build tree.
std::string DllPath(Build build);

// Creates a new empty folder under the temporary folder and returns its path ("" on failure).
std::string NewFolder();
// Removes a folder made by NewFolder with the files in it.
bool RemoveFolder(const std::string& folder);

// Makes folder (if needed) a fresh simulator: a copy of that build, the given configuration,
// no state file (a fresh processor) and no journal.
bool SetUpFolder(const std::string& folder, Build build, const Config& config = Config());

bool WriteConfig(const std::string& folder, const Config& config);
bool WriteRegisters(const std::string& folder, const Registers& registers);
// A missing state file gives a fresh processor; false for a state file that cannot be read.
bool ReadRegisters(const std::string& folder, Registers& registers);
// Every line of the folder's journal; none when there is no journal.
std::vector<JournalEntry> ReadJournal(const std::string& folder);
// The entry-point calls of a journal, in order.
std::vector<JournalEntry> CallsIn(const std::vector<JournalEntry>& journal);

const char* EntryName(Entry entry);

}  // namespace sim
