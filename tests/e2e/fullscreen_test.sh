#!/usr/bin/env bash
# Full screen ("/s") over a picture on the X screen with "Desktop" as the
# background: the fire burns on the picture's edges in the palette's colours,
# a key ends it at once, and the run leaves its log, report and positions.
# Usage: fullscreen_test.sh SAVER XDEPTH [WIDTHxHEIGHT]
# (the X depth 24 is what Windows programs see as 32 bits a pixel)
. "$(dirname "$0")/e2e_lib.sh"
saver=$(readlink -f "$1") depth=$2 size=${3:-1024x768}
w=${size%x*} h=${size#*x}
bpp=$depth
[ "$depth" = 24 ] && bpp=32

start_display "${size}x${depth}" || exit 1
make_picture "$E2E_TMP/desktop.png" "$w" "$h"
show_picture "$E2E_TMP/desktop.png"
prepare_prefix
settings=$E2E_TMP/settings
make_settings_folder "$settings"
# Palette and style change every 5 s (position 0), so the positions written at
# the end differ from those read; an out-of-range background index reads as 0.
sed -i -E 's/^changeColorTime=.*/changeColorTime=0\r/; s/^changeBlurTime=.*/changeBlurTime=0\r/' "$settings/config.ini"
sed -i -E '/^\[Background\]/,/^\[/ s/^currentOrder=.*/currentOrder=5\r/' "$settings/config.ini"
echo "a line of an earlier run" >"$settings/log.txt"
set_settings_folder "$settings"

cp "$settings/config.ini" "$E2E_TMP/config.ini.before"
# Now and then Wine shows the full-screen window black although frames are
# presented, sometimes for a whole run (mostly the first run of a new prefix):
# later frames are looked at for a few seconds, and a run that stays black is
# repeated once from the same settings before judging.
for attempt in 1 2; do
  "$WINE64" "$saver" /s &
  pid=$!
  # From the end of the initialisation on, the fire runs.
  wait_for_line "$settings/log.txt" "BigApp::Init() end" 30 || fail "the saver started within 30 s"
  sleep 4
  screenshot "$E2E_TMP/fire.png"
  for _ in 1 2 3 4 5; do
    [ "$(mean_brightness "$E2E_TMP/fire.png")" -ne 0 ] && break
    echo "note: the screenshot is black; taking another"
    sleep 1
    screenshot "$E2E_TMP/fire.png"
  done
  [ "$(mean_brightness "$E2E_TMP/fire.png")" -ne 0 ] && break
  [ "$attempt" -eq 2 ] && break
  echo "note: the whole run stayed black; running the saver once more"
  xdotool key space
  wait_for_exit "$pid" 10 || { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; }
  cp "$E2E_TMP/config.ini.before" "$settings/config.ini"
done
sleep 2
kill -0 "$pid" 2>/dev/null || fail "the saver ended by itself"
# The mouse does not end the saver.
xdotool mousemove 10 10 mousemove 300 200 click 1
sleep 1
check "mouse movement and clicks leave the saver running" kill -0 "$pid"
pressed=$(date +%s%N)
xdotool key space
wait_for_exit "$pid" 5
rc=$EXIT_STATUS
ended_ms=$((($(date +%s%N) - pressed) / 1000000))
echo "saver ended ${ended_ms} ms after the key press with status $rc"
check "a key press ends the saver with exit code 0" [ "$rc" -eq 0 ]
# A second, stretched by how overloaded the machine is (the tests share it):
# the DirectDraw teardown under Wine takes most of it.
limit_ms=$(awk -v cores="$(nproc)" '{ f = $1 / cores; if (f < 1) f = 1; printf "%d", 1000 * f }' /proc/loadavg)
check "the saver ends within a second of the key press (${ended_ms} ms, allowed ${limit_ms} ms)" \
  [ "$ended_ms" -le "$limit_ms" ]

# What the user saw.
brightness=$(mean_brightness "$E2E_TMP/fire.png")
difference=$(image_difference "$E2E_TMP/desktop.png" "$E2E_TMP/fire.png")
# Bands of the screenshot, each half the picture wide: just above and just
# below the thin rule, and inside the window just above its bottom edge and in
# its middle.
band() { echo "$((w / 2 - 40))x$(($2))+$((w / 4 + 20))+$(($1))"; }
above_rule=$(bright_share "$E2E_TMP/fire.png" "$(band "h / 6 - h / 24" "h / 24 - 2")")
below_rule=$(bright_share "$E2E_TMP/fire.png" "$(band "h / 6 + 6" "h / 24")")
above_bottom=$(mean_brightness "$E2E_TMP/fire.png" "$(band "h * 5 / 6 - h / 24" "h / 24 - 2")")
window_middle=$(mean_brightness "$E2E_TMP/fire.png" "$(band "h * 7 / 12" "h / 24")")
echo "screenshot: mean $brightness, difference from picture $difference;" \
  "rule: bright above $above_rule/1000, below $below_rule/1000;" \
  "window: mean above its bottom edge $above_bottom, in its middle $window_middle"
check "the screen is not black" [ "$brightness" -ge 8 ]
check "the screen differs from the picture" [ "$difference" -ge 20 ]
check "flames rise above the thin rule, not below it" [ "$above_rule" -ge $((below_rule * 4 + 8)) ]
check "flames rise from the window's bottom edge" [ "$above_bottom" -ge $((window_middle + 4)) ]

# The log: this run only, in the order of the initialisation.
log_lines "$settings/log.txt" >"$E2E_TMP/log.txt"
check "log.txt holds no line of an earlier run" bash -c "! grep -q 'earlier run' '$E2E_TMP/log.txt'"
check "log.txt follows the initialisation" contains_in_order "$E2E_TMP/log.txt" \
  "BaseApp::Run() begin" "argc = 2" "BigApp::Init() begin" "BaseApp::Init begin" \
  "BigApp::SetGameParameter() begin" "width = $w, height = $h" "BigApp::SetGameParameter() end" \
  "BaseApp:: init window" "WaterApp::InitWindow()" "create self window" "init directx" \
  "BaseApp::InitDirectX()" "BaseApp::InitDirectX() Full Screen" "END: CDXScreen::CreateFullScreen" "init fire" \
  "BaseApp::InitFire" "FireManager::Create success" "BaseApp::Init() end" "BigApp::Init() end" \
  "BigApp::OnEnd()" "BaseApp::OnEnd()" "BaseApp::Run() End"
check "one monitor: no other monitor is lit" bash -c "! grep -q OtherMonitors '$E2E_TMP/log.txt'"
check "the screen was made at $bpp bits a pixel" grep -q "bpp:$bpp, bVGA:0)" "$E2E_TMP/log.txt"

# report.csv: one frame scope per frame at about 30 a second, fire stages nested.
report=$settings/report.csv
tr -d '\r' <"$report" >"$E2E_TMP/report.csv"
frames=$(awk -F, '$1 == "1: BaseApp::OnMain()" { print $4 }' "$E2E_TMP/report.csv")
stamped=$(tr -d '\r' <"$settings/log.txt")
begin_ms=$(grep -m1 ': BaseApp::Init() end$' <<<"$stamped" | cut -d: -f1)
end_ms=$(grep -m1 ': BigApp::OnEnd()$' <<<"$stamped" | cut -d: -f1)
loop_ms=$((${end_ms:-0} - ${begin_ms:-0}))
rate=$(awk -v f="${frames:-0}" -v ms="$loop_ms" 'BEGIN { if (ms > 0) printf "%.1f", f * 1000 / ms; else print 0 }')
echo "report: ${frames:-none} frames in ${loop_ms} ms of loop: $rate frames a second"
# The frame timer caps the rate at 30 a second; how close a loaded machine
# comes to it is measured, not asserted (benchmarks hold the speed goals).
check "report.csv counts frames at up to 30 a second ($rate)" awk -v r="$rate" 'BEGIN { exit !(r >= 3 && r <= 31) }'
for stage in "FireManager::Update()" "FireManager::Render()" "FireManager::CopyToSurface()" "screen->Flip()"; do
  count=$(awk -F, -v s=" 2: $stage" '$1 == s { print $4 }' "$E2E_TMP/report.csv")
  check "report.csv nests $stage under the frame, once a frame" [ "${count:-0}" -eq "${frames:-1}" ]
done

# The three positions were written back.
check "config.ini: background position written back" [ "$(ini_value "$settings/config.ini" Background currentOrder)" = 0 ]
check "config.ini: palette position advanced and written back" [ "$(ini_value "$settings/config.ini" ColorTableInfo index)" = 1 ]
check "config.ini: style position advanced and written back" [ "$(ini_value "$settings/config.ini" blur currentOrder)" = 1 ]

if [ -n "${E2E_SHOTS:-}" ]; then cp "$E2E_TMP/fire.png" "$E2E_SHOTS/fullscreen-$bpp.png"; fi
finish
