#!/usr/bin/env bash
# Runs a Windows program under Wine in the build folder's test session; the exit code is the
# program's. Used as CMAKE_CROSSCOMPILING_EMULATOR by the win64 test build.
#
# Usage: wine-exec.sh --build BUILD_DIR [--keepalive EXE] [--fresh-dir] PROGRAM.exe [ARGS...]
#   --fresh-dir  run in a new empty folder under BUILD_DIR/wine-session/work/ (removed when
#                the session ends)
#   --keepalive  the session's keepalive program (default: the one the build makes)
#
# The program gets its environment (prefix, display, WINEDEBUG, WINEDLLOVERRIDES) from the
# session's BUILD_DIR/wine-session/session.env. When no session is up, as when ctest lists the
# cases of a program before the session fixture has run, this starts one, held by the caller
# (ctest): it ends with ctest's session fixture, or 2 s after the caller has gone.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build_dir=
keepalive=
fresh=0
while [ $# -gt 0 ]; do
    case $1 in
    --build)
        build_dir=$2
        shift 2
        ;;
    --keepalive)
        keepalive=$2
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
    echo "usage: wine-exec.sh --build BUILD_DIR [--keepalive EXE] [--fresh-dir] PROGRAM.exe [ARGS...]" >&2
    exit 2
fi
build_dir=$(cd "$build_dir" && pwd)
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
shift

wine=/usr/lib/wine/wine64
keepalive=${keepalive:-$build_dir/tools/wine/wine_keepalive.exe}
env_file=${WINE_SESSION_ENV:-$build_dir/wine-session/session.env}

session_up() {
    [ -f "$env_file" ] || return 1
    set -a
    # shellcheck disable=SC1090
    . "$env_file"
    set +a
    "$WINESERVER" -k0 </dev/null >/dev/null 2>&1
}
if ! session_up; then
    if ! WINE_SESSION_HOLDER=${WINE_SESSION_HOLDER:-$PPID} \
        "$here/session.sh" start "$build_dir" "$keepalive" </dev/null >/dev/null; then
        echo "wine-exec: no Wine session (see $build_dir/wine-session/session.log)" >&2
        exit 1
    fi
    session_up || { echo "wine-exec: the Wine session did not come up" >&2; exit 1; }
fi
if [ "$fresh" -eq 1 ]; then
    mkdir -p "$WINE_SESSION_DIR/work"
    cd "$(mktemp -d "$WINE_SESSION_DIR/work/$(basename "$program" .exe).XXXXXX")"
fi
exec "$wine" "$program" "$@"
