#include "sim_test_support.h"

#include <csetjmp>

namespace simtest {
namespace {

using CreateCdecl = int32_t(__cdecl*)(uint32_t);
using CreateStdcall = int32_t(__stdcall*)(uint32_t);
using AccessCdecl = int32_t(__cdecl*)(uint32_t, uint32_t*, uint32_t*);
using AccessStdcall = int32_t(__stdcall*)(uint32_t, uint32_t*, uint32_t*);

template <typename Cdecl, typename Stdcall, typename... Args>
int32_t Invoke(HMODULE module, bool stdcall, const char* name, Args... args) {
    void* proc = reinterpret_cast<void*>(GetProcAddress(module, name));
    if (!proc) {
        ADD_FAILURE() << name << " is not exported";
        return 0;
    }
    return stdcall ? reinterpret_cast<Stdcall>(proc)(args...)
                   : reinterpret_cast<Cdecl>(proc)(args...);
}

// The trap of RunTrapped: where to resume, and what was caught.
std::jmp_buf trap_resume;
EXCEPTION_RECORD trap_record;
bool trap_armed = false;

LONG CALLBACK TrapHandler(EXCEPTION_POINTERS* pointers) {
    if (!trap_armed) return EXCEPTION_CONTINUE_SEARCH;
    trap_armed = false;
    trap_record = *pointers->ExceptionRecord;
    std::longjmp(trap_resume, 1);
}

}  // namespace

void* AffinityImport() { return reinterpret_cast<void*>(&SetThreadAffinityMask); }

void* RealAffinityFunction() {
    return reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetThreadAffinityMask"));
}

void SimTest::SetUp() {
    folder_ = sim::NewFolder();
    ASSERT_FALSE(folder_.empty());
}

void SimTest::TearDown() {
    Unload();
    sim::RemoveFolder(folder_);
}

bool SimTest::Start(sim::Build build, const sim::Config& config) {
    stdcall_ = build == sim::Build::Stdcall;
    return sim::SetUpFolder(folder_, build, config) && Load();
}

bool SimTest::Load() {
    module_ = LoadLibraryA((folder_ + "\\" + sim::kDllName).c_str());
    return module_ != nullptr;
}

void SimTest::Unload() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
}

int32_t SimTest::Create(uint32_t arg) {
    return Invoke<CreateCdecl, CreateStdcall>(module_, stdcall_, "CreateSysInfo", arg);
}

int32_t SimTest::Destroy(uint32_t arg) {
    return Invoke<CreateCdecl, CreateStdcall>(module_, stdcall_, "DestroySysInfo", arg);
}

int32_t SimTest::Read(uint32_t reg, uint32_t* lo, uint32_t* hi) {
    return Invoke<AccessCdecl, AccessStdcall>(module_, stdcall_, "ReadMSR", reg, lo, hi);
}

int32_t SimTest::Write(uint32_t reg, uint32_t lo, uint32_t hi) {
    return Invoke<AccessCdecl, AccessStdcall>(module_, stdcall_, "WriteMSR", reg, &lo, &hi);
}

bool SimTest::Pin(int core) {
    return SetThreadAffinityMask(GetCurrentThread(), DWORD_PTR(1) << (core - 1)) != 0;
}

uint64_t SimTest::ReadOn(int core, uint32_t reg) {
    uint32_t lo = 0;
    uint32_t hi = 0;
    if (!Pin(core) || !Read(reg, &lo, &hi)) return ~uint64_t(0);
    return (uint64_t(hi) << 32) | lo;
}

std::vector<Outcome> SimTest::RunLikeAProgram() {
    std::vector<Outcome> outcomes;
    uint32_t lo = 0;
    uint32_t hi = 0;
    auto call = [&](const std::function<int32_t()>& one) {
        outcomes.push_back(RunTrapped(module_, one));
    };
    call([&] { return Create(1); });
    for (int core = 1; core <= sim::kCores; ++core) {
        Pin(core);
        call([&] { return Read(sim::kRegister1, &lo, &hi); });
        call([&] { return Read(sim::kRegister2, &lo, &hi); });
    }
    for (int core = 1; core <= sim::kCores; ++core) {
        Pin(core);
        call([&] { return Write(sim::kRegister1, kWriteValue1, 0); });
        call([&] { return Write(sim::kRegister2, kWriteValue2, 0); });
        call([&] { return Read(sim::kRegister1, &lo, &hi); });
        call([&] { return Read(sim::kRegister2, &lo, &hi); });
    }
    call([&] { return Destroy(0x5151); });
    return outcomes;
}

sim::Registers SimTest::Registers() {
    sim::Registers registers;
    EXPECT_TRUE(sim::ReadRegisters(folder_, registers));
    return registers;
}

std::vector<sim::JournalEntry> SimTest::Calls() {
    std::vector<sim::JournalEntry> calls;
    for (const sim::JournalEntry& entry : sim::ReadJournal(folder_)) {
        if (entry.event == sim::Event::Call) calls.push_back(entry);
    }
    return calls;
}

Outcome RunTrapped(HMODULE dll, const std::function<int32_t()>& call) {
    Outcome outcome;
    PVOID handler = AddVectoredExceptionHandler(1, TrapHandler);
    trap_armed = true;
    if (setjmp(trap_resume) == 0) {
        outcome.result = call();
    } else {
        HMODULE raised_in = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<LPCSTR>(trap_record.ExceptionAddress), &raised_in);
        outcome.exception = trap_record.ExceptionCode;
        outcome.inside_dll = raised_in == dll;
    }
    trap_armed = false;
    RemoveVectoredExceptionHandler(handler);
    return outcome;
}

}  // namespace simtest
