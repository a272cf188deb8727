#include "guarded_call.h"

#include <excpt.h>

#include <cstring>


extern "C" {
int32_t CallEntryGuarded(FARPROC entry, const uint32_t* args, uint32_t count,
                         EXCEPTION_RECORD* record, uint32_t* faulted);
void CallEntryGuardedResume();

// The registration record as CallEntryGuarded lays it out.
struct GuardFrame {
    GuardFrame* previous;
    void* handler;
    EXCEPTION_RECORD* record;
    uint32_t* faulted;
};

EXCEPTION_DISPOSITION GuardedCallHandler(EXCEPTION_RECORD* record, void* frame, CONTEXT* context,
                                         void*) {
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) {
        return ExceptionContinueSearch;
    }
    // Informational and success codes (debug output, thread naming) are not faults.
    if ((record->ExceptionCode & 0x80000000) == 0) {
        return ExceptionContinueSearch;
    }
    auto* guard = static_cast<GuardFrame*>(frame);
    *guard->record = *record;
    guard->record->ExceptionRecord = nullptr;
    *guard->faulted = 1;
    context->Esp = reinterpret_cast<DWORD>(frame);
    context->Eip = reinterpret_cast<DWORD>(&CallEntryGuardedResume);
    context->Eax = 0;
    return ExceptionContinueExecution;
}
}

namespace {

// The file name of the module that holds address, or "" if none does. Asked at once: the
// library may be gone by the time the fault is reported.
void ModuleAt(const void* address, char (&name)[MAX_PATH]) {
    HMODULE module;
    char path[MAX_PATH];
    name[0] = '\0';
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<const char*>(address), &module) &&
        GetModuleFileNameA(module, path, sizeof path)) {
        const char* separator = std::strrchr(path, '\\');
        lstrcpynA(name, separator ? separator + 1 : path, MAX_PATH);
    }
}

}  // namespace

bool GuardedCall(FARPROC entry, const char* name, std::initializer_list<uint32_t> args,
                 int32_t& result, CallFault& fault) {
    uint32_t faulted = 0;
    EXCEPTION_RECORD record{};
    result = CallEntryGuarded(entry, args.begin(), static_cast<uint32_t>(args.size()), &record,
                              &faulted);
    if (faulted) {
        fault.call = name;
        fault.record = record;
        ModuleAt(record.ExceptionAddress, fault.module);
        return false;
    }
    return true;
}
