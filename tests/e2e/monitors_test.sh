#!/usr/bin/env bash
# Full screen ("/s") on two monitors of different sizes (Xephyr with two screens
# joined by Xinerama, nested in Xvfb): both monitors burn and keep changing, each
# over its own part of the desktop picture, and one key ends the saver on both
# with exit code 0. The primary's log lines and timing report stay as with one.
# Usage: monitors_test.sh SAVER
. "$(dirname "$0")/e2e_lib.sh"
saver=$(readlink -f "$1")
# Wine reports the monitors 0,0-1280,1024 (primary) and 1280,0-2304,768.
w=2304 h=1024 sw=1024 sh=768 sx=1280

start_display "${w}x${h}x24" || exit 1
E2E_XEPHYR_PID=""
for n in $(seq 221 260); do
  [ -e "/tmp/.X$n-lock" ] && continue
  Xephyr ":$n" +xinerama -extension RANDR -screen 1280x1024 -screen "${sw}x${sh}" -nolisten tcp >/dev/null 2>&1 &
  E2E_XEPHYR_PID=$!
  for _ in $(seq 1 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  if [ -e "/tmp/.X11-unix/X$n" ]; then
    export DISPLAY=":$n"
    break
  fi
  kill "$E2E_XEPHYR_PID" 2>/dev/null; wait "$E2E_XEPHYR_PID" 2>/dev/null; E2E_XEPHYR_PID=""
done
[ -n "$E2E_XEPHYR_PID" ] || { echo "cannot start Xephyr" >&2; exit 1; }
trap 'kill "$E2E_XEPHYR_PID" 2>/dev/null; wait "$E2E_XEPHYR_PID" 2>/dev/null; e2e_cleanup' EXIT

# A dark desktop with one bright window on each monitor: each fire burns on the
# bottom edge of its own monitor's window.
convert -size "${w}x${h}" gradient:'#101828'-'#182030' -fill '#e8e0d0' \
  -draw "rectangle 320,300 960,800" -draw "rectangle $((sx + 256)),200 $((sx + 768)),600" "$E2E_TMP/desktop.png"
show_picture "$E2E_TMP/desktop.png"
prepare_prefix
settings=$E2E_TMP/settings
make_settings_folder "$settings"
set_settings_folder "$settings"

primary="1280x1024+0+0" secondary="${sw}x${sh}+${sx}+0"
# part_difference A B GEOMETRY SCALE: mean difference of one part of two shots, 0..SCALE.
part_difference() {
  convert \( "$1" -crop "$3" +repage \) \( "$2" -crop "$3" +repage \) -compose difference -composite \
    -colorspace Gray -format "%[fx:int($4*mean+0.5)]" info:
}
lit() {  # lit SHOT: both monitors show something else than the picture there
  local p s
  echo "$(part_difference "$1" "$E2E_TMP/desktop.png" "$primary" 255)" \
    "$(part_difference "$1" "$E2E_TMP/desktop.png" "$secondary" 255)"
}
# Wine now and then shows a new full-screen run black (see fullscreen_test.sh):
# a run whose monitors stay black is repeated before judging.
for attempt in 1 2 3; do
  "$WINE64" "$saver" /s &
  pid=$!
  wait_for_line "$settings/log.txt" "BigApp::Init() end" 30 || fail "the saver started within 30 s"
  sleep 4
  screenshot "$E2E_TMP/first.png"
  bp=$(mean_brightness "$E2E_TMP/first.png" "$primary") bs=$(mean_brightness "$E2E_TMP/first.png" "$secondary")
  [ "$bp" -ge 8 ] && [ "$bs" -ge 8 ] && break
  [ "$attempt" -eq 3 ] && break
  echo "note: a monitor stayed black (brightness $bp, $bs); running the saver once more"
  xdotool key space
  wait_for_exit "$pid" 10 || { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; }
done
sleep 1
screenshot "$E2E_TMP/second.png"
kill -0 "$pid" 2>/dev/null || fail "the saver ended by itself"
xdotool key space
wait_for_exit "$pid" 10
rc=$EXIT_STATUS
check "a key press ends the saver on both monitors with exit code 0 ($rc)" [ "$rc" = 0 ]

read -r dp ds <<<"$(lit "$E2E_TMP/first.png")"
moved_p=$(part_difference "$E2E_TMP/first.png" "$E2E_TMP/second.png" "$primary" 1000)
moved_s=$(part_difference "$E2E_TMP/first.png" "$E2E_TMP/second.png" "$secondary" 1000)
# Each monitor's window: just above its bottom edge flames, in its middle calm.
p_above=$(mean_brightness "$E2E_TMP/first.png" "600x40+340+755")
p_middle=$(mean_brightness "$E2E_TMP/first.png" "600x40+340+500")
s_above=$(mean_brightness "$E2E_TMP/first.png" "470x40+$((sx + 276))+555")
s_middle=$(mean_brightness "$E2E_TMP/first.png" "470x40+$((sx + 276))+350")
s_rest=$(mean_brightness "$E2E_TMP/first.png" "200x200+$((sx + 20))+20")
echo "changed from the picture: primary $dp, secondary $ds; between shots: primary $moved_p, secondary $moved_s /1000;" \
  "brightness above the bottom edge / in the middle: primary $p_above/$p_middle, secondary $s_above/$s_middle"
check "the primary monitor burns (brightness $bp, changed $dp)" [ "$bp" -ge 8 -a "$dp" -ge 4 ]
check "the other monitor burns (brightness $bs, changed $ds)" [ "$bs" -ge 8 -a "$ds" -ge 4 ]
check "the primary's fire changes" [ "$moved_p" -ge 1 ]
check "the other monitor's fire changes" [ "$moved_s" -ge 1 ]
check "flames rise from the primary's window edge" [ "$p_above" -ge $((p_middle + 4)) ]
check "flames rise from the other monitor's own window edge" [ "$s_above" -ge $((s_middle + 4)) ]
check "the other monitor's dark desktop stays dark ($s_rest)" [ "$s_rest" -le 60 ]

log_lines "$settings/log.txt" >"$E2E_TMP/log.txt"
check "log.txt names both monitors and lights the other one" contains_in_order "$E2E_TMP/log.txt" \
  "BigApp::Init() begin" "OtherMonitors::Prepare() 2 monitors, desktop 0,0 ${w}x${h}" \
  "OtherMonitors::Start() monitor 1 at ${sx},0 ${sw}x${sh}" "OtherMonitors::Start() 1 other monitors lit, 2 threads" \
  "width = 1280, height = 1024" "BaseApp::Init() end" "BigApp::Init() end" "BigApp::OnEnd()" "BaseApp::Run() End"

tr -d '\r' <"$settings/report.csv" >"$E2E_TMP/report.csv"
frames=$(awk -F, '$1 == "1: BaseApp::OnMain()" { print $4 }' "$E2E_TMP/report.csv")
updates=$(awk -F, '$1 == " 2: FireManager::Update()" { print $4 }' "$E2E_TMP/report.csv")
echo "report: ${frames:-none} frames, ${updates:-none} timed updates"
check "report.csv times the primary's frames only, as with one monitor" [ "${frames:-0}" -ge 10 -a "${updates:-0}" = "${frames:-1}" ]
finish
