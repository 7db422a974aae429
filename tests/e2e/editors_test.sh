#!/usr/bin/env bash
# The palette and style editors of the real saver, opened from the settings
# dialog and driven from outside (settings_driver for the dialog, editor_driver
# for the editors):
#   palette  Add, drag red's cold end from (16,0) to (100,40), OK, OK: the list
#            gains a selected row, and config.ini holds the new palette last and
#            current, its end on the bottom edge at (100,0)
#   style    Add, area 1's slider down to 120 (pulling area 2 with it), OK, OK:
#            config.ini holds the new style last and current
#   preview  the fire window follows the palette under edit: dragging red's curve
#            flat takes the red out of the preview; after CANCEL the red is back
#   preview-16  the same on a 16-bit screen, where the editor's table is RGB565
#   cancel   each editor adds to its store (the palette editor also removes its
#            first stored palette), then Cancel in the editor and in the dialog:
#            the lists and config.ini stay as they were, store.ini has the changes
# Usage: editors_test.sh SAVER SETTINGS_DRIVER EDITOR_DRIVER CASE
. "$(dirname "$0")/e2e_lib.sh"
saver=$(readlink -f "$1") driver=$(readlink -f "$2") editor=$(readlink -f "$3") case=$4

depth=24
[ "$case" = preview-16 ] && depth=16
desktop_session 1400 900 "$depth" || exit 1
config=$settings/config.ini store=$settings/store.ini

drive() { "$WINE64" "$driver" "$@" | tr -d '\r'; }
edit() { "$WINE64" "$editor" "$@" | tr -d '\r'; }

"$WINE64" "$saver" &
saver_pid=$!
wait_for_line "$settings/log.txt" "ConfigApp::Init end" 60 || { fail "the settings mode started within 60 s"; finish; }
drive wait 20 >/dev/null || { fail "the dialog is shown"; finish; }

# open_editor BUTTON CAPTION: the dialog's Add button, up to the editor's window.
open_editor() {
  drive post-command "$1"
  edit wait "$2" 20 >/dev/null || { fail "Add opens the $2 editor"; finish; }
}
# close_editor CAPTION ID: OK (1) or Cancel (2), and the editor is gone.
close_editor() {
  edit post-command "$1" "$2"
  edit gone "$1" 20 >/dev/null || fail "the $1 editor closes"
}
end_saver() {
  drive command "$1"
  wait_for_exit "$saver_pid" 20
  check "the saver ends with exit code 0 ($EXIT_STATUS)" [ "$EXIT_STATUS" = 0 ]
}
section() { sed -n "/^\[$2\]/,/^\[/p" "$1" | tr -d '\r' | grep -v '^\['; }
# preview_red: the mean red 0..255 of the preview's left 320 columns (the dialogs
# may cover the rest) on the screen now.
preview_red() {
  local crop
  crop=$(drive window Preview | awk '{ split($6, size, "x"); split($8, at, ","); print "320x" size[2] "+" at[1] "+" at[2] }')
  screenshot "$E2E_TMP/screen.png"
  convert "$E2E_TMP/screen.png" -crop "$crop" +repage -format '%[fx:int(255*mean.r+0.5)]' info:
}

