#!/usr/bin/env bash
# Drives layoutpress-cli as a batch user does: files in, bytes out, messages and exit codes.
# Usage: cli_test.sh PATH_TO_LAYOUTPRESS_CLI
set -u
cli=$1
# shellcheck source=../../testing/cli_checks.sh
. "$(dirname "$0")/../../testing/cli_checks.sh"

hex_of() { od -An -v -tx1 "$1" | tr -s ' \n' ' ' | sed 's/^ //;s/ $//'; }

# expect NAME EXPECTED_EXIT EXPECTED_STDOUT_HEX COMMAND...   (stdout compared byte for byte)
expect() {
    local name=$1 want_exit=$2 want_hex=$3
    shift 3
    "$@" >out.bin 2>err.txt
    local got_exit=$?
    local got_hex
    got_hex=$(hex_of out.bin)
    if [ "$got_exit" != "$want_exit" ]; then
        fail "$name: exit $got_exit, expected $want_exit ($(head -c 300 err.txt))"
    elif [ "$got_hex" != "$want_hex" ]; then
        fail "$name: output [$got_hex], expected [$want_hex]"
    else
        pass
    fi
}

# expect_error NAME EXPECTED_EXIT FIRST_STDERR_LINE_START COMMAND...
expect_error() {
    local name=$1 want_exit=$2 want_line=$3
    shift 3
    "$@" >out.bin 2>err.txt
    local got_exit=$?
    local first_line
    first_line=$(head -n 1 err.txt)
    if [ "$got_exit" != "$want_exit" ]; then
        fail "$name: exit $got_exit, expected $want_exit"
    elif [[ "$first_line" != "$want_line"* ]]; then
        fail "$name: first message [$first_line], expected [$want_line]"
    else
        pass
    fi
}

printf 'short a; short b;' >ab.str
printf ' 1, 2,\r\n 3, 4,' >ab.txt
printf ' 1, 2,\n 3, 4,\n' >ab-lf.txt
printf 'f_char name[8]; short n[2]; long x;' >rec.str
printf ' "ab", 5, 6, -7,\r\n "abcdef", 1234, 0, 8,' >rec.txt
printf '// only a comment\r\n' >empty.str
printf 'char a[0];' >zero.str
printf '' >nothing.bin

# Conversions.
expect "to-binary of the two-line example" 0 "01 00 02 00 03 00 04 00" \
    "$cli" to-binary ab.str ab.txt
expect "to-binary from standard input" 0 "01 00 02 00 03 00 04 00" \
    sh -c "\"$cli\" to-binary ab.str - <ab.txt"
expect "to-binary --lf reads LF line ends" 0 "01 00 02 00 03 00 04 00" \
    "$cli" to-binary ab.str ab-lf.txt --lf
"$cli" to-binary rec.str rec.txt -o rec.bin
expect "to-binary -o writes the file" 0 \
    "61 62 00 00 00 00 00 00 05 00 06 00 f9 ff ff ff 61 62 63 64 65 66 00 00 d2 04 00 00 08 00 00 00" \
    cat rec.bin
expect "to-text plain" 0 "$(printf ' "ab", 5, 6, -7,\r\n "abcdef", 1234, 0, 8,' >w.txt; hex_of w.txt)" \
    "$cli" to-text rec.str rec.bin
expect "to-text --space" 0 \
    "$(printf ' "ab"    ,    5, 6, -7,\r\n "abcdef", 1234, 0,  8,' >w.txt; hex_of w.txt)" \
    "$cli" to-text rec.str rec.bin --space
expect "to-text --space --line-feed" 0 \
    "$(printf ' "ab",\r\n    5, 6,\r\n -7,\r\n\r\n "abcdef",\r\n 1234, 0,\r\n  8,\r\n' >w.txt; hex_of w.txt)" \
    "$cli" to-text rec.str rec.bin --space --line-feed
expect "to-text --line-feed" 0 \
    "$(printf ' "ab",\r\n 5, 6,\r\n -7,\r\n\r\n "abcdef",\r\n 1234, 0,\r\n 8,\r\n' >w.txt; hex_of w.txt)" \
    "$cli" to-text rec.str rec.bin --line-feed
expect "to-text --lf writes LF line ends" 0 \
    "$(printf ' "ab", 5, 6, -7,\n "abcdef", 1234, 0, 8,' >w.txt; hex_of w.txt)" \
    "$cli" to-text rec.str rec.bin --lf

# Dumps.
printf '\x0a\xff\x10' >three.bin
expect "dump hex" 0 "$(printf '0A FF 10 ' >w.txt; hex_of w.txt)" "$cli" dump three.bin
expect "dump pairs" 0 "$(printf '0AFF 10' >w.txt; hex_of w.txt)" "$cli" dump three.bin --mode pairs
expect "dump decimal" 0 "$(printf ' 10 255  16 ' >w.txt; hex_of w.txt)" \
    "$cli" dump three.bin --mode=decimal
