#!/bin/sh
# A vendor builds examples/velklink_demo.c against a staged install of the
# run-time and development files, once with pkg-config and once with
# find_package(velklink), and runs it.
# Usage: vendor-link.sh BUILD_DIR SOURCE_DIR LIBDIR
set -u
build=$1 source=$2 libdir=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
stage=$work/stage
for component in velklink velklink_dev; do
  DESTDIR=$stage cmake --install "$build" --prefix /usr --component "$component" >/dev/null ||
    fail "install of $component"
done
lib=$stage/usr/$libdir

# The SONAME chain: .so (development) -> .so.1 (SONAME) -> the versioned file.
[ "$(readlink "$lib/libvelklink.so")" = libvelklink.so.1 ] || fail "libvelklink.so link"
real=$(readlink "$lib/libvelklink.so.1")
case $real in libvelklink.so.1.*) ;; *) fail "libvelklink.so.1 points to '$real'" ;; esac
[ -f "$lib/$real" ] || fail "no $real"
readelf -d "$lib/$real" | grep -q 'Library soname: \[libvelklink.so.1\]' || fail "SONAME"
[ -f "$stage/usr/include/velklink/velklink.h" ] || fail "header"

# What the product needs at run time: the library from the staged folder and
# empty stores, so the demo reports "no key" (1) through the library.
export LD_LIBRARY_PATH="$lib"
export VELKORA_STORE_DIR="$work/store" VELKORA_USER_STORE_DIR="$work/user"
mkdir -p "$VELKORA_STORE_DIR" "$VELKORA_USER_STORE_DIR"
check_demo() { # $1: program, $2: how it was built
  [ -x "$1" ] || { fail "$2: not built"; return; }
  readelf -d "$1" | grep -q 'NEEDED.*\[libvelklink.so.1\]' || fail "$2: does not need libvelklink.so.1"
  readelf -V "$1" | grep -q 'Name: VELKLINK_1' || fail "$2: not bound to VELKLINK_1"
  "$1" 01234567-89AB-CDEF-0123-456789ABCDEF >"$work/out" 2>"$work/err"
  rc=$?
  [ "$rc" -eq 1 ] || fail "$2: demo exited $rc: $(cat "$work/err")"
}

# The staged tree is the vendor's sysroot; the .pc file names /usr plainly.
export PKG_CONFIG_PATH="$lib/pkgconfig" PKG_CONFIG_SYSROOT_DIR="$stage"
pkg-config --exists velklink || fail "pkg-config does not know velklink"
cflags=$(pkg-config --cflags velklink)
case $cflags in *..*) fail "roundabout include path: $cflags" ;; esac
grep -qx 'prefix=/usr' "$lib/pkgconfig/velklink.pc" || fail "prefix: $(grep prefix= "$lib/pkgconfig/velklink.pc")"
# shellcheck disable=SC2046
cc -o "$work/demo-pc" "$source/examples/velklink_demo.c" $(pkg-config --cflags --libs velklink) ||
  fail "build with pkg-config"
check_demo "$work/demo-pc" pkg-config

mkdir -p "$work/vendor"
cat >"$work/vendor/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.16)
project(vendor_product C)
find_package(velklink 1 REQUIRED)
add_executable(demo "$source/examples/velklink_demo.c")
target_link_libraries(demo PRIVATE velklink::velklink)
CMAKE
cmake -S "$work/vendor" -B "$work/vendor/build" -DCMAKE_PREFIX_PATH="$stage/usr" >"$work/log" 2>&1 &&
  cmake --build "$work/vendor/build" >>"$work/log" 2>&1 || { fail "build with find_package"; cat "$work/log"; }
check_demo "$work/vendor/build/demo" find_package

[ "$failures" -eq 0 ] || exit 1
echo "vendor link passed"
