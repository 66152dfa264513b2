#!/usr/bin/env bash
# Runs a Windows program under Wine in the build folder's test session; the exit code is the
# program's. Used as CMAKE_CROSSCOMPILING_EMULATOR by the win64 and win32 test builds.
#
# Usage: wine-exec.sh --build BUILD_DIR [--keepalive EXE] [--fresh-dir] [--tree] PROGRAM.exe [ARGS...]
#   --fresh-dir  run in a new empty folder under BUILD_DIR/wine-session/work/ (removed when
#                the session ends)
#   --keepalive  the session's keepalive program (default: the one the build makes)
#   --tree       run under the Wine 10 of the Debian 13 tree named by WINE_TREE (the 32-bit
#                build; see tools/wow64/tree.sh, which ctest must run within); the session
#                folder is then BUILD_DIR/wine-tree-session
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
in_tree_option=()
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
    --tree)
        in_tree_option=(--tree)
        shift
        ;;
    *) break ;;
    esac
done
if [ -z "$build_dir" ] || [ $# -eq 0 ]; then
    echo "usage: wine-exec.sh --build BUILD_DIR [--keepalive EXE] [--fresh-dir] [--tree] PROGRAM.exe [ARGS...]" >&2
    exit 2
fi
build_dir=$(cd "$build_dir" && pwd)
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
shift

wine=/usr/lib/wine/wine64
keepalive=${keepalive:-$build_dir/tools/wine/wine_keepalive.exe}
session_dir=$build_dir/wine-session
[ ${#in_tree_option[@]} -eq 0 ] || session_dir="$build_dir/wine-tree-session"
env_file=${WINE_SESSION_ENV:-$session_dir/session.env}

session_up() {
    [ -f "$env_file" ] || return 1
    set -a
    # shellcheck disable=SC1090
    . "$env_file"
    set +a
    in_tree "$WINESERVER" -k0 </dev/null >/dev/null 2>&1
}

# Runs a command (inside the tree with --tree) in the current folder.
in_tree() {
    if [ ${#in_tree_option[@]} -eq 0 ]; then
        "$@"
    elif [ -n "${WINE_TREE:-}" ] && [ "$WINE_TREE$PWD" -ef "$PWD" ]; then
        unshare --root="$WINE_TREE" --wd="$PWD" "$@"
    else
        echo "wine-exec: this build's programs run under the Wine of the Debian 13 tree: run ctest" \
            "through tools/wow64/tree.sh around -- ctest --preset win32 (make test does)" >&2
        exit 1
    fi
}
if ! session_up; then
    if ! WINE_SESSION_HOLDER=${WINE_SESSION_HOLDER:-$PPID} \
        "$here/session.sh" "${in_tree_option[@]}" start "$build_dir" "$keepalive" </dev/null >/dev/null; then
        echo "wine-exec: no Wine session (see $session_dir/session.log)" >&2
        exit 1
    fi
    session_up || { echo "wine-exec: the Wine session did not come up" >&2; exit 1; }
fi
if [ "$fresh" -eq 1 ]; then
    mkdir -p "$WINE_SESSION_DIR/work"
    cd "$(mktemp -d "$WINE_SESSION_DIR/work/$(basename "$program" .exe).XXXXXX")"
fi
if [ ${#in_tree_option[@]} -eq 0 ]; then
    exec "$wine" "$program" "$@"
fi
in_tree true
exec unshare --root="$WINE_TREE" --wd="$PWD" "$wine" "$program" "$@"