case $case in
  palette)
    open_editor 1021 Pallette
    edit drag Pallette 16 0 100 40
    close_editor Pallette 1
    drive rows 1019 | tail -n 1 >"$E2E_TMP/rows.txt"
    cat "$E2E_TMP/rows.txt"
    check "OK appends a seventh palette row and selects it" grep -qx 'selected 6' "$E2E_TMP/rows.txt"
    end_saver 1
    check "config.ini holds seven palettes" [ "$(ini_value "$config" ColorTableInfo num)" = 7 ]
    check "the new palette is current" [ "$(ini_value "$config" ColorTableInfo index)" = 6 ]
    check "its red cold end slid along the bottom edge to (100,0)" [ "$(ini_value "$config" pallette6 RedPoint0)" = 100,0 ]
    section "$config" pallette6 | grep -v '^RedPoint0=' >"$E2E_TMP/new.txt"
    section "$config" pallette0 | grep -v '^RedPoint0=' >"$E2E_TMP/old.txt"
    check "its other eleven points are the current palette's" cmp -s "$E2E_TMP/new.txt" "$E2E_TMP/old.txt"
    ;;
  style)
    open_editor 1028 Style
    edit slider Style 1 120 text Style 1025 | tee "$E2E_TMP/style.txt"
    check "the description follows the sliders" \
      grep -qF 'text 1025: The temperature in area [255,200] will be attenuated  1.\nThe temperature in area [200,120] will not be attenuated.\nThe temperature in area [120,100] will not be attenuated.\n' "$E2E_TMP/style.txt"
    close_editor Style 1
    end_saver 1
    check "config.ini holds five styles" [ "$(ini_value "$config" blur num)" = 5 ]
    check "the new style is current" [ "$(ini_value "$config" blur currentOrder)" = 4 ]
    check "the new style is the edited one" [ "$(ini_value "$config" blur blur4)" = "200,1|120,0|120,2|100,0|75,1|50,2|255,0|255,2" ]
    ;;
  preview | preview-16)
    # Wine now and then shows a new DirectDraw window dark for a moment: later
    # frames are looked at.
    for _ in 1 2 3 4 5; do
      sleep 1
      before=$(preview_red)
      [ "$before" -ge 20 ] && break
    done
    open_editor 1021 Pallette
    # Red's hot end down to the bottom right corner, then both handles to the floor.
    edit drag Pallette 90 255 255 0 drag Pallette 40 120 40 0 drag Pallette 60 255 60 0
    sleep 1
    flat=$(preview_red)
    close_editor Pallette 2
    # Without a window manager Wine spends up to 2 s hiding the editor before
    # its modal loop returns and the fire gets its own table back.
    for _ in 1 2 3 4 5; do
      sleep 1
      after=$(preview_red)
      [ $((after * 2)) -gt "$before" ] && break
    done
    echo "mean red of the preview: $before before, $flat with red flat, $after after CANCEL"
    check "the preview is red before the editor opens" [ "$before" -ge 20 ]
    check "the preview loses its red while red's curve lies flat" [ $((flat * 4)) -lt "$before" ]
    check "the preview is red again after CANCEL" [ $((after * 2)) -gt "$before" ]
    bpp=$((depth == 16 ? 16 : 32))
    check "the fire draws at $bpp bits" grep -q "ColorTable::Create bpp = $bpp" "$settings/log.txt"
    end_saver 2
    ;;
  cancel)
    cp "$config" "$E2E_TMP/config-before.ini"
    first_stored=$(section "$store" pallette1)
    open_editor 1021 Pallette
    edit drag Pallette 16 0 40 100 command Pallette 128 select Pallette 1044 0 command Pallette 4 rows Pallette 1044 |
      tee "$E2E_TMP/store.txt"
    check "the palette store list shows the addition and the removal" grep -qx 'rows 6 selected -1' "$E2E_TMP/store.txt"
    close_editor Pallette 2
    open_editor 1028 Style
    edit slider Style 0 10 command Style 1058 rows Style 1057 | tee -a "$E2E_TMP/store.txt"
    check "the style store list shows the addition, selected" grep -qx 'rows 5 selected 4' "$E2E_TMP/store.txt"
    close_editor Style 2
    drive rows 1019 rows 1020 >"$E2E_TMP/rows.txt"
    check "Cancel leaves both lists as they were" [ "$(grep -c '^row ' "$E2E_TMP/rows.txt")" = 10 ]
    end_saver 2
    check "config.ini is byte for byte as it was" cmp -s "$config" "$E2E_TMP/config-before.ini"
    check "store.ini still holds six palettes" [ "$(ini_value "$store" ColorTableInfo num)" = 6 ]
    check "the first stored palette was removed" [ "$(section "$store" pallette0)" = "$first_stored" ]
    check "the edited palette was stored last, its cold end at (0,100)" [ "$(ini_value "$store" pallette5 RedPoint0)" = 0,100 ]
    check "store.ini holds five styles" [ "$(ini_value "$store" blur num)" = 5 ]
    check "the edited style was stored last" [ "$(ini_value "$store" blur blur4)" = "10,1|10,0|10,2|10,0|10,1|10,2|10,0|10,2" ]
    ;;
  *)
    fail "unknown case $case"
    ;;
esac
finish
