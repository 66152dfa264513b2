#!/usr/bin/env bash
# Runs the fuzz harnesses of a fuzz build, one at a time.
#   fuzz/run-fuzzers.sh check BUILD [HARNESS...]        every corpus file, then a few seconds
#   fuzz/run-fuzzers.sh run BUILD SECONDS [HARNESS...]  fuzz each for SECONDS, then merge what
#                                                       was found into fuzz/corpus/<harness>/
# A crash stops the script with the harness's report; the input is kept under
# BUILD/fuzz/artifacts/ for a regression test.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
mode="${1:?usage: run-fuzzers.sh check|run BUILD [SECONDS] [HARNESS...]}"
build="${2:?build folder}"
shift 2
budget=3
if [ "$mode" = run ]; then
    budget="${1:?seconds per harness}"
    shift
fi
harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
    harnesses=()
    for source in "$here"/*_fuzz.cpp; do
        harnesses+=("$(basename "$source" .cpp)")
    done
fi

artifacts="$build/fuzz/artifacts"
mkdir -p "$artifacts"
# The engines are fuzzed, not the allocator: no leak reports at exit (load_settings' buffers are
# released by the harness), and inputs stay small.
options=(-max_len=4096 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1)

for harness in "${harnesses[@]}"; do
    program="$build/fuzz/$harness"
    corpus="$here/corpus/$harness"
    mkdir -p "$corpus"
    work="$(mktemp -d)"
    # The harnesses' own files (settings_fuzz's sys.sys), removed even after a crash; in memory
    # where the system has a memory file system, since a disk's file replacement costs
    # milliseconds and would leave settings_fuzz a tenth of its executions.
    scratch="$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)"
    trap 'rm -rf "$work" "$scratch"' EXIT
    echo "== $harness ($mode, ${budget} s)"
    # New inputs go to the work folder first; the corpus in the repository changes only by merge.
    TMPDIR="$scratch" "$program" "${options[@]}" -max_total_time="$budget" \
        -artifact_prefix="$artifacts/$harness-" \
        "$work" "$corpus" 2>"$work.log" || {
        tail -n 60 "$work.log"
        echo "run-fuzzers: $harness failed; the input is under $artifacts" >&2
        rm -f "$work.log"
        exit 1
    }
    grep -E '^stat::number_of_executed_units|Done [0-9]+ runs' "$work.log" || true
    if [ "$mode" = run ]; then
        # One line per harness for the README: executions, seconds, and the last coverage report.
        executions="$(sed -n 's/^stat::number_of_executed_units: *//p' "$work.log" | tail -n 1)"
        coverage="$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$work.log" | tail -n 1)"
        echo "$harness $budget s: ${executions:-?} executions, ${coverage:-no coverage report}" |
            tee -a "$build/fuzz/figures.txt"
    fi
    rm -f "$work.log"
    if [ "$mode" = run ]; then
        # Merged by edges alone (not hit counts), which keeps the corpus to a few dozen files.
        merged="$(mktemp -d)"
        "$program" -merge=1 -use_counters=0 -max_len=4096 "$merged" "$corpus" "$work" \
            >/dev/null 2>&1
        rm -rf "$corpus"
        mkdir -p "$corpus"
        cp "$merged"/* "$corpus"/ 2>/dev/null || true
        rm -rf "$merged"
        echo "   corpus: $(find "$corpus" -type f | wc -l) files"
    fi
    rm -rf "$work" "$scratch"
done
