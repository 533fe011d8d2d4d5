#!/usr/bin/env bash
# Ends the wine server of this test run's prefix ($1).
WINEPREFIX=$1 /usr/lib/wine/wineserver -k 2>/dev/null
exit 0
