#include "win32_faults.h"

#include "exceptions.h"

#include <cstdio>

namespace {

std::string Hex8(std::uintptr_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
    return text;
}

// The first parameter of an access violation says what the instruction tried to do.
const char* AccessKind(ULONG_PTR operation)
{
    switch (operation) {
    case 0: return "Read";
    case 1: return "Write";
    case 8: return "Execution";
    default: return "Access";
    }
}

}  // namespace

std::exception_ptr ExceptionFromRecord(const EXCEPTION_RECORD& record)
{
    const std::uint32_t code = record.ExceptionCode;
    const auto address = reinterpret_cast<std::uintptr_t>(record.ExceptionAddress);
    const std::string at = " at address " + Hex8(address);

    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION: {
        std::string message = "Access violation" + at;
        if (record.NumberParameters >= 2)
            message += std::string(". ") + AccessKind(record.ExceptionInformation[0]) +
                       " of address " + Hex8(record.ExceptionInformation[1]);
        return std::make_exception_ptr(EAccessViolation(message, code, address));
    }
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
        return std::make_exception_ptr(EDivByZero("Division by zero" + at, code, address));
    case EXCEPTION_PRIV_INSTRUCTION:
        return std::make_exception_ptr(EPrivilege("Privileged instruction" + at, code, address));
    default:
        return std::make_exception_ptr(
            EExternal("External exception " + Hex8(code) + at, code, address));
    }
}
