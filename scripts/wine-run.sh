#!/usr/bin/env bash
# Runs a Windows program under Wine; ctest's emulator for the cross build.
# The caller (scripts/test.sh) has set up WINEPREFIX and DISPLAY.
exec wine "$@"
