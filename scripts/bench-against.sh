#!/usr/bin/env bash
# Compares the speed of this working tree with another commit's, on this machine, in one sitting:
# builds the commit's quiverfall-bench aside, then runs the two benches alternately (each from its
# own tree, with its own shaders and models) and prints, for every figure, the median of each
# build's runs and the ratio this/other. Figures drift between runs of one build by 20% and more
# here, so only builds measured side by side like this can be compared.
# Usage: scripts/bench-against.sh COMMIT [RUNS, default 3] [bench options...]
# Run it under a display, or it starts its own virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ $# -lt 1 ]]; then
    echo "usage: $0 COMMIT [RUNS] [bench options...]" >&2
    exit 2
fi
commit=$(git rev-parse --short "$1")
runs=${2:-3}
shift $(($# < 2 ? $# : 2))

if [[ -z "${DISPLAY:-}" ]]; then
    exec xvfb-run -a -s "-screen 0 1600x900x24" "$0" "$commit" "$runs" "$@"
fi

aside="build-bench-$commit"
if [[ ! -x "$aside/build/tools/bench/quiverfall-bench" ]]; then
    echo "Building $commit in $aside/"
    rm -rf "$aside"
    mkdir -p "$aside/tree"
    git archive "$commit" | tar -x -C "$aside/tree"
    cmake -S "$aside/tree" -B "$aside/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$aside/build" -j "$(nproc)" --target quiverfall-bench >/dev/null
fi
scripts/build.sh >/dev/null

# The BENCH lines of every run are kept beside the build, one file per run.
results="$aside/runs-$(date +%Y%m%d-%H%M%S)"
mkdir -p "$results"
bench_other() {
    (cd "$aside/tree" && ../build/tools/bench/quiverfall-bench "$@" </dev/null) |
        grep '^BENCH ' | sed 's/^BENCH //'
}
bench_this() {
    build/tools/bench/quiverfall-bench "$@" </dev/null | grep '^BENCH ' | sed 's/^BENCH //'
}
# The builds take turns going first, so neither always runs on a machine the other warmed up.
for ((run = 1; run <= runs; ++run)); do
    if ((run % 2)); then
        echo "Run $run of $runs: $commit, then this tree"
        bench_other "$@" >"$results/other.$run"
        bench_this "$@" >"$results/this.$run"
    else
        echo "Run $run of $runs: this tree, then $commit"
        bench_this "$@" >"$results/this.$run"
        bench_other "$@" >"$results/other.$run"
    fi
done
echo "BENCH lines of every run: $results/"

# One "build figure value" line per figure and run, then the medians side by side.
for build in other this; do
    cat "$results/$build".* | tr -d '{}' | tr ',' '\n' | tr -d '" ' |
        awk -F: -v build="$build" 'NF == 2 { print build, $1, $2 }'
done | sort -k2,2 -k1,1 -k3,3g | awk -v commit="$commit" '
    function median(list, count) {
        return count % 2 ? list[(count + 1) / 2] : (list[count / 2] + list[count / 2 + 1]) / 2
    }
    {
        key = $1 SUBSEP $2
        values[key, ++count[key]] = $3
        if (!($2 in seen)) { seen[$2] = 1; names[++n] = $2 }
    }
    END {
        printf "%-34s %12s %12s %8s\n", "figure (medians)", commit, "this", "this/old"
        for (i = 1; i <= n; ++i) {
            name = names[i]
            for (b = 0; b < 2; ++b) {
                build = b ? "this" : "other"
                c = count[build SUBSEP name]
                delete list
                for (j = 1; j <= c; ++j) list[j] = values[build SUBSEP name, j]
                med[build] = c ? median(list, c) : ""
            }
            ratio = "-"
            if (med["other"] != "" && med["other"] + 0 != 0 && med["this"] != "")
                ratio = sprintf("%.2f", med["this"] / med["other"])
            printf "%-34s %12s %12s %8s\n", name, med["other"], med["this"], ratio
        }
    }'
