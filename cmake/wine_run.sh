#!/bin/sh
# wine_run.sh <wine> <wineserver> <program.exe> [arguments...]
# Runs a Windows program under Wine inside the virtual X display made by
# xvfb-run, then waits for the prefix's Wine server to end. Wine binds its
# desktop to the display of the first program that opens a window; waiting
# here means the next suite starts a fresh server on its own display instead
# of meeting a desktop whose display is gone.
wine=$1 wineserver=$2
shift 2
"$wine" "$@"
rc=$?
"$wineserver" -w
exit $rc
