// The six builds of the DLL: which names each exports, and each calling convention.
#include "sim_test_support.h"

#include <algorithm>

namespace simtest {
namespace {

// The names in a loaded module's export directory.
std::vector<std::string> ExportNames(HMODULE module) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    std::vector<std::string> names;
    if (directory.VirtualAddress == 0) return names;
    auto* exports = reinterpret_cast<IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
    auto* name_offsets = reinterpret_cast<DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        names.push_back(reinterpret_cast<char*>(base + name_offsets[i]));
    }
    std::sort(names.begin(), names.end());
    return names;
}

struct BuildCase {
    const char* name;
    sim::Build build;
    std::vector<std::string> exports;
    uint32_t create_pops;  // bytes of arguments the callee removes: 0 for __cdecl
    uint32_t read_pops;
};

const BuildCase kBuildCases[] = {
    {"Cdecl", sim::Build::Cdecl, {"CreateSysInfo", "DestroySysInfo", "ReadMSR", "WriteMSR"}, 0, 0},
    {"Stdcall", sim::Build::Stdcall, {"CreateSysInfo", "DestroySysInfo", "ReadMSR", "WriteMSR"}, 4, 12},
    {"NoCreateSysInfo", sim::Build::NoCreateSysInfo, {"DestroySysInfo", "ReadMSR", "WriteMSR"}, 0, 0},
    {"NoDestroySysInfo", sim::Build::NoDestroySysInfo, {"CreateSysInfo", "ReadMSR", "WriteMSR"}, 0, 0},
    {"NoReadMSR", sim::Build::NoReadMSR, {"CreateSysInfo", "DestroySysInfo", "WriteMSR"}, 0, 0},
    {"NoWriteMSR", sim::Build::NoWriteMSR, {"CreateSysInfo", "DestroySysInfo", "ReadMSR"}, 0, 0},
};

class BuildTest : public SimTest, public ::testing::WithParamInterface<BuildCase> {};

TEST_P(BuildTest, ExportsExactlyItsBareNames) {
    ASSERT_TRUE(Start(GetParam().build));
    EXPECT_EQ(ExportNames(module_), GetParam().exports);
}

// Measured at the machine level: a correctly typed pointer would hide a wrong convention only
// until the stack pointer it leaves off matters.
TEST_P(BuildTest, EntryPointsUseTheirCallingConvention) {
    ASSERT_TRUE(Start(GetParam().build));
    uint32_t lo = 0;
    uint32_t hi = 0;
    if (auto create = GetProcAddress(module_, "CreateSysInfo")) {
        EXPECT_EQ(CalleePoppedBytes(reinterpret_cast<void*>(create), 1, 0, 0),
                  GetParam().create_pops);
    }
    if (auto read = GetProcAddress(module_, "ReadMSR")) {
        EXPECT_EQ(CalleePoppedBytes(reinterpret_cast<void*>(read), sim::kRegister1,
                                    reinterpret_cast<uint32_t>(&lo), reinterpret_cast<uint32_t>(&hi)),
                  GetParam().read_pops);
        EXPECT_EQ(lo, 0x01000011u);
    }
}

INSTANTIATE_TEST_SUITE_P(Builds, BuildTest, ::testing::ValuesIn(kBuildCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BuildTest, StdcallBuildRunsAProgramsCallsThroughStdcallPointers) {
    ASSERT_TRUE(Start(sim::Build::Stdcall));
    for (const Outcome& outcome : RunLikeAProgram()) {
        EXPECT_EQ(outcome.exception, 0u);
        EXPECT_NE(outcome.result, 0);
    }
    for (int core = 1; core <= sim::kCores; ++core) {
        EXPECT_EQ(ReadOn(core, sim::kRegister1), kWriteValue1);
        EXPECT_EQ(ReadOn(core, sim::kRegister2), kWriteValue2);
    }
}

}  // namespace
}  // namespace simtest
