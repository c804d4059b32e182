#!/usr/bin/env bash
# Installs what is missing, builds everything (warnings are errors) and runs every test.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"
voltmetr_install_packages
voltmetr_build Debug
export QT_QPA_PLATFORM=offscreen
cd "$VOLTMETR_BUILD_DIR"
ctest --output-on-failure --parallel "$(nproc)" --timeout 300 "$@"
