# Helpers of the installer and long-run tests, on top of the end-to-end
# library: every test gets a Wine prefix of its own, made fresh in its
# temporary directory, so that no earlier installation is seen.
. "$(dirname "${BASH_SOURCE[0]}")/../e2e/e2e_lib.sh"
E2E_PREFIX=$E2E_TMP/prefix

# Full-screen DirectDraw stays black under Wine 8 and Xvfb when another Wine
# program (wineboot, an installer) ran on the X display before the saver
# (measured: the saver as the first Wine program of a display draws at once,
# in a new prefix too). So the prefix is booted, and the installer runs, on a
# display of their own, and the saver gets a new one.

# end_display: stops the wineserver and the test's Xvfb.
end_display() {
  WINEPREFIX=$E2E_PREFIX "$WINESERVER" -k >/dev/null 2>&1
  WINEPREFIX=$E2E_PREFIX "$WINESERVER" -w >/dev/null 2>&1
  if [ -n "$E2E_XVFB_PID" ]; then
    kill "$E2E_XVFB_PID" 2>/dev/null
    wait "$E2E_XVFB_PID" 2>/dev/null
  fi
  E2E_XVFB_PID=""
  unset DISPLAY
}

# boot_prefix: makes the new prefix on a throwaway X display.
boot_prefix() {
  start_display 640x480x24 || return 1
  init_prefix "$E2E_PREFIX"
  end_display
}

# The places the installer writes to, seen from Linux.
system_folder() { echo "$E2E_PREFIX/drive_c/windows/system32"; }
wow64_folder() { echo "$E2E_PREFIX/drive_c/windows/syswow64"; }
default_settings_folder() { echo "$E2E_PREFIX/drive_c/ProgramData/Hearthmoor"; }
program_folder() { echo "$E2E_PREFIX/drive_c/Program Files/Hearthmoor"; }
# The folder the user's first start makes: %APPDATA%\Hearthmoor of the prefix's
# one user, and the user's registry value that names it.
user_settings_folder() {
  local roaming
  roaming=$(ls -d "$E2E_PREFIX"/drive_c/users/*/AppData/Roaming 2>/dev/null | grep -v '/Public/' | head -n 1)
  echo "${roaming:-$E2E_PREFIX/drive_c/users/missing/AppData/Roaming}/Hearthmoor"
}
user_settings_value() { reg_value 64 'HKCU\Software\Hearthmoor\Path' Path; }

# folder_snapshot FOLDER: every file's name and checksum, to compare byte for byte.
folder_snapshot() { (cd "$1" 2>/dev/null && find . -type f -exec sha256sum {} + | LC_ALL=C sort); }

# first_start SAVER: a start that loads the settings and ends at once (a preview
# without a host window), as the first start of a user in any mode.
first_start() {
  timeout 60 "$WINE64" "$1" /p >/dev/null 2>&1
  timeout 30 "$WINESERVER" -w
}

# run_setup SETUP ARGS...: runs an installer or uninstaller and waits until
# every process it started has ended (the uninstaller runs from a copy of
# itself in the temporary folder, so the program it was started as ends first).
run_setup() {
  local program=$1; shift
  timeout 180 "$WINE64" "$program" "$@" >/dev/null 2>&1
  local status=$?
  timeout 120 "$WINESERVER" -w
  return $status
}

# reg_value VIEW KEY VALUE: the data of a registry value as `reg query` shows
# it in the 32- or 64-bit view (VIEW 32 or 64), or nothing.
reg_value() {
  "$WINE64" reg query "$2" /v "$3" "/reg:$1" 2>/dev/null | tr -d '\r' |
    awk -v v="$3" '$1 == v { sub(/^ *[^ ]+ +[^ ]+ +/, ""); print; exit }'
}
reg_key_exists() { "$WINE64" reg query "$2" "/reg:$1" >/dev/null 2>&1; }

# run_saver_lit SAVER SETTINGS SHOT: starts SAVER full screen as Windows does
# ("/s"), waits for the end of its start-up in SETTINGS/log.txt and takes a
# screenshot that is not black (should the run stay black, as runs now and then
# do under Wine, a second run). Leaves the saver running; its pid in SAVER_PID.
run_saver_lit() {
  local saver=$1 settings=$2 shot=$3 attempt
  for attempt in 1 2; do
    "$WINE64" "$saver" /s &
    SAVER_PID=$!
    wait_for_line "$settings/log.txt" "BigApp::Init() end" 60 || { fail "the saver started within 60 s"; return 1; }
    sleep 4
    screenshot "$shot"
    for _ in 1 2 3 4 5; do
      [ "$(mean_brightness "$shot")" -ne 0 ] && return 0
      sleep 1
      screenshot "$shot"
    done
    [ "$attempt" -eq 2 ] && return 1
    echo "note: the full-screen run stayed black; once more"
    xdotool key space
    wait_for_exit "$SAVER_PID" 10 || { kill "$SAVER_PID" 2>/dev/null; wait "$SAVER_PID" 2>/dev/null; }
    rm -f "$settings/log.txt"
  done
}

# end_saver: presses a key and sets EXIT_STATUS.
end_saver() {
  xdotool key space
  wait_for_exit "$SAVER_PID" 20 || { kill "$SAVER_PID" 2>/dev/null; wait "$SAVER_PID" 2>/dev/null; }
}
