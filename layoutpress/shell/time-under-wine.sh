#!/usr/bin/env bash
# Times F5 and F6 in layoutpress's window under Wine (make bench-gui) and prints the figures.
#   time-under-wine.sh [BUILD_DIR] [ROUNDS] [--old-order-too]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build/win64}"
rounds="${2:-15}"
exe="$build/layoutpress/shell/layoutpress_gui_timing.exe"
[ -f "$exe" ] || { echo "time-under-wine: $exe is missing; build with: make bench-gui" >&2; exit 1; }

# The session is held by this script and ends with it.
export WINE_SESSION_HOLDER=$$
trap '"$root/tools/wine/session.sh" stop "$build" >/dev/null 2>&1 || true' EXIT
echo "Machine: $(nproc) x $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1), $(uname -sr), $(/usr/lib/wine/wine64 --version 2>/dev/null || echo wine); $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "Load: $(cut -d" " -f1-3 /proc/loadavg) (1, 5 and 15 minute load averages on $(nproc) processors)"
# A Wine that is still settling after its first boot can fail to make the window: once more.
"$root/tools/wine/wine-exec.sh" --build "$build" --fresh-dir "$exe" "$rounds" "${@:3}" ||
    "$root/tools/wine/wine-exec.sh" --build "$build" --fresh-dir "$exe" "$rounds" "${@:3}"
