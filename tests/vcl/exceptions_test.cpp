// A processor fault's record becomes the toolkit exception of the matching kind, with a message
// that names the fault and the address.
#include <gtest/gtest.h>

#include <typeinfo>

#include "exceptions.h"
#include "win32_faults.h"

namespace {

struct FaultCase {
    const char* name;
    DWORD code;
    std::vector<ULONG_PTR> parameters;
    const std::type_info& type;
    const char* message;
};

const FaultCase kFaultCases[] = {
    {"Write", EXCEPTION_ACCESS_VIOLATION, {1, 0}, typeid(EAccessViolation),
     "Access violation at address 1000123A. Write of address 00000000"},
    {"Read", EXCEPTION_ACCESS_VIOLATION, {0, 0xDEADBEEF}, typeid(EAccessViolation),
     "Access violation at address 1000123A. Read of address DEADBEEF"},
    {"Execute", EXCEPTION_ACCESS_VIOLATION, {8, 0x1000123A}, typeid(EAccessViolation),
     "Access violation at address 1000123A. Execution of address 1000123A"},
    {"NoDetails", EXCEPTION_ACCESS_VIOLATION, {}, typeid(EAccessViolation),
     "Access violation at address 1000123A"},
    {"DivByZero", EXCEPTION_INT_DIVIDE_BY_ZERO, {}, typeid(EDivByZero),
     "Division by zero at address 1000123A"},
    {"Privilege", EXCEPTION_PRIV_INSTRUCTION, {}, typeid(EPrivilege),
     "Privileged instruction at address 1000123A"},
    {"Other", EXCEPTION_ILLEGAL_INSTRUCTION, {}, typeid(EExternal),
     "External exception C000001D at address 1000123A"},
};

class ExceptionFromRecordTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ExceptionFromRecordTest, MakesTheMatchingException)
{
    const FaultCase& c = GetParam();
    EXCEPTION_RECORD record{};
    record.ExceptionCode = c.code;
    record.ExceptionAddress = reinterpret_cast<void*>(0x1000123A);
    record.NumberParameters = static_cast<DWORD>(c.parameters.size());
    for (std::size_t i = 0; i < c.parameters.size(); ++i)
        record.ExceptionInformation[i] = c.parameters[i];

    try {
        std::rethrow_exception(ExceptionFromRecord(record));
    } catch (EExternal& exception) {
        EXPECT_EQ(typeid(exception), c.type);
        EXPECT_EQ(exception.Message, c.message);
        EXPECT_EQ(exception.ExceptionCode, c.code);
        EXPECT_EQ(exception.ExceptionAddress, 0x1000123Au);
    }
}

INSTANTIATE_TEST_SUITE_P(, ExceptionFromRecordTest, ::testing::ValuesIn(kFaultCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
