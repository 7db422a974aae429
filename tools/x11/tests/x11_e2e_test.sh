#!/usr/bin/env bash
# hearthmoor-x11 end to end, each scenario on an Xvfb display of its own, with
# the sample picture on the root window and the sample settings (background
# "Desktop", palette and style changing every 5 s).
# Usage: x11_e2e_test.sh SCENARIO SAVER TEST_WINDOW FIRE_DATA_DIR BUILD_DIR HACK_DIR CONFIG_DIR
# (the last three: the build tree, and where it installs the program and its XML)
#   window-id     drawing into a depth-32 window of another program; resizing; SIGTERM
#   sleep         asleep while its window is covered or unmapped, or DPMS has the
#                 display off; processor time asleep measured
#   root-24       the root window at 24 bits (MIT-SHM)
#   root-16       the root window at 16 bits without MIT-SHM (XPutImage)
#   xscreensaver  installed, then run by the xscreensaver daemon (desktop from its grabber)
#   deb           the Debian package built, checked by lintian, installed with dpkg -i
#                 into this machine (root only), run, and removed with dpkg -r
#   failures      no display, a missing window, bad settings, unreadable picture
set -uo pipefail
scenario=$1 saver=$(readlink -f "$2") test_window=$(readlink -f "$3") data=$(readlink -f "$4")
build=${5:-} hack_dir=${6:-} config_dir=${7:-}
tmp=$(mktemp -d /tmp/hearthmoor-x11-e2e.XXXXXX)
chmod 755 "$tmp"
failures=0 pids=() xvfb="" w=1024 h=768
# Present while the deb scenario has the package installed in this machine.
deb_mark=/var/tmp/hearthmoor-x11-deb-test.installed

cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  if [ "$scenario" = deb ] && [ -e "$deb_mark" ]; then
    dpkg -r hearthmoor-x11 >/dev/null 2>&1 && rm -f "$deb_mark"
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else fail "$what"; fi
}

# start_display DEPTH [Xvfb options]: -noreset keeps the root picture when the
# last client leaves.
start_display() {
  local depth=$1 n; shift
  for n in $(seq 230 290); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 "${w}x${h}x$depth" -nolisten tcp -noreset "$@" >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 1 50); do
      if [ -e "/tmp/.X11-unix/X$n" ]; then export DISPLAY=":$n"; return 0; fi
      kill -0 "$xvfb" 2>/dev/null || break
      sleep 0.1
    done
    kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; xvfb=""
  done
  echo "cannot start Xvfb"; exit 1
}

show_picture() {
  convert "$data/sample-hearth.bmp" -resize "${w}x${h}!" "$tmp/desktop.png" && display -window root "$tmp/desktop.png"
}

# A settings folder from the samples, with out-of-range background and palette
# indices: the positions saved at the end are back within the lists.
make_settings() {
  mkdir -p "$1" && cp "$data/sample-settings/config.ini" "$1/"
  sed -i -E '/^\[Background\]/,/^\[/ s/^currentOrder=.*/currentOrder=5/' "$1/config.ini"
  sed -i -E '/^\[ColorTableInfo\]/,/^\[/ s/^index=.*/index=7/' "$1/config.ini"
}
saved_positions() {
  local background palette
  background=$(ini_value "$1/config.ini" Background currentOrder) palette=$(ini_value "$1/config.ini" ColorTableInfo index)
  test "$background" = 0 -a \( "$palette" = 0 -o "$palette" = 1 \)
}

mean() { convert "$1" ${2:+-crop "$2"} -colorspace gray -format '%[fx:mean]' info:; }
brightest() { convert "$1" -crop "$2" -colorspace gray -format '%[fx:maxima]' info:; }
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }  # above A B: A > B
ini_value() {  # the files have Windows line ends
  awk -F= -v s="[$2]" -v k="$3" '{ sub(/\r$/, "") } $0 == s { in_s = 1; next } /^\[/ { in_s = 0 } in_s && $1 == k { print $2 }' "$1"
}

