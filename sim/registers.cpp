#include "sim_control.h"

namespace sim {

Registers Registers::Fresh() {
    Registers fresh;
    for (auto& core : fresh.values) core = {kFreshRegister1, kFreshRegister2};
    return fresh;
}

uint64_t* Registers::Find(int core, uint32_t reg) {
    if (core < 1 || core > kCores) return nullptr;
    if (reg == kRegister1) return &values[core - 1][0];
    if (reg == kRegister2) return &values[core - 1][1];
    return nullptr;
}

const uint64_t* Registers::Find(int core, uint32_t reg) const {
    return const_cast<Registers*>(this)->Find(core, reg);
}

}  // namespace sim
