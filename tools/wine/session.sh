#!/usr/bin/env bash
# One Wine test session per build folder: a private prefix, a virtual display of its own, one
# persistent wineserver and a keepalive program that keeps Wine's desktop process up.
#
# Usage:
#   session.sh [--tree] start BUILD_DIR [KEEPALIVE_EXE]  start the session, or join the running one
#   session.sh [--tree] stop BUILD_DIR                   leave it; the last one to leave ends it
#   session.sh [--tree] prefix BUILD_DIR                 only make the prefix ready (no display)
#   session.sh [--tree] status BUILD_DIR                 exit 0 when the session is up
#
# --tree (the 32-bit build): Wine, its server and the display run inside the Debian 13 tree
# named by WINE_TREE, under Wine 10 (32-bit programs in WoW64 mode); tools/wow64/tree.sh around
# sets WINE_TREE and makes the build folder reachable there at its own path. Without it, the
# host's Wine runs.
#
# Files: BUILD_DIR/wine-prefix (the prefix) and BUILD_DIR/wine-session/ (session.env, which
# wine-exec.sh reads, the pids, the log and the fresh working folders of the tests); with
# --tree, BUILD_DIR/wine-tree-prefix and BUILD_DIR/wine-tree-session/.
# Every caller that starts the session is recorded by its parent's pid (ctest, or your shell;
# WINE_SESSION_HOLDER overrides it); stop removes that holder, and the session ends only when
# no living holder remains. A watcher process ends the session too, within 2 s, once every
# holder has gone without stopping it (an interrupted ctest). Only what this script started
# is ever stopped.
set -euo pipefail

tree_option=()
if [ "${1:-}" = --tree ]; then
    tree_option=(--tree)
    shift
elif [ "${WINE_SESSION_TREE:-}" = 1 ]; then # the watcher of a --tree session
    tree_option=(--tree)
fi