# fire_over_picture SHOT: the house is lit, and flames stand above its roof:
# that sky is brighter, with bright tongues, than the plain sky beside it
# (geometry of the sample at 1024 x 768).
fire_over_picture() {
  local roof=200x90+480+170 sky=200x90+40+170 house
  house=$(mean "$1" 400x280+260+430)
  echo "  house $house; above the roof $(mean "$1" $roof) at most $(brightest "$1" $roof);" \
    "sky $(mean "$1" $sky) at most $(brightest "$1" $sky)"
  above "$house" 0.2 &&
    above "$(mean "$1" $roof)" "$(awk -v s="$(mean "$1" $sky)" 'BEGIN { print s + 0.01 }')" &&
    above "$(brightest "$1" $roof)" "$(awk -v s="$(brightest "$1" $sky)" 'BEGIN { print s + 0.05 }')"
}

# terminate PID: SIGTERM, and the time until the process is gone (ms) in $ended_ms.
terminate() {
  local start
  start=$(date +%s%N)
  kill -TERM "$1"
  wait "$1"
  exit_status=$?
  ended_ms=$((($(date +%s%N) - start) / 1000000))
}

# within SECONDS COMMAND...: true once the command is, tried every half second.
# The saver under AddressSanitizer on a busy machine may need a while to start.
within() {
  local tries=$(($1 * 2)); shift
  for _ in $(seq 1 "$tries"); do "$@" && return 0; sleep 0.5; done
  return 1
}
shot() { import -window "$1" "$2" 2>/dev/null; }
lit() { shot "$1" "$2" && above "$(mean "$2" ${3:-})" 0.05; }  # lit WINDOW FILE [CROP]
burning() { shot root "$1" && fire_over_picture "$1"; }
# moves WINDOW: two shots of it a second apart differ in over 1000 pixels.
moves() {
  local changed
  shot "$1" "$tmp/one.png" && sleep 1 && shot "$1" "$tmp/two.png" || return 1
  changed=$(compare -metric AE "$tmp/one.png" "$tmp/two.png" null: 2>&1)
  echo "  $changed pixels changed in a second"
  above "${changed%% *}" 1000
}

wait_for() {  # wait_for SECONDS COMMAND...
  local tries=$(($1 * 10)); shift
  for _ in $(seq 1 "$tries"); do "$@" && return 0; sleep 0.1; done
  return 1
}

skip() { echo "SKIP: $*"; exit 77; }
need_xscreensaver() {
  command -v xscreensaver >/dev/null && command -v xscreensaver-command >/dev/null ||
    skip "xscreensaver is not installed (scripts/setup installs it)"
}
not() { ! "$@"; }
installed_package() { dpkg-query -W -f='${Status}' hearthmoor-x11 2>/dev/null | grep -q 'ok installed'; }

# under_xscreensaver LINE HOME PATH_FIRST PROGRAM: the xscreensaver daemon with
# LINE as its only hack (PATH_FIRST, if any, before its PATH) starts PROGRAM in
# the window it hands over when activated, which sets the desktop picture on
# fire; deactivated, it ends the program. xscreensaver refuses to run
# hacks as root: then it runs as a user of its own.
under_xscreensaver() {
  local line=$1 home=$2 path_first=$3 program=$4 as_user=() user hack
  mkdir -p "$home"
  cat >"$home/.xscreensaver" <<EOC
mode:		one
selected:	0
fade:		False
unfade:		False
lock:		False
splash:		False
grabDesktopImages:	True
chooseRandomImages:	False
programs:	$line \\n\\

EOC
  user=$(id -un)
  if [ "$(id -u)" -eq 0 ]; then
    user=hearthmoor-xss
    id "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$user" ||
      skip "no unprivileged user can be made for xscreensaver"
    chown -R "$user" "$home"
    as_user=(runuser -u "$user" --)
  fi
  run() { "${as_user[@]}" env HOME="$home" DISPLAY="$DISPLAY" PATH="${path_first:+$path_first:}$PATH" "$@"; }
  run xscreensaver -no-splash >"$tmp/xscreensaver.log" 2>&1 &
  pids+=($!)
  wait_for 10 run xscreensaver-command -version >/dev/null 2>&1 ||
    { cat "$tmp/xscreensaver.log"; skip "the xscreensaver daemon does not start here"; }
  run xscreensaver-command -activate >/dev/null
  # It may pass the options on in a form of its own ("--root"): the user's
  # only program is the one it started.
  started() { pgrep -u "$user" -x hearthmoor-x11 >"$tmp/hack-pid"; }
  check "xscreensaver -activate starts '$line' from its list" wait_for 10 started
  hack=$(head -1 "$tmp/hack-pid")
  check "  ... from $program" test "$(readlink "/proc/$hack/exe")" = "$program"
  check "  ... in the window xscreensaver hands over" grep -qz '^XSCREENSAVER_WINDOW=0x' "/proc/$hack/environ"
  sleep 3
  # xscreensaver's window covers the root: the picture came through its grabber.
  check "fire over the desktop picture under xscreensaver" within 10 burning "$tmp/fire.png"
  run xscreensaver-command -deactivate >/dev/null
  check "deactivation ends the program" wait_for 5 bash -c "! kill -0 $hack 2>/dev/null"
  run xscreensaver-command -exit >/dev/null 2>&1
}

