#!/usr/bin/env bash
# A silent install into a new Wine prefix puts the saver into the 64-bit system
# folder, fills the machine's settings folder without widening its rights,
# names it in the 64-bit registry view, registers with Apps and Features and
# makes Hearthmoor the screen saver. The installed saver, started as Windows
# starts it, makes the user's own folder from the defaults and burns; the
# settings mode's Help opens the administrators' help.chm although one is
# planted in the user's folder, and its OK writes the user's folder only. The
# machine folder stays as installed, byte for byte.
# Usage: install_test.sh SETUP SAVER SETTINGS_DRIVER
. "$(dirname "$0")/package_lib.sh"
setup=$(readlink -f "$1") saver=$(readlink -f "$2") driver=$(readlink -f "$3") src=$e2e_root

# Wine keeps no access lists (its icacls does nothing), so what guards the
# machine folder is shown in the script: no step grants rights on it.
check "the installer script grants no rights on the settings folder" \
  bash -c "! grep -inE '(i?cacls|AccessControl)[^;]*(/grant|/g |/e |::Grant)' '$src/packaging/hearthmoor.nsi'"

boot_prefix || exit 1
start_display 1024x768x24 || exit 1
prepare_prefix
run_setup "$setup" /S
check "the silent install ends with exit code 0" [ $? -eq 0 ]

sys=$(system_folder) settings=$(default_settings_folder)
check "Hearthmoor.scr is the built saver, in the 64-bit system folder" cmp -s "$saver" "$sys/Hearthmoor.scr"
check "nothing went into the 32-bit system folder" [ ! -e "$(wow64_folder)/Hearthmoor.scr" ]
for f in config.ini store.ini; do
  check "the settings folder holds the default $f" cmp -s "$src/data/$f" "$settings/$f"
done
check "the settings folder holds help.chm" [ -s "$settings/help.chm" ]
folder_snapshot "$settings" >"$E2E_TMP/machine.before"

