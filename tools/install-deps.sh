#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages a build needs, only when some are missing.
# Usage: tools/install-deps.sh GROUP...   (groups: native, windows, wine, fuzz, coverage, bench, mutate)
set -euo pipefail

packages_native="cmake make g++ googletest"
packages_windows="g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64"
packages_wine="wine64 xvfb imagemagick fonts-noto-cjk"
packages_fuzz="clang libclang-rt-14-dev"
packages_coverage="llvm-14"
packages_bench="libbenchmark-dev python3 perl xxd"
packages_mutate="python3 ninja-build"

wanted=()
for group in "$@"; do
    var="packages_${group}"
    if [ -z "${!var+x}" ]; then
        echo "install-deps: unknown group '$group'" >&2
        exit 2
    fi
    # shellcheck disable=SC2206
    wanted+=(${!var})
done

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if ! command -v apt-get >/dev/null 2>&1; then
    echo "install-deps: apt-get not found; please install: ${missing[*]}" >&2
    exit 1
fi
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "install-deps: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