# saver_in_test_window [argb]: on a new display with the picture, the saver
# drawing into a 640 x 480 test window ($window, saver $pid), checked lit.
saver_in_test_window() {
  start_display 24
  show_picture
  make_settings "$tmp/settings"
  "$test_window" 640 480 ${1:-} >"$tmp/window-id" &
  pids+=($!)
  wait_for 5 test -s "$tmp/window-id" || { echo "the test window did not start"; exit 1; }
  window=$(cat "$tmp/window-id")
  "$saver" -window-id "$(printf '0x%x' "$window")" -settings "$tmp/settings" 2>"$tmp/stderr" &
  pid=$!
  pids+=($pid)
  sleep 2
  check "the window is lit" within 10 lit "$window" "$tmp/one.png"
}

case $scenario in
window-id)
  # On a depth-32 (ARGB) visual, the third kind besides the roots at 24 and 16.
  saver_in_test_window argb
  check "the fire moves" moves "$window"
  # A larger window gets a fire of its own size: its new strip burns too.
  xdotool windowsize "$window" 800 600
  check "after a resize the new part of the window is drawn" within 10 lit "$window" "$tmp/larger.png" 160x600+640+0
  terminate "$pid"
  check "SIGTERM ends the saver within a second (${ended_ms} ms, status $exit_status)" \
    test "$ended_ms" -lt 1000 -a "$exit_status" -eq 0
  check "the positions were saved (background 5 -> 0, palette 7 -> 0 or 1)" saved_positions "$tmp/settings"
  check "nothing on stderr" test ! -s "$tmp/stderr"
  ;;
