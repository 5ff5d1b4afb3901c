#!/usr/bin/env bash
# Checks the plug-in's PE tables: the only export is REALPluginMain, and every import is a Windows
# system DLL (no MinGW runtime DLLs, which a host machine would not have).
set -euo pipefail
dll="$1"
objdump=x86_64-w64-mingw32-objdump
dump=$($objdump -p "$dll")

exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{on=1; next} on && /^[[:space:]]*\[/{print $NF; next} on{on=0}' <<<"$dump")
if [[ "$exports" != "REALPluginMain" ]]; then
    echo "FAIL: exports are: ${exports:-<none>}"
    exit 1
fi

allowed='^(kernel32|user32|advapi32|ole32|oleaut32|shell32|shlwapi|propsys|msvcrt|ucrtbase|api-ms-win-.*|combase|gdi32|rpcrt4|ntdll)\.dll$'
status=0
while read -r name; do
    lower=$(tr 'A-Z' 'a-z' <<<"$name")
    if [[ ! "$lower" =~ $allowed ]]; then
        echo "FAIL: imports non-system DLL $name"
        status=1
    fi
done < <(awk '/DLL Name:/{print $3}' <<<"$dump")
imports=$(awk '/DLL Name:/{printf "%s ", $3}' <<<"$dump")
echo "exports: $exports"
echo "imports: $imports"
[[ $status -eq 0 ]] && echo "1 passed, 0 failed"
exit $status
