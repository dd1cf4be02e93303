#!/usr/bin/env bash
# The built hangarctl killed just before each of its calls that change the disk, for every such
# call of a load, a save over a name, a remove and an undo: for each kind of call, strace delivers
# SIGKILL at its Nth call, for N = 1, 2, ... until the command runs to its end. After each kill
# the live files must both be there (the simulator may start before Hangar runs again); after
# the next command's recovery the pair is wholly old or wholly new, the snapshot pair of the name
# is whole, and nothing but Hangar's own files changed in the folders.
# Usage: crash-points.sh path/to/hangarctl
set -euo pipefail

hangarctl=$(realpath "$1")
command -v strace >/dev/null || { echo "crash-points: strace is missing (make setup installs it)" >&2; exit 1; }
calls="rename renameat renameat2 link linkat unlink unlinkat fsync fdatasync ftruncate mkdir"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
kills=0

fail() {
    echo "crash-points: $*" >&2
    failures=$((failures + 1))
}

# A fresh install: two folders with their live pair, Night and Day saved, a user's own hidden
# file in each folder, and a history holding one entry. --force throughout: a test elsewhere on
# this machine may run a program named fs9.exe.
prepare() {
    rm -rf "$scratch/run"
    mkdir -p "$scratch/run/fs9" "$scratch/run/scenery"
    cd "$scratch/run"
    printf 'live main\r\n' >fs9/FS9.cfg
    printf 'live scenery\r\n' >scenery/Scenery.cfg
    printf 'mine\r\n' | tee fs9/.notes scenery/.notes >/dev/null
    printf '[FS Config]\r\nFS9 Folder=%s\r\nSCENERY Folder=%s\r\n' "$PWD/fs9" "$PWD/scenery" >Hangar.ini
    for name in Night Day; do
        printf '%s main\r\n' "$name" >"fs9/FS9.$name.cfg"
        printf '%s scenery\r\n' "$name" >"scenery/Scenery.$name.cfg"
    done
    "$hangarctl" --settings Hangar.ini save --force Day >/dev/null
    "$hangarctl" --settings Hangar.ini save --force Night >/dev/null
    "$hangarctl" --settings Hangar.ini load --force Day >/dev/null
    printf 'tuned main\r\n' >fs9/FS9.cfg
    printf 'tuned scenery\r\n' >scenery/Scenery.cfg
}

pair() { { cat "$1" "$2" 2>/dev/null || true; } | tr -d '\r' | tr '\n' '|'; }

for operation in "load --force Night" "save --force Night" "remove --force Night" "undo --force"; do
    for call in $calls; do
        for ((n = 1; ; n++)); do
            prepare
            old_live=$(pair fs9/FS9.cfg scenery/Scenery.cfg)
            old_night=$(pair fs9/FS9.Night.cfg scenery/Scenery.Night.cfg)
            where="$operation, killed at $call $n"
            # In a subshell whose errors go nowhere: the shell's own "Killed" is no news here.
            status=0
            # shellcheck disable=SC2086
            (strace -f -qq -o /dev/null -e trace=$call -e inject=$call:signal=KILL:when=$n \
                "$hangarctl" --settings Hangar.ini $operation >/dev/null 2>&1; exit $?) 2>/dev/null ||
                status=$?
            [ "$status" -eq 0 ] && break
            [ "$status" -eq 137 ] || { fail "$where: exited with $status, not killed"; break; }
            kills=$((kills + 1))
            [ -f fs9/FS9.cfg ] && [ -f scenery/Scenery.cfg ] || fail "$where: a live file is missing"
            "$hangarctl" --settings Hangar.ini list >/dev/null 2>&1 || fail "$where: no recovery"
            live=$(pair fs9/FS9.cfg scenery/Scenery.cfg)
            night=$(pair fs9/FS9.Night.cfg scenery/Scenery.Night.cfg)
            case "$operation" in
                load*) [ "$live" = "$old_live" ] || [ "$live" = "$old_night" ] || fail "$where: live pair $live" ;;
                save*) [ "$night" = "$old_night" ] || [ "$night" = "$old_live" ] || fail "$where: Night $night" ;;
                remove*) [ "$night" = "$old_night" ] || [ "$night" = "" ] || fail "$where: Night $night" ;;
                undo*) [ "$live" = "$old_live" ] || [ "$live" = "live main|live scenery|" ] || fail "$where: live pair $live" ;;
            esac
            [[ "$operation" == load* || "$operation" == undo* ]] || [ "$live" = "$old_live" ] ||
                fail "$where: the live pair changed"
            for folder in fs9 scenery; do
                [ "$(cat "$folder/.notes")" = "$(printf 'mine\r')" ] || fail "$where: $folder/.notes changed"
                others=$(find "$folder" -maxdepth 1 -name '.*' ! -name .notes -printf '%f ')
                [ -z "$others" ] || fail "$where: left in $folder: $others"
            done
        done
    done
done
echo "crash-points: $kills kills, $failures failures"
[ "$failures" -eq 0 ]
