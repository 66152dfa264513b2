#!/usr/bin/env bash
# The release files of make dist as their users meet them:
# - reproducible: dist.sh run again from the same programs gives the same bytes;
# - the zips: the files a Windows user needs, README.txt and the licences with CR LF line ends,
#   every program PE32 i386 or PE32+ amd64 with its subsystem, version resource and manifest,
#   no dates and no debug directory, importing only system DLLs;
# - the Debian package: lintian without errors, its tools run from an unpacked copy;
# - the 64-bit zip unpacked into a fresh folder whose name has spaces and run there under Wine:
#   the program tests of both programs on its programs, and its command-line tools giving the
#   package's bytes and passing its pack.
#
# Usage: tools/release/release_test.sh DIST BUILD_ROOT   (make test: dist build)
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: release_test.sh DIST BUILD_ROOT" >&2
    exit 2
fi
root=$(cd "$(dirname "$0")/../.." && pwd)
here=$root/tools/release
dist=$(cd "$1" && pwd)
builds=$(cd "$2" && pwd)
release=$(tr -d ' \n' <"$here/VERSION")
zip32=$dist/layoutpress-tallydrill-$release-win32.zip
zip64=$dist/layoutpress-tallydrill-$release-win64.zip
deb=$(ls "$dist"/layoutpress-tallydrill-cli_"$release"_*.deb)

work=$(mktemp -d)
session_up=0
cleanup() {
    if [ "$session_up" -eq 1 ]; then
        WINE_SESSION_HOLDER=$$ "$root/tools/wine/session.sh" stop "$builds/win64" || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
    echo "release_test: FAIL: $*" >&2
    failures=$((failures + 1))
}
# Says ok for a section when it added no failure since the last ok.
passed_failures=0
pass() {
    [ "$failures" -ne "$passed_failures" ] || echo "release_test: ok: $*"
    passed_failures=$failures
}

# ---- Reproducible ----------------------------------------------------------------------
"$here/dist.sh" "$work/again" "$builds/win32" "$builds/win64" "$builds/deb" >/dev/null
for file in "$zip32" "$zip64" "$deb"; do
    cmp -s "$file" "$work/again/$(basename "$file")" || fail "$(basename "$file") differs when made again"
done
pass "the zips and the package made again are the same, byte for byte"

# ---- The zips --------------------------------------------------------------------------
# check_program FILE MACHINE FORMAT SUBSYSTEM VERSION PRODUCT: what pe_facts.py must say.
check_program() {
    local facts pair
    facts=$(python3 "$here/pe_facts.py" "$1")
    for pair in "machine=$2" "format=$3" "subsystem=$4" link_date=0 resource_dates=0 \
        debug_directory=none "file_version=$5.0.0" "product_version=$5.0.0" \
        "string.ProductVersion=$5" "string.FileVersion=$5" "string.ProductName=$6" \
        "string.OriginalFilename=$(basename "$1")" icon_groups=1 \
        manifest.execution_level=asInvoker manifest.common_controls_6=no; do
        grep -qxF "$pair" <<<"$facts" || fail "$arch/$(basename "$1"): not $pair"
    done
    ! grep -q '^string.CompanyName=' <<<"$facts" || fail "$arch/$(basename "$1"): names a company"
}

