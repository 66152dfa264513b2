# Sourced by the command-line tests (layoutpress/cli/cli_test.sh, tallydrill/cli/cli_test.sh):
# a work folder of their own, removed at the end, and the counting of checks.
# shellcheck shell=bash
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2

passed=0
failed=0
fail() {
    echo "FAIL: $1"
    failed=$((failed + 1))
}
pass() { passed=$((passed + 1)); }

# The summary line, and the script's status: whether every check passed.
finish_checks() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
