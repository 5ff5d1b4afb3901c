#!/usr/bin/env bash
# Installs what is missing (Debian packages), builds the plug-in DLL and the .xojo_plugin package (its DLL without
# debug sections, the symbols kept in build/WIAZVK.dll.debug), fills dist/ with the versioned package, the guide, the
# class reference (written from what the DLL registers), the examples with the module WIAConstants and one Xojo
# project per example, and runs the demo: the plug-in loaded in the simulated host, listing what it registers.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh

ensure_packages
configure_and_build build
prepare_wine_prefix build
cmake --build build --target dist

echo
echo "Built build/bin/WIAZVK.dll and build/WIAZVK.xojo_plugin; dist/ holds:"
(cd dist && find . -type f | sort)
(cd build/bin && wine wiazvk_demo.exe)
