#!/usr/bin/env bash
# The Windows self creator's dialog as an affiliate uses it, under wine64 on a
# virtual X server: the About box (F1), a build through the "Building" dialog
# to the success message and the run-now question, Cancel in the "Building"
# dialog (no message, nothing written, the dialog usable again), a build that
# fails, and Escape ending the program with status 0.
# Arguments: prefix velkora-cli setup.exe work
set -uo pipefail
[ -n "${VELKORA_TRACE:-}" ] && set -x
prefix=$1 cli=$2 setup=$3 work=$4
rm -rf "$prefix/drive_c/gui"
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-gui.sh"

closed() { # closed ID: waits until that window is no longer shown
  for _ in $(seq 300); do
    xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1" || return 0
    sleep 0.1
  done
  return 1
}

# The self creator of a product whose setup is a 64-bit Windows program.
cp "$setup" setup.exe
"$cli" new p.vkp --title Demo --version 1.0 --website https://demo.example --setup-file setup.exe \
  --output-dir . --service RegNow --product-id 1234 >cli.log 2>&1 &&
  "$cli" build-self-creator p.vkp >>cli.log 2>&1 || { echo "FAIL: $(cat cli.log)"; exit 1; }
# Wine keeps the standard handles of its programs open in its server, so
# they go to a file rather than to the test's output.
( $wine VelkSMNG.exe >wine.log 2>&1; echo $? >exit.txt ) &
pids+=($!)
main=$(window '^Create Your Custom Build Now!$')
[ -n "$main" ] || { echo "FAIL: the dialog did not open"; exit 1; }
echo "ok: the dialog opens"

keys "$main" F1
about=$(window '^About selfkit$')
[ -n "$about" ] && echo "ok: the About box opens" || fail "no About box"
keys "$about" Return
gone '^About selfkit$' || fail "the About box stays open"

# The first build fills the form from the service list, which has the focus
# when the dialog opens; the path field keeps the focus afterwards, so later
# builds only replace the path.
first_build() { # first_build PATH
  keys "$main" Tab
  xdotool type --clearmodifiers "aff42"
  xdotool key --clearmodifiers Tab Tab
  xdotool type --clearmodifiers "$1"
  xdotool key --clearmodifiers Return
}
build() { # build PATH
  keys "$main" Home shift+End BackSpace
  xdotool type --clearmodifiers "$1"
  xdotool key --clearmodifiers Return
}

first_build 'C:\gui\first.exe'
[ -n "$(window '^Building$')" ] && echo "ok: the Building dialog shows" || fail "no Building dialog"
box=$(window '^selfkit$')
[ -n "$box" ] || fail "no message after the build"
keys "$box" Return # the success message
closed "$box" || fail "the success message stays open"
question=$(window '^selfkit$')
keys "$question" n # do not run it now
gone '^selfkit$' || fail "the question stays open"
[ -f "$prefix/drive_c/gui/first.exe" ] && echo "ok: the custom setup is written" ||
  fail "no custom setup after the build"

build 'C:\gui\cancelled.exe'
progress=$(window '^Building$')
keys "$progress" space # Cancel has the focus in the Building dialog
gone '^Building$' || fail "the Building dialog stays open after Cancel"
sleep 0.5
xdotool search --onlyvisible --name '^selfkit$' >/dev/null 2>&1 && fail "a message after Cancel"
[ -f "$prefix/drive_c/gui/cancelled.exe" ] && fail "Cancel still wrote the custom setup" ||
  echo "ok: Cancel stops the build"

build 'C:\gui\again.exe'
box=$(window '^selfkit$')
keys "$box" Return
closed "$box" || fail "the success message stays open"
question=$(window '^selfkit$')
keys "$question" n
gone '^selfkit$' || fail "the question stays open"
[ -f "$prefix/drive_c/gui/again.exe" ] && echo "ok: a build after Cancel works" ||
  fail "no build after Cancel"

build 'Q:\nowhere\failed.exe'
box=$(window '^selfkit$')
[ -n "$box" ] && echo "ok: a failed build says so" || fail "no message for a failed build"
keys "$box" Return
gone '^selfkit$' || fail "the failure message stays open"

keys "$main" Escape
for _ in $(seq 300); do [ -s exit.txt ] && break; sleep 0.1; done
[ "$(cat exit.txt 2>/dev/null)" = 0 ] && echo "ok: Escape ends the program with status 0" ||
  fail "exit status after Escape: $(cat exit.txt 2>/dev/null)"

[ "$failures" -eq 0 ] && echo "all passed" || echo "$failures failure(s)"
exit $((failures > 0))
