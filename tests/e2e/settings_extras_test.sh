#!/usr/bin/env bash
# The about box, Check For Updates and the skin library in the settings mode of
# the real saver; the update address points at a local server through
# HEARTHMOOR_UPDATE_URL:
#   about             About: the name and version line and the three links
#   update-offer      the server offers V1.10: the update dialog shows the installed
#                     and the latest version and a "Download Now!" link
#   update-no         the server says "no": "There are no updates."
#   update-no-server  nothing listens: "Can not connect to server."
#   update-slow       the server answers after 20 s: meanwhile the button says it
#                     is checking, the dialog answers messages within a second and
#                     the fire keeps drawing; "Can not connect to server." appears
#                     when the client's 10 s wait for the reply is over
#   update-slow-cancel  Cancel while that server is being asked ends the saver
#                     with exit code 0 within 2 s
#   skin              a copy of the saver beside the tests' recording appface.dll:
#                     the library is started with the settings folder's
#                     Hearthmoor.urf, applied, and removed at the end
# Usage: settings_extras_test.sh SAVER DRIVER WINDOW_TEXT UPDATE_SERVER SKIN_LIBRARY CASE
. "$(dirname "$0")/e2e_lib.sh"
saver=$(readlink -f "$1") driver=$(readlink -f "$2") reader=$(readlink -f "$3") server=$(readlink -f "$4")
skin_library=$(readlink -f "$5") case=$6

# The fire burns on the edges of a picture; the slow update cases watch it.
desktop_session 1400 900 || exit 1

drive() { "$WINE64" "$driver" "$@" | tr -d '\r'; }

# serve STATUS BODY [DELAY]: the update server for this test, answering DELAY
# seconds after each request; HEARTHMOOR_UPDATE_URL at it.
serve() {
  "$WINE64" "$server" "$(windows_path "$E2E_TMP/port")" 50 "$1" "$2" "${3:-0}" >"$E2E_TMP/requests.txt" 2>&1 &
  for _ in $(seq 1 100); do
    [ -s "$E2E_TMP/port" ] && break
    sleep 0.1
  done
  local port
  port=$(tr -dc '0-9' <"$E2E_TMP/port")
  export HEARTHMOOR_UPDATE_URL="http://127.0.0.1:$port/checkupdate.php"
}

# start_saver [PROGRAM]: the settings mode, up to its dialog.
start_saver() {
  "$WINE64" "${1:-$saver}" &
  saver_pid=$!
  wait_for_line "$settings/log.txt" "ConfigApp::Init end" 60 || { fail "the settings mode started"; return 1; }
  drive wait 20 >/dev/null || { fail "the dialog is shown"; return 1; }
}

# check_for_updates: presses Check For Updates, reads what answers and presses its OK.
check_for_updates() {
  drive post-command 1006
  "$WINE64" "$reader" "Check for updates" 30 1 | tr -d '\r' >"$E2E_TMP/answer.txt"
  cat "$E2E_TMP/answer.txt"
}

# cancel_saver: Cancel, and the saver ends with exit code 0.
cancel_saver() {
  drive command 2
  wait_for_exit "$saver_pid" 20
  check "Cancel ends the saver with exit code 0 ($EXIT_STATUS)" [ "$EXIT_STATUS" = 0 ]
}

answer_says() { grep -qxF "$1" "$E2E_TMP/answer.txt"; }

# The fire preview's client area on the screen, as a crop geometry.
preview_crop() {
  drive window Preview | awk '{ split($6, size, "x"); split($8, at, ","); print size[1] "x" size[2] "+" at[1] "+" at[2] }'
}

