#!/usr/bin/env bash
# Damaged and odd picture files as backgrounds of the full-screen saver: none
# may crash it, end its frame loop or keep a key from ending it.
#   1. Every file of the decoders' hostile corpus stands before a good picture
#      in the background list. The saver starts on the first entry it can load:
#      a file it refuses is named in the log with its reason, and the fire then
#      burns over the good picture. A hostile file that still makes a picture
#      (a cut run-length packet, an odd colour map) is shown instead; the list
#      then starts again after it, in another run.
#   2. The refused files again, reached by timed changes from the good picture:
#      each is tried in turn and refused, and the fire goes on.
# Usage: hostile_pictures_test.sh SAVER
. "$(dirname "$0")/e2e_lib.sh"
saver=$(readlink -f "$1")
w=800 h=600

start_display "${w}x${h}x24" || exit 1
prepare_prefix
settings=$E2E_TMP/settings
pictures=$E2E_TMP/pictures
make_settings_folder "$settings"
mkdir -p "$pictures"
set_settings_folder "$settings"
cp "$e2e_root"/tests/data/image/malformed/* "$pictures/"
: >"$pictures/empty.bmp"
make_picture "$E2E_TMP/good.png" "$w" "$h"
convert "$E2E_TMP/good.png" -type truecolor "BMP3:$pictures/zz_good.bmp"

# use_backgrounds INTERVAL NAME...: the [Background] list of config.ini, the
# first entry current, and the background interval's slider position.
use_backgrounds() {
  local interval=$1; shift
  local i=0 name
  {
    echo "[Background]"
    echo "num=$#"
    for name in "$@"; do echo "path$i=$(windows_path "$pictures/$name")"; i=$((i + 1)); done
    echo "currentOrder=0"
    echo
    awk '/^\[/ { keep = ($0 != "[Background]") } keep' "$E2E_TMP/config.base"
  } >"$settings/config.ini"
  sed -i -E "s/^changeBackgroundTime=.*/changeBackgroundTime=$interval/" "$settings/config.ini"
}
cp "$settings/config.ini" "$E2E_TMP/config.base"

# run_saver SECONDS: starts /s, lets it run, takes the best of a few
# screenshots, presses a key. Sets RUN_PROBLEM to what went wrong (empty when
# nothing did) and LIT to the brightest screenshot's mean.
run_saver() {
  RUN_PROBLEM="" LIT=0
  rm -f "$settings/log.txt"
  "$WINE64" "$saver" /s >/dev/null 2>&1 &
  local pid=$! shot=$E2E_TMP/shot.png b i
  if ! wait_for_line "$settings/log.txt" "BigApp::Init() end" 30; then
    RUN_PROBLEM="did not start within 30 s"
  fi
  sleep "$1"
  for i in 1 2 3; do
    screenshot "$shot" && b=$(mean_brightness "$shot") && [ "$b" -gt "$LIT" ] && LIT=$b
    sleep 0.5
  done
  kill -0 "$pid" 2>/dev/null || RUN_PROBLEM="${RUN_PROBLEM:-ended by itself}"
  log_lines "$settings/log.txt" >"$E2E_TMP/log.txt" 2>/dev/null
  grep -q "^BigApp::OnEnd()" "$E2E_TMP/log.txt" && RUN_PROBLEM="${RUN_PROBLEM:-ended its frame loop without a key}"
  xdotool key space
  if ! wait_for_exit "$pid" 10; then
    RUN_PROBLEM="${RUN_PROBLEM:-still running 10 s after a key}"
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  elif [ "$EXIT_STATUS" -ne 0 ]; then
    RUN_PROBLEM="${RUN_PROBLEM:-exit code $EXIT_STATUS}"
  fi
  log_lines "$settings/log.txt" >"$E2E_TMP/log.txt" 2>/dev/null
}

refused_in_log() { grep -qF "\\$1' cannot be shown: " "$E2E_TMP/log.txt"; }

# 1. As the first background.
mapfile -t remaining < <(cd "$pictures" && ls | grep -v '^zz_good.bmp$' | sort)
total=${#remaining[@]}
refused=()
runs=0
while [ "${#remaining[@]}" -gt 0 ] && [ "$runs" -lt 40 ]; do
  runs=$((runs + 1))
  use_backgrounds 50 "${remaining[@]}" zz_good.bmp
  run_saver 2
  # The entries the start skipped, up to the one it showed.
  shown=zz_good.bmp
  next=()
  for i in "${!remaining[@]}"; do
    if refused_in_log "${remaining[$i]}"; then
      refused+=("${remaining[$i]}")
    else
      shown=${remaining[$i]}
      next=("${remaining[@]:$((i + 1))}")
      break
    fi
  done
  reason=$(grep -F "cannot be shown" "$E2E_TMP/log.txt" | sed -E 's/.*cannot be shown: //' | sort | uniq -c | tr -s ' ' |
    paste -sd';' -)
  echo "run $runs: showed $shown, brightness $LIT; refused so far ${#refused[@]} ($reason)"
  check "run $runs (starting at ${remaining[0]}): ${RUN_PROBLEM:-no crash, a key ends it with code 0}" \
    [ -z "$RUN_PROBLEM" ]
  if [ "$shown" = zz_good.bmp ]; then
    check "run $runs: the fire burns over the good picture (brightness $LIT)" [ "$LIT" -ge 8 ]
  fi
  remaining=("${next[@]}")
done
check "every file was tried as the first background (${#refused[@]} refused of $total)" [ "${#remaining[@]}" -eq 0 ]
check "the damaged files are refused, not shown" [ "${#refused[@]}" -ge $((total / 2)) ]

# 2. Reached by a timed change: every 5 s (position 0) the next entry is due,
# and the refused ones are passed over one frame after another.
use_backgrounds 0 zz_good.bmp "${refused[@]}"
run_saver 8
check "timed changes: ${RUN_PROBLEM:-no crash, a key ends it with code 0}" [ -z "$RUN_PROBLEM" ]
missed=0
for name in "${refused[@]}"; do refused_in_log "$name" || missed=$((missed + 1)); done
check "timed changes: each refused file was tried and refused again ($missed not tried)" [ "$missed" -eq 0 ]
check "timed changes: the fire goes on (brightness $LIT)" [ "$LIT" -ge 8 ]
finish
