#!/bin/sh
# `cpack` makes the four Debian packages; their contents and control data are
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
app=$(deb velkora) cli=$(deb velkora-cli) lib=$(deb libvelklink1) dev=$(deb libvelklink-dev)
[ -n "$app" ] && [ -n "$cli" ] && [ -n "$lib" ] && [ -n "$dev" ] ||
  { fail "packages: $(ls "$work/out")"; exit 1; }

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

expect_in "$cli" /usr/bin/velkora-cli /usr/share/man/man1/velkora-cli.1.gz /usr/share/velkora/LICENSE \
  /usr/share/doc/velkora-cli/copyright /usr/share/doc/velkora-cli/changelog.Debian.gz
expect_in "$app" /usr/bin/velkora /usr/share/man/man1/velkora.1.gz /usr/share/velkora/VelkHelp.html \
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
  /usr/share/doc/libvelklink-dev/copyright /usr/share/doc/libvelklink-dev/changelog.Debian.gz \
  /usr/share/doc/libvelklink-dev/examples/velklink_demo.c
contents "$lib" | grep -q '/libvelklink.so$' && fail "libvelklink1 holds the development link"
contents "$app" | grep -q 'libvelklink' && fail "velkora holds the library"
contents "$app" | grep -q 'velkora-cli' && fail "velkora holds velkora-cli"

# The ".vkp" type's icon is one the package installs; the window is matched to
# its desktop entry.
mime_icon=$(dpkg-deb --fsys-tarfile "$app" | tar -xOf - ./usr/share/mime/packages/velkora-project.xml |
  sed -n 's/.*<icon name="\([^"]*\)".*/\1/p')
contents "$app" | grep -q "/icons/hicolor/.*/$mime_icon\.\(png\|svg\)$" ||
  fail "the MIME type's icon '$mime_icon' is not installed"
dpkg-deb --fsys-tarfile "$app" | tar -xOf - ./usr/share/applications/example.velkora.Velkora.desktop |
  grep -qx 'StartupWMClass=Velkora' || fail "no StartupWMClass"

# Dependencies found by dpkg-shlibdeps, and the exact run-time library for -dev.
field "$app" Depends | grep -q 'libc6' || fail "velkora Depends: $(field "$app" Depends)"
field "$app" Depends | grep -q 'libqt6widgets6' || fail "velkora does not depend on Qt Widgets"
field "$app" Depends | grep -q 'velkora-cli (= ' || fail "velkora does not depend on velkora-cli"
field "$cli" Depends | grep -q 'libc6' || fail "velkora-cli Depends: $(field "$cli" Depends)"
field "$cli" Depends | grep -qi 'qt' && fail "velkora-cli depends on Qt: $(field "$cli" Depends)"
[ "$(field "$lib" Multi-Arch)" = same ] || fail "libvelklink1 Multi-Arch: $(field "$lib" Multi-Arch)"
field "$lib" Depends | grep -q 'libc6' || fail "libvelklink1 Depends: $(field "$lib" Depends)"
field "$dev" Depends | grep -q 'libvelklink1 (= ' || fail "libvelklink-dev Depends: $(field "$dev" Depends)"
# A later Debian revision of the library satisfies what was built against this one.
dpkg-deb -I "$lib" shlibs | grep -qx "libvelklink 1 libvelklink1 (>= [0-9.]*-[0-9]*)" ||
  fail "libvelklink1 shlibs: $(dpkg-deb -I "$lib" shlibs)"

# dpkg's triggers refresh the MIME, desktop and linker caches: no maintainer
# script calls those tools by hand.
for pkg in "$app" "$cli" "$lib" "$dev"; do
  for script in preinst postinst prerm postrm; do
    dpkg-deb -I "$pkg" "$script" >"$work/$script" 2>/dev/null || continue
    grep -v '^#' "$work/$script" | grep -Eq 'ldconfig|update-mime-database|update-desktop-database' &&
      fail "$(basename "$pkg") $script calls what a trigger does"
    sh -n "$work/$script" || fail "$(basename "$pkg") $script is not valid sh"
  done
done
dpkg-deb -I "$lib" triggers | grep -qx 'activate-noawait ldconfig' || fail "libvelklink1 triggers"

# Unpacked into a scratch root, the program runs from there.
for pkg in "$lib" "$cli"; do dpkg-deb -x "$pkg" "$work/root"; done
"$work/root/usr/bin/velkora-cli" --version | grep -q '^velkora-cli ' || fail "unpacked velkora-cli"

if command -v lintian >/dev/null 2>&1; then
  # Every warning is fixed or overridden with its reason (packaging/debian/lintian/).
  lintian --fail-on error,warning --suppress-tags bad-distribution-in-changes-file \
    "$app" "$cli" "$lib" "$dev" >"$work/lintian" 2>&1 || { fail "lintian"; cat "$work/lintian"; }
  grep -E '^(E|W):' "$work/lintian" && fail "lintian errors or warnings"
else
  fail "lintian is missing (scripts/setup-deps installs it)"
fi

[ "$failures" -eq 0 ] || exit 1
echo "packages passed"