case $case in
  about)
    start_saver || finish
    drive post-command 1027
    "$WINE64" "$reader" About 30 1 | tr -d '\r' >"$E2E_TMP/answer.txt"
    cat "$E2E_TMP/answer.txt"
    check "the about box names the program and its version" answer_says "control Static: Hearthmoor V1.00"
    check "and shows three links" [ "$(grep -cE '^control Static: (http://|mailto:)' "$E2E_TMP/answer.txt")" = 3 ]
    cancel_saver
    ;;
  update-offer)
    serve "200 OK" "yes|V1.10|http://example.test/hearthmoor-setup.exe"
    start_saver || finish
    check_for_updates
    check "the update dialog opens" answer_says "caption: Check for updates"
    check "it names the installed version" answer_says "Current Version: V1.00."
    check "and the latest" answer_says "Latest Version: V1.10."
    check "with a Download Now! link" answer_says "control Static: Download Now!"
    check "the server was asked with the product and the version" \
      grep -q "^GET /checkupdate.php?product=Hearthmoor&version=V1.00 HTTP/1.1" "$E2E_TMP/requests.txt"
    cancel_saver
    ;;
  update-no)
    serve "200 OK" "no"
    start_saver || finish
    check_for_updates
    check "the box says there are no updates" answer_says "control Static: There are no updates."
    cancel_saver
    log_lines "$settings/log.txt" >"$E2E_TMP/log.txt"
    check "without a skin library the log says so" grep -qx "face dll init false" "$E2E_TMP/log.txt"
    ;;
  update-no-server)
    # Port 1 on the loopback: nothing listens there.
    export HEARTHMOOR_UPDATE_URL="http://127.0.0.1:1/checkupdate.php"
    start_saver || finish
    check_for_updates
    check "the box says the server cannot be reached" answer_says "control Static: Can not connect to server."
    cancel_saver
    ;;
  update-slow)
    serve "200 OK" "no" 20
    start_saver || finish
    drive move-dialog 780 0
    asked=$(date +%s)
    drive post-command 1006 sleep 1000 text 1006 enabled 1006 ping | tee "$E2E_TMP/waiting.txt"
    check "the button says it is checking" grep -qx "text 1006: Checking..." "$E2E_TMP/waiting.txt"
    check "and cannot be pressed again" grep -qx "enabled 1006: 0" "$E2E_TMP/waiting.txt"
    check "the dialog answers a message within a second" grep -q "^ping: answered" "$E2E_TMP/waiting.txt"
    crop=$(preview_crop)
    screenshot "$E2E_TMP/a.png"
    sleep 1
    screenshot "$E2E_TMP/b.png"
    convert "$E2E_TMP/a.png" -crop "$crop" +repage "$E2E_TMP/fire-a.png"
    convert "$E2E_TMP/b.png" -crop "$crop" +repage "$E2E_TMP/fire-b.png"
    change=$(image_difference "$E2E_TMP/fire-a.png" "$E2E_TMP/fire-b.png")
    check "the fire keeps drawing meanwhile (difference $change a second apart in $crop)" [ "$change" -ge 2 ]
    "$WINE64" "$reader" "Check for updates" 40 1 | tr -d '\r' >"$E2E_TMP/answer.txt"
    waited=$(($(date +%s) - asked))
    cat "$E2E_TMP/answer.txt"
    # The client waits 10 s for a reply, so a server 20 s slow is one that cannot
    # be reached; the box says so when that wait is over, and not before.
    check "the answer appears when the wait is over (after $waited s)" \
      answer_says "control Static: Can not connect to server."
    check "not before" [ "$waited" -ge 9 ]
    drive text 1006 enabled 1006 >"$E2E_TMP/after.txt"
    check "the button is back" grep -qx "text 1006: Check For Updates" "$E2E_TMP/after.txt"
    check "and enabled" grep -qx "enabled 1006: 1" "$E2E_TMP/after.txt"
    cancel_saver
    ;;
  update-slow-cancel)
    serve "200 OK" "no" 20
    start_saver || finish
    drive post-command 1006 sleep 1000 command 2
    cancelled=$(date +%s%N)
    wait_for_exit "$saver_pid" 20
    took=$((($(date +%s%N) - cancelled) / 1000000))
    check "Cancel while checking ends the saver with exit code 0 ($EXIT_STATUS)" [ "$EXIT_STATUS" = 0 ]
    check "within 2 s ($took ms)" [ "$took" -lt 2000 ]
    check "while the server was still being asked" grep -q "^GET /checkupdate.php" "$E2E_TMP/requests.txt"
    ;;
  skin)
    program=$E2E_TMP/program
    mkdir -p "$program"
    cp "$saver" "$skin_library" "$program/"
    export HEARTHMOOR_SKIN_CALLS
    HEARTHMOOR_SKIN_CALLS=$(windows_path "$E2E_TMP/skin-calls.txt")
    start_saver "$program/$(basename "$saver")" || finish
    cancel_saver
    tr -d '\r' <"$E2E_TMP/skin-calls.txt" >"$E2E_TMP/calls.txt"
    cat "$E2E_TMP/calls.txt"
    printf '%s\n' load "SkinStart $(windows_path "$settings")\\Hearthmoor.urf|1|Hearthmoor|1|0|0" \
      "SkinWindowSetEx 0|660|0|206|0|0|0" SkinRemove unload >"$E2E_TMP/calls-expected.txt"
    check "the library is started, applied and removed, in this order" cmp "$E2E_TMP/calls.txt" "$E2E_TMP/calls-expected.txt"
    log_lines "$settings/log.txt" >"$E2E_TMP/log.txt"
    check "and nothing about it is logged as failed" bash -c "! grep -q '^face dll' '$E2E_TMP/log.txt'"
    ;;
  *)
    fail "unknown case $case"
    ;;
esac
finish
