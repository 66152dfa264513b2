#!/usr/bin/env bash
# Saves a picture of the Wine test session's virtual display.
# Usage: screenshot.sh OUT.png [BUILD_DIR]   (BUILD_DIR: build/win64 of this checkout)
set -euo pipefail
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: screenshot.sh OUT.png [BUILD_DIR]" >&2
    exit 2
fi
out=$1
build_dir=${2:-$(cd "$(dirname "$0")/../.." && pwd)/build/win64}
env_file=$build_dir/wine-session/session.env
if [ ! -f "$env_file" ]; then
    echo "screenshot.sh: no Wine session in $build_dir (tools/wine/session.sh start)" >&2
    exit 1
fi
DISPLAY=$(sed -n "s/^DISPLAY='\(.*\)'$/\1/p" "$env_file")
[ -n "$DISPLAY" ] || { echo "screenshot.sh: no DISPLAY in $env_file" >&2; exit 1; }
import -display "$DISPLAY" -window root "$out"
