#pragma once

#include <string>

#include "guarded_call.h"

// "ReadMSR crashed: access violation at address 6A2C11F0 in SysInfo.dll (write of address
// 00000000)"
std::string FaultText(const CallFault& fault);
