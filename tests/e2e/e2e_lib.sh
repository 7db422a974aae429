# Helpers of the end-to-end tests, sourced by each test script. A test owns its
# X display (Xvfb at the depth it asks for), a settings folder in a temporary
# directory and the Wine prefix named by HEARTHMOOR_E2E_PREFIX, whose
# wineserver it stops before and after (the tests hold a CTest resource lock, so
# no two of them share the prefix at once). Cleans up only what it started.
set -uo pipefail
e2e_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
e2e_root=$(cd "$e2e_dir/../.." && pwd)
. "$e2e_root/scripts/wine-env"

E2E_PREFIX=$(readlink -m "${HEARTHMOOR_E2E_PREFIX:-$e2e_root/build/win64/e2e-prefix}")
E2E_TMP=$(mktemp -d /tmp/hearthmoor-e2e.XXXXXX)
E2E_XVFB_PID=""
E2E_FAILURES=0

e2e_cleanup() {
  WINEPREFIX="$E2E_PREFIX" "$WINESERVER" -k >/dev/null 2>&1 || true
  if [ -n "$E2E_XVFB_PID" ]; then
    kill "$E2E_XVFB_PID" 2>/dev/null || true
    wait "$E2E_XVFB_PID" 2>/dev/null || true
  fi
  if [ -n "${E2E_KEEP:-}" ]; then echo "kept $E2E_TMP"; else rm -rf "$E2E_TMP"; fi
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*"
  E2E_FAILURES=$((E2E_FAILURES + 1))
}
pass() { echo "ok: $*"; }
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
finish() {
  if [ "$E2E_FAILURES" -eq 0 ]; then echo "all checks passed"; exit 0; fi
  echo "$E2E_FAILURES check(s) failed"
  exit 1
}

# start_display WIDTHxHEIGHTxDEPTH: an Xvfb of our own, in this shell (not a
# subshell) so that its pid is known for the clean-up.
start_display() {
  local size=$1 n
  for n in $(seq 160 220); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 "$size" -nolisten tcp >/dev/null 2>&1 &
    E2E_XVFB_PID=$!
    for _ in $(seq 1 50); do
      if [ -e "/tmp/.X11-unix/X$n" ]; then
        export DISPLAY=":$n"
        return 0
      fi
      kill -0 "$E2E_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$E2E_XVFB_PID" 2>/dev/null || true
    wait "$E2E_XVFB_PID" 2>/dev/null || true
    E2E_XVFB_PID=""
  done
  echo "cannot start Xvfb" >&2
  return 1
}

# The prefix, made once; any wineserver left from an earlier test (bound to
# another display) is stopped first. Show the desktop picture before this:
# once Wine's desktop process runs, a new root picture is not seen by it.
# Where the test names a session holder (HEARTHMOOR_E2E_SESSION), one runs
# until the clean-up: Wine's desktop process would otherwise end a second after
# each Wine program and leave the root window black for the next one.
prepare_prefix() {
  init_prefix "$E2E_PREFIX"
  export WINEPREFIX=$E2E_PREFIX
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w >/dev/null 2>&1 || true
  if [ -n "${HEARTHMOOR_E2E_SESSION:-}" ]; then
    "$WINE64" "$HEARTHMOOR_E2E_SESSION" >/dev/null 2>&1 &
  fi
}

# The Windows form of a Unix path (Wine maps Z: to /).
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# The test's folder is the user's own (the value looked up first), so that no
# first start makes a folder in the prefix's profile.
set_settings_folder() {
  "$WINE64" reg add 'HKCU\Software\Hearthmoor\Path' /v Path /d "$(windows_path "$1")" /f >/dev/null 2>&1
}
clear_settings_folder() {
  "$WINE64" reg delete 'HKCU\Software\Hearthmoor\Path' /f >/dev/null 2>&1 || true
  "$WINE64" reg delete 'HKLM\Software\Hearthmoor\Path' /f >/dev/null 2>&1 || true
}

# A settings folder filled from data/, as a new installation has it.
make_settings_folder() {
  local dir=$1
  mkdir -p "$dir"
  cp "$e2e_root/data/config.ini" "$e2e_root/data/store.ini" "$dir/"
}

# desktop_session WIDTH HEIGHT [DEPTH]: a display of that size showing the test
# desktop picture, the prefix, and a settings folder filled from data/ that is
# the user's own, named by $settings.
desktop_session() {
  start_display "${1}x${2}x${3:-24}" || return 1
  make_picture "$E2E_TMP/desktop.png" "$1" "$2"
  show_picture "$E2E_TMP/desktop.png"
  prepare_prefix
  settings=$E2E_TMP/settings
  make_settings_folder "$settings"
  set_settings_folder "$settings"
}

