#!/usr/bin/env bash
# Usage: cli_test.sh TALLYDRILL_CLI LAYOUTPRESS_CLI QUESTION_STR (question files in, problems out)
set -u
cli=$1
converter=$2
structure=$3
# shellcheck source=../../testing/cli_checks.sh
. "$(dirname "$0")/../../testing/cli_checks.sh"

# expect NAME EXIT STDOUT COMMAND...   (standard output compared exactly)
expect() {
    local name=$1 want_exit=$2 want_out=$3 got got_exit
    shift 3
    got=$("$@" 2>err.txt)
    got_exit=$?
    if [ "$got_exit" = "$want_exit" ] && [ "$got" = "$want_out" ]; then
        pass
    else
        fail "$name: exit $got_exit (expected $want_exit), output [$got] ($(head -c 300 err.txt))"
    fi
}

# A generated bank: the same files for the same seed, the text form converting into its bytes.
"$cli" generate --count 6 --seed 77 --out bank >/dev/null 2>err.txt || fail "generate: $(cat err.txt)"
"$cli" generate --count 6 --seed 77 --out again --text 2>/dev/null || fail "generate --text"
"$cli" generate --count 6 --seed 77 --out bank2 2>/dev/null || fail "generate again"
expect "a bank of six" 0 6 sh -c "ls bank/r00[1-6]-*.tt | wc -l"
expect "the same seed, the same files" 0 "" diff -r bank bank2
for text in again/*.txt; do
    name=$(basename "$text" .txt)
    expect "the text form of $name converts into its bytes" 0 "" \
        sh -c "\"$converter\" to-binary \"$structure\" $text -o $name.tt && cmp $name.tt bank/$name.tt"
done

# The first of them; twice its length; a byte short; its time limit -1 (signed in question.str).
first=$(ls bank/*.tt | head -n 1)
cp "$first" good.tt
cat good.tt good.tt >long.tt
head -c 819 good.tt >short.tt
{ head -c 48 good.tt; printf '\377\377\377\377'; tail -c +53 good.tt; } >late.tt
expect "question.str reads the time limit signed" 0 1 \
    sh -c "\"$converter\" to-text \"$structure\" late.tt | grep -c ', -1, \"'"

expect "each problem on a line with the file name, none for a sound file" 1 \
    "$(printf '%s\n' 'long.tt: size: 1640 bytes; a question file holds exactly 820' \
        'short.tt: size: 819 bytes; a question file holds exactly 820')" \
    "$cli" check long.tt good.tt short.tt
grep -q "3 files checked, 2 problems" err.txt || fail "summary on standard error: $(cat err.txt)"
expect "one file, one problem" 1 "late.tt: time_limit: -1 seconds; the limit must be positive" \
    "$cli" check late.tt
grep -q "1 file checked, 1 problem$" err.txt || fail "summary of one: $(cat err.txt)"
expect "a missing file and a folder" 2 "" "$cli" check good.tt missing.tt bank
grep -q "cannot read 'missing.tt'" err.txt || fail "a missing file is named on standard error"
expect "show of a missing file" 2 "" "$cli" show missing.tt

"$cli" show good.tt long.tt >shown.txt 2>err.txt || fail "show: $(cat err.txt)"
expect "show heads each file with its name, a blank line before the next" 0 \
    "$(printf '== good.tt (820 bytes)\n--\n\n== long.tt (1640 bytes)')" grep -B1 '^==' shown.txt

expect "generate wants a count" 2 "" "$cli" generate --seed 1 --out x
expect "and a known level" 2 "" "$cli" generate --count 1 --seed 1 --out x --level hard

# score: 0 when the right answer agrees, 1 when it does not, 2 when the hand cannot be read.
expect "score shows a generated bank" 0 "" sh -c "\"$cli\" score bank/*.tt >scored.txt"
expect "and its right answers agree" 0 6 grep -c '^right answer: ".*" agrees$' scored.txt
expect "each with its payment" 0 6 grep -c '^payment: ' scored.txt
expect "and a blank line before the next" 0 5 sh -c "grep -B1 '^== ' scored.txt | grep -c '^\$'"
{ head -c 308 "$first"; printf 1; head -c 63 /dev/zero; tail -c +373 "$first"; } >wrong.tt
expect "a right answer the hand does not pay" 1 "" sh -c "\"$cli\" score wrong.tt >/dev/null"
{ head -c 15 "$first"; printf '\x0b\x0b\x0b\x0b\x0b\xff'; tail -c +22 "$first"; } >five.tt
expect "a hand that cannot be read" 2 "" sh -c "\"$cli\" score $first five.tt >/dev/null"
grep -q "five.tt" err.txt || fail "the unreadable file is named: $(cat err.txt)"

expect "no command" 2 "" "$cli"
expect "an unknown command" 2 "" "$cli" fix good.tt
expect "help" 0 "usage: tallydrill-cli COMMAND FILE..." sh -c "\"$cli\" --help | head -n 1"

finish_checks
