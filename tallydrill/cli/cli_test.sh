#!/usr/bin/env bash
# Drives tallydrill-cli as a pack author does: question files in, problem lines and exit codes
# out. Usage: cli_test.sh PATH_TO_TALLYDRILL_CLI
set -u
cli=$1
# shellcheck source=../../testing/cli_checks.sh
. "$(dirname "$0")/../../testing/cli_checks.sh"

# expect NAME EXIT STDOUT COMMAND...   (standard output compared exactly)
expect() {
    local name=$1 want_exit=$2 want_out=$3
    shift 3
    "$@" >out.txt 2>err.txt
    local got_exit=$?
    if [ "$got_exit" != "$want_exit" ]; then
        fail "$name: exit $got_exit, expected $want_exit ($(head -c 300 err.txt))"
    elif [ "$(cat out.txt)" != "$want_out" ]; then
        fail "$name: output [$(cat out.txt)], expected [$want_out]"
    else
        pass
    fi
}

# A sound question: 820 bytes, riichi pinfu ron, written field by field.
field() { # TEXT SIZE: the text padded with zero bytes
    printf '%s' "$1"
    head -c $(($2 - ${#1})) /dev/zero
}
{
    printf '\x00'
    printf '\x05\xff\x00\x00\x00\x00\x00'
    printf '\x1d\xff\x00\x00\x00\x00\x00'
    printf '\x0b\x0c\x0d\x10\x11\x12\x17\x18\x19\x20\x20\x24\x25\xff'
    head -c 18 /dev/zero
    printf '\x26'
    printf '\x2d\x00\x00\x00'
    field 'East round, you sit South: non-dealer.\nRon.' 256
    field '2000' 64
    field '2900' 64
    field '1300' 64
    field '3900' 64
    field 'Riichi 1 + pinfu 1 = 2 han.' 256
} >good.tt
head -c 819 good.tt >short.tt
# The same question with its time limit 0 and its second wrong answer equal to the first.
{ head -c 48 good.tt; head -c 4 /dev/zero; tail -c +53 good.tt; } >late.tt
{ head -c 436 good.tt; field '2900' 64; tail -c +501 good.tt; } >twice.tt
cp good.tt "a question.tt"

expect "sound files have no problem" 0 "" "$cli" check good.tt "a question.tt"
expect "a short file" 1 "short.tt: size: 819 bytes; a question file holds exactly 820" \
    "$cli" check good.tt short.tt
expect "each problem on a line with the file name" 1 \
    "$(printf '%s\n' 'late.tt: time_limit: 0 seconds; the limit must be positive' \
        'twice.tt: answer_wrong_2: the same text as answer_wrong_1 ("2900")')" \
    "$cli" check late.tt good.tt twice.tt
expect "a missing file" 2 "" "$cli" check good.tt missing.tt
if ! grep -q "cannot read 'missing.tt'" err.txt; then
    fail "a missing file is named on standard error"
fi
expect "the summary goes to standard error" 1 "$(cat /dev/null)" sh -c "\"$cli\" check late.tt >/dev/null"
if ! grep -q "1 file checked, 1 problem" err.txt; then
    fail "summary line: $(cat err.txt)"
fi

"$cli" show good.tt >shown.txt
expect "show names the tiles" 0 \
    "concealed tiles: 1-man, 2-man, 3-man, 6-man, 7-man, 8-man, 3-pin, 4-pin, 5-pin, 2-sou, 2-sou, 6-sou, 7-sou" \
    grep '^concealed' shown.txt
expect "show heads each file with its name" 0 "$(printf '== good.tt (820 bytes)\n== short.tt (819 bytes)')" \
    sh -c "\"$cli\" show good.tt short.tt | grep '^=='"

expect "no command" 2 "" "$cli"
expect "an unknown command" 2 "" "$cli" fix good.tt
expect "help" 0 "usage: tallydrill-cli COMMAND FILE..." sh -c "\"$cli\" --help | head -n 1"

finish_checks
