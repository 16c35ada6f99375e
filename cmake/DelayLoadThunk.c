/* Part of every target that uses target_delay_load (DelayLoad.cmake), whose
 * link option -Wl,--wrap=__delayLoadHelper2 sends the delay-load thunks here
 * first.
 *
 * The thunk that binutils 2.40's dlltool writes for x86-64 keeps rcx, rdx, r8
 * and r9 across __delayLoadHelper2 but not xmm0 to xmm3, and the helper (and
 * LoadLibrary, GetProcAddress under it) use them: the first call of a
 * delay-loaded function would get garbage for each float or double passed in
 * the first four arguments (GDI+ takes many). They are kept here. The unwind
 * data lets an exception from the helper (a DLL that cannot be found) pass
 * through. */
__asm__("    .text\n"
        "    .p2align 4\n"
        "    .globl __wrap___delayLoadHelper2\n"
        "    .def __wrap___delayLoadHelper2; .scl 2; .type 32; .endef\n"
        "    .seh_proc __wrap___delayLoadHelper2\n"
        "__wrap___delayLoadHelper2:\n"
        /* Entered with rsp 8 off a 16-byte boundary: 0x68 aligns the four
         * saves and leaves 0x20 bytes of home space for the callee. */
        "    subq $0x68, %rsp\n"
        "    .seh_stackalloc 0x68\n"
        "    movaps %xmm0, 0x20(%rsp)\n"
        "    .seh_savexmm %xmm0, 0x20\n"
        "    movaps %xmm1, 0x30(%rsp)\n"
        "    .seh_savexmm %xmm1, 0x30\n"
        "    movaps %xmm2, 0x40(%rsp)\n"
        "    .seh_savexmm %xmm2, 0x40\n"
        "    movaps %xmm3, 0x50(%rsp)\n"
        "    .seh_savexmm %xmm3, 0x50\n"
        "    .seh_endprologue\n"
        "    call __real___delayLoadHelper2\n"
        "    movaps 0x20(%rsp), %xmm0\n"
        "    movaps 0x30(%rsp), %xmm1\n"
        "    movaps 0x40(%rsp), %xmm2\n"
        "    movaps 0x50(%rsp), %xmm3\n"
        "    addq $0x68, %rsp\n"
        "    ret\n"
        "    .seh_endproc\n");
