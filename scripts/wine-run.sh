#!/usr/bin/env bash
# Runs a Windows program under Wine for CMake and CTest (the cross build's emulator), with its
# standard output's Windows line ends made Unix ones, so that CTest reads GoogleTest's list of
# tests as it does on Linux. The program's exit status is the script's.
set -o pipefail
/usr/lib/wine/wine64 "$@" | tr -d '\r'
