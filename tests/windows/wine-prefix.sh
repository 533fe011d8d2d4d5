#!/usr/bin/env bash
# Makes a fresh wine prefix for this test run ($1) and keeps its server up
# until wine-prefix-end.sh, so that each later program start is quick.
set -euo pipefail
prefix=$1
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
export WINEPREFIX=$prefix WINEDEBUG=err+module WINEDLLOVERRIDES="mscoree,mshtml="
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
/usr/lib/wine/wineserver -w
# Started in the background: it ends by itself when killed at the end.
( /usr/lib/wine/wineserver -p >/dev/null 2>&1 & )
# The first program started in the prefix also starts wine's own services,
# which stay up with the server and inherit that program's output: started
# here on /dev/null, they keep no test's output pipe open.
/usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1
test -d "$prefix/drive_c/windows"
