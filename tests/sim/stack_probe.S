# uint32_t CalleePoppedBytes(void* fn, uint32_t a, uint32_t b, uint32_t c)
# Keeps the stack pointer in callee-saved %esi across the call, so either convention returns
# here safely, and reports how far the callee moved it.
    .text
    .globl _CalleePoppedBytes
_CalleePoppedBytes:
    pushl %esi
    movl %esp, %esi
    pushl 20(%esp)        # c
    pushl 20(%esp)        # b (each push moves the arguments 4 bytes further up)
    pushl 20(%esp)        # a
    call *20(%esp)        # fn
    movl %esp, %eax
    subl %esi, %eax
    addl $12, %eax        # 12 bytes pushed; what is no longer there the callee removed
    movl %esi, %esp
    popl %esi
    ret
