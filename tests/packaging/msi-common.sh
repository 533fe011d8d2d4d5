# What the MSI tests share (sourced by msi.sh and msi-wine.sh).

# Never changes: installed copies find their newer versions by it.
VELKORA_UPGRADE_CODE=7E3A91C4-58D2-4B0F-A6E1-2C9D4F80B357

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() { # expect WHAT EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then fail "$1: expected [$2], got [$3]"; else echo "ok: $1"; fi
}
finish() {
  [ "$failures" -eq 0 ] && echo "all passed"
  exit $((failures > 0))
}

# check_sdk_readme README HEADER ARCH: README.txt names every result code of
# the header with its value, and no other; Windows line ends; the import
# library's machine for MSVC.
check_sdk_readme() {
  local readme=$1 header=$2 arch=$3 codes listed machine
  codes=$(sed -n 's/^#define \(VELK_LINK_[A-Z_]*\) \([0-9]*\).*/\2 \1/p' "$header")
  listed=$(tr -d '\r' <"$readme" | sed -n 's/^  \([0-9]\+\)  \(VELK_LINK_[A-Z_]*\) .*/\1 \2/p')
  [ -n "$codes" ] || fail "no result codes in $header"
  expect "README.txt's result codes" "$codes" "$listed"
  expect "README.txt's line ends" "0" "$(grep -c -v $'\r$' "$readme")"
  machine=x64
  [ "$arch" = i686 ] && machine=x86
  grep -q "lib /def:velklink.def /machine:$machine " "$readme" ||
    fail "README.txt does not make the import library for /machine:$machine"
  grep -q "^velklink .* for Windows ($arch)" "$readme" || fail "README.txt does not name $arch"
}