# make_picture FILE WIDTH HEIGHT: a dark desktop with a bright window in the
# middle and a thin bright rule above it. The fire starts where a pixel is
# brighter than the one below it, so it burns on the window's bottom edge
# (rising into the window) and on the rule (rising into the dark above it).
make_picture() {
  local file=$1 w=$2 h=$3
  convert -size "${w}x${h}" gradient:'#101828'-'#182030' \
    -fill '#e8e0d0' -draw "rectangle $((w / 4)),$((h / 3)) $((w * 3 / 4)),$((h * 5 / 6))" \
    -draw "rectangle $((w / 4)),$((h / 6)) $((w * 3 / 4)),$((h / 6 + 2))" "$file"
}

show_picture() {
  timeout 20 display -window root "$1" >/dev/null 2>&1 || true
}

screenshot() { import -window root "$1" >/dev/null 2>&1; }

# mean_brightness FILE [GEOMETRY]: mean grey level 0..255 of the image or of a
# crop of it ("WxH+X+Y").
mean_brightness() {
  local file=$1 crop=${2:-}
  if [ -n "$crop" ]; then
    convert "$file" -crop "$crop" +repage -colorspace Gray -format '%[fx:int(255*mean+0.5)]' info:
  else
    convert "$file" -colorspace Gray -format '%[fx:int(255*mean+0.5)]' info:
  fi
}

# Root-mean-square difference of two images of one size, 0..255.
image_difference() {
  compare -metric RMSE "$1" "$2" null: 2>&1 | sed -E 's/^[0-9.e+-]+ \(([0-9.e+-]+)\).*/\1/' |
    awk '{printf "%d\n", $1 * 255 + 0.5}'
}

# wait_for_exit PID SECONDS: sets EXIT_STATUS to the process's exit status, or
# to "timeout" (returning 1) when it is still running after SECONDS. Must run in
# the shell that started the process (not in a $(...) subshell).
wait_for_exit() {
  local pid=$1 limit=$2 waited=0
  while kill -0 "$pid" 2>/dev/null; do
    if [ "$waited" -ge $((limit * 10)) ]; then
      EXIT_STATUS=timeout
      return 1
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  wait "$pid"
  EXIT_STATUS=$?
  return 0
}

# bright_share FILE GEOMETRY: per mille of the crop's pixels brighter than a
# tenth of full scale: the glow of a flame over a dark background.
bright_share() {
  convert "$1" -crop "$2" +repage -colorspace Gray -threshold 10% -format '%[fx:int(1000*mean+0.5)]' info:
}

# until_lit LEAST COMMAND [ARG...]: runs COMMAND, which prints how lit the
# screen is, once a second for up to 5 s, until that reaches LEAST (a new
# DirectDraw window may show black for a moment although frames are drawn).
# Sets LIT to the last figure; false when it never reached LEAST.
until_lit() {
  local least=$1
  shift
  LIT=0
  for _ in 1 2 3 4 5; do
    sleep 1
    LIT=$("$@")
    [ "$LIT" -ge "$least" ] && return 0
  done
  return 1
}

# shot_figure SHOT MEASURE [ARG...]: a screenshot into SHOT, measured by
# MEASURE SHOT ARG... (mean_brightness, bright_share).
shot_figure() {
  local shot=$1 measure=$2
  shift 2
  screenshot "$shot"
  "$measure" "$shot" "$@"
}

# wait_for_line FILE LINE SECONDS: waits until the log holds LINE.
wait_for_line() {
  local i
  for i in $(seq 1 $(($3 * 5))); do
    if [ -f "$1" ] && tr -d '\r' <"$1" | grep -qF ": $2"; then return 0; fi
    sleep 0.2
  done
  return 1
}

# The log's text without the time stamps ("1234: ").
log_lines() { sed -E 's/^[0-9]+: //; s/\r$//' "$1"; }

# contains_in_order FILE LINE...: every LINE occurs in FILE, in this order.
contains_in_order() {
  local file=$1; shift
  awk -v want="$(printf '%s\n' "$@")" 'BEGIN { n = split(want, w, "\n"); i = 1 }
    i <= n && $0 == w[i] { i++ }
    END { if (i <= n) { print "missing or out of order: " w[i] > "/dev/stderr"; exit 1 } }' "$file"
}

# ini_value FILE SECTION KEY
ini_value() {
  awk -v s="[$2]" -v k="$3" '{ sub(/\r$/, "") } $0 == s { in_s = 1; next } /^\[/ { in_s = 0 }
    in_s && index($0, k "=") == 1 { print substr($0, length(k) + 2); exit }' "$1"
}
