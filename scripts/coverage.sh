#!/usr/bin/env bash
# Line coverage of the library (plugin/, support/, wia/) by the whole suite: builds the instrumented library
# and the test programs in build-cov, runs each test program once under Wine (every test in one process, as
# ctest would run them one by one but much faster; the DLL and the white-box program merge into the same
# .gcda files), and prints the figure. Extra arguments go to both test programs (e.g. --gtest_filter=...).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

PACKAGES+=(gcovr)
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

root=$PWD
summary=$(gcovr --root "$root" --object-directory build-cov --gcov-executable x86_64-w64-mingw32-gcov \
    --filter "$root/plugin/" --filter "$root/support/" --filter "$root/wia/" \
    --exclude-unreachable-branches --print-summary --output /dev/null)
percent=$(awk '/^lines:/ { sub("%", "", $2); print $2 }' <<<"$summary")
echo "$summary" | grep '^lines:'
echo "Line coverage of plugin/, support/, wia/: ${percent}%"
