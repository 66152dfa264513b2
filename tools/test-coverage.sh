#!/usr/bin/env bash
# Line and branch coverage of the engine sources (the files tools/mutate.py puts faults in) by the
# native suite: builds the tests with clang's source-based coverage in build/test-coverage, runs
# them with ctest and reports over every test program and command-line tool together.
#   tools/test-coverage.sh [-v]    (-v: one line per engine file)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/test-coverage"
cd "$root"

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="-fprofile-instr-generate -fcoverage-mapping" \
    -DCMAKE_EXE_LINKER_FLAGS="-fprofile-instr-generate" >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null

profiles="$(mktemp -d)"
trap 'rm -rf "$profiles"' EXIT
LLVM_PROFILE_FILE="$profiles/%p-%m.profraw" ctest --test-dir "$build" -j "$(nproc)" >/dev/null
llvm-profdata-14 merge -sparse "$profiles"/*.profraw -o "$profiles/all.profdata"

objects=()
while IFS= read -r program; do
    objects+=(-object "$program")
done < <(find "$build/layoutpress" "$build/tallydrill" -type f -perm -u+x \
             \( -name '*_test' -o -name '*-cli' \) | sort)
mapfile -t engines < <(tools/mutate.py --sources)
report="$(llvm-cov-14 report "${objects[@]:1}" -instr-profile="$profiles/all.profdata" \
    "${engines[@]}")"
[ "${1:-}" = "-v" ] && echo "$report"
# TOTAL regions missed cover functions missed executed lines missed cover branches missed cover
read -r -a fields <<<"$(grep '^TOTAL' <<<"$report")"
echo "native suite over ${#engines[@]} engine sources: lines ${fields[9]}, branches ${fields[12]}"