for zip in "$zip32" "$zip64"; do
    arch=${zip##*-}
    arch=${arch%.zip}
    folder=$work/unpacked/$arch
    mkdir -p "$folder"
    unzip -q "$zip" -d "$folder"
    for name in layoutpress.exe tallydrill.exe layoutpress-cli.exe tallydrill-cli.exe data/bp.bmp \
        pack/q01-riichi-pinfu-ron.tt examples/parts.str examples/parts.txt; do
        [ -f "$folder/$name" ] || fail "$arch zip: $name is missing"
    done
    for name in README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt; do
        [ -s "$folder/$name" ] && ! grep -q $'[^\r]$\|^$' "$folder/$name" ||
            fail "$arch zip: $name is empty or has lines without CR LF"
    done
    format=PE32 machine=i386
    [ "$arch" = win32 ] || format=PE32+ machine=amd64
    check_program "$folder/layoutpress.exe" $machine $format gui 1.75 layoutpress
    check_program "$folder/layoutpress-cli.exe" $machine $format console 1.75 layoutpress
    check_program "$folder/tallydrill.exe" $machine $format gui 2.5 tallydrill
    check_program "$folder/tallydrill-cli.exe" $machine $format console 2.5 tallydrill
    "$root/tools/check-imports.sh" "$folder"/*.exe >/dev/null || fail "$arch zip: imports"
done
pass "both zips: the programs (PE facts, imports), data, pack, README.txt and the licences"

# ---- The Debian package ----------------------------------------------------------------
lintian --fail-on error "$deb" >"$work/lintian.txt" 2>&1 || fail "lintian: $(grep '^E:' "$work/lintian.txt" | head -5)"
dpkg-deb -x "$deb" "$work/deb"
examples=$work/deb/usr/share/doc/layoutpress-tallydrill-cli/examples
"$work/deb/usr/bin/layoutpress-cli" to-binary "$examples/parts.str" "$examples/parts.txt" \
    -o "$work/parts-linux.bin" || fail "the package's layoutpress-cli"
"$work/deb/usr/bin/tallydrill-cli" check "$examples"/pack/*.tt >/dev/null 2>&1 ||
    fail "the package's tallydrill-cli finds problems in its pack"
ls "$work"/deb/usr/share/man/man1/{layoutpress,tallydrill}-cli.1.gz >/dev/null 2>&1 || fail "the package lacks a man page"
pass "the package: lintian, its tools on the example and the pack, the man pages"

# ---- Under Wine, from a folder whose name has spaces -----------------------------------
folder="$work/Programs of Mine/layoutpress tallydrill"
mkdir -p "$folder"
unzip -q "$zip64" -d "$folder"
WINE_SESSION_HOLDER=$$ "$root/tools/wine/session.sh" start "$builds/win64" \
    "$builds/win64/tools/wine/wine_keepalive.exe" </dev/null >/dev/null
session_up=1
wine_run() { (cd "$folder" && WINE_SESSION_HOLDER=$$ "$root/tools/wine/wine-exec.sh" --build "$builds/win64" "$@" </dev/null); }

# As README.txt shows them: the wildcard is the program's to expand, as on Windows.
wine_run layoutpress-cli.exe to-binary 'examples\parts.str' 'examples\parts.txt' -o 'parts windows.bin' ||
    fail "under Wine: layoutpress-cli.exe"
wine_run tallydrill-cli.exe check 'pack\*.tt' >"$work/check.txt" 2>&1 || true
grep -q "^tallydrill-cli: $(find "$folder/pack" -name '*.tt' | wc -l) files checked, 0 problems" "$work/check.txt" ||
    fail "under Wine: tallydrill-cli.exe check 'pack\*.tt': $(cat "$work/check.txt")"
cmp -s "$folder/parts windows.bin" "$work/parts-linux.bin" ||
    fail "under Wine: layoutpress-cli.exe and the package's layoutpress-cli disagree on the example"
pass "under Wine: the command-line tools of the zip"

# The program tests on the zip's programs (after the pack check: they add a question to pack\).
export LAYOUTPRESS_EXE=$folder/layoutpress.exe TALLYDRILL_EXE=$folder/tallydrill.exe
for program in layoutpress/shell/layoutpress_program_test tallydrill/practice/tallydrill_program_wine_test; do
    wine_run "$builds/win64/$program.exe" >"$work/wine-test.txt" 2>&1 ||
        { cat "$work/wine-test.txt" >&2; fail "under Wine: $(basename "$program") on the zip's program"; }
    pass "under Wine: $(basename "$program") on the zip's program"
done

if [ "$failures" -ne 0 ]; then
    echo "release_test: $failures failures" >&2
    exit 1
fi
echo "release_test: all release checks passed"
