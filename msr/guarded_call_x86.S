# The machine-level half of GuardedCall, for 32-bit x86 Windows.
#
#   int32_t CallEntryGuarded(FARPROC entry, const uint32_t* args, uint32_t count,
#                            EXCEPTION_RECORD* record, uint32_t* faulted)
#
# Pushes the arguments from last to first and calls entry. The stack pointer is restored from
# the frame afterwards, so it does not matter whether the callee popped its arguments.
# Around the call an SEH registration record is linked into fs:[0]; its handler
# (GuardedCallHandler) runs only if the library itself does not handle a fault, copies the
# fault's record and resumes at CallEntryGuardedResume with eax = 0.
#
# Frame, from the stack pointer while the call runs (above the pushed arguments):
#   [esp+0]  previous registration record    [esp+8]  record (copied from the arguments)
#   [esp+4]  GuardedCallHandler               [esp+12] faulted
#   [esp+16] saved edi, esi, ebx, ebp, then the return address

    .intel_syntax noprefix
    .text

    .globl _CallEntryGuarded
    .def _CallEntryGuarded; .scl 2; .type 32; .endef
_CallEntryGuarded:
    push ebp
    mov ebp, esp
    push ebx
    push esi
    push edi
    push dword ptr [ebp+24]
    push dword ptr [ebp+20]
    push offset _GuardedCallHandler
    push dword ptr fs:[0]
    mov dword ptr fs:[0], esp

    mov ecx, [ebp+16]
    mov edx, [ebp+12]
1:
    test ecx, ecx
    jz 2f
    push dword ptr [edx+ecx*4-4]
    dec ecx
    jmp 1b
2:
    call dword ptr [ebp+8]
    # ebp is preserved by the callee in either convention.
    lea esp, [ebp-28]

    .globl _CallEntryGuardedResume
    .def _CallEntryGuardedResume; .scl 2; .type 32; .endef
_CallEntryGuardedResume:
    # Unlinks the record (and any the library linked after it and left behind by a fault).
    mov ecx, [esp]
    mov dword ptr fs:[0], ecx
    add esp, 16
    pop edi
    pop esi
    pop ebx
    pop ebp
    ret
