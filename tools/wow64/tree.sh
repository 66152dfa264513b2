#!/usr/bin/env bash
# The Debian 13 (trixie) tree in which the 32-bit Windows build is tested. Wine 10 runs 32-bit
# programs there in its new WoW64 mode: the 64-bit loader, and the 32-bit Windows DLLs of
# libwine:i386 (downloaded, never installed) beside the 64-bit ones; no 32-bit Unix code. The
# host's own Wine is never touched.
#
# Usage:
#   tree.sh ensure                               make the tree once; reuse it while it is intact
#   tree.sh run [--bind DIR]... -- CMD [ARG]...  run CMD inside the tree
#   tree.sh around [--64-bit-only] [--bind DIR]... -- CMD [ARG]...
#                                                run CMD on the host while the tree is mounted,
#                                                with WINE_TREE naming it: the win32 test build
#                                                (tools/wine/wine-exec.sh --tree) enters it for
#                                                each Windows program; ctest runs this way
#   tree.sh check                                the probe: a 32-bit program under WoW64 sees
#                                                4-byte pointers
#   tree.sh remove                               delete the tree
#
# WoW64 needs a kernel that runs 32-bit code: Wine switches to the 32-bit code segment of the
# kernel's 64-bit ABI, which only exists with the kernel's 32-bit emulation (IA32_EMULATION,
# not turned off by ia32_emulation=off, and not a guest that lacks it, such as a PVM guest).
# Without it, run and around exit with 77 and say so, unless --64-bit-only says that CMD runs
# only 64-bit programs; the tree is still made.
#
# The tree is WOW64_TREE (default /var/cache/layoutpress-wow64): outside every clone, shared by
# all of them and kept between sessions. It is made from the Debian mirror the host's apt uses
# (WOW64_MIRROR overrides it); its log is WOW64_TREE.log.
#
# Inside, the repository (and every --bind DIR) is at its own path, so the paths that a build
# folder holds stay valid, and /tmp is the host's: X displays and Wine's server sockets are
# chosen among the free ones on the machine. The mounts are made in a mount namespace of this
# run alone: nothing else on the machine sees them, they are unmounted when the command ends,
# fails or is interrupted, and they vanish with the namespace even if this script is killed.
# What the command left running in the tree is ended, by process id, before the unmount.
#
# Needs root, or sudo, for debootstrap, the mounts and chroot; exits with 77 when neither is
# there.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd -P)
self=$here/$(basename "$0")
repo=$(cd "$here/../.." && pwd -P)
tree=${WOW64_TREE:-/var/cache/layoutpress-wow64}
log=$tree.log
suite=trixie
packages="wine64 libwine fonts-wine fonts-noto-cjk xvfb"
# The first line of the marker file; a tree made by another recipe is made again.
recipe="layoutpress wow64 tree 1: $suite minbase; $packages; libwine:i386 i386-windows; stripped"
marker=etc/layoutpress-wow64
wine_dir=usr/lib/x86_64-linux-gnu/wine
probe_dir=opt/layoutpress-probe

say() { echo "tree.sh: $*" >&2; }
die() {
    say "$*"
    exit 1
}

usage() {
    echo "usage: tree.sh ensure|check|remove" >&2
    echo "       tree.sh run|around [--bind DIR]... -- COMMAND [ARG]..." >&2
    exit 2
}

# Root, or the same command again through sudo.
need_root() {
    [ "$(id -u)" -eq 0 ] && return 0
    if command -v sudo >/dev/null 2>&1; then
        exec sudo --preserve-env=WOW64_TREE,WOW64_MIRROR "$self" "$@"
    fi
    say "the 32-bit Windows tests need root or sudo (for debootstrap, bind mounts and chroot)," \
        "and this user ($(id -un)) has neither"
    exit 77
}

# Whether this kernel runs 32-bit x86 code: a 96-byte static i386 program that exits with 42.
# The kernel turns its 32-bit code segment and its i386 program loader on and off together.
kernel_runs_32bit() {
    local program status=0
    program=$(mktemp /tmp/layoutpress-i386-check.XXXXXX)
    printf '%b' '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
        '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00' \
        '\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00' \
        '\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00' \
        '\x05\x00\x00\x00\x00\x10\x00\x00' \
        '\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$program" # exit(42)
    chmod +x "$program"
    "$program" 2>/dev/null || status=$?
    rm -f "$program"
    [ "$status" -eq 42 ]
}

no_32bit_reason="this kernel runs no 32-bit x86 code (its 32-bit emulation is off: see \
'ia32_emulation' in dmesg), so Wine cannot run 32-bit Windows programs here"

# The Debian archive the host's apt uses, so that the tree comes from the same place.
host_mirror() {
    local uri
    uri=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
        /etc/apt/sources.list.d/*.sources 2>/dev/null | sed 's/#.*//' |
        grep -oE 'https?://[^ ]*/debian/?( |$)' | head -1 | tr -d ' ')
    echo "${WOW64_MIRROR:-${uri:-http://deb.debian.org/debian}}"
}

