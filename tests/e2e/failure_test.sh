#!/usr/bin/env bash
# Starts that fail: without the registry value the user is told so (and answers
# No), no window opens and the exit code is 0; at a depth other than 16, 24 and
# 32 the start ends with code -10 ("Configure error."); a preview without a host
# window logs why and ends quietly.
# Usage: failure_test.sh SAVER CASE WINDOW_TEXT   (CASE: no-folder, depth, no-host)
. "$(dirname "$0")/e2e_lib.sh"
saver=$(readlink -f "$1") case=$2 reader=$(readlink -f "$3")
caption="An error has occurred, this program will be closed."

# Reads the error box (window_text prints its caption and controls' texts),
# screenshots it and answers No with the keyboard.
answer_box_no() {
  "$WINE64" "$reader" "$caption" 30 | tr -d '\r' >"$E2E_TMP/box.txt" || return 1
  cat "$E2E_TMP/box.txt"
  sleep 0.3
  screenshot "$E2E_TMP/box.png"
  local box
  box=$(xdotool search --name "^An error has occurred" 2>/dev/null | head -n1)
  if [ -n "$box" ]; then
    xdotool windowfocus --sync "$box" >/dev/null 2>&1 || true
    xdotool key --window "$box" n >/dev/null 2>&1 || xdotool key n
  else
    xdotool key n
  fi
}

# box_says LINE...: the box's text holds these lines, in this order.
box_says() {
  awk '/^control Static: / { sub(/^control Static: /, ""); on = 1 } on' "$E2E_TMP/box.txt" >"$E2E_TMP/box-lines.txt"
  contains_in_order "$E2E_TMP/box-lines.txt" "$@"
}

case $case in
  no-folder)
    start_display 1024x768x24 || exit 1
    prepare_prefix
    clear_settings_folder
    work=$E2E_TMP/work
    mkdir -p "$work"
    (cd "$work" && exec "$WINE64" "$saver" /s) &
    pid=$!
    check "the error box appears" answer_box_no
    check "the box tells the missing settings and offers the report" box_says "Error code: -1." \
      "This progrom's parameter is not initialized." "Please reinstall this software." \
      "Would you like to report this bug?"
    wait_for_exit "$pid" 10
    rc=$EXIT_STATUS
    check "No ends the run with exit code 0 ($rc)" [ "$rc" -eq 0 ]
    log_lines "$work/log.txt" >"$E2E_TMP/log.txt"
    check "the log says why" contains_in_order "$E2E_TMP/log.txt" "BaseApp::Init begin" "app parameter is not inited." \
      "BigApp::Init() base::init false. error -1" "BigApp::OnEnd()" "BaseApp::OnEnd()"
    check "no window was made" bash -c "! grep -q 'create self window' '$E2E_TMP/log.txt'"
    check "no config.ini was written anywhere near" bash -c "[ ! -e '$work/config.ini' ]"
    ;;
  depth)
    start_display 1024x768x8 || exit 1
    prepare_prefix
    settings=$E2E_TMP/settings
    make_settings_folder "$settings"
    set_settings_folder "$settings"
    "$WINE64" "$saver" /s &
    pid=$!
    check "the error box appears" answer_box_no
    check "the box shows code -10" box_says "Error code: -10." "Configure error." \
      "Please check the configuration or reinstall this software."
    wait_for_exit "$pid" 10
    rc=$EXIT_STATUS
    check "No ends the run with exit code 0 ($rc)" [ "$rc" -eq 0 ]
    log_lines "$settings/log.txt" >"$E2E_TMP/log.txt"
    check "the start ends with code -10" contains_in_order "$E2E_TMP/log.txt" "init fire" "init fire false. error -10" \
      "BigApp::Init() base::init false. error -10"
    ;;
  no-host)
    start_display 1024x768x24 || exit 1
    prepare_prefix
    settings=$E2E_TMP/settings
    make_settings_folder "$settings"
    set_settings_folder "$settings"
    "$WINE64" "$saver" /P &
    pid=$!
    # It ends at once, but this is the first program on a wineserver just
    # started again, which has once taken longer than 15 s on a busy machine.
    wait_for_exit "$pid" 45
    rc=$EXIT_STATUS
    check "the preview without a host ends by itself with exit code 0 ($rc)" [ "$rc" -eq 0 ]
    log_lines "$settings/log.txt" >"$E2E_TMP/log.txt"
    check "the log says why" contains_in_order "$E2E_TMP/log.txt" "SmallApp::SetGameParameter begin" \
      "Get parent window handle from avgv false: " "SmallApp::OnEnd()"
    check "no window was made" bash -c "! grep -q 'create self window' '$E2E_TMP/log.txt'"
    ;;
  *)
    echo "unknown case $case" >&2
    exit 64
    ;;
esac
if [ -n "${E2E_SHOTS:-}" ] && [ -e "$E2E_TMP/box.png" ]; then cp "$E2E_TMP/box.png" "$E2E_SHOTS/box-$case.png"; fi
finish
