#!/usr/bin/env bash
# The release files of make dist as their users meet them:
# - reproducible: dist.sh run again from the same programs gives the same bytes, and no program
#   carries a link date, a dated resource tree or a debug directory;
# - the zips: the files a Windows user needs, README.txt and the licences with CR LF line ends,
#   the 32-bit programs PE32 i386 importing only system DLLs, subsystems and version resources;
# - the Debian package: lintian without errors, its tools run from an unpacked copy;
# - the 64-bit zip unpacked into a fresh folder whose name has spaces and run there under Wine
#   (tools/release/release_wine_test.cpp), its command-line converter giving the same bytes as
#   the package's.
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
pass() { echo "release_test: ok: $*"; }

# ---- Reproducible ----------------------------------------------------------------------
"$here/dist.sh" "$work/again" "$builds/win32" "$builds/win64" "$builds/deb" >/dev/null
for file in "$zip32" "$zip64" "$deb"; do
    if cmp -s "$file" "$work/again/$(basename "$file")"; then
        pass "$(basename "$file") made again is the same, byte for byte"
    else
        fail "$(basename "$file") differs when made again"
    fi
done

# ---- The zips --------------------------------------------------------------------------
required="layoutpress.exe tallydrill.exe layoutpress-cli.exe tallydrill-cli.exe data/bp.bmp
pack/q01-riichi-pinfu-ron.tt examples/parts.str examples/parts.txt README.txt LICENSE.txt
THIRD-PARTY-NOTICES.txt"

# fact FACTS KEY: the value of KEY in pe_facts.py output.
fact() { sed -n "s/^$2=//p" <<<"$1"; }

# check_program FILE MACHINE FORMAT SUBSYSTEM VERSION PRODUCT
check_program() {
    local file=$1 facts name
    name=$arch/$(basename "$file")
    facts=$(python3 "$here/pe_facts.py" "$file")
    local expected
    expected="machine=$2 format=$3 subsystem=$4 link_date=0 debug_directory=none
file_version=$5.0.0 product_version=$5.0.0 string.ProductVersion=$5 string.FileVersion=$5
string.ProductName=$6 string.OriginalFilename=$(basename "$file") icon_groups=1
manifest.execution_level=asInvoker manifest.common_controls_6=no"
    local pair
    for pair in $expected; do
        if [ "$(fact "$facts" "${pair%%=*}")" != "${pair#*=}" ]; then
            fail "$name: ${pair%%=*} is '$(fact "$facts" "${pair%%=*}")', not '${pair#*=}'"
            return
        fi
    done
    case $(fact "$facts" resource_dates) in
    0) ;;
    *) fail "$name: dated resource tree ($(fact "$facts" resource_dates))"; return ;;
    esac
    if grep -q '^string.CompanyName=' <<<"$facts"; then
        fail "$name: names a company"
        return
    fi
    pass "$name: $2 $3 $4, version $5 of $6, no dates"
}

