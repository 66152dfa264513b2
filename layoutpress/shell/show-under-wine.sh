#!/usr/bin/env bash
# Shows layoutpress.exe of the win64 build under Wine.
#
#   show-under-wine.sh run [BUILD_DIR]
#       Starts the program in a fresh folder under BUILD_DIR/run/. With DISPLAY set it runs on
#       that display until you close it; without one it runs on a virtual display, and after a
#       few seconds a picture of the screen is saved beside it and its path printed.
#   show-under-wine.sh screenshot [OUT.png] [BUILD_DIR]
#       Saves a picture of the main window holding a converted document (default
#       docs/main-window.png), posed by layoutpress_pose.exe
#       (tools/screenshots/layoutpress_pose.cpp).
#
# BUILD_DIR defaults to build/win64 (make win64). The Wine prefix is BUILD_DIR/show-session,
# apart from the tests' one; it maps the panes' font "FixedSys", which Wine does not find at 9
# points, to a monospaced font, so that the dump lines up under its ruler as on Windows.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
mode=${1:-}
case $mode in
run) build=${2:-$root/build/win64} ;;
screenshot)
    out=${2:-$root/docs/main-window.png}
    build=${3:-$root/build/win64}
    ;;
*)
    echo "usage: show-under-wine.sh run [BUILD_DIR] | screenshot [OUT.png] [BUILD_DIR]" >&2
    exit 2
    ;;
esac
build=$(cd "$build" && pwd)
session=$build/show-session
# shellcheck source=../../tools/wine/show-common.sh
. "$root/tools/wine/show-common.sh"

map_font() {
    "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v FixedSys /d 'Liberation Mono' /f </dev/null >/dev/null 2>&1
}

start_virtual_display_with_font() {
    start_virtual_display
    map_font
}

run_program() {
    local exe=$build/layoutpress/shell/layoutpress.exe work
    [ -f "$exe" ] || { echo "show-under-wine: $exe is missing; build with: make win64" >&2; exit 1; }
    mkdir -p "$build/run"
    work=$(mktemp -d "$build/run/layoutpress.XXXXXX")
    if [ -n "${DISPLAY:-}" ]; then
        use_own_display
        map_font
        echo "show-under-wine: layoutpress runs on $DISPLAY in $work; close it to end"
        (cd "$work" && "$wine" "$exe" </dev/null)
        return
    fi
    start_virtual_display_with_font
    (cd "$work" && exec "$wine" "$exe" </dev/null >"$work/wine.log" 2>&1) &
    program_pid=$!
    # The program writes sys.sys before its window appears.
    wait_for_file "$work/sys.sys" || { echo "show-under-wine: the program did not start" >&2; exit 1; }
    sleep 3
    import -display "$DISPLAY" -window root "$work/screen.png"
    echo "show-under-wine: no DISPLAY; layoutpress ran on a virtual display, which looked like"
    echo "  $work/screen.png"
}

take_screenshot() {
    local poser=$build/layoutpress/shell/layoutpress_pose.exe work
    [ -f "$poser" ] || { echo "show-under-wine: $poser is missing; build with: make win64" >&2; exit 1; }
    mkdir -p "$(dirname "$out")"
    out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")
    start_virtual_display_with_font
    work=$(mktemp -d)
    # The pose types a structure and a text, converts them with F5, writes "ready.flag" and
    # waits for "shot.done".
    (cd "$work" && exec "$wine" "$poser" </dev/null >"$work/poser.log" 2>&1) &
    program_pid=$!
    if ! wait_for_file "$work/ready.flag"; then
        cat "$work/poser.log" >&2
        echo "show-under-wine: the program was not ready" >&2
        exit 1
    fi
    sleep 1 # the last paint
    # The main window stands at the top left corner, 1000 by 700 pixels.
    import -display "$DISPLAY" -window root -crop 1000x700+0+0 +repage "$out"
    touch "$work/shot.done"
    wait "$program_pid" || true
    program_pid=
    rm -rf "$work"
    echo "show-under-wine: $out"
}

if [ "$mode" = run ]; then
    run_program
else
    take_screenshot
fi
