#!/usr/bin/env bash
# Fails when a Windows program imports a DLL that is not part of Windows itself (a compiler
# runtime DLL, say), since the programs are copied and run without an installer.
set -euo pipefail
allowed='^(kernel32|user32|gdi32|comdlg32|comctl32|advapi32|shell32|ole32|msvcrt|ntdll|ws2_32)\.dll$'
status=0
found=0
for exe in "$@"; do
    [ -f "$exe" ] || continue
    found=1
    while read -r dll; do
        if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
            echo "check-imports: $exe imports $dll" >&2
            status=1
        fi
    done < <(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
done
[ "$found" -eq 1 ] || { echo "check-imports: no program found" >&2; exit 1; }
[ "$status" -eq 0 ] && echo "check-imports: $# programs import only Windows system DLLs"
exit $status
