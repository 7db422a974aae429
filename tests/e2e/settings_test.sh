#!/usr/bin/env bash
# The settings mode of the real saver, driven from outside by settings_driver:
#   start ARG     ARG "none", "/c:4460" or "/a": the "Hearthmoor" dialog and a
#                 "Preview" window with a 600x480 client area of changing fire
#   show-fire     ShowFire=0 starts with the preview hidden; Show Fire shows it at
#                 once; the preview's close box hides it and clears the check box
#   ok            edits, then OK: config.ini and store.ini hold them, exit code 0
#   cancel        the same edits, then Cancel: config.ini unchanged byte for byte
#   close-box     the same with the dialog's close box
#   stress        20 s of edits as fast as possible while the fire runs, then OK;
#                 the lock's log lines pair up and the config.ini written loads
#   idle-cpu      the dialog's thread uses well below one core while idle
#   sliders       the wheel, Page Up/Down and the arrow keys on each interval
#                 slider change its label at once (no end of tracking), Home on
#                 the palette slider makes the fire change palettes within
#                 seconds, and OK saves the positions the sliders show
# Usage: settings_test.sh SAVER DRIVER CASE [ARG]
. "$(dirname "$0")/e2e_lib.sh"
saver=$(readlink -f "$1") driver=$(readlink -f "$2") case=$3 arg=${4:-none}

desktop_session 1400 900 || exit 1

drive() { "$WINE64" "$driver" "$@" | tr -d '\r'; }

