#include <gtest/gtest.h>

#include "guarded_call.h"

namespace {

// Entry points as a library might export them, in both conventions. The weights make a call
// with its arguments in the wrong order give a wrong result.
extern "C" __attribute__((noinline, cdecl)) int32_t CdeclSum(uint32_t a, uint32_t b, uint32_t c) {
    return static_cast<int32_t>(a + 10 * b + 100 * c);
}
extern "C" __attribute__((noinline, stdcall)) int32_t StdcallSum(uint32_t a, uint32_t b,
                                                                  uint32_t c) {
    return static_cast<int32_t>(a + 10 * b + 100 * c);
}
extern "C" __attribute__((noinline, stdcall)) int32_t StdcallNoArgs() {
    return 7;
}

extern "C" __attribute__((noinline, cdecl)) int32_t WriteThroughNull(uint32_t) {
    *static_cast<volatile uint32_t*>(nullptr) = 1;
    return 1;
}
extern "C" __attribute__((noinline, stdcall)) int32_t DivideByZero(uint32_t zero) {
    volatile uint32_t divisor = zero;
    return static_cast<int32_t>(100 / divisor);
}
extern "C" __attribute__((noinline, cdecl)) int32_t Halt(uint32_t) {
    asm volatile("hlt");
    return 1;
}

FARPROC Entry(void* function) {
    return reinterpret_cast<FARPROC>(function);
}

uint32_t StackPointer() {
    uint32_t esp;
    asm volatile("mov %%esp, %0" : "=r"(esp));
    return esp;
}

uint32_t ExceptionChain() {
    uint32_t head;
    asm volatile("mov %%fs:0, %0" : "=r"(head));
    return head;
}

TEST(GuardedCall, CallsEitherConventionAndKeepsTheStack) {
    struct Case {
        const char* name;
        FARPROC entry;
        std::initializer_list<uint32_t> args;
        int32_t expected;
    };
    const Case cases[] = {
        {"cdecl", Entry(reinterpret_cast<void*>(CdeclSum)), {1, 2, 3}, 321},
        {"stdcall", Entry(reinterpret_cast<void*>(StdcallSum)), {4, 5, 6}, 654},
        {"stdcall, no arguments", Entry(reinterpret_cast<void*>(StdcallNoArgs)), {}, 7},
    };
    for (const Case& c : cases) {
        uint32_t stack_before = StackPointer();
        // A stack pointer left off by the callee's own cleanup would drift with every call.
        for (int i = 0; i < 1000; ++i) {
            int32_t result = 0;
            CallFault fault{};
            ASSERT_TRUE(GuardedCall(c.entry, c.name, c.args, result, fault)) << c.name;
            ASSERT_EQ(result, c.expected) << c.name;
        }
        EXPECT_EQ(StackPointer(), stack_before) << c.name;
    }
}

TEST(GuardedCall, TurnsAFaultInsideTheCallIntoAResult) {
    struct Case {
        const char* name;
        FARPROC entry;
        DWORD code;
    };
    const Case cases[] = {
        {"WriteThroughNull", Entry(reinterpret_cast<void*>(WriteThroughNull)),
         EXCEPTION_ACCESS_VIOLATION},
        {"DivideByZero", Entry(reinterpret_cast<void*>(DivideByZero)), EXCEPTION_INT_DIVIDE_BY_ZERO},
        {"Halt", Entry(reinterpret_cast<void*>(Halt)), EXCEPTION_PRIV_INSTRUCTION},
    };
    for (const Case& c : cases) {
        uint32_t chain_before = ExceptionChain();
        uint32_t stack_before = StackPointer();
        int32_t result = -1;
        CallFault fault{};
        EXPECT_FALSE(GuardedCall(c.entry, c.name, {0}, result, fault)) << c.name;
        EXPECT_EQ(result, 0) << c.name;
        EXPECT_STREQ(fault.call, c.name);
        EXPECT_EQ(fault.record.ExceptionCode, c.code) << c.name;
        EXPECT_STREQ(fault.module, "guarded_call_test.exe") << c.name;
        EXPECT_EQ(ExceptionChain(), chain_before) << c.name;
        EXPECT_EQ(StackPointer(), stack_before) << c.name;
    }
    // Calls after a fault work as before.
    int32_t result = 0;
    CallFault fault{};
    EXPECT_TRUE(GuardedCall(Entry(reinterpret_cast<void*>(CdeclSum)), "CdeclSum", {1, 1, 1},
                            result, fault));
    EXPECT_EQ(result, 111);
}

TEST(GuardedCall, AccessViolationTellsTheAddressAndTheKindOfAccess) {
    int32_t result;
    CallFault fault{};
    ASSERT_FALSE(GuardedCall(Entry(reinterpret_cast<void*>(WriteThroughNull)), "WriteThroughNull",
                             {0}, result, fault));
    ASSERT_GE(fault.record.NumberParameters, 2u);
    EXPECT_EQ(fault.record.ExceptionInformation[0], 1u);  // a write
    EXPECT_EQ(fault.record.ExceptionInformation[1], 0u);  // of address 0
    auto address = reinterpret_cast<uintptr_t>(fault.record.ExceptionAddress);
    auto function = reinterpret_cast<uintptr_t>(&WriteThroughNull);
    EXPECT_GE(address, function);
    EXPECT_LT(address, function + 64);
}

TEST(GuardedCall, LeavesAFaultThatTheLibraryHandlesItselfToTheLibrary) {
    // IsBadWritePtr probes the address inside its own exception handler.
    int32_t result = 0;
    CallFault fault{};
    EXPECT_TRUE(GuardedCall(GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsBadWritePtr"),
                            "IsBadWritePtr", {0, 4}, result, fault));
    EXPECT_EQ(result, TRUE);
}

}  // namespace
