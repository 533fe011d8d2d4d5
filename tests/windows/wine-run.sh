#!/bin/sh
# Runs a Windows program of the tests under wine64 in the given prefix:
# wine-run.sh PREFIX PROGRAM [ARGUMENT...]. A missing DLL is reported
# (err+module), not a silent exit status 53.
prefix=$1
shift
export WINEPREFIX="$prefix" WINEDEBUG=err+module WINEDLLOVERRIDES="mscoree,mshtml="
exec /usr/lib/wine/wine64 "$@"