# start_saver [ARG]: the saver in the settings mode, up to its dialog.
start_saver() {
  if [ $# -gt 0 ]; then "$WINE64" "$saver" "$@" & else "$WINE64" "$saver" & fi
  saver_pid=$!
  if ! wait_for_line "$settings/log.txt" "ConfigApp::Init end" 60; then
    fail "the settings mode started within 60 s"
    return 1
  fi
  drive wait 20 >/dev/null || { fail "the dialog is shown"; return 1; }
}

# end_saver WHAT: waits for the saver to end and checks its exit code.
end_saver() {
  wait_for_exit "$saver_pid" 20
  check "$1 ends the saver with exit code 0 ($EXIT_STATUS)" [ "$EXIT_STATUS" = 0 ]
}

# The edits both OK and Cancel follow: a second and third background, the third
# style, the palette interval at its longest, Show Fire off.
make_edits() {
  drive command 1007 command 1007 select 1020 2 track-only 1009 1000 text 1013 >"$E2E_TMP/edit1.txt"
  drive trackbar 1009 1000 text 1013 toggle 1003 rows 1001 rows 1020 >"$E2E_TMP/edit2.txt"
}

# The left 320 columns of the preview's client area on the screen, as a crop
# geometry: the dialog, centred on the screen, may cover the rest.
preview_crop() {
  drive window Preview | awk '{ split($6, size, "x"); split($8, at, ","); print "320x" size[2] "+" at[1] "+" at[2] }'
}

case $case in
  start)
    # Now and then Wine shows a new DirectDraw window black for a moment
    # although frames are drawn: later frames are looked at for a few seconds.
    if [ "$arg" = none ]; then start_saver || finish; else start_saver "$arg" || finish; fi
    drive window Preview >"$E2E_TMP/window.txt"
    cat "$E2E_TMP/window.txt"
    crop=$(preview_crop)
    until_lit 20 shot_figure "$E2E_TMP/a.png" bright_share "$crop" || echo "note: the preview stayed dark"
    lit=$LIT
    check "the preview window is visible with a 600x480 client area" grep -q 'visible 1 client 600x480' "$E2E_TMP/window.txt"
    sleep 1
    screenshot "$E2E_TMP/b.png"
    convert "$E2E_TMP/a.png" -crop "$crop" +repage "$E2E_TMP/fire-a.png"
    convert "$E2E_TMP/b.png" -crop "$crop" +repage "$E2E_TMP/fire-b.png"
    change=$(image_difference "$E2E_TMP/fire-a.png" "$E2E_TMP/fire-b.png")
    echo "preview $crop: $lit per mille lit, difference $change between frames a second apart"
    check "the preview shows fire" [ "$lit" -ge 20 ]
    check "the fire moves" [ "$change" -ge 2 ]
    drive command 2
    end_saver "Cancel"
    ;;
  show-fire)
    sed -i 's/^ShowFire=1/ShowFire=0/' "$settings/config.ini"
    start_saver || finish
    check "with ShowFire off the preview starts hidden" bash -c "$(declare -f drive); WINE64='$WINE64' driver='$driver'; drive window Preview | grep -q 'visible 0'"
    drive toggle 1003 window Preview checked 1003 >"$E2E_TMP/on.txt"
    check "ticking Show Fire shows the preview at once" grep -q 'visible 1 client 600x480' "$E2E_TMP/on.txt"
    drive close-window Preview window Preview checked 1003 >"$E2E_TMP/off.txt"
    cat "$E2E_TMP/on.txt" "$E2E_TMP/off.txt"
    check "the preview's close box hides it" grep -q 'visible 0' "$E2E_TMP/off.txt"
    check "and clears Show Fire" grep -qx 'checked 1003: 0' "$E2E_TMP/off.txt"
    drive command 2
    end_saver "Cancel"
    ;;
  ok)
    start_saver || finish
    make_edits
    cat "$E2E_TMP/edit1.txt" "$E2E_TMP/edit2.txt"
    check "thumb tracking leaves the label alone" grep -qx 'text 1013: 1.0 minute' "$E2E_TMP/edit1.txt"
    check "the end of tracking sets the label" grep -qx 'text 1013: 2.0 hours' "$E2E_TMP/edit2.txt"
    check "Add Desktop twice gives two more rows" grep -qx 'row 2: Desktop' "$E2E_TMP/edit2.txt"
    drive command 1
    end_saver "OK"
    config=$settings/config.ini
    check "config.ini holds three backgrounds" [ "$(ini_value "$config" Background num)" = 3 ]
    check "the third style is current" [ "$(ini_value "$config" blur currentOrder)" = 2 ]
    check "the palette interval is the longest" [ "$(ini_value "$config" TimeSection changeColorTime)" = 1000 ]
    check "Show Fire is off" [ "$(ini_value "$config" TimeSection ShowFire)" = 0 ]
    check "store.ini is there" [ -s "$settings/store.ini" ]
    ;;
  cancel | close-box)
    cp "$settings/config.ini" "$E2E_TMP/config-before.ini"
    start_saver || finish
    make_edits
    if [ "$case" = cancel ]; then drive command 2; else drive close-dialog; fi
    end_saver "$case"
    check "config.ini is byte for byte as it was" cmp "$settings/config.ini" "$E2E_TMP/config-before.ini"
    ;;
  stress)
    start_saver || finish
    drive stress ${E2E_STRESS_SECONDS:-20} | tee "$E2E_TMP/stress.txt"
    drive command 1
    end_saver "OK after the stress run"
    log_lines "$settings/log.txt" >"$E2E_TMP/log.txt"
    enters=$(grep -cx 'Enter Critical Section' "$E2E_TMP/log.txt")
    leaves=$(grep -cx 'Leave Critical Section' "$E2E_TMP/log.txt")
    echo "$enters enters, $leaves leaves"
    check "every Enter Critical Section has its Leave" [ "$enters" -gt 200 -a "$enters" = "$leaves" ]
    check "no exception was logged" bash -c "! grep -q 'exception' '$E2E_TMP/log.txt'"
    count=$(ini_value "$settings/config.ini" Background num)
    start_saver || finish
    rows=$(drive rows 1001 | grep -c '^row ')
    drive command 2
    end_saver "Cancel"
    check "the config.ini written loads: its $count backgrounds are listed ($rows)" [ "$rows" = "$count" -a "$count" -ge 1 ]
    ;;
  idle-cpu)
    start_saver || finish
    sleep 2
    drive cpu 5 | tee "$E2E_TMP/cpu.txt"
    percent=$(awk '/^ui-cpu/ { print int($2 + 0.5) }' "$E2E_TMP/cpu.txt")
    # Polling the queue without waiting measures about 25% here (the rest of the
    # core goes to Wine's server round trips); waiting for messages about 1%.
    check "the idle dialog's thread uses well below one core (${percent:-?}%)" [ "${percent:-100}" -lt 10 ]
    drive command 2
    end_saver "Cancel"
    ;;
  sliders)
    start_saver || finish
    # slider label config-key; one user action per line, as driver arguments
    # (33 Page Up, 34 Page Down, 36 Home, 37 Left, 39 Right).
    for slider in "1008 1011 changeBackgroundTime" "1009 1013 changeColorTime" "1010 1015 changeBlurTime"; do
      set -- $slider
      for action in "wheel $1 3" "key $1 34" "key $1 39" "key $1 33" "key $1 37" "wheel $1 -2"; do
        drive text "$2" $action text "$2" >"$E2E_TMP/step.txt"
        check "$action changes the label at once: $(paste -sd' ' "$E2E_TMP/step.txt")" \
          [ "$(sed -n 1p "$E2E_TMP/step.txt")" != "$(sed -n 2p "$E2E_TMP/step.txt")" ]
      done
    done
    before=$(drive rows 1019 | sed -n 's/^selected //p')
    drive key 1009 36 text 1013
    sleep 8
    after=$(drive rows 1019 | sed -n 's/^selected //p')
    check "Home on the palette slider gives the fire a 5 s interval: row $before, then $after" [ "$before" != "$after" ]
    drive position 1008 position 1009 position 1010 >"$E2E_TMP/positions.txt"
    cat "$E2E_TMP/positions.txt"
    drive command 1
    end_saver "OK"
    for slider in "1008 changeBackgroundTime" "1009 changeColorTime" "1010 changeBlurTime"; do
      set -- $slider
      check "OK saves $2 as its slider shows it" \
        grep -qx "position $1: $(ini_value "$settings/config.ini" TimeSection "$2")" "$E2E_TMP/positions.txt"
    done
    ;;
  *)
    fail "unknown case $case"
    ;;
esac
finish
