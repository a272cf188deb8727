// The exports of the simulated SysInfo.dll. Compile definitions choose the build:
// SYSINFO_STDCALL makes the entry points __stdcall (else __cdecl), and SYSINFO_WITHOUT_<name>
// leaves that one entry point out.
#include "simulator.h"

#include <windows.h>

#ifdef SYSINFO_STDCALL
#define SYSINFO_ENTRY extern "C" __declspec(dllexport) int32_t __stdcall
#else
#define SYSINFO_ENTRY extern "C" __declspec(dllexport) int32_t __cdecl
#endif

#ifndef SYSINFO_WITHOUT_CreateSysInfo
SYSINFO_ENTRY CreateSysInfo(uint32_t arg) { return sim::dll::CreateSysInfo(arg); }
#endif

#ifndef SYSINFO_WITHOUT_DestroySysInfo
SYSINFO_ENTRY DestroySysInfo(uint32_t arg) { return sim::dll::DestroySysInfo(arg); }
#endif

#ifndef SYSINFO_WITHOUT_ReadMSR
SYSINFO_ENTRY ReadMSR(uint32_t reg, uint32_t* lo, uint32_t* hi) {
    return sim::dll::ReadMSR(reg, lo, hi);
}
#endif

#ifndef SYSINFO_WITHOUT_WriteMSR
SYSINFO_ENTRY WriteMSR(uint32_t reg, uint32_t* lo, uint32_t* hi) {
    return sim::dll::WriteMSR(reg, lo, hi);
}
#endif

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        DisableThreadLibraryCalls(self);
        return sim::dll::Attach(self);
    case DLL_PROCESS_DETACH:
        // reserved is null for FreeLibrary and non-null at process exit.
        sim::dll::Detach(reserved != nullptr);
        break;
    }
    return TRUE;
}
