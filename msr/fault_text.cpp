#include "fault_text.h"

#include <cstdio>

namespace {

const char* FaultName(DWORD code) {
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION: return "access violation";
    case EXCEPTION_INT_DIVIDE_BY_ZERO: return "division by zero";
    case EXCEPTION_INT_OVERFLOW: return "integer overflow";
    case EXCEPTION_PRIV_INSTRUCTION: return "privileged instruction";
    case EXCEPTION_ILLEGAL_INSTRUCTION: return "illegal instruction";
    case EXCEPTION_STACK_OVERFLOW: return "stack overflow";
    case EXCEPTION_BREAKPOINT: return "breakpoint";
    case EXCEPTION_IN_PAGE_ERROR: return "in-page error";
    default: return nullptr;
    }
}

}  // namespace

void FormatFault(const CallFault& fault, char* text, size_t size) {
    const EXCEPTION_RECORD& record = fault.record;
    const char* what = FaultName(record.ExceptionCode);
    char code[24];
    if (!what) {
        std::snprintf(code, sizeof code, "exception %08lX", record.ExceptionCode);
        what = code;
    }
    char where[MAX_PATH + 8] = "";
    if (fault.module[0]) {
        std::snprintf(where, sizeof where, " in %s", fault.module);
    }
    char access[48] = "";
    if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2) {
        const char* kind = record.ExceptionInformation[0] == 1   ? "write"
                           : record.ExceptionInformation[0] == 8 ? "execution"
                                                                 : "read";
        std::snprintf(access, sizeof access, " (%s of address %08lX)", kind,
                      static_cast<unsigned long>(record.ExceptionInformation[1]));
    }
    std::snprintf(text, size, "%s crashed: %s at address %08lX%s%s", fault.call, what,
                  reinterpret_cast<unsigned long>(record.ExceptionAddress), where, access);
}
