#include "raise_fault.h"

namespace sim {

void RaiseFault(Fault fault) {
    switch (fault) {
    case Fault::AccessViolation: {
        // volatile keeps the compiler from proving the pointer bad and dropping the store.
        int* volatile bad_pointer = reinterpret_cast<int*>(0x10);
        *bad_pointer = 1;
        break;
    }
    case Fault::DivideByZero: {
        // Both operands volatile: GCC turns 1 / x into compares without a division.
        volatile int one = 1;
        volatile int zero = 0;
        volatile int quotient = one / zero;
        (void)quotient;
        break;
    }
    case Fault::PrivilegedInstruction: {
        // What a library reading the register itself, outside a driver, runs into: rdmsr in user
        // mode raises STATUS_PRIVILEGED_INSTRUCTION on Windows. Wine reports rdmsr as an access
        // violation, so hlt, which both report as a privileged instruction, stands in for it.
        asm volatile("hlt");
        break;
    }
    case Fault::None:
        break;
    }
}

}  // namespace sim
