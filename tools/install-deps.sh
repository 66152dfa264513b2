#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages a build needs, only when some are missing.
# Usage: tools/install-deps.sh GROUP...
#   (groups: native, windows, wine, wow64, fuzz, coverage, bench, mutate, oracle, oracle_npm,
#   release)
set -euo pipefail

packages_native="cmake make g++ googletest"
packages_windows="g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64"
packages_wine="wine64 xvfb imagemagick fonts-noto-cjk"
# The 32-bit Windows tests: tools/wow64/tree.sh makes a Debian 13 tree with Wine 10 by itself.
packages_wow64="debootstrap"
packages_fuzz="clang libclang-rt-14-dev"
packages_coverage="llvm-14"
packages_bench="libbenchmark-dev python3 perl xxd"
packages_mutate="python3 ninja-build"
packages_oracle="nodejs"
packages_oracle_npm="npm" # when the nodejs package brings no npm of its own
# make dist: the zips, the Debian package and their checks.
packages_release="python3 unzip dpkg-dev lintian man-db"

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
# Parallel builds on one machine may install at the same time: wait for the other's lock.
wait_lock=(-o DPkg::Lock::Timeout=600)
for attempt in $(seq 60); do
    # apt-get update does not wait for the lists lock by itself.
    $sudo apt-get "${wait_lock[@]}" update -qq && break
    [ "$attempt" -lt 60 ] || exit 1
    sleep 5
done
DEBIAN_FRONTEND=noninteractive $sudo apt-get "${wait_lock[@]}" install -y -qq --no-install-recommends "${missing[@]}"
