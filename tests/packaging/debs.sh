#!/bin/sh
# `cpack` makes the three Debian packages; their contents and control data are
# what Debian users, packagers and vendors expect, and lintian finds no error.
# Usage: debs.sh BUILD_DIR LIBDIR
set -u
build=$1 libdir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1) ||
  { fail "cpack"; cat "$work/cpack.log"; exit 1; }
arch=$(dpkg --print-architecture)
deb() { ls "$work/out/$1"_*_"$arch".deb 2>/dev/null | head -n 1; }
app=$(deb velkora) lib=$(deb libvelklink1) dev=$(deb libvelklink-dev)
[ -n "$app" ] && [ -n "$lib" ] && [ -n "$dev" ] || { fail "packages: $(ls "$work/out")"; exit 1; }

contents() { dpkg-deb -c "$1" | awk '{ print $6 }' | sed 's#^\./#/#'; }
field() { dpkg-deb -f "$1" "$2"; }
expect_in() { # $1: package file, $2...: paths it must hold
  pkg=$1
  shift
  contents "$pkg" >"$work/list"
  for path in "$@"; do
    grep -qx "$path" "$work/list" || fail "$(basename "$pkg") lacks $path"
  done
}

expect_in "$app" /usr/bin/velkora /usr/bin/velkora-cli /usr/share/man/man1/velkora.1.gz \
  /usr/share/man/man1/velkora-cli.1.gz /usr/share/velkora/VelkHelp.html \
  /usr/share/velkora/VelkCli.html /usr/share/applications/example.velkora.Velkora.desktop \
  /usr/share/metainfo/example.velkora.Velkora.metainfo.xml \
  /usr/share/mime/packages/velkora-project.xml \
  /usr/share/icons/hicolor/48x48/apps/example.velkora.Velkora.png \
  /usr/share/icons/hicolor/scalable/apps/example.velkora.Velkora.svg \
  /usr/share/doc/velkora/copyright /usr/share/doc/velkora/changelog.Debian.gz
expect_in "$lib" "/usr/$libdir/libvelklink.so.1" "/usr/$libdir/libvelklink.so.1.0.0" \
  /usr/share/doc/libvelklink1/copyright /usr/share/doc/libvelklink1/changelog.Debian.gz
expect_in "$dev" "/usr/$libdir/libvelklink.so" /usr/include/velklink/velklink.h \
  "/usr/$libdir/pkgconfig/velklink.pc" "/usr/$libdir/cmake/velklink/velklinkConfig.cmake" \
  "/usr/$libdir/cmake/velklink/velklinkTargets.cmake" \
  /usr/share/doc/libvelklink-dev/copyright /usr/share/doc/libvelklink-dev/changelog.Debian.gz
contents "$lib" | grep -q '/libvelklink.so$' && fail "libvelklink1 holds the development link"
contents "$app" | grep -q 'libvelklink' && fail "velkora holds the library"

# Dependencies found by dpkg-shlibdeps, and the exact run-time library for -dev.
field "$app" Depends | grep -q 'libc6' || fail "velkora Depends: $(field "$app" Depends)"
field "$app" Depends | grep -q 'libqt6widgets6' || fail "velkora does not depend on Qt Widgets"
field "$lib" Depends | grep -q 'libc6' || fail "libvelklink1 Depends: $(field "$lib" Depends)"
field "$dev" Depends | grep -q 'libvelklink1 (= ' || fail "libvelklink-dev Depends: $(field "$dev" Depends)"
dpkg-deb -I "$lib" shlibs | grep -q '^libvelklink 1 libvelklink1' || fail "libvelklink1 shlibs"

# The maintainer scripts refresh the MIME and desktop databases.
for script in postinst postrm; do
  dpkg-deb -I "$app" "$script" >"$work/$script" 2>/dev/null || { fail "velkora has no $script"; continue; }
  grep -q 'update-mime-database' "$work/$script" || fail "$script does not refresh MIME types"
  grep -q 'update-desktop-database' "$work/$script" || fail "$script does not refresh desktop entries"
  sh -n "$work/$script" || fail "$script is not valid sh"
done

# Unpacked into a scratch root, the program runs from there.
for pkg in "$lib" "$app"; do dpkg-deb -x "$pkg" "$work/root"; done
"$work/root/usr/bin/velkora-cli" --version | grep -q '^velkora-cli ' || fail "unpacked velkora-cli"

if command -v lintian >/dev/null 2>&1; then
  lintian --fail-on error --suppress-tags bad-distribution-in-changes-file "$app" "$lib" "$dev" \
    >"$work/lintian" 2>&1 || { fail "lintian"; cat "$work/lintian"; }
  grep '^E:' "$work/lintian" && fail "lintian errors"
else
  fail "lintian is missing (scripts/setup-deps installs it)"
fi

[ "$failures" -eq 0 ] || exit 1
echo "packages passed"
