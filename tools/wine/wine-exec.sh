#!/usr/bin/env bash
# Runs a Windows program under Wine in the build folder's test session; the exit code is the
# program's. Used as CMAKE_CROSSCOMPILING_EMULATOR by the win64 test build.
#
# Usage: wine-exec.sh --build BUILD_DIR [--fresh-dir] PROGRAM.exe [ARGS...]
#   --fresh-dir  run in a new empty folder under BUILD_DIR/wine-session/work/ (removed when
#                the session ends)
#
# With a session up (session.sh start), the program gets its environment from
# BUILD_DIR/wine-session/session.env: prefix, display, WINEDEBUG, WINEDLLOVERRIDES.
# Without one (as when ctest lists the tests of a program before any test has run), the program
# runs without a display, under a wineserver that ends 2 s after its last client.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build_dir=
fresh=0
while [ $# -gt 0 ]; do
    case $1 in
    --build)
        build_dir=$2
        shift 2
        ;;
    --fresh-dir)
        fresh=1
        shift
        ;;
    *) break ;;
    esac
done
if [ -z "$build_dir" ] || [ $# -eq 0 ]; then
    echo "usage: wine-exec.sh --build BUILD_DIR [--fresh-dir] PROGRAM.exe [ARGS...]" >&2
    exit 2
fi
build_dir=$(cd "$build_dir" && pwd)
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
shift

wine=/usr/lib/wine/wine64
env_file=${WINE_SESSION_ENV:-$build_dir/wine-session/session.env}
if [ -f "$env_file" ]; then
    set -a
    # shellcheck disable=SC1090
    . "$env_file"
    set +a
fi
if [ -z "${WINESERVER:-}" ] || ! "$WINESERVER" -k0 </dev/null >/dev/null 2>&1; then
    # No session: a prefix with the test settings and a short-lived quiet server.
    "$here/session.sh" prefix "$build_dir" </dev/null >/dev/null ||
        { echo "wine-exec: the Wine prefix cannot be prepared (see $build_dir/wine-session/session.log)" >&2; exit 1; }
    export WINEPREFIX=$build_dir/wine-prefix WINEDEBUG=-all
    export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
    export WINESERVER=/usr/lib/wine/wineserver64
    export WINE_SESSION_DIR=$build_dir/wine-session
    unset DISPLAY
    "$WINESERVER" -p2 </dev/null >/dev/null 2>&1 || true
fi
if [ "$fresh" -eq 1 ]; then
    mkdir -p "$WINE_SESSION_DIR/work"
    cd "$(mktemp -d "$WINE_SESSION_DIR/work/$(basename "$program" .exe).XXXXXX")"
fi
exec "$wine" "$program" "$@"
