#!/usr/bin/env bash
# Installs what is missing (Debian packages), builds the plug-in DLL and the .xojo_plugin package, and
# runs the demo: the plug-in loaded in the simulated host, listing what it registers.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh

ensure_packages
configure_and_build build
prepare_wine_prefix build

echo
echo "Built build/bin/WIAZVK.dll and build/WIAZVK.xojo_plugin"
(cd build/bin && wine wiazvk_demo.exe)
