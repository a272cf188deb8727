// A call into SysInfo.dll that survives both what the library's contract leaves open (its
// calling convention) and what a broken library may do (fault inside the call).
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>

// What a library call raised instead of returning.
struct CallFault {
    const char* call;          // the entry point's name
    EXCEPTION_RECORD record;   // code, address and details of the fault
    char module[MAX_PATH];     // file name of the module the fault happened in, or ""
};

// Calls entry with 32-bit arguments, whether it is __cdecl (the caller pops the arguments) or
// __stdcall (it pops them itself). Returns true with the call's result in result, or false when
// the call raised a processor fault (an access violation, a division by zero, a privileged
// instruction...), which is then described in fault; execution resumes here as if the call had
// returned, and whatever the library left half done stays as it is.
bool GuardedCall(FARPROC entry, const char* name, std::initializer_list<uint32_t> args,
                 int32_t& result, CallFault& fault);
