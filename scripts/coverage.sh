#!/usr/bin/env bash
# Line coverage of the library (plugin/, support/, wia/) by the whole suite: builds the instrumented library
# and the test programs in build-cov, runs each test program once under Wine (every test in one process, as
# ctest would run them one by one but much faster; the DLL and the white-box program merge into the same
# .gcda files), and prints the figure. Extra arguments go to both test programs (e.g. --gtest_filter=...).
# COVERAGE_FILES="support/Variant.cpp wia/Item.cpp" also prints, per file, the line numbers no test ran.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

ensure_packages
configure_and_build build-cov -DWIAZVK_COVERAGE=ON
find build-cov -name '*.gcda' -delete
prepare_wine_prefix build-cov

status=0
for program in wiazvk_tests wiazvk_whitebox; do
    (cd build-cov/bin && wine "$program.exe" "$@" >"../$program.log" 2>&1 </dev/null) || status=$?
done
if ((status != 0)); then
    echo "some tests failed (build-cov/wiazvk_tests.log, build-cov/wiazvk_whitebox.log); the figure counts what ran"
fi

# gcov per object file, each in a folder of its own; a line counts as run when any object that compiled it ran
# it (headers are compiled into many objects). Our own merge: gcovr 5 trips over functions that two objects
# place on different lines.
root=$PWD
work=$(mktemp -d)
n=0
while IFS= read -r -d '' gcda; do
    n=$((n + 1))
    mkdir "$work/$n"
    (cd "$work/$n" && x86_64-w64-mingw32-gcov --preserve-paths --object-directory "$(dirname "$gcda")" "$gcda" \
        >/dev/null 2>&1) || true
done < <(find "$root/build-cov" -name '*.gcda' -print0)
python3 - "$work" "$root" "${COVERAGE_FILES:-}" <<'PY'
import glob, os, sys
work, root, files = sys.argv[1], sys.argv[2], sys.argv[3].split()
lines = {}
for path in glob.glob(os.path.join(work, "*", "*.gcov")):
    source = None
    for row in open(path, errors="replace"):
        count, _, rest = row.partition(":")
        number, _, text = rest.partition(":")
        count, number = count.strip(), number.strip()
        if number == "0" and text.startswith("Source:"):
            source = os.path.normpath(os.path.join(root, text[7:].strip()))
            continue
        if source is None or count == "-" or not number.isdigit():
            continue
        key = (source, int(number))
        lines[key] = lines.get(key, False) or not count.startswith(("#", "="))
mine = {k: v for k, v in lines.items() if any(k[0].startswith(os.path.join(root, d) + os.sep) for d in ("plugin", "support", "wia"))}
run = sum(mine.values())
print(f"lines: {100.0 * run / max(len(mine), 1):.1f}% ({run} out of {len(mine)})")
print(f"Line coverage of plugin/, support/, wia/: {100.0 * run / max(len(mine), 1):.1f}%")
for name in files:
    path = os.path.normpath(os.path.join(root, name))
    missed = sorted(n for (source, n), ran in lines.items() if source == path and not ran)
    print(f"uncovered in {name}: {' '.join(map(str, missed)) or 'none'}")
PY
rm -rf "$work"
