// Linked into every program of the sanitizer build that uses the core library: the sanitizers'
// settings, built in, so the tests, the programs they start and a developer's own runs all get
// them with no environment to set (variables such as ASAN_OPTIONS still override them).
//
// A sanitizer report ends the process with status 66, which no test expects of a program; the
// leak check runs at every exit, with the suppressions in lsan.supp.
extern "C" const char* __asan_default_options() {
    return "exitcode=66:detect_leaks=1:check_initialization_order=1:strict_init_order=1";
}

extern "C" const char* __ubsan_default_options() {
    return "exitcode=66:halt_on_error=1:print_stacktrace=1";
}

extern "C" const char* __lsan_default_options() {
    return "suppressions=" QUIVERFALL_LSAN_SUPPRESSIONS ":print_suppressions=0";
}