sleep)
  saver_in_test_window
  log=$tmp/settings/log.txt
  # cpu_us PID: the processor time all threads of the process have used so far,
  # in microseconds (the scheduler counts nanoseconds; /proc/PID/stat only ticks).
  cpu_us() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ ns += $1 } END { printf "%d\n", ns / 1000 }'; }
  pacing() { sed -E 's/^[0-9]+: //' "$log" | grep -E '^X11Saver::Run\(\) (asleep|awake)'; }
  count_of() { pacing | grep -cF "$1"; }
  more_than() { test "$(count_of "$1")" -gt "$2"; }
  frame_of() { sed -E 's/.*\(frame ([0-9]+)\)$/\1/' <<<"$1"; }
  # fall_asleep REASON CAUSE...: CAUSE puts the saver to sleep for REASON.
  fall_asleep() {
    local reason=$1 sleeps; shift
    sleeps=$(count_of "asleep: $reason")
    "$@"
    check "asleep: $reason" wait_for 5 more_than "asleep: $reason" "$sleeps"
  }
  # wake_up SECONDS WAKE...: after SECONDS asleep, WAKE wakes the saver, which
  # drew no frame in between.
  wake_up() {
    local seconds=$1 wakes slept woke; shift
    wakes=$(count_of "awake after")
    sleep "$seconds"
    "$@"
    check "  ... awake again" wait_for 5 more_than "awake after" "$wakes"
    slept=$(pacing | grep -F "asleep:" | tail -1) woke=$(pacing | grep -F "awake after" | tail -1)
    echo "  $slept / $woke"
    check "  ... having drawn no frame asleep" test "$(frame_of "$slept")" = "$(frame_of "$woke")"
  }
  before=$(cpu_us "$pid")
  sleep 5
  awake_us=$(($(cpu_us "$pid") - before))

  # Another window of the same size on top covers it wholly.
  "$test_window" 640 480 >"$tmp/cover-id" &
  cover=$!
  pids+=($cover)
  check "asleep: window covered" wait_for 5 more_than "asleep: window covered" 0
  before=$(cpu_us "$pid")
  sleep 10
  asleep_us=$(($(cpu_us "$pid") - before))
  awk -v a="$awake_us" -v s="$asleep_us" 'BEGIN {
    printf "  processor time: awake %.1f ms in 5 s, asleep %.1f ms in 10 s (%.3f%% of a core)\n",
      a / 1000, s / 1000, s / 100000 }'
  check "asleep, under a tenth of the processor time awake" test $((asleep_us * 5)) -lt "$awake_us"
  wake_up 0 kill "$cover"
  check "the uncovered window is drawn again" within 5 lit "$window" "$tmp/uncovered.png"

  fall_asleep "window minimised" xdotool windowunmap "$window"
  wake_up 2 xdotool windowmap "$window"

  "$test_window" dpms off
  case $? in
  0)
    check "asleep: display off" wait_for 5 more_than "asleep: display off" 0
    wake_up 2 "$test_window" dpms on
    ;;
  77) echo "note: this X server has no DPMS; the display-off case is not checked" ;;
  *) fail "DPMS could not be switched off" ;;
  esac
  check "the fire moves after waking" moves "$window"
  terminate "$pid"
  check "SIGTERM ends the saver (status $exit_status)" test "$exit_status" -eq 0
  check "nothing on stderr" test ! -s "$tmp/stderr"
  ;;
root-24 | root-16)
  depth=${scenario#root-}
  if [ "$depth" = 16 ]; then start_display 16 -extension MIT-SHM; else start_display 24; fi
  show_picture
  make_settings "$tmp/settings"
  "$saver" -root -settings "$tmp/settings" &
  pid=$!
  pids+=($pid)
  sleep 3
  check "fire over the root picture at $depth bits" within 10 burning "$tmp/fire.png"
  way=MIT-SHM
  [ "$depth" = 16 ] && way=XPutImage
  check "pixels go through $way" grep -q "$way" "$tmp/settings/log.txt"
  terminate "$pid"
  check "SIGTERM ends the saver (status $exit_status)" test "$exit_status" -eq 0
  ;;
xscreensaver)
  need_xscreensaver
  # xscreensaver puts its own folder first on the hacks' PATH.
  [ -e "$hack_dir/hearthmoor-x11" ] && skip "$hack_dir/hearthmoor-x11 is installed here and would run instead"
  start_display 24
  show_picture
  home=$tmp/home
  make_settings "$home/settings"
  # Installed as a user would, into a staging root; the daemon then finds the
  # program by the name its XML gives, on PATH as in xscreensaver's own folder.
  DESTDIR=$tmp/dest cmake --install "$build" --component hearthmoor-x11 >/dev/null || fail "cmake --install"
  xml=$tmp/dest$config_dir/hearthmoor-x11.xml
  check "the XML is installed beside xscreensaver's ($config_dir)" \
    grep -q '<screensaver name="hearthmoor-x11"' "$xml"
  check "  ... and starts the program on xscreensaver's window" grep -q '<command arg="--root"/>' "$xml"
  check "the program is installed into $hack_dir" test -x "$tmp/dest$hack_dir/hearthmoor-x11"
  under_xscreensaver "hearthmoor-x11 --root --settings $home/settings" "$home" "$tmp/dest$hack_dir" \
    "$tmp/dest$hack_dir/hearthmoor-x11"
  check "the positions were saved" saved_positions "$home/settings"
  ;;
