#!/usr/bin/env bash
# Mutation check: does the test suite notice plausible slips in the program?
#
# Copies the repository as it stands in the working tree (tracked files with their uncommitted
# changes, plus untracked files that git does not ignore) into a scratch folder, configures and
# builds one normal build in the copy's build/ (RelWithDebInfo, tests on, no sanitizer), runs the
# suite once unchanged (it must pass, or every fault would look caught), and then, for each fault of
# scripts/mutants.txt: applies it, rebuilds incrementally, runs the suite on a virtual X server
# until the first failing test, records the fault as killed (with the test that failed), survived
# (the whole suite passed) or "did not build", and puts the file back. The repository itself is
# never touched, except that the browser's WebAssembly libraries are built into its build-web/deps
# when they are missing there, as scripts/build-web.sh would.
#
# A fault that the normal build's suite misses is tried once more with the sanitizer build's suite,
# the one ./test.sh runs second (build-sanitize/ in the copy, made as scripts/build.sh --with-tests
# --sanitize makes it): it holds tests that the normal build leaves out (the fault matrix) and sees
# memory errors and undefined behaviour. The fault is applied again, the sanitizer build rebuilt
# incrementally and its suite run the same way; the fault is recorded as killed there (the kill
# marked as the sanitizer build's) or survived. The sanitizer build and its unchanged run happen
# when the first fault survives the normal build's suite. So a desktop fault's outcome is what the
# two desktop suites of ./test.sh would catch; the summary names, for each kill, the suite that
# caught it.
#
# SLOW: every fault costs an incremental rebuild plus the suite up to its first failure. A fault
# that survives the normal build's suite costs that whole suite (3 to 9 minutes on two cores, by
# how busy they are), then a rebuild of the sanitizer build and its suite up to its first failure
# (about 3 minutes when the fault matrix catches it, 6 for a survivor); the sanitizer build itself
# costs about 8 minutes once, and its unchanged run 5. On an idle 2-core machine a desktop fault
# caught early takes about a minute, a browser fault 2 to 9 (below): the whole list takes hours,
# and on a machine busy with other work the browser suite's real-time tests time out, which
# counts a fault as killed that was not. Tests run two at a time (-j2) and the builds use two
# jobs. A run cut short (Ctrl-C, a kill) still puts the file back; --resume goes on
# from where it stopped, a fault that the normal build's suite passed with the sanitizer build's.
#
# Each desktop suite runs in three stages, each stopping at its first failure, a stage only when
# the ones before it passed: unit_tests (a second), gl_tests and scene_tests (under a minute),
# then the rest. Together they are the whole suite.
#
# Faults in the files only the browser build uses (web/, app/PlatformBrowser.cpp and
# app/PageProbes.cpp, the stb texture loader, the browser's CMake files and scripts/serve-web.py:
# see `browser_only` below) are judged
# by the browser suite instead (tests/web/, headless Chromium), run against the browser build of
# the same copy (build-web/ in the scratch folder, the repository's build-web/deps reused). A
# browser fault costs a relink of the page (about a minute) plus the browser suite up to its first
# failing test: 2 to 4 minutes when the page's first tests catch it, up to 9 when only the phone's
# test does, and a survivor the whole browser suite (about 8 minutes here). Each build and
# baseline run happens only when a selected fault needs it: --only 'web/|PlatformBrowser' builds
# no desktop program, and a desktop selection no browser page.
#
# Usage (from anywhere):
#   scripts/mutants.sh                    # every fault, in a fresh scratch folder under /tmp
#   scripts/mutants.sh --only 'shadow'    # only faults whose file or description matches
#                                         # (extended regex, case-insensitive)
#   scripts/mutants.sh --keep /tmp/mut    # use (or reuse) this scratch folder: a second run
#                                         # only rebuilds what changed
#   scripts/mutants.sh --keep /tmp/mut --resume
#                                         # go on after an interrupted run: faults already
#                                         # recorded there for the same code are not run again
#   scripts/mutants.sh --check            # only check that every fault applies (no build)
# Other options: --list FILE (another fault list), --no-baseline (skip the unchanged runs),
# --test-timeout SECONDS (per test, default 600; the browser suite three times that in all).
#
# Needs git, cmake, a C++ compiler, perl, xvfb-run and what the suite itself needs (see
# scripts/install-deps.sh test); for browser faults also emscripten, Chromium and npm (see
# scripts/install-deps.sh web-test; npm installs the browser suite's modules into the scratch
# folder once). Exit status: 0 when every fault was killed, 1 when any survived,
# did not build or found the suite unable to run, 2 on a usage error, a fault that does not apply,
# or an unchanged copy that does not build or pass.
#
# Fault list format, one fault a line, four fields separated by tabs:
#   FILE <TAB> OLD TEXT <TAB> NEW TEXT <TAB> what a user would see
# FILE is relative to the repository root. OLD TEXT must occur exactly once in FILE; it is
# replaced literally by NEW TEXT (which may be empty). In both, \n stands for a line break, \t for
# a tab and \\ for a backslash. Empty lines and lines starting with # are ignored.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
list=$repo/scripts/mutants.txt
only=""
work=""
baseline=1
resume=0
check_only=0
test_timeout=600
xvfb_arguments="-screen 0 2400x1350x24 -noreset"
unit_tests='^unit_tests\.'
gl_and_scene_tests='^(gl_tests|scene_tests)\.'
quick_tests='^(unit_tests|gl_tests|scene_tests)\.'
# The files that only the browser build compiles, links or serves (cmake/BrowserBuild.cmake takes
# the browser's platform and the stb loader in and the page as its shell; the desktop build leaves
# them out): the desktop suite cannot see a fault in them, the browser suite can.
browser_only='^(web/|app/(PlatformBrowser|PageProbes)\.cpp$|assets/TextureLoaderStb\.cpp$|cmake/(BrowserBuild|HeaderOnlyLibraries)\.cmake$|scripts/serve-web\.py$)'

