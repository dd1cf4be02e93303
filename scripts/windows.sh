#!/usr/bin/env bash
# The Windows build, cross-compiled here with mingw-w64 against a static Qt that
# scripts/build-qt-windows.sh builds once into ~/.cache/hangar.
#   scripts/windows.sh build   hangar.exe and hangarctl.exe in build/windows/bin, and the zip
#   scripts/windows.sh test    every test program, run one by one under Wine
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/windows

qt=$(bash scripts/build-qt-windows.sh | tail -n1)
cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" -DCMAKE_PREFIX_PATH="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
    -DHANGAR_TESTS=ON -DHANGAR_WERROR="${WERROR:-OFF}" >/dev/null

case "${1:-build}" in
build)
    cmake --build $build --target hangar hangarctl windows_zip
    ;;
test)
    cmake --build $build
    # A Wine prefix of the build's own, made on first use: the user's ~/.wine stays as it is.
    # Wine's installers of .NET and Internet Explorer's engine are not wanted here.
    export WINEPREFIX=$PWD/$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot --init >/dev/null 2>&1
        wineserver --wait
    fi
    # A display for the tests that start the programs as shipped, which show real windows.
    xvfb-run -a ctest --test-dir $build --output-on-failure --timeout 300
    ;;
*)
    echo "usage: scripts/windows.sh build|test" >&2
    exit 2
    ;;
esac
