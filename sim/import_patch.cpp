#include "import_patch.h"

#include <cstring>

namespace sim {
namespace {

bool WriteSlot(void** address, void* value) {
    DWORD old_protection = 0;
    if (!VirtualProtect(address, sizeof *address, PAGE_READWRITE, &old_protection)) return false;
    *address = value;
    VirtualProtect(address, sizeof *address, old_protection, &old_protection);
    return true;
}

bool IsImportOf(BYTE* base, const IMAGE_THUNK_DATA* name_entry, void* bound, const char* function,
                void* real_function) {
    if (name_entry && !IMAGE_SNAP_BY_ORDINAL(name_entry->u1.Ordinal)) {
        auto* by_name = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + name_entry->u1.AddressOfData);
        return std::strcmp(reinterpret_cast<char*>(by_name->Name), function) == 0;
    }
    return real_function && bound == real_function;
}

}  // namespace

int ImportPatch::Apply(HMODULE module, const char* dll, const char* function, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    if (!base || dos->e_magic != IMAGE_DOS_SIGNATURE) return 0;
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return 0;

    HMODULE library = GetModuleHandleA(dll);
    void* real_function =
        library ? reinterpret_cast<void*>(GetProcAddress(library, function)) : nullptr;
    int patched = 0;
    for (auto* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         descriptor->Name != 0; ++descriptor) {
        if (_stricmp(reinterpret_cast<char*>(base + descriptor->Name), dll) != 0) continue;
        auto* bound = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
        auto* names = descriptor->OriginalFirstThunk
                          ? reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->OriginalFirstThunk)
                          : nullptr;
        for (size_t i = 0; bound[i].u1.Function != 0; ++i) {
            auto** address = reinterpret_cast<void**>(&bound[i].u1.Function);
            if (!IsImportOf(base, names ? &names[i] : nullptr, *address, function, real_function)) {
                continue;
            }
            void* original = *address;
            if (WriteSlot(address, replacement)) {
                slots_.push_back({address, original});
                ++patched;
            }
        }
    }
    return patched;
}

void ImportPatch::Restore() {
    for (const Slot& slot : slots_) WriteSlot(slot.address, slot.original);
    slots_.clear();
}

}  // namespace sim
