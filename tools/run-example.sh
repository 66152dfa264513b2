#!/usr/bin/env bash
# Converts the bundled example with the batch converter and prints every step.
set -euo pipefail
cli=${1:-build/native/layoutpress/cli/layoutpress-cli}
here=$(cd "$(dirname "$0")/.." && pwd)
structure="$here/examples/parts.str"
text="$here/examples/parts.txt"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

show() { tr -d '\r' <"$1"; echo; }

echo "== data structure (examples/parts.str)"
show "$structure"
echo "== member table: index kind size element_count"
"$cli" members "$structure"
echo "== text format data (examples/parts.txt)"
show "$text"
"$cli" to-binary "$structure" "$text" -o "$work/parts.bin"
echo "== binary format data: $(wc -c <"$work/parts.bin") bytes, hexadecimal dump"
"$cli" dump "$work/parts.bin" -o "$work/parts.dump"
show "$work/parts.dump"
echo "== back to text with [SPACE] and [LINE FEED]"
"$cli" to-text "$structure" "$work/parts.bin" --space --line-feed -o "$work/back.txt"
show "$work/back.txt"
