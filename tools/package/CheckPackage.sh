#!/usr/bin/env bash
# The released package: the .xojo_plugin zip holds the DLL at the path the host looks in, stripped of every debug
# section and linked to its debug file by name; the debug file beside the build holds the symbols; the packaged DLL
# passes the export and import check and loads in the simulated host (the examples checker runs on it).
#   CheckPackage.sh <WIAZVK.xojo_plugin> <WIAZVK.dll.debug> <tables check script> [<emulator> <checker.exe> <examples>]
set -euo pipefail
package=$1 debug=$2 tables=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

inside='WIAZVK/Build Resources/Windows x86-64/WIAZVK.dll'
(cd "$work" && cmake -E tar xf "$package") || fail "cannot unpack $package"
dll="$work/$inside"
[[ -f "$dll" ]] || fail "$package has no $inside"
others=$(cd "$work" && find . -type f ! -path "./$inside" | sort)
[[ -z "$others" ]] || fail "$package holds more than the DLL:" $others

sections() { x86_64-w64-mingw32-objdump -h "$1" | awk '$1 ~ /^[0-9]+$/ {print $2}'; }
debug_in_dll=$(sections "$dll" | grep '^\.debug' || true)
[[ -z "$debug_in_dll" ]] || fail "the packaged DLL has debug sections:" $debug_in_dll
sections "$dll" | grep -qx '.gnu_debuglink' || fail "the packaged DLL does not name its debug file"
x86_64-w64-mingw32-objcopy --dump-section .gnu_debuglink="$work/link" "$dll" "$work/copy.dll"
link=$(tr '\0' '\n' <"$work/link" | head -n 1)
[[ "$link" == "$(basename "$debug")" ]] || fail "the packaged DLL names '$link', not $(basename "$debug")"
sections "$debug" | grep -qx '.debug_info' || fail "$debug holds no .debug_info"
echo "packaged DLL: $(stat -c %s "$dll") bytes, no debug sections, debug file $(basename "$debug")" \
    "($(stat -c %s "$debug") bytes)"

tables_out=$(bash "$tables" "$dll") || { echo "$tables_out"; fail "the packaged DLL's export or import table is wrong"; }

if (($# >= 6)); then
    emulator=$4 checker=$5 examples=$6
    if ! "$emulator" "$checker" "Z:$examples" "Z:$dll" >"$work/load.txt" 2>&1; then
        cat "$work/load.txt"
        fail "the packaged DLL did not serve the examples checker"
    fi
    echo "loaded in the simulated host: $(tail -n 1 "$work/load.txt")"
fi
echo "1 passed, 0 failed"