path=$(reg_value 64 'HKLM\Software\Hearthmoor\Path' Path)
check "the 64-bit registry names the settings folder (\"$path\")" [ "$path" = 'C:\ProgramData\Hearthmoor\' ]
check "the 32-bit registry view holds no Hearthmoor key" bash -c "! '$WINE64' reg query 'HKLM\\Software\\Hearthmoor' /reg:32 >/dev/null 2>&1"

apps='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Hearthmoor'
version=$(sed -nE 's/^project\(Hearthmoor VERSION ([0-9.]+).*/\1/p' "$src/CMakeLists.txt")
check "Apps and Features: display name" [ "$(reg_value 64 "$apps" DisplayName)" = "Hearthmoor screen saver" ]
check "Apps and Features: version $version" [ "$(reg_value 64 "$apps" DisplayVersion)" = "$version" ]
check "Apps and Features: publisher" [ -n "$(reg_value 64 "$apps" Publisher)" ]
check "Apps and Features: icon from the saver" [ "$(reg_value 64 "$apps" DisplayIcon)" = 'C:\windows\system32\Hearthmoor.scr,0' ]
size=$(reg_value 64 "$apps" EstimatedSize)
check "Apps and Features: a size in KiB ($size)" [ $((size)) -gt 100 ]
uninstaller=$(reg_value 64 "$apps" UninstallString)
check "Apps and Features: the uninstaller ($uninstaller) exists" [ -f "$(program_folder)/Uninstall.exe" ]

desktop='HKCU\Control Panel\Desktop'
check "Hearthmoor is the current screen saver" [ "$(reg_value 64 "$desktop" SCRNSAVE.EXE)" = 'C:\windows\system32\Hearthmoor.scr' ]
check "the screen saver is switched on" [ "$(reg_value 64 "$desktop" ScreenSaveActive)" = 1 ]

# As Windows starts it: the full path of the installed file and "/s", from
# another current folder, on a display of its own (see package_lib.sh).
end_display
start_display 1024x768x24 || exit 1
make_picture "$E2E_TMP/desktop.png" 1024 768
show_picture "$E2E_TMP/desktop.png"
prepare_prefix
cd "$E2E_TMP"
user=$(user_settings_folder)
run_saver_lit 'C:\windows\system32\Hearthmoor.scr' "$user" "$E2E_TMP/fire.png"
brightness=$(mean_brightness "$E2E_TMP/fire.png")
difference=$(image_difference "$E2E_TMP/desktop.png" "$E2E_TMP/fire.png")
end_saver
echo "screenshot: mean $brightness, difference from the picture $difference"
check "the installed saver ends on a key press with exit code 0" [ "$EXIT_STATUS" = 0 ]
check "the installed saver draws (the screen is lit)" [ "$brightness" -ge 8 ]
check "the installed saver draws fire over the picture" [ "$difference" -ge 20 ]
value=$(user_settings_value) named=0
case $value in 'C:\users\'*'\AppData\Roaming\Hearthmoor\') named=1 ;; esac
check "the first start names the user's folder ($value)" [ $named = 1 ]
check "the user's store.ini is the machine's default" cmp -s "$settings/store.ini" "$user/store.ini"
check "the user's config.ini is the default but for the positions" \
  diff <(grep -vE '^(currentOrder|index)=' "$settings/config.ini") <(grep -vE '^(currentOrder|index)=' "$user/config.ini")
check "log.txt is in the user's folder" grep -q 'BigApp::Init() end' "$user/log.txt"
check "report.csv is in the user's folder" [ -s "$user/report.csv" ]
check "the machine folder is unchanged byte for byte" diff "$E2E_TMP/machine.before" <(folder_snapshot "$settings")

# The settings mode: Help with a help.chm planted in the user's folder, then an
# added background and OK.
drive() { "$WINE64" "$driver" "$@" | tr -d '\r'; }
# The pid and command line of a help viewer in this test's prefix.
help_viewer() {
  local pid
  for pid in $(pgrep -f 'hh\.exe'); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$E2E_PREFIX"; then
      echo "$pid $(tr '\0' ' ' <"/proc/$pid/cmdline")"
      return
    fi
  done
}
printf 'planted, not a help file' >"$user/help.chm"
"$WINE64" 'C:\windows\system32\Hearthmoor.scr' &
SAVER_PID=$!
if wait_for_line "$user/log.txt" "ConfigApp::Init end" 60 && drive wait 20 >/dev/null; then
  rows=$(ini_value "$user/config.ini" Background num)
  drive post-command 1002 >/dev/null
  viewer="" window=""
  for _ in $(seq 1 100); do
    viewer=${viewer:-$(help_viewer)}
    window=$(xdotool search --name '^Hearthmoor Help$' 2>/dev/null | head -n 1)
    [ -n "$viewer" ] && [ -n "$window" ] && break
    sleep 0.2
  done
  echo "help viewer: $viewer"
  check "Help opens the machine folder's help.chm" grep -qiF 'C:\ProgramData\Hearthmoor\help.chm' <<<"$viewer"
  check "the viewer shows the real help (\"Hearthmoor Help\"), not the planted file" [ -n "$window" ]
  [ -n "$viewer" ] && kill "${viewer%% *}" 2>/dev/null
  drive command 1007 command 1 >/dev/null
  wait_for_exit "$SAVER_PID" 20
  check "OK ends the settings mode with exit code 0 ($EXIT_STATUS)" [ "$EXIT_STATUS" = 0 ]
  check "OK wrote the added background into the user's config.ini" \
    [ "$(ini_value "$user/config.ini" Background num)" = $((rows + 1)) ]
else
  fail "the settings mode showed its dialog within 80 s"
fi
check "the machine folder is still unchanged byte for byte" diff "$E2E_TMP/machine.before" <(folder_snapshot "$settings")

if [ -n "${E2E_SHOTS:-}" ]; then cp "$E2E_TMP/fire.png" "$E2E_SHOTS/installed.png"; fi
finish