usage() {
    echo "usage: session.sh [--tree] start|stop|prefix|status BUILD_DIR [KEEPALIVE_EXE]" >&2
    echo "       (session.sh watch BUILD_DIR is the session's own watcher)" >&2
    exit 2
}
[ $# -ge 2 ] || usage
command=$1
build_dir=$(mkdir -p "$2" && cd "$2" && pwd)
keepalive_exe=${3:-}
if [ -n "$keepalive_exe" ] && [ -f "$keepalive_exe" ]; then
    keepalive_exe=$(cd "$(dirname "$keepalive_exe")" && pwd)/$(basename "$keepalive_exe")
fi

# A session in the tree has a prefix and a folder of its own (wine-tree-prefix,
# wine-tree-session): a prefix made by one Wine version is not for the other.
place=wine
[ ${#tree_option[@]} -eq 0 ] || place="wine-tree"
prefix=$build_dir/$place-prefix
session=$build_dir/$place-session
env_file=$session/session.env
log=$session/session.log
holder=${WINE_SESSION_HOLDER:-$PPID}

tree=
if [ ${#tree_option[@]} -gt 0 ]; then
    tree=${WINE_TREE:-}
    # The build folder must be the same folder inside the tree (a bind mount), not a copy.
    if [ -z "$tree" ] || [ ! -e "$tree/proc/self/stat" ] || ! [ "$tree$build_dir" -ef "$build_dir" ]; then
        echo "session.sh: this build's tests run under the Wine of the Debian 13 tree:" \
            "run them through tools/wow64/tree.sh around -- ctest --preset win32 (make test does)" >&2
        exit 1
    fi
fi

# The command prefix that runs a program inside the tree (in the current folder when the tree
# has it); empty for the host's Wine.
enter=()
enter_tree() {
    enter=()
    [ -n "$tree" ] || return 0
    local folder=/
    [ "$tree$PWD" -ef "$PWD" ] && folder=$PWD
    enter=(unshare --root="$tree" --wd="$folder")
}
enter_tree

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
[ -x "$tree$wineserver" ] || wineserver=/usr/lib/wine/wineserver
[ -x "$tree$wineserver" ] || [ -n "$tree" ] || wineserver=$(command -v wineserver || true)
xvfb=Xvfb
[ -z "$tree" ] || xvfb=/usr/bin/Xvfb
for tool in "$wine" "$wineserver"; do
    if [ ! -x "$tree$tool" ]; then
        echo "session.sh: $tree$tool not found (tools/install-deps.sh wine installs it)" >&2
        exit 1
    fi
done

export WINEPREFIX=$prefix
export WINEDEBUG=-all
# No Mono or Gecko installs, and no menu entries written into the home folder.
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
export WINESERVER=$wineserver
export WINE_SESSION_DIR=$session
export WINE_TREE=$tree
unset WINEARCH

mkdir -p "$session"
exec 9>"$session/lock"
lock_session() {
    if ! flock -w 600 9; then
        echo "session.sh: the session folder $session stays locked" >&2
        exit 1
    fi
}
[ "$command" = watch ] || lock_session

note() { echo "[$(date '+%H:%M:%S')] $*" >>"$log"; }
starting=0
fail() {
    note "FAILED: $*"
    echo "session.sh: $*" >&2
    [ "$starting" -eq 1 ] && teardown
    exit 1
}

# A pid that is running: not gone, not a zombie (which an init that does not reap leaves).
alive() {
    local state
    [ -n "$1" ] && [ -r "/proc/$1/stat" ] || return 1
    state=$(sed 's/^.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f1)
    [ -n "$state" ] && [ "$state" != Z ]
}

# A running pid whose command line contains $2.
running() {
    alive "$1" && tr '\0' ' ' <"/proc/$1/cmdline" 2>/dev/null | grep -q -- "$2"
}
pid_of() { cat "$session/$1.pid" 2>/dev/null || true; }

server_running() { "${enter[@]}" "$wineserver" -k0 </dev/null >/dev/null 2>&1 9>&-; }

# Runs a Windows program of the prefix quietly; its output goes to the log.
run_wine() { "${enter[@]}" "$wine" "$@" </dev/null >>"$log" 2>&1 9>&-; }

start_server() {
    mkdir -p "$prefix"
    if ! server_running; then
        # Returns once the server is ready; it then runs detached with no inherited output.
        "${enter[@]}" "$wineserver" -p </dev/null >/dev/null 2>&1 9>&- || fail "wineserver -p failed"
    fi
}

settings_present() {
    grep -q '^"Managed"="N"' "$prefix/user.reg" 2>/dev/null &&
        grep -q '^"ShowCrashDialog"=dword:00000000' "$prefix/user.reg" 2>/dev/null
}

# Boots the prefix once (about 10 s and 700 MB), then keeps its test settings in place.
prepare_prefix() {
    if [ ! -f "$prefix/.booted" ] || [ ! -f "$prefix/system.reg" ]; then
        note "booting a fresh prefix in $prefix"
        server_running && "${enter[@]}" "$wineserver" -k </dev/null >/dev/null 2>&1 9>&-
        rm -rf "$prefix"
        start_server
        run_wine wineboot -i || fail "wineboot -i failed (see $log)"
        touch "$prefix/.booted"
    fi
    if ! settings_present; then
        start_server
        # Without a window manager Wine waits 2 s at every top-level hide or destroy.
        run_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f ||
            fail "reg add Managed failed"
        # A crash ends the process with a register dump instead of a dialog nobody answers.
        run_wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f ||
            fail "reg add ShowCrashDialog failed"
    fi
}

holders_prune() {
    local pid
    touch "$session/holders"
    while read -r pid; do
        alive "$pid" && echo "$pid"
    done <"$session/holders" | sort -u >"$session/holders.new" || true
    mv "$session/holders.new" "$session/holders"
}

session_alive() {
    [ -f "$env_file" ] && running "$(pid_of xvfb)" Xvfb && server_running || return 1
    if [ -f "$session/keepalive.pid" ]; then
        running "$(pid_of keepalive)" "$(cat "$session/keepalive.name")" || return 1
    fi
}

stop_pid() {
    local pid=$1 name=$2 i
    running "$pid" "$name" || return 0
    kill "$pid" 2>/dev/null || true
    for i in $(seq 50); do
        running "$pid" "$name" || return 0
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
}

in_watcher=0
teardown() {
    if [ "$in_watcher" -eq 0 ]; then
        stop_pid "$(pid_of watcher)" "session.sh watch"
    fi
    [ -f "$session/keepalive.name" ] &&
        stop_pid "$(pid_of keepalive)" "$(cat "$session/keepalive.name")"
    if [ -d "$prefix" ] && server_running; then
        "${enter[@]}" "$wineserver" -k </dev/null >/dev/null 2>&1 9>&- || true
        timeout 20 "${enter[@]}" "$wineserver" -w </dev/null >/dev/null 2>&1 9>&- || true
    fi
    stop_pid "$(pid_of xvfb)" Xvfb
    rm -f "$env_file" "$session/xvfb.pid" "$session/keepalive.pid" "$session/keepalive.name" \
        "$session/keepalive.ready" "$session/display" "$session/watcher.pid"
    rm -rf "$session/work"
}

# Starts Xvfb on the first display number from 90 that nobody uses.
start_xvfb() {
    local display pid i
    for display in $(seq 90 189); do
        [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ] && continue
        "${enter[@]}" "$xvfb" ":$display" -screen 0 1280x1024x24 -nolisten tcp </dev/null >>"$log" 2>&1 9>&- &
        pid=$!
        for i in $(seq 100); do
            if ! running "$pid" Xvfb; then
                break # somebody took the number first: try the next
            fi
            if [ -S "/tmp/.X11-unix/X$display" ]; then
                echo "$pid" >"$session/xvfb.pid"
                echo ":$display" >"$session/display"
                note "Xvfb :$display (pid $pid)"
                return 0
            fi
            sleep 0.1
        done
        stop_pid "$pid" Xvfb
    done
    fail "no free X display between :90 and :189, or Xvfb does not start (see $log)"
}

start_keepalive() {
    local pid i name
    name=$(basename "$keepalive_exe")
    rm -f "$session/keepalive.ready"
    (
        cd "$session"
        enter_tree
        exec "${enter[@]}" "$wine" "$keepalive_exe" "Z:$session/keepalive.ready" </dev/null >>"$log" 2>&1 9>&-
    ) &
    pid=$!
    for i in $(seq 600); do
        if [ -f "$session/keepalive.ready" ]; then
            echo "$pid" >"$session/keepalive.pid"
            echo "$name" >"$session/keepalive.name"
            note "keepalive (pid $pid)"
            return 0
        fi
        running "$pid" "$name" || fail "the keepalive program ended at start (see $log)"
        sleep 0.1
    done
    fail "the keepalive program did not get ready in 60 s"
}

# KEY='value' lines, for bash (set -a; . FILE; set +a) and for simple line readers.
write_env() {
    local key value
    for key in WINEPREFIX DISPLAY WINEDEBUG WINEDLLOVERRIDES WINESERVER WINE_SESSION_DIR WINE_TREE; do
        value=${!key}
        printf "%s='%s'\n" "$key" "${value//\'/\'\\\'\'}"
    done >"$env_file.new"
    mv "$env_file.new" "$env_file"
}

case $command in
start)
    holders_prune
    if session_alive; then
        echo "$holder" >>"$session/holders"
        note "joined by $holder"
        exit 0
    fi
    if [ -z "$keepalive_exe" ] || [ ! -f "$keepalive_exe" ]; then
        fail "start needs the keepalive program (built by the win64 preset): '$keepalive_exe'"
    fi
    note "starting for $holder"
    teardown # whatever an interrupted session left behind
    starting=1
    start_xvfb
    DISPLAY=$(cat "$session/display")
    export DISPLAY
    prepare_prefix
    start_server
    start_keepalive
    write_env
    echo "$holder" >"$session/holders"
    WINE_SESSION_TREE=${#tree_option[@]} setsid "$0" watch "$build_dir" </dev/null >/dev/null 2>&1 9>&- &
    note "session up: DISPLAY=$DISPLAY"
    ;;
watch)
    in_watcher=1
    echo $$ >"$session/watcher.pid"
    while sleep 2; do
        lock_session
        [ "$(pid_of watcher)" = $$ ] || exit 0 # the session has ended
        holders_prune
        if ! session_alive; then
            note "watcher: the session is not complete any more; leaving it to the next start"
            rm -f "$session/watcher.pid"
            exit 0
        fi
        if [ ! -s "$session/holders" ]; then
            note "watcher: no living holder left; ending the session"
            teardown
            exit 0
        fi
        flock -u 9
    done
    ;;
stop)
    holders_prune
    grep -vx -- "$holder" "$session/holders" >"$session/holders.new" || true
    mv "$session/holders.new" "$session/holders"
    if [ -s "$session/holders" ]; then
        note "left by $holder; still held by $(tr '\n' ' ' <"$session/holders")"
        exit 0
    fi
    teardown
    note "session stopped by $holder"
    ;;
prefix)
    session_alive && exit 0 # the running session has prepared it
    if [ ! -f "$prefix/.booted" ] || ! settings_present; then
        prepare_prefix
        # Save the registry and leave no server behind.
        "${enter[@]}" "$wineserver" -k </dev/null >/dev/null 2>&1 9>&- || true
        timeout 20 "${enter[@]}" "$wineserver" -w </dev/null >/dev/null 2>&1 9>&- || true
    fi
    ;;
status)
    session_alive
    ;;
*)
    usage
    ;;
esac
