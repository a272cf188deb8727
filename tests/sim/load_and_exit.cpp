// Helper process of the simulator's tests: loads SysInfo.dll from the folder given, pins to
// core 2, writes the value given to 0xC0010015, and exits without FreeLibrary.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    HMODULE dll = LoadLibraryA((std::string(argv[1]) + "\\SysInfo.dll").c_str());
    if (!dll) return 3;
    using WriteMsr = int32_t(__cdecl*)(uint32_t, uint32_t*, uint32_t*);
    auto write = reinterpret_cast<WriteMsr>(
        reinterpret_cast<void*>(GetProcAddress(dll, "WriteMSR")));
    uint32_t lo = std::strtoul(argv[2], nullptr, 0);
    uint32_t hi = 0;
    SetThreadAffinityMask(GetCurrentThread(), 2);
    return write && write(0xC0010015, &lo, &hi) ? 0 : 4;
}