deb)
  # The Debian package, installed into this machine: what dpkg -i puts there,
  # the installed program started as xscreensaver starts it, then by the daemon
  # itself from its hack folder, and dpkg -r taking all of it away again.
  need_xscreensaver
  [ "$(id -u)" -eq 0 ] || skip "dpkg -i needs root"
  hack_dir=/usr/libexec/xscreensaver config_dir=/usr/share/xscreensaver/config
  for tool in dpkg-shlibdeps lintian; do command -v "$tool" >/dev/null || skip "no $tool (scripts/setup installs it)"; done
  # A run killed before its dpkg -r left this mark; any other installation is
  # the owner's, and stays.
  if installed_package && [ -e "$deb_mark" ]; then dpkg -r hearthmoor-x11 >/dev/null; fi
  installed_package && skip "hearthmoor-x11 is installed here, and this test would remove it"
  [ -e "$hack_dir/hearthmoor-x11" ] && skip "$hack_dir/hearthmoor-x11 is installed by hand, and dpkg would replace it"
  rm -f "$deb_mark"
  source_root=$(cd "$(dirname "$0")/../../.." && pwd)
  "$source_root/scripts/package" --linux --out "$tmp/release" >"$tmp/package.log" 2>&1 ||
    { cat "$tmp/package.log"; echo "scripts/package --linux failed"; exit 1; }
  deb=$(echo "$tmp"/release/hearthmoor-x11_*.deb)
  check "the release's checksums cover the package" \
    bash -c "cd '$tmp/release' && grep -q '  ${deb##*/}\$' Hearthmoor-*.sha256 && sha256sum --quiet -c Hearthmoor-*.sha256"
  "$source_root/packaging/deb/make-deb" "$tmp/again" >/dev/null
  check "a second build gives the same bytes" cmp "$deb" "$tmp/again/${deb##*/}"
  lintian --fail-on error,warning "$deb" >"$tmp/lintian.log" 2>&1
  lintian_status=$?
  sed 's/^/  lintian: /' "$tmp/lintian.log"
  check "lintian finds no error and no warning" test "$lintian_status" -eq 0
  dpkg-deb -x "$deb" "$tmp/contents"
  check "the program names no folder of the build" not grep -qa "$source_root" "$tmp/contents/$hack_dir/hearthmoor-x11"

  touch "$deb_mark"
  dpkg -i "$deb" >"$tmp/dpkg.log" 2>&1 || { cat "$tmp/dpkg.log"; echo "dpkg -i failed"; exit 1; }
  dpkg -L hearthmoor-x11 | while read -r path; do [ -d "$path" ] || echo "$path"; done >"$tmp/files"
  for file in "$hack_dir/hearthmoor-x11" "$config_dir/hearthmoor-x11.xml" /usr/share/hearthmoor/config.ini \
    /usr/share/hearthmoor/store.ini /usr/share/man/man6/hearthmoor-x11.6.gz /usr/share/doc/hearthmoor-x11/copyright; do
    check "dpkg -i installed $file" grep -qx "$file" "$tmp/files"
  done

  start_display 24
  show_picture
  # As xscreensaver starts a hack: -root, and the window to draw into in
  # XSCREENSAVER_WINDOW. Without the daemon's screenshot its grabber hands
  # over colour bars as the desktop.
  "$test_window" 640 480 >"$tmp/window-id" &
  window_pid=$!
  pids+=($window_pid)
  wait_for 5 test -s "$tmp/window-id" || { echo "the test window did not start"; exit 1; }
  window=$(cat "$tmp/window-id")
  HOME=$tmp/root-home XSCREENSAVER_WINDOW=$(printf '0x%x' "$window") "$hack_dir/hearthmoor-x11" -root 2>"$tmp/stderr" &
  pid=$!
  pids+=($pid)
  sleep 2
  check "the installed program lights the window it is handed" within 10 lit "$window" "$tmp/lit.png"
  check "  ... with moving fire" moves "$window"
  check "  ... on the packaged defaults, copied to the new user's folder" \
    cmp /usr/share/hearthmoor/store.ini "$tmp/root-home/.config/hearthmoor/store.ini"
  terminate "$pid"
  check "  ... and SIGTERM ends it (status $exit_status)" test "$exit_status" -eq 0
  check "  ... nothing on stderr" test ! -s "$tmp/stderr"
  kill "$window_pid"

  # Its name alone in the user's list: the daemon finds it in its hack folder.
  under_xscreensaver "hearthmoor-x11 -root" "$tmp/xss-home" "" "$hack_dir/hearthmoor-x11"
  check "  ... on the packaged defaults" cmp /usr/share/hearthmoor/store.ini "$tmp/xss-home/.config/hearthmoor/store.ini"

  dpkg -r hearthmoor-x11 >"$tmp/dpkg.log" 2>&1 || { cat "$tmp/dpkg.log"; fail "dpkg -r"; }
  rm -f "$deb_mark"
  check "dpkg -r removes the package" not installed_package
  left() { xargs -r ls -d <"$tmp/files" 2>/dev/null | grep -q .; }
  check "  ... and every file it installed" not left
  ;;