intact() {
    local root=$1
    [ -f "$root/$marker" ] && [ "$(head -1 "$root/$marker")" = "$recipe" ] &&
        [ -x "$root/usr/lib/wine/wine64" ] && [ -x "$root/usr/bin/Xvfb" ] &&
        [ -f "$root/$wine_dir/i386-windows/kernel32.dll" ] &&
        [ -f "$root/$wine_dir/i386-windows/user32.dll" ]
}

# --- mounts, made only inside this run's own mount namespace ---------------------------------

mounted=()
mount_into() { # ROOT SOURCE [TYPE]: SOURCE at the same path below ROOT
    local target=$1$2
    mkdir -p "$target"
    if [ -n "${3:-}" ]; then
        mount -t "$3" "$3" "$target"
    else
        mount --rbind "$2" "$target"
    fi
    mounted+=("$target")
}

mount_system() { # ROOT
    mount_into "$1" /proc proc
    mount_into "$1" /dev
    mount --bind /sys "$1/sys"
    mounted+=("$1/sys")
}

# The processes of this namespace that are still there once the command has ended: the tree's
# Xvfb, wineserver or a Wine program a test left behind. This shell and its own subshells are
# not counted; no process is started while looking (builtins only).
leftovers() {
    local pid dir stat
    for dir in /proc/[0-9]*; do
        pid=${dir#/proc/}
        [ "$pid" = $$ ] || [ "$pid" = "$BASHPID" ] && continue
        [ "$dir/ns/mnt" -ef /proc/$$/ns/mnt ] || continue
        read -r stat <"$dir/stat" 2>/dev/null || continue
        # shellcheck disable=SC2086
        set -- ${stat##*) } # state, parent pid, ...
        [ "$1" = Z ] || [ "$2" = $$ ] || [ "$2" = "$BASHPID" ] && continue
        echo "$pid"
    done
}

end_leftovers() {
    local pids i
    # A Wine test session ends by itself within a few seconds once its ctest has gone.
    for i in $(seq 80); do
        pids=$(leftovers)
        [ -z "$pids" ] && return 0
        sleep 0.1
    done
    say "ending what was left running in the tree: ${pids//$'\n'/ }"
    # shellcheck disable=SC2086
    kill $pids 2>/dev/null || true
    sleep 2
    pids=$(leftovers)
    # shellcheck disable=SC2086
    [ -z "$pids" ] || kill -9 $pids 2>/dev/null || true
}

unmount_all() {
    local status=$? i
    trap - EXIT INT TERM HUP
    end_leftovers
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount -R "${mounted[i]}" 2>/dev/null || umount -R -l "${mounted[i]}" ||
            say "could not unmount ${mounted[i]}"
    done
    exit "$status"
}

guard_mounts() {
    trap unmount_all EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    trap 'exit 129' HUP
}

# --- making the tree ---------------------------------------------------------------------------

step_start=0
step() {
    local now
    now=$(date +%s)
    [ "$step_start" -eq 0 ] || say "  ($((now - step_start)) s)"
    step_start=$now
    [ $# -eq 0 ] || say "$*"
}

# Builds the probe on the host (mingw) into ROOT and runs it in a throwaway prefix.
probe() { # ROOT
    local root=$1 out
    "$repo/tools/install-deps.sh" windows
    mkdir -p "$root/$probe_dir"
    i686-w64-mingw32-gcc -O2 -s -o "$root/$probe_dir/probe.exe" "$here/probe.c"
    rm -rf "$root/root/probe-prefix"
    out=$(chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
        WINEPREFIX=/root/probe-prefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' \
        sh -c "/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 &&
               /usr/lib/wine/wine64 /$probe_dir/probe.exe; status=\$?
               /usr/lib/wine/wineserver -k; /usr/lib/wine/wineserver -w; exit \$status" \
        </dev/null 2>>"$log") || {
        rm -rf "$root/root/probe-prefix"
        die "the probe failed in $root: '$out' (see $log)"
    }
    rm -rf "$root/root/probe-prefix"
    say "probe: $out"
}

# Runs in a mount namespace of its own (see ensure).
make_tree() {
    local partial=$tree.partial mirror started=$SECONDS deb
    mirror=$(host_mirror)
    guard_mounts
    rm -rf --one-file-system "$partial"
    mkdir -p "$partial"
    : >"$log"
    say "making $tree from $mirror (once: about 430 MB of downloads and 1.2 GB on disk)"
    step "debootstrap --variant=minbase $suite"
    debootstrap --variant=minbase "$suite" "$partial" "$mirror" >>"$log" 2>&1 ||
        die "debootstrap failed (see $log)"
    mount_system "$partial"
    cp -L /etc/resolv.conf "$partial/etc/resolv.conf"
    # No service of an installed package starts in the tree.
    printf '#!/bin/sh\nexit 101\n' >"$partial/usr/sbin/policy-rc.d"
    chmod +x "$partial/usr/sbin/policy-rc.d"
    step "installing $packages"
    chroot "$partial" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
        sh -euc "apt-get update
                 apt-get install -y --no-install-recommends $packages" >>"$log" 2>&1 ||
        die "installing Wine into the tree failed (see $log)"
    step "the 32-bit Windows DLLs of libwine:i386 (downloaded, not installed)"
    chroot "$partial" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin sh -euc "
        dpkg --add-architecture i386
        apt-get update
        cd /var/cache/apt/archives && apt-get download libwine:i386
        dpkg --remove-architecture i386
        apt-get update" >>"$log" 2>&1 || die "downloading libwine:i386 failed (see $log)"
    deb=$(ls "$partial"/var/cache/apt/archives/libwine_*_i386.deb)
    dpkg-deb --fsys-tarfile "$deb" |
        tar -x -C "$partial/$wine_dir/i386-windows" --strip-components=6 \
            ./usr/lib/i386-linux-gnu/wine/i386-windows
    chroot "$partial" apt-get clean
    [ -f "$partial/$wine_dir/i386-windows/kernel32.dll" ] ||
        die "no i386-windows/kernel32.dll taken from $deb"
    # Debian's Windows DLLs carry DWARF sections; every prefix copies them, so drop them once.
    step "stripping the debug sections of the Windows DLLs"
    "$repo/tools/install-deps.sh" windows
    find "$partial/$wine_dir/i386-windows" -type f -print0 |
        xargs -0 i686-w64-mingw32-strip --strip-debug 2>>"$log" || true
    find "$partial/$wine_dir/x86_64-windows" -type f -print0 |
        xargs -0 x86_64-w64-mingw32-strip --strip-debug 2>>"$log" || true
    if kernel_runs_32bit; then
        step "probe: a fresh prefix and a 32-bit program"
        probe "$partial"
    else
        say "no probe: $no_32bit_reason"
    fi
    step
    {
        echo "$recipe"
        echo "made $(date -u '+%Y-%m-%d %H:%M UTC') from $mirror in $((SECONDS - started)) s"
        # shellcheck disable=SC2086
        chroot "$partial" dpkg-query -W $packages
    } >"$partial/$marker"
    # The mounts go before the tree moves into place.
    unmount_all_now
    rm -rf --one-file-system "$tree"
    mv "$partial" "$tree"
    say "made $tree in $((SECONDS - started)) s; $(du -sh "$tree" | cut -f1) on disk"
}

unmount_all_now() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount -R "${mounted[i]}" 2>/dev/null || umount -R -l "${mounted[i]}"
    done
    mounted=()
}

# Takes the tree's lock on fd 8: exclusive while the tree is checked or made, then shared
# while it is used, so that no run sees it half made and no remake pulls it from under a run.
ensure() {
    mkdir -p "$(dirname "$tree")"
    exec 8>"$tree.lock"
    flock -x 8
    if ! intact "$tree"; then
        [ -e "$tree" ] && say "$tree is not intact or from another recipe: making it again"
        "$repo/tools/install-deps.sh" wow64
        unshare --mount --propagation private -- "$self" _make 8>&- ||
            die "could not make the tree (see $log)"
    fi
    flock -s 8
}

# --- running ----------------------------------------------------------------------------------

# _inside MODE [--bind DIR]... -- COMMAND...: in the run's own mount namespace.
inside() {
    local mode=$1 binds=("$repo") dir wd=/
    shift
    while [ $# -gt 0 ]; do
        case $1 in
        --64-bit-only) shift ;;
        --bind)
            binds+=("$(cd "$2" && pwd -P)")
            shift 2
            ;;
        --)
            shift
            break
            ;;
        *) usage ;;
        esac
    done
    [ $# -gt 0 ] || usage
    guard_mounts
    mount_system "$tree"
    mount_into "$tree" /tmp
    for dir in "${binds[@]}"; do
        mount_into "$tree" "$dir"
        case $PWD/ in "$dir"/*) wd=$PWD ;; esac
    done
    export WINE_TREE=$tree
    if [ "$mode" = around ]; then
        "$@" 8>&-
    else
        unshare --root="$tree" --wd="$wd" "$@" 8>&-
    fi
}

[ $# -ge 1 ] || usage
command=$1
shift
case $command in
ensure)
    need_root "$command" "$@"
    ensure
    echo "$tree"
    ;;
run | around)
    need_root "$command" "$@"
    if [ "${1:-}" != --64-bit-only ] && ! kernel_runs_32bit; then
        say "not run: $no_32bit_reason"
        exit 77
    fi
    ensure
    exec unshare --mount --propagation private -- "$self" _inside "$command" "$@"
    ;;
check)
    need_root "$command" "$@"
    kernel_runs_32bit || die "$no_32bit_reason"
    ensure
    exec unshare --mount --propagation private -- "$self" _check
    ;;
remove)
    need_root "$command" "$@"
    exec 8>"$tree.lock"
    flock -x 8
    rm -rf --one-file-system "$tree" "$tree.partial" "$log"
    ;;
_make)
    make_tree
    ;;
_check)
    guard_mounts
    mount_system "$tree"
    probe "$tree"
    ;;
_inside)
    inside "$@"
    ;;
*)
    usage
    ;;
esac
