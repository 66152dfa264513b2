#!/usr/bin/env bash
# Side by side: layoutpress-cli against the tools a user would otherwise pick, on the same data,
# each run several times (medians). Checks that every tool produced the same bytes.
# Usage: tools/compare/compare.sh BUILD_DIR   (BUILD_DIR holds layoutpress-cli and charconv_peer)
set -euo pipefail

build=$(cd "${1:?usage: compare.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
cli=$build/layoutpress/cli/layoutpress-cli
charconv=$build/bench/charconv_peer
fast_runs=${FAST_RUNS:-9} # the compiled tools and cat
slow_runs=${SLOW_RUNS:-3} # python and perl
work=$build/compare
rm -rf "$work"
mkdir -p "$work/out"
cd "$work"

python3 "$here/gen_data.py" .
for set in integers texts; do
    "$cli" to-text $set.str $set.bin -o $set.txt
done
for mode in hex pairs decimal; do
    "$cli" dump integers.bin --mode $mode -o integers.$mode
done
xxd integers.bin >integers.xxd
xxd -p integers.bin >integers.xxdp

size() { stat -c %s "$1"; }
failures=0
check() { # check WHAT FILE EXPECTED
    if ! cmp -s "$2" "$3"; then
        echo "MISMATCH: $1 ($2 differs from $3)" >&2
        failures=$((failures + 1))
    fi
}

# The processor time (user and system) of the shell's finished children so far, in
# microseconds, into cpu_now; `times` runs in this shell (in a subshell it would see none).
milliseconds() { # 1m2.345s
    local minutes=${1%%m*} seconds=${1#*m}
    seconds=${seconds%s}
    echo $((minutes * 60000 + 10#${seconds/./}))
}
children_cpu() {
    local user system
    times >"$work/times.txt"
    { read -r _ _ && read -r user system; } <"$work/times.txt"
    cpu_now=$((($(milliseconds "$user") + $(milliseconds "$system")) * 1000))
}

# time_once COMMAND...: one run's wall time in microseconds, a space, and the processor time of
# the command and its children, into timed.
time_once() {
    local start end cpu_start
    children_cpu
    cpu_start=$cpu_now
    start=${EPOCHREALTIME/./}
    "$@" >/dev/null
    end=${EPOCHREALTIME/./}
    children_cpu
    timed="$((end - start)) $((cpu_now - cpu_start))"
}
median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }

# time_runs RUNS COMMAND...: the median wall time in microseconds of RUNS runs, and after a
# space the median processor time of the command and its children.
time_runs() {
    local runs=$1 i
    shift
    local times=() cpus=()
    for ((i = 0; i < runs; i++)); do
        time_once "$@"
        times+=("${timed% *}")
        cpus+=("${timed#* }")
    done
    echo "$(median "${times[@]}") $(median "${cpus[@]}")"
}

# cat writing a file over an existing one, started as the measured commands are (no shell
# in between).
cat_over() { cat "$1" >"$2"; }

rows=() # "group|tool|µs|bytes|floor µs|processor µs|× floor|cpu × floor"
measure() { # measure GROUP TOOL MEGABYTES_FILE RUNS COMMAND...
    local group=$1 tool=$2 bytes runs=$4
    bytes=$(size "$3")
    shift 4
    local us
    us=$(time_runs "$runs" "$@")
    rows+=("$group|$tool|${us% *}|$bytes||${us#* }||")
}
# The floor of a command that writes OUTPUT: cat writing a file of the same bytes (to a file
# that exists already, as the measured commands do), run by run in turn with the command, so
# that both meet the same moments of a busy machine; the ratios are the medians of each pair's.
measure_floored() { # measure_floored GROUP TOOL MEGABYTES_FILE OUTPUT COMMAND...
    local group=$1 tool=$2 bytes output=$4 i
    bytes=$(size "$3")
    shift 4
    "$@" >/dev/null # once first, for the output to copy and so that it exists when timed
    cp "$output" out/floor.in
    cat_over out/floor.in out/floor.out
    local times=() cpus=() floors=() ratios=() cpu_sum=0 floor_cpu_sum=0
    for ((i = 0; i < fast_runs; i++)); do
        time_once "$@"
        times+=("${timed% *}")
        cpus+=("${timed#* }")
        cpu_sum=$((cpu_sum + ${timed#* }))
        time_once cat_over out/floor.in out/floor.out
        floors+=("${timed% *}")
        floor_cpu_sum=$((floor_cpu_sum + ${timed#* }))
        ratios+=("$(awk -v a="${times[i]}" -v b="${floors[i]}" 'BEGIN { printf "%.4f", a / b }')")
    done
    # Processor time is counted in whole clock ticks, too coarse for one run: all runs' sums.
    local cpu_ratio
    cpu_ratio=$(awk -v s=$cpu_sum -v f=$floor_cpu_sum 'BEGIN { printf "%.4f", (f > 0 ? s / f : 0) }')
    rows+=("$group|$tool|$(median "${times[@]}")|$bytes|$(median "${floors[@]}")|$(median \
        "${cpus[@]}")|$(median "${ratios[@]}")|$cpu_ratio")
}

# Conversions; MB/s counts the text form's bytes.
for set in integers texts; do
    g="$set text to binary"
    measure_floored "$g" "layoutpress-cli to-binary" $set.txt out/$set.lp.bin \
        "$cli" to-binary $set.str $set.txt -o out/$set.lp.bin
    if [ $set = integers ]; then
        measure "$g" "C++ <charconv> loop" $set.txt $fast_runs \
            "$charconv" to-binary $set.txt out/$set.cc.bin
    fi
    measure "$g" "python3 struct" $set.txt $slow_runs \
        python3 "$here/struct_peer.py" $set to-binary $set.txt out/$set.py.bin
    measure "$g" "perl pack" $set.txt $slow_runs \
        perl "$here/pack_peer.pl" $set to-binary $set.txt out/$set.pl.bin
    measure "$g" "cat (floor)" $set.txt $fast_runs sh -c "cat $set.txt >out/$set.cat"
    for tool in lp cc py pl; do
        [ -f out/$set.$tool.bin ] && check "$g, $tool" out/$set.$tool.bin $set.bin
    done

    g="$set binary to text"
    measure_floored "$g" "layoutpress-cli to-text" $set.txt out/$set.lp.txt \
        "$cli" to-text $set.str $set.bin -o out/$set.lp.txt
    measure_floored "$g" "layoutpress-cli to-text --space" $set.txt out/$set.lps.txt \
        "$cli" to-text $set.str $set.bin --space -o out/$set.lps.txt
    measure_floored "$g" "layoutpress-cli to-text --line-feed" $set.txt out/$set.lpl.txt \
        "$cli" to-text $set.str $set.bin --line-feed -o out/$set.lpl.txt
    measure_floored "$g" "layoutpress-cli to-text --space --line-feed" $set.txt out/$set.lpsl.txt \
        "$cli" to-text $set.str $set.bin --space --line-feed -o out/$set.lpsl.txt
    if [ $set = integers ]; then
        measure "$g" "C++ <charconv> loop" $set.txt $fast_runs \
            "$charconv" to-text $set.bin out/$set.cc.txt
    fi
    measure "$g" "python3 struct" $set.txt $slow_runs \
        python3 "$here/struct_peer.py" $set to-text $set.bin out/$set.py.txt
    measure "$g" "perl unpack" $set.txt $slow_runs \
        perl "$here/pack_peer.pl" $set to-text $set.bin out/$set.pl.txt
    measure "$g" "cat (floor)" $set.bin $fast_runs sh -c "cat $set.bin >out/$set.cat"
    for tool in lp cc py pl; do
        [ -f out/$set.$tool.txt ] && check "$g, $tool" out/$set.$tool.txt $set.txt
    done
    # The organized texts have no peer; they must read back to the same bytes.
    for tool in lps lpl lpsl; do
        "$cli" to-binary $set.str out/$set.$tool.txt -o out/$set.$tool.bin
        check "$g, $tool read back" out/$set.$tool.bin $set.bin
    done
done

# Dumps of the integer records' binary; MB/s counts the binary bytes.
g="dump rendering"
for mode in hex pairs decimal; do
    measure_floored "$g" "layoutpress-cli dump --mode $mode" integers.bin out/dump.$mode \
        "$cli" dump integers.bin --mode $mode -o out/dump.$mode
    check "$g, $mode" out/dump.$mode integers.$mode
done
measure "$g" "xxd" integers.bin $fast_runs sh -c "xxd integers.bin >out/dump.xxd"
measure "$g" "xxd -p" integers.bin $fast_runs sh -c "xxd -p integers.bin >out/dump.xxdp"
measure "$g" "od -An -v -tu1" integers.bin $fast_runs \
    sh -c "od -An -v -tu1 integers.bin >out/dump.od"
measure "$g" "cat (floor)" integers.bin $fast_runs sh -c "cat integers.bin >out/dump.cat"
check "$g, xxd" out/dump.xxd integers.xxd
# The same digits in other layouts: hex digits without white space, upper case; decimal
# numbers one per line.
hex_digits() { tr -d ' \r\n' <"$1" | tr a-f A-F; }
check "$g, hex digits = xxd -p" <(hex_digits out/dump.hex) <(hex_digits out/dump.xxdp)
check "$g, pairs digits = xxd -p" <(hex_digits out/dump.pairs) <(hex_digits out/dump.xxdp)
check "$g, decimal numbers = od" <(tr -s ' \r\n' '\n\n\n' <out/dump.decimal | sed '/^$/d') \
    <(tr -s ' \n' '\n\n' <out/dump.od | sed '/^$/d')

g="dump reading"
for mode in hex pairs decimal; do
    measure_floored "$g" "layoutpress-cli undump --mode $mode" integers.bin out/undump.$mode \
        "$cli" undump integers.$mode --mode $mode -o out/undump.$mode
    check "$g, $mode" out/undump.$mode integers.bin
done
measure "$g" "xxd -r" integers.bin $fast_runs sh -c "xxd -r integers.xxd >out/undump.xxd"
measure "$g" "xxd -r -p" integers.bin $fast_runs sh -c "xxd -r -p integers.xxdp >out/undump.xxdp"
measure "$g" "xxd -r -p (of the hex dump)" integers.bin $fast_runs \
    sh -c "xxd -r -p integers.hex >out/undump.xxdhex"
measure "$g" "cat (floor)" integers.hex $fast_runs sh -c "cat integers.hex >out/undump.cat"
for tool in xxd xxdp xxdhex; do
    check "$g, $tool" out/undump.$tool integers.bin
done

# The table: per group, each tool's median and MB/s, and how many times faster the group's
# first layoutpress row is than that tool.
echo
echo "Machine: $(nproc) x $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(uname -sr); $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "Data: integers = 150000 records 'long a; short b; u_char c; bit:8 f;'" \
    "($(size integers.bin) B binary, $(size integers.txt) B text);" \
    "texts = 57142 records 'f_char name[24]; long n;' ($(size texts.bin) B, $(size texts.txt) B)."
echo "Medians of $fast_runs runs ($slow_runs for python3 and perl); MB = 10^6 bytes of the text" \
    "(conversions) or of the binary (dumps). Floor: cat writing the command's own output (the same" \
    "bytes, over an existing file), run by run in turn with the command; × floor = the median of" \
    "each pair's time ratio; cpu = median processor time (user and system) of the command," \
    "cpu×floor = the processor time of all its runs over that of cat's."
echo "Load: $(cut -d' ' -f1-3 /proc/loadavg) (1, 5 and 15 minute load averages on $(nproc) processors)."
echo
printf '| %-36s | %-44s | %9s | %8s | %16s | %8s | %7s | %6s | %9s |\n' "job" "tool" "median ms" \
    "MB/s" "layoutpress is ×" "floor ms" "× floor" "cpu ms" "cpu×floor"
printf '|%s|%s|%s|%s|%s|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..38})" \
    "$(printf -- '-%.0s' {1..46})" "-----------" "----------" "------------------" "----------" \
    "---------" "--------" "-----------"
declare -A first
ms_of() { awk -v u="$1" 'BEGIN { printf "%.1f", u / 1000 }'; }
for row in "${rows[@]}"; do
    IFS='|' read -r group tool us bytes floor cpu floor_ratio cpu_ratio <<<"$row"
    if [ -z "${first[$group]+x}" ]; then
        first[$group]=$us
    fi
    floor_ms=""
    if [ -n "$floor" ]; then
        floor_ms=$(ms_of "$floor")
        floor_ratio=$(awk -v r="$floor_ratio" 'BEGIN { printf "%.2f", r }')
        cpu_ratio=$(awk -v r="$cpu_ratio" 'BEGIN { printf "%.2f", r }')
    fi
    printf '| %-36s | %-44s | %9s | %8s | %16s | %8s | %7s | %6s | %9s |\n' "$group" "$tool" \
        "$(ms_of "$us")" "$(awk -v u="$us" -v b="$bytes" 'BEGIN { printf "%.0f", b / u }')" \
        "$(awk -v a="$us" -v b="${first[$group]}" 'BEGIN { printf "%.1f", a / b }')" \
        "$floor_ms" "$floor_ratio" "$(ms_of "$cpu")" "$cpu_ratio"
done
echo
if [ $failures -ne 0 ]; then
    echo "compare: $failures output(s) differ" >&2
    exit 1
fi
echo "compare: every tool produced the same bytes (see tools/compare/README.md for what is compared)"
