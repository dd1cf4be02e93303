#!/usr/bin/env bash
# hangarctl load of a 20 KB FS9.cfg and a 2 MB Scenery.cfg, timed as a whole process (start,
# settings, lock, durable copies, settings write, exit), against cp of the same two files
# followed by sync, in the same run and in turns. Prints the ratio of the medians against the
# target, and what starting and exiting alone take of it; exits non-zero when the target is missed.
#
#   bench/cli_load.sh [path/to/hangarctl]     (RUNS=60 by default; BENCH_DIR for the folder)
set -euo pipefail

hangarctl=${1:-build/release/bin/hangarctl}
runs=${RUNS:-60}
target=1.5

work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/hangarctl-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/fs9" "$work/scenery"
settings=(--settings "$work/Hangar.ini")
head -c $((20 * 1024)) /dev/urandom >"$work/fs9/FS9.cfg"
head -c $((2 * 1024 * 1024)) /dev/urandom >"$work/scenery/Scenery.cfg"
"$hangarctl" "${settings[@]}" folders --fs9 "$work/fs9" --scenery "$work/scenery"
"$hangarctl" "${settings[@]}" save Night
sync

# Microseconds, without a process of its own to read the clock.
now() { echo $((${EPOCHREALTIME/./})); }

load() { "$hangarctl" "${settings[@]}" load Night; }
# What any hangarctl run costs before and after its work: starting with Qt Core, and exiting.
start() { "$hangarctl" --version >/dev/null; }
copy() {
    cp "$work/fs9/FS9.Night.cfg" "$work/fs9/FS9.cfg"
    cp "$work/scenery/Scenery.Night.cfg" "$work/scenery/Scenery.cfg"
    sync
}

loads=() copies=() starts=()
for ((i = 0; i < runs; i++)); do
    begin=$(now)
    start
    starts+=($(($(now) - begin)))
    # Each goes first every other time, so that neither always finds the other's writes pending.
    for what in $( ((i % 2)) && echo "copy load" || echo "load copy"); do
        start=$(now)
        $what
        elapsed=$(($(now) - start))
        if [ "$what" = load ]; then loads+=("$elapsed"); else copies+=("$elapsed"); fi
    done
done

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
load_us=$(median "${loads[@]}")
copy_us=$(median "${copies[@]}")
start_us=$(median "${starts[@]}")
awk -v l="$load_us" -v c="$copy_us" -v s="$start_us" -v t="$target" -v n="$runs" 'BEGIN {
    r = l / c
    printf "hangarctl load, whole process: %.2f ms   cp + cp + sync: %.2f ms   (medians of %d)\n",
        l / 1000, c / 1000, n
    printf "of the load, starting and exiting alone (hangarctl --version): %.2f ms\n", s / 1000
    printf "ratio %.2fx, target at most %.2fx: %s\n", r, t, r <= t ? "met" : "MISSED"
    exit r <= t ? 0 : 1
}'
