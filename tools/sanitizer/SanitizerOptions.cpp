// Linked into every program of the sanitizer build that uses the core library: the sanitizers'
// settings, built in, so the tests, the programs they start and a developer's own runs all get
// them with no environment to set (variables such as ASAN_OPTIONS still override them).
//
// A sanitizer report ends the process with status 66, which no test expects of a program; the
// leak check runs at every exit, with the suppressions in lsan.supp.
//
// The leak checker does not follow __tls_get_addr itself (intercept_tls_get_addr=0): this
// runtime takes any heap block that starts 16 bytes into a page for a glibc 2.19 thread-local
// block and reads its header as one, so a thread-local block of a library loaded at run time
// (Mesa's driver) that lands there sends the check scanning from a small bogus address and
// crashes it ("Tracer caught signal 11"). Those blocks are allocated by the dynamic linker, which
// the checker counts as reachable anyway (use_ld_allocations), so no leak goes unseen for it.
extern "C" const char* __asan_default_options() {
    return "exitcode=66:detect_leaks=1:check_initialization_order=1:strict_init_order=1:"
           "intercept_tls_get_addr=0";
}

extern "C" const char* __ubsan_default_options() {
    return "exitcode=66:halt_on_error=1:print_stacktrace=1";
}

extern "C" const char* __lsan_default_options() {
    return "suppressions=" QUIVERFALL_LSAN_SUPPRESSIONS ":print_suppressions=0";
}
