#!/usr/bin/env bash
# Builds the static Qt that the Windows build links against, from the source of the Qt that Debian
# ships (its host tools in /usr must be the same version), once: the result stays in
#   ${HANGAR_CACHE:-~/.cache/hangar}/qt-<version>-mingw-static
# and is rebuilt only when the recipe changes (the Qt version, the configure options, the patch,
# the toolchain file).
# Only Core, Gui, Widgets, Test, the windows and offscreen platform plugins and the windowsvista
# style are built. Runs at the lowest CPU priority: the machine stays usable meanwhile.
#   scripts/build-qt-windows.sh           builds when needed; prints the Qt prefix on its last line
#   scripts/build-qt-windows.sh --cached  prints it too, and fails when it is not built
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
toolchain=$repo/cmake/mingw-w64.cmake
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)   # e.g. 6.4.2+dfsg-10
upstream=${version%%[+-]*}
cache=${HANGAR_CACHE:-$HOME/.cache/hangar}
prefix=$cache/qt-$upstream-mingw-static
stamp=$prefix/.hangar-recipe

# The recipe: what makes one Qt build differ from another. Its hash is kept beside the install.
# Bundled third-party libraries (the mingw sysroot has none); no OpenGL, D-Bus, ICU, SQL, network,
# XML, printing or concurrency modules; tablets need wintab.h, which neither Debian's source nor
# mingw has.
configure_options=(-xplatform win32-g++ -static -static-runtime -release -qt-host-path /usr
    -opensource -confirm-license -nomake examples -nomake tests -nomake benchmarks
    -qt-zlib -qt-pcre -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz
    -no-opengl -no-dbus -no-icu -no-feature-sql -no-feature-network -no-feature-xml
    -no-feature-printsupport -no-feature-concurrent -no-feature-tabletevent
    -no-feature-direct2d -no-feature-vulkan)
# Without Direct2D the Windows platform plugin still names the DirectWrite font database that only
# the Direct2D build compiles in: ask for both.
# The host Qt's CMake files are under Debian's multiarch folder, where a cross build does not look.
host_cmake_dir=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake
cmake_options=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir")
patch_plugin='s/#if QT_CONFIG(directwrite3)$/#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)/'
# The toolchain counts by its content, not by the path of the checkout it is read from: every
# clone of the repository shares one cache.
recipe=$( { echo "$version" "${configure_options[*]}" "${cmake_options[*]//$toolchain/}" "$patch_plugin"
    grep -v '^ *#' "$toolchain"; } | sha256sum | cut -d' ' -f1)

if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$recipe" ]; then
    echo "$prefix"
    exit 0
elif [ "${1:-}" = --cached ]; then # only asked whether it is there
    echo "$prefix"
    exit 1
fi

# The source and the half-done build stay in the work folder until the install is complete, so
# that an interrupted build of the same recipe carries on where it stopped.
work=$cache/qt-$upstream-mingw-work
if [ "$(cat "$work/recipe" 2>/dev/null)" != "$recipe" ]; then
    rm -rf "$work"
fi
rm -rf "$prefix"
mkdir -p "$work/apt/lists/partial" "$work/apt/sources.list.d" "$work/apt/cache/archives/partial"
echo "$recipe" >"$work/recipe"

src=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)
if [ -z "$src" ]; then
    # An apt configuration of this build's own, so that the system's stays as it is: the source
    # line is copied from the system's line that serves the installed qt6-base-dev.
    read -r uri suite component < <(apt-cache policy qt6-base-dev | awk -v v="$version" '
        $1 == v || $2 == v { want = 1; next }
        want && $1 ~ /^[0-9]+$/ && $2 ~ /:\/\// { split($3, s, "/"); print $2, s[1], s[2]; exit }')
    [ -n "${uri:-}" ] || { echo "build-qt-windows: no apt source serves qt6-base-dev $version" >&2; exit 1; }
    keyring=/usr/share/keyrings/debian-archive-keyring.gpg
    signed=$([ -f "$keyring" ] && echo "[signed-by=$keyring]" || true)
    echo "deb-src $signed $uri $suite $component" >"$work/apt/sources.list"
    apt_own=(-o "Dir::Etc::sourcelist=$work/apt/sources.list" -o "Dir::Etc::sourceparts=$work/apt/sources.list.d"
        -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache")
    apt-get "${apt_own[@]}" update -qq
    (cd "$work" && apt-get "${apt_own[@]}" source -qq "qt6-base=$version")
    src=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)
    sed -i "$patch_plugin" "$src/src/plugins/platforms/windows/qwindowsintegration.cpp"
fi

mkdir -p "$work/build"
cd "$work/build"
if [ ! -f build.ninja ]; then
    nice -n 19 "$src/configure" -prefix "$prefix" "${configure_options[@]}" \
        -- "${cmake_options[@]}"
fi
nice -n 19 cmake --build . --parallel "${HANGAR_QT_JOBS:-$(nproc)}"
cmake --install .
echo "$recipe" >"$stamp"
rm -rf "$work"
echo "$prefix"
