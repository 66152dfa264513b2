#!/usr/bin/env bash
# Makes the release files from programs already built (make dist builds them first):
#   OUT/layoutpress-tallydrill-RELEASE-win32.zip   the 32-bit Windows programs (the deliverables)
#   OUT/layoutpress-tallydrill-RELEASE-win64.zip   the same programs for 64-bit Windows
#   OUT/layoutpress-tallydrill-cli_RELEASE_ARCH.deb  the native command-line tools
#
# Usage: tools/release/dist.sh OUT WIN32_BUILD WIN64_BUILD DEB_BUILD
#
# Every date in the files is SOURCE_DATE_EPOCH, by default the date of the checked-out commit,
# and every list is sorted, so the same commit gives the same bytes. When the native
# tallydrill-cli can generate questions, each zip gets a generated bank of them too.
set -euo pipefail

if [ $# -ne 4 ]; then
    echo "usage: dist.sh OUT WIN32_BUILD WIN64_BUILD DEB_BUILD" >&2
    exit 2
fi
root=$(cd "$(dirname "$0")/../.." && pwd)
here=$root/tools/release
out=$1
win32=$2
win64=$3
deb_build=$4

release=$(tr -d ' \n' <"$here/VERSION")
layoutpress_version=$(sed -n 's/^set(layoutpress_version \(.*\))$/\1/p' "$root/cmake/windows/windows_program.cmake")
tallydrill_version=$(sed -n 's/^set(tallydrill_version \(.*\))$/\1/p' "$root/cmake/windows/windows_program.cmake")
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null) || {
        echo "dist.sh: not a git checkout: set SOURCE_DATE_EPOCH to the release's date" >&2
        exit 1
    }
fi
export SOURCE_DATE_EPOCH
export LC_ALL=C
umask 022

native_layoutpress=$deb_build/layoutpress/cli/layoutpress-cli
native_tallydrill=$deb_build/tallydrill/cli/tallydrill-cli
for file in "$native_layoutpress" "$native_tallydrill" "$deb_build/pack/q01-riichi-pinfu-ron.tt"; do
    [ -f "$file" ] || { echo "dist.sh: $file is missing: build the deb preset first" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The generated question bank: only when this tallydrill-cli has the generate command.
bank_count=120
bank_seed=15
has_bank=0
if "$native_tallydrill" --help | grep -Eq '^ +generate( |$)'; then
    mkdir "$work/bank"
    "$native_tallydrill" generate --count "$bank_count" --seed "$bank_seed" --level all \
        --out "$work/bank" >/dev/null
    made=$(find "$work/bank" -name '*.tt' | wc -l)
    if [ "$made" -ne "$bank_count" ]; then
        echo "dist.sh: tallydrill-cli generate made $made questions, not $bank_count" >&2
        exit 1
    fi
    "$native_tallydrill" check "$work/bank"/*.tt >/dev/null 2>&1 ||
        { echo "dist.sh: the generated questions do not pass tallydrill-cli check" >&2; exit 1; }
    has_bank=1
fi
pack_count=$(find "$deb_build/pack/" -maxdepth 1 -name '*.tt' | wc -l)

"$native_layoutpress" --help >"$work/layoutpress-usage.txt"
"$native_tallydrill" --help >"$work/tallydrill-usage.txt"

# stage ARCH BUILD: the folder that becomes the zip of ARCH.
stage() {
    local arch=$1 build=$2 dir=$work/$1 bits note bank_line=""
    mkdir -p "$dir/data" "$dir/pack" "$dir/examples"
    cp "$build/layoutpress/shell/layoutpress.exe" "$build/tallydrill/practice/tallydrill.exe" \
        "$build/layoutpress/cli/layoutpress-cli.exe" "$build/tallydrill/cli/tallydrill-cli.exe" \
        "$dir/"
    cp "$root/tallydrill/data/bp.bmp" "$dir/data/"
    cp "$deb_build"/pack/*.tt "$dir/pack/"
    cp "$root/examples/parts.str" "$root/examples/parts.txt" \
        "$root/tallydrill/questions/question.str" "$root/tallydrill/pack/q01-riichi-pinfu-ron.txt" \
        "$dir/examples/"
    if [ "$has_bank" -eq 1 ]; then
        mkdir "$dir/bank"
        cp "$work"/bank/*.tt "$dir/bank/"
        bank_line="  bank\\                 $bank_count more questions made by tallydrill-cli generate
                        (every level, seed $bank_seed), opened like the pack
"
    fi
    if [ "$arch" = win32 ]; then
        bits=32
        note="They run on 64-bit Windows too; the win64 zip holds the same programs built for 64 bits."
    else
        bits=64
        note="They need 64-bit Windows; the win32 zip holds the same programs for every Windows."
    fi
    python3 "$here/release_files.py" fill "$here/README.txt.in" "$dir/README.txt" \
        "RELEASE=$release" "LAYOUTPRESS_VERSION=$layoutpress_version" \
        "TALLYDRILL_VERSION=$tallydrill_version" "ARCH_NAME=$arch" "ARCH_BITS=$bits" \
        "ARCH_NOTE=$note" "PACK_COUNT=$pack_count" "BANK_LINE=$bank_line" \
        "LAYOUTPRESS_CLI_USAGE=@$work/layoutpress-usage.txt" \
        "TALLYDRILL_CLI_USAGE=@$work/tallydrill-usage.txt"
    python3 "$here/release_files.py" crlf "$root/LICENSE" "$dir/LICENSE.txt"
    python3 "$here/release_files.py" crlf "$here/THIRD-PARTY-NOTICES.txt" \
        "$dir/THIRD-PARTY-NOTICES.txt"
    python3 "$here/release_files.py" zip "$work/layoutpress-tallydrill-$release-$arch.zip" "$dir"
}

stage win32 "$win32"
stage win64 "$win64"
"$here/make-deb.sh" "$work/deb" "$deb_build" "$release" "$layoutpress_version" \
    "$tallydrill_version"

mkdir -p "$out"
rm -f "$out"/layoutpress-tallydrill-*.zip "$out"/layoutpress-tallydrill-cli_*.deb
cp "$work"/layoutpress-tallydrill-*.zip "$work"/deb/*.deb "$out/"
if [ "$has_bank" -eq 1 ]; then
    bank_note="with a generated bank of $bank_count questions"
else
    bank_note="no generated bank (tallydrill-cli has no generate command)"
fi
echo "dist: release $release (layoutpress $layoutpress_version, tallydrill $tallydrill_version), $bank_note, dated $(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S UTC'):"
(cd "$out" && ls -l layoutpress-tallydrill-*)
