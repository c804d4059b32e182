#!/usr/bin/env bash
# Installs what is missing, builds a release build and starts the program.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"
# Said before minutes of building, not after.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Není k dispozici žádný displej. Spusťte program v grafickém prostředí, nebo: xvfb-run $VOLTMETR_ROOT/build/release/voltmetr" >&2
  exit 1
fi
voltmetr_install_packages
voltmetr_build Release -DVOLTMETR_BUILD_TESTS=OFF -DVOLTMETR_BUILD_BENCHMARKS=OFF
exec "$VOLTMETR_BUILD_DIR/voltmetr" "$@"
