#pragma once

#include <cstddef>

#include "guarded_call.h"

// Describes a fault into text (at most size bytes), e.g. "ReadMSR crashed: access violation at
// address 6A2C11F0 in SysInfo.dll (write of address 00000000)".
void FormatFault(const CallFault& fault, char* text, size_t size);
