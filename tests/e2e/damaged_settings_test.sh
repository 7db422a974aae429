#!/usr/bin/env bash
# Damaged settings files (make_damaged_settings.py: huge and negative counts,
# 100,000-character lines, NUL bytes, a thousand palettes, duplicate sections, a
# file cut in the middle of a line) through every mode: full screen (/s) and the
# settings mode (/c, ended by OK) of the real saver under Wine, hearthmoor-render
# and hearthmoor-x11 in a window of its own. Prints one table of what each run
# measured: the time from the start to the first frame (full screen: the log's
# "BigApp::Init() end", settings mode: "ConfigApp::Init end", x11: the fire
# made; hearthmoor-render: a whole one-frame run) and the process's peak
# resident memory. Times and memory are reported, not judged: the checks are that
# each run starts, shows fire, ends cleanly, and that the settings mode's OK
# writes files that load back (a second settings-mode start lists as many
# backgrounds as config.ini holds, and a render from them shows fire).
# The native tools are optional (the Release build of the "deb" preset gives
# memory figures without the sanitizers' share): a mode whose program is not
# there is skipped, and so is the render check of what OK wrote.
# E2E_DAMAGE (a list of names) limits the run to those kinds of damage.
# Usage: damaged_settings_test.sh SAVER SETTINGS_DRIVER [HEARTHMOOR_RENDER [HEARTHMOOR_X11]]
. "$(dirname "$0")/e2e_lib.sh"
saver=$(readlink -f "$1") driver=$(readlink -f "$2")
render="" x11=""
if [ -x "${3:-}" ]; then render=$(readlink -f "$3"); else echo "note: no hearthmoor-render (${3:-not given}): skipped"; fi
if [ -x "${4:-}" ]; then x11=$(readlink -f "$4"); else echo "note: no hearthmoor-x11 (${4:-not given}): skipped"; fi
w=1024 h=768

