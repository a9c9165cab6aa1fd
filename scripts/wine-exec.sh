#!/usr/bin/env bash
# Runs a Windows program of one build under Wine: wine-exec.sh x86|x64 PROGRAM ARGS...
# The test bed's prefix and display when it exported them, else the build tree's prefix.
. "$(dirname "$0")/wine-env.sh"
wine_env "$1" || exit 2
shift
[[ ${WINEPREFIX:-} == "$wine_build"/* ]] || export WINEPREFIX=$wine_build/wineprefix
exec wine "$@"
