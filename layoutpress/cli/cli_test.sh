#!/usr/bin/env bash
# Drives layoutpress-cli as a batch user does: each command and option once, files in and out,
# messages and exit codes. The conversion rules themselves are the engines' tests.
# Usage: cli_test.sh PATH_TO_LAYOUTPRESS_CLI
set -u
cli=$1
# shellcheck source=../../testing/cli_checks.sh
. "$(dirname "$0")/../../testing/cli_checks.sh"

# expect NAME EXIT OUTPUT COMMAND...: OUTPUT is printf's format of the exact standard output
# for exit 0, else the start of the first line on standard error.
expect() {
    local name=$1 want_exit=$2
    printf "$3" >want.bin
    shift 3
    "$@" >out.bin 2>err.txt
    local got_exit=$?
    [ "$want_exit" = 0 ] || head -n 1 err.txt | head -c "$(wc -c <want.bin)" >out.bin
    if [ "$got_exit" = "$want_exit" ] && cmp -s out.bin want.bin; then
        pass
    else
        fail "$name: exit $got_exit, expected $want_exit: [$(od -An -c out.bin | head -c 300)]"
        head -c 300 err.txt
    fi
}

printf 'short a; short b;' >ab.str
printf ' 1, 2,\r\n 3, 4,' >ab.txt
printf 'f_char name[8]; short n[2]; long x;' >rec.str
printf ' "ab", 5, 6, -7,\r\n "abcdef", 1234, 0, 8,' >rec.txt
printf '\x0a\xff\x10' >three.bin
printf '' >nothing.bin
printf ' , ,\r\n' >novalue.txt
printf '// only a comment' >empty.str
printf '00\r\n0G' >bad.txt

expect "to-binary from standard input" 0 '\1\0\2\0\3\0\4\0' \
    sh -c "\"$cli\" to-binary ab.str - <ab.txt"
"$cli" to-binary rec.str rec.txt -o rec.bin
expect "to-text of what to-binary -o wrote" 0 ' "ab", 5, 6, -7,\r\n "abcdef", 1234, 0, 8,' \
    "$cli" to-text rec.str rec.bin
expect "to-text --space --line-feed" 0 \
    ' "ab",\r\n    5, 6,\r\n -7,\r\n\r\n "abcdef",\r\n 1234, 0,\r\n  8,\r\n' \
    "$cli" to-text rec.str rec.bin --space --line-feed
expect "to-text --lf writes LF line ends" 0 ' "ab", 5, 6, -7,\n "abcdef", 1234, 0, 8,' \
    "$cli" to-text rec.str rec.bin --lf
"$cli" to-text rec.str rec.bin --lf -o rec-lf.txt && "$cli" to-binary rec.str rec-lf.txt --lf -o rec-lf.bin
if cmp -s rec.bin rec-lf.bin; then pass; else fail "texts through --lf both ways"; fi
# Large data is converted in parts side by side: the parts must join in order.
printf 'long a;' >long.str
seq -f ' %.0f,' 300000 | head -c -1 >counted.txt
"$cli" to-binary long.str counted.txt --lf -o counted.bin && "$cli" to-text long.str counted.bin --lf -o counted-back.txt
if cmp -s counted.txt counted-back.txt; then pass; else fail "a large text in parts"; fi
expect "dump" 0 '0A FF 10 ' "$cli" dump three.bin
expect "dump --mode pairs" 0 '0AFF 10' "$cli" dump three.bin --mode pairs
expect "dump --mode=decimal" 0 ' 10 255  16 ' "$cli" dump three.bin --mode=decimal
printf '0 AFF1 0' >pairs.txt
expect "undump" 0 '\n\377\20' "$cli" undump pairs.txt
printf '1 2 3 ' >digits.txt # the densest decimal dump: two characters a byte
expect "undump --mode decimal" 0 '\1\2\3' "$cli" undump digits.txt --mode decimal
printf 'A\r\nB\t\x00' >view.bin
expect "charview" 0 'A  B  ' "$cli" charview view.bin
printf 'unsigned char b[2]; long double v; bit:16 f;' >members.str
expect "members lists the table" 0 \
    '0 Unsigned 1 2\n1 Unsigned 1 0\n2 Float 10 0\n3 Bits 2 0\n' "$cli" members members.str

# The program's own messages, exit 1.
expect "a text without values" 1 "text format data has problem." \
    "$cli" to-binary ab.str novalue.txt
expect "an empty binary file" 1 "binary format data has problem." "$cli" to-text ab.str nothing.bin
expect "to-text without members warns" 1 \
    "the problem occurred by the computation process but displays data there." \
    "$cli" to-text empty.str three.bin
expect "undump of a non-digit" 1 "binary format data has problem." "$cli" undump bad.txt
if grep -q ": bad.txt:2:2: " err.txt; then pass; else fail "place of a non-digit [$(cat err.txt)]"; fi
printf 'short a;\r\n\r\nchar b[0];' >zero3.str
expect "a zero count" 1 "data structure has problem." "$cli" members zero3.str
if grep -q ": zero3.str:3: " err.txt; then pass; else fail "line of a fault [$(cat err.txt)]"; fi

# Usage and file errors, exit 2; a failed conversion leaves its output file alone.
expect "no command" 2 "usage: layoutpress-cli COMMAND [ARGUMENTS]" "$cli"
expect "a missing file is named" 2 \
    "layoutpress-cli: cannot read 'missing.str': No such file or directory" \
    "$cli" members missing.str
expect "an unknown mode" 2 "layoutpress-cli: dump: unknown mode 'octal' (use hex, pairs or decimal)" \
    "$cli" dump three.bin --mode octal
expect "an unknown option" 2 "layoutpress-cli: to-binary: unknown option '--space'" \
    "$cli" to-binary ab.str ab.txt --space
expect "an option of another command" 2 "layoutpress-cli: members: unknown option '--space'" \
    "$cli" members ab.str --space
expect "--mode of another command" 2 "layoutpress-cli: members: unknown option '--mode'" \
    "$cli" members ab.str --mode hex
expect "-o without a file" 2 "layoutpress-cli: to-text: option -o needs a value" \
    "$cli" to-text ab.str three.bin -o
expect "an output that cannot be written" 2 "layoutpress-cli: cannot write 'no/dir/out.bin'" \
    "$cli" to-binary ab.str ab.txt -o no/dir/out.bin
expect "a folder as the output" 2 "layoutpress-cli: cannot write '.'" "$cli" to-text ab.str three.bin -o .
printf 'old' >kept.bin
"$cli" to-binary ab.str novalue.txt -o kept.bin 2>/dev/null
expect "a failed conversion leaves the output file alone" 0 'old' cat kept.bin
for command in members to-binary to-text dump undump charview; do
    usage=$("$cli" "$command" --help | head -n 1)
    if [[ "$usage" == "usage: layoutpress-cli $command"* ]]; then pass; else fail "$usage"; fi
done

finish_checks
