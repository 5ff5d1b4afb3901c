#!/usr/bin/env bash
# Builds the plug-in and its test programs and runs the whole suite under Wine through CTest.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh

ensure_packages
configure_and_build build
prepare_wine_prefix build
settle_wine build

status=0
(cd build && ctest --output-on-failure -j2 "$@") || status=$?
print_line_counts
exit $status
