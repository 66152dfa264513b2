#!/usr/bin/env bash
# Shows tallydrill.exe of the win64 build under Wine.
#
#   show-practice.sh run [BUILD_DIR]
#       Starts the program in a fresh folder under BUILD_DIR/run/ that holds data/bp.bmp, the
#       question files of the sample pack (build/native/pack/q*.tt) and 120 generated ones
#       (build/native/practice-bank/r*.tt), both made by make native; the file dialog lists
#       the authored q01 to q27 first.
#       With DISPLAY set it runs on that display until you close it; without one it runs on a
#       virtual display, and after a few seconds a picture of the screen is saved beside it and
#       its path printed.
#   show-practice.sh screenshot [OUT_DIR] [BUILD_DIR]
#       Saves practice-question.png and practice-result.png (default in tallydrill/practice/doc)
#       of a pack question, posed by tallydrill_pose.exe
#       (tools/screenshots/tallydrill_pose.cpp).
#
# BUILD_DIR defaults to build/win64 (make win64). The Wine prefix is BUILD_DIR/practice-show,
# apart from the tests' one. PACK_DIR and BANK_DIR override where the question files come from.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
pack=${PACK_DIR:-$root/build/native/pack}
bank=${BANK_DIR:-$root/build/native/practice-bank}
pose_question=q11-added-kan-kan-dora-mangan.tt
mode=${1:-}
case $mode in
run) build=${2:-$root/build/win64} ;;
screenshot)
    out=${2:-$root/tallydrill/practice/doc}
    build=${3:-$root/build/win64}
    ;;
*)
    echo "usage: show-practice.sh run [BUILD_DIR] | screenshot [OUT_DIR] [BUILD_DIR]" >&2
    exit 2
    ;;
esac
build=$(cd "$build" && pwd)
session=$build/practice-show
# shellcheck source=../../tools/wine/show-common.sh
. "$root/tools/wine/show-common.sh"

# A folder to start the program from: the tile bitmap under data/, the pack's questions and the
# generated ones.
make_work_folder() {
    mkdir -p "$build/run"
    work=$(mktemp -d "$build/run/tallydrill.XXXXXX")
    mkdir -p "$work/data"
    cp "$root/tallydrill/data/bp.bmp" "$work/data/bp.bmp"
    if ls "$pack"/*.tt >/dev/null 2>&1; then
        cp "$pack"/*.tt "$work/"
    else
        echo "show-practice: no question files in $pack (make native builds them)" >&2
    fi
    if ls "$bank"/*.tt >/dev/null 2>&1; then
        cp "$bank"/*.tt "$work/"
    else
        echo "show-practice: no generated questions in $bank (make native makes them)" >&2
    fi
}

run_program() {
    local exe=$build/tallydrill/practice/tallydrill.exe
    [ -f "$exe" ] || { echo "show-practice: $exe is missing; build with: make win64" >&2; exit 1; }
    make_work_folder
    if [ -n "${DISPLAY:-}" ]; then
        use_own_display
        echo "show-practice: tallydrill runs on $DISPLAY in $work; F5 picks a question, close it to end"
        (cd "$work" && "$wine" "$exe" </dev/null)
        return
    fi
    start_virtual_display
    (cd "$work" && exec "$wine" "$exe" </dev/null >"$work/wine.log" 2>&1) &
    program_pid=$!
    sleep 4
    import -display "$DISPLAY" -window root -crop 630x450+0+0 +repage "$work/screen.png"
    echo "show-practice: no DISPLAY; tallydrill ran on a virtual display, which looked like"
    echo "  $work/screen.png"
}

take_screenshots() {
    local poser=$build/tallydrill/practice/tallydrill_pose.exe work shot
    [ -f "$poser" ] || { echo "show-practice: $poser is missing; build with: make win64" >&2; exit 1; }
    [ -f "$pack/$pose_question" ] ||
        { echo "show-practice: $pack/$pose_question is missing; build with: make native" >&2; exit 1; }
    mkdir -p "$out"
    out=$(cd "$out" && pwd)
    start_virtual_display
    work=$(mktemp -d)
    cp "$pack/$pose_question" "$work/"
    (cd "$work" && exec "$wine" "$poser" </dev/null >"$work/poser.log" 2>&1) &
    program_pid=$!
    for shot in question result; do
        if ! wait_for_file "$work/$shot.flag"; then
            cat "$work/poser.log" >&2
            echo "show-practice: the program did not reach the $shot" >&2
            exit 1
        fi
        # The main window stands at the top left corner, 630 by 450 pixels.
        import -display "$DISPLAY" -window root -crop 630x450+0+0 +repage "$out/practice-$shot.png"
        touch "$work/$shot.done"
        echo "show-practice: $out/practice-$shot.png"
    done
    wait "$program_pid" || true
    program_pid=
    rm -rf "$work"
}

if [ "$mode" = run ]; then
    run_program
else
    take_screenshots
fi
