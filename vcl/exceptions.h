// The toolkit's exception classes. Thrown by value and caught by reference; a program's guard
// catches Exception& and hands it to Application->ShowException.
#pragma once

#include <cstdint>
#include <string>

class Exception {
public:
    explicit Exception(std::string message) : Message(std::move(message)) {}
    virtual ~Exception() = default;

    std::string Message;
};

// A processor fault or another operating-system exception, turned into a toolkit exception.
class EExternal : public Exception {
public:
    EExternal(std::string message, std::uint32_t code, std::uintptr_t address)
        : Exception(std::move(message)), ExceptionCode(code), ExceptionAddress(address) {}

    std::uint32_t ExceptionCode;
    std::uintptr_t ExceptionAddress;  // the instruction that faulted
};

class EAccessViolation : public EExternal {
public:
    using EExternal::EExternal;
};

class EDivByZero : public EExternal {
public:
    using EExternal::EExternal;
};

class EPrivilege : public EExternal {
public:
    using EExternal::EExternal;
};
