#!/usr/bin/env bash
# Exports hands with this scorer's answers and has the independent scorer judge them.
#   tools/oracle/compare.sh BUILD ORACLE_DIR HANDS SEED [compare.js options...]
# BUILD holds tools/oracle/hand_export and pack/*.tt (the native build). With ORACLE_QUESTIONS
# set to a folder, its question files (*.tt, generated ones for example) are compared too.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
build="${1:?build folder}"
oracle="${2:?oracle folder}"
hands="${3:?number of dealt hands}"
seed="${4:?seed}"
shift 4
export_tool="$build/tools/oracle/hand_export"

{
    "$export_tool" "$build"/pack/*.tt
    "$export_tool" --notation <"$here/targeted_hands.txt"
    if [ -n "${ORACLE_QUESTIONS:-}" ]; then
        find "$ORACLE_QUESTIONS" -name '*.tt' -print0 | sort -z | xargs -0 -r "$export_tool"
    fi
    "$export_tool" --deal "$hands" --seed "$seed"
} | node "$here/compare.js" "$oracle" "$@"
