#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite on a virtual X server twice: as
# normally built (build/) and built with AddressSanitizer and UndefinedBehaviorSanitizer
# (build-sanitize/, whose programs carry the sanitizers' settings); then the Windows
# program's suite under Wine (tests/windows/run.sh) and the browser build's suite in headless
# Chromium (tests/web/run.sh). Tests run as many at a time as there are cores. Arguments go to
# both ctest runs (for example -R to pick tests) and then leave the Windows and browser suites
# out. Each suite's output is also kept in build/test-logs/; the script ends with a line per
# suite (tests run, passed, seconds including its build) and the overall result, and fails if any
# suite failed.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh test
# The test profile holds every other profile's packages: the scripts below need not check again.
export QUIVERFALL_DEPS_INSTALLED=1
scripts/check-format.sh

# The screen is larger than the demo's window, so that the window tests can resize it to
# 2400x1350 and still read all of it back. -noreset: by default the X server resets whenever its
# last client disconnects, and a program that connects during the reset fails to open its window;
# tests start and end many programs.
xvfb_arguments="-screen 0 2400x1350x24 -noreset"

# Builds the desktop program and its tests into BUILD_DIR (build or build-sanitize) and runs
# them, with the other arguments given to ctest.
desktop_suite() {
    local build_dir=$1 build_options=(--with-tests)
    shift
    if [[ $build_dir == build-sanitize ]]; then
        build_options+=(--sanitize)
    fi
    scripts/build.sh "${build_options[@]}" && (cd "$build_dir" &&
        xvfb-run -a -s "$xvfb_arguments" ctest --output-on-failure -j "$(nproc)" "$@")
}

# Prints "RUN PASSED" as a suite's output LOG counts its tests, KIND naming the runner that wrote
# it: ctest, gtest (GoogleTest) or tap (node --test). "0 0" when its tests did not run.
count_tests() {
    awk -v kind="$1" '
        # "100% tests passed, 0 tests failed out of 155"
        kind == "ctest" && /% tests passed, [0-9]+ tests failed out of [0-9]+$/ {
            run = $NF; passed = $NF - $4 }
        # "[==========] 2 tests from 1 test suite ran. (47581 ms total)" and "[  PASSED  ] 2 tests."
        kind == "gtest" && /^\[==========\] [0-9]+ tests? from .* ran\./ { run = $2 }
        kind == "gtest" && /^\[  PASSED  \] [0-9]+ tests?\.$/ { passed = $4 }
        # "# tests 11" and "# pass 11"
        kind == "tap" && /^# tests [0-9]+$/ { run = $3 }
        kind == "tap" && /^# pass [0-9]+$/ { passed = $3 }
        END { print run + 0, passed + 0 }' "$2"
}

mkdir -p build/test-logs
summary=()
failures=0
tests_run=0
# Runs the suite NAME of runner KIND (as count_tests takes it) with the command that follows;
# its output shows as it comes and goes to build/test-logs/, and its line to the summary.
suite() {
    local name=$1 kind=$2 log="build/test-logs/${1// /-}.log" start=$SECONDS status=0 run passed
    shift 2
    echo "== Tests, $name"
    "$@" 2>&1 | tee "$log" || status=$?
    read -r run passed < <(count_tests "$kind" "$log")
    tests_run=$((tests_run + run))
    summary+=("$(printf '%-26s %4d run %4d passed %6d s' "$name" "$run" "$passed" \
        $((SECONDS - start)))")
    if [[ $status -ne 0 ]]; then
        failures=$((failures + 1))
        summary[-1]+="   FAILED, see $log"
    fi
}

suite "normal build" ctest desktop_suite build "$@"
suite "sanitizer build" ctest desktop_suite build-sanitize "$@"
# The Windows and browser suites have no CTest names to pick: they run when no arguments pick
# desktop tests.
if [[ $# -eq 0 ]]; then
    suite "Windows build under Wine" gtest tests/windows/run.sh
    suite "browser build" tap tests/web/run.sh
fi

echo "== Summary"
printf '%s\n' "${summary[@]}"
if [[ $failures -ne 0 ]]; then
    echo "Failed: $failures of ${#summary[@]} suites; $SECONDS s in all" >&2
    exit 1
fi
echo "Passed: ${#summary[@]} suites, $tests_run tests, $SECONDS s in all"
