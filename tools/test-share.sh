#!/usr/bin/env bash
# The size of the tests against the code they guard: non-blank lines of tracked files.
#   tests: names ending _test.cpp/_test.h/_test.sh, names holding test_support or fixture,
#          the sources under testing/, and the fuzz harness sources (fuzz/*.cpp, fuzz/*.h);
#   code:  every other C++, header, resource, Python and shell source under layoutpress/ and
#          tallydrill/.
# Tools, benchmarks, corpus and data count as neither.
set -euo pipefail
cd "$(dirname "$0")/.."

sources='\.(cpp|h|rc|py|sh)$'
test_names='(_test\.(cpp|h|sh)$|test_support|fixture)'

# Files listed one a line on stdin; one awk over them all (a tracked file deleted in the worktree
# is skipped).
non_blank_lines() {
    local existing=() file
    while IFS= read -r file; do
        [ -f "$file" ] && existing+=("$file")
    done
    [ ${#existing[@]} -gt 0 ] || { echo 0; return; }
    awk 'NF { n++ } END { print n + 0 }' "${existing[@]}"
}

files="$(git ls-files)"
tests="$( { grep -E "$test_names" <<<"$files" | grep -E "$sources"
            grep -E '^testing/' <<<"$files" | grep -E "$sources"
            grep -E '^fuzz/[^/]+\.(cpp|h)$' <<<"$files"; } | sort -u | non_blank_lines)"
code="$(grep -E '^(layoutpress|tallydrill)/' <<<"$files" | grep -E "$sources" |
        grep -vE "$test_names" | non_blank_lines)"
awk -v t="$tests" -v c="$code" 'BEGIN {
    printf "tests %d lines, code %d lines: tests are %.1f %% of the code\n", t, c, 100 * t / c }'
