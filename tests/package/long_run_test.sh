#!/usr/bin/env bash
# The saver keeps running, with its timed changes pressed together:
# full screen for MINUTES minutes (at least 10) with every change interval at
# its shortest (5 s) and the fire's time running ten times as fast
# (HEARTHMOOR_TIME_SCALE): each change comes half a second after the last one
# ended (a background's wipe still takes its frames), hundreds of changes in
# the run, as many as hours at the shortest intervals would bring. The
# backgrounds are the desktop and the whole corpus of damaged pictures, each
# followed by a good one; each refused one is named in the log with its
# reason. It must not
# grow: its resident memory after minute 10 stays within 2 MiB of minute 2,
# log.txt gains less than four lines a second and stays within its bound, and
# report.csv is as long as after a short run. No frame stage throws, and a key
# ends it with exit code 0. The frames per second of every minute are printed,
# not judged (the machine is shared).
# Usage: long_run_test.sh SAVER [MINUTES]
. "$(dirname "$0")/package_lib.sh"
saver=$(readlink -f "$1") minutes=${2:-10}
[ "$minutes" -ge 10 ] || minutes=10

boot_prefix || exit 1
start_display 1024x768x24 || exit 1
make_picture "$E2E_TMP/desktop.png" 1024 768
show_picture "$E2E_TMP/desktop.png"
prepare_prefix
settings=$E2E_TMP/settings
make_settings_folder "$settings"
convert -size 1024x768 plasma:fractal -seed 7 "BMP3:$settings/picture.bmp" 2>/dev/null ||
  convert -size 1024x768 gradient:'#203050'-'#d0c0a0' "BMP3:$settings/picture.bmp"
convert "$settings/picture.bmp" -rotate 180 "$settings/picture.jpg"
# A good picture after every damaged one: a damaged file that still decodes
# may be dark (a cut run-length picture is mostly black, and gives no edges to
# burn on), so dark stretches last one wipe at most.
backgrounds=(Desktop) good=(picture.bmp picture.jpg)
for damaged in "$e2e_root"/tests/data/image/malformed/*; do
  backgrounds+=("$(windows_path "$damaged")" "${good[$((${#backgrounds[@]} / 2 % 2))]}")
done
{
  printf '[Background]\r\nnum=%d\r\n' "${#backgrounds[@]}"
  for i in "${!backgrounds[@]}"; do printf 'path%d=%s\r\n' "$i" "${backgrounds[$i]}"; done
  printf 'currentOrder=0\r\n\r\n'
  awk '/^\[/ { keep = ($0 !~ /^\[Background\]/) } keep' "$settings/config.ini"
} >"$E2E_TMP/config.ini" && mv "$E2E_TMP/config.ini" "$settings/config.ini"
sed -i -E 's/^(changeBackgroundTime|changeColorTime|changeBlurTime)=.*/\1=0\r/' "$settings/config.ini"
set_settings_folder "$settings"
windows_saver=$(windows_path "$saver")

# A short run first: it warms the new prefix and gives the report's length.
run_saver_lit "$windows_saver" "$settings" "$E2E_TMP/short.png" || fail "the short run drew"
sleep 2
end_saver
check "the short run ends with exit code 0" [ "$EXIT_STATUS" = 0 ]
short_report=$(stat -c %s "$settings/report.csv" 2>/dev/null || echo 0)

