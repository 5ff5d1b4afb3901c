#!/usr/bin/env bash
# The plug-in's PE tables: the only export is REALPluginMain, and every import is a Windows system DLL (no MinGW
# runtime DLLs, which a host machine would not have).
set -euo pipefail
dump=$(x86_64-w64-mingw32-objdump -p "$1")
exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{on=1; next} on && /^[[:space:]]*\[/{print $NF; next} on{on=0}' <<<"$dump")
imports=$(awk '/DLL Name:/{print tolower($3)}' <<<"$dump")
echo "exports: $exports"$'\n'"imports:" $imports
allowed='^(kernel32|user32|advapi32|ole32|oleaut32|shell32|shlwapi|propsys|msvcrt|ucrtbase|api-ms-win-.*|combase|gdi32|rpcrt4|ntdll)\.dll$'
foreign=$(grep -Ev "$allowed" <<<"$imports" || true)
[[ "$exports" == "REALPluginMain" ]] || { echo "FAIL: exports are: ${exports:-<none>}"; exit 1; }
[[ -z "$foreign" ]] || { echo "FAIL: imports non-system DLLs:" $foreign; exit 1; }
echo "1 passed, 0 failed"
