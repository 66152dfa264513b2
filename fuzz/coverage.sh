#!/usr/bin/env bash
# How much of each engine the fuzz corpus reaches: builds the harnesses once more with clang's
# source-based coverage (in build/fuzz-coverage), replays each harness's corpus and prints the
# line and branch coverage of the engine files that harness is for.
#   fuzz/coverage.sh [HARNESS...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/fuzz-coverage"
cd "$root"

# The engine files of each harness (what its coverage is measured on).
declare -A engines=(
    [structure_fuzz]="layoutpress/structure/structure_parser.cpp layoutpress/structure/member_table.cpp"
    [text_to_binary_fuzz]="layoutpress/conversion/text_to_binary.cpp layoutpress/conversion/number_reading.cpp"
    [binary_to_text_fuzz]="layoutpress/conversion/binary_to_text.cpp layoutpress/conversion/number_format.cpp"
    [member_table_fuzz]="layoutpress/conversion/text_to_binary.cpp layoutpress/conversion/binary_to_text.cpp"
    [binary_display_fuzz]="layoutpress/documents/binary_display.cpp"
    [settings_fuzz]="layoutpress/documents/settings.cpp"
    [filter_text_fuzz]="layoutpress/documents/filter_text.cpp"
    [question_fuzz]="tallydrill/questions/question_record.cpp tallydrill/questions/line_breaks.cpp tallydrill/tiles/tile_plan.cpp"
    [score_answer_fuzz]="tallydrill/practice/score_answer.cpp"
    [hand_score_fuzz]="tallydrill/scoring/hand_score.cpp tallydrill/scoring/hand_reading.cpp tallydrill/scoring/question_hand.cpp"
)
harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
    for source in fuzz/*_fuzz.cpp; do
        harnesses+=("$(basename "$source" .cpp)")
    done
fi

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DPROJECT_FUZZ=ON -DPROJECT_TESTS=OFF \
    -DCMAKE_CXX_FLAGS="-fprofile-instr-generate -fcoverage-mapping" \
    -DCMAKE_EXE_LINKER_FLAGS="-fprofile-instr-generate" >/dev/null
cmake --build "$build" -j "$(nproc)" --target fuzzers >/dev/null

profiles="$(mktemp -d)"
trap 'rm -rf "$profiles"' EXIT
printf '%-22s %8s %10s %10s  %s\n' harness inputs lines branches "engine files"
for harness in "${harnesses[@]}"; do
    corpus="fuzz/corpus/$harness"
    [ -n "${engines[$harness]:-}" ] || { echo "coverage: no engine files listed for $harness" >&2; exit 1; }
    TMPDIR="$profiles" LLVM_PROFILE_FILE="$profiles/$harness.profraw" \
        "$build/fuzz/$harness" -runs=0 "$corpus" >/dev/null 2>&1
    llvm-profdata-14 merge -sparse "$profiles/$harness.profraw" -o "$profiles/$harness.profdata"
    # shellcheck disable=SC2086
    total="$(llvm-cov-14 report "$build/fuzz/$harness" -instr-profile="$profiles/$harness.profdata" \
        ${engines[$harness]} | grep '^TOTAL')"
    # TOTAL regions missed cover functions missed executed lines missed cover branches missed cover
    read -r -a fields <<<"$total"
    printf '%-22s %8s %10s %10s  %s\n' "$harness" "$(find "$corpus" -type f | wc -l)" \
        "${fields[9]}" "${fields[12]}" "${engines[$harness]}"
done
