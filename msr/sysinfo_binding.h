// Binding of SysInfo.dll, the outside library through which both programs reach the two
// model-specific registers of each core. Each program compiles its own copy of this code.
#pragma once

#include <windows.h>

#include <cstdint>

#include "guarded_call.h"

// The two registers, always handled in this order.
constexpr uint32_t index_1 = 0xC0010015;
constexpr uint32_t index_2 = 0xC0011023;

// Both registers of one core, each as its low half (bits 0-31) and high half (bits 32-63).
struct MsrPair {
    uint32_t lo_1;
    uint32_t hi_1;
    uint32_t lo_2;
    uint32_t hi_2;
};

// The two value sets differ only in bit 3 of lo_1 and bit 1 of lo_2.
constexpr MsrPair PatchOffValues = {0x01000011, 0, 0x00200020, 0};
constexpr MsrPair PatchOnValues = {0x01000019, 0, 0x00200022, 0};

// Cores 1 to 4, in the order they are always visited.
constexpr uint32_t core_masks[4] = {1, 2, 4, 8};

enum class MsrError {
    None,
    LoadFailed,
    EntryMissing,
    CreateFailed,
    ReadFailed,
    WriteFailed,
    // A processor fault (an access violation, say) inside a library call; SysInfoLib::fault
    // tells which call and what happened.
    CallFaulted,
};

// The fixed text of each failure, the same in both programs.
const char* MsrErrorText(MsrError error);

// The bound library. The entry points are kept untyped: the library may have been built for
// either calling convention, and GuardedCall handles both.
struct SysInfoLib {
    HMODULE hinstLib;
    FARPROC CreateSysInfo;
    FARPROC DestroySysInfo;
    FARPROC ReadMSR;
    FARPROC WriteMSR;
    int32_t ct;
    CallFault fault;  // set when a call ended in CallFaulted
};

// The text that reports a failure to the user: the fixed text of its kind, or for a fault, one
// that names the call, the fault and where it happened, made in buffer.
struct FailureBuffer {
    char text[512];
};
const char* FailureText(MsrError error, const SysInfoLib& lib, FailureBuffer& buffer);

MsrError BindSysInfo(SysInfoLib& lib);
// Calls DestroySysInfo(ct) if destroy is set, then frees the library. DestroySysInfo's result
// is not looked at; only a fault inside it is reported (CallFaulted), and the library is freed
// all the same.
MsrError ReleaseSysInfo(SysInfoLib& lib, bool destroy);
void PinToCore(HANDLE h_thread, uint32_t core_mask);
MsrError ReadMsrPair(SysInfoLib& lib, MsrPair& pair);
MsrError WriteMsrPair(SysInfoLib& lib, const MsrPair& pair);

// Which halves of a read-back were really read. The outcome of a run never depends on it; it
// only keeps a failed read from being shown as a value.
struct ReadBack {
    bool read_1;
    bool read_2;
};
// Both reads are always made. Fails only by a processor fault (CallFaulted).
MsrError ReadBackPair(SysInfoLib& lib, MsrPair& pair, ReadBack& read_back);
