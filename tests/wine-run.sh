#!/usr/bin/env bash
# Runs a Windows test program under Wine as ctest runs a test: its exit status is the test's.
# Wine drops every variable beginning with QT_ from the environment it is started with, so Qt's
# are set inside cmd: the offscreen platform, the log to standard error (QtTest otherwise writes
# to the debugger when there is no console), and Wine's own fonts for the offscreen platform,
# which finds none of the system's.
#   tests/wine-run.sh <program.exe> [arguments...]
set -euo pipefail
# The Wine prefix of the build the program belongs to (<build>/bin/<program>), unless one is given.
export WINEPREFIX=${WINEPREFIX:-$(cd "$(dirname "$1")/.." && pwd)/wine} WINEDEBUG=${WINEDEBUG:--all}
program=$(winepath -w "$1")
shift
fonts=$(winepath -w "${HANGAR_WINE_FONTS:-/usr/share/wine/fonts}")
command="set QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}&& set QT_FORCE_STDERR_LOGGING=1&& set QT_QPA_FONTDIR=$fonts&& $program"
# Wine hands cmd a quote inside an argument as \", which cmd does not read: the words go unquoted.
for argument in "$@"; do
    command+=" $argument"
done
exec wine cmd /c "$command"
