#!/usr/bin/env bash
# Builds the whole suite with Clang under AddressSanitizer and UndefinedBehaviorSanitizer (no
# recovery) with the fuzz targets, and runs it under the pupils' Czech regional settings: the
# Clang build, the memory and undefined-behaviour checks and the fuzzers' smoke runs in one.
# Fails on any sanitizer report, also one from a program a test starts. Arguments go to ctest.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"
voltmetr_install_packages
voltmetr_make_locale cs_CZ.UTF-8
VOLTMETR_BUILD_NAME=${VOLTMETR_BUILD_NAME:-sanitize} CXX=clang++ voltmetr_build Debug \
  -DCMAKE_CXX_FLAGS=-O1 -DVOLTMETR_SANITIZE=ON -DVOLTMETR_BUILD_FUZZERS=ON \
  -DVOLTMETR_BUILD_BENCHMARKS=OFF

reports="$VOLTMETR_BUILD_DIR/sanitizer-reports"
rm -rf "$reports"
mkdir -p "$reports"
suppressions="$VOLTMETR_ROOT/scripts/sanitizers"
# Each report is written to a file of its own, so that one from a child process whose exit
# code nobody looks at still fails the run.
export ASAN_OPTIONS="log_path=$reports/report:detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$suppressions/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="log_path=$reports/report:print_stacktrace=1:halt_on_error=1:suppressions=$suppressions/ubsan.supp"
export QT_QPA_PLATFORM=offscreen
cd "$VOLTMETR_BUILD_DIR"
status=0
LANG=cs_CZ.UTF-8 LC_ALL=cs_CZ.UTF-8 \
  ctest --output-on-failure --parallel "$(nproc)" --timeout 600 "$@" || status=$?
if compgen -G "$reports/*" >/dev/null; then
  echo "=== Hlášení sanitizérů ===" >&2
  cat "$reports"/* >&2
  status=1
fi
if [ "$status" -ne 0 ]; then
  echo "=== Sestavení se sanitizéry selhalo ===" >&2
  exit 1
fi
echo "=== Sestavení Clang se sanitizéry a fuzzery prošlo ==="
