#!/bin/sh
# Stands in for a vendor's real setup program: it reports how it was started.
echo "Example setup started with $# argument(s):"
for arg in "$@"; do
    echo "  $arg"
done
