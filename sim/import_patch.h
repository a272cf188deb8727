// Redirects a module's imports of one function to a replacement and puts them back.
#pragma once

#include <windows.h>

#include <vector>

namespace sim {

class ImportPatch {
public:
    // Points every import slot of function from dll in module to replacement. The library is
    // matched by name in any case ("KERNEL32.dll", "kernel32.dll"), so each import descriptor
    // a linker made for it is covered; a slot is matched by the imported name, or where the
    // slot has no name (imported by ordinal, or no name table), by the address it is bound to.
    // Returns how many slots were redirected.
    int Apply(HMODULE module, const char* dll, const char* function, void* replacement);
    // Puts back what every redirected slot held before.
    void Restore();

private:
    struct Slot {
        void** address;
        void* original;
    };
    std::vector<Slot> slots_;
};

}  // namespace sim
