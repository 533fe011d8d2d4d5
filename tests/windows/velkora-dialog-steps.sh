# Sourced by the flow tests of velkora.exe: the steps that go through the
# document's dialogs. Each takes what it needs (a window id from window(),
# texts to type) and uses the helpers of wine-gui.sh; a step that does not
# find its window counts a failure and returns 1.

# The New Project wizard from its Welcome page to Finish.
# dialog_wizard_to_finish TITLE VERSION WEBSITE SETUP-FILE OUTPUT-DIR PRODUCT-ID
dialog_wizard_to_finish() {
  local wizard
  wizard=$(window 'Wizard')
  [ -n "$wizard" ] || { fail "no New Project wizard"; return 1; }
  keys "$wizard" Return # Welcome: Next
  sleep 0.3
  typed "$1"; xdotool key --clearmodifiers Tab
  typed "$2"; xdotool key --clearmodifiers Tab
  typed "$3"; xdotool key --clearmodifiers Return
  sleep 0.3
  typed "$4"; xdotool key --clearmodifiers Tab Tab # past its "..."
  typed "$5"; xdotool key --clearmodifiers Return
  sleep 0.3
  xdotool key --clearmodifiers Tab # from the service list (RegNow) to the product ID
  typed "$6"; xdotool key --clearmodifiers Return
  sleep 0.3
  xdotool key --clearmodifiers Return # Finish
  gone 'Wizard' || { fail "the wizard stays open"; return 1; }
}

# Fills an open affiliate dialog and presses OK: dialog_fill_affiliate NAME ID
dialog_fill_affiliate() {
  local dialog
  dialog=$(window '^Affiliate Property$')
  [ -n "$dialog" ] || { fail "no affiliate dialog"; return 1; }
  keys "$dialog" ctrl+Home # the name field has the focus when the dialog opens
  typed "$1"; xdotool key --clearmodifiers Tab Tab
  typed "$2"; xdotool key --clearmodifiers Return
  gone '^Affiliate Property$' || { fail "the affiliate dialog stays open"; return 1; }
}

# After Finish: "Hints" answered Yes, then three affiliates, the first through
# the Hints question, the others through Affiliates > Add Affiliate.
# dialog_add_three_affiliates MAIN-WINDOW NAME1 ID1 NAME2 ID2 NAME3 ID3
dialog_add_three_affiliates() {
  local main=$1 hints
  hints=$(window '^Hints$')
  [ -n "$hints" ] || { fail "no Hints question after the wizard"; return 1; }
  keys "$hints" y
  dialog_fill_affiliate "$2" "$3" || return 1
  keys "$main" alt+a a
  dialog_fill_affiliate "$4" "$5" || return 1
  keys "$main" alt+a a
  dialog_fill_affiliate "$6" "$7" || return 1
}
