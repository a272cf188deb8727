// The simulated processor behind the DLL's entry points: registers kept in a state file,
// calls picked by the configuration's rules, the emulated topology, and the journal.
#pragma once

#include <windows.h>

#include <cstdint>

namespace sim::dll {

// DLL_PROCESS_ATTACH: reads the configuration and state beside the DLL. False refuses the load.
bool Attach(HMODULE self);
// DLL_PROCESS_DETACH, by FreeLibrary or at process exit.
void Detach(bool process_exit);

int32_t CreateSysInfo(uint32_t arg);
int32_t DestroySysInfo(uint32_t arg);
int32_t ReadMSR(uint32_t reg, uint32_t* lo, uint32_t* hi);
int32_t WriteMSR(uint32_t reg, uint32_t* lo, uint32_t* hi);

}  // namespace sim::dll