start_display "${w}x${h}x24" || exit 1
make_picture "$E2E_TMP/desktop.png" "$w" "$h"
convert "$E2E_TMP/desktop.png" -type truecolor "BMP3:$E2E_TMP/desktop.bmp"
show_picture "$E2E_TMP/desktop.png"
prepare_prefix
mapfile -t cases < <(python3 "$e2e_dir/make_damaged_settings.py" "$e2e_root/data" "$E2E_TMP/cases")
[ -n "${E2E_DAMAGE:-}" ] && read -ra cases <<<"$E2E_DAMAGE"
drive() { "$WINE64" "$driver" "$@" | tr -d '\r'; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
peak_kb() { awk '/^VmHWM:/ { print $2 }' "/proc/$1/status" 2>/dev/null || echo "?"; }

# wait_started LOG LINE SECONDS: the milliseconds from STARTED_AT until LINE is in
# the log (polled every 20 ms), in WAITED; false when it does not come.
wait_started() {
  local limit=$(($3 * 50)) i
  for ((i = 0; i < limit; i++)); do
    if [ -f "$1" ] && tr -d '\r' <"$1" | grep -qF ": $2"; then
      WAITED=$(($(now_ms) - STARTED_AT))
      return 0
    fi
    sleep 0.02
  done
  WAITED="-"
  return 1
}

# look_for_fire [GEOMETRY]: waits until the screen (or that part of it) is lit.
# Sets FIRE to the last brightness, and PROBLEM when none was lit.
look_for_fire() {
  until_lit 8 shot_figure "$E2E_TMP/shot.png" mean_brightness "$@" || PROBLEM="${PROBLEM:-no fire}"
  FIRE=$LIT
}

# Each run sets START (ms), PEAK (KB), FIRE (a brightness measure) and PROBLEM
# (empty when the run started, showed fire and ended cleanly).
run_fullscreen() {
  local folder=$1 pid
  set_settings_folder "$folder"
  STARTED_AT=$(now_ms)
  "$WINE64" "$saver" /s >/dev/null 2>&1 &
  pid=$!
  wait_started "$folder/log.txt" "BigApp::Init() end" 30 || PROBLEM="did not start"
  START=$WAITED
  look_for_fire
  PEAK=$(peak_kb "$pid")
  kill -0 "$pid" 2>/dev/null || PROBLEM="${PROBLEM:-ended by itself}"
  xdotool key space
  wait_for_exit "$pid" 10 || { kill -9 "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; }
  [ "$EXIT_STATUS" = 0 ] || PROBLEM="${PROBLEM:-ended with $EXIT_STATUS}"
}

preview_fire() {
  local crop
  crop=$(drive window Preview | awk '/visible 1/ { split($6, size, "x"); split($8, at, ","); print "320x" size[2] "+" at[1] "+" at[2] }')
  screenshot "$E2E_TMP/shot.png"
  if [ -n "$crop" ]; then bright_share "$E2E_TMP/shot.png" "$crop" 2>/dev/null || echo 0; else echo 0; fi
}

# The values OK writes are sound: positions are whole numbers (kept as read,
# a negative one meaning the longest interval), lists no longer than the limits,
# each index inside its list (0 for an empty one).
clean_config() {
  local config=$1 key value num
  for key in changeBackgroundTime changeColorTime changeBlurTime; do
    value=$(ini_value "$config" TimeSection "$key")
    [[ "$value" =~ ^-?[0-9]+$ ]] || return 1
  done
  for key in "Background currentOrder 10000" "ColorTableInfo index 256" "blur currentOrder 10000"; do
    set -- $key
    num=$(ini_value "$config" "$1" num) value=$(ini_value "$config" "$1" "$2")
    [[ "$num" =~ ^[0-9]+$ && "$value" =~ ^[0-9]+$ ]] && [ "$num" -le "$3" ] || return 1
    [ "$value" -lt "$num" ] || [ "$value" = 0 ] || return 1
  done
}

run_settings() {
  local folder=$1 pid rows count
  set_settings_folder "$folder"
  STARTED_AT=$(now_ms)
  "$WINE64" "$saver" /c >/dev/null 2>&1 &
  pid=$!
  wait_started "$folder/log.txt" "ConfigApp::Init end" 30 || PROBLEM="did not start"
  START=$WAITED
  drive wait 20 >/dev/null || PROBLEM="${PROBLEM:-no dialog}"
  until_lit 20 preview_fire || PROBLEM="${PROBLEM:-no fire in the preview}"
  FIRE=$LIT
  PEAK=$(peak_kb "$pid")
  drive command 1
  wait_for_exit "$pid" 20 || { kill -9 "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; }
  [ "$EXIT_STATUS" = 0 ] || PROBLEM="${PROBLEM:-OK ended it with $EXIT_STATUS}"
  # What OK wrote is sound and loads back.
  clean_config "$folder/config.ini" || PROBLEM="${PROBLEM:-OK wrote unsound values}"
  count=$(ini_value "$folder/config.ini" Background num)
  "$WINE64" "$saver" /c >/dev/null 2>&1 &
  pid=$!
  if drive wait 30 >/dev/null; then
    rows=$(drive rows 1001 | grep -c '^row ')
    drive command 2
  fi
  wait_for_exit "$pid" 20 || { kill -9 "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; }
  [ "${rows:-x}" = "${count:-y}" ] || PROBLEM="${PROBLEM:-OK wrote $count backgrounds, ${rows:-none} listed again}"
  if [ -n "$render" ]; then
    mkdir -p "$folder/out"
    "$render" --settings "$folder" --size 320x240 --desktop "$E2E_TMP/desktop.bmp" --frames 60 --out "$folder/out" \
      --quiet >/dev/null 2>&1 || PROBLEM="${PROBLEM:-what OK wrote does not render}"
    [ "$(mean_brightness "$folder/out/frame-00060.png" 2>/dev/null || echo 0)" -ge 8 ] ||
      PROBLEM="${PROBLEM:-what OK wrote renders no fire}"
  fi
}

run_render() {
  local folder=$1 measured
  mkdir -p "$folder/out"
  STARTED_AT=$(now_ms)
  "$render" --settings "$folder" --desktop "$E2E_TMP/desktop.bmp" --frames 1 --out "$folder/out" --quiet \
    >/dev/null 2>&1 || PROBLEM="a one-frame run failed"
  START=$(($(now_ms) - STARTED_AT))
  /usr/bin/time -o "$folder/peak" -f '%M' "$render" --settings "$folder" --desktop "$E2E_TMP/desktop.bmp" \
    --frames 90 --out "$folder/out" --quiet >/dev/null 2>&1 || PROBLEM="${PROBLEM:-a 90-frame run failed}"
  PEAK=$(tail -n 1 "$folder/peak")
  FIRE=$(mean_brightness "$folder/out/frame-00090.png" 2>/dev/null || echo 0)
  [ "$FIRE" -ge 8 ] || PROBLEM="${PROBLEM:-no fire}"
}

run_x11() {
  local folder=$1 pid
  STARTED_AT=$(now_ms)
  "$x11" -window -settings "$folder" >/dev/null 2>&1 &
  pid=$!
  wait_started "$folder/log.txt" "X11Saver::MakeFire" 20 || PROBLEM="did not start"
  START=$WAITED
  look_for_fire 800x600+0+0
  PEAK=$(peak_kb "$pid")
  kill -TERM "$pid" 2>/dev/null
  wait_for_exit "$pid" 10 || { kill -9 "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; }
  [ "$EXIT_STATUS" = 0 ] || PROBLEM="${PROBLEM:-ended with $EXIT_STATUS}"
}

modes=(fullscreen settings)
[ -n "$render" ] && modes+=(render)
[ -n "$x11" ] && modes+=(x11)
printf '%-20s %-11s %10s %10s %6s  %s\n' "damage" "mode" "start ms" "peak KB" "fire" "result"
for case in "${cases[@]}"; do
  for mode in "${modes[@]}"; do
    folder=$E2E_TMP/runs/$case-$mode
    mkdir -p "$folder"
    cp "$E2E_TMP/cases/$case/config.ini" "$E2E_TMP/cases/$case/store.ini" "$folder/"
    START="-" PEAK="-" FIRE="-" PROBLEM=""
    "run_$mode" "$folder"
    printf '%-20s %-11s %10s %10s %6s  %s\n' "$case" "$mode" "$START" "$PEAK" "$FIRE" "${PROBLEM:-ok}"
    [ -z "$PROBLEM" ] || fail "$case, $mode: $PROBLEM"
  done
done
finish