failures)
  status() { "$@" >/dev/null 2>"$tmp/stderr"; echo $?; }
  one_line() { test "$(wc -l <"$tmp/stderr")" -eq 1 && grep -q "$1" "$tmp/stderr"; }
  check "no DISPLAY: exit 1 with one line" test "$(status env -u DISPLAY "$saver" -root)" -eq 1
  check "  ... naming the display" one_line "DISPLAY is not set"
  check "an unreachable display: exit 1" test "$(status env DISPLAY=:299 "$saver" -root)" -eq 1
  check "  ... naming it" one_line "cannot open display ':299'"
  check "a bad window id: exit 1 with the usage" test "$(status "$saver" -window-id 12ab)" -eq 1
  start_display 24
  show_picture
  check "a window that does not exist: exit 1" test "$(status "$saver" -window-id 0x1fffff -settings "$tmp/s1")" -eq 1
  check "  ... naming it" one_line "window 0x1fffff does not exist"

  # Unusable settings folder, garbled settings and an unreadable picture: the
  # saver says so and burns on the defaults (in its own window, closed by a key).
  echo "not a folder" >"$tmp/file"
  make_settings "$tmp/garbled"
  printf '[Background]\nnum=x\n[TimeSection]\nchangeColorTime=-7\n[ColorTableInfo]\nnum=abc\n[blur]\nnum=1\nblur0=zz|\xff\n' >"$tmp/garbled/config.ini"
  make_settings "$tmp/badpicture"
  echo "not a picture" >"$tmp/badpicture/broken.jpg"
  sed -i -E 's/^num=1$/num=2/; s/^path0=.*/path0=broken.jpg\npath1=Desktop/' "$tmp/badpicture/config.ini"
  for case in "$tmp/file:default settings" "$tmp/garbled:list no background" "$tmp/badpicture:broken.jpg' cannot be read"; do
    folder=${case%%:*} message=${case#*:}
    "$saver" -settings "$folder" 2>"$tmp/stderr" &
    pid=$!
    pids+=($pid)
    check "$(basename "$folder"): the window is lit" within 10 lit root "$tmp/shot.png" 800x600+0+0
    check "  ... and the saver still runs" kill -0 "$pid"
    check "  ... one line on stderr: $message" one_line "$message"
    xdotool key --clearmodifiers space 2>/dev/null || true
    xdotool search --name '^Hearthmoor$' windowfocus --sync key space 2>/dev/null
    check "  ... a key press closes the window" wait_for 3 bash -c "! kill -0 $pid 2>/dev/null"
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done

  # The X server goes away under it: one line, exit 1, positions still saved.
  make_settings "$tmp/lost"
  "$saver" -root -settings "$tmp/lost" 2>"$tmp/stderr" &
  pid=$!
  sleep 2
  kill "$xvfb"
  wait "$xvfb" 2>/dev/null
  xvfb=""
  wait "$pid"
  lost_status=$?
  check "a lost X server: exit 1 (status $lost_status)" test "$lost_status" -eq 1
  check "  ... with one line" one_line "connection to the X server was lost"
  check "  ... and the positions saved" saved_positions "$tmp/lost"
  ;;
*)
  echo "unknown scenario $scenario"; exit 2 ;;
esac

if [ "$failures" -eq 0 ]; then echo "all checks passed"; exit 0; fi
echo "$failures check(s) failed"
exit 1
