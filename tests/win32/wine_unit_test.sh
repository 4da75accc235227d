#!/usr/bin/env bash
# Runs the GoogleTest program of the Win32 pieces under Wine in a copy of the
# booted prefix, with its own X server:  wine_unit_test.sh TEST_EXE PREFIX_TEMPLATE WORKDIR
exe=$1 PREFIX_TEMPLATE=$2 WORKDIR=$3 WINE_HELPERS_ONLY=1
. "$(dirname "$0")/wine_common.sh"
wine_prefix "$WORKDIR/prefix"
x_server "$WORKDIR" 1024x768  # the face's tests open real windows
"$WINE" "$exe" --gtest_color=no