# The least resident size over six seconds: a picture being loaded holds a
# few MiB for a moment, a leak raises the floor.
rss_kib() {
  local least="" now
  for _ in 1 2 3 4 5 6; do
    now=$(awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null)
    if [ -n "$now" ] && { [ -z "$least" ] || [ "$now" -lt "$least" ]; }; then least=$now; fi
    sleep 1
  done
  echo "$least"
}
# Wine's fps channel prints the rate of flips about once a second; the
# saver's own count only reaches report.csv at its end.
export WINEDEBUG=fixme-all,err-all,+fps
HEARTHMOOR_TIME_SCALE=10 "$WINE64" "$windows_saver" /s 2>>"$E2E_TMP/fps.log" &
SAVER_PID=$!
export WINEDEBUG=-all
wait_for_line "$settings/log.txt" "BigApp::Init() end" 60 || fail "the long run started within 60 s"
started=$(date +%s)
echo "minute  rss_kib  log_bytes  fps"
rss=() logs=()
for minute in $(seq 1 "$minutes"); do
  sleep $((started + minute * 60 - $(date +%s)))
  kill -0 "$SAVER_PID" 2>/dev/null || { fail "the saver ran until minute $minute"; break; }
  rss[$minute]=$(rss_kib "$SAVER_PID")
  logs[$minute]=$(stat -c %s "$settings/log.txt")
  # One line about every second for the flips to the front buffer.
  fps=$(sed -nE 's/.*ddraw_surface_update_frontbuffer .* approx ([0-9.]+)fps.*/\1/p' "$E2E_TMP/fps.log" |
    awk '$1 > 0 { s += $1; n++ } END { if (n) printf "%.1f", s / n; else print "n/a" }')
  : >"$E2E_TMP/fps.log"
  printf '%6d  %7s  %9s  %s\n' "$minute" "${rss[$minute]}" "${logs[$minute]}" "$fps"
done
# A screenshot a second until one is lit, for up to 30 s: a damaged picture
# that still decodes may be dark, and the next good one follows within a wipe.
lit=0
for _ in $(seq 1 30); do
  if screenshot "$E2E_TMP/shot.png" && [ "$(mean_brightness "$E2E_TMP/shot.png")" -gt "$lit" ]; then
    lit=$(mean_brightness "$E2E_TMP/shot.png") && cp "$E2E_TMP/shot.png" "$E2E_TMP/long.png"
  fi
  [ "$lit" -ge 8 ] && break
  sleep 1
done
end_saver
check "a key ends the long run with exit code 0 ($EXIT_STATUS)" [ "$EXIT_STATUS" = 0 ]

# Measured from minute 2: the first minute's floor is not yet the steady one
# (seen on a CI machine: one step of 2.3 MiB between minutes 1 and 2, then flat
# for eight minutes); a leak keeps raising the floor after it.
growth=$((${rss[$minutes]:-0} - ${rss[2]:-0}))
echo "resident memory: minute 2 ${rss[2]:-?} KiB, minute $minutes ${rss[$minutes]:-?} KiB, growth $growth KiB"
check "resident memory after minute $minutes within 2 MiB of minute 2 ($growth KiB)" \
  [ -n "${rss[2]:-}" -a -n "${rss[$minutes]:-}" -a "$growth" -le 2048 ]
# Loading a picture leaves a line, a refused one its reason: about two a
# second here; a line a frame would be 30. Allowed: less than four a second,
# of 160 bytes, and the file within the log's bound (1 MiB, then moved aside).
log_growth=$((${logs[$minutes]:-0} - ${logs[1]:-0}))
check "log.txt grows by less than four lines a second ($log_growth bytes in $((minutes - 1)) minutes)" \
  [ -n "${logs[1]:-}" -a "$log_growth" -le $(((minutes - 1) * 60 * 4 * 160)) ]
check "log.txt stays within its bound" [ "$(stat -c %s "$settings/log.txt")" -le $((1048576 + 256)) ]
changes=$(grep -c "cannot be shown" "$settings/log.txt")
check "damaged pictures were reached and refused by timed changes ($changes)" [ "$changes" -ge 10 ]
long_report=$(stat -c %s "$settings/report.csv" 2>/dev/null || echo 0)
check "report.csv is as long as after a short run ($short_report -> $long_report bytes)" \
  [ "$long_report" -gt 0 -a "$long_report" -le $((short_report + 1024)) ]
check "no frame stage threw" bash -c "! grep -q 'exception' '$settings/log.txt'"
check "the screen is lit at the end ($lit)" [ "$lit" -ge 8 ]
if [ -n "${E2E_SHOTS:-}" ]; then cp "$E2E_TMP/long.png" "$E2E_SHOTS/long-run.png"; fi
finish
