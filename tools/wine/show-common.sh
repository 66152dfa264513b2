# Sourced by the scripts that show a program under Wine (layoutpress/shell/show-under-wine.sh,
# tallydrill/practice/show-practice.sh). They set root (the repository), build (the win64 build
# folder) and session (a session folder of their own, apart from the tests') first.
# shellcheck shell=bash
wine=/usr/lib/wine/wine64
session_started=0
program_pid=

# Ends the shown program and the session this script started, however the script ends.
finish_showing() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    [ -n "$program_pid" ] && wait "$program_pid" 2>/dev/null || true
    [ "$session_started" -eq 1 ] && "$root/tools/wine/session.sh" stop "$session" || true
}
trap finish_showing EXIT

use_session_env() {
    set -a
    # shellcheck disable=SC1091
    . "$session/wine-session/session.env"
    set +a
}

# A session with a virtual display, for machines without one.
start_virtual_display() {
    "$root/tools/wine/session.sh" start "$session" "$build/tools/wine/wine_keepalive.exe"
    session_started=1
    use_session_env
}

# The session's prefix on the caller's own display.
use_own_display() {
    "$root/tools/wine/session.sh" prefix "$session" >/dev/null
    export WINEPREFIX=$session/wine-prefix WINEDEBUG=-all
    export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
}

# Waits up to a minute for a file the program writes; gives up at once when the program ends.
wait_for_file() {
    local file=$1 i
    for i in $(seq 600); do
        [ -f "$file" ] && return 0
        if [ -n "$program_pid" ] && ! kill -0 "$program_pid" 2>/dev/null; then
            return 1
        fi
        sleep 0.1
    done
    return 1
}