printf '0 AFF1 0' >pairs.txt
expect "undump reads pairs split anywhere" 0 "0a ff 10" "$cli" undump pairs.txt
printf '300 7 ' >dec.txt
expect "undump decimal takes values modulo 256" 0 "2c 07" "$cli" undump dec.txt --mode decimal
printf 'A\r\nB\t\x00' >view.bin
expect "charview shows CR LF, tab and zero as spaces" 0 "41 20 20 42 20 20" "$cli" charview view.bin
expect "dump of nothing is empty" 0 "" "$cli" dump nothing.bin
head -c 1000 /dev/urandom >random.bin
for mode in hex pairs decimal; do
    "$cli" dump random.bin --mode $mode -o random.dump
    expect "dump and undump $mode give the same bytes" 0 "$(hex_of random.bin)" \
        "$cli" undump random.dump --mode $mode
done

# Members.
printf 'unsigned char b[4]; f_char name[20]; long double v; bit:16 f;' >members.str
expect "members lists the table" 0 "$(printf '0 Unsigned 1 4\n1 Unsigned 1 0\n2 Unsigned 1 0\n3 Unsigned 1 0\n4 Text 20 20\n5 Float 10 0\n6 Bits 2 0\n' >w.txt; hex_of w.txt)" \
    "$cli" members members.str

# Problems: the program's own messages, exit 1.
expect_error "empty structure text" 1 "data structure has problem." \
    "$cli" to-binary nothing.bin ab.txt
expect_error "a zero count" 1 "data structure has problem." "$cli" members zero.str
expect_error "a structure without members" 1 "text format data has problem." \
    "$cli" to-binary empty.str ab.txt
printf ' , ,\r\n' >novalue.txt
expect_error "a text without values" 1 "text format data has problem." \
    "$cli" to-binary ab.str novalue.txt
expect_error "an empty binary file" 1 "binary format data has problem." \
    "$cli" to-text ab.str nothing.bin
expect_error "to-text without members warns" 1 \
    "the problem occurred by the computation process but displays data there." \
    "$cli" to-text empty.str three.bin
printf '0G' >bad.txt
expect_error "undump of a non-digit" 1 "binary format data has problem." "$cli" undump bad.txt

# Documents of several megabytes (their buffers are mapped apart, with huge pages where the
# system has them): every conversion and dump mode goes there and back unchanged.
head -c 3000000 /dev/urandom >big.bin
printf 'u_char a[4]; short b; long c; bit:8 d;' >big.str
"$cli" to-text big.str big.bin -o big.txt &&
    "$cli" to-binary big.str big.txt -o big-back.bin &&
    "$cli" to-text big.str big.bin --lf -o big-lf.txt &&
    "$cli" to-binary big.str big-lf.txt --lf -o big-lf-back.bin
if cmp -s big.bin big-back.bin && cmp -s big.bin big-lf-back.bin; then pass; else
    fail "a 3 MB binary through to-text and back (CR LF and --lf)"
fi
for mode in hex pairs decimal; do
    "$cli" dump big.bin --mode $mode -o big.$mode && "$cli" undump big.$mode --mode $mode -o big.$mode.bin
    if cmp -s big.bin big.$mode.bin; then pass; else fail "a 3 MB binary through the $mode dump and back"; fi
done
"$cli" charview big.bin -o big.view
if [ "$(stat -c %s big.view)" -gt 3000000 ]; then pass; else fail "the character view of a 3 MB binary"; fi

# Usage and file errors, exit 2.
expect_error "no command" 2 "usage: layoutpress-cli COMMAND [ARGUMENTS]" "$cli"
expect_error "a missing file is named" 2 \
    "layoutpress-cli: cannot read 'missing.str': No such file or directory" \
    "$cli" members missing.str
expect_error "an unknown mode" 2 \
    "layoutpress-cli: dump: unknown mode 'octal' (use hex, pairs or decimal)" \
    "$cli" dump three.bin --mode octal
expect_error "an unknown option" 2 "layoutpress-cli: to-binary: unknown option '--space'" \
    "$cli" to-binary ab.str ab.txt --space
expect_error "an output that cannot be written" 2 \
    "layoutpress-cli: cannot write 'no/such/dir/out.bin'" \
    "$cli" to-binary ab.str ab.txt -o no/such/dir/out.bin
printf 'old' >kept.bin
"$cli" to-binary ab.str novalue.txt -o kept.bin 2>/dev/null
expect "a failed conversion leaves the output file alone" 0 "6f 6c 64" cat kept.bin
for command in members to-binary to-text dump undump charview; do
    expect_error "$command --help" 0 "usage: layoutpress-cli $command" \
        sh -c "\"$cli\" $command --help | head -n 1 >&2"
done

finish_checks
