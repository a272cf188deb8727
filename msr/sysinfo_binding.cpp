#include "sysinfo_binding.h"

#include <cstdio>

#include "fault_text.h"

const char* MsrErrorText(MsrError error) {
    switch (error) {
    case MsrError::None: return "";
    case MsrError::LoadFailed: return "ERROR: Unable to load DLL!";
    case MsrError::EntryMissing: return "ERROR: Unable to find DLL function!";
    case MsrError::CreateFailed: return "ERROR: CreateSysInfo Failed!";
    case MsrError::ReadFailed: return "ERROR: ReadMSR Function error!";
    case MsrError::WriteFailed: return "ERROR: WriteMSR Function error!";
    case MsrError::CallFaulted: return "ERROR: SysInfo.dll crashed!";
    }
    return "";
}

const char* FailureText(MsrError error, const SysInfoLib& lib, FailureBuffer& buffer) {
    if (error != MsrError::CallFaulted) {
        return MsrErrorText(error);
    }
    char fault[sizeof buffer.text - 16];
    FormatFault(lib.fault, fault, sizeof fault);
    std::snprintf(buffer.text, sizeof buffer.text, "ERROR: %s!", fault);
    return buffer.text;
}

namespace {

// A library loaded by bare name would otherwise also be taken from the current folder (and the
// folders of PATH): a stray SysInfo.dll wherever the user happens to stand would run with the
// tool's rights. Only the program's own folder and the system folders are searched.
void RestrictLibrarySearch() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    auto set_default_dll_directories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    if (set_default_dll_directories &&
        set_default_dll_directories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS)) {
        return;
    }
    // Older systems: at least the current folder is left out.
    SetDllDirectoryA("");
}

// A call whose fault, if any, is kept in lib.fault.
bool Call(SysInfoLib& lib, FARPROC entry, const char* name, std::initializer_list<uint32_t> args,
          int32_t& result) {
    return GuardedCall(entry, name, args, result, lib.fault);
}

uint32_t Address(uint32_t& half) {
    return reinterpret_cast<uint32_t>(&half);
}

}  // namespace

MsrError BindSysInfo(SysInfoLib& lib) {
    lib = SysInfoLib{};
    RestrictLibrarySearch();
    lib.hinstLib = LoadLibraryA("SysInfo.dll");
    if (!lib.hinstLib) {
        return MsrError::LoadFailed;
    }
    lib.CreateSysInfo = GetProcAddress(lib.hinstLib, "CreateSysInfo");
    lib.DestroySysInfo = GetProcAddress(lib.hinstLib, "DestroySysInfo");
    lib.ReadMSR = GetProcAddress(lib.hinstLib, "ReadMSR");
    lib.WriteMSR = GetProcAddress(lib.hinstLib, "WriteMSR");
    if (!lib.CreateSysInfo || !lib.DestroySysInfo || !lib.ReadMSR || !lib.WriteMSR) {
        return MsrError::EntryMissing;
    }
    if (!Call(lib, lib.CreateSysInfo, "CreateSysInfo", {1}, lib.ct)) {
        return MsrError::CallFaulted;
    }
    return lib.ct ? MsrError::None : MsrError::CreateFailed;
}

MsrError ReleaseSysInfo(SysInfoLib& lib, bool destroy) {
    MsrError error = MsrError::None;
    int32_t ignored;
    if (destroy &&
        !Call(lib, lib.DestroySysInfo, "DestroySysInfo", {static_cast<uint32_t>(lib.ct)}, ignored)) {
        error = MsrError::CallFaulted;
    }
    FreeLibrary(lib.hinstLib);
    lib.hinstLib = nullptr;
    return error;
}

void PinToCore(HANDLE h_thread, uint32_t core_mask) {
    SetThreadAffinityMask(h_thread, core_mask);
}

namespace {

// One register through ReadMSR or WriteMSR: ok is the library's verdict, false if it faulted.
MsrError Transfer(SysInfoLib& lib, FARPROC entry, const char* name, MsrError failure,
                  uint32_t index, uint32_t& lo, uint32_t& hi) {
    int32_t result;
    if (!Call(lib, entry, name, {index, Address(lo), Address(hi)}, result)) {
        return MsrError::CallFaulted;
    }
    return result ? MsrError::None : failure;
}

MsrError TransferPair(SysInfoLib& lib, FARPROC entry, const char* name, MsrError failure,
                      MsrPair& pair) {
    MsrError error = Transfer(lib, entry, name, failure, index_1, pair.lo_1, pair.hi_1);
    if (error != MsrError::None) {
        return error;
    }
    return Transfer(lib, entry, name, failure, index_2, pair.lo_2, pair.hi_2);
}

}  // namespace

MsrError ReadMsrPair(SysInfoLib& lib, MsrPair& pair) {
    return TransferPair(lib, lib.ReadMSR, "ReadMSR", MsrError::ReadFailed, pair);
}

MsrError WriteMsrPair(SysInfoLib& lib, const MsrPair& pair) {
    // The library takes the addresses of the halves but leaves them as they are.
    MsrPair halves = pair;
    return TransferPair(lib, lib.WriteMSR, "WriteMSR", MsrError::WriteFailed, halves);
}

MsrError ReadBackPair(SysInfoLib& lib, MsrPair& pair, ReadBack& read_back) {
    MsrError first = Transfer(lib, lib.ReadMSR, "ReadMSR", MsrError::ReadFailed, index_1,
                              pair.lo_1, pair.hi_1);
    if (first == MsrError::CallFaulted) {
        return first;
    }
    MsrError second = Transfer(lib, lib.ReadMSR, "ReadMSR", MsrError::ReadFailed, index_2,
                               pair.lo_2, pair.hi_2);
    if (second == MsrError::CallFaulted) {
        return second;
    }
    read_back = {first == MsrError::None, second == MsrError::None};
    return MsrError::None;
}
