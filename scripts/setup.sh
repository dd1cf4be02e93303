#!/usr/bin/env bash
# Installs the Debian packages that a make target needs: building, running and testing always
# (the base group), and the groups named as arguments for the other targets.
# Quiet when everything is already there; installs only what is missing.
#   scripts/setup.sh [lint] [bench] [fuzz] [package] [validate] [windows]
set -euo pipefail

declare -A groups=(
    [base]="build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools
            qt6-qpa-plugins libgl-dev fonts-liberation xvfb xauth x11-utils xdotool imagemagick
            strace"
    [lint]="clang-format clang-tidy cppcheck"
    [bench]="libbenchmark-dev"
    [fuzz]="clang libclang-rt-14-dev"
    [package]="dpkg-dev file"
    [validate]="desktop-file-utils appstream"
    # The Windows build: the mingw-w64 cross compiler (posix threads, which Qt needs) and its
    # tools (windres for the icon and version), dpkg-dev for `apt-get source` to unpack Qt's
    # Debian source, Wine and its fonts to run the programs and tests, unzip to try the archive.
    [windows]="g++-mingw-w64-x86-64-posix mingw-w64-tools dpkg-dev wine wine64 fonts-wine unzip"
)

packages=()
for group in base "$@"; do
    [ -n "${groups[$group]+set}" ] || { echo "setup: no package group '$group'" >&2; exit 2; }
    # A group spans lines: split on every blank and line ending, not on the first line only.
    read -r -d '' -a list <<<"${groups[$group]}" || true
    packages+=("${list[@]}")
done

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "setup: these packages are missing: ${missing[*]}" >&2
    echo "setup: install them as root (apt-get install ${missing[*]}), or install sudo." >&2
    exit 1
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
