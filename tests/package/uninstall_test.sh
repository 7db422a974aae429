#!/usr/bin/env bash
# A silent uninstall removes the saver, the machine's settings folder, its
# registry keys and its Apps and Features entry, gives back the screen saver
# chosen before Hearthmoor (also after a second install), and keeps the user's
# own settings folder with their work; with /REMOVESETTINGS (the silent form of
# ticking "my settings folder") that folder goes too. Each case in a new prefix.
# Usage: uninstall_test.sh SETUP
. "$(dirname "$0")/package_lib.sh"
setup=$(readlink -f "$1")
desktop='HKCU\Control Panel\Desktop'

for option in "" /REMOVESETTINGS; do
  echo "--- uninstall /S $option"
  rm -rf "$E2E_PREFIX"
  boot_prefix || exit 1
  start_display 1024x768x24 || exit 1
  prepare_prefix
  "$WINE64" reg add "$desktop" /v SCRNSAVE.EXE /d 'C:\windows\system32\Ribbons.scr' /f >/dev/null 2>&1
  "$WINE64" reg add "$desktop" /v ScreenSaveActive /d 0 /f >/dev/null 2>&1

  run_setup "$setup" /S
  run_setup "$setup" /S
  check "installed: Hearthmoor is the screen saver" [ "$(reg_value 64 "$desktop" SCRNSAVE.EXE)" = 'C:\windows\system32\Hearthmoor.scr' ]
  first_start 'C:\windows\system32\Hearthmoor.scr'
  user=$(user_settings_folder)
  printf '; my palettes\r\n' >>"$user/store.ini"
  cp "$user/store.ini" "$E2E_TMP/store.ini.user"

  run_setup "$(program_folder)/Uninstall.exe" /S $option
  check "the silent uninstall ends with exit code 0" [ $? -eq 0 ]
  left=$(find "$(system_folder)" "$(wow64_folder)" -iname '*hearthmoor*' 2>/dev/null)
  check "no Hearthmoor file is left in the system folders ($left)" [ -z "$left" ]
  check "the program folder with the uninstaller is gone" [ ! -e "$(program_folder)" ]
  check "the machine's settings folder is gone" [ ! -e "$(default_settings_folder)" ]
  for view in 64 32; do
    check "no HKLM\\Software\\Hearthmoor key ($view-bit view)" bash -c "! '$WINE64' reg query 'HKLM\\Software\\Hearthmoor' /reg:$view >/dev/null 2>&1"
    check "no Apps and Features entry ($view-bit view)" \
      bash -c "! '$WINE64' reg query 'HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Hearthmoor' /reg:$view >/dev/null 2>&1"
  done
  check "no per-user Hearthmoor key" bash -c "! '$WINE64' reg query 'HKCU\\Software\\Hearthmoor' >/dev/null 2>&1"
  check "the previous screen saver is chosen again" [ "$(reg_value 64 "$desktop" SCRNSAVE.EXE)" = 'C:\windows\system32\Ribbons.scr' ]
  check "the previous on/off state is back" [ "$(reg_value 64 "$desktop" ScreenSaveActive)" = 0 ]
  if [ -z "$option" ]; then
    check "the user's folder is kept with their store.ini" cmp -s "$E2E_TMP/store.ini.user" "$user/store.ini"
    check "the user's folder keeps config.ini" [ -f "$user/config.ini" ]
  else
    check "$option removed the user's folder" [ ! -e "$user" ]
  fi
  end_display
done
finish