usage() {
    sed -n '2,/^set -euo/p' "${BASH_SOURCE[0]}" | sed '$d; s/^# \{0,1\}//'
}

while [[ $# -gt 0 ]]; do
    case "$1" in
        --only) only=${2:?--only needs a pattern}; shift 2 ;;
        --keep) work=${2:?--keep needs a folder}; shift 2 ;;
        --list) list=${2:?--list needs a file}; shift 2 ;;
        --no-baseline) baseline=0; shift ;;
        --resume) resume=1; shift ;;
        --check) check_only=1; shift ;;
        --test-timeout) test_timeout=${2:?--test-timeout needs seconds}; shift 2 ;;
        -h | --help) usage; exit 0 ;;
        *) echo "unknown argument: $1 (see --help)" >&2; exit 2 ;;
    esac
done

started=$SECONDS
elapsed() {
    local s=$((SECONDS - ${1:-$started}))
    printf '%dm%02ds' $((s / 60)) $((s % 60))
}

# --- The fault list -------------------------------------------------------------------------------
# Parallel arrays, one entry per selected fault. fault_suite: desktop or browser, the suite that
# judges it.
fault_number=() fault_line=() fault_file=() fault_old=() fault_new=() fault_desc=() fault_suite=()
need_desktop=0
need_browser=0
[[ -f $list ]] || { echo "no fault list at $list" >&2; exit 2; }
bad_format=0
line_number=0
listed=0 # faults in the list, whether selected or not: a fault's number
while IFS= read -r line || [[ -n $line ]]; do
    line_number=$((line_number + 1))
    [[ -z ${line//[[:space:]]/} || $line == \#* ]] && continue
    tabs=${line//[^$'\t']/}
    if [[ ${#tabs} -ne 3 ]]; then
        echo "refused: $list:$line_number: needs 4 tab-separated fields, has $((${#tabs} + 1))" >&2
        bad_format=1
        continue
    fi
    file=${line%%$'\t'*}
    rest=${line#*$'\t'}
    old=${rest%%$'\t'*}
    rest=${rest#*$'\t'}
    new=${rest%%$'\t'*}
    desc=${rest#*$'\t'}
    listed=$((listed + 1))
    if [[ -z $file || -z $old || -z $desc ]]; then
        echo "refused: $list:$line_number: file, old text and description must not be empty" >&2
        bad_format=1
        continue
    fi
    if [[ -n $only ]] && ! grep -qiE -- "$only" <<<"$file $desc"; then
        continue
    fi
    fault_number+=("$listed") fault_line+=("$line_number") fault_file+=("$file")
    fault_old+=("$old") fault_new+=("$new") fault_desc+=("$desc")
    if [[ $file =~ $browser_only ]]; then
        fault_suite+=(browser)
        need_browser=1
    else
        fault_suite+=(desktop)
        need_desktop=1
    fi
done <"$list"
[[ $bad_format -eq 0 ]] || exit 2
count=${#fault_line[@]}
if [[ $count -eq 0 ]]; then
    echo "no fault in $list matches${only:+ '$only'}" >&2
    exit 2
fi

# Literal replacement with perl (OLD and NEW come through the environment, so no character in
# them is special). `count` prints how often OLD occurs; `apply` replaces its one occurrence.
replace_tool='
    sub unescape {
        my $s = shift;
        $s =~ s/\\(n|t|\\)/$1 eq "n" ? "\n" : $1 eq "t" ? "\t" : "\\"/ge;
        return $s;
    }
    my ($mode, $path) = @ARGV;
    my $old = unescape($ENV{MUTANT_OLD});
    my $new = unescape($ENV{MUTANT_NEW});
    open(my $in, "<", $path) or die "cannot read $path: $!\n";
    local $/; my $text = <$in>; close($in);
    my $found = 0; my $at = -1;
    for (my $i = index($text, $old); $i >= 0; $i = index($text, $old, $i + 1)) {
        $found++;
        $at = $i if $at < 0;
    }
    if ($mode eq "count") { print "$found\n"; exit 0; }
    die "old text occurs $found times in $path\n" unless $found == 1;
    substr($text, $at, length($old)) = $new;
    open(my $out, ">", $path) or die "cannot write $path: $!\n";
    print $out $text; close($out) or die "cannot write $path: $!\n";
'
occurrences() { MUTANT_OLD=$2 MUTANT_NEW="" perl -e "$replace_tool" count "$1"; }

# Refuses (and stops the script) when a selected fault does not apply exactly once to the files
# under the folder $1.
check_faults() {
    local root=$1 refused=0 found i
    for ((i = 0; i < count; i++)); do
        if [[ ! -f $root/${fault_file[i]} ]]; then
            echo "refused: $list:${fault_line[i]}: no file ${fault_file[i]}" >&2
            refused=1
            continue
        fi
        found=$(occurrences "$root/${fault_file[i]}" "${fault_old[i]}")
        if [[ $found -eq 0 ]]; then
            echo "refused: $list:${fault_line[i]}: old text not found in ${fault_file[i]}" >&2
            refused=1
        elif [[ $found -ne 1 ]]; then
            echo "refused: $list:${fault_line[i]}: old text occurs $found times in" \
                "${fault_file[i]} (must be unique)" >&2
            refused=1
        fi
    done
    [[ $refused -eq 0 ]] || exit 2
    echo "$count faults apply cleanly"
}

if [[ $check_only -eq 1 ]]; then
    check_faults "$repo"
    exit 0
fi

# --- The scratch copy -----------------------------------------------------------------------------
if [[ -z $work ]]; then
    work=$(mktemp -d "${TMPDIR:-/tmp}/quiverfall-mutants.XXXXXX")
fi
mkdir -p "$work"
work=$(cd "$work" && pwd)
case "$work/" in
    "$repo"/*) echo "the scratch folder must lie outside the repository" >&2; exit 2 ;;
esac
src=$work/src
# The desktop builds lie inside the copy, as build/ and build-sanitize/ lie in the repository: the
# tools look for the data in the folders above themselves, and the suite starts them away from it.
build=$src/build
sanitizer_build=$src/build-sanitize
logs=$work/logs
mkdir -p "$src" "$logs"
echo "scratch folder: $work"

# A fault left in by a run that was killed hard is undone here too: any file whose content differs
# from the repository's is copied again, with a new time so that the build sees the change.
if ! git -C "$repo" rev-parse --git-dir >/dev/null 2>&1; then
    echo "$repo is not a git checkout" >&2
    exit 2
fi
files_list=$work/files.txt
(cd "$repo" && git ls-files -z --cached --others --exclude-standard) |
    while IFS= read -r -d '' path; do
        if [[ -f $repo/$path || -L $repo/$path ]]; then printf "%s\n" "$path"; fi
    done | sort -u >"$files_list"
copied=0
while IFS= read -r path; do
    if ! cmp -s "$repo/$path" "$src/$path"; then
        mkdir -p "$(dirname "$src/$path")"
        rm -f "$src/$path"
        cp -P --preserve=mode "$repo/$path" "$src/$path"
        copied=$((copied + 1))
    fi
done <"$files_list"
# Files gone from the working tree since an earlier run would still be compiled (the build globs
# its sources): remove them from the copy, the builds in it aside.
removed=0
while IFS= read -r path; do
    rm -f "$src/$path"
    removed=$((removed + 1))
done < <(cd "$src" && find . \( -path ./build -o -path ./build-sanitize \) -prune -o -type f \
    -printf '%P\n' | sort | comm -23 - "$files_list")
echo "copied $copied changed files of $(wc -l <"$files_list") from $repo;" \
    "removed $removed stale ones"

# Every selected fault must apply to the copy, exactly once, before anything slow starts.
check_faults "$src"

# --- Build and suite ------------------------------------------------------------------------------
# Configures and builds the desktop program and its tests in the folder $1, with the sanitizers
# when $2 is ON, as scripts/build.sh --with-tests does.
build_desktop() {
    local dir=$1 sanitize=$2 generator=()
    if [[ ! -f $dir/CMakeCache.txt ]] && command -v ninja >/dev/null; then
        generator=(-G Ninja)
    fi
    cmake -S "$src" -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DBUILD_TESTING=ON -DQUIVERFALL_SANITIZE="$sanitize" -DQUIVERFALL_WARNINGS_AS_ERRORS=OFF &&
        cmake --build "$dir" -j 2
}
if [[ $need_desktop -eq 1 ]]; then
    echo "configuring and building in $build (build log: $logs/build.log)"
    if ! build_desktop "$build" OFF >"$logs/build.log" 2>&1; then
        tail -n 30 "$logs/build.log" >&2
        echo "the unchanged copy does not build" >&2
        exit 2
    fi
    echo "built ($(elapsed))"
fi

# The browser build of the copy, outside it (the copying above would take its files for stale
# ones), as scripts/build-web.sh makes it. Debian's emscripten runs Node.js tools that do not
# search Debian's Node modules by themselves.
web_build=$work/build-web
web_deps=$repo/build-web/deps
web_modules=$work/web-modules
build_browser() {
    NODE_PATH=/usr/share/nodejs cmake --build "$web_build" -j 2
}
if [[ $need_browser -eq 1 ]]; then
    # The WebAssembly libraries take minutes to build: the repository's are used, built there
    # only when missing or out of date (the script does nothing when they are in place).
    echo "browser libraries: $web_deps (log: $logs/web-deps.log)"
    if ! "$src/scripts/build-web-deps.sh" "$web_deps" >"$logs/web-deps.log" 2>&1; then
        tail -n 30 "$logs/web-deps.log" >&2
        echo "the browser's libraries did not build" >&2
        exit 2
    fi
    # The browser suite's modules (puppeteer-core, pngjs), installed into the scratch folder once
    # per lock file; the copy's tests/web/node_modules is a link to them, which the copying above
    # neither follows nor removes.
    mkdir -p "$web_modules"
    if ! cmp -s "$src/tests/web/package-lock.json" "$web_modules/installed.lock"; then
        echo "installing the browser suite's modules (log: $logs/npm.log)"
        rm -f "$web_modules/installed.lock"
        cp "$src/tests/web/package.json" "$src/tests/web/package-lock.json" "$web_modules/"
        if ! (cd "$web_modules" && npm ci --no-audit --no-fund --loglevel=error) \
            >"$logs/npm.log" 2>&1; then
            tail -n 30 "$logs/npm.log" >&2
            echo "npm could not install the browser suite's modules" >&2
            exit 2
        fi
        cp "$src/tests/web/package-lock.json" "$web_modules/installed.lock"
    fi
    ln -sfn "$web_modules/node_modules" "$src/tests/web/node_modules"
    web_generator=()
    if [[ ! -f $web_build/CMakeCache.txt ]] && command -v ninja >/dev/null; then
        web_generator=(-G Ninja)
    fi
    echo "configuring and building the browser build in $web_build" \
        "(build log: $logs/web-build.log)"
    if ! { NODE_PATH=/usr/share/nodejs emcmake cmake -S "$src" -B "$web_build" \
        "${web_generator[@]}" -DCMAKE_BUILD_TYPE=Release -DQUIVERFALL_WEB_DEPS="$web_deps" &&
        build_browser; } >"$logs/web-build.log" 2>&1; then
        tail -n 30 "$logs/web-build.log" >&2
        echo "the unchanged copy's browser build fails" >&2
        exit 2
    fi
    echo "browser build done ($(elapsed))"
fi

# Runs the suite of the desktop build in the folder $1 under a virtual X server, the output into
# $2; the status is ctest's (0 when every test passed). Sets suite_ran to 0 when no test ran at all.
run_suite() {
    local dir=$1 log=$2 status
    local ctest_arguments="-j2 --stop-on-failure --no-tests=error --output-on-failure"
    ctest_arguments+=" --timeout $test_timeout"
    for _ in 1 2; do
        status=0
        (cd "$dir" && xvfb-run -a -s "$xvfb_arguments" bash -c "
        ctest $ctest_arguments -R '$unit_tests' &&
            ctest $ctest_arguments -R '$gl_and_scene_tests' &&
            ctest $ctest_arguments -E '$quick_tests'
        ") >"$log" 2>&1 || status=$?
        # A virtual X server that failed to start (two runs that took the same display number)
        # runs no test at all: that is tried once more, not counted as a failing test.
        suite_ran=1
        if [[ $status -eq 0 ]] || grep -qE '^ *[0-9]+/[0-9]+ Test +#' "$log"; then
            return "$status"
        fi
        suite_ran=0
    done
    return "$status"
}

# The first test that did not pass, from ctest's progress lines of the log $1.
first_failure() {
    local name
    name=$(grep -E '^ *[0-9]+/[0-9]+ Test +#[0-9]+: ' "$1" | grep -vE ' Passed +[0-9.]+ sec' |
        head -n 1 | sed -E 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+) .*/\1/') || true
    printf '%s\n' "${name:-(no failing test named: see the log)}"
}

# Runs the browser suite against the browser build, the output (node's TAP lines) into $1: serves
# the page folder on a free local port as ./run.sh --web does, and runs tests/web/ in headless
# Chromium until the first failing test. Node's test runner cannot stop there by itself, so its
# process group is ended then (puppeteer closes its Chromium on the way out); the same happens
# when the suite runs past three times the per-test timeout (node's own timeout would time the
# whole file, not a test). The pictures the checks saw go to $1.pictures/. Status 0 when every
# test passed; sets suite_ran to 0 when no test ran at all.
run_browser_suite() {
    local log=$1 status port server runner started waited stop
    for _ in 1 2; do
        status=0
        port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0))
print(s.getsockname()[1])')
        python3 "$src/scripts/serve-web.py" "$web_build/site" "$port" >/dev/null 2>&1 &
        server=$!
        python3 - "$port" <<'PY' || true
import socket, sys, time
for _ in range(300):
    try:
        socket.create_connection(("127.0.0.1", int(sys.argv[1])), timeout=1).close()
        sys.exit(0)
    except OSError:
        time.sleep(0.1)
sys.exit(1)
PY
        # setsid: the runner leads a process group of its own (a background job of this
        # non-interactive shell never leads one, so setsid does not fork).
        (cd "$src" && QUIVERFALL_WEB_URL="http://127.0.0.1:$port/" \
            QUIVERFALL_WEB_FAILURES="$log.pictures" exec setsid node --test tests/web/) \
            >"$log" 2>&1 &
        runner=$!
        started=$SECONDS
        stop=""
        while kill -0 "$runner" 2>/dev/null; do
            if grep -qE '^ *not ok [0-9]+ ' "$log"; then
                # A moment for the failure's details to reach the log.
                sleep 2
                stop="failed"
            elif ((SECONDS - started > 3 * test_timeout)); then
                stop="timed out"
            fi
            if [[ -n $stop ]]; then
                kill -TERM -- "-$runner" 2>/dev/null || true
                for ((waited = 0; waited < 30; waited++)); do
                    kill -0 "$runner" 2>/dev/null || break
                    sleep 1
                done
                kill -KILL -- "-$runner" 2>/dev/null || true
                break
            fi
            sleep 2
        done
        wait "$runner" || status=$?
        if [[ $stop == "timed out" ]]; then
            echo "not ok 0 - (the browser suite ran past $((3 * test_timeout)) s)" >>"$log"
        fi
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
        # A runner that started no test (a server or a browser that did not come up) is tried
        # once more, not counted as a failing test.
        suite_ran=1
        if grep -qE '^ *(not )?ok [0-9]+ ' "$log"; then
            if [[ $status -eq 0 ]] && grep -qE '^ *not ok [0-9]+ ' "$log"; then
                status=1
            fi
            return "$status"
        fi
        suite_ran=0
    done
    return "$status"
}

# The first browser test that did not pass, from node's TAP lines in the log $1.
first_browser_failure() {
    local name
    name=$(grep -m 1 -E '^ *not ok [0-9]+ ' "$1" | sed -E 's/^ *not ok [0-9]+ (- )?//') || true
    printf 'browser: %s\n' "${name:-(no failing test named: see the log)}"
}

# What the results of a run are valid for: the copy's content (taken with no fault in; the fault
# list and this script aside), and for each fault its file and texts. --resume reuses only results
# recorded for the same keys.
snapshot=$(cd "$src" && grep -vxE 'scripts/mutants\.(sh|txt)' "$files_list" | tr '\n' '\0' |
    xargs -0 sha1sum | sha1sum | cut -c1-40)
fault_key() {
    printf '%s\t%s\t%s\t%s' "$snapshot" "${fault_file[$1]}" "${fault_old[$1]}" "${fault_new[$1]}" |
        sha1sum | cut -c1-40
}
results=$work/results.tsv
baseline_passed=$work/baseline-passed
sanitizer_baseline_passed=$work/sanitizer-baseline-passed
browser_baseline_passed=$work/browser-baseline-passed
declare -A recorded=()
if [[ $resume -eq 1 && -f $results ]]; then
    while IFS=$'\t' read -r key seconds outcome; do
        recorded[$key]=$seconds$'\t'$outcome
    done <"$results"
else
    : >"$results"
    rm -f "$baseline_passed" "$sanitizer_baseline_passed" "$browser_baseline_passed"
fi

# Runs a suite once on the unchanged copy, unless --resume finds that it passed in an earlier run
# on the same copy: $1 names the suite, $2 is the file that records its pass, $3 its log and $4
# the function that names its first failing test; the rest is the command that runs it, given the
# log. A suite that fails stops the script.
check_unchanged() {
    local what=$1 passed=$2 log=$3 failure=$4 base_started=$SECONDS
    shift 4
    if [[ $resume -eq 1 && $(cat "$passed" 2>/dev/null) == "$snapshot" ]]; then
        echo "the unchanged $what passed in an earlier run on the same copy"
        return
    fi
    echo "running the unchanged $what once (log: $log)"
    if ! "$@" "$log"; then
        echo "the unchanged $what fails ($("$failure" "$log")): fix that first, or every fault" \
            "it judges would look caught" >&2
        exit 2
    fi
    echo "$snapshot" >"$passed"
    echo "unchanged $what passed in $(elapsed "$base_started")"
}

if [[ $baseline -eq 1 && $need_desktop -eq 1 ]]; then
    check_unchanged "normal build's suite" "$baseline_passed" "$logs/baseline.log" \
        first_failure run_suite "$build"
fi
if [[ $baseline -eq 1 && $need_browser -eq 1 ]]; then
    check_unchanged "browser suite" "$browser_baseline_passed" "$logs/browser-baseline.log" \
        first_browser_failure run_browser_suite
fi

# The sanitizer build of the copy, as scripts/build.sh --with-tests --sanitize makes it, and its
# unchanged suite: made when the first fault survives the normal build's suite, with no fault in.
sanitizer_ready=0
prepare_sanitizer_build() {
    [[ $sanitizer_ready -eq 0 ]] || return 0
    echo "configuring and building the sanitizer build in $sanitizer_build" \
        "(build log: $logs/sanitizer-build.log)"
    local build_started=$SECONDS
    if ! build_desktop "$sanitizer_build" ON >"$logs/sanitizer-build.log" 2>&1; then
        tail -n 30 "$logs/sanitizer-build.log" >&2
        echo "the unchanged copy's sanitizer build fails" >&2
        exit 2
    fi
    echo "sanitizer build done in $(elapsed "$build_started")"
    if [[ $baseline -eq 1 ]]; then
        check_unchanged "sanitizer build's suite" "$sanitizer_baseline_passed" \
            "$logs/sanitizer-baseline.log" first_failure run_suite "$sanitizer_build"
    fi
    sanitizer_ready=1
}

# --- The faults -----------------------------------------------------------------------------------
# The file a fault is applied to, and its original content, while the fault is in; whatever ends
# the script puts the file back.
active_file=""
backup=$work/original.bak
restore() {
    if [[ -n $active_file ]]; then
        cp "$backup" "$active_file"
        active_file=""
    fi
}
trap restore EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Applies fault $1, rebuilds the build that the stage $3 names (normal, sanitizer or browser) and
# runs its suite; sets `outcome`, and puts the file back. The change and the build's output go to
# the log $2 (the sanitizer stage adds to the normal stage's), the tests' output to $2.suite
# ($2.sanitizer-suite for the sanitizer build's). A kill names the test that failed, after the
# suite's name for the sanitizer build's and the browser's suites.
try_fault() {
    local i=$1 log=$2 stage=$3 path=$src/${fault_file[$1]}
    local build_step=(cmake --build "$build" -j 2) suite=(run_suite "$build")
    local failure=first_failure suite_log=$log.suite caught_by=""
    case "$stage" in
        sanitizer)
            build_step=(cmake --build "$sanitizer_build" -j 2) suite=(run_suite "$sanitizer_build")
            suite_log=$log.sanitizer-suite caught_by="sanitizer build: "
            ;;
        browser) build_step=(build_browser) suite=(run_browser_suite)
            failure=first_browser_failure ;;
    esac
    if [[ $stage != sanitizer ]]; then
        : >"$log"
    fi
    cp "$path" "$backup"
    active_file=$path
    MUTANT_OLD=${fault_old[i]} MUTANT_NEW=${fault_new[i]} perl -e "$replace_tool" apply "$path"
    {
        echo "fault ${fault_number[i]} (line ${fault_line[i]}): ${fault_file[i]}: ${fault_desc[i]}"
        echo "judged by the $stage build's suite"
        diff -u "$backup" "$path" || true
    } >>"$log"
    if ! "${build_step[@]}" >>"$log" 2>&1; then
        outcome="did not build"
    elif "${suite[@]}" "$suite_log"; then
        outcome="SURVIVED"
    elif [[ $suite_ran -eq 0 ]]; then
        outcome="suite did not run"
    else
        outcome="killed by $caught_by$("$failure" "$suite_log")"
    fi
    restore
    cmp -s "$backup" "$path" || { echo "could not restore $path" >&2; exit 2; }
}

# Sets `outcome` for fault $1 at the stage $2: the one recorded under the key $3 by an earlier run
# (with --resume), or else what trying it gives, recorded unless no test ran. Adds the stage's time
# to `seconds`, and when it ran now to `run_seconds`, counting it in `ran`; sets `earlier` when
# it was recorded.
judge() {
    local i=$1 stage=$2 key=$3 stage_started
    if [[ -n ${recorded[$key]:-} ]]; then
        seconds=$((seconds + ${recorded[$key]%%$'\t'*}))
        outcome=${recorded[$key]#*$'\t'}
        earlier=1
        return
    fi
    if [[ $stage == sanitizer ]]; then
        prepare_sanitizer_build
    fi
    stage_started=$SECONDS
    try_fault "$i" "$logs/fault-$(printf '%02d' "${fault_number[i]}").log" "$stage"
    stage_started=$((SECONDS - stage_started))
    seconds=$((seconds + stage_started))
    run_seconds=$((run_seconds + stage_started))
    ran=$((ran + 1))
    if [[ $outcome != "suite did not run" ]]; then
        printf '%s\t%s\t%s\n' "$key" "$stage_started" "$outcome" >>"$results"
    fi
}

# "SUITE: TEST" for a kill: the normal build's kills name the test alone.
caught_by() {
    local by=${1#killed by }
    case "$by" in
        "sanitizer build: "* | "browser: "*) printf '%s\n' "$by" ;;
        *) printf 'normal build: %s\n' "$by" ;;
    esac
}

killed=() survived=() unbuilt=() unrun=()
declare -A kills_by=([normal build]=0 [sanitizer build]=0 [browser]=0)
reused=0
fault_seconds=0
for ((i = 0; i < count; i++)); do
    number=${fault_number[i]}
    entry="$number. ${fault_file[i]}: ${fault_desc[i]}"
    key=$(fault_key "$i")
    seconds=0 run_seconds=0 ran=0 earlier=0
    if [[ ${fault_suite[i]} == browser ]]; then
        judge "$i" browser "$key"
    else
        # A desktop fault that the normal build's suite misses goes on to the sanitizer build's,
        # recorded under a key of its own: a run cut short between the two keeps the first.
        judge "$i" normal "$key"
        if [[ $outcome == SURVIVED ]]; then
            judge "$i" sanitizer "$(printf '%s\tsanitizer build' "$key" | sha1sum | cut -c1-40)"
        fi
    fi
    if [[ $ran -eq 0 ]]; then
        note="recorded earlier, $(elapsed $((SECONDS - seconds)))"
        reused=$((reused + 1))
    else
        note=$(elapsed $((SECONDS - run_seconds)))
        if [[ $earlier -eq 1 ]]; then
            note+="; the normal build's suite passed it in an earlier run"
        fi
    fi
    fault_seconds=$((fault_seconds + seconds))
    shown=$outcome
    case "$outcome" in
        "did not build") unbuilt+=("$entry") ;;
        SURVIVED) survived+=("$entry") ;;
        "suite did not run") unrun+=("$entry") ;;
        *)
            shown="killed by $(caught_by "$outcome")"
            killed+=("$entry -- ${shown#killed by }")
            by=${shown#killed by }
            by=${by%%: *}
            kills_by[$by]=$((${kills_by[$by]} + 1))
            ;;
    esac
    printf '[%d/%d] #%d %-60s %s: %s (%s)\n' $((i + 1)) "$count" "$number" "$shown" \
        "${fault_file[i]}" "${fault_desc[i]}" "$note"
done

# The copy is back as it was: a build now leaves the scratch folder ready for another run.
if [[ $need_desktop -eq 1 ]]; then
    cmake --build "$build" -j 2 >"$logs/build-restored.log" 2>&1 || true
fi
if [[ $sanitizer_ready -eq 1 ]]; then
    cmake --build "$sanitizer_build" -j 2 >"$logs/sanitizer-build-restored.log" 2>&1 || true
fi
if [[ $need_browser -eq 1 ]]; then
    build_browser >"$logs/web-build-restored.log" 2>&1 || true
fi

# --- Summary --------------------------------------------------------------------------------------
print_entries() {
    if [[ $# -eq 0 ]]; then echo "   none"; fi
    for entry in "$@"; do echo "   $entry"; done
}
{
    echo
    echo "== Summary: $count faults, ${#killed[@]} killed, ${#survived[@]} survived," \
        "${#unbuilt[@]} did not build${unrun[0]:+, ${#unrun[@]} not run}; total time $(elapsed)"
    echo "   killed by the normal build's suite: ${kills_by[normal build]}, by the sanitizer" \
        "build's: ${kills_by[sanitizer build]}, by the browser's: ${kills_by[browser]}"
    if [[ $reused -ne 0 ]]; then
        echo "   ($reused of them recorded by an earlier run on the same copy, not run again;" \
            "the faults took $(elapsed $((SECONDS - fault_seconds))) in all)"
    fi
    echo "-- killed (fault -- the suite that caught it: its first failing test):"
    print_entries "${killed[@]}"
    echo "-- survived (every suite that judges it passed: the normal and sanitizer builds' for a" \
        "desktop fault, the browser's for a browser fault):"
    print_entries "${survived[@]}"
    echo "-- did not build:"
    print_entries "${unbuilt[@]}"
    if [[ ${#unrun[@]} -ne 0 ]]; then
        echo "-- the suite did not run (no test started, twice: see the logs; run these again):"
        print_entries "${unrun[@]}"
    fi
    echo "Logs: $logs (fault-NN.log: the change and the builds; fault-NN.log.suite and" \
        "fault-NN.log.sanitizer-suite: the tests)."
    echo "Scratch folder kept: $work (reuse it with --keep $work, or remove it)."
} | tee "$work/summary.txt"

[[ ${#survived[@]} -eq 0 && ${#unbuilt[@]} -eq 0 && ${#unrun[@]} -eq 0 ]]
