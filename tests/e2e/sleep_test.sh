#!/usr/bin/env bash
# Full screen ("/s") while nobody can see it: the notifications Windows sends
# about the system (suspended), the console display (off, dimmed), the session
# (locked, disconnected) and the power (battery, energy saver) are sent to the
# saver's window as the system would send them. Asleep, it draws nothing (the screen stays still, no
# frame is counted) and uses next to no processor time, which is measured and
# printed; woken, it draws again at once. On battery it draws 15 frames a
# second and says so; on mains 30 again.
# Usage: sleep_test.sh SAVER NOTIFY_SAVER
. "$(dirname "$0")/e2e_lib.sh"
saver=$(readlink -f "$1") notifier=$(readlink -f "$2")

desktop_session 1024 768 || exit 1
log=$settings/log.txt

notify() { "$WINE64" "$notifier" "full wnd Class" "$@" >/dev/null 2>&1; }
# The frame loop's pacing lines, without time stamps.
pacing_lines() { log_lines "$log" | grep '^BaseApp::MainLoop() '; }
count_of() { pacing_lines | grep -cF "$1"; }
# wait_for_more TEXT COUNT: until more than COUNT pacing lines hold TEXT (5 s).
wait_for_more() {
  local _
  for _ in $(seq 1 25); do [ "$(count_of "$1")" -gt "$2" ] && return 0; sleep 0.2; done
  return 1
}
last_of() { pacing_lines | grep -F "$1" | tail -1; }
# frame_of LINE: the frame number a pacing line ends with.
frame_of() { sed -E 's/.*\(frame ([0-9]+)\)$/\1/' <<<"$1"; }
# stamp_of TEXT: the time stamp (ms) of the last log line holding TEXT.
stamp_of() { tr -d '\r' <"$log" | grep -F "$1" | tail -1 | cut -d: -f1; }
# cpu_us PID: the processor time all threads of the process have used so far,
# in microseconds (the scheduler counts nanoseconds; /proc/PID/stat only ticks).
cpu_us() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ ns += $1 } END { printf "%d\n", ns / 1000 }'; }

# asleep_then_awake WHAT OFF ON REASON [SECONDS]: OFF puts the saver to sleep
# for REASON, ON wakes it; no frame is drawn in between.
asleep_then_awake() {
  local what=$1 off=$2 on=$3 reason=$4 seconds=${5:-1} sleeps wakes slept woke
  sleeps=$(count_of "asleep: $reason") wakes=$(count_of "awake after")
  check "$what $off: the saver takes the notification" notify "$what" "$off"
  check "  ... and falls asleep: $reason" wait_for_more "asleep: $reason" "$sleeps"
  sleep "$seconds"
  check "$what $on: the saver takes the notification" notify "$what" "$on"
  check "  ... and wakes" wait_for_more "awake after" "$wakes"
  slept=$(last_of "asleep: $reason") woke=$(last_of "awake after")
  echo "  $slept / $woke"
  check "  ... having drawn no frame asleep" [ "$(frame_of "$slept")" = "$(frame_of "$woke")" ]
}

"$WINE64" "$saver" /s &
pid=$!
wait_for_line "$log" "BigApp::Init() end" 30 || fail "the saver started within 30 s"
sleep 3
# This prefix's wineserver (other prefixes may have theirs): it works in a
# folder named after the prefix's device and inode.
server_dir=$(printf 'server-%x-%x' "$(stat -c %d "$E2E_PREFIX")" "$(stat -c %i "$E2E_PREFIX")")
server=""
for candidate in $(pgrep wineserver); do
  [ "$(basename "$(readlink "/proc/$candidate/cwd")")" = "$server_dir" ] && server=$candidate
done
[ -n "$server" ] || { echo "note: this prefix's wineserver is not found; its time is not measured"; server=$pid; }

# Awake, for comparison: processor time over 5 s.
before=$(cpu_us "$pid") server_before=$(cpu_us "$server")
sleep 5
awake_us=$(($(cpu_us "$pid") - before)) awake_server_us=$(($(cpu_us "$server") - server_before))

