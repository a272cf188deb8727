// Tobrin: switches the processor's TLB patch on, on each of the four cores, and reports the
// registers before and after on the console.
#include <windows.h>

#include <cstdio>

#include "sysinfo_binding.h"

// Shows a failure in an error box and returns 1.
int ErrorMsg(const char* str) {
    std::fflush(stdout);
    int msgboxID = MessageBoxA(nullptr, str, "TLB Patch Error", MB_ICONERROR | MB_OK);
    // Without a desktop the box cannot be shown; the failure must not vanish without a word.
    if (msgboxID != IDOK) {
        std::fprintf(stderr, "%s\n", str);
    }
    return 1;
}

namespace {

// "MSR[C0010015h] = 00000000 01000019h"; a register that could not be read back is shown with
// question marks, never with whatever its halves held before.
void PrintRegister(uint32_t index, uint32_t hi, uint32_t lo, bool read, const char* end) {
    if (read) {
        std::printf("MSR[%8Xh] = %08X %08Xh%s", index, hi, lo, end);
    } else {
        std::printf("MSR[%8Xh] = ???????? ????????h%s", index, end);
    }
}

// Ends a core's report: it reaches the console as soon as it is complete.
void PrintRegisters(const MsrPair& pair, ReadBack read = {true, true}) {
    PrintRegister(index_1, pair.hi_1, pair.lo_1, read.read_1, "\t");
    PrintRegister(index_2, pair.hi_2, pair.lo_2, read.read_2, "\n");
    std::fflush(stdout);
}

// Reports the failure, then frees the library (after the box, so that nothing changes while
// the user reads it).
int Fail(MsrError error, SysInfoLib& lib) {
    FailureBuffer buffer;
    ErrorMsg(FailureText(error, lib, buffer));
    if (error != MsrError::LoadFailed) {
        ReleaseSysInfo(lib, false);
    }
    return 1;
}

const char* const success_text = "Phenom TLB fix Enabled! System at Low Speed, but High Stability.";

}  // namespace

int main(int, char*[]) {
    // Unbuffered, the runtime writes a console character by character; the output is flushed
    // instead after each core and before each message box.
    std::setvbuf(stdout, nullptr, _IOFBF, 4096);
    std::printf("Tobrin Version 1.01.\n");
    std::printf("Copyright (C) 2026 the Tobrin authors. Use at your own risk.\n");

    SysInfoLib lib;
    MsrError error = BindSysInfo(lib);
    if (error != MsrError::None) {
        return Fail(error, lib);
    }
    HANDLE h_thread = GetCurrentThread();
    MsrPair msr;

    std::printf("Reading Original MSR Registers\n");
    for (int core = 1; core <= 4; ++core) {
        uint32_t core_mask = core_masks[core - 1];
        PinToCore(h_thread, core_mask);
        error = ReadMsrPair(lib, msr);
        if (error != MsrError::None) {
            return Fail(error, lib);
        }
        std::printf("CPU %d\n", core);
        PrintRegisters(msr);
    }

    msr = PatchOnValues;
    std::printf("\nWriting Fixed MSR Registers\n");
    for (int core = 1; core <= 4; ++core) {
        uint32_t core_mask = core_masks[core - 1];
        PinToCore(h_thread, core_mask);
        error = WriteMsrPair(lib, msr);
        if (error != MsrError::None) {
            return Fail(error, lib);
        }
        std::printf("CPU %d\n", core);
        MsrPair read_back;
        ReadBack readable;
        error = ReadBackPair(lib, read_back, readable);
        if (error != MsrError::None) {
            return Fail(error, lib);
        }
        PrintRegisters(read_back, readable);
    }

    error = ReleaseSysInfo(lib, true);
    if (error != MsrError::None) {
        FailureBuffer buffer;
        return ErrorMsg(FailureText(error, lib, buffer));
    }
    std::printf("%s\n", success_text);
    std::fflush(stdout);
    MessageBoxA(nullptr, success_text, "Tobrin", MB_ICONINFORMATION | MB_OK);
    return 0;
}