for zip in "$zip32" "$zip64"; do
    arch=${zip##*-}
    arch=${arch%.zip}
    folder=$work/unpacked/$arch/x
    mkdir -p "$folder"
    unzip -q "$zip" -d "$folder"
    for name in $required; do
        [ -f "$folder/$name" ] || fail "$arch zip: $name is missing"
    done
    for name in README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt; do
        lines=$(wc -l <"$folder/$name")
        crlf=$(grep -c $'\r$' "$folder/$name" || true)
        if [ "$lines" -eq 0 ] || [ "$lines" -ne "$crlf" ]; then
            fail "$arch zip: $name has $((lines - crlf)) of $lines lines without CR LF"
        fi
    done
    for word in sys.sys F5 Ctrl+S 'F1 F2 F3 F4' 'pack' 'usage: layoutpress-cli' \
        'usage: tallydrill-cli' 'to-binary STRUCT TEXT'; do
        grep -qF -- "$word" "$folder/README.txt" || fail "$arch zip: README.txt never says '$word'"
    done
    if [ "$arch" = win32 ]; then
        machine=i386 format=PE32
    else
        machine=amd64 format=PE32+
    fi
    check_program "$folder/layoutpress.exe" $machine $format gui 1.75 layoutpress
    check_program "$folder/layoutpress-cli.exe" $machine $format console 1.75 layoutpress
    check_program "$folder/tallydrill.exe" $machine $format gui 2.5 tallydrill
    check_program "$folder/tallydrill-cli.exe" $machine $format console 2.5 tallydrill
    "$root/tools/check-imports.sh" "$folder"/*.exe >/dev/null || fail "$arch zip: imports"
done
pass "both zips hold the programs, data, pack, README.txt and the licences"

# ---- The Debian package ----------------------------------------------------------------
if lintian --fail-on error "$deb" >"$work/lintian.txt" 2>&1; then
    pass "lintian: no errors ($(grep -c '^[WI]:' "$work/lintian.txt" || true) warnings and notes)"
else
    fail "lintian: $(grep '^E:' "$work/lintian.txt" | head -5)"
fi
dpkg-deb -x "$deb" "$work/deb"
examples=$work/deb/usr/share/doc/layoutpress-tallydrill-cli/examples
"$work/deb/usr/bin/layoutpress-cli" to-binary "$examples/parts.str" "$examples/parts.txt" \
    -o "$work/parts-linux.bin"
"$work/deb/usr/bin/layoutpress-cli" to-text "$examples/parts.str" "$work/parts-linux.bin" \
    -o "$work/parts-linux.txt"
if "$work/deb/usr/bin/tallydrill-cli" check "$examples"/pack/*.tt >/dev/null 2>&1; then
    pass "the package's tools convert the example ($(wc -c <"$work/parts-linux.bin") bytes) and pass the pack"
else
    fail "the package's tallydrill-cli finds problems in its pack"
fi
for page in layoutpress-cli tallydrill-cli; do
    [ -f "$work/deb/usr/share/man/man1/$page.1.gz" ] || fail "the package has no man page $page.1"
done

# ---- Under Wine, from a folder whose name has spaces -----------------------------------
folder="$work/Programs of Mine/layoutpress tallydrill"
mkdir -p "$folder"
unzip -q "$zip64" -d "$folder"
windows_folder="Z:${folder//\//\\}"
WINE_SESSION_HOLDER=$$ "$root/tools/wine/session.sh" start "$builds/win64" \
    "$builds/win64/tools/wine/wine_keepalive.exe" </dev/null >/dev/null
session_up=1
wine_run() { WINE_SESSION_HOLDER=$$ "$root/tools/wine/wine-exec.sh" --build "$builds/win64" "$@"; }

if wine_run "$builds/win64/tools/release/release_wine_test.exe" "$windows_folder" \
    </dev/null >"$work/wine-test.txt" 2>&1; then
    pass "under Wine: $(grep -c '^\[       OK \]' "$work/wine-test.txt") cases of release_wine_test"
else
    cat "$work/wine-test.txt" >&2
    fail "under Wine: release_wine_test"
fi
# As README.txt shows them: the wildcard is the program's to expand, as on Windows.
(
    cd "$folder"
    wine_run layoutpress-cli.exe to-binary 'examples\parts.str' 'examples\parts.txt' \
        -o 'parts windows.bin' </dev/null
    wine_run tallydrill-cli.exe check 'pack\*.tt' </dev/null >"$work/check.txt" 2>&1
) || fail "under Wine: the command-line tools of the zip"
pack_count=$(find "$folder/pack" -name '*.tt' | wc -l)
grep -q "^tallydrill-cli: $pack_count files checked, 0 problems" "$work/check.txt" ||
    fail "under Wine: tallydrill-cli.exe check 'pack\*.tt': $(cat "$work/check.txt")"
if cmp -s "$folder/parts windows.bin" "$work/parts-linux.bin"; then
    pass "under Wine: layoutpress-cli.exe converts the example to the package tool's bytes"
else
    fail "under Wine: layoutpress-cli.exe and the package's layoutpress-cli disagree on the example"
fi

if [ "$failures" -ne 0 ]; then
    echo "release_test: $failures failures" >&2
    exit 1
fi
echo "release_test: all release checks passed"
