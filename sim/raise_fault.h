// Real processor exceptions, raised on purpose inside a library call.
#pragma once

#include "sim_control.h"

namespace sim {

// Raises the fault where this is called; returns only if a handler resumed past it.
void RaiseFault(Fault fault);

}  // namespace sim
