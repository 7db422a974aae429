#!/usr/bin/env bash
# A silent install into a new Wine prefix puts the saver into the 64-bit system
# folder, fills the settings folder, names it in the 64-bit registry view,
# registers with Apps and Features and makes Hearthmoor the screen saver; the
# installed saver, started as Windows starts it, finds its settings and burns.
# Usage: install_test.sh SETUP SAVER
. "$(dirname "$0")/package_lib.sh"
setup=$(readlink -f "$1") saver=$(readlink -f "$2") src=$e2e_root

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
run_saver_lit 'C:\windows\system32\Hearthmoor.scr' "$settings" "$E2E_TMP/fire.png"
brightness=$(mean_brightness "$E2E_TMP/fire.png")
difference=$(image_difference "$E2E_TMP/desktop.png" "$E2E_TMP/fire.png")
end_saver
echo "screenshot: mean $brightness, difference from the picture $difference"
check "the installed saver ends on a key press with exit code 0" [ "$EXIT_STATUS" = 0 ]
check "the installed saver draws (the screen is lit)" [ "$brightness" -ge 8 ]
check "the installed saver draws fire over the picture" [ "$difference" -ge 20 ]
check "log.txt is in the installed settings folder" grep -q 'BigApp::Init() end' "$settings/log.txt"
check "report.csv is in the installed settings folder" [ -s "$settings/report.csv" ]

if [ -n "${E2E_SHOTS:-}" ]; then cp "$E2E_TMP/fire.png" "$E2E_SHOTS/installed.png"; fi
finish