# The display goes off: asleep for 10 s, measured, with the screen held still.
check "display off: the saver takes the notification" notify display off
check "  ... and falls asleep: display off" wait_for_more "asleep: display off" 0
sleep 1
screenshot "$E2E_TMP/asleep-1.png"
before=$(cpu_us "$pid") server_before=$(cpu_us "$server")
sleep 10
asleep_us=$(($(cpu_us "$pid") - before)) asleep_server_us=$(($(cpu_us "$server") - server_before))
screenshot "$E2E_TMP/asleep-2.png"
awk -v a="$awake_us" -v as="$awake_server_us" -v s="$asleep_us" -v ss="$asleep_server_us" 'BEGIN {
  printf "processor time: awake %.1f ms in 5 s (wineserver %.1f ms); asleep %.1f ms in 10 s (wineserver %.1f ms)\n",
    a / 1000, as / 1000, s / 1000, ss / 1000
  printf "asleep: %.3f%% of a core for the saver, %.3f%% for the wineserver\n", s / 100000, ss / 100000 }'
check "asleep, the screen does not change" [ "$(image_difference "$E2E_TMP/asleep-1.png" "$E2E_TMP/asleep-2.png")" -eq 0 ]
# Relative to the same process awake on this (shared, loaded) machine.
check "asleep, the saver uses under a tenth of the processor time it uses awake" [ $((asleep_us * 5)) -lt "$awake_us" ]
check "display on: the saver takes the notification" notify display on
check "  ... and wakes" wait_for_more "awake after" 0
slept=$(last_of "asleep: display off") woke=$(last_of "awake after")
echo "  $slept / $woke"
check "  ... having drawn no frame asleep" [ "$(frame_of "$slept")" = "$(frame_of "$woke")" ]
sleep 1
screenshot "$E2E_TMP/awake.png"
check "awake, the fire moves again" [ "$(image_difference "$E2E_TMP/asleep-2.png" "$E2E_TMP/awake.png")" -gt 0 ]

asleep_then_awake display dimmed on "display dimmed"
asleep_then_awake system suspend resume "system suspended"
asleep_then_awake session lock unlock "session locked"
asleep_then_awake session remote-disconnect remote-connect "session disconnected"
asleep_then_awake session console-disconnect console-connect "session disconnected"

# On battery: 15 frames a second from the line that says so to the next sleep.
check "power battery: the saver takes the notification" notify power battery
check "  ... and says it draws 15 frames a second" wait_for_more "on battery: 15 frames a second" 0
sleep 6
notify display off
wait_for_more "asleep: display off" 1
from=$(last_of "on battery") to=$(last_of "asleep: display off")
frames=$(($(frame_of "$to") - $(frame_of "$from")))
ms=$(($(stamp_of "asleep: display off") - $(stamp_of "on battery")))
rate=$(awk -v f="$frames" -v ms="$ms" 'BEGIN { if (ms > 0) printf "%.1f", f * 1000 / ms; else print 0 }')
echo "on battery: $frames frames in $ms ms: $rate a second"
check "on battery the saver draws at most 15 frames a second ($rate)" awk -v r="$rate" 'BEGIN { exit !(r >= 3 && r <= 15.5) }'
notify display on
check "power mains: the saver takes the notification" notify power mains
check "  ... and says it draws 30 frames a second" wait_for_more "on mains: 30 frames a second" 0
check "energy saver on: the saver takes the notification" notify saver on
check "  ... and says it draws 15 frames a second" wait_for_more "energy saver on: 15 frames a second" 0
check "energy saver off: the saver takes the notification" notify saver off
check "  ... and is back at 30" wait_for_more "on mains: 30 frames a second" 1

# Minimised (as switching away from a full-screen program does), the window shows nothing.
wakes=$(count_of "awake after")
notify minimise
check "minimised: asleep" wait_for_more "asleep: window minimised" 0
notify restore
check "  ... restored: awake" wait_for_more "awake after" "$wakes"

xdotool key space
wait_for_exit "$pid" 10 || { fail "the saver ended on a key press"; kill "$pid" 2>/dev/null; }
check "the saver ends with exit code 0" [ "${EXIT_STATUS:-}" = 0 ]
# What the wineserver spends without any saver (on the session's other programs),
# to set its time asleep against.
if [ "$server" != "$pid" ] && [ -d "/proc/$server" ]; then
  server_before=$(cpu_us "$server")
  sleep 10
  awk -v s="$(($(cpu_us "$server") - server_before))" \
    'BEGIN { printf "the wineserver without a saver: %.1f ms in 10 s (%.3f%% of a core)\n", s / 1000, s / 100000 }'
fi
echo "the pacing lines of the run:"
pacing_lines | sed 's/^/  /'
finish
