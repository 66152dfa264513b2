#!/usr/bin/env bash
# Builds the Debian package of the native command-line tools with dpkg's own tools
# (dpkg-shlibdeps, dpkg-gencontrol, dpkg-deb), dated SOURCE_DATE_EPOCH.
#
# Usage: tools/release/make-deb.sh OUT_DIR DEB_BUILD RELEASE LAYOUTPRESS_VERSION TALLYDRILL_VERSION
#   DEB_BUILD is the build of the deb preset (Release, Debian's build flags).
set -euo pipefail

if [ $# -ne 5 ]; then
    echo "usage: make-deb.sh OUT_DIR DEB_BUILD RELEASE LAYOUTPRESS_VERSION TALLYDRILL_VERSION" >&2
    exit 2
fi
root=$(cd "$(dirname "$0")/../.." && pwd)
here=$root/tools/release
out=$1
build=$(cd "$2" && pwd)
release=$3
layoutpress_version=$4
tallydrill_version=$5
: "${SOURCE_DATE_EPOCH:?SOURCE_DATE_EPOCH must be set}"
export SOURCE_DATE_EPOCH LC_ALL=C
umask 022

package=layoutpress-tallydrill-cli
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# The source package's description, as dpkg-gencontrol reads it.
mkdir debian
cp "$here/debian/control" debian/control
maintainer=$(sed -n 's/^Maintainer: //p' debian/control)
cat >debian/changelog <<CHANGES
layoutpress-tallydrill ($release) unstable; urgency=medium

  * Release $release: layoutpress-cli $layoutpress_version and tallydrill-cli $tallydrill_version.

 -- $maintainer  $(date -u -R -d "@$SOURCE_DATE_EPOCH")
CHANGES

tree=debian/$package
doc=$tree/usr/share/doc/$package
install -d "$tree/usr/bin" "$tree/usr/share/man/man1" "$doc/examples/pack"
for tool in layoutpress/cli/layoutpress-cli tallydrill/cli/tallydrill-cli; do
    install -m 0755 "$build/$tool" "$tree/usr/bin/"
    strip --strip-unneeded --remove-section=.comment --remove-section=.note \
        "$tree/usr/bin/$(basename "$tool")"
done
for page in layoutpress-cli tallydrill-cli; do
    gzip -9n <"$here/man/$page.1" >"$tree/usr/share/man/man1/$page.1.gz"
done
install -m 0644 "$here/debian/copyright" "$doc/copyright"
gzip -9n <debian/changelog >"$doc/changelog.gz"
install -m 0644 "$root/examples/parts.str" "$root/examples/parts.txt" \
    "$root/tallydrill/questions/question.str" "$root/tallydrill/pack/q01-riichi-pinfu-ron.txt" \
    "$doc/examples/"
install -m 0644 "$build"/pack/*.tt "$doc/examples/pack/"
chmod 0644 "$tree"/usr/share/man/man1/*.gz "$doc/changelog.gz"

install -d -m 0755 "$tree/DEBIAN" # where dpkg-shlibdeps recognises the package's folder
dpkg-shlibdeps -Tdebian/substvars "$tree"/usr/bin/*
(cd "$tree" && find usr -type f | sort | xargs md5sum >DEBIAN/md5sums)
chmod 0644 "$tree/DEBIAN/md5sums"
dpkg-gencontrol -p"$package" -P"$tree" -Tdebian/substvars
find "$tree" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
arch=$(dpkg-architecture -qDEB_HOST_ARCH)
dpkg-deb --root-owner-group -Zxz --build "$tree" "$out/${package}_${release}_$arch.deb" >/dev/null
